// CSplitterWnd: a static grid of panes with draggable bars between them.
#include <afxwin.h>
#include <afxext.h>

#include <algorithm>

#include "frame_internal.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_MESSAGE(WM_SETCURSOR, &CSplitterWnd::OnSetCursorMsg)
  ON_MESSAGE(WM_CAPTURECHANGED, &CSplitterWnd::OnCaptureChangedMsg)
  ON_MESSAGE(WM_KEYDOWN, &CSplitterWnd::OnKeyDownMsg)
END_MESSAGE_MAP()

CSplitterWnd::CSplitterWnd() = default;
CSplitterWnd::~CSplitterWnd() = default;

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
  if (!pParentWnd || nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16 || m_hWnd) return FALSE;
  m_nRows = nRows;
  m_nCols = nCols;
  m_rowInfo.assign(static_cast<size_t>(nRows), Info{});
  m_colInfo.assign(static_cast<size_t>(nCols), Info{});
  static LPCWSTR cls = nullptr;
  if (!cls)
    cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                              ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
  return Create(cls, nullptr, dwStyle | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0),
                pParentWnd, nID);
}

int CSplitterWnd::IdFromRowCol(int row, int col) const {
  return AFX_IDW_PANE_FIRST + row * 16 + col;
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext) {
  if (!m_hWnd || row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || !pViewClass)
    return FALSE;
  if (::GetDlgItem(m_hWnd, IdFromRowCol(row, col))) return FALSE;  // taken
  m_rowInfo[static_cast<size_t>(row)].nIdealSize = sizeInit.cy;
  m_colInfo[static_cast<size_t>(col)].nIdealSize = sizeInit.cx;

  CObject* object = pViewClass->CreateObject();
  CWnd* pane = object && object->IsKindOf(RUNTIME_CLASS(CWnd)) ? static_cast<CWnd*>(object)
                                                                 : nullptr;
  if (!pane) {
    delete object;
    return FALSE;
  }
  const CRect rect(0, 0, std::max<LONG>(sizeInit.cx, 0), std::max<LONG>(sizeInit.cy, 0));
  if (!pane->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, this, IdFromRowCol(row, col),
                    pContext)) {
    if (!afx_frame::WasDeleted(pane) && !pane->m_hWnd) delete pane;
    return FALSE;
  }
  RecalcLayout();
  return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
  if (!m_hWnd || row < 0 || row >= m_nRows || col < 0 || col >= m_nCols) return nullptr;
  HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
  return pane ? CWnd::FromHandlePermanent(pane) : nullptr;
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) {
  if (!pWnd || !pWnd->m_hWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
  const int id = ::GetDlgCtrlID(pWnd->m_hWnd) - AFX_IDW_PANE_FIRST;
  const int row = id / 16, col = id % 16;
  if (id < 0 || row >= m_nRows || col >= m_nCols) return FALSE;
  if (pRow) *pRow = row;
  if (pCol) *pCol = col;
  return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
  cyCur = cyMin = 0;
  if (row < 0 || row >= m_nRows) return;
  cyCur = m_rowInfo[static_cast<size_t>(row)].nCurSize;
  cyMin = m_rowInfo[static_cast<size_t>(row)].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
  if (row < 0 || row >= m_nRows) return;
  m_rowInfo[static_cast<size_t>(row)].nIdealSize = std::max(0, cyIdeal);
  m_rowInfo[static_cast<size_t>(row)].nMinSize = std::max(0, cyMin);
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
  cxCur = cxMin = 0;
  if (col < 0 || col >= m_nCols) return;
  cxCur = m_colInfo[static_cast<size_t>(col)].nCurSize;
  cxMin = m_colInfo[static_cast<size_t>(col)].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
  if (col < 0 || col >= m_nCols) return;
  m_colInfo[static_cast<size_t>(col)].nIdealSize = std::max(0, cxIdeal);
  m_colInfo[static_cast<size_t>(col)].nMinSize = std::max(0, cxMin);
}

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd) return;
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  // Each row and column gets its ideal size while room is left, the last
  // one the rest.
  auto lay = [](std::vector<Info>& infos, int total, int gap) {
    int left = total - gap * (static_cast<int>(infos.size()) - 1);
    for (size_t i = 0; i < infos.size(); ++i) {
      Info& info = infos[i];
      if (i + 1 == infos.size()) {
        info.nCurSize = std::max(0, left);
      } else {
        info.nCurSize = std::clamp(info.nIdealSize, 0, std::max(0, left));
        left -= info.nCurSize;
      }
    }
  };
  lay(m_colInfo, client.Width(), m_cxSplitter);
  lay(m_rowInfo, client.Height(), m_cySplitter);

  HDWP defer = ::BeginDeferWindowPos(m_nRows * m_nCols);
  int y = 0;
  for (int row = 0; row < m_nRows; ++row) {
    int x = 0;
    const int cy = m_rowInfo[static_cast<size_t>(row)].nCurSize;
    for (int col = 0; col < m_nCols; ++col) {
      const int cx = m_colInfo[static_cast<size_t>(col)].nCurSize;
      if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col))) {
        if (defer)
          defer = ::DeferWindowPos(defer, pane, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        else
          ::SetWindowPos(pane, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      x += cx + m_cxSplitter;
    }
    y += cy + m_cySplitter;
  }
  if (defer) ::EndDeferWindowPos(defer);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CSplitterWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  if (!dc) return;
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  ::FillRect(dc, &ps.rcPaint, ::GetSysColorBrush(COLOR_BTNFACE));
  // Raised bars between the panes.
  int x = 0;
  for (int col = 0; col + 1 < m_nCols; ++col) {
    x += m_colInfo[static_cast<size_t>(col)].nCurSize;
    CRect bar(x, client.top, x + m_cxSplitter, client.bottom);
    ::DrawEdge(dc, &bar, EDGE_RAISED, BF_LEFT | BF_RIGHT);
    x += m_cxSplitter;
  }
  int y = 0;
  for (int row = 0; row + 1 < m_nRows; ++row) {
    y += m_rowInfo[static_cast<size_t>(row)].nCurSize;
    CRect bar(client.left, y, client.right, y + m_cySplitter);
    ::DrawEdge(dc, &bar, EDGE_RAISED, BF_TOP | BF_BOTTOM);
    y += m_cySplitter;
  }
  ::EndPaint(m_hWnd, &ps);
}

