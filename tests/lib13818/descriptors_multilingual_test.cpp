#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

using ServiceName = DescriptorMultilingualServiceName::MultilingualServiceNameInfo;

TEST(MultilingualNames, EmptyDescriptorsHaveNoEntries) {
  EXPECT_TRUE(MakeDescriptor<DescriptorMultilingualNetworkName>({0x5B, 0}).names.empty());
  EXPECT_TRUE(MakeDescriptor<DescriptorMultilingualBouquetName>({0x5C, 0}).names.empty());
  EXPECT_TRUE(MakeDescriptor<DescriptorMultilingualServiceName>({0x5D, 0}).names.empty());
  // The component tag byte is missing: the entry loop would start past the end.
  ExpectRefused<DescriptorMultilingualComponentName>({0x5E, 0}, 2, "");
}

TEST(MultilingualNames, NamesDecodedBesideTheirRawBytes) {
  auto d = MakeDescriptor<DescriptorMultilingualNetworkName>(
      Desc(0x5B, {'d', 'e', 'u', 3, 0x05, 'A', 'B', 'e', 'n', 'g', 0}));
  ASSERT_EQ(d.names.size(), 2u);
  EXPECT_STREQ(d.names[0].ISO_639_language_code, "deu");
  EXPECT_EQ(d.names[0].text_len, 3u);
  EXPECT_EQ(d.names[0].name, "AB");
  EXPECT_EQ(d.names[0].name_raw, std::string("\x05" "AB"));  // table byte kept
  EXPECT_STREQ(d.names[1].ISO_639_language_code, "eng");
  EXPECT_EQ(d.names[1].name, "");
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 5b multilingual_network_name_descriptor\n"
            "MultilingualNameInfo::ISO_639_language_code: deu\n"
            "MultilingualNameInfo::text_len: 3\n"
            "MultilingualNameInfo::name: AB\n"
            "MultilingualNameInfo::ISO_639_language_code: eng\n"
            "MultilingualNameInfo::text_len: 0\n"
            "MultilingualNameInfo::name: \n");
}

TEST(MultilingualNames, NameMustFitTheDescriptor) {
  // Ends exactly at the last byte: fine.
  auto ok = MakeDescriptor<DescriptorMultilingualBouquetName>(Desc(0x5C, {'f', 'r', 'a', 2, 'x', 'y'}));
  ASSERT_EQ(ok.names.size(), 1u);
  EXPECT_EQ(ok.names[0].name, "xy");
  // One byte more claimed than carried.
  ExpectRefused<DescriptorMultilingualBouquetName>(Desc(0x5C, {'f', 'r', 'a', 3, 'x', 'y'}), 3,
                                                   "multilingual_name_info_descriptor:2");
  // Fewer than the four header bytes left for a second entry.
  ExpectRefused<DescriptorMultilingualNetworkName>(Desc(0x5B, {'f', 'r', 'a', 0, 'd', 'e', 'u'}), 3,
                                                   "multilingual_name_info_descriptor");
}

TEST(MultilingualNames, ServiceNameEntries) {
  auto d = MakeDescriptor<DescriptorMultilingualServiceName>(
      Desc(0x5D, {'d', 'e', 'u', 2, 'P', 'r', 3, 'S', 'v', 'c'}));
  ASSERT_EQ(d.names.size(), 1u);
  const ServiceName& n = d.names[0];
  EXPECT_STREQ(n.ISO_639_language_code, "deu");
  EXPECT_EQ(n.provider_len, 2u);
  EXPECT_EQ(n.providername, "Pr");
  EXPECT_EQ(n.service_len, 3u);
  EXPECT_EQ(n.servicename, "Svc");
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 5d multilingual_service_name_descriptor\n"
            "DescriptorMultilingualServiceName::MultilingualServiceNameInfo::ISO_639_language_code: deu\n"
            "DescriptorMultilingualServiceName::MultilingualServiceNameInfo::provider_len: 2\n"
            "DescriptorMultilingualServiceName::MultilingualServiceNameInfo::providername: Pr\n"
            "DescriptorMultilingualServiceName::MultilingualServiceNameInfo::service_len: 3\n"
            "DescriptorMultilingualServiceName::MultilingualServiceNameInfo::servicename: Svc\n");
}

TEST(MultilingualNames, ServiceNameEntriesThatDoNotFitAreRefused) {
  using D = DescriptorMultilingualServiceName;
  ExpectRefused<D>(Desc(0x5D, {'d', 'e', 'u', 0}), 3, "multilingual_service_name_info_descriptor");
  // Provider name runs past the end (its service length byte is missing too).
  ExpectRefused<D>(Desc(0x5D, {'d', 'e', 'u', 2, 'P', 'r'}), 3,
                   "multilingual_service_name_info_descriptor:2");
  // Service name one byte short.
  ExpectRefused<D>(Desc(0x5D, {'d', 'e', 'u', 1, 'P', 3, 'S', 'v'}), 3,
                   "multilingual_service_name_info_descriptor:3");
}

TEST(MultilingualNames, ComponentNamePrintsTagFirst) {
  auto d = MakeDescriptor<DescriptorMultilingualComponentName>(
      Desc(0x5E, {0x2A, 'e', 'n', 'g', 1, 'Z'}));
  EXPECT_EQ(d.component_tag, 0x2Au);
  ASSERT_EQ(d.names.size(), 1u);
  EXPECT_EQ(d.names[0].name, "Z");
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 5e multilingual_component_name_descriptor\n"
            "component_tag: 2a\n"
            "MultilingualNameInfo::ISO_639_language_code: eng\n"
            "MultilingualNameInfo::text_len: 1\n"
            "MultilingualNameInfo::name: Z\n");
  // Only the component tag: no names.
  EXPECT_TRUE(MakeDescriptor<DescriptorMultilingualComponentName>({0x5E, 1, 0x07}).names.empty());

  d.Reset();
  EXPECT_TRUE(d.names.empty());
  EXPECT_EQ(d.component_tag, 0x2Au);
}

}  // namespace
