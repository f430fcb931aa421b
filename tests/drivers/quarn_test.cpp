// The Quarn plug-in through COM under Wine, over the simulated card maker's
// filters in Wine's filter graph: registration and creation by category,
// Init and its failures, settings in the class key, satellite / cable /
// terrestrial tuning with lock state and signal text, and section reading
// in batches with the collection modes, time-out and cancel, each leaving
// nothing running and no filter of a batch behind.
#include <windows.h>
#include <comcat.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "contract/driver_contract.h"
#include "lib13818/section.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "quarn.h"
#include "quarn_fixture.h"
#include "section_results.h"
#include "win_process.h"
#include "win_ui.h"

namespace {

using namespace quarntest;


HRESULT CallEntry(const wchar_t* dll, const char* entry) {
  HMODULE m = LoadLibraryW((ExeDir() + L"\\" + dll).c_str());
  if (!m) return HRESULT_FROM_WIN32(GetLastError());
  using Entry = HRESULT(__stdcall*)();
  auto f = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(m, entry)));
  const HRESULT hr = f ? f() : E_FAIL;
  FreeLibrary(m);
  return hr;
}


class ComEnvironment : public ::testing::Environment {
 public:
  ComEnvironment() {
    orb_test::KeepWindowsUnmanaged("drivers_quarn_tests.exe");
  }
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_NE(Sim().module, nullptr) << Sim().windowsPath;
    ASSERT_NE(Sim().Reset, nullptr);
    ASSERT_EQ(Sim().Register(), S_OK);
    ASSERT_EQ(CallEntry(L"quarn.dll", "DllRegisterServer"), S_OK);
  }
  void TearDown() override { CoUninitialize(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

using plugtest::CheckAndFree;
using plugtest::ExpectTimeoutEndsTheCaptureMissingASection;
using plugtest::ExpectEitSentAtDifferentRatesCollected;
using plugtest::WriteCaptureMissingASection;
using plugtest::Spec;

std::wstring DefaultValue(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return L"(none)";
  return value;
}

orb_test::ProcessRun Regsvr32(const std::wstring& options, const std::wstring& path) {
  return orb_test::RunProcess(L"regsvr32.exe " + options + L" \"" + path + L"\"");
}

TEST(QuarnServer, RegistersAndUnregistersWithRegsvr32) {
  const std::wstring path = ExeDir() + L"\\quarn.dll";
  const std::wstring key = L"CLSID\\{6DD38335-5AA5-4105-84FD-EFDCCE40A41A}";
  orb_test::ProcessRun run = Regsvr32(L"/s", path);
  ASSERT_TRUE(run.Ok()) << "regsvr32 /s: " << run.Describe();
  EXPECT_EQ(DefaultValue(key), L"quarndev Class");
  EXPECT_EQ(DefaultValue(key + L"\\ProgID"), L"Quarn.quarndev.1");
  EXPECT_EQ(DefaultValue(key + L"\\VersionIndependentProgID"), L"Quarn.quarndev");
  EXPECT_EQ(DefaultValue(key + L"\\TypeLib"), L"{BE32BA2B-E25E-4795-A71F-BE6D231841FA}");
  EXPECT_EQ(DefaultValue(key + L"\\InprocServer32", L"ThreadingModel"), L"Both");
  ComPtr<ITypeLib> lib;
  EXPECT_EQ(LoadRegTypeLib(LIBID_QUARNLib, 1, 0, 0, lib.Put()), S_OK);
  run = Regsvr32(L"/u /s", path);
  ASSERT_TRUE(run.Ok()) << "regsvr32 /u /s: " << run.Describe();
  EXPECT_EQ(DefaultValue(key), L"(none)");
  EXPECT_EQ(DefaultValue(L"Quarn.quarndev"), L"(none)");
  ASSERT_EQ(CallEntry(L"quarn.dll", "DllRegisterServer"), S_OK);  // for the tests after this one
}

TEST(QuarnServer, RegisteredUnderTheDriverCategory) {
  ComPtr<ICatInformation> cats;
  ASSERT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                             IID_ICatInformation, cats.PutVoid()),
            S_OK);
  CATID cat = CATID_DvbDrivers;
  ComPtr<IEnumGUID> e;
  ASSERT_EQ(cats->EnumClassesOfCategories(1, &cat, 0, nullptr, e.Put()), S_OK);
  GUID g;
  bool found = false;
  while (e->Next(1, &g, nullptr) == S_OK) found = found || IsEqualGUID(g, CLSID_quarndev);
  EXPECT_TRUE(found);
  CLSID byProgId{};
  ASSERT_EQ(CLSIDFromProgID(L"Quarn.quarndev", &byProgId), S_OK);
  EXPECT_TRUE(IsEqualGUID(byProgId, CLSID_quarndev));

  ComPtr<IDvbDriver> d;
  ASSERT_EQ(CoCreateInstance(CLSID_quarndev, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDvbDriver), d.PutVoid()),
            S_OK);
  Bstr name;
  ASSERT_EQ(d->GetDriverName(name.Put()), S_OK);
  EXPECT_STREQ(name.Get(), L"QUARN,Quarn Sat2,Quarn SatPC,Quarn CablePC,Quarn AirPC");
  ComPtr<Iquarndev> own;
  EXPECT_EQ(d.As(own), S_OK);
  // Before Init nothing reaches the tuner.
  ComPtr<IDriverStatus> status;
  ASSERT_EQ(d.As(status), S_OK);
  BOOL locked = TRUE;
  EXPECT_EQ(status->GetLockState(&locked), E_FAIL);
  short type = -1;
  ComPtr<IDriverControl> control;
  ASSERT_EQ(d.As(control), S_OK);
  EXPECT_EQ(control->GetDeliveryType(&type), S_OK);
  EXPECT_EQ(type, DELIVERY_UNKNOWN);
}

