// A small application made of the framework's parts together: application
// object, single-document template, main frame with toolbar, status bar and
// a docked summary bar, a 1 x 2 splitter with a tree view and a list view of
// the document's services, a modal dialog and a property sheet reached from
// the menu.  The test drives it through window messages only (the modal
// windows are answered from a timer while their loop runs) and reads the
// results back from the windows.
#include <afxwin.h>
#include <afxext.h>
#include <afxcview.h>
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dlg_test_support.h"
#include "frame_test_support.h"
#include "integration_test_ids.h"

// ---------------------------------------------------------------------------
// The application.

struct Service {
  CString name;
  bool scrambled = false;
};

class CServiceDlg : public CDialog {
 public:
  CServiceDlg() : CDialog(IDD_INT_SERVICE) {}
  CString m_name;
  int m_scrambled = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_INT_NAME, m_name);
    DDV_MaxChars(pDX, m_name, 24);
    DDX_Check(pDX, IDC_INT_SCRAMBLED, m_scrambled);
  }
};

class CNetworkPage : public CPropertyPage {
 public:
  CNetworkPage() : CPropertyPage(IDD_INT_PAGE_NETWORK) {}
  CString m_network;
  int m_networkId = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_INT_NETWORK, m_network);
    DDX_Text(pDX, IDC_INT_NETWORK_ID, m_networkId);
    DDV_MinMaxInt(pDX, m_networkId, 1, 65535);
  }
};

class CDisplayPage : public CPropertyPage {
 public:
  CDisplayPage() : CPropertyPage(IDD_INT_PAGE_DISPLAY) {}
  int m_showScrambled = 1;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Check(pDX, IDC_INT_SHOW_SCRAMBLED, m_showScrambled);
  }
};

class CServicesDoc : public CDocument {
  DECLARE_DYNCREATE(CServicesDoc)

 public:
  CString m_network;
  int m_networkId = 0;
  bool m_showScrambled = true;
  std::vector<std::unique_ptr<Service>> m_services;

  BOOL OnNewDocument() override {
    if (!CDocument::OnNewDocument()) return FALSE;
    m_network = L"Test network";
    m_networkId = 1;
    m_showScrambled = true;
    return TRUE;
  }
  void DeleteContents() override { m_services.clear(); }

 protected:
  afx_msg void OnAdd() {
    CServiceDlg dlg;
    dlg.m_name = L"New service";
    if (dlg.DoModal() != IDOK) return;
    auto service = std::make_unique<Service>();
    service->name = dlg.m_name;
    service->scrambled = dlg.m_scrambled != 0;
    m_services.push_back(std::move(service));
    SetModifiedFlag();
    UpdateAllViews(nullptr);
  }
  afx_msg void OnRemove() {
    m_services.pop_back();
    UpdateAllViews(nullptr);
  }
  afx_msg void OnUpdateRemove(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_services.empty()); }
  afx_msg void OnSettings() {
    CPropertySheet sheet(L"Settings", AfxGetMainWnd());
    CNetworkPage network;
    CDisplayPage display;
    network.m_network = m_network;
    network.m_networkId = m_networkId;
    display.m_showScrambled = m_showScrambled ? 1 : 0;
    sheet.AddPage(&network);
    sheet.AddPage(&display);
    if (sheet.DoModal() != IDOK) return;
    m_network = network.m_network;
    m_networkId = network.m_networkId;
    m_showScrambled = display.m_showScrambled != 0;
    UpdateAllViews(nullptr);
  }
  afx_msg void OnUpdateServicesPane(CCmdUI* pCmdUI) {
    CString text;
    text.Format(L"%d services", static_cast<int>(m_services.size()));
    pCmdUI->SetText(text);
  }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CServicesDoc, CDocument)

