// Property sheets and pages over the system's property sheet control.  The
// sheet is made modeless and run in the framework's modal loop, so that idle
// processing goes on while it is up; each page window is put on its C++
// object when the sheet creates it.
#include "afxdlgs.h"

#include "dialog_internal.h"

using namespace afx_dialog_detail;

namespace {

thread_local CPropertySheet* t_pendingSheet = nullptr;

}  // namespace

// ---------------------------------------------------------------------------
// CPropertyPage

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
  ON_MESSAGE(WM_INITDIALOG, &ThisClass::HandlePageInit)
END_MESSAGE_MAP()

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : m_psp{} {
  Construct(nIDTemplate, nIDCaption);
}

CPropertyPage::CPropertyPage(CStrArg lpszTemplateName, UINT nIDCaption) : m_psp{} {
  Construct(lpszTemplateName, nIDCaption);
}

CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption) {
  Construct(CStrArg(MAKEINTRESOURCEW(nIDTemplate)), nIDCaption);
}

void CPropertyPage::Construct(CStrArg lpszTemplateName, UINT nIDCaption) {
  if (lpszTemplateName.IsNull() || lpszTemplateName.IsResourceId()) {
    m_lpszTemplateName = lpszTemplateName.get();
  } else {
    m_strTemplateName = lpszTemplateName.get();
    m_lpszTemplateName = m_strTemplateName.c_str();
  }
  if (IS_INTRESOURCE(m_lpszTemplateName))
    m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(m_lpszTemplateName));

  // The template is looked up in the resource module in effect now (a
  // plug-in's own pages come from the plug-in).
  m_hInstTemplate = AfxGetResourceHandle();
  m_psp = PROPSHEETPAGEW{};
  m_psp.dwSize = sizeof(m_psp);
  m_psp.dwFlags = PSP_USECALLBACK;
  m_psp.hInstance = m_hInstTemplate;
  m_psp.pszTemplate = m_lpszTemplateName;
  m_psp.pfnDlgProc = &CDialog::DialogProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  m_psp.pfnCallback = &CPropertyPage::PageCallback;
  if (nIDCaption != 0 && m_strCaption.LoadString(m_hInstTemplate, nIDCaption)) {
    m_psp.dwFlags |= PSP_USETITLE;
    m_psp.pszTitle = m_strCaption;
  }
}

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT message, LPPROPSHEETPAGEW ppsp) {
  // The page window is about to be made: its first messages belong to the
  // page object named in the page record.
  if (message == PSPCB_CREATE && ppsp)
    afx_dialog_detail::PrepareHook(reinterpret_cast<CPropertyPage*>(ppsp->lParam));
  return 1;
}

LRESULT CPropertyPage::HandlePageInit(WPARAM, LPARAM) {
  m_bFirstSetActive = TRUE;
  return HandleInitDialog(0, 0);
}

