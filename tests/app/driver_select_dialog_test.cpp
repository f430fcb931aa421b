// The driver selection dialog over the test plug-ins: every class of the
// drivers category that can be created is listed by its name, a class that
// cannot is reported with its HRESULT, two classes of one name are listed
// twice and both lines choose the one listed last, nothing is preselected,
// and only OK on a listed line chooses a driver.  The dialog runs modally on
// the test's thread; a second thread plays the user.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fake_driver/fake_ids.h"
#include "orb_app/DriverSelectDlg.h"
#include "orb_app/driver_binding.h"
#include "test_log.h"
#include "test_support.h"
#include "win_ui.h"

using orb::app::GuidToRegistryString;

namespace {

class CDialogTestApp : public CWinApp {
 public:
  CDialogTestApp() : CWinApp("OrbDriverSelectTest") {}
};
CDialogTestApp theTestApp;

class ComEnvironment : public orb_test::ServersEnvironment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW));
    ServersEnvironment::SetUp();
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

using orb_test::Dialogs;
using orb_test::Press;
std::wstring TextOf(HWND hwnd) { return orb_test::WindowText(hwnd); }

std::wstring AllTexts(HWND dialog) {
  std::wstring all;
  for (HWND h : orb_test::Descendants(dialog)) all += TextOf(h) + L"|";
  return all;
}

// What the user saw and did.
struct Session {
  std::vector<std::wstring> messages;  // texts of the message boxes, in order
  std::vector<std::string> lines;      // the combo box lines
  int selectedAtStart = 0;
};

// Runs the dialog modally while `act` plays the user on the dialog window
// (message boxes are confirmed and recorded on the way).
INT_PTR RunDialog(CDriverSelectDlg& dlg, Session& session,
                  const std::function<void(HWND dialog, HWND combo)>& act) {
  std::atomic<bool> done{false};
  std::thread user([&] {
    const ULONGLONG end = ::GetTickCount64() + 60000;
    while (!done && ::GetTickCount64() < end) {
      for (HWND h : Dialogs()) {
        if (TextOf(h) != L"Driver selction") {
          session.messages.push_back(AllTexts(h));
          ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          continue;
        }
        HWND combo = ::GetDlgItem(h, 1000);
        const int n = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
          char text[256] = {};
          ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
          session.lines.push_back(text);
        }
        session.selectedAtStart = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
        act(h, combo);
        return;
      }
      ::Sleep(20);
    }
  });
  const INT_PTR result = dlg.DoModal();
  done = true;
  user.join();
  return result;
}

void SelectLine(HWND combo, const std::string& text) {
  const LRESULT i = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(text.c_str()));
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

size_t Count(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), text));
}

}  // namespace

TEST(DriverSelectDialog, ListsNamesReportsFailuresAndChoosesTheLastOfOneName) {
  CDriverSelectDlg dlg;
  Session session;
  std::string fakeCard;
  const INT_PTR result = RunDialog(dlg, session, [&](HWND dialog, HWND combo) {
    SelectLine(combo, "Fake card");
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  // The class that cannot be created is reported with its HRESULT, once.
  ASSERT_EQ(session.messages.size(), 1u);
  EXPECT_NE(session.messages[0].find(L"Failed to create driver instance: 8007000E"),
            std::wstring::npos);
  // Two classes named "Fake card": listed twice; one without a device once.
  EXPECT_EQ(Count(session.lines, "Fake card"), 2u);
  EXPECT_EQ(Count(session.lines, "Fake card without device"), 1u);
  EXPECT_EQ(session.selectedAtStart, CB_ERR);
  // The name chooses the class enumerated last of the two.
  std::vector<orb::app::DriverEntry> drivers;
  orb::app::ListDrivers(drivers, [](const std::string&) {});
  std::string last;
  for (const auto& d : drivers)
    if (d.name == "Fake card") last = GuidToRegistryString(d.clsid);
  EXPECT_EQ(dlg.GetChosenClsid(), last);
  EXPECT_TRUE(last == GuidToRegistryString(kClsidFakeCard) ||
              last == GuidToRegistryString(kClsidFakeTwin));
}

TEST(DriverSelectDialog, NothingIsChosenWithoutAListedLine) {
  {
    CDriverSelectDlg dlg;
    Session session;
    EXPECT_EQ(RunDialog(dlg, session, [](HWND dialog, HWND) { Press(dialog, IDOK); }), IDOK);
    EXPECT_EQ(dlg.GetChosenClsid(), "");
  }
  {
    // A name typed into the edit field selects nothing.
    CDriverSelectDlg dlg;
    Session session;
    EXPECT_EQ(RunDialog(dlg, session,
                        [](HWND dialog, HWND combo) {
                          ::SendMessageA(combo, WM_SETTEXT, 0,
                                         reinterpret_cast<LPARAM>("Fake card"));
                          Press(dialog, IDOK);
                        }),
              IDOK);
    EXPECT_EQ(dlg.GetChosenClsid(), "");
  }
  {
    CDriverSelectDlg dlg;
    Session session;
    EXPECT_EQ(RunDialog(dlg, session,
                        [](HWND dialog, HWND combo) {
                          SelectLine(combo, "Fake card without device");
                          Press(dialog, IDCANCEL);
                        }),
              IDCANCEL);
    EXPECT_EQ(dlg.GetChosenClsid(), "");
  }
}
