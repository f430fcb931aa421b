// The plug-ins' configuration sheet and tuning dialog, opened through
// IDriverDialogs and driven by window messages from a second thread; their
// effect is read back from the registry and the simulated card.  Pictures
// of each dialog are written beside the test program.
#include "plugin_fixture.h"

#include <commctrl.h>
#include <prsht.h>

#include "dialog_driver.h"
#include "orb_atl/module.h"
#include "win_layout.h"
#include "win_process.h"

namespace plugtest {
namespace {

// A world of one satellite on switch input A/A and one on B/A, and a cable
// network, independent of the library's default world.
const char kWorld[] =
    "satellite name=\"19.2E\" position=192 input=0\n"
    "transponder freq=11836000 pol=H sr=27500000 tsid=0x0441 onid=0x0001 nid=0x0001 services=2\n"
    "transponder freq=10832000 pol=V sr=22000000 tsid=0x0442 onid=0x0001 nid=0x0001 services=2\n"
    "satellite name=\"13.0E\" position=130 input=1\n"
    "transponder freq=12380000 pol=H sr=27500000 tsid=0x0501 onid=0x013E nid=0x013E services=2\n"
    "cable freq=346000 qam=64 sr=6900000 tsid=0x2001 onid=0x0303 nid=0x0303 services=2\n"
    "cable freq=354000 qam=256 sr=6900000 tsid=0x2002 onid=0x0303 nid=0x0303 services=2\n";

std::vector<FakeSatellite> Satellites() {
  return {{L"19.2E", {{1, 0x441, 1183600, 0, 275000, 1}, {1, 0x442, 1083200, 1, 220000, 0}}},
          {L"13.0E", {{0x13E, 0x501, 1238000, 0, 275000, 1}}}};
}

class DialogTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ASSERT_EQ(vsim_->SetWorld(kWorld), 0);
    WriteDword(classKey_, "device", 0);
  }
  void Setting(const char* name, DWORD value) { WriteDword(DeviceKey(), name, value); }
  void Setting(const char* name, const char* value) { WriteString(DeviceKey(), name, value); }
  void Start(bool satList = true) {
    InitOk();
    if (satList) {
      ComPtr<ISatListManager> list;
      ASSERT_EQ(CreateFakeSatList(Satellites(), list.Put()), S_OK);
      ASSERT_EQ(Get<IDriverControl>()->SetSatListMgr(list.Get()), S_OK);
    }
    dialogs_ = Get<IDriverDialogs>();
  }
  DWORD Stored(const char* name) {
    DWORD v = 0xDEADBEEF;
    ReadDword(DeviceKey(), name, v);
    return v;
  }
  std::wstring Picture(const char* what) {
    return L"dialog_" + std::wstring(GetParam().dll, GetParam().dll + wcslen(GetParam().dll) - 4) + L"_" +
           std::wstring(what, what + strlen(what)) + L".bmp";
  }
  VSIM_CHANNEL LastChannel() {
    auto c = vsim_->Channels();
    return c.empty() ? VSIM_CHANNEL{} : c.back();
  }
  ComPtr<IDriverDialogs> dialogs_;
};

INSTANTIATE_TEST_SUITE_P(Plugins, DialogTest, ::testing::ValuesIn(Plugins()),
                         [](const ::testing::TestParamInfo<Plugin>& i) { return std::string(i.param.name); });

const std::vector<int> kModes = {1001, 1002, 1003};

