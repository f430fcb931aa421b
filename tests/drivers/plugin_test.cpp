// The vendor-library plug-ins (Corvane, Belvane, Ustrel) as the program
// meets them: registered as COM servers under the drivers category, created
// through COM, and driven through the six contract interfaces against the
// simulated cards.
#include <comcat.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "lib13818/section.h"
#include "plugin_fixture.h"
#include "win_process.h"

namespace {

using namespace plugtest;
using orb::com::Bstr;
using orb::com::ComPtr;

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

INSTANTIATE_TEST_SUITE_P(Plugins, PluginTest, ::testing::ValuesIn(plugtest::Plugins()),
                         [](const ::testing::TestParamInfo<Plugin>& i) { return std::string(i.param.name); });

// ---- COM server -------------------------------------------------------------

// Helper programs (regsvr32, orb-tsdump) are started the way these tests
// start them: a start that fails under load is tried again a bounded number
// of times, and a program that does not end in time is ended.
TEST(HelperProgram, AFailedStartIsTriedAgainAndThenRuns) {
  int calls = 0;
  const orb_test::ProcessRun run = orb_test::RunProcess(
      L"cmd.exe /c exit 3", 30000, CREATE_NO_WINDOW, 6, 1,
      [&](std::wstring& line, DWORD flags, PROCESS_INFORMATION& pi) {
        if (++calls <= 2) {
          SetLastError(ERROR_NOT_ENOUGH_MEMORY);
          return FALSE;
        }
        return orb_test::StartWithCreateProcess(line, flags, pi);
      });
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(run.attempts, 3);
  ASSERT_TRUE(run.started);
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 3u);
  EXPECT_FALSE(run.Ok());
}

TEST(HelperProgram, StartsThatAlwaysFailEndAfterTheBoundedAttempts) {
  int calls = 0;
  const orb_test::ProcessRun run = orb_test::RunProcess(
      L"nothing.exe", 30000, 0, 4, 1, [&](std::wstring&, DWORD, PROCESS_INFORMATION&) {
        ++calls;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
      });
  EXPECT_EQ(calls, 4);
  EXPECT_FALSE(run.started);
  EXPECT_FALSE(run.Ok());
  EXPECT_EQ(run.startError, static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_NE(run.Describe().find("could not be started after 4 attempts"), std::string::npos) << run.Describe();
}

TEST(HelperProgram, AProgramThatDoesNotEndInTimeIsEnded) {
  HANDLE child = nullptr;
  const orb_test::ProcessRun run = orb_test::RunProcess(
      L"cmd.exe /c exit 0", 200, CREATE_SUSPENDED | CREATE_NO_WINDOW, 1, 1,
      [&](std::wstring& line, DWORD flags, PROCESS_INFORMATION& pi) {
        const BOOL ok = orb_test::StartWithCreateProcess(line, flags, pi);
        if (ok) DuplicateHandle(GetCurrentProcess(), pi.hProcess, GetCurrentProcess(), &child, SYNCHRONIZE, FALSE, 0);
        return ok;
      });
  ASSERT_TRUE(run.started);
  EXPECT_FALSE(run.finished);
  EXPECT_FALSE(run.Ok());
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(WaitForSingleObject(child, 10000), WAIT_OBJECT_0);  // not left running
  CloseHandle(child);
}

TEST_P(PluginTest, RegistersAndUnregistersWithRegsvr32) {
  const Plugin& p = GetParam();
  const std::wstring clsid = GuidText(*p.clsid);
  const std::wstring path = plugtest::ExeDir() + L"\\" + p.dll;
  auto regsvr32 = [&](const wchar_t* options) {
    return orb_test::RunProcess(L"regsvr32.exe " + std::wstring(options) + L" \"" + path + L"\"");
  };

  orb_test::ProcessRun run = regsvr32(L"/s");
  ASSERT_TRUE(run.Ok()) << "regsvr32 /s: " << run.Describe();
  run = regsvr32(L"/s");  // twice: still one set of keys
  ASSERT_TRUE(run.Ok()) << "regsvr32 /s: " << run.Describe();
  const std::wstring key = L"CLSID\\" + clsid;
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, key), p.description);
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, key + L"\\ProgID"), p.progId);
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, key + L"\\VersionIndependentProgID"), p.viProgId);
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, key + L"\\TypeLib"), GuidText(*p.libId));
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", L"ThreadingModel"), L"Both");
  std::wstring server = ReadDefaultValue(HKEY_CLASSES_ROOT, key + L"\\InprocServer32");
  EXPECT_NE(server.find(p.dll), std::wstring::npos) << Narrow(server);
  EXPECT_TRUE(plugtest::KeyExists(HKEY_CLASSES_ROOT,
                                  key + L"\\Implemented Categories\\" + GuidText(CATID_DvbDrivers)));
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, p.progId), p.description);
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, std::wstring(p.progId) + L"\\CLSID"), clsid);
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, std::wstring(p.viProgId) + L"\\CurVer"), p.progId);
  EXPECT_EQ(ReadDefaultValue(HKEY_CLASSES_ROOT, std::wstring(p.viProgId) + L"\\CLSID"), clsid);
  // The type library is registered and loads.
  ComPtr<ITypeLib> lib;
  EXPECT_EQ(LoadRegTypeLib(*p.libId, 1, 0, 0, lib.Put()), S_OK);

  run = regsvr32(L"/u /s");
  ASSERT_TRUE(run.Ok()) << "regsvr32 /u /s: " << run.Describe();
  EXPECT_FALSE(plugtest::KeyExists(HKEY_CLASSES_ROOT, key));
  EXPECT_FALSE(plugtest::KeyExists(HKEY_CLASSES_ROOT, p.progId));
  EXPECT_FALSE(plugtest::KeyExists(HKEY_CLASSES_ROOT, p.viProgId));
  ComPtr<IDvbDriver> none;
  EXPECT_NE(none.CoCreateInstance(*p.clsid, CLSCTX_INPROC_SERVER), S_OK);

  ASSERT_EQ(ComEnvironment::Register(p, true), S_OK);  // for the tests after this one
}

