// The "SI Reading" dialog on the real plug-ins over their simulated cards:
// each of the three vendor families reads the tuned transport stream into a
// store that equals what the simulated multiplex sends; the NIT and
// satellite scans tune every listed stream (DiSEqC messages and channels as
// the card recorded them) and store each once; Cancel, Escape and the
// system close during a scan; Cancel ending a section request under way at
// once; a worker that cannot start; a multiplex played from a capture file;
// the satellite message shown by the GUI thread.  The
// dialog runs modally on the test's thread while a second thread plays the
// user.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "lib13818/descriptors_service.h"
#include "orb_app/SIReadingDlg.h"
#include "orb_app/scan_bridge.h"
#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "plugin_support.h"
#include "reading_dialog_test.h"
#include "satlistmgr.h"
#include "test_support.h"
#include "vsim/multiplex.h"
#include "vsim/si_gen.h"
#include "vsim/world.h"

using orb::com::Bstr;
using orb::com::ComPtr;

namespace {

orb_test::CTestApp theScanTestApp("OrbScanDialogTest");

constexpr const char* kProgramKey = "SOFTWARE\\Team Orbisect\\Orbisect3";

class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    orb_test::SetUpReadingDialogProgram("app_scan_dialog_tests.exe");
    if (::testing::Test::HasFatalFailure()) return;
    for (const plugtest::Plugin& p : plugtest::Plugins())
      ASSERT_TRUE(orb_test::RegisterServerBeside(p.dll)) << p.name;
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

using orb_test::MakePrimary;
using orb_test::Press;
using orb_test::SelectSatellite;
using orb_test::StartAndWait;
using orb_test::WindowText;

bool WaitFor(const std::function<bool()>& done) { return orb_test::WaitFor(done, orb_test::kScanBoundMs); }

struct Run {
  INT_PTR result = -2;
  std::map<int, std::wstring> fields;   // the progress fields when the scan ended
  std::wstring selectedAtStart;         // combo 1032
  std::vector<bool> enabled;            // 1036 1037 1040 1042 1032 at start
};

std::wstring Field(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

std::wstring ComboSelection(HWND dialog) {
  HWND combo = ::GetDlgItem(dialog, 1032);
  const LRESULT i = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (i == CB_ERR) return L"(none)";
  wchar_t text[256] = {};
  ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
  return text;
}

template <class S>
S Parsed(const vsim::Bytes& b) {
  S s;
  s.Parse(b.data(), b.size());
  return s;
}

class ScanDialog : public ::testing::TestWithParam<plugtest::Plugin>, protected orb_test::ScanWorld {
 protected:
  void SetUp() override {
    const plugtest::Plugin& p = GetParam();
    SetUpWorld(p.vendorDll, "OrbScanTest");
    if (HasFatalFailure()) return;

    StartDriver(*p.clsid, true);
    if (HasFatalFailure()) return;
    orb::app::WriteSITableSelection(0x7FFF);
  }
  void TearDown() override { TearDownWorld(); }

  INT_PTR Scan(UINT mode, const std::function<void(HWND)>& act) {
    IDvbDriver* driver = driver_;
    CSIReadingDlg dlg(store_, mode, driver, nullptr, satList_);
    return orb_test::RunReadingDialog(dlg, act);
  }

  // Transport stream ids the card locked on, in order (tunes that did not lock left out).
  std::vector<int> LockedStreams() const {
    std::vector<int> out;
    for (const VSIM_CHANNEL& c : vsim_->Channels())
      if (c.Locked) out.push_back(c.TransportStreamId);
    return out;
  }
  std::size_t Streams() const { return orb_test::StreamCount(store_); }

  lib13818::NetworkMap store_;
};

std::string Name(const ::testing::TestParamInfo<plugtest::Plugin>& info) { return info.param.name; }

}  // namespace

TEST_P(ScanDialog, CurrentTransponderStoresWhatTheMultiplexSends) {
  const vsim::World world = vsim::DefaultWorld();
  const vsim::MuxDef& mux = world.satellites[0].transponders[4];  // "Astra 19E" 12187 H
  Tune(L"Astra 19E", 1218700, 0);
  std::vector<bool> enabled;
  std::wstring na;
  const INT_PTR result = Scan(orb::scan::SCAN_CURRENT_TRANSPONDER, [&](HWND dialog) {
    for (int id : {1036, 1037, 1040, 1042, 1032, 1043}) enabled.push_back(::IsWindowEnabled(::GetDlgItem(dialog, id)) != 0);
    na = Field(dialog, 1036) + L"|" + Field(dialog, 1042) + L"|" + Field(dialog, 1040);
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, false, false, true}));
  EXPECT_EQ(na, L"N/A|N/A|N/A");

