#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(DataBroadcast, FieldsFollowTheSelector) {
  auto d = MakeDescriptor<DescriptorDataBroadcast>(
      Desc(0x64, {0x00, 0x05, 0x11, 2, 0xAA, 0xBB, 'e', 'n', 'g', 3, 'a', 'b', 'c'}));
  EXPECT_EQ(d.data_broadcast_id, 5u);
  EXPECT_EQ(d.component_tag, 0x11u);
  EXPECT_EQ(d.selector_length, 2u);
  EXPECT_EQ(d.selector_byte, (std::vector<u8>{0xAA, 0xBB}));
  EXPECT_STREQ(d.ISO_639_language_code, "eng");
  EXPECT_EQ(d.text_length, 3u);
  EXPECT_EQ(d.text, "abc");
  EXPECT_EQ(Printed(d), "descriptor_tag: 64 data_broadcast_descriptor\n");
}

TEST(DataBroadcast, NoSelector) {
  auto d = MakeDescriptor<DescriptorDataBroadcast>(Desc(0x64, {0x01, 0x23, 0, 0, 'd', 'e', 'u', 0}));
  EXPECT_EQ(d.data_broadcast_id, 0x123u);
  EXPECT_TRUE(d.selector_byte.empty());
  EXPECT_STREQ(d.ISO_639_language_code, "deu");
  EXPECT_EQ(d.text_length, 0u);
  EXPECT_EQ(d.text, "");
}

TEST(DataBroadcast, InnerLengthsPastTheEndAreRefused) {
  // Too short for its fixed head, selector past the end, text past the end.
  ExpectRefused<DescriptorDataBroadcast>(Desc(0x64, {0x00, 0x05, 0x11}), 3, "data_broadcast_descriptor");
  ExpectRefused<DescriptorDataBroadcast>(Desc(0x64, {0x00, 0x05, 0x11, 200, 'e', 'n', 'g', 0}), 3,
                                         "data_broadcast_descriptor");
  ExpectRefused<DescriptorDataBroadcast>(Desc(0x64, {0x00, 0x05, 0x11, 0, 'e', 'n', 'g', 4, 'a', 'b', 'c'}),
                                         3, "data_broadcast_descriptor");
}

TEST(DataBroadcastId, SelectorBytes) {
  auto d = MakeDescriptor<DescriptorDataBroadcastId>(Desc(0x66, {0x00, 0xF0}));
  EXPECT_EQ(d.data_broadcast_id, 0xF0u);
  EXPECT_TRUE(d.id_selector_byte.empty());
  d = MakeDescriptor<DescriptorDataBroadcastId>(Desc(0x66, {0x01, 0x06, 1, 2, 3}));
  EXPECT_EQ(d.data_broadcast_id, 0x106u);
  EXPECT_EQ(d.id_selector_byte, (std::vector<u8>{1, 2, 3}));
  // Shorter than the id: nothing read past the descriptor.
  d = MakeDescriptor<DescriptorDataBroadcastId>(Desc(0x66, {0x01}));
  EXPECT_EQ(d.data_broadcast_id, 0u);
  EXPECT_TRUE(d.id_selector_byte.empty());
}

TEST(ApplicationSignalling, EntriesOfThreeBytes) {
  EXPECT_TRUE(MakeDescriptor<DescriptorApplicationSignalling>({0x6F, 0}).applications.empty());
  ExpectRefused<DescriptorApplicationSignalling>(Desc(0x6F, {0, 1, 2, 3}), -1, "");

  auto d = MakeDescriptor<DescriptorApplicationSignalling>(
      Desc(0x6F, {0x80, 0x01, 0xE5, 0x00, 0x01, 0x03}));
  ASSERT_EQ(d.applications.size(), 2u);
  EXPECT_EQ(d.applications[0].application_type, 0x8001u);  // top bit kept
  EXPECT_EQ(d.applications[0].AIT_version_number, 5u);
  EXPECT_STREQ(d.applications[0].GetApplicationTypeName(), "subject to registration with DVB");
  EXPECT_EQ(d.applications[1].application_type, 1u);
  EXPECT_STREQ(d.applications[1].GetApplicationTypeName(), "DVB-J application");

  ApplicationSignallingInfo a;
  EXPECT_STREQ(a.GetApplicationTypeName(), "reserved_future_use");
  a.application_type = 2;
  EXPECT_STREQ(a.GetApplicationTypeName(), "DVB-HTML application");
}

}  // namespace