CPropertySheet* CPropertyPage::GetParentSheet() const {
  if (!m_hWnd) return nullptr;
  return dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

void CPropertyPage::SetModified(BOOL bChanged) {
  m_bModified = bChanged;
  if (!m_hWnd) return;
  HWND sheet = ::GetParent(m_hWnd);
  if (sheet)
    ::SendMessageW(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CPropertyPage::CancelToClose() {
  if (m_hWnd && ::GetParent(m_hWnd)) ::SendMessageW(::GetParent(m_hWnd), PSM_CANCELTOCLOSE, 0, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam) {
  if (!m_hWnd || !::GetParent(m_hWnd)) return 0;
  return ::SendMessageW(::GetParent(m_hWnd), PSM_QUERYSIBLINGS, wParam, lParam);
}

BOOL CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive)
    m_bFirstSetActive = FALSE;  // OnInitDialog has just loaded the controls
  else
    UpdateData(FALSE);
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}
BOOL CPropertyPage::OnQueryCancel() { return TRUE; }
LRESULT CPropertyPage::OnWizardBack() { return 0; }
LRESULT CPropertyPage::OnWizardNext() { return 0; }
BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

// Keys go to the sheet, which runs the navigation of sheet and page.
BOOL CPropertyPage::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
  if (!hdr || !m_hWnd || hdr->hwndFrom != ::GetParent(m_hWnd))
    return CDialog::OnNotify(wParam, lParam, pResult);
  LRESULT result = 0;
  switch (hdr->code) {
    case PSN_SETACTIVE:
      result = OnSetActive() ? 0 : -1;
      break;
    case PSN_KILLACTIVE:
      result = OnKillActive() ? FALSE : TRUE;  // TRUE keeps the page
      break;
    case PSN_APPLY: {
      const PSHNOTIFY* psn = reinterpret_cast<const PSHNOTIFY*>(lParam);
      const bool ok = OnApply() != FALSE;
      if (ok) {
        m_bModified = FALSE;
        if (psn->lParam) {
          // Closed with OK: the sheet's result.
          if (CPropertySheet* sheet = GetParentSheet()) sheet->m_nModalResult = IDOK;
        }
      }
      result = ok ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
      break;
    }
    case PSN_RESET:
      OnReset();
      break;
    case PSN_QUERYCANCEL:
      result = OnQueryCancel() ? FALSE : TRUE;
      break;
    case PSN_WIZBACK:
      result = OnWizardBack();
      break;
    case PSN_WIZNEXT:
      result = OnWizardNext();
      break;
    case PSN_WIZFINISH:
      result = OnWizardFinish() ? FALSE : TRUE;
      break;
    default:
      return CDialog::OnNotify(wParam, lParam, pResult);
  }
  // Also through the dialog result slot, for callers that read it there.
  ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  if (pResult) *pResult = result;
  return TRUE;
}

// ---------------------------------------------------------------------------
// CPropertySheet

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

CPropertySheet::CPropertySheet() : m_psh{} { CommonConstruct(nullptr, 0); }

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : m_psh{} {
  Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(CStrArg pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh{} {
  Construct(pszCaption, pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet() {
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  CommonConstruct(pParentWnd, iSelectPage);
  m_strCaption.LoadString(nIDCaption);
}

void CPropertySheet::Construct(CStrArg pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  CommonConstruct(pParentWnd, iSelectPage);
  if (pszCaption.get() && !pszCaption.IsResourceId()) m_strCaption = pszCaption.get();
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage) {
  m_psh = PROPSHEETHEADERW{};
  m_psh.dwSize = sizeof(m_psh);
  m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
  m_psh.nStartPage = iSelectPage;
  m_psh.pfnCallback = &CPropertySheet::SheetCallback;
  m_pParentWnd = pParentWnd;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && hWnd && t_pendingSheet) {
    CPropertySheet* sheet = t_pendingSheet;
    t_pendingSheet = nullptr;
    if (!CWnd::FromHandlePermanent(hWnd)) sheet->SubclassWindow(hWnd);
  }
  return 0;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  if (!pPage) return;
  m_pages.push_back(pPage);
  if (m_hWnd) {
    // A running sheet takes the page at once.
    HPROPSHEETPAGE h = ::CreatePropertySheetPageW(&pPage->m_psp);
    if (h) ::SendMessageW(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(h));
  }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) {
  const int index = GetPageIndex(pPage);
  if (index >= 0) RemovePage(index);
}

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd) ::SendMessageW(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0);
  m_pages.erase(m_pages.begin() + nPage);
}

int CPropertySheet::GetPageCount() const { return static_cast<int>(m_pages.size()); }

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
  if (nPage < 0 || nPage >= GetPageCount()) return nullptr;
  return m_pages[static_cast<size_t>(nPage)];
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
  for (size_t i = 0; i < m_pages.size(); ++i)
    if (m_pages[i] == pPage) return static_cast<int>(i);
  return -1;
}

int CPropertySheet::GetActiveIndex() const {
  if (!m_hWnd) return static_cast<int>(m_psh.nStartPage);
  HWND tab = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
  return tab ? static_cast<int>(::SendMessageW(tab, TCM_GETCURSEL, 0, 0)) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
  if (m_hWnd) {
    HWND page = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (CPropertyPage* p : m_pages)
      if (page && p->GetSafeHwnd() == page) return p;
  }
  return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (!m_hWnd) {
    m_psh.nStartPage = static_cast<UINT>(nPage);
    return TRUE;
  }
  return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::SetTitle(CStrArg lpszText, UINT nStyle) {
  m_strCaption = lpszText.get() ? lpszText.get() : L"";
  m_psh.dwFlags = (m_psh.dwFlags & ~static_cast<DWORD>(PSH_PROPTITLE)) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd)
    ::SendMessageW(m_hWnd, PSM_SETTITLEW, nStyle, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(m_strCaption)));
}

