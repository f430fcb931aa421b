#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(ShortEvent, NameAndTextThroughTheTextRule) {
  auto d = MakeDescriptor<DescriptorShortEvent>(
      Desc(0x4D, {'d', 'e', 'u', 3, 0x05, 'N', 'a', 4, 'T', 'e', 'x', 't'}));
  EXPECT_STREQ(d.ISO_639_language_code, "deu");
  EXPECT_EQ(d.event_name, "Na");
  EXPECT_EQ(d.text, "Text");
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 4d short_event_descriptor\n"
            "language_code: deu\nevent_name: Na\ntext: Text\n");
  // An empty name: the text length follows at offset 6.
  auto e = MakeDescriptor<DescriptorShortEvent>(Desc(0x4D, {'e', 'n', 'g', 0, 2, 'h', 'i'}));
  EXPECT_TRUE(e.event_name.empty());
  EXPECT_EQ(e.text, "hi");
}

TEST(ShortEvent, TextsPastTheDescriptorAreRefused) {
  ExpectRefused<DescriptorShortEvent>(Desc(0x4D, {'d', 'e', 'u', 3, 'a', 'b'}), -1, "too little data");
  ExpectRefused<DescriptorShortEvent>(Desc(0x4D, {'d', 'e', 'u', 1, 'a', 2, 'b'}), -1, "too little data");
  ExpectRefused<DescriptorShortEvent>(Desc(0x4D, {'d', 'e', 'u', 0}), -1, "too little data");
  ExpectRefused<DescriptorShortEvent>({0x4D, 0}, -1, "too little data");
}

TEST(ExtendedEvent, ItemsThenText) {
  auto d = MakeDescriptor<DescriptorExtendedEvent>(Desc(
      0x4E, {0x13, 'd', 'e', 'u', 9, 2, 'D', 'r', 5, 0x05, 'A', 'n', 'n', 'a', 3, 'x', 'y', 'z'}));
  EXPECT_EQ(d.descriptor_number, 1u);
  EXPECT_EQ(d.last_descriptor_number, 3u);
  EXPECT_STREQ(d.ISO_639_language_code, "deu");
  ASSERT_EQ(d.items.size(), 1u);
  EXPECT_EQ(d.items[0].item_description, "Dr");
  EXPECT_EQ(d.items[0].item, "Anna");
  EXPECT_EQ(d.text, "xyz");
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 4e extended_event_descriptor\n"
            "descriptor_number: 1\nlast_descriptor_number: 3\nlanguage_code: deu\ntext: xyz\n"
            "description: Dr\nitem: Anna\n");
  d.Reset();
  EXPECT_TRUE(d.items.empty());
  EXPECT_EQ(d.text, "xyz");
  // No items: the text follows at offset 7.
  auto e = MakeDescriptor<DescriptorExtendedEvent>(Desc(0x4E, {0x00, 'e', 'n', 'g', 0, 2, 'o', 'k'}));
  EXPECT_TRUE(e.items.empty());
  EXPECT_EQ(e.text, "ok");
}

TEST(ExtendedEvent, MalformedItemsAndTextsAreRefused) {
  // first item declares 3 + 10 bytes in an item area of 8
  ExpectRefused<DescriptorExtendedEvent>(
      Desc(0x4E, {0x00, 'd', 'e', 'u', 8, 3, 'a', 'b', 'c', 10, 'x', 'y', 'z', 0}), -1, "data length mismatch");
  // item_length would be the byte behind the item area
  ExpectRefused<DescriptorExtendedEvent>(Desc(0x4E, {0x00, 'd', 'e', 'u', 2, 1, 'a', 0}), -1,
                                         "data length mismatch");
  // item area past the descriptor
  ExpectRefused<DescriptorExtendedEvent>(Desc(0x4E, {0x00, 'd', 'e', 'u', 9, 0, 0}), -1, "data length mismatch");
  // text past the descriptor
  ExpectRefused<DescriptorExtendedEvent>(Desc(0x4E, {0x00, 'd', 'e', 'u', 0, 5, 'a'}), -1, "too little data");
  ExpectRefused<DescriptorExtendedEvent>(Desc(0x4E, {0x00, 'd', 'e', 'u', 0}), -1, "too little data");
}

