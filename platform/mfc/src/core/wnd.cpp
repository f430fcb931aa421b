// CWnd: handle map, creation, subclassing, message dispatch and the window
// services.
#include "afx_impl.h"

using afx_impl::Thread;

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

void ReleaseTempWnd(CObject* object) {
  CWnd* wnd = static_cast<CWnd*>(object);
  wnd->m_hWnd = nullptr;
  delete wnd;
}

void AttachTempWnd(CWnd* wnd, HWND hWnd) {
  wnd->m_hWnd = hWnd;
  wnd->m_nFlags |= WF_TEMPORARY;
}

bool IsReflectableMessage(UINT message) {
  switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
      return true;
    default:
      return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Handle map

CWnd::~CWnd() {
  if (!(m_nFlags & WF_PERMANENT) || !m_hWnd) return;
  // The window outlives its object: it goes back to its own window procedure
  // (the default one for framework classes) and is destroyed.
  HWND hWnd = m_hWnd;
  if (m_pfnSuper &&
      reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &AfxWndProc)
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  Detach();
  ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  if (!hWnd) return nullptr;
  auto& windows = Thread().windows;
  auto it = windows.find(hWnd);
  return it == windows.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  if (CWnd* permanent = FromHandlePermanent(hWnd)) return permanent;
  return afx_impl::TempWrapper<CWnd, HWND>(afx_impl::kTempWnd, hWnd, &AttachTempWnd, &ReleaseTempWnd);
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew || m_hWnd) return FALSE;
  auto& windows = Thread().windows;
  if (windows.count(hWndNew)) return FALSE;
  windows[hWndNew] = this;
  m_hWnd = hWndNew;
  m_nFlags |= WF_PERMANENT;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd && (m_nFlags & WF_PERMANENT)) {
    auto& windows = Thread().windows;
    auto it = windows.find(hWnd);
    if (it != windows.end() && it->second == this) windows.erase(it);
  }
  m_hWnd = nullptr;
  m_nFlags &= ~static_cast<UINT>(WF_PERMANENT);
  return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  const WNDPROC old = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (!old) {
    Detach();
    return FALSE;
  }
  if (old != &AfxWndProc) m_pfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  if (!pParent || !pParent->m_hWnd) return FALSE;
  HWND hWnd = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
  return hWnd ? SubclassWindow(hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

void afx_impl::WindowDestroyed(CWnd* pWnd, HWND hWnd) {
  if (pWnd->m_hWnd != hWnd || CWnd::FromHandlePermanent(hWnd) != pWnd) return;
  if (pWnd->m_pfnSuper &&
      reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &AfxWndProc)
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
  pWnd->m_pfnSuper = nullptr;
  pWnd->Detach();
  // The main window gone, the thread's message loop ends.
  if (CWinThread* thread = AfxGetThread()) {
    if (thread->m_pMainWnd == pWnd) {
      thread->m_pMainWnd = nullptr;
      AfxPostQuitMessage(0);
    }
    if (thread->m_pActiveWnd == pWnd) thread->m_pActiveWnd = nullptr;
  }
  pWnd->PostNcDestroy();
}

// ---------------------------------------------------------------------------
// Creation

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  return TRUE;
}

BOOL CWnd::Create(CStrArg lpszClassName, CStrArg lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, CStrArg lpszClassName, CStrArg lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, CStrArg lpszClassName, CStrArg lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
  if (m_hWnd) return FALSE;
  CREATESTRUCTW cs{};
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  // The class the hook waits for.
  ATOM atom = 0;
  if (cs.lpszClass) {
    if (IS_INTRESOURCE(cs.lpszClass)) {
      atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(cs.lpszClass));
    } else {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      atom = static_cast<ATOM>(::GetClassInfoExW(cs.hInstance, cs.lpszClass, &wc));
      if (!atom) atom = static_cast<ATOM>(::GetClassInfoExW(nullptr, cs.lpszClass, &wc));
    }
  }
  AfxHookWindowCreate(this);
  Thread().expectedAtom = atom;
  HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                                cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  const BOOL attached = AfxUnhookWindowCreate();
  if (!hWnd) return FALSE;
  // A window the hook did not see is subclassed now (its creation messages
  // went past the map).
  if (!attached && !m_hWnd) SubclassWindow(hWnd);
  return m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  HWND hWnd = m_hWnd;
  const bool runsThroughMap =
      FromHandlePermanent(hWnd) == this &&
      reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &AfxWndProc;
  const BOOL result = ::DestroyWindow(hWnd);
  // A window that ran through the map was detached at WM_NCDESTROY (and this
  // object may be gone); an attached one is detached here.
  if (!runsThroughMap && m_hWnd == hWnd && !::IsWindow(hWnd)) Detach();
  return result;
}