TEST_F(QuarnTest, InitBuildsTheGraphAndSettingsLiveInTheClassKey) {
  ASSERT_EQ(Init(), S_OK);
  short type = 0;
  ASSERT_EQ(Get<IDriverControl>()->GetDeliveryType(&type), S_OK);
  EXPECT_EQ(type, DELIVERY_SATELLITE);
  EXPECT_EQ(Sim().LiveFilters(), 1);  // the source filter alone
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  EXPECT_EQ(Sim().LiveFilters(), 0);  // torn down
  DWORD v = 0;
  ASSERT_TRUE(ReadDword(classKey_, "frequency", v));
  EXPECT_EQ(v, 12322000u);
  ASSERT_TRUE(ReadDword(classKey_, "symbolrate", v));
  EXPECT_EQ(v, 27800u);  // kS/s, as the tuner and the dialog take it
  ASSERT_TRUE(ReadDword(classKey_, "viterbi", v));
  EXPECT_EQ(v, 6u);
  ASSERT_TRUE(ReadDword(classKey_, "qam", v));
  EXPECT_EQ(v, 5u);
  ASSERT_TRUE(ReadDword(classKey_, "lnbpower", v));
  EXPECT_EQ(v, 0u);
  EXPECT_FALSE(ReadDword(classKey_, "inversion", v));
  EXPECT_FALSE(ReadDword(classKey_, "bandwidth", v));
  EXPECT_FALSE(ReadDword(classKey_, "scan", v));
  EXPECT_FALSE(ReadDword(classKey_, "device", v));  // no device index
  ASSERT_TRUE(ReadDword(classKey_, "lfo2_1", v));
  EXPECT_EQ(v, 10600000u);

  // A stored value is read back.
  WriteDword(classKey_, "frequency", 11836000);
  ASSERT_EQ(Init(), S_OK);
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  ASSERT_TRUE(ReadDword(classKey_, "frequency", v));
  EXPECT_EQ(v, 11836000u);
}

TEST_F(QuarnTest, InitFailuresAnswerTheFailingResult) {
  Sim().FailCall("Initialize", 1);
  EXPECT_EQ(Init(), E_FAIL);
  EXPECT_EQ(Sim().LiveFilters(), 0);
  Sim().FailCall("GetTunerCapabilities", 1);
  EXPECT_EQ(Init(), E_FAIL);
  ASSERT_EQ(Init(), S_OK);
}

