// CDialog: modal and modeless dialogs from templates of the current resource
// module, the hook that puts the C++ object on its window, and the modal loop.
#include "afxwin.h"

#include "dialog_internal.h"


namespace {

// The object waiting for the next dialog window made on this thread.
thread_local CWnd* t_pendingDialog = nullptr;

}  // namespace

// ---------------------------------------------------------------------------
// Helpers shared with the property sheets

namespace afx_dialog_detail {

void EnsureCommonControls() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
}

HWND OwnerFor(CWnd* pParentWnd) {
  HWND owner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
  if (!owner) {
    CWnd* main = AfxGetMainWnd();
    owner = main ? main->GetSafeHwnd() : nullptr;
  }
  // Dialogs are owned by top-level windows.
  while (owner && (::GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
  return owner;
}

ModalOwner::ModalOwner(HWND owner) : m_owner(owner) {
  if (m_owner && ::IsWindowEnabled(m_owner)) {
    ::EnableWindow(m_owner, FALSE);
    m_reenable = true;
  }
}

void ModalOwner::Release(HWND hWndDialog) {
  if (m_reenable && m_owner) {
    ::EnableWindow(m_owner, TRUE);
    m_reenable = false;
  }
  if (hWndDialog && ::IsWindow(hWndDialog)) {
    // Hide first so that activation goes back to the owner, not elsewhere.
    const bool wasActive = ::GetActiveWindow() == hWndDialog;
    ::SetWindowPos(hWndDialog, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (wasActive && m_owner) ::SetActiveWindow(m_owner);
  }
}

ModalOwner::~ModalOwner() { Release(nullptr); }

namespace {

// Messages that do not start a new round of idle processing.
bool IsIdleMessage(const MSG& msg) {
  return msg.message != WM_PAINT && msg.message != 0x0118 /* caret blink timer */ &&
         msg.message != WM_NULL;
}

// Offers a message to the PreTranslateMessage of each framework window from
// its target up to (and including) the modal window.
bool PreTranslate(HWND hWndModal, MSG* msg) {
  for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    if (wnd && wnd->PreTranslateMessage(msg)) return true;
    if (h == hWndModal) break;
  }
  return false;
}

}  // namespace

bool RunDialogModalLoop(CWnd* pWnd, HWND owner, const std::function<bool()>& keepRunning) {
  HWND hWnd = pWnd->GetSafeHwnd();
  // A template without WS_VISIBLE is shown now, before anything the dialog
  // posted to itself during its initialisation runs.
  if (!(::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE)) {
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    ::UpdateWindow(hWnd);
  }
  bool idle = true;
  LONG idleCount = 0;
  MSG msg;
  while (keepRunning() && ::IsWindow(hWnd)) {
    // Idle work while the queue is empty: the owner hears that a dialog idles,
    // the thread's first idle step runs (command user-interface updates of the
    // main window and its bars; the later steps, which free temporary window
    // objects, wait for the thread's own loop), the dialog gets WM_KICKIDLE
    // for as long as it asks for more.
    while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (idleCount == 0) {
        if (owner)
          ::SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
        if (CWinThread* thread = AfxGetThread()) thread->OnIdle(0);
        if (!keepRunning() || !::IsWindow(hWnd)) return true;
      }
      const bool more = ::SendMessageW(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount) != 0;
      ++idleCount;
      if (!more) idle = false;
      if (!keepRunning() || !::IsWindow(hWnd)) return true;
    }
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // WM_QUIT: end the dialog and leave the quit for the outer loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (got == -1) return false;
    // Messages posted to the thread go to its map (ON_THREAD_MESSAGE), as in
    // the thread's own loop; window messages pass the PreTranslateMessage of
    // their window and its parents up to the modal window.
    CWinThread* thread = msg.hwnd ? nullptr : AfxGetThread();
    const bool handled = thread ? thread->DispatchThreadMessageEx(&msg) != FALSE
                                : PreTranslate(hWnd, &msg);
    if (!handled) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (IsIdleMessage(msg)) {
      idle = true;
      idleCount = 0;
    }
  }
  return true;
}

LPCDLGTEMPLATE LoadDialogTemplate(HINSTANCE hInst, LPCWSTR name) {
  if (!hInst || !name) return nullptr;
  HRSRC res = ::FindResourceW(hInst, name, reinterpret_cast<LPCWSTR>(RT_DIALOG));
  if (!res) return nullptr;
  HGLOBAL mem = ::LoadResource(hInst, res);
  if (!mem) return nullptr;
  return static_cast<LPCDLGTEMPLATE>(::LockResource(mem));
}

void PrepareHook(CWnd* pWnd) { t_pendingDialog = pWnd; }

}  // namespace afx_dialog_detail

