#pragma once
// Common dialogs and property sheets of the frame library: CFileDialog,
// CPropertyPage, CPropertySheet.

#include "afxwin.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// CFileDialog: the system's open/save dialog.  The filter is given in the
// library's form, "Text (*.txt)|*.txt|All files (*.*)|*.*||".

class CFileDialog : public CDialog {
  DECLARE_DYNAMIC(CFileDialog)

 public:
  explicit CFileDialog(BOOL bOpenFileDialog, CStrArg lpszDefExt = nullptr,
                       CStrArg lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       CStrArg lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

  // IDOK when a file was chosen, IDCANCEL otherwise (also on failure).
  INT_PTR DoModal() override;

  CString GetPathName() const;   // full path of the chosen file
  CString GetFileName() const;   // name with extension
  CString GetFileExt() const;    // extension without the dot
  CString GetFileTitle() const;  // name without extension
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

  OPENFILENAMEW m_ofn;

 protected:
  BOOL m_bOpenFileDialog;
  std::wstring m_strFilter;  // '|' turned into NUL, ends with two NULs
  std::wstring m_strDefExt;
  WCHAR m_szFileTitle[64];
  WCHAR m_szFileName[MAX_PATH];
};

// ---------------------------------------------------------------------------
// Property sheets

class CPropertySheet;

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)

 public:
  // The template (and caption string) come from the resource module in effect
  // when the page is constructed.
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(CStrArg lpszTemplateName, UINT nIDCaption = 0);
  ~CPropertyPage() override;

  void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
  void Construct(CStrArg lpszTemplateName, UINT nIDCaption = 0);

  // Marks the page changed (enables Apply) or unchanged.
  void SetModified(BOOL bChanged = TRUE);
  void CancelToClose();
  LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

  // Page notifications.  Defaults: OnSetActive reloads the controls from the
  // members on every activation but the first (OnInitDialog did that);
  // OnKillActive saves and validates (FALSE keeps the page); OnApply calls
  // OnOK; OnReset calls OnCancel; OnOK and OnCancel do nothing.
  virtual BOOL OnSetActive();
  virtual BOOL OnKillActive();
  virtual BOOL OnApply();
  virtual void OnReset();
  void OnOK() override;
  void OnCancel() override;
  virtual BOOL OnQueryCancel();
  virtual LRESULT OnWizardBack();
  virtual LRESULT OnWizardNext();
  virtual BOOL OnWizardFinish();

  BOOL PreTranslateMessage(MSG* pMsg) override;

  PROPSHEETPAGEW m_psp;

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg LRESULT HandlePageInit(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CPropertySheet* GetParentSheet() const;

  CString m_strCaption;
  BOOL m_bFirstSetActive = TRUE;
  BOOL m_bModified = FALSE;

 private:
  static UINT CALLBACK PageCallback(HWND hWnd, UINT message, LPPROPSHEETPAGEW ppsp);
  friend class CPropertySheet;
};

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)

 public:
  CPropertySheet();
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(CStrArg pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  ~CPropertySheet() override;

  void Construct(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  void Construct(CStrArg pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

  // Modal: IDOK when the sheet was closed with OK, IDCANCEL otherwise, -1
  // when it could not be made.
  virtual INT_PTR DoModal();
  // Modeless.
  virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1),
                      DWORD dwExStyle = 0);

  void AddPage(CPropertyPage* pPage);
  void RemovePage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const;
  CPropertyPage* GetPage(int nPage) const;
  int GetPageIndex(CPropertyPage* pPage) const;
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage);
  void SetTitle(CStrArg lpszText, UINT nStyle = 0);
  CTabCtrl* GetTabControl() const;

  void SetWizardMode();
  void SetWizardButtons(DWORD dwFlags);
  void SetFinishText(CStrArg lpszText);
  BOOL PressButton(int nButton);
  void EndDialog(int nEndID);

  BOOL PreTranslateMessage(MSG* pMsg) override;

  PROPSHEETHEADERW m_psh;

 protected:
  void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
  // Fills m_psh and the page array for PropertySheet().
  void BuildPropPageArray();
  void PostNcDestroy() override;

  std::vector<CPropertyPage*> m_pages;
  std::vector<PROPSHEETPAGEW> m_pageData;
  CString m_strCaption;
  CWnd* m_pParentWnd = nullptr;
  mutable CTabCtrl m_tabCtrl;
  bool m_bModeless = false;

 private:
  static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
  friend class CPropertyPage;
};
