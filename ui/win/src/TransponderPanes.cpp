#include "ui_win/TransponderPanes.h"

#include <windowsx.h>

#include <cstdarg>
#include <cstring>
#include <iterator>

#include "orb_store/tuning.h"
#include "ui_core/si_tree.h"
#include "ui_win/BrowserServices.h"
#include "ui_win/TreeItems.h"

using orb::ui::ElementKind;
using orb::ui::TreeItem;
using orb::ui::TreeNode;

// ---------------------------------------------------------------------------
// Application services

CBrowserServices* GetBrowserServices() { return dynamic_cast<CBrowserServices*>(AfxGetApp()); }

void BrowserLog(long level, const char* format, ...) {
  CBrowserServices* services = GetBrowserServices();
  CLog* log = services ? services->GetBrowserLog() : nullptr;
  if (!log) return;
  va_list args;
  va_start(args, format);
  log->LogV(level, format, args);
  va_end(args);
}

// ---------------------------------------------------------------------------
// The tree in memory, as the builders write it

class CTransponderTableListPaneWnd::Model : public orb::ui::TreeModel {
 public:
  explicit Model(const CTransponderTableListPaneWnd& pane) : m_pane(pane) {}
  void Log(const std::string& line) override { BrowserLog(2, "%s", line.c_str()); }
  const void* Context() const override { return m_pane.m_valuePane; }

 private:
  const CTransponderTableListPaneWnd& m_pane;
};

namespace {

// Redrawing off while many nodes come or go.
class NoRedraw {
 public:
  explicit NoRedraw(HWND wnd) : m_wnd(wnd) { ::SendMessageW(m_wnd, WM_SETREDRAW, FALSE, 0); }
  ~NoRedraw() {
    ::SendMessageW(m_wnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_wnd, nullptr, TRUE);
  }
  NoRedraw(const NoRedraw&) = delete;
  NoRedraw& operator=(const NoRedraw&) = delete;

 private:
  HWND m_wnd;
};

}  // namespace

// ---------------------------------------------------------------------------
// The pane

IMPLEMENT_DYNCREATE(CTransponderTableListPaneWnd, CTreeView)

BEGIN_MESSAGE_MAP(CTransponderTableListPaneWnd, CTreeView)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_INITMENUPOPUP()
  ON_COMMAND(ID_TREE_SET_TUNER_SATELLITE, &CTransponderTableListPaneWnd::OnSetTunerSatellite)
  ON_UPDATE_COMMAND_UI(ID_TREE_SET_TUNER_SATELLITE, &CTransponderTableListPaneWnd::OnUpdateSetTuner)
  ON_COMMAND(ID_TREE_SET_TUNER_CABLE, &CTransponderTableListPaneWnd::OnSetTunerCable)
  ON_UPDATE_COMMAND_UI(ID_TREE_SET_TUNER_CABLE, &CTransponderTableListPaneWnd::OnUpdateSetTuner)
  ON_COMMAND(ID_TREE_SET_TUNER_TERRESTRIAL, &CTransponderTableListPaneWnd::OnSetTunerTerrestrial)
  ON_UPDATE_COMMAND_UI(ID_TREE_SET_TUNER_TERRESTRIAL, &CTransponderTableListPaneWnd::OnUpdateSetTuner)
  ON_UPDATE_COMMAND_UI_RANGE(ID_TREE_EMM_STREAMING, ID_TREE_PRIVATE_SECTION_STREAMING,
                             &CTransponderTableListPaneWnd::OnUpdateStreaming)
  ON_NOTIFY_REFLECT(TVN_SELCHANGED, &CTransponderTableListPaneWnd::OnSelChanged)
  ON_NOTIFY_REFLECT(NM_RCLICK, &CTransponderTableListPaneWnd::OnRClick)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CTransponderTableListPaneWnd::OnItemExpanding)
  ON_NOTIFY_REFLECT(TVN_GETDISPINFO, &CTransponderTableListPaneWnd::OnGetDispInfo)
END_MESSAGE_MAP()

CTransponderTableListPaneWnd::CTransponderTableListPaneWnd() = default;

CTransponderTableListPaneWnd::~CTransponderTableListPaneWnd() {
  // The window is gone by now; the items go with the object.
  m_items.clear();
}

