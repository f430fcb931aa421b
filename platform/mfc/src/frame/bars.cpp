// CControlBar (layout in the frame, borders and gripper, docking hooks),
// CToolBar and CStatusBar.
#include <afxwin.h>

#include <algorithm>

#include "frame_internal.h"

namespace {

constexpr int kGripper = 8;  // the gripper's strip across a docked bar

bool Horizontal(DWORD style) { return (style & CBRS_ORIENT_HORZ) != 0 || !(style & CBRS_ALIGN_ANY); }

}  // namespace

// ---------------------------------------------------------------------------
// CControlBar

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
  ON_MESSAGE(WM_NCCALCSIZE, &CControlBar::OnNcCalcSizeMsg)
  ON_MESSAGE(WM_NCPAINT, &CControlBar::OnNcPaintMsg)
  ON_MESSAGE(WM_NCHITTEST, &CControlBar::OnNcHitTestMsg)
  ON_MESSAGE(WM_NCLBUTTONDOWN, &CControlBar::OnNcLButtonDownMsg)
  ON_MESSAGE(WM_NCLBUTTONDBLCLK, &CControlBar::OnNcLButtonDblClkMsg)
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
  if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  delete m_pDockContext;
  // A window still alive goes now; its last messages must not delete this
  // object a second time.
  m_bAutoDelete = FALSE;
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

void CControlBar::AttachToFrame() {
  if (!m_hWnd) return;
  if (!m_pDockSite) {
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
      frame = frame->GetParentFrame();
    m_pDockSite = frame;
  }
  if (m_pDockSite) m_pDockSite->AddControlBar(this);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  // The dock bar of a mini frame is not one of the frame's bars.
  if (!IsDockBar() || !static_cast<CDockBar*>(this)->m_bFloating) AttachToFrame();
  return 0;
}

void CControlBar::OnDestroy() {
  if (m_pDockBar) {
    CDockBar* dock = m_pDockBar;
    dock->RemoveControlBar(this);
    m_pDockBar = nullptr;
  }
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  CWnd::OnDestroy();
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
  if (m_dwStyle == dwStyle) return;
  const DWORD old = m_dwStyle;
  m_dwStyle = dwStyle;
  OnBarStyleChange(old, dwStyle);
}

void CControlBar::OnBarStyleChange(DWORD /*dwOldStyle*/, DWORD /*dwNewStyle*/) {}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
  if (!m_pDockContext) m_pDockContext = new CDockContext(this);
  m_pDockContext->m_dwDockStyle = m_dwDockStyle;
  if (!m_pDockSite) AttachToFrame();
  m_pDockContext->m_pDockSite = m_pDockSite;
}

CFrameWnd* CControlBar::GetDockingFrame() const {
  if (m_pDockSite) return m_pDockSite;
  CFrameWnd* frame = GetParentFrame();
  if (frame && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) frame = frame->GetParentFrame();
  return frame;
}

BOOL CControlBar::IsFloating() const {
  return m_pDockBar && m_pDockBar->m_bFloating ? TRUE : FALSE;
}

BOOL CControlBar::IsVisible() const {
  return m_hWnd && (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VISIBLE) ? TRUE : FALSE;
}

CRect CControlBar::CalcNcInsets() const {
  CRect insets(0, 0, 0, 0);
  if (m_dwStyle & CBRS_BORDER_LEFT) insets.left += m_cxLeftBorder;
  if (m_dwStyle & CBRS_BORDER_TOP) insets.top += m_cyTopBorder;
  if (m_dwStyle & CBRS_BORDER_RIGHT) insets.right += m_cxRightBorder;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) insets.bottom += m_cyBottomBorder;
  if ((m_dwStyle & CBRS_GRIPPER) && !IsFloating()) {
    if (Horizontal(m_dwStyle)) insets.left += kGripper;
    else insets.top += kGripper;
  }
  return insets;
}

