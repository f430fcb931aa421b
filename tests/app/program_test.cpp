// The program's start-up and shutdown sequence with the frame library's steps
// recorded by a host: order of the steps and of the log lines, the driver
// choice in the registry (asked for, stored, forgotten after a failure), the
// satellite list (loaded, default, damaged, saved) and the driver's settings.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "fake_driver/fake_ids.h"
#include "orb_app/driver_binding.h"
#include "orb_app/program.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "orb_common/RegistryKey.h"
#include "satlist/model.h"
#include "test_log.h"
#include "test_support.h"

using namespace orb::app;
using orb::com::Bstr;
using orb::com::ComPtr;

namespace {

constexpr const wchar_t* kProgramKey = L"SOFTWARE\\Team Orbisect\\Orbisect3";

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new orb_test::ServersEnvironment);

// The frame library's side of start-up, written down step by step.
class RecordingHost : public StartupHost {
 public:
  std::vector<std::string> steps;
  INT_PTR dialogResult = IDOK;
  std::string dialogChoice;
  HRESULT managerResult = S_OK;
  bool shellWorks = true;
  std::string commonFolder;  // empty: not available
  std::string userFolder;

  void EnableControlContainer() override { steps.push_back("control container"); }
  void LoadProfileSettings() override { steps.push_back("profile"); }
  void RegisterDocumentTemplate() override { steps.push_back("template"); }
  void ReadCommandLine() override { steps.push_back("command line"); }
  bool OpenMainWindow() override {
    steps.push_back("main window");
    return shellWorks;
  }
  INT_PTR RunDriverSelection(std::string& chosen) override {
    steps.push_back("driver selection");
    chosen = dialogChoice;
    return dialogResult;
  }
  void ShowMessage(const std::string& text) override { steps.push_back("message: " + text); }
  HRESULT CreateSatListManager(ISatListManager** manager) override {
    steps.push_back("sat list manager");
    if (FAILED(managerResult)) return managerResult;
    return StartupHost::CreateSatListManager(manager);
  }
  bool LookupFolder(int csidl, std::string& path) override {
    path = csidl == CSIDL_COMMON_APPDATA ? commonFolder : userFolder;
    return !path.empty();
  }
};

// One start of the program: fresh folders, its own log file.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.commonFolder = Narrow(orb_test::TempFolder(L"orbcommon"));
    host_.userFolder = Narrow(orb_test::TempFolder(L"orbuser"));
    logPath_ = Narrow(orb_test::TempFolder(L"orbprog")) + "\\Orbisect3.txt";
    orb_test::DeleteTree(kFakeRecordKey);
    SetChoice(GuidToRegistryString(kClsidFakeCard));
  }

  static void SetChoice(const std::string& clsid) {
    orb_test::WriteString(kProgramKey, L"driverclsid", Widen(clsid));
  }
  static bool Choice(std::string& clsid) {
    std::wstring text;
    if (!orb_test::ReadString(kProgramKey, L"driverclsid", text)) return false;
    clsid = Narrow(text);
    return true;
  }
  static DWORD FakeCount(const wchar_t* name) {
    DWORD n = 0;
    return orb_test::ReadDword(kFakeRecordKey, name, n) ? n : 0;
  }

  bool Start() { return RunStartup(host_, state_, log_, logPath_); }

  std::vector<std::string> LogLines() const { return orb_test::ReadLogLines(logPath_); }

  std::vector<std::string> StartLog() const {
    return {"<2> - Starting Orbisect 3",
            "<2> - all users application path: " + host_.commonFolder + "\\Orbisect 3",
            "<2> - user application path: " + host_.userFolder + "\\Orbisect 3",
            "<2> - build=5",
            "<2> - read_driver_clsid()",
            "<2> - read_driver_clsid() exit"};
  }

  static std::vector<std::wstring> SatelliteNames(ISatListManager* mgr) {
    std::vector<std::wstring> names;
    ComPtr<IEnumSatellites> sats;
    if (FAILED(mgr->EnumSatellites(1, 0, sats.Put()))) return names;
    ComPtr<ISatellite> sat;
    ULONG fetched = 0;
    while (sats->Next(1, sat.Put(), &fetched) == S_OK) {
      Bstr name;
      sat->GetName(name.Put());
      names.push_back(name.Str());
    }
    return names;
  }
  static std::vector<std::wstring> DefaultNames() {
    std::vector<std::wstring> names;
    const orb::satlist::SatelliteList list = orb::satlist::DefaultSatelliteList();
    for (const auto& s : list.Satellites())
      names.push_back(Widen(s.name));
    return names;
  }

  RecordingHost host_;
  ProgramState state_;
  CLog log_;
  std::string logPath_;
};

}  // namespace