BOOL CTransponderTableListPaneWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CTreeView::PreCreateWindow(cs)) return FALSE;
  cs.style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
  return TRUE;
}

int CTransponderTableListPaneWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  return CTreeView::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

int CTransponderTableListPaneWnd::OpeningWidth() const {
  // A PMT program: "ALL NETWORKS", the network, the transport stream and
  // "PMT" above it, labelled with its number and service name; the name an
  // SDT does not give is as long as a typical long one.
  constexpr int kProgramDepth = 4;
  static const wchar_t kLabel[] = L"FFFF - <service not in SDT>";
  int text = 0;
  if (HDC dc = m_hWnd ? ::GetDC(m_hWnd) : nullptr) {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    if (::GetTextExtentPoint32W(dc, kLabel, static_cast<int>(std::size(kLabel) - 1), &size)) text = size.cx;
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
  }
  const int indent = m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, TVM_GETINDENT, 0, 0)) : 19;
  // Lines at the root give the root its own button column; the label has a
  // few pixels of padding each side; then the border and a vertical scroll
  // bar.
  return (kProgramDepth + 1) * indent + text + 8 + 2 * ::GetSystemMetrics(SM_CXEDGE) +
         ::GetSystemMetrics(SM_CXVSCROLL);
}

void CTransponderTableListPaneWnd::OnDestroy() {
  // The value pane may be gone already (the splitter's panes go in any
  // order); it clears its own rows.
  m_valuePane = nullptr;
  ClearTree();
  CTreeView::OnDestroy();
}

void CTransponderTableListPaneWnd::GetServiceName(const lib13818::SdtSectionMap& sdtActual,
                                                  lib13818::u32 service_id, lib13818::u32 transport_stream_id,
                                                  lib13818::u32 original_network_id, std::string& name) {
  orb::ui::GetServiceName(sdtActual, service_id, transport_stream_id, original_network_id, name);
}

