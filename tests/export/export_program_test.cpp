// File > "Database export..." in Orbisect3.exe itself, on the simulated budget
// card: a scan of one satellite, then the export through the
// export dialog and its file dialog (read back afterwards by the sqlite3
// shell on Linux, wine_program_check.sh); Export... before Browse... and an
// export into a folder that has gone show the error box and leave nothing.
// The test watches and drives the program's windows from outside.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "orb_app/driver_binding.h"
#include "program_layout.h"
#include "satlist/model.h"
#include "satlist/satlist_xml.h"
#include "test_support.h"
#include "win_program.h"

namespace {

using orb_test::kProgramKey;
constexpr UINT kScanSingleSatellite = 32774;
constexpr UINT kDatabaseExport = 32783;
constexpr int kScanStart = 1011;
constexpr int kScanSatellite = 1032;
constexpr int kExportButton = 1056;
constexpr int kBrowseButton = 1057;
constexpr int kPathBox = 1058;
// Generous bounds for the program to react; never a measure of speed.
constexpr DWORD kPatienceMs = 60000;

bool WaitFor(const std::function<bool()>& done, DWORD boundMs = kPatienceMs) {
  return orb_test::WaitFor(done, boundMs);
}

// The text a window holds now (asked with WM_GETTEXT: across processes
// GetWindowText answers a control's first text only).
std::wstring TextOf(HWND hwnd) { return orb_test::ControlText(hwnd); }
using orb_test::ClassOf;
using orb_test::Press;
using orb_test::TopLevelWindows;

// Caption and control texts of a dialog.
std::wstring DialogTexts(HWND dialog) { return orb_test::DialogTexts(dialog, &TextOf); }

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

class ExportProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    ASSERT_TRUE(orb_test::RegisterServerBeside(L"orbsatlist.dll"));
    ASSERT_TRUE(orb_test::RegisterServerBeside(L"belvane.dll"));
    std::vector<orb::app::DriverEntry> drivers;
    ASSERT_TRUE(orb::app::ListDrivers(drivers, [](const std::string& m) { ADD_FAILURE() << m; }));
    ASSERT_EQ(drivers.size(), 1u);
    // The plug-in's settings: DiSEqC 1.0 with Astra 19E on A/A.
    orb_test::LayOutDriver(orb::app::GuidToRegistryString(drivers[0].clsid));
    // The simulated card on a satellite front end, ten times the usual
    // packet rate (the scan waits for the tables' cycles).
    ::SetEnvironmentVariableW(L"ORB_VSIM_DEVICES", L"sat");
    ::SetEnvironmentVariableW(L"ORB_VSIM_RATE", L"100000");
    // The tables the export reads (and the NIT): a shorter scan.
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD tables = 0x41B;
    ::RegSetValueExW(key, L"sitables", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&tables), sizeof tables);
    ::RegCloseKey(key);
    // The program's satellite list: the default one with Astra 19E selected
    // and its first transponder the starting point of its scan.
    orb::satlist::SatelliteList list = orb::satlist::DefaultSatelliteList();
    const orb::satlist::Satellite* found = list.Find("Astra 19E");
    ASSERT_TRUE(found);
    orb::satlist::Satellite astra = *found;
    astra.selected = true;
    ASSERT_FALSE(astra.transponders.empty());
    astra.transponders[0].primary = 1;
    list.Store(astra);
    wchar_t common[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common)));
    const std::wstring folder = std::wstring(common) + L"\\Orbisect 3";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::string xml = orb::satlist::WriteSatListXml(list);
    HANDLE file = ::CreateFileW((folder + L"\\satlist.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, xml.data(), static_cast<DWORD>(xml.size()), &written, nullptr);
    ::CloseHandle(file);
  }

  void TearDown() override { program_.End(kPatienceMs); }

  static std::wstring ProgramPath() { return orb_test::ExeFolder() + L"\\Orbisect3.exe"; }
  static std::wstring OutFolder() { return orb_test::ExeFolder() + L"\\export-out"; }

  void Start() {
    orb_test::ProcessRun run;
    ASSERT_TRUE(program_.Start(ProgramPath(), orb_test::ExeFolder(), run)) << run.Describe();
  }

  HWND WaitForWindow(const std::function<bool(HWND)>& match) { return program_.WaitForWindow(match, kPatienceMs); }
  HWND WaitForDialog(const std::wstring& caption) { return program_.WaitForDialog(caption, kPatienceMs); }
  bool ProgressShown() {
    for (HWND h : TopLevelWindows(program_.Id()))
      if (DialogTexts(h).find(L"Exporting to database") != std::wstring::npos) return true;
    return false;
  }

  // Browse... to `path` through the file dialog.
  bool BrowseTo(HWND exportDialog, const std::wstring& path) {
    Press(exportDialog, kBrowseButton);
    HWND fileDialog = WaitForWindow([&](HWND h) { return ClassOf(h) == L"#32770" && h != exportDialog; });
    if (!fileDialog) return false;
    // The name typed in once the dialog has settled (it fills its boxes
    // after it shows).
    if (!WaitFor([&] {
          ::SetDlgItemTextW(fileDialog, 0x47C, path.c_str());
          ::Sleep(100);
          wchar_t typed[1024] = {};
          ::GetDlgItemTextW(fileDialog, 0x47C, typed, 1023);
          return path == typed;
        }, 10000))
      return false;
    Press(fileDialog, IDOK);
    const bool ok = WaitFor([&] { return TextOf(::GetDlgItem(exportDialog, kPathBox)) == path; }, 10000);
    return ok;
  }

  // Browse..., then into `folder` in the file dialog, then Cancel.
  bool BrowseAndCancel(HWND exportDialog, const std::wstring& folder) {
    Press(exportDialog, kBrowseButton);
    HWND fileDialog = WaitForWindow([&](HWND h) { return ClassOf(h) == L"#32770" && h != exportDialog; });
    if (!fileDialog) return false;
    if (!WaitFor([&] {
          ::SetDlgItemTextW(fileDialog, 0x47C, folder.c_str());
          ::Sleep(100);
          wchar_t typed[1024] = {};
          ::GetDlgItemTextW(fileDialog, 0x47C, typed, 1023);
          return folder == typed;
        }, 10000))
      return false;
    // OK on a folder opens it; the dialog stays.
    ::SendMessageW(fileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(fileDialog, IDOK)));
    Press(fileDialog, IDCANCEL);
    return WaitFor([&] { return !::IsWindow(fileDialog); });
  }

  // Export... that fails: the error box's texts, the box confirmed.
  std::wstring ExportExpectingError(HWND exportDialog) {
    Press(exportDialog, kExportButton);
    std::wstring texts;
    HWND box = WaitForWindow([&](HWND h) {
      return ClassOf(h) == L"#32770" && DialogTexts(h).find(L"Error: ") != std::wstring::npos;
    });
    if (!box) return texts;
    texts = DialogTexts(box);
    Press(box, IDOK);
    WaitFor([&] { return !ProgressShown() && ::IsWindowEnabled(exportDialog); });
    return texts;
  }

  orb_test::WatchedProgram program_;
};