TEST_F(QuarnTest, SatelliteTuningThroughTheSwitchAndBack) {
  ConfigureDish(2);
  ASSERT_EQ(Init(), S_OK);
  ASSERT_EQ(TuneSatellite(L"19.2E", 1183600, 0, 275000), S_OK);
  QSIM_TUNE t = LastTune();
  EXPECT_EQ(t.FrequencyKhz, 11836000u);
  EXPECT_EQ(t.LnbMhz, 10600u);
  EXPECT_EQ(t.Tone, 1u);
  EXPECT_EQ(t.SymbolRateKsps, 27500u);
  EXPECT_EQ(t.Polarity, 0u);
  EXPECT_EQ(t.Fec, 6u);
  EXPECT_EQ(t.Diseqc, 3u);
  EXPECT_EQ(t.TransportStreamId, 0x0441);
  BOOL locked = FALSE;
  ASSERT_EQ(Get<IDriverStatus>()->GetLockState(&locked), S_OK);
  EXPECT_TRUE(locked);
  Bstr text;
  ASSERT_EQ(Get<IDriverStatus>()->GetSignalText(text.Put()), S_OK);
  EXPECT_STREQ(text.Get(), L"Signal locked");

  Bstr sat;
  SATDELIVERYDESC d{};
  ASSERT_EQ(Get<ISetTuner>()->GetSatChannel(sat.Put(), &d), S_OK);
  EXPECT_STREQ(sat.Get(), L"19.2E");
  EXPECT_EQ(d.frequency, 1183600u);
  EXPECT_EQ(d.symbol_rate, 275000u);
  EXPECT_EQ(d.polarization, 0);

  // The third slot, position B: 13.0E, 11034 V in the low band.
  ASSERT_EQ(TuneSatellite(L"13.0E", 1103400, 1, 275000), S_OK);
  t = LastTune();
  EXPECT_EQ(t.Diseqc, 5u);
  EXPECT_EQ(t.LnbMhz, 9750u);
  EXPECT_EQ(t.Tone, 0u);
  EXPECT_EQ(t.Polarity, 1u);
  ASSERT_EQ(Get<ISetTuner>()->GetSatChannel(sat.Put(), &d), S_OK);
  EXPECT_STREQ(sat.Get(), L"13.0E");
  EXPECT_EQ(d.polarization, 1);

  // Nothing there: no lock, and the status says so.
  EXPECT_EQ(TuneSatellite(L"19.2E", 1183600, 1, 275000), E_FAIL);
  ASSERT_EQ(Get<IDriverStatus>()->GetSignalText(text.Put()), S_OK);
  EXPECT_STREQ(text.Get(), L"Signal NOT locked");
  EXPECT_EQ(Get<ISetTuner>()->GetSatChannel(sat.Put(), &d), E_FAIL);
  // A satellite of no slot.
  EXPECT_EQ(TuneSatellite(L"28.2E", 1183600, 0, 275000), E_FAIL);
  // Cable and terrestrial calls on a satellite tuner.
  CABLEDELIVERYDESC c{};
  EXPECT_EQ(Get<ISetTuner>()->TuneCable(0, &c), E_FAIL);
}

TEST_F(QuarnTest, ToneBurstSlotsSendOneCodePerSlot) {
  ConfigureDish(1);
  ASSERT_EQ(Init(), S_OK);
  ASSERT_EQ(TuneSatellite(L"19.2E", 1083200, 1, 220000), S_OK);
  EXPECT_EQ(LastTune().Diseqc, 1u);
  ASSERT_EQ(TuneSatellite(L"13.0E", 1103400, 1, 275000), S_OK);
  EXPECT_EQ(LastTune().Diseqc, 2u);
  Bstr sat;
  SATDELIVERYDESC d{};
  ASSERT_EQ(Get<ISetTuner>()->GetSatChannel(sat.Put(), &d), S_OK);
  EXPECT_STREQ(sat.Get(), L"13.0E");
}