  ASSERT_EQ(Streams(), 1u);
  const lib13818::Transponder& t = store_.at(0x0101).transponders.at(0x0471);
  // The tables the generator builds for this multiplex (the time tables and
  // the event times follow the clock; everything else is fixed).
  SYSTEMTIME clock{};
  ::GetSystemTime(&clock);
  const vsim::UtcInstant at{clock.wYear, clock.wMonth, clock.wDay, clock.wHour, clock.wMinute, clock.wSecond};
  std::map<int, std::vector<vsim::Bytes>> sent;
  for (const vsim::TableSections& table : vsim::GenerateTables(world, mux, at))
    for (const vsim::Bytes& s : table.sections) sent[s[0]].push_back(s);

  EXPECT_EQ(t.pat.CRC_32, Parsed<lib13818::ProgramAssociationSection>(sent[0x00][0]).CRC_32);
  EXPECT_EQ(t.pat.programs.size(), mux.services.size() + 1);
  EXPECT_EQ(t.cat.CRC_32, Parsed<lib13818::ConditionalAccessSection>(sent[0x01][0]).CRC_32);
  EXPECT_EQ(t.bat.CRC_32, Parsed<lib13818::BouquetAssociationSection>(sent[0x4A][0]).CRC_32);
  EXPECT_EQ(t.nitActual.at(0x0101).at(0).CRC_32,
            Parsed<lib13818::NetworkInformationSection>(sent[0x40][0]).CRC_32);
  EXPECT_EQ(t.nitActual.at(0x0101).at(0).transportStreams.size(), world.satellites[0].transponders.size());
  EXPECT_EQ(t.nitOther.at(0x0202).at(0).CRC_32, Parsed<lib13818::NetworkInformationSection>(sent[0x41][0]).CRC_32);
  const auto& sdt = t.sdtActual.at(0x0101).at(0x0471).at(0);
  EXPECT_EQ(sdt.CRC_32, Parsed<lib13818::ServiceDescriptionSection>(sent[0x42][0]).CRC_32);
  ASSERT_EQ(sdt.services.size(), mux.services.size());
  EXPECT_EQ(sdt.services[1].descriptors.Get<lib13818::DescriptorService>().at(0).service_name, mux.services[1].name);
  std::size_t sdtOther = 0;
  for (auto& a : t.sdtOther)
    for (auto& b : a.second) sdtOther += b.second.size();
  EXPECT_EQ(sdtOther, sent[0x46].size());
  ASSERT_EQ(t.pmts.size(), mux.services.size());
  for (std::size_t i = 0; i < mux.services.size(); ++i)
    EXPECT_EQ(t.pmts[i].CRC_32, Parsed<lib13818::ProgramMapSection>(sent[0x02][i]).CRC_32) << i;
  EXPECT_EQ(t.rst.entries.size(), Parsed<lib13818::RunningStatusSection>(sent[0x71][0]).entries.size());
  EXPECT_TRUE(t.tdt.parsed);
  EXPECT_TRUE(t.tot.parsed);
  SYSTEMTIME now{};
  ::GetSystemTime(&now);
  EXPECT_EQ(t.tdt.UTC_time.year, now.wYear);

