// The tree pane in the main frame, under Wine: the tree read back node by
// node (TVM_GETNEXTITEM / TVM_GETITEM) against the builders' text, every kind
// of node selected and the value pane's rows read back, clearing, the
// context menus of a right click, and Set tuner... on the simulated cards of
// the budget plug-in; the tree opens wide enough for its services' labels.
// Pictures of an expanded tree are left beside the test program
// (tree_pane.bmp, tree_pane_as_opened.bmp).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstring>
#include <cwchar>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "belvane.h"
#include "dvbacc/dvbacc_sim.h"
#include "lib13818/id_names.h"
#include "orb_store/tuning.h"
#include "tree_store.h"
#include "ui_core/si_tree.h"
#include "ui_core/value_display.h"
#include "ui_win/BrowserServices.h"
#include "ui_win/MainFrm.h"
#include "ui_win/TransponderPanes.h"
#include "ui_win/TreeItems.h"
#include "vsim/multiplex.h"
#include "vsim/world.h"
#include "win_ui.h"

namespace {

using orb::ui::ElementKind;
using orb::ui::TreeItem;

constexpr UINT kMainFrameResource = 128;

class CTreeTestApp : public CWinApp, public CBrowserServices {
 public:
  CTreeTestApp() : CWinApp("OrbTreePaneTest") {}
  IDvbDriver* GetDriver() const override { return driver; }
  CLog* GetBrowserLog() const override { return &log; }

