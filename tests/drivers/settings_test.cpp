// Settings defaults, registry value names and round trip, key paths and device choice.
#include "drvcore/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using namespace drvcore;

// A registry key in memory.
class MapStore : public ValueStore {
 public:
  bool QueryDWORD(const char* name, u32& value) override {
    value = 0;
    auto it = dwords.find(name);
    if (it == dwords.end()) return false;
    value = it->second;
    return true;
  }
  bool QueryString(const char* name, std::string& text) override {
    text.clear();
    auto it = strings.find(name);
    if (it == strings.end()) return false;
    text = it->second;
    return true;
  }
  bool SetDWORD(const char* name, u32 value) override {
    if (failWrites.count(name)) return false;
    dwords[name] = value;
    return true;
  }
  bool SetString(const char* name, const std::string& text) override {
    if (failWrites.count(name)) return false;
    strings[name] = text;
    return true;
  }
  std::map<std::string, u32> dwords;
  std::map<std::string, std::string> strings;
  std::set<std::string> failWrites;
};

TEST(Settings, Defaults) {
  Settings s;
  s.disqmode = 2;
  s.slots[2].satellite = "x";
  s.frontendType = 3;
  LoadSettings(s, nullptr);
  EXPECT_EQ(s.disqmode, 0u);
  EXPECT_EQ(s.loglevel, 0u);
  for (const LnbSlot& slot : s.slots) {
    EXPECT_EQ(slot.lof1, 9750000u);
    EXPECT_EQ(slot.lof2, 10600000u);
    EXPECT_EQ(slot.switchFreq, 11700000u);
    EXPECT_EQ(slot.lnbPower, 1u);
    EXPECT_TRUE(slot.satellite.empty());
  }
  EXPECT_EQ(s.frequency, 12322000u);
  EXPECT_EQ(s.inversion, 2u);
  EXPECT_EQ(s.symbolrate, 27800000u);
  EXPECT_EQ(s.lnbpower, 18u);
  EXPECT_EQ(s.viterbi, 0u);
  EXPECT_EQ(s.qam, 2u);
  EXPECT_EQ(s.bandwidth, 3u);
  EXPECT_EQ(s.scan, 0u);
  EXPECT_EQ(s.frontendType, 0u);
}

TEST(Settings, WritesEveryValueUnderItsName) {
  Settings s;
  s.disqmode = 2;
  s.loglevel = 4;
  for (int i = 0; i < kLnbSlots; ++i) {
    LnbSlot& slot = s.slots[static_cast<size_t>(i)];
    slot.lof1 = 1000u + static_cast<u32>(i);
    slot.lof2 = 2000u + static_cast<u32>(i);
    slot.switchFreq = 3000u + static_cast<u32>(i);
    slot.lnbPower = i % 2 ? 1 : 0;
    slot.satellite = "sat" + std::to_string(i + 1);
  }
  s.slots[3].lnbPower = 7;  // not 1: written as 0
  s.frequency = 11;
  s.inversion = 12;
  s.symbolrate = 13;
  s.lnbpower = 14;
  s.viterbi = 15;
  s.qam = 16;
  s.bandwidth = 17;
  s.scan = 18;
  MapStore store;
  EXPECT_TRUE(WriteSettings(s, store));
  EXPECT_EQ(store.dwords.size(), 2u + 4u * 4u + 8u);
  EXPECT_EQ(store.strings.size(), 4u);
  EXPECT_EQ(store.dwords["disqmode"], 2u);
  EXPECT_EQ(store.dwords["loglevel"], 4u);
  EXPECT_EQ(store.dwords["lfo1_1"], 1000u);
  EXPECT_EQ(store.dwords["lfo2_4"], 2003u);
  EXPECT_EQ(store.dwords["switch_2"], 3001u);
  EXPECT_EQ(store.dwords["lnbpower_3"], 0u);  // slot 3's own flag
  EXPECT_EQ(store.dwords["lnbpower_2"], 1u);
  EXPECT_EQ(store.dwords["lnbpower_4"], 0u);
  EXPECT_EQ(store.strings["satellite3"], "sat3");
  EXPECT_EQ(store.dwords["frequency"], 11u);
  EXPECT_EQ(store.dwords["inversion"], 12u);
  EXPECT_EQ(store.dwords["symbolrate"], 13u);
  EXPECT_EQ(store.dwords["lnbpower"], 14u);
  EXPECT_EQ(store.dwords["viterbi"], 15u);
  EXPECT_EQ(store.dwords["qam"], 16u);
  EXPECT_EQ(store.dwords["bandwidth"], 17u);
  EXPECT_EQ(store.dwords["scan"], 18u);

  // Round trip.
  Settings back;
  LoadSettings(back, &store);
  EXPECT_EQ(back.disqmode, 2u);
  EXPECT_EQ(back.loglevel, 4u);
  EXPECT_EQ(back.slots[1].lof1, 1001u);
  EXPECT_EQ(back.slots[3].satellite, "sat4");
  EXPECT_EQ(back.slots[3].lnbPower, 0u);
  EXPECT_EQ(back.scan, 18u);

  // A failed write is reported; the other values are still written.
  MapStore failing;
  failing.failWrites.insert("lfo1_2");
  EXPECT_FALSE(WriteSettings(s, failing));
  EXPECT_EQ(failing.dwords.count("lfo1_2"), 0u);
  EXPECT_EQ(failing.dwords["scan"], 18u);
}

