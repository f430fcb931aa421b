#include "ui_win/TreeItems.h"

#include <new>

using orb::ui::ElementKind;
using orb::ui::TreeItem;

void CPaneTreeItem::OnSelect() {
  if (m_pane) m_pane->ClearItems();
}

void CTransponderItem::LoadContextMenu(CMenu* menu) { menu->LoadMenu(IDR_TREE_TRANSPONDER_MENU); }
void CStreamItem::LoadContextMenu(CMenu* menu) { menu->LoadMenu(IDR_TREE_PROGRAM_MENU); }
void CSatelliteDeliveryItem::LoadContextMenu(CMenu* menu) { menu->LoadMenu(IDR_TREE_SATELLITE_MENU); }
void CCableDeliveryItem::LoadContextMenu(CMenu* menu) { menu->LoadMenu(IDR_TREE_CABLE_MENU); }
void CTerrestrialDeliveryItem::LoadContextMenu(CMenu* menu) { menu->LoadMenu(IDR_TREE_TERRESTRIAL_MENU); }

// Each holder calls its type's routine with the element it was given.
#define ORB_TREE_ELEMENT(kind, record, show)                                   \
  template <>                                                                  \
  void CElementHolderOf<ElementKind::kind>::Show() {                           \
    if (m_pane && m_element) m_pane->show(*static_cast<const lib13818::record*>(m_element)); \
  }
#include "ui_core/tree_elements.def"
#undef ORB_TREE_ELEMENT

namespace {

using HolderFactory = CElementHolder* (*)(CTransponderValuePaneWnd*, const void*);

template <ElementKind K>
CElementHolder* MakeHolder(CTransponderValuePaneWnd* pane, const void* element) {
  return new (std::nothrow) CElementHolderOf<K>(pane, element);
}

const HolderFactory kHolderFactories[] = {
#define ORB_TREE_ELEMENT(kind, record, show) &MakeHolder<ElementKind::kind>,
#include "ui_core/tree_elements.def"
#undef ORB_TREE_ELEMENT
};
static_assert(sizeof kHolderFactories / sizeof kHolderFactories[0] == orb::ui::kElementKindCount);

}  // namespace

CElementItem::CElementItem(CTransponderValuePaneWnd* pane, ElementKind kind, const void* element)
    : CPaneTreeItem(pane),
      m_holder(kHolderFactories[static_cast<std::size_t>(kind)](pane, element)),
      m_element(element),
      m_kind(kind) {}

CElementItem::~CElementItem() { delete m_holder; }

void CElementItem::OnSelect() {
  if (m_holder)
    m_holder->Show();
  else if (m_pane)
    m_pane->ClearItems();  // nothing to show: at least not the rows of another node
}

CTreeItem* CreateTreeItem(const TreeItem& item, CTransponderValuePaneWnd* pane) {
  switch (item.kind) {
    case TreeItem::Kind::None:
      return nullptr;
    case TreeItem::Kind::Pane:
      return new CPaneTreeItem(pane);
    case TreeItem::Kind::Network:
      return new CNetworkItem(pane, static_cast<const lib13818::Network*>(item.data));
    case TreeItem::Kind::Transponder:
      return new CTransponderItem(pane, static_cast<const lib13818::Transponder*>(item.data));
    case TreeItem::Kind::Element:
      switch (item.element) {
        case ElementKind::Pmt:
          return new CStreamItem(pane, static_cast<const lib13818::ProgramMapSection*>(item.data));
        case ElementKind::SatelliteDeliverySystemDescriptor:
          return new CSatelliteDeliveryItem(
              pane, static_cast<const lib13818::DescriptorSatelliteDeliverySystem*>(item.data));
        case ElementKind::CableDeliverySystemDescriptor:
          return new CCableDeliveryItem(pane, static_cast<const lib13818::DescriptorCableDeliverySystem*>(item.data));
        case ElementKind::TerrestrialDeliverySystemDescriptor:
          return new CTerrestrialDeliveryItem(
              pane, static_cast<const lib13818::DescriptorTerrestrialDeliverySystem*>(item.data));
        default:
          return new CElementItem(pane, item.element, item.data);
      }
  }
  return nullptr;
}
