// Docking: CDockBar (rows of docked bars along a side of the frame),
// CDockContext (dragging and toggling) and the mini frames of floating bars.
#include <afxwin.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "frame_internal.h"

// ---------------------------------------------------------------------------
// CDockBar

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
  m_arrBars.Add(nullptr);
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CDockBar::~CDockBar() {
  // Bars still docked here forget their place.
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (auto* bar = static_cast<CControlBar*>(m_arrBars[i])) bar->m_pDockBar = nullptr;
  m_arrBars.RemoveAll();
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  if (!pParentWnd) return FALSE;
  m_dwStyle = dwStyle & CBRS_ALL;
  static LPCWSTR cls = nullptr;
  if (!cls)
    cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                              ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
  if (!CWnd::Create(cls, nullptr, (dwStyle & ~CBRS_ALL) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    CRect(0, 0, 0, 0), pParentWnd, nID))
    return FALSE;
  if (!m_bFloating) AttachToFrame();
  return TRUE;
}

BOOL CDockBar::OnEraseBkgnd(CDC* pDC) {
  CRect rect;
  ::GetClientRect(m_hWnd, &rect);
  ::FillRect(pDC->m_hDC, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

int CDockBar::FindBar(CControlBar* pBar) const {
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (m_arrBars[i] == pBar) return i;
  return -1;
}

int CDockBar::GetDockedCount() const {
  int count = 0;
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (m_arrBars[i]) ++count;
  return count;
}

int CDockBar::GetDockedVisibleCount() const {
  int count = 0;
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (auto* bar = static_cast<CControlBar*>(m_arrBars[i]))
      if (bar->IsVisible()) ++count;
  return count;
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
  return nPos >= 0 && nPos < m_arrBars.GetSize() ? static_cast<CControlBar*>(m_arrBars[nPos])
                                                 : nullptr;
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar) {
  const int index = FindBar(pBar);
  if (index < 0) return FALSE;
  m_arrBars.RemoveAt(index);
  // An emptied row leaves two nulls in a row: one goes.
  if (index > 0 && index < m_arrBars.GetSize() && m_arrBars[index - 1] == nullptr &&
      m_arrBars[index] == nullptr)
    m_arrBars.RemoveAt(index);
  if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
  return TRUE;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (!pBar || !pBar->m_hWnd || !m_hWnd) return;
  CDockBar* previous = pBar->m_pDockBar;
  if (previous) previous->RemoveControlBar(pBar);
  else RemoveControlBar(pBar);

  // The row: one the rectangle overlaps (before the first bar further
  // along), else a new row at the end nearer to the rectangle.
  int insertAt = -1;
  bool newRowFirst = false;
  if (lpRect && !m_bFloating) {
    const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    const CRect target(*lpRect);
    const int targetCross = horz ? target.CenterPoint().y : target.CenterPoint().x;
    const int targetAlong = horz ? target.left : target.top;
    int rowStart = 1;
    bool anyRow = false;
    for (int i = 1; i < m_arrBars.GetSize(); ++i) {
      if (m_arrBars[i] != nullptr) continue;
      // Row [rowStart, i).
      int lo = INT_MAX, hi = INT_MIN;
      for (int j = rowStart; j < i; ++j) {
        auto* bar = static_cast<CControlBar*>(m_arrBars[j]);
        CRect r;
        ::GetWindowRect(bar->m_hWnd, &r);
        lo = std::min<int>(lo, horz ? r.top : r.left);
        hi = std::max<int>(hi, horz ? r.bottom : r.right);
      }
      if (i > rowStart) anyRow = true;
      if (i > rowStart && targetCross >= lo && targetCross < hi) {
        insertAt = i;
        for (int j = rowStart; j < i; ++j) {
          auto* bar = static_cast<CControlBar*>(m_arrBars[j]);
          CRect r;
          ::GetWindowRect(bar->m_hWnd, &r);
          if ((horz ? r.left : r.top) > targetAlong) {
            insertAt = j;
            break;
          }
        }
        break;
      }
      if (i > rowStart && targetCross < lo && insertAt < 0) newRowFirst = true;
      rowStart = i + 1;
    }
    if (!anyRow) newRowFirst = false;
  }
  if (insertAt >= 0) {
    m_arrBars.InsertAt(insertAt, pBar);
  } else if (newRowFirst) {
    m_arrBars.InsertAt(1, nullptr);
    m_arrBars.InsertAt(1, pBar);
  } else {
    if (m_arrBars.GetSize() == 0 || m_arrBars[m_arrBars.GetSize() - 1] != nullptr)
      m_arrBars.Add(nullptr);
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
  }

  // The bar takes this side's alignment.
  DWORD style = pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING);
  if (m_bFloating) {
    style |= CBRS_FLOATING | (pBar->m_dwStyle & CBRS_ALIGN_ANY ? CBRS_ALIGN_TOP : 0);
  } else {
    style |= m_dwStyle & CBRS_ALIGN_ANY;
    if (m_dwStyle & CBRS_ALIGN_TOP) style |= CBRS_BORDER_BOTTOM;
    else if (m_dwStyle & CBRS_ALIGN_BOTTOM) style |= CBRS_BORDER_TOP;
    else if (m_dwStyle & CBRS_ALIGN_LEFT) style |= CBRS_BORDER_RIGHT;
    else if (m_dwStyle & CBRS_ALIGN_RIGHT) style |= CBRS_BORDER_LEFT;
  }
  pBar->m_pDockBar = this;
  pBar->SetBarStyle(style);
  if (::GetParent(pBar->m_hWnd) != m_hWnd) ::SetParent(pBar->m_hWnd, m_hWnd);
  ::SetWindowPos(pBar->m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

  // A mini frame left without bars goes.
  if (previous && previous != this && previous->m_bFloating && previous->GetDockedCount() == 0) {
    if (HWND mini = ::GetParent(previous->m_hWnd)) ::DestroyWindow(mini);
  }
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  (void)bHorz;
  const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  CRect available = m_rectLayout;
  if (available.IsRectEmpty() && m_hWnd) {
    if (CWnd* parent = GetParent()) ::GetClientRect(parent->m_hWnd, &available);
  }
  const int length = horz ? available.Width() : available.Height();

  // Rows stacked across the side, bars side by side in each row.
  int cross = 0;
  int rowStart = 1;
  for (int i = 1; i < m_arrBars.GetSize(); ++i) {
    if (m_arrBars[i] != nullptr) continue;
    int along = 0;
    int thickness = 0;
    for (int j = rowStart; j < i; ++j) {
      auto* bar = static_cast<CControlBar*>(m_arrBars[j]);
      if (!bar->IsVisible()) continue;
      CSize size = (bar->m_dwStyle & CBRS_SIZE_DYNAMIC)
                       ? bar->CalcDynamicLayout(-1, horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK)
                       : bar->CalcFixedLayout(FALSE, horz);
      CRect rect = horz ? CRect(along, cross, along + size.cx, cross + size.cy)
                        : CRect(cross, along, cross + size.cx, along + size.cy);
      // Nothing is placed past the end of the side.
      if (horz && rect.right > length && along > 0) rect.OffsetRect(std::max<LONG>(0, length - rect.right), 0);
      if (!horz && rect.bottom > length && along > 0) rect.OffsetRect(0, std::max<LONG>(0, length - rect.bottom));
      if (!m_bLayoutQuery)
        ::SetWindowPos(bar->m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
      along += horz ? size.cx : size.cy;
      thickness = std::max<int>(thickness, horz ? size.cy : size.cx);
    }
    cross += thickness;
    rowStart = i + 1;
  }
  CSize total = horz ? CSize(length, cross) : CSize(cross, length);
  if (bStretch) {
    if (horz) total.cx = std::max<LONG>(total.cx, available.Width());
    else total.cy = std::max<LONG>(total.cy, available.Height());
  }
  return total;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) {}

BOOL CDockBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Commands of docked bars belong to the frame.
  CFrameWnd* frame = GetDockingFrame();
  if (frame && frame->m_hWnd) {
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CDockBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CWnd::OnNotify(wParam, lParam, pResult)) return TRUE;
  CFrameWnd* frame = GetDockingFrame();
  if (frame && frame->m_hWnd) {
    const LRESULT result = ::SendMessageW(frame->m_hWnd, WM_NOTIFY, wParam, lParam);
    if (pResult) *pResult = result;
    return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------
// CDockContext

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar), m_pDockSite(pBar ? pBar->m_pDockSite : nullptr) {}

CDockContext::~CDockContext() = default;

void CDockContext::DrawTracker(const CRect& rect) {
  if (rect.IsRectEmpty()) return;
  HDC dc = ::GetDCEx(nullptr, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  if (!dc) dc = ::GetDC(nullptr);
  if (!dc) return;
  // A frame of inverted pixels, three thick.
  const int t = 3;
  ::PatBlt(dc, rect.left, rect.top, rect.Width(), t, DSTINVERT);
  ::PatBlt(dc, rect.left, rect.bottom - t, rect.Width(), t, DSTINVERT);
  ::PatBlt(dc, rect.left, rect.top + t, t, rect.Height() - 2 * t, DSTINVERT);
  ::PatBlt(dc, rect.right - t, rect.top + t, t, rect.Height() - 2 * t, DSTINVERT);
  ::ReleaseDC(nullptr, dc);
}

CDockBar* CDockContext::Target(CPoint pt, CPoint offset, CRect& rect) {
  CFrameWnd* frame = m_pDockSite ? m_pDockSite : m_pBar->GetDockingFrame();
  CRect current;
  ::GetWindowRect(DragWindow(), &current);
  rect = CRect(CPoint(pt.x - offset.x, pt.y - offset.y), current.Size());
  if (!frame || (::GetKeyState(VK_CONTROL) & 0x8000)) return nullptr;
  CDockBar* dock = frame->CanDock(rect, m_dwDockStyle ? m_dwDockStyle : m_pBar->m_dwDockStyle);
  if (!dock) {
    // Floating: a floating bar keeps its frame's size, a docked one takes
    // its floating size.
    if (m_pBar->IsFloating()) return nullptr;
    const CSize size = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
                           ? m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH)
                           : m_pBar->CalcFixedLayout(FALSE, TRUE);
    rect = CRect(CPoint(pt.x - offset.x, pt.y - offset.y), size);
    return nullptr;
  }
  // Docked size along that side.
  const bool horz = (dock->m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  CSize size = m_pBar->CalcFixedLayout(FALSE, horz);
  if (size.cx > 4000 || size.cx <= 0) size.cx = current.Width();
  if (size.cy > 4000 || size.cy <= 0) size.cy = current.Height();
  rect = CRect(CPoint(pt.x - offset.x, pt.y - offset.y), size);
  return dock;
}

HWND CDockContext::DragWindow() const {
  // A floating bar moves with its mini frame.
  if (m_pBar->IsFloating())
    if (HWND mini = ::GetParent(m_pBar->m_pDockBar->m_hWnd)) return mini;
  return m_pBar->m_hWnd;
}

void CDockContext::StartDrag(CPoint pt) {
  if (!m_pBar || !m_pBar->m_hWnd || m_bDragging) return;
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  HWND bar = m_pBar->m_hWnd;
  CRect start;
  ::GetWindowRect(DragWindow(), &start);
  const CPoint offset(pt.x - start.left, pt.y - start.top);
  m_bDragging = TRUE;
  m_rectLast.SetRectEmpty();
  m_bDockTarget = FALSE;
  ::SetCapture(bar);

  const int dragX = ::GetSystemMetrics(SM_CXDRAG);
  const int dragY = ::GetSystemMetrics(SM_CYDRAG);
  bool moved = false;
  bool accept = false;
  CPoint last = pt;
  MSG msg;
  while (m_bDragging && ::GetCapture() == bar) {
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        ::ClientToScreen(msg.hwnd, &p);
        last = p;
        if (!moved && std::abs(p.x - pt.x) < dragX && std::abs(p.y - pt.y) < dragY) break;
        moved = true;
        CRect rect;
        CDockBar* dock = Target(last, offset, rect);
        DrawTracker(m_rectLast);
        m_rectLast = rect;
        m_bDockTarget = dock != nullptr;
        DrawTracker(m_rectLast);
        break;
      }
      case WM_LBUTTONUP: {
        POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        ::ClientToScreen(msg.hwnd, &p);
        last = p;
        if (std::abs(p.x - pt.x) >= dragX || std::abs(p.y - pt.y) >= dragY) moved = true;
        accept = moved;
        m_bDragging = FALSE;
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) m_bDragging = FALSE;
        break;
      case WM_RBUTTONDOWN:
      case WM_CANCELMODE:
        m_bDragging = FALSE;
        break;
      default:
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        // The bar, and this context with it, may have gone with that message.
        if (!::IsWindow(bar)) return;
        break;
    }
  }
  DrawTracker(m_rectLast);
  m_rectLast.SetRectEmpty();
  m_bDragging = FALSE;
  if (::GetCapture() == bar) ::ReleaseCapture();
  if (!accept || !m_pDockSite) return;

  CRect rect;
  CDockBar* dock = Target(last, offset, rect);
  if (dock) {
    m_pDockSite->DockControlBar(m_pBar, dock, &rect);
  } else {
    m_pDockSite->FloatControlBar(m_pBar, rect.TopLeft());
  }
}

void CDockContext::ToggleDocking() {
  if (!m_pBar || !m_pBar->m_hWnd) return;
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  if (!m_pDockSite) return;
  if (m_pBar->IsFloating()) {
    // Back where it was docked (or to its side's dock bar).
    CRect floatRect;
    if (CWnd* mini = m_pBar->GetParentFrame()) ::GetWindowRect(mini->m_hWnd, &floatRect);
    m_ptMRUFloatPos = floatRect.TopLeft();
    CControlBar* target = m_uMRUDockID ? m_pDockSite->GetControlBar(m_uMRUDockID) : nullptr;
    if (target && target->IsDockBar())
      m_pDockSite->DockControlBar(m_pBar, static_cast<CDockBar*>(target),
                                  m_rectMRUDockPos.IsRectEmpty() ? nullptr : &m_rectMRUDockPos);
    else
      m_pDockSite->DockControlBar(m_pBar, static_cast<CDockBar*>(nullptr), nullptr);
    return;
  }
  CRect rect;
  ::GetWindowRect(m_pBar->m_hWnd, &rect);
  if (m_pBar->m_pDockBar) {
    m_uMRUDockID = static_cast<UINT>(::GetDlgCtrlID(m_pBar->m_pDockBar->m_hWnd));
    m_rectMRUDockPos = rect;
  }
  CPoint where = m_ptMRUFloatPos;
  if (where.x == -1 && where.y == -1) where = rect.TopLeft() + CSize(16, 16);
  m_pDockSite->FloatControlBar(m_pBar, where);
}

// ---------------------------------------------------------------------------
// CMiniFrameWnd

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

CMiniFrameWnd::CMiniFrameWnd() = default;
CMiniFrameWnd::~CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, CStrArg lpszClassName, CStrArg lpszWindowName,
                             DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  (void)nID;
  m_strTitle = lpszWindowName.get() ? CString(lpszWindowName.get()) : CString();
  return CWnd::CreateEx(dwExStyle | WS_EX_TOOLWINDOW, lpszClassName, lpszWindowName, dwStyle,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr, nullptr);
}

// ---------------------------------------------------------------------------
// CMiniDockFrameWnd

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_MESSAGE(WM_NCLBUTTONDOWN, &CMiniDockFrameWnd::OnNcLButtonDownMsg)
  ON_MESSAGE(WM_NCLBUTTONDBLCLK, &CMiniDockFrameWnd::OnNcLButtonDblClkMsg)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, &CMiniDockFrameWnd::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}
