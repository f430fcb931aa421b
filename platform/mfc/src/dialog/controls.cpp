// Wrappers of the standard controls: static, button, edit, list box, combo
// box, scroll bar.  Item data is pointer-sized throughout.
#include "afxwin.h"

#include <cstring>
#include <cwchar>

namespace {

LRESULT Send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  return h ? ::SendMessageW(h, msg, wp, lp) : 0;
}

LPARAM Text(CStrArg s) { return reinterpret_cast<LPARAM>(s.get() ? s.get() : L""); }

// Copies the wide text of an item into a narrow buffer; the caller sized the
// buffer from the matching length message (as for the wide form).
int NarrowCopy(const std::wstring& text, LPSTR buffer) {
  if (!buffer) return -1;
  const std::string narrow = AfxNarrow(text.c_str());
  std::memcpy(buffer, narrow.c_str(), narrow.size() + 1);
  return static_cast<int>(narrow.size());
}

// The length of an item's text for a buffer of either width: its characters,
// or the bytes of its narrow form where a multi-byte code page makes that
// longer (an upper bound, as the system gives narrow callers).
int TextLengthForBoth(HWND h, UINT getText, WPARAM index, int length) {
  if (length <= 0) return length;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  if (Send(h, getText, index, reinterpret_cast<LPARAM>(text.data())) < 0) return length;
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr) - 1;
  return bytes > length ? bytes : length;
}

}  // namespace

