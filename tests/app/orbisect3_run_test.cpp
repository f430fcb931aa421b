// Orbisect3.exe itself, started as the user starts it: on the simulated
// budget card (the Belvane plug-in over its simulated access library), on a
// first start that asks for the driver, and with a driver that cannot be
// bound.  The test watches the program's windows from outside, writes a
// picture of the main window into the build tree for review, closes the
// program and reads what it left behind: its log, the satellite list and the
// driver's settings.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "orb_app/driver_binding.h"
#include "orb_app/startup.h"
#include "orb_common/RegistryKey.h"
#include "program_layout.h"
#include "test_log.h"
#include "test_support.h"
#include "win_program.h"
#include "win_screen.h"

using namespace orb::app;

namespace {

using orb_test::kProgramKey;
using orb_test::SpecialFolder;
constexpr UINT kOutputWindowCommand = 32771;
constexpr UINT kDriverSelectionCommand = 32784;
constexpr int kOutputBarId = 123;
constexpr int kStatusBarId = 59393;
// Generous bounds for the program to react; never a measure of speed.
constexpr DWORD kPatienceMs = 60000;

std::wstring ProgramPath() { return orb_test::ExeFolder() + L"\\Orbisect3.exe"; }
std::wstring LogPath() { return orb_test::ExeFolder() + L"\\Orbisect3.txt"; }

using orb_test::ClassOf;
using orb_test::DescendantByClass;
using orb_test::Descendants;
using orb_test::DialogTexts;
using orb_test::WindowText;

HWND DescendantById(HWND parent, int id, const wchar_t* className = nullptr) {
  for (HWND h : Descendants(parent))
    if (::GetDlgCtrlID(h) == id && (!className || ClassOf(h) == className)) return h;
  return nullptr;
}

bool SaveScreenshot(HWND hwnd, const std::wstring& path) { return orb_test::SaveScreenBitmap(hwnd, path); }

// The program's log without the line number, time and seconds prefixes.
std::vector<std::string> LogLines() { return orb_test::ReadLogLines(Narrow(LogPath())); }

class Orbisect3Run : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    ASSERT_TRUE(orb_test::RegisterServerBeside(L"orbsatlist.dll"));
    ASSERT_TRUE(orb_test::RegisterServerBeside(ORB_PLUGIN_DLL));
    std::vector<DriverEntry> drivers;
    ASSERT_TRUE(ListDrivers(drivers, [](const std::string& m) { ADD_FAILURE() << m; }));
    ASSERT_EQ(drivers.size(), 1u) << "only the simulated card's plug-in is registered";
    pluginName_ = drivers[0].name;
    pluginClsid_ = GuidToRegistryString(drivers[0].clsid);
  }

  void SetUp() override {
    ASSERT_NE(::GetFileAttributesW(ProgramPath().c_str()), INVALID_FILE_ATTRIBUTES);
    satList_ = Widen(SpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orbisect 3\\satlist.xml");
    ::DeleteFileW(satList_.c_str());
    ::DeleteFileW(LogPath().c_str());
    orb_test::DeleteTree((std::wstring(kProgramKey) + L"\\drivers").c_str());
  }

  void TearDown() override { program_.End(kPatienceMs); }

  void Start() {
    orb_test::ProcessRun run;
    ASSERT_TRUE(program_.Start(ProgramPath(), orb_test::ExeFolder(), run)) << run.Describe();
  }

  HWND WaitForMainFrame() {
    return program_.WaitForWindow([](HWND h) { return ::GetMenu(h) != nullptr; }, kPatienceMs);
  }
  HWND WaitForDialog(const std::wstring& caption) { return program_.WaitForDialog(caption, kPatienceMs); }
  // A message box of the program (any caption) and its texts.
  HWND WaitForMessageBox(std::wstring& texts) {
    HWND box = program_.WaitForWindow(
        [](HWND h) { return ClassOf(h) == L"#32770" && WindowText(h) != L"Driver selction"; }, kPatienceMs);
    if (box) texts = DialogTexts(box);
    return box;
  }

  bool WaitForExit(DWORD& code) { return program_.WaitForExit(kPatienceMs, &code); }

  static std::vector<std::string> StartLog() {
    return {"<2> - Starting Orbisect 3",
            "<2> - all users application path: " + SpecialFolder(CSIDL_COMMON_APPDATA) +
                "\\Orbisect 3",
            "<2> - user application path: " + SpecialFolder(CSIDL_APPDATA) + "\\Orbisect 3",
            "<2> - build=5",
            "<2> - read_driver_clsid()"};
  }

  static bool DriverChoice(std::string& clsid) {
    std::wstring text;
    if (!orb_test::ReadString(kProgramKey, L"driverclsid", text)) return false;
    clsid = Narrow(text);
    return true;
  }

  static std::string pluginName_;
  static std::string pluginClsid_;
  std::wstring satList_;
  orb_test::WatchedProgram program_;
};

