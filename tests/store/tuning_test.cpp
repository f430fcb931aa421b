#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "lib13818/nit_bat.h"
#include "orb_store/si_store.h"
#include "orb_store/tuning.h"
#include "section_builder.h"

using namespace lib13818;
using orb::app::CableDescToTuning;
using orb::app::SatelliteDescToTuning;
using orb::app::TerrestrialDescToTuning;
using testing_support::Bytes;
using testing_support::SectionBuilder;

namespace {

// Builds the descriptor from its bytes in a block of exactly their size.
template <class D>
D Make(u8 tag, const Bytes& payload) {
  Bytes b{tag, static_cast<u8>(payload.size())};
  b.insert(b.end(), payload.begin(), payload.end());
  std::unique_ptr<u8[]> exact(new u8[b.size()]);
  std::memcpy(exact.get(), b.data(), b.size());
  return D(exact.get());
}

// `value` as `digits` BCD digits, high nibble first, into `out` from nibble 0.
void PutBcd(u8* out, u32 value, int digits) {
  for (int i = digits - 1; i >= 0; --i, value /= 10) {
    u8& b = out[i / 2];
    b = (i % 2 == 0) ? u8((b & 0x0F) | (value % 10) << 4) : u8((b & 0xF0) | value % 10);
  }
}

// Satellite descriptor: frequency in 10 kHz, orbit in 0.1 degrees, symbol
// rate in 100 symbol/s.
Bytes SatPayload(u32 frequency, u32 orbit, u8 flags, u32 symbolRate, u8 fec) {
  Bytes p(11, 0);
  PutBcd(&p[0], frequency, 8);
  PutBcd(&p[4], orbit, 4);
  p[6] = flags;
  PutBcd(&p[7], symbolRate, 7);
  p[10] = u8((p[10] & 0xF0) | fec);
  return p;
}

// Cable descriptor: frequency in 100 Hz, symbol rate in 100 symbol/s.
Bytes CablePayload(u32 frequency, u8 fecOuter, u8 modulation, u32 symbolRate, u8 fec) {
  Bytes p(11, 0);
  PutBcd(&p[0], frequency, 8);
  p[4] = 0xFF;
  p[5] = u8(0xF0 | fecOuter);
  p[6] = modulation;
  PutBcd(&p[7], symbolRate, 7);
  p[10] = u8((p[10] & 0xF0) | fec);
  return p;
}

template <class R>
R Dirty() {
  R r;
  std::memset(&r, 0xCD, sizeof r);
  return r;
}

template <class R>
std::vector<u8> BytesOf(const R& r) {
  const u8* p = reinterpret_cast<const u8*>(&r);
  return std::vector<u8>(p, p + sizeof r);
}

}  // namespace

TEST(SatelliteTuning, FieldsAndUnusedBytes) {
  auto d = Make<DescriptorSatelliteDeliverySystem>(0x43, SatPayload(1250000, 192, 0x80 | 0x20 | 0x01, 275000, 3));
  SATDELIVERYDESC r = Dirty<SATDELIVERYDESC>();
  SatelliteDescToTuning(d, r);
  EXPECT_EQ(r.frequency, 1250000u);
  EXPECT_EQ(r.orbital_position, 19u);
  EXPECT_EQ(r.west_east_flag, 1u);
  EXPECT_EQ(r.polarization, 1u);
  EXPECT_EQ(r.modulation, 1u);
  EXPECT_EQ(r.symbol_rate, 275000u);
  EXPECT_EQ(r.fec_inner, 3u);
  // Bytes 6-7, 14-15 and 21-23 are 0: the record is exactly these fields.
  SATDELIVERYDESC expected;
  std::memset(&expected, 0, sizeof expected);
  expected.frequency = 1250000;
  expected.orbital_position = 19;
  expected.west_east_flag = 1;
  expected.polarization = 1;
  expected.modulation = 1;
  expected.symbol_rate = 275000;
  expected.fec_inner = 3;
  EXPECT_EQ(BytesOf(r), BytesOf(expected));

  // Orbital positions truncate to whole degrees; 180.0 and the largest.
  for (u32 orbit : {0u, 9u, 10u, 1305u, 1800u, 3599u}) {
    SatelliteDescToTuning(Make<DescriptorSatelliteDeliverySystem>(0x43, SatPayload(0, orbit, 0, 0, 0)), r);
    EXPECT_EQ(r.orbital_position, orbit / 10) << orbit;
  }
  // A default descriptor gives an all-zero record.
  r = Dirty<SATDELIVERYDESC>();
  SatelliteDescToTuning(DescriptorSatelliteDeliverySystem(), r);
  EXPECT_EQ(BytesOf(r), std::vector<u8>(sizeof r, 0));
}