  IDvbDriver* driver = nullptr;
  mutable CLog log;
};
CTreeTestApp theTestApp;

// Message boxes the program would show, answered at once.
std::vector<std::string> g_messageBoxes;

std::string Utf8(const wchar_t* text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? static_cast<size_t>(n - 1) : 0, '\0');
  if (n > 1) ::WideCharToMultiByte(CP_UTF8, 0, text, -1, s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring ExeDir() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/"));
}

std::string LogPath() {
  const std::wstring dir = ExeDir();
  return std::string(dir.begin(), dir.end()) + "\\tree_pane_tests.log";
}

class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    orb_test::KeepWindowsUnmanaged("ui_tree_pane_tests.exe");
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW));
    lib13818::InitIdNameMaps();
    AfxSetMessageBoxHook([](const CString& text, UINT) {
      g_messageBoxes.push_back(Utf8(static_cast<const wchar_t*>(text)));
      return IDOK;
    });
    theTestApp.log.Open(LogPath().c_str(), CLog::kFullPath, 0, 4);
  }
  void TearDown() override {
    theTestApp.log.Close();
    ::CoUninitialize();
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

using orb_test::Pump;


// The item data of a node as the text sink describes it.
std::string Describe(CTreeItem* item) {
  if (!item) return "";
  if (auto* e = dynamic_cast<CElementItem*>(item)) {
    TreeItem t;
    t.kind = TreeItem::Kind::Element;
    t.element = e->GetKind();
    t.data = e->GetElement();
    return orb::ui::DescribeItem(t);
  }
  if (dynamic_cast<CTransponderItem*>(item)) return "{transponder menu 145}";
  if (dynamic_cast<CNetworkItem*>(item)) return "{network}";
  if (dynamic_cast<CPaneTreeItem*>(item)) return "{pane}";
  return "{?}";
}

// The rows the value pane's routine of an element writes, as text.
std::vector<std::pair<std::string, std::string>> ExpectedRows(ElementKind kind, const void* element) {
  ui_core::TextSink sink;
  switch (kind) {
#define ORB_TREE_ELEMENT(k, record, show)                                    \
  case ElementKind::k:                                                       \
    ui_core::show(sink, *static_cast<const lib13818::record*>(element));     \
    break;
#include "ui_core/tree_elements.def"
#undef ORB_TREE_ELEMENT
  }
  std::vector<std::pair<std::string, std::string>> rows;
  for (const auto& r : sink.rows) rows.emplace_back(r.label, r.value);
  return rows;
}

class TreePaneTest : public ::testing::Test {
 protected:
  // A main frame as the program lays it out, shown at 1000 x 720.
  void OpenFrame() {
    frame_ = static_cast<CMainFrame*>(RUNTIME_CLASS(CMainFrame)->CreateObject());
    ASSERT_TRUE(frame_);
    CCreateContext context;
    ASSERT_TRUE(frame_->LoadFrame(kMainFrameResource, WS_OVERLAPPEDWINDOW, nullptr, &context));
    frame_->MoveWindow(0, 0, 1000, 720);
    frame_->ShowWindow(SW_SHOW);
    frame_->RecalcLayout();
  }
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(OpenFrame());
    frame_->GetSplitter().SetColumnInfo(0, 520, 50);
    frame_->GetSplitter().RecalcLayout();
    frame_->UpdateWindow();
    Pump();
    tree_ = frame_->GetTreePane();
    value_ = frame_->GetValuePane();
    ASSERT_TRUE(tree_ && value_);
  }
  void TearDown() override {
    if (frame_ && ::IsWindow(frame_->m_hWnd)) frame_->DestroyWindow();
    Pump();
    theTestApp.driver = nullptr;
  }

  HWND Tree() const { return tree_->m_hWnd; }
  HTREEITEM Next(HTREEITEM item, UINT how) const {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(Tree(), TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  }
  std::string Text(HTREEITEM item) const {
    wchar_t buffer[1024] = {};
    TVITEMW tv = {};
    tv.mask = TVIF_HANDLE | TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = 1024;
    ::SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return Utf8(buffer);
  }
  CTreeItem* Data(HTREEITEM item) const {
    TVITEMW tv = {};
    tv.mask = TVIF_HANDLE | TVIF_PARAM;
    tv.hItem = item;
    ::SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return reinterpret_cast<CTreeItem*>(tv.lParam);
  }
  int Count() const { return static_cast<int>(::SendMessageW(Tree(), TVM_GETCOUNT, 0, 0)); }

  // The whole tree as the text sink writes it; `expand` opens every node
  // first (which adds the tables of the transport streams).
  std::string Walk(bool expand) {
    std::string out;
    ::SendMessageW(Tree(), WM_SETREDRAW, FALSE, 0);
    std::function<void(HTREEITEM, int)> visit = [&](HTREEITEM item, int depth) {
      for (; item; item = Next(item, TVGN_NEXT)) {
        // The children that an expansion would insert (opening every node
        // one by one would cost the control time quadratic in the nodes
        // shown; the expansion itself is tested on its own).
        if (expand) tree_->EnsureChildren(item);
        out.append(static_cast<size_t>(depth) * 2, ' ');
        out += Text(item);
        const std::string d = Describe(Data(item));
        if (!d.empty()) out += "  " + d;
        out += '\n';
        visit(Next(item, TVGN_CHILD), depth + 1);
      }
    };
    visit(Next(nullptr, TVGN_ROOT), 0);
    ::SendMessageW(Tree(), WM_SETREDRAW, TRUE, 0);
    return out;
  }
  // Every node, in walking order (after a full expansion).
  std::vector<HTREEITEM> Nodes() {
    std::vector<HTREEITEM> nodes;
    std::function<void(HTREEITEM)> visit = [&](HTREEITEM item) {
      for (; item; item = Next(item, TVGN_NEXT)) {
        nodes.push_back(item);
        visit(Next(item, TVGN_CHILD));
      }
    };
    visit(Next(nullptr, TVGN_ROOT));
    return nodes;
  }
  HTREEITEM Find(const std::vector<std::string>& path) {
    HTREEITEM item = Next(nullptr, TVGN_ROOT);
    HTREEITEM found = nullptr;
    for (const std::string& label : path) {
      found = nullptr;
      for (; item; item = Next(item, TVGN_NEXT))
        if (Text(item) == label) {
          found = item;
          break;
        }
      if (!found) return nullptr;
      ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(found));
      item = Next(found, TVGN_CHILD);
    }
    return found;
  }
  void Select(HTREEITEM item) {
    ::SendMessageW(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
  std::vector<std::pair<std::string, std::string>> ValueRows() {
    HWND list = value_->m_hWnd;
    const int n = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < n; ++i) {
      std::string cells[2];
      for (int column = 0; column < 2; ++column) {
        wchar_t buffer[2048] = {};
        LVITEMW lv = {};
        lv.iSubItem = column;
        lv.pszText = buffer;
        lv.cchTextMax = 2048;
        ::SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&lv));
        cells[column] = Utf8(buffer);
      }
      rows.emplace_back(cells[0], cells[1]);
    }
    return rows;
  }

  // A right click on `item` (null: below the last node).  `answer` sees the
  // context menu's entries (text, enabled) while the menu is open; the menu
  // is then closed.  Returns whether a menu was shown.
  struct MenuEntry {
    std::string text;
    UINT id;
    bool enabled;
  };
  bool RightClick(HTREEITEM item, std::vector<MenuEntry>* entries) {

    RECT r = {};
    POINT p = {5, 0};
    if (item) {
      std::memcpy(&r, &item, sizeof item);
      ::SendMessageW(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
      p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    } else {
      RECT client;
      ::GetClientRect(Tree(), &client);
      p = {client.right / 2, client.bottom - 3};
    }
    POINT screen = p;
    ::ClientToScreen(Tree(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    menuSeen_ = false;
    menuEntries_.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &TreePaneTest::MenuTimer);
    ::PostMessageW(Tree(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    ::PostMessageW(Tree(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    Pump();
    ::KillTimer(nullptr, timer);
    if (entries) *entries = menuEntries_;
    return menuSeen_;
  }
  // The popup menu window this thread shows, if any.  Other test programs
  // share the desktop and open menus of their own: one of theirs is neither
  // read nor closed here.
  static BOOL CALLBACK FindMenuWindow(HWND wnd, LPARAM result) {
    wchar_t name[16] = {};
    ::GetClassNameW(wnd, name, 16);
    if (std::wcscmp(name, L"#32768") != 0 || !::IsWindowVisible(wnd)) return TRUE;
    *reinterpret_cast<HWND*>(result) = wnd;
    return FALSE;
  }
  static HWND OwnMenuWindow() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &TreePaneTest::FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static void CALLBACK MenuTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = OwnMenuWindow();
    if (!menu) return;
    HMENU handle = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
    menuEntries_.clear();
    for (int i = 0; handle && i < ::GetMenuItemCount(handle); ++i) {
      wchar_t text[256] = {};
      ::GetMenuStringW(handle, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
      const UINT state = ::GetMenuState(handle, static_cast<UINT>(i), MF_BYPOSITION);
      menuEntries_.push_back({Utf8(text), ::GetMenuItemID(handle, i), !(state & (MF_GRAYED | MF_DISABLED))});
    }
    menuSeen_ = true;
    ::EndMenu();
  }

  static bool menuSeen_;
  static std::vector<MenuEntry> menuEntries_;
  CMainFrame* frame_ = nullptr;
  CTransponderTableListPaneWnd* tree_ = nullptr;
  CTransponderValuePaneWnd* value_ = nullptr;
};
bool TreePaneTest::menuSeen_ = false;
std::vector<TreePaneTest::MenuEntry> TreePaneTest::menuEntries_;

lib13818::NetworkMap TwoStreams() {
  lib13818::NetworkMap store;
  tree_test::FileTransportStream(store, tree_test::GeneratedSections(0x0085, 0x0001, 0x044D, 4, 3, 1));
  tree_test::FileTransportStream(store, tree_test::SectionsOfCapture(tree_test::SimulatedCardCapture()));
  return store;
}

std::string BuilderText(const lib13818::NetworkMap& store) {
  orb::ui::TextTreeSink sink;
  orb::ui::SiTreeBuilder(sink).BuildAllNetworks(store);
  return sink.Text();
}

// ---------------------------------------------------------------------------

TEST_F(TreePaneTest, TheTreeReadBackIsTheBuildersTree) {
  const lib13818::NetworkMap store = TwoStreams();
  tree_->BuildAllNetworks(store, value_);
  // Before any expansion only the root is in the control, offering children.
  EXPECT_EQ(Walk(false), "ALL NETWORKS  {pane}\n");
  EXPECT_EQ(tree_->GetItemObjectCount(), 1u);
  auto children = [&](HTREEITEM n) {
    TVITEMW tv = {};
    tv.mask = TVIF_HANDLE | TVIF_CHILDREN;
    tv.hItem = n;
    ::SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return tv.cChildren;
  };
  EXPECT_EQ(children(tree_->GetRootItem()), 1);
  // Expanding a node (as a click on its button does) inserts its children.
  ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(tree_->GetRootItem()));
  const HTREEITEM network = Next(tree_->GetRootItem(), TVGN_CHILD);
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(Text(network), "0001 - Astra Satellite Network 19,2\xC2\xB0" "E");
  EXPECT_EQ(children(network), 1);
  ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(network));
  const HTREEITEM stream = Next(network, TVGN_CHILD);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(Text(stream), "044D - 11743H 3/4 27500");
  ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(stream));
  EXPECT_EQ(Text(Next(stream, TVGN_CHILD)), "CAT");
  // A leaf offers nothing.
  const HTREEITEM tdt = Find({"ALL NETWORKS", Text(network), Text(stream), "TDT"});
  ASSERT_NE(tdt, nullptr);
  EXPECT_EQ(children(tdt), 0);

  const std::string expected = BuilderText(store);
  EXPECT_EQ(Walk(true), expected);
  EXPECT_EQ(Count(), static_cast<int>(std::count(expected.begin(), expected.end(), '\n')));

  // Built all at once, the tree is the same.
  tree_->SetInsertOnExpand(false);
  tree_->BuildAllNetworks(store, value_);
  EXPECT_EQ(Walk(false), expected);
  tree_->SetInsertOnExpand(true);
}

TEST_F(TreePaneTest, SelectingEachKindOfNodeShowsItsElement) {
  const lib13818::NetworkMap store = TwoStreams();
  tree_->BuildAllNetworks(store, value_);
  Walk(true);
  // Every kind twice (the holder is per node: a second node of a kind shows
  // its own element).
  std::map<ElementKind, int> shown;
  std::set<std::string> itemless;  // labels of the nodes without an item tried
  bool paneSeen = false;
  for (HTREEITEM n : Nodes()) {
    CTreeItem* item = Data(n);
    if (auto* e = dynamic_cast<CElementItem*>(item)) {
      if (shown[e->GetKind()] >= 2) continue;
      ++shown[e->GetKind()];
      Select(n);
      const auto expected = ExpectedRows(e->GetKind(), e->GetElement());
      EXPECT_FALSE(expected.empty()) << Text(n);
      EXPECT_EQ(ValueRows(), expected) << Text(n) << " " << orb::ui::ShowRoutineName(e->GetKind());
    } else if (!item && Next(n, TVGN_CHILD) && itemless.count(Text(n)) == 0) {
      // A node without fields of its own (a list node, "EIT", a table's
      // sub-table node) empties the value pane: no rows of the node selected
      // before stay.  Its first element below shows something to clear.
      HTREEITEM below = Next(n, TVGN_CHILD);
      while (below && !dynamic_cast<CElementItem*>(Data(below))) {
        ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(below));
        below = Next(below, TVGN_CHILD);
      }
      if (!below) continue;
      itemless.insert(Text(n));
      Select(below);
      ASSERT_FALSE(ValueRows().empty()) << Text(below);
      Select(n);
      EXPECT_TRUE(ValueRows().empty()) << Text(n);
    } else if (item && !dynamic_cast<CElementItem*>(item) && !paneSeen && Text(n) == "STREAM_INFO") {
      paneSeen = true;
      Select(Next(n, TVGN_CHILD));
      EXPECT_FALSE(ValueRows().empty());
      Select(n);
      EXPECT_TRUE(ValueRows().empty()) << Text(n);
    }
  }
  EXPECT_TRUE(paneSeen);
  EXPECT_EQ(itemless.count("EIT"), 1u);
  EXPECT_GE(itemless.size(), 2u) << "\"EIT\" and at least one list node";
  EXPECT_GE(shown.size(), 60u);  // the kinds the two streams carry
  // Root, network and transport stream nodes empty the pane.
  for (HTREEITEM n : {Find({"ALL NETWORKS"}), Next(Find({"ALL NETWORKS"}), TVGN_CHILD)}) {
    Select(Find({"ALL NETWORKS", "0001 - Astra Satellite Network 19,2\xC2\xB0" "E", "044D - 11743H 3/4 27500",
                 "PAT"}));
    EXPECT_FALSE(ValueRows().empty());
    Select(n);
    EXPECT_TRUE(ValueRows().empty()) << Text(n);
  }
}

TEST_F(TreePaneTest, ClearingEmptiesTreeValuePaneAndItems) {
  lib13818::NetworkMap store = TwoStreams();
  tree_->BuildAllNetworks(store, value_);
  Walk(true);
  const HTREEITEM pat =
      Find({"ALL NETWORKS", "0001 - Astra Satellite Network 19,2\xC2\xB0" "E", "044D - 11743H 3/4 27500", "PAT"});
  ASSERT_NE(pat, nullptr);
  Select(pat);
  ASSERT_FALSE(ValueRows().empty());
  EXPECT_GT(tree_->GetItemObjectCount(), 1000u);

  tree_->ClearTree();
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(tree_->GetRootItem(), nullptr);
  EXPECT_EQ(tree_->GetItemObjectCount(), 0u);
  EXPECT_TRUE(ValueRows().empty());
  // The store may go now; clearing again is harmless.
  store.clear();
  tree_->ClearTree();
  EXPECT_EQ(Count(), 0);

  tree_->BuildAllNetworks(store, value_);
  EXPECT_EQ(Walk(true), "ALL NETWORKS  {pane}\n");
}

TEST_F(TreePaneTest, RightClicksOpenTheMenusOfTheirNodes) {
  const lib13818::NetworkMap store = TwoStreams();
  tree_->BuildAllNetworks(store, value_);
  const std::vector<std::string> ts = {"ALL NETWORKS", "0001 - Astra Satellite Network 19,2\xC2\xB0" "E",
                                       "044D - 11743H 3/4 27500"};
  auto path = [&](std::vector<std::string> rest) {
    std::vector<std::string> p = ts;
    p.insert(p.end(), rest.begin(), rest.end());
    return Find(p);
  };
  std::vector<MenuEntry> entries;

  // A transport stream whose tables are not in the control yet (it was
  // never expanded) offers its menu all the same, and stays as it was.
  {
    const HTREEITEM network = Find({ts[0], ts[1]});
    ASSERT_NE(network, nullptr);
    const HTREEITEM collapsed = Next(network, TVGN_CHILD);
    ASSERT_NE(collapsed, nullptr);
    ASSERT_EQ(Next(collapsed, TVGN_CHILD), nullptr);
    ASSERT_TRUE(RightClick(collapsed, &entries));
    EXPECT_EQ(tree_->GetContextItem(), collapsed);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "EMM Streaming ...");
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(::SendMessageW(Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0)), collapsed);
    EXPECT_TRUE(ValueRows().empty());
    // Expanded later, it shows its tables as if they had been there.
    ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(collapsed));
    ASSERT_NE(Next(collapsed, TVGN_CHILD), nullptr);
    EXPECT_EQ(Text(Next(collapsed, TVGN_CHILD)), "CAT");
    ::SendMessageW(Tree(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(collapsed));
  }

  // A transport stream: menu 145, its streaming entries disabled (none of
  // them runs a main-menu command).
  const HTREEITEM stream = Find(ts);
  ASSERT_NE(stream, nullptr);
  ASSERT_TRUE(RightClick(stream, &entries));
  EXPECT_EQ(tree_->GetContextItem(), stream);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].text, "EMM Streaming ...");
  EXPECT_EQ(entries[1].text, "ECM streaming ...");
  EXPECT_EQ(entries[2].text, "EMM+ECM streaming ...");
  for (const MenuEntry& e : entries) {
    EXPECT_FALSE(e.enabled) << e.text;
    EXPECT_GE(e.id, 33100u);
  }

  // A program: menu 144.
  const HTREEITEM pmt = Find(std::vector<std::string>{ts[0], ts[1], ts[2], "PMT"});
  ASSERT_NE(pmt, nullptr);
  const HTREEITEM program = Next(pmt, TVGN_CHILD);
  ::SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(program));
  ASSERT_TRUE(RightClick(program, &entries));
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].text, "ECM streaming...");
  EXPECT_EQ(entries[3].text, "Private section streaming...");
  for (const MenuEntry& e : entries) EXPECT_FALSE(e.enabled) << e.text;
  // Selected by the click: the value pane shows the program.
  EXPECT_EQ(ValueRows(), ExpectedRows(ElementKind::Pmt, dynamic_cast<CElementItem*>(Data(program))->GetElement()));

  // A stream of it, the root and a network: selected, no menu.
  const HTREEITEM streamInfo = Find(std::vector<std::string>{ts[0], ts[1], ts[2], "PMT", Text(program), "STREAM_INFO"});
  ASSERT_NE(streamInfo, nullptr);
  const HTREEITEM es = Next(streamInfo, TVGN_CHILD);
  ::SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(es));
  EXPECT_FALSE(RightClick(es, nullptr));
  EXPECT_EQ(reinterpret_cast<HTREEITEM>(::SendMessageW(Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0)), es);
  const HTREEITEM root = Find({"ALL NETWORKS"});
  ::SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(root));
  EXPECT_FALSE(RightClick(root, nullptr));
  EXPECT_EQ(tree_->GetContextItem(), root);
  EXPECT_FALSE(RightClick(Find({ts[0], ts[1]}), nullptr));

  // Empty space: nothing, and no context item.
  ::SendMessageW(Tree(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root));
  EXPECT_FALSE(RightClick(nullptr, nullptr));
  EXPECT_EQ(tree_->GetContextItem(), nullptr);

  // A satellite delivery descriptor without a driver: its menu, Set tuner...
  // disabled.
  const HTREEITEM sat = path({"NIT - actual network", "NID 0085", "SECTION 0000", "STREAM_INFO", "044D",
                              "SATELLITEDELIVERYSYSTEM_DESCRIPTOR"});
  ASSERT_NE(sat, nullptr);
  ::SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(sat));
  ASSERT_TRUE(RightClick(sat, &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].text, "Set tuner...");
  EXPECT_EQ(entries[0].id, 32801u);
  EXPECT_FALSE(entries[0].enabled);
  // Chosen anyway: dropped, nothing happens.
  tree_->SendMessage(WM_COMMAND, 32801, 0);

  // The context item is forgotten with the tree.
  tree_->ClearTree();
  EXPECT_EQ(tree_->GetContextItem(), nullptr);
  tree_->SendMessage(WM_COMMAND, 32801, 0);

  // What the log got.
  std::string log;
  if (FILE* f = std::fopen(LogPath().c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) log.append(buffer, n);
    std::fclose(f);
  }
  EXPECT_NE(log.find("NID=0x1"), std::string::npos);
  EXPECT_NE(log.find("All networks processed"), std::string::npos);
  EXPECT_NE(log.find("selected="), std::string::npos);
  EXPECT_NE(log.find("pBase="), std::string::npos);
  EXPECT_NE(log.find("context menu"), std::string::npos);
}