CTabCtrl* CPropertySheet::GetTabControl() const {
  if (!m_hWnd) return nullptr;
  HWND tab = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
  if (!tab) return nullptr;
  return static_cast<CTabCtrl*>(CWnd::FromHandle(tab));
}

void CPropertySheet::SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }

void CPropertySheet::SetWizardButtons(DWORD dwFlags) {
  if (m_hWnd) ::PostMessageW(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(dwFlags));
}

void CPropertySheet::SetFinishText(CStrArg lpszText) {
  if (m_hWnd)
    ::SendMessageW(m_hWnd, PSM_SETFINISHTEXTW, 0, reinterpret_cast<LPARAM>(lpszText.get()));
}

BOOL CPropertySheet::PressButton(int nButton) {
  if (!m_hWnd) return FALSE;
  ::SendMessageW(m_hWnd, PSM_PRESSBUTTON, static_cast<WPARAM>(nButton), 0);
  return TRUE;
}

void CPropertySheet::EndDialog(int nEndID) {
  m_nModalResult = nEndID;
  if (m_bModeless) {
    if (m_hWnd) DestroyWindow();
  } else {
    m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL);
    if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
  }
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
  if (!m_hWnd || !pMsg) return FALSE;
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
    return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
  return FALSE;
}

void CPropertySheet::PostNcDestroy() {}

void CPropertySheet::BuildPropPageArray() {
  m_pageData.clear();
  for (CPropertyPage* p : m_pages) m_pageData.push_back(p->m_psp);
  m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
  m_psh.pfnCallback = &CPropertySheet::SheetCallback;
  m_psh.nPages = static_cast<UINT>(m_pageData.size());
  m_psh.ppsp = m_pageData.data();
  m_psh.hInstance = AfxGetResourceHandle();
  m_psh.pszCaption = m_strCaption;
  if (m_psh.nStartPage >= m_psh.nPages) m_psh.nStartPage = 0;
}

INT_PTR CPropertySheet::DoModal() {
  if (m_pages.empty()) return -1;
  EnsureCommonControls();
  BuildPropPageArray();
  HWND owner = OwnerFor(m_pParentWnd);
  m_psh.hwndParent = owner;
  m_psh.dwFlags |= PSH_MODELESS;
  m_bModeless = false;
  m_nModalResult = IDCANCEL;
  m_nFlags |= WF_CONTINUEMODAL | WF_MODALLOOP;
  ModalOwner modal(owner);
  t_pendingSheet = this;
  HWND hWnd = reinterpret_cast<HWND>(::PropertySheetW(&m_psh));
  t_pendingSheet = nullptr;
  m_psh.dwFlags &= ~static_cast<DWORD>(PSH_MODELESS);
  if (!hWnd || reinterpret_cast<INT_PTR>(hWnd) == -1) {
    m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL | WF_MODALLOOP);
    return -1;
  }
  if (!m_hWnd && !SubclassWindow(hWnd)) {
    ::DestroyWindow(hWnd);
    m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL | WF_MODALLOOP);
    return -1;
  }
  // The sheet closes itself by dropping its current page (OK, Cancel, the
  // close box); PSN_APPLY with the OK flag has set the result to IDOK.
  RunDialogModalLoop(this, owner, [this] {
    return (m_nFlags & WF_CONTINUEMODAL) != 0 &&
           ::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
  });
  m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL | WF_MODALLOOP);
  modal.Release(m_hWnd);
  if (m_hWnd) DestroyWindow();
  return m_nModalResult;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
  if (m_pages.empty()) return FALSE;
  EnsureCommonControls();
  if (pParentWnd) m_pParentWnd = pParentWnd;
  BuildPropPageArray();
  m_psh.hwndParent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
  m_psh.dwFlags |= PSH_MODELESS;
  m_bModeless = true;
  t_pendingSheet = this;
  HWND hWnd = reinterpret_cast<HWND>(::PropertySheetW(&m_psh));
  t_pendingSheet = nullptr;
  if (!hWnd || reinterpret_cast<INT_PTR>(hWnd) == -1) return FALSE;
  if (!m_hWnd && !SubclassWindow(hWnd)) {
    ::DestroyWindow(hWnd);
    return FALSE;
  }
  if (dwStyle != static_cast<DWORD>(-1)) ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle));
  if (dwExStyle) ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(dwExStyle));
  return TRUE;
}