TEST(TimeShiftedEvent, References) {
  auto d = MakeDescriptor<DescriptorTimeShiftedEvent>(Desc(0x4F, {0x12, 0x34, 0xAB, 0xCD}));
  EXPECT_EQ(d.reference_service_id, 0x1234u);
  EXPECT_EQ(d.reference_event_id, 0xABCDu);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 4f time_shifted_event_descriptor\n"
            "reference_service_id: 1234\nreference_event_id: abcd\n");
  auto s = MakeDescriptor<DescriptorTimeShiftedEvent>(Desc(0x4F, {0x12, 0x34, 0xAB}));
  EXPECT_EQ(s.reference_service_id, 0x1234u);
  EXPECT_EQ(s.reference_event_id, 0u);
}

TEST(Component, FixedFieldsAndText) {
  auto d = MakeDescriptor<DescriptorComponent>(Desc(0x50, {0xF1, 0x03, 0x02, 'd', 'e', 'u'}));
  EXPECT_EQ(d.stream_content, 1u);
  EXPECT_EQ(d.component_type, 3u);
  EXPECT_EQ(d.component_tag, 2u);
  EXPECT_STREQ(d.ISO_639_language_code, "deu");
  EXPECT_TRUE(d.text.empty());
  EXPECT_EQ(MakeDescriptor<DescriptorComponent>(Desc(0x50, {1, 1, 1, 'e', 'n', 'g', 'A', 'B', 'C'})).text, "ABC");
  auto s = MakeDescriptor<DescriptorComponent>(Desc(0x50, {1, 1, 1, 'e', 'n', 'g', 0x05, 'A', 'B'}));
  EXPECT_EQ(s.text, "AB");
  EXPECT_EQ(Printed(s),
            "descriptor_tag: 50 component_descriptor\n"
            "stream_content: 1\ncomponent_type: 1\ncomponent_tag: 1\nlanguage_code: eng\ntext: AB\n");
  // short: whole fields only
  auto t = MakeDescriptor<DescriptorComponent>(Desc(0x50, {0x02, 0x05, 0x07, 'd'}));
  EXPECT_EQ(t.component_tag, 7u);
  EXPECT_STREQ(t.ISO_639_language_code, "");
}

TEST(Content, EntriesAndPrint) {
  auto d = MakeDescriptor<DescriptorContent>(Desc(0x54, {0x12, 0x34}));
  ASSERT_EQ(d.contents.size(), 1u);
  const ContentInfo& c = d.contents[0];
  EXPECT_EQ(c.content_nibble_level_1, 1u);
  EXPECT_EQ(c.content_nibble_level_2, 2u);
  EXPECT_EQ(c.user_nibble_1, 3u);
  EXPECT_EQ(c.user_nibble_2, 4u);
  EXPECT_STREQ(c.ContentNibbleLevel1Name(), "Movie/Drama");
  EXPECT_STREQ(c.ContentNibbleName(), "adventure/western/war");
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 54 content_descriptor\n"
            "content_nibble_level1: 1\ncontent_nibble_level2: 2\nuser_nibble1: 3\nuser_nibble2: 4\n");
  ExpectRefused<DescriptorContent>(Desc(0x54, {0x12, 0x34, 0x56}), -1, "descriptor length mismatch");
  EXPECT_TRUE(MakeDescriptor<DescriptorContent>({0x54, 0}).contents.empty());
}

TEST(Content, GenreNames) {
  auto name = [](u8 b) {
    const u8 p[2] = {b, 0};
    return std::string(ContentInfo(p).ContentNibbleName());
  };
  const std::string undefined = "undefined/user defined/reserved for future use";
  for (u8 b : {0x19, 0x0F, 0xC0, 0xF5, 0x00, 0x25, 0xB4, 0xBF, 0x4C, 0x7C}) EXPECT_EQ(name(b), undefined) << int(b);
  EXPECT_EQ(name(0xB3), "live broadcast");
  EXPECT_EQ(name(0xB0), "origianl language");
  EXPECT_EQ(name(0x10), "movie/drama (general)");
  EXPECT_EQ(name(0x18), "adult movie/drama");
  EXPECT_EQ(name(0x4B), "martial sports");
  EXPECT_EQ(name(0x7B), "fashion");
  EXPECT_EQ(name(0xA7), "gardening");
  int named = 0;
  for (int b = 0; b < 256; ++b) named += name(static_cast<u8>(b)) != undefined;
  EXPECT_EQ(named, 79);
  auto level1 = [](u8 b) {
    const u8 p[2] = {b, 0};
    return std::string(ContentInfo(p).ContentNibbleLevel1Name());
  };
  EXPECT_EQ(level1(0xB0), "Special Charateristics");
  EXPECT_EQ(level1(0xA0), "Leisure/Hobbies");
  EXPECT_EQ(level1(0x00), undefined);
  EXPECT_EQ(level1(0xC0), undefined);
}

}  // namespace
