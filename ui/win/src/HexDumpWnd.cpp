#include "ui_win/HexDumpWnd.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ui_core/hex_rows.h"

BEGIN_MESSAGE_MAP(CHexDumpWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_VSCROLL()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CHexDumpWnd::CHexDumpWnd()
    : m_rowCount(0), m_length(0), m_charWidth(0), m_lineHeight(0), m_buffer(nullptr) {}

BOOL CHexDumpWnd::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= WS_VSCROLL;
  return CWnd::PreCreateWindow(cs);
}

int CHexDumpWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  HDC dc = ::GetDC(m_hWnd);
  if (dc) {
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(OEM_FIXED_FONT));
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    m_lineHeight = tm.tmHeight + tm.tmExternalLeading;
    m_charWidth = tm.tmAveCharWidth;
  }
  return 0;
}

void CHexDumpWnd::UpdateScrollInfo(bool resetPosition) {
  if (!m_hWnd) return;
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | (resetPosition ? SIF_POS : 0);
  si.nMin = 0;
  si.nMax = m_rowCount - 1;
  si.nPage = m_lineHeight > 0 ? static_cast<UINT>(std::max(0L, client.bottom / m_lineHeight)) : 0;
  si.nPos = 0;
  ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

void CHexDumpWnd::SetBuffer(const unsigned char* data, int length) {
  m_buffer = data;
  m_length = std::max(0, length);
  m_rowCount = ui_core::HexRowCount(m_length);
  UpdateScrollInfo(true);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CHexDumpWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  UpdateScrollInfo(false);
}

void CHexDumpWnd::OnVScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* /*pScrollBar*/) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ::GetScrollInfo(m_hWnd, SB_VERT, &si);
  ui_core::HexScroll code = ui_core::HexScroll::Other;
  switch (nSBCode) {
    case SB_LINEUP: code = ui_core::HexScroll::LineUp; break;
    case SB_LINEDOWN: code = ui_core::HexScroll::LineDown; break;
    case SB_PAGEUP: code = ui_core::HexScroll::PageUp; break;
    case SB_PAGEDOWN: code = ui_core::HexScroll::PageDown; break;
    case SB_THUMBPOSITION: code = ui_core::HexScroll::ThumbPosition; break;
    case SB_TOP: code = ui_core::HexScroll::Top; break;
    case SB_BOTTOM: code = ui_core::HexScroll::Bottom; break;
    default: break;  // SB_THUMBTRACK among them: the text follows on release
  }
  const ui_core::HexScrollResult target = ui_core::HexScrollTarget(
      code, si.nPos, static_cast<int>(si.nPage), si.nTrackPos, si.nMin, si.nMax);
  if (!target.changes) return;
  const int old = si.nPos;
  si.fMask = SIF_POS;
  si.nPos = target.position;
  ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
  si.fMask = SIF_POS;
  ::GetScrollInfo(m_hWnd, SB_VERT, &si);
  if (si.nPos != old) {
    ::ScrollWindow(m_hWnd, 0, (old - si.nPos) * m_lineHeight, nullptr, nullptr);
    ::UpdateWindow(m_hWnd);
  }
}

void CHexDumpWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  int code = -1;
  switch (nChar) {
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_END: code = SB_BOTTOM; break;
    case VK_HOME: code = SB_TOP; break;
    case VK_UP: code = SB_LINEUP; break;
    case VK_DOWN: code = SB_LINEDOWN; break;
    default: break;
  }
  if (code >= 0) ::SendMessage(m_hWnd, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CHexDumpWnd::OnPaint() {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  if (!dc) return;
  const int position = ::GetScrollPos(m_hWnd, SB_VERT);
  const RECT& paint = ps.rcPaint;
  ui_core::HexRowRange rows{0, -1};
  if (m_lineHeight > 0 && m_buffer)
    rows = ui_core::HexRowsToPaint(paint.top, paint.bottom, m_lineHeight, position, m_rowCount);
  HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(OEM_FIXED_FONT));
  const COLORREF oldColor = ::SetTextColor(dc, RGB(0, 0, 0));
  for (int r = rows.first; r <= rows.last; ++r) {
    const int count = ui_core::HexBytesInRow(r, m_length);
    const std::string text = ui_core::FormatHexRow(
        static_cast<unsigned>(r) * ui_core::kHexBytesPerRow, m_buffer + r * ui_core::kHexBytesPerRow,
        count);
    ::TextOutA(dc, 0, (r - position) * m_lineHeight, text.c_str(), static_cast<int>(text.size()));
  }
  // Below the last row, and right of the text.
  const int lastRow = rows.last >= rows.first ? rows.last : position - 1;
  RECT below{0, std::max<LONG>(paint.top, (lastRow + 1 - position) * m_lineHeight), paint.right,
             paint.bottom};
  if (below.top < below.bottom) ::FillRect(dc, &below, ::GetSysColorBrush(COLOR_WINDOW));
  RECT right{std::max<LONG>(paint.left, ui_core::kHexRowWidth * m_charWidth), paint.top,
             paint.right, paint.bottom};
  if (right.left < right.right) ::FillRect(dc, &right, ::GetSysColorBrush(COLOR_WINDOW));
  ::SetTextColor(dc, oldColor);
  ::SelectObject(dc, oldFont);
  ::EndPaint(m_hWnd, &ps);
}

CDataViewWnd::~CDataViewWnd() { delete[] m_copy; }

void CDataViewWnd::SetData(const unsigned char* data, unsigned length) {
  unsigned char* copy = nullptr;
  if (length > 0) {
    copy = new unsigned char[length];
    if (data) std::memcpy(copy, data, length);
    else std::memset(copy, 0, length);
  }
  // The view leaves the old copy before it is freed.
  SetBuffer(copy, static_cast<int>(length));
  delete[] m_copy;
  m_copy = copy;
}