// The context menus of the tree's nodes are Danish-tagged resources, each
// with one popup "dummy".
TEST(TreePaneResources, ContextMenusAreDanishTaggedWithOnePopup) {
  for (const UINT id : {139u, 140u, 144u, 145u, 148u}) {
    EXPECT_NE(::FindResourceExW(nullptr, reinterpret_cast<LPCWSTR>(RT_MENU), MAKEINTRESOURCEW(id),
                                MAKELANGID(LANG_DANISH, SUBLANG_DEFAULT)),
              nullptr)
        << id;
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    ASSERT_NE(menu, nullptr) << id;
    EXPECT_EQ(::GetMenuItemCount(menu), 1) << id;
    wchar_t name[16] = {};
    ::GetMenuStringW(menu, 0, name, 16, MF_BYPOSITION);
    EXPECT_STREQ(name, L"dummy") << id;
    EXPECT_NE(::GetSubMenu(menu, 0), nullptr) << id;
    ::DestroyMenu(menu);
  }
}

// Texts of the store are UTF-8; the labels show them as broadcast, whatever
// the ANSI code page.
TEST_F(TreePaneTest, LabelsShowUtf8TextsAsBroadcast) {
  lib13818::NetworkMap store;
  lib13818::Network& network = store[0x0001];
  network.network_id = 0x0001;
  lib13818::Transponder& ts = network.transponders[0x0400];
  ts.transport_stream_id = 0x0400;
  ts.pat.parsed = true;
  ts.pat.table_id_extension = 0x0400;
  ts.pat.programs.push_back({0x0101, 0x0100});
  lib13818::ServiceDescriptionSection& sdt = ts.sdtActual[0x0001][0x0400][0];
  sdt.parsed = true;
  sdt.services.resize(1);
  sdt.services[0].service_id = 0x0101;
  sdt.services[0].descriptors.serviceDescriptors.resize(1);
  const std::string name = "France \xC3\x94 \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xE4\xB8\xAD\xE6\x96\x87 " +
                           std::string(300, 'x');
  sdt.services[0].descriptors.serviceDescriptors[0].service_name = name;
  ts.pmts.resize(1);
  ts.pmts[0].parsed = true;
  ts.pmts[0].table_id_extension = 0x0101;
  tree_->BuildAllNetworks(store, value_);
  const HTREEITEM pmt = Find({"ALL NETWORKS", "0001 - Astra Satellite Network 19,2\xC2\xB0" "E", "0400 - Unknown", "PMT"});
  ASSERT_NE(pmt, nullptr);
  const HTREEITEM program = Next(pmt, TVGN_CHILD);
  ASSERT_NE(program, nullptr);
  wchar_t buffer[1024] = {};
  TVITEMW tv = {};
  tv.mask = TVIF_HANDLE | TVIF_TEXT;
  tv.hItem = program;
  tv.pszText = buffer;
  tv.cchTextMax = 1024;
  ::SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  const std::wstring expected = L"0101 - France \u00D4 \u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \u4E2D\u6587 ";
  EXPECT_EQ(std::wstring(buffer).substr(0, expected.size()), expected);
}

