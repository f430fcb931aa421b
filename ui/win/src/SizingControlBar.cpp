#include "ui_win/SizingControlBar.h"

#include <algorithm>

using ui_core::BarRect;
using ui_core::DockSide;

namespace {

BarRect ToBar(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
CRect ToCRect(const BarRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

IMPLEMENT_DYNAMIC(CSizingControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CSizingControlBar, CControlBar)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_NCPAINT()
  ON_WM_NCCALCSIZE()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_CAPTURECHANGED()
  ON_WM_SETTINGCHANGE()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_NCMOUSEMOVE()
  ON_WM_NCHITTEST()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETTEXT, &CSizingControlBar::OnSetText)
END_MESSAGE_MAP()

CSizingControlBar::CSizingControlBar()
    : m_dwSCBStyle(0),
      m_htEdge(0),
      m_szHorz(200, 200),
      m_szVert(200, 200),
      m_szFloat(200, 200),
      m_szMinHorz(ui_core::kMinHorzSize.cx, ui_core::kMinHorzSize.cy),
      m_szMinVert(ui_core::kMinVertSize.cx, ui_core::kMinVertSize.cy),
      m_szMinFloat(ui_core::kMinFloatSize.cx, ui_core::kMinFloatSize.cy),
      m_nTrackPosMin(0),
      m_nTrackPosMax(0),
      m_nTrackPosOld(0),
      m_nTrackEdgeOfs(0),
      m_bTracking(FALSE),
      m_rectOldTracker(0, 0, 0, 0),
      m_bDragShowContent(FALSE),
      m_bKeepSize(FALSE),
      m_bParentSizing(FALSE),
      m_nDockBarID(0),
      m_cxEdge(ui_core::kEdgeWidth) {}

CSizingControlBar::~CSizingControlBar() = default;

BOOL CSizingControlBar::Create(const char* lpszWindowName, CWnd* pParentWnd, CSize sizeDefault,
                               BOOL /*bHasGripper*/, UINT nID, DWORD dwStyle) {
  m_szHorz = m_szVert = m_szFloat = sizeDefault;
  return Create(lpszWindowName, pParentWnd, nID, dwStyle);
}

BOOL CSizingControlBar::Create(const char* lpszWindowName, CWnd* pParentWnd, UINT nID,
                               DWORD dwStyle) {
  m_dwStyle = dwStyle & CBRS_ALL;
  m_className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                    ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
  return CWnd::Create(m_className, lpszWindowName, (dwStyle & ~CBRS_ALL) | WS_CLIPCHILDREN,
                      CRect(0, 0, 0, 0), pParentWnd, nID);
}

void CSizingControlBar::LoadState(const char* lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  CString section;
  section.Format("%s-SCBar-%d", lpszProfileName, GetDlgCtrlID());
  m_szHorz.cx = std::max<int>(m_szMinHorz.cx, app->GetProfileInt(section, "sizeHorzCX", m_szHorz.cx));
  m_szHorz.cy = std::max<int>(m_szMinHorz.cy, app->GetProfileInt(section, "sizeHorzCY", m_szHorz.cy));
  m_szVert.cx = std::max<int>(m_szMinVert.cx, app->GetProfileInt(section, "sizeVertCX", m_szVert.cx));
  m_szVert.cy = std::max<int>(m_szMinVert.cy, app->GetProfileInt(section, "sizeVertCY", m_szVert.cy));
  m_szFloat.cx =
      std::max<int>(m_szMinFloat.cx, app->GetProfileInt(section, "sizeFloatCX", m_szFloat.cx));
  m_szFloat.cy =
      std::max<int>(m_szMinFloat.cy, app->GetProfileInt(section, "sizeFloatCY", m_szFloat.cy));
}

void CSizingControlBar::SaveState(const char* lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  CString section;
  section.Format("%s-SCBar-%d", lpszProfileName, GetDlgCtrlID());
  app->WriteProfileInt(section, "sizeHorzCX", m_szHorz.cx);
  app->WriteProfileInt(section, "sizeHorzCY", m_szHorz.cy);
  app->WriteProfileInt(section, "sizeVertCX", m_szVert.cx);
  app->WriteProfileInt(section, "sizeVertCY", m_szVert.cy);
  app->WriteProfileInt(section, "sizeFloatCX", m_szFloat.cx);
  app->WriteProfileInt(section, "sizeFloatCY", m_szFloat.cy);
}

BOOL CSizingControlBar::IsFloating() const { return !IsHorzDocked() && !IsVertDocked(); }

BOOL CSizingControlBar::IsHorzDocked() const {
  return m_nDockBarID == AFX_IDW_DOCKBAR_TOP || m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM;
}

BOOL CSizingControlBar::IsVertDocked() const {
  return m_nDockBarID == AFX_IDW_DOCKBAR_LEFT || m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT;
}

ui_core::BarRect CSizingControlBar::WindowRectLocal() const {
  CRect rc;
  ::GetWindowRect(m_hWnd, &rc);
  return {0, 0, rc.Width(), rc.Height()};
}

int CSizingControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CControlBar::OnCreate(lpCreateStruct) == -1) return -1;
  BOOL full = FALSE;
  ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
  m_bDragShowContent = full;
  return 0;
}

