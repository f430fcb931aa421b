// Orbisect3.exe on each of the three simulated vendor cards: the plug-in's
// dialogs opened as the user opens them, from the main window's Device and
// Action menus.  "Settings..." shows the "Configuration" sheet, "Tuning..."
// the "Tuning" dialog and "Streaming..." the "Streaming" sheet, each a
// top-level window owned by the main window that disables it while open.
// Each is closed by another path (Cancel, the system close, Escape) and the
// main window answers again at once; the status bar follows a tune made in
// the Tuning dialog while that dialog is up; the program ends with exit
// code 0.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "plugin_support.h"
#include "program_layout.h"
#include "satlistmgr.h"
#include "test_support.h"
#include "win_program.h"
#include "win_screen.h"

using namespace orb::app;

namespace {

// Commands of the main window's Device and Action menus.
constexpr WPARAM kDeviceSettings = 32776, kDeviceTuning = 32777, kActionStreaming = 32782;
constexpr DWORD kStartBoundMs = 30000, kDialogBoundMs = 10000;

using orb_test::WaitFor;
using orb_test::WindowText;

// The texts of the window and all its descendants (the shown page of a
// sheet among them; an edit's or a combo box's content too), joined by '|'.
std::wstring ControlText(HWND hwnd) { return orb_test::ControlText(hwnd, 2000); }
std::wstring AllTexts(HWND window) { return orb_test::DialogTexts(window, &ControlText); }

// The window as the screen shows it, freshly painted, into the build tree.
void SaveScreenshot(HWND hwnd, const std::wstring& name) {
  orb_test::SavePaintedWindow(hwnd, orb_test::ExeFolder() + L"\\" + name, 200);
}

// How a dialog is closed.
enum class Close { CancelButton, SystemClose, Escape };

class Orbisect3MenuDialogs : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() {
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_TRUE(SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE);
    ASSERT_TRUE(orb_test::RegisterServerBeside(L"orbsatlist.dll"));
    for (const plugtest::Plugin& p : plugtest::Plugins()) ASSERT_TRUE(orb_test::RegisterServerBeside(p.dll));
  }

  void SetUp() override {
    const plugtest::Plugin* plugin = plugtest::PluginNamed(GetParam());
    ASSERT_NE(plugin, nullptr);
    orb_test::LayOutDriver(GuidToRegistryString(*plugin->clsid));
    orb_test::WriteProgramSatList(L"Astra 19E");
    ::SetEnvironmentVariableW(L"ORB_VSIM_RATE", L"100000");
    ::SetEnvironmentVariableW(L"ORB_VSIM_TRACE", nullptr);
  }

  void TearDown() override { program_.End(kStartBoundMs); }

  void Start() {
    orb_test::ProcessRun run;
    ASSERT_TRUE(program_.Start(orb_test::ExeFolder() + L"\\Orbisect3.exe", orb_test::ExeFolder(), run))
        << run.Describe();
  }

  // The main window takes messages and input again.
  bool Responsive() const {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(frame_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0 &&
           WaitFor([&] { return ::IsWindowEnabled(frame_) != FALSE; }, 2000);
  }

  // Opens a dialog by a menu command, checks it and closes it; returns the
  // texts it showed.
  std::wstring OpenAndClose(WPARAM command, const wchar_t* caption, Close how, const std::wstring& picture,
                            const std::function<void(HWND)>& whileOpen = {}) {
    ::PostMessageW(frame_, WM_COMMAND, command, 0);
    HWND dialog = program_.WaitForDialog(caption, kDialogBoundMs);
    EXPECT_TRUE(dialog) << "no \"" << Narrow(caption) << "\" window";
    if (!dialog) return {};
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), frame_) << Narrow(caption) << " is owned by the main window";
    EXPECT_EQ(::GetParent(dialog), frame_) << Narrow(caption);
    EXPECT_EQ(::GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD, 0) << Narrow(caption) << " is top-level";
    EXPECT_FALSE(::IsWindowEnabled(frame_)) << Narrow(caption) << " is modal";
    // The controls are in place before the picture is taken.
    std::wstring texts;
    WaitFor(
        [&] {
          texts = AllTexts(dialog);
          return texts.find(L"Cancel") != std::wstring::npos;
        },
        kDialogBoundMs);
    if (whileOpen) whileOpen(dialog);
    if (!picture.empty()) SaveScreenshot(dialog, picture);
    switch (how) {
      case Close::CancelButton:
        orb_test::Press(dialog, IDCANCEL);
        break;
      case Close::SystemClose:
        ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
      case Close::Escape:
        ::SetForegroundWindow(dialog);
        ::PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        ::PostMessageW(dialog, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        break;
    }
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, kDialogBoundMs)) << Narrow(caption) << " closes";
    EXPECT_TRUE(Responsive()) << "the main window answers after " << Narrow(caption);
    return texts;
  }

  orb_test::WatchedProgram program_;
  HWND frame_ = nullptr;
};

}  // namespace