TEST_P(PluginTest, IsCreatedThroughTheCategoryWithAllInterfaces) {
  const Plugin& p = GetParam();
  ComPtr<ICatInformation> cats;
  ASSERT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                             IID_ICatInformation, cats.PutVoid()),
            S_OK);
  ComPtr<IEnumCLSID> classes;
  CATID cat = CATID_DvbDrivers;
  ASSERT_EQ(cats->EnumClassesOfCategories(1, &cat, 0, nullptr, classes.Put()), S_OK);
  bool listed = false;
  CLSID c;
  while (classes->Next(1, &c, nullptr) == S_OK) listed |= IsEqualCLSID(c, *p.clsid) != 0;
  ASSERT_TRUE(listed);

  ComPtr<IDvbDriver> drv;
  ASSERT_EQ(CoCreateInstance(*p.clsid, nullptr, 0x17, IID_IDvbDriver, drv.PutVoid()), S_OK);
  Bstr name;
  ASSERT_EQ(drv->GetDriverName(name.Put()), S_OK);  // needs no Init
  EXPECT_EQ(name.Str(), p.driverName);
  EXPECT_EQ(drv->GetDriverName(nullptr), E_POINTER);

  ComPtr<IUnknown> unk;
  ASSERT_EQ(drv.As(unk), S_OK);
  ComPtr<IUnknown> own;
  EXPECT_EQ(drv->QueryInterface(*p.ownInterface, own.PutVoid()), S_OK);
  ComPtr<ISetTuner> tuner;
  ASSERT_EQ(drv.As(tuner), S_OK);
  EXPECT_TRUE(orb::com::SameObject(tuner.Get(), drv.Get()));
  ComPtr<IDriverControl> control;
  ComPtr<IDriverDialogs> dialogs;
  ComPtr<IDriverStatus> status;
  ComPtr<ISectionReader> reader;
  EXPECT_EQ(drv.As(control), S_OK);
  EXPECT_EQ(drv.As(dialogs), S_OK);
  EXPECT_EQ(drv.As(status), S_OK);
  EXPECT_EQ(drv.As(reader), S_OK);
  ComPtr<ISupportErrorInfo> errorInfo;
  EXPECT_EQ(drv.As(errorInfo) == S_OK, p.errorInfo);
  if (errorInfo) {
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(*p.ownInterface), S_OK);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_ISetTuner), S_FALSE);
  }
  ComPtr<IDispatch> dispatch;
  EXPECT_EQ(drv.As(dispatch), E_NOINTERFACE);

  // Reserved slots; methods that need Init refuse without it.
  EXPECT_EQ(status->Reserved1(0), E_FAIL);
  EXPECT_EQ(status->Reserved2(0), E_FAIL);
  EXPECT_EQ(reader->Reserved1(0, 0, 0, 0), E_FAIL);
  EXPECT_EQ(reader->Reserved2(0, 0, 0, 0), E_FAIL);
  BOOL locked = 7;
  EXPECT_EQ(status->GetLockState(&locked), E_FAIL);
  EXPECT_EQ(locked, 7);
  short type = 9;
  EXPECT_EQ(control->GetDeliveryType(&type), S_OK);
  EXPECT_EQ(type, DELIVERY_UNKNOWN);
  EXPECT_EQ(control->GetDeliveryType(nullptr), E_POINTER);
  EXPECT_EQ(control->SetSatListMgr(nullptr), E_POINTER);
  EXPECT_EQ(control->SaveSettings(), S_OK);
}

