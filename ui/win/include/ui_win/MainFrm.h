#pragma once
// CMainFrame: the frame of the single document: toolbar, status bar (the
// driver's lock state), a 1 x 2 static splitter with the tree pane and the
// value pane, and the docking "Output" bar.
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
  afx_msg void OnViewOutputWindow();
  afx_msg void OnUpdateViewOutputWindow(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  CSplitterWnd m_wndSplitter;
  COutputBar m_wndOutputBar;
};