CRect CControlBar::GetGripperRect() const {
  if (!(m_dwStyle & CBRS_GRIPPER) || IsFloating() || !m_hWnd) return CRect(0, 0, 0, 0);
  CRect window;
  ::GetWindowRect(m_hWnd, &window);
  window.OffsetRect(-window.left, -window.top);
  const CRect insets = CalcNcInsets();
  if (Horizontal(m_dwStyle))
    return CRect(insets.left - kGripper, insets.top, insets.left, window.bottom - insets.bottom);
  return CRect(insets.left, insets.top - kGripper, window.right - insets.right, insets.top);
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  // A plain bar has only its borders; stretched it spans its side.
  const CRect insets = CalcNcInsets();
  CSize size(insets.left + insets.right, insets.top + insets.bottom);
  if (bStretch) {
    if (bHorz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

CSize CControlBar::CalcDynamicLayout(int /*nLength*/, DWORD nMode) {
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (!layout || !IsVisible() || !(m_dwStyle & CBRS_ALIGN_ANY) || IsFloating()) return 0;
  CRect free(layout->rect);
  const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  if (IsDockBar()) {
    auto* dock = static_cast<CDockBar*>(this);
    dock->m_rectLayout = free;
    dock->m_bLayoutQuery = layout->hDWP == nullptr;
  }
  CSize size = CalcFixedLayout(layout->bStretch, horz);
  size.cx = std::min<LONG>(size.cx, free.Width());
  size.cy = std::min<LONG>(size.cy, free.Height());
  size.cx = std::max<LONG>(size.cx, 0);
  size.cy = std::max<LONG>(size.cy, 0);

  CRect rect = free;
  if (m_dwStyle & CBRS_ALIGN_TOP) {
    rect.bottom = rect.top + size.cy;
    free.top += size.cy;
  } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
    rect.top = rect.bottom - size.cy;
    free.bottom -= size.cy;
  } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
    rect.right = rect.left + size.cx;
    free.left += size.cx;
  } else {
    rect.left = rect.right - size.cx;
    free.right -= size.cx;
  }
  if (horz) {
    if (!layout->bStretch) rect.right = rect.left + size.cx;
    layout->sizeTotal.cy += size.cy;
    layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
  } else {
    if (!layout->bStretch) rect.bottom = rect.top + size.cy;
    layout->sizeTotal.cx += size.cx;
    layout->sizeTotal.cy = std::max<LONG>(layout->sizeTotal.cy, size.cy);
  }
  layout->rect = free;
  if (layout->hDWP) {
    layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, nullptr, rect.left, rect.top,
                                    rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
  }
  return 0;
}

LRESULT CControlBar::OnNcCalcSizeMsg(WPARAM, LPARAM lParam) {
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  const CRect insets = CalcNcInsets();
  RECT& r = params->rgrc[0];
  r.left += insets.left;
  r.top += insets.top;
  r.right -= insets.right;
  r.bottom -= insets.bottom;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return 0;
}

LRESULT CControlBar::OnNcPaintMsg(WPARAM, LPARAM) {
  HDC dc = ::GetWindowDC(m_hWnd);
  if (!dc) return 0;
  CRect window;
  ::GetWindowRect(m_hWnd, &window);
  window.OffsetRect(-window.left, -window.top);
  const CRect insets = CalcNcInsets();
  CRect client(window.left + insets.left, window.top + insets.top, window.right - insets.right,
               window.bottom - insets.bottom);
  ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  ::FillRect(dc, &window, ::GetSysColorBrush(COLOR_BTNFACE));
  // Borders: a light line inside a dark one where the style asks for them.
  if (m_dwStyle & CBRS_BORDER_ANY) {
    UINT flags = 0;
    if (m_dwStyle & CBRS_BORDER_LEFT) flags |= BF_LEFT;
    if (m_dwStyle & CBRS_BORDER_TOP) flags |= BF_TOP;
    if (m_dwStyle & CBRS_BORDER_RIGHT) flags |= BF_RIGHT;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) flags |= BF_BOTTOM;
    CRect edge = window;
    ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, flags);
  }
  CRect grip = GetGripperRect();
  if (!grip.IsRectEmpty()) {
    if (Horizontal(m_dwStyle)) {
      CRect line(grip.left + 2, grip.top + 2, grip.left + 5, grip.bottom - 2);
      ::DrawEdge(dc, &line, BDR_RAISEDINNER, BF_RECT);
    } else {
      CRect line(grip.left + 2, grip.top + 2, grip.right - 2, grip.top + 5);
      ::DrawEdge(dc, &line, BDR_RAISEDINNER, BF_RECT);
    }
  }
  ::ReleaseDC(m_hWnd, dc);
  return 0;
}