  // EIT: every service's present/following pair and schedule, by event id.
  const auto& pf = t.eitPresentFollowingActual.at(0x0101).at(0x0471);
  ASSERT_EQ(pf.size(), mux.services.size());
  for (const vsim::Bytes& b : sent[0x4E]) {
    const auto sent4e = Parsed<lib13818::EventInformationSection>(b);
    const auto& got = pf.at(sent4e.table_id_extension).at(sent4e.section_number);
    ASSERT_EQ(got.events.size(), sent4e.events.size());
    EXPECT_EQ(got.events[0].event_id, sent4e.events[0].event_id);
  }
  std::size_t schedule = 0;
  for (auto& a : t.eitScheduleActual.at(0x0101).at(0x0471)) schedule += a.second.size();
  EXPECT_EQ(schedule, sent[0x50].size());
  EXPECT_FALSE(t.eitPresentFollowingOther.empty());
  EXPECT_FALSE(t.eitScheduleOther.empty());

  // Tuning from the stream's own NIT entry.
  EXPECT_EQ(t.GetLabel(), "0471 - 12187H 1/2 27500");
}

TEST_P(ScanDialog, SatelliteScansTuneEveryListedStreamOnceThroughTheSwitch) {
  if (std::string(GetParam().name) != "belvane") GTEST_SKIP() << "one family is enough";
  orb::app::WriteSITableSelection(0x41B);
  MakePrimary(satList_, L"Astra 19E", 0);
  MakePrimary(satList_, L"Hotbird 13E", 0);
  const std::size_t astra = 5, hotbird = 9;

  // "All configured satellites...": both selected satellites, one after the other.
  std::map<int, std::wstring> fields;
  INT_PTR result = Scan(orb::scan::SCAN_ALL_SATELLITES, [&](HWND dialog) {
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, 1032)));
    ASSERT_TRUE(StartAndWait(dialog));
    for (int id : {1036, 1037, 1040, 1042}) fields[id] = Field(dialog, id);
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Streams(), astra + hotbird);
  EXPECT_EQ(store_.at(0x0101).transponders.size(), astra);
  EXPECT_EQ(store_.at(0x0202).transponders.size(), hotbird);
  EXPECT_EQ(fields[1036], L"2 of 9") << "selected satellite 2 of the list's 9";
  EXPECT_EQ(fields[1037], L"1 of 7");
  EXPECT_EQ(fields[1040], L"9 of 9");
  EXPECT_EQ(fields[1042], L"1 of 1");

  // Every stream locked once, then back to the primary transponder of each satellite.
  std::vector<int> locked = LockedStreams();
  std::vector<int> want = {0x0471, 0x0401, 0x0411, 0x0441, 0x0461, 0x0471, 0x0471,
                           0x1201, 0x1001, 0x1101, 0x1201, 0x1202, 0x1203, 0x1204, 0x1205, 0x1206, 0x1207, 0x1201};
  EXPECT_EQ(locked, want);
  // DiSEqC 1.0 committed switch: input A for Astra, position B for Hotbird.
  std::set<int> inputs;
  for (const VSIM_DISEQC& d : vsim_->Diseqc()) {
    EXPECT_TRUE(d.Message[0] == 0xE0 || d.Message[0] == 0xE1) << "first send or repeat";
    EXPECT_EQ(d.Message[1], 0x10);
    EXPECT_EQ(d.Message[2], 0x38);
    inputs.insert(d.SwitchInput & 1);
  }
  EXPECT_EQ(inputs, (std::set<int>{0, 1}));

  // "Single satellite..." again on Astra with the data kept: each stream is
  // tuned again but stored once.
  const auto before = store_.at(0x0101).transponders.at(0x0401).pat.CRC_32;
  result = Scan(orb::scan::SCAN_SINGLE_SATELLITE, [&](HWND dialog) {
    SelectSatellite(dialog, L"Astra 19E");
    ASSERT_TRUE(StartAndWait(dialog));
    fields[1037] = Field(dialog, 1037);
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Streams(), astra + hotbird);
  EXPECT_EQ(store_.at(0x0101).transponders.at(0x0401).pat.CRC_32, before);
  EXPECT_EQ(fields[1037], L"1 of 1");
}

