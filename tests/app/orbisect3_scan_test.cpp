// Orbisect3.exe scanning, as the user does it, on each of the three
// simulated vendor cards: "Single satellite..." from the satellite list's
// primary transponder (every stream of the NIT tuned through the DiSEqC
// switch, as the card's trace shows), then "Current transponder..." with
// the keep-data question answered No, Cancel and Yes, and the value pane
// emptied by a node without fields; the Output lines of scans that find
// nothing to store; the SI Tables dialog storing its choice; the satellite
// list and transponder list dialogs committing their changes to the list
// the program saves at exit.  The test
// watches the program's windows from outside and reads its tree, its Output
// window and the files it leaves.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "plugin_support.h"
#include "program_layout.h"
#include "satlistmgr.h"
#include "test_support.h"
#include "win_program.h"
#include "vsim/multiplex.h"
#include "vsim/si_gen.h"
#include "vsim/world.h"
#include "win_screen.h"

using namespace orb::app;
using orb::com::Bstr;
using orb::com::ComPtr;

namespace {

using orb_test::kProgramKey;
using orb_test::SpecialFolder;
constexpr DWORD kPatienceMs = 90000;

bool WaitFor(const std::function<bool()>& done, DWORD boundMs = kPatienceMs) {
  return orb_test::WaitFor(done, boundMs);
}

using orb_test::ClassOf;
using orb_test::DescendantByClass;
using orb_test::DialogTexts;
using orb_test::Press;
using orb_test::WindowText;

std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> lines;
  const LRESULT n = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    wchar_t text[1024] = {};
    const LRESULT len = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len < 0 || len >= 1024) continue;
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    lines.push_back(text);
  }
  return lines;
}

// The window as the screen shows it, freshly painted, into the build tree.
void SaveScreenshot(HWND hwnd, const wchar_t* name) {
  orb_test::SavePaintedWindow(hwnd, orb_test::ExeFolder() + L"\\" + name, 300);
}

