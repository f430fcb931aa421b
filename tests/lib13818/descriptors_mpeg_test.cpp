#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(MpegStreamDescriptors, HierarchyAndItsTypeNames) {
  auto d = MakeDescriptor<DescriptorHierarchy>(Desc(0x04, {0xFF, 0xC5, 0xFF, 0xBF}));
  EXPECT_EQ(d.hierarchy_type, 15u);
  EXPECT_STREQ(d.GetHierarchyTypeName(), "Base Layer");
  EXPECT_EQ(d.hierarchy_layer_index, 5u);
  EXPECT_EQ(d.hierarchy_embedded_layer_index, 0x3Fu);
  EXPECT_EQ(d.hierarchy_channel, 0x3Fu);
  EXPECT_EQ(Printed(d), "descriptor_tag: 04 hierachy_descriptor\n");

  DescriptorHierarchy h;
  EXPECT_STREQ(h.GetHierarchyTypeName(), "reserved");
  h.hierarchy_type = 2;
  EXPECT_STREQ(h.GetHierarchyTypeName(), "ITU-T Rec. H.262|ISO/IEC 13818-2 SNR Scalability");
  h.hierarchy_type = 6;
  EXPECT_STREQ(h.GetHierarchyTypeName(), "ITU-T Rec. H.222.0|ISO/IEC 13818-1 Private Stream");
  h.hierarchy_type = 7;
  EXPECT_STREQ(h.GetHierarchyTypeName(), "reserved");
}

TEST(MpegStreamDescriptors, RegistrationAdditionalInfo) {
  auto d = MakeDescriptor<DescriptorRegistration>(Desc(0x05, {'A', 'C', '-', '3'}));
  EXPECT_EQ(d.format_identifier, 0x41432D33u);
  EXPECT_TRUE(d.additional_identification_info.empty());
  d = MakeDescriptor<DescriptorRegistration>(Desc(0x05, {'H', 'D', 'M', 'V', 1, 2, 3}));
  EXPECT_EQ(d.additional_identification_info, (std::vector<u8>{1, 2, 3}));
  // Shorter than the identifier: nothing read past the descriptor.
  d = MakeDescriptor<DescriptorRegistration>(Desc(0x05, {'H', 'D'}));
  EXPECT_EQ(d.format_identifier, 0u);
  EXPECT_TRUE(d.additional_identification_info.empty());
}

TEST(MpegStreamDescriptors, AlignmentTypeIsTheWholeByte) {
  auto d = MakeDescriptor<DescriptorDataStreamAlignment>(Desc(0x06, {0x83}));
  EXPECT_EQ(d.alignment_type, 0x83u);
  EXPECT_STREQ(d.GetAlignmentTypeName(), "reserved");
  const char* names[] = {"reserved", "Slice, or video access unit", "video access unit", "GOP, or SEQ",
                         "SEQ", "reserved"};
  for (u32 t = 0; t < 6; ++t) {
    d.alignment_type = t;
    EXPECT_STREQ(d.GetAlignmentTypeName(), names[t]);
  }
}

TEST(MpegStreamDescriptors, GridAndWindowFields) {
  // 14 bits 0x2ABC, 14 bits 0x1234, 4 bits 0x9.
  const u32 v = 0x2ABCu << 18 | 0x1234u << 4 | 0x9u;
  std::vector<u8> payload = {u8(v >> 24), u8(v >> 16), u8(v >> 8), u8(v)};
  auto g = MakeDescriptor<DescriptorTargetBackgroundGrid>(Desc(0x07, payload));
  EXPECT_EQ(g.horizontal_size, 0x2ABCu);
  EXPECT_EQ(g.vertical_size, 0x1234u);
  EXPECT_EQ(g.aspect_ratio_information, 9u);
  auto w = MakeDescriptor<DescriptorVideoWindow>(Desc(0x08, payload));
  EXPECT_EQ(w.horizontal_offset, 0x2ABCu);
  EXPECT_EQ(w.vertical_offset, 0x1234u);
  EXPECT_EQ(w.window_priority, 9u);
}

TEST(MpegStreamDescriptors, ClockBufferBitrateFields) {
  auto c = MakeDescriptor<DescriptorSystemClock>(Desc(0x0B, {0xBF, 0xE0}));
  EXPECT_EQ(c.external_clock_reference_indicator, 1u);
  EXPECT_EQ(c.clock_accuracy_integer, 0x3Fu);
  EXPECT_EQ(c.clock_accuracy_exponent, 7u);

  auto m = MakeDescriptor<DescriptorMultiplexBufferUtilization>(Desc(0x0C, {0xC0, 0x01, 0xFF, 0xFF}));
  EXPECT_EQ(m.bound_valid_flag, 1u);
  EXPECT_EQ(m.LTW_offset_lower_bound, 0x4001u);
  EXPECT_EQ(m.LTW_offset_upper_bound, 0x7FFFu);

  auto b = MakeDescriptor<DescriptorMaximumBitrate>(Desc(0x0E, {0xFF, 0x12, 0x34}));
  EXPECT_EQ(b.maximum_bitrate, 0x3F1234u);

  auto s = MakeDescriptor<DescriptorSmoothingBuffer>(Desc(0x10, {0xC1, 0x00, 0x02, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(s.sb_leak_rate, 0x010002u);
  EXPECT_EQ(s.sb_size, 0x3FFFFFu);
}

TEST(MpegStreamDescriptors, IbpTakesTheLowSixBitsOfTheFirstByte) {
  auto d = MakeDescriptor<DescriptorIBP>(Desc(0x12, {0xFF, 0xFF}));
  EXPECT_EQ(d.closed_gop_flag, 1u);
  EXPECT_EQ(d.identical_gop_flag, 1u);
  EXPECT_EQ(d.max_gop_length, 0x3FFFu);
  d = MakeDescriptor<DescriptorIBP>(Desc(0x12, {0x40, 0x02}));
  EXPECT_EQ(d.closed_gop_flag, 0u);
  EXPECT_EQ(d.identical_gop_flag, 1u);
  EXPECT_EQ(d.max_gop_length, 2u);
}

TEST(MpegStreamDescriptors, EmptyDescriptorsReadNothing) {
  EXPECT_EQ(MakeDescriptor<DescriptorHierarchy>({0x04, 0}).hierarchy_type, 0u);
  EXPECT_EQ(MakeDescriptor<DescriptorDataStreamAlignment>({0x06, 0}).alignment_type, 0u);
  EXPECT_EQ(MakeDescriptor<DescriptorTargetBackgroundGrid>({0x07, 3, 1, 2, 3}).horizontal_size, 0u);
  EXPECT_EQ(MakeDescriptor<DescriptorSmoothingBuffer>({0x10, 5, 0, 0, 1, 2, 3}).sb_size, 0u);
  EXPECT_EQ(MakeDescriptor<DescriptorSmoothingBuffer>({0x10, 5, 0, 0, 1, 2, 3}).sb_leak_rate, 1u);
  EXPECT_EQ(MakeDescriptor<DescriptorIBP>({0x12, 1, 0xFF}).closed_gop_flag, 0u);
}

}  // namespace