TEST_P(ScanDialog, CurrentNitScansTheTunedSatellitesNetwork) {
  if (std::string(GetParam().name) != "ustrel") GTEST_SKIP() << "one family is enough";
  orb::app::WriteSITableSelection(0);
  Tune(L"Hotbird 13E", 1071900, 1);
  std::wstring selected;
  const INT_PTR result = Scan(orb::scan::SCAN_CURRENT_NIT, [&](HWND dialog) {
    selected = ComboSelection(dialog);
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(selected, L"(none)") << "Hotbird 13E is not selected in the list";
  EXPECT_TRUE(store_.empty()) << "no satellite selected";

  MakePrimary(satList_, L"Hotbird 13E", 0);
  const INT_PTR again = Scan(orb::scan::SCAN_CURRENT_NIT, [&](HWND dialog) {
    selected = ComboSelection(dialog);
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(again, IDOK);
  EXPECT_EQ(selected, L"Hotbird 13E") << "the current satellite";
  EXPECT_EQ(Streams(), 9u);
  const std::vector<int> locked = LockedStreams();
  ASSERT_FALSE(locked.empty());
  EXPECT_EQ(locked.back(), 0x1201) << "the tuner is back where it started";
}

TEST_P(ScanDialog, CancelEscapeAndTheSystemCloseStopTheScanBeforeTheDialogEnds) {
  if (std::string(GetParam().name) != "belvane") GTEST_SKIP() << "one family is enough";
  orb::app::WriteSITableSelection(0x41B);
  MakePrimary(satList_, L"Astra 19E", 0);
  MakePrimary(satList_, L"Hotbird 13E", 0);
  bool stillThere = false;
  bool closeDisabled = false;
  const INT_PTR result = Scan(orb::scan::SCAN_ALL_SATELLITES, [&](HWND dialog) {
    HWND start = ::GetDlgItem(dialog, 1011);
    Press(dialog, 1011);
    ASSERT_TRUE(WaitFor([&] { return LockedStreams().size() >= 2; }));
    closeDisabled = !::IsWindowEnabled(::GetDlgItem(dialog, IDOK));
    // Escape and the system close act as Cancel: the dialog stays.
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitFor([&] { return WindowText(start) == L"Start" && ::IsWindowEnabled(start); }));
    stillThere = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(closeDisabled);
  EXPECT_TRUE(stillThere);
  EXPECT_EQ(result, IDCANCEL) << "Close after a cancelled scan";
  EXPECT_LT(Streams(), 14u);
  EXPECT_LE(LockedStreams().size(), 4u) << "no tune after the cancel was seen";
}

TEST_P(ScanDialog, AMultiplexFromACaptureFileScansLikeAGeneratedOne) {
  if (std::string(GetParam().name) != "ustrel") GTEST_SKIP() << "one family is enough";
  const vsim::World world = vsim::DefaultWorld();
  auto generated = vsim::Multiplex::Generate(world, world.satellites[0].transponders[2],
                                             [] { return vsim::UtcInstant{2026, 12, 9, 7, 0, 0}; });
  const std::wstring folder = orb_test::TempFolder(L"orb-scan-capture");
  const std::wstring path = folder + L"\\capture.ts";
  {
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    // Two cycles as a card delivers them (counters running on), cut in the
    // middle of a packet at the start: the file is a capture.
    std::vector<std::uint8_t> stream;
    std::uint8_t packet[188];
    for (std::size_t i = 0; i < 2 * generated->PacketsPerCycle(); ++i) {
      generated->Next(packet);
      stream.insert(stream.end(), packet, packet + 188);
    }
    DWORD written = 0;
    ::WriteFile(f, stream.data() + 100, static_cast<DWORD>(stream.size() - 100), &written, nullptr);
    ::CloseHandle(f);
  }
  const std::string world_text = "network nid=0x0101 name=\"Captured\"\n"
                                 "satellite name=\"19.2E\" position=192 input=0\n"
                                 "transponder freq=11836000 pol=H sr=27500000 tsid=0x0441 nid=0x0101 ts=\"" +
                                 orb::app::Narrow(path) + "\"\n";
  ASSERT_EQ(vsim_->SetWorld(world_text.c_str()), 0);
  Tune(L"Astra 19E", 1183600, 0);
  const INT_PTR result = Scan(orb::scan::SCAN_CURRENT_TRANSPONDER, [&](HWND dialog) {
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  ASSERT_EQ(Streams(), 1u);
  const auto& t = store_.at(0x0101).transponders.at(0x0441);
  EXPECT_EQ(t.pmts.size(), 4u);
  EXPECT_EQ(t.sdtActual.at(0x0101).at(0x0441).at(0).services.size(), 4u);
  EXPECT_EQ(t.tdt.UTC_time.hour, 7u) << "the capture's own time";
  EXPECT_EQ(t.GetLabel(), "0441 - 11836H 3/4 27500");
}

namespace {

// A dialog that can be ended while its scan runs, as when its window goes
// away some other way than Close (WM_APP + 7 ends it at once).
class CForcedEndDlg : public CSIReadingDlg {
 public:
  using CSIReadingDlg::CSIReadingDlg;
  static constexpr UINT kEndNow = WM_APP + 7;

 protected:
  afx_msg LRESULT OnEndNow(WPARAM, LPARAM) {
    EndDialog(IDABORT);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CForcedEndDlg, CSIReadingDlg)
  ON_MESSAGE(CForcedEndDlg::kEndNow, &CForcedEndDlg::OnEndNow)
END_MESSAGE_MAP()

}  // namespace

// A multiplex whose CAT never comes: the first section request of every
// scan of it waits for its whole time-out (30 s) unless it is cancelled.
// Cancel, Escape and a Cancel pressed together with Start end the scan at
// once through the driver; so does ending the dialog under a running scan.
TEST_P(ScanDialog, CancelEndsTheSectionRequestUnderWayAtOnce) {
  if (std::string(GetParam().name) != "belvane") GTEST_SKIP() << "one family is enough";
  const std::string noCat = orb_test::CaptureWorldWithout(0x0001, L"orb-scan-cancel");
  ASSERT_FALSE(noCat.empty());
  ASSERT_EQ(vsim_->SetWorld(noCat.c_str()), 0);
  Tune(L"Astra 19E", 1183600, 0);
  orb::app::WriteSITableSelection(0x2);  // PAT, NIT, SDT and the CAT

  using orb_test::CancelBy;
  const std::pair<CancelBy, const char*> ways[] = {
      {CancelBy::Button, "Cancel button"}, {CancelBy::Escape, "Escape"}, {CancelBy::WithStart, "Cancel with Start"}};
  for (const auto& [how, name] : ways) {
    IDvbDriver* driver = driver_;
    UINT mode = orb::scan::SCAN_CURRENT_TRANSPONDER;
    CSIReadingDlg dlg(store_, mode, driver, nullptr, satList_);
    const orb_test::CancelRun run =
        orb_test::CancelDuringRequest(dlg, how, [&] { return vsim_->ActiveFilters() > 0; });
    std::printf("[ cancel   ] %s: the dialog was ready again %.2f s after the cancel\n", name, run.seconds);
    EXPECT_EQ(run.result, IDCANCEL) << name;
    EXPECT_TRUE(run.requestRan || how == CancelBy::WithStart) << name;
    EXPECT_GE(run.seconds, 0.0) << name;
    EXPECT_LT(run.seconds, 25.0) << name << ": the scan ended before the request's time-out";
    EXPECT_TRUE(store_.empty()) << name;
    EXPECT_EQ(vsim_->ActiveFilters(), 0) << name << ": every filter of the request stopped";
  }

  // The dialog ended under a running scan: its worker is cancelled and
  // joined before the dialog object goes.
  double ended = -1, seconds = -1;
  {
    IDvbDriver* driver = driver_;
    UINT mode = orb::scan::SCAN_CURRENT_TRANSPONDER;
    ULONGLONG at = 0;
    {
      CForcedEndDlg dlg(store_, mode, driver, nullptr, satList_);
      const INT_PTR result = orb_test::RunReadingDialog(dlg, [&](HWND dialog) {
        Press(dialog, 1011);
        WaitFor([&] { return vsim_->ActiveFilters() > 0; });
        ::Sleep(500);
        at = ::GetTickCount64();
        ::PostMessageW(dialog, CForcedEndDlg::kEndNow, 0, 0);
      });
      EXPECT_EQ(result, IDABORT);
      ended = static_cast<double>(::GetTickCount64() - at) / 1000.0;
    }
    seconds = static_cast<double>(::GetTickCount64() - at) / 1000.0;
  }
  std::printf("[ cancel   ] dialog ended during the scan %.2f s after it was told to; its worker joined %.2f s after that order\n",
              ended, seconds);
  EXPECT_LT(seconds, 25.0);
  EXPECT_TRUE(store_.empty());
  EXPECT_EQ(vsim_->ActiveFilters(), 0);

  // Nothing of a cancel stays behind: the next scan, which does not ask for
  // the CAT, reads and stores the stream.
  orb::app::WriteSITableSelection(0);
  const INT_PTR result = Scan(orb::scan::SCAN_CURRENT_TRANSPONDER, [&](HWND dialog) {
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Streams(), 1u);
}

namespace {

class CFailingStartDlg : public CSIReadingDlg {
 public:
  using CSIReadingDlg::CSIReadingDlg;

 protected:
  CWinThread* BeginWorker() override { return nullptr; }
};

}  // namespace

TEST_P(ScanDialog, AWorkerThatCannotStartLeavesTheDialogIdleAndMessagesComeFromTheGuiThread) {
  if (std::string(GetParam().name) != "corvane") GTEST_SKIP() << "one family is enough";
  IDvbDriver* driver = driver_;
  UINT mode = orb::scan::SCAN_CURRENT_TRANSPONDER;
  CFailingStartDlg failing(store_, mode, driver, nullptr, satList_);
  std::wstring caption;
  bool startEnabled = false, closeEnabled = false;
  const INT_PTR result = orb_test::RunReadingDialog(failing, [&](HWND dialog) {
    Press(dialog, 1011);
    ::Sleep(200);
    caption = WindowText(::GetDlgItem(dialog, 1011));
    startEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, 1011)) != 0;
    closeEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != 0;
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(caption, L"Start");
  EXPECT_TRUE(startEnabled);
  EXPECT_TRUE(closeEnabled);

  // "Single satellite..." without a selection: the message comes once the
  // worker has ended, from the dialog's own thread.
  const DWORD gui = ::GetCurrentThreadId();
  std::vector<std::pair<std::string, DWORD>> boxes;
  AfxSetMessageBoxHook([&](const CString& text, UINT) {
    boxes.emplace_back(orb::app::Narrow(static_cast<LPCWSTR>(text)), ::GetCurrentThreadId());
    return IDOK;
  });
  const INT_PTR single = Scan(orb::scan::SCAN_SINGLE_SATELLITE, [&](HWND dialog) {
    ASSERT_TRUE(StartAndWait(dialog));
    Press(dialog, IDOK);
  });
  AfxSetMessageBoxHook(nullptr);
  EXPECT_EQ(single, IDOK);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, "You must select a satellite to scan");
  EXPECT_EQ(boxes[0].second, gui);
  EXPECT_TRUE(store_.empty());
}

INSTANTIATE_TEST_SUITE_P(Families, ScanDialog, ::testing::ValuesIn(plugtest::Plugins()), Name);