class Orbisect3Scan : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    ASSERT_TRUE(orb_test::RegisterServerBeside(L"orbsatlist.dll"));
    for (const plugtest::Plugin& p : plugtest::Plugins()) ASSERT_TRUE(orb_test::RegisterServerBeside(p.dll));
  }

  void SetUp() override {
    plugin_ = plugtest::PluginNamed(GetParam());
    ASSERT_NE(plugin_, nullptr);
    clsid_ = GuidToRegistryString(*plugin_->clsid);
    satList_ = Widen(SpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orbisect 3\\satlist.xml");
    trace_ = orb_test::TempFolder(L"orb-scan-run") + L"\\trace.txt";
    ::DeleteFileW(trace_.c_str());
    // DiSEqC 1.0 with "Astra 19E" on input A/A; every table.
    orb_test::LayOutDriver(clsid_);
    plugtest::WriteDword(Narrow(kProgramKey), "sitables", 0x7FFF);
    WriteSatList();
    ::SetEnvironmentVariableW(L"ORB_VSIM_RATE", L"100000");
    ::SetEnvironmentVariableW(L"ORB_VSIM_TRACE", trace_.c_str());
  }

  void TearDown() override { program_.End(kPatienceMs); }

  // The default list with "Astra 19E" selected and its transponder primary.
  void WriteSatList() {
    orb_test::WriteProgramSatList(L"Astra 19E", [](ISatellite* astra) {
      ASSERT_EQ(astra->DeleteTransponder(0, 1), S_OK);
      ComPtr<ITransponder> t;
      ASSERT_EQ(astra->CreateTransponder(0, 1, t.Put()), S_OK);
      t->SetPrimary(1);
      t->SetFrequency(1218700);
      t->SetPolarization(0);
      t->SetSymbolRate(275000);
      t->SetFEC(1);
      ASSERT_EQ(astra->AddTransponder(t), S_OK);
    });
  }

  void Start() {
    orb_test::ProcessRun run;
    ASSERT_TRUE(program_.Start(orb_test::ExeFolder() + L"\\Orbisect3.exe", orb_test::ExeFolder(), run))
        << run.Describe();
  }

  HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD boundMs = kPatienceMs) {
    return program_.WaitForWindow(match, boundMs);
  }
  HWND WaitForDialog(const std::wstring& caption, DWORD boundMs = kPatienceMs) {
    return program_.WaitForDialog(caption, boundMs);
  }
  // A message box (a dialog whose caption is none of the program's dialogs).
  HWND WaitForMessageBox(std::wstring& texts) {
    HWND box = WaitForWindow([](HWND h) {
      const std::wstring c = WindowText(h);
      return ClassOf(h) == L"#32770" && c != L"SI Reading" && c != L"SI Tables" &&
             c != L"Satellite list manager" && c != L"Transponder list";
    });
    if (box) texts = DialogTexts(box);
    return box;
  }

  // Runs the open "SI Reading" dialog: Start, wait for the end, Close.
  void RunScanDialog(HWND dialog, const wchar_t* picture = nullptr) {
    ASSERT_TRUE(dialog) << "no SI Reading dialog";
    HWND start = ::GetDlgItem(dialog, 1011);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1011, BN_CLICKED), reinterpret_cast<LPARAM>(start));
    ASSERT_TRUE(WaitFor([&] { return WindowText(start) == L"Start" && ::IsWindowEnabled(start); }));
    if (picture) SaveScreenshot(dialog, picture);
    Press(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 20000));
  }

  // The children of a tree node, after expanding it (the tree inserts a
  // node's children when it is first expanded).
  std::vector<HTREEITEM> Children(HTREEITEM parent) const {
    ::SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    std::vector<HTREEITEM> out;
    auto* child = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    while (child) {
      out.push_back(child);
      child = reinterpret_cast<HTREEITEM>(
          ::SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    return out;
  }
  // Networks and transport streams the tree shows: {networks, streams}.
  std::pair<int, int> TreeStreams() const {
    auto* root = reinterpret_cast<HTREEITEM>(::SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (!root) return {-1, -1};
    const std::vector<HTREEITEM> networks = Children(root);
    int streams = 0;
    for (HTREEITEM n : networks) streams += static_cast<int>(Children(n).size());
    return {static_cast<int>(networks.size()), streams};
  }
  std::vector<std::wstring> Output() const { return ListLines(output_); }
  bool Said(const std::wstring& line) const {
    const auto lines = Output();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  std::vector<std::string> TraceLines() const {
    std::ifstream in(trace_.c_str());
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
  }

  const plugtest::Plugin* plugin_ = nullptr;
  std::string clsid_;
  std::wstring satList_, trace_;
  orb_test::WatchedProgram program_;
  HWND frame_ = nullptr, tree_ = nullptr, output_ = nullptr;
};

}  // namespace

TEST_P(Orbisect3Scan, SatelliteThenCurrentTransponderWithTheKeepDataQuestion) {
  Start();
  frame_ = WaitForWindow([](HWND h) { return ::GetMenu(h) != nullptr; });
  ASSERT_TRUE(frame_) << "no main window";
  tree_ = DescendantByClass(frame_, L"SysTreeView32");
  ASSERT_TRUE(tree_);
  std::vector<HWND> lists;
  ::EnumChildWindows(
      frame_,
      [](HWND h, LPARAM p) -> BOOL {
        if (::GetDlgCtrlID(h) == 102) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&lists));
  ASSERT_FALSE(lists.empty());
  output_ = lists.front();

  // "Single satellite..." on the list's selected satellite, reading only the
  // tables every scan reads (the selection is read anew by every scan).
  plugtest::WriteDword(Narrow(kProgramKey), "sitables", 0);
  ::PostMessageW(frame_, WM_COMMAND, 32774, 0);
  HWND dialog = WaitForDialog(L"SI Reading");
  ASSERT_TRUE(dialog);
  ::SendMessageW(::GetDlgItem(dialog, 1032), CB_SETCURSEL, 0, 0);
  RunScanDialog(dialog, GetParam() == "belvane" ? L"si-reading-satellite.bmp" : nullptr);
  EXPECT_TRUE(Said(L"Scanning Astra 19E"));
  EXPECT_TRUE(Said(L"5 entries in NIT section"));
  EXPECT_EQ(TreeStreams(), std::make_pair(1, 5)) << "the network and its five streams";
  if (GetParam() == "belvane") SaveScreenshot(frame_, L"main-window-after-scan.bmp");

  // Every stream of the NIT tuned once through input A/A, then back.
  std::vector<std::string> locked;
  int diseqc = 0;
  const std::regex lock("SetChannel .* -> locked tsid=0x([0-9A-F]{4})");
  for (const std::string& line : TraceLines()) {
    std::smatch m;
    if (std::regex_search(line, m, lock)) locked.push_back(m[1]);
    if (line.find("SendDiSEqCMsg E0 10 38 F") != std::string::npos) {
      ++diseqc;
      EXPECT_NE(line.find("-> input 0"), std::string::npos) << line;
    }
  }
  EXPECT_EQ(locked, (std::vector<std::string>{"0471", "0401", "0411", "0441", "0461", "0471", "0471"}));
  EXPECT_EQ(diseqc, 7);

  // "Current transponder...": the tuner is locked on 12187 H.  No clears the
  // store; every table is read.
  plugtest::WriteDword(Narrow(kProgramKey), "sitables", 0x7FFF);
  ::PostMessageW(frame_, WM_COMMAND, 32772, 0);
  std::wstring texts;
  HWND box = WaitForMessageBox(texts);
  ASSERT_TRUE(box);
  EXPECT_NE(texts.find(L"Data is already loaded."), std::wstring::npos) << Narrow(texts);
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
  RunScanDialog(WaitForDialog(L"SI Reading"));
  EXPECT_EQ(TreeStreams(), std::make_pair(1, 1)) << "one stream";
  for (const wchar_t* line : {L"Scanning current transponder", L"Got SI tables", L"Got 1 PAT sections",
                              L"Got 1 NIT sections", L"Got 1 SDT sections", L"Got 1 CAT sections",
                              L"Got 1 BAT sections", L"Got 1 RST sections", L"Got 1 TOT sections",
                              L"Got 1 TDT sections", L"Got 6 EIT 0x4e sections",
                              L"Got 1 PMT section(s) for SID 4711"})
    EXPECT_TRUE(Said(line)) << Narrow(line);

  if (GetParam() != "belvane") {  // the rest of the question on one card is enough
    ::PostMessageW(frame_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program_.WaitForExit(kPatienceMs));
    return;
  }

  // The value pane: a node with fields shows them; "EIT" (the stream's last
  // table node, without fields of its own) empties the pane again.
  {
    HWND values = DescendantByClass(frame_, L"SysListView32");
    ASSERT_TRUE(values);
    auto* root = reinterpret_cast<HTREEITEM>(::SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    const std::vector<HTREEITEM> networks = Children(root);
    ASSERT_EQ(networks.size(), 1u);
    const std::vector<HTREEITEM> streams = Children(networks[0]);
    ASSERT_EQ(streams.size(), 1u);
    const std::vector<HTREEITEM> tables = Children(streams[0]);
    ASSERT_FALSE(tables.empty());
    HTREEITEM eit = tables.back();
    // Down the first children to a section: it has fields.
    HTREEITEM section = eit;
    auto rows = [&] { return ::SendMessageW(values, LVM_GETITEMCOUNT, 0, 0); };
    for (int depth = 0; depth < 8 && section; ++depth) {
      const std::vector<HTREEITEM> below = Children(section);
      section = below.empty() ? nullptr : below.front();
      if (!section) break;
      ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(section));
      if (rows() > 0) break;
    }
    ASSERT_GT(rows(), 0) << "an EIT section shows its fields";
    ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(eit));
    EXPECT_TRUE(WaitFor([&] { return rows() == 0; }, 5000)) << "\"EIT\" leaves no rows of another node";
    SaveScreenshot(frame_, L"main-window-eit-selected.bmp");
  }

  // Cancel leaves everything as it was: no dialog, the tree kept.
  ::PostMessageW(frame_, WM_COMMAND, 32772, 0);
  box = WaitForMessageBox(texts);
  ASSERT_TRUE(box);
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(WaitForDialog(L"SI Reading", 1500));
  EXPECT_EQ(TreeStreams(), std::make_pair(1, 1));

  // Yes keeps the store: the stream is read up to its SDT and kept as it was.
  ::PostMessageW(frame_, WM_COMMAND, 32772, 0);
  box = WaitForMessageBox(texts);
  ASSERT_TRUE(box);
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  RunScanDialog(WaitForDialog(L"SI Reading"));
  EXPECT_TRUE(Said(L"Got 1 SDT sections"));
  EXPECT_FALSE(Said(L"Got 1 CAT sections"));
  EXPECT_EQ(TreeStreams(), std::make_pair(1, 1));

  ::PostMessageW(frame_, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(program_.WaitForExit(kPatienceMs, &code));
  EXPECT_EQ(code, 0u);
}

TEST_P(Orbisect3Scan, TableSelectionAndSatelliteListDialogsCommitTheirChanges) {
  if (GetParam() != "belvane") GTEST_SKIP() << "one card is enough";
  Start();
  frame_ = WaitForWindow([](HWND h) { return ::GetMenu(h) != nullptr; });
  ASSERT_TRUE(frame_);

  // SI Tables: every box checked (0x7FFF stored); Defaults, then OK stores 0x41B.
  ::PostMessageW(frame_, WM_COMMAND, 32780, 0);
  HWND tables = WaitForDialog(L"SI Tables");
  ASSERT_TRUE(tables);
  for (int id = 1013; id <= 1027; ++id)
    EXPECT_EQ(::SendMessageW(::GetDlgItem(tables, id), BM_GETCHECK, 0, 0), BST_CHECKED) << id;
  SaveScreenshot(tables, L"si-tables.bmp");
  ::SendMessageW(tables, WM_COMMAND, MAKEWPARAM(1034, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(tables, 1034)));
  EXPECT_EQ(::SendMessageW(::GetDlgItem(tables, 1017), BM_GETCHECK, 0, 0), BST_UNCHECKED) << "BAT";
  EXPECT_EQ(::SendMessageW(::GetDlgItem(tables, 1022), BM_GETCHECK, 0, 0), BST_CHECKED) << "PMT";
  Press(tables, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(tables); }, 20000));
  DWORD stored = 0;
  ASSERT_TRUE(orb_test::ReadDword(kProgramKey, L"sitables", stored));
  EXPECT_EQ(stored, 0x41Bu);
  // Cancel writes nothing.
  ::PostMessageW(frame_, WM_COMMAND, 32780, 0);
  tables = WaitForDialog(L"SI Tables");
  ASSERT_TRUE(tables);
  ::SendMessageW(::GetDlgItem(tables, 1017), BM_SETCHECK, BST_CHECKED, 0);
  Press(tables, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(tables); }, 20000));
  ASSERT_TRUE(orb_test::ReadDword(kProgramKey, L"sitables", stored));
  EXPECT_EQ(stored, 0x41Bu);

  // Satellite list manager: "Astra 19E" selected, eight available.
  ::PostMessageW(frame_, WM_COMMAND, 32781, 0);
  HWND manager = WaitForDialog(L"Satellite list manager");
  ASSERT_TRUE(manager);
  HWND available = ::GetDlgItem(manager, 1013), selected = ::GetDlgItem(manager, 1014);
  EXPECT_EQ(ListLines(selected), std::vector<std::wstring>{L"Astra 19E"});
  EXPECT_EQ(ListLines(available).size(), 8u);
  // A new satellite goes to the available ones; "->" selects it.
  ::SetWindowTextW(::GetDlgItem(manager, 1017), L"Test sat");
  ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(1018, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(manager, 1018)));
  ASSERT_EQ(ListLines(available).size(), 9u);
  const LRESULT at = ::SendMessageW(available, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Test sat"));
  ASSERT_NE(at, LB_ERR);
  // "<- Delete" with only a selected satellite marked deletes nothing.
  ::SendMessageW(selected, LB_SETSEL, TRUE, 0);
  ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(1019, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(manager, 1019)));
  EXPECT_EQ(ListLines(available).size() + ListLines(selected).size(), 10u);
  // Double-click: the transponder list of the new satellite; Add a primary transponder.
  ::SendMessageW(available, LB_SETCARETINDEX, static_cast<WPARAM>(at), FALSE);
  ::PostMessageW(manager, WM_COMMAND, MAKEWPARAM(1013, LBN_DBLCLK), reinterpret_cast<LPARAM>(available));
  HWND transponders = WaitForDialog(L"Transponder list");
  ASSERT_TRUE(transponders);
  EXPECT_EQ(WindowText(::GetDlgItem(transponders, 1021)), L"Test sat");
  EXPECT_EQ(::SendMessageW(::GetDlgItem(transponders, 1025), CB_GETCURSEL, 0, 0), 0) << "H to start with";
  ::SetWindowTextW(::GetDlgItem(transponders, 1033), L"1");
  ::SetWindowTextW(::GetDlgItem(transponders, 1023), L"3F2");
  ::SetWindowTextW(::GetDlgItem(transponders, 1024), L"12187000");
  ::SetWindowTextW(::GetDlgItem(transponders, 1026), L"27500");
  ::SendMessageW(::GetDlgItem(transponders, 1025), CB_SETCURSEL, 1, 0);
  ::SendMessageW(transponders, WM_COMMAND, MAKEWPARAM(1015, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(transponders, 1015)));
  EXPECT_EQ(ListLines(::GetDlgItem(transponders, 1020)), std::vector<std::wstring>{L"0001 03F2 P 12187000 V"});
  SaveScreenshot(transponders, L"transponder-list.bmp");
  Press(transponders, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(transponders); }, 20000));
  ::SendMessageW(available, LB_SETSEL, FALSE, -1);
  ::SendMessageW(available, LB_SETSEL, TRUE, at);
  ::SendMessageW(manager, WM_COMMAND, MAKEWPARAM(1030, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(manager, 1030)));
  EXPECT_EQ(ListLines(selected), (std::vector<std::wstring>{L"Astra 19E", L"Test sat"}));
  SaveScreenshot(manager, L"satellite-list-manager.bmp");
  Press(manager, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(manager); }, 20000));

  // The program saves the list at exit: the changes are in it.
  ::PostMessageW(frame_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(kPatienceMs));
  ComPtr<ISatListManager> list;
  ASSERT_EQ(list.CoCreateInstance(CLSID_SatListManager, CLSCTX_INPROC_SERVER), S_OK);
  Bstr path(satList_);
  ASSERT_EQ(list->Load(path), S_OK);
  ComPtr<ISatellite> sat;
  Bstr name(L"Test sat");
  ASSERT_EQ(list->FindSatellite(name, sat.Put()), S_OK);
  BOOL isSelected = FALSE;
  sat->GetSelected(&isSelected);
  EXPECT_TRUE(isSelected);
  ComPtr<IEnumTransponders> all;
  ASSERT_EQ(sat->EnumTransponders(0, all.Put()), S_OK);
  ComPtr<ITransponder> t;
  ULONG fetched = 0;
  ASSERT_EQ(all->Next(1, t.Put(), &fetched), S_OK);
  ULONG frequency = 0, symbolRate = 0;
  long polarization = -1, fec = -1, primary = 0, tsid = 0;
  t->GetFrequency(&frequency);
  t->GetSymbolRate(&symbolRate);
  t->GetPolarization(&polarization);
  t->GetFEC(&fec);
  t->GetPrimary(&primary);
  t->GetTransportStreamId(&tsid);
  EXPECT_EQ(frequency, 1218700u);
  EXPECT_EQ(symbolRate, 275000u) << "27500 kS/s in 100 symbol/s units";
  EXPECT_EQ(polarization, 1);
  EXPECT_EQ(fec, 0) << "the first FEC entry, not -1";
  EXPECT_GT(primary, 0);
  EXPECT_EQ(tsid, 0x3F2);
}