void CSizingControlBar::OnSettingChange(UINT uFlags, const char* lpszSection) {
  CControlBar::OnSettingChange(uFlags, lpszSection);
  BOOL full = FALSE;
  ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
  m_bDragShowContent = full;
}

LRESULT CSizingControlBar::OnSetText(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default();
  CWnd* frame = GetParentFrame();
  if (IsFloating() && frame && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
    ::SetWindowTextW(frame->m_hWnd, reinterpret_cast<const wchar_t*>(lParam));
    static_cast<CMiniDockFrameWnd*>(frame)->DelayRecalcLayout();
  }
  (void)wParam;
  return result;
}

void CSizingControlBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  lpwndpos->flags |= SWP_FRAMECHANGED;
  CControlBar::OnWindowPosChanging(lpwndpos);
  if (CWnd* parent = GetParent()) m_nDockBarID = static_cast<UINT>(parent->GetDlgCtrlID());
  if (!IsFloating() && (lpwndpos->flags & SWP_SHOWWINDOW)) m_bKeepSize = TRUE;
}

void CSizingControlBar::GetRowSizingBars(std::vector<CSizingControlBar*>& bars) const {
  bars.clear();
  CDockBar* dock = m_pDockBar;
  if (!dock || IsFloating()) {
    bars.push_back(const_cast<CSizingControlBar*>(this));
    return;
  }
  // The dock bar's list holds the bars row by row, a null entry ending a row.
  const int count = dock->m_arrBars.GetSize();
  int self = -1;
  for (int i = 0; i < count; ++i)
    if (dock->m_arrBars[i] == this) self = i;
  if (self < 0) {
    bars.push_back(const_cast<CSizingControlBar*>(this));
    return;
  }
  int first = self;
  while (first > 0 && dock->m_arrBars[first - 1] != nullptr) --first;
  for (int i = first; i < count && dock->m_arrBars[i] != nullptr; ++i) {
    CControlBar* bar = static_cast<CControlBar*>(dock->m_arrBars[i]);
    if (reinterpret_cast<UINT_PTR>(bar) <= 0xFFFF) continue;  // placeholder ids
    if (bar->IsVisible() && bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar)))
      bars.push_back(static_cast<CSizingControlBar*>(bar));
  }
}

CSize CSizingControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (bStretch) return bHorz ? CSize(32767, m_szHorz.cy) : CSize(m_szVert.cx, 32767);

  std::vector<CSizingControlBar*> row;
  GetRowSizingBars(row);
  if (m_pDockBar && IsVisible() && !IsFloating() && m_bParentSizing && !row.empty() &&
      row.front() == this) {
    CRect rc = m_pDockBar->m_rectLayout;
    if (rc.IsRectEmpty()) m_pDockBar->GetClientRect(&rc);
    const int available = bHorz ? rc.Width() + 2 : rc.Height() - 2;
    std::vector<int> lengths, minimums;
    for (CSizingControlBar* b : row) {
      lengths.push_back(bHorz ? b->m_szHorz.cx : b->m_szVert.cy);
      minimums.push_back(bHorz ? b->m_szMinHorz.cx : b->m_szMinVert.cy);
    }
    const std::vector<int> shared = ui_core::ShareRowLength(lengths, minimums, available);
    for (size_t i = 0; i < row.size(); ++i) {
      if (bHorz) row[i]->m_szHorz.cx = shared[i];
      else row[i]->m_szVert.cy = shared[i];
      row[i]->m_bKeepSize = FALSE;
    }
    AlignControlBars();
  }
  m_bParentSizing = FALSE;
  if (bHorz) {
    const ui_core::BarSize s = ui_core::AtLeast({m_szHorz.cx, m_szHorz.cy},
                                                {m_szMinHorz.cx, m_szMinHorz.cy});
    return CSize(s.cx, s.cy);
  }
  const ui_core::BarSize s =
      ui_core::AtLeast({m_szVert.cx, m_szVert.cy}, {m_szMinVert.cx, m_szMinVert.cy});
  return CSize(s.cx, s.cy);
}

