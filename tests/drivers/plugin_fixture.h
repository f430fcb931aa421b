#pragma once
// The fixture of the plug-in tests: COM for the program, every plug-in
// registered, a scratch registry root per test program, and one plug-in's
// simulated library reset to one satellite card before each test.
#include <comcat.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "orb_atl/bstr.h"
#include "plugin_support.h"
#include "win_ui.h"

namespace plugtest {

using orb::com::Bstr;
using orb::com::ComPtr;

inline std::wstring GuidText(const GUID& g) {
  wchar_t buffer[64] = {};
  StringFromGUID2(g, buffer, 64);
  return buffer;
}

inline std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// COM for the whole program (multithreaded, as the program uses it), and
// every plug-in registered once.
class ComEnvironment : public ::testing::Environment {
 public:
  ComEnvironment() {
    orb_test::KeepWindowsUnmanaged("drivers_plugin_tests.exe");
  }
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (const Plugin& p : Plugins()) ASSERT_EQ(Register(p, true), S_OK) << p.name;
  }
  void TearDown() override { CoUninitialize(); }

  static HRESULT Register(const Plugin& p, bool on) {
    HMODULE m = LoadLibraryW((ExeDir() + L"\\" + p.dll).c_str());
    if (!m) return HRESULT_FROM_WIN32(GetLastError());
    using Entry = HRESULT(__stdcall*)();
    auto f = reinterpret_cast<Entry>(reinterpret_cast<void*>(
        GetProcAddress(m, on ? "DllRegisterServer" : "DllUnregisterServer")));
    const HRESULT hr = f ? f() : E_FAIL;
    FreeLibrary(m);
    return hr;
  }
};

// One plug-in, a scratch registry root of this process, and the plug-in's
// simulated library reset to one satellite card.
class PluginTest : public ::testing::TestWithParam<Plugin> {
 protected:
  void SetUp() override {
    const Plugin& p = GetParam();
    vsim_ = std::make_unique<Vsim>(p.vendorDll);
    ASSERT_NE(vsim_->module, nullptr);
    ASSERT_NE(vsim_->Reset, nullptr);
    vsim_->Reset();
    vsim_->SetDevices("sat");
    base_ = "SOFTWARE\\Team Orbisect\\OrbisectTest" + std::to_string(GetCurrentProcessId());
    root_ = base_ + "\\drivers";
    classKey_ = root_ + "\\" + Narrow(GuidText(*p.clsid));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
  }
  void TearDown() override {
    driver_ = nullptr;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
    if (vsim_ && vsim_->Reset) vsim_->Reset();
  }

  void Create() {
    ASSERT_EQ(driver_.CoCreateInstance(*GetParam().clsid, CLSCTX_INPROC_SERVER), S_OK);
  }
  // Creates the object and runs Init; the result of Init.
  HRESULT CreateAndInit() {
    Create();
    if (!driver_) return E_UNEXPECTED;
    ComPtr<IDriverControl> control;
    EXPECT_EQ(driver_.As(control), S_OK);
    Bstr root(std::wstring(root_.begin(), root_.end()));
    Bstr allUsers(L"C:\\ProgramData\\Orbisect 3\\drivers");
    Bstr user(L"C:\\users\\test\\Orbisect 3\\drivers");
    return control->Init(root, allUsers, user);
  }
  void InitOk() {
    DialogWatcher watcher;
    ASSERT_EQ(CreateAndInit(), S_OK);
    ASSERT_TRUE(watcher.Windows().empty());
  }
  template <class I>
  ComPtr<I> Get() {
    ComPtr<I> i;
    EXPECT_EQ(driver_.As(i), S_OK);
    return i;
  }
  std::string DeviceKey(int index = 0) const { return classKey_ + "\\" + std::to_string(index); }

  // Tunes the satellite card to 19.2E 11836 H 27500 (DiSEqC mode 0, no list manager).
  void TuneSatellite() {
    SATDELIVERYDESC d{};
    d.frequency = 1183600;
    d.polarization = 0;
    d.symbol_rate = 275000;
    ASSERT_EQ(Get<ISetTuner>()->SetSatellite(0x1234, L"19.2E", &d), S_OK);
  }

  std::unique_ptr<Vsim> vsim_;
  std::string base_, root_, classKey_;
  ComPtr<IDvbDriver> driver_;
};

}  // namespace plugtest
