// CFrameWnd: creation from resources, client and bar layout, the active view
// and command routing, update-UI of menus and bars, status bar messages,
// docking services; and the window services that need frames
// (CWnd::GetParentFrame, CWnd::RepositionBars).
#include <afxwin.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

#include "../core/afx_impl.h"
#include "frame_internal.h"

namespace afx_frame {

CString SubString(const CString& text, int nIndex) {
  int start = 0;
  for (int i = 0; i < nIndex; ++i) {
    const int next = text.Find(L'\n', start);
    if (next < 0) return CString();
    start = next + 1;
  }
  const int end = text.Find(L'\n', start);
  return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

namespace {
// Frames and views are made and deleted on any thread (each user-interface
// thread has its own): the set is shared under a lock.
struct LiveSet {
  std::mutex lock;
  std::set<const void*> objects;
};
LiveSet& LiveObjects() {
  static LiveSet live;
  return live;
}
}  // namespace

void ObjectCreated(const void* object) {
  LiveSet& live = LiveObjects();
  std::lock_guard<std::mutex> guard(live.lock);
  live.objects.insert(object);
}
void ObjectDeleted(const void* object) {
  LiveSet& live = LiveObjects();
  std::lock_guard<std::mutex> guard(live.lock);
  live.objects.erase(object);
}
bool WasDeleted(const void* object) {
  LiveSet& live = LiveObjects();
  std::lock_guard<std::mutex> guard(live.lock);
  return live.objects.count(object) == 0;
}

CString PromptString(UINT nID) {
  CString text;
  if (nID != 0) text.LoadString(nID);
  return SubString(text, 0);
}

}  // namespace afx_frame

// ---------------------------------------------------------------------------
// Window services that know about frames.

CFrameWnd* CWnd::GetParentFrame() const {
  if (!m_hWnd) return nullptr;
  for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h))
    if (CFrameWnd* frame = AFX_PERMANENT_AS(CFrameWnd, h)) return frame;
  return nullptr;
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag,
                          LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch) {
  if (!m_hWnd) return;
  const bool query = (nFlag & reposQuery) != 0;
  AFX_SIZEPARENTPARAMS layout{};
  layout.bStretch = bStretch;
  if (lpRectClient) layout.rect = *lpRectClient;
  else ::GetClientRect(m_hWnd, &layout.rect);
  layout.hDWP = query ? nullptr : ::BeginDeferWindowPos(8);

  // Bars take their space in the order of the windows (creation order).
  HWND leftOver = nullptr;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id == nIDLeftOver) leftOver = child;
    else if (id >= nIDFirst && id <= nIDLast)
      ::SendMessage(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }

  if (query) {
    if (lpRectParam) {
      if (bStretch) *lpRectParam = layout.rect;
      else ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
    }
    return;
  }
  if (leftOver && !(nFlag & reposNoPosLeftOver)) {
    CRect rect(layout.rect);
    if ((nFlag & reposExtra) && lpRectParam) {
      rect.left += lpRectParam->left;
      rect.top += lpRectParam->top;
      rect.right -= lpRectParam->right;
      rect.bottom -= lpRectParam->bottom;
    }
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    if (layout.hDWP)
      layout.hDWP = ::DeferWindowPos(layout.hDWP, leftOver, nullptr, rect.left, rect.top,
                                     rect.Width(), rect.Height(),
                                     SWP_NOACTIVATE | SWP_NOZORDER);
    else
      ::SetWindowPos(leftOver, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                     SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

// ---------------------------------------------------------------------------
// CFrameWnd

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_INITMENUPOPUP, &CFrameWnd::OnInitMenuPopupMsg)
  ON_MESSAGE(WM_MENUSELECT, &CFrameWnd::OnMenuSelectMsg)
  ON_MESSAGE(WM_EXITMENULOOP, &CFrameWnd::OnExitMenuLoopMsg)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
  ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
  ON_MESSAGE(afx_frame::kDelayedLayoutMessage, &CFrameWnd::OnDelayedLayout)
  ON_COMMAND(ID_VIEW_TOOLBAR, &CFrameWnd::OnViewToolBar)
  ON_COMMAND(ID_VIEW_STATUS_BAR, &CFrameWnd::OnViewStatusBar)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() { afx_frame::ObjectCreated(this); }

CFrameWnd::~CFrameWnd() { afx_frame::ObjectDeleted(this); }

void CFrameWnd::PostNcDestroy() {
  // Frames live on the heap and go with their window.
  delete this;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) {
    // The registered name stays where it is; frames of any thread ask for it.
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
  }
  // The document's name goes first in the title.
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
  return TRUE;
}

