#include "lib13818/descriptors_misc.h"

namespace lib13818 {

DescriptorPrivateDataSpecifier::DescriptorPrivateDataSpecifier(const u8* d) : Descriptor(d) {
  if (length >= 4) private_data_specifier = Get32(d + 2);
}

void DescriptorPrivateDataSpecifier::PrintFields(std::ostream& os) const {
  os << "private_data_specifier: " << static_cast<unsigned int>(private_data_specifier)
     << std::endl;
}

DescriptorServiceMove::DescriptorServiceMove(const u8* d) : Descriptor(d) {
  if (length >= 2) new_original_network_id = Get16(d + 2);
  if (length >= 4) new_transport_stream_id = Get16(d + 4);
  if (length >= 6) new_service_id = Get16(d + 6);
}

void DescriptorServiceMove::PrintFields(std::ostream& os) const {
  os << "new_original_network_id: " << static_cast<int>(new_original_network_id) << std::endl;
  os << "new_transport_stream_id: " << static_cast<int>(new_transport_stream_id) << std::endl;
  os << "new_service_id: " << static_cast<int>(new_service_id) << std::endl;
}

DescriptorShortSmoothingBuffer::DescriptorShortSmoothingBuffer(const u8* d) : Descriptor(d) {
  // An empty descriptor carries neither the sizes nor any reserved byte.
  if (length >= 1) {
    sb_size = d[2] >> 6;
    sb_leak_rate = d[2] & 0x3F;
    DVB_reserved.assign(d + 3, d + 2 + length);
  }
}

void DescriptorShortSmoothingBuffer::PrintFields(std::ostream& os) const {
  os << "sb_size: " << static_cast<int>(sb_size) << std::endl;
  os << "sb_leak_rate: " << static_cast<int>(sb_leak_rate) << std::endl;
  if (!DVB_reserved.empty()) {
    os << "DVB_reserved:" << std::endl;
    PrintHex(os, DVB_reserved);
  }
}

DescriptorPDC::DescriptorPDC(const u8* d) : Descriptor(d) {
  if (length >= 3) programme_identification_label = Get24(d + 2) & 0xFFFFF;
}

DescriptorAC3::DescriptorAC3(const u8* d) : Descriptor(d) {
  if (length < 1) return;
  const u8 flags = d[2];
  component_type_flag = flags >> 7;
  bsid_flag = (flags >> 6) & 1;
  mainid_flag = (flags >> 5) & 1;
  asvc_flag = (flags >> 4) & 1;
  // The optional bytes follow in flag order; a flagged byte that the
  // descriptor does not carry is not read and stays 0, and the reading stops
  // at the descriptor's end.
  const u8* p = d + 3;
  const u8* end = d + 2 + length;
  auto optional = [&](u32 flag, u32& field) {
    if (!flag) return;
    if (p < end) field = *p++;
  };
  optional(component_type_flag, component_type);
  optional(bsid_flag, bsid);
  optional(mainid_flag, mainid);
  optional(asvc_flag, asvc);
  if (p < end) additional_info.assign(p, end);
}

AnnouncementInfo::AnnouncementInfo(const u8* p, int remaining, int* consumed) {
  if (remaining < 1) throw error(2, -1);
  announcement_type = p[0] >> 4;
  reference_type = p[0] & 0x07;
  if (reference_type >= 1 && reference_type <= 3) {
    if (remaining < 8) throw error(2, -1);
    original_network_id = Get16(p + 1);
    transport_stream_id = Get16(p + 3);
    service_id = Get16(p + 5);
    component_tag = p[7];
    *consumed = 8;
  } else {
    *consumed = 1;
  }
}

DescriptorAnnouncementSupport::DescriptorAnnouncementSupport(const u8* d) : Descriptor(d) {
  // The entries start behind the 2-byte indicator; a descriptor too short to
  // hold it ends its (empty) loop past its own end.
  if (length < 2) throw error(2, -1);
  announcement_support_indicator = Get16(d + 2);
  const u8* p = d + 4;
  const u8* end = d + 2 + length;
  while (p < end) {
    int consumed = 0;
    announcements.push_back(AnnouncementInfo(p, static_cast<int>(end - p), &consumed));
    p += consumed;
  }
}

}  // namespace lib13818