using namespace afx_dialog_detail;

// ---------------------------------------------------------------------------
// The dialog procedure

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (CWnd::FromHandlePermanent(hWnd)) return FALSE;  // the message map had its turn
  CWnd* pending = t_pendingDialog;
  if (!pending && message == WM_INITDIALOG && lParam) {
    // A property page whose creation was not announced: its page record
    // names the object.
    const PROPSHEETPAGEW* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    if (psp->pfnDlgProc == &CDialog::DialogProc) pending = reinterpret_cast<CWnd*>(psp->lParam);
  }
  if (!pending) return FALSE;
  t_pendingDialog = nullptr;
  if (!pending->SubclassWindow(hWnd)) return FALSE;
  // From here on every message passes the object's message map first.  The
  // message in flight reached us through the dialog manager; hand it over.
  if (message == WM_INITDIALOG) return pending->SendMessage(message, wParam, lParam);
  return FALSE;
}


// ---------------------------------------------------------------------------
// CDialog

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &ThisClass::OnOK)
  ON_COMMAND(IDCANCEL, &ThisClass::OnCancel)
  ON_MESSAGE(WM_INITDIALOG, &ThisClass::HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd) {
  m_nIDHelp = nIDTemplate;
}

CDialog::CDialog(CStrArg lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {
  if (lpszTemplateName.IsNull() || lpszTemplateName.IsResourceId()) {
    m_lpszTemplateName = lpszTemplateName.get();
  } else {
    m_strTemplateName = lpszTemplateName.get();
    m_lpszTemplateName = m_strTemplateName.c_str();
  }
  if (IS_INTRESOURCE(m_lpszTemplateName))
    m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(m_lpszTemplateName));
}

CDialog::~CDialog() {
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  return lpDialogTemplate != nullptr;
}

BOOL CDialog::CreateFromTemplate(HINSTANCE hInst, LPCDLGTEMPLATE tmpl, HWND hWndParent) {
  EnsureCommonControls();
  m_hInstTemplate = hInst;
  afx_dialog_detail::PrepareHook(this);
  HWND hWnd = ::CreateDialogIndirectParamW(hInst, tmpl, hWndParent, &CDialog::DialogProc, 0);
  afx_dialog_detail::PrepareHook(nullptr);
  if (!hWnd) {
    // A window that was made and torn down during creation is gone already.
    return FALSE;
  }
  if (m_hWnd != hWnd) {
    // The hook did not run (no message reached the procedure): attach now.
    if (!m_hWnd && !SubclassWindow(hWnd)) {
      ::DestroyWindow(hWnd);
      return FALSE;
    }
  }
  return TRUE;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE hInst = AfxGetResourceHandle();
  LPCDLGTEMPLATE tmpl = m_lpDialogTemplate;
  if (!tmpl) tmpl = LoadDialogTemplate(hInst, m_lpszTemplateName);
  if (!tmpl) {
    TRACE("CDialog::DoModal: dialog template not found in the resource module\n");
    return -1;
  }
  HWND owner = OwnerFor(m_pParentWnd);
  ModalOwner modal(owner);
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL | WF_MODALLOOP;
  if (!CreateFromTemplate(hInst, tmpl, owner)) {
    m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL | WF_MODALLOOP);
    return -1;
  }
  // OnInitDialog may have ended the dialog already.
  if (m_nFlags & WF_CONTINUEMODAL)
    RunDialogModalLoop(this, owner, [this] { return (m_nFlags & WF_CONTINUEMODAL) != 0; });
  m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL | WF_MODALLOOP);
  modal.Release(m_hWnd);
  if (m_hWnd) DestroyWindow();
  return m_nModalResult;
}