// ---------------------------------------------------------------------------
// CStatic

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BOOL CStatic::Create(CStrArg lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
  return CWnd::Create(L"STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

HICON CStatic::SetIcon(HICON hIcon) {
  return reinterpret_cast<HICON>(Send(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
}

HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(Send(m_hWnd, STM_GETICON)); }

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
  return reinterpret_cast<HBITMAP>(
      Send(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

HBITMAP CStatic::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(Send(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP));
}

// ---------------------------------------------------------------------------
// CButton

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(CStrArg lpszCaption, DWORD dwStyle, const RECT& rect,
                     CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

UINT CButton::GetState() const { return static_cast<UINT>(Send(m_hWnd, BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { Send(m_hWnd, BM_SETSTATE, bHighlight); }
int CButton::GetCheck() const { return static_cast<int>(Send(m_hWnd, BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { Send(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck)); }

UINT CButton::GetButtonStyle() const {
  return m_hWnd ? static_cast<UINT>(::GetWindowLongW(m_hWnd, GWL_STYLE)) & 0xff : 0;
}

void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) {
  Send(m_hWnd, BM_SETSTYLE, nStyle, bRedraw);
}

HICON CButton::SetIcon(HICON hIcon) {
  return reinterpret_cast<HICON>(
      Send(m_hWnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
}

HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
  return reinterpret_cast<HBITMAP>(
      Send(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

// ---------------------------------------------------------------------------
// CEdit

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(L"EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::CanUndo() const { return static_cast<BOOL>(Send(m_hWnd, EM_CANUNDO)); }
int CEdit::GetLineCount() const { return static_cast<int>(Send(m_hWnd, EM_GETLINECOUNT)); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(Send(m_hWnd, EM_GETMODIFY)); }
void CEdit::SetModify(BOOL bModified) { Send(m_hWnd, EM_SETMODIFY, bModified); }
DWORD CEdit::GetSel() const { return static_cast<DWORD>(Send(m_hWnd, EM_GETSEL)); }

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
  DWORD start = 0;
  DWORD end = 0;
  Send(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  nStartChar = static_cast<int>(start);
  nEndChar = static_cast<int>(end);
}

void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll) {
  SetSel(static_cast<int>(static_cast<short>(LOWORD(dwSelection))),
         static_cast<int>(static_cast<short>(HIWORD(dwSelection))), bNoScroll);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
  Send(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
  if (!bNoScroll) Send(m_hWnd, EM_SCROLLCARET);
}

void CEdit::ReplaceSel(CStrArg lpszNewText, BOOL bCanUndo) {
  Send(m_hWnd, EM_REPLACESEL, bCanUndo, Text(lpszNewText));
}

void CEdit::LimitText(int nChars) { Send(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
void CEdit::SetLimitText(UINT nMax) { Send(m_hWnd, EM_SETLIMITTEXT, nMax); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(Send(m_hWnd, EM_GETLIMITTEXT)); }

int CEdit::GetLine(int nIndex, LPWSTR lpszBuffer, int nMaxLength) const {
  if (!lpszBuffer || nMaxLength < 1) return 0;
  // The first word of the buffer carries its size.
  *reinterpret_cast<WORD*>(lpszBuffer) = static_cast<WORD>(nMaxLength > 0xffff ? 0xffff : nMaxLength);
  return static_cast<int>(
      Send(m_hWnd, EM_GETLINE, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

int CEdit::LineIndex(int nLine) const {
  return static_cast<int>(Send(m_hWnd, EM_LINEINDEX, static_cast<WPARAM>(nLine)));
}

int CEdit::LineLength(int nLine) const {
  return static_cast<int>(Send(m_hWnd, EM_LINELENGTH, static_cast<WPARAM>(nLine)));
}

void CEdit::LineScroll(int nLines, int nChars) {
  Send(m_hWnd, EM_LINESCROLL, static_cast<WPARAM>(nChars), nLines);
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
  return static_cast<BOOL>(Send(m_hWnd, EM_SETREADONLY, bReadOnly));
}

void CEdit::SetPasswordChar(WCHAR ch) { Send(m_hWnd, EM_SETPASSWORDCHAR, ch); }
void CEdit::EmptyUndoBuffer() { Send(m_hWnd, EM_EMPTYUNDOBUFFER); }
BOOL CEdit::Undo() { return static_cast<BOOL>(Send(m_hWnd, EM_UNDO)); }
void CEdit::Clear() { Send(m_hWnd, WM_CLEAR); }
void CEdit::Copy() { Send(m_hWnd, WM_COPY); }
void CEdit::Cut() { Send(m_hWnd, WM_CUT); }
void CEdit::Paste() { Send(m_hWnd, WM_PASTE); }

// ---------------------------------------------------------------------------
// CListBox

IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(L"LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListBox::GetCount() const { return static_cast<int>(Send(m_hWnd, LB_GETCOUNT)); }

int CListBox::GetHorizontalExtent() const {
  return static_cast<int>(Send(m_hWnd, LB_GETHORIZONTALEXTENT));
}

void CListBox::SetHorizontalExtent(int cxExtent) {
  Send(m_hWnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(cxExtent));
}

int CListBox::GetTopIndex() const { return static_cast<int>(Send(m_hWnd, LB_GETTOPINDEX)); }

int CListBox::SetTopIndex(int nIndex) {
  return static_cast<int>(Send(m_hWnd, LB_SETTOPINDEX, static_cast<WPARAM>(nIndex)));
}

int CListBox::GetCurSel() const { return static_cast<int>(Send(m_hWnd, LB_GETCURSEL)); }

int CListBox::SetCurSel(int nSelect) {
  return static_cast<int>(Send(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}

int CListBox::GetSel(int nIndex) const {
  return static_cast<int>(Send(m_hWnd, LB_GETSEL, static_cast<WPARAM>(nIndex)));
}

int CListBox::SetSel(int nIndex, BOOL bSelect) {
  return static_cast<int>(Send(m_hWnd, LB_SETSEL, bSelect, nIndex));
}

int CListBox::GetSelCount() const { return static_cast<int>(Send(m_hWnd, LB_GETSELCOUNT)); }

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const {
  return static_cast<int>(Send(m_hWnd, LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems),
                               reinterpret_cast<LPARAM>(rgIndex)));
}

int CListBox::GetCaretIndex() const { return static_cast<int>(Send(m_hWnd, LB_GETCARETINDEX)); }

int CListBox::SetCaretIndex(int nIndex, BOOL bScroll) {
  return static_cast<int>(
      Send(m_hWnd, LB_SETCARETINDEX, static_cast<WPARAM>(nIndex), MAKELPARAM(bScroll, 0)));
}

int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem) {
  return static_cast<int>(Send(m_hWnd, LB_SELITEMRANGEEX,
                               static_cast<WPARAM>(bSelect ? nFirstItem : nLastItem),
                               bSelect ? nLastItem : nFirstItem));
}

DWORD_PTR CListBox::GetItemData(int nIndex) const {
  return static_cast<DWORD_PTR>(Send(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
  return static_cast<int>(Send(m_hWnd, LB_SETITEMDATA, static_cast<WPARAM>(nIndex),
                               static_cast<LPARAM>(dwItemData)));
}

void* CListBox::GetItemDataPtr(int nIndex) const {
  return reinterpret_cast<void*>(GetItemData(nIndex));
}

int CListBox::SetItemDataPtr(int nIndex, void* pData) {
  return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
}

int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const {
  return static_cast<int>(Send(m_hWnd, LB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                               reinterpret_cast<LPARAM>(lpRect)));
}

int CListBox::GetText(int nIndex, LPWSTR lpszBuffer) const {
  return static_cast<int>(Send(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex),
                               reinterpret_cast<LPARAM>(lpszBuffer)));
}

int CListBox::GetText(int nIndex, LPSTR lpszBuffer) const {
  CString text;
  if (GetTextLen(nIndex) == LB_ERR) return LB_ERR;
  GetText(nIndex, text);
  return NarrowCopy(text.str(), lpszBuffer);
}

void CListBox::GetText(int nIndex, CString& rString) const {
  const int len = GetTextLen(nIndex);
  if (len == LB_ERR) {
    rString.Empty();
    return;
  }
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  GetText(nIndex, text.data());
  text.resize(std::wcslen(text.c_str()));
  rString = CString(text);
}

int CListBox::GetTextLen(int nIndex) const {
  const int length = static_cast<int>(Send(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)));
  // Owner-drawn items without strings hold their data in place of text.
  const LONG style = m_hWnd ? ::GetWindowLongW(m_hWnd, GWL_STYLE) : 0;
  if ((style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) && !(style & LBS_HASSTRINGS)) return length;
  return TextLengthForBoth(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), length);
}

int CListBox::GetItemHeight(int nIndex) const {
  return static_cast<int>(Send(m_hWnd, LB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
}

int CListBox::SetItemHeight(int nIndex, UINT cyItemHeight) {
  return static_cast<int>(
      Send(m_hWnd, LB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0)));
}

int CListBox::AddString(CStrArg lpszItem) {
  return static_cast<int>(Send(m_hWnd, LB_ADDSTRING, 0, Text(lpszItem)));
}

int CListBox::InsertString(int nIndex, CStrArg lpszItem) {
  return static_cast<int>(Send(m_hWnd, LB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(lpszItem)));
}

int CListBox::DeleteString(UINT nIndex) {
  return static_cast<int>(Send(m_hWnd, LB_DELETESTRING, nIndex));
}

void CListBox::ResetContent() { Send(m_hWnd, LB_RESETCONTENT); }

int CListBox::FindString(int nStartAfter, CStrArg lpszItem) const {
  return static_cast<int>(Send(m_hWnd, LB_FINDSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszItem)));
}

int CListBox::FindStringExact(int nIndexStart, CStrArg lpszFind) const {
  return static_cast<int>(
      Send(m_hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(lpszFind)));
}

int CListBox::SelectString(int nStartAfter, CStrArg lpszItem) {
  return static_cast<int>(
      Send(m_hWnd, LB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszItem)));
}

// ---------------------------------------------------------------------------
// CComboBox

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(L"COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CComboBox::GetCount() const { return static_cast<int>(Send(m_hWnd, CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(Send(m_hWnd, CB_GETCURSEL)); }

int CComboBox::SetCurSel(int nSelect) {
  return static_cast<int>(Send(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}

DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(Send(m_hWnd, CB_GETEDITSEL)); }

BOOL CComboBox::LimitText(int nMaxChars) {
  return static_cast<BOOL>(Send(m_hWnd, CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars)));
}

BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar) {
  return static_cast<BOOL>(Send(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar)));
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const {
  return static_cast<DWORD_PTR>(Send(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
  return static_cast<int>(Send(m_hWnd, CB_SETITEMDATA, static_cast<WPARAM>(nIndex),
                               static_cast<LPARAM>(dwItemData)));
}

void* CComboBox::GetItemDataPtr(int nIndex) const {
  return reinterpret_cast<void*>(GetItemData(nIndex));
}

int CComboBox::SetItemDataPtr(int nIndex, void* pData) {
  return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
}

int CComboBox::GetLBText(int nIndex, LPWSTR lpszText) const {
  return static_cast<int>(Send(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                               reinterpret_cast<LPARAM>(lpszText)));
}

int CComboBox::GetLBText(int nIndex, LPSTR lpszText) const {
  if (GetLBTextLen(nIndex) == CB_ERR) return CB_ERR;
  CString text;
  GetLBText(nIndex, text);
  return NarrowCopy(text.str(), lpszText);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  const int len = GetLBTextLen(nIndex);
  if (len == CB_ERR) {
    rString.Empty();
    return;
  }
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  GetLBText(nIndex, text.data());
  text.resize(std::wcslen(text.c_str()));
  rString = CString(text);
}

int CComboBox::GetLBTextLen(int nIndex) const {
  const int length = static_cast<int>(Send(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
  const LONG style = m_hWnd ? ::GetWindowLongW(m_hWnd, GWL_STYLE) : 0;
  if ((style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) && !(style & CBS_HASSTRINGS)) return length;
  return TextLengthForBoth(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), length);
}

int CComboBox::GetTopIndex() const { return static_cast<int>(Send(m_hWnd, CB_GETTOPINDEX)); }

int CComboBox::SetTopIndex(int nIndex) {
  return static_cast<int>(Send(m_hWnd, CB_SETTOPINDEX, static_cast<WPARAM>(nIndex)));
}

void CComboBox::ShowDropDown(BOOL bShowIt) { Send(m_hWnd, CB_SHOWDROPDOWN, bShowIt); }

BOOL CComboBox::GetDroppedState() const {
  return static_cast<BOOL>(Send(m_hWnd, CB_GETDROPPEDSTATE));
}

int CComboBox::GetItemHeight(int nIndex) const {
  return static_cast<int>(Send(m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
}

int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight) {
  return static_cast<int>(
      Send(m_hWnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(cyItemHeight)));
}

int CComboBox::AddString(CStrArg lpszString) {
  return static_cast<int>(Send(m_hWnd, CB_ADDSTRING, 0, Text(lpszString)));
}

int CComboBox::InsertString(int nIndex, CStrArg lpszString) {
  return static_cast<int>(Send(m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(lpszString)));
}

int CComboBox::DeleteString(UINT nIndex) {
  return static_cast<int>(Send(m_hWnd, CB_DELETESTRING, nIndex));
}

void CComboBox::ResetContent() { Send(m_hWnd, CB_RESETCONTENT); }

int CComboBox::FindString(int nStartAfter, CStrArg lpszString) const {
  return static_cast<int>(Send(m_hWnd, CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszString)));
}

int CComboBox::FindStringExact(int nIndexStart, CStrArg lpszFind) const {
  return static_cast<int>(
      Send(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(lpszFind)));
}

int CComboBox::SelectString(int nStartAfter, CStrArg lpszString) {
  return static_cast<int>(
      Send(m_hWnd, CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszString)));
}

void CComboBox::Clear() { Send(m_hWnd, WM_CLEAR); }
void CComboBox::Copy() { Send(m_hWnd, WM_COPY); }
void CComboBox::Cut() { Send(m_hWnd, WM_CUT); }
void CComboBox::Paste() { Send(m_hWnd, WM_PASTE); }

// ---------------------------------------------------------------------------
// CScrollBar

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(L"SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CScrollBar::GetScrollPos() const { return m_hWnd ? ::GetScrollPos(m_hWnd, SB_CTL) : 0; }

int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) {
  return m_hWnd ? ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw) : 0;
}

void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const {
  if (m_hWnd) ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos);
}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw) {
  if (m_hWnd) ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
}

void CScrollBar::ShowScrollBar(BOOL bShow) {
  if (m_hWnd) ::ShowScrollBar(m_hWnd, SB_CTL, bShow);
}

BOOL CScrollBar::EnableScrollBar(UINT nArrowFlags) {
  return m_hWnd ? ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags) : FALSE;
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  if (!m_hWnd || !lpScrollInfo) return FALSE;
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
  return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) {
  if (!m_hWnd || !lpScrollInfo) return FALSE;
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}

int CScrollBar::GetScrollLimit() {
  SCROLLINFO info{};
  if (!GetScrollInfo(&info, SIF_RANGE | SIF_PAGE)) return 0;
  int limit = info.nMax;
  if (info.nPage > 0) limit -= static_cast<int>(info.nPage) - 1;
  return limit;
}