TEST_F(QuarnTest, CableAndTerrestrialTuners) {
  Sim().SetTunerType(1);
  ASSERT_EQ(Init(), S_OK);
  short type = 0;
  Get<IDriverControl>()->GetDeliveryType(&type);
  EXPECT_EQ(type, DELIVERY_CABLE);
  CABLEDELIVERYDESC c{};
  c.frequency = 3460000;  // 346 MHz
  c.modulation = 3;       // 64-QAM
  c.symbol_rate = 69000;
  ASSERT_EQ(Get<ISetTuner>()->TuneCable(0, &c), S_OK);
  EXPECT_EQ(LastTune().Modulation, 5u);
  EXPECT_EQ(LastTune().FrequencyKhz, 346000u);
  EXPECT_EQ(LastTune().SymbolRateKsps, 6900u);
  CABLEDELIVERYDESC back{};
  ASSERT_EQ(Get<ISetTuner>()->GetCableChannel(&back), S_OK);
  EXPECT_EQ(back.frequency, 3460000u);
  EXPECT_EQ(back.modulation, 3);
  EXPECT_EQ(back.symbol_rate, 69000u);
  c.modulation = 5;  // 256-QAM: refused on 346 MHz
  EXPECT_EQ(Get<ISetTuner>()->TuneCable(0, &c), E_FAIL);
  EXPECT_EQ(LastTune().Modulation, 7u);
  SATDELIVERYDESC s{};
  EXPECT_EQ(Get<ISetTuner>()->SetSatellite(0, L"19.2E", &s), E_FAIL);

  driver_ = nullptr;
  Sim().SetTunerType(2);
  ASSERT_EQ(CoCreateInstance(CLSID_quarndev, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDvbDriver),
                             driver_.PutVoid()),
            S_OK);
  ASSERT_EQ(Init(), S_OK);
  TERRDELIVERYDESC t{};
  t.centre_frequency = 50600000;  // 506 MHz
  t.guard_interval = 2;
  ASSERT_EQ(Get<ISetTuner>()->TuneTerrestrial(0, &t), S_OK);
  EXPECT_EQ(LastTune().FrequencyKhz, 506000u);
  EXPECT_EQ(LastTune().Guard, 2u);
  TERRDELIVERYDESC tb{};
  ASSERT_EQ(Get<ISetTuner>()->GetTerrestrialChannel(&tb), S_OK);
  EXPECT_EQ(tb.centre_frequency, 50600000u);
  EXPECT_EQ(tb.guard_interval, 2);
  t.guard_interval = 9;  // out of range: automatic
  t.centre_frequency = 51400000;
  EXPECT_EQ(Get<ISetTuner>()->TuneTerrestrial(0, &t), E_FAIL);
  EXPECT_EQ(LastTune().Guard, 4u);
}

class QuarnSectionTest : public QuarnTest {
 protected:
  void SetUp() override {
    QuarnTest::SetUp();
    ConfigureDish(2);
    ASSERT_EQ(Init(), S_OK);
    ASSERT_EQ(TuneSatellite(L"19.2E", 1183600, 0, 275000), S_OK);
    reader_ = Get<ISectionReader>();
  }
  void TearDown() override {
    reader_ = nullptr;
    QuarnTest::TearDown();
  }
  // After a call: no push thread, and only the source filter in the graph.
  void ExpectIdleGraph() {
    EXPECT_EQ(Sim().RunningStreams(), 0);
    EXPECT_EQ(Sim().LiveFilters(), 1);
  }
  ComPtr<ISectionReader> reader_;
};

TEST_F(QuarnSectionTest, CollectsEveryModeFromTheMultiplex) {
  SectionFilterSpec specs[] = {
      Spec(0x0000, 0x00, SFM_SINGLE),             // PAT
      Spec(0x0011, 0x42, SFM_SINGLE),             // SDT actual
      Spec(0x0010, 0x40, SFM_SINGLE),             // NIT actual
      Spec(0x0010, 0x41, SFM_BY_EXTENSION),       // NIT other
      Spec(0x0011, 0x46, SFM_BY_EXTENSION_ONID),  // SDT other
      Spec(0x0012, 0x4E, SFM_EIT),                // EIT present/following actual
      Spec(0x0120, 0x02, SFM_SINGLE, 0x4412),     // PMT of the second service
  };
  specs[6].pid = 0x00010120;  // only the low bits count
  SectionResult results[7];
  std::memset(results, 0xCD, sizeof results);
  ASSERT_EQ(reader_->GetSections(7, specs, 5, results), S_OK);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(results[i].count, 1u);
    CheckAndFree(results[i], specs[i]);
  }
  ExpectIdleGraph();
}

TEST_F(QuarnSectionTest, ThirtyThreeRequestsRunAsTwoBatches) {
  SectionFilterSpec specs[33];
  for (auto& s : specs) s = Spec(0x0000, 0x00, SFM_SINGLE);
  specs[32] = Spec(0x0011, 0x42, SFM_SINGLE);
  SectionResult results[33] = {};
  ASSERT_EQ(reader_->GetSections(33, specs, 5, results), S_OK);
  for (int i = 0; i < 33; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(results[i].count, 1u);
    CheckAndFree(results[i], specs[i]);
  }
  ExpectIdleGraph();
  // And once more: the second call builds its branch afresh.
  ASSERT_EQ(reader_->GetSections(1, specs, 5, results), S_OK);
  EXPECT_EQ(results[0].count, 1u);
  CheckAndFree(results[0], specs[0]);
  ExpectIdleGraph();
}