TEST_P(PluginTest, ServesItsOneClassAndCountsItsObjects) {
  const Plugin& p = GetParam();
  HMODULE dll = LoadLibraryW((plugtest::ExeDir() + L"\\" + p.dll).c_str());
  ASSERT_NE(dll, nullptr);
  using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  using CanUnloadFn = HRESULT(WINAPI*)();
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  auto canUnload =
      reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
  ASSERT_NE(getClassObject, nullptr);
  ASSERT_NE(canUnload, nullptr);

  ComPtr<IClassFactory> factory;
  EXPECT_EQ(getClassObject(CLSID_StdComponentCategoriesMgr, IID_IClassFactory, factory.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(canUnload(), S_OK);
  ASSERT_EQ(getClassObject(*p.clsid, IID_IClassFactory, factory.PutVoid()), S_OK);
  ComPtr<IDvbDriver> first, second;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDvbDriver, first.PutVoid()), S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDvbDriver, second.PutVoid()), S_OK);
  EXPECT_FALSE(orb::com::SameObject(first.Get(), second.Get()));  // a new driver each time
  ComPtr<IUnknown> inner;
  EXPECT_EQ(factory->CreateInstance(first.Get(), IID_IUnknown, inner.PutVoid()), CLASS_E_NOAGGREGATION);
  factory = nullptr;
  first = nullptr;
  EXPECT_EQ(canUnload(), S_FALSE);  // one object still alive
  second = nullptr;
  EXPECT_EQ(canUnload(), S_OK);
  FreeLibrary(dll);
}

// ---- Init, device choice and settings ----------------------------------------

TEST_P(PluginTest, FirstStartWithOneCard) {
  WriteDword(DeviceKey(), "loglevel", 4);
  InitOk();
  DWORD device = 99;
  ASSERT_TRUE(plugtest::ReadDword(classKey_, "device", device));
  EXPECT_EQ(device, 0u);
  short type = 0;
  ASSERT_EQ(Get<IDriverControl>()->GetDeliveryType(&type), S_OK);
  EXPECT_EQ(type, DELIVERY_SATELLITE);

  // The plug-in's log beside it, named after it.
  const std::wstring dll = GetParam().dll;
  const std::wstring log = plugtest::ExeDir() + L"\\" + dll.substr(0, dll.size() - 3) + L"txt";
  std::ifstream in(Narrow(log));
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("starting TT driver"), std::string::npos) << Narrow(log);

  // The family's start-up reached the card.
  const std::string trace = vsim_->Trace();
  EXPECT_NE(trace.find("OpenDevice 0 -> ok"), std::string::npos) << trace;
  EXPECT_NE(trace.find("FrontendInit -> ok"), std::string::npos) << trace;
  if (std::string(GetParam().name) == "corvane") {
    EXPECT_NE(trace.find("\\Boot\\new\\ -> ok"), std::string::npos) << trace;
  }
  if (std::string(GetParam().name) == "ustrel") {
    EXPECT_NE(trace.find("\\Boot\\dsp_usb.bin -> ok"), std::string::npos) << trace;
    EXPECT_NE(trace.find("EnableIsoStream bw=0 on=1 packets=8 -> ok"), std::string::npos) << trace;
  } else {
    EXPECT_NE(trace.find("EnableDataDMA 1 -> ok"), std::string::npos) << trace;
  }
}