TEST(Settings, MissingValuesKeepTheirDefaults) {
  MapStore store;
  store.dwords["lnbpower_2"] = 5;  // nonzero reads as 1
  store.dwords["lnbpower_1"] = 0;
  store.strings["satellite1"] = "Astra";
  store.strings["satellite2"] = "Hotbird";
  store.strings["satellite4"] = "Thor";
  store.dwords["switch_3"] = 11000000;
  Settings s;
  LoadSettings(s, &store);
  EXPECT_EQ(s.slots[0].lnbPower, 0u);
  EXPECT_EQ(s.slots[1].lnbPower, 1u);
  EXPECT_TRUE(s.slots[2].satellite.empty());  // missing "satellite3"
  EXPECT_EQ(s.slots[2].switchFreq, 11000000u);
  EXPECT_EQ(s.slots[3].satellite, "Thor");
  EXPECT_EQ(s.slots[2].lof1, 9750000u);
  EXPECT_EQ(s.frequency, 12322000u);
}

TEST(Settings, ValueNames) {
  EXPECT_EQ(SlotValueName(SlotValue::Lof1, 0), "lfo1_1");
  EXPECT_EQ(SlotValueName(SlotValue::Lof2, 3), "lfo2_4");
  EXPECT_EQ(SlotValueName(SlotValue::Switch, 1), "switch_2");
  EXPECT_EQ(SlotValueName(SlotValue::LnbPower, 2), "lnbpower_3");
  EXPECT_EQ(SlotValueName(SlotValue::Satellite, 2), "satellite3");
}

TEST(RegistryLayout, KeyPaths) {
  const std::string root = "SOFTWARE\\Team Orbisect\\Orbisect3\\drivers";
  const std::string clsid = "{5CAA6FEB-9E8F-4EE1-8E0A-72CBA45D46F3}";
  const std::string classKey = ClassKeyPath(root, clsid);
  EXPECT_EQ(classKey, root + "\\" + clsid);
  EXPECT_EQ(ClassKeyPath(root + "\\", clsid), classKey);
  EXPECT_EQ(DeviceKeyPath(classKey, 0), classKey + "\\0");
  EXPECT_EQ(DeviceKeyPath(classKey, 0xFFFF), classKey + "\\65535");
}

TEST(RegistryLayout, DeviceChoice) {
  EXPECT_EQ(UsableStoredDevice(true, 1, 2), std::optional<u32>(1));
  EXPECT_EQ(UsableStoredDevice(true, 0, 1), std::optional<u32>(0));
  EXPECT_EQ(UsableStoredDevice(false, 0, 1), std::nullopt);
  EXPECT_EQ(UsableStoredDevice(true, kNoDevice, 1), std::nullopt);  // "no card" is not a choice
  EXPECT_EQ(UsableStoredDevice(true, 2, 2), std::nullopt);          // past the cards present
  EXPECT_EQ(UsableStoredDevice(true, 0, 0), std::nullopt);

  EXPECT_EQ(AutomaticDeviceChoice(0), std::optional<u32>(kNoDevice));
  EXPECT_EQ(AutomaticDeviceChoice(1), std::optional<u32>(0));
  EXPECT_EQ(AutomaticDeviceChoice(2), std::nullopt);

  EXPECT_EQ(PickedDevice(1, 3), 1u);
  EXPECT_EQ(PickedDevice(-1, 3), 0u);
  EXPECT_EQ(PickedDevice(3, 3), 0u);
}

}  // namespace