TEST_F(QuarnSectionTest, ReservedModesAndUnmatchedRequestsHandOverAfterTheTimeout) {
  SectionFilterSpec specs[] = {
      Spec(0x0000, 0x00, SFM_RESERVED1),
      Spec(0x1FF0, 0x00, SFM_SINGLE),  // nothing on this PID
      Spec(0x0000, 0x00, SFM_SINGLE),
  };
  SectionResult results[3] = {};
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(reader_->GetSections(3, specs, 1, results), S_OK);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(900));
  EXPECT_LT(took, std::chrono::seconds(5));
  EXPECT_EQ(results[0].count, 0u);
  EXPECT_EQ(results[0].sections, nullptr);
  EXPECT_EQ(results[1].count, 0u);
  EXPECT_EQ(results[2].count, 1u);
  CheckAndFree(results[2], specs[2]);
  ExpectIdleGraph();
  EXPECT_EQ(reader_->GetSections(-1, specs, 1, results), E_FAIL);
  EXPECT_EQ(reader_->GetSections(0, specs, 1, results), S_OK);
  EXPECT_EQ(reader_->GetSections(1, nullptr, 1, results), E_POINTER);
}

TEST_F(QuarnSectionTest, CancelEndsTheBatchAndSkipsTheRest) {
  SectionFilterSpec specs[40];
  for (auto& s : specs) s = Spec(0x1FF0, 0x00, SFM_SINGLE);  // never complete
  specs[39] = Spec(0x0000, 0x00, SFM_SINGLE);
  SectionResult results[40] = {};
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    reader_->CancelSections();
  });
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(reader_->GetSections(40, specs, 30, results), S_OK);
  const auto took = std::chrono::steady_clock::now() - start;
  canceller.join();
  EXPECT_LT(took, std::chrono::seconds(10));
  EXPECT_EQ(results[39].count, 0u);  // the second batch never ran
  ExpectIdleGraph();
}

TEST_F(QuarnSectionTest, EitSectionsSentAtDifferentRatesAreAllCollected) {
  // Present/following and the first section of each schedule segment three
  // times a cycle, the other schedule sections once.
  ASSERT_EQ(Sim().SetWorld("satellite name=\"19.2E\" position=192 input=0\n"
                           "transponder freq=11836000 pol=H sr=27500000 tsid=0x0441 onid=0x0001 "
                           "nid=0x0001 services=3 eitrepeat=3\n"),
            0);
  ASSERT_EQ(TuneSatellite(L"19.2E", 1183600, 0, 275000), S_OK);
  ExpectEitSentAtDifferentRatesCollected(reader_.Get(), 0);
  ExpectIdleGraph();
}

TEST_F(QuarnSectionTest, ASectionThatNeverArrivesLeavesTheRequestToTheTimeout) {
  // Two of its requests never complete: the time-out ends them, with what was on air.
  const std::wstring path = ExeDir() + L"\\quarn_missing_section.ts";
  const std::string ts(path.begin(), path.end());
  WriteCaptureMissingASection(ts);
  const std::string world = "satellite name=\"19.2E\" position=192 input=0\n"
                            "transponder freq=11836000 pol=H sr=27500000 tsid=1 nid=1 ts=\"" + ts + "\"\n";
  ASSERT_EQ(Sim().SetWorld(world.c_str()), 0);
  ASSERT_EQ(TuneSatellite(L"19.2E", 1183600, 0, 275000), S_OK);
  ExpectTimeoutEndsTheCaptureMissingASection(reader_.Get(), 0);
  ExpectIdleGraph();
  DeleteFileA(ts.c_str());
}

TEST_F(QuarnSectionTest, AFailedStepFailsTheBatchAndLeavesNothingBehind) {
  Sim().FailCall("SetTableFilter", 1);
  SectionFilterSpec spec = Spec(0x0000, 0x00, SFM_SINGLE);
  SectionResult result{};
  EXPECT_EQ(reader_->GetSections(1, &spec, 5, &result), E_FAIL);
  EXPECT_EQ(result.count, 0u);
  ExpectIdleGraph();
  Sim().FailCall("CreatePin", 1);
  EXPECT_EQ(reader_->GetSections(1, &spec, 5, &result), E_FAIL);
  ExpectIdleGraph();
  ASSERT_EQ(reader_->GetSections(1, &spec, 5, &result), S_OK);
  EXPECT_EQ(result.count, 1u);
  CheckAndFree(result, spec);
  // The plug-in's log names the failed steps.
  const std::wstring logPath = ExeDir() + L"\\quarn.txt";
  std::ifstream log(std::string(logPath.begin(), logPath.end()));
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("failed to set table filter on pin 0"), std::string::npos);
  EXPECT_NE(text.str().find("failed to create psi output pin on pin 0"), std::string::npos);
}

}  // namespace