LRESULT CControlBar::OnNcHitTestMsg(WPARAM, LPARAM lParam) {
  CRect grip = GetGripperRect();
  if (!grip.IsRectEmpty()) {
    CRect window;
    ::GetWindowRect(m_hWnd, &window);
    const CPoint pt(GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top);
    if (grip.PtInRect(pt)) return HTCAPTION;
  }
  const LRESULT hit = Default();
  return hit == HTNOWHERE ? HTCLIENT : hit;
}

LRESULT CControlBar::OnNcLButtonDownMsg(WPARAM wParam, LPARAM lParam) {
  // The gripper drags the bar; the default would move the child window.
  if (wParam == HTCAPTION) {
    if (m_pDockContext && !IsFloating())
      m_pDockContext->StartDrag(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    return 0;
  }
  return Default();
}

LRESULT CControlBar::OnNcLButtonDblClkMsg(WPARAM wParam, LPARAM) {
  if (wParam == HTCAPTION) {
    if (m_pDockContext) m_pDockContext->ToggleDocking();
    return 0;
  }
  return Default();
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_pDockContext && !IsFloating()) {
    ::ClientToScreen(m_hWnd, &point);
    m_pDockContext->StartDrag(point);
    return;
  }
  CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_pDockContext) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CWnd::OnLButtonDblClk(nFlags, point);
}

BOOL CControlBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  // Commands of the bar's controls go on to the frame.
  CFrameWnd* frame = GetDockingFrame();
  if (!frame || !frame->m_hWnd || frame->m_hWnd == m_hWnd) return FALSE;
  ::SendMessageW(frame->m_hWnd, WM_COMMAND, wParam, lParam);
  return TRUE;
}

BOOL CControlBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return CWnd::OnNotify(wParam, lParam, pResult);
}

// ---------------------------------------------------------------------------
// CToolBar

namespace {

// A toolbar command's update: the button's enabled and checked state.
class CToolCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    HWND bar = m_pOther->m_hWnd;
    LRESULT state = ::SendMessageW(bar, TB_GETSTATE, m_nID, 0);
    if (state == -1) return;
    state = bOn ? (state | TBSTATE_ENABLED) : (state & ~TBSTATE_ENABLED);
    ::SendMessageW(bar, TB_SETSTATE, m_nID, MAKELPARAM(static_cast<WORD>(state), 0));
  }
  void SetCheck(int nCheck) override {
    HWND bar = m_pOther->m_hWnd;
    LRESULT state = ::SendMessageW(bar, TB_GETSTATE, m_nID, 0);
    if (state == -1) return;
    state &= ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
    if (nCheck == 1) state |= TBSTATE_CHECKED;
    else if (nCheck == 2) state |= TBSTATE_INDETERMINATE;
    ::SendMessageW(bar, TB_SETSTATE, m_nID, MAKELPARAM(static_cast<WORD>(state), 0));
  }
  void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
  void SetText(CStrArg) override {}
};

}  // namespace

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CToolBar::CToolBar() {
  m_cxLeftBorder = m_cxRightBorder = 1;
  m_cyTopBorder = m_cyBottomBorder = 1;
}

