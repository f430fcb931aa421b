// The main frame's windows in this process: the Output bar (lines, tabs, the
// Output window command and its check mark, the close button), the hex view
// (rows, scrolling keys) and the sizing bar around them (place, edges, hit
// tests, minimum sizes, sizes in the profile).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ui_win/HexDumpWnd.h"
#include "ui_win/MainFrm.h"
#include "ui_win/OutputBar.h"
#include "ui_win/SizingControlBar.h"
#include "ui_win/TransponderPanes.h"
#include "win_ui.h"

namespace {

constexpr UINT kMainFrameResource = 128;
constexpr UINT kOutputWindowCommand = 32771;

class CUiTestApp : public CWinApp {
 public:
  CUiTestApp() : CWinApp("OrbUiTest") {}
  void UseRegistry() { SetRegistryKey("Orbisect UI tests"); }
};
CUiTestApp theTestApp;

class FrameworkEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW));
    theTestApp.UseRegistry();
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new FrameworkEnvironment);

// Lets the frame do what it does between messages (layout, command updates).
using orb_test::Pump;

// A shown main frame (it deletes itself when its window is destroyed).
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = static_cast<CMainFrame*>(RUNTIME_CLASS(CMainFrame)->CreateObject());
    ASSERT_TRUE(frame_);
    CCreateContext context;
    ASSERT_TRUE(frame_->LoadFrame(kMainFrameResource, WS_OVERLAPPEDWINDOW, nullptr, &context));
    frame_->MoveWindow(0, 0, 800, 600);
    frame_->ShowWindow(SW_SHOW);
    frame_->RecalcLayout();
    frame_->UpdateWindow();
    Pump();
  }
  void TearDown() override {
    if (frame_ && ::IsWindow(frame_->m_hWnd)) frame_->DestroyWindow();
    Pump();
  }

  COutputBar& Bar() { return frame_->GetOutputBar(); }
  HWND ListWnd() { return Bar().GetList().m_hWnd; }
  HWND HexWnd() { return Bar().GetDataView().m_hWnd; }
  int LineCount() { return static_cast<int>(::SendMessageW(ListWnd(), LB_GETCOUNT, 0, 0)); }

  // The check mark of the Output window command, as the View menu shows it.
  bool OutputWindowChecked() {
    HMENU menu = ::GetMenu(frame_->m_hWnd);
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
      HMENU popup = ::GetSubMenu(menu, i);
      if (!popup || ::GetMenuState(popup, kOutputWindowCommand, MF_BYCOMMAND) == UINT(-1))
        continue;
      frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(i, FALSE));
      return (::GetMenuState(popup, kOutputWindowCommand, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    ADD_FAILURE() << "no menu item for the Output window";
    return false;
  }

  void SelectTab(int index) {
    CTabCtrl& tabs = Bar().GetTabs();
    tabs.SetCurSel(index);
    NMHDR nm{tabs.m_hWnd, static_cast<UINT_PTR>(tabs.GetDlgCtrlID()), TCN_SELCHANGE};
    Bar().SendMessage(WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
  }

  int ScrollPos() { return ::GetScrollPos(HexWnd(), SB_VERT); }
  void Key(UINT vk) { ::SendMessageW(HexWnd(), WM_KEYDOWN, vk, 0); }

  CMainFrame* frame_ = nullptr;
};

}  // namespace