CTreeItem* CTransponderTableListPaneWnd::GetItemObject(HTREEITEM node) const {
  if (!node || !m_hWnd) return nullptr;
  TVITEMW item = {};
  item.mask = TVIF_HANDLE | TVIF_PARAM;
  item.hItem = node;
  if (!::SendMessageW(m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<CTreeItem*>(item.lParam);
}

void CTransponderTableListPaneWnd::ClearTree() {
  // The value pane's rows point into the store too.
  if (m_valuePane) m_valuePane->ClearItems();
  // The context item names a node that is about to go.
  m_contextItem = nullptr;
  if (m_hWnd && m_rootItem) {
    NoRedraw quiet(m_hWnd);
    // Nothing selected, so that deleting nodes announces no selection of an
    // item; the nodes go before the items they carry.
    ::SendMessageW(m_hWnd, TVM_SELECTITEM, TVGN_CARET, 0);
    ::SendMessageW(m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  }
  m_rootItem = nullptr;
  m_pending.clear();
  m_items.clear();
  m_model.reset();
}

void CTransponderTableListPaneWnd::BuildAllNetworks(const lib13818::NetworkMap& networks,
                                                    CTransponderValuePaneWnd* valuePane) {
  ClearTree();
  m_valuePane = valuePane;
  if (!m_hWnd) return;
  m_model = std::make_unique<Model>(*this);
  orb::ui::SiTreeBuilder(*m_model).BuildAllNetworks(networks);
  NoRedraw quiet(m_hWnd);
  for (std::size_t root : m_model->roots()) {
    HTREEITEM node = Insert(nullptr, root);
    if (!m_rootItem) m_rootItem = node;
  }
}

// Inserts model node `index` under `parent` with its item; its children
// follow now or when it is first expanded.
HTREEITEM CTransponderTableListPaneWnd::Insert(HTREEITEM parent, std::size_t index) {
  const orb::ui::TreeModel::Node& node = m_model->At(index);
  // The label is UTF-8, of any length.
  const int length = static_cast<int>(node.label.size());
  const int wide = length ? ::MultiByteToWideChar(CP_UTF8, 0, node.label.data(), length, nullptr, 0) : 0;
  m_text.resize(static_cast<std::size_t>(wide) + 1);
  if (wide) ::MultiByteToWideChar(CP_UTF8, 0, node.label.data(), length, m_text.data(), wide);
  m_text[static_cast<std::size_t>(wide)] = L'\0';

  std::unique_ptr<CTreeItem> object(CreateTreeItem(node.item, m_valuePane));
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = m_text.data();
  insert.item.lParam = reinterpret_cast<LPARAM>(object.get());
  const bool later = m_insertOnExpand && !node.children.empty();
  if (later) {
    // The control asks whether it has children until they are there.
    insert.item.mask |= TVIF_CHILDREN;
    insert.item.cChildren = I_CHILDRENCALLBACK;
  }
  HTREEITEM inserted = reinterpret_cast<HTREEITEM>(
      ::SendMessageW(m_hWnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!inserted) return nullptr;
  if (object) m_items.push_back(std::move(object));
  if (later)
    m_pending.emplace(inserted, index);
  else
    for (std::size_t child : node.children) Insert(inserted, child);
  return inserted;
}

void CTransponderTableListPaneWnd::EnsureChildren(HTREEITEM node) {
  const auto pending = m_pending.find(node);
  if (pending == m_pending.end() || !m_model) return;
  const std::size_t index = pending->second;
  m_pending.erase(pending);
  for (std::size_t child : m_model->At(index).children) Insert(node, child);
}

// ---------------------------------------------------------------------------
// Notifications

void CTransponderTableListPaneWnd::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(pNMHDR);
  *pResult = 0;
  if (!tv->itemNew.hItem) return;
  if (CTreeItem* item = GetItemObject(tv->itemNew.hItem)) {
    item->OnSelect();
  } else if (m_valuePane) {
    // A node without fields of its own ("EIT", a list of sections or
    // descriptors): the rows of the node selected before must not stay.
    m_valuePane->ClearItems();
  }
}

void CTransponderTableListPaneWnd::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
  const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(pNMHDR);
  *pResult = 0;
  if (tv->action & TVE_EXPAND) EnsureChildren(tv->itemNew.hItem);
}

void CTransponderTableListPaneWnd::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* info = reinterpret_cast<NMTVDISPINFOW*>(pNMHDR);
  *pResult = 0;
  if (!(info->item.mask & TVIF_CHILDREN)) return;
  // A node asks only while its children may be missing.
  info->item.cChildren = m_pending.count(info->item.hItem) != 0 ||
                         ::SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_CHILD,
                                        reinterpret_cast<LPARAM>(info->item.hItem)) != 0;
}