CToolBar::~CToolBar() {
  if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                        UINT nID) {
  AfxInitCommonControls();
  if (!pParentWnd) return FALSE;
  m_dwStyle = dwStyle & CBRS_ALL;
  if (!rcBorders.IsRectNull()) {
    m_cxLeftBorder = rcBorders.left;
    m_cyTopBorder = rcBorders.top;
    m_cxRightBorder = rcBorders.right;
    m_cyBottomBorder = rcBorders.bottom;
  }
  DWORD style = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                CCS_NODIVIDER | CCS_NORESIZE;
  if (m_dwStyle & CBRS_TOOLTIPS) style |= TBSTYLE_TOOLTIPS;
  if (!CWnd::Create(TOOLBARCLASSNAMEW, nullptr, style, CRect(0, 0, 0, 0), pParentWnd, nID))
    return FALSE;
  ::SendMessageW(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(m_hWnd, TB_SETPARENT, reinterpret_cast<WPARAM>(pParentWnd->m_hWnd), 0);
  AttachToFrame();
  return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  m_sizeButton = sizeButton;
  m_sizeImage = sizeImage;
  if (!m_hWnd) return;
  ::SendMessageW(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
  ::SendMessageW(m_hWnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

BOOL CToolBar::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEW(nIDResource)); }

BOOL CToolBar::LoadBitmap(CStrArg lpszResourceName) {
  if (!m_hWnd) return FALSE;
  HINSTANCE instance = AfxGetResourceHandle();
  // Button face colours become the system's.
  HBITMAP bitmap = nullptr;
  if (lpszResourceName.IsResourceId())
    bitmap = ::CreateMappedBitmap(instance,
                                  static_cast<INT_PTR>(reinterpret_cast<UINT_PTR>(lpszResourceName.get())),
                                  0, nullptr, 0);
  if (!bitmap)
    bitmap = static_cast<HBITMAP>(::LoadImageW(instance, lpszResourceName, IMAGE_BITMAP, 0, 0,
                                               LR_LOADMAP3DCOLORS));
  if (!bitmap) return FALSE;
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof info, &info);
  const int images = m_sizeImage.cx > 0 ? info.bmWidth / m_sizeImage.cx : 0;
  TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
  if (::SendMessageW(m_hWnd, TB_ADDBITMAP, static_cast<WPARAM>(images),
                     reinterpret_cast<LPARAM>(&add)) == -1) {
    ::DeleteObject(bitmap);
    return FALSE;
  }
  if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
  m_hbmImageWell = bitmap;
  return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEW(nIDResource)); }

BOOL CToolBar::LoadToolBar(CStrArg lpszResourceName) {
  if (!m_hWnd || lpszResourceName.IsNull()) return FALSE;
  HINSTANCE instance = AfxGetResourceHandle();
  HRSRC info = ::FindResourceW(instance, lpszResourceName, MAKEINTRESOURCEW(241));
  if (!info) return FALSE;
  HGLOBAL global = ::LoadResource(instance, info);
  const auto* words = global ? static_cast<const WORD*>(::LockResource(global)) : nullptr;
  const DWORD bytes = ::SizeofResource(instance, info);
  // Version, image width and height, count, then the command ids.
  if (!words || bytes < 8 || words[0] != 1) return FALSE;
  const int count = words[3];
  if (bytes < static_cast<DWORD>(8 + 2 * count)) return FALSE;
  std::vector<UINT> ids(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) ids[static_cast<size_t>(i)] = words[4 + i];
  const CSize image(words[1], words[2]);
  SetSizes(CSize(image.cx + 7, image.cy + 7), image);
  if (!SetButtons(ids.data(), count)) return FALSE;
  return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  if (!m_hWnd) return FALSE;
  while (::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0) > 0) ::SendMessageW(m_hWnd, TB_DELETEBUTTON, 0, 0);
  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (int i = 0; i < nIDCount; ++i) {
    TBBUTTON b{};
    const UINT id = lpIDArray ? lpIDArray[i] : 0;
    if (id == ID_SEPARATOR) {
      b.fsStyle = TBSTYLE_SEP;
      b.iBitmap = 6;
    } else {
      b.idCommand = static_cast<int>(id);
      b.iBitmap = image++;
      b.fsStyle = TBSTYLE_BUTTON;
      b.fsState = TBSTATE_ENABLED;
    }
    buttons.push_back(b);
  }
  if (!buttons.empty() &&
      !::SendMessageW(m_hWnd, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
    return FALSE;
  m_nCount = nIDCount;
  return TRUE;
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
  return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, TB_COMMANDTOINDEX, nIDFind, 0)) : -1;
}

UINT CToolBar::GetItemID(int nIndex) const {
  TBBUTTON b{};
  if (!m_hWnd || !::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                                 reinterpret_cast<LPARAM>(&b)))
    return 0;
  return (b.fsStyle & TBSTYLE_SEP) ? ID_SEPARATOR : static_cast<UINT>(b.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  if (m_hWnd)
    ::SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
  TBBUTTON b{};
  if (!m_hWnd || !::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                                 reinterpret_cast<LPARAM>(&b)))
    return 0;
  return MAKELONG(b.fsStyle, b.fsState);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  UINT id = 0, style = 0;
  int image = 0;
  GetButtonInfo(nIndex, id, style, image);
  SetButtonInfo(nIndex, id, nStyle, image);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
  TBBUTTON b{};
  nID = 0;
  nStyle = 0;
  iImage = 0;
  if (!m_hWnd || !::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                                 reinterpret_cast<LPARAM>(&b)))
    return;
  nID = static_cast<UINT>(b.idCommand);
  nStyle = MAKELONG(b.fsStyle, b.fsState);
  iImage = b.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
  if (!m_hWnd) return;
  TBBUTTONINFOW info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_STATE | TBIF_IMAGE;
  info.idCommand = static_cast<int>(nID);
  info.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
  info.fsState = static_cast<BYTE>(HIWORD(nStyle));
  info.iImage = iImage;
  ::SendMessageW(m_hWnd, TB_SETBUTTONINFOW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
}