TEST_P(Orbisect3MenuDialogs, DeviceAndActionMenusOpenThePluginDialogs) {
  Start();
  frame_ = program_.WaitForWindow([](HWND h) { return ::GetMenu(h) != nullptr; }, kStartBoundMs);
  ASSERT_TRUE(frame_) << "no main window";
  ASSERT_TRUE(Responsive());
  const std::wstring card = Widen(GetParam());

  // Device > Settings...: the sheet opens on its "LNB/Disq" page.
  std::wstring texts = OpenAndClose(kDeviceSettings, L"Configuration", Close::CancelButton,
                                    card + L"-configuration.bmp");
  EXPECT_NE(texts.find(L"|DiSEqC"), std::wstring::npos) << Narrow(texts);
  EXPECT_NE(texts.find(L"|LOF 1 (kHz)"), std::wstring::npos) << Narrow(texts);
  EXPECT_NE(texts.find(L"|Astra 19E"), std::wstring::npos) << "the slot's satellite: " << Narrow(texts);
  EXPECT_NE(texts.find(L"|9750000"), std::wstring::npos) << "the stored LOF: " << Narrow(texts);

  // Device > Tuning...: manual entry, Apply, the signal bars.  The main
  // window's status bar follows the lock while the dialog is up.
  HWND status = orb_test::DescendantByClass(frame_, L"msctls_statusbar32");
  ASSERT_TRUE(status);
  std::wstring before, during;
  bool upWhenLocked = false;
  texts = OpenAndClose(kDeviceTuning, L"Tuning", Close::SystemClose, card + L"-tuning.bmp", [&](HWND tuning) {
    // The satellite list offers the selected satellite (control 211).
    EXPECT_NE(::SendDlgItemMessageW(tuning, 211, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(L"Astra 19E")),
              CB_ERR);
    before = ControlText(status);
    ::SetDlgItemTextW(tuning, 201, L"11836000");
    ::SetDlgItemTextW(tuning, 202, L"27500000");
    ::SendDlgItemMessageW(tuning, 203, BM_SETCHECK, BST_CHECKED, 0);
    ::SendDlgItemMessageW(tuning, 204, BM_SETCHECK, BST_UNCHECKED, 0);
    orb_test::Press(tuning, 209);
    WaitFor([&] { return ControlText(status) == L"SIGNAL LOCKED"; }, kDialogBoundMs);
    during = ControlText(status);
    upWhenLocked = ::IsWindow(tuning) && ::IsWindowVisible(tuning);
    if (GetParam() == "belvane") SaveScreenshot(frame_, L"status-bar-during-tuning.bmp");
  });
  EXPECT_EQ(before, L"NO SIGNAL") << "not tuned before";
  EXPECT_EQ(during, L"SIGNAL LOCKED") << "the lock shown while the dialog is up";
  EXPECT_TRUE(upWhenLocked);
  EXPECT_NE(texts.find(L"|Frequency (kHz)"), std::wstring::npos) << Narrow(texts);
  EXPECT_NE(texts.find(L"|Apply"), std::wstring::npos) << Narrow(texts);

  // Action > Streaming...: the sheet opens on its "Piping" page.
  texts = OpenAndClose(kActionStreaming, L"Streaming", Close::Escape, card + L"-streaming.bmp");
  EXPECT_NE(texts.find(L"|PID (hex)"), std::wstring::npos) << Narrow(texts);
  EXPECT_NE(texts.find(L"|Buffer size"), std::wstring::npos) << Narrow(texts);

  // A closed sheet opens again.
  OpenAndClose(kDeviceSettings, L"Configuration", Close::Escape, {});

  ::PostMessageW(frame_, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(program_.WaitForExit(kStartBoundMs, &code));
  EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(Cards, Orbisect3MenuDialogs, ::testing::Values("corvane", "belvane", "ustrel"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