TEST_F(FrameTest, PanesAndBarsStandInTheirPlaces) {
  EXPECT_TRUE(frame_->GetTreePane());
  EXPECT_TRUE(frame_->GetValuePane());
  EXPECT_NE(static_cast<void*>(frame_->GetTreePane()), static_cast<void*>(frame_->GetValuePane()));
  EXPECT_TRUE(Bar().IsWindowVisible());
  EXPECT_EQ(Bar().GetDlgCtrlID(), 123);
  EXPECT_EQ(Bar().GetDockBarId(), static_cast<UINT>(AFX_IDW_DOCKBAR_BOTTOM));
  EXPECT_TRUE(Bar().IsHorzDocked());
  EXPECT_FALSE(Bar().IsFloating());
  EXPECT_EQ(Bar().GetTabs().GetItemCount(), 2);
  char text[32] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ::SendMessageA(Bar().GetTabs().m_hWnd, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "OUTPUT");
  ::SendMessageA(Bar().GetTabs().m_hWnd, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "VALUE");
  EXPECT_EQ(Bar().GetTabs().GetCurSel(), 0);
  EXPECT_TRUE(::IsWindowVisible(ListWnd()));
  EXPECT_FALSE(::IsWindowVisible(HexWnd()));
  // Toolbar: the eleven buttons and separators of its resource; status bar:
  // one part across the whole bar.
  EXPECT_EQ(::SendMessageW(frame_->GetToolBar().m_hWnd, TB_BUTTONCOUNT, 0, 0), 11);
  int rights[4] = {};
  ASSERT_EQ(::SendMessageW(frame_->GetStatusBar().m_hWnd, SB_GETPARTS, 4,
                           reinterpret_cast<LPARAM>(rights)),
            1);
  CRect status;
  frame_->GetStatusBar().GetClientRect(&status);
  EXPECT_TRUE(rights[0] == -1 || rights[0] >= status.right) << rights[0];
  // The list takes no selection and keeps arrival order.
  const LONG_PTR style = ::GetWindowLongPtrW(ListWnd(), GWL_STYLE);
  EXPECT_TRUE(style & LBS_NOSEL);
  EXPECT_FALSE(style & LBS_SORT);
  EXPECT_TRUE(::GetWindowLongPtrW(ListWnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(FrameTest, EveryLineIsAddedAndScrolledTo) {
  for (int n = 0; n < 60; ++n) {
    frame_->AddOutputLine(("line " + std::to_string(n)).c_str());
    ASSERT_EQ(LineCount(), n + 1);
    // The last line is in view.
    RECT client{}, item{};
    ::GetClientRect(ListWnd(), &client);
    ::SendMessageW(ListWnd(), LB_GETITEMRECT, static_cast<WPARAM>(n),
                   reinterpret_cast<LPARAM>(&item));
    ASSERT_GE(item.top, client.top) << n;
    ASSERT_LE(item.bottom, client.bottom) << n;
  }
  EXPECT_GT(::SendMessageW(ListWnd(), LB_GETTOPINDEX, 0, 0), 0);
  char text[32] = {};
  ::SendMessageA(ListWnd(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "line 0");
  ::SendMessageA(ListWnd(), LB_GETTEXT, 59, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "line 59");
  frame_->ClearOutput();
  EXPECT_EQ(LineCount(), 0);
}

TEST_F(FrameTest, TabsSwitchBetweenTheListAndTheHexView) {
  frame_->AddOutputLine("first");
  frame_->AddOutputLine("second");
  SelectTab(1);
  EXPECT_TRUE(::IsWindowVisible(HexWnd()));
  EXPECT_TRUE(::IsWindowEnabled(HexWnd()));
  EXPECT_FALSE(::IsWindowVisible(ListWnd()));
  EXPECT_FALSE(::IsWindowEnabled(ListWnd()));
  SelectTab(0);
  EXPECT_TRUE(::IsWindowVisible(ListWnd()));
  EXPECT_TRUE(::IsWindowEnabled(ListWnd()));
  EXPECT_FALSE(::IsWindowVisible(HexWnd()));
  EXPECT_EQ(LineCount(), 2);  // the lines are intact
  Bar().ShowTab(7);           // no such tab: nothing changes
  EXPECT_TRUE(::IsWindowVisible(ListWnd()));
  EXPECT_FALSE(::IsWindowVisible(HexWnd()));

  // New bytes for the VALUE tab never switch the tab.
  const std::vector<unsigned char> bytes(40, 0x47);
  frame_->ShowValueData(&bytes);
  EXPECT_TRUE(::IsWindowVisible(ListWnd()));
  EXPECT_EQ(Bar().GetDataView().GetLength(), 40);
  EXPECT_EQ(Bar().GetDataView().GetRowCount(), 3);
  EXPECT_NE(Bar().GetDataView().GetBuffer(), bytes.data()) << "the view keeps a copy";
  const std::vector<unsigned char> none;
  frame_->ShowValueData(&none);
  EXPECT_EQ(Bar().GetDataView().GetLength(), 0);
  EXPECT_EQ(Bar().GetDataView().GetRowCount(), 0);
}

TEST_F(FrameTest, OutputWindowCommandTogglesTheBarAndItsCheckMark) {
  EXPECT_TRUE(OutputWindowChecked());
  frame_->SendMessage(WM_COMMAND, kOutputWindowCommand, 0);
  EXPECT_FALSE(Bar().IsWindowVisible());
  EXPECT_FALSE(OutputWindowChecked());
  frame_->SendMessage(WM_COMMAND, kOutputWindowCommand, 0);
  EXPECT_TRUE(Bar().IsWindowVisible());
  EXPECT_TRUE(OutputWindowChecked());

  // The bar's own close button hides it; the menu follows.
  CRect rc;
  Bar().GetWindowRect(&rc);
  const CPoint button = rc.TopLeft() + Bar().GetCloseButtonOrigin() + CSize(5, 5);
  EXPECT_EQ(Bar().SendMessage(WM_NCHITTEST, 0, MAKELPARAM(button.x, button.y)), HTCLOSE);
  Bar().SendMessage(WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(button.x, button.y));
  EXPECT_FALSE(Bar().IsWindowVisible());
  EXPECT_FALSE(OutputWindowChecked());
  frame_->SendMessage(WM_COMMAND, kOutputWindowCommand, 0);
  EXPECT_TRUE(Bar().IsWindowVisible());
  EXPECT_TRUE(OutputWindowChecked());
}

TEST_F(FrameTest, HexViewScrollsByKeysButNotWhileTheThumbIsDragged) {
  SelectTab(1);
  std::vector<unsigned char> bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i);
  frame_->ShowValueData(&bytes);
  Pump();
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(::GetScrollInfo(HexWnd(), SB_VERT, &si));
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 62);  // 63 rows
  const int page = static_cast<int>(si.nPage);
  ASSERT_GT(page, 0);
  ASSERT_LT(page, 30);
  EXPECT_EQ(ScrollPos(), 0);

  Key(VK_NEXT);
  EXPECT_EQ(ScrollPos(), page);
  Key(VK_DOWN);
  EXPECT_EQ(ScrollPos(), page + 1);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(ScrollPos(), page - 1);
  Key(VK_LEFT);
  Key(VK_RIGHT);
  EXPECT_EQ(ScrollPos(), page - 1);
  Key(VK_PRIOR);
  EXPECT_EQ(ScrollPos(), 0);
  Key(VK_UP);
  EXPECT_EQ(ScrollPos(), 0);
  Key(VK_END);  // the last page
  EXPECT_EQ(ScrollPos(), 62 - page + 1);
  Key(VK_DOWN);
  EXPECT_EQ(ScrollPos(), 62 - page + 1);
  Key(VK_HOME);
  EXPECT_EQ(ScrollPos(), 0);

  // Dragging the thumb moves nothing until it is released.
  ::SendMessageW(HexWnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 0);
  EXPECT_EQ(ScrollPos(), 0);

  // New bytes start again at the first row.
  Key(VK_END);
  frame_->ShowValueData(&bytes);
  EXPECT_EQ(ScrollPos(), 0);
  // 16 bytes: one row; 17: two.
  bytes.resize(16);
  frame_->ShowValueData(&bytes);
  EXPECT_EQ(Bar().GetDataView().GetRowCount(), 1);
  bytes.resize(17);
  frame_->ShowValueData(&bytes);
  EXPECT_EQ(Bar().GetDataView().GetRowCount(), 2);
  ::UpdateWindow(HexWnd());  // paints both rows without trouble
}

TEST_F(FrameTest, DockedSizingBarEdgesHitTestsAndMinimumSizes) {
  // Alone in the bottom row: only the top edge, toward the frame's client area.
  EXPECT_EQ(Bar().GetSCBStyle() & SCBS_EDGEALL, static_cast<DWORD>(SCBS_EDGETOP));
  EXPECT_TRUE(Bar().GetSCBStyle() & SCBS_SHOWEDGES);
  EXPECT_TRUE(Bar().GetSCBStyle() & SCBS_SIZECHILD);
  CRect rc;
  Bar().GetWindowRect(&rc);
  auto hit = [&](int x, int y) {
    return Bar().SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.left + x, rc.top + y));
  };
  EXPECT_EQ(hit(rc.Width() / 2, 1), HTTOP);
  EXPECT_EQ(hit(1, rc.Height() / 2), HTCLIENT);
  EXPECT_EQ(hit(rc.Width() - 2, rc.Height() / 2), HTCLIENT);
  EXPECT_EQ(hit(rc.Width() / 2, rc.Height() - 2), HTCLIENT);
  EXPECT_EQ(hit(rc.Width() / 2, rc.Height() / 2), HTCLIENT);

  // Sizes below the minimum are raised to it.
  const CSize before = Bar().GetHorzSize();
  Bar().SetHorzSize(CSize(5, 5));
  const CSize fixed = Bar().CalcFixedLayout(FALSE, TRUE);
  EXPECT_EQ(fixed.cx, 33);
  EXPECT_EQ(fixed.cy, 32);
  Bar().SetHorzSize(before);

  // The sizes in the profile: a stored height below the minimum loads as it.
  Bar().SaveState("SizeTest");
  EXPECT_EQ(theTestApp.GetProfileInt("SizeTest-SCBar-123", "sizeHorzCY", -1), before.cy);
  theTestApp.WriteProfileInt("SizeTest-SCBar-123", "sizeHorzCY", 10);
  theTestApp.WriteProfileInt("SizeTest-SCBar-123", "sizeFloatCX", 300);
  Bar().LoadState("SizeTest");
  EXPECT_EQ(Bar().GetHorzSize().cy, 32);
  EXPECT_EQ(Bar().GetHorzSize().cx, before.cx);
  EXPECT_EQ(Bar().GetFloatSize().cx, 300);
}