CSize CSizingControlBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (nMode & (LM_HORZDOCK | LM_VERTDOCK)) {
    if (nLength == -1) m_bParentSizing = TRUE;
    return CControlBar::CalcDynamicLayout(nLength, nMode);
  }
  if (nMode & (LM_MRUWIDTH | LM_COMMIT)) return m_szFloat;
  if (nMode & LM_LENGTHY) m_szFloat.cy = nLength;
  else m_szFloat.cx = nLength;
  m_szFloat.cx = std::max<int>(m_szFloat.cx, m_szMinFloat.cx);
  m_szFloat.cy = std::max<int>(m_szFloat.cy, m_szMinFloat.cy);
  return m_szFloat;
}

void CSizingControlBar::AlignControlBars() {
  std::vector<CSizingControlBar*> row;
  GetRowSizingBars(row);
  const bool horz = IsHorzDocked() != 0;
  // The row shares the thickness of its thickest bar.
  int thickness = 0;
  for (CSizingControlBar* b : row)
    thickness = std::max<int>(thickness, horz ? b->m_szHorz.cy : b->m_szVert.cx);
  for (CSizingControlBar* b : row) {
    if (horz) b->m_szHorz.cy = thickness;
    else b->m_szVert.cx = thickness;
  }
}

void CSizingControlBar::OnNcCalcSize(BOOL /*bCalcValidRects*/, NCCALCSIZE_PARAMS* lpncsp) {
  CWnd* frame = GetParentFrame();
  if (IsFloating() && frame && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(frame->m_hWnd, GWL_STYLE));
    if (style & MFS_4THICKFRAME) {
      ::SetWindowLongPtrA(frame->m_hWnd, GWL_STYLE, style & ~MFS_4THICKFRAME);
      if (CWnd* parent = GetParent())
        parent->ModifyStyle(0, WS_CLIPCHILDREN);
    }
  }
  m_dwSCBStyle &= ~SCBS_EDGEALL;
  if (!IsFloating()) {
    std::vector<CSizingControlBar*> row;
    GetRowSizingBars(row);
    const bool first = row.empty() || row.front() == this;
    const bool last = row.empty() || row.back() == this;
    m_dwSCBStyle |= ui_core::SizingEdges(Side(), first, last);
  }
  m_rcNcWindow = lpncsp->rgrc[0];
  NcCalcClient(&lpncsp->rgrc[0], m_nDockBarID);
}

void CSizingControlBar::NcCalcClient(LPRECT pRc, UINT nDockBarID) {
  const ui_core::BarRect r = ui_core::SizingClientRect(
      ToBar(*pRc), ui_core::DockSideOf(nDockBarID), m_dwSCBStyle);
  *pRc = ToCRect(r);
}