void CTransponderTableListPaneWnd::OnRClick(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  const DWORD position = ::GetMessagePos();
  const POINT screen = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  TVHITTESTINFO hit = {};
  hit.pt = screen;
  ::ScreenToClient(m_hWnd, &hit.pt);
  HTREEITEM node =
      reinterpret_cast<HTREEITEM>(::SendMessageW(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  m_contextItem = node;
  if (!node) return;
  BrowserLog(2, "selected=%p", static_cast<void*>(node));
  ::SendMessageW(m_hWnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
  CTreeItem* item = GetItemObject(node);
  if (!item) return;
  BrowserLog(2, "pBase=%p", static_cast<void*>(item));
  if (!item->HasContextMenu()) return;
  BrowserLog(2, "context menu");
  CMenu menu;
  item->LoadContextMenu(&menu);
  if (CMenu* popup = menu.GetSubMenu(0)) {
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
    *pResult = 1;
  }
}

// The menus this pane shows are updated through its own command routing
// (the pane, then the document), as the frame updates its menu bar.
void CTransponderTableListPaneWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CTreeView::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (bSysMenu || !pPopupMenu) return;
  CCmdUI state;
  state.m_pMenu = pPopupMenu;
  state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    const UINT id = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    state.m_nID = id;
    state.DoUpdate(this, TRUE);
  }
}

// ---------------------------------------------------------------------------
// Set tuner...

namespace {

// The delivery type each Set tuner... command needs of the driver.
short DeliveryTypeOf(UINT command) {
  switch (command) {
    case ID_TREE_SET_TUNER_SATELLITE: return 1;
    case ID_TREE_SET_TUNER_CABLE: return 2;
    case ID_TREE_SET_TUNER_TERRESTRIAL: return 3;
    default: return 0;
  }
}

IDvbDriver* Driver() {
  CBrowserServices* services = GetBrowserServices();
  return services ? services->GetDriver() : nullptr;
}

// Runs one Set tuner... command on the descriptor of the context node.
template <class Record, class Descriptor, class Convert, class Tune>
void SetTuner(CTransponderTableListPaneWnd& pane, HTREEITEM contextItem, ElementKind kind, Convert convert,
              Tune tune) {
  IDvbDriver* driver = Driver();
  ISetTuner* tuner = nullptr;
  const HRESULT hr = driver ? driver->QueryInterface(IID_ISetTuner, reinterpret_cast<void**>(&tuner)) : E_NOINTERFACE;
  if (FAILED(hr) || !tuner) {
    BrowserLog(2, "Failed to query settuner interface: %#X", static_cast<unsigned>(hr));
    return;
  }
  CTreeItem* item = pane.GetItemObject(contextItem);
  if (!item) {
    BrowserLog(2, "context null");
    tuner->Release();
    return;
  }
  // Only a descriptor of the command's own kind is converted.
  const auto* element = dynamic_cast<CElementItem*>(item);
  const auto* descriptor =
      element && element->GetKind() == kind ? static_cast<const Descriptor*>(element->GetElement()) : nullptr;
  if (!descriptor) {
    BrowserLog(2, "descriptor null");
    tuner->Release();
    return;
  }
  Record record;
  std::memset(&record, 0, sizeof record);
  convert(*descriptor, record);
  CWnd* main = AfxGetMainWnd();
  const DWORD caller = main && main->m_hWnd ? static_cast<DWORD>(reinterpret_cast<UINT_PTR>(main->m_hWnd)) : 0;
  if (FAILED(tune(tuner, caller, &record))) AfxMessageBox(IDS_TREE_SET_TUNER_FAILED);
  tuner->Release();
}

}  // namespace

void CTransponderTableListPaneWnd::OnSetTunerSatellite() {
  SetTuner<SATDELIVERYDESC, lib13818::DescriptorSatelliteDeliverySystem>(
      *this, m_contextItem, ElementKind::SatelliteDeliverySystemDescriptor, orb::app::SatelliteDescToTuning,
      [](ISetTuner* tuner, DWORD caller, SATDELIVERYDESC* record) {
        BSTR name = ::SysAllocString(L"");
        const HRESULT hr = tuner->SetSatellite(caller, name, record);
        ::SysFreeString(name);
        return hr;
      });
}

void CTransponderTableListPaneWnd::OnSetTunerCable() {
  SetTuner<CABLEDELIVERYDESC, lib13818::DescriptorCableDeliverySystem>(
      *this, m_contextItem, ElementKind::CableDeliverySystemDescriptor, orb::app::CableDescToTuning,
      [](ISetTuner* tuner, DWORD caller, CABLEDELIVERYDESC* record) { return tuner->TuneCable(caller, record); });
}

void CTransponderTableListPaneWnd::OnSetTunerTerrestrial() {
  SetTuner<TERRDELIVERYDESC, lib13818::DescriptorTerrestrialDeliverySystem>(
      *this, m_contextItem, ElementKind::TerrestrialDeliverySystemDescriptor, orb::app::TerrestrialDescToTuning,
      [](ISetTuner* tuner, DWORD caller, TERRDELIVERYDESC* record) { return tuner->TuneTerrestrial(caller, record); });
}

void CTransponderTableListPaneWnd::OnUpdateSetTuner(CCmdUI* pCmdUI) {
  BOOL enable = FALSE;
  IDvbDriver* driver = Driver();
  IDriverControl* control = nullptr;
  if (driver && SUCCEEDED(driver->QueryInterface(IID_IDriverControl, reinterpret_cast<void**>(&control))) &&
      control) {
    short type = 0;
    enable = SUCCEEDED(control->GetDeliveryType(&type)) && type == DeliveryTypeOf(pCmdUI->m_nID);
    control->Release();
  }
  pCmdUI->Enable(enable);
}

// Nothing streams from these entries.
void CTransponderTableListPaneWnd::OnUpdateStreaming(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
