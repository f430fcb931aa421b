// Slot choice, LOF window and band, DiSEqC commands and unit conversions.
#include "drvcore/tuning.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace drvcore;

LnbSlots NamedSlots() {
  LnbSlots s{};
  s[0].satellite = "Astra";
  s[1].satellite = "Hotbird";
  s[2].satellite = "Thor";
  s[3].satellite = "Hotbird";  // a duplicate: the first one wins
  return s;
}

TEST(SlotChoice, ByDiseqcMode) {
  const LnbSlots slots = NamedSlots();
  SlotChoice c = ChooseSlot(kDiseqcNone, "anything", slots);
  EXPECT_EQ(c.status, SlotChoice::Ok);
  EXPECT_EQ(c.slot, 0);
  EXPECT_TRUE(c.motorCheck);

  c = ChooseSlot(kDiseqcToneBurst, "Hotbird", slots);
  EXPECT_EQ(c.status, SlotChoice::Ok);
  EXPECT_EQ(c.slot, 1);
  EXPECT_FALSE(c.motorCheck);
  // Tone burst reaches two slots only.
  EXPECT_EQ(ChooseSlot(kDiseqcToneBurst, "Thor", slots).status, SlotChoice::NoMatch);

  EXPECT_EQ(ChooseSlot(kDiseqc10, "Thor", slots).slot, 2);
  EXPECT_EQ(ChooseSlot(kDiseqc10, "Hotbird", slots).slot, 1);
  // Exact, case-sensitive comparison.
  EXPECT_EQ(ChooseSlot(kDiseqc10, "thor", slots).status, SlotChoice::NoMatch);
  EXPECT_EQ(ChooseSlot(kDiseqc10, "Thor ", slots).status, SlotChoice::NoMatch);
  EXPECT_EQ(ChooseSlot(3, "Thor", slots).status, SlotChoice::BadMode);
  // Unconfigured slots (empty names) are not chosen by an empty name.
  LnbSlots partly{};
  partly[0].satellite = "Astra";
  EXPECT_EQ(ChooseSlot(kDiseqc10, "", partly).status, SlotChoice::NoMatch);
  EXPECT_EQ(ChooseSlot(kDiseqcToneBurst, "", partly).status, SlotChoice::NoMatch);
}

TEST(SlotChoice, MotorPrompt) {
  EXPECT_FALSE(NeedsMotorPrompt(1, L"Thor", L""));
  EXPECT_FALSE(NeedsMotorPrompt(0, L"Thor", L""));
  EXPECT_FALSE(NeedsMotorPrompt(3, L"Thor", L"Thor"));
  EXPECT_TRUE(NeedsMotorPrompt(3, L"Thor", L"Astra"));
  EXPECT_TRUE(NeedsMotorPrompt(2, L"Thor", L""));
}

TEST(SatellitePlan, UniversalLnbWindowAndBand) {
  const LnbSlot universal{};  // 9750000 / 10600000 / 11700000
  EXPECT_TRUE(PlanSatellite(1070000, 0, 275000, universal).valid);   // 10700000 kHz
  EXPECT_TRUE(PlanSatellite(1275000, 0, 275000, universal).valid);   // 12750000 kHz
  EXPECT_FALSE(PlanSatellite(1069999, 0, 275000, universal).valid);  // 10699990 kHz
  EXPECT_FALSE(PlanSatellite(1275001, 0, 275000, universal).valid);

  SatellitePlan low = PlanSatellite(1169999, 0, 275000, universal);  // 11699990 kHz
  EXPECT_TRUE(low.valid);
  EXPECT_FALSE(low.high);
  EXPECT_EQ(low.lof, 9750000u);
  EXPECT_EQ(low.tone22kHz, 0u);
  EXPECT_EQ(low.voltage, 18u);
  EXPECT_EQ(low.symbolRate, 27500000u);
  EXPECT_EQ(low.frequencyKhz, 11699990u);

  SatellitePlan high = PlanSatellite(1170000, 1, 220000, universal);
  EXPECT_TRUE(high.high);
  EXPECT_EQ(high.lof, 10600000u);
  EXPECT_EQ(high.tone22kHz, 1u);
  EXPECT_TRUE(high.vertical);
  EXPECT_EQ(high.voltage, 13u);
}

TEST(SatellitePlan, PolarizationAndOddSlots) {
  const LnbSlot universal{};
  EXPECT_EQ(PlanSatellite(1200000, 2, 0, universal).voltage, 18u);  // circular left: horizontal
  EXPECT_EQ(PlanSatellite(1200000, 3, 0, universal).voltage, 13u);  // circular right: vertical
  EXPECT_EQ(PlanSatellite(1200000, 7, 0, universal).voltage, 18u);

  // Oscillators given the other way round still span the window.
  LnbSlot swapped;
  swapped.lof1 = 10600000;
  swapped.lof2 = 9750000;
  EXPECT_TRUE(PlanSatellite(1070000, 0, 0, swapped).valid);
  EXPECT_TRUE(PlanSatellite(1275000, 0, 0, swapped).valid);

  // A single-oscillator C-band style slot, and a frequency whose kHz value overflows 32 bits.
  LnbSlot single;
  single.lof1 = single.lof2 = 5150000;
  single.switchFreq = 0xFFFFFFFF;
  EXPECT_TRUE(PlanSatellite(700000, 0, 0, single).valid);
  EXPECT_FALSE(PlanSatellite(0xFFFFFFFF, 0, 0, single).valid);
  LnbSlot huge;
  huge.lof1 = huge.lof2 = 0xFFFFFFF0;
  EXPECT_FALSE(PlanSatellite(100, 0, 0, huge).valid);
  EXPECT_EQ(PlanSatellite(0, 0, 0xFFFFFFFF, huge).symbolRate, 0xFFFFFFFFu);
}

