#include "vsim/tuning.h"

#include <gtest/gtest.h>

namespace {

using vsim::u8;

// What the driver sends for a slot in DiSEqC 1.0 mode: E0 10 38 with the
// option bit for slots 1 and 3, the position bit for slots 2 and 3, the
// polarisation bit for horizontal and the band bit for high band.
u8 CommittedByte(int slot, bool vertical, bool high) {
  return static_cast<u8>(0xF0 | ((slot & 1) ? 0x08 : 0) | (slot >= 2 ? 0x04 : 0) | (vertical ? 0 : 0x02) |
                         (high ? 0x01 : 0));
}

vsim::SatelliteTune Universal(vsim::u32 freq, bool vertical, vsim::u32 sr) {
  vsim::SatelliteTune t;
  t.frequency_khz = freq;
  t.symbol_rate = sr;
  t.tone_22khz = freq >= 11700000;
  t.lof_khz = t.tone_22khz ? 10600000 : 9750000;
  t.lnb_voltage = vertical ? 13 : 18;
  return t;
}

TEST(Diseqc, CommittedSwitchFollowsPositionAndOption) {
  vsim::SwitchState sw;
  EXPECT_EQ(CommittedByte(2, true, true), 0xF5);
  EXPECT_EQ(CommittedByte(1, false, false), 0xFA);
  for (int slot = 0; slot < 4; ++slot) {
    u8 msg[4] = {0xE0, 0x10, 0x38, CommittedByte(slot, slot == 1, slot == 2)};
    ASSERT_TRUE(vsim::ApplyDiseqc(sw, msg, 4, vsim::kBurstNone));
    EXPECT_EQ(sw.position, slot >= 2 ? 1 : 0);
    EXPECT_EQ(sw.option, slot & 1);
  }
  // Repeats (E1) act alike; only the bits named in the high nibble change.
  u8 only_position[4] = {0xE1, 0x10, 0x38, 0x40};
  ASSERT_TRUE(vsim::ApplyDiseqc(sw, only_position, 4, vsim::kBurstNone));
  EXPECT_EQ(sw.position, 0);
  EXPECT_EQ(sw.option, 1);
  u8 reset[3] = {0xE0, 0x00, 0x00};
  ASSERT_TRUE(vsim::ApplyDiseqc(sw, reset, 3, vsim::kBurstNone));
  EXPECT_EQ(sw.Input(), 0);
}

TEST(Diseqc, ToneBurstSelectsThePositionAndBadMessagesChangeNothing) {
  vsim::SwitchState sw;
  ASSERT_TRUE(vsim::ApplyDiseqc(sw, nullptr, 0, vsim::kBurstB));
  EXPECT_EQ(sw.Input(), 1);
  ASSERT_TRUE(vsim::ApplyDiseqc(sw, nullptr, 0, vsim::kBurstA));
  EXPECT_EQ(sw.Input(), 0);
  u8 msg[7] = {0xE0, 0x10, 0x38, 0xFF, 0, 0, 0};
  EXPECT_FALSE(vsim::ApplyDiseqc(sw, msg, 7, vsim::kBurstNone));
  EXPECT_FALSE(vsim::ApplyDiseqc(sw, msg, 2, vsim::kBurstNone));
  EXPECT_FALSE(vsim::ApplyDiseqc(sw, msg, 4, 7));
  msg[0] = 0x70;
  EXPECT_FALSE(vsim::ApplyDiseqc(sw, msg, 4, vsim::kBurstNone));
  EXPECT_EQ(sw.Input(), 0);
}

TEST(SatelliteLock, UniversalLnbBandsAndPolarisations) {
  vsim::World w = vsim::DefaultWorld();
  vsim::SwitchState a;
  vsim::FrontendCaps caps;
  for (const vsim::MuxDef& m : w.satellites[0].transponders) {
    bool v = m.polarization == 'V';
    EXPECT_EQ(vsim::LockSatellite(w, a, Universal(m.frequency_khz, v, m.symbol_rate), caps), &m);
    EXPECT_EQ(vsim::LockSatellite(w, a, Universal(m.frequency_khz, !v, m.symbol_rate), caps), nullptr);
    // Slightly off frequency is still in the capture range; a wrong symbol
    // rate is not.
    EXPECT_EQ(vsim::LockSatellite(w, a, Universal(m.frequency_khz + 2000, v, m.symbol_rate), caps), &m);
    std::string why;
    EXPECT_EQ(vsim::LockSatellite(w, a, Universal(m.frequency_khz, v, m.symbol_rate / 2), caps, &why), nullptr);
    EXPECT_EQ(why, "symbol rate does not match");
  }
}

TEST(SatelliteLock, WhatTheLnbReallyReceivesDecides) {
  vsim::World w = vsim::DefaultWorld();
  vsim::SwitchState a;
  vsim::FrontendCaps caps;
  const vsim::MuxDef& high_h = w.satellites[0].transponders[2];  // 11836 H
  ASSERT_EQ(high_h.frequency_khz, 11836000u);
  // 11836 MHz is above the switch frequency: the driver picks the high band.
  vsim::SatelliteTune t = Universal(11836000, false, 27500000);
  EXPECT_TRUE(t.tone_22khz);
  EXPECT_EQ(vsim::LockSatellite(w, a, t, caps), &high_h);
  // Tone off but the driver still assumes the high oscillator: the LNB mixes
  // with 9750 MHz and the tuner lands 850 MHz below.
  t.tone_22khz = false;
  EXPECT_EQ(vsim::LockSatellite(w, a, t, caps), nullptr);
  // A driver configured with a wrong oscillator misses the carrier.
  t = Universal(11836000, false, 27500000);
  t.lof_khz = 10750000;
  EXPECT_EQ(vsim::LockSatellite(w, a, t, caps), nullptr);
  // LNB power off: nothing at all.
  t = Universal(11836000, false, 27500000);
  t.lnb_voltage = 0;
  std::string why;
  EXPECT_EQ(vsim::LockSatellite(w, a, t, caps, &why), nullptr);
  EXPECT_EQ(why, "LNB not powered");
  // Intermediate frequency outside 950..2150 MHz.
  t = Universal(12800000, false, 27500000);
  EXPECT_EQ(vsim::LockSatellite(w, a, t, caps, &why), nullptr);
  EXPECT_EQ(why, "intermediate frequency out of range");
}

TEST(SatelliteLock, SwitchInputChoosesTheSatellite) {
  vsim::World w = vsim::DefaultWorld();
  vsim::FrontendCaps caps;
  const vsim::MuxDef& b = w.satellites[1].transponders[0];  // 13.0E 11034 V
  vsim::SatelliteTune t = Universal(b.frequency_khz, true, b.symbol_rate);
  vsim::SwitchState sw;
  EXPECT_EQ(vsim::LockSatellite(w, sw, t, caps), nullptr);
  u8 slot2[4] = {0xE0, 0x10, 0x38, CommittedByte(2, true, false)};
  ASSERT_TRUE(vsim::ApplyDiseqc(sw, slot2, 4, vsim::kBurstNone));
  EXPECT_EQ(vsim::LockSatellite(w, sw, t, caps), &b);
  u8 slot1[4] = {0xE0, 0x10, 0x38, CommittedByte(1, true, false)};
  ASSERT_TRUE(vsim::ApplyDiseqc(sw, slot1, 4, vsim::kBurstNone));
  std::string why;
  EXPECT_EQ(vsim::LockSatellite(w, sw, t, caps, &why), nullptr);
  EXPECT_EQ(why, "nothing on switch input 2");
}

TEST(SatelliteLock, InversionMustMatchUnlessAutomatic) {
  vsim::World w = vsim::DefaultWorld();
  const vsim::MuxDef& m = w.satellites[0].transponders[0];
  vsim::SwitchState sw;
  vsim::SatelliteTune t = Universal(m.frequency_khz, true, m.symbol_rate);
  vsim::FrontendCaps caps;
  t.inversion = 1;
  EXPECT_EQ(vsim::LockSatellite(w, sw, t, caps), nullptr);
  t.inversion = 0;
  EXPECT_EQ(vsim::LockSatellite(w, sw, t, caps), &m);
  t.inversion = 1;
  caps.auto_inversion = true;
  EXPECT_EQ(vsim::LockSatellite(w, sw, t, caps), &m);
}

TEST(CableAndTerrestrialLock, ModulationSymbolRateAndBandwidth) {
  vsim::World w = vsim::DefaultWorld();
  vsim::FrontendCaps caps;
  vsim::CableTune c{346000, 2, 6900000, 2};
  EXPECT_EQ(vsim::LockCable(w, c, caps), &w.cable[0]);
  c.qam = 4;
  EXPECT_EQ(vsim::LockCable(w, c, caps), nullptr);
  c = {354100, 2, 6875000, 4};  // within 250 kHz and 1 %
  EXPECT_EQ(vsim::LockCable(w, c, caps), &w.cable[1]);
  c.frequency_khz = 362000;
  EXPECT_EQ(vsim::LockCable(w, c, caps), nullptr);

  vsim::TerrestrialTune t{506000, 2, 2};
  EXPECT_EQ(vsim::LockTerrestrial(w, t, caps), &w.terrestrial[0]);
  t.bandwidth = 1;
  EXPECT_EQ(vsim::LockTerrestrial(w, t, caps), nullptr);
  t.bandwidth = 3;  // automatic only when the front end can
  EXPECT_EQ(vsim::LockTerrestrial(w, t, caps), nullptr);
  caps.auto_bandwidth = true;
  EXPECT_EQ(vsim::LockTerrestrial(w, t, caps), &w.terrestrial[0]);
  t = {191500, 2, 1};
  EXPECT_EQ(vsim::LockTerrestrial(w, t, vsim::FrontendCaps{}), &w.terrestrial[2]);
}

}  // namespace
