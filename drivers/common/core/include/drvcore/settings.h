#pragma once
// The settings of a vendor-library plug-in and their registry layout.
//
// Below the registry root handed to Init (HKEY_LOCAL_MACHINE):
//   <root>\{clsid}            "device" (DWORD): the card index, 0xFFFF for none
//   <root>\{clsid}\<index>    every value below
//
// Values of the device key, in the order they are read:
//   "loglevel" 0, "disqmode" 0,
//   per slot N = 1..4: "lfo1_N" 9750000, "lfo2_N" 10600000, "switch_N" 11700000,
//                      "lnbpower_N" 1, "satelliteN" "" (REG_SZ),
//   "frequency" 12322000, "inversion" 2, "symbolrate" 27800000, "lnbpower" 18,
//   "viterbi" 0, "qam" 2, "bandwidth" 3, "scan" 0.
// A missing value keeps its default.  A slot's "lnbpower_N" reads as 1 when
// nonzero and is written as 1 when the flag is 1, else 0.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "drvcore/tuning.h"

namespace drvcore {

struct Settings {
  u32 disqmode = kDiseqcNone;
  LnbSlots slots{};
  u32 loglevel = 0;
  // The last channel (kHz, symbol/s and vendor codes).
  u32 frequency = 12322000;
  u32 inversion = 2;
  u32 symbolrate = 27800000;
  u32 lnbpower = 18;
  u32 viterbi = 0;
  u32 qam = 2;
  u32 bandwidth = 3;
  u32 scan = 0;
  // The front end's delivery type (set by Init, not stored).
  u32 frontendType = 0;
};

// The values of one registry key, as the settings need them.
class ValueStore {
 public:
  virtual ~ValueStore() = default;
  virtual bool QueryDWORD(const char* name, u32& value) = 0;
  virtual bool QueryString(const char* name, std::string& text) = 0;
  virtual bool SetDWORD(const char* name, u32 value) = 0;
  virtual bool SetString(const char* name, const std::string& text) = 0;
};

// Value names of slot `slot` (0..3): "lfo1_1", "lfo2_1", "switch_1",
// "lnbpower_1", "satellite1" for slot 0 and so on.
enum class SlotValue { Lof1, Lof2, Switch, LnbPower, Satellite };
std::string SlotValueName(SlotValue which, int slot);

// Every stored field back to its default (frontendType too).
void ResetSettings(Settings& s);
// Defaults, then every value the store holds.  A null store leaves the defaults.
void LoadSettings(Settings& s, ValueStore* store);
// Writes disqmode, loglevel, the four slots and the eight channel values.
// False when any write failed (the others are still written).
bool WriteSettings(const Settings& s, ValueStore& store);

// The card index meaning "no card".
inline constexpr u32 kNoDevice = 0xFFFF;
inline constexpr char kDeviceValue[] = "device";

// root + "\" + clsid (clsid in braces); a trailing "\" of root is not doubled.
std::string ClassKeyPath(std::string_view root, std::string_view clsidInBraces);
// classKey + "\" + index in decimal.
std::string DeviceKeyPath(std::string_view classKey, u32 index);

// The stored "device" value when it names a card that is there: not
// 0xFFFF, and below deviceCount.  Otherwise the card is chosen again.
std::optional<u32> UsableStoredDevice(bool stored, u32 value, int deviceCount);

// The choice without a stored index: no card → 0xFFFF, one → 0; with two or
// more the user picks one (nullopt: ask).
std::optional<u32> AutomaticDeviceChoice(int deviceCount);
// The index the select-device dialog yields: the user's pick when it is a
// card of the list, else 0 (cancel, or nothing chosen).
u32 PickedDevice(int picked, int deviceCount);

}  // namespace drvcore
