#pragma once
// CMainFrame: the frame of the single document: toolbar, status bar (the
// driver's lock state, refreshed twice a second also while a modal dialog is
// up), a 1 x 2 static splitter with the tree pane and the value pane, and the
// docking "Output" bar.
#include <vector>

#include "ui_win/OutputBar.h"
#include "ui_win/mfc.h"

class CTransponderTableListPaneWnd;
class CTransponderValuePaneWnd;

class CMainFrame : public CFrameWnd {
 protected:
  CMainFrame();
  DECLARE_DYNCREATE(CMainFrame)

 public:
  ~CMainFrame() override;

  // Output bar services; each does nothing before the bar's window exists.
  void AddOutputLine(const char* text);
  void ClearOutput();
  void ShowValueData(const std::vector<unsigned char>* bytes);

  CTransponderTableListPaneWnd* GetTreePane();
  CTransponderValuePaneWnd* GetValuePane();

  COutputBar& GetOutputBar() { return m_wndOutputBar; }
  CStatusBar& GetStatusBar() { return m_wndStatusBar; }
  CToolBar& GetToolBar() { return m_wndToolBar; }
  CSplitterWnd& GetSplitter() { return m_wndSplitter; }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnViewOutputWindow();
  afx_msg void OnUpdateViewOutputWindow(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  // The status bar's panes from their update handlers, now.
  void RefreshStatusBar();

  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  CSplitterWnd m_wndSplitter;
  COutputBar m_wndOutputBar;
};
