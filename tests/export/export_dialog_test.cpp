// The export dialogs under Wine, driven as a user would: a typed path, Browse...
// through the file dialog, Export..., the progress dialog closing by itself, the error box
// of a failed export, Escape and Enter on the progress dialog.  The dialogs run
// modally on the test's thread; a second thread plays the user.  The files
// are written to export-out beside the test program, where
// wine_export_check.sh reads them back with the sqlite3 shell on Linux.
#include <gtest/gtest.h>

#include <afxdlgs.h>
#include <objbase.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "lib13818/id_names.h"
#include "orb_app/DatabaseExportDlg.h"
#include "resource.h"
#include "store_builder.h"
#include "win_screen.h"
#include "win_ui.h"

namespace {

class CExportTestApp : public CWinApp {
 public:
  CExportTestApp() : CWinApp("OrbExportDialogTest") {}
};
CExportTestApp theTestApp;

std::wstring OutFolder();
std::vector<std::wstring> FilesIn(const std::wstring& dir, const wchar_t* pattern);

class WinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW));
    lib13818::InitIdNameMaps();
    // As the program: COM in the multithreaded apartment.
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // Only this run's files in export-out (the read-back checks that).
    for (const std::wstring& name : FilesIn(OutFolder(), L"*")) ::DeleteFileW((OutFolder() + L"\\" + name).c_str());
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WinEnvironment);

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path);
  return s.substr(0, s.find_last_of(L'\\'));
}

// export-out beside the program, emptied of one test's files.
std::wstring OutFolder() {
  const std::wstring dir = ExeFolder() + L"\\export-out";
  ::CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

std::vector<std::wstring> FilesIn(const std::wstring& dir, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE h = ::FindFirstFileW((dir + L"\\" + pattern).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (::FindNextFileW(h, &data));
  ::FindClose(h);
  return names;
}

std::wstring TextOf(HWND hwnd) { return orb_test::WindowText(hwnd); }
using orb_test::Press;

// A visible top-level window of this process with this caption (any caption
// for nullptr: the first dialog other than `except`).
HWND FindDialog(const wchar_t* caption, HWND except = nullptr) {
  for (HWND h : orb_test::Dialogs())
    if (h != except && (!caption || TextOf(h) == caption)) return h;
  return nullptr;
}

// Waits (at most 20 s) until `done` holds.
bool WaitFor(const std::function<bool()>& done) { return orb_test::WaitFor(done, 20000, 10); }

// The progress dialog: the captionless dialog with the fixed text.
HWND FindProgress() {
  for (HWND h : orb_test::TopLevelWindows(::GetCurrentProcessId()))
    if (::FindWindowExW(h, nullptr, L"Static", L"Exporting to database. Please wait...")) return h;
  return nullptr;
}

// Chooses `path` in the file dialog that Browse... opens.
bool BrowseTo(HWND exportDialog, const std::wstring& path) {
  Press(exportDialog, IDC_EXPORT_BROWSE);
  HWND fileDialog = nullptr;
  if (!WaitFor([&] { return (fileDialog = FindDialog(nullptr, exportDialog)) != nullptr; })) return false;
  // The file name box (a combo box in the explorer-style dialog).
  ::SetDlgItemTextW(fileDialog, 0x47C, path.c_str());
  Press(fileDialog, IDOK);
  return WaitFor([&] { return TextOf(::GetDlgItem(exportDialog, 1058)) == path; }) &&
         WaitFor([&] { return !::IsWindow(fileDialog); });
}

// The window as the screen shows it, freshly painted, as a BMP (for looking at).
void SaveScreenshot(HWND hwnd, const std::wstring& path) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  orb_test::SaveScreenBitmap(hwnd, path);
}

struct Session {
  std::mutex lock;
  std::vector<std::wstring> boxes;  // texts of the message boxes, in order
  std::vector<DWORD> boxThreads;    // the threads that showed them
};

// Runs the export dialog modally while `act` plays the user.
void RunExportDialog(const lib13818::NetworkMap& store, Session& session,
                     const std::function<void(HWND dialog)>& act, CDatabaseExportDlg** out = nullptr) {
  AfxSetMessageBoxHook([&](const CString& text, UINT) {
    std::lock_guard<std::mutex> guard(session.lock);
    session.boxes.push_back(text.GetString());
    session.boxThreads.push_back(::GetCurrentThreadId());
    return IDOK;
  });
  CDatabaseExportDlg dlg(&store);
  if (out) *out = &dlg;
  std::thread user([&] {
    HWND dialog = nullptr;
    if (WaitFor([&] { return (dialog = FindDialog(L"Database export")) != nullptr; })) act(dialog);
    if (dialog) Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  user.join();
  AfxSetMessageBoxHook({});
}

// Export..., sent: it returns once the progress dialog has come and gone.
void ExportAndWait(HWND dialog) {
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_EXPORT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_EXPORT_EXPORT)));
}

