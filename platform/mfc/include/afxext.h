#pragma once
// Extensions of the frame library: the splitter window.  Control bars,
// toolbar and status bar come with afxwin.h.
#include <afxwin.h>

#include <vector>

// CSplitterWnd: panes in rows and columns, separated by bars the user drags.
// Only static splitters (a fixed grid made with CreateStatic) are supported.
class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)

 public:
  CSplitterWnd();
  ~CSplitterWnd() override;

  BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols,
                    DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_PANE_FIRST);
  // Creates the pane (row, col) from pViewClass with the creation context
  // (the view joins its document); sizeInit is the ideal size of its row
  // and column.
  virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                          CCreateContext* pContext);

  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  // Current and minimum size of a row or column.
  void GetRowInfo(int row, int& cyCur, int& cyMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);

  CWnd* GetPane(int row, int col) const;
  BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);
  int IdFromRowCol(int row, int col) const;
  CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
  void SetActivePane(int row, int col, CWnd* pWnd = nullptr);

  // Places the panes: every row and column gets its ideal size, the last
  // ones what is left.
  virtual void RecalcLayout();

  // Width of the bar between two panes.
  int m_cxSplitter = 6;
  int m_cySplitter = 6;

 protected:
  struct Info {
    int nIdealSize = 0;
    int nMinSize = 0;
    int nCurSize = 0;
  };
  // The bar under a client point: column bar index (>= 0), row bar index
  // (>= 0) or -1 each.
  void HitTestBars(CPoint pt, int& colBar, int& rowBar) const;
  void DrawTracker();
  void StopTracking(BOOL bAccept);

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnSetCursorMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCaptureChangedMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnKeyDownMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  int m_nRows = 0;
  int m_nCols = 0;
  std::vector<Info> m_rowInfo;
  std::vector<Info> m_colInfo;
  // Bar tracking.
  BOOL m_bTracking = FALSE;
  int m_nTrackCol = -1;
  int m_nTrackRow = -1;
  int m_nTrackPos = 0;
  int m_nTrackOffset = 0;  // where the bar was taken, from its left or top
  int m_nTrackMin = 0;
  int m_nTrackMax = 0;
  BOOL m_bTrackerShown = FALSE;
};