TEST_F(FrameTest, DraggingTheTopEdgeResizesTheBarWithinItsMinimum) {
  const CSize before = Bar().GetHorzSize();
  CRect rc;
  Bar().GetWindowRect(&rc);
  const CPoint edge(rc.left + rc.Width() / 2, rc.top + 2);
  auto moveTo = [&](int screenY, UINT message) {
    CPoint p(edge.x, screenY);
    Bar().ScreenToClient(&p);
    Bar().SendMessage(message, message == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                      MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y)));
  };

  // Up by 40 pixels: the bar grows by 40.
  Bar().SendMessage(WM_NCLBUTTONDOWN, HTTOP, MAKELPARAM(edge.x, edge.y));
  EXPECT_TRUE(Bar().IsTracking());
  moveTo(edge.y - 20, WM_MOUSEMOVE);
  moveTo(edge.y - 40, WM_MOUSEMOVE);
  moveTo(edge.y - 40, WM_LBUTTONUP);
  EXPECT_FALSE(Bar().IsTracking());
  EXPECT_EQ(Bar().GetHorzSize().cy, before.cy + 40);
  Pump();
  CRect after;
  Bar().GetWindowRect(&after);
  EXPECT_EQ(after.Height(), rc.Height() + 40);

  // Far down: no smaller than the minimum; a right click ends the drag.
  Bar().GetWindowRect(&rc);
  Bar().SendMessage(WM_NCLBUTTONDOWN, HTTOP, MAKELPARAM(edge.x, rc.top + 2));
  EXPECT_TRUE(Bar().IsTracking());
  moveTo(rc.top + 2 + 1000, WM_MOUSEMOVE);
  Bar().SendMessage(WM_RBUTTONDOWN, 0, 0);
  EXPECT_FALSE(Bar().IsTracking());
  EXPECT_EQ(Bar().GetHorzSize().cy, 32);
}