BOOL CDialog::Create(CStrArg lpszTemplateName, CWnd* pParentWnd) {
  if (!lpszTemplateName.IsResourceId()) {
    m_strTemplateName = lpszTemplateName.get() ? lpszTemplateName.get() : L"";
    m_lpszTemplateName = m_strTemplateName.c_str();
  } else {
    m_lpszTemplateName = lpszTemplateName.get();
  }
  if (pParentWnd) m_pParentWnd = pParentWnd;
  HINSTANCE hInst = AfxGetResourceHandle();
  LPCDLGTEMPLATE tmpl = LoadDialogTemplate(hInst, m_lpszTemplateName);
  if (!tmpl) return FALSE;
  HWND parent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : OwnerFor(nullptr);
  return CreateFromTemplate(hInst, tmpl, parent);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  return Create(CStrArg(MAKEINTRESOURCEW(nIDTemplate)), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
  if (!lpDialogTemplate) return FALSE;
  if (pParentWnd) m_pParentWnd = pParentWnd;
  HWND parent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : OwnerFor(nullptr);
  return CreateFromTemplate(AfxGetResourceHandle(), lpDialogTemplate, parent);
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & WF_MODALLOOP) {
    m_nModalResult = nResult;
    m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL);
    // Wake the loop in case it waits for a message.
    if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
  } else if (m_hWnd) {
    ::EndDialog(m_hWnd, nResult);  // modeless: hides the window
  }
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
  if (!ExecuteDlgInit()) {
    TRACE("CDialog::OnInitDialog: bad initialisation data in the template\n");
    EndDialog(-1);
    return FALSE;
  }
  if (!UpdateData(FALSE)) {
    TRACE("CDialog::OnInitDialog: loading the controls failed\n");
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;  // the failing control has the focus
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::PostNcDestroy() {}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (!m_hWnd || !pMsg) return FALSE;
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    // Keyboard navigation of the dialog (Tab, arrows, Enter, Escape).
    if (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))
      return ::IsDialogMessageW(m_hWnd, pMsg);
  }
  return FALSE;
}

void CDialog::NextDlgCtrl() const {
  if (m_hWnd) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const {
  if (m_hWnd) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  if (m_hWnd && pWndCtrl && pWndCtrl->GetSafeHwnd())
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), 1);
}

void CDialog::SetDefID(UINT nID) {
  if (m_hWnd) ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const {
  return m_hWnd ? static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)) : 0;
}

void CDialog::MapDialogRect(LPRECT lpRect) const {
  if (m_hWnd) ::MapDialogRect(m_hWnd, lpRect);
}

// Initial contents of list and combo boxes kept beside the dialog template
// (resource type 240 of the same name): records of control id (WORD),
// message (WORD), byte count (DWORD) and that many bytes of text, ending
// with a zero control id.
BOOL CDialog::ExecuteDlgInit() {
  if (!m_hWnd || !m_hInstTemplate || !m_lpszTemplateName) return TRUE;
  HRSRC res = ::FindResourceW(m_hInstTemplate, m_lpszTemplateName, MAKEINTRESOURCEW(240));
  if (!res) return TRUE;
  HGLOBAL mem = ::LoadResource(m_hInstTemplate, res);
  const BYTE* p = mem ? static_cast<const BYTE*>(::LockResource(mem)) : nullptr;
  if (!p) return FALSE;
  const DWORD size = ::SizeofResource(m_hInstTemplate, res);
  const BYTE* end = p + size;
  while (end - p >= 2) {
    WORD id;
    std::memcpy(&id, p, 2);
    if (id == 0) break;
    if (end - p < 8) return FALSE;
    WORD msg;
    DWORD len;
    std::memcpy(&msg, p + 2, 2);
    std::memcpy(&len, p + 4, 4);
    p += 8;
    if (len > static_cast<DWORD>(end - p)) return FALSE;
    // The old 16-bit message numbers of the format stand for the add calls.
    UINT message = msg;
    if (msg == 0x0401) message = LB_ADDSTRING;
    if (msg == 0x0403) message = CB_ADDSTRING;
    if (message == LB_ADDSTRING || message == CB_ADDSTRING) {
      std::string text(reinterpret_cast<const char*>(p), len);
      text.resize(std::strlen(text.c_str()));
      ::SendDlgItemMessageA(m_hWnd, id, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    p += len;
  }
  return TRUE;
}
