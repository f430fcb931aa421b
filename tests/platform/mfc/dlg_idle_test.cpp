// A modal dialog inside a running application: the main window's command
// user interface keeps being updated while the dialog idles, and messages
// posted to the thread reach the application's thread-message map.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "dlg_test_ids.h"
#include "dlg_test_support.h"

namespace {

constexpr UINT kThreadPing = WM_APP + 3;

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("dialog idle test") {}
  int pings = 0;

 protected:
  afx_msg void OnPing(WPARAM, LPARAM) { ++pings; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_THREAD_MESSAGE(kThreadPing, &ThisClass::OnPing)
END_MESSAGE_MAP()

class CMainWindow : public CWnd {
 public:
  int updates = 0;

 protected:
  afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM) {
    ++updates;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainWindow, CWnd)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, &ThisClass::OnIdleUpdate)
END_MESSAGE_MAP()

// Ends itself at the first idle time after the thread message came through.
class CProbeDlg : public CDialog {
 public:
  CProbeDlg(CTestApp& app, CMainWindow& main) : CDialog(IDD_DLG_NOFONT), m_app(app), m_main(main) {}
  int updatesSeen = -1;
  int pingsSeen = -1;
  bool mainEnabled = true;
  HWND owner = nullptr;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    ::PostThreadMessageW(::GetCurrentThreadId(), kThreadPing, 0, 0);
    return TRUE;
  }
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (m_app.pings == 0) return 0;
    updatesSeen = m_main.updates;
    pingsSeen = m_app.pings;
    mainEnabled = ::IsWindowEnabled(m_main.m_hWnd) != FALSE;
    owner = ::GetWindow(m_hWnd, GW_OWNER);
    EndDialog(IDOK);
    return 0;
  }
  DECLARE_MESSAGE_MAP()

 private:
  CTestApp& m_app;
  CMainWindow& m_main;
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
  ON_MESSAGE(WM_KICKIDLE, &ThisClass::OnKickIdle)
END_MESSAGE_MAP()

TEST(ModalInApplication, MainWindowUpdatesAndThreadMessagesGoOn) {
  CTestApp app;
  CMainWindow main;
  ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                            nullptr, nullptr));
  app.m_pMainWnd = &main;
  {
    CProbeDlg dlg(app, main);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.pingsSeen, 1);
    EXPECT_GE(dlg.updatesSeen, 1);
    // Without a parent the dialog belongs to the main window.
    EXPECT_EQ(dlg.owner, main.m_hWnd);
    EXPECT_FALSE(dlg.mainEnabled);
  }
  EXPECT_TRUE(main.IsWindowEnabled());
  app.m_pMainWnd = nullptr;
  main.DestroyWindow();
}

}  // namespace
