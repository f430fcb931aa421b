// Quarn's dialogs through COM under Wine, driven by window messages from a
// second thread: the streaming pages write their files (TS packets of
// chosen PIDs read back by orb-tsdump, the sections of chosen PIDs, the
// A/V pins' PES), each run ending with no push thread and only the source
// filter left in the graph; the pin-list rules; closing the sheet while a
// page runs; the configuration sheet with Quarn's capability text.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "contract/driver_contract.h"
#include "dialog_driver.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "quarn.h"
#include "quarn_fixture.h"
#include "win_layout.h"
#include "win_process.h"

namespace {

using namespace plugtest;
using orb::com::Bstr;
using orb::com::ComPtr;
using quarntest::QuarnTest;
using quarntest::Sim;

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::vector<std::string> ListBoxTexts(HWND dlg, int id) {
  std::vector<std::string> texts;
  const int n = static_cast<int>(SendDlgItemMessageA(dlg, id, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[32] = {};
    SendDlgItemMessageA(dlg, id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

class QuarnDialogTest : public QuarnTest {
 protected:
  void SetUp() override {
    QuarnTest::SetUp();
    ConfigureDish(2);
    ASSERT_EQ(Init(), S_OK);
    ASSERT_EQ(TuneSatellite(L"19.2E", 1183600, 0, 275000), S_OK);
    dialogs_ = Get<IDriverDialogs>();
  }
  void TearDown() override {
    dialogs_ = nullptr;
    QuarnTest::TearDown();
  }
  std::wstring OutFile(const char* name) {
    const std::wstring path = quarntest::ExeDir() + L"\\quarn_" + std::wstring(name, name + strlen(name));
    DeleteFileW(path.c_str());
    return path;
  }
  // Selects pin `pin` of a pin-list page, names its file and adds the PIDs.
  static void SetUpPin(HWND page, int pin, const std::wstring& file, const std::vector<const char*>& pids) {
    Choose(page, 273, pin);
    SetItemText(page, 274, Narrow(file));
    Notify(page, 274, EN_KILLFOCUS);
    for (const char* pid : pids) {
      SetItemText(page, 280, pid);
      Notify(page, 281, BN_CLICKED);
    }
  }
  ComPtr<IDriverDialogs> dialogs_;
};

TEST_F(QuarnDialogTest, PinListsKeepOrderedPidsPerPin) {
  std::vector<std::string> pages, pin0, pin1, afterRemove;
  std::string file0Back, avAudio, avVideo, layout;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    pages = TabTexts(sheet);
    HWND page = CurrentPage(sheet);  // "TS"
    SetUpPin(page, 0, L"C:\\first.ts", {"1ff", "01FF", "12", "zz"});
    pin0 = ListBoxTexts(page, 276);
    SetUpPin(page, 1, L"C:\\second.ts", {"10"});
    pin1 = ListBoxTexts(page, 276);
    Choose(page, 273, 0);
    file0Back = ItemText(page, 274);
    // Select 0012 and 01FF and remove them.
    SendDlgItemMessageA(page, 276, LB_SETSEL, TRUE, 1);
    SendDlgItemMessageA(page, 276, LB_SETSEL, TRUE, 2);
    Notify(page, 282, BN_CLICKED);
    afterRemove = ListBoxTexts(page, 276);
    layout += orb_test::LayoutFaultText(page);
    SaveWindowBitmap(sheet, L"dialog_quarn_streaming_ts.bmp");
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    HWND av = CurrentPage(sheet);
    avAudio = ItemText(av, 225);
    avVideo = ItemText(av, 224);
    layout += orb_test::LayoutFaultText(av);
    SaveWindowBitmap(sheet, L"dialog_quarn_streaming_av.bmp");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_EQ(pages, (std::vector<std::string>{"TS", "A/V streaming", "SI/Private sections"}));
  // "zz" has no hexadecimal digit: PID 0.
  EXPECT_EQ(pin0, (std::vector<std::string>{"0000", "0012", "01FF"}));
  EXPECT_EQ(pin1, (std::vector<std::string>{"0010"}));
  EXPECT_EQ(file0Back, "C:\\first.ts");
  EXPECT_EQ(afterRemove, (std::vector<std::string>{"0000"}));
  EXPECT_EQ(avAudio, "0100");
  EXPECT_EQ(avVideo, "0101");
}

TEST_F(QuarnDialogTest, TsPageWritesThePacketsOfItsPidsPerPin) {
  const std::wstring pat = OutFile("ts_pin0.ts"), sdt = OutFile("ts_pin2.ts"), unused = OutFile("ts_pin1.ts");
  std::string buttonRunning, buttonAfter;
  int streamsRunning = -1;
  bool disabledWhileStopping = false;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    HWND page = CurrentPage(sheet);
    SetUpPin(page, 0, pat, {"0"});
    SetUpPin(page, 1, unused, {});  // a file without PIDs: not touched
    SetUpPin(page, 2, sdt, {"11", "10"});
    Notify(page, 230, BN_CLICKED);
    buttonRunning = ItemText(page, 230);
    WaitFor([&] { return FileSize(pat) > 188 * 20 && FileSize(sdt) > 188 * 20; }, 5000);
    streamsRunning = Sim().RunningStreams();
    Notify(page, 230, BN_CLICKED);  // Cancel
    disabledWhileStopping = !Enabled(page, 230) || ItemText(page, 230) == "Start";
    WaitFor([&] { return ItemText(page, 230) == "Start" && Enabled(page, 230); }, 5000);
    buttonAfter = ItemText(page, 230);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(buttonRunning, "Cancel");
  EXPECT_TRUE(disabledWhileStopping);
  EXPECT_EQ(buttonAfter, "Start");
  EXPECT_EQ(streamsRunning, 1);
  EXPECT_EQ(Sim().RunningStreams(), 0);
  EXPECT_EQ(Sim().LiveFilters(), 1);  // a freshly built graph: the source alone
  EXPECT_EQ(FileSize(unused), -1);

  for (const auto& [file, allowed] : {std::pair{pat, std::vector<int>{0}}, std::pair{sdt, std::vector<int>{0x10, 0x11}}}) {
    const auto bytes = ReadFileBytes(file);
    ASSERT_GT(bytes.size(), 0u);
    ASSERT_EQ(bytes.size() % 188, 0u);
    for (size_t at = 0; at < bytes.size(); at += 188) {
      const int pid = (bytes[at + 1] & 0x1F) << 8 | bytes[at + 2];
      ASSERT_NE(std::find(allowed.begin(), allowed.end(), pid), allowed.end()) << pid;
    }
    std::string dump;
    EXPECT_EQ(TsDump(file, &dump), 0) << dump;
  }
  // The section reading still works on the rebuilt graph.
  SectionFilterSpec spec{};
  spec.pid = 0;
  SectionResult result{};
  ASSERT_EQ(Get<ISectionReader>()->GetSections(1, &spec, 5, &result), S_OK);
  EXPECT_EQ(result.count, 1u);
  for (uint32_t i = 0; i < result.count; ++i) CoTaskMemFree(result.sections[i]);
  CoTaskMemFree(result.sections);
}

TEST_F(QuarnDialogTest, SiPageWritesTheSectionsOfItsPids) {
  const std::wstring file = OutFile("si_pin1.bin");
  std::string layout;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
    HWND page = CurrentPage(sheet);
    SetUpPin(page, 1, file, {"0", "11"});
    Notify(page, 230, BN_CLICKED);
    WaitFor([&] { return FileSize(file) > 2000; }, 5000);
    layout = orb_test::LayoutFaultText(page);
    SaveWindowBitmap(sheet, L"dialog_quarn_streaming_si.bmp");
    Notify(page, 230, BN_CLICKED);
    WaitFor([&] { return ItemText(page, 230) == "Start" && Enabled(page, 230); }, 5000);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_EQ(Sim().RunningStreams(), 0);
  EXPECT_EQ(Sim().LiveFilters(), 1);
  // Whole sections one after another: the PAT, and the SDT/BAT of PID 0x11.
  const auto bytes = ReadFileBytes(file);
  ASSERT_GT(bytes.size(), 0u);
  size_t at = 0;
  bool pat = false, sdt = false;
  while (at + 3 <= bytes.size()) {
    const int table = bytes[at];
    EXPECT_TRUE(table == 0x00 || table == 0x42 || table == 0x46 || table == 0x4A) << table;
    pat = pat || table == 0x00;
    sdt = sdt || table == 0x42;
    const size_t length = 3 + (((bytes[at + 1] & 0x0F) << 8) | bytes[at + 2]);
    ASSERT_LE(at + length, bytes.size());
    at += length;
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_TRUE(pat);
  EXPECT_TRUE(sdt);
}

TEST_F(QuarnDialogTest, AvPageWritesThePesOfBothPins) {
  const std::wstring video = OutFile("video.bin"), audio = OutFile("audio.bin");
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    HWND page = CurrentPage(sheet);
    // The first service of 11836 H: video 0x101, audio 0x102.
    SetItemText(page, 225, "102");
    SetItemText(page, 226, Narrow(video));
    SetItemText(page, 228, Narrow(audio));
    Notify(page, 230, BN_CLICKED);
    WaitFor([&] { return FileSize(video) > 1000 && FileSize(audio) > 1000; }, 5000);
    Notify(page, 230, BN_CLICKED);
    WaitFor([&] { return ItemText(page, 230) == "Start" && Enabled(page, 230); }, 5000);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(Sim().RunningStreams(), 0);
  EXPECT_EQ(Sim().LiveFilters(), 1);
  for (const auto& [file, streamId] : {std::pair{video, 0xE0}, std::pair{audio, 0xC0}}) {
    const auto bytes = ReadFileBytes(file);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0x01);
    EXPECT_EQ(bytes[3], streamId);
  }
}

TEST_F(QuarnDialogTest, ClosingTheSheetStopsARunningPageAndOnlyOneUsesTheGraph) {
  const std::wstring ts = OutFile("close.ts"), si = OutFile("close.bin");
  std::string siButtonAfterStart;
  long long siSize = -2;
  HRESULT readWhileStreaming = S_OK;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    HWND page = CurrentPage(sheet);
    SetUpPin(page, 0, ts, {"0"});
    Notify(page, 230, BN_CLICKED);
    WaitFor([&] { return FileSize(ts) > 188 * 10; }, 5000);
    // Section reading finds the graph in use and fails at once.
    SectionFilterSpec spec{};
    SectionResult result{};
    readWhileStreaming = Get<ISectionReader>()->GetSections(1, &spec, 5, &result);
    // The SI page finds the graph in use: its worker ends at once.
    SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
    HWND siPage = CurrentPage(sheet);
    SetUpPin(siPage, 0, si, {"0"});
    Notify(siPage, 230, BN_CLICKED);
    WaitFor([&] { return ItemText(siPage, 230) == "Start"; }, 5000);
    siButtonAfterStart = ItemText(siPage, 230);
    siSize = FileSize(si);
    // Close with the TS page still running.
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(readWhileStreaming, E_FAIL);
  EXPECT_EQ(siButtonAfterStart, "Start");
  EXPECT_EQ(siSize, -1);
  EXPECT_EQ(Sim().RunningStreams(), 0);
  EXPECT_EQ(Sim().LiveFilters(), 1);
  EXPECT_GT(FileSize(ts), 0);
}

TEST_F(QuarnDialogTest, ConfigurationShowsTheTunerAndStoresTheSlots) {
  std::string info, layout;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Configuration");
    if (!sheet) return;
    layout += orb_test::LayoutFaultText(CurrentPage(sheet));
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    info = ItemText(CurrentPage(sheet), 218);
    layout += orb_test::LayoutFaultText(CurrentPage(sheet));
    SaveWindowBitmap(sheet, L"dialog_quarn_config_info.bmp");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowConfiguration(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_EQ(info.rfind("Modulation: DVB-S\n", 0), 0u) << info;
  EXPECT_NE(info.find("signal strength supported: yes"), std::string::npos);
  EXPECT_NE(info.find("ber supported: no"), std::string::npos);
  DWORD mode = 0;
  ASSERT_TRUE(quarntest::ReadDword(classKey_, "disqmode", mode));
  EXPECT_EQ(mode, 2u);
}

}  // namespace

namespace {

TEST_F(QuarnDialogTest, TuningDialogReadsBackAndTunesThroughTheSwitch) {
  std::string frequency, symbolRate, fec;
  int disq = -2, sync = -1, level = -1;
  bool horizontal = false;
  std::string layout;
  DialogScript script([&] {
    HWND dlg = WaitDialog("Tuning");
    if (!dlg) return;
    frequency = ItemText(dlg, 201);
    symbolRate = ItemText(dlg, 202);
    horizontal = Checked(dlg, 203);
    disq = ListSelection(dlg, 1004);
    const int f = ListSelection(dlg, 207);
    fec = f >= 0 ? ListEntries(dlg, 207)[static_cast<size_t>(f)] : "";
    WaitFor([&] { return ProgressPos(dlg, 1082) == 1 && ProgressPos(dlg, 1078) > 0; }, 3000);
    sync = ProgressPos(dlg, 1082);
    level = ProgressPos(dlg, 1078);
    layout = orb_test::LayoutFaultText(dlg);
    SaveWindowBitmap(dlg, L"dialog_quarn_tuning.bmp");
    // 13.0E on position B ("B/A"): 11034 V in the low band.
    SetItemText(dlg, 201, "11034000");
    Click(dlg, 204, {203, 204});
    Choose(dlg, 1004, 2);  // "B/A"
    Choose(dlg, 207, 2);  // 3/4
    PostClick(dlg, IDOK);
  });
  EXPECT_EQ(dialogs_->ShowTuningDialog(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_EQ(frequency, "11836000");
  EXPECT_EQ(symbolRate, "27500");
  EXPECT_TRUE(horizontal);
  EXPECT_EQ(disq, 0);
  EXPECT_EQ(fec, "AUTO");
  EXPECT_EQ(sync, 1);
  EXPECT_GT(level, 0);
  const QSIM_TUNE t = LastTune();
  EXPECT_EQ(t.FrequencyKhz, 11034000u);
  EXPECT_EQ(t.Diseqc, 5u);
  EXPECT_EQ(t.LnbMhz, 9750u);
  EXPECT_EQ(t.Tone, 0u);
  EXPECT_EQ(t.Polarity, 1u);
  EXPECT_EQ(t.Fec, 3u);
  EXPECT_TRUE(t.Locked);
  // The satellite tuned by the dialog is the current one for the program.
  Bstr sat;
  SATDELIVERYDESC d{};
  ASSERT_EQ(Get<ISetTuner>()->GetSatChannel(sat.Put(), &d), S_OK);
  EXPECT_STREQ(sat.Get(), L"13.0E");
}

// A cable tuner: the symbol rate read back from the locked tuner (shown in
// symbols/s) and one typed in the unit the label gives (kS/s) both reach the
// tuner as the same kS/s.
TEST_F(QuarnTest, TuningDialogCableSymbolRateEitherWayReachesTheTuner) {
  Sim().SetTunerType(1);
  ASSERT_EQ(Init(), S_OK);
  CABLEDELIVERYDESC c{};
  c.frequency = 3460000;  // 346 MHz
  c.modulation = 3;       // 64-QAM
  c.symbol_rate = 69000;  // 6900 kS/s
  ASSERT_EQ(Get<ISetTuner>()->TuneCable(0, &c), S_OK);
  ComPtr<IDriverDialogs> dialogs = Get<IDriverDialogs>();

  auto applyWith = [&](const char* symbolRate, std::string* shown) {
    const int before = Sim().TuneCount();
    std::string layout;
    DialogScript script([&] {
      HWND dlg = WaitDialog("Tuning");
      if (!dlg) return;
      layout = orb_test::LayoutFaultText(dlg);
      if (shown) *shown = ItemText(dlg, 202);
      if (symbolRate) SetItemText(dlg, 202, symbolRate);
      Notify(dlg, 209, BN_CLICKED);
      PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(dialogs->ShowTuningDialog(nullptr), S_OK);
    script.Join();
    EXPECT_EQ(layout, "");
    EXPECT_GT(Sim().TuneCount(), before);
  };

  std::string shown;
  applyWith(nullptr, &shown);
  EXPECT_EQ(shown, "6900000");
  EXPECT_EQ(LastTune().SymbolRateKsps, 6900u);
  EXPECT_TRUE(LastTune().Locked);

  applyWith("6900", nullptr);
  EXPECT_EQ(LastTune().FrequencyKhz, 346000u);
  EXPECT_EQ(LastTune().SymbolRateKsps, 6900u);
  EXPECT_EQ(LastTune().Modulation, 5u);
  EXPECT_TRUE(LastTune().Locked);
}

TEST_F(QuarnDialogTest, TuningDialogToneBurstSlotsUseOneCodeEach) {
  quarntest::WriteDword(classKey_, "disqmode", 1);
  ASSERT_EQ(Init(), S_OK);
  DialogScript script([&] {
    HWND dlg = WaitDialog("Tuning");
    if (!dlg) return;
    SetItemText(dlg, 201, "11034000");
    SetItemText(dlg, 202, "27500");
    Click(dlg, 204, {203, 204});
    Choose(dlg, 1004, 1);  // "B"
    Notify(dlg, 209, BN_CLICKED);
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(dialogs_->ShowTuningDialog(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(LastTune().Diseqc, 2u);
  EXPECT_TRUE(LastTune().Locked);
}

}  // namespace

namespace {

// The plug-in's log as it stands (the file is shared by the tests: count
// lines, do not look for the first).
size_t LogCount(const std::string& line) {
  const std::vector<unsigned char> bytes = ReadFileBytes(quarntest::ExeDir() + L"\\quarn.txt");
  const std::string text(bytes.begin(), bytes.end());
  size_t n = 0;
  for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
  return n;
}

TEST_F(QuarnDialogTest, AFailureAfterRunStopsAndRebuildsTheGraph) {
  const std::wstring file = OutFile("fail.ts");
  const char* const failedStep = "Add PIDs to QUARN Filter Data pin failed, hr=0X80004005";
  const size_t failuresBefore = LogCount(failedStep);
  Sim().FailCall("AddPIDs", 1);
  std::string button;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    HWND page = CurrentPage(sheet);
    SetUpPin(page, 0, file, {"0"});
    Notify(page, 230, BN_CLICKED);
    WaitFor([&] { return ItemText(page, 230) == "Start" && Enabled(page, 230); }, 5000);
    button = ItemText(page, 230);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(button, "Start");
  EXPECT_EQ(Sim().RunningStreams(), 0);
  EXPECT_EQ(Sim().LiveFilters(), 1);
  // The failed step is in the log with its result.
  EXPECT_EQ(LogCount(failedStep), failuresBefore + 1);
  // The next run on the same pin connects again.
  SectionFilterSpec spec{};
  SectionResult result{};
  ASSERT_EQ(Get<ISectionReader>()->GetSections(1, &spec, 5, &result), S_OK);
  EXPECT_EQ(result.count, 1u);
  for (uint32_t i = 0; i < result.count; ++i) CoTaskMemFree(result.sections[i]);
  CoTaskMemFree(result.sections);
}

}  // namespace