// What a scan that stores nothing says in the Output window: a satellite
// without a primary transponder ("Single satellite..."), and a stream
// without a NIT actual ("Current transponder..." after a tune in the Tuning
// dialog), played from a capture file without PID 0x0010.
TEST_P(Orbisect3Scan, ScansThatFindNothingToStoreSayWhy) {
  if (GetParam() != "belvane") GTEST_SKIP() << "one card is enough";
  const vsim::World world = vsim::DefaultWorld();
  auto generated = vsim::Multiplex::Generate(world, world.satellites[0].transponders[2],
                                             [] { return vsim::UtcInstant{2026, 12, 9, 7, 0, 0}; });
  const std::wstring folder = orb_test::TempFolder(L"orb-scan-no-nit");
  const std::wstring capture = folder + L"\\no-nit.ts";
  {
    std::ofstream out(capture.c_str(), std::ios::binary);
    std::uint8_t packet[188];
    for (std::size_t i = 0; i < 2 * generated->PacketsPerCycle(); ++i) {
      generated->Next(packet);
      if (((packet[1] & 0x1F) << 8 | packet[2]) == 0x0010) continue;  // no NIT
      out.write(reinterpret_cast<const char*>(packet), sizeof packet);
    }
  }
  const std::wstring worldFile = folder + L"\\world.txt";
  {
    std::ofstream out(worldFile.c_str());
    out << "network nid=0x0101 name=\"Captured\"\n"
        << "satellite name=\"19.2E\" position=192 input=0\n"
        << "transponder freq=11836000 pol=H sr=27500000 tsid=0x0441 nid=0x0101 ts=\"" << Narrow(capture)
        << "\"\n";
  }
  ::SetEnvironmentVariableW(L"ORB_VSIM_WORLD", worldFile.c_str());
  orb_test::WriteProgramSatList(L"Astra 19E");  // selected, no primary transponder
  Start();
  ::SetEnvironmentVariableW(L"ORB_VSIM_WORLD", nullptr);
  frame_ = WaitForWindow([](HWND h) { return ::GetMenu(h) != nullptr; });
  ASSERT_TRUE(frame_) << "no main window";
  tree_ = DescendantByClass(frame_, L"SysTreeView32");
  ASSERT_TRUE(tree_);
  output_ = nullptr;
  for (HWND h : orb_test::Descendants(frame_))
    if (::GetDlgCtrlID(h) == 102 && ClassOf(h) == L"ListBox") output_ = h;
  ASSERT_TRUE(output_);

  // "Single satellite..." on a satellite without a primary transponder.
  ::PostMessageW(frame_, WM_COMMAND, 32774, 0);
  HWND dialog = WaitForDialog(L"SI Reading");
  ASSERT_TRUE(dialog);
  ::SendMessageW(::GetDlgItem(dialog, 1032), CB_SETCURSEL, 0, 0);
  RunScanDialog(dialog);
  EXPECT_EQ(Output(), (std::vector<std::wstring>{
                          L"Scanning Astra 19E",
                          L"No primary transponder for Astra 19E - mark one in the satellite list manager"}));

  // Tuned by hand in the Tuning dialog, then "Current transponder...".
  ::PostMessageW(frame_, WM_COMMAND, 32777, 0);
  HWND tuning = WaitForDialog(L"Tuning");
  ASSERT_TRUE(tuning);
  HWND status = DescendantByClass(frame_, L"msctls_statusbar32");
  ::SetDlgItemTextW(tuning, 201, L"11836000");
  ::SetDlgItemTextW(tuning, 202, L"27500000");
  ::SendDlgItemMessageW(tuning, 203, BM_SETCHECK, BST_CHECKED, 0);
  ::SendDlgItemMessageW(tuning, 204, BM_SETCHECK, BST_UNCHECKED, 0);
  Press(tuning, 209);
  EXPECT_TRUE(WaitFor([&] { return orb_test::ControlText(status) == L"SIGNAL LOCKED"; }, 20000));
  Press(tuning, IDCANCEL);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(tuning); }, 20000));
  ::PostMessageW(frame_, WM_COMMAND, 32772, 0);
  RunScanDialog(WaitForDialog(L"SI Reading"), L"si-reading-no-nit.bmp");
  const std::vector<std::wstring> lines = Output();
  const auto got = std::find(lines.begin(), lines.end(), L"Got 0 NIT sections");
  ASSERT_NE(got, lines.end()) << "no NIT line";
  ASSERT_NE(got + 1, lines.end());
  EXPECT_EQ(got[1], L"No NIT actual received - the transport stream is not stored");
  EXPECT_EQ(TreeStreams(), std::make_pair(0, 0)) << "nothing stored, nothing in the tree";
  SaveScreenshot(frame_, L"main-window-no-nit.bmp");

  ::PostMessageW(frame_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(kPatienceMs));
}

INSTANTIATE_TEST_SUITE_P(Cards, Orbisect3Scan, ::testing::Values("corvane", "belvane", "ustrel"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