CMiniDockFrameWnd::~CMiniDockFrameWnd() = default;

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  if (!pParent) return FALSE;
  static LPCWSTR cls = nullptr;
  if (!cls)
    cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                              ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | MFS_SYNCACTIVE;
  if (dwBarStyle & CBRS_SIZE_DYNAMIC) style |= WS_THICKFRAME | MFS_4THICKFRAME;
  if (!CreateEx(0, cls, L"", style, CRect(0, 0, 120, 60), pParent, 0)) return FALSE;
  if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_FLOAT)) {
    DestroyWindow();
    return FALSE;
  }
  m_wndDockBar.m_pDockSite = pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd))
                                 ? static_cast<CFrameWnd*>(pParent)
                                 : nullptr;
  return TRUE;
}

CControlBar* CMiniDockFrameWnd::GetBar() const {
  for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
    if (auto* bar = static_cast<CControlBar*>(m_wndDockBar.m_arrBars[i])) return bar;
  return nullptr;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL /*bNotify*/) {
  if (!m_hWnd || m_bInRecalcLayout) return;
  m_bInRecalcLayout = TRUE;
  m_bLayoutPending = FALSE;
  CControlBar* bar = GetBar();
  if (bar && bar->m_hWnd) {
    const CSize size = (bar->m_dwStyle & CBRS_SIZE_DYNAMIC)
                           ? bar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH)
                           : bar->CalcFixedLayout(FALSE, TRUE);
    // The frame fits its bar.
    CRect rect(0, 0, std::max<LONG>(size.cx, 16), std::max<LONG>(size.cy, 8));
    ::AdjustWindowRectEx(&rect, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)) & ~MFS_4THICKFRAME &
                                    ~MFS_SYNCACTIVE & ~MFS_THICKFRAME & ~MFS_MOVEFRAME & ~MFS_BLOCKSYSMENU,
                         FALSE, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    m_bSizing = TRUE;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rect.Width(), rect.Height(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bSizing = FALSE;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    ::SetWindowPos(m_wndDockBar.m_hWnd, nullptr, 0, 0, client.Width(), client.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(bar->m_hWnd, nullptr, 0, 0, client.Width(), client.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // The caption is the bar's title.
    wchar_t title[256] = L"";
    ::GetWindowTextW(bar->m_hWnd, title, 256);
    ::SetWindowTextW(m_hWnd, title);
  }
  m_bInRecalcLayout = FALSE;
}

void CMiniDockFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (m_bSizing || m_bInRecalcLayout || nType == SIZE_MINIMIZED) return;
  // The user resized the frame: a dynamic bar takes the new size.
  CControlBar* bar = GetBar();
  if (!bar || !bar->m_hWnd) return;
  if (bar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    bar->CalcDynamicLayout(cx, LM_HORZ);
    bar->CalcDynamicLayout(cy, LM_HORZ | LM_LENGTHY);
  }
  ::SetWindowPos(m_wndDockBar.m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(bar->m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMiniDockFrameWnd::OnUpdateFrameTitle(BOOL /*bAddToTitle*/) {}

void CMiniDockFrameWnd::OnClose() {
  // Closing hides the bar; the frame goes with it.
  CControlBar* bar = GetBar();
  CFrameWnd* site = m_wndDockBar.m_pDockSite;
  if (bar && site) site->ShowControlBar(bar, FALSE, FALSE);
  else ::ShowWindow(m_hWnd, SW_HIDE);
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDownMsg(WPARAM wParam, LPARAM lParam) {
  CControlBar* bar = GetBar();
  if (wParam == HTCAPTION && bar && bar->m_pDockContext) {
    // Dragging the caption may dock the bar again.
    ::SetActiveWindow(m_hWnd);
    bar->m_pDockContext->StartDrag(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    return 0;
  }
  return Default();
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDblClkMsg(WPARAM wParam, LPARAM) {
  CControlBar* bar = GetBar();
  if (wParam == HTCAPTION && bar && bar->m_pDockContext) {
    bar->m_pDockContext->ToggleDocking();
    return 0;
  }
  return Default();
}

LRESULT CMiniDockFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  // The docking frame updates its floating bars.
  return 0;
}

BOOL CMiniDockFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                                 AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CFrameWnd* site = m_wndDockBar.m_pDockSite;
  return site && site->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMiniDockFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  CFrameWnd* site = m_wndDockBar.m_pDockSite;
  if (site && site->m_hWnd) {
    ::SendMessageW(site->m_hWnd, WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}
