// The value pane in the main frame, in this process: rows read back from the
// list control, the label lists and the PID menu of the program's resources,
// a selected byte row in the Output bar's VALUE tab, the PID row's context
// menu, clearing at any time, and a picture of the pane for review.
#include <gtest/gtest.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lib13818/id_names.h"
#include "orb_common/Log.h"
#include "section_builder.h"
#include "ui_win/MainFrm.h"
#include "ui_win/OutputBar.h"
#include "ui_win/TransponderPanes.h"
#include "ui_win/ValuePane.h"
#include "win_screen.h"
#include "win_ui.h"

namespace {

using testing_support::Bytes;
using testing_support::SectionBuilder;

constexpr UINT kMainFrameResource = 128;

class CPaneTestApp : public CWinApp {
 public:
  CPaneTestApp() : CWinApp("OrbValuePaneTest") {}
};
CPaneTestApp theTestApp;

class FrameworkEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW));
    lib13818::InitIdNameMaps();
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new FrameworkEnvironment);

using orb_test::Pump;

std::wstring Wide(const std::string& utf8) {
  std::wstring out(utf8.size(), L'\0');
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(),
                                      static_cast<int>(out.size()));
  out.resize(static_cast<size_t>(n > 0 ? n : 0));
  return out;
}

template <class T>
T ParseSection(const Bytes& bytes) {
  T s;
  s.Parse(bytes.data(), bytes.size());
  return s;
}

template <class T>
T Descriptor(std::uint8_t tag, const Bytes& payload) {
  Bytes d{tag, static_cast<std::uint8_t>(payload.size())};
  d.insert(d.end(), payload.begin(), payload.end());
  return T(d.data());
}

// An SDT actual with one service and its service descriptor.
Bytes SdtBytes(const std::string& provider, const std::string& service) {
  Bytes payload{0x01, static_cast<std::uint8_t>(provider.size())};
  payload.insert(payload.end(), provider.begin(), provider.end());
  payload.push_back(static_cast<std::uint8_t>(service.size()));
  payload.insert(payload.end(), service.begin(), service.end());
  return SectionBuilder::Long(0x42, 0x0441, 12)
      .U16(0x0001).U8(0xFF)
      .U16(0x6FEE).U8(0xFD).BeginLoop(0x8).Desc(0x48, payload).EndLoop()
      .Build();
}

bool SaveScreenshot(HWND hwnd, const std::wstring& path) { return orb_test::SaveScreenBitmap(hwnd, path); }

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path);
  return p.substr(0, p.find_last_of(L"\\/"));
}

// A row item that notes what happens to it.
struct Events {
  int selected = 0;
  int destroyed = 0;
  int selectedAfterDestroyed = 0;
};
class CNotingItem : public CRowItem {
 public:
  explicit CNotingItem(Events& events) : m_events(events) {}
  ~CNotingItem() override { ++m_events.destroyed; }
  void OnSelect() override {
    ++m_events.selected;
    if (m_events.destroyed) ++m_events.selectedAfterDestroyed;
  }

 private:
  Events& m_events;
};

// What the context menu showed, read while it is open.
struct MenuSeen {
  bool shown = false;
  UINT firstId = 0;
  std::wstring firstText;
};
MenuSeen g_menuSeen;

// The popup menu window this thread shows, if any.  Other test programs
// share the desktop and open menus of their own: one of theirs is neither
// read nor closed here.
BOOL CALLBACK FindMenuWindow(HWND wnd, LPARAM result) {
  wchar_t name[16] = {};
  ::GetClassNameW(wnd, name, 16);
  if (std::wcscmp(name, L"#32768") != 0 || !::IsWindowVisible(wnd)) return TRUE;
  *reinterpret_cast<HWND*>(result) = wnd;
  return FALSE;
}
HWND OwnMenuWindow() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = OwnMenuWindow();
  if (!popup) return;
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
  g_menuSeen.shown = true;
  if (menu) {
    g_menuSeen.firstId = ::GetMenuItemID(menu, 0);
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    g_menuSeen.firstText = text;
  }
  ::KillTimer(nullptr, id);
  ::EndMenu();
}

class ValuePaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = static_cast<CMainFrame*>(RUNTIME_CLASS(CMainFrame)->CreateObject());
    ASSERT_TRUE(frame_);
    CCreateContext context;
    ASSERT_TRUE(frame_->LoadFrame(kMainFrameResource, WS_OVERLAPPEDWINDOW, nullptr, &context));
    theTestApp.m_pMainWnd = frame_;
    frame_->MoveWindow(0, 0, 900, 640);
    frame_->ShowWindow(SW_SHOW);
    frame_->RecalcLayout();
    frame_->UpdateWindow();
    Pump();
    pane_ = frame_->GetValuePane();
    ASSERT_TRUE(pane_);
    list_ = pane_->m_hWnd;
  }
  void TearDown() override {
    if (frame_ && ::IsWindow(frame_->m_hWnd)) frame_->DestroyWindow();
    theTestApp.m_pMainWnd = nullptr;
    Pump();
  }

  int RowCount() { return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
  std::wstring Cell(int row, int column) {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    ::SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  // "Name=Data" lines of every row.
  std::wstring Rows() {
    std::wstring all;
    for (int i = 0; i < RowCount(); ++i) all += Cell(i, 0) + L"=" + Cell(i, 1) + L"\n";
    return all;
  }
  LPARAM ItemData(int row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
  }
  void Select(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    Pump();
  }
  // A right click on a row (below the last one for -1), as the mouse gives it.
  void RightClick(int row) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row < 0 ? RowCount() - 1 : row),
                   reinterpret_cast<LPARAM>(&r));
    if (row < 0) ::OffsetRect(&r, 0, 5 * (r.bottom - r.top));
    const LPARAM at = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
    g_menuSeen = MenuSeen{};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, ReadOpenMenu);
    ::PostMessageW(list_, WM_RBUTTONUP, 0, at);
    ::SendMessageW(list_, WM_RBUTTONDOWN, MK_RBUTTON, at);
    Pump();
    ::KillTimer(nullptr, timer);
  }
  CDataViewWnd& ValueView() { return frame_->GetOutputBar().GetDataView(); }
  std::vector<unsigned char> ValueBytes() {
    const unsigned char* b = ValueView().GetBuffer();
    return b ? std::vector<unsigned char>(b, b + ValueView().GetLength()) : std::vector<unsigned char>();
  }

  CMainFrame* frame_ = nullptr;
  CTransponderValuePaneWnd* pane_ = nullptr;
  HWND list_ = nullptr;
};

}  // namespace

TEST_F(ValuePaneTest, ResourcesHoldEveryLabelListWholeAndThePidMenu) {
  for (unsigned id = 61204; id <= 61312; ++id) {
    const char* text = ui_core::ValueLabelText(id);
    if (!text) continue;
    SCOPED_TRACE(id);
    std::vector<std::string> expected, loaded;
    ui_core::SplitLabels(text, expected);
    pane_->LoadRowLabels(id, loaded);
    EXPECT_EQ(loaded, expected);
    EXPECT_TRUE(::FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
  }
  // Longer than a 255-character buffer, loaded whole.
  std::vector<std::string> nit;
  pane_->LoadRowLabels(61208, nit);
  ASSERT_EQ(nit.size(), 16u);
  EXPECT_EQ(nit.back(), "CRC_32");
  std::vector<std::string> labels{"KEPT"};
  pane_->LoadRowLabels(7, labels);  // no such entry: nothing appended
  EXPECT_EQ(labels, std::vector<std::string>{"KEPT"});

  EXPECT_TRUE(::FindResourceExW(nullptr, RT_MENU, MAKEINTRESOURCEW(146), MAKELANGID(LANG_DANISH, SUBLANG_DEFAULT)));
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(146));
  CMenu* popup = menu.GetSubMenu(0);
  ASSERT_TRUE(popup);
  EXPECT_EQ(popup->GetMenuItemCount(), 1);
  EXPECT_EQ(popup->GetMenuItemID(0), 32794u);
  CString text;
  popup->GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_EQ(text, CString(L"PID streaming..."));
}

