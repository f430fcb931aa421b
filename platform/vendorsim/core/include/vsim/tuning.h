#pragma once
// How a simulated front end decides lock: the dish's switch state after the
// DiSEqC messages and tone bursts it was sent, the LNB's oscillators, the
// 22 kHz tone and the LNB voltage, against the transponders of the world.
#include <cstddef>
#include <string>

#include "vsim/world.h"

namespace vsim {

// The committed DiSEqC 1.0 switch (also a tone-burst switch): position and
// option, each 0 (A) or 1 (B).  Power-on and reset select A/A.
struct SwitchState {
  int position = 0;
  int option = 0;
  int Input() const { return position | option << 1; }
};

// Burst codes as the front end takes them.
constexpr int kBurstNone = 255;
constexpr int kBurstA = 0;
constexpr int kBurstB = 1;

// Applies one DiSEqC message (0 to 6 bytes) and an optional tone burst to
// the switch.  Understood: reset (E0/E1 xx 00), write N0 (E0/E1 10|11|14|15|18
// 38 d) with the 0xF0 change mask in d's high nibble.  Other well-formed
// messages are accepted and ignored.  Returns false for a malformed message
// (length 1 or 2, more than 6 bytes, a framing byte other than E0..E3, or a
// burst code other than 0, 1, 255); the state is then unchanged.
bool ApplyDiseqc(SwitchState& state, const u8* msg, size_t length, int burst);

struct SatelliteTune {
  u32 frequency_khz = 0;  // the transponder frequency the driver meant
  u32 inversion = 2;      // 0 off, 1 on, 2 automatic
  u32 symbol_rate = 0;    // symbol/s
  u32 lof_khz = 0;        // oscillator the driver assumed
  bool tone_22khz = false;
  u32 lnb_voltage = 0;    // 13 (vertical/right), 18 (horizontal/left), 0 off
};

struct CableTune {
  u32 frequency_khz = 0;
  u32 inversion = 2;
  u32 symbol_rate = 0;
  u32 qam = 2;  // 0..4 = 16..256-QAM
};

struct TerrestrialTune {
  u32 frequency_khz = 0;
  u32 inversion = 2;
  u32 bandwidth = 3;  // 0 6 MHz, 1 7 MHz, 2 8 MHz, 3 automatic
};

struct FrontendCaps {
  bool auto_inversion = false;
  bool auto_bandwidth = false;
};

// Capture ranges of the simulated demodulators.
constexpr u32 kSatCaptureKhz = 3000;
constexpr u32 kTerrCableCaptureKhz = 250;
constexpr u32 kIfMinKhz = 950000;
constexpr u32 kIfMaxKhz = 2150000;

// The multiplex the front end locks on, or null (with the reason in `why`).
const MuxDef* LockSatellite(const World& world, const SwitchState& sw, const SatelliteTune& t,
                            const FrontendCaps& caps, std::string* why = nullptr);
const MuxDef* LockCable(const World& world, const CableTune& t, const FrontendCaps& caps,
                        std::string* why = nullptr);
const MuxDef* LockTerrestrial(const World& world, const TerrestrialTune& t, const FrontendCaps& caps,
                              std::string* why = nullptr);

}  // namespace vsim