CSize CToolBar::LayButtons(BOOL bHorz) {
  if (!m_hWnd) return CSize(0, 0);
  const int count = static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
  // Vertical bars wrap after every button.
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    ::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
    BYTE state = b.fsState;
    state = bHorz ? static_cast<BYTE>(state & ~TBSTATE_WRAP) : static_cast<BYTE>(state | TBSTATE_WRAP);
    if (state != b.fsState) {
      TBBUTTONINFOW info{};
      info.cbSize = sizeof info;
      info.dwMask = TBIF_BYINDEX | TBIF_STATE;
      info.fsState = state;
      ::SendMessageW(m_hWnd, TB_SETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
  }
  CRect extent(0, 0, 0, 0);
  for (int i = 0; i < count; ++i) {
    CRect item;
    if (!::SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
      continue;
    if (!bHorz) {
      TBBUTTON b{};
      ::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
      if (b.fsStyle & TBSTYLE_SEP) continue;  // wrapped separators are gaps
    }
    extent.right = std::max(extent.right, item.right);
    extent.bottom = std::max(extent.bottom, item.bottom);
  }
  if (extent.right == 0) extent.right = m_sizeButton.cx;
  if (extent.bottom == 0) extent.bottom = m_sizeButton.cy;
  return CSize(extent.right, extent.bottom);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  const CRect insets = CalcNcInsets();
  CSize size = LayButtons(bHorz);
  size.cx += insets.left + insets.right;
  size.cy += insets.top + insets.bottom;
  if (bStretch) {
    if (bHorz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

CSize CToolBar::CalcDynamicLayout(int /*nLength*/, DWORD nMode) {
  if (nMode & LM_HORZDOCK) return CalcFixedLayout((nMode & LM_STRETCH) != 0, TRUE);
  if (nMode & LM_VERTDOCK) return CalcFixedLayout((nMode & LM_STRETCH) != 0, FALSE);
  // Floating: one row.
  return CalcFixedLayout(FALSE, TRUE);
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  if (!m_hWnd) return;
  if ((dwOldStyle ^ dwNewStyle) & CBRS_TOOLTIPS) {
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE,
                        (dwNewStyle & CBRS_TOOLTIPS) ? (style | TBSTYLE_TOOLTIPS)
                                                     : (style & ~static_cast<LONG_PTR>(TBSTYLE_TOOLTIPS)));
  }
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  if (!m_hWnd) return;
  CToolCmdUI state;
  state.m_pOther = this;
  const int count = static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
  state.m_nIndexMax = static_cast<UINT>(count);
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    if (!::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)))
      continue;
    if (b.fsStyle & TBSTYLE_SEP) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = static_cast<UINT>(b.idCommand);
    state.m_bEnableChanged = FALSE;
    state.m_bContinueRouting = FALSE;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  // Buttons take their clicks; the rest of the bar drags it.
  POINT pt = point;
  const LRESULT hit = ::SendMessageW(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt));
  if (hit >= 0 || !m_pDockContext || IsFloating()) {
    Default();
    return;
  }
  CControlBar::OnLButtonDown(nFlags, point);
}

void CToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  POINT pt = point;
  const LRESULT hit = ::SendMessageW(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt));
  if (hit >= 0 || !m_pDockContext) {
    Default();
    return;
  }
  CControlBar::OnLButtonDblClk(nFlags, point);
}

// ---------------------------------------------------------------------------
// CStatusBar