TEST_F(ValuePaneTest, ColumnsAndThePatAsRows) {
  const LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
  wchar_t heading[32] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = heading;
  column.cchTextMax = 32;
  ASSERT_TRUE(::SendMessageW(list_, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(std::wstring(heading), L"Name");
  EXPECT_EQ(column.cx, 100);
  ASSERT_TRUE(::SendMessageW(list_, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(std::wstring(heading), L"Data");
  EXPECT_EQ(column.cx, 500);

  const auto pat = ParseSection<lib13818::ProgramAssociationSection>(
      SectionBuilder::Long(0x00, 0x0441, 5).U16(0).U16(0xE010).U16(0x2B66).U16(0xE064).Build());
  pane_->ShowPat(pat);
  wchar_t crc[16];
  swprintf(crc, 16, L"%08X", pat.CRC_32);
  EXPECT_EQ(Rows(),
            L"TABLE ID=00 : pat\n"
            L"SECTION SYNTAX INDICATOR=1\n"
            L"SECTION LENGTH=17\n"
            L"TRANSPORT STREAM ID=0441\n"
            L"VERSION NUMBER=5\n"
            L"CURRENT NEXT INDICATOR=1\n"
            L"SECTION NUMBER=0\n"
            L"LAST SECTION NUMBER=0\n"
            L"CRC 32=" + std::wstring(crc) + L"\n");
  for (int i = 0; i < RowCount(); ++i) EXPECT_EQ(ItemData(i), 0);
  CString preview(L"old");
  pane_->FormatHexPreview({0x01, 0xAB, 0x00}, preview);
  EXPECT_EQ(preview, CString(L"01 AB 00"));
  pane_->FormatHexPreview({}, preview);
  EXPECT_TRUE(preview.IsEmpty());

  // A stream of a PMT replaces the rows; a width the user set stays.
  ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, 180);
  const auto pmt = ParseSection<lib13818::ProgramMapSection>(
      SectionBuilder::Long(0x02, 0x2B66, 3).U16(0xE0FF).BeginLoop().EndLoop()
          .U8(0x1B).U16(0xE0FF).BeginLoop().Desc(0x52, {0x01}).EndLoop()
          .Build());
  pane_->ShowPmtStream(pmt.streams.at(0));
  EXPECT_EQ(Rows(),
            L"STREAM TYPE=1B\n"
            L"RESERVED=N/A\n"
            L"ELEMENTARY PID=00FF\n"
            L"RESERVED=N/A\n"
            L"ES INFO LENGTH=3\n");
  EXPECT_EQ(::SendMessageW(list_, LVM_GETCOLUMNWIDTH, 0, 0), 180);
}

TEST_F(ValuePaneTest, SdtServiceServiceDescriptorAndSatelliteDelivery) {
  // Names as the library hands them over: UTF-8, here Danish and Cyrillic
  // (on the wire with the UTF-8 table selector 0x15).
  const std::string provider = "DR \xC3\x86\xC3\x98\xC3\x85";
  const std::string service = "\xD0\x9F\xD0\xB5\xD1\x80\xD0\xB2\xD1\x8B\xD0\xB9 \xE2\x82\xAC";
  const auto sdt = ParseSection<lib13818::ServiceDescriptionSection>(SdtBytes("\x15" + provider, "\x15" + service));
  const auto& svc = sdt.services.at(0);
  pane_->ShowSdtService(svc);
  EXPECT_EQ(Rows(),
            L"SERVICE_ID=6FEE\n"
            L"RESERVED_FUTURE_USE=N/A\n"
            L"EIT_SCHEDULE_FLAG=0\n"
            L"EIT_PRESENT_FOLLOWING_FLAG=1\n"
            L"RUNNING_STATUS=4\n"
            L"FREE_CA_MODE=0\n"
            L"DESCRIPTORS_LOOP_LENGTH=N/A\n");
  const auto& sd = svc.descriptors.serviceDescriptors.at(0);
  pane_->ShowServiceDescriptor(sd);
  ASSERT_EQ(RowCount(), 7);
  EXPECT_EQ(Cell(0, 1), L"48");
  EXPECT_EQ(Cell(2, 1), Wide("1 - " + std::string(lib13818::DescriptorService::ServiceTypeName(1))));
  EXPECT_EQ(Cell(3, 1), L"N/A");
  EXPECT_EQ(Cell(4, 1), L"DR \u00C6\u00D8\u00C5");
  EXPECT_EQ(Cell(6, 1), L"\u041F\u0435\u0440\u0432\u044B\u0439 \u20AC");

  // 11.83600 GHz, 19.2 E, horizontal, QPSK, 27.5 Msym/s, FEC 3/4.
  const auto sat = Descriptor<lib13818::DescriptorSatelliteDeliverySystem>(
      0x43, {0x01, 0x18, 0x36, 0x00, 0x01, 0x92, 0x81, 0x02, 0x75, 0x00, 0x03});
  pane_->ShowSatelliteDeliverySystemDescriptor(sat);
  EXPECT_EQ(Rows(),
            L"DESCRIPTOR_TAG=43\n"
            L"DESCRIPTOR_LENGTH=11\n"
            L"FREQUENCY=11836.00\n"
            L"ORBITAL_POSITION=19.2\n"
            L"WEST_EAST_FLAG=1 - east\n"
            L"POLARIZATION=0 - " + Wide(sat.GetPolarizationName()) + L"\n"
            L"MODULATION=1 - " + Wide(sat.GetModulationName()) + L"\n"
            L"SYMBOL_RATE=27500.0\n"
            L"FEC_INNER=3 - " + Wide(sat.GetFECInnerName()) + L"\n");
}

// Every label shows in full in the Name column: the label's room (the
// column less the list's padding of five pixels each side) holds its text.
TEST_F(ValuePaneTest, NameColumnFitsTheLongestLabelShown) {
  auto labelsFit = [&] {
    for (int row = 0; row < RowCount(); ++row) {
      const std::wstring label = Cell(row, 0);
      RECT room{};
      room.left = LVIR_LABEL;
      ASSERT_TRUE(::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&room)));
      const int width = static_cast<int>(
          ::SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(label.c_str())));
      EXPECT_LE(width + 10, room.right - room.left) << std::string(label.begin(), label.end());
    }
  };
  const auto sdt = ParseSection<lib13818::ServiceDescriptionSection>(SdtBytes("\x15P", "\x15S"));
  pane_->ShowServiceDescriptor(sdt.services.at(0).descriptors.serviceDescriptors.at(0));
  ASSERT_EQ(Cell(3, 0), L"SERVICE_PROVIDER_NAME_LENGTH");
  labelsFit();
  const int wide = static_cast<int>(::SendMessageW(list_, LVM_GETCOLUMNWIDTH, 0, 0));
  // Shorter labels next: the column keeps its width.
  pane_->ShowSdtService(sdt.services.at(0));
  labelsFit();
  EXPECT_EQ(::SendMessageW(list_, LVM_GETCOLUMNWIDTH, 0, 0), wide);
}

