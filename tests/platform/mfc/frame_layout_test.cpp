// Frame layout: toolbar, status bar and docking bars around a 1 x 2 static
// splitter with a tree view and a list view; docking, hiding, floating in a
// mini frame and back; the splitter's panes and bar; tree and list items
// with pointer-sized data.  Positions are read back from the windows.
#include <afxwin.h>
#include <afxext.h>
#include <afxcview.h>
#include <gtest/gtest.h>

#include <vector>

#include "frame_test_ids.h"
#include "frame_test_support.h"

namespace {

constexpr int kBarWidth = 80;
constexpr int kBarHeight = 40;
constexpr int kDynamicHeight = 50;

}  // namespace

// A bar of fixed size (kBarWidth across a vertical side, kBarHeight across a
// horizontal one).
class CFixedBar : public CControlBar {
 public:
  BOOL Create(CWnd* parent, UINT id, DWORD style) {
    m_dwStyle = style & CBRS_ALL;
    return CWnd::Create(nullptr, L"Fixed", (style & ~CBRS_ALL) | WS_CHILD, CRect(0, 0, 0, 0),
                        parent, id);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
    if (bHorz) return CSize(bStretch ? 32767 : 120, kBarHeight);
    return CSize(kBarWidth, bStretch ? 32767 : 120);
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++m_updates; }
  int m_updates = 0;
};

// A bar sized by its dock row, as sizing bars are: it spans the length the
// dock bar offers.
class CRowBar : public CControlBar {
 public:
  BOOL Create(CWnd* parent, UINT id) {
    m_dwStyle = CBRS_BOTTOM | CBRS_SIZE_DYNAMIC;
    return CWnd::Create(nullptr, L"Row", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent, id);
  }
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override {
    m_calls.push_back({nLength, nMode});
    if (nMode & (LM_HORZDOCK | LM_VERTDOCK)) {
      CRect available = m_pDockBar ? m_pDockBar->m_rectLayout : CRect();
      return (nMode & LM_HORZDOCK) ? CSize(available.Width(), kDynamicHeight)
                                   : CSize(kDynamicHeight, available.Height());
    }
    return CSize(150, 90);  // floating
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  struct Call {
    int length;
    DWORD mode;
  };
  std::vector<Call> m_calls;
};

class CLayoutFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CLayoutFrame)

 public:
  CToolBar m_wndToolBar;
  CStatusBar m_wndStatusBar;
  CFixedBar m_wndBar;
  CSplitterWnd m_wndSplitter;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC) ||
        !m_wndToolBar.LoadToolBar(IDR_TESTFRAME))
      return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_TEST};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 2)) return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    if (!m_wndBar.Create(this, IDW_TEST_BAR, WS_VISIBLE | CBRS_LEFT)) return -1;
    m_wndBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndBar, AFX_IDW_DOCKBAR_LEFT);
    return 0;
  }

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    return m_wndSplitter.CreateStatic(this, 1, 2) &&
           m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CTreeView), CSize(120, 100), pContext) &&
           m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CListView), CSize(100, 100), pContext);
  }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CLayoutFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CLayoutFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

CWinApp theApp;

namespace {

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_test::InitApp();
    m_frame = new CLayoutFrame;
    ASSERT_TRUE(m_frame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    m_hwnd = m_frame->m_hWnd;
    ::SetWindowPos(m_hwnd, nullptr, 40, 40, 700, 500, SWP_NOZORDER);
    ::ShowWindow(m_hwnd, SW_SHOW);
    m_frame->RecalcLayout();
    frame_test::Pump();
    m_splitter = m_frame->m_wndSplitter.m_hWnd;
  }
  void TearDown() override {
    if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    frame_test::Pump();
    frame_test::DropQuit();
  }

  CRect InFrame(HWND child) const { return frame_test::ClientRectIn(child, m_hwnd); }
  CRect Client() const {
    CRect rect;
    ::GetClientRect(m_hwnd, &rect);
    return rect;
  }
  CDockBar* DockBar(UINT id) { return static_cast<CDockBar*>(m_frame->GetControlBar(id)); }

  CLayoutFrame* m_frame = nullptr;
  HWND m_hwnd = nullptr;
  HWND m_splitter = nullptr;
};

