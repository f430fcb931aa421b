#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(MiscDescriptors, PrivateDataSpecifierAndServiceMovePrint) {
  auto p = MakeDescriptor<DescriptorPrivateDataSpecifier>(Desc(0x5F, {0xFF, 0x00, 0x00, 0x28}));
  EXPECT_EQ(p.private_data_specifier, 0xFF000028u);
  EXPECT_EQ(Printed(p),
            "descriptor_tag: 5f private_data_specifier_descriptor\n"
            "private_data_specifier: ff000028\n");

  auto m = MakeDescriptor<DescriptorServiceMove>(Desc(0x60, {0x00, 0x85, 0x04, 0x4A, 0x75, 0x30}));
  EXPECT_EQ(Printed(m),
            "descriptor_tag: 60 service_move_descriptor\n"
            "new_original_network_id: 85\n"
            "new_transport_stream_id: 44a\n"
            "new_service_id: 7530\n");
}

TEST(MiscDescriptors, ShortSmoothingBuffer) {
  auto d = MakeDescriptor<DescriptorShortSmoothingBuffer>(Desc(0x61, {0x9F}));
  EXPECT_EQ(d.sb_size, 2u);
  EXPECT_EQ(d.sb_leak_rate, 0x1Fu);
  EXPECT_TRUE(d.DVB_reserved.empty());
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 61 short_smoothing_buffer_descriptor\n"
            "sb_size: 2\n"
            "sb_leak_rate: 1f\n");

  d = MakeDescriptor<DescriptorShortSmoothingBuffer>(Desc(0x61, {0x41, 0x41, 0x01}));
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 61 short_smoothing_buffer_descriptor\n"
            "sb_size: 1\n"
            "sb_leak_rate: 1\n"
            "DVB_reserved:\n"
            "41 01 " + std::string(14 * 3, ' ') + " : A.\n");
  d.Reset();
  EXPECT_TRUE(d.DVB_reserved.empty());

  // An empty descriptor holds nothing (and reads nothing).
  d = MakeDescriptor<DescriptorShortSmoothingBuffer>({0x61, 0});
  EXPECT_TRUE(d.DVB_reserved.empty());
  EXPECT_EQ(d.sb_size, 0u);
}