TEST_F(ExportProgram, ScanThenExportWritesTheScannedServicesAndFailuresLeaveNothing) {
  // Only this run's files in export-out (the read-back checks that).
  ::CreateDirectoryW(OutFolder().c_str(), nullptr);
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((OutFolder() + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ::DeleteFileW((OutFolder() + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  const std::wstring target = OutFolder() + L"\\scan.db";
  Start();
  HWND frame = WaitForWindow([](HWND h) { return ::GetMenu(h) != nullptr; });
  ASSERT_TRUE(frame) << "no main window";

  // Action > SI scanning > Single satellite... on Astra 19E: Start, wait for
  // the scan to end, Close.
  ::PostMessageW(frame, WM_COMMAND, kScanSingleSatellite, 0);
  HWND scan = WaitForDialog(L"SI Reading");
  ASSERT_TRUE(scan);
  ASSERT_NE(::SendDlgItemMessageW(scan, kScanSatellite, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(L"Astra 19E")),
            CB_ERR);
  // Sent: the worker runs (and Close is disabled) once it returns.
  ::SendMessageW(scan, WM_COMMAND, MAKEWPARAM(kScanStart, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(scan, kScanStart)));
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(scan, IDOK)); }));
  Press(scan, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(scan); }));

  // File > Database export...
  ::PostMessageW(frame, WM_COMMAND, kDatabaseExport, 0);
  HWND dialog = WaitForDialog(L"Database export");
  ASSERT_TRUE(dialog);

  // Export... before Browse...: the error box, nothing written.
  const std::wstring emptyPath = ExportExpectingError(dialog);
  EXPECT_NE(emptyPath.find(L"Error: 0x80070057\nDesc: "), std::wstring::npos) << Narrow(emptyPath);

  // Into a folder that went away after Browse...: the error box, nothing left.
  const std::wstring gone = OutFolder() + L"\\gone";
  ::CreateDirectoryW(gone.c_str(), nullptr);
  ASSERT_TRUE(BrowseTo(dialog, gone + L"\\lost.db"));
  // The file dialog made that folder the program's current one, which no one
  // may remove: Browse... once more, into the folder above, and cancel.
  ASSERT_TRUE(BrowseAndCancel(dialog, OutFolder()));
  ASSERT_TRUE(::RemoveDirectoryW(gone.c_str()));
  const std::wstring goneError = ExportExpectingError(dialog);
  EXPECT_NE(goneError.find(L"Error: 0x80070003\nDesc: "), std::wstring::npos) << Narrow(goneError);
  EXPECT_EQ(::GetFileAttributesW(gone.c_str()), INVALID_FILE_ATTRIBUTES);

  // The scanned store into scan.db.
  ASSERT_TRUE(BrowseTo(dialog, target));
  Press(dialog, kExportButton);
  EXPECT_TRUE(WaitFor([&] {
    return ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES && !ProgressShown() &&
           ::IsWindowEnabled(dialog);
  }));
  for (HWND h : TopLevelWindows(program_.Id()))
    EXPECT_EQ(DialogTexts(h).find(L"Error: "), std::wstring::npos) << Narrow(DialogTexts(h));

  // A path typed into "Database:" over the browsed one is the file written.
  const std::wstring typed = OutFolder() + L"\\typed.db";
  ::SetDlgItemTextW(dialog, kPathBox, typed.c_str());
  Press(dialog, kExportButton);
  EXPECT_TRUE(WaitFor([&] {
    return ::GetFileAttributesW(typed.c_str()) != INVALID_FILE_ATTRIBUTES && !ProgressShown() &&
           ::IsWindowEnabled(dialog);
  }));
  for (HWND h : TopLevelWindows(program_.Id()))
    EXPECT_EQ(DialogTexts(h).find(L"Error: "), std::wstring::npos) << Narrow(DialogTexts(h));
  Press(dialog, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));

  ::PostMessageW(frame, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(program_.WaitForExit(kPatienceMs, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
