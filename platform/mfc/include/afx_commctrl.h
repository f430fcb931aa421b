#pragma once
// Wrappers of the common controls used in dialogs and bars: tab, progress,
// slider (trackbar) and spin (up-down) controls.  Narrow texts.

#include "afxwin.h"

#include <commctrl.h>

class CTabCtrl : public CWnd {
  DECLARE_DYNAMIC(CTabCtrl)
 public:
  CTabCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetItemCount() const;
  BOOL GetItem(int nItem, TCITEMW* pTabCtrlItem) const;
  BOOL SetItem(int nItem, TCITEMW* pTabCtrlItem);
  BOOL GetItemRect(int nItem, LPRECT lpRect) const;
  int GetCurSel() const;
  int SetCurSel(int nItem);
  int GetCurFocus() const;
  void SetCurFocus(int nItem);
  int GetRowCount() const;
  CSize SetItemSize(CSize size);
  void SetPadding(CSize size);
  HIMAGELIST SetImageList(HIMAGELIST hImageList);

  LONG InsertItem(int nItem, TCITEMW* pTabCtrlItem);
  LONG InsertItem(int nItem, CStrArg lpszItem);
  LONG InsertItem(int nItem, CStrArg lpszItem, int nImage);
  LONG InsertItem(UINT nMask, int nItem, CStrArg lpszItem, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  // bLarger TRUE: display rectangle -> window rectangle; FALSE: the reverse.
  void AdjustRect(BOOL bLarger, LPRECT lpRect);
  int HitTest(TCHITTESTINFO* pHitTestInfo) const;
};

class CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)
 public:
  CProgressCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetRange(short nLower, short nUpper);
  void SetRange32(int nLower, int nUpper);
  void GetRange(int& nLower, int& nUpper) const;
  int GetPos() const;
  int SetPos(int nPos);
  int OffsetPos(int nPos);
  int SetStep(int nStep);
  int StepIt();
};

class CSliderCtrl : public CWnd {
  DECLARE_DYNAMIC(CSliderCtrl)
 public:
  CSliderCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetLineSize() const;
  int SetLineSize(int nSize);
  int GetPageSize() const;
  int SetPageSize(int nSize);
  int GetRangeMax() const;
  int GetRangeMin() const;
  void GetRange(int& nMin, int& nMax) const;
  void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
  void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
  void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
  void GetSelection(int& nMin, int& nMax) const;
  void SetSelection(int nMin, int nMax);
  void ClearSel(BOOL bRedraw = FALSE);
  int GetPos() const;
  void SetPos(int nPos);
  void SetTicFreq(int nFreq);
  BOOL SetTic(int nTic);
  void ClearTics(BOOL bRedraw = FALSE);
  int GetNumTics() const;
};

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
 public:
  CSpinButtonCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL SetAccel(int nAccel, UDACCEL* pAccel);
  UINT GetAccel(int nAccel, UDACCEL* pAccel) const;
  int SetBase(int nBase);
  UINT GetBase() const;
  CWnd* SetBuddy(CWnd* pWndBuddy);
  CWnd* GetBuddy() const;
  // The position; the high word of the 16-bit form is nonzero on error.
  int SetPos(int nPos);
  int GetPos() const;
  int SetPos32(int nPos);
  int GetPos32(LPBOOL lpbError = nullptr) const;
  void SetRange(short nLower, short nUpper);
  void SetRange32(int nLower, int nUpper);
  DWORD GetRange() const;
  void GetRange(int& lower, int& upper) const;
  void GetRange32(int& lower, int& upper) const;
};
