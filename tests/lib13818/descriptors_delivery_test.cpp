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
            "frequency 12.34500\n"
            "orbital_position 19.2\n"
            "west_east_flag 1\n"
            "polarization 2\n"
            "modulation 1\n"
            "symbol_rate 27.5000\n"
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
            "frequency: 346.0000\n"
            "FEC_outer: c\n"
            "modulation: 1a\n"
            "symbol_rate: 0.0000\n"
            "FEC_inner: f\n");
}

TEST(DeliveryTruncated, ShortDescriptorsKeepWholeFieldsOnly) {
  auto s = MakeDescriptor<Satellite>(Desc(0x43, {0x01, 0x23, 0x45, 0x00, 0x01, 0x92}));
  EXPECT_DOUBLE_EQ(s.frequency, 12.345);
  EXPECT_DOUBLE_EQ(s.orbital_position, 19.2);
  EXPECT_EQ(s.west_east_flag, 0u);
  EXPECT_EQ(s.symbol_rate, 0.0);
  EXPECT_EQ(s.FEC_inner, 0u);
  EXPECT_EQ(s.frequency_10kHz, 1234500u);
  EXPECT_EQ(s.orbital_position_tenths, 192u);
  EXPECT_EQ(s.symbol_rate_100sym, 0u);
  auto empty = MakeDescriptor<Satellite>({0x43, 0});
  EXPECT_EQ(empty.frequency, 0.0);
  EXPECT_EQ(empty.frequency_10kHz, 0u);
  auto c = MakeDescriptor<Cable>(Desc(0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x00}));
  EXPECT_DOUBLE_EQ(c.frequency, 346.0);
  EXPECT_EQ(c.modulation, 3u);
  EXPECT_EQ(c.symbol_rate, 0.0);
  EXPECT_EQ(c.symbol_rate_100sym, 0u);
  EXPECT_EQ(c.frequency_100Hz, 3460000u);
  EXPECT_EQ(c.FEC_inner, 0u);
}

TEST(DeliveryWholeUnits, DigitsAsExactWholeNumbers) {
  // 10.701 GHz: the double sum is just below, the whole number is exact.
  auto s = MakeDescriptor<Satellite>(Desc(0x43, {0x01, 0x07, 0x01, 0x00, 0x01, 0x92, 0x81, 0x02, 0x75, 0x00, 0x05}));
  EXPECT_LT(s.frequency * 100000, 1070100.0);
  EXPECT_EQ(s.frequency_10kHz, 1070100u);
  EXPECT_EQ(s.orbital_position_tenths, 192u);
  EXPECT_EQ(s.symbol_rate_100sym, 275000u);
  EXPECT_EQ(s.FEC_inner, 5u);
  auto e = MakeDescriptor<Satellite>(Desc(0x43, {0x01, 0x17, 0x57, 0x25, 0x13, 0x05, 0x01, 0x04, 0x44, 0x99, 0x93}));
  EXPECT_EQ(e.frequency_10kHz, 1175725u);
  EXPECT_EQ(e.orbital_position_tenths, 1305u);
  EXPECT_EQ(e.symbol_rate_100sym, 444999u);
  // Nibbles above 9 count at face value, as in the doubles.
  auto f = MakeDescriptor<Satellite>(Desc(0x43, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xF0}));
  EXPECT_EQ(f.frequency_10kHz, 15u * 11111111u);
  EXPECT_EQ(f.orbital_position_tenths, 15u * 1111u);
  EXPECT_EQ(f.symbol_rate_100sym, 15u * 1111111u);
  EXPECT_DOUBLE_EQ(f.frequency * 100000, double(f.frequency_10kHz));

  auto c = MakeDescriptor<Cable>(Desc(0x44, {0x03, 0x12, 0x00, 0x05, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x00, 0x05}));
  EXPECT_EQ(c.frequency_100Hz, 3120005u);
  EXPECT_EQ(c.symbol_rate_100sym, 69000u);
}

TEST(DeliveryWholeUnits, EverySymbolRateAgreesWithItsDigits) {
  // Every rate 0.001 .. 99.999 Msymbol/s in 1 ksymbol/s steps, both classes.
  for (u32 k = 1; k < 100000; ++k) {
    const u32 units = k * 10;  // 100 symbol/s
    const u8 b9 = u8(((units / 1000000) % 10) << 4 | (units / 100000) % 10);
    const u8 b10 = u8(((units / 10000) % 10) << 4 | (units / 1000) % 10);
    const u8 b11 = u8(((units / 100) % 10) << 4 | (units / 10) % 10);
    const u8 b12 = u8((units % 10) << 4 | 0x03);
    auto s = MakeDescriptor<Satellite>(Desc(0x43, {0, 0, 0, 0, 0, 0, 0, b9, b10, b11, b12}));
    auto c = MakeDescriptor<Cable>(Desc(0x44, {0, 0, 0, 0, 0, 0, 0, b9, b10, b11, b12}));
    ASSERT_EQ(s.symbol_rate_100sym, units) << k;
    ASSERT_EQ(c.symbol_rate_100sym, units) << k;
    ASSERT_NEAR(s.symbol_rate * 10000, double(units), 1e-6) << k;
  }
}

}  // namespace

TEST(SatelliteDelivery, DumpsEveryDigitOfTheWire) {
  // 01 17 27 48: 11.72748 GHz, not six significant digits of a double.
  auto d = MakeDescriptor<Satellite>(Desc(0x43, {0x01, 0x17, 0x27, 0x48, 0x01, 0x30, 0x02, 0x27, 0x49, 0x99, 0x13}));
  std::ostringstream os;
  d.PrintFields(os);
  EXPECT_NE(os.str().find("frequency 11.72748\n"), std::string::npos) << os.str();
  EXPECT_NE(os.str().find("orbital_position 13.0\n"), std::string::npos);
  EXPECT_NE(os.str().find("symbol_rate 274.9991\n"), std::string::npos);
  auto c = MakeDescriptor<Cable>(Desc(0x44, {0x03, 0x46, 0x12, 0x34, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x87, 0x65}));
  std::ostringstream oc;
  c.PrintFields(oc);
  EXPECT_NE(oc.str().find("frequency: 346.1234\n"), std::string::npos) << oc.str();
  EXPECT_NE(oc.str().find("symbol_rate: 6.9876\n"), std::string::npos);
}
