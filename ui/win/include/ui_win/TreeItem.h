#pragma once
// CTreeItem: the item data of every tree node that reacts to selection or
// offers a context menu, and the base of the value pane's row items.  The
// owner (the tree or the value pane) deletes items through the virtual
// destructor; nothing of this family owns the SI element it points at.
#include "ui_win/mfc.h"

class CTreeItem {
 public:
  CTreeItem() = default;
  CTreeItem(const CTreeItem&) = delete;
  CTreeItem& operator=(const CTreeItem&) = delete;
  virtual ~CTreeItem() = default;

  // TRUE when a right click on the item's node or row shows a menu.
  virtual BOOL HasContextMenu() { return FALSE; }
  // Loads the item's menu resource into `menu` (the caller shows its first
  // popup and destroys it).  Nothing here.
  virtual void LoadContextMenu(CMenu* menu) { (void)menu; }
  // The node or row was selected (or its state changed).  Nothing here.
  virtual void OnSelect() {}
};