void CSizingControlBar::OnNcPaint() {
  CWindowDC dc(this);
  CRect rcWindow, rcClient;
  GetWindowRect(&rcWindow);
  ScreenToClient(&rcWindow);
  GetClientRect(&rcClient);
  rcClient.OffsetRect(-rcWindow.TopLeft());
  rcWindow.OffsetRect(-rcWindow.TopLeft());

  // Off-screen: background, shown edges, gripper; copied around the client area.
  CDC mdc;
  mdc.CreateCompatibleDC(&dc);
  CBitmap bm;
  bm.CreateCompatibleBitmap(&dc, rcWindow.Width(), rcWindow.Height());
  CBitmap* oldBm = mdc.SelectObject(&bm);

  HBRUSH background = reinterpret_cast<HBRUSH>(::GetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND));
  if (!background) background = ::GetSysColorBrush(COLOR_BTNFACE);
  ::FillRect(mdc.m_hDC, &rcWindow, background);
  if (m_dwSCBStyle & SCBS_SHOWEDGES) {
    const ui_core::BarRect w{0, 0, rcWindow.Width(), rcWindow.Height()};
    for (unsigned edge : {ui_core::kEdgeLeft, ui_core::kEdgeTop, ui_core::kEdgeRight,
                          ui_core::kEdgeBottom}) {
      if (!(m_dwSCBStyle & edge)) continue;
      const CRect e = ToCRect(ui_core::EdgeRect(w, edge));
      mdc.Draw3dRect(&e, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
  }
  NcPaintGripper(&mdc, rcClient);

  dc.ExcludeClipRect(&rcClient);
  dc.BitBlt(0, 0, rcWindow.Width(), rcWindow.Height(), &mdc, 0, 0, SRCCOPY);
  mdc.SelectObject(oldBm);
}

void CSizingControlBar::NcPaintGripper(CDC* /*pDC*/, CRect /*rcClient*/) {}

void CSizingControlBar::OnPaint() { CPaintDC dc(this); }

void CSizingControlBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  if (!(m_dwSCBStyle & SCBS_SIZECHILD)) return;
  if (HWND child = ::GetWindow(m_hWnd, GW_CHILD)) ::MoveWindow(child, 0, 0, cx, cy, TRUE);
}

LRESULT CSizingControlBar::OnNcHitTest(CPoint point) {
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  const ui_core::BarRect w{0, 0, rcWindow.Width(), rcWindow.Height()};
  return ui_core::SizingHitTest(w, Side(), m_dwSCBStyle, point.x - rcWindow.left,
                                point.y - rcWindow.top);
}

void CSizingControlBar::OnNcMouseMove(UINT nHitTest, CPoint point) {
  CControlBar::OnNcMouseMove(nHitTest, point);
}

void CSizingControlBar::OnClose() {}

void CSizingControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_pDockBar && !IsFloating() && m_pDockContext) {
    ClientToScreen(&point);
    m_pDockContext->StartDrag(point);
    return;
  }
  CControlBar::OnLButtonDown(nFlags, point);
}

void CSizingControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_pDockBar && !IsFloating() && m_pDockContext) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CControlBar::OnLButtonDblClk(nFlags, point);
}

void CSizingControlBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (!m_bTracking && !IsFloating() && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT)
    StartTracking(nHitTest, point);
}

void CSizingControlBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bTracking) StopTracking();
  else CControlBar::OnLButtonUp(nFlags, point);
}

void CSizingControlBar::OnRButtonDown(UINT nFlags, CPoint point) {
  if (m_bTracking) StopTracking();
  CControlBar::OnRButtonDown(nFlags, point);
}

void CSizingControlBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bTracking) {
    CPoint screen = point;
    ClientToScreen(&screen);
    OnTrackUpdateSize(screen);
  }
  CControlBar::OnMouseMove(nFlags, point);
}

void CSizingControlBar::OnCaptureChanged(CWnd* pWnd) {
  if (m_bTracking && pWnd != this) StopTracking();
  CControlBar::OnCaptureChanged(pWnd);
}

void CSizingControlBar::StartTracking(UINT nHitTest, CPoint point) {
  SetCapture();
  m_htEdge = nHitTest;
  m_bTracking = TRUE;
  const bool horzEdge = nHitTest == HTTOP || nHitTest == HTBOTTOM;
  const int pos = horzEdge ? point.y : point.x;
  m_nTrackPosOld = pos;

  // Bounds: the bar may not get smaller than its minimum, nor larger than the
  // frame's client area leaves room for (the other bars of the row keep their
  // minimums).
  CRect frameRect;
  if (CFrameWnd* frame = GetDockingFrame()) {
    frame->GetClientRect(&frameRect);
    frame->ClientToScreen(&frameRect);
  } else {
    ::GetWindowRect(::GetDesktopWindow(), &frameRect);
  }
  CRect barRect;
  GetWindowRect(&barRect);
  const bool horz = IsHorzDocked() != 0;
  CSize& size = horz ? m_szHorz : m_szVert;
  const CSize& minimum = horz ? m_szMinHorz : m_szMinVert;
  const int current = horzEdge ? size.cy : size.cx;
  const int smallest = horzEdge ? minimum.cy : minimum.cx;
  const int largest = horzEdge ? frameRect.Height() : frameRect.Width();
  const bool growsWithPos = nHitTest == HTRIGHT || nHitTest == HTBOTTOM;
  if (growsWithPos) {
    m_nTrackPosMin = pos - (current - smallest);
    m_nTrackPosMax = pos + std::max(0, largest - current);
  } else {
    m_nTrackPosMin = pos - std::max(0, largest - current);
    m_nTrackPosMax = pos + (current - smallest);
  }
  m_nTrackEdgeOfs = 0;
  m_rectOldTracker.SetRectEmpty();
  OnTrackInvertTracker();
}