TEST(ExportDialog, BrowseThenExportWritesTheDatabase) {
  const std::wstring dir = OutFolder();
  // A name beyond the ANSI code page: the path goes to the database as UTF-8.
  const std::wstring path = dir + L"\\sc\u00e4n \u03a3.db";
  ::DeleteFileW(path.c_str());
  const lib13818::NetworkMap store = testing_support::SyntheticStore(3, 4);
  Session session;
  std::wstring shown;
  RunExportDialog(store, session, [&](HWND dialog) {
    // Browse... replaces what was typed.
    ::SetDlgItemTextW(dialog, 1058, L"typed.db");
    ASSERT_TRUE(BrowseTo(dialog, path));
    shown = TextOf(::GetDlgItem(dialog, 1058));
    SaveScreenshot(dialog, ExeFolder() + L"\\export-dialog.bmp");
    ExportAndWait(dialog);
    // A second export to the same file replaces it.
    ExportAndWait(dialog);
  });
  EXPECT_EQ(shown, path);
  EXPECT_TRUE(session.boxes.empty()) << (session.boxes.empty() ? "" : std::string(session.boxes[0].begin(), session.boxes[0].end()));
  EXPECT_EQ(FilesIn(dir, L"sc*.db*"), std::vector<std::wstring>{L"sc\u00e4n \u03a3.db"});
  EXPECT_TRUE(FilesIn(dir, L"typed.db*").empty());
}

TEST(ExportDialog, TypedPathIsTheDatabaseFile) {
  const std::wstring dir = OutFolder();
  const std::wstring typed = dir + L"\\typed \u00e9.db";
  const std::wstring retyped = dir + L"\\retyped.db";
  const std::wstring browsed = dir + L"\\browsed.db";
  for (const std::wstring& p : {typed, retyped, browsed}) ::DeleteFileW(p.c_str());
  const lib13818::NetworkMap store = testing_support::SyntheticStore(2, 3);
  Session session;
  CDatabaseExportDlg* dlg = nullptr;
  std::wstring offered;
  RunExportDialog(
      store, session,
      [&](HWND dialog) {
        // Typed, then Export... without Browse...
        ::SetDlgItemTextW(dialog, 1058, typed.c_str());
        ExportAndWait(dialog);
        // Browse... starts from the typed name and fills the field; a path
        // typed over it afterwards is the one exported to.
        Press(dialog, IDC_EXPORT_BROWSE);
        HWND fileDialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (fileDialog = FindDialog(nullptr, dialog)) != nullptr; }));
        WaitFor([&] { return !TextOf(::GetDlgItem(fileDialog, 0x47C)).empty(); });
        offered = TextOf(::GetDlgItem(fileDialog, 0x47C));
        ::SetDlgItemTextW(fileDialog, 0x47C, browsed.c_str());
        Press(fileDialog, IDOK);
        ASSERT_TRUE(WaitFor([&] { return TextOf(::GetDlgItem(dialog, 1058)) == browsed; }));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(fileDialog); }));
        ::SetDlgItemTextW(dialog, 1058, retyped.c_str());
        ExportAndWait(dialog);
      },
      &dlg);
  EXPECT_TRUE(session.boxes.empty()) << (session.boxes.empty() ? "" : std::string(session.boxes[0].begin(), session.boxes[0].end()));
  EXPECT_NE(offered.find(L"typed \u00e9.db"), std::wstring::npos) << std::string(offered.begin(), offered.end());
  EXPECT_NE(::GetFileAttributesW(typed.c_str()), INVALID_FILE_ATTRIBUTES) << "the typed path";
  EXPECT_NE(::GetFileAttributesW(retyped.c_str()), INVALID_FILE_ATTRIBUTES) << "typed over the browsed one";
  EXPECT_EQ(::GetFileAttributesW(browsed.c_str()), INVALID_FILE_ATTRIBUTES) << "browsed, then typed over";
}

