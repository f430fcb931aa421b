#pragma once
// The two panes of the main frame's splitter: the SI tree (the document's
// view) and the list of the selected element's fields.
#include "ui_win/ValuePane.h"
#include "ui_win/mfc.h"

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