// A pane's update: disabled panes show no text; checked ones pop out.
class CStatusCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    auto* bar = static_cast<CStatusBar*>(m_pOther);
    const UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
    const UINT next = bOn ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
    if (next != style) bar->SetPaneStyle(static_cast<int>(m_nIndex), next);
  }
  void SetCheck(int nCheck) override {
    auto* bar = static_cast<CStatusBar*>(m_pOther);
    const UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
    const UINT next = nCheck ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT);
    if (next != style) bar->SetPaneStyle(static_cast<int>(m_nIndex), next);
  }
  void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
  void SetText(CStrArg lpszText) override {
    static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText);
  }
};

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetTextMsg)
  ON_MESSAGE(WM_NCCALCSIZE, &CStatusBar::OnDefaultMsg)
  ON_MESSAGE(WM_NCPAINT, &CStatusBar::OnDefaultMsg)
  ON_MESSAGE(WM_NCHITTEST, &CStatusBar::OnDefaultMsg)
  ON_MESSAGE(WM_LBUTTONDOWN, &CStatusBar::OnDefaultMsg)
  ON_MESSAGE(WM_LBUTTONDBLCLK, &CStatusBar::OnDefaultMsg)
END_MESSAGE_MAP()

CStatusBar::CStatusBar() = default;
CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  AfxInitCommonControls();
  if (!pParentWnd) return FALSE;
  m_dwStyle = dwStyle & CBRS_ALL;
  DWORD style = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                CCS_NODIVIDER | CCS_NORESIZE;
  // A size grip when the frame can be resized.
  if (pParentWnd->m_hWnd && (::GetWindowLongPtrW(pParentWnd->m_hWnd, GWL_STYLE) & WS_THICKFRAME))
    style |= SBARS_SIZEGRIP;
  if (!CWnd::Create(STATUSCLASSNAMEW, nullptr, style, CRect(0, 0, 0, 0), pParentWnd, nID))
    return FALSE;
  AttachToFrame();
  return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (!m_hWnd || nIDCount < 0 || nIDCount > 255) return FALSE;
  m_panes.clear();
  BOOL ok = TRUE;
  HDC dc = ::GetDC(m_hWnd);
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  HGDIOBJ old = dc && font ? ::SelectObject(dc, font) : nullptr;
  for (int i = 0; i < nIDCount; ++i) {
    Pane pane{lpIDArray ? lpIDArray[i] : 0, SBPS_NORMAL, 0, CString()};
    if (pane.nID != ID_SEPARATOR) {
      if (!pane.strText.LoadString(pane.nID)) ok = FALSE;
      SIZE extent{0, 0};
      if (dc && !pane.strText.IsEmpty())
        ::GetTextExtentPoint32W(dc, pane.strText, pane.strText.GetLength(), &extent);
      pane.cxText = extent.cx;
    } else {
      pane.nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
    }
    m_panes.push_back(pane);
  }
  if (old) ::SelectObject(dc, old);
  if (dc) ::ReleaseDC(m_hWnd, dc);
  m_nCount = nIDCount;
  UpdateParts();
  for (int i = 0; i < nIDCount; ++i) ShowPaneText(i);
  return ok;
}

void CStatusBar::UpdateParts() {
  if (!m_hWnd || m_panes.empty()) return;
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  int borders[3] = {0, 0, 0};
  ::SendMessageW(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  const int padding = 2 * borders[1] + 8;
  int fixed = 0;
  int stretching = 0;
  for (const Pane& p : m_panes) {
    if (p.nStyle & SBPS_STRETCH) ++stretching;
    else fixed += p.cxText + padding;
  }
  int grip = (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int room = std::max(0, static_cast<int>(client.Width()) - fixed - grip);
  std::vector<int> rights;
  int x = 0;
  for (const Pane& p : m_panes) {
    x += (p.nStyle & SBPS_STRETCH) ? room / std::max(1, stretching) : p.cxText + padding;
    rights.push_back(x);
  }
  // Without a stretching pane the last one runs to the end.
  if (stretching == 0) rights.back() = -1;
  ::SendMessageW(m_hWnd, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

void CStatusBar::ShowPaneText(int nIndex) {
  if (!m_hWnd || nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) return;
  const Pane& p = m_panes[static_cast<size_t>(nIndex)];
  UINT type = static_cast<UINT>(nIndex);
  if (p.nStyle & SBPS_NOBORDERS) type |= SBT_NOBORDERS;
  if (p.nStyle & SBPS_POPOUT) type |= SBT_POPOUT;
  const CString shown = (p.nStyle & SBPS_DISABLED) ? CString() : p.strText;
  ::SendMessageW(m_hWnd, SB_SETTEXTW, type, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(shown)));
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
  Default();
  (void)nType;
  (void)cx;
  (void)cy;
  bool stretching = false;
  for (const Pane& p : m_panes)
    if (p.nStyle & SBPS_STRETCH) stretching = true;
  // Panes of fixed width keep the parts they were given.
  if (stretching) UpdateParts();
}

LRESULT CStatusBar::OnSetTextMsg(WPARAM, LPARAM lParam) {
  // The window text is the first pane's.
  SetPaneText(0, reinterpret_cast<LPCWSTR>(lParam));
  return TRUE;
}

LRESULT CStatusBar::OnDefaultMsg(WPARAM, LPARAM) { return Default(); }

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i].nID == nIDFind) return static_cast<int>(i);
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  return nIndex >= 0 && nIndex < static_cast<int>(m_panes.size()) ? m_panes[static_cast<size_t>(nIndex)].nID
                                                                   : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  if (m_hWnd)
    ::SendMessageW(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
}

CString CStatusBar::GetPaneText(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) return CString();
  return m_panes[static_cast<size_t>(nIndex)].strText;
}

