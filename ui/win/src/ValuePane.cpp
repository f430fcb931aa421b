#include "ui_win/ValuePane.h"

#include <new>

#include "orb_common/Log.h"
#include "ui_win/MainFrm.h"

namespace {
CLog* g_log = nullptr;
}  // namespace

// ---------------------------------------------------------------------------
// Row items

void CPidRowItem::LoadContextMenu(CMenu* menu) {
  if (menu) menu->LoadMenu(IDR_VALUE_PID_MENU);
}

void CDataRowItem::OnSelect() {
  CMainFrame* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  if (frame && m_bytes) frame->ShowValueData(m_bytes);
}

// ---------------------------------------------------------------------------
// The list control as a row sink

namespace {

std::wstring Utf8ToWide(std::string_view text) {
  std::wstring out;
  if (text.empty()) return out;
  // Texts longer than an int are cut (no DVB text comes near).
  const int n = text.size() > 0x7FFFFFF ? 0x7FFFFFF : static_cast<int>(text.size());
  const int wide = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), n, nullptr, 0);
  if (wide <= 0) return out;
  out.resize(static_cast<size_t>(wide));
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), n, out.data(), wide);
  return out;
}

std::string WideToUtf8(const wchar_t* text, int length) {
  std::string out;
  if (length <= 0) return out;
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return out;
  out.resize(static_cast<size_t>(n));
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

class CTransponderValuePaneWnd::ListSink : public ui_core::RowSink {
 public:
  explicit ListSink(CTransponderValuePaneWnd& pane) : m_pane(pane) {}

  void Clear() override { m_pane.ClearItems(); }

  void AddLabelRows(unsigned labelsId) override {
    if (!m_pane.m_hWnd) return;
    std::vector<std::string> labels;
    m_pane.LoadRowLabels(labelsId, labels);
    CListCtrl& list = m_pane.GetListCtrl();
    for (const std::string& label : labels) {
      const std::wstring text = Utf8ToWide(label);
      LVITEMW item = {};
      item.mask = LVIF_TEXT | LVIF_PARAM;
      item.iItem = list.GetItemCount();
      item.pszText = const_cast<LPWSTR>(text.c_str());
      item.lParam = 0;
      list.InsertItem(&item);
    }
    m_pane.FitNameColumn();
  }

  void SetValue(int row, std::string_view text) override {
    if (!ValidRow(row)) return;
    m_pane.GetListCtrl().SetItemText(row, 1, Utf8ToWide(text).c_str());
  }

  void AttachPid(int row, std::uint32_t pid) override { Attach(row, new (std::nothrow) CPidRowItem(pid)); }

  void AttachData(int row, const std::vector<unsigned char>& bytes) override {
    if (bytes.empty()) return;
    Attach(row, new (std::nothrow) CDataRowItem(&bytes));
  }

 private:
  bool ValidRow(int row) const {
    return m_pane.m_hWnd && row >= 0 && row < m_pane.GetListCtrl().GetItemCount();
  }

  // The row takes the item; a row that is not there, or an item that could
  // not be allocated, leaves the row's item data null.
  void Attach(int row, CRowItem* item) {
    if (!item) return;
    CListCtrl& list = m_pane.GetListCtrl();
    if (!ValidRow(row) || list.GetItemData(row) != 0 ||
        !list.SetItemData(row, reinterpret_cast<DWORD_PTR>(static_cast<CTreeItem*>(item)))) {
      delete item;
    }
  }

  CTransponderValuePaneWnd& m_pane;
};

// ---------------------------------------------------------------------------
// The pane

IMPLEMENT_DYNCREATE(CTransponderValuePaneWnd, CListView)

BEGIN_MESSAGE_MAP(CTransponderValuePaneWnd, CListView)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_NOTIFY_REFLECT(NM_RCLICK, &CTransponderValuePaneWnd::OnRClick)
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, &CTransponderValuePaneWnd::OnItemChanged)
END_MESSAGE_MAP()

CTransponderValuePaneWnd::CTransponderValuePaneWnd() = default;

void CTransponderValuePaneWnd::SetLog(CLog* log) { g_log = log; }
CTransponderValuePaneWnd::~CTransponderValuePaneWnd() = default;