TEST_F(ProgramTest, StartsInOrderAndShutsDownSavingListAndSettings) {
  ASSERT_TRUE(Start());
  EXPECT_EQ(host_.steps,
            (std::vector<std::string>{"control container", "sat list manager", "profile",
                                      "template", "command line", "main window"}));
  EXPECT_EQ(LogLines(), StartLog());
  EXPECT_EQ(state_.buildNumber, 5u);
  EXPECT_EQ(state_.paths.allUsersFolder, Widen(host_.commonFolder + "\\Orbisect 3"));
  EXPECT_NE(::GetFileAttributesW(state_.paths.allUsersFolder.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW(state_.paths.userFolder.c_str()), INVALID_FILE_ATTRIBUTES);

  // The driver got the "\drivers" places and the satellite list manager.
  ASSERT_TRUE(state_.driver);
  ASSERT_TRUE(state_.driverControl);
  std::wstring root, allUsers, user;
  ASSERT_TRUE(orb_test::ReadString(kFakeRecordKey, L"root", root));
  ASSERT_TRUE(orb_test::ReadString(kFakeRecordKey, L"allusers", allUsers));
  ASSERT_TRUE(orb_test::ReadString(kFakeRecordKey, L"user", user));
  EXPECT_EQ(root, L"SOFTWARE\\Team Orbisect\\Orbisect3\\drivers");
  EXPECT_EQ(allUsers, Widen(host_.commonFolder + "\\Orbisect 3\\drivers"));
  EXPECT_EQ(user, Widen(host_.userFolder + "\\Orbisect 3\\drivers"));
  EXPECT_EQ(FakeCount(L"satlist"), 1u);

  // No list yet: the default one.
  EXPECT_EQ(SatelliteNames(state_.satListManager), DefaultNames());
  EXPECT_EQ(FakeCount(L"saves"), 0u);

  RunShutdown(host_, state_);
  EXPECT_EQ(host_.steps.back(), "main window");  // no message
  EXPECT_EQ(FakeCount(L"saves"), 1u);
  ComPtr<ISatListManager> check;
  ASSERT_EQ(check.CoCreateInstance(CLSID_SatListManager, kCreateContext), S_OK);
  ASSERT_EQ(check->Load(Bstr(state_.SatListPath())), S_OK);
  EXPECT_EQ(SatelliteNames(check), DefaultNames());
}

TEST_F(ProgramTest, AsksForADriverWhenNoneIsChosen) {
  orb_test::DeleteValue(kProgramKey, L"driverclsid");
  host_.dialogChoice = GuidToRegistryString(kClsidFakeCard);
  ASSERT_TRUE(Start());
  EXPECT_EQ(host_.steps,
            (std::vector<std::string>{"control container", "sat list manager", "profile",
                                      "template", "command line", "driver selection",
                                      "main window"}));
  std::string stored;
  ASSERT_TRUE(Choice(stored));
  EXPECT_EQ(stored, "{6C1F3A10-2B7E-4D61-9A01-5E11203C4D01}");
  EXPECT_EQ(state_.driverClsid, stored);
  EXPECT_EQ(LogLines(), StartLog());
}

TEST_F(ProgramTest, CancelledSelectionEndsTheProgramAndAsksAgainNextTime) {
  orb_test::DeleteValue(kProgramKey, L"driverclsid");
  host_.dialogResult = IDCANCEL;  // nothing chosen: an empty choice is stored
  EXPECT_FALSE(Start());
  EXPECT_EQ(host_.steps,
            (std::vector<std::string>{"control container", "sat list manager", "profile",
                                      "template", "command line", "driver selection",
                                      "message: Failed to initialize driver"}));
  std::string stored;
  EXPECT_FALSE(Choice(stored));  // forgotten
  EXPECT_FALSE(state_.driver);
  EXPECT_FALSE(state_.driverControl);

  // Shutdown after the failed start still saves the list, and no settings.
  RunShutdown(host_, state_);
  EXPECT_EQ(FakeCount(L"saves"), 0u);
  EXPECT_NE(::GetFileAttributesW(state_.SatListPath().c_str()), INVALID_FILE_ATTRIBUTES);

  // A dialog that could not even run stores nothing.
  RecordingHost again;
  again.commonFolder = host_.commonFolder;
  again.userFolder = host_.userFolder;
  again.dialogResult = 0;
  again.dialogChoice = GuidToRegistryString(kClsidFakeCard);
  ProgramState state;
  CLog log;
  EXPECT_FALSE(RunStartup(again, state, log, logPath_ + ".2"));
  EXPECT_FALSE(Choice(stored));
  EXPECT_EQ(again.steps.back(), "message: Failed to initialize driver");
}

TEST_F(ProgramTest, DriverThatCannotBeBoundIsForgotten) {
  const std::string bad[] = {GuidToRegistryString(kClsidFakeBroken),      // not created
                             GuidToRegistryString(kClsidFakeNoDevice),    // Init fails
                             "{00000000-1111-2222-3333-444444444444}",    // no such class
                             "Fake card",                                  // no CLSID at all
                             ""};
  for (const std::string& clsid : bad) {
    SCOPED_TRACE(clsid);
    SetChoice(clsid);
    RecordingHost host;
    host.commonFolder = host_.commonFolder;
    host.userFolder = host_.userFolder;
    ProgramState state;
    CLog log;
    const std::string path = logPath_ + "." + std::to_string(&clsid - bad);
    EXPECT_FALSE(RunStartup(host, state, log, path));
    EXPECT_EQ(host.steps.back(), "message: Failed to initialize driver");
    EXPECT_EQ(std::count(host.steps.begin(), host.steps.end(), "driver selection"), 0);
    std::string stored;
    EXPECT_FALSE(Choice(stored));
    // A driver whose Init failed is not kept, so its settings are never saved.
    EXPECT_FALSE(state.driverControl);
    RunShutdown(host, state);
    EXPECT_EQ(FakeCount(L"saves"), 0u);
    const std::string text = orb_test::ReadText(Widen(path));
    EXPECT_NE(text.find("<1> - Failed to create driver"), std::string::npos) << text;
  }

  // The next start asks again.
  host_.dialogChoice = GuidToRegistryString(kClsidFakeCard);
  ASSERT_TRUE(Start());
  EXPECT_EQ(std::count(host_.steps.begin(), host_.steps.end(), "driver selection"), 1);
}

TEST_F(ProgramTest, MissingSatListManagerEndsStartUpBeforeTheDriver) {
  host_.managerResult = REGDB_E_CLASSNOTREG;
  EXPECT_FALSE(Start());
  EXPECT_EQ(host_.steps, (std::vector<std::string>{
                             "control container", "sat list manager",
                             "message: Failed to create sat list manager: 80040154"}));
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "<1> - Failed to create sat list manager: 80040154");
  EXPECT_EQ(FakeCount(L"inits"), 0u);
  RunShutdown(host_, state_);  // nothing to save, no message
  EXPECT_EQ(host_.steps.size(), 3u);
}