BOOL CFrameWnd::Create(CStrArg lpszClassName, CStrArg lpszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, CStrArg lpszMenuName,
                       DWORD dwExStyle, CCreateContext* pContext) {
  AfxInitCommonControls();
  m_strTitle = lpszWindowName.get() ? CString(lpszWindowName.get()) : CString();
  HMENU menu = nullptr;
  if (!lpszMenuName.IsNull()) {
    menu = ::LoadMenuW(AfxGetResourceHandle(), lpszMenuName);
    if (!menu) return FALSE;
  }
  // The default rectangle leaves place and size to the system.
  const bool byDefault = rect.left == CW_USEDEFAULT;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left,
                byDefault ? CW_USEDEFAULT : rect.top,
                byDefault ? CW_USEDEFAULT : rect.right - rect.left,
                byDefault ? CW_USEDEFAULT : rect.bottom - rect.top,
                pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, menu, pContext)) {
    if (menu) ::DestroyMenu(menu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  HINSTANCE resources = AfxGetResourceHandle();
  CString strings;
  strings.LoadString(nIDResource);
  const CString title = afx_frame::SubString(strings, 0);

  HICON icon = ::LoadIconW(resources, MAKEINTRESOURCEW(nIDResource));
  const CString cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
  // The menu is optional; an id without one gives a frame without a menu.
  const bool hasMenu =
      ::FindResourceW(resources, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(4)) != nullptr;
  if (!Create(cls, title, dwDefaultStyle, rectDefault, pParentWnd,
              hasMenu ? CStrArg(MAKEINTRESOURCEW(nIDResource)) : CStrArg(nullptr), 0, pContext))
    return FALSE;
  m_strTitle = title;
  m_hAccelTable = ::LoadAcceleratorsW(resources, MAKEINTRESOURCEW(nIDResource));
  if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CCreateContext* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
  if (!OnCreateClient(lpCreateStruct, context)) return -1;
  RecalcLayout();
  ::PostMessage(m_hWnd, WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT /*lpcs*/, CCreateContext* pContext) {
  if (pContext && pContext->m_pNewViewClass) return CreateView(pContext) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  if (!pContext || !pContext->m_pNewViewClass) return nullptr;
  CObject* object = pContext->m_pNewViewClass->CreateObject();
  CWnd* view = object && object->IsKindOf(RUNTIME_CLASS(CWnd)) ? static_cast<CWnd*>(object)
                                                                 : nullptr;
  if (!view) {
    delete object;
    return nullptr;
  }
  if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID,
                    pContext)) {
    // Views delete themselves when their window goes; one that never had a
    // window is deleted here.
    if (!afx_frame::WasDeleted(view) && !view->m_hWnd) delete view;
    return nullptr;
  }
  return view;
}

void CFrameWnd::OnDestroy() {
  // The bars' windows go with the frame; they no longer point at it.
  for (CControlBar* bar : m_listControlBars) {
    bar->m_pDockSite = nullptr;
    if (bar->m_pDockContext) bar->m_pDockContext->m_pDockSite = nullptr;
  }
  m_listControlBars.clear();
  m_pViewActive = nullptr;
  CWnd::OnDestroy();
}

void CFrameWnd::OnClose() {
  const HWND self = m_hWnd;
  CDocument* doc = GetActiveDocument();
  if (doc && !doc->CanCloseFrame(this)) return;

  CWinThread* thread = AfxGetThread();
  if (thread && thread->m_pMainWnd == this) {
    // Closing the main window ends the application: every document goes,
    // taking its frames (this one among them) along.
    CWinApp* app = AfxGetApp();
    if (app) {
      const std::vector<CDocTemplate*> templates = app->m_templateList;
      for (CDocTemplate* t : templates)
        if (!t->SaveAllModified()) return;
      for (CDocTemplate* t : templates) t->CloseAllDocuments(FALSE);
    }
    if (!::IsWindow(self)) return;
  } else if (doc && doc->m_bAutoDelete && doc->GetViewCount() > 0) {
    // The last frame of a document closes the document.
    bool other = false;
    for (CView* v : doc->m_viewList)
      if (v->GetParentFrame() != this) other = true;
    if (!other) {
      doc->OnCloseDocument();
      return;
    }
  }
  if (::IsWindow(self)) DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  if (m_pViewActive && m_pViewActive->m_hWnd) ::SetFocus(m_pViewActive->m_hWnd);
}