TEST_F(FrameTest, DoubleClickFloatsTheBarWithoutGripperEdgesOrCloseButton) {
  CRect client;
  Bar().GetClientRect(&client);
  Bar().SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(client.Width() / 2, client.Height() / 2));
  Pump();
  ASSERT_TRUE(Bar().IsFloating());
  EXPECT_FALSE(Bar().HasGripper());
  EXPECT_EQ(Bar().GetSCBStyle() & SCBS_EDGEALL, 0u);
  CRect rc;
  Bar().GetWindowRect(&rc);
  for (const CPoint p : {rc.TopLeft(), CPoint(rc.left + 5, rc.top + 15), CPoint(rc.right - 1, rc.top),
                         CPoint(rc.left + rc.Width() / 2, rc.bottom - 1)})
    EXPECT_EQ(Bar().SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCLIENT);
  // The mini frame carries the bar's title, whole.
  Bar().SetWindowText(L"Output window");
  wchar_t title[64] = {};
  ASSERT_TRUE(Bar().GetParentFrame());
  ::GetWindowTextW(Bar().GetParentFrame()->m_hWnd, title, 64);
  EXPECT_STREQ(title, L"Output window");
  // Still the Output window: the command hides and shows it.
  EXPECT_TRUE(OutputWindowChecked());
  frame_->SendMessage(WM_COMMAND, kOutputWindowCommand, 0);
  EXPECT_FALSE(Bar().IsWindowVisible());
  EXPECT_FALSE(OutputWindowChecked());
}