void CSizingControlBar::StopTracking() {
  if (!m_bTracking) return;
  OnTrackInvertTracker();
  m_bTracking = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (CFrameWnd* frame = GetDockingFrame()) frame->RecalcLayout();
}

void CSizingControlBar::OnTrackUpdateSize(CPoint& point) {
  const bool horzEdge = m_htEdge == HTTOP || m_htEdge == HTBOTTOM;
  int pos = horzEdge ? point.y : point.x;
  pos = std::clamp(pos, m_nTrackPosMin, std::max(m_nTrackPosMin, m_nTrackPosMax));
  int delta = pos - m_nTrackPosOld;
  if (delta == 0) return;
  OnTrackInvertTracker();
  if (m_htEdge == HTLEFT || m_htEdge == HTTOP) delta = -delta;

  const bool horz = IsHorzDocked() != 0;
  // An edge across the row changes the row's thickness; an edge along the row
  // trades length with the neighbours.
  const bool thickness = horz ? horzEdge : !horzEdge;
  if (thickness) {
    CSize& size = horz ? m_szHorz : m_szVert;
    if (horz) size.cy += delta;
    else size.cx += delta;
    AlignControlBars();
  } else {
    std::vector<CSizingControlBar*> row;
    GetRowSizingBars(row);
    std::vector<int> lengths, minimums;
    int index = 0;
    for (size_t i = 0; i < row.size(); ++i) {
      if (row[i] == this) index = static_cast<int>(i);
      lengths.push_back(horz ? row[i]->m_szHorz.cx : row[i]->m_szVert.cy);
      minimums.push_back(horz ? row[i]->m_szMinHorz.cx : row[i]->m_szMinVert.cy);
    }
    const bool trailing = m_htEdge == HTRIGHT || m_htEdge == HTBOTTOM;
    ui_core::TrackEdge(lengths, minimums, index, trailing, delta);
    for (size_t i = 0; i < row.size(); ++i) {
      if (horz) row[i]->m_szHorz.cx = lengths[i];
      else row[i]->m_szVert.cy = lengths[i];
    }
  }
  m_nTrackPosOld = pos;
  OnTrackInvertTracker();
  if (m_bDragShowContent)
    if (CFrameWnd* frame = GetDockingFrame()) frame->RecalcLayout();
}

void CSizingControlBar::OnTrackInvertTracker() {
  if (m_bDragShowContent || !m_bTracking) return;
  CFrameWnd* frame = GetDockingFrame();
  if (!frame) return;
  // A line along the edge being dragged, in the frame's window coordinates.
  CRect bar, win;
  GetWindowRect(&bar);
  frame->GetWindowRect(&win);
  CRect line = bar;
  const bool horzEdge = m_htEdge == HTTOP || m_htEdge == HTBOTTOM;
  if (horzEdge) {
    line.top = m_nTrackPosOld - 2;
    line.bottom = m_nTrackPosOld + 2;
  } else {
    line.left = m_nTrackPosOld - 2;
    line.right = m_nTrackPosOld + 2;
  }
  line.OffsetRect(-win.left, -win.top);
  HDC dc = ::GetWindowDC(frame->m_hWnd);
  ::PatBlt(dc, line.left, line.top, line.Width(), line.Height(), PATINVERT | DSTINVERT);
  ::ReleaseDC(frame->m_hWnd, dc);
}

void CSizingControlBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) {}

// ---------------------------------------------------------------------------
// CSizingControlBarG

IMPLEMENT_DYNAMIC(CSizingControlBarG, CSizingControlBar)

BEGIN_MESSAGE_MAP(CSizingControlBarG, CSizingControlBar)
  ON_WM_NCLBUTTONUP()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CSizingControlBarG::CSizingControlBarG()
    : m_cyGripper(ui_core::kGripperSize), m_bPushed(FALSE), m_bRaised(FALSE), m_ptClose(0, 0) {}

