#pragma once
// The "Output" docking bar: tab "OUTPUT" with the list of progress lines and
// tab "VALUE" with the hex view of the selected element's bytes.
#include <vector>

#include "ui_win/HexDumpWnd.h"
#include "ui_win/SizingControlBar.h"
#include "ui_win/mfc.h"

class COutputListBox : public CListBox {
 public:
  // Appends a line and scrolls to the last one.
  void AddLine(const char* text);
  void Clear();

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};

class COutputBar : public CSizingControlBarG {
 public:
  COutputBar() = default;

  void AddLine(const char* text) { m_list.AddLine(text); }
  void Clear() { m_list.Clear(); }
  void ShowData(const std::vector<unsigned char>* bytes);
  // 0: the list, 1: the hex view; other values change nothing.
  void ShowTab(int index);

  COutputListBox& GetList() { return m_list; }
  CTabCtrl& GetTabs() { return m_tabs; }
  CDataViewWnd& GetDataView() { return m_dataView; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTabSelChange(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  COutputListBox m_list;
  CTabCtrl m_tabs;
  CDataViewWnd m_dataView;
  CFont m_font;
};
