#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

using Satellite = DescriptorSatelliteDeliverySystem;
using Cable = DescriptorCableDeliverySystem;

TEST(SatelliteDelivery, DigitsFlagsAndPrint) {
  auto d = MakeDescriptor<Satellite>(Desc(0x43, {0x01, 0x23, 0x45, 0x00, 0x01, 0x92, 0xC1, 0x02, 0x75, 0x00, 0x03}));
  EXPECT_DOUBLE_EQ(d.frequency, 12.345);
  EXPECT_DOUBLE_EQ(d.orbital_position, 19.2);
  EXPECT_EQ(d.west_east_flag, 1u);
  EXPECT_EQ(d.polarization, 2u);
  EXPECT_EQ(d.modulation, 1u);
  EXPECT_DOUBLE_EQ(d.symbol_rate, 27.5);
  EXPECT_EQ(d.FEC_inner, 3u);
  EXPECT_STREQ(d.GetPolarizationName(), "circular - left");
  EXPECT_STREQ(d.GetModulationName(), "QPSK");
  EXPECT_STREQ(d.GetFECInnerName(), "3/4");
  // Integers in decimal although Print leaves the stream in hex.
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 43 satellite_delivery_system_descriptor\n"
            "frequency 12.345\n"
            "orbital_position 19.2\n"
            "west_east_flag 1\n"
            "polarization 2\n"
            "modulation 1\n"
            "symbol_rate 27.5\n"
            "FEC_inner 3\n");
}

TEST(SatelliteDelivery, EveryDigitCountsAndSumsAreDoubles) {
  auto d = MakeDescriptor<Satellite>(Desc(0x43, {0x01, 0x23, 0x45, 0x60, 0, 0, 0x80, 0, 0, 0, 0x1F}));
  EXPECT_DOUBLE_EQ(d.frequency, 12.3456);
  EXPECT_EQ(d.west_east_flag, 1u);
  EXPECT_EQ(d.polarization, 0u);
  EXPECT_EQ(d.modulation, 0u);
  EXPECT_STREQ(d.GetModulationName(), "not defined");
  EXPECT_DOUBLE_EQ(d.symbol_rate, 0.0001);
  EXPECT_STREQ(d.GetFECInnerName(), "no conv. coding");
  auto e = MakeDescriptor<Satellite>(Desc(0x43, {0x01, 0x17, 0x57, 0x25, 0, 0, 0x61, 0, 0, 0, 0}));
  EXPECT_EQ(e.frequency, 11.757249999999999);
  EXPECT_NE(e.frequency, 11.75725);
  EXPECT_EQ(e.polarization, 3u);
  EXPECT_STREQ(e.GetPolarizationName(), "circular - right");
  EXPECT_EQ(e.west_east_flag, 0u);
  EXPECT_STREQ(e.GetModulationName(), "QPSK");
}

TEST(SatelliteDelivery, NameTables) {
  Satellite d;
  const char* const polarization[] = {"linear - horizontal", "linear - vertical", "circular - left",
                                      "circular - right", "<unknown>"};
  for (u32 p = 0; p < 5; ++p) {
    d.polarization = p;
    EXPECT_STREQ(d.GetPolarizationName(), polarization[p]);
  }
  const char* const fec[] = {"not defined", "1/2", "2/3", "3/4", "5/6", "7/8"};
  for (int f = 0; f < 6; ++f) EXPECT_STREQ(Satellite::GetFECInnerName(f), fec[f]);
  for (int f = 6; f < 15; ++f) EXPECT_STREQ(Satellite::GetFECInnerName(f), "reserved");
  EXPECT_STREQ(Satellite::GetFECInnerName(15), "no conv. coding");
  EXPECT_STREQ(Satellite::GetFECInnerName(16), "reserved");
  EXPECT_STREQ(Satellite::GetFECInnerName(-1), "reserved");
  d.FEC_inner = 7;
  EXPECT_STREQ(d.GetFECInnerName(), "reserved");
  d.modulation = 2;
  EXPECT_STREQ(d.GetModulationName(), "reserved");
}

TEST(CableDelivery, DigitsAndHexPrint) {
  auto d = MakeDescriptor<Cable>(Desc(0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x00, 0x05}));
  EXPECT_DOUBLE_EQ(d.frequency, 346.0);
  EXPECT_EQ(d.FEC_outer, 2u);
  EXPECT_EQ(d.modulation, 3u);
  EXPECT_DOUBLE_EQ(d.symbol_rate, 6.9);
  EXPECT_EQ(d.FEC_inner, 5u);
  EXPECT_DOUBLE_EQ(MakeDescriptor<Cable>(Desc(0x44, {0x03, 0x12, 0x00, 0x05, 0, 0, 0, 0, 0, 0, 0})).frequency,
                   312.0005);
  auto e = MakeDescriptor<Cable>(Desc(0x44, {0x03, 0x46, 0x00, 0x00, 0, 0x0C, 0x1A, 0, 0, 0, 0x0F}));
  EXPECT_EQ(e.modulation, 0x1Au);
  EXPECT_EQ(Printed(e),
            "descriptor_tag: 44 cable_delivery_system_descriptor\n"
            "frequency: 346\n"
            "FEC_outer: c\n"
            "modulation: 1a\n"
            "symbol_rate: 0\n"
            "FEC_inner: f\n");
}

TEST(DeliveryTruncated, ShortDescriptorsKeepWholeFieldsOnly) {
  auto s = MakeDescriptor<Satellite>(Desc(0x43, {0x01, 0x23, 0x45, 0x00, 0x01, 0x92}));
  EXPECT_DOUBLE_EQ(s.frequency, 12.345);
  EXPECT_DOUBLE_EQ(s.orbital_position, 19.2);
  EXPECT_EQ(s.west_east_flag, 0u);
  EXPECT_EQ(s.symbol_rate, 0.0);
  EXPECT_EQ(s.FEC_inner, 0u);
  auto empty = MakeDescriptor<Satellite>({0x43, 0});
  EXPECT_EQ(empty.frequency, 0.0);
  auto c = MakeDescriptor<Cable>(Desc(0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x00}));
  EXPECT_DOUBLE_EQ(c.frequency, 346.0);
  EXPECT_EQ(c.modulation, 3u);
  EXPECT_EQ(c.symbol_rate, 0.0);
  EXPECT_EQ(c.FEC_inner, 0u);
}

}  // namespace
