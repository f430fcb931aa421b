#pragma once
// The two panes of the main frame's splitter: the SI tree (the document's
// view) and the list of the selected element's fields.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "orb_store/si_store.h"
#include "ui_win/TreeItem.h"
#include "ui_win/ValuePane.h"
#include "ui_win/mfc.h"
#include "ui_win/tree_pane_res.h"

// The tree of everything the store holds: "ALL NETWORKS", the networks, the
// transport streams and below each its tables, sections, loop entries and
// descriptors (ui_core/si_tree.h).  Nodes carry CTreeItem objects that point
// into the store, so the tree is cleared before the store changes and
// rebuilt afterwards.  The whole tree is built in memory; a node's children
// go into the control when it is first expanded, so the control holds only
// what the user has opened (a satellite's tree has some 150,000 nodes, and
// the control's cost per node grows with the nodes it holds).  What the user
// sees is the same as if every node had been there from the start.
class CTransponderTableListPaneWnd : public CTreeView {
 protected:
  CTransponderTableListPaneWnd();
  DECLARE_DYNCREATE(CTransponderTableListPaneWnd)

 public:
  ~CTransponderTableListPaneWnd() override;

  // Empties the value pane (its rows point into the store), selects nothing,
  // deletes every node and then every item.  Harmless on an empty tree.
  void ClearTree();
  // Rebuilds the whole tree from the store; `valuePane` is what selections
  // show in.
  void BuildAllNetworks(const lib13818::NetworkMap& networks, CTransponderValuePaneWnd* valuePane);

  // The service name of a PMT program or an EIT service from the SDT actual
  // ("<service not in SDT>" when it holds none).
  static void GetServiceName(const lib13818::SdtSectionMap& sdtActual, lib13818::u32 service_id,
                             lib13818::u32 transport_stream_id, lib13818::u32 original_network_id,
                             std::string& name);

  // Children inserted when their node is first expanded (the default), or
  // every node at once.
  void SetInsertOnExpand(bool onExpand) { m_insertOnExpand = onExpand; }
  // Inserts the children of `node` if they are not in the control yet.
  void EnsureChildren(HTREEITEM node);

  // The width the pane opens with: a service's label at the depth of the
  // PMT programs shows in full, in the tree's font.
  int OpeningWidth() const;

  HTREEITEM GetRootItem() const { return m_rootItem; }
  HTREEITEM GetContextItem() const { return m_contextItem; }
  CTreeItem* GetItemObject(HTREEITEM node) const;
  std::size_t GetItemObjectCount() const { return m_items.size(); }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnSetTunerSatellite();
  afx_msg void OnSetTunerCable();
  afx_msg void OnSetTunerTerrestrial();
  afx_msg void OnUpdateSetTuner(CCmdUI* pCmdUI);
  afx_msg void OnUpdateStreaming(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  class Model;
  HTREEITEM Insert(HTREEITEM parent, std::size_t index);
  // The descriptor of the context item's node, when it is an element item
  // of that kind; logs and answers null otherwise.
  const void* ContextDescriptor();

  HTREEITEM m_rootItem = nullptr;
  HTREEITEM m_contextItem = nullptr;
  CTransponderValuePaneWnd* m_valuePane = nullptr;
  std::vector<std::unique_ptr<CTreeItem>> m_items;  // every item of the tree
  std::unique_ptr<Model> m_model;                      // the whole tree
  std::unordered_map<HTREEITEM, std::size_t> m_pending;  // nodes whose children are not inserted yet
  std::wstring m_text;
  bool m_insertOnExpand = true;
};
