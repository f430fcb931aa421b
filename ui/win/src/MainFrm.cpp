#include "ui_win/MainFrm.h"

#include "ui_win/TransponderPanes.h"

namespace {
constexpr UINT kToolBarResource = 128;
constexpr UINT kLockIndicator = 61295;
constexpr UINT kOutputWindowCommand = 32771;
constexpr UINT kOutputBarId = 123;
const UINT kIndicators[] = {kLockIndicator};
// The status bar's own refresh (see OnTimer).
constexpr UINT_PTR kStatusTimer = 1;
constexpr UINT kStatusRefreshMs = 500;
}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_COMMAND(kOutputWindowCommand, &CMainFrame::OnViewOutputWindow)
  ON_UPDATE_COMMAND_UI(kOutputWindowCommand, &CMainFrame::OnUpdateViewOutputWindow)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;
CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) { return CFrameWnd::PreCreateWindow(cs); }

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;

  if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                             WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                 CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                             CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
      !m_wndToolBar.LoadToolBar(kToolBarResource))
    return -1;

  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
      !m_wndStatusBar.SetIndicators(kIndicators, 1))
    return -1;
  // One part spanning the whole bar.
  int right = -1;
  ::SendMessage(m_wndStatusBar.m_hWnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));

  m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
  EnableDocking(CBRS_ALIGN_ANY);
  DockControlBar(&m_wndToolBar);

  if (!m_wndOutputBar.Create("Output", this, kOutputBarId, WS_CHILD | WS_VISIBLE | CBRS_TOP))
    return -1;
  m_wndOutputBar.SetBarStyle(m_wndOutputBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY |
                             CBRS_SIZE_DYNAMIC);
  m_wndOutputBar.EnableDocking(CBRS_ALIGN_ANY);
  EnableDocking(CBRS_ALIGN_ANY);
  DockControlBar(&m_wndOutputBar, AFX_IDW_DOCKBAR_BOTTOM);

  SetTimer(kStatusTimer, kStatusRefreshMs, nullptr);
  return 0;
}

void CMainFrame::OnDestroy() {
  KillTimer(kStatusTimer);
  CFrameWnd::OnDestroy();
}

// The lock state changes without any message to this thread, and the idle
// updates of the bars run only in this program's own message loops after a
// message: a modal dialog of the plug-in (Tuning...), a message box or a
// quiet main loop would leave the pane showing an old state.  The timer
// message reaches the frame through whatever loop runs, and refreshes the
// pane from its update handler.
void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kStatusTimer) {
    CFrameWnd::OnTimer(nIDEvent);
    return;
  }
  RefreshStatusBar();
}

void CMainFrame::RefreshStatusBar() {
  if (m_wndStatusBar.m_hWnd) m_wndStatusBar.OnUpdateCmdUI(this, FALSE);
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT /*lpcs*/, CCreateContext* pContext) {
  if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
    return FALSE;
  if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CTransponderTableListPaneWnd), CSize(100, 100),
                                pContext) ||
      !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CTransponderValuePaneWnd), CSize(100, 100),
                                pContext)) {
    m_wndSplitter.DestroyWindow();
    return FALSE;
  }
  // The tree opens wide enough for the labels of its services.
  if (CTransponderTableListPaneWnd* tree = GetTreePane()) {
    int width = 0, minimum = 0;
    m_wndSplitter.GetColumnInfo(0, width, minimum);
    m_wndSplitter.SetColumnInfo(0, tree->OpeningWidth(), minimum);
    m_wndSplitter.RecalcLayout();
  }
  return TRUE;
}

void CMainFrame::AddOutputLine(const char* text) {
  if (m_wndOutputBar.m_hWnd) m_wndOutputBar.AddLine(text);
}

void CMainFrame::ClearOutput() {
  if (m_wndOutputBar.m_hWnd) m_wndOutputBar.Clear();
}

void CMainFrame::ShowValueData(const std::vector<unsigned char>* bytes) {
  if (m_wndOutputBar.m_hWnd) m_wndOutputBar.ShowData(bytes);
}

CTransponderTableListPaneWnd* CMainFrame::GetTreePane() {
  if (!m_wndSplitter.m_hWnd) return nullptr;
  return dynamic_cast<CTransponderTableListPaneWnd*>(m_wndSplitter.GetPane(0, 0));
}

CTransponderValuePaneWnd* CMainFrame::GetValuePane() {
  if (!m_wndSplitter.m_hWnd) return nullptr;
  return dynamic_cast<CTransponderValuePaneWnd*>(m_wndSplitter.GetPane(0, 1));
}

void CMainFrame::OnViewOutputWindow() {
  ShowControlBar(&m_wndOutputBar, !m_wndOutputBar.IsWindowVisible(), FALSE);
}

void CMainFrame::OnUpdateViewOutputWindow(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(m_wndOutputBar.m_hWnd && m_wndOutputBar.IsWindowVisible() ? 1 : 0);
}