// ---------------------------------------------------------------------------
// Set tuner... through the budget plug-in on its simulated cards

class SetTunerTest : public TreePaneTest {
 protected:
  void SetUp() override {
    TreePaneTest::SetUp();
    vsim_ = ::LoadLibraryW((ExeDir() + L"\\bvlcdacc.dll").c_str());
    ASSERT_NE(vsim_, nullptr);
    plugin_ = ::LoadLibraryW((ExeDir() + L"\\belvane.dll").c_str());
    ASSERT_NE(plugin_, nullptr);
    root_ = "SOFTWARE\\Team Orbisect\\OrbTreeTest" + std::to_string(::GetCurrentProcessId());
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, root_.c_str());
  }
  void TearDown() override {
    if (driver_) driver_->Release();
    driver_ = nullptr;
    theTestApp.driver = nullptr;
    TreePaneTest::TearDown();
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, root_.c_str());
    if (auto reset = Hook<void (*)()>("VsimReset")) reset();
  }
  template <class F>
  F Hook(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(vsim_, name)));
  }

  // The plug-in on one simulated card ("sat", "cable" or "terr").
  void StartDriver(const char* card) {
    Hook<void (*)()>("VsimReset")();
    ASSERT_EQ(Hook<int (*)(const char*)>("VsimSetDevices")(card), 0);
    using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(::GetProcAddress(plugin_, "DllGetClassObject")));
    ASSERT_NE(get, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(get(CLSID_BelvaneDevice, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDvbDriver, reinterpret_cast<void**>(&driver_)), S_OK);
    factory->Release();
    // Card 0, settings under a scratch key.
    wchar_t clsid[64] = {};
    ::StringFromGUID2(CLSID_BelvaneDevice, clsid, 64);
    const std::string classKey = root_ + "\\drivers\\" + Utf8(clsid);
    HKEY k = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, classKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                                nullptr),
              ERROR_SUCCESS);
    const DWORD device = 0;
    ::RegSetValueExA(k, "device", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&device), sizeof device);
    ::RegCloseKey(k);
    IDriverControl* control = nullptr;
    ASSERT_EQ(driver_->QueryInterface(IID_IDriverControl, reinterpret_cast<void**>(&control)), S_OK);
    const std::wstring drivers(root_.begin(), root_.end());
    BSTR a = ::SysAllocString((drivers + L"\\drivers").c_str());
    BSTR b = ::SysAllocString(L"C:\\ProgramData\\Orbisect 3\\drivers");
    BSTR c = ::SysAllocString(L"C:\\users\\test\\Orbisect 3\\drivers");
    const HRESULT hr = control->Init(a, b, c);
    ::SysFreeString(a);
    ::SysFreeString(b);
    ::SysFreeString(c);
    control->Release();
    ASSERT_EQ(hr, S_OK);
    theTestApp.driver = driver_;

  }
  std::vector<VSIM_CHANNEL> Channels() {
    std::vector<VSIM_CHANNEL> out;
    const int n = Hook<int (*)()>("VsimChannelCount")();
    for (int i = 0; i < n; ++i) {
      VSIM_CHANNEL c = {};
      Hook<int (*)(int, VSIM_CHANNEL*)>("VsimGetChannel")(i, &c);
      out.push_back(c);
    }
    return out;
  }
  // The store of one multiplex of the simulated world, as a capture.
  lib13818::NetworkMap StoreOf(const vsim::MuxDef& mux) {
    const vsim::World world = vsim::DefaultWorld();
    auto multiplex = vsim::Multiplex::Generate(world, mux, [] {
      vsim::UtcInstant t;
      t.year = 2024;
      t.month = 3;
      t.day = 15;
      return t;
    });
    lib13818::NetworkMap store;
    EXPECT_TRUE(tree_test::FileTransportStream(store, tree_test::SectionsOfCapture(multiplex->CyclePackets())));
    return store;
  }
  // The last delivery descriptor node of `label` under "NIT - actual
  // network" whose descriptor `accept` takes.
  template <class Descriptor>
  HTREEITEM DeliveryNode(const char* label, const std::function<bool(const Descriptor&)>& accept,
                         const Descriptor** descriptor) {
    Walk(true);
    HTREEITEM found = nullptr;
    for (HTREEITEM n : Nodes()) {
      auto* e = dynamic_cast<CElementItem*>(Data(n));
      if (Text(n) != label || !e) continue;
      bool inActual = false;
      for (HTREEITEM up = Next(n, TVGN_PARENT); up; up = Next(up, TVGN_PARENT))
        if (Text(up) == "NIT - actual network") inActual = true;
      const auto* d = static_cast<const Descriptor*>(e->GetElement());
      if (inActual && accept(*d)) {
        found = n;
        *descriptor = d;
      }
    }
    return found;
  }
  // Right click, see Set tuner... enabled, choose it.
  void ChooseSetTuner(HTREEITEM node, UINT command) {
    ::SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    std::vector<MenuEntry> entries;
    ASSERT_TRUE(RightClick(node, &entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, command);
    EXPECT_TRUE(entries[0].enabled);
    tree_->SendMessage(WM_COMMAND, command, 0);
  }

  HMODULE vsim_ = nullptr, plugin_ = nullptr;
  IDvbDriver* driver_ = nullptr;
  std::string root_;
};

