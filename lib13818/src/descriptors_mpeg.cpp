#include "lib13818/descriptors_mpeg.h"

namespace lib13818 {

// Each field is read only when the descriptor carries all of its bytes:
// `length >= n` means payload bytes 0 .. n-1 (descriptor bytes 2 .. n+1) exist.

DescriptorHierarchy::DescriptorHierarchy(const u8* d) : Descriptor(d) {
  if (length >= 1) hierarchy_type = d[2] & 0x0F;
  if (length >= 2) hierarchy_layer_index = d[3] & 0x3F;
  if (length >= 3) hierarchy_embedded_layer_index = d[4] & 0x3F;
  if (length >= 4) hierarchy_channel = d[5] & 0x3F;
}

const char* DescriptorHierarchy::GetHierarchyTypeName() const {
  switch (hierarchy_type) {
    case 1: return "ITU-T Rec. H.262|ISO/IEC 13818-2 Spatial Scalability";
    case 2: return "ITU-T Rec. H.262|ISO/IEC 13818-2 SNR Scalability";
    case 3: return "ITU-T Rec. H.262|ISO/IEC 13818-2 Temporal Scalability";
    case 4: return "ITU-T Rec. H.262|ISO/IEC 13818-2 Data partitioning";
    case 5: return "ISO/IEC 13818-3 Extension bitstream";
    case 6: return "ITU-T Rec. H.222.0|ISO/IEC 13818-1 Private Stream";
    case 15: return "Base Layer";
    default: return "reserved";
  }
}

DescriptorRegistration::DescriptorRegistration(const u8* d) : Descriptor(d) {
  if (length >= 4) format_identifier = Get32(d + 2);
  if (length > 4) additional_identification_info.assign(d + 6, d + 2 + length);
}

DescriptorDataStreamAlignment::DescriptorDataStreamAlignment(const u8* d) : Descriptor(d) {
  if (length >= 1) alignment_type = d[2];
}

const char* DescriptorDataStreamAlignment::GetAlignmentTypeName() const {
  switch (alignment_type) {
    case 1: return "Slice, or video access unit";
    case 2: return "video access unit";
    case 3: return "GOP, or SEQ";
    case 4: return "SEQ";
    default: return "reserved";
  }
}

DescriptorTargetBackgroundGrid::DescriptorTargetBackgroundGrid(const u8* d) : Descriptor(d) {
  if (length >= 4) {
    const u32 v = Get32(d + 2);  // 14 + 14 + 4 bits
    horizontal_size = v >> 18;
    vertical_size = (v >> 4) & 0x3FFF;
    aspect_ratio_information = v & 0x0F;
  }
}

DescriptorVideoWindow::DescriptorVideoWindow(const u8* d) : Descriptor(d) {
  if (length >= 4) {
    const u32 v = Get32(d + 2);  // 14 + 14 + 4 bits
    horizontal_offset = v >> 18;
    vertical_offset = (v >> 4) & 0x3FFF;
    window_priority = v & 0x0F;
  }
}

DescriptorSystemClock::DescriptorSystemClock(const u8* d) : Descriptor(d) {
  if (length >= 1) {
    external_clock_reference_indicator = d[2] >> 7;
    clock_accuracy_integer = d[2] & 0x3F;
  }
  if (length >= 2) clock_accuracy_exponent = d[3] >> 5;
}

DescriptorMultiplexBufferUtilization::DescriptorMultiplexBufferUtilization(const u8* d)
    : Descriptor(d) {
  if (length >= 2) {
    bound_valid_flag = d[2] >> 7;
    LTW_offset_lower_bound = Get16(d + 2) & 0x7FFF;
  }
  if (length >= 4) LTW_offset_upper_bound = Get16(d + 4) & 0x7FFF;
}

DescriptorMaximumBitrate::DescriptorMaximumBitrate(const u8* d) : Descriptor(d) {
  if (length >= 3) maximum_bitrate = Get24(d + 2) & 0x3FFFFF;
}

DescriptorSmoothingBuffer::DescriptorSmoothingBuffer(const u8* d) : Descriptor(d) {
  if (length >= 3) sb_leak_rate = Get24(d + 2) & 0x3FFFFF;
  if (length >= 6) sb_size = Get24(d + 5) & 0x3FFFFF;
}

DescriptorIBP::DescriptorIBP(const u8* d) : Descriptor(d) {
  if (length >= 2) {
    closed_gop_flag = d[2] >> 7;
    identical_gop_flag = (d[2] >> 6) & 1;
    max_gop_length = Get16(d + 2) & 0x3FFF;
  }
}

}  // namespace lib13818