std::string Orbisect3Run::pluginName_;
std::string Orbisect3Run::pluginClsid_;

}  // namespace

TEST_F(Orbisect3Run, StartsOnTheSimulatedCardShowsTheMainWindowAndShutsDownCleanly) {
  orb_test::WriteString(kProgramKey, L"driverclsid", Widen(pluginClsid_));
  Start();
  HWND frame = WaitForMainFrame();
  ASSERT_TRUE(frame) << "no main window";

  // Toolbar, status bar, the two panes side by side, the Output bar below them.
  HWND tree = DescendantByClass(frame, L"SysTreeView32");
  HWND values = DescendantByClass(frame, L"SysListView32");
  HWND status = DescendantById(frame, kStatusBarId, L"msctls_statusbar32");
  HWND toolbar = DescendantByClass(frame, L"ToolbarWindow32");
  HWND bar = DescendantById(frame, kOutputBarId);
  ASSERT_TRUE(tree);
  ASSERT_TRUE(values);
  ASSERT_TRUE(status);
  ASSERT_TRUE(toolbar);
  ASSERT_TRUE(bar);
  RECT rt{}, rv{}, rb{}, rs{};
  ::GetWindowRect(tree, &rt);
  ::GetWindowRect(values, &rv);
  ::GetWindowRect(bar, &rb);
  ::GetWindowRect(status, &rs);
  EXPECT_LE(rt.right, rv.left) << "tree pane left of the value pane";
  EXPECT_GE(rb.top, rt.bottom) << "Output bar below the panes";
  EXPECT_LE(rb.bottom, rs.top) << "Output bar above the status bar";
  EXPECT_EQ(::SendMessageW(status, SB_GETPARTS, 0, 0), 1);

  HWND list = DescendantById(bar, 102, L"ListBox");
  HWND tabs = DescendantById(bar, 101, L"SysTabControl32");
  HWND hex = DescendantById(bar, 103);
  ASSERT_TRUE(list);
  ASSERT_TRUE(tabs);
  ASSERT_TRUE(hex);
  EXPECT_EQ(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(::IsWindowVisible(list));
  EXPECT_FALSE(::IsWindowVisible(hex));

  // A picture for review (never compared).
  ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(500);
  const std::wstring picture = orb_test::ExeFolder() + L"\\Orbisect3-main-window.bmp";
  EXPECT_TRUE(SaveScreenshot(frame, picture));
  std::printf("main window picture: %s\n", Narrow(picture).c_str());

  // View > Output window toggles the bar, also after the bar's own close
  // button hid it.  (Menus cannot be read from another process here; the
  // check mark is tested with the frame in the test's own process.)
  ::SendMessageW(frame, WM_COMMAND, kOutputWindowCommand, 0);
  EXPECT_FALSE(::IsWindowVisible(bar));
  ::SendMessageW(frame, WM_COMMAND, kOutputWindowCommand, 0);
  EXPECT_TRUE(::IsWindowVisible(bar));
  ::GetWindowRect(bar, &rb);
  ::SendMessageW(bar, WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(rb.left + 8, rb.top + 8));
  EXPECT_FALSE(::IsWindowVisible(bar));
  ::SendMessageW(frame, WM_COMMAND, kOutputWindowCommand, 0);
  EXPECT_TRUE(::IsWindowVisible(bar));

  // Closing the program saves the satellite list and the driver's settings.
  ::PostMessageW(frame, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(WaitForExit(code));
  EXPECT_EQ(code, 0u) << "the program ends without fault, its objects released";
  EXPECT_NE(::GetFileAttributesW(satList_.c_str()), INVALID_FILE_ATTRIBUTES);
  const std::wstring deviceKey = std::wstring(kProgramKey) + L"\\drivers\\" + Widen(pluginClsid_);
  DWORD device = 0xFFFF;
  EXPECT_TRUE(orb_test::ReadDword(deviceKey.c_str(), L"device", device));
  DWORD frequency = 0;
  EXPECT_TRUE(
      orb_test::ReadDword((deviceKey + L"\\" + std::to_wstring(device)).c_str(), L"frequency",
                          frequency));

  std::vector<std::string> expected = StartLog();
  expected.push_back("<2> - read_driver_clsid() exit");
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
}

TEST_F(Orbisect3Run, FirstStartAsksForTheDriverAndKeepsTheChoice) {
  orb_test::DeleteValue(kProgramKey, L"driverclsid");
  Start();
  HWND dialog = WaitForDialog(L"Driver selction");
  ASSERT_TRUE(dialog) << "no driver selection dialog";
  HWND combo = ::GetDlgItem(dialog, 1000);
  ASSERT_TRUE(combo);
  ASSERT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), 1);
  wchar_t name[256] = {};
  ::SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(name));
  EXPECT_EQ(Narrow(name), pluginName_);
  EXPECT_EQ(::SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "nothing is preselected";
  ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));

  HWND frame = WaitForMainFrame();
  ASSERT_TRUE(frame) << "no main window after the choice";
  std::string stored;
  ASSERT_TRUE(DriverChoice(stored));
  EXPECT_EQ(stored, pluginClsid_);

  // Device > Driver selection... stores a new choice for the next start.
  ::PostMessageW(frame, WM_COMMAND, kDriverSelectionCommand, 0);
  dialog = WaitForDialog(L"Driver selction");
  ASSERT_TRUE(dialog) << "no driver selection dialog from the menu";
  combo = ::GetDlgItem(dialog, 1000);
  ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  std::wstring texts;
  HWND box = WaitForMessageBox(texts);
  ASSERT_TRUE(box);
  EXPECT_NE(texts.find(L"You must restart application for any changed to be effected."),
            std::wstring::npos)
      << Narrow(texts);
  ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(DriverChoice(stored));
  EXPECT_EQ(stored, pluginClsid_);

  ::PostMessageW(frame, WM_CLOSE, 0, 0);
  DWORD code = 0;
  ASSERT_TRUE(WaitForExit(code));

  std::vector<std::string> expected = StartLog();
  expected.push_back("<2> - driver select init dialog");
  expected.push_back("<2> - read_driver_clsid() exit");
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
}

TEST_F(Orbisect3Run, DriverThatCannotBeBoundEndsTheProgramAndIsForgotten) {
  orb_test::WriteString(kProgramKey, L"driverclsid", L"{00000000-1111-2222-3333-444444444444}");
  Start();
  std::wstring texts;
  HWND box = WaitForMessageBox(texts);
  ASSERT_TRUE(box) << "no message";
  EXPECT_NE(texts.find(L"Failed to initialize driver"), std::wstring::npos) << Narrow(texts);
  ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  DWORD code = 0;
  ASSERT_TRUE(WaitForExit(code));
  std::string stored;
  EXPECT_FALSE(DriverChoice(stored)) << "the choice is forgotten: " << stored;
  // The list is saved all the same; no main window was ever shown.
  EXPECT_NE(::GetFileAttributesW(satList_.c_str()), INVALID_FILE_ATTRIBUTES);
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[5], "<2> - read_driver_clsid() exit");
}