TEST(ExportDialog, ExportBeforeBrowseShowsTheErrorOnceAndWritesNothing) {
  const lib13818::NetworkMap store = testing_support::SyntheticStore(1, 2);
  Session session;
  RunExportDialog(store, session, [&](HWND dialog) {
    ExportAndWait(dialog);
    // The export dialog is still there.
    EXPECT_TRUE(::IsWindowVisible(dialog));
  });
  ASSERT_EQ(session.boxes.size(), 1u);
  EXPECT_EQ(session.boxes[0].rfind(L"Error: 0x80070057\nDesc: ", 0), 0u);
  EXPECT_NE(session.boxes[0].find(L"\nSource: "), std::wstring::npos);
  // Shown by the dialogs' thread, not by the worker.
  EXPECT_EQ(session.boxThreads, std::vector<DWORD>{::GetCurrentThreadId()});
}

TEST(ExportDialog, FolderGoneBeforeExportShowsTheErrorAndLeavesNothing) {
  const std::wstring dir = OutFolder() + L"\\gone";
  ::CreateDirectoryW(dir.c_str(), nullptr);
  const lib13818::NetworkMap store = testing_support::SyntheticStore(1, 2);
  Session session;
  RunExportDialog(store, session, [&](HWND dialog) {
    ASSERT_TRUE(BrowseTo(dialog, dir + L"\\lost.db"));
    ASSERT_TRUE(::RemoveDirectoryW(dir.c_str()));
    ExportAndWait(dialog);
  });
  ASSERT_EQ(session.boxes.size(), 1u);
  EXPECT_EQ(session.boxes[0].rfind(L"Error: 0x80070003\nDesc: ", 0), 0u);
  EXPECT_EQ(session.boxThreads, std::vector<DWORD>{::GetCurrentThreadId()});
  EXPECT_EQ(::GetFileAttributesW(dir.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(FilesIn(OutFolder(), L"lost.db*").empty());
}

TEST(ExportDialog, ProgressDialogStaysThroughEscapeAndEnterUntilTheExportEnds) {
  const std::wstring path = OutFolder() + L"\\large.db";
  ::DeleteFileW(path.c_str());
  const lib13818::NetworkMap store = testing_support::SyntheticStore(100, 50);
  Session session;
  bool stayed = false, exportDisabled = false, exportEnabledAfter = false;
  RunExportDialog(store, session, [&](HWND dialog) {
    ASSERT_TRUE(BrowseTo(dialog, path));
    Press(dialog, IDC_EXPORT_EXPORT);
    HWND progress = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (progress = FindProgress()) != nullptr; }));
    SaveScreenshot(progress, ExeFolder() + L"\\export-progress.bmp");
    // The export dialog takes no input while its export runs (no second
    // export over the first, no Cancel under the progress dialog).
    exportDisabled = !::IsWindowEnabled(dialog);
    ::SendMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ::SendMessageW(progress, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::SendMessageW(progress, WM_CLOSE, 0, 0);
    stayed = ::IsWindow(progress) && ::IsWindowVisible(progress);
    WaitFor([] { return FindProgress() == nullptr; });
    exportEnabledAfter = WaitFor([&] { return ::IsWindowEnabled(dialog) != FALSE; });
  });
  EXPECT_TRUE(stayed);
  EXPECT_TRUE(exportDisabled);
  EXPECT_TRUE(exportEnabledAfter);
  EXPECT_TRUE(session.boxes.empty());
  EXPECT_EQ(FilesIn(OutFolder(), L"large.db*"), std::vector<std::wstring>{L"large.db"});
}

// A progress dialog whose worker cannot be started.
class CNoThreadProgressDlg : public CExportProgressDlg {
 public:
  using CExportProgressDlg::CExportProgressDlg;

 protected:
  CWinThread* BeginWorker() override { return nullptr; }
};

TEST(ExportDialog, WorkerThatCannotStartEndsTheExportWithItsMessageAndNothingWritten) {
  const std::wstring path = OutFolder() + L"\\nothread.db";
  const lib13818::NetworkMap store = testing_support::SyntheticStore(1, 2);
  std::vector<std::wstring> boxes;
  AfxSetMessageBoxHook([&](const CString& text, UINT) {
    boxes.push_back(text.GetString());
    return IDOK;
  });
  CNoThreadProgressDlg dlg(&store, path.c_str());
  EXPECT_EQ(dlg.DoModal(), IDABORT);
  AfxSetMessageBoxHook({});
  EXPECT_EQ(boxes, std::vector<std::wstring>{L"Failed to create thread"});
  EXPECT_TRUE(FilesIn(OutFolder(), L"nothread.db*").empty());
}

}  // namespace
