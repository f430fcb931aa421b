#include "lib13818/descriptors_rating.h"

namespace lib13818 {

namespace {

void CopyCode(char (&out)[4], const u8* p) {
  for (int i = 0; i < 3; ++i) out[i] = static_cast<char>(p[i]);
  out[3] = '\0';
}

}  // namespace

DescriptorParentalRating::RatingInfo::RatingInfo(const u8* p) : rating(p[3]) {
  CopyCode(country_code, p);
}

void DescriptorParentalRating::RatingInfo::Print(std::ostream& os) const {
  os << "DescriptorParentalRating::RatingInfo::country_code: " << country_code << std::endl;
  os << "DescriptorParentalRating::RatingInfo::rating: " << static_cast<int>(rating) << std::endl;
}

DescriptorParentalRating::DescriptorParentalRating(const u8* d) : Descriptor(d) {
  if (length % 4 != 0) throw error(3, "parental_rating_descriptor");
  ratings.reserve(ratings.size() + (length + 4 - 1) / 4);
  for (u32 i = 0; i < length; i += 4) ratings.emplace_back(d + 2 + i);
}

void DescriptorParentalRating::PrintFields(std::ostream& os) const {
  for (const RatingInfo& r : ratings) r.Print(os);
}

DescriptorTelephone::DescriptorTelephone(const u8* d) : Descriptor(d) {
  // The three header bytes are fixed fields: kept when carried whole.
  if (length >= 1) {
    foreign_availability = (d[2] >> 5) & 1;
    connection_type = d[2] & 0x1F;
  }
  if (length >= 2) {
    country_prefix_length = (d[3] >> 5) & 0x03;
    international_area_code_length = (d[3] >> 2) & 0x07;
    operator_code_length = d[3] & 0x03;
  }
  if (length >= 3) {
    national_area_code_length = (d[4] >> 4) & 0x07;
    core_number_length = d[4] & 0x0F;
  }
  const u32 strings = country_prefix_length + international_area_code_length +
                      operator_code_length + national_area_code_length + core_number_length;
  if (strings > 0 && length < 3 + strings) throw error(3, "telephone_descriptor");
  const char* p = reinterpret_cast<const char*>(d + 5);
  auto take = [&p](std::string& s, u32 n) {
    s.assign(p, n);
    p += n;
  };
  take(country_prefix_char, country_prefix_length);
  take(international_area_code_char, international_area_code_length);
  take(operator_code_char, operator_code_length);
  take(national_area_code_char, national_area_code_length);
  take(core_number_char, core_number_length);
}

void DescriptorTelephone::Reset() {
  country_prefix_char.clear();
  international_area_code_char.clear();
  operator_code_char.clear();
  national_area_code_char.clear();
  core_number_char.clear();
}

void DescriptorTelephone::PrintFields(std::ostream& os) const {
  os << "foriegn_availability: " << static_cast<int>(foreign_availability) << std::endl;
  os << "connection_type: " << static_cast<int>(connection_type) << std::endl;
  os << "country_prefix_length: " << static_cast<int>(country_prefix_length) << std::endl;
  os << "international_area_code_length: " << static_cast<int>(international_area_code_length)
     << std::endl;
  os << "operator_code_length: " << static_cast<int>(operator_code_length) << std::endl;
  os << "national_area_code_length: " << static_cast<int>(national_area_code_length) << std::endl;
  os << "core_number_length: " << static_cast<int>(core_number_length) << std::endl;
  os << "country_prefix_char: " << country_prefix_char << std::endl;
  os << "international_area_code_char: " << international_area_code_char << std::endl;
  os << "operator_code_char: " << operator_code_char << std::endl;
  os << "national_area_code_char: " << national_area_code_char << std::endl;
  os << "core_number_char: " << core_number_char << std::endl;
}

SubtitlingInfo::SubtitlingInfo(const u8* p)
    : subtitling_type(p[3]), composition_page_id(Get16(p + 4)), ancillary_page_id(Get16(p + 6)) {
  CopyCode(ISO_639_language_code, p);
}

void SubtitlingInfo::Print(std::ostream& os) const {
  os << "DescriptorSubtitling::ISO_639_language_code: " << ISO_639_language_code << std::endl;
  os << "DescriptorSubtitling::subtitling_type: " << static_cast<int>(subtitling_type) << std::endl;
  os << "DescriptorSubtitling::composition_page_id: " << static_cast<int>(composition_page_id)
     << std::endl;
  os << "DescriptorSubtitling::antcillary_page_id: " << static_cast<int>(ancillary_page_id)
     << std::endl;
}

DescriptorSubtitling::DescriptorSubtitling(const u8* d) : Descriptor(d) {
  if (length % 8 != 0) throw error(3, "subtitling_descriptor");
  subtitles.reserve(subtitles.size() + (length + 8 - 1) / 8);
  for (u32 i = 0; i < length; i += 8) subtitles.emplace_back(d + 2 + i);
}

void DescriptorSubtitling::PrintFields(std::ostream& os) const {
  for (const SubtitlingInfo& s : subtitles) s.Print(os);
}

VBIDataInfo::VBIDataInfo(const u8* p, int remaining, int* consumed) {
  if (remaining < 2) throw error(2, -1);
  data_service_id = p[0];
  data_service_descriptor_length = p[1];
  if (static_cast<u32>(remaining) < 2 + data_service_descriptor_length) throw error(2, -1);
  data_service_bytes.assign(p + 2, p + 2 + data_service_descriptor_length);
  *consumed = static_cast<int>(2 + data_service_descriptor_length);
}

DescriptorVBIData::DescriptorVBIData(const u8* d) : Descriptor(d) {
  const u8* p = d + 2;
  const u8* end = p + length;
  while (p < end) {
    int consumed = 0;
    services.push_back(VBIDataInfo(p, static_cast<int>(end - p), &consumed));
    p += consumed;
  }
}

void DescriptorVBIData::PrintFields(std::ostream& os) const {
  for (const VBIDataInfo& s : services) s.Print(os);
}

DescriptorVBITeletext::DescriptorVBITeletext(const u8* d) : Descriptor(d) {
  if (length % 5 != 0) throw error(-1, -1);
  pages.reserve(pages.size() + (length + 5 - 1) / 5);
  for (u32 i = 0; i < length; i += 5) pages.emplace_back(d + 2 + i);
}

}  // namespace lib13818
