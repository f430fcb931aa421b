// The "SI Reading" dialog on the Quarn plug-in over the simulated card
// maker's filters: the current transponder, the current NIT and a single
// satellite scan fill the store as the vendor-library plug-ins do on the
// same simulated world (the budget plug-in scans the same satellite here
// and the two stores are compared table by table); Cancel ends a section
// request under way at once.  The dialog runs modally on the test's thread
// while a second thread plays the user.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "orb_app/SIReadingDlg.h"
#include "orb_app/scan_bridge.h"
#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "plugin_support.h"
#include "quarn.h"
#include "quarnsim/hooks.h"
#include "reading_dialog_test.h"
#include "satlistmgr.h"
#include "test_support.h"

using orb::com::Bstr;
using orb::com::ComPtr;

namespace {

orb_test::CTestApp theQuarnScanTestApp("OrbQuarnScanTest");

QsimHooks& Sim() {
  static QsimHooks hooks(ORB_QUARNSIM_PATH);
  return hooks;
}

const plugtest::Plugin& Belvane() {
  const plugtest::Plugin* belvane = plugtest::PluginNamed("belvane");
  return belvane ? *belvane : plugtest::Plugins().front();
}

class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    orb_test::SetUpReadingDialogProgram("app_quarn_scan_tests.exe");
    if (::testing::Test::HasFatalFailure()) return;
    ASSERT_TRUE(orb_test::RegisterServerBeside(L"quarn.dll"));
    ASSERT_TRUE(orb_test::RegisterServerBeside(Belvane().dll));
    ASSERT_NE(Sim().module, nullptr) << Sim().windowsPath;
    ASSERT_EQ(Sim().Register(), S_OK);
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

using orb_test::MakePrimary;
using orb_test::Press;
using orb_test::SelectSatellite;
using orb_test::StartAndWait;

// The driver under test, its settings (DiSEqC 1.0, "Astra 19E" on A/A,
// "Hotbird 13E" on position B) in a scratch registry root, and the default
// satellite list.
class QuarnScan : public ::testing::Test, protected orb_test::ScanWorld {
 protected:
  void SetUp() override {
    Sim().Reset();
    Sim().SetPacketRate(100000);  // ten times the usual rate: scans wait for the tables' cycles
    SetUpWorld(Belvane().vendorDll, "OrbQuarnScanTest");
    if (HasFatalFailure()) return;
    orb::app::WriteSITableSelection(0x7FFF);
  }
  void TearDown() override {
    TearDownWorld();
    EXPECT_EQ(Sim().RunningStreams(), 0);
    EXPECT_EQ(Sim().LiveFilters(), 0);
  }

  void Tune(const wchar_t* satellite, ULONG frequency, BYTE polarization) {
    ScanWorld::Tune(satellite, frequency, polarization, [] {
      std::ostringstream last;
      last << "last tune: " << Sim().LastTune().FrequencyKhz << " lnb " << Sim().LastTune().LnbMhz << " diseqc "
           << Sim().LastTune().Diseqc << " pol " << Sim().LastTune().Polarity << " sr "
           << Sim().LastTune().SymbolRateKsps;
      return last.str();
    });
  }

  INT_PTR Scan(lib13818::NetworkMap& store, UINT mode, const std::function<void(HWND)>& act) {
    IDvbDriver* driver = driver_;
    CSIReadingDlg dlg(store, mode, driver, nullptr, satList_);
    return orb_test::RunReadingDialog(dlg, act);
  }

