#include "lib13818/descriptors_event.h"

#include "lib13818/text_time.h"

namespace lib13818 {

namespace {

void CopyCode(char (&out)[4], const u8* p) {
  for (int i = 0; i < 3; ++i) out[i] = static_cast<char>(p[i]);
  out[3] = '\0';
}

const char kUndefinedGenre[] = "undefined/user defined/reserved for future use";

}  // namespace

DescriptorShortEvent::DescriptorShortEvent(const u8* d) : Descriptor(d) {
  // language code, event_name_length and text_length at the least
  if (length < 5) throw error("too little data");
  CopyCode(ISO_639_language_code, d + 2);
  const u8* end = d + 2 + length;
  const u8* p = d + 5;
  int consumed = 0;
  AssignDvbTextPrefixed(event_name, event_name_raw, p, static_cast<size_t>(end - p), &consumed);
  p += consumed;
  AssignDvbTextPrefixed(text, text_raw, p, static_cast<size_t>(end - p), &consumed);
}

void DescriptorShortEvent::PrintFields(std::ostream& os) const {
  os << "language_code: " << ISO_639_language_code << std::endl;
  os << "event_name: " << event_name.c_str() << std::endl;
  os << "text: " << text.c_str() << std::endl;
}

DescriptorExtendedEvent::DescriptorExtendedEvent(const u8* d) : Descriptor(d) {
  // numbers, language code, length_of_items and text_length at the least
  if (length < 6) throw error("too little data");
  descriptor_number = d[2] >> 4;
  last_descriptor_number = d[2] & 0x0F;
  CopyCode(ISO_639_language_code, d + 3);
  const u8* end = d + 2 + length;
  const u32 items_length = d[6];
  // The item area and the text_length byte behind it.
  if (items_length + 6 > length) throw error("data length mismatch");
  const u8* p = d + 7;
  const u8* items_end = p + items_length;
  // Counted first: the item vector grows once.
  size_t count = 0;
  for (size_t q = 0; q + 1 < items_length && q + p[q] + 2 <= items_length; q += p[q] + 2 + p[q + p[q] + 1])
    ++count;
  items.reserve(items.size() + count);
  while (p < items_end) {
    const u32 remaining = static_cast<u32>(items_end - p);
    const u32 description_length = p[0];
    if (description_length + 2 > remaining) throw error("data length mismatch");
    const u32 item_length = p[description_length + 1];
    if (description_length + item_length + 2 > remaining) throw error("data length mismatch");
    ItemInfo entry;
    int consumed = 0;
    AssignDvbTextPrefixed(entry.item_description, entry.item_description_raw, p, remaining, &consumed);
    AssignDvbTextPrefixed(entry.item, entry.item_raw, p + consumed, remaining - consumed, &consumed);
    items.push_back(std::move(entry));
    p += description_length + item_length + 2;
  }
  int consumed = 0;
  AssignDvbTextPrefixed(text, text_raw, items_end, static_cast<size_t>(end - items_end), &consumed);
}

void DescriptorExtendedEvent::PrintFields(std::ostream& os) const {
  os << "descriptor_number: " << static_cast<int>(descriptor_number) << std::endl;
  os << "last_descriptor_number: " << static_cast<int>(last_descriptor_number) << std::endl;
  os << "language_code: " << ISO_639_language_code << std::endl;
  os << "text: " << text.c_str() << std::endl;
  for (const ItemInfo& item : items) {
    os << "description: " << item.item_description.c_str() << std::endl;
    os << "item: " << item.item.c_str() << std::endl;
  }
}

DescriptorTimeShiftedEvent::DescriptorTimeShiftedEvent(const u8* d) : Descriptor(d) {
  if (length >= 2) reference_service_id = Get16(d + 2);
  if (length >= 4) reference_event_id = Get16(d + 4);
}

void DescriptorTimeShiftedEvent::PrintFields(std::ostream& os) const {
  os << "reference_service_id: " << static_cast<int>(reference_service_id) << std::endl;
  os << "reference_event_id: " << static_cast<int>(reference_event_id) << std::endl;
}

DescriptorComponent::DescriptorComponent(const u8* d) : Descriptor(d) {
  if (length >= 1) stream_content = d[2] & 0x0F;
  if (length >= 2) component_type = d[3];
  if (length >= 3) component_tag = d[4];
  if (length >= 6) CopyCode(ISO_639_language_code, d + 5);
  if (length > 6) AssignDvbText(text, text_raw, static_cast<int>(length - 6), d + 8);
}

void DescriptorComponent::PrintFields(std::ostream& os) const {
  os << "stream_content: " << static_cast<int>(stream_content) << std::endl;
  os << "component_type: " << static_cast<int>(component_type) << std::endl;
  os << "component_tag: " << static_cast<int>(component_tag) << std::endl;
  os << "language_code: " << ISO_639_language_code << std::endl;
  os << "text: " << text.c_str() << std::endl;
}

const char* ContentInfo::ContentNibbleLevel1Name() const {
  static const char* const kNames[] = {
      "Movie/Drama",
      "News/Current affairs",
      "Show/Game show",
      "Sports",
      "Children/Youth programmes",
      "Music/Ballet/Dance",
      "Arts/Culture (without music)",
      "Social/Political issues/Economics",
      "Education/Science/Factual topics",
      "Leisure/Hobbies",
      "Special Charateristics",
  };
  if (content_nibble_level_1 >= 1 && content_nibble_level_1 <= 11) return kNames[content_nibble_level_1 - 1];
  return kUndefinedGenre;
}

const char* ContentInfo::ContentNibbleName() const {
  // Rows per level-1 group (1..11), indexed by level 2; missing rows are
  // undefined.
  static const char* const kMovie[] = {
      "movie/drama (general)", "detective/thriller", "adventure/western/war",
      "science fiction/fantasy/horror", "comedy", "soap/melodrama/folkloric", "romance",
      "serious/classical/religious/historical movie/drama", "adult movie/drama"};
  static const char* const kNews[] = {"news/current affairs (general)", "news/weather report",
                                      "news magazine", "documentary", "discussion/interview/debate"};
  static const char* const kShow[] = {"show/game show (general)", "game show/quiz/contest", "variety show",
                                      "talk show"};
  static const char* const kSports[] = {
      "sports (general)", "special events (Olympic Games, World Cupt etc.)", "sports magazines",
      "football/soccer", "tennis/squash", "team sports (exluding football)", "athletics", "motor sport",
      "water sport", "winther sports", "equestrian", "martial sports"};
  static const char* const kChildren[] = {
      "children/youth programmes (general)", "pre-school children's programmes",
      "entertainment programmes for 6 - 14", "entertainment programmes for 10 - 16",
      "informational/educational/schools programmes", "cartoons/puppets"};
  static const char* const kMusic[] = {"music/ballet/dance (general)", "rock/pop", "serious music/classical music",
                                       "folk/tradional music", "jazz", "musical/opera", "ballet"};
  static const char* const kArts[] = {"arts/culture (without music) (general)",
                                      "performing arts",
                                      "fine arts",
                                      "religion",
                                      "popular culture/traditional arts",
                                      "literature",
                                      "film/cinema",
                                      "experimental film/video",
                                      "broadcasting/press",
                                      "new media",
                                      "arts/culture magazines",
                                      "fashion"};
  static const char* const kSocial[] = {"social/political issues/economics (general)", "magazines/reports/documentary",
                                        "economics/social advisory", "remarkable people"};
  static const char* const kEducation[] = {
      "education/science/factual topics (general)", "nature/animals/environment", "technology/natural sciences",
      "medicine/physiology/psychology", "foriegn countries/expeditions", "social/spiritual sciences",
      "further education", "languages"};
  static const char* const kLeisure[] = {"leisure/hobbies (general)", "tourism/travel", "handicraft", "motoring",
                                         "fitness & health", "cooking", "advertisement/shopping", "gardening"};
  static const char* const kSpecial[] = {"origianl language", "black & white", "unpublished", "live broadcast"};
  struct Group {
    const char* const* names;
    u32 count;
  };
#define ORB_GROUP(a) {a, static_cast<u32>(sizeof(a) / sizeof(a[0]))}
  static const Group kGroups[] = {ORB_GROUP(kMovie),  ORB_GROUP(kNews),      ORB_GROUP(kShow),
                                  ORB_GROUP(kSports), ORB_GROUP(kChildren),  ORB_GROUP(kMusic),
                                  ORB_GROUP(kArts),   ORB_GROUP(kSocial),    ORB_GROUP(kEducation),
                                  ORB_GROUP(kLeisure), ORB_GROUP(kSpecial)};
#undef ORB_GROUP
  if (content_nibble_level_1 < 1 || content_nibble_level_1 > 11) return kUndefinedGenre;
  const Group& g = kGroups[content_nibble_level_1 - 1];
  return content_nibble_level_2 < g.count ? g.names[content_nibble_level_2] : kUndefinedGenre;
}

DescriptorContent::DescriptorContent(const u8* d) : Descriptor(d) {
  if (length % 2 != 0) throw error(-1, "descriptor length mismatch");
  contents.reserve(contents.size() + (length + 2 - 1) / 2);
  for (u32 i = 0; i < length; i += 2) contents.emplace_back(d + 2 + i);
}

void DescriptorContent::PrintFields(std::ostream& os) const {
  for (const ContentInfo& c : contents) {
    os << "content_nibble_level1: " << static_cast<int>(c.content_nibble_level_1) << std::endl;
    os << "content_nibble_level2: " << static_cast<int>(c.content_nibble_level_2) << std::endl;
    os << "user_nibble1: " << static_cast<int>(c.user_nibble_1) << std::endl;
    os << "user_nibble2: " << static_cast<int>(c.user_nibble_2) << std::endl;
  }
}

}  // namespace lib13818
