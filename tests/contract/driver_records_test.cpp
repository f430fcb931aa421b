// Byte images of the driver contract's records: what a plug-in built by
// another compiler reads must be exactly these bytes.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "contract/driver_records.h"

extern "C" size_t DriverRecordSizeFromC(int which);

namespace {

template <typename T>
std::vector<std::uint8_t> Bytes(const T& record) {
  std::vector<std::uint8_t> out(sizeof(T));
  std::memcpy(out.data(), &record, sizeof(T));
  return out;
}

TEST(DriverRecords, CAndCppAgreeOnSizes) {
  EXPECT_EQ(DriverRecordSizeFromC(0), sizeof(SectionFilterSpec));
  EXPECT_EQ(DriverRecordSizeFromC(1), sizeof(SectionResult));
  EXPECT_EQ(DriverRecordSizeFromC(2), sizeof(SATDELIVERYDESC));
  EXPECT_EQ(DriverRecordSizeFromC(3), sizeof(CABLEDELIVERYDESC));
  EXPECT_EQ(DriverRecordSizeFromC(4), sizeof(TERRDELIVERYDESC));
}

TEST(DriverRecords, CodesAreTheContractsOwn) {
  EXPECT_EQ(DELIVERY_UNKNOWN, 0);
  EXPECT_EQ(DELIVERY_SATELLITE, 1);
  EXPECT_EQ(DELIVERY_CABLE, 2);
  EXPECT_EQ(DELIVERY_TERRESTRIAL, 3);
  EXPECT_EQ(SFM_SINGLE, 0);
  EXPECT_EQ(SFM_BY_EXTENSION, 3);
  EXPECT_EQ(SFM_BY_EXTENSION_ONID, 4);
  EXPECT_EQ(SFM_EIT, 5);
}

TEST(DriverRecords, SectionFilterSpecImage) {
  std::array<SectionFilterSpec, 2> specs{};
  specs[1].pid = 0x00120012;  // only the low 16 bits matter to the plug-in, all 32 are sent
  specs[1].table_id = 0x4E;
  specs[1].mode = SFM_EIT;
  specs[1].match_extension = 1;
  specs[1].table_id_extension = 0xBEEF;
  const std::vector<std::uint8_t> b = Bytes(specs);
  ASSERT_EQ(b.size(), 200u);  // contiguous, stride 100
  std::vector<std::uint8_t> want(200, 0);
  want[100] = 0x12; want[102] = 0x12;
  want[104] = 0x4E;
  want[108] = 5;
  want[128] = 1;
  want[132] = 0xEF; want[133] = 0xBE;
  EXPECT_EQ(b, want);
}

TEST(DriverRecords, SatelliteImage) {
  SATDELIVERYDESC d{};
  d.frequency = 1232200;
  d.orbital_position = 192;
  d.west_east_flag = 1;
  d.polarization = 3;
  d.modulation = 1;
  d.symbol_rate = 275000;
  d.fec_inner = 15;
  const std::vector<std::uint8_t> want = {0x48, 0xCD, 0x12, 0x00, 0xC0, 0x00, 0, 0, 1, 0, 0, 0,
                                          3,    1,    0,    0,    0x38, 0x32, 0x04, 0x00, 15, 0, 0, 0};
  EXPECT_EQ(Bytes(d), want);
}

TEST(DriverRecords, CableImage) {
  CABLEDELIVERYDESC d{};
  d.frequency = 3460000;
  d.fec_outer = 2;
  d.modulation = 3;
  d.symbol_rate = 69000;
  d.fec_inner = 5;
  const std::vector<std::uint8_t> want = {0xA0, 0xCB, 0x34, 0x00, 2, 3, 0, 0, 0x88, 0x0D, 0x01, 0x00, 5, 0, 0, 0};
  EXPECT_EQ(Bytes(d), want);
}

TEST(DriverRecords, TerrestrialImage) {
  TERRDELIVERYDESC d{};
  d.centre_frequency = 47400000;
  d.bandwidth = 0;
  d.constellation = 1;
  d.hierarchy = 2;
  d.code_rate_hp = 3;
  d.code_rate_lp = 4;
  d.guard_interval = 5;
  d.transmission_mode = 6;
  d.other_frequency_flag = 7;
  const std::vector<std::uint8_t> want = {0x40, 0x44, 0xD3, 0x02, 0, 1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(Bytes(d), want);
}

TEST(DriverRecords, SectionResultHoldsAPointer) {
  std::uint8_t buffer[4] = {0x00, 0xB0, 0x0D, 0x00};
  std::uint8_t* list[1] = {buffer};
  SectionResult r{};
  EXPECT_EQ(r.count, 0u);
  EXPECT_EQ(r.sections, nullptr);
  r.count = 1;
  r.sections = list;
  std::uint32_t count;
  std::memcpy(&count, &r, sizeof count);
  EXPECT_EQ(count, 1u);
  std::uint8_t** p;
  std::memcpy(&p, reinterpret_cast<const std::uint8_t*>(&r) + sizeof(void*), sizeof p);
  EXPECT_EQ(p[0][1], 0xB0);
}

}  // namespace
