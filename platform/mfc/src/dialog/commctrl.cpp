// Wrappers of the tab, progress, slider and spin common controls.
#include "afxwin.h"

#include "dialog_internal.h"

namespace {

LRESULT Send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  return h ? ::SendMessageW(h, msg, wp, lp) : 0;
}

}  // namespace

namespace {

BOOL CreateCommon(CWnd* wnd, LPCWSTR cls, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID) {
  afx_dialog_detail::EnsureCommonControls();
  return wnd->CWnd::Create(cls, nullptr, dwStyle, rect, pParentWnd, nID);
}

}  // namespace

// ---------------------------------------------------------------------------
// CTabCtrl

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateCommon(this, WC_TABCONTROLW, dwStyle, rect, pParentWnd, nID);
}

int CTabCtrl::GetItemCount() const { return static_cast<int>(Send(m_hWnd, TCM_GETITEMCOUNT)); }

BOOL CTabCtrl::GetItem(int nItem, TCITEMW* pTabCtrlItem) const {
  return static_cast<BOOL>(Send(m_hWnd, TCM_GETITEMW, static_cast<WPARAM>(nItem),
                                reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

BOOL CTabCtrl::SetItem(int nItem, TCITEMW* pTabCtrlItem) {
  return static_cast<BOOL>(Send(m_hWnd, TCM_SETITEMW, static_cast<WPARAM>(nItem),
                                reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

BOOL CTabCtrl::GetItemRect(int nItem, LPRECT lpRect) const {
  return static_cast<BOOL>(Send(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(nItem),
                                reinterpret_cast<LPARAM>(lpRect)));
}

int CTabCtrl::GetCurSel() const { return static_cast<int>(Send(m_hWnd, TCM_GETCURSEL)); }

int CTabCtrl::SetCurSel(int nItem) {
  return static_cast<int>(Send(m_hWnd, TCM_SETCURSEL, static_cast<WPARAM>(nItem)));
}

int CTabCtrl::GetCurFocus() const { return static_cast<int>(Send(m_hWnd, TCM_GETCURFOCUS)); }
void CTabCtrl::SetCurFocus(int nItem) { Send(m_hWnd, TCM_SETCURFOCUS, static_cast<WPARAM>(nItem)); }
int CTabCtrl::GetRowCount() const { return static_cast<int>(Send(m_hWnd, TCM_GETROWCOUNT)); }

CSize CTabCtrl::SetItemSize(CSize size) {
  const DWORD old = static_cast<DWORD>(Send(m_hWnd, TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy)));
  return CSize(LOWORD(old), HIWORD(old));
}

void CTabCtrl::SetPadding(CSize size) { Send(m_hWnd, TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }

HIMAGELIST CTabCtrl::SetImageList(HIMAGELIST hImageList) {
  return reinterpret_cast<HIMAGELIST>(
      Send(m_hWnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)));
}

LONG CTabCtrl::InsertItem(int nItem, TCITEMW* pTabCtrlItem) {
  return static_cast<LONG>(Send(m_hWnd, TCM_INSERTITEMW, static_cast<WPARAM>(nItem),
                                reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

LONG CTabCtrl::InsertItem(int nItem, CStrArg lpszItem) {
  return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0);
}

LONG CTabCtrl::InsertItem(int nItem, CStrArg lpszItem, int nImage) {
  return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, CStrArg lpszItem, int nImage,
                          LPARAM lParam) {
  TCITEMW item{};
  item.mask = nMask;
  item.pszText = const_cast<LPWSTR>(lpszItem.get() ? lpszItem.get() : L"");
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(nItem, &item);
}

BOOL CTabCtrl::DeleteItem(int nItem) {
  return static_cast<BOOL>(Send(m_hWnd, TCM_DELETEITEM, static_cast<WPARAM>(nItem)));
}

BOOL CTabCtrl::DeleteAllItems() { return static_cast<BOOL>(Send(m_hWnd, TCM_DELETEALLITEMS)); }

void CTabCtrl::AdjustRect(BOOL bLarger, LPRECT lpRect) {
  Send(m_hWnd, TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(lpRect));
}

int CTabCtrl::HitTest(TCHITTESTINFO* pHitTestInfo) const {
  return static_cast<int>(Send(m_hWnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
}

// ---------------------------------------------------------------------------
// CProgressCtrl

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateCommon(this, PROGRESS_CLASSW, dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::SetRange(short nLower, short nUpper) {
  Send(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
}

void CProgressCtrl::SetRange32(int nLower, int nUpper) {
  Send(m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
  PBRANGE range{};
  Send(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  nLower = range.iLow;
  nUpper = range.iHigh;
}

int CProgressCtrl::GetPos() const { return static_cast<int>(Send(m_hWnd, PBM_GETPOS)); }

int CProgressCtrl::SetPos(int nPos) {
  return static_cast<int>(Send(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(nPos)));
}

int CProgressCtrl::OffsetPos(int nPos) {
  return static_cast<int>(Send(m_hWnd, PBM_DELTAPOS, static_cast<WPARAM>(nPos)));
}

int CProgressCtrl::SetStep(int nStep) {
  return static_cast<int>(Send(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(nStep)));
}

int CProgressCtrl::StepIt() { return static_cast<int>(Send(m_hWnd, PBM_STEPIT)); }

// ---------------------------------------------------------------------------
// CSliderCtrl

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateCommon(this, TRACKBAR_CLASSW, dwStyle, rect, pParentWnd, nID);
}

int CSliderCtrl::GetLineSize() const { return static_cast<int>(Send(m_hWnd, TBM_GETLINESIZE)); }

int CSliderCtrl::SetLineSize(int nSize) {
  return static_cast<int>(Send(m_hWnd, TBM_SETLINESIZE, 0, nSize));
}

int CSliderCtrl::GetPageSize() const { return static_cast<int>(Send(m_hWnd, TBM_GETPAGESIZE)); }

int CSliderCtrl::SetPageSize(int nSize) {
  return static_cast<int>(Send(m_hWnd, TBM_SETPAGESIZE, 0, nSize));
}

int CSliderCtrl::GetRangeMax() const { return static_cast<int>(Send(m_hWnd, TBM_GETRANGEMAX)); }
int CSliderCtrl::GetRangeMin() const { return static_cast<int>(Send(m_hWnd, TBM_GETRANGEMIN)); }

void CSliderCtrl::GetRange(int& nMin, int& nMax) const {
  nMin = GetRangeMin();
  nMax = GetRangeMax();
}

void CSliderCtrl::SetRangeMin(int nMin, BOOL bRedraw) { Send(m_hWnd, TBM_SETRANGEMIN, bRedraw, nMin); }
void CSliderCtrl::SetRangeMax(int nMax, BOOL bRedraw) { Send(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax); }

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw) {
  // Both ends separately: the packed form holds 16 bits each.
  SetRangeMin(nMin, FALSE);
  SetRangeMax(nMax, bRedraw);
}

void CSliderCtrl::GetSelection(int& nMin, int& nMax) const {
  nMin = static_cast<int>(Send(m_hWnd, TBM_GETSELSTART));
  nMax = static_cast<int>(Send(m_hWnd, TBM_GETSELEND));
}

void CSliderCtrl::SetSelection(int nMin, int nMax) {
  Send(m_hWnd, TBM_SETSELSTART, FALSE, nMin);
  Send(m_hWnd, TBM_SETSELEND, TRUE, nMax);
}

void CSliderCtrl::ClearSel(BOOL bRedraw) { Send(m_hWnd, TBM_CLEARSEL, bRedraw); }
int CSliderCtrl::GetPos() const { return static_cast<int>(Send(m_hWnd, TBM_GETPOS)); }
void CSliderCtrl::SetPos(int nPos) { Send(m_hWnd, TBM_SETPOS, TRUE, nPos); }
void CSliderCtrl::SetTicFreq(int nFreq) { Send(m_hWnd, TBM_SETTICFREQ, static_cast<WPARAM>(nFreq)); }
BOOL CSliderCtrl::SetTic(int nTic) { return static_cast<BOOL>(Send(m_hWnd, TBM_SETTIC, 0, nTic)); }
void CSliderCtrl::ClearTics(BOOL bRedraw) { Send(m_hWnd, TBM_CLEARTICS, bRedraw); }
int CSliderCtrl::GetNumTics() const { return static_cast<int>(Send(m_hWnd, TBM_GETNUMTICS)); }

// ---------------------------------------------------------------------------
// CSpinButtonCtrl

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateCommon(this, UPDOWN_CLASSW, dwStyle, rect, pParentWnd, nID);
}

BOOL CSpinButtonCtrl::SetAccel(int nAccel, UDACCEL* pAccel) {
  return static_cast<BOOL>(
      Send(m_hWnd, UDM_SETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}

UINT CSpinButtonCtrl::GetAccel(int nAccel, UDACCEL* pAccel) const {
  return static_cast<UINT>(
      Send(m_hWnd, UDM_GETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}

int CSpinButtonCtrl::SetBase(int nBase) {
  return static_cast<int>(Send(m_hWnd, UDM_SETBASE, static_cast<WPARAM>(nBase)));
}

UINT CSpinButtonCtrl::GetBase() const { return static_cast<UINT>(Send(m_hWnd, UDM_GETBASE)); }

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy) {
  HWND old = reinterpret_cast<HWND>(
      Send(m_hWnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->GetSafeHwnd() : nullptr)));
  return old ? CWnd::FromHandle(old) : nullptr;
}

CWnd* CSpinButtonCtrl::GetBuddy() const {
  HWND h = reinterpret_cast<HWND>(Send(m_hWnd, UDM_GETBUDDY));
  return h ? CWnd::FromHandle(h) : nullptr;
}

int CSpinButtonCtrl::SetPos(int nPos) {
  return static_cast<int>(Send(m_hWnd, UDM_SETPOS, 0, MAKELPARAM(nPos, 0)));
}

int CSpinButtonCtrl::GetPos() const { return static_cast<int>(Send(m_hWnd, UDM_GETPOS)); }

int CSpinButtonCtrl::SetPos32(int nPos) {
  return static_cast<int>(Send(m_hWnd, UDM_SETPOS32, 0, nPos));
}

int CSpinButtonCtrl::GetPos32(LPBOOL lpbError) const {
  return static_cast<int>(Send(m_hWnd, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError)));
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper) {
  Send(m_hWnd, UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower));
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper) {
  Send(m_hWnd, UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}

DWORD CSpinButtonCtrl::GetRange() const { return static_cast<DWORD>(Send(m_hWnd, UDM_GETRANGE)); }

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
  const DWORD range = GetRange();
  lower = static_cast<short>(HIWORD(range));
  upper = static_cast<short>(LOWORD(range));
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
  Send(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}
