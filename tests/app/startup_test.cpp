// Start-up steps that need no window: paths, build number, folders, the
// default satellite list through the manager, and the driver binding through
// the component categories manager with the test plug-ins.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "fake_driver/fake_ids.h"
#include "orb_app/driver_binding.h"
#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "satlist/model.h"
#include "satlistmgr.h"
#include "test_log.h"
#include "test_support.h"

using namespace orb::app;
using orb::com::Bstr;
using orb::com::ComPtr;

namespace {

// A log written to a fresh file; Text() is what it holds so far.
class TestLog {
 public:
  TestLog() : path_(orb_test::TempFolder(L"orbapplog") + L"\\log.txt") {
    log_.Open(Narrow(path_).c_str(), CLog::kFullPath, 15, 4);
  }
  CLog& log() { return log_; }
  std::string Text() const { return orb_test::ReadText(path_); }

 private:
  std::wstring path_;
  CLog log_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new orb_test::ServersEnvironment);

}  // namespace

TEST(StartupPaths, LogFileBesideTheProgram) {
  EXPECT_EQ(LogFilePathFor("C:\\Programs\\Orbisect3.exe"), "C:\\Programs\\Orbisect3.txt");
  EXPECT_EQ(LogFilePathFor("a.exe"), "a.txt");
  EXPECT_EQ(LogFilePathFor("abcd"), "orbdev.txt");
  EXPECT_EQ(LogFilePathFor(""), "orbdev.txt");
  const std::string module = GetModulePath();
  ASSERT_GT(module.size(), 4u);
  EXPECT_EQ(GetLogFilePath(), module.substr(0, module.size() - 3) + "txt");
}

