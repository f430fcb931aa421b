// Command targets, message map lookup and CCmdUI.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

bool IsWindowMessageEntry(const AFX_MSGMAP_ENTRY& e, UINT message) {
  if (e.nCode != 0 || e.nID != 0) return false;
  if (e.pnMessageVar) return *e.pnMessageVar != 0 && *e.pnMessageVar == message;
  return e.nMessage == message && message != WM_COMMAND && message != WM_NOTIFY;
}

}  // namespace

BOOL CCmdTarget::DispatchWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  UINT lookup = message;
  UINT ctlColor = 0;
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    lookup = WM_CTLCOLOR;
    ctlColor = message - WM_CTLCOLORMSGBOX;
  }
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (!IsWindowMessageEntry(*e, lookup)) continue;
      AFX_MSGCALL call;
      call.message = message;
      call.wParam = wParam;
      call.lParam = lParam;
      call.nID = ctlColor;
      e->pfn(this, call);
      if (pResult) *pResult = call.result;
      return TRUE;
    }
    if (map->pfnGetBaseMap == nullptr) break;
  }
  return FALSE;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindCommandEntry(UINT nMessage, UINT nCode, UINT nID) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->pnMessageVar || e->nMessage != nMessage || e->nCode != nCode) continue;
      if (nID >= e->nID && nID <= e->nLastID) return e;
    }
    if (map->pfnGetBaseMap == nullptr) break;
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT message = WM_COMMAND;
  UINT code;
  if (nCode == CN_UPDATE_COMMAND_UI) {
    code = static_cast<UINT>(CN_UPDATE_COMMAND_UI);
  } else {
    const UINT packed = static_cast<UINT>(nCode);
    code = LOWORD(packed);
    if (HIWORD(packed) != 0) message = HIWORD(packed);
  }
  // A handler may decline (the _EX entries); the search goes on after it.
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->pnMessageVar || e->nMessage != message || e->nCode != code) continue;
      if (nID < e->nID || nID > e->nLastID) continue;
      if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = e;
        return TRUE;
      }
      AFX_MSGCALL call;
      call.message = message;
      call.nID = nID;
      call.pExtra = pExtra;
      if (nCode == CN_UPDATE_COMMAND_UI) {
        CCmdUI* ui = static_cast<CCmdUI*>(pExtra);
        ui->m_bContinueRouting = FALSE;
        e->pfn(this, call);
        return !ui->m_bContinueRouting;
      }
      if (e->pfn(this, call)) return TRUE;
    }
    if (map->pfnGetBaseMap == nullptr) break;
  }
  return FALSE;
}

void CCmdTarget::BeginWaitCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }
void CCmdTarget::EndWaitCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }
void CCmdTarget::RestoreWaitCursor() { BeginWaitCursor(); }

// ---------------------------------------------------------------------------
// CCmdUI

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu) {
    if (m_pSubMenu) return;  // popups stay enabled
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    // A control losing its enabled state gives the focus on.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      if (HWND parent = ::GetParent(m_pOther->m_hWnd))
        ::SendMessageW(parent, WM_NEXTDLGCTL, 0, FALSE);
    }
    m_pOther->EnableWindow(bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther) {
    if (::SendMessageW(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
      ::SendMessageW(m_pOther->m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    if (::GetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info)) {
      info.fType = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
      info.fState = bOn ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
      ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
    }
  } else {
    SetCheck(bOn ? 1 : 0);
  }
}

void CCmdUI::SetText(CStrArg lpszText) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) &
                       ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
  } else if (m_pOther) {
    CString current;
    m_pOther->GetWindowText(current);
    if (current.Compare(lpszText.IsNull() ? L"" : lpszText.get()) != 0)
      m_pOther->SetWindowText(lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators
  if (m_nID >= 0xF000 && m_nID < 0xF1F0) return TRUE;     // system commands
  m_bEnableChanged = FALSE;
  const BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}