  static std::size_t Streams(const lib13818::NetworkMap& store) { return orb_test::StreamCount(store); }

};

// The tables of two stores that do not follow the clock, stream by stream.
void ExpectSameTables(const lib13818::NetworkMap& quarn, const lib13818::NetworkMap& vendor) {
  ASSERT_EQ(quarn.size(), vendor.size());
  for (const auto& [nid, network] : vendor) {
    ASSERT_TRUE(quarn.count(nid)) << nid;
    const auto& mine = quarn.at(nid).transponders;
    ASSERT_EQ(mine.size(), network.transponders.size()) << nid;
    for (const auto& [tsid, t] : network.transponders) {
      SCOPED_TRACE(tsid);
      ASSERT_TRUE(mine.count(tsid));
      const lib13818::Transponder& q = mine.at(tsid);
      EXPECT_EQ(q.pat.CRC_32, t.pat.CRC_32);
      EXPECT_EQ(q.cat.CRC_32, t.cat.CRC_32);
      EXPECT_EQ(q.bat.CRC_32, t.bat.CRC_32);
      ASSERT_EQ(q.pmts.size(), t.pmts.size());
      for (std::size_t i = 0; i < t.pmts.size(); ++i) EXPECT_EQ(q.pmts[i].CRC_32, t.pmts[i].CRC_32);
      ASSERT_EQ(q.nitActual.size(), t.nitActual.size());
      for (const auto& [id, sections] : t.nitActual)
        for (const auto& [n, s] : sections) EXPECT_EQ(q.nitActual.at(id).at(n).CRC_32, s.CRC_32);
      ASSERT_EQ(q.sdtActual.size(), t.sdtActual.size());
      for (const auto& [onid, streams] : t.sdtActual)
        for (const auto& [ts, sections] : streams)
          for (const auto& [n, s] : sections) EXPECT_EQ(q.sdtActual.at(onid).at(ts).at(n).CRC_32, s.CRC_32);
      EXPECT_EQ(q.sdtOther.size(), t.sdtOther.size());
      EXPECT_EQ(q.nitOther.size(), t.nitOther.size());
      EXPECT_EQ(q.eitPresentFollowingActual.size(), t.eitPresentFollowingActual.size());
      EXPECT_EQ(q.eitScheduleActual.size(), t.eitScheduleActual.size());
      EXPECT_EQ(q.GetLabel(), t.GetLabel());
      EXPECT_EQ(q.satelliteName, t.satelliteName);
      EXPECT_EQ(q.tdt.parsed, t.tdt.parsed);
    }
  }
}

TEST_F(QuarnScan, SingleSatelliteFillsTheStoreLikeTheBudgetCard) {
  orb::app::WriteSITableSelection(0x41B);
  MakePrimary(satList_, L"Astra 19E", 0);

  lib13818::NetworkMap vendor;
  StartDriver(*Belvane().clsid, true);
  INT_PTR result = Scan(vendor, orb::scan::SCAN_SINGLE_SATELLITE, [&](HWND dialog) {
    SelectSatellite(dialog, L"Astra 19E");
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  driver_ = nullptr;

  lib13818::NetworkMap quarn;
  StartDriver(CLSID_quarndev, false);
  result = Scan(quarn, orb::scan::SCAN_SINGLE_SATELLITE, [&](HWND dialog) {
    SelectSatellite(dialog, L"Astra 19E");
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Streams(quarn), 5u);
  ExpectSameTables(quarn, vendor);
  // Every stream of the satellite was tuned through DiSEqC 1.0 input A.
  int locked = 0;
  for (int i = 0; i < Sim().TuneCount(); ++i) {
    QSIM_TUNE t{};
    Sim().GetTune(i, &t);
    if (t.Locked) {
      ++locked;
      EXPECT_EQ(t.Diseqc, 3u);
    }
  }
  EXPECT_GE(locked, 5);
}

TEST_F(QuarnScan, CurrentTransponderAndCurrentNit) {
  StartDriver(CLSID_quarndev, false);
  // "Astra 19E" 12187 H: the current transponder, all tables.
  Tune(L"Astra 19E", 1218700, 0);
  lib13818::NetworkMap store;
  INT_PTR result = Scan(store, orb::scan::SCAN_CURRENT_TRANSPONDER, [&](HWND dialog) {
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  ASSERT_EQ(Streams(store), 1u);
  const lib13818::Transponder& t = store.at(0x0101).transponders.at(0x0471);
  EXPECT_FALSE(t.pat.programs.empty());
  EXPECT_FALSE(t.pmts.empty());
  EXPECT_FALSE(t.sdtActual.empty());
  EXPECT_FALSE(t.eitPresentFollowingActual.empty());
  EXPECT_TRUE(t.tdt.parsed);
  EXPECT_EQ(t.GetLabel().substr(0, 13), "0471 - 12187H");

  // "Current NIT..." on Hotbird (position B): every stream of its network.
  orb::app::WriteSITableSelection(0);
  MakePrimary(satList_, L"Hotbird 13E", 0);
  Tune(L"Hotbird 13E", 1071900, 1);
  lib13818::NetworkMap nit;
  result = Scan(nit, orb::scan::SCAN_CURRENT_NIT, [&](HWND dialog) {
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Streams(nit), 9u);
  EXPECT_EQ(Sim().LastTune().Diseqc, 5u);  // position B: DiSEqC 1.0 input B/A
}

// Cancel during a section request that would wait for its time-out (the
// CAT never comes): the plug-in's source graph ends the batch at once.
TEST_F(QuarnScan, CancelEndsTheSectionRequestUnderWayAtOnce) {
  const std::string noCat = orb_test::CaptureWorldWithout(0x0001, L"orb-quarn-cancel");
  ASSERT_FALSE(noCat.empty());
  ASSERT_EQ(Sim().SetWorld(noCat.c_str()), 0);
  StartDriver(CLSID_quarndev, false);
  Tune(L"Astra 19E", 1183600, 0);
  orb::app::WriteSITableSelection(0x2);  // PAT, NIT, SDT and the CAT
  for (orb_test::CancelBy how : {orb_test::CancelBy::Button, orb_test::CancelBy::WithStart}) {
    lib13818::NetworkMap store;
    IDvbDriver* driver = driver_;
    UINT mode = orb::scan::SCAN_CURRENT_TRANSPONDER;
    CSIReadingDlg dlg(store, mode, driver, nullptr, satList_);
    const orb_test::CancelRun run =
        orb_test::CancelDuringRequest(dlg, how, [] { return Sim().RunningStreams() > 0; });
    const char* name = how == orb_test::CancelBy::Button ? "Cancel button" : "Cancel with Start";
    std::printf("[ cancel   ] quarn, %s: the dialog was ready again %.2f s after the cancel\n", name, run.seconds);
    EXPECT_EQ(run.result, IDCANCEL) << name;
    EXPECT_TRUE(run.requestRan || how == orb_test::CancelBy::WithStart) << name;
    EXPECT_GE(run.seconds, 0.0) << name;
    EXPECT_LT(run.seconds, 25.0) << name << ": the scan ended before the request's time-out";
    EXPECT_TRUE(store.empty()) << name;
  }
}

}  // namespace