TEST(Diseqc, DataByte) {
  EXPECT_EQ(Diseqc10Data(2, true, true), 0xF5);
  EXPECT_EQ(Diseqc10Data(1, false, false), 0xFA);
  EXPECT_EQ(Diseqc10Data(0, true, false), 0xF0);
  EXPECT_EQ(Diseqc10Data(3, false, true), 0xFF);
}

TEST(Diseqc, SequencesByMode) {
  std::vector<DiseqcSend> s = DiseqcSequence(kDiseqc10, 2, true, true);
  ASSERT_EQ(s.size(), 3u);
  const u8 first[] = {0xE0, 0x10, 0x38, 0xF5};
  const u8 repeat[] = {0xE1, 0x10, 0x38, 0xF5};
  EXPECT_EQ(std::memcmp(s[0].message, first, 4), 0);
  EXPECT_EQ(std::memcmp(s[1].message, repeat, 4), 0);
  EXPECT_EQ(std::memcmp(s[2].message, repeat, 4), 0);
  for (const DiseqcSend& d : s) {
    EXPECT_EQ(d.length, 4);
    EXPECT_EQ(d.burst, kNoBurst);
    EXPECT_EQ(d.pauseMs, 120u);
  }

  s = DiseqcSequence(kDiseqcNone, 0, false, false);
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].length, 3);
  EXPECT_EQ(s[0].message[0], 0xE0);
  EXPECT_EQ(s[0].message[1], 0x00);
  EXPECT_EQ(s[0].message[2], 0x00);
  EXPECT_EQ(s[0].burst, kNoBurst);

  s = DiseqcSequence(kDiseqcToneBurst, 0, true, true);
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].length, 0);
  EXPECT_EQ(s[0].burst, 0);
  EXPECT_EQ(DiseqcSequence(kDiseqcToneBurst, 1, true, true)[0].burst, 1);

  EXPECT_TRUE(DiseqcSequence(9, 0, false, false).empty());
}

TEST(Conversions, CableAndTerrestrialCodes) {
  EXPECT_EQ(QamCodeFromModulation(1), 0u);
  EXPECT_EQ(QamCodeFromModulation(5), 4u);
  EXPECT_EQ(QamCodeFromModulation(9), 2u);
  EXPECT_EQ(QamCodeFromModulation(0), 2u);
  for (u32 q = 0; q <= 4; ++q) EXPECT_EQ(QamCodeFromModulation(ModulationFromQamCode(q)), q);
  EXPECT_EQ(ModulationFromQamCode(17), 3);

  // Contract 0 8 MHz, 1 7 MHz, 2 6 MHz; vendor 0 6, 1 7, 2 8, 3 auto.
  EXPECT_EQ(BandwidthCodeFromRecord(0), 2u);
  EXPECT_EQ(BandwidthCodeFromRecord(1), 1u);
  EXPECT_EQ(BandwidthCodeFromRecord(2), 0u);  // 6 MHz asks for 6 MHz
  EXPECT_EQ(BandwidthCodeFromRecord(5), 2u);
  EXPECT_EQ(BandwidthFromCode(0), 2);
  EXPECT_EQ(BandwidthFromCode(1), 1);
  EXPECT_EQ(BandwidthFromCode(2), 0);
  EXPECT_EQ(BandwidthFromCode(3), 7);

  EXPECT_EQ(TerrestrialBandwidthCode(true, true, 2, 2, 1), 3u);
  EXPECT_EQ(TerrestrialBandwidthCode(false, true, 2, 2, 1), 2u);  // single-bandwidth tuner
  EXPECT_EQ(TerrestrialBandwidthCode(false, true, 1, 2, 1), 1u);
  EXPECT_EQ(TerrestrialBandwidthCode(false, true, 0, 2, 2), 0u);
  EXPECT_EQ(TerrestrialBandwidthCode(false, false, 2, 2, 0), 2u);  // range unknown: the record
}

TEST(Conversions, Units) {
  EXPECT_EQ(CableFrequencyKhz(3460000), 346000u);       // 346 MHz in 100 Hz
  EXPECT_EQ(TerrestrialFrequencyKhz(50600000), 506000u); // 506 MHz in 10 Hz
  EXPECT_EQ(SymbolRateFromRecord(69000), 6900000u);
  EXPECT_EQ(SymbolRateToRecord(27500000), 275000u);
  EXPECT_EQ(SatelliteFrequencyToRecord(12322000), 1232200u);
  EXPECT_EQ(CableFrequencyToRecord(346000), 3460000u);
  EXPECT_EQ(TerrestrialFrequencyToRecord(506000), 50600000u);
  EXPECT_EQ(TerrestrialFrequencyToRecord(0xFFFFFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(PolarizationFromVoltage(18), 0);
  EXPECT_EQ(PolarizationFromVoltage(13), 1);
  EXPECT_EQ(PolarizationFromVoltage(0), 1);
}

}  // namespace