namespace {

// The lock state the status pane's update handler reports (a driver's
// GetSignalText stands behind it in the program).
std::atomic<int> g_locked{0};

// A main frame whose command routing answers the lock pane's update, as the
// program's document does.
class CLockPaneFrame : public CMainFrame {
 public:
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nID == 61295 && nCode == CN_UPDATE_COMMAND_UI && pExtra) {
      auto* ui = static_cast<CCmdUI*>(pExtra);
      ui->Enable(TRUE);
      ui->SetText(g_locked ? "SIGNAL LOCKED" : "NO SIGNAL");
      return TRUE;
    }
    return CMainFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
};

INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    ::EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

// A modal dialog with a message loop of its own (the plug-ins' dialogs run
// theirs, in their own module): the frame's idle updates do not run there,
// yet the lock pane follows the driver while the dialog is up.
TEST(FrameStatusBar, LockPaneStaysCurrentWhileAModalDialogRunsItsOwnLoop) {
  auto* frame = new CLockPaneFrame;  // deletes itself with its window
  CCreateContext context;
  ASSERT_TRUE(frame->LoadFrame(kMainFrameResource, WS_OVERLAPPEDWINDOW, nullptr, &context));
  frame->MoveWindow(0, 0, 800, 600);
  frame->ShowWindow(SW_SHOW);
  HWND status = frame->GetStatusBar().m_hWnd;
  g_locked = 0;
  EXPECT_TRUE(orb_test::WaitFor(
      [&] {
        Pump();
        return orb_test::ControlText(status) == L"NO SIGNAL";
      },
      5000));

  // A plain dialog template: a caption, no controls.
  alignas(4) WORD templ[32] = {};
  auto* header = reinterpret_cast<DLGTEMPLATE*>(templ);
  header->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  header->cx = 120;
  header->cy = 40;
  const wchar_t caption[] = L"Own loop";
  std::memcpy(reinterpret_cast<char*>(templ) + sizeof(DLGTEMPLATE) + 2 * sizeof(WORD), caption, sizeof caption);

  std::wstring before, during;
  bool upWhileRead = false;
  ULONGLONG tookMs = 0;
  std::thread user([&] {
    HWND dialog = nullptr;
    orb_test::WaitFor(
        [&] {
          for (HWND h : orb_test::Dialogs())
            if (orb_test::WindowText(h) == L"Own loop") dialog = h;
          return dialog != nullptr;
        },
        10000);
    if (!dialog) return;
    ::Sleep(300);
    before = orb_test::ControlText(status);
    // The driver locks; nothing is sent to the program's thread.
    const ULONGLONG start = ::GetTickCount64();
    g_locked = 1;
    orb_test::WaitFor([&] { return orb_test::ControlText(status) == L"SIGNAL LOCKED"; }, 5000, 50);
    tookMs = ::GetTickCount64() - start;
    during = orb_test::ControlText(status);
    upWhileRead = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  const INT_PTR result =
      ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), header, frame->m_hWnd, PlainDialogProc, 0);
  user.join();
  std::printf("lock pane current %llu ms after the driver locked, with the dialog up\n",
              static_cast<unsigned long long>(tookMs));
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(before, L"NO SIGNAL");
  EXPECT_EQ(during, L"SIGNAL LOCKED");
  EXPECT_TRUE(upWhileRead);
  g_locked = 0;
  frame->DestroyWindow();
  Pump();
}

TEST(FrameWithoutWindow, OutputServicesDoNothing) {
  CMainFrame* frame = static_cast<CMainFrame*>(RUNTIME_CLASS(CMainFrame)->CreateObject());
  ASSERT_TRUE(frame);
  frame->AddOutputLine("nobody listens");
  frame->ClearOutput();
  const std::vector<unsigned char> bytes{1, 2, 3};
  frame->ShowValueData(&bytes);
  EXPECT_EQ(frame->GetTreePane(), nullptr);
  EXPECT_EQ(frame->GetValuePane(), nullptr);
  delete frame;
}
