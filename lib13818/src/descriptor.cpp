#include "lib13818/descriptor.h"

#include <iomanip>

namespace lib13818 {

void Descriptor::Print(std::ostream& os) const {
  os << "descriptor_tag: " << std::hex << std::setw(2) << std::setfill('0')
     << static_cast<int>(tag) << " " << GetName() << std::endl;
  PrintFields(os);
}

void PrintHex(std::ostream& os, const u8* bytes, int count) {
  auto row = [&](const u8* b, int n) {
    for (int i = 0; i < n; ++i) os << std::hex << std::setw(2) << static_cast<int>(b[i]) << " ";
    for (int i = n; i < 16; ++i) os << "   ";
    os << " : ";
    for (int i = 0; i < n; ++i) {
      const u8 c = b[i];
      const bool alpha = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      os << (alpha ? static_cast<char>(c) : '.');
    }
    os << std::endl;
  };
  int i = 0;
  for (; i + 16 <= count; i += 16) row(bytes + i, 16);
  if (i < count) row(bytes + i, count - i);
}

const char* GetMpegDescriptorName(u32 tag) {
  if (tag > 0x3F) return "User Private";
  if (tag > 0x12) return "Reserved";
  static const char* const kNames[] = {
      "Reserved",
      "Reserved",
      "video_stream_descriptor",
      "audio_stream_descriptor",
      "hierachy_descriptor",
      "registration_descriptor",
      "data_streeam_descriptor",
      "target_background_grid_descriptor",
      "video_window_descriptor",
      "CA_descriptor",
      "ISO_639_language_descriptor",
      "system_clock_descriptor",
      "multiplex_buffer_utilization_descriptor",
      "copyright_descriptor",
      "maximum_bitrate_descriptor",
      "private_data_indicator_descriptor",
      "smootihing_descriptor",
      "STD_descriptor",
      "IBP_descriptor",
  };
  return kNames[tag];
}

DescriptorUnknown::DescriptorUnknown(const u8* d) : Descriptor(d), data(d + 2, d + 2 + length) {}

void DescriptorUnknown::PrintFields(std::ostream& os) const {
  os << "data:" << std::endl;
  PrintHex(os, data);
}

DescriptorCA::DescriptorCA(const u8* d) : Descriptor(d) {
  // The fixed part is four bytes; a shorter descriptor keeps what it carries
  // and reads nothing past its own length.
  const u8* p = d + 2;
  if (length >= 2) CA_system_ID = Get16(p);
  if (length >= 4) CA_PID = Get16(p + 2) & 0x1FFF;
  if (length > 4) private_data_bytes.assign(p + 4, p + length);
}

void DescriptorCA::PrintFields(std::ostream& os) const {
  os << "sys_id: " << std::setw(4) << std::hex << CA_system_ID << " " << GetCAProviderName()
     << std::endl;
  os << "pid: " << std::setw(4) << std::hex << CA_PID << std::endl;
  if (!private_data_bytes.empty()) {
    os << "private data:" << std::endl;
    PrintHex(os, private_data_bytes);
  }
}

const char* DescriptorCA::GetCAProviderName() const {
  struct Range {
    u32 first, last;
    const char* name;
  };
  static const Range kRanges[] = {
      {0x0100, 0x01FF, "Canal Plus"},        {0x0500, 0x05FF, "France Telecom"},
      {0x0600, 0x06FF, "Irdeto"},            {0x0900, 0x09FF, "News Datacom"},
      {0x0B00, 0x0BFF, "Norwegian Telekom"}, {0x0D00, 0x0DFF, "Philips"},
      {0x1700, 0x17FF, "BetaTechnik"},
  };
  for (const Range& r : kRanges)
    if (CA_system_ID >= r.first && CA_system_ID <= r.last) return r.name;
  return "unknown provider";
}

}  // namespace lib13818