void CFrameWnd::RecalcLayout(BOOL /*bNotify*/) {
  if (m_bInRecalcLayout || !m_hWnd) return;
  m_bInRecalcLayout = TRUE;
  m_bLayoutPending = FALSE;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, nullptr);
  m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL /*bNotify*/) {
  if (m_bLayoutPending || !m_hWnd) return;
  m_bLayoutPending = TRUE;
  ::PostMessage(m_hWnd, afx_frame::kDelayedLayoutMessage, 0, 0);
}

LRESULT CFrameWnd::OnDelayedLayout(WPARAM, LPARAM) {
  if (m_bLayoutPending) RecalcLayout();
  return 0;
}

CDocument* CFrameWnd::GetActiveDocument() {
  return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* old = m_pViewActive;
  if (old == pViewNew) return;
  m_pViewActive = nullptr;
  if (old && bNotify) old->OnActivateView(FALSE, pViewNew, old);
  m_pViewActive = pViewNew;
  if (pViewNew && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

namespace {

// The first view with the id, searched depth first below `parent`.
CView* FindView(HWND parent, UINT id) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (static_cast<UINT>(::GetDlgCtrlID(child)) == id)
      if (CView* view = AFX_PERMANENT_AS(CView, child)) return view;
    if (CView* view = FindView(child, id)) return view;
  }
  return nullptr;
}

}  // namespace

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* view = nullptr;
  if (!GetActiveView()) {
    view = FindView(m_hWnd, AFX_IDW_PANE_FIRST);
    if (view) SetActiveView(view, FALSE);
  }
  if (bMakeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (view) view->OnActivateFrame(WA_INACTIVE, this);
    ActivateFrame();
    if (view) view->OnActivateView(TRUE, view, view);
  }
  (void)pDoc;
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    if (!::IsWindowVisible(m_hWnd)) nCmdShow = SW_SHOWNORMAL;
    else if (::IsIconic(m_hWnd)) nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) {
    ::ShowWindow(m_hWnd, nCmdShow);
    RecalcLayout();
  }
  ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(GetStyle() & FWS_ADDTOTITLE)) return;
  CDocument* doc = GetActiveDocument();
  if (bAddToTitle && doc) UpdateFrameTitleForDocument(doc->GetTitle());
  else UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(CStrArg lpszDocName) {
  CString text;
  if (lpszDocName.IsNull() || !*lpszDocName.get()) {
    text = m_strTitle;
  } else if (GetStyle() & FWS_PREFIXTITLE) {
    text = CString(lpszDocName.get());
    if (!m_strTitle.IsEmpty()) text += CString(L" - ") + m_strTitle;
  } else {
    text = m_strTitle;
    if (!text.IsEmpty()) text += L" - ";
    text += lpszDocName.get();
  }
  wchar_t current[512] = L"";
  ::GetWindowTextW(m_hWnd, current, 512);
  if (text != CString(current)) ::SetWindowTextW(m_hWnd, text);
}

// ---------------------------------------------------------------------------
// Command routing: the active view (and its document), the frame itself,
// then the application.

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CView* view = m_pViewActive)
    if (view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWinApp* app = AfxGetApp())
    if (app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return FALSE;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  // A toolbar button whose command its update handler disables does not
  // run (menus and accelerators are checked by the window itself).
  if (control && HIWORD(wParam) == BN_CLICKED && id != 0 &&
      AFX_PERMANENT_AS(CToolBar, control)) {
    if (!afx_impl::CommandEnabled(this, id)) return TRUE;
    return OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
  }
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  // Toolbars with CBRS_FLYBY show the prompt of the button under the mouse.
  if (header && header->code == TBN_HOTITEMCHANGE) {
    CToolBar* bar = AFX_PERMANENT_AS(CToolBar, header->hwndFrom);
    if (bar && (bar->GetBarStyle() & CBRS_FLYBY)) {
      const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(lParam);
      if ((hot->dwFlags & HICF_LEAVING) || hot->idNew == 0) SetMessageText(AFX_IDS_IDLEMESSAGE);
      else SetMessageText(static_cast<UINT>(hot->idNew));
    }
    if (pResult) *pResult = 0;
    return TRUE;
  }
  // Tool tips of toolbar buttons: the text after the '\n' of the command's
  // string.
  if (header && (header->code == TTN_GETDISPINFOW || header->code == TTN_GETDISPINFOA)) {
    const UINT id = static_cast<UINT>(header->idFrom);
    CString text;
    if (id != 0 && text.LoadString(id)) {
      text = afx_frame::SubString(text, 1);
      if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        lstrcpynW(info->szText, text, static_cast<int>(std::size(info->szText)));
        info->lpszText = info->szText;
      } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        lstrcpynA(info->szText, text.ToNarrow().c_str(), static_cast<int>(std::size(info->szText)));
        info->lpszText = info->szText;
      }
      if (pResult) *pResult = 0;
      return TRUE;
    }
  }
  return CWnd::OnNotify(wParam, lParam, pResult);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable &&
      ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg))
    return TRUE;
  return CWnd::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------
