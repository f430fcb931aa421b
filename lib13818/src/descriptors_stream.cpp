#include "lib13818/descriptors_stream.h"

namespace lib13818 {

DescriptorVideoStream::DescriptorVideoStream(const u8* d) : Descriptor(d) {
  if (length < 1) return;
  multiple_frame_rate_flag = (d[2] >> 7) & 1;
  frame_rate_code = (d[2] >> 3) & 0x0F;
  MPEG_1_only_flag = (d[2] >> 2) & 1;
  constrained_parameter_flag = (d[2] >> 1) & 1;
  still_picture_flag = d[2] & 1;
  if (MPEG_1_only_flag || length < 3) return;
  profile_and_level_indication = d[3];
  chroma_format = d[4] >> 6;
  frame_rate_extension_flag = (d[4] >> 5) & 1;
  reserved = d[4] & 0x1F;
}

void DescriptorVideoStream::PrintFields(std::ostream& os) const { os << "TO IMPLEMENT!!!" << std::endl; }

DescriptorAudioStream::DescriptorAudioStream(const u8* d) : Descriptor(d) {
  if (length < 1) return;
  free_format_flag = d[2] >> 7;
  ID = (d[2] >> 6) & 1;
  layer = (d[2] >> 4) & 0x03;
  variable_rate_audio_indicator = (d[2] >> 3) & 1;
}

void DescriptorAudioStream::PrintFields(std::ostream& os) const {
  os << "free_format_flag: " << static_cast<int>(free_format_flag) << std::endl;
  os << "ID: " << static_cast<int>(ID) << std::endl;
  os << "layer: " << static_cast<int>(layer) << std::endl;
  os << "variable_rate_audio_indicator: " << static_cast<int>(variable_rate_audio_indicator) << std::endl;
}

DescriptorISO639Language::DescriptorISO639Language(const u8* d) : Descriptor(d) {
  if (length % 4 != 0) throw error(-1, "descriptor length mismatch");
  languages.reserve(languages.size() + (length + 4 - 1) / 4);
  for (u32 i = 0; i < length; i += 4) languages.emplace_back(d + 2 + i);
}

void DescriptorISO639Language::PrintFields(std::ostream& os) const {
  for (const ISO639LanguageInfo& l : languages) {
    os << "ISO_639_language_code: " << l.ISO_639_language_code << std::endl;
    os << "audio_type: " << static_cast<int>(l.audio_type) << std::endl;
  }
}

DescriptorCopyright::DescriptorCopyright(const u8* d) : Descriptor(d) {
  if (length < 4) return;
  copyright_identifier = Get32(d + 2);
  additional_copyright_info.assign(d + 6, d + 2 + length);
}

void DescriptorCopyright::PrintFields(std::ostream& os) const {
  os << "copyright_identifier:" << copyright_identifier << std::endl;
  os << "additional_copyright_info: ";
  for (u8 b : additional_copyright_info) os << " " << static_cast<int>(b);
  os << std::endl;
}

DescriptorPrivateDataIndicator::DescriptorPrivateDataIndicator(const u8* d) : Descriptor(d) {
  if (length >= 4) private_data_indicator = Get32(d + 2);
}

void DescriptorPrivateDataIndicator::PrintFields(std::ostream& os) const {
  os << "private_data_indicator: " << private_data_indicator << std::endl;
}

DescriptorSTD::DescriptorSTD(const u8* d) : Descriptor(d) {
  if (length >= 1) leak_valid_flag = d[2] & 1;
}

void DescriptorSTD::PrintFields(std::ostream& os) const {
  os << "leak_valid_flag: " << static_cast<int>(leak_valid_flag) << std::endl;
}

DescriptorStreamIdentifier::DescriptorStreamIdentifier(const u8* d) : Descriptor(d) {
  if (length >= 1) component_tag = d[2];
}

void DescriptorStreamIdentifier::PrintFields(std::ostream& os) const {
  os << "component_tag: " << static_cast<int>(component_tag) << std::endl;
}

DescriptorCAIdentifier::DescriptorCAIdentifier(const u8* d) : Descriptor(d) {
  CA_system_ids.reserve(CA_system_ids.size() + (length + 2 - 1) / 2);
  for (u32 i = 0; i + 2 <= length; i += 2) CA_system_ids.push_back(Get16(d + 2 + i));
}

void DescriptorCAIdentifier::PrintFields(std::ostream& os) const {
  for (u32 id : CA_system_ids) os << "CA_system_id: " << static_cast<int>(id) << std::endl;
}

DescriptorTeletext::DescriptorTeletext(const u8* d) : Descriptor(d) {
  if (length % 5 != 0) throw error(-1, "descriptor length mismatch");
  pages.reserve(pages.size() + (length + 5 - 1) / 5);
  for (u32 i = 0; i < length; i += 5) pages.emplace_back(d + 2 + i);
}

void DescriptorTeletext::PrintFields(std::ostream& os) const {
  for (const TeletextInfo& t : pages) {
    os << "language_code " << t.ISO_639_language_code << std::endl;
    os << "teletext_type " << static_cast<int>(t.teletext_type) << std::endl;
    os << "teletext_magazine_number " << static_cast<int>(t.teletext_magazine_number) << std::endl;
    os << "teletext_page_number " << static_cast<int>(t.teletext_page_number) << std::endl;
  }
}

}  // namespace lib13818
