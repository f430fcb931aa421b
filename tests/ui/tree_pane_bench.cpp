// The tree pane on a full satellite, under Wine: a store of 60 generated
// transport streams with their EIT schedules, BuildAllNetworks and ClearTree
// timed in the main frame (tables added on first expansion, as the program
// does, and all at once), with the process memory the tree takes.
//
//   cmake/wine-run.sh build/win64/tests/ui/ui_tree_pane_bench.exe [STREAMS] [REPEATS]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "lib13818/id_names.h"
#include "tree_store.h"
#include "ui_core/si_tree.h"
#include "ui_win/MainFrm.h"
#include "ui_win/TransponderPanes.h"
#include "win_ui.h"

namespace {

class CBenchApp : public CWinApp {
 public:
  CBenchApp() : CWinApp("OrbTreePaneBench") {}
};
CBenchApp theBenchApp;

double Now() {
  LARGE_INTEGER f, t;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// The process's resident memory (under Wine the host's figure of the process).
double PrivateMiB() {
  PROCESS_MEMORY_COUNTERS pmc = {};
  pmc.cb = sizeof pmc;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc);
  return static_cast<double>(pmc.WorkingSetSize) / (1024.0 * 1024.0);
}

using orb_test::Pump;

struct Stats {
  std::vector<double> samples;
  void Add(double s) { samples.push_back(s * 1000.0); }
  void Print(const char* name, const char* extra = "") {
    std::sort(samples.begin(), samples.end());
    std::printf("%-44s %9.1f ms min %9.1f ms median  (%zu runs)%s\n", name, samples.front(),
                samples[samples.size() / 2], samples.size(), extra);
  }
};

// Opens the path to the last event of the last transport stream, node by
// node, as a user would.
void OpenDeepPath(HWND tree) {
  HTREEITEM node = TreeView_GetRoot(tree);
  while (node) {
    TreeView_Expand(tree, node, TVE_EXPAND);
    HTREEITEM child = TreeView_GetChild(tree, node);
    if (!child) break;
    while (HTREEITEM next = TreeView_GetNextSibling(tree, child)) child = next;
    node = child;
  }
}

// Inserts every node (as if the user had opened them all).
void InsertEverything(CTransponderTableListPaneWnd* pane, HWND tree, HTREEITEM node) {
  for (; node; node = TreeView_GetNextSibling(tree, node)) {
    pane->EnsureChildren(node);
    InsertEverything(pane, tree, TreeView_GetChild(tree, node));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int streams = argc > 1 ? std::atoi(argv[1]) : 60;
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
  if (!AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW)) return 1;
  lib13818::InitIdNameMaps();

  const double before = PrivateMiB();
  const lib13818::NetworkMap store = tree_test::GeneratedSatellite(streams, 8, 4);
  const double storeMiB = PrivateMiB() - before;
  orb::ui::TextTreeSink count;
  orb::ui::SiTreeBuilder(count).BuildAllNetworks(store);
  std::printf("store: %d transport streams, %zu tree nodes, %.1f MiB\n", streams, count.nodes().size(), storeMiB);

  auto* frame = static_cast<CMainFrame*>(RUNTIME_CLASS(CMainFrame)->CreateObject());
  CCreateContext context;
  if (!frame->LoadFrame(128, WS_OVERLAPPEDWINDOW, nullptr, &context)) return 1;
  frame->MoveWindow(0, 0, 1000, 720);
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  Pump();
  CTransponderTableListPaneWnd* tree = frame->GetTreePane();
  CTransponderValuePaneWnd* value = frame->GetValuePane();
  const HWND hwnd = tree->m_hWnd;

  // As the program runs it: children inserted on first expansion.
  Stats build, clear, open, clearOpened, expand, clearExpanded;
  double treeMiB = 0, peakMiB = 0, lazyMiB = 0;
  for (int i = 0; i < repeats; ++i) {
    const double m0 = PrivateMiB();
    double t = Now();
    tree->BuildAllNetworks(store, value);
    build.Add(Now() - t);
    lazyMiB = std::max(lazyMiB, PrivateMiB() - m0);
    Pump();
    t = Now();
    tree->ClearTree();
    clear.Add(Now() - t);
    Pump();

    tree->BuildAllNetworks(store, value);
    t = Now();
    OpenDeepPath(hwnd);
    open.Add(Now() - t);
    Pump();
    t = Now();
    tree->ClearTree();
    clearOpened.Add(Now() - t);
    Pump();

    if (i > 0) continue;  // inserting everything is slow in the control: once
    tree->BuildAllNetworks(store, value);
    t = Now();
    InsertEverything(tree, hwnd, TreeView_GetRoot(hwnd));
    expand.Add(Now() - t);
    treeMiB = std::max(treeMiB, PrivateMiB() - m0);
    peakMiB = std::max(peakMiB, PrivateMiB());
    const unsigned shown = TreeView_GetCount(hwnd);
    std::printf("nodes after inserting every node: %u\n", shown);
    Pump();
    t = Now();
    tree->ClearTree();
    clearExpanded.Add(Now() - t);
    Pump();
  }
  build.Print("BuildAllNetworks (children on expansion)");
  std::printf("memory of the tree as built: %.1f MiB\n", lazyMiB);
  clear.Print("ClearTree (nothing expanded)");
  open.Print("open the path to one event");
  clearOpened.Print("ClearTree (one path open)");
  expand.Print("insert every node");
  clearExpanded.Print("ClearTree (every node inserted)");
  std::printf("memory of the tree with every node inserted: %.1f MiB (process: %.1f MiB)\n", treeMiB, peakMiB);

  // Everything at once (slow in the control: once).
  tree->SetInsertOnExpand(false);
  Stats eagerBuild, eagerClear;
  double eagerMiB = 0;
  for (int i = 0; i < 1; ++i) {
    const double m0 = PrivateMiB();
    double t = Now();
    tree->BuildAllNetworks(store, value);
    eagerBuild.Add(Now() - t);
    eagerMiB = std::max(eagerMiB, PrivateMiB() - m0);
    peakMiB = std::max(peakMiB, PrivateMiB());
    Pump();
    t = Now();
    tree->ClearTree();
    eagerClear.Add(Now() - t);
    Pump();
  }
  eagerBuild.Print("BuildAllNetworks (every node at once)");
  eagerClear.Print("ClearTree (every node)");
  std::printf("memory of the tree built at once: %.1f MiB (process: %.1f MiB)\n", eagerMiB, peakMiB);
  frame->DestroyWindow();
  Pump();
  return 0;
}