TEST_P(PluginTest, NoCardFailsWithTheOpenDeviceMessage) {
  vsim_->SetDevices("");
  DialogWatcher watcher;
  EXPECT_EQ(CreateAndInit(), E_FAIL);
  const auto seen = watcher.Windows();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "CDVBCommon::OpenDevice not successful.");
  DWORD device = 0;
  ASSERT_TRUE(plugtest::ReadDword(classKey_, "device", device));
  EXPECT_EQ(device, 0xFFFFu);
  // A failed Init leaves the methods that need the card refusing.
  BOOL locked = FALSE;
  EXPECT_EQ(Get<IDriverStatus>()->GetLockState(&locked), E_FAIL);
  SectionFilterSpec spec{};
  SectionResult result{};
  EXPECT_EQ(Get<ISectionReader>()->GetSections(1, &spec, 1, &result), E_FAIL);
  EXPECT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  EXPECT_FALSE(plugtest::KeyExists(HKEY_LOCAL_MACHINE, std::wstring(classKey_.begin(), classKey_.end()) + L"\\65535"));
}

TEST_P(PluginTest, StoredDeviceThatIsNotThereIsChosenAgain) {
  // "No card" stored at an earlier start, a card present now.
  WriteDword(classKey_, "device", 0xFFFF);
  InitOk();
  DWORD device = 99;
  ASSERT_TRUE(plugtest::ReadDword(classKey_, "device", device));
  EXPECT_EQ(device, 0u);
  driver_ = nullptr;
  vsim_->Reset();
  vsim_->SetDevices("sat");
  // A card index past the cards present.
  WriteDword(classKey_, "device", 3);
  InitOk();
  ASSERT_TRUE(plugtest::ReadDword(classKey_, "device", device));
  EXPECT_EQ(device, 0u);
}

TEST_P(PluginTest, TwoCardsAskOnceThenUseTheStoredCard) {
  vsim_->SetDevices("cable,sat");
  {
    DialogWatcher watcher([](HWND w, const DialogWatcher::Seen&) {
      SendMessageA(GetDlgItem(w, 214), CB_SETCURSEL, 1, 0);
      return IDOK;
    });
    ASSERT_EQ(CreateAndInit(), S_OK);
    const auto seen = watcher.Windows();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Select device");
    EXPECT_EQ(seen[0].listItems, 2);
  }
  DWORD device = 99;
  ASSERT_TRUE(plugtest::ReadDword(classKey_, "device", device));
  EXPECT_EQ(device, 1u);
  short type = 0;
  Get<IDriverControl>()->GetDeliveryType(&type);
  EXPECT_EQ(type, DELIVERY_SATELLITE);  // the second card
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  DWORD qam = 0;
  EXPECT_TRUE(plugtest::ReadDword(DeviceKey(1), "qam", qam));

  // Stored now: no dialog.
  driver_ = nullptr;
  vsim_->Reset();
  vsim_->SetDevices("cable,sat");
  InitOk();

  // Cancel leads to the first card.
  driver_ = nullptr;
  vsim_->Reset();
  vsim_->SetDevices("cable,sat");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
  {
    DialogWatcher watcher([](HWND w, const DialogWatcher::Seen&) {
      SendMessageA(GetDlgItem(w, 214), CB_SETCURSEL, 1, 0);
      return IDCANCEL;
    });
    ASSERT_EQ(CreateAndInit(), S_OK);
    EXPECT_EQ(watcher.Windows().size(), 1u);
  }
  ASSERT_TRUE(plugtest::ReadDword(classKey_, "device", device));
  EXPECT_EQ(device, 0u);
  Get<IDriverControl>()->GetDeliveryType(&type);
  EXPECT_EQ(type, DELIVERY_CABLE);
}

