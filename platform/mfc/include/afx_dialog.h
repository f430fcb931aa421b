#pragma once
// Dialogs, dialog data exchange and the standard control wrappers of the
// application framework.  Included at the end of afxwin.h; not meant to be
// included on its own.  Texts are wide inside; string parameters are
// CStrArg, so narrow text is taken as well.

#include <windows.h>

#include <string>

class CDataExchange;

// ---------------------------------------------------------------------------
// CDialog

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(CStrArg lpszTemplateName, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Modal: loads the template from the current resource module, runs it in
  // a loop of its own with the owner disabled. Returns the value passed to
  // EndDialog, or -1 when the template is missing or the window cannot be
  // made.
  virtual INT_PTR DoModal();

  // Modeless.
  virtual BOOL Create(CStrArg lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

  // A modal dialog built from an in-memory template.
  BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

  void EndDialog(int nResult);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID);
  DWORD GetDefID() const;

  void MapDialogRect(LPRECT lpRect) const;

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Template as given to the constructor (a resource name or MAKEINTRESOURCE).
  LPCWSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  CWnd* m_pParentWnd = nullptr;

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  void PostNcDestroy() override;

  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // Creates the window from a template; hInst resolves the template's own
  // resources (icons in static controls, initialisation data).
  BOOL CreateFromTemplate(HINSTANCE hInst, LPCDLGTEMPLATE tmpl, HWND hWndParent);
  // Fills list and combo boxes from the template's initialisation data.
  BOOL ExecuteDlgInit();

  LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
  std::wstring m_strTemplateName;      // storage of a named template
  HINSTANCE m_hInstTemplate = nullptr;  // module the template was found in

 public:
  // The dialog procedure shared by dialogs and property pages: puts the C++
  // object on its window at the first message.
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// ---------------------------------------------------------------------------
// Dialog data exchange

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;
  UINT m_idLastControl = 0;

  // The control's window; a missing control is a programming error and ends
  // the exchange as a failure.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Puts the focus on the last prepared control and ends the exchange
  // (throws; UpdateData catches it and answers FALSE).
  [[noreturn]] void Fail();
};

// Thrown by CDataExchange::Fail; caught by CDialog::UpdateData.
class CDataExchangeFailure {};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);
void DDX_Slider(CDataExchange* pDX, int nIDC, int& value);
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// ---------------------------------------------------------------------------
// Standard controls

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)
 public:
  CStatic() = default;
  virtual BOOL Create(CStrArg lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                      UINT nID = 0xffff);
  HICON SetIcon(HICON hIcon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP hBitmap);
  HBITMAP GetBitmap() const;
};

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)
 public:
  CButton() = default;
  virtual BOOL Create(CStrArg lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                      UINT nID);
  UINT GetState() const;
  void SetState(BOOL bHighlight);
  int GetCheck() const;
  void SetCheck(int nCheck);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
  HICON SetIcon(HICON hIcon);
  HBITMAP SetBitmap(HBITMAP hBitmap);
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
 public:
  CEdit() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  BOOL CanUndo() const;
  int GetLineCount() const;
  BOOL GetModify() const;
  void SetModify(BOOL bModified = TRUE);
  DWORD GetSel() const;
  void GetSel(int& nStartChar, int& nEndChar) const;
  void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
  void ReplaceSel(CStrArg lpszNewText, BOOL bCanUndo = FALSE);
  void LimitText(int nChars = 0);
  void SetLimitText(UINT nMax);
  UINT GetLimitText() const;
  int GetLine(int nIndex, LPWSTR lpszBuffer, int nMaxLength) const;
  int LineIndex(int nLine = -1) const;
  int LineLength(int nLine = -1) const;
  void LineScroll(int nLines, int nChars = 0);
  BOOL SetReadOnly(BOOL bReadOnly = TRUE);
  void SetPasswordChar(WCHAR ch);
  void EmptyUndoBuffer();
  BOOL Undo();
  void Clear();
  void Copy();
  void Cut();
  void Paste();
};

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  CListBox() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetCount() const;
  int GetHorizontalExtent() const;
  void SetHorizontalExtent(int cxExtent);
  int GetTopIndex() const;
  int SetTopIndex(int nIndex);
  // Single selection.
  int GetCurSel() const;
  int SetCurSel(int nSelect);
  // Multiple selection.
  int GetSel(int nIndex) const;
  int SetSel(int nIndex, BOOL bSelect = TRUE);
  int GetSelCount() const;
  int GetSelItems(int nMaxItems, LPINT rgIndex) const;
  int GetCaretIndex() const;
  int SetCaretIndex(int nIndex, BOOL bScroll = TRUE);
  int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem);

  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
  void* GetItemDataPtr(int nIndex) const;
  int SetItemDataPtr(int nIndex, void* pData);
  int GetItemRect(int nIndex, LPRECT lpRect) const;
  int GetText(int nIndex, LPWSTR lpszBuffer) const;
  int GetText(int nIndex, LPSTR lpszBuffer) const;
  void GetText(int nIndex, CString& rString) const;
  int GetTextLen(int nIndex) const;
  int GetItemHeight(int nIndex) const;
  int SetItemHeight(int nIndex, UINT cyItemHeight);

  int AddString(CStrArg lpszItem);
  int InsertString(int nIndex, CStrArg lpszItem);
  int DeleteString(UINT nIndex);
  void ResetContent();
  int FindString(int nStartAfter, CStrArg lpszItem) const;
  int FindStringExact(int nIndexStart, CStrArg lpszFind) const;
  int SelectString(int nStartAfter, CStrArg lpszItem);
};

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)
 public:
  CComboBox() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int nSelect);
  DWORD GetEditSel() const;
  BOOL LimitText(int nMaxChars);
  BOOL SetEditSel(int nStartChar, int nEndChar);
  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
  void* GetItemDataPtr(int nIndex) const;
  int SetItemDataPtr(int nIndex, void* pData);
  int GetLBText(int nIndex, LPWSTR lpszText) const;
  int GetLBText(int nIndex, LPSTR lpszText) const;
  void GetLBText(int nIndex, CString& rString) const;
  int GetLBTextLen(int nIndex) const;
  int GetTopIndex() const;
  int SetTopIndex(int nIndex);
  void ShowDropDown(BOOL bShowIt = TRUE);
  BOOL GetDroppedState() const;
  int GetItemHeight(int nIndex) const;
  int SetItemHeight(int nIndex, UINT cyItemHeight);

  int AddString(CStrArg lpszString);
  int InsertString(int nIndex, CStrArg lpszString);
  int DeleteString(UINT nIndex);
  void ResetContent();
  int FindString(int nStartAfter, CStrArg lpszString) const;
  int FindStringExact(int nIndexStart, CStrArg lpszFind) const;
  int SelectString(int nStartAfter, CStrArg lpszString);
  void Clear();
  void Copy();
  void Cut();
  void Paste();
};

class CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)
 public:
  CScrollBar() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetScrollPos() const;
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
  void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
  void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  void ShowScrollBar(BOOL bShow = TRUE);
  BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH);
  BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  int GetScrollLimit();
};

// The common controls of dialogs (tab, progress, slider, spin) are part of
// what dialogs use; make them available wherever CDialog is.
#include "afx_commctrl.h"