BOOL CStatusBar::SetPaneText(int nIndex, CStrArg lpszNewText, BOOL bUpdate) {
  if (nIndex < 0) return FALSE;
  // A bar without indicators still shows text in its one part.
  if (m_panes.empty() && nIndex == 0) {
    m_panes.push_back(Pane{ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 0, CString()});
    m_nCount = 1;
  }
  if (nIndex >= static_cast<int>(m_panes.size())) return FALSE;
  Pane& p = m_panes[static_cast<size_t>(nIndex)];
  const CString text = lpszNewText.get() ? CString(lpszNewText.get()) : CString();
  if (p.strText == text) return TRUE;
  p.strText = text;
  if (bUpdate) ShowPaneText(nIndex);
  return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  nID = 0;
  nStyle = 0;
  cxWidth = 0;
  if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) return;
  const Pane& p = m_panes[static_cast<size_t>(nIndex)];
  nID = p.nID;
  nStyle = p.nStyle;
  cxWidth = p.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) return;
  Pane& p = m_panes[static_cast<size_t>(nIndex)];
  p.nID = nID;
  p.nStyle = nStyle;
  p.cxText = cxWidth;
  UpdateParts();
  ShowPaneText(nIndex);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  return nIndex >= 0 && nIndex < static_cast<int>(m_panes.size())
             ? m_panes[static_cast<size_t>(nIndex)].nStyle
             : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) return;
  Pane& p = m_panes[static_cast<size_t>(nIndex)];
  if (p.nStyle == nStyle) return;
  const bool stretchChanged = ((p.nStyle ^ nStyle) & SBPS_STRETCH) != 0;
  p.nStyle = nStyle;
  if (stretchChanged) UpdateParts();
  ShowPaneText(nIndex);
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  // The height of a line of the bar's font with the control's borders.
  int height = 20;
  if (m_hWnd) {
    HDC dc = ::GetDC(m_hWnd);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = dc && font ? ::SelectObject(dc, font) : nullptr;
    TEXTMETRICW tm{};
    if (dc && ::GetTextMetricsW(dc, &tm)) {
      int borders[3] = {0, 0, 0};
      ::SendMessageW(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
      height = std::max<int>(tm.tmHeight + 2 * borders[1] + 6, ::GetSystemMetrics(SM_CYHSCROLL) + 2);
    }
    if (old) ::SelectObject(dc, old);
    if (dc) ::ReleaseDC(m_hWnd, dc);
  }
  int width = 0;
  for (const Pane& p : m_panes) width += p.cxText + 12;
  if (bStretch || !bHorz) width = 32767;
  return CSize(width, height);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_panes.size());
  for (size_t i = 0; i < m_panes.size(); ++i) {
    const UINT id = m_panes[i].nID;
    if (id == ID_SEPARATOR) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = id;
    state.m_bEnableChanged = FALSE;
    state.m_bContinueRouting = FALSE;
    // Panes without a handler stay as they are.
    state.DoUpdate(pTarget, FALSE);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
