// CView, CCtrlView and the control views CTreeView and CListView.
#include <afxwin.h>
#include <afxcview.h>

#include "frame_internal.h"

// ---------------------------------------------------------------------------
// CView

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMsg)
  ON_MESSAGE(WM_MOUSEACTIVATE, &CView::OnMouseActivateMsg)
END_MESSAGE_MAP()

CView::CView() { afx_frame::ObjectCreated(this); }

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
  afx_frame::ObjectDeleted(this);
}

void CView::PostNcDestroy() {
  // Views live on the heap and go with their window.
  delete this;
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) {
    static LPCWSTR viewClass = nullptr;
    if (!viewClass)
      viewClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                      ::LoadCursor(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    cs.lpszClass = viewClass;
  }
  // A bordered view gets the sunken edge.
  if (cs.style & WS_BORDER) {
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
  }
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CCreateContext* context =
      lpCreateStruct ? static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams) : nullptr;
  if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  CFrameWnd* frame = GetParentFrame();
  if (frame && frame->GetActiveView() == this) frame->SetActiveView(nullptr, FALSE);
  CWnd::OnDestroy();
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

LRESULT CView::OnMouseActivateMsg(WPARAM, LPARAM) {
  const LRESULT result = Default();
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  // A click makes the view the frame's active view.
  if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(this);
  return result;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView* /*pSender*/, LPARAM /*lHint*/, CObject* /*pHint*/) {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* /*pDeactiveView*/) {
  if (!bActivate || pActivateView != this || !m_hWnd) return;
  // The active view of the active frame has the focus.
  CFrameWnd* frame = GetParentFrame();
  if (frame && ::GetActiveWindow() == frame->m_hWnd && ::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
}

void CView::OnActivateFrame(UINT /*nState*/, CFrameWnd* /*pFrameWnd*/) {}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The view first, then its document.
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------
// CCtrlView

IMPLEMENT_DYNCREATE(CCtrlView, CView)

BEGIN_MESSAGE_MAP(CCtrlView, CView)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CCtrlView::CCtrlView(CStrArg lpszClass, DWORD dwStyle)
    : m_strClass(lpszClass.get() ? CString(lpszClass.get()) : CString()),
      m_dwDefaultStyle(dwStyle) {}

BOOL CCtrlView::PreCreateWindow(CREATESTRUCT& cs) {
  AfxInitCommonControls();
  if (!m_strClass.IsEmpty()) cs.lpszClass = m_strClass;
  cs.style |= m_dwDefaultStyle & ~WS_BORDER;
  if (m_dwDefaultStyle & WS_BORDER) cs.style |= WS_BORDER;
  return CView::PreCreateWindow(cs);
}

void CCtrlView::OnDraw(CDC* /*pDC*/) {}

void CCtrlView::OnPaint() {
  // The control paints itself.
  Default();
}

// ---------------------------------------------------------------------------
// CTreeView, CListView.  The view's window is the control, so the control
// wrappers (which add no data to CWnd) stand for the view itself.

IMPLEMENT_DYNCREATE(CTreeView, CCtrlView)

BEGIN_MESSAGE_MAP(CTreeView, CCtrlView)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CTreeView::CTreeView() : CCtrlView(WC_TREEVIEWW, AFX_WS_DEFAULT_VIEW) {}
CTreeView::~CTreeView() = default;

CTreeCtrl& CTreeView::GetTreeCtrl() const {
  static_assert(sizeof(CTreeCtrl) == sizeof(CWnd), "the tree control adds no data");
  return *reinterpret_cast<CTreeCtrl*>(const_cast<CTreeView*>(this));
}

void CTreeView::OnDestroy() { CCtrlView::OnDestroy(); }

IMPLEMENT_DYNCREATE(CListView, CCtrlView)

BEGIN_MESSAGE_MAP(CListView, CCtrlView)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CListView::CListView() : CCtrlView(WC_LISTVIEWW, AFX_WS_DEFAULT_VIEW) {}
CListView::~CListView() = default;

CListCtrl& CListView::GetListCtrl() const {
  static_assert(sizeof(CListCtrl) == sizeof(CWnd), "the list control adds no data");
  return *reinterpret_cast<CListCtrl*>(const_cast<CListView*>(this));
}

void CListView::OnDestroy() { CCtrlView::OnDestroy(); }
