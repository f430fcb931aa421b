#include "drvcore/settings.h"

namespace drvcore {

namespace {

struct ChannelValue {
  const char* name;
  u32 Settings::*field;
};

// The eight channel values, in their read and write order.
constexpr ChannelValue kChannelValues[] = {
    {"frequency", &Settings::frequency}, {"inversion", &Settings::inversion},
    {"symbolrate", &Settings::symbolrate}, {"lnbpower", &Settings::lnbpower},
    {"viterbi", &Settings::viterbi},     {"qam", &Settings::qam},
    {"bandwidth", &Settings::bandwidth}, {"scan", &Settings::scan},
};

void ReadDWORD(ValueStore& store, const char* name, u32& field) {
  u32 v = 0;
  if (store.QueryDWORD(name, v)) field = v;
}

}  // namespace

std::string SlotValueName(SlotValue which, int slot) {
  const std::string n = std::to_string(slot + 1);
  switch (which) {
    case SlotValue::Lof1: return "lfo1_" + n;
    case SlotValue::Lof2: return "lfo2_" + n;
    case SlotValue::Switch: return "switch_" + n;
    case SlotValue::LnbPower: return "lnbpower_" + n;
    case SlotValue::Satellite: return "satellite" + n;
  }
  return {};
}

void ResetSettings(Settings& s) { s = Settings{}; }

void LoadSettings(Settings& s, ValueStore* store) {
  ResetSettings(s);
  if (!store) return;
  ReadDWORD(*store, "loglevel", s.loglevel);
  ReadDWORD(*store, "disqmode", s.disqmode);
  for (int i = 0; i < kLnbSlots; ++i) {
    LnbSlot& slot = s.slots[static_cast<size_t>(i)];
    ReadDWORD(*store, SlotValueName(SlotValue::Lof1, i).c_str(), slot.lof1);
    ReadDWORD(*store, SlotValueName(SlotValue::Lof2, i).c_str(), slot.lof2);
    ReadDWORD(*store, SlotValueName(SlotValue::Switch, i).c_str(), slot.switchFreq);
    u32 power = 0;
    if (store->QueryDWORD(SlotValueName(SlotValue::LnbPower, i).c_str(), power))
      slot.lnbPower = power != 0 ? 1 : 0;
    std::string name;
    if (store->QueryString(SlotValueName(SlotValue::Satellite, i).c_str(), name))
      slot.satellite = name;
  }
  for (const ChannelValue& v : kChannelValues) ReadDWORD(*store, v.name, s.*v.field);
}

bool WriteSettings(const Settings& s, ValueStore& store) {
  bool ok = true;
  ok &= store.SetDWORD("disqmode", s.disqmode);
  ok &= store.SetDWORD("loglevel", s.loglevel);
  for (int i = 0; i < kLnbSlots; ++i) {
    const LnbSlot& slot = s.slots[static_cast<size_t>(i)];
    ok &= store.SetDWORD(SlotValueName(SlotValue::Lof1, i).c_str(), slot.lof1);
    ok &= store.SetDWORD(SlotValueName(SlotValue::Lof2, i).c_str(), slot.lof2);
    ok &= store.SetDWORD(SlotValueName(SlotValue::Switch, i).c_str(), slot.switchFreq);
    ok &= store.SetDWORD(SlotValueName(SlotValue::LnbPower, i).c_str(), slot.lnbPower == 1 ? 1 : 0);
    ok &= store.SetString(SlotValueName(SlotValue::Satellite, i).c_str(), slot.satellite);
  }
  for (const ChannelValue& v : kChannelValues) ok &= store.SetDWORD(v.name, s.*v.field);
  return ok;
}

std::string ClassKeyPath(std::string_view root, std::string_view clsidInBraces) {
  std::string path(root);
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += clsidInBraces;
  return path;
}

std::string DeviceKeyPath(std::string_view classKey, u32 index) {
  std::string path(classKey);
  path += '\\';
  path += std::to_string(index);
  return path;
}

std::optional<u32> UsableStoredDevice(bool stored, u32 value, int deviceCount) {
  if (!stored || value == kNoDevice || deviceCount <= 0) return std::nullopt;
  if (value >= static_cast<u32>(deviceCount)) return std::nullopt;
  return value;
}

std::optional<u32> AutomaticDeviceChoice(int deviceCount) {
  if (deviceCount <= 0) return kNoDevice;
  if (deviceCount == 1) return 0u;
  return std::nullopt;
}

u32 PickedDevice(int picked, int deviceCount) {
  return picked >= 0 && picked < deviceCount ? static_cast<u32>(picked) : 0u;
}

}  // namespace drvcore
