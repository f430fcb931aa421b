#pragma once
// The "SI Reading" dialog run modally on the test's thread while a second
// thread plays the user, for the tests that scan through the real plug-ins
// in their own process (a scan cancelled during its section request among
// them); and what those tests set up around it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "orb_app/SIReadingDlg.h"
#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "orb_store/si_store.h"
#include "plugin_support.h"
#include "satlistmgr.h"
#include "test_support.h"
#include "vsim/multiplex.h"
#include "vsim/world.h"
#include "win_ui.h"

namespace orb_test {

// The frame library's application object of a test program.
class CTestApp : public CWinApp {
 public:
  explicit CTestApp(const char* name) : CWinApp(name) {}
};

// The transport streams of a store, over all networks.
inline std::size_t StreamCount(const lib13818::NetworkMap& store) {
  std::size_t n = 0;
  for (const auto& network : store) n += network.second.transponders.size();
  return n;
}

// Scans wait for the tables' cycles: a bound of two minutes.
constexpr DWORD kScanBoundMs = 120000;

// Start (sent, not posted: the worker has started when this returns), then
// wait for the scan to end (the button reads "Start" and is enabled again).
inline bool StartAndWait(HWND dialog) {
  HWND start = ::GetDlgItem(dialog, 1011);
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1011, BN_CLICKED), reinterpret_cast<LPARAM>(start));
  return WaitFor([&] { return WindowText(start) == L"Start" && ::IsWindowEnabled(start); }, kScanBoundMs);
}

