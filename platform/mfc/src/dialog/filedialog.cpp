// CFileDialog over the system's open and save dialogs.
#include "afxdlgs.h"

#include <cwchar>

#include "dialog_internal.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, CStrArg lpszDefExt,
                         CStrArg lpszFileName, DWORD dwFlags, CStrArg lpszFilter,
                         CWnd* pParentWnd)
    : CDialog(), m_ofn{}, m_bOpenFileDialog(bOpenFileDialog), m_szFileTitle{}, m_szFileName{} {
  m_pParentWnd = pParentWnd;
  m_ofn.lStructSize = sizeof(m_ofn);
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = 64;
  m_ofn.hInstance = AfxGetResourceHandle();

  if (lpszDefExt.get() && !lpszDefExt.IsResourceId()) {
    m_strDefExt = lpszDefExt.get();
    m_ofn.lpstrDefExt = m_strDefExt.c_str();
  }
  if (lpszFileName.get() && !lpszFileName.IsResourceId()) {
    std::wcsncpy(m_szFileName, lpszFileName.get(), MAX_PATH - 1);
    m_szFileName[MAX_PATH - 1] = L'\0';
  }
  // "name|pattern|name|pattern||": each '|' ends a string; the list ends
  // with an empty string.
  if (lpszFilter.get() && !lpszFilter.IsResourceId()) {
    m_strFilter = lpszFilter.get();
    for (wchar_t& ch : m_strFilter)
      if (ch == L'|') ch = L'\0';
    // Make sure of the closing pair even when the text lacks the final "||".
    while (m_strFilter.size() < 2 || m_strFilter[m_strFilter.size() - 1] != L'\0' ||
           m_strFilter[m_strFilter.size() - 2] != L'\0')
      m_strFilter.push_back(L'\0');
    m_ofn.lpstrFilter = m_strFilter.c_str();
  }
}

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = afx_dialog_detail::OwnerFor(m_pParentWnd);
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  const BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
  return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_ofn.lpstrFile ? m_ofn.lpstrFile : L""); }

CString CFileDialog::GetFileName() const {
  const std::wstring path = m_ofn.lpstrFile ? m_ofn.lpstrFile : L"";
  const size_t slash = path.find_last_of(L"\\/:");
  return CString(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

CString CFileDialog::GetFileExt() const {
  const std::wstring name = GetFileName().str();
  const size_t dot = name.rfind(L'.');
  return CString(dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1));
}

CString CFileDialog::GetFileTitle() const {
  const std::wstring name = GetFileName().str();
  const size_t dot = name.rfind(L'.');
  return CString(dot == std::wstring::npos ? name : name.substr(0, dot));
}