// Update-UI.

LRESULT CFrameWnd::OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam) {
  Default();
  if (HIWORD(lParam)) return 0;  // the system menu
  HMENU menu = reinterpret_cast<HMENU>(wParam);
  CMenu wrapper;
  wrapper.Attach(menu);
  CCmdUI state;
  state.m_pMenu = &wrapper;
  state.m_nIndexMax = static_cast<UINT>(::GetMenuItemCount(menu));
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    const UINT id = ::GetMenuItemID(menu, static_cast<int>(state.m_nIndex));
    if (id == 0) continue;  // separator
    CMenu sub;
    if (id == static_cast<UINT>(-1)) {
      // A popup follows its first item, and is never disabled for lack of a
      // handler.
      HMENU popup = ::GetSubMenu(menu, static_cast<int>(state.m_nIndex));
      const UINT first = popup ? ::GetMenuItemID(popup, 0) : 0;
      if (first == 0 || first == static_cast<UINT>(-1)) continue;
      sub.Attach(popup);
      state.m_pSubMenu = &sub;
      state.m_nID = first;
      state.DoUpdate(this, FALSE);
      sub.Detach();
      state.m_pSubMenu = nullptr;
    } else {
      state.m_pSubMenu = nullptr;
      state.m_nID = id;
      state.DoUpdate(this, m_bAutoMenuEnable && id < 0xF000);
    }
    // Handlers may have added or removed items.
    const UINT count = static_cast<UINT>(::GetMenuItemCount(menu));
    if (count < state.m_nIndexMax) {
      state.m_nIndex -= state.m_nIndexMax - count;
      while (state.m_nIndex < count &&
             ::GetMenuItemID(menu, static_cast<int>(state.m_nIndex)) == state.m_nID)
        ++state.m_nIndex;
    }
    state.m_nIndexMax = count;
  }
  wrapper.Detach();
  return 0;
}

LRESULT CFrameWnd::OnMenuSelectMsg(WPARAM wParam, LPARAM lParam) {
  const UINT item = LOWORD(wParam);
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && lParam == 0) {
    // The menu closed.
    m_bMenuShown = FALSE;
    SetMessageText(AFX_IDS_IDLEMESSAGE);
  } else if (!(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) && item != 0) {
    m_bMenuShown = TRUE;
    SetMessageText(item);
  } else {
    m_bMenuShown = TRUE;
    SetMessageText(L"");
  }
  return Default();
}

LRESULT CFrameWnd::OnExitMenuLoopMsg(WPARAM, LPARAM) {
  if (m_bMenuShown) {
    m_bMenuShown = FALSE;
    SetMessageText(AFX_IDS_IDLEMESSAGE);
  }
  return Default();
}

void CFrameWnd::OnIdleUpdate(BOOL bDisableIfNoHandler) {
  if (m_bLayoutPending) RecalcLayout();
  // Bars of this frame, docked or floating.
  const std::vector<CControlBar*> bars = m_listControlBars;
  for (CControlBar* bar : bars) {
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), bar) ==
        m_listControlBars.end())
      continue;
    if (bar->IsDockBar() || !bar->m_hWnd || !bar->IsVisible()) continue;
    bar->OnUpdateCmdUI(this, bDisableIfNoHandler);
  }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  OnIdleUpdate(static_cast<BOOL>(wParam));
  return 0;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  CControlBar* bar = GetControlBar(pCmdUI->m_nID);
  if (!bar) {
    pCmdUI->ContinueRouting();
    return;
  }
  pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CControlBar* bar = GetControlBar(nID);
  if (!bar) return FALSE;
  ShowControlBar(bar, !bar->IsVisible(), FALSE);
  return TRUE;
}

