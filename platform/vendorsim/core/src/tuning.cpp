#include "vsim/tuning.h"

namespace vsim {

namespace {

u32 Distance(u32 a, u32 b) { return a > b ? a - b : b - a; }

// Symbol rates within 1 % lock.
bool SymbolRateFits(u32 wanted, u32 actual) {
  return static_cast<unsigned long long>(Distance(wanted, actual)) * 100 <= actual;
}

bool InversionFits(u32 requested, u8 actual, const FrontendCaps& caps) {
  return caps.auto_inversion || requested == 2 || requested == actual;
}

void Say(std::string* why, const std::string& s) {
  if (why) *why = s;
}

}  // namespace

bool ApplyDiseqc(SwitchState& state, const u8* msg, size_t length, int burst) {
  if (burst != kBurstNone && burst != kBurstA && burst != kBurstB) return false;
  if (length == 1 || length == 2 || length > 6) return false;
  if (length > 0 && (msg[0] < 0xE0 || msg[0] > 0xE3)) return false;
  if (length >= 3) {
    u8 address = msg[1], command = msg[2];
    bool for_switch = address == 0x00 || address == 0x10 || address == 0x11 || address == 0x14 ||
                      address == 0x15 || address == 0x18;
    if (for_switch && command == 0x00) {
      state = SwitchState{};
    } else if (for_switch && command == 0x38 && length >= 4) {
      u8 d = msg[3];
      if (d & 0x40) state.position = d >> 2 & 1;
      if (d & 0x80) state.option = d >> 3 & 1;
    }
  }
  if (burst == kBurstA) state.position = 0;
  if (burst == kBurstB) state.position = 1;
  return true;
}

const MuxDef* LockSatellite(const World& world, const SwitchState& sw, const SatelliteTune& t,
                            const FrontendCaps& caps, std::string* why) {
  if (t.lnb_voltage == 0) {
    Say(why, "LNB not powered");
    return nullptr;
  }
  const SatelliteDef* sat = world.SatelliteAt(sw.Input());
  if (!sat) {
    Say(why, "nothing on switch input " + std::to_string(sw.Input()));
    return nullptr;
  }
  long long ifreq = static_cast<long long>(t.frequency_khz) - t.lof_khz;
  if (ifreq < kIfMinKhz || ifreq > kIfMaxKhz) {
    Say(why, "intermediate frequency out of range");
    return nullptr;
  }
  // What actually comes down: the LNB mixes with its own oscillator, chosen
  // by the tone, whatever the driver assumed.
  u32 rf = static_cast<u32>(ifreq + (t.tone_22khz ? sat->lof_high_khz : sat->lof_low_khz));
  bool vertical = t.lnb_voltage < 16;  // 13/14 V vertical or right, 18/19 V horizontal or left
  for (const MuxDef& m : sat->transponders) {
    bool v = m.polarization == 'V' || m.polarization == 'R';
    if (v != vertical || Distance(m.frequency_khz, rf) > kSatCaptureKhz) continue;
    if (!SymbolRateFits(t.symbol_rate, m.symbol_rate)) {
      Say(why, "symbol rate does not match");
      return nullptr;
    }
    if (!InversionFits(t.inversion, m.inversion, caps)) {
      Say(why, "spectral inversion does not match");
      return nullptr;
    }
    return &m;
  }
  Say(why, "no carrier at " + std::to_string(rf) + " kHz " + (vertical ? "V" : "H") + " on " + sat->name);
  return nullptr;
}

const MuxDef* LockCable(const World& world, const CableTune& t, const FrontendCaps& caps, std::string* why) {
  for (const MuxDef& m : world.cable) {
    if (Distance(m.frequency_khz, t.frequency_khz) > kTerrCableCaptureKhz) continue;
    if (t.qam + 1 != m.modulation) {
      Say(why, "modulation does not match");
      return nullptr;
    }
    if (!SymbolRateFits(t.symbol_rate, m.symbol_rate)) {
      Say(why, "symbol rate does not match");
      return nullptr;
    }
    if (!InversionFits(t.inversion, m.inversion, caps)) {
      Say(why, "spectral inversion does not match");
      return nullptr;
    }
    return &m;
  }
  Say(why, "no carrier at " + std::to_string(t.frequency_khz) + " kHz");
  return nullptr;
}

const MuxDef* LockTerrestrial(const World& world, const TerrestrialTune& t, const FrontendCaps& caps,
                              std::string* why) {
  for (const MuxDef& m : world.terrestrial) {
    if (Distance(m.frequency_khz, t.frequency_khz) > kTerrCableCaptureKhz) continue;
    // Vendor codes run 0 6 MHz .. 2 8 MHz; the multiplex holds the delivery
    // descriptor's code (0 8 MHz .. 2 6 MHz).
    bool fits = t.bandwidth == 3 ? caps.auto_bandwidth : t.bandwidth == 2u - m.bandwidth;
    if (!fits) {
      Say(why, "bandwidth does not match");
      return nullptr;
    }
    if (!InversionFits(t.inversion, m.inversion, caps)) {
      Say(why, "spectral inversion does not match");
      return nullptr;
    }
    return &m;
  }
  Say(why, "no carrier at " + std::to_string(t.frequency_khz) + " kHz");
  return nullptr;
}

}  // namespace vsim