TEST_F(LayoutTest, BarsSurroundTheSplitter) {
  const CRect toolbar = InFrame(m_frame->m_wndToolBar.m_hWnd);
  const CRect status = InFrame(m_frame->m_wndStatusBar.m_hWnd);
  const CRect bar = InFrame(m_frame->m_wndBar.m_hWnd);
  const CRect splitter = InFrame(m_splitter);
  const CRect client = Client();

  // The toolbar in the top dock bar, the status bar along the bottom.
  EXPECT_EQ(::GetDlgCtrlID(::GetParent(m_frame->m_wndToolBar.m_hWnd)), AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(toolbar.top, 0);
  EXPECT_GT(toolbar.Height(), 15);
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(status.left, 0);
  EXPECT_EQ(status.right, client.right);
  // The left bar between them, its width taken from the client area.
  EXPECT_EQ(::GetDlgCtrlID(::GetParent(m_frame->m_wndBar.m_hWnd)), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(bar.left, 0);
  EXPECT_EQ(bar.Width(), kBarWidth);
  EXPECT_EQ(splitter.left, kBarWidth);
  EXPECT_EQ(splitter.top, toolbar.bottom);
  EXPECT_EQ(splitter.bottom, status.top);
  EXPECT_EQ(splitter.right, client.right);
  EXPECT_EQ(m_frame->m_wndBar.m_pDockSite, m_frame);
  EXPECT_FALSE(m_frame->m_wndBar.IsFloating());
  EXPECT_EQ(m_frame->m_wndBar.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
  // The bars' update at idle time.
  const int updates = m_frame->m_wndBar.m_updates;
  ::SendMessageW(m_hwnd, WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_GT(m_frame->m_wndBar.m_updates, updates);
}

TEST_F(LayoutTest, HiddenBarGivesItsAreaBack) {
  m_frame->ShowControlBar(&m_frame->m_wndBar, FALSE, FALSE);
  EXPECT_FALSE(m_frame->m_wndBar.IsVisible());
  EXPECT_EQ(InFrame(m_splitter).left, 0);
  m_frame->ShowControlBar(&m_frame->m_wndBar, TRUE, FALSE);
  EXPECT_EQ(InFrame(m_splitter).left, kBarWidth);
  // A delayed layout happens when the messages run.
  m_frame->ShowControlBar(&m_frame->m_wndBar, FALSE, TRUE);
  frame_test::Pump();
  EXPECT_EQ(InFrame(m_splitter).left, 0);
}

TEST_F(LayoutTest, FloatingBarMovesIntoAMiniFrameAndDocksBack) {
  CFixedBar& bar = m_frame->m_wndBar;
  m_frame->FloatControlBar(&bar, CPoint(300, 300));
  EXPECT_TRUE(bar.IsFloating());
  HWND floatDock = ::GetParent(bar.m_hWnd);
  EXPECT_EQ(::GetDlgCtrlID(floatDock), AFX_IDW_DOCKBAR_FLOAT);
  HWND mini = ::GetParent(floatDock);
  CWnd* miniWnd = CWnd::FromHandlePermanent(mini);
  ASSERT_NE(miniWnd, nullptr);
  EXPECT_TRUE(miniWnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
  EXPECT_TRUE(::IsWindowVisible(mini));
  EXPECT_EQ(::GetWindow(mini, GW_OWNER), m_hwnd);
  EXPECT_EQ(bar.GetDockingFrame(), m_frame);
  EXPECT_TRUE(bar.GetBarStyle() & CBRS_FLOATING);
  // The mini frame fits the bar; the frame's client area is whole again.
  CRect miniClient;
  ::GetClientRect(mini, &miniClient);
  EXPECT_EQ(miniClient.Width(), 120);
  EXPECT_EQ(miniClient.Height(), kBarHeight);
  EXPECT_EQ(InFrame(m_splitter).left, 0);
  EXPECT_EQ(DockBar(AFX_IDW_DOCKBAR_LEFT)->GetDockedCount(), 0);

  m_frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
  EXPECT_FALSE(bar.IsFloating());
  EXPECT_FALSE(::IsWindow(mini));
  EXPECT_EQ(::GetDlgCtrlID(::GetParent(bar.m_hWnd)), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(InFrame(m_splitter).left, kBarWidth);
}

TEST_F(LayoutTest, ToggleDockingFloatsAndReturnsToTheSameSide) {
  CFixedBar& bar = m_frame->m_wndBar;
  m_frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_RIGHT);
  EXPECT_EQ(InFrame(bar.m_hWnd).right, Client().right);
  EXPECT_EQ(InFrame(m_splitter).right, Client().right - kBarWidth);

  bar.m_pDockContext->ToggleDocking();
  EXPECT_TRUE(bar.IsFloating());
  EXPECT_EQ(InFrame(m_splitter).right, Client().right);
  bar.m_pDockContext->ToggleDocking();
  EXPECT_FALSE(bar.IsFloating());
  EXPECT_EQ(::GetDlgCtrlID(::GetParent(bar.m_hWnd)), AFX_IDW_DOCKBAR_RIGHT);
  // Double-clicking the bar does the same.
  ::SendMessageW(bar.m_hWnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(bar.IsFloating());
}

TEST_F(LayoutTest, DraggingDropsTheBarWhereTheTrackingRectangleIs) {
  CFixedBar& bar = m_frame->m_wndBar;
  CRect start;
  ::GetWindowRect(bar.m_hWnd, &start);
  const CPoint grab(start.left + 10, start.top + 10);
  // Far below the frame: the bar floats there.
  POINT to{grab.x + 50, grab.y + 600};
  POINT local = to;
  ::ScreenToClient(bar.m_hWnd, &local);
  ::PostMessageW(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(local.x, local.y));
  ::PostMessageW(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
  bar.m_pDockContext->StartDrag(grab);
  EXPECT_TRUE(bar.IsFloating());
  HWND mini = ::GetParent(::GetParent(bar.m_hWnd));
  CRect floating;
  ::GetWindowRect(mini, &floating);
  EXPECT_EQ(floating.left, to.x - 10);

  // A floating bar's drag moves its mini frame by as much as the mouse.
  const CPoint from(floating.left + 20, floating.top + 5);
  local = POINT{from.x + 30, from.y - 40};
  ::ScreenToClient(bar.m_hWnd, &local);
  ::PostMessageW(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(local.x, local.y));
  ::PostMessageW(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
  bar.m_pDockContext->StartDrag(from);
  ASSERT_TRUE(bar.IsFloating());
  CRect moved;
  ::GetWindowRect(mini, &moved);
  EXPECT_EQ(moved.left, floating.left + 30);
  EXPECT_EQ(moved.top, floating.top - 40);
  EXPECT_EQ(moved.Size(), floating.Size());

  // Onto the frame's right edge: docked there.
  CRect client = Client();
  ::MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  CRect now;
  ::GetWindowRect(bar.m_hWnd, &now);
  const CPoint grab2(now.left + 5, now.top + 5);
  POINT target{client.right - 5, client.top + 100};
  local = target;
  ::ScreenToClient(bar.m_hWnd, &local);
  ::PostMessageW(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(local.x, local.y));
  ::PostMessageW(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
  bar.m_pDockContext->StartDrag(grab2);
  EXPECT_FALSE(bar.IsFloating());
  EXPECT_EQ(::GetDlgCtrlID(::GetParent(bar.m_hWnd)), AFX_IDW_DOCKBAR_RIGHT);

  // Escape cancels.
  ::GetWindowRect(bar.m_hWnd, &now);
  local = POINT{5, 500};
  ::PostMessageW(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(local.x, local.y));
  ::PostMessageW(bar.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
  bar.m_pDockContext->StartDrag(CPoint(now.left + 5, now.top + 5));
  EXPECT_EQ(::GetDlgCtrlID(::GetParent(bar.m_hWnd)), AFX_IDW_DOCKBAR_RIGHT);
}

// A bar that deletes itself when its window goes.
class CSelfDeletingBar : public CRowBar {
 public:
  static int s_deleted;
  ~CSelfDeletingBar() override { ++s_deleted; }
  void PostNcDestroy() override { delete this; }
};
int CSelfDeletingBar::s_deleted = 0;

TEST_F(LayoutTest, DragEndsWhenTheBarGoesAway) {
  CSelfDeletingBar* bar = new CSelfDeletingBar;
  ASSERT_TRUE(bar->Create(m_frame, IDW_TEST_BAR + 2));
  bar->EnableDocking(CBRS_ALIGN_ANY);
  m_frame->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
  m_frame->RecalcLayout();
  CRect start;
  ::GetWindowRect(bar->m_hWnd, &start);
  const HWND barWnd = bar->m_hWnd;
  CDockBar* bottom = DockBar(AFX_IDW_DOCKBAR_BOTTOM);
  // The close reaches the bar from inside the drag's message loop.
  ::PostMessageW(barWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 300));
  ::PostMessageW(barWnd, WM_CLOSE, 0, 0);
  CSelfDeletingBar::s_deleted = 0;
  bar->m_pDockContext->StartDrag(CPoint(start.left + 5, start.top + 5));
  EXPECT_FALSE(::IsWindow(barWnd));
  EXPECT_EQ(CSelfDeletingBar::s_deleted, 1);
  EXPECT_EQ(bottom->FindBar(bar), -1);
  EXPECT_EQ(::GetCapture(), nullptr);
  // The frame lays out without it.
  m_frame->RecalcLayout();
  EXPECT_EQ(InFrame(m_splitter).bottom, InFrame(m_frame->m_wndStatusBar.m_hWnd).top);
}

TEST_F(LayoutTest, RowSizedBarGetsTheDockBarLengthThroughDynamicLayout) {
  CRowBar* row = new CRowBar;
  ASSERT_TRUE(row->Create(m_frame, IDW_TEST_BAR + 1));
  row->EnableDocking(CBRS_ALIGN_ANY);
  m_frame->DockControlBar(row, AFX_IDW_DOCKBAR_BOTTOM);
  m_frame->RecalcLayout();

  CDockBar* bottom = DockBar(AFX_IDW_DOCKBAR_BOTTOM);
  ASSERT_EQ(bottom->m_arrBars.GetSize(), 3);
  EXPECT_EQ(bottom->m_arrBars[0], nullptr);
  EXPECT_EQ(bottom->m_arrBars[1], row);
  EXPECT_EQ(bottom->m_arrBars[2], nullptr);
  EXPECT_EQ(row->m_pDockBar, bottom);

  bool sawDockedCall = false;
  for (const CRowBar::Call& c : row->m_calls)
    if (c.length == -1 && (c.mode & LM_HORZDOCK) && (c.mode & LM_HORZ)) sawDockedCall = true;
  EXPECT_TRUE(sawDockedCall);

  const CRect rect = InFrame(row->m_hWnd);
  const CRect status = InFrame(m_frame->m_wndStatusBar.m_hWnd);
  EXPECT_EQ(rect.bottom, status.top);
  EXPECT_EQ(rect.Height(), kDynamicHeight);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.right, Client().right);
  EXPECT_EQ(InFrame(m_splitter).bottom, rect.top);

  // A second bar dropped onto its row joins it.
  CRect target;
  ::GetWindowRect(row->m_hWnd, &target);
  target.left += 200;
  m_frame->DockControlBar(&m_frame->m_wndBar, bottom, &target);
  ASSERT_EQ(bottom->m_arrBars.GetSize(), 4);
  EXPECT_EQ(bottom->m_arrBars[1], row);
  EXPECT_EQ(bottom->m_arrBars[2], &m_frame->m_wndBar);
  EXPECT_EQ(bottom->m_arrBars[3], nullptr);
  EXPECT_EQ(bottom->GetDockedCount(), 2);
  // One dropped away from it makes a new row.
  m_frame->DockControlBar(&m_frame->m_wndBar, AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_EQ(bottom->m_arrBars.GetSize(), 5);
  EXPECT_EQ(bottom->m_arrBars[3], &m_frame->m_wndBar);

  ::DestroyWindow(row->m_hWnd);
  delete row;
  EXPECT_EQ(bottom->FindBar(row), -1);
}

TEST_F(LayoutTest, SplitterPanesAreSideBySide) {
  CSplitterWnd& splitter = m_frame->m_wndSplitter;
  EXPECT_EQ(::GetDlgCtrlID(m_splitter), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(splitter.GetRowCount(), 1);
  EXPECT_EQ(splitter.GetColumnCount(), 2);
  CWnd* left = splitter.GetPane(0, 0);
  CWnd* right = splitter.GetPane(0, 1);
  ASSERT_NE(left, nullptr);
  ASSERT_NE(right, nullptr);
  EXPECT_TRUE(left->IsKindOf(RUNTIME_CLASS(CTreeView)));
  EXPECT_TRUE(right->IsKindOf(RUNTIME_CLASS(CListView)));
  EXPECT_EQ(splitter.GetPane(1, 0), nullptr);
  EXPECT_EQ(::GetDlgCtrlID(right->m_hWnd), splitter.IdFromRowCol(0, 1));
  EXPECT_EQ(splitter.IdFromRowCol(0, 1), AFX_IDW_PANE_FIRST + 1);

  const CRect l = InFrame(left->m_hWnd);
  const CRect r = InFrame(right->m_hWnd);
  EXPECT_EQ(l.Width(), 120);
  EXPECT_LT(l.right, r.left);
  EXPECT_EQ(l.top, r.top);
  EXPECT_EQ(l.bottom, r.bottom);
  EXPECT_EQ(r.right, InFrame(m_splitter).right);
  int cur = 0, min = 0;
  splitter.GetColumnInfo(0, cur, min);
  EXPECT_EQ(cur, 120);

  splitter.SetColumnInfo(0, 200, 10);
  splitter.RecalcLayout();
  EXPECT_EQ(InFrame(left->m_hWnd).Width(), 200);

  // The first view is the frame's active view.
  EXPECT_EQ(m_frame->GetActiveView(), nullptr);  // no template: nothing made it active
  m_frame->InitialUpdateFrame(nullptr, TRUE);
  EXPECT_EQ(m_frame->GetActiveView(), left);
}

TEST_F(LayoutTest, DraggingTheSplitterBarResizesTheColumns) {
  CSplitterWnd& splitter = m_frame->m_wndSplitter;
  const CRect left = frame_test::ClientRectIn(splitter.GetPane(0, 0)->m_hWnd, m_splitter);
  const int barX = left.right + 2;
  ::SendMessageW(m_splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(barX, 20));
  ::SendMessageW(m_splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(barX + 90, 20));
  ::SendMessageW(m_splitter, WM_LBUTTONUP, 0, MAKELPARAM(barX + 90, 20));
  int cur = 0, min = 0;
  splitter.GetColumnInfo(0, cur, min);
  EXPECT_EQ(cur, left.Width() + 90);
  const CRect after = frame_test::ClientRectIn(splitter.GetPane(0, 0)->m_hWnd, m_splitter);
  EXPECT_EQ(after.Width(), cur);
  const CRect right = frame_test::ClientRectIn(splitter.GetPane(0, 1)->m_hWnd, m_splitter);
  EXPECT_EQ(right.left, after.right + splitter.m_cxSplitter);
}

TEST_F(LayoutTest, TreeItemsKeepPointerSizedData) {
  auto* view = static_cast<CTreeView*>(m_frame->m_wndSplitter.GetPane(0, 0));
  CTreeCtrl& tree = view->GetTreeCtrl();
  const DWORD_PTR data = static_cast<DWORD_PTR>(0x0123456789ABCDEFull);

  HTREEITEM root = tree.InsertItem(L"ALL NETWORKS");
  TVINSERTSTRUCT tvis{};
  tvis.hParent = root;
  tvis.hInsertAfter = TVI_LAST;
  tvis.item.mask = TVIF_TEXT | TVIF_PARAM;
  tvis.item.pszText = const_cast<LPWSTR>(L"0001 - first");
  tvis.item.lParam = static_cast<LPARAM>(data);
  HTREEITEM first = tree.InsertItem(&tvis);
  HTREEITEM second = tree.InsertItem("0002 - second", root);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(tree.SetItemData(second, data + 1));

  EXPECT_EQ(tree.GetItemData(first), data);
  EXPECT_EQ(tree.GetItemData(second), data + 1);
  // The control holds the whole value.
  TVITEMW item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = first;
  ASSERT_TRUE(::SendMessageW(tree.m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(static_cast<DWORD_PTR>(item.lParam), data);

  EXPECT_EQ(tree.GetItemText(first), CString(L"0001 - first"));
  EXPECT_EQ(tree.GetItemText(second), CString(L"0002 - second"));
  EXPECT_EQ(tree.GetRootItem(), root);
  EXPECT_EQ(tree.GetChildItem(root), first);
  EXPECT_EQ(tree.GetNextSiblingItem(first), second);
  EXPECT_EQ(tree.GetNextSiblingItem(second), nullptr);
  EXPECT_EQ(tree.GetParentItem(second), root);
  EXPECT_TRUE(tree.ItemHasChildren(root));
  EXPECT_EQ(tree.GetCount(), 3u);
  EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
  EXPECT_TRUE(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_TRUE(tree.SelectItem(second));
  EXPECT_EQ(tree.GetSelectedItem(), second);
  EXPECT_TRUE(tree.SetItemText(second, L"renamed"));
  EXPECT_EQ(tree.GetItemText(second), CString(L"renamed"));

  CImageList images;
  ASSERT_TRUE(images.Create(IDR_TESTFRAME, 16, 1, RGB(192, 192, 192)));
  EXPECT_EQ(images.GetImageCount(), 4);
  tree.SetImageList(&images, TVSIL_NORMAL);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageW(tree.m_hWnd, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
            images.m_hImageList);
  EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL), &images);
  tree.SetImageList(nullptr, TVSIL_NORMAL);

  EXPECT_TRUE(tree.DeleteItem(first));
  EXPECT_EQ(tree.GetChildItem(root), second);
  EXPECT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(tree.GetCount(), 0u);
  EXPECT_EQ(tree.GetRootItem(), nullptr);
}

TEST_F(LayoutTest, ListItemsKeepPointerSizedData) {
  auto* view = static_cast<CListView*>(m_frame->m_wndSplitter.GetPane(0, 1));
  CListCtrl& list = view->GetListCtrl();
  view->ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
  const DWORD_PTR data = static_cast<DWORD_PTR>(0xFEDCBA9876543210ull);

  EXPECT_EQ(list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100), 0);
  EXPECT_EQ(list.InsertColumn(1, "Data", LVCFMT_LEFT, 500), 1);
  EXPECT_EQ(list.GetColumnWidth(1), 500);
  EXPECT_TRUE(list.SetColumnWidth(1, 300));
  EXPECT_EQ(list.GetColumnWidth(1), 300);

  EXPECT_EQ(list.InsertItem(0, L"table_id"), 0);
  EXPECT_EQ(list.InsertItem(1, "section_length"), 1);
  EXPECT_TRUE(list.SetItemText(0, 1, L"0x42"));
  EXPECT_TRUE(list.SetItemText(1, 1, "17"));
  EXPECT_TRUE(list.SetItemData(1, data));
  EXPECT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(list.GetItemText(0, 0), CString(L"table_id"));
  EXPECT_EQ(list.GetItemText(0, 1), CString(L"0x42"));
  EXPECT_EQ(list.GetItemText(1, 1), CString(L"17"));
  EXPECT_EQ(list.GetItemData(1), data);
  EXPECT_EQ(list.GetItemData(0), 0u);
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = 1;
  ASSERT_TRUE(::SendMessageW(list.m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(static_cast<DWORD_PTR>(item.lParam), data);

  list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(list.GetExtendedStyle() & LVS_EX_FULLROWSELECT);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
  EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
  POSITION pos = list.GetFirstSelectedItemPosition();
  ASSERT_NE(pos, nullptr);
  EXPECT_EQ(list.GetNextSelectedItem(pos), 1);
  EXPECT_EQ(pos, nullptr);
  EXPECT_TRUE(list.EnsureVisible(1, FALSE));

  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(LayoutTest, SnapshotForReview) {
  auto* tree = static_cast<CTreeView*>(m_frame->m_wndSplitter.GetPane(0, 0));
  HTREEITEM root = tree->GetTreeCtrl().InsertItem(L"ALL NETWORKS");
  tree->GetTreeCtrl().InsertItem(L"0001 - <unknown>", root);
  tree->GetTreeCtrl().Expand(root, TVE_EXPAND);
  m_frame->SetMessageText(L"Snapshot");
  frame_test::Pump();
  const std::wstring path = frame_test::SaveWindowBitmap(m_hwnd, L"frame_layout.bmp");
  ASSERT_FALSE(path.empty());
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  ASSERT_TRUE(::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes));
  EXPECT_GT(attributes.nFileSizeLow, 54u);
}

}  // namespace