// ---------------------------------------------------------------------------
// Dispatch

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = Thread().lastSentMsg;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  switch (message) {
    case WM_COMMAND:
      if (!OnCommand(wParam, lParam)) return FALSE;
      if (pResult) *pResult = 1;
      return TRUE;
    case WM_NOTIFY:
      if (!OnNotify(wParam, lParam, &result)) return FALSE;
      if (pResult) *pResult = result;
      return TRUE;
    default:
      break;
  }
  // Messages about a control go to the control first.
  if (IsReflectableMessage(message)) {
    HWND child = nullptr;
    switch (message) {
      case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (dis && dis->CtlType != ODT_MENU) child = dis->hwndItem;
        break;
      }
      case WM_MEASUREITEM: {
        const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (mis && mis->CtlType != ODT_MENU) child = ::GetDlgItem(m_hWnd, static_cast<int>(mis->CtlID));
        break;
      }
      case WM_DELETEITEM: {
        const auto* dis = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
        if (dis) child = dis->hwndItem;
        break;
      }
      case WM_COMPAREITEM: {
        const auto* cis = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam);
        if (cis) child = cis->hwndItem;
        break;
      }
      case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY)
          child = reinterpret_cast<HWND>(lParam);
        break;
      default:
        child = reinterpret_cast<HWND>(lParam);
        break;
    }
    if (child && child != m_hWnd && ReflectLastMsg(child, &result)) {
      if (pResult) *pResult = result;
      return TRUE;
    }
  }
  if (!DispatchWindowMessage(message, wParam, lParam, &result)) return FALSE;
  if (pResult) *pResult = result;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam);
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (!hWndCtrl) {
    // Menu or accelerator: a command its update handler disables is not run.
    if (nID == 0) return FALSE;
    if (!afx_impl::CommandEnabled(this, nID)) return TRUE;
    nCode = CN_COMMAND;
  } else {
    if (ReflectLastMsg(hWndCtrl)) return TRUE;
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header) return FALSE;
  if (header->hwndFrom && header->hwndFrom != m_hWnd && ReflectLastMsg(header->hwndFrom, pResult))
    return TRUE;
  LRESULT ignored = 0;
  AFX_NOTIFY notify{pResult ? pResult : &ignored, header};
  return OnCmdMsg(static_cast<UINT>(header->idFrom), static_cast<int>(MAKELONG(header->code, WM_NOTIFY)),
                  &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_COMMAND: {
      const int code = static_cast<int>(MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND));
      if (!CCmdTarget::OnCmdMsg(0, code, nullptr, nullptr)) return FALSE;
      if (pResult) *pResult = 1;
      return TRUE;
    }
    case WM_NOTIFY: {
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header) return FALSE;
      LRESULT ignored = 0;
      AFX_NOTIFY notify{pResult ? pResult : &ignored, header};
      const int code = static_cast<int>(MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY));
      return CCmdTarget::OnCmdMsg(0, code, &notify, nullptr);
    }
    default:
      if (!IsReflectableMessage(message)) return FALSE;
      return DispatchWindowMessage(WM_REFLECT_BASE + message, wParam, lParam, pResult);
  }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* child = FromHandlePermanent(hWndChild);
  return child ? child->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG m = Thread().lastSentMsg;
  return OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
  SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
  for (HWND child = ::GetTopWindow(hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (bOnlyPerm) {
      if (CWnd* pWnd = FromHandlePermanent(child)) AfxCallWndProc(pWnd, child, message, wParam, lParam);
    } else {
      ::SendMessageW(child, message, wParam, lParam);
    }
    if (bDeep && ::IsWindow(child) && ::GetTopWindow(child))
      SendMessageToDescendants(child, message, wParam, lParam, bDeep, bOnlyPerm);
  }
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  DWORD exStyle = GetExStyle();
  if (nAdjustType == adjustBorder) exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, exStyle);
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

