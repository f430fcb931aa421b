#pragma once
// Tuning arithmetic of the vendor-library plug-ins: which LNB slot serves a
// satellite, the frequency window and band of a slot, the switch commands of
// the three DiSEqC modes, and the unit and code conversions between the
// driver contract's tuning records and the vendor front end.
//
// Units: the contract gives satellite frequencies in 10 kHz, cable in 100 Hz,
// terrestrial in 10 Hz, symbol rates in 100 symbol/s; the front end takes kHz
// and symbol/s.  LOFs and the band switch frequency are kHz.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace drvcore {

using u8 = std::uint8_t;
using u32 = std::uint32_t;

inline constexpr int kLnbSlots = 4;

// One LNB/DiSEqC slot of the settings (slots 0..3; "1".."4" in value names).
struct LnbSlot {
  u32 lof1 = 9750000;         // low band oscillator, kHz
  u32 lof2 = 10600000;        // high band oscillator, kHz
  u32 switchFreq = 11700000;  // band switch frequency, kHz
  u32 lnbPower = 1;           // 0/1
  std::string satellite;      // satellite name (ANSI), empty: none
};
using LnbSlots = std::array<LnbSlot, kLnbSlots>;

// DiSEqC modes of the settings.
enum DiseqcMode : u32 {
  kDiseqcNone = 0,       // one LNB, possibly on a motor
  kDiseqcToneBurst = 1,  // satellite1 on burst A, satellite2 on burst B
  kDiseqc10 = 2,         // DiSEqC 1.0 committed switch, four inputs
};

struct SlotChoice {
  enum Status { Ok, NoMatch, BadMode } status = BadMode;
  int slot = -1;
  // Mode 0: the caller asks the satellite list whether a motor may have to
  // be turned (see NeedsMotorPrompt) before tuning.
  bool motorCheck = false;
};
// The slot for satellite `name` (compared exactly, case-sensitive) under
// DiSEqC mode `mode`: 0 → slot 0 with the motor check; 1 → satellite1 or
// satellite2; 2 → the first of satellite1..4 with that name.  An empty name
// matches no slot (a slot without a satellite name is not configured).
SlotChoice ChooseSlot(u32 mode, std::string_view name, const LnbSlots& slots);

// Mode 0: the user is asked to turn the motor when the list holds more than
// one satellite and the wanted one is not the satellite tuned last.
bool NeedsMotorPrompt(long satelliteCount, std::wstring_view wanted, std::wstring_view current);

// A satellite transponder as the front end is to be tuned on one slot.
struct SatellitePlan {
  bool valid = false;     // false: frequency outside the slot's window
  u32 frequencyKhz = 0;
  bool high = false;      // high band: frequency >= the slot's switch
  bool vertical = false;  // polarization 1 (vertical) or 3 (circular right)
  u32 lof = 0;            // lof2 in the high band, else lof1
  u32 tone22kHz = 0;      // 1 in the high band
  u32 voltage = 18;       // 13 vertical, 18 horizontal
  u32 symbolRate = 0;     // symbol/s
};
// frequency10kHz, polarization and symbolRate100 as in the satellite tuning
// record.  The window: min(lof1, lof2) + 950000 <= f <= max(lof1, lof2) + 2150000 kHz.
SatellitePlan PlanSatellite(u32 frequency10kHz, u8 polarization, u32 symbolRate100,
                            const LnbSlot& slot);

// One DiSEqC send: `length` message bytes, then the tone burst (255 none,
// 0 A, 1 B), then a pause.
struct DiseqcSend {
  u8 message[4] = {};
  u8 length = 0;
  u8 burst = 255;
  u32 pauseMs = 0;
};
inline constexpr u8 kNoBurst = 255;
inline constexpr u32 kSwitchSettleMs = 20;  // after the last send of any mode
inline constexpr u32 kDiseqcRepeatPauseMs = 120;

// The data byte of the DiSEqC 1.0 "write N0" command for a slot:
// F0 | 08 (slot 1, 3: option B) | 04 (slot 2, 3: position B) | 02 horizontal | 01 high band.
u8 Diseqc10Data(int slot, bool vertical, bool high);
// The sends of a switch by mode: 0 a reset E0 00 00; 1 no bytes and burst A
// (slot 0) or B (slot 1); 2 "E0 10 38 d" then twice "E1 10 38 d", 120 ms
// apart.  Empty for any other mode.
std::vector<DiseqcSend> DiseqcSequence(u32 mode, int slot, bool vertical, bool high);

// Front end channel values of the contract's cable and terrestrial records.
inline constexpr u32 kInversionAuto = 2;
inline constexpr u32 kBandwidthAutoCode = 3;  // vendor bandwidth codes: 0 6, 1 7, 2 8 MHz, 3 auto

u32 CableFrequencyKhz(u32 frequency100Hz);
u32 TerrestrialFrequencyKhz(u32 centreFrequency10Hz);
// Symbol rate in 100 symbol/s → symbol/s (saturating).
u32 SymbolRateFromRecord(u32 symbolRate100);
u32 SymbolRateToRecord(u32 symbolRate);
// Satellite kHz → 10 kHz; cable kHz → 100 Hz; terrestrial kHz → 10 Hz (saturating).
u32 SatelliteFrequencyToRecord(u32 kHz);
u32 CableFrequencyToRecord(u32 kHz);
u32 TerrestrialFrequencyToRecord(u32 kHz);

// Contract modulation 1..5 (16..256-QAM) → vendor QAM code 0..4; other → 2 (64-QAM).
u32 QamCodeFromModulation(u8 modulation);
// Vendor QAM code → contract modulation; other → 3 (64-QAM).
u8 ModulationFromQamCode(u32 qam);
// Contract terrestrial bandwidth (0 8, 1 7, 2 6 MHz) → vendor code (2, 1, 0);
// any other value → 8 MHz.
u32 BandwidthCodeFromRecord(u8 bandwidth);
// Vendor code → contract bandwidth; 3 (automatic) and others → 7 (unknown).
u8 BandwidthFromCode(u32 code);
// The bandwidth code a terrestrial tune sends: automatic when the front end
// can find it itself; the one code a single-bandwidth tuner has; else the
// record's bandwidth.
u32 TerrestrialBandwidthCode(bool autoBandwidth, bool rangeKnown, u32 minimum, u32 maximum,
                             u8 recordBandwidth);
// Satellite polarization read back from the LNB voltage: 0 (horizontal) for
// 18 V, 1 (vertical) otherwise.
u8 PolarizationFromVoltage(u32 voltage);

}  // namespace drvcore
