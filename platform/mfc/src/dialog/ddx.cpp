// Dialog data exchange (DDX_*) and validation (DDV_*).
#include "afxwin.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <string>

#include "dialog_internal.h"

// ---------------------------------------------------------------------------
// CDataExchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl =
      m_pDlgWnd && m_pDlgWnd->GetSafeHwnd() ? ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC) : nullptr;
  if (!hWndCtrl) {
    TRACE("data exchange: no control %d in the dialog\n", nIDC);
    throw CDataExchangeFailure();
  }
  m_hWndLastControl = hWndCtrl;
  m_bEditLastControl = FALSE;
  m_idLastControl = static_cast<UINT>(nIDC);
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl && ::IsWindow(m_hWndLastControl)) {
    // Back to the control that holds the wrong value, its text selected.
    if (m_pDlgWnd && m_pDlgWnd->GetSafeHwnd())
      ::SendMessageW(m_pDlgWnd->GetSafeHwnd(), WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(m_hWndLastControl), 1);
    else
      ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  throw CDataExchangeFailure();
}

// ---------------------------------------------------------------------------
// Text of a control

namespace {

std::wstring WindowText(HWND hWnd) {
  const int len = ::GetWindowTextLengthW(hWnd);
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  const int got = ::GetWindowTextW(hWnd, text.data(), len + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

void SetText(HWND hWnd, const wchar_t* text) {
  // Unchanged text is not set again, so that edits do not flicker or lose
  // their selection.
  if (WindowText(hWnd) != text) ::SetWindowTextW(hWnd, text);
}

std::wstring Trimmed(const std::wstring& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && std::iswspace(s[b])) ++b;
  while (e > b && std::iswspace(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Whole-text conversions; false when the text is not one number.
bool ParseSigned(const std::wstring& text, long long& out) {
  const std::wstring t = Trimmed(text);
  if (t.empty()) return false;
  wchar_t* end = nullptr;
  errno = 0;
  out = std::wcstoll(t.c_str(), &end, 10);
  return errno == 0 && end && *end == L'\0';
}

bool ParseUnsigned(const std::wstring& text, unsigned long long& out) {
  const std::wstring t = Trimmed(text);
  if (t.empty() || t[0] == L'-') return false;
  wchar_t* end = nullptr;
  errno = 0;
  out = std::wcstoull(t.c_str(), &end, 10);
  return errno == 0 && end && *end == L'\0';
}

bool ParseReal(const std::wstring& text, double& out) {
  const std::wstring t = Trimmed(text);
  if (t.empty()) return false;
  wchar_t* end = nullptr;
  errno = 0;
  out = std::wcstod(t.c_str(), &end);
  return errno == 0 && end && *end == L'\0' && std::isfinite(out);
}

[[noreturn]] void FailWith(CDataExchange* pDX, const char* text) {
  AfxMessageBox(text, MB_ICONEXCLAMATION);
  pDX->Fail();
}

template <typename T>
void ExchangeSigned(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    long long v = 0;
    if (!ParseSigned(WindowText(hWndCtrl), v)) FailWith(pDX, "Enter a whole number.");
    if (v < lo || v > hi) {
      char text[128];
      std::snprintf(text, sizeof text, "Enter a whole number from %lld to %lld.", lo, hi);
      FailWith(pDX, text);
    }
    value = static_cast<T>(v);
  } else {
    SetText(hWndCtrl, std::to_wstring(static_cast<long long>(value)).c_str());
  }
}

template <typename T>
void ExchangeUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long hi) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    unsigned long long v = 0;
    if (!ParseUnsigned(WindowText(hWndCtrl), v)) FailWith(pDX, "Enter a whole number that is not negative.");
    if (v > hi) {
      char text[128];
      std::snprintf(text, sizeof text, "Enter a whole number from 0 to %llu.", hi);
      FailWith(pDX, text);
    }
    value = static_cast<T>(v);
  } else {
    SetText(hWndCtrl, std::to_wstring(static_cast<unsigned long long>(value)).c_str());
  }
}

void ExchangeReal(CDataExchange* pDX, int nIDC, double& value, int digits, double limit) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    double v = 0;
    if (!ParseReal(WindowText(hWndCtrl), v) || std::fabs(v) > limit) FailWith(pDX, "Enter a number.");
    value = v;
  } else {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.*g", digits, value);
    SetText(hWndCtrl, text);
  }
}

bool IsComboWithEdit(HWND hWndCtrl) {
  const LONG style = ::GetWindowLongW(hWndCtrl, GWL_STYLE);
  return (style & 0x3) != CBS_DROPDOWNLIST;
}

}  // namespace

// ---------------------------------------------------------------------------
// DDX_Text

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = CString(WindowText(hWndCtrl));
  else
    SetText(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  ExchangeSigned(pDX, nIDC, value, INT_MIN, INT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  ExchangeSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, short& value) {
  ExchangeSigned(pDX, nIDC, value, SHRT_MIN, SHRT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  ExchangeUnsigned(pDX, nIDC, value, UINT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) {
  ExchangeUnsigned(pDX, nIDC, value, 0xFFFFFFFFull);
}

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
  ExchangeUnsigned(pDX, nIDC, value, 255);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
  ExchangeReal(pDX, nIDC, value, DBL_DIG, DBL_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value) {
  double v = value;
  ExchangeReal(pDX, nIDC, v, FLT_DIG, FLT_MAX);
  value = static_cast<float>(v);
}

// ---------------------------------------------------------------------------
// Buttons

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
  } else {
    const int state = (value < 0 || value > 2) ? 0 : value;
    ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(state), 0);
  }
}