TEST_P(DialogTest, ConfigurationEditsSlotsAndStoresThemOnOk) {
  Start();
  // The satellite list's objects the sheet asks for are all given back.
  const LONG liveObjects = orb::com::ModuleLockCount();
  std::vector<std::string> emptySlots, slots, satellites, info;
  std::string layout;
  bool selectorEnabled = true;
  std::string shownLof1;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Configuration");
    if (!sheet) return;
    HWND page = CurrentPage(sheet);
    emptySlots = ListEntries(page, 1004);
    selectorEnabled = Enabled(page, 1004);
    satellites = ListEntries(page, 1009);
    Click(page, 1003, kModes);
    slots = ListEntries(page, 1004);
    Choose(page, 1004, 1);  // "A/B": slot 2
    SetItemText(page, 1005, "5150000");
    SetItemText(page, 1007, "5750000");
    SetItemText(page, 1006, "0");
    Notify(page, 1005, EN_KILLFOCUS);
    SendDlgItemMessageA(page, 1008, BM_SETCHECK, BST_UNCHECKED, 0);
    Notify(page, 1008, BN_CLICKED);
    SendDlgItemMessageA(page, 1009, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("13.0E"));
    Notify(page, 1009, CBN_SELCHANGE);
    Choose(page, 1004, 0);  // back to slot 1: its own values come back
    shownLof1 = ItemText(page, 1005);
    Choose(page, 1004, 1);
    layout += orb_test::LayoutFaultText(page);
    SaveWindowBitmap(sheet, Picture("config_lnb"));
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    info.push_back(ItemText(CurrentPage(sheet), 218));
    layout += orb_test::LayoutFaultText(CurrentPage(sheet));
    SaveWindowBitmap(sheet, Picture("config_info"));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    WaitFor([sheet] { return !IsWindow(sheet); });
  });
  EXPECT_EQ(dialogs_->ShowConfiguration(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(orb::com::ModuleLockCount(), liveObjects);
  EXPECT_TRUE(emptySlots.empty());
  EXPECT_FALSE(selectorEnabled);
  EXPECT_EQ(satellites, (std::vector<std::string>{"19.2E", "13.0E"}));
  EXPECT_EQ(slots, (std::vector<std::string>{"A/A", "A/B", "B/A", "B/B"}));
  EXPECT_EQ(shownLof1, "9750000");
  EXPECT_EQ(layout, "");
  ASSERT_EQ(info.size(), 1u);
  EXPECT_NE(info[0].find("FEC auto: "), std::string::npos);
  EXPECT_NE(info[0].find("\nAntenna power: "), std::string::npos);
  // Stored at OK, without SaveSettings.
  EXPECT_EQ(Stored("disqmode"), 2u);
  EXPECT_EQ(Stored("lfo1_2"), 5150000u);
  EXPECT_EQ(Stored("lfo2_2"), 5750000u);
  EXPECT_EQ(Stored("switch_2"), 0u);
  EXPECT_EQ(Stored("lnbpower_2"), 0u);
  EXPECT_EQ(Stored("lfo1_1"), 9750000u);
  std::string name;
  EXPECT_TRUE(ReadString(DeviceKey(), "satellite2", name));
  EXPECT_EQ(name, "13.0E");
}

TEST_P(DialogTest, ConfigurationRefusesBadValuesAndCancelKeepsTheSettings) {
  Start();
  Box box;
  bool stillOpen = false;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Configuration");
    if (!sheet) return;
    HWND page = CurrentPage(sheet);
    Click(page, 1002, kModes);
    SetItemText(page, 1005, "97x");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    AnswerBox("Error", box);
    stillOpen = IsWindow(sheet) && IsWindowVisible(sheet);
    SetItemText(page, 1005, "-1");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
    Box second;
    AnswerBox("Error", second);
    // Escape (the sheet's Cancel) ends it without storing anything.
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    WaitFor([sheet] { return !IsWindow(sheet); });
  });
  EXPECT_EQ(dialogs_->ShowConfiguration(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(box.text, "Please insert a valid LNB frequency!\n(0 kHz - 30000000 kHz)");
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(Stored("disqmode"), 0xDEADBEEFu);
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  EXPECT_EQ(Stored("disqmode"), 0u);
  EXPECT_EQ(Stored("lfo1_1"), 9750000u);
}

TEST_P(DialogTest, ConfigurationOfANonSatelliteCardShowsTheInfoPageAlone) {
  vsim_->SetDevices("cable");
  Start();
  int pages = 0;
  std::string text;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Configuration");
    if (!sheet) return;
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    pages = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    text = ItemText(CurrentPage(sheet), 218);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  });
  EXPECT_EQ(dialogs_->ShowConfiguration(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(text.rfind("FEC auto: ", 0), 0u);
}

TEST_P(DialogTest, TuningByHandLocksAndShowsTheSignal) {
  Start();
  int sync = -1, level = -1, quality = -1, channelsBefore = 0, channelsAfter = 0;
  bool inversionShown = false;
  DWORD inversionChecked = 99, inversionUnchecked = 99;
  Box box;
  std::string layout;
  DialogScript script([&] {
    HWND dlg = WaitDialog("Tuning");
    if (!dlg) return;
    SetItemText(dlg, 201, "11836000");
    SetItemText(dlg, 202, "27500000");
    Click(dlg, 203, {204});
    // A front end without automatic inversion: the box asks for it on.
    inversionShown = Visible(dlg, 208);
    if (inversionShown) {
      SendDlgItemMessageA(dlg, 208, BM_SETCHECK, BST_CHECKED, 0);
      Notify(dlg, 209, BN_CLICKED);
      inversionChecked = LastChannel().Channel.Inversion;
      SendDlgItemMessageA(dlg, 208, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    Notify(dlg, 209, BN_CLICKED);
    if (inversionShown) inversionUnchecked = LastChannel().Channel.Inversion;
    WaitFor([&] { return ProgressPos(dlg, 1082) == 1 && ProgressPos(dlg, 1079) > 0; }, 3000);
    sync = ProgressPos(dlg, 1082);
    level = ProgressPos(dlg, 1078);
    quality = ProgressPos(dlg, 1079);
    layout = orb_test::LayoutFaultText(dlg);
    SaveWindowBitmap(dlg, Picture("tuning"));
    // Outside the LNB's window: refused, nothing sent.
    channelsBefore = static_cast<int>(vsim_->Channels().size());
    SetItemText(dlg, 201, "13000000");
    PostClick(dlg, 209);
    AnswerBox("Error", box);
    channelsAfter = static_cast<int>(vsim_->Channels().size());
    SetItemText(dlg, 201, "11836000");
    PostClick(dlg, IDOK);
    WaitFor([dlg] { return !IsWindow(dlg); });
  });
  EXPECT_EQ(dialogs_->ShowTuningDialog(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_EQ(sync, 1);
  EXPECT_GT(level, 0);
  EXPECT_GE(quality, 50);
  // Only the budget cards lack automatic inversion.
  EXPECT_EQ(inversionShown, std::string(GetParam().name) == "belvane");
  if (inversionShown) {
    EXPECT_EQ(inversionChecked, 1u);
    EXPECT_EQ(inversionUnchecked, 0u);
  }
  EXPECT_EQ(box.text, "Please insert a valid frequency!\n(10700000 kHz - 12750000 kHz)");
  EXPECT_EQ(channelsAfter, channelsBefore);
  const VSIM_CHANNEL c = LastChannel();
  EXPECT_EQ(c.Channel.dwFreq, 11836000u);
  EXPECT_EQ(c.Channel.dwLOF, 10600000u);
  EXPECT_EQ(c.Channel.bF22kHz, 1u);
  EXPECT_EQ(c.Channel.LNB_Power, 18u);
  EXPECT_EQ(c.Channel.dwSymbRate, 27500000u);
  EXPECT_TRUE(c.Locked);
  // The dialog keeps what it tuned in the settings.
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  EXPECT_EQ(Stored("frequency"), 11836000u);
  EXPECT_EQ(Stored("symbolrate"), 27500000u);
}

TEST_P(DialogTest, TuningFromTheSatelliteListSwitchesToTheSlot) {
  Setting("disqmode", 2);
  Setting("satellite1", "19.2E");
  Setting("satellite3", "13.0E");
  Start();
  const LONG liveObjects = orb::com::ModuleLockCount();
  std::vector<std::string> transponders;
  std::string frequency, symbolRate;
  int slot = -1, sync = -1;
  bool horizontal = false;
  DialogScript script([&] {
    HWND dlg = WaitDialog("Tuning");
    if (!dlg) return;
    SendDlgItemMessageA(dlg, 211, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("13.0E"));
    Notify(dlg, 211, CBN_SELCHANGE);
    transponders = ListEntries(dlg, 212);
    Choose(dlg, 212, 0);
    frequency = ItemText(dlg, 201);
    symbolRate = ItemText(dlg, 202);
    slot = ListSelection(dlg, 1004);
    horizontal = Checked(dlg, 203) && !Checked(dlg, 204);
    PostClick(dlg, IDOK);
    WaitFor([dlg] { return !IsWindow(dlg); }, 3000);
    sync = IsWindow(dlg) ? 0 : 1;
  });
  EXPECT_EQ(dialogs_->ShowTuningDialog(nullptr), S_OK);
  script.Join();
  // Satellites, transponders and their enumerators are all given back.
  EXPECT_EQ(orb::com::ModuleLockCount(), liveObjects);
  EXPECT_EQ(transponders, (std::vector<std::string>{"013E 0501 P 12380000 H"}));
  EXPECT_EQ(frequency, "12380000");
  EXPECT_EQ(symbolRate, "27500000");
  EXPECT_EQ(slot, 2);
  EXPECT_TRUE(horizontal);
  EXPECT_EQ(sync, 1);  // OK closed the dialog: locked
  const VSIM_CHANNEL c = LastChannel();
  EXPECT_TRUE(c.Locked);
  EXPECT_EQ(c.TransportStreamId, 0x0501);
  auto diseqc = vsim_->Diseqc();
  ASSERT_GE(diseqc.size(), 3u);
  EXPECT_EQ(diseqc.back().Message[3], 0xF0 | 0x04 | 0x02 | 0x01);  // B/A, horizontal, high band
  Bstr name;
  SATDELIVERYDESC d{};
  ASSERT_EQ(Get<ISetTuner>()->GetSatChannel(name.Put(), &d), S_OK);
  EXPECT_EQ(std::wstring(name.Get() ? name.Get() : L""), L"13.0E");
}

TEST_P(DialogTest, TuningACableCardByChannelName) {
  vsim_->SetDevices("cable");
  Start(false);
  bool symbolRateEnabled = false, slotEnabled = true;
  std::vector<std::string> qams;
  int sync = -1;
  VSIM_CHANNEL at64{};
  Box box;
  std::string layout;
  DialogScript script([&] {
    HWND dlg = WaitDialog("Tuning");
    if (!dlg) return;
    layout = orb_test::LayoutFaultText(dlg);
    symbolRateEnabled = Enabled(dlg, 202);
    slotEnabled = Enabled(dlg, 1004);
    qams = ListEntries(dlg, 205);
    SetItemText(dlg, 201, "ABC");
    PostClick(dlg, 209);
    AnswerBox("Error", box);
    SetItemText(dlg, 201, "346000");
    SetItemText(dlg, 202, "6900000");
    Choose(dlg, 205, 2);
    Notify(dlg, 209, BN_CLICKED);
    WaitFor([&] { return ProgressPos(dlg, 1082) == 1; }, 3000);
    at64 = LastChannel();
    // The 256-QAM channel locks only with "256" chosen.
    SetItemText(dlg, 201, "354000");
    Choose(dlg, 205, 4);
    Notify(dlg, 209, BN_CLICKED);
    WaitFor([&] { return LastChannel().Locked && ProgressPos(dlg, 1082) == 1; }, 3000);
    sync = ProgressPos(dlg, 1082);
    PostClick(dlg, IDCANCEL);
  });
  EXPECT_EQ(dialogs_->ShowTuningDialog(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_TRUE(symbolRateEnabled);
  EXPECT_FALSE(slotEnabled);
  EXPECT_EQ(qams, (std::vector<std::string>{"16", "32", "64", "128", "256"}));
  EXPECT_EQ(box.text, "Please insert a valid frequency!\n(45000 kHz - 860000 kHz)");
  EXPECT_EQ(at64.Channel.dwFreq, 346000u);
  EXPECT_EQ(at64.Channel.Qam, 2u);
  EXPECT_TRUE(at64.Locked);
  EXPECT_EQ(sync, 1);
  const VSIM_CHANNEL c = LastChannel();
  EXPECT_EQ(c.Channel.dwFreq, 354000u);
  EXPECT_EQ(c.Channel.Qam, 4u);
  EXPECT_TRUE(c.Locked);
}

}  // namespace
}  // namespace plugtest

namespace plugtest {
namespace {

// Every packet of a file: whole, in sync, of one PID (any when pid < 0).
bool PacketsOf(const std::vector<unsigned char>& b, int pid, size_t* count) {
  if (b.size() % 188) return false;
  for (size_t at = 0; at < b.size(); at += 188) {
    if (b[at] != 0x47) return false;
    if (pid >= 0 && (((b[at + 1] & 0x1F) << 8) | b[at + 2]) != pid) return false;
  }
  *count = b.size() / 188;
  return true;
}

class StreamingTest : public DialogTest {
 protected:
  void StartTuned() {
    Start(false);
    TuneSatellite();
  }
  std::wstring OutFile(const char* what) {
    const std::wstring path = ExeDir() + L"\\" + Picture(what).substr(0, Picture(what).size() - 4);
    DeleteFileW(path.c_str());
    return path;
  }
  int SiPageIndex() const { return GetParam().filterType == 3 ? 2 : 1; }
  static std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }
};

INSTANTIATE_TEST_SUITE_P(Plugins, StreamingTest, ::testing::ValuesIn(Plugins()),
                         [](const ::testing::TestParamInfo<Plugin>& i) { return std::string(i.param.name); });

TEST_P(StreamingTest, SectionPageWritesExactlyTheMatchingSections) {
  StartTuned();
  const std::wstring file = OutFile("si.bin"), tdtFile = OutFile("si_tdt.bin");
  std::vector<std::string> pages;
  int rows = -1, rowsAfterStop = -1, filtersRunning = -1;
  std::string row;
  bool extensionEnabledBefore = true, extensionEnabledAfter = false;
  Box refused;
  std::string layout;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    pages = TabTexts(sheet);
    SendMessageA(sheet, PSM_SETCURSEL, SiPageIndex(), 0);
    HWND page = CurrentPage(sheet);
    extensionEnabledBefore = Enabled(page, 1096);
    Click(page, 1095);
    SetItemText(page, 1102, "1");
    Notify(page, 1102, EN_KILLFOCUS);
    extensionEnabledAfter = Enabled(page, 1096);
    // A data pair that is not hexadecimal is refused before anything starts.
    Click(page, 1101);
    SetItemText(page, 1110, "4G");
    PostClick(page, 223);
    AnswerBox("Error", refused);
    SendDlgItemMessageA(page, 1101, BM_SETCHECK, BST_UNCHECKED, 0);
    Notify(page, 1101, BN_CLICKED);
    SetItemText(page, 1003, Narrow(file));
    SetItemText(page, 220, "11");
    SetItemText(page, 1090, "42");
    Notify(page, 223, BN_CLICKED);
    HWND list = GetDlgItem(page, 219);
    rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    char text[16] = {};
    LVITEMA item{};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    row = text;
    filtersRunning = vsim_->ActiveFilters();
    // The time and date table (no syntax indicator): sections shorter than
    // the filter's 16 bytes.
    SendDlgItemMessageA(page, 1095, BM_SETCHECK, BST_UNCHECKED, 0);
    Notify(page, 1095, BN_CLICKED);
    SetItemText(page, 1003, Narrow(tdtFile));
    SetItemText(page, 220, "14");
    SetItemText(page, 1090, "70");
    Notify(page, 223, BN_CLICKED);
    WaitFor([&] { return FileSize(file) > 2000 && FileSize(tdtFile) >= 16; }, 5000);
    layout += orb_test::LayoutFaultText(page);
    SaveWindowBitmap(sheet, Picture("streaming_si"));
    Notify(page, 228, BN_CLICKED);
    rowsAfterStop = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  if (GetParam().filterType == 3)
    EXPECT_EQ(pages, (std::vector<std::string>{"Piping", "A/V streaming", "SI/private sections"}));
  else if (std::string(GetParam().name) == "belvane")
    EXPECT_EQ(pages, (std::vector<std::string>{"Piping", "SI/private sections", "TS Recording"}));
  else
    EXPECT_EQ(pages, (std::vector<std::string>{"Piping", "SI/private sections"}));
  EXPECT_FALSE(extensionEnabledBefore);
  EXPECT_TRUE(extensionEnabledAfter);
  EXPECT_EQ(refused.text, "Please insert data and mask as hexadecimal digits, two a byte!");
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(row, "0011");
  EXPECT_EQ(filtersRunning, 1);
  EXPECT_EQ(rowsAfterStop, 0);
  EXPECT_EQ(vsim_->ActiveFilters(), 0);
  // The file: whole SDT actual sections (table 0x42, syntax 1) one after another.
  const auto bytes = ReadFileBytes(file);
  ASSERT_GT(bytes.size(), 0u);
  size_t at = 0, sections = 0;
  while (at + 3 <= bytes.size()) {
    EXPECT_EQ(bytes[at], 0x42) << "at " << at;
    EXPECT_EQ(bytes[at + 1] & 0x80, 0x80);
    const size_t length = 3 + (((bytes[at + 1] & 0x0F) << 8) | bytes[at + 2]);
    ASSERT_LE(at + length, bytes.size());
    at += length;
    ++sections;
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_GE(sections, 1u);
  // The other file: whole time and date sections only.
  const auto tdt = ReadFileBytes(tdtFile);
  ASSERT_GE(tdt.size(), 16u);
  EXPECT_EQ(tdt.size() % 8, 0u);
  for (size_t i = 0; i + 8 <= tdt.size(); i += 8) {
    EXPECT_EQ(tdt[i], 0x70) << "at " << i;
    EXPECT_EQ(tdt[i + 2], 0x05) << "at " << i;
  }
}

TEST_P(StreamingTest, PipingWritesOneFilePerPidUntilTheSheetCloses) {
  StartTuned();
  const std::wstring pat = OutFile("pipe_pat.ts"), sdt = OutFile("pipe_sdt.ts");
  std::vector<std::string> sizes;
  int rows = -1;
  Box failed;
  std::string layout;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    HWND page = CurrentPage(sheet);
    sizes = ListEntries(page, 224);
    SetItemText(page, 221, Narrow(pat));
    SetItemText(page, 220, "0");
    Notify(page, 223, BN_CLICKED);
    SetItemText(page, 221, Narrow(sdt));
    SetItemText(page, 220, "11");
    Choose(page, 224, 1);
    Notify(page, 223, BN_CLICKED);
    // PID 0x2000 does not exist: refused, nothing listed.
    SetItemText(page, 220, "2000");
    PostClick(page, 223);
    AnswerBox(std::string(GetParam().name), failed);
    rows = static_cast<int>(SendDlgItemMessageA(page, 219, LVM_GETITEMCOUNT, 0, 0));
    WaitFor([&] { return FileSize(pat) >= 188 * 20 && FileSize(sdt) >= 188 * 5; }, 5000);
    layout += orb_test::LayoutFaultText(page);
    SaveWindowBitmap(sheet, Picture("streaming_piping"));
    // Closed from the system menu: the filters go with the page.
    PostMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  ASSERT_EQ(sizes.size(), 9u);
  EXPECT_EQ(sizes[1], "1 Paket\t (184 Byte)");
  EXPECT_EQ(failed.text, "Failed to add filter");
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(vsim_->ActiveFilters(), 0);
  size_t n = 0;
  EXPECT_TRUE(PacketsOf(ReadFileBytes(pat), 0, &n));
  EXPECT_GE(n, 20u);
  EXPECT_TRUE(PacketsOf(ReadFileBytes(sdt), 0x11, &n));
  EXPECT_GE(n, 5u);
  std::string dump;
  EXPECT_EQ(TsDump(pat, &dump), 0) << dump;
  EXPECT_NE(dump.find("PAT"), std::string::npos) << dump;
}

TEST_P(StreamingTest, AvPageSetsThePidsAndRecords) {
  if (GetParam().filterType != 3) GTEST_SKIP() << "premium cards only";
  StartTuned();
  const std::wstring file = OutFile("av.mpg");
  bool stopEnabledAtStart = true, stopEnabledRecording = false, stillIdle = false;
  Box pidsRefused, openRefused;
  std::string layout;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    HWND page = CurrentPage(sheet);
    stopEnabledAtStart = Enabled(page, 228);
    // Refusals of the card are reported and change nothing.
    vsim_->FailCall("SetPIDs", 1);
    PostClick(page, 235);
    AnswerBox(std::string(GetParam().name), pidsRefused);
    vsim_->FailCall("RecOpen", 1);
    SetItemText(page, 221, Narrow(file));
    PostClick(page, 242);
    AnswerBox(std::string(GetParam().name), openRefused);
    stillIdle = Enabled(page, 242) && !Enabled(page, 228);
    SetItemText(page, 230, "0102");
    Notify(page, 235, BN_CLICKED);
    SetItemText(page, 221, Narrow(file));
    Notify(page, 242, BN_CLICKED);
    stopEnabledRecording = Enabled(page, 228) && !Enabled(page, 242);
    WaitFor([&] { return FileSize(file) > 10000; }, 5000);
    layout += orb_test::LayoutFaultText(page);
    SaveWindowBitmap(sheet, Picture("streaming_av"));
    // Escape while recording: the recording is stopped and the file closed.
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_FALSE(stopEnabledAtStart);
  EXPECT_EQ(pidsRefused.text, "Could not set PIDs!");
  EXPECT_EQ(openRefused.text, "failed to open file");
  EXPECT_TRUE(stillIdle);
  EXPECT_TRUE(stopEnabledRecording);
  EXPECT_NE(vsim_->Trace().find("SetPIDs audio=0x0102 video=0x0101 pcr=0x0101"), std::string::npos);
  const long long size = FileSize(file);
  EXPECT_GT(size, 10000u);
  Sleep(100);
  EXPECT_EQ(FileSize(file), size);  // nothing written after the sheet closed
}

TEST_P(StreamingTest, TsRecordingWritesTheStreamAndItsInfoFile) {
  if (std::string(GetParam().name) != "belvane") GTEST_SKIP() << "budget cards only";
  StartTuned();
  auto addLost = reinterpret_cast<void (*)(unsigned)>(
      reinterpret_cast<void*>(GetProcAddress(vsim_->module, "VsimAddLostBlocks")));
  ASSERT_NE(addLost, nullptr);
  const std::wstring file = OutFile("ts.bin"), second = OutFile("ts2.bin");
  DeleteFileW((file + L".info").c_str());
  DeleteFileW((second + L".info").c_str());
  std::string stopText, startText, lost;
  bool closedAfterFailure = false;
  Box failed;
  std::string layout;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
    HWND page = CurrentPage(sheet);
    // A card that refuses to capture: reported, nothing runs.
    vsim_->FailCall("TSRecordOnOff", 1);
    SetItemText(page, 221, Narrow(file));
    PostClick(page, 204);
    AnswerBox(std::string(GetParam().name), failed);
    // The failed start closed the file it had made.
    closedAfterFailure = DeleteFileW(file.c_str()) != FALSE;
    startText = ItemText(page, 204);
    Notify(page, 204, BN_CLICKED);
    stopText = ItemText(page, 204);
    addLost(3);
    WaitFor([&] { return FileSize(file) > 188 * 5000; }, 5000);
    WaitFor([&] { return ItemText(page, 203) == "3"; }, 2000);
    lost = ItemText(page, 203);
    layout += orb_test::LayoutFaultText(page);
    SaveWindowBitmap(sheet, Picture("streaming_tsrec"));
    Notify(page, 204, BN_CLICKED);
    // A second recording, ended by closing the sheet.
    SetItemText(page, 221, Narrow(second));
    Notify(page, 204, BN_CLICKED);
    WaitFor([&] { return FileSize(second) > 188 * 1000; }, 5000);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_EQ(failed.text, "TS-Record Start failed!");
  EXPECT_TRUE(closedAfterFailure);
  EXPECT_EQ(startText, "Start");
  EXPECT_EQ(stopText, "Stop");
  EXPECT_EQ(lost, "3");
  const auto bytes = ReadFileBytes(file);
  size_t packets = 0;
  EXPECT_TRUE(PacketsOf(bytes, -1, &packets));
  EXPECT_GE(packets, 5000u);
  const auto info = ReadFileBytes(file + L".info");
  const std::string text(info.begin(), info.end());
  char expected[128];
  std::snprintf(expected, sizeof expected, "Length (Byte): %zu, DataRate (Byte/s): ", bytes.size());
  EXPECT_EQ(text.rfind("Time (s): ", 0), 0u) << text;
  EXPECT_NE(text.find(expected), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nLost Blocks: 3, Lost Bytes: 288768\r\n"), std::string::npos) << text;
  std::string dump;
  EXPECT_EQ(TsDump(file, &dump), 0) << dump;
  EXPECT_NE(dump.find("SDT"), std::string::npos) << dump;
  // Closing the sheet ended the second recording with its info file.
  EXPECT_GT(FileSize(second + L".info"), 0);
  EXPECT_TRUE(PacketsOf(ReadFileBytes(second), -1, &packets));
}

}  // namespace
}  // namespace plugtest

namespace plugtest {
namespace {

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLOSE) {
    DestroyWindow(w);
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

TEST_P(DialogTest, StreamingStopsItsFiltersWhenTheOwnerWindowGoes) {
  Start(false);
  SATDELIVERYDESC d{};
  d.frequency = 1183600;
  d.symbol_rate = 275000;
  ASSERT_EQ(Get<ISetTuner>()->SetSatellite(1, L"19.2E", &d), S_OK);
  WNDCLASSA wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "OrbDialogOwner";
  RegisterClassA(&wc);
  HWND owner = CreateWindowA("OrbDialogOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                             nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(owner, nullptr);
  const std::wstring file = ExeDir() + L"\\dialog_owner_gone.ts";
  int running = -1;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    HWND page = CurrentPage(sheet);
    SetItemText(page, 221, std::string(file.begin(), file.end()));
    SetItemText(page, 220, "0");
    Notify(page, 223, BN_CLICKED);
    running = vsim_->ActiveFilters();
    PostMessageA(owner, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(owner), S_OK);
  script.Join();
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_EQ(running, 1);
  EXPECT_EQ(vsim_->ActiveFilters(), 0);
}

}  // namespace
}  // namespace plugtest

namespace plugtest {
namespace {

TEST_P(DialogTest, TuningATerrestrialCard) {
  vsim_->SetDevices("terr");
  ASSERT_EQ(vsim_->SetWorld("terrestrial freq=506000 bw=8 tsid=0x3001 onid=0x3301 nid=0x3301 services=2\n"), 0);
  Start(false);
  bool symbolRateEnabled = true, bandwidthShown = false;
  int sync = -1;
  Box box;
  std::string layout;
  DialogScript script([&] {
    HWND dlg = WaitDialog("Tuning");
    if (!dlg) return;
    layout = orb_test::LayoutFaultText(dlg);
    symbolRateEnabled = Enabled(dlg, 202);
    bandwidthShown = Visible(dlg, 206) && Visible(dlg, 207);
    SetItemText(dlg, 201, "e21");  // 474000 kHz: in range, nothing there
    Notify(dlg, 209, BN_CLICKED);
    SetItemText(dlg, 201, "400000");
    PostClick(dlg, 209);
    AnswerBox("Error", box);
    SetItemText(dlg, 201, "506000");
    if (bandwidthShown) Click(dlg, 207, {206});
    PostClick(dlg, IDOK);
    WaitFor([dlg] { return !IsWindow(dlg); }, 3000);
    sync = IsWindow(dlg) ? 0 : 1;
  });
  EXPECT_EQ(dialogs_->ShowTuningDialog(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(layout, "");
  EXPECT_FALSE(symbolRateEnabled);
  EXPECT_EQ(box.text, "Please insert a valid frequency!\n(470000 kHz - 860000 kHz)");
  EXPECT_EQ(sync, 1);
  const auto channels = vsim_->Channels();
  ASSERT_GE(channels.size(), 2u);
  EXPECT_EQ(channels[channels.size() - 2].Channel.dwFreq, 474000u);
  EXPECT_EQ(channels.back().Channel.dwFreq, 506000u);
  EXPECT_TRUE(channels.back().Locked);
}

TEST_P(StreamingTest, TsRecordingWhoseFileCannotBeWrittenStopsAndSaysSo) {
  if (std::string(GetParam().name) != "belvane") GTEST_SKIP() << "budget cards only";
  StartTuned();
  std::string started, after;
  Box box;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
    HWND page = CurrentPage(sheet);
    // A device that takes the file but no byte of it.
    SetItemText(page, 221, "Z:\\dev\\full");
    Notify(page, 204, BN_CLICKED);
    started = ItemText(page, 204);
    AnswerBox(std::string(GetParam().name), box);
    WaitFor([&] { return ItemText(page, 204) == "Start"; }, 2000);
    after = ItemText(page, 204);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(started, "Stop");
  EXPECT_EQ(box.text, "TS-Record stopped: the file could not be written!");
  EXPECT_EQ(after, "Start");
  // The capture was switched off again.
  const std::string trace = vsim_->Trace();
  const size_t on = trace.rfind("TSRecordOnOff 1");
  ASSERT_NE(on, std::string::npos);
  EXPECT_NE(trace.find("TSRecordOnOff 0", on), std::string::npos);
}

TEST_P(DialogTest, TsRecordingThatCannotCreateItsFileStartsNothing) {
  if (std::string(GetParam().name) != "belvane") GTEST_SKIP() << "budget cards only";
  Start(false);
  Box failed;
  std::string button;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
    HWND page = CurrentPage(sheet);
    SetItemText(page, 221, "Z:\\no such folder\\at all\\x.bin");
    PostClick(page, 204);
    AnswerBox("belvane", failed);
    button = ItemText(page, 204);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(failed.text, "TS-Record Start failed!");
  EXPECT_EQ(button, "Start");
  // The card was never asked to capture.
  EXPECT_EQ(vsim_->Trace().find("TSRecordOnOff 1"), std::string::npos);
}

}  // namespace
}  // namespace plugtest

namespace plugtest {
namespace {

TEST_P(DialogTest, ConfigurationModeChangesRefillTheSlotsAndModeNoneWritesSlotOne) {
  Setting("disqmode", 2);
  Setting("lfo1_4", 5150000);
  Start();
  std::vector<std::string> afterSwitch;
  int selectionAfterSwitch = -1;
  std::string shownAfterSwitch, shownSlot4;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Configuration");
    if (!sheet) return;
    HWND page = CurrentPage(sheet);
    Choose(page, 1004, 3);
    shownSlot4 = ItemText(page, 1005);
    Click(page, 1002, kModes);
    afterSwitch = ListEntries(page, 1004);
    selectionAfterSwitch = ListSelection(page, 1004);
    shownAfterSwitch = ItemText(page, 1005);
    // Mode "None": no slot to choose, the fields are slot 1's.
    Click(page, 1001, kModes);
    SetItemText(page, 1005, "10750000");
    Notify(page, 1005, EN_KILLFOCUS);
    SendDlgItemMessageA(page, 1009, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("19.2E"));
    Notify(page, 1009, CBN_SELCHANGE);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
    WaitFor([&] { return Stored("disqmode") == 0; }, 3000);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  });
  EXPECT_EQ(dialogs_->ShowConfiguration(nullptr), S_OK);
  script.Join();
  EXPECT_EQ(shownSlot4, "5150000");
  EXPECT_EQ(afterSwitch, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(selectionAfterSwitch, 0);
  EXPECT_EQ(shownAfterSwitch, "9750000");
  // Apply stored it; the Cancel after it takes nothing back.
  EXPECT_EQ(Stored("disqmode"), 0u);
  EXPECT_EQ(Stored("lfo1_1"), 10750000u);
  EXPECT_EQ(Stored("lfo1_4"), 5150000u);
  std::string name;
  EXPECT_TRUE(ReadString(DeviceKey(), "satellite1", name));
  EXPECT_EQ(name, "19.2E");
}

TEST_P(DialogTest, DialogTemplatesAreThePluginsOwnInDanish) {
  HMODULE m = LoadLibraryExW((ExeDir() + L"\\" + GetParam().dll).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(m, nullptr);
  struct Ids {
    const char* name;
    std::vector<int> dialogs;
  };
  const Ids all[] = {{"corvane", {131, 204, 201, 205, 206, 207, 203}},
                     {"belvane", {202, 206, 208, 204, 207, 211, 201}},
                     {"ustrel", {203, 202, 206, 204, 205, 201}}};
  for (const Ids& ids : all) {
    if (std::string(ids.name) != GetParam().name) continue;
    for (int id : ids.dialogs)
      EXPECT_NE(FindResourceExW(m, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), MAKELANGID(LANG_DANISH, SUBLANG_DEFAULT)),
                nullptr)
          << id;
  }
  // The piping page's buffer sizes come with its template.
  const int piping = std::string(GetParam().name) == "corvane" ? 205 : 204;
  EXPECT_NE(FindResourceW(m, MAKEINTRESOURCEW(piping), MAKEINTRESOURCEW(240)), nullptr);
  FreeLibrary(m);
}

}  // namespace
}  // namespace plugtest

namespace plugtest {
namespace {

// Answers the "Save As" dialog that `browse` (a posted click) brings up with
// `name`; the text of `field` afterwards.
std::string BrowseTo(HWND page, int browse, int field, const std::string& name) {
  const std::string before = ItemText(page, field);
  PostClick(page, browse);
  HWND box = WaitDialog("Save As");
  if (!box) return "<no file dialog>";
  SetDlgItemTextA(box, 0x47C, name.c_str());  // the file name box
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
  WaitFor([&] { return ItemText(page, field) != before; }, 2000);
  return ItemText(page, field);
}

TEST_P(DialogTest, BrowseTakesTheChosenFile) {
  Start(false);
  const std::wstring exeDir = ExeDir();
  const std::string folder(exeDir.begin(), exeDir.end());
  std::string siFile, avFile, tsFile;
  bool mpgChecked = false, mp2Checked = true;
  DialogScript script([&] {
    HWND sheet = WaitDialog("Streaming");
    if (!sheet) return;
    const bool premium = GetParam().filterType == 3;
    SendMessageA(sheet, PSM_SETCURSEL, premium ? 2 : 1, 0);
    siFile = BrowseTo(CurrentPage(sheet), 222, 1003, folder + "\\browse_sections");
    if (premium) {
      SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
      HWND page = CurrentPage(sheet);
      Click(page, 236, {237, 238, 239});
      avFile = BrowseTo(page, 222, 221, folder + "\\browse_rec.MPG");
      mpgChecked = Checked(page, 239);
      mp2Checked = Checked(page, 236);
    }
    if (std::string(GetParam().name) == "belvane") {
      SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
      tsFile = BrowseTo(CurrentPage(sheet), 222, 221, folder + "\\browse_stream");
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  });
  EXPECT_EQ(dialogs_->ShowStreaming(nullptr), S_OK);
  script.Join();
  auto endsWith = [](const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
  };
  EXPECT_TRUE(endsWith(siFile, "\\browse_sections.ts")) << siFile;
  if (GetParam().filterType == 3) {
    EXPECT_TRUE(endsWith(avFile, "\\browse_rec.MPG")) << avFile;
    EXPECT_TRUE(mpgChecked);
    EXPECT_FALSE(mp2Checked);
  }
  if (std::string(GetParam().name) == "belvane") {
    EXPECT_TRUE(endsWith(tsFile, "\\browse_stream.bin")) << tsFile;
  }
}

}  // namespace
}  // namespace plugtest