TEST_F(ValuePaneTest, SelectingAByteRowShowsExactlyThoseBytesInTheValueTab) {
  Bytes payload{0x18, 0x02, 0xE1, 0xF4};
  for (int i = 0; i < 150; ++i) payload.push_back(static_cast<std::uint8_t>(0x80 + i));
  const auto ca = Descriptor<lib13818::DescriptorCA>(0x09, payload);
  pane_->ShowCaDescriptor(ca);
  ASSERT_EQ(RowCount(), 5);
  EXPECT_EQ(Cell(3, 1), L"01F4");
  EXPECT_EQ(Cell(4, 1).size(), 299u) << "the preview stops at 100 bytes";
  EXPECT_EQ(ItemData(0), 0);
  EXPECT_NE(ItemData(3), 0);
  EXPECT_NE(ItemData(4), 0);
  EXPECT_EQ(ValueView().GetLength(), 0);
  Select(4);
  EXPECT_EQ(ValueBytes(), ca.private_data_bytes) << "all 150 bytes, as a copy";
  EXPECT_NE(ValueView().GetBuffer(), ca.private_data_bytes.data());
  // The VALUE tab is not brought to the front.
  EXPECT_EQ(frame_->GetOutputBar().GetTabs().GetCurSel(), 0);

  // Without a main window the bytes go nowhere.
  const auto other = Descriptor<lib13818::DescriptorUnknown>(0x98, {0x01, 0x02});
  pane_->ShowUnknownDescriptor(other);
  theTestApp.m_pMainWnd = nullptr;
  Select(2);
  theTestApp.m_pMainWnd = frame_;
  EXPECT_EQ(ValueBytes(), ca.private_data_bytes);

  // A byte row without bytes carries no item: the VALUE tab keeps its bytes.
  const auto empty = Descriptor<lib13818::DescriptorUnknown>(0x99, {});
  pane_->ShowUnknownDescriptor(empty);
  ASSERT_EQ(RowCount(), 3);
  EXPECT_EQ(Cell(2, 0), L"PRIVATE DATA");
  EXPECT_EQ(Cell(2, 1), L"");
  EXPECT_EQ(ItemData(2), 0);
  Select(2);
  EXPECT_EQ(ValueBytes(), ca.private_data_bytes);
}