TEST(SatelliteTuning, FrequenciesAreExact) {
  // 10.701 GHz is 10.700999... as a sum of doubles; the record holds 1070100.
  SATDELIVERYDESC r;
  SatelliteDescToTuning(Make<DescriptorSatelliteDeliverySystem>(0x43, SatPayload(1070100, 192, 0, 220000, 5)), r);
  EXPECT_EQ(r.frequency, 1070100u);
  SatelliteDescToTuning(Make<DescriptorSatelliteDeliverySystem>(0x43, SatPayload(1175725, 192, 0, 220000, 5)), r);
  EXPECT_EQ(r.frequency, 1175725u);
  // Every 10 kHz step from 10.7 to 12.75 GHz, and C band every 1 MHz.
  for (u32 f = 1070000; f <= 1275000; ++f) {
    SatelliteDescToTuning(Make<DescriptorSatelliteDeliverySystem>(0x43, SatPayload(f, 0, 0, 0, 0)), r);
    ASSERT_EQ(r.frequency, f);
  }
  for (u32 f = 340000; f <= 420000; f += 100) {
    SatelliteDescToTuning(Make<DescriptorSatelliteDeliverySystem>(0x43, SatPayload(f, 0, 0, 0, 0)), r);
    ASSERT_EQ(r.frequency, f);
  }
}

TEST(DeliveryTuning, EverySymbolRateFrom1To45MsymbolsRoundTrips) {
  SATDELIVERYDESC s;
  CABLEDELIVERYDESC c;
  for (u32 ksym = 1000; ksym <= 45000; ++ksym) {
    const u32 units = ksym * 10;  // 100 symbol/s
    SatelliteDescToTuning(Make<DescriptorSatelliteDeliverySystem>(0x43, SatPayload(1174300, 0, 0, units, 3)), s);
    ASSERT_EQ(s.symbol_rate, units) << ksym;
    CableDescToTuning(Make<DescriptorCableDeliverySystem>(0x44, CablePayload(3460000, 2, 3, units, 5)), c);
    ASSERT_EQ(c.symbol_rate, units) << ksym;
  }
  // The last digit (100 symbol/s) counts as well.
  SatelliteDescToTuning(Make<DescriptorSatelliteDeliverySystem>(0x43, SatPayload(0, 0, 0, 274999, 0)), s);
  EXPECT_EQ(s.symbol_rate, 274999u);
}

TEST(CableTuning, FieldsUnusedBytesAndExactFrequencies) {
  auto d = Make<DescriptorCableDeliverySystem>(0x44, CablePayload(3460000, 2, 3, 69000, 5));
  CABLEDELIVERYDESC r = Dirty<CABLEDELIVERYDESC>();
  CableDescToTuning(d, r);
  CABLEDELIVERYDESC expected;
  std::memset(&expected, 0, sizeof expected);
  expected.frequency = 3460000;
  expected.fec_outer = 2;
  expected.modulation = 3;
  expected.symbol_rate = 69000;
  expected.fec_inner = 5;
  EXPECT_EQ(BytesOf(r), BytesOf(expected)) << "bytes 6-7 and 13-15 are 0";

  // 47 to 862 MHz every 100 Hz would be slow; every 700 Hz and a dense window.
  for (u32 f = 470000; f <= 8620000; f += 7) {
    CableDescToTuning(Make<DescriptorCableDeliverySystem>(0x44, CablePayload(f, 0, 5, 69000, 0)), r);
    ASSERT_EQ(r.frequency, f);
  }
  for (u32 f = 3120000; f <= 3130000; ++f) {
    CableDescToTuning(Make<DescriptorCableDeliverySystem>(0x44, CablePayload(f, 0, 5, 69000, 0)), r);
    ASSERT_EQ(r.frequency, f);
  }
  r = Dirty<CABLEDELIVERYDESC>();
  CableDescToTuning(DescriptorCableDeliverySystem(), r);
  EXPECT_EQ(BytesOf(r), std::vector<u8>(sizeof r, 0));
}