BOOL CTransponderValuePaneWnd::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  return CListView::PreCreateWindow(cs);
}

int CTransponderValuePaneWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CListView::OnCreate(lpCreateStruct) == -1) return -1;
  CListCtrl& list = GetListCtrl();
  list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100);
  list.InsertColumn(1, L"Data", LVCFMT_LEFT, 500);
  return 0;
}

void CTransponderValuePaneWnd::OnDestroy() {
  ClearItems();
  CListView::OnDestroy();
}

void CTransponderValuePaneWnd::ClearItems() {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return;
  CListCtrl& list = GetListCtrl();
  // No notification may reach an item while (or after) it is freed: select
  // nothing first, with the selection handler muted, then take each item off
  // its row before deleting it.
  const bool wasClearing = m_clearing;
  m_clearing = true;
  list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  const int count = list.GetItemCount();
  for (int row = 0; row < count; ++row) {
    CTreeItem* item = reinterpret_cast<CTreeItem*>(list.GetItemData(row));
    if (!item) continue;
    list.SetItemData(row, 0);
    delete item;
  }
  list.DeleteAllItems();
  m_clearing = wasClearing;
}

void CTransponderValuePaneWnd::FitNameColumn() {
  // Wide enough for the longest label shown, in the list's font; a column
  // the user made wider stays as it is.
  CListCtrl& list = GetListCtrl();
  const int before = list.GetColumnWidth(0);
  list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
  if (list.GetColumnWidth(0) < before) list.SetColumnWidth(0, before);
}

void CTransponderValuePaneWnd::LoadRowLabels(UINT stringId, std::vector<std::string>& labels) {
  // The entry in place (no buffer, so no length limit).
  const wchar_t* text = nullptr;
  const int length = ::LoadStringW(AfxGetResourceHandle(), stringId, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return;
  ui_core::SplitLabels(WideToUtf8(text, length), labels);
}

void CTransponderValuePaneWnd::FormatHexPreview(const std::vector<unsigned char>& bytes, CString& out) {
  out = CString(Utf8ToWide(ui_core::FormatHexPreview(bytes)));
}

void CTransponderValuePaneWnd::OnRClick(NMHDR* pNMHDR, LRESULT* pResult) {
  if (pResult) *pResult = 0;
  if (!m_hWnd || !pNMHDR) return;
  // The click point, in client coordinates, to the screen.
  CPoint point = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR)->ptAction;
  ClientToScreen(&point);
  CListCtrl& list = GetListCtrl();
  const int row = list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) return;
  CTreeItem* item = reinterpret_cast<CTreeItem*>(list.GetItemData(row));
  if (!item) return;
  if (g_log) g_log->Log(2, "pBase=%p", static_cast<void*>(item));
  if (!item->HasContextMenu()) return;
  if (g_log) g_log->Log(2, "context menu");
  CMenu menu;
  item->LoadContextMenu(&menu);
  if (CMenu* popup = menu.m_hMenu ? menu.GetSubMenu(0) : nullptr) {
    if (g_log) g_log->Log(4, "client x=%d,y=%d", static_cast<int>(point.x), static_cast<int>(point.y));
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    if (pResult) *pResult = 1;
  }
  menu.DestroyMenu();
}

void CTransponderValuePaneWnd::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  if (pResult) *pResult = 0;
  if (m_clearing || !pNMHDR) return;
  const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
  // Selection and focus changes of a row; not the attaching of its item.
  if (change->iItem < 0 || !(change->uChanged & LVIF_STATE)) return;
  CTreeItem* item = reinterpret_cast<CTreeItem*>(GetListCtrl().GetItemData(change->iItem));
  if (item) item->OnSelect();
}

// ---------------------------------------------------------------------------
// Display routines: the portable routines, written into the list.

#define ORB_VALUE_ROUTINE(routine, type)                            \
  void CTransponderValuePaneWnd::routine(const lib13818::type& e) { \
    ListSink sink(*this);                                           \
    ui_core::routine(sink, e);                                      \
  }
#include "ui_core/value_routines.def"
#undef ORB_VALUE_ROUTINE
