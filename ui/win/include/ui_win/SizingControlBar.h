#pragma once
// CSizingControlBar: a docking control bar that keeps one size per state
// (docked horizontally, docked vertically, floating), is resized by dragging
// its inner edges and shares its dock row with other sizing bars.
// CSizingControlBarG adds a gripper and a close button to a docked bar.
#include <vector>

#include "ui_core/sizing_bar.h"
#include "ui_win/mfc.h"

// Sizing style bits.
#define SCBS_EDGELEFT 0x00000001
#define SCBS_EDGERIGHT 0x00000002
#define SCBS_EDGETOP 0x00000004
#define SCBS_EDGEBOTTOM 0x00000008
#define SCBS_EDGEALL 0x0000000F
#define SCBS_SHOWEDGES 0x00000010
#define SCBS_SIZECHILD 0x00000020

class CSizingControlBar : public CControlBar {
  DECLARE_DYNAMIC(CSizingControlBar)

 public:
  CSizingControlBar();
  ~CSizingControlBar() override;

  virtual BOOL Create(const char* lpszWindowName, CWnd* pParentWnd, UINT nID,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP);
  virtual BOOL Create(const char* lpszWindowName, CWnd* pParentWnd, CSize sizeDefault,
                      BOOL bHasGripper, UINT nID, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP);

  // Sizes from / to the application profile, section "<profile>-SCBar-<id>".
  virtual void LoadState(const char* lpszProfileName);
  virtual void SaveState(const char* lpszProfileName);

  BOOL IsFloating() const;
  BOOL IsHorzDocked() const;
  BOOL IsVertDocked() const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  DWORD GetSCBStyle() const { return m_dwSCBStyle; }
  void SetSCBStyle(DWORD style) { m_dwSCBStyle = style; }
  CSize GetHorzSize() const { return m_szHorz; }
  CSize GetVertSize() const { return m_szVert; }
  CSize GetFloatSize() const { return m_szFloat; }
  void SetHorzSize(CSize s) { m_szHorz = s; }
  UINT GetDockBarId() const { return m_nDockBarID; }
  BOOL IsTracking() const { return m_bTracking; }

 protected:
  // Edge tracking.
  virtual void StartTracking(UINT nHitTest, CPoint point);
  virtual void StopTracking();
  virtual void OnTrackUpdateSize(CPoint& point);
  virtual void OnTrackInvertTracker();
  virtual void NcPaintGripper(CDC* pDC, CRect rcClient);
  virtual void NcCalcClient(LPRECT pRc, UINT nDockBarID);
  virtual void AlignControlBars();

  ui_core::DockSide Side() const { return ui_core::DockSideOf(m_nDockBarID); }
  // The sizing bars of this bar's dock row, in row order.
  void GetRowSizingBars(std::vector<CSizingControlBar*>& bars) const;
  // This bar's window rectangle in its own window coordinates.
  ui_core::BarRect WindowRectLocal() const;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg void OnNcPaint();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnSettingChange(UINT uFlags, const char* lpszSection);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  DWORD m_dwSCBStyle;
  UINT m_htEdge;
  CSize m_szHorz;
  CSize m_szVert;
  CSize m_szFloat;
  CSize m_szMinHorz;
  CSize m_szMinVert;
  CSize m_szMinFloat;
  int m_nTrackPosMin;
  int m_nTrackPosMax;
  int m_nTrackPosOld;
  int m_nTrackEdgeOfs;
  BOOL m_bTracking;
  CRect m_rectOldTracker;
  BOOL m_bDragShowContent;
  BOOL m_bKeepSize;
  BOOL m_bParentSizing;
  UINT m_nDockBarID;
  int m_cxEdge;
  CString m_className;
  CRect m_rcNcWindow;  // the window rectangle of the last non-client calculation
};

class CSizingControlBarG : public CSizingControlBar {
  DECLARE_DYNAMIC(CSizingControlBarG)

 public:
  CSizingControlBarG();

  virtual BOOL HasGripper() const;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  BOOL IsClosePushed() const { return m_bPushed; }
  BOOL IsCloseRaised() const { return m_bRaised; }
  // Close button origin relative to the bar's window rectangle.
  CPoint GetCloseButtonOrigin() const { return m_ptClose; }

 protected:
  void NcPaintGripper(CDC* pDC, CRect rcClient) override;
  void NcCalcClient(LPRECT pRc, UINT nDockBarID) override;
  void PaintCloseButton(CDC* pDC);

  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  DECLARE_MESSAGE_MAP()

  int m_cyGripper;
  BOOL m_bPushed;
  BOOL m_bRaised;
  CPoint m_ptClose;
};