BEGIN_MESSAGE_MAP(CServicesDoc, CDocument)
  ON_COMMAND(ID_INT_ADD, &CServicesDoc::OnAdd)
  ON_COMMAND(ID_INT_REMOVE, &CServicesDoc::OnRemove)
  ON_UPDATE_COMMAND_UI(ID_INT_REMOVE, &CServicesDoc::OnUpdateRemove)
  ON_COMMAND(ID_INT_SETTINGS, &CServicesDoc::OnSettings)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SERVICES, &CServicesDoc::OnUpdateServicesPane)
END_MESSAGE_MAP()

// The network with its services below it; item data point at the services.
class CServiceTree : public CTreeView {
  DECLARE_DYNCREATE(CServiceTree)

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    cs.style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    return CTreeView::PreCreateWindow(cs);
  }
  void OnUpdate(CView*, LPARAM, CObject*) override {
    auto* doc = static_cast<CServicesDoc*>(GetDocument());
    CTreeCtrl& tree = GetTreeCtrl();
    tree.DeleteAllItems();
    CString root;
    root.Format(L"%s (%d)", static_cast<const wchar_t*>(doc->m_network), doc->m_networkId);
    HTREEITEM network = tree.InsertItem(root);
    for (const auto& service : doc->m_services) {
      TVINSERTSTRUCT tvis{};
      tvis.hParent = network;
      tvis.hInsertAfter = TVI_LAST;
      tvis.item.mask = TVIF_TEXT | TVIF_PARAM;
      tvis.item.pszText = const_cast<LPWSTR>(static_cast<const wchar_t*>(service->name));
      tvis.item.lParam = reinterpret_cast<LPARAM>(service.get());
      tree.InsertItem(&tvis);
    }
    tree.Expand(network, TVE_EXPAND);
  }
};

IMPLEMENT_DYNCREATE(CServiceTree, CTreeView)

// The services shown by the display setting, one row each: name and
// whether scrambled; item data point at the services.
class CServiceList : public CListView {
  DECLARE_DYNCREATE(CServiceList)

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    cs.style = (cs.style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SHOWSELALWAYS;
    return CListView::PreCreateWindow(cs);
  }
  void OnInitialUpdate() override {
    CListCtrl& list = GetListCtrl();
    if (!m_columns) {
      list.InsertColumn(0, L"Service", LVCFMT_LEFT, 140);
      list.InsertColumn(1, L"Scrambled", LVCFMT_LEFT, 80);
      m_columns = true;
    }
    CListView::OnInitialUpdate();
  }
  void OnUpdate(CView*, LPARAM, CObject*) override {
    auto* doc = static_cast<CServicesDoc*>(GetDocument());
    CListCtrl& list = GetListCtrl();
    list.DeleteAllItems();
    int row = 0;
    for (const auto& service : doc->m_services) {
      if (service->scrambled && !doc->m_showScrambled) continue;
      list.InsertItem(LVIF_TEXT | LVIF_PARAM, row, service->name, 0, 0, 0,
                      reinterpret_cast<LPARAM>(service.get()));
      list.SetItemText(row, 1, service->scrambled ? L"yes" : L"no");
      ++row;
    }
  }

 private:
  bool m_columns = false;
};

IMPLEMENT_DYNCREATE(CServiceList, CListView)

// A bar docked at the frame's left side that shows, at idle time, how many
// services the active document has.
constexpr int kSummaryWidth = 96;

class CSummaryBar : public CControlBar {
 public:
  BOOL Create(CWnd* parent) {
    m_dwStyle = CBRS_LEFT;
    return CWnd::Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent,
                        IDW_INT_SUMMARY);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
    if (bHorz) return CSize(bStretch ? 32767 : 200, 30);
    return CSize(kSummaryWidth, bStretch ? 32767 : 200);
  }
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) override {
    auto* doc = static_cast<CServicesDoc*>(pTarget->GetActiveDocument());
    CString text;
    if (doc) text.Format(L"%d services", static_cast<int>(doc->m_services.size()));
    wchar_t now[64] = L"";
    ::GetWindowTextW(m_hWnd, now, 64);
    if (text != CString(now)) {
      ::SetWindowTextW(m_hWnd, text);
      ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
  }

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    wchar_t text[64] = L"";
    ::GetWindowTextW(m_hWnd, text, 64);
    client.DeflateRect(4, 6);
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, text, -1, &client, DT_LEFT | DT_TOP | DT_WORDBREAK);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSummaryBar, CControlBar)
  ON_WM_PAINT()
