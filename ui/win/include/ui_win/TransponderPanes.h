#pragma once
// The two panes of the main frame's splitter: the SI tree (the document's
// view) and the list of the selected element's fields.
#include "ui_win/mfc.h"

class CTransponderValuePaneWnd;

class CTransponderTableListPaneWnd : public CTreeView {
 protected:
  CTransponderTableListPaneWnd();
  DECLARE_DYNCREATE(CTransponderTableListPaneWnd)

 public:
  ~CTransponderTableListPaneWnd() override;

  // Deletes every item (and the root), so that nothing points into the store.
  void ClearTree();

  DECLARE_MESSAGE_MAP()
};

class CTransponderValuePaneWnd : public CListView {
 protected:
  CTransponderValuePaneWnd();
  DECLARE_DYNCREATE(CTransponderValuePaneWnd)

 public:
  ~CTransponderValuePaneWnd() override;

  DECLARE_MESSAGE_MAP()
};