TEST_P(PluginTest, SelectDeviceListsEveryCardAndStartsOnTheFirst) {
  const Plugin& p = GetParam();
  // The dialog is the plug-in's own resource, tagged Danish like its other dialogs.
  HMODULE dll = LoadLibraryW((plugtest::ExeDir() + L"\\" + p.dll).c_str());
  ASSERT_NE(dll, nullptr);
  EXPECT_NE(FindResourceExW(dll, RT_DIALOG, MAKEINTRESOURCEW(p.selectDeviceDialog),
                            MAKELANGID(LANG_DANISH, SUBLANG_DEFAULT)),
            nullptr);
  FreeLibrary(dll);

  // Three cards; OK on the list as it comes up takes the first.
  vsim_->SetDevices("sat,cable,terr");
  {
    DialogWatcher watcher([](HWND w, const DialogWatcher::Seen&) {
      // OK and Cancel are the dialog's own buttons.
      return GetDlgItem(w, IDOK) && GetDlgItem(w, IDCANCEL) ? IDOK : IDABORT;
    });
    ASSERT_EQ(CreateAndInit(), S_OK);
    const auto seen = watcher.Windows();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Select device");
    EXPECT_EQ(seen[0].listTexts, (std::vector<std::string>{"Card 1", "Card 2", "Card 3"}));
    EXPECT_EQ(seen[0].listSelection, 0);
  }
  DWORD device = 99;
  ASSERT_TRUE(plugtest::ReadDword(classKey_, "device", device));
  EXPECT_EQ(device, 0u);
  short type = 0;
  Get<IDriverControl>()->GetDeliveryType(&type);
  EXPECT_EQ(type, DELIVERY_SATELLITE);

  // The last card: its settings live under its own index.
  driver_ = nullptr;
  vsim_->Reset();
  vsim_->SetDevices("sat,cable,terr");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
  {
    DialogWatcher watcher([](HWND w, const DialogWatcher::Seen&) {
      SendMessageA(GetDlgItem(w, 214), CB_SETCURSEL, 2, 0);
      return IDOK;
    });
    ASSERT_EQ(CreateAndInit(), S_OK);
    EXPECT_EQ(watcher.Windows().size(), 1u);
  }
  ASSERT_TRUE(plugtest::ReadDword(classKey_, "device", device));
  EXPECT_EQ(device, 2u);
  Get<IDriverControl>()->GetDeliveryType(&type);
  EXPECT_EQ(type, DELIVERY_TERRESTRIAL);
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  DWORD bandwidth = 0;
  EXPECT_TRUE(plugtest::ReadDword(DeviceKey(2), "bandwidth", bandwidth));
  EXPECT_FALSE(plugtest::ReadDword(DeviceKey(0), "bandwidth", bandwidth));
}

struct InitFailure {
  const char* plugin;  // null: every plug-in
  const char* call;
  const char* message;
  bool fatal;
};

TEST_P(PluginTest, FailedStartUpStepsShowTheirMessage) {
  const InitFailure failures[] = {
      {nullptr, "FrontendInit", "Frontend.Init not successful.", true},
      {"corvane", "BootARMnew", "BoardControl.BootARMnew(new) not successful.", true},
      {"corvane", "GetBEVersion", "Could not get BE-Version!", true},
      {"corvane", "EnableDataDMA", "BoardControl.EnableDataDMA not successful.", true},
      {"belvane", "EnableDataDMA", "BoardControl.EnableDataDMA not successful.", true},
      {"ustrel", "BootDSP", "BoardControl.BootDSP not successful.", false},
      {"ustrel", "EnableIsoStream", "BoardControl.EnableIsoStream not successful.", false},
  };
  for (const InitFailure& f : failures) {
    if (f.plugin && std::string(f.plugin) != GetParam().name) continue;
    SCOPED_TRACE(f.call);
    driver_ = nullptr;
    vsim_->Reset();
    vsim_->SetDevices("sat");
    vsim_->FailCall(f.call, 1);
    DialogWatcher watcher;
    EXPECT_EQ(CreateAndInit(), f.fatal ? E_FAIL : S_OK);
    const auto seen = watcher.Windows();
    // A failed step that is only a warning may make a later step fail too.
    ASSERT_EQ(f.fatal ? seen.size() : std::min<size_t>(seen.size(), 1), 1u);
    EXPECT_EQ(seen[0].text, f.message);
  }
}