void CFrameWnd::OnViewToolBar() { OnBarCheck(ID_VIEW_TOOLBAR); }
void CFrameWnd::OnViewStatusBar() { OnBarCheck(ID_VIEW_STATUS_BAR); }

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
  int key = 0;
  switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS: key = VK_CAPITAL; break;
    case ID_INDICATOR_NUM: key = VK_NUMLOCK; break;
    case ID_INDICATOR_SCRL: key = VK_SCROLL; break;
    default: pCmdUI->ContinueRouting(); return;
  }
  pCmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

// ---------------------------------------------------------------------------
// Status bar text.

CWnd* CFrameWnd::GetMessageBar() { return GetControlBar(AFX_IDW_STATUS_BAR); }

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  rMessage = afx_frame::PromptString(nID);
}

void CFrameWnd::SetMessageText(CStrArg lpszText) {
  CWnd* bar = GetMessageBar();
  if (!bar || !bar->m_hWnd) return;
  m_strLastMessage = lpszText.get() ? CString(lpszText.get()) : CString();
  if (CStatusBar* status = AFX_PERMANENT_AS(CStatusBar, bar->m_hWnd))
    status->SetPaneText(0, m_strLastMessage);
  else
    ::SetWindowTextW(bar->m_hWnd, m_strLastMessage);
}

void CFrameWnd::SetMessageText(UINT nID) {
  CString text;
  GetMessageString(nID, text);
  SetMessageText(text);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  if (wParam != 0) SetMessageText(static_cast<UINT>(wParam));
  else SetMessageText(reinterpret_cast<LPCWSTR>(lParam));
  return 0;
}

// ---------------------------------------------------------------------------
// Control bars and docking.

void CFrameWnd::AddControlBar(CControlBar* pBar) {
  if (pBar && std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) ==
                  m_listControlBars.end())
    m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  auto it = std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar);
  if (it != m_listControlBars.end()) m_listControlBars.erase(it);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  for (CControlBar* bar : m_listControlBars)
    if (bar->m_hWnd && static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)) == nID) return bar;
  return nullptr;
}

