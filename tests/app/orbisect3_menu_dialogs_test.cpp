// Orbisect3.exe on each of the three simulated vendor cards: the plug-in's
// dialogs opened as the user opens them, from the main window's Device and
// Action menus.  "Settings..." shows the "Configuration" sheet, "Tuning..."
// the "Tuning" dialog and "Streaming..." the "Streaming" sheet, each a
// top-level window owned by the main window that disables it while open.
// Each is closed by another path (Cancel, the system close, Escape) and the
// main window answers again at once; the program ends with exit code 0.
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
#include "satlistmgr.h"
#include "test_support.h"
#include "win_screen.h"
#include "win_process.h"

using namespace orb::app;
using orb::com::Bstr;
using orb::com::ComPtr;

namespace {

constexpr const wchar_t* kProgramKey = L"SOFTWARE\\Team Orbisect\\Orbisect3";
// Commands of the main window's Device and Action menus.
constexpr WPARAM kDeviceSettings = 32776, kDeviceTuning = 32777, kActionStreaming = 32782;
constexpr DWORD kStartBoundMs = 30000, kDialogBoundMs = 10000;

bool WaitFor(const std::function<bool()>& done, DWORD boundMs) {
  const ULONGLONG end = ::GetTickCount64() + boundMs;
  while (!done()) {
    if (::GetTickCount64() > end) return false;
    ::Sleep(20);
  }
  return true;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t text[512] = {};
  ::GetWindowTextW(hwnd, text, 511);
  return text;
}
using orb_test::ClassOf;

using orb_test::TopLevelWindows;

// A control's own text (an edit's or a combo box's content too, which the
// window's caption of another process does not show).
std::wstring ControlText(HWND hwnd) {
  wchar_t text[512] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, 511, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied))
    return {};
  return text;
}

// The texts of the window and all its descendants (the shown page of a
// sheet among them), joined by '|'.
BOOL CALLBACK AppendControlText(HWND h, LPARAM p) {
  *reinterpret_cast<std::wstring*>(p) += L"|" + ControlText(h);
  return TRUE;
}
std::wstring AllTexts(HWND window) {
  std::wstring all = WindowText(window);
  ::EnumChildWindows(window, &AppendControlText, reinterpret_cast<LPARAM>(&all));
  return all;
}

// The window as the screen shows it, freshly painted, into the build tree.
void SaveScreenshot(HWND hwnd, const std::wstring& name) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(200);
  orb_test::SaveScreenBitmap(hwnd, orb_test::ExeFolder() + L"\\" + name);
}

std::string SpecialFolder(int csidl) {
  std::string path;
  ShellFolderLookup(csidl, path);
  return path;
}

const plugtest::Plugin* PluginNamed(const std::string& name) {
  for (const plugtest::Plugin& p : plugtest::Plugins())
    if (name == p.name) return &p;
  return nullptr;
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
    const plugtest::Plugin* plugin = PluginNamed(GetParam());
    ASSERT_NE(plugin, nullptr);
    const std::string clsid = GuidToRegistryString(*plugin->clsid);
    orb_test::DeleteTree((std::wstring(kProgramKey) + L"\\drivers").c_str());
    orb_test::WriteString(kProgramKey, L"driverclsid", Widen(clsid));
    const std::string classKey = Narrow(std::wstring(kProgramKey) + L"\\drivers\\" + Widen(clsid));
    plugtest::WriteDword(classKey, "device", 0);
    plugtest::WriteDword(classKey + "\\0", "disqmode", 2);
    plugtest::WriteString(classKey + "\\0", "satellite1", "Astra 19E");
    WriteSatList();
    ::SetEnvironmentVariableW(L"ORB_VSIM_RATE", L"100000");
    ::SetEnvironmentVariableW(L"ORB_VSIM_TRACE", nullptr);
  }

  void TearDown() override {
    if (process_.hProcess) {
      if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.hProcess, 99);
        ::WaitForSingleObject(process_.hProcess, kStartBoundMs);
      }
      ::CloseHandle(process_.hProcess);
      ::CloseHandle(process_.hThread);
    }
  }

  // The default list with "Astra 19E" selected.
  void WriteSatList() {
    ComPtr<ISatListManager> list;
    ASSERT_EQ(list.CoCreateInstance(CLSID_SatListManager, CLSCTX_INPROC_SERVER), S_OK);
    ASSERT_EQ(FillDefaultSatList(list), S_OK);
    ComPtr<ISatellite> astra;
    Bstr name(L"Astra 19E");
    ASSERT_EQ(list->FindSatellite(name, astra.Put()), S_OK);
    astra->SetSelected(TRUE);
    ASSERT_EQ(list->StoreSatellite(astra), S_OK);
    const std::wstring folder = Widen(SpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orbisect 3");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\satlist.xml";
    ::DeleteFileW(file.c_str());
    Bstr path(file);
    ASSERT_EQ(list->Save(path), S_OK);
  }

  void Start() {
    const std::wstring program = orb_test::ExeFolder() + L"\\Orbisect3.exe";
    const std::wstring commandLine = L"\"" + program + L"\"";
    orb_test::ProcessRun run;
    ASSERT_TRUE(orb_test::StartProcess(commandLine, process_, run, 0, program.c_str(), orb_test::ExeFolder().c_str()))
        << run.Describe();
  }

  bool Ended() const { return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

  HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD boundMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
          for (HWND h : TopLevelWindows(process_.dwProcessId))
            if (match(h)) {
              found = h;
              return true;
            }
          return Ended();
        },
        boundMs);
    return found;
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
    HWND dialog = WaitForWindow(
        [&](HWND h) { return ClassOf(h) == L"#32770" && WindowText(h) == caption; }, kDialogBoundMs);
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
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDCANCEL)));
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

  PROCESS_INFORMATION process_{};
  HWND frame_ = nullptr;
};

}  // namespace

TEST_P(Orbisect3MenuDialogs, DeviceAndActionMenusOpenThePluginDialogs) {
  Start();
  frame_ = WaitForWindow([](HWND h) { return ::GetMenu(h) != nullptr; }, kStartBoundMs);
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

  // Device > Tuning...: manual entry, Apply, the signal bars.
  texts = OpenAndClose(kDeviceTuning, L"Tuning", Close::SystemClose, card + L"-tuning.bmp", [](HWND tuning) {
    // The satellite list offers the selected satellite (control 211).
    EXPECT_NE(::SendDlgItemMessageW(tuning, 211, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(L"Astra 19E")),
              CB_ERR);
  });
  EXPECT_NE(texts.find(L"|Frequency (kHz)"), std::wstring::npos) << Narrow(texts);
  EXPECT_NE(texts.find(L"|Apply"), std::wstring::npos) << Narrow(texts);

  // Action > Streaming...: the sheet opens on its "Piping" page.
  texts = OpenAndClose(kActionStreaming, L"Streaming", Close::Escape, card + L"-streaming.bmp");
  EXPECT_NE(texts.find(L"|PID (hex)"), std::wstring::npos) << Narrow(texts);
  EXPECT_NE(texts.find(L"|Buffer size"), std::wstring::npos) << Narrow(texts);

  // A closed sheet opens again.
  OpenAndClose(kDeviceSettings, L"Configuration", Close::Escape, {});

  ::PostMessageW(frame_, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(process_.hProcess, kStartBoundMs), WAIT_OBJECT_0);
  DWORD code = 99;
  ::GetExitCodeProcess(process_.hProcess, &code);
  EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(Cards, Orbisect3MenuDialogs, ::testing::Values("corvane", "belvane", "ustrel"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