END_MESSAGE_MAP()

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)

 public:
  CToolBar m_wndToolBar;
  CStatusBar m_wndStatusBar;
  CSummaryBar m_wndSummary;
  CSplitterWnd m_wndSplitter;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_SIZE_DYNAMIC) ||
        !m_wndToolBar.LoadToolBar(IDR_INTAPP))
      return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_SERVICES};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 2)) return -1;
    if (!m_wndSummary.Create(this)) return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndSummary.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    DockControlBar(&m_wndSummary, AFX_IDW_DOCKBAR_LEFT);
    return 0;
  }
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    return m_wndSplitter.CreateStatic(this, 1, 2) &&
           m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CServiceTree), CSize(180, 100), pContext) &&
           m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CServiceList), CSize(100, 100), pContext);
  }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

class CServicesApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    AddDocTemplate(new CSingleDocTemplate(IDR_INTAPP, RUNTIME_CLASS(CServicesDoc),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CServiceTree)));
    OnFileNew();
    return m_pMainWnd != nullptr;
  }
};

CServicesApp theApp;

// ---------------------------------------------------------------------------
// The test's side: only window handles and messages.

namespace {

// Answers the modal window owned by `owner` while its loop runs: a thread
// timer runs one step per tick whenever such a window is up.  Steps left
// over (or a window nobody closes) end in Cancel, so a test never hangs.
class ModalDriver {
 public:
  using Step = std::function<void(HWND modal)>;

  ModalDriver(HWND owner, std::vector<Step> steps) : m_owner(owner), m_steps(std::move(steps)) {
    s_current = this;
    m_timer = ::SetTimer(nullptr, 0, 30, &ModalDriver::Tick);
  }
  ~ModalDriver() {
    ::KillTimer(nullptr, m_timer);
    s_current = nullptr;
  }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  size_t StepsRun() const { return m_next; }
  std::vector<std::wstring> captions;  // of the modal windows met, in order

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* self = s_current;
    if (!self) return;
    HWND modal = self->FindModal();
    if (!modal) return;
    const std::wstring caption = frame_test::WindowText(modal);
    if (self->captions.empty() || self->captions.back() != caption) self->captions.push_back(caption);
    if (self->m_next < self->m_steps.size()) {
      self->m_steps[self->m_next++](modal);
    } else if (++self->m_idleTicks > 20) {
      ::PostMessageW(modal, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }
  HWND FindModal() const {
    struct Search {
      HWND owner;
      HWND found;
    } search{m_owner, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lParam) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lParam);
          wchar_t cls[32] = L"";
          ::GetClassNameW(hwnd, cls, 32);
          if (::IsWindowVisible(hwnd) && ::GetWindow(hwnd, GW_OWNER) == s->owner &&
              std::wstring(cls) == L"#32770") {
            s->found = hwnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  static inline ModalDriver* s_current = nullptr;
  HWND m_owner;
  std::vector<Step> m_steps;
  size_t m_next = 0;
  int m_idleTicks = 0;
  UINT_PTR m_timer = 0;
};

void Click(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[256] = L"";
  ::GetDlgItemTextW(dialog, id, text, 256);
  return text;
}

struct TreeItem {
  std::wstring text;
  LPARAM data;
};

// The children of the tree's root item, read through TVM_ messages.
std::vector<TreeItem> TreeChildren(HWND tree, std::wstring* rootText) {
  std::vector<TreeItem> items;
  auto read = [&](HTREEITEM item) {
    wchar_t text[128] = L"";
    TVITEMW tvi{};
    tvi.mask = TVIF_TEXT | TVIF_PARAM | TVIF_HANDLE;
    tvi.hItem = item;
    tvi.pszText = text;
    tvi.cchTextMax = 128;
    ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
    return TreeItem{text, tvi.lParam};
  };
  auto next = [&](HTREEITEM item, WPARAM code) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  };
  HTREEITEM root = next(nullptr, TVGN_ROOT);
  if (rootText) *rootText = root ? read(root).text : L"";
  if (!root) return items;
  for (HTREEITEM child = next(root, TVGN_CHILD); child; child = next(child, TVGN_NEXT))
    items.push_back(read(child));
  return items;
}

struct ListRow {
  std::wstring name;
  std::wstring scrambled;
  LPARAM data;
};

// The rows of the report list, read through LVM_ messages.
std::vector<ListRow> ListRows(HWND list) {
  std::vector<ListRow> rows;
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    ListRow row;
    wchar_t text[128] = L"";
    LVITEMW lvi{};
    lvi.mask = LVIF_TEXT | LVIF_PARAM;
    lvi.iItem = i;
    lvi.pszText = text;
    lvi.cchTextMax = 128;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lvi));
    row.name = text;
    row.data = lvi.lParam;
    LVITEMW sub{};
    sub.iSubItem = 1;
    sub.pszText = text;
    sub.cchTextMax = 128;
    text[0] = 0;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
    row.scrambled = text;
    rows.push_back(row);
  }
  return rows;
}

class IntegrationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    frame_test::InitApp();
    s_started = theApp.InitInstance() != FALSE;
  }
  static void TearDownTestSuite() {
    if (CWnd* main = AfxGetMainWnd()) ::DestroyWindow(main->m_hWnd);
    frame_test::Pump();
    frame_test::DropQuit();
  }

  void SetUp() override {
    ASSERT_TRUE(s_started);
    // A fresh document in the one frame, as File New gives it.
    theApp.OnFileNew();
    m_frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    ASSERT_NE(m_frame, nullptr);
    m_hwnd = m_frame->m_hWnd;
    ::SetWindowPos(m_hwnd, nullptr, 30, 30, 720, 480, SWP_NOZORDER);
    frame_test::Pump();
    m_doc = dynamic_cast<CServicesDoc*>(m_frame->GetActiveDocument());
    ASSERT_NE(m_doc, nullptr);
    m_splitter = m_frame->m_wndSplitter.m_hWnd;
    m_tree = ::GetDlgItem(m_splitter, AFX_IDW_PANE_FIRST);
    m_list = ::GetDlgItem(m_splitter, AFX_IDW_PANE_FIRST + 1);
    m_toolbar = m_frame->m_wndToolBar.m_hWnd;
    m_status = m_frame->m_wndStatusBar.m_hWnd;
    m_summary = m_frame->m_wndSummary.m_hWnd;
    ASSERT_TRUE(m_tree && m_list);
  }

  void Command(UINT id) { ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void Idle() {
    theApp.OnIdle(0);
    frame_test::Pump();
  }
  UINT MenuState(UINT id) {
    HMENU popup = ::GetSubMenu(::GetMenu(m_hwnd), 0);
    ::SendMessageW(m_hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    return ::GetMenuState(popup, id, MF_BYCOMMAND);
  }
  bool ToolbarEnabled(UINT id) { return ::SendMessageW(m_toolbar, TB_ISBUTTONENABLED, id, 0) != 0; }
  CRect InFrame(HWND child) const { return frame_test::ClientRectIn(child, m_hwnd); }

  // Adds a service through the menu command and its dialog.
  void AddService(const wchar_t* name, bool scrambled) {
    ModalDriver driver(m_hwnd, {[&](HWND dlg) {
                                  ::SetDlgItemTextW(dlg, IDC_INT_NAME, name);
                                  ::SendDlgItemMessageW(dlg, IDC_INT_SCRAMBLED, BM_SETCHECK,
                                                        scrambled ? BST_CHECKED : BST_UNCHECKED, 0);
                                  Click(dlg, IDOK);
                                }});
    Command(ID_INT_ADD);
    EXPECT_EQ(driver.StepsRun(), 1u);
  }

  static inline bool s_started = false;
  CMainFrame* m_frame = nullptr;
  CServicesDoc* m_doc = nullptr;
  HWND m_hwnd = nullptr, m_splitter = nullptr, m_tree = nullptr, m_list = nullptr;
  HWND m_toolbar = nullptr, m_status = nullptr, m_summary = nullptr;
};

TEST_F(IntegrationTest, ServiceDialogFillsTheDocumentAndBothViewsFollow) {
  // An empty document: the network alone in the tree, nothing to remove.
  std::wstring root;
  EXPECT_TRUE(TreeChildren(m_tree, &root).empty());
  EXPECT_EQ(root, L"Test network (1)");
  EXPECT_TRUE(ListRows(m_list).empty());
  EXPECT_TRUE(MenuState(ID_INT_REMOVE) & MF_GRAYED);
  Idle();
  EXPECT_FALSE(ToolbarEnabled(ID_INT_REMOVE));
  EXPECT_TRUE(ToolbarEnabled(ID_INT_ADD));
  EXPECT_EQ(frame_test::WindowText(m_summary), L"0 services");

  // The dialog comes up with the document's proposal, its owner disabled;
  // Cancel changes nothing.
  std::wstring proposed;
  bool ownerEnabled = true;
  {
    ModalDriver driver(m_hwnd, {[&](HWND dlg) {
                                  proposed = ItemText(dlg, IDC_INT_NAME);
                                  ownerEnabled = ::IsWindowEnabled(m_hwnd) != FALSE;
                                  ::SetDlgItemTextW(dlg, IDC_INT_NAME, L"Not taken");
                                  Click(dlg, IDCANCEL);
                                }});
    Command(ID_INT_ADD);
    ASSERT_EQ(driver.StepsRun(), 1u);
    EXPECT_EQ(driver.captions, std::vector<std::wstring>{L"Add Service"});
  }
  EXPECT_EQ(proposed, L"New service");
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(m_hwnd));
  EXPECT_TRUE(m_doc->m_services.empty());
  EXPECT_FALSE(m_doc->IsModified());

  AddService(L"Channel One", false);
  AddService(L"Movies Plus", true);
  ASSERT_EQ(m_doc->m_services.size(), 2u);
  EXPECT_EQ(m_doc->m_services[0]->name, CString(L"Channel One"));
  EXPECT_FALSE(m_doc->m_services[0]->scrambled);
  EXPECT_EQ(m_doc->m_services[1]->name, CString(L"Movies Plus"));
  EXPECT_TRUE(m_doc->m_services[1]->scrambled);
  EXPECT_TRUE(m_doc->IsModified());

  // Both views show them, their item data the services' addresses whole.
  const auto children = TreeChildren(m_tree, nullptr);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0].text, L"Channel One");
  EXPECT_EQ(children[1].text, L"Movies Plus");
  EXPECT_EQ(children[0].data, reinterpret_cast<LPARAM>(m_doc->m_services[0].get()));
  EXPECT_EQ(children[1].data, reinterpret_cast<LPARAM>(m_doc->m_services[1].get()));
  const auto rows = ListRows(m_list);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].name, L"Channel One");
  EXPECT_EQ(rows[0].scrambled, L"no");
  EXPECT_EQ(rows[1].scrambled, L"yes");
  EXPECT_EQ(rows[1].data, reinterpret_cast<LPARAM>(m_doc->m_services[1].get()));

  // The update handler of Remove now enables it in the menu and, at idle
  // time, on the toolbar; the summary bar and the status pane follow.
  EXPECT_FALSE(MenuState(ID_INT_REMOVE) & MF_GRAYED);
  Idle();
  EXPECT_TRUE(ToolbarEnabled(ID_INT_REMOVE));
  EXPECT_EQ(frame_test::WindowText(m_summary), L"2 services");
  const int pane = m_frame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_SERVICES);
  EXPECT_EQ(frame_test::StatusText(m_status, pane), L"2 services");

  // The toolbar's Remove reaches the document and the views.
  ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(ID_INT_REMOVE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_toolbar));
  ASSERT_EQ(m_doc->m_services.size(), 1u);
  EXPECT_EQ(TreeChildren(m_tree, nullptr).size(), 1u);
  EXPECT_EQ(ListRows(m_list).size(), 1u);
  ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(ID_INT_REMOVE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_toolbar));
  EXPECT_TRUE(m_doc->m_services.empty());
  Idle();
  EXPECT_FALSE(ToolbarEnabled(ID_INT_REMOVE));
  // Disabled now: a further press does not reach the handler (which would
  // remove from an empty list).
  ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(ID_INT_REMOVE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_toolbar));
  EXPECT_TRUE(m_doc->m_services.empty());
  EXPECT_EQ(frame_test::WindowText(m_summary), L"0 services");
}

