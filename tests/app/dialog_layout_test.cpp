// Every dialog template of the program and of the four plug-ins, made in
// its own font as the program shows it (a property page as the sheet shows
// it, without caption and frame): each text shows in full, no control covers
// another, and each lies inside its dialog.  Texts that the program sets at
// run time are measured against their controls too, at their longest.  A
// picture of every dialog is left in the test's folder (screenshots\).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "satlist/model.h"
#include "test_support.h"
#include "win_layout.h"
#include "win_screen.h"

namespace {

using orb_test::Alternatives;

struct Module {
  const char* name;
  const wchar_t* file;  // null: the program's resources, linked into this test
};

const Module kModules[] = {
    {"Program", nullptr},
    {"Corvane", ORB_CORVANE_DLL},
    {"Belvane", ORB_BELVANE_DLL},
    {"Ustrel", ORB_USTREL_DLL},
    {"Quarn", ORB_QUARN_DLL},
};

// Controls that share a place and are shown one at a time, by module and
// template: the Quarn tuning dialog shows the QAM row on cable cards and the
// polarisation row in its place on satellite cards.
const std::map<std::pair<std::string, int>, std::vector<Alternatives>> kAlternatives = {
    {{"Quarn", 203}, {{215, 216}, {205, 203}, {205, 204}}},
};

struct Template {
  int id;
  WORD language;
};

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR name, WORD language, LONG_PTR list) {
  reinterpret_cast<std::vector<Template>*>(list)->push_back(
      {static_cast<int>(reinterpret_cast<ULONG_PTR>(name)), language});
  return TRUE;
}

BOOL CALLBACK AddDialog(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR list) {
  if (IS_INTRESOURCE(name)) ::EnumResourceLanguagesW(module, type, name, &AddLanguage, list);
  return TRUE;
}