void CSplitterWnd::HitTestBars(CPoint pt, int& colBar, int& rowBar) const {
  colBar = rowBar = -1;
  int x = 0;
  for (int col = 0; col + 1 < m_nCols; ++col) {
    x += m_colInfo[static_cast<size_t>(col)].nCurSize;
    if (pt.x >= x && pt.x < x + m_cxSplitter) colBar = col;
    x += m_cxSplitter;
  }
  int y = 0;
  for (int row = 0; row + 1 < m_nRows; ++row) {
    y += m_rowInfo[static_cast<size_t>(row)].nCurSize;
    if (pt.y >= y && pt.y < y + m_cySplitter) rowBar = row;
    y += m_cySplitter;
  }
}

LRESULT CSplitterWnd::OnSetCursorMsg(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT) {
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    int colBar, rowBar;
    HitTestBars(pt, colBar, rowBar);
    if (colBar >= 0 || rowBar >= 0) {
      ::SetCursor(::LoadCursor(nullptr, colBar >= 0 && rowBar >= 0 ? IDC_SIZEALL
                                        : colBar >= 0            ? IDC_SIZEWE
                                                                 : IDC_SIZENS));
      return TRUE;
    }
  }
  return Default();
}

void CSplitterWnd::DrawTracker() {
  HDC dc = ::GetDCEx(m_hWnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  if (!dc) dc = ::GetDC(m_hWnd);
  if (!dc) return;
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  if (m_nTrackCol >= 0)
    ::PatBlt(dc, m_nTrackPos, client.top, m_cxSplitter, client.Height(), DSTINVERT);
  else
    ::PatBlt(dc, client.left, m_nTrackPos, client.Width(), m_cySplitter, DSTINVERT);
  ::ReleaseDC(m_hWnd, dc);
  m_bTrackerShown = !m_bTrackerShown;
}

void CSplitterWnd::OnLButtonDown(UINT nFlags, CPoint point) {
  int colBar, rowBar;
  HitTestBars(point, colBar, rowBar);
  if (colBar < 0 && rowBar < 0) {
    CWnd::OnLButtonDown(nFlags, point);
    return;
  }
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  m_bTracking = TRUE;
  m_bTrackerShown = FALSE;
  // A column bar first; the row bar of a crossing is not dragged with it.
  if (colBar >= 0) {
    m_nTrackCol = colBar;
    m_nTrackRow = -1;
    int start = 0;
    for (int c = 0; c < colBar; ++c) start += m_colInfo[static_cast<size_t>(c)].nCurSize + m_cxSplitter;
    m_nTrackMin = start + m_colInfo[static_cast<size_t>(colBar)].nMinSize;
    m_nTrackMax = std::max(m_nTrackMin, static_cast<int>(client.right) - m_cxSplitter);
    m_nTrackPos = start + m_colInfo[static_cast<size_t>(colBar)].nCurSize;
    m_nTrackOffset = point.x - m_nTrackPos;
  } else {
    m_nTrackRow = rowBar;
    m_nTrackCol = -1;
    int start = 0;
    for (int r = 0; r < rowBar; ++r) start += m_rowInfo[static_cast<size_t>(r)].nCurSize + m_cySplitter;
    m_nTrackMin = start + m_rowInfo[static_cast<size_t>(rowBar)].nMinSize;
    m_nTrackMax = std::max(m_nTrackMin, static_cast<int>(client.bottom) - m_cySplitter);
    m_nTrackPos = start + m_rowInfo[static_cast<size_t>(rowBar)].nCurSize;
    m_nTrackOffset = point.y - m_nTrackPos;
  }
  ::SetCapture(m_hWnd);
  ::SetFocus(m_hWnd);
  DrawTracker();
}

void CSplitterWnd::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bTracking) {
    CWnd::OnMouseMove(nFlags, point);
    return;
  }
  const int pos = std::clamp(static_cast<int>(m_nTrackCol >= 0 ? point.x : point.y) - m_nTrackOffset,
                             m_nTrackMin, m_nTrackMax);
  if (pos == m_nTrackPos) return;
  if (m_bTrackerShown) DrawTracker();
  m_nTrackPos = pos;
  DrawTracker();
}