TEST_F(IntegrationTest, SettingsSheetChangesTheDocumentAndTheViews) {
  // File New gave an empty document; the views were brought up to date.
  EXPECT_TRUE(m_doc->m_services.empty());
  EXPECT_TRUE(TreeChildren(m_tree, nullptr).empty());
  EXPECT_TRUE(ListRows(m_list).empty());
  AddService(L"Free", false);
  AddService(L"Pay", true);
  ASSERT_EQ(ListRows(m_list).size(), 2u);

  dlgtest::MessageBoxRecorder boxes;
  std::wstring shownNetwork;
  bool stayedOpen = false;
  {
    ModalDriver driver(
        m_hwnd,
        {
            [&](HWND sheet) {
              HWND page = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
              shownNetwork = ItemText(page, IDC_INT_NETWORK);
              ::SetDlgItemTextW(page, IDC_INT_NETWORK, L"East Net");
              ::SetDlgItemTextW(page, IDC_INT_NETWORK_ID, L"70000");  // out of range
              ::PostMessageW(sheet, PSM_SETCURSEL, 1, 0);
            },
            [&](HWND sheet) {
              // The page refused to be left: still the first, a message shown.
              HWND page = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
              stayedOpen = ::GetDlgItem(page, IDC_INT_NETWORK) != nullptr;
              ::SetDlgItemTextW(page, IDC_INT_NETWORK_ID, L"1");
              ::PostMessageW(sheet, PSM_SETCURSEL, 1, 0);
            },
            [&](HWND sheet) {
              HWND page = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
              ::SendDlgItemMessageW(page, IDC_INT_SHOW_SCRAMBLED, BM_SETCHECK, BST_UNCHECKED, 0);
              ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            },
        });
    Command(ID_INT_SETTINGS);
    EXPECT_EQ(driver.StepsRun(), 3u);
    EXPECT_EQ(driver.captions.size(), 1u);
  }
  EXPECT_EQ(shownNetwork, L"Test network");
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(m_doc->m_network, CString(L"East Net"));
  EXPECT_EQ(m_doc->m_networkId, 1);
  EXPECT_FALSE(m_doc->m_showScrambled);

  // The tree names the new network and keeps both services; the list hides
  // the scrambled one.
  std::wstring root;
  EXPECT_EQ(TreeChildren(m_tree, &root).size(), 2u);
  EXPECT_EQ(root, L"East Net (1)");
  const auto rows = ListRows(m_list);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, L"Free");
  EXPECT_EQ(rows[0].data, reinterpret_cast<LPARAM>(m_doc->m_services[0].get()));

  // Cancel leaves everything as it is, even after edits on both pages.
  {
    ModalDriver driver(
        m_hwnd, {
                    [&](HWND sheet) {
                      HWND page =
                          reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
                      ::SetDlgItemTextW(page, IDC_INT_NETWORK, L"Other");
                      ::PostMessageW(sheet, PSM_SETCURSEL, 1, 0);
                    },
                    [&](HWND sheet) {
                      HWND page =
                          reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
                      ::SendDlgItemMessageW(page, IDC_INT_SHOW_SCRAMBLED, BM_SETCHECK, BST_CHECKED, 0);
                      ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                    },
                });
    Command(ID_INT_SETTINGS);
    EXPECT_EQ(driver.StepsRun(), 2u);
  }
  EXPECT_EQ(m_doc->m_network, CString(L"East Net"));
  EXPECT_FALSE(m_doc->m_showScrambled);
  EXPECT_EQ(ListRows(m_list).size(), 1u);
}