TEST_P(PluginTest, SettingsDefaultsAndRoundTrip) {
  InitOk();
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  const std::string key = DeviceKey();
  DWORD v = 0;
  std::string s = "x";
  struct Expect {
    const char* name;
    DWORD value;
  };
  const Expect defaults[] = {{"disqmode", 0},      {"loglevel", 0},      {"lfo1_1", 9750000},
                             {"lfo2_2", 10600000}, {"switch_3", 11700000}, {"lnbpower_4", 1},
                             {"frequency", 12322000}, {"inversion", 2},  {"symbolrate", 27800000},
                             {"lnbpower", 18},     {"viterbi", 0},       {"qam", 2},
                             {"bandwidth", 3},     {"scan", 0}};
  for (const Expect& e : defaults) {
    ASSERT_TRUE(plugtest::ReadDword(key, e.name, v)) << e.name;
    EXPECT_EQ(v, e.value) << e.name;
  }
  ASSERT_TRUE(plugtest::ReadString(key, "satellite2", s));
  EXPECT_EQ(s, "");

  // Values written by hand come back through Init and SaveSettings; a
  // missing "satellite3" stays empty and the others are still read.
  driver_ = nullptr;
  vsim_->Reset();
  vsim_->SetDevices("sat");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
  WriteDword(classKey_, "device", 0);
  WriteDword(key, "disqmode", 2);
  WriteString(key, "satellite1", "Astra 19.2E");
  WriteString(key, "satellite4", "Thor");
  WriteDword(key, "lnbpower_3", 0);
  WriteDword(key, "lnbpower_4", 5);
  WriteDword(key, "lfo1_2", 5150000);
  WriteDword(key, "symbolrate", 22000000);
  InitOk();
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  ASSERT_TRUE(plugtest::ReadDword(key, "disqmode", v));
  EXPECT_EQ(v, 2u);
  ASSERT_TRUE(plugtest::ReadString(key, "satellite1", s));
  EXPECT_EQ(s, "Astra 19.2E");
  ASSERT_TRUE(plugtest::ReadString(key, "satellite3", s));
  EXPECT_EQ(s, "");
  ASSERT_TRUE(plugtest::ReadString(key, "satellite4", s));
  EXPECT_EQ(s, "Thor");
  ASSERT_TRUE(plugtest::ReadDword(key, "lnbpower_3", v));
  EXPECT_EQ(v, 0u);
  ASSERT_TRUE(plugtest::ReadDword(key, "lnbpower_4", v));
  EXPECT_EQ(v, 1u);
  ASSERT_TRUE(plugtest::ReadDword(key, "lfo1_2", v));
  EXPECT_EQ(v, 5150000u);
  ASSERT_TRUE(plugtest::ReadDword(key, "symbolrate", v));
  EXPECT_EQ(v, 22000000u);
}

// ---- Status ----------------------------------------------------------------------

TEST_P(PluginTest, LockStateAndSignalText) {
  InitOk();
  auto status = Get<IDriverStatus>();
  BOOL locked = TRUE;
  ASSERT_EQ(status->GetLockState(&locked), S_OK);
  EXPECT_FALSE(locked);
  Bstr text;
  ASSERT_EQ(status->GetSignalText(text.Put()), S_OK);
  EXPECT_EQ(text.Str(), L"NO SIGNAL");
  TuneSatellite();
  ASSERT_EQ(status->GetLockState(&locked), S_OK);
  EXPECT_TRUE(locked);
  ASSERT_EQ(status->GetSignalText(text.Put()), S_OK);
  EXPECT_EQ(text.Str(), L"SIGNAL LOCKED");

  // A failing front end query: E_FAIL, out-parameters untouched.
  vsim_->FailCall("GetState", 2);
  locked = 5;
  EXPECT_EQ(status->GetLockState(&locked), E_FAIL);
  EXPECT_EQ(locked, 5);
  BSTR none = nullptr;
  EXPECT_EQ(status->GetSignalText(&none), E_FAIL);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(status->GetLockState(nullptr), E_POINTER);
  EXPECT_EQ(status->GetSignalText(nullptr), E_POINTER);
}

TEST_P(PluginTest, DialogsNeedAnInitialisedDriver) {
  Create();
  auto dialogs = Get<IDriverDialogs>();
  DialogWatcher watcher;
  EXPECT_EQ(dialogs->ShowTuningDialog(nullptr), E_FAIL);
  EXPECT_EQ(dialogs->ShowConfiguration(nullptr), E_FAIL);
  EXPECT_EQ(dialogs->ShowStreaming(nullptr), E_FAIL);
  EXPECT_TRUE(watcher.Windows().empty());
}

}  // namespace