inline void SelectSatellite(HWND dialog, const wchar_t* name) {
  HWND combo = ::GetDlgItem(dialog, 1032);
  const LRESULT i = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
  ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

// Runs the dialog while `act` plays the user on its window.
inline INT_PTR RunReadingDialog(CSIReadingDlg& dlg, const std::function<void(HWND)>& act) {
  std::atomic<bool> done{false};
  std::thread user([&] {
    HWND dialog = nullptr;
    WaitFor(
        [&] {
          for (HWND h : Dialogs())
            if (WindowText(h) == L"SI Reading") dialog = h;
          return dialog != nullptr || done.load();
        },
        kScanBoundMs);
    if (dialog && !done) act(dialog);
    // A test that gave up half-way still ends the dialog (once its scan is over).
    WaitFor(
        [&] {
          if (done) return true;
          if (::IsWindowEnabled(::GetDlgItem(dialog, IDOK))) Press(dialog, IDOK);
          ::Sleep(100);
          return done.load();
        },
        kScanBoundMs);
  });
  const INT_PTR result = dlg.DoModal();
  done = true;
  user.join();
  return result;
}

// How a test cancels a scan: the Cancel button once the section request
// runs, Escape then, or the Cancel button pressed together with Start.
enum class CancelBy { Button, Escape, WithStart };

struct CancelRun {
  INT_PTR result = -2;
  double seconds = -1;      // from the cancel to "Start" enabled again
  bool requestRan = false;  // the request had its filters running at the cancel
};

// Runs the dialog: Start, then the cancel `how` (once `requestRunning`
// holds and half a second more, but for WithStart), then Close.
inline CancelRun CancelDuringRequest(CSIReadingDlg& dlg, CancelBy how, const std::function<bool()>& requestRunning) {
  CancelRun run;
  run.result = RunReadingDialog(dlg, [&](HWND dialog) {
    HWND start = ::GetDlgItem(dialog, 1011);
    Press(dialog, 1011);
    if (how != CancelBy::WithStart) {
      run.requestRan = WaitFor(requestRunning, kScanBoundMs);
      ::Sleep(500);
    }
    const ULONGLONG at = ::GetTickCount64();
    if (how == CancelBy::Escape)
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    else
      Press(dialog, 1011);
    if (WaitFor([&] { return WindowText(start) == L"Start" && ::IsWindowEnabled(start); }, kScanBoundMs))
      run.seconds = static_cast<double>(::GetTickCount64() - at) / 1000.0;
    Press(dialog, IDOK);
  });
  return run;
}

// A world of one transponder, "19.2E" 11836 H (tsid 0x0441 of network
// 0x0101), played from a capture of the generated multiplex without the
// packets of `droppedPid`, written into a fresh temporary folder `folder`.
inline std::string CaptureWorldWithout(std::uint16_t droppedPid, const wchar_t* folder) {
  const vsim::World world = vsim::DefaultWorld();
  auto generated = vsim::Multiplex::Generate(world, world.satellites[0].transponders[2],
                                             [] { return vsim::UtcInstant{2026, 12, 9, 7, 0, 0}; });
  const std::wstring path = TempFolder(folder) + L"\\capture.ts";
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::vector<std::uint8_t> stream;
  std::uint8_t packet[188];
  for (std::size_t i = 0; i < 2 * generated->PacketsPerCycle(); ++i) {
    generated->Next(packet);
    if (((packet[1] & 0x1F) << 8 | packet[2]) == droppedPid) continue;
    stream.insert(stream.end(), packet, packet + 188);
  }
  DWORD written = 0;
  ::WriteFile(f, stream.data(), static_cast<DWORD>(stream.size()), &written, nullptr);
  ::CloseHandle(f);
  return "network nid=0x0101 name=\"Captured\"\n"
         "satellite name=\"19.2E\" position=192 input=0\n"
         "transponder freq=11836000 pol=H sr=27500000 tsid=0x0441 nid=0x0101 ts=\"" +
         orb::app::Narrow(path) + "\"\n";
}

// A satellite of the default list selected, its transponder `index`
// replaced by a primary copy.
inline void MakePrimary(ISatListManager* list, const wchar_t* satelliteName, int index) {
  using orb::com::Bstr;
  using orb::com::ComPtr;
  ComPtr<ISatellite> satellite;
  Bstr name(satelliteName);
  ASSERT_EQ(list->FindSatellite(name, satellite.Put()), S_OK);
  ASSERT_EQ(satellite->SetSelected(TRUE), S_OK);
  ComPtr<IEnumTransponders> all;
  ASSERT_EQ(satellite->EnumTransponders(0, all.Put()), S_OK);
  for (int i = 0;; ++i) {
    ComPtr<ITransponder> t;
    ULONG fetched = 0;
    if (all->Next(1, t.Put(), &fetched) != S_OK) break;
    if (i != index) continue;
    long nid = 0, tsid = 0, pol = 0, fec = 0;
    ULONG f = 0, sr = 0;
    t->GetNetworkId(&nid);
    t->GetTransportStreamId(&tsid);
    t->GetFrequency(&f);
    t->GetSymbolRate(&sr);
    t->GetPolarization(&pol);
    t->GetFEC(&fec);
    ASSERT_EQ(satellite->DeleteTransponder(nid, tsid), S_OK);
    ComPtr<ITransponder> p;
    ASSERT_EQ(satellite->CreateTransponder(nid, tsid, p.Put()), S_OK);
    p->SetPrimary(1);
    p->SetFrequency(f);
    p->SetSymbolRate(sr);
    p->SetPolarization(pol);
    p->SetFEC(fec);
    ASSERT_EQ(satellite->AddTransponder(p), S_OK);
  }
  ASSERT_EQ(list->StoreSatellite(satellite), S_OK);
}

// A simulated card reset, with a satellite front end at
// ten times the usual packet rate (scans wait for the tables' cycles).
inline void PrepareSimulatedCard(plugtest::Vsim& vsim) {
  ASSERT_NE(vsim.Reset, nullptr);
  vsim.Reset();
  vsim.SetDevices("sat");
  auto rate = reinterpret_cast<void (*)(unsigned)>(
      reinterpret_cast<void*>(::GetProcAddress(vsim.module, "VsimSetPacketRate")));
  ASSERT_NE(rate, nullptr);
  rate(100000);
}

// What a scan test holds around the dialog: the simulated card, a scratch
// registry root for the driver's settings, the driver and the default
// satellite list.
class ScanWorld {
 protected:
  // The card of the library `vendorDll` prepared, the scratch root
  // `name` + process id made afresh, and the default satellite list.
  void SetUpWorld(const char* vendorDll, const std::string& name) {
    vsim_ = std::make_unique<plugtest::Vsim>(vendorDll);
    PrepareSimulatedCard(*vsim_);
    if (::testing::Test::HasFatalFailure()) return;
    base_ = "SOFTWARE\\Team Orbisect\\" + name + std::to_string(::GetCurrentProcessId());
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
    ASSERT_EQ(satList_.CoCreateInstance(CLSID_SatListManager, CLSCTX_INPROC_SERVER), S_OK);
    ASSERT_EQ(orb::app::FillDefaultSatList(satList_), S_OK);
  }
  // Lets go of the driver and the list, removes the scratch root and the
  // table choice, and resets the card.
  void TearDownWorld() {
    driver_ = nullptr;
    satList_ = nullptr;
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
    DeleteValue(L"SOFTWARE\\Team Orbisect\\Orbisect3", L"sitables");
    if (vsim_ && vsim_->Reset) vsim_->Reset();
  }

  // Creates the plug-in `clsid` and starts it on the scratch root and the
  // satellite list, set for DiSEqC 1.0 with "Astra 19E" on A/A and
  // "Hotbird 13E" on position B (in the key of device 0 when
  // `deviceSubkey`).
  void StartDriver(const CLSID& clsid, bool deviceSubkey) {
    driver_ = nullptr;
    const std::string classKey = base_ + "\\drivers\\" + orb::app::GuidToRegistryString(clsid);
    const std::string settings = deviceSubkey ? classKey + "\\0" : classKey;
    if (deviceSubkey) plugtest::WriteDword(classKey, "device", 0);
    plugtest::WriteDword(settings, "disqmode", 2);
    plugtest::WriteString(settings, "satellite1", "Astra 19E");
    plugtest::WriteString(settings, "satellite3", "Hotbird 13E");
    ASSERT_EQ(driver_.CoCreateInstance(clsid, CLSCTX_INPROC_SERVER), S_OK);
    orb::com::ComPtr<IDriverControl> control;
    ASSERT_EQ(driver_.As(control), S_OK);
    const std::string root = base_ + "\\drivers";
    orb::com::Bstr rootText(std::wstring(root.begin(), root.end()));
    orb::com::Bstr user(L"C:\\users\\test\\Orbisect 3\\drivers");
    orb::com::Bstr allUsers(L"C:\\ProgramData\\Orbisect 3\\drivers");
    ASSERT_EQ(control->Init(rootText, allUsers, user), S_OK);
    ASSERT_EQ(control->SetSatListMgr(satList_), S_OK);
  }

  // Tunes the driver as the user did before the scan (27.5 MS/s); `why`
  // tells more when it fails.
  void Tune(const wchar_t* satellite, ULONG frequency, BYTE polarization,
            const std::function<std::string()>& why = {}) {
    orb::com::ComPtr<ISetTuner> tuner;
    ASSERT_EQ(driver_.As(tuner), S_OK);
    SATDELIVERYDESC d{};
    d.frequency = frequency;
    d.polarization = polarization;
    d.symbol_rate = 275000;
    ASSERT_EQ(tuner->SetSatellite(0, satellite, &d), S_OK) << (why ? why() : std::string());
  }

  std::unique_ptr<plugtest::Vsim> vsim_;
  std::string base_;
  orb::com::ComPtr<IDvbDriver> driver_;
  orb::com::ComPtr<ISatListManager> satList_;
};

// The environment of a test program that runs the dialog: its windows
// unmanaged, the frame library and COM set up, the satellite list manager
// registered from its copy beside the test.
inline void SetUpReadingDialogProgram(const char* exeName) {
  KeepWindowsUnmanaged(exeName);
  ASSERT_TRUE(AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW));
  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  ASSERT_TRUE(RegisterServerBeside(L"orbsatlist.dll"));
}

}  // namespace orb_test