std::vector<Template> Templates(HMODULE module) {
  std::vector<Template> found;
  ::EnumResourceNamesW(module, RT_DIALOG, &AddDialog, reinterpret_cast<LONG_PTR>(&found));
  return found;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The window style of a template (DIALOG or DIALOGEX).
DWORD& StyleOf(std::vector<unsigned char>& bytes) {
  const WORD* words = reinterpret_cast<const WORD*>(bytes.data());
  const size_t at = words[1] == 0xFFFF ? 12 : 0;
  return *reinterpret_cast<DWORD*>(bytes.data() + at);
}

class Host {
 public:
  Host() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"OrbLayoutHost";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(WS_EX_TOPMOST, L"OrbLayoutHost", L"page", WS_POPUP, 20, 20, 100, 100, nullptr,
                              nullptr, wc.hInstance, nullptr);
  }
  ~Host() { ::DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Made from the template as the program makes it: a page (a child
// template) as the sheet does, with its caption, frame and disabled state
// taken away, inside a host window of its size.
class MadeDialog {
 public:
  MadeDialog(HMODULE module, const Template& t, Host& host) : host_(host.hwnd()) {
    HRSRC found = ::FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(t.id), t.language);
    if (!found) return;
    const auto* data = static_cast<const unsigned char*>(::LockResource(::LoadResource(module, found)));
    if (!data) return;
    std::vector<unsigned char> bytes(data, data + ::SizeofResource(module, found));
    DWORD& style = StyleOf(bytes);
    child_ = (style & WS_CHILD) != 0;
    if (child_) {
      style &= ~(WS_CAPTION | WS_SYSMENU | WS_POPUP | WS_DISABLED | WS_VISIBLE | WS_THICKFRAME);
      style |= WS_CHILD | DS_CONTROL;
    }
    hwnd_ = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                         reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                         child_ ? host.hwnd() : nullptr, &QuietDialog, 0);
    if (!hwnd_) return;
    shown_ = child_ ? host.hwnd() : hwnd_;
    if (child_) {
      RECT r{};
      ::GetWindowRect(hwnd_, &r);
      ::SetWindowPos(host.hwnd(), HWND_TOPMOST, 20, 20, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW);
      ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    } else {
      ::SetWindowPos(hwnd_, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    ::UpdateWindow(shown_);
    Pump();
  }
  ~MadeDialog() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    if (child_) ::ShowWindow(host_, SW_HIDE);
    Pump();
  }
  HWND hwnd() const { return hwnd_; }
  HWND shown() const { return shown_; }

 private:
  HWND host_;
  HWND hwnd_ = nullptr;
  HWND shown_ = nullptr;
  bool child_ = false;
};

std::wstring ScreenshotFolder() {
  const std::wstring folder = orb_test::ExeFolder() + L"\\screenshots";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

class DialogLayout : public ::testing::TestWithParam<Module> {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    const Module& m = GetParam();
    module_ = m.file ? ::LoadLibraryExW(m.file, nullptr, LOAD_LIBRARY_AS_DATAFILE) : ::GetModuleHandleW(nullptr);
    ASSERT_TRUE(module_) << m.name;
  }
  void TearDown() override {
    if (GetParam().file && module_) ::FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

TEST_P(DialogLayout, EveryTextShowsInFullAndNoControlCoversAnother) {
  const Module& m = GetParam();
  const std::vector<Template> templates = Templates(module_);
  ASSERT_FALSE(templates.empty()) << m.name;
  Host host;
  const std::wstring folder = ScreenshotFolder();
  for (const Template& t : templates) {
    SCOPED_TRACE(std::string(m.name) + " dialog " + std::to_string(t.id));
    MadeDialog dialog(module_, t, host);
    ASSERT_TRUE(dialog.hwnd());
    const auto alternatives = kAlternatives.find({m.name, t.id});
    const std::vector<std::string> faults = orb_test::LayoutFaults(
        dialog.hwnd(), alternatives == kAlternatives.end() ? std::vector<Alternatives>{} : alternatives->second);
    std::string all;
    for (const std::string& f : faults) all += "\n  " + f;
    EXPECT_TRUE(faults.empty()) << all;
    orb_test::SavePaintedWindow(dialog.shown(),
                                folder + L"\\" + Wide(m.name) + L"-" + std::to_wstring(t.id) + L".bmp", 50);
  }
}

INSTANTIATE_TEST_SUITE_P(Modules, DialogLayout, ::testing::ValuesIn(kModules),
                         [](const ::testing::TestParamInfo<Module>& i) { return std::string(i.param.name); });

// The program's dialogs with the longest texts they are given at run time.
class ProgramDialogTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
  }
  HWND Make(int id) {
    dialog_ = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, &QuietDialog, 0);
    return dialog_;
  }
  void TearDown() override {
    if (dialog_) ::DestroyWindow(dialog_);
  }
  HWND dialog_ = nullptr;
};

TEST_F(ProgramDialogTexts, ScanProgressFieldsHoldThreeDigitCounts) {
  HWND reading = Make(133);
  ASSERT_TRUE(reading);
  // "i of n" with up to three digits on each side (satellites, transponders
  // of a satellite, entries and sections of a NIT), and "N/A" before a scan.
  for (int field : {1036, 1037, 1040, 1042}) {
    EXPECT_EQ(orb_test::CutText(::GetDlgItem(reading, field), L"888 of 888"), "");
    EXPECT_EQ(orb_test::CutText(::GetDlgItem(reading, field), L"N/A"), "");
  }
}

TEST_F(ProgramDialogTexts, TransponderListNamesEverySatelliteOfTheDefaultList) {
  HWND list = Make(135);
  ASSERT_TRUE(list);
  const orb::satlist::SatelliteList satellites = orb::satlist::DefaultSatelliteList();
  ASSERT_FALSE(satellites.Satellites().empty());
  for (const orb::satlist::Satellite& satellite : satellites.Satellites()) {
    const std::string& name = satellite.name;
    EXPECT_EQ(orb_test::CutText(::GetDlgItem(list, 1021), Wide(name)), "") << name;
  }
}

}  // namespace