TEST(MiscDescriptors, ByteHolders) {
  EXPECT_TRUE(MakeDescriptor<DescriptorTransportStream>({0x67, 0}).bytes.empty());
  EXPECT_EQ(MakeDescriptor<DescriptorTransportStream>(Desc(0x67, {'D', 'V', 'B'})).bytes,
            (std::vector<u8>{'D', 'V', 'B'}));
  EXPECT_EQ(MakeDescriptor<DescriptorDSNG>(Desc(0x68, {1, 2})).bytes, (std::vector<u8>{1, 2}));
  auto p = MakeDescriptor<DescriptorPartialTransport>(Desc(0x63, {1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(p.length, 8u);
  EXPECT_EQ(Printed(p), "descriptor_tag: 63 partial_transport_descriptor\n");
  auto s = MakeDescriptor<DescriptorServiceIdentifier>(Desc(0x71, {'x'}));
  EXPECT_EQ(Printed(s), "descriptor_tag: 71 service_identifier_descriptor\n");
  EXPECT_EQ(MakeDescriptor<DescriptorAncillaryData>(Desc(0x6B, {0x42})).ancillary_data_identifier, 0x42u);
  EXPECT_EQ(MakeDescriptor<DescriptorAdaptationField>(Desc(0x70, {0x03})).adaptation_field_data_identifier, 3u);
  EXPECT_EQ(MakeDescriptor<DescriptorAncillaryData>({0x6B, 0}).ancillary_data_identifier, 0u);
}

TEST(MiscDescriptors, PdcLabelSkipsTheReservedNibble) {
  auto d = MakeDescriptor<DescriptorPDC>(Desc(0x69, {0xF1, 0x23, 0x45}));
  EXPECT_EQ(d.programme_identification_label, 0x12345u);
  EXPECT_STREQ(d.GetProgrammeIdentificationLabelText(), "to be implemented");
}

TEST(MiscDescriptors, Ac3OptionalBytes) {
  auto d = MakeDescriptor<DescriptorAC3>(Desc(0x6A, {0xF0, 0x11, 0x22, 0x33, 0x44}));
  EXPECT_EQ(d.component_type_flag + d.bsid_flag + d.mainid_flag + d.asvc_flag, 4u);
  EXPECT_EQ(d.component_type, 0x11u);
  EXPECT_EQ(d.bsid, 0x22u);
  EXPECT_EQ(d.mainid, 0x33u);
  EXPECT_EQ(d.asvc, 0x44u);
  EXPECT_TRUE(d.additional_info.empty());

  d = MakeDescriptor<DescriptorAC3>(Desc(0x6A, {0x00, 0xAA, 0xBB}));
  EXPECT_EQ(d.additional_info, (std::vector<u8>{0xAA, 0xBB}));

  d = MakeDescriptor<DescriptorAC3>(Desc(0x6A, {0x50, 0x08, 0x01, 0xCC}));  // bsid, asvc
  EXPECT_EQ(d.component_type, 0u);
  EXPECT_EQ(d.bsid, 8u);
  EXPECT_EQ(d.asvc, 1u);
  EXPECT_EQ(d.additional_info, (std::vector<u8>{0xCC}));

  // Flags announcing more bytes than the descriptor carries.
  d = MakeDescriptor<DescriptorAC3>(Desc(0x6A, {0xF0, 0x11}));
  EXPECT_EQ(d.component_type, 0x11u);
  EXPECT_EQ(d.bsid, 0u);
  EXPECT_EQ(d.asvc, 0u);
  EXPECT_TRUE(d.additional_info.empty());
  EXPECT_EQ(MakeDescriptor<DescriptorAC3>({0x6A, 0}).component_type_flag, 0u);
}

TEST(MiscDescriptors, AnnouncementSupportEntries) {
  auto d = MakeDescriptor<DescriptorAnnouncementSupport>(
      Desc(0x6E, {0x00, 0x03, 0x10, 0x21, 0x00, 0x85, 0x04, 0x4A, 0x75, 0x30, 0x07}));
  EXPECT_EQ(d.announcement_support_indicator, 3u);
  ASSERT_EQ(d.announcements.size(), 2u);
  EXPECT_EQ(d.announcements[0].announcement_type, 1u);
  EXPECT_EQ(d.announcements[0].reference_type, 0u);
  EXPECT_EQ(d.announcements[0].original_network_id, 0u);
  const AnnouncementInfo& a = d.announcements[1];
  EXPECT_EQ(a.announcement_type, 2u);
  EXPECT_EQ(a.reference_type, 1u);
  EXPECT_EQ(a.original_network_id, 0x85u);
  EXPECT_EQ(a.transport_stream_id, 0x44Au);
  EXPECT_EQ(a.service_id, 0x7530u);
  EXPECT_EQ(a.component_tag, 7u);

  int consumed = 0;
  const u8 one[] = {0x74};  // reference_type 4: no service reference
  AnnouncementInfo e(one, 1, &consumed);
  EXPECT_EQ(consumed, 1);

  // An 8-byte entry cut short, and a descriptor without the indicator.
  ExpectRefused<DescriptorAnnouncementSupport>(Desc(0x6E, {0x00, 0x03, 0x13, 0x00, 0x85}), 2, "");
  ExpectRefused<DescriptorAnnouncementSupport>(Desc(0x6E, {0x00}), 2, "");
  EXPECT_TRUE(MakeDescriptor<DescriptorAnnouncementSupport>(Desc(0x6E, {0, 0})).announcements.empty());
}

}  // namespace