TEST_F(ProgramTest, FailingShellCommandEndsWithoutMessage) {
  host_.shellWorks = false;
  EXPECT_FALSE(Start());
  EXPECT_EQ(host_.steps.back(), "main window");
  std::string stored;
  EXPECT_TRUE(Choice(stored));  // the driver worked; the choice stays
}

TEST_F(ProgramTest, SavedListIsLoadedAndADamagedOneReplacedByTheDefault) {
  // A list of the user's own, saved by an earlier run.
  {
    const std::wstring folder = Widen(host_.commonFolder + "\\Orbisect 3");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ComPtr<ISatListManager> mgr;
    ASSERT_EQ(mgr.CoCreateInstance(CLSID_SatListManager, kCreateContext), S_OK);
    ComPtr<ISatellite> sat;
    ASSERT_EQ(mgr->CreateSatellite(Bstr(L"Thor 1W"), sat.Put()), S_OK);
    ASSERT_EQ(mgr->StoreSatellite(sat), S_OK);
    ASSERT_EQ(mgr->Save(Bstr(folder + L"\\satlist.xml")), S_OK);
  }
  ASSERT_TRUE(Start());
  EXPECT_EQ(SatelliteNames(state_.satListManager), std::vector<std::wstring>{L"Thor 1W"});

  // A damaged file: the default list, saved at exit (the damaged file is kept
  // beside it by the manager).
  const std::wstring file = state_.SatListPath();
  RunShutdown(host_, state_);
  std::ofstream(file.c_str(), std::ios::binary) << "<?xml version=\"1.0\"?>\n<satlist";
  RecordingHost host;
  host.commonFolder = host_.commonFolder;
  host.userFolder = host_.userFolder;
  ProgramState state;
  CLog log;
  ASSERT_TRUE(RunStartup(host, state, log, logPath_ + ".2"));
  EXPECT_EQ(SatelliteNames(state.satListManager), DefaultNames());
  RunShutdown(host, state);
  ComPtr<ISatListManager> check;
  ASSERT_EQ(check.CoCreateInstance(CLSID_SatListManager, kCreateContext), S_OK);
  ASSERT_EQ(check->Load(Bstr(file)), S_OK);
  EXPECT_EQ(SatelliteNames(check), DefaultNames());
  EXPECT_EQ(orb_test::ReadText(file + L".bak"), "<?xml version=\"1.0\"?>\n<satlist");
}