// nIDC is the first radio button of a group; value is the index of the
// checked button within the group (-1: none).
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  int index = 0;
  for (HWND h = hWndCtrl; h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (h != hWndCtrl && (::GetWindowLongW(h, GWL_STYLE) & WS_GROUP)) break;
    if (!(::SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
    if (pDX->m_bSaveAndValidate) {
      if (::SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
    } else {
      ::SendMessageW(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ++index;
  }
}

// ---------------------------------------------------------------------------
// Combo and list boxes

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
  else
    ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

namespace {

std::wstring ComboSelectedText(HWND hWndCtrl) {
  if (IsComboWithEdit(hWndCtrl)) return WindowText(hWndCtrl);
  const LRESULT sel = ::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0);
  if (sel == CB_ERR) return std::wstring();
  const LRESULT len = ::SendMessageW(hWndCtrl, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
  if (len == CB_ERR) return std::wstring();
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  ::SendMessageW(hWndCtrl, CB_GETLBTEXT, static_cast<WPARAM>(sel),
                 reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::wcslen(text.c_str()));
  return text;
}

std::wstring ListSelectedText(HWND hWndCtrl) {
  const LRESULT sel = ::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0);
  if (sel == LB_ERR) return std::wstring();
  const LRESULT len = ::SendMessageW(hWndCtrl, LB_GETTEXTLEN, static_cast<WPARAM>(sel), 0);
  if (len == LB_ERR) return std::wstring();
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  ::SendMessageW(hWndCtrl, LB_GETTEXT, static_cast<WPARAM>(sel),
                 reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::wcslen(text.c_str()));
  return text;
}

}  // namespace

// Loading selects the first item that starts with the text; an editable
// combo box shows the text itself when no item matches.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = CString(ComboSelectedText(hWndCtrl));
  } else {
    const LPCWSTR text = value;
    if (::SendMessageW(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(text)) == CB_ERR &&
        IsComboWithEdit(hWndCtrl))
      ::SetWindowTextW(hWndCtrl, text);
  }
}

// As DDX_CBString, but loading selects only an item equal to the text
// (case-insensitive).
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = CString(ComboSelectedText(hWndCtrl));
  } else {
    const LPCWSTR text = value;
    const LRESULT found = ::SendMessageW(hWndCtrl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text));
    if (found != CB_ERR) {
      ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    } else {
      ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      if (IsComboWithEdit(hWndCtrl)) ::SetWindowTextW(hWndCtrl, text);
    }
  }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0));
  else
    ::SendMessageW(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = CString(ListSelectedText(hWndCtrl));
  } else {
    const LPCWSTR text = value;
    if (::SendMessageW(hWndCtrl, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(text)) == LB_ERR)
      ::SendMessageW(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
}

void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = CString(ListSelectedText(hWndCtrl));
  } else {
    const LPCWSTR text = value;
    const LRESULT found = ::SendMessageW(hWndCtrl, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text));
    ::SendMessageW(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(found == LB_ERR ? -1 : found), 0);
  }
}

// ---------------------------------------------------------------------------
// Scroll bars, sliders, control objects

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = ::GetScrollPos(hWndCtrl, SB_CTL);
  else
    ::SetScrollPos(hWndCtrl, SB_CTL, value, TRUE);
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessageW(hWndCtrl, TBM_GETPOS, 0, 0));
  else
    ::SendMessageW(hWndCtrl, TBM_SETPOS, TRUE, value);
}

// Attaches rControl to the dialog's control nIDC the first time (the control
// then runs through rControl's message map); later exchanges only check it.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.GetSafeHwnd()) return;
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWndCtrl)) {
    TRACE("DDX_Control: control %d cannot be attached\n", nIDC);
    throw CDataExchangeFailure();
  }
}

// ---------------------------------------------------------------------------
// Validation: active while saving; each follows the exchange of its control.

namespace {

template <typename T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, const char* format) {
  if (!pDX->m_bSaveAndValidate) return;
  if (value < minVal || value > maxVal) {
    char text[160];
    std::snprintf(text, sizeof text, format, minVal, maxVal);
    FailWith(pDX, text);
  }
}

}  // namespace

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  CheckRange(pDX, value, minVal, maxVal, "Enter a whole number from %d to %d.");
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  CheckRange(pDX, value, minVal, maxVal, "Enter a whole number from %u to %u.");
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
  CheckRange(pDX, value, minVal, maxVal, "Enter a whole number from %ld to %ld.");
}

void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
  CheckRange(pDX, static_cast<unsigned long>(value), static_cast<unsigned long>(minVal),
             static_cast<unsigned long>(maxVal), "Enter a whole number from %lu to %lu.");
}

void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
  CheckRange(pDX, static_cast<unsigned>(value), static_cast<unsigned>(minVal),
             static_cast<unsigned>(maxVal), "Enter a whole number from %u to %u.");
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal) {
  CheckRange(pDX, value, minVal, maxVal, "Enter a number from %g to %g.");
}

// Saving: the text may hold at most nChars characters.  Loading: the edit or
// combo box is limited to nChars.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate) {
    if (value.GetLength() > nChars) {
      char text[128];
      std::snprintf(text, sizeof text, "Enter no more than %d characters.", nChars);
      FailWith(pDX, text);
    }
    return;
  }
  HWND hWndCtrl = pDX->m_hWndLastControl;
  if (!hWndCtrl) return;
  wchar_t cls[16] = L"";
  ::GetClassNameW(hWndCtrl, cls, 16);
  if (_wcsicmp(cls, L"ComboBox") == 0)
    ::SendMessageW(hWndCtrl, CB_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
  else
    ::SendMessageW(hWndCtrl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
}

// ---------------------------------------------------------------------------
// UpdateData

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  if (!m_hWnd) return FALSE;
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const CDataExchangeFailure&) {
    return FALSE;
  }
  return TRUE;
}
