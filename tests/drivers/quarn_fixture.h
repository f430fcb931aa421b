#pragma once
// The fixture of the Quarn tests: the simulated filters' hooks, registry
// helpers, and one Quarn driver per test with a scratch registry root,
// checked afterwards for threads and filters left behind.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "contract/driver_contract.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "plugin_support.h"
#include "quarn.h"
#include "quarnsim/hooks.h"

namespace quarntest {

using orb::com::Bstr;
using orb::com::ComPtr;

using plugtest::ExeDir;

// The build tree's simulated filter library (registered by the test program).
inline QsimHooks& Sim() {
  static QsimHooks hooks(ORB_QUARNSIM_PATH);
  return hooks;
}

inline const std::string kClassKeyName = "{6DD38335-5AA5-4105-84FD-EFDCCE40A41A}";

inline bool ReadDword(const std::string& key, const char* name, DWORD& value) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  DWORD size = sizeof value, type = 0;
  const bool ok = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS;
  RegCloseKey(k);
  return ok;
}

inline void WriteDword(const std::string& key, const char* name, DWORD value) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(k);
}

inline void WriteString(const std::string& key, const char* name, const std::string& value) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
}

class QuarnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Sim().Reset();
    base_ = "SOFTWARE\\Team Orbisect\\QuarnTest" + std::to_string(GetCurrentProcessId());
    root_ = base_ + "\\drivers";
    classKey_ = root_ + "\\" + kClassKeyName;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
    ASSERT_EQ(CoCreateInstance(CLSID_quarndev, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDvbDriver),
                               driver_.PutVoid()),
              S_OK);
  }
  void TearDown() override {
    driver_ = nullptr;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
    EXPECT_EQ(Sim().RunningStreams(), 0);
    EXPECT_EQ(Sim().LiveFilters(), 0);  // the graph went with the driver
  }

  template <class I>
  ComPtr<I> Get() {
    ComPtr<I> p;
    EXPECT_EQ(driver_->QueryInterface(__uuidof(I), p.PutVoid()), S_OK);
    return p;
  }

  HRESULT Init() {
    Bstr root(std::wstring(root_.begin(), root_.end()).c_str());
    Bstr all(L"C:\\ProgramData\\drivers"), user(L"C:\\users\\drivers");
    return Get<IDriverControl>()->Init(root.Get(), all.Get(), user.Get());
  }

  // Two satellites behind a DiSEqC 1.0 switch, as the default world has them.
  // Two satellites as the default world has them: 19.2E on input A, 13.0E
  // on position B (DiSEqC 1.0 "B/A", the third slot; tone burst B, the
  // second slot).
  void ConfigureDish(DWORD mode = 2) {
    WriteDword(classKey_, "disqmode", mode);
    WriteDword(classKey_, "loglevel", 4);
    WriteString(classKey_, "satellite1", "19.2E");
    WriteString(classKey_, mode == 1 ? "satellite2" : "satellite3", "13.0E");
  }

  HRESULT TuneSatellite(const wchar_t* name, uint32_t frequency10kHz, uint8_t polarization, uint32_t sr100) {
    SATDELIVERYDESC d{};
    d.frequency = frequency10kHz;
    d.polarization = polarization;
    d.symbol_rate = sr100;
    return Get<ISetTuner>()->SetSatellite(0, name, &d);
  }

  QSIM_TUNE LastTune() { return Sim().LastTune(); }

  std::string base_, root_, classKey_;
  ComPtr<IDvbDriver> driver_;
};

}  // namespace quarntest