TEST_F(ProgramTest, WithoutACommonFolderTheListLivesInTheUserFolder) {
  host_.commonFolder.clear();
  ASSERT_TRUE(Start());
  EXPECT_EQ(state_.SatListPath(), Widen(host_.userFolder + "\\Orbisect 3\\satlist.xml"));
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "<1> - Failed to get all users application path");
  RunShutdown(host_, state_);
  EXPECT_NE(::GetFileAttributesW(state_.SatListPath().c_str()), INVALID_FILE_ATTRIBUTES);
  std::wstring allUsers;
  ASSERT_TRUE(orb_test::ReadString(kFakeRecordKey, L"allusers", allUsers));
  EXPECT_EQ(allUsers, Widen(host_.userFolder + "\\Orbisect 3\\drivers"));
}

TEST_F(ProgramTest, ListThatCannotBeSavedIsReported) {
  // A common folder below a folder that does not exist cannot be created.
  host_.commonFolder += "\\missing";
  ASSERT_TRUE(Start());
  RunShutdown(host_, state_);
  ASSERT_GE(host_.steps.size(), 1u);
  EXPECT_TRUE(std::regex_match(host_.steps.back(),
                               std::regex("message: Failed to save sat list: 8[0-9A-F]{7}")))
      << host_.steps.back();
  EXPECT_EQ(FakeCount(L"saves"), 1u);  // the driver's settings are saved all the same
}

TEST(DriverChoice, StoredForgottenAndReadBack) {
  ASSERT_TRUE(StoreDriverChoice("{6C1F3A10-2B7E-4D61-9A01-5E11203C4D02}"));
  CRegistryKey key;
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kProgramKeyPath));
  std::string text;
  EXPECT_TRUE(key.QueryString("driverclsid", text));
  EXPECT_EQ(text, "{6C1F3A10-2B7E-4D61-9A01-5E11203C4D02}");
  ForgetDriverChoice();
  EXPECT_FALSE(key.QueryString("driverclsid", text));
  EXPECT_EQ(text, "");
  ForgetDriverChoice();  // nothing to forget
  ASSERT_TRUE(StoreDriverChoice(""));
  EXPECT_TRUE(key.QueryString("driverclsid", text));
  EXPECT_EQ(text, "");
}
