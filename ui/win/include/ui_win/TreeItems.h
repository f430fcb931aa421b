#pragma once
// The item data of the SI tree's nodes (CTreeItem family): plain items that
// empty the value pane, the network and transponder items, and one element
// item per element type whose holder calls the value pane's display routine
// of that type.  Items point into the document's store and never copy it; no
// destructor here reads an element, so items may outlive the store.
#include "ui_core/si_tree.h"
#include "ui_win/TreeItem.h"
#include "ui_win/ValuePane.h"
#include "ui_win/tree_pane_res.h"

// Selecting it empties the value pane.
class CPaneTreeItem : public CTreeItem {
 public:
  explicit CPaneTreeItem(CTransponderValuePaneWnd* pane) : m_pane(pane) {}
  void OnSelect() override;
  CTransponderValuePaneWnd* GetValuePane() const { return m_pane; }

 protected:
  CTransponderValuePaneWnd* m_pane;
};

class CNetworkItem : public CPaneTreeItem {
 public:
  CNetworkItem(CTransponderValuePaneWnd* pane, const lib13818::Network* network)
      : CPaneTreeItem(pane), m_network(network) {}
  const lib13818::Network* GetNetwork() const { return m_network; }

 private:
  const lib13818::Network* m_network;
};

// A transport stream: menu 145.
class CTransponderItem : public CPaneTreeItem {
 public:
  CTransponderItem(CTransponderValuePaneWnd* pane, const lib13818::Transponder* transponder)
      : CPaneTreeItem(pane), m_transponder(transponder) {}
  BOOL HasContextMenu() override { return TRUE; }
  void LoadContextMenu(CMenu* menu) override;
  const lib13818::Transponder* GetTransponder() const { return m_transponder; }

 private:
  const lib13818::Transponder* m_transponder;
};

// Calls the value pane's display routine of one element type.
class CElementHolder {
 public:
  CElementHolder(CTransponderValuePaneWnd* pane, const void* element) : m_pane(pane), m_element(element) {}
  CElementHolder(const CElementHolder&) = delete;
  CElementHolder& operator=(const CElementHolder&) = delete;
  virtual void Show() = 0;
  virtual ~CElementHolder() = default;

 protected:
  CTransponderValuePaneWnd* m_pane;
  const void* m_element;
};

// One holder class per element type.
template <orb::ui::ElementKind K>
class CElementHolderOf final : public CElementHolder {
 public:
  using CElementHolder::CElementHolder;
  void Show() override;
};

// An element node: owns its holder (null when it could not be made: then
// selecting the node shows nothing).
class CElementItem : public CPaneTreeItem {
 public:
  CElementItem(CTransponderValuePaneWnd* pane, orb::ui::ElementKind kind, const void* element);
  ~CElementItem() override;
  void OnSelect() override;
  orb::ui::ElementKind GetKind() const { return m_kind; }
  const void* GetElement() const { return m_element; }
  CElementHolder* GetHolder() const { return m_holder; }

 private:
  CElementHolder* m_holder;
  const void* m_element;
  orb::ui::ElementKind m_kind;
};

// The four element kinds with a context menu.
class CStreamItem : public CElementItem {
 public:
  CStreamItem(CTransponderValuePaneWnd* pane, const lib13818::ProgramMapSection* pmt)
      : CElementItem(pane, orb::ui::ElementKind::Pmt, pmt) {}
  BOOL HasContextMenu() override { return TRUE; }
  void LoadContextMenu(CMenu* menu) override;
};

class CSatelliteDeliveryItem : public CElementItem {
 public:
  CSatelliteDeliveryItem(CTransponderValuePaneWnd* pane, const lib13818::DescriptorSatelliteDeliverySystem* d)
      : CElementItem(pane, orb::ui::ElementKind::SatelliteDeliverySystemDescriptor, d) {}
  BOOL HasContextMenu() override { return TRUE; }
  void LoadContextMenu(CMenu* menu) override;
};

class CCableDeliveryItem : public CElementItem {
 public:
  CCableDeliveryItem(CTransponderValuePaneWnd* pane, const lib13818::DescriptorCableDeliverySystem* d)
      : CElementItem(pane, orb::ui::ElementKind::CableDeliverySystemDescriptor, d) {}
  BOOL HasContextMenu() override { return TRUE; }
  void LoadContextMenu(CMenu* menu) override;
};

class CTerrestrialDeliveryItem : public CElementItem {
 public:
  CTerrestrialDeliveryItem(CTransponderValuePaneWnd* pane, const lib13818::DescriptorTerrestrialDeliverySystem* d)
      : CElementItem(pane, orb::ui::ElementKind::TerrestrialDeliverySystemDescriptor, d) {}
  BOOL HasContextMenu() override { return TRUE; }
  void LoadContextMenu(CMenu* menu) override;
};

// The item of a node as the builders describe it (null for a list node).
CTreeItem* CreateTreeItem(const orb::ui::TreeItem& item, CTransponderValuePaneWnd* pane);
