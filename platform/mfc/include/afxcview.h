#pragma once
// Views on the tree and list common controls.
#include <afxwin.h>
#include <afx_listtree.h>

class CTreeView : public CCtrlView {
  DECLARE_DYNCREATE(CTreeView)

 public:
  CTreeView();
  ~CTreeView() override;

  // The view's own window as a tree control.
  CTreeCtrl& GetTreeCtrl() const;

 protected:
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

class CListView : public CCtrlView {
  DECLARE_DYNCREATE(CListView)

 public:
  CListView();
  ~CListView() override;

  // The view's own window as a list control.
  CListCtrl& GetListCtrl() const;

 protected:
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