TEST_F(ValuePaneTest, RightClickOnAPidRowOpensThePidMenu) {
  char logPath[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, logPath);
  ::GetTempFileNameA(logPath, "vpl", 0, logPath);
  CLog log;
  ASSERT_EQ(log.Open(logPath, CLog::kFullPath, 0, 4), CLog::kOk);
  CTransponderValuePaneWnd::SetLog(&log);
  auto logText = [&] {
    std::ifstream in(logPath);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };

  const auto ca = Descriptor<lib13818::DescriptorCA>(0x09, {0x0B, 0x00, 0xE0, 0x20, 0x42});
  pane_->ShowCaDescriptor(ca);
  RightClick(3);
  EXPECT_TRUE(g_menuSeen.shown);
  EXPECT_EQ(g_menuSeen.firstId, 32794u);
  EXPECT_EQ(g_menuSeen.firstText, L"PID streaming...");
  std::string text = logText();
  EXPECT_NE(text.find("pBase="), std::string::npos) << text;
  EXPECT_NE(text.find("context menu"), std::string::npos) << text;
  EXPECT_NE(text.find("client x="), std::string::npos) << text;

  // No menu for a plain row, a byte row, or a click below the rows (nothing
  // selected); only the byte row's item is noted.
  log.Close();
  ASSERT_EQ(log.Open(logPath, CLog::kFullPath, 0, 4), CLog::kOk);
  RightClick(0);
  EXPECT_FALSE(g_menuSeen.shown);
  EXPECT_EQ(logText(), "");
  RightClick(-1);
  EXPECT_FALSE(g_menuSeen.shown);
  EXPECT_EQ(::SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  EXPECT_EQ(logText(), "");
  RightClick(4);
  EXPECT_FALSE(g_menuSeen.shown);
  text = logText();
  EXPECT_NE(text.find("pBase="), std::string::npos) << text;
  EXPECT_EQ(text.find("context menu"), std::string::npos) << text;
  EXPECT_EQ(RowCount(), 5);

  CTransponderValuePaneWnd::SetLog(nullptr);
  log.Close();
  ::DeleteFileA(logPath);
}

TEST_F(ValuePaneTest, ClearingFreesEveryItemWithoutSelectingItAndIsSafeAnyTime) {
  const auto pat = ParseSection<lib13818::ProgramAssociationSection>(
      SectionBuilder::Long(0x00, 1).U16(1).U16(0xE100).Build());
  pane_->ShowPatProgram(*pat.GetProgram(0));
  Events events;
  CListCtrl& list = pane_->GetListCtrl();
  list.SetItemData(1, reinterpret_cast<DWORD_PTR>(static_cast<CTreeItem*>(new CNotingItem(events))));
  Select(1);
  EXPECT_GE(events.selected, 1);
  pane_->ClearItems();
  EXPECT_EQ(events.destroyed, 1);
  EXPECT_EQ(events.selectedAfterDestroyed, 0);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(::SendMessageW(list_, LVM_GETCOLUMNWIDTH, 1, 0), 500) << "the columns stay";
  pane_->ClearItems();  // again, on an empty list

  // Showing another element frees the items of the one before.
  const auto ca = Descriptor<lib13818::DescriptorCA>(0x09, {0x0B, 0x00, 0xE0, 0x20, 0x42});
  pane_->ShowCaDescriptor(ca);
  Events second;
  list.SetItemData(0, reinterpret_cast<DWORD_PTR>(static_cast<CTreeItem*>(new CNotingItem(second))));
  pane_->ShowPatProgram(*pat.GetProgram(0));
  EXPECT_EQ(second.destroyed, 1);
  EXPECT_EQ(RowCount(), 2);

  // Destroying the window frees the rows' items; clearing afterwards, and on
  // a pane that never had a window, does nothing.
  Events third;
  list.SetItemData(0, reinterpret_cast<DWORD_PTR>(static_cast<CTreeItem*>(new CNotingItem(third))));
  frame_->DestroyWindow();
  Pump();
  frame_ = nullptr;
  EXPECT_EQ(third.destroyed, 1);
  CObject* loose = RUNTIME_CLASS(CTransponderValuePaneWnd)->CreateObject();
  ASSERT_TRUE(loose);
  static_cast<CTransponderValuePaneWnd*>(loose)->ClearItems();
  static_cast<CTransponderValuePaneWnd*>(loose)->ShowPat(pat);
  delete loose;
}

TEST_F(ValuePaneTest, PictureOfAnSdtServiceForReview) {
  const auto sdt = ParseSection<lib13818::ServiceDescriptionSection>(
      SdtBytes("\x15" "DR \xC3\x86\xC3\x98\xC3\x85", "\x15" "DR1 \xE2\x80\x93 Danmark"));
  pane_->ShowSdtService(sdt.services.at(0));
  const std::wstring service = ExeFolder() + L"\\value-pane-sdt-service.bmp";
  ::RedrawWindow(frame_->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(frame_->m_hWnd, service));
  pane_->ShowServiceDescriptor(sdt.services.at(0).descriptors.serviceDescriptors.at(0));
  Select(6);
  const std::wstring descriptor = ExeFolder() + L"\\value-pane-service-descriptor.bmp";
  ::RedrawWindow(frame_->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(frame_->m_hWnd, descriptor));
}
