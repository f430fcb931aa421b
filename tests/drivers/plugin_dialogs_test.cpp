// The plug-ins' configuration sheet and tuning dialog, opened through
// IDriverDialogs and driven by window messages from a second thread; their
// effect is read back from the registry and the simulated card.  Pictures
// of each dialog are written beside the test program.
#include "plugin_fixture.h"

#include <commctrl.h>
#include <prsht.h>

#include "dialog_driver.h"

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
    "cable freq=346000 qam=64 sr=6900000 tsid=0x2001 onid=0x0303 nid=0x0303 services=2\n";

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

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

const std::vector<int> kModes = {1001, 1002, 1003};

TEST_P(DialogTest, ConfigurationEditsSlotsAndStoresThemOnOk) {
  Start();
  std::vector<std::string> emptySlots, slots, satellites, info;
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
    SaveWindowBitmap(sheet, Picture("config_lnb"));
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    info.push_back(ItemText(CurrentPage(sheet), 218));
    SaveWindowBitmap(sheet, Picture("config_info"));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    WaitFor([sheet] { return !IsWindow(sheet); });
  });
  EXPECT_EQ(dialogs_->ShowConfiguration(nullptr), S_OK);
  script.Join();
  EXPECT_TRUE(emptySlots.empty());
  EXPECT_FALSE(selectorEnabled);
  EXPECT_EQ(satellites, (std::vector<std::string>{"19.2E", "13.0E"}));
  EXPECT_EQ(slots, (std::vector<std::string>{"A/A", "A/B", "B/A", "B/B"}));
  EXPECT_EQ(shownLof1, "9750000");
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
  Box box;
  DialogScript script([&] {
    HWND dlg = WaitDialog("Tuning");
    if (!dlg) return;
    SetItemText(dlg, 201, "11836000");
    SetItemText(dlg, 202, "27500000");
    Click(dlg, 203, {204});
    Notify(dlg, 209, BN_CLICKED);
    WaitFor([&] { return ProgressPos(dlg, 1082) == 1 && ProgressPos(dlg, 1079) > 0; }, 3000);
    sync = ProgressPos(dlg, 1082);
    level = ProgressPos(dlg, 1078);
    quality = ProgressPos(dlg, 1079);
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
  EXPECT_EQ(sync, 1);
  EXPECT_GT(level, 0);
  EXPECT_GE(quality, 50);
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
  int sync = -1;
  Box box;
  DialogScript script([&] {
    HWND dlg = WaitDialog("Tuning");
    if (!dlg) return;
    symbolRateEnabled = Enabled(dlg, 202);
    slotEnabled = Enabled(dlg, 1004);
    SetItemText(dlg, 201, "ABC");
    PostClick(dlg, 209);
    AnswerBox("Error", box);
    SetItemText(dlg, 201, "346000");
    SetItemText(dlg, 202, "6900000");
    Choose(dlg, 205, 2);
    Notify(dlg, 209, BN_CLICKED);
    WaitFor([&] { return ProgressPos(dlg, 1082) == 1; }, 3000);
    sync = ProgressPos(dlg, 1082);
    PostClick(dlg, IDCANCEL);
  });
  EXPECT_EQ(dialogs_->ShowTuningDialog(nullptr), S_OK);
  script.Join();
  EXPECT_TRUE(symbolRateEnabled);
  EXPECT_FALSE(slotEnabled);
  EXPECT_EQ(box.text, "Please insert a valid frequency!\n(45000 kHz - 860000 kHz)");
  EXPECT_EQ(sync, 1);
  const VSIM_CHANNEL c = LastChannel();
  EXPECT_EQ(c.Channel.dwFreq, 346000u);
  EXPECT_EQ(c.Channel.Qam, 2u);
  EXPECT_TRUE(c.Locked);
}

}  // namespace
}  // namespace plugtest
