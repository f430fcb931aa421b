#include "drvcore/tuning.h"

#include <algorithm>

namespace drvcore {

namespace {

constexpr unsigned long long kU32Max = 0xFFFFFFFFull;

u32 Saturate(unsigned long long v) { return static_cast<u32>(std::min(v, kU32Max)); }

constexpr u32 kIfMinKhz = 950000;
constexpr u32 kIfMaxKhz = 2150000;

}  // namespace

SlotChoice ChooseSlot(u32 mode, std::string_view name, const LnbSlots& slots) {
  SlotChoice c;
  switch (mode) {
    case kDiseqcNone:
      c.status = SlotChoice::Ok;
      c.slot = 0;
      c.motorCheck = true;
      return c;
    case kDiseqcToneBurst:
    case kDiseqc10: {
      const int candidates = mode == kDiseqcToneBurst ? 2 : kLnbSlots;
      c.status = SlotChoice::NoMatch;
      if (name.empty()) return c;  // an empty slot is no satellite
      for (int i = 0; i < candidates; ++i) {
        if (slots[static_cast<size_t>(i)].satellite == name) {
          c.status = SlotChoice::Ok;
          c.slot = i;
          break;
        }
      }
      return c;
    }
    default:
      c.status = SlotChoice::BadMode;
      return c;
  }
}

bool NeedsMotorPrompt(long satelliteCount, std::wstring_view wanted, std::wstring_view current) {
  return satelliteCount > 1 && wanted != current;
}

SatellitePlan PlanSatellite(u32 frequency10kHz, u8 polarization, u32 symbolRate100,
                            const LnbSlot& slot) {
  SatellitePlan p;
  const unsigned long long f = static_cast<unsigned long long>(frequency10kHz) * 10ull;
  const unsigned long long lo = std::min(slot.lof1, slot.lof2);
  const unsigned long long hi = std::max(slot.lof1, slot.lof2);
  p.frequencyKhz = Saturate(f);
  p.valid = f <= kU32Max && f >= lo + kIfMinKhz && f <= hi + kIfMaxKhz;
  p.high = f >= slot.switchFreq;
  p.vertical = polarization == 1 || polarization == 3;
  p.lof = p.high ? slot.lof2 : slot.lof1;
  p.tone22kHz = p.high ? 1 : 0;
  p.voltage = p.vertical ? 13 : 18;
  p.symbolRate = SymbolRateFromRecord(symbolRate100);
  return p;
}

u8 Diseqc10Data(int slot, bool vertical, bool high) {
  u8 d = 0xF0;
  if (slot == 1 || slot == 3) d |= 0x08;
  if (slot == 2 || slot == 3) d |= 0x04;
  if (!vertical) d |= 0x02;
  if (high) d |= 0x01;
  return d;
}

std::vector<DiseqcSend> DiseqcSequence(u32 mode, int slot, bool vertical, bool high) {
  std::vector<DiseqcSend> out;
  switch (mode) {
    case kDiseqcNone: {
      DiseqcSend s;
      s.message[0] = 0xE0;
      s.length = 3;
      s.burst = kNoBurst;
      out.push_back(s);
      break;
    }
    case kDiseqcToneBurst: {
      DiseqcSend s;
      s.length = 0;
      s.burst = slot == 0 ? 0 : 1;
      out.push_back(s);
      break;
    }
    case kDiseqc10: {
      const u8 d = Diseqc10Data(slot, vertical, high);
      for (int i = 0; i < 3; ++i) {
        DiseqcSend s;
        s.message[0] = i == 0 ? 0xE0 : 0xE1;
        s.message[1] = 0x10;
        s.message[2] = 0x38;
        s.message[3] = d;
        s.length = 4;
        s.burst = kNoBurst;
        s.pauseMs = kDiseqcRepeatPauseMs;
        out.push_back(s);
      }
      break;
    }
    default:
      break;
  }
  return out;
}

u32 CableFrequencyKhz(u32 frequency100Hz) { return frequency100Hz / 10; }
u32 TerrestrialFrequencyKhz(u32 centreFrequency10Hz) { return centreFrequency10Hz / 100; }
u32 SymbolRateFromRecord(u32 symbolRate100) { return Saturate(symbolRate100 * 100ull); }
u32 SymbolRateToRecord(u32 symbolRate) { return symbolRate / 100; }
u32 SatelliteFrequencyToRecord(u32 kHz) { return kHz / 10; }
u32 CableFrequencyToRecord(u32 kHz) { return Saturate(kHz * 10ull); }
u32 TerrestrialFrequencyToRecord(u32 kHz) { return Saturate(kHz * 100ull); }

u32 QamCodeFromModulation(u8 modulation) {
  return modulation >= 1 && modulation <= 5 ? static_cast<u32>(modulation - 1) : 2;
}

u8 ModulationFromQamCode(u32 qam) { return qam <= 4 ? static_cast<u8>(qam + 1) : 3; }

u32 BandwidthCodeFromRecord(u8 bandwidth) {
  switch (bandwidth) {
    case 1: return 1;  // 7 MHz
    case 2: return 0;  // 6 MHz
    default: return 2; // 8 MHz
  }
}

u8 BandwidthFromCode(u32 code) {
  switch (code) {
    case 0: return 2;  // 6 MHz
    case 1: return 1;  // 7 MHz
    case 2: return 0;  // 8 MHz
    default: return 7; // automatic or unknown
  }
}

u32 TerrestrialBandwidthCode(bool autoBandwidth, bool rangeKnown, u32 minimum, u32 maximum,
                             u8 recordBandwidth) {
  if (autoBandwidth) return kBandwidthAutoCode;
  if (rangeKnown && minimum == maximum) return minimum;
  return BandwidthCodeFromRecord(recordBandwidth);
}

u8 PolarizationFromVoltage(u32 voltage) { return voltage == 18 ? 0 : 1; }

}  // namespace drvcore