TEST_F(IntegrationTest, DockedBarKeepsItsPlaceWhenTheSplitterIsDragged) {
  AddService(L"Channel One", false);
  AddService(L"News 24", false);
  AddService(L"Movies Plus", true);
  Idle();

  const CRect bar = InFrame(m_summary);
  const CRect splitter = InFrame(m_splitter);
  const CRect toolbar = InFrame(m_toolbar);
  const CRect status = InFrame(m_status);
  EXPECT_EQ(::GetDlgCtrlID(::GetParent(m_summary)), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(bar.left, 0);
  EXPECT_EQ(bar.Width(), kSummaryWidth);
  EXPECT_EQ(bar.top, toolbar.bottom);
  EXPECT_EQ(bar.Height(), 200);  // its own length, at the top of its dock bar
  const CRect dock = InFrame(::GetParent(m_summary));
  EXPECT_EQ(dock.top, toolbar.bottom);
  EXPECT_EQ(dock.bottom, status.top);
  EXPECT_EQ(splitter.left, bar.right);

  // Drag the splitter bar 120 pixels to the right with the mouse.
  const CRect treeBefore = frame_test::ClientRectIn(m_tree, m_splitter);
  const int barX = treeBefore.right + 2;
  ::SendMessageW(m_splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(barX, 30));
  ::SendMessageW(m_splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(barX + 60, 30));
  ::SendMessageW(m_splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(barX + 120, 30));
  ::SendMessageW(m_splitter, WM_LBUTTONUP, 0, MAKELPARAM(barX + 120, 30));
  frame_test::Pump();
  Idle();

  EXPECT_EQ(frame_test::ClientRectIn(m_tree, m_splitter).Width(), treeBefore.Width() + 120);
  const CRect listAfter = frame_test::ClientRectIn(m_list, m_splitter);
  EXPECT_EQ(listAfter.right, splitter.Width());
  // The frame's layout is untouched: bar, splitter and the other bars where
  // they were.
  EXPECT_EQ(InFrame(m_summary), bar);
  EXPECT_EQ(InFrame(m_splitter), splitter);
  EXPECT_EQ(InFrame(m_toolbar), toolbar);
  EXPECT_EQ(InFrame(m_status), status);
  EXPECT_EQ(::GetDlgCtrlID(::GetParent(m_summary)), AFX_IDW_DOCKBAR_LEFT);

  // A larger frame: the bar stays where it is, its dock bar reaches down to
  // the status bar, the tree pane keeps the width it was dragged to, the
  // list takes the rest.
  ::SetWindowPos(m_hwnd, nullptr, 0, 0, 820, 560, SWP_NOMOVE | SWP_NOZORDER);
  frame_test::Pump();
  EXPECT_EQ(InFrame(m_summary), bar);
  EXPECT_EQ(InFrame(::GetParent(m_summary)).bottom, InFrame(m_status).top);
  EXPECT_EQ(InFrame(m_splitter).left, bar.right);
  EXPECT_GT(InFrame(m_splitter).bottom, splitter.bottom);
  EXPECT_EQ(frame_test::ClientRectIn(m_tree, m_splitter).Width(), treeBefore.Width() + 120);
  EXPECT_EQ(frame_test::ClientRectIn(m_list, m_splitter).right, InFrame(m_splitter).Width());

  // The list is still the document's after all that.
  EXPECT_EQ(ListRows(m_list).size(), 3u);
  EXPECT_EQ(frame_test::WindowText(m_summary), L"3 services");

  // For review by eye; nothing compares it.
  const std::wstring shot = frame_test::SaveWindowBitmap(m_hwnd, L"integration.bmp");
  EXPECT_FALSE(shot.empty());
}

}  // namespace