namespace {

struct DockSide {
  UINT id;
  DWORD align;
};
constexpr DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
};

}  // namespace

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
  for (const DockSide& side : kDockSides) {
    if (!(dwDockStyle & side.align) || GetControlBar(side.id)) continue;
    CDockBar* dock = new CDockBar(FALSE);
    dock->m_bAutoDelete = TRUE;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.align;
    if (!dock->Create(this, style, side.id)) {
      delete dock;
      continue;
    }
  }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  CDockBar* dock = nullptr;
  if (nDockBarID != 0) {
    CControlBar* bar = GetControlBar(nDockBarID);
    dock = bar && bar->IsDockBar() ? static_cast<CDockBar*>(bar) : nullptr;
    if (!dock) return;
  }
  DockControlBar(pBar, dock, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pBar || !pBar->m_hWnd) return;
  if (!pDockBar) {
    // The side the bar is aligned to, else the first side it may dock at.
    const DWORD align = pBar->m_dwStyle & CBRS_ALIGN_ANY;
    for (const DockSide& side : kDockSides) {
      if (!(align & side.align)) continue;
      if (CControlBar* bar = GetControlBar(side.id)) {
        pDockBar = static_cast<CDockBar*>(bar);
        break;
      }
    }
    if (!pDockBar) {
      for (const DockSide& side : kDockSides) {
        if (!(pBar->m_dwDockStyle & side.align)) continue;
        if (CControlBar* bar = GetControlBar(side.id)) {
          pDockBar = static_cast<CDockBar*>(bar);
          break;
        }
      }
    }
    if (!pDockBar) return;
  }
  pDockBar->DockControlBar(pBar, lpRect);
  RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar || !pBar->m_hWnd) return;
  if (pBar->m_pDockBar && pBar->m_pDockBar->m_bFloating) {
    // Already floating: its mini frame moves.
    if (HWND mini = ::GetParent(pBar->m_pDockBar->m_hWnd))
      ::SetWindowPos(mini, nullptr, point.x, point.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pBar->m_pDockContext) pBar->m_pDockContext->m_ptMRUFloatPos = point;
    return;
  }
  CRuntimeClass* cls = m_pFloatingFrameClass ? m_pFloatingFrameClass
                                             : RUNTIME_CLASS(CMiniDockFrameWnd);
  CObject* object = cls->CreateObject();
  CMiniDockFrameWnd* mini = object && object->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))
                                ? static_cast<CMiniDockFrameWnd*>(object)
                                : nullptr;
  if (!mini) {
    delete object;
    return;
  }
  if (!mini->Create(this, dwStyle | (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))) {
    if (!afx_frame::WasDeleted(mini)) delete mini;
    return;
  }
  ::SetWindowPos(mini->m_hWnd, nullptr, point.x, point.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (pBar->m_pDockContext) {
    if (pBar->m_pDockBar && !pBar->m_pDockBar->m_bFloating) {
      pBar->m_pDockContext->m_uMRUDockID =
          static_cast<UINT>(::GetDlgCtrlID(pBar->m_pDockBar->m_hWnd));
      CRect rect;
      ::GetWindowRect(pBar->m_hWnd, &rect);
      pBar->m_pDockContext->m_rectMRUDockPos = rect;
    }
    pBar->m_pDockContext->m_ptMRUFloatPos = point;
  }
  mini->m_wndDockBar.DockControlBar(pBar, nullptr);
  mini->RecalcLayout();
  if (pBar->IsVisible()) {
    ::ShowWindow(mini->m_hWnd, SW_SHOWNA);
    mini->RecalcLayout();
  }
  RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  if (!pBar || !pBar->m_hWnd) return;
  ::ShowWindow(pBar->m_hWnd, bShow ? SW_SHOWNA : SW_HIDE);
  if (pBar->m_pDockBar && pBar->m_pDockBar->m_bFloating) {
    // A floating bar's frame is shown while it holds a visible bar.
    if (HWND mini = ::GetParent(pBar->m_pDockBar->m_hWnd)) {
      if (bShow) {
        if (CMiniDockFrameWnd* frame = AFX_PERMANENT_AS(CMiniDockFrameWnd, mini))
          frame->RecalcLayout();
        ::ShowWindow(mini, SW_SHOWNA);
      } else if (pBar->m_pDockBar->GetDockedVisibleCount() == 0) {
        ::ShowWindow(mini, SW_HIDE);
      }
    }
  }
  if (bDelay) DelayRecalcLayout();
  else RecalcLayout();
}

CDockBar* CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
  // A dock bar takes the rectangle when it overlaps the bar's strip along
  // the frame's client area (an empty side offers a strip of 16 pixels).
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  for (const DockSide& side : kDockSides) {
    if (!(dwDockStyle & side.align)) continue;
    CControlBar* bar = GetControlBar(side.id);
    if (!bar || !bar->m_hWnd) continue;
    CRect zone;
    ::GetWindowRect(bar->m_hWnd, &zone);
    const int grow = 16;
    switch (side.align) {
      case CBRS_ALIGN_TOP:
        zone.left = client.left;
        zone.right = client.right;
        zone.top = std::min<LONG>(zone.top, client.top);
        zone.bottom = std::max<LONG>(zone.bottom, zone.top + grow);
        break;
      case CBRS_ALIGN_BOTTOM:
        zone.left = client.left;
        zone.right = client.right;
        zone.bottom = std::max<LONG>(zone.bottom, client.bottom);
        zone.top = std::min<LONG>(zone.top, zone.bottom - grow);
        break;
      case CBRS_ALIGN_LEFT:
        zone.left = std::min<LONG>(zone.left, client.left);
        zone.right = std::max<LONG>(zone.right, zone.left + grow);
        break;
      default:
        zone.right = std::max<LONG>(zone.right, client.right);
        zone.left = std::min<LONG>(zone.left, zone.right - grow);
        break;
    }
    CRect overlap;
    if (overlap.IntersectRect(&zone, &rect)) {
      CDockBar* dock = static_cast<CDockBar*>(bar);
      if (ppDockBar) *ppDockBar = dock;
      return dock;
    }
  }
  if (ppDockBar) *ppDockBar = nullptr;
  return nullptr;
}