TEST(StartupPaths, BuildNumberFromTheVersionResource) {
  TestLog log;
  // This program carries the program's version resource (3.0.0.5).
  EXPECT_EQ(ReadBuildNumber(log.log()), 5u);
  EXPECT_NE(log.Text().find("<2> - build=5"), std::string::npos) << log.Text();

  TestLog noSlash;
  EXPECT_EQ(ReadBuildNumberOf("Orbisect3.exe", noSlash.log()), 0u);
  EXPECT_NE(noSlash.Text().find("<1> - Failed to locate backslash"), std::string::npos);

  // A file without version information: no number, nothing logged.
  TestLog none;
  const std::wstring folder = orb_test::TempFolder(L"orbver");
  const std::string plain = Narrow(folder) + "\\plain.txt";
  HANDLE h = ::CreateFileA(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  EXPECT_EQ(ReadBuildNumberOf(plain.c_str(), none.log()), 0u);
  EXPECT_EQ(none.Text().find("build="), std::string::npos);
}

namespace {
bool BothFolders(int csidl, std::string& path) {
  path = csidl == CSIDL_COMMON_APPDATA ? "C:\\common" : "C:\\user";
  return true;
}
bool UserFolderOnly(int csidl, std::string& path) {
  if (csidl == CSIDL_COMMON_APPDATA) return false;
  path = "C:\\user";
  return true;
}
bool NoFolder(int, std::string&) { return false; }
}  // namespace

TEST(StartupPaths, ApplicationDataFolders) {
  TestLog log;
  AppDataPaths p = GetAppDataPaths(log.log(), BothFolders);
  EXPECT_EQ(p.registryKeyPath, L"SOFTWARE\\Team Orbisect\\Orbisect3");
  EXPECT_EQ(p.allUsersFolder, L"C:\\common\\Orbisect 3");
  EXPECT_EQ(p.userFolder, L"C:\\user\\Orbisect 3");
  const std::string text = log.Text();
  EXPECT_NE(text.find("<2> - all users application path: C:\\common\\Orbisect 3"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("<2> - user application path: C:\\user\\Orbisect 3"), std::string::npos);

  // Without a common folder the user folder stands in (and the satellite
  // list lives there).
  TestLog log2;
  p = GetAppDataPaths(log2.log(), UserFolderOnly);
  EXPECT_EQ(p.allUsersFolder, L"C:\\user\\Orbisect 3");
  EXPECT_EQ(p.userFolder, L"C:\\user\\Orbisect 3");
  EXPECT_NE(log2.Text().find("<1> - Failed to get all users application path"),
            std::string::npos);

  TestLog log3;
  p = GetAppDataPaths(log3.log(), NoFolder);
  EXPECT_TRUE(p.allUsersFolder.empty());
  EXPECT_TRUE(p.userFolder.empty());
  EXPECT_NE(log3.Text().find("<1> - Failed to get user application path"), std::string::npos);
  CreateAppDataDirectories(p);  // empty paths: nothing to create, no failure

  // The real folders exist after creation.
  TestLog log4;
  p = GetAppDataPaths(log4.log());
  ASSERT_FALSE(p.allUsersFolder.empty());
  CreateAppDataDirectories(p);
  EXPECT_NE(::GetFileAttributesW(p.allUsersFolder.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW(p.userFolder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DefaultSatList, FilledThroughTheManager) {
  ComPtr<ISatListManager> mgr;
  ASSERT_EQ(mgr.CoCreateInstance(CLSID_SatListManager, kCreateContext), S_OK);
  ASSERT_EQ(FillDefaultSatList(mgr), S_OK);

  // Exactly the list the manager itself knows as its first-start list.
  const orb::satlist::SatelliteList expected = orb::satlist::DefaultSatelliteList();
  long count = 0;
  ASSERT_EQ(mgr->GetSatelliteCount(&count), S_OK);
  ASSERT_EQ(static_cast<size_t>(count), expected.Count());
  ComPtr<IEnumSatellites> sats;
  ASSERT_EQ(mgr->EnumSatellites(1, 0, sats.Put()), S_OK);
  size_t i = 0;
  ComPtr<ISatellite> sat;
  ULONG fetched = 0;
  while (sats->Next(1, sat.Put(), &fetched) == S_OK) {
    ASSERT_LT(i, expected.Count());
    const orb::satlist::Satellite& want = expected.Satellites()[i++];
    Bstr name;
    ASSERT_EQ(sat->GetName(name.Put()), S_OK);
    EXPECT_EQ(name.ToNarrow(CP_UTF8), want.name);
    BOOL selected = TRUE;
    ASSERT_EQ(sat->GetSelected(&selected), S_OK);
    EXPECT_FALSE(selected);
    ComPtr<IEnumTransponders> tps;
    ASSERT_EQ(sat->EnumTransponders(0, tps.Put()), S_OK);
    size_t j = 0;
    ComPtr<ITransponder> tp;
    while (tps->Next(1, tp.Put(), &fetched) == S_OK) {
      ASSERT_LT(j, want.transponders.size()) << want.name;
      const orb::satlist::Transponder& t = want.transponders[j++];
      long nid = -1, tsid = -1, pol = -1, fec = -1, primary = -1;
      ULONG freq = 0, sr = 0;
      tp->GetNetworkId(&nid);
      tp->GetTransportStreamId(&tsid);
      tp->GetPolarization(&pol);
      tp->GetFEC(&fec);
      tp->GetPrimary(&primary);
      tp->GetFrequency(&freq);
      tp->GetSymbolRate(&sr);
      EXPECT_EQ(nid, 0);
      EXPECT_EQ(tsid, static_cast<long>(j));
      EXPECT_EQ(primary, 0);
      EXPECT_EQ(freq, t.frequency) << want.name << " " << j;
      EXPECT_EQ(pol, t.polarization);
      EXPECT_EQ(sr, t.symbolRate);
      EXPECT_EQ(fec, t.fec);
    }
    EXPECT_EQ(j, want.transponders.size()) << want.name;
  }
  EXPECT_EQ(i, expected.Count());
  EXPECT_EQ(FillDefaultSatList(nullptr), E_POINTER);
}

TEST(DriverBinding, ListsTheCategoryWithFailuresReported) {
  std::vector<DriverEntry> drivers;
  std::vector<std::string> messages;
  ASSERT_TRUE(ListDrivers(drivers, [&](const std::string& m) { messages.push_back(m); }));
  // The broken class is reported with its HRESULT and left out.
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Failed to create driver instance: 8007000E");
  int card = 0, twin = 0, noDevice = 0;
  for (const DriverEntry& d : drivers) {
    EXPECT_FALSE(IsEqualCLSID(d.clsid, kClsidFakeBroken));
    if (IsEqualCLSID(d.clsid, kClsidFakeCard)) {
      ++card;
      EXPECT_EQ(d.name, "Fake card");
    } else if (IsEqualCLSID(d.clsid, kClsidFakeTwin)) {
      ++twin;
      EXPECT_EQ(d.name, "Fake card");
    } else if (IsEqualCLSID(d.clsid, kClsidFakeNoDevice)) {
      ++noDevice;
      EXPECT_EQ(d.name, "Fake card without device");
    }
  }
  EXPECT_EQ(card, 1);
  EXPECT_EQ(twin, 1);
  EXPECT_EQ(noDevice, 1);
  EXPECT_EQ(GuidToRegistryString(kClsidFakeCard), "{6C1F3A10-2B7E-4D61-9A01-5E11203C4D01}");
}

namespace {
AppDataPaths TestPaths() {
  AppDataPaths p;
  p.registryKeyPath = L"SOFTWARE\\Team Orbisect\\Orbisect3";
  p.allUsersFolder = L"C:\\common\\Orbisect 3";
  p.userFolder = L"C:\\user\\Orbisect 3";
  return p;
}
}  // namespace

TEST(DriverBinding, CreatesAndInitialisesTheChosenDriver) {
  orb_test::DeleteTree(kFakeRecordKey);
  ComPtr<ISatListManager> mgr;
  ASSERT_EQ(mgr.CoCreateInstance(CLSID_SatListManager, kCreateContext), S_OK);
  ComPtr<IDvbDriver> driver;
  ComPtr<IDriverControl> control;
  ASSERT_EQ(CreateDriverObject(GuidToRegistryString(kClsidFakeCard), TestPaths(), mgr, driver,
                               control),
            S_OK);
  EXPECT_TRUE(driver);
  EXPECT_TRUE(control);
  EXPECT_TRUE(orb::com::SameObject(driver.Get(), control.Get()));
  // Init got registry path, all-users folder and user folder, each + "\drivers".
  std::wstring root, allUsers, user;
  ASSERT_TRUE(orb_test::ReadString(kFakeRecordKey, L"root", root));
  ASSERT_TRUE(orb_test::ReadString(kFakeRecordKey, L"allusers", allUsers));
  ASSERT_TRUE(orb_test::ReadString(kFakeRecordKey, L"user", user));
  EXPECT_EQ(root, L"SOFTWARE\\Team Orbisect\\Orbisect3\\drivers");
  EXPECT_EQ(allUsers, L"C:\\common\\Orbisect 3\\drivers");
  EXPECT_EQ(user, L"C:\\user\\Orbisect 3\\drivers");
  DWORD n = 0;
  EXPECT_TRUE(orb_test::ReadDword(kFakeRecordKey, L"satlist", n));
  EXPECT_EQ(n, 1u);

  // Lower-case text names the same class.
  std::string lower = GuidToRegistryString(kClsidFakeCard);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(CreateDriverObject(lower, TestPaths(), mgr, driver, control), S_OK);
}

TEST(DriverBinding, FailuresLeaveNoDriver) {
  ComPtr<ISatListManager> mgr;
  ASSERT_EQ(mgr.CoCreateInstance(CLSID_SatListManager, kCreateContext), S_OK);
  ComPtr<IDvbDriver> driver;
  ComPtr<IDriverControl> control;
  EXPECT_EQ(CreateDriverObject("", TestPaths(), mgr, driver, control), E_INVALIDARG);
  EXPECT_EQ(CreateDriverObject("not a clsid", TestPaths(), mgr, driver, control), E_INVALIDARG);
  // A class id that names no class.
  EXPECT_TRUE(FAILED(CreateDriverObject("{00000000-1111-2222-3333-444444444444}", TestPaths(), mgr,
                                        driver, control)));
  EXPECT_TRUE(FAILED(CreateDriverObject(GuidToRegistryString(kClsidFakeBroken), TestPaths(), mgr,
                                        driver, control)));
  // Init fails: the driver is dropped, so its settings are never saved.
  EXPECT_EQ(CreateDriverObject(GuidToRegistryString(kClsidFakeNoDevice), TestPaths(), mgr, driver,
                               control),
            E_FAIL);
  EXPECT_FALSE(driver);
  EXPECT_FALSE(control);
  // No satellite list manager: Init worked, SetSatListMgr refuses.
  EXPECT_EQ(CreateDriverObject(GuidToRegistryString(kClsidFakeCard), TestPaths(), nullptr, driver,
                               control),
            E_POINTER);
  EXPECT_TRUE(control);
}