void CSplitterWnd::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bTracking) {
    CWnd::OnLButtonUp(nFlags, point);
    return;
  }
  const int pos = std::clamp(static_cast<int>(m_nTrackCol >= 0 ? point.x : point.y) - m_nTrackOffset,
                             m_nTrackMin, m_nTrackMax);
  if (m_bTrackerShown) DrawTracker();
  m_nTrackPos = pos;
  StopTracking(TRUE);
}

void CSplitterWnd::StopTracking(BOOL bAccept) {
  if (!m_bTracking) return;
  m_bTracking = FALSE;
  if (m_bTrackerShown) DrawTracker();
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (!bAccept) return;
  // The bar's new place is the new size of the row or column before it.
  if (m_nTrackCol >= 0) {
    int start = 0;
    for (int c = 0; c < m_nTrackCol; ++c) start += m_colInfo[static_cast<size_t>(c)].nCurSize + m_cxSplitter;
    m_colInfo[static_cast<size_t>(m_nTrackCol)].nIdealSize = m_nTrackPos - start;
  } else if (m_nTrackRow >= 0) {
    int start = 0;
    for (int r = 0; r < m_nTrackRow; ++r) start += m_rowInfo[static_cast<size_t>(r)].nCurSize + m_cySplitter;
    m_rowInfo[static_cast<size_t>(m_nTrackRow)].nIdealSize = m_nTrackPos - start;
  }
  RecalcLayout();
}

LRESULT CSplitterWnd::OnCaptureChangedMsg(WPARAM, LPARAM lParam) {
  if (m_bTracking && reinterpret_cast<HWND>(lParam) != m_hWnd) StopTracking(FALSE);
  return Default();
}

LRESULT CSplitterWnd::OnKeyDownMsg(WPARAM wParam, LPARAM) {
  if (m_bTracking && wParam == VK_ESCAPE) {
    StopTracking(FALSE);
    return 0;
  }
  return Default();
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
  CWnd* pane = nullptr;
  if (CFrameWnd* frame = GetParentFrame()) pane = frame->GetActiveView();
  if (!pane || !IsChildPane(pane, pRow, pCol)) {
    HWND focus = ::GetFocus();
    pane = focus ? CWnd::FromHandlePermanent(focus) : nullptr;
    if (!pane || !IsChildPane(pane, pRow, pCol)) return nullptr;
  }
  return pane;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
  CWnd* pane = pWnd ? pWnd : GetPane(row, col);
  if (!pane) return;
  CFrameWnd* frame = GetParentFrame();
  if (frame && pane->IsKindOf(RUNTIME_CLASS(CView))) frame->SetActiveView(static_cast<CView*>(pane));
  else if (pane->m_hWnd) ::SetFocus(pane->m_hWnd);
}

BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  // The panes' commands go on to the frame.
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return FALSE;
  ::SendMessageW(parent, WM_COMMAND, wParam, lParam);
  return TRUE;
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CWnd::OnNotify(wParam, lParam, pResult)) return TRUE;
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return FALSE;
  const LRESULT result = ::SendMessageW(parent, WM_NOTIFY, wParam, lParam);
  if (pResult) *pResult = result;
  return TRUE;
}