TEST_F(SetTunerTest, SatelliteDescriptorRetunesTheSatelliteCard) {
  const vsim::World world = vsim::DefaultWorld();
  const lib13818::NetworkMap store = StoreOf(world.satellites.front().transponders.front());
  StartDriver("sat");
  tree_->BuildAllNetworks(store, value_);
  using Sat = lib13818::DescriptorSatelliteDeliverySystem;
  const Sat* d = nullptr;
  // A transponder of 19.2E, the satellite the card's dish receives.
  const HTREEITEM node = DeliveryNode<Sat>(
      "SATELLITEDELIVERYSYSTEM_DESCRIPTOR",
      [](const Sat& s) { return s.west_east_flag == 1 && s.orbital_position > 19.15 && s.orbital_position < 19.25; },
      &d);
  ASSERT_NE(node, nullptr);
  SATDELIVERYDESC expected;
  orb::app::SatelliteDescToTuning(*d, expected);
  const size_t before = Channels().size();
  ChooseSetTuner(node, 32801);
  const auto channels = Channels();
  ASSERT_GT(channels.size(), before);
  EXPECT_EQ(channels.back().Channel.dwFreq, expected.frequency * 10);
  EXPECT_EQ(channels.back().Channel.dwSymbRate, expected.symbol_rate * 100);
  EXPECT_TRUE(channels.back().Locked);
  EXPECT_NE(channels.back().TransportStreamId, 0);
  EXPECT_TRUE(g_messageBoxes.empty());

  // The card refuses the channel: the user is told, nothing else changes.
  Hook<void (*)(const char*, int)>("VsimFailCall")("SetChannel", -1);
  ChooseSetTuner(node, 32801);
  Hook<void (*)(const char*, int)>("VsimFailCall")("SetChannel", 0);
  ASSERT_EQ(g_messageBoxes.size(), 1u);
  EXPECT_EQ(g_messageBoxes[0], "Failed to set tuner");
  g_messageBoxes.clear();

  // On a cable card the satellite command is disabled and does nothing.
  driver_->Release();
  driver_ = nullptr;
  theTestApp.driver = nullptr;
  StartDriver("cable");
  std::vector<MenuEntry> entries;
  ASSERT_TRUE(RightClick(node, &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_FALSE(entries[0].enabled);
  const size_t cableBefore = Channels().size();
  tree_->SendMessage(WM_COMMAND, 32801, 0);
  EXPECT_EQ(Channels().size(), cableBefore);
  // Dropped before it reaches the plug-in: no refusal to tell.
  EXPECT_TRUE(g_messageBoxes.empty());
}

TEST_F(SetTunerTest, CableAndTerrestrialDescriptorsRetuneTheirCards) {
  const vsim::World world = vsim::DefaultWorld();
  {
    const lib13818::NetworkMap store = StoreOf(world.cable.front());
    StartDriver("cable");
    tree_->BuildAllNetworks(store, value_);
    using Cable = lib13818::DescriptorCableDeliverySystem;
    const Cable* d = nullptr;
    const HTREEITEM node =
        DeliveryNode<Cable>("CABLEDELIVERYSYSTEM_DESCRIPTOR", [](const Cable&) { return true; }, &d);
    ASSERT_NE(node, nullptr);
    CABLEDELIVERYDESC expected;
    orb::app::CableDescToTuning(*d, expected);
    ChooseSetTuner(node, 32785);
    const auto channels = Channels();
    ASSERT_FALSE(channels.empty());
    EXPECT_EQ(channels.back().Channel.dwFreq, expected.frequency / 10);
    EXPECT_TRUE(channels.back().Locked);
    EXPECT_TRUE(g_messageBoxes.empty());
    driver_->Release();
    driver_ = nullptr;
    theTestApp.driver = nullptr;
  }
  {
    const lib13818::NetworkMap store = StoreOf(world.terrestrial.back());
    StartDriver("terr");
    tree_->BuildAllNetworks(store, value_);
    using Terr = lib13818::DescriptorTerrestrialDeliverySystem;
    const Terr* d = nullptr;
    const HTREEITEM node =
        DeliveryNode<Terr>("TERRESTRIALDELIVERYSYSTEM_DESCRIPTOR", [](const Terr&) { return true; }, &d);
    ASSERT_NE(node, nullptr);
    TERRDELIVERYDESC expected;
    orb::app::TerrestrialDescToTuning(*d, expected);
    ChooseSetTuner(node, 32786);
    const auto channels = Channels();
    ASSERT_FALSE(channels.empty());
    EXPECT_EQ(channels.back().Channel.dwFreq, expected.centre_frequency / 100);
    EXPECT_TRUE(channels.back().Locked);
    EXPECT_TRUE(g_messageBoxes.empty());
  }
}

// A picture of an expanded tree, for review.
// A frame laid out as the program opens it (the fixture widens the tree):
// every PMT program's label shows in full in the tree, and so would the
// label of a program whose service the SDT does not name.
TEST_F(TreePaneTest, OpensWideEnoughForTheLabelsOfItsServices) {
  frame_->DestroyWindow();
  Pump();
  ASSERT_NO_FATAL_FAILURE(OpenFrame());
  Pump();
  tree_ = frame_->GetTreePane();
  value_ = frame_->GetValuePane();
  ASSERT_TRUE(tree_ && value_);
  const lib13818::NetworkMap store = TwoStreams();
  tree_->BuildAllNetworks(store, value_);
  RECT client{};
  ::GetClientRect(Tree(), &client);
  HDC dc = ::GetDC(Tree());
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(Tree(), WM_GETFONT, 0, 0)));
  const wchar_t kUnnamed[] = L"FFFF - <service not in SDT>";
  SIZE unnamed{};
  ::GetTextExtentPoint32W(dc, kUnnamed, static_cast<int>(std::size(kUnnamed) - 1), &unnamed);
  ::SelectObject(dc, old);
  ::ReleaseDC(Tree(), dc);
  int programs = 0;
  HTREEITEM last = nullptr;
  for (HTREEITEM network = Next(Find({"ALL NETWORKS"}), TVGN_CHILD); network; network = Next(network, TVGN_NEXT)) {
    ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(network));
    for (HTREEITEM ts = Next(network, TVGN_CHILD); ts; ts = Next(ts, TVGN_NEXT)) {
      ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(ts));
      for (HTREEITEM table = Next(ts, TVGN_CHILD); table; table = Next(table, TVGN_NEXT)) {
        if (Text(table) != "PMT") continue;
        ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(table));
        for (HTREEITEM program = Next(table, TVGN_CHILD); program; program = Next(program, TVGN_NEXT)) {
          RECT text{};
          std::memcpy(&text, &program, sizeof program);  // the node goes in, its rectangle comes out
          ASSERT_TRUE(::SendMessageW(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)));
          EXPECT_LE(text.right, client.right) << Text(program);
          EXPECT_LE(text.left + unnamed.cx + 6, client.right) << "beside " << Text(program);
          ++programs;
          last = program;
        }
      }
    }
  }
  EXPECT_GT(programs, 4);
  // A picture for review: the tree as it opens, a program selected.
  Select(last);
  ::SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(last));
  orb_test::SavePaintedWindow(frame_->m_hWnd, ExeDir() + L"\\tree_pane_as_opened.bmp", 200);
}

TEST_F(TreePaneTest, PictureOfAnExpandedTree) {
  const lib13818::NetworkMap store = TwoStreams();
  tree_->BuildAllNetworks(store, value_);
  const HTREEITEM service = Find({"ALL NETWORKS", "0001 - Astra Satellite Network 19,2\xC2\xB0" "E",
                                  "044D - 11743H 3/4 27500", "SDT - actual transport stream", "ORIGINAL NID 0001",
                                  "TID 044D", "SECTION 0000", "1000"});
  ASSERT_NE(service, nullptr);
  const HTREEITEM descriptor = Next(service, TVGN_CHILD);
  ::SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(service));
  Select(descriptor);
  tree_->SetFocus();
  ::SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(Find({"ALL NETWORKS"})));
  ::SendMessageW(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(descriptor));
  frame_->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  RECT r;
  ::GetWindowRect(frame_->m_hWnd, &r);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ::SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
  std::vector<BYTE> pixels(stride * static_cast<DWORD>(h));
  ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  const std::wstring path = ExeDir() + L"\\tree_pane.bmp";
  HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(out, &file, sizeof file, &written, nullptr);
  ::WriteFile(out, &info, sizeof info, &written, nullptr);
  ::WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  ::CloseHandle(out);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace
