#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(NetworkAndBouquetName, DecodedTextsBesideTheirRawBytes) {
  auto n = MakeDescriptor<DescriptorNetworkName>(Desc(0x40, {0x05, 'N', 'e', 't'}));
  EXPECT_EQ(n.network_name, "Net");
  EXPECT_EQ(n.network_name_raw, std::string("\x05Net"));
  EXPECT_TRUE(MakeDescriptor<DescriptorNetworkName>({0x40, 0}).network_name.empty());
  auto b = MakeDescriptor<DescriptorBouquetName>(Desc(0x47, {'B', 'q', 0, 'x'}));
  EXPECT_EQ(b.bouquet_name, "Bqx");  // a control byte carries no character
  EXPECT_EQ(b.bouquet_name_raw.size(), 4u);
  EXPECT_EQ(Printed(b), "descriptor_tag: 47 bouquet_name_descriptor\nbouquet_name: Bqx\n");
  b.Reset();
  EXPECT_TRUE(b.bouquet_name.empty());
  EXPECT_TRUE(b.bouquet_name_raw.empty());
  EXPECT_EQ(Printed(MakeDescriptor<DescriptorNetworkName>(Desc(0x40, {'A', 'B'}))),
            "descriptor_tag: 40 network_name_descriptor\nnetwork_name: AB\n");
}

TEST(ServiceList, EntriesOfThreeBytes) {
  ExpectRefused<DescriptorServiceList>(Desc(0x41, {1, 2, 3, 4, 5, 6, 7}), -1, "descriptor length mismatch");
  EXPECT_TRUE(MakeDescriptor<DescriptorServiceList>({0x41, 0}).services.empty());
  auto d = MakeDescriptor<DescriptorServiceList>(Desc(0x41, {0x12, 0x34, 0x01, 0x56, 0x78, 0x19}));
  ASSERT_EQ(d.services.size(), 2u);
  EXPECT_EQ(d.services[0].service_id, 0x1234u);
  EXPECT_EQ(d.services[0].service_type, 1u);
  EXPECT_EQ(d.services[1].service_id, 0x5678u);
  EXPECT_EQ(d.services[1].service_type, 0x19u);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 41 service_list_descriptor\n"
            "service_id 1234\nservice_type 1\nservice_id 5678\nservice_type 19\n");
}

TEST(Stuffing, BytesAndDump) {
  EXPECT_EQ(Printed(MakeDescriptor<DescriptorStuffing>({0x42, 0})), "descriptor_tag: 42 stuffing_descriptor\n");
  auto d = MakeDescriptor<DescriptorStuffing>(Desc(0x42, {0xFF, 'a'}));
  EXPECT_EQ(d.stuffing_bytes, (std::vector<u8>{0xFF, 'a'}));
  EXPECT_EQ(Printed(d), "descriptor_tag: 42 stuffing_descriptor\nstuffing_byte:\nff 61 " + std::string(42, ' ') +
                            " : .a\n");
  d.Reset();
  EXPECT_TRUE(d.stuffing_bytes.empty());
}

TEST(Service, NamesDecodedRawBytesKept) {
  auto d = MakeDescriptor<DescriptorService>(Desc(0x48, {0x01, 0x03, 'A', 'B', 'C', 0x04, 0x05, 'H', 'I', 'J'}));
  EXPECT_EQ(d.service_type, 1u);
  EXPECT_EQ(d.service_provider_name, "ABC");
  EXPECT_EQ(d.service_name, "HIJ");
  EXPECT_EQ(d.service_provider_name_raw, "ABC");
  EXPECT_EQ(d.service_name_raw, std::string("\x05HIJ"));
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 48 service_descriptor\n"
            "service_type 1\nprovider_name ABC\nservice_name HIJ\n");
  auto empty = MakeDescriptor<DescriptorService>(Desc(0x48, {0x19, 0, 0}));
  EXPECT_EQ(empty.service_type, 0x19u);
  EXPECT_TRUE(empty.service_provider_name.empty());
  EXPECT_TRUE(empty.service_name.empty());
}

TEST(Service, NamesPastTheDescriptorAreRefused) {
  // provider name longer than what is left
  ExpectRefused<DescriptorService>(Desc(0x48, {0x01, 0x04, 'A', 'B', 'C'}), 3, "service_descriptor");
  // service_name_length missing behind the provider name
  ExpectRefused<DescriptorService>(Desc(0x48, {0x01, 0x03, 'A', 'B', 'C'}), 3, "service_descriptor");
  // service name one byte too long
  ExpectRefused<DescriptorService>(Desc(0x48, {0x01, 0x00, 0x03, 'A', 'B'}), 3, "service_descriptor");
  // without the length bytes only the type is kept
  EXPECT_EQ(MakeDescriptor<DescriptorService>(Desc(0x48, {0x02})).service_type, 2u);
  EXPECT_EQ(MakeDescriptor<DescriptorService>({0x48, 0}).service_type, 0u);
}

TEST(Service, TypeNames) {
  EXPECT_STREQ(DescriptorService::ServiceTypeName(1), "digital television service");
  EXPECT_STREQ(DescriptorService::ServiceTypeName(6), "mosiac service");
  EXPECT_STREQ(DescriptorService::ServiceTypeName(11), "NTSC coded signal");
  EXPECT_STREQ(DescriptorService::ServiceTypeName(0), "reserved for future use");
  EXPECT_STREQ(DescriptorService::ServiceTypeName(0x80), "user defined");
  EXPECT_STREQ(DescriptorService::ServiceTypeName(0xFE), "user defined");
  for (int t : {0x0C, 0x7F, 0xFF, -1}) EXPECT_STREQ(DescriptorService::ServiceTypeName(t), "reserved for future use");
  EXPECT_STREQ(DescriptorService::ServiceTypeName(0x100), "<unknown>");
}

TEST(CountryAvailability, FlagAndCodes) {
  auto d = MakeDescriptor<DescriptorCountryAvailability>(Desc(0x49, {0x80, 'D', 'E', 'U', 'A', 'U', 'T'}));
  EXPECT_EQ(d.country_availability_flag, 1u);
  EXPECT_EQ(d.country_codes, (std::vector<std::string>{"DEU", "AUT"}));
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 49 country_availability_descriptor\n"
            "country_availability_flag: 1\ncountry_code: DEU\ncountry_code: AUT\n");
  auto one = MakeDescriptor<DescriptorCountryAvailability>(Desc(0x49, {0x7F}));
  EXPECT_EQ(one.country_availability_flag, 0u);
  EXPECT_TRUE(one.country_codes.empty());
  ExpectRefused<DescriptorCountryAvailability>(Desc(0x49, {0x80, 'D', 'E', 'U', 'A', 'U'}), 3,
                                               "country_availability_descriptor");
  ExpectRefused<DescriptorCountryAvailability>({0x49, 0}, 3, "country_availability_descriptor");
}

}  // namespace