TEST(TerrestrialTuning, FieldsInDescriptorOrder) {
  // 474 MHz; 7 MHz; 64-QAM, hierarchy 1, HP 2/3; LP 3/4, guard 1/8, 8k, other frequencies.
  Bytes p{0x00, 0x00, 0x00, 0x00, u8(1 << 5 | 0x1F), u8(2 << 6 | 1 << 3 | 1), u8(2 << 5 | 2 << 3 | 1 << 1 | 1),
          0xFF, 0xFF, 0xFF, 0xFF};
  const u32 centre = 47400000;
  for (int i = 0; i < 4; ++i) p[i] = u8(centre >> (24 - 8 * i));
  auto d = Make<DescriptorTerrestrialDeliverySystem>(0x5A, p);
  TERRDELIVERYDESC r = Dirty<TERRDELIVERYDESC>();
  TerrestrialDescToTuning(d, r);
  TERRDELIVERYDESC expected;
  std::memset(&expected, 0, sizeof expected);
  expected.centre_frequency = centre;
  expected.bandwidth = 1;
  expected.constellation = 2;
  expected.hierarchy = 1;
  expected.code_rate_hp = 1;
  expected.code_rate_lp = 2;
  expected.guard_interval = 2;
  expected.transmission_mode = 1;
  expected.other_frequency_flag = 1;
  EXPECT_EQ(BytesOf(r), BytesOf(expected));

  r = Dirty<TERRDELIVERYDESC>();
  TerrestrialDescToTuning(DescriptorTerrestrialDeliverySystem(), r);
  EXPECT_EQ(BytesOf(r), std::vector<u8>(sizeof r, 0));
}

TEST(DeliveryTuning, FromANitEntryToTheStoreLabel) {
  Bytes b = SectionBuilder::Long(0x40, 0x0001, 0, 0, 0, 0xF)
                .BeginLoop()
                .EndLoop()
                .BeginLoop()
                .U16(0x044D).U16(0x0001)
                .BeginLoop().Desc(0x43, SatPayload(1070100, 192, 0x81, 220000, 5)).EndLoop()
                .U16(0x0401).U16(0x0001)
                .BeginLoop().Desc(0x44, CablePayload(3460000, 2, 3, 69000, 5)).EndLoop()
                .EndLoop()
                .Build();
  NetworkInformationSection nit;
  nit.Parse(b.data(), b.size());
  ASSERT_EQ(nit.transportStreams.size(), 2u);
  const auto& satList = nit.transportStreams[0].descriptors.satelliteDeliverySystemDescriptors;
  const auto& cableList = nit.transportStreams[1].descriptors.cableDeliverySystemDescriptors;
  ASSERT_EQ(satList.size(), 1u);
  ASSERT_EQ(cableList.size(), 1u);

  SATDELIVERYDESC sat;
  SatelliteDescToTuning(satList[0], sat);
  Transponder t;
  t.transport_stream_id = 0x044D;
  t.SetSatelliteTuning("", &sat);
  EXPECT_EQ(t.GetLabel(), "044D - 10701H 7/8 22000");

  CABLEDELIVERYDESC cable;
  CableDescToTuning(cableList[0], cable);
  t.transport_stream_id = 0x0401;
  t.SetCableTuning(&cable);
  EXPECT_EQ(t.GetLabel(), "0401 - 346000");
}