BOOL CSizingControlBarG::HasGripper() const { return !IsFloating(); }

void CSizingControlBarG::NcCalcClient(LPRECT pRc, UINT nDockBarID) {
  CSizingControlBar::NcCalcClient(pRc, nDockBarID);
  if (!HasGripper()) return;
  const ui_core::GripperLayout g =
      ui_core::GripperClientRect(ToBar(*pRc), ui_core::DockSideOf(nDockBarID));
  // The button's origin is kept relative to the bar's (new) window rectangle.
  *pRc = ToCRect(g.client);
  m_ptClose = CPoint(g.closeButton.x - m_rcNcWindow.left, g.closeButton.y - m_rcNcWindow.top);
}

LRESULT CSizingControlBarG::OnNcHitTest(CPoint point) {
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  const ui_core::BarRect w{0, 0, rcWindow.Width(), rcWindow.Height()};
  return ui_core::SizingHitTest(w, Side(), m_dwSCBStyle, point.x - rcWindow.left,
                                point.y - rcWindow.top, HasGripper() != 0,
                                {m_ptClose.x, m_ptClose.y});
}

void CSizingControlBarG::OnNcLButtonUp(UINT nHitTest, CPoint point) {
  if (nHitTest == HTCLOSE)
    if (CFrameWnd* frame = GetDockingFrame()) frame->ShowControlBar(this, FALSE, FALSE);
  CSizingControlBar::OnNcLButtonUp(nHitTest, point);
}

void CSizingControlBarG::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CSizingControlBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
  if (!HasGripper()) return;
  CPoint pt;
  ::GetCursorPos(&pt);
  const BOOL hit = OnNcHitTest(pt) == HTCLOSE;
  const BOOL down = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
  const BOOL pushed = hit && down;
  const BOOL raised = hit && !down;
  if (pushed != m_bPushed || raised != m_bRaised) {
    m_bPushed = pushed;
    m_bRaised = raised;
    SendMessage(WM_NCPAINT);
  }
}

void CSizingControlBarG::NcPaintGripper(CDC* pDC, CRect rcClient) {
  if (!HasGripper()) return;
  CRect gripper = rcClient;
  gripper.InflateRect(-1, -1);
  const CRect button(m_ptClose, CSize(ui_core::kCloseButtonSize, ui_core::kCloseButtonSize));
  if (IsHorzDocked()) {
    gripper.left -= m_cyGripper;
    gripper.right = gripper.left + 3;
    gripper.top = button.top + 14;
  } else {
    gripper.top -= m_cyGripper;
    gripper.bottom = gripper.top + 3;
    gripper.right = button.left - 3;
  }
  const COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF lo = ::GetSysColor(COLOR_BTNSHADOW);
  pDC->Draw3dRect(&gripper, hi, lo);
  gripper.OffsetRect(IsHorzDocked() ? 3 : 0, IsHorzDocked() ? 0 : 3);
  pDC->Draw3dRect(&gripper, hi, lo);
  PaintCloseButton(pDC);
}

void CSizingControlBarG::PaintCloseButton(CDC* pDC) {
  const CRect button(m_ptClose, CSize(ui_core::kCloseButtonSize, ui_core::kCloseButtonSize));
  const COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF lo = ::GetSysColor(COLOR_BTNSHADOW);
  if (m_bPushed) pDC->Draw3dRect(&button, lo, hi);
  else if (m_bRaised) pDC->Draw3dRect(&button, hi, lo);

  const int dpi = ::GetDeviceCaps(pDC->m_hDC, LOGPIXELSY);
  // The symbol font's "r" is the close cross; asked for as a symbol font so
  // that no text font of another name stands in for it.
  LOGFONT lf{};
  lf.lfHeight = dpi > 0 ? 60 * 96 / dpi : 60;  // tenths of a point
  lf.lfCharSet = SYMBOL_CHARSET;
  ::lstrcpynW(lf.lfFaceName, L"Marlett", LF_FACESIZE);
  CFont font;
  font.CreatePointFontIndirect(&lf);
  CFont* oldFont = pDC->SelectObject(&font);
  const COLORREF oldColor = pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  pDC->TextOut(button.left + 2, button.top + 2, CString("r"));
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldColor);
  pDC->SelectObject(oldFont);
}