// ---------------------------------------------------------------------------
// Services

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE));
  const DWORD newStyle = (style & ~dwRemove) | dwAdd;
  if (style == newStyle) return FALSE;
  ::SetWindowLongPtrW(hWnd, GWL_STYLE, static_cast<LONG_PTR>(newStyle));
  if (nFlags)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_EXSTYLE));
  const DWORD newStyle = (style & ~dwRemove) | dwAdd;
  if (style == newStyle) return FALSE;
  ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(newStyle));
  if (nFlags)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

void CWnd::GetWindowText(CString& rString) const {
  const int n = ::GetWindowTextLengthW(m_hWnd);
  LPWSTR buffer = rString.GetBuffer(n + 1);
  ::GetWindowTextW(m_hWnd, buffer, n + 1);
  rString.ReleaseBuffer();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
  ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  return font ? CFont::FromHandle(font) : nullptr;
}

void CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  ::SendMessageW(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const {
  return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
  ::MapWindowPoints(m_hWnd, pwndTo ? pwndTo->m_hWnd : nullptr, lpPoint, nCount);
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
  ::MapWindowPoints(m_hWnd, pwndTo ? pwndTo->m_hWnd : nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  const DWORD style = GetStyle();
  HWND center = pAlternateOwner ? pAlternateOwner->m_hWnd : nullptr;
  if (!center) center = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
  RECT area{};
  if (style & WS_CHILD) {
    HWND parent = ::GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
    if (center && center != parent) {
      RECT r{};
      ::GetWindowRect(center, &r);
      ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&r), 2);
      area = r;
    }
  } else {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
    area = mi.rcWork;
    if (center && ::IsWindowVisible(center) && !::IsIconic(center)) ::GetWindowRect(center, &area);
  }
  RECT self{};
  ::GetWindowRect(m_hWnd, &self);
  const int w = self.right - self.left;
  const int h = self.bottom - self.top;
  const int x = (area.left + area.right - w) / 2;
  const int y = (area.top + area.bottom - h) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }

int CWnd::SetDlgCtrlID(int nID) {
  return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID)));
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) {
  ::InvalidateRgn(m_hWnd, pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr, bErase);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
  return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate ? static_cast<HRGN>(prgnUpdate->m_hObject) : nullptr,
                        flags);
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }

int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                         LPRECT lpRectUpdate, UINT flags) {
  return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                          prgnUpdate ? static_cast<HRGN>(prgnUpdate->m_hObject) : nullptr, lpRectUpdate, flags);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  return TRUE;
}

int CWnd::GetScrollLimit(int nBar) {
  SCROLLINFO si{};
  if (!GetScrollInfo(nBar, &si, SIF_RANGE | SIF_PAGE)) return 0;
  const int page = si.nPage > 0 ? static_cast<int>(si.nPage) - 1 : 0;
  return std::max(si.nMin, si.nMax - page);
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
  return FromHandle(::SetParent(m_hWnd, pWndNewParent ? pWndNewParent->m_hWnd : nullptr));
}

CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }

void CWnd::SetOwner(CWnd* pOwnerWnd) {
  ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT,
                      reinterpret_cast<LONG_PTR>(pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr));
}

CWnd* CWnd::GetTopLevelParent() const {
  if (!m_hWnd) return nullptr;
  HWND top = m_hWnd;
  while (::GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD) {
    HWND parent = ::GetParent(top);
    if (!parent) break;
    top = parent;
  }
  return FromHandle(top);
}

CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::GetDlgCtrlID(child) == nID) {
      CWnd* found = bOnlyPerm ? FromHandlePermanent(child) : FromHandle(child);
      if (found) return found;
    }
  }
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CWnd wrapper;
    wrapper.m_hWnd = child;
    CWnd* found = wrapper.GetDescendantWindow(nID, bOnlyPerm);
    wrapper.m_hWnd = nullptr;
    if (found) return found;
  }
  return nullptr;
}

CWnd* CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
CWnd* CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
CWnd* CWnd::FindWindow(CStrArg lpszClassName, CStrArg lpszWindowName) {
  return FromHandle(::FindWindowW(lpszClassName, lpszWindowName));
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND item = ::GetDlgItem(m_hWnd, nID);
  if (!item) return 0;
  const int n = ::GetWindowTextLengthW(item);
  LPWSTR buffer = rString.GetBuffer(n + 1);
  ::GetWindowTextW(item, buffer, n + 1);
  rString.ReleaseBuffer();
  return rString.GetLength();
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (!pTarget) return;
  CCmdUI state;
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const int id = ::GetDlgCtrlID(child);
    if (id <= 0) continue;
    state.m_pOther = FromHandle(child);
    state.m_nID = static_cast<UINT>(id);
    state.m_pMenu = nullptr;
    // Only push buttons are disabled for want of a handler.
    BOOL disable = FALSE;
    if (bDisableIfNoHndler && (::SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
      const UINT type = static_cast<UINT>(::GetWindowLongPtrW(child, GWL_STYLE)) & 0x0F;
      disable = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    }
    state.DoUpdate(pTarget, disable);
  }
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

int CWnd::MessageBox(CStrArg lpszText, CStrArg lpszCaption, UINT nType) {
  int answer = 0;
  if (afx_impl::MessageBoxThroughHook(lpszText, nType, answer)) return answer;
  return ::MessageBoxW(m_hWnd, lpszText, lpszCaption.IsNull() ? AfxGetAppName() : lpszCaption.get(), nType);
}

// ---------------------------------------------------------------------------
// Modal loop

int CWnd::RunModalLoop(DWORD dwFlags) {
  m_nFlags |= WF_CONTINUEMODAL | WF_MODALLOOP;
  bool idle = true;
  LONG idleCount = 0;
  bool showIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND parent = ::GetParent(m_hWnd);
  MSG msg{};
  while (m_nFlags & WF_CONTINUEMODAL) {
    while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (showIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        showIdle = false;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && parent && idleCount == 0)
        ::SendMessageW(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
      if ((dwFlags & MLF_NOKICKIDLE) || !::SendMessageW(m_hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
        idle = false;
    }
    if (!AfxPumpMessage()) {
      AfxPostQuitMessage(0);
      break;
    }
    if (showIdle && ::IsWindow(m_hWnd)) {
      ShowWindow(SW_SHOWNORMAL);
      UpdateWindow();
      showIdle = false;
    }
    idle = true;
    idleCount = 0;
  }
  m_nFlags &= ~static_cast<UINT>(WF_MODALLOOP | WF_CONTINUEMODAL);
  return m_nModalResult;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL);
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
  }
}

// ---------------------------------------------------------------------------
// Default message handlers

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSettingChange(UINT, CStrArg) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
BOOL CWnd::OnQueryEndSession() { return static_cast<BOOL>(Default()); }
void CWnd::OnEndSession(BOOL) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }

namespace afx_impl {

namespace {

// Records whether a command is enabled, for the check before it runs.
class CEnableProbe : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(CStrArg) override {}
  BOOL m_bEnabled = TRUE;
};

}  // namespace

bool CommandEnabled(CCmdTarget* target, UINT nID) {
  CEnableProbe probe;
  probe.m_nID = nID;
  target->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, nullptr);
  return probe.m_bEnabled != FALSE;
}

}  // namespace afx_impl
