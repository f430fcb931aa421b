// The satellite list manager as the program and the plug-ins use it: created
// through its registered class, edited through its interfaces, saved to and
// loaded from satlist.xml, and careful with a file it cannot read.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "orb_atl/module.h"
#include "satlistmgr.h"

using orb::com::Bstr;
using orb::com::ComPtr;

namespace {

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path);
  return s.substr(0, s.find_last_of(L'\\'));
}

std::wstring ReadText(const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (::RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::wstring& path, const std::string& data) {
  std::ofstream(path.c_str(), std::ios::binary) << data;
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class SatListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    // The copy of the server beside this program; it stays registered in the
    // build's prefix for the other tests that need a manager.
    server_ = ::LoadLibraryW((ExeFolder() + L"\\orbsatlist.dll").c_str());
    ASSERT_NE(server_, nullptr);
    auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(server_, "DllRegisterServer")));
    ASSERT_NE(reg, nullptr);
    ASSERT_EQ(reg(), S_OK);
  }
  static void TearDownTestSuite() {
    if (server_) ::FreeLibrary(server_);
    ::CoUninitialize();
  }

  void SetUp() override {
    wchar_t tmp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, tmp);
    dir_ = std::wstring(tmp) + L"orbsatlist" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter_);
    ::CreateDirectoryW(dir_.c_str(), nullptr);
    file_ = dir_ + L"\\satlist.xml";
    ASSERT_EQ(mgr_.CoCreateInstance(CLSID_SatListManager, 0x17), S_OK);
  }
  void TearDown() override {
    mgr_ = nullptr;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir_ + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          ::DeleteFileW((dir_ + L"\\" + fd.cFileName).c_str());
      } while (::FindNextFileW(h, &fd));
      ::FindClose(h);
    }
    ::RemoveDirectoryW(dir_.c_str());
  }

  std::vector<std::wstring> Files() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir_ + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    return names;
  }

  long Count(ISatListManager* mgr) const {
    long n = -1;
    EXPECT_EQ(mgr->GetSatelliteCount(&n), S_OK);
    return n;
  }

  // The names EnumSatellites(1, which) hands out, in order.
  std::vector<std::wstring> Names(ISatListManager* mgr, long which) const {
    std::vector<std::wstring> names;
    ComPtr<IEnumSatellites> e;
    if (FAILED(mgr->EnumSatellites(1, which, e.Put()))) return names;
    ISatellite* sat = nullptr;
    while (e->Next(1, &sat, nullptr) == S_OK) {
      Bstr name;
      EXPECT_EQ(sat->GetName(name.Put()), S_OK);
      names.push_back(name.Str());
      sat->Release();
    }
    EXPECT_EQ(sat, nullptr);
    return names;
  }

  // The program's first-start list, filled the way the program fills it.
  void FillDefaults(ISatListManager* mgr) {
    struct Row {
      const wchar_t* name;
      ULONG frequency;
      long polarization;
      ULONG symbolRate;
      long fec;
    };
    static const Row kRows[] = {{L"Astra 19E", 1218700, 0, 275000, 1},
                                {L"Hispasat Europe 30W", 1177100, 1, 275000, 3},
                                {nullptr, 1181100, 0, 275000, 3},
                                {L"Nimiq 2 82 W", 1222400, 3, 200000, 4}};
    ComPtr<ISatellite> sat;
    long i = 0;
    for (const Row& row : kRows) {
      if (row.name) {
        if (sat) {
          ASSERT_EQ(mgr->StoreSatellite(sat), S_OK);
        }
        ASSERT_EQ(mgr->CreateSatellite(Bstr(row.name), sat.Put()), S_OK);
        i = 0;
      }
      ComPtr<ITransponder> t;
      ASSERT_EQ(sat->CreateTransponder(0, ++i, t.Put()), S_OK);
      ASSERT_EQ(t->SetFrequency(row.frequency), S_OK);
      ASSERT_EQ(t->SetPolarization(row.polarization), S_OK);
      ASSERT_EQ(t->SetSymbolRate(row.symbolRate), S_OK);
      ASSERT_EQ(t->SetFEC(row.fec), S_OK);
      ASSERT_EQ(sat->AddTransponder(t), S_OK);
    }
    ASSERT_EQ(mgr->StoreSatellite(sat), S_OK);
  }

  static HMODULE server_;
  static int counter_;
  std::wstring dir_;
  std::wstring file_;
  ComPtr<ISatListManager> mgr_;
};

HMODULE SatListTest::server_ = nullptr;
int SatListTest::counter_ = 0;

}  // namespace

TEST_F(SatListTest, RegisteredAsAnInProcessServer) {
  const std::wstring key = L"CLSID\\" + orb::com::GuidToString(CLSID_SatListManager);
  EXPECT_EQ(key, L"CLSID\\{25DD8117-7C68-4F27-8D64-162767784EC1}");
  EXPECT_EQ(ReadText(key + L"\\InprocServer32"), ExeFolder() + L"\\orbsatlist.dll");
  EXPECT_EQ(ReadText(key + L"\\InprocServer32", L"ThreadingModel"), L"Both");
  EXPECT_EQ(ReadText(key + L"\\TypeLib"), orb::com::GuidToString(LIBID_SatListManagerLib));
  EXPECT_EQ(ReadText(L"OrbSatList.SatListManager\\CurVer"), L"OrbSatList.SatListManager.1");
  EXPECT_EQ(orb::com::GuidToString(IID_ISatListManager),
            L"{5CBF55BE-A269-416B-8737-EB8F9D3802CF}");
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(mgr_.As(unknown), S_OK);
  ComPtr<ISatellite> notOffered;
  EXPECT_EQ(mgr_.As(notOffered), E_NOINTERFACE);
}

TEST_F(SatListTest, SatellitesAreEditedAndCommittedThroughStore) {
  EXPECT_EQ(Count(mgr_), 0);
  ComPtr<ISatellite> sat;
  ASSERT_EQ(mgr_->CreateSatellite(Bstr(L"Hotbird 13E"), sat.Put()), S_OK);
  EXPECT_EQ(Count(mgr_), 0);  // not in the list before StoreSatellite
  ComPtr<ISatellite> found;
  EXPECT_LT(mgr_->FindSatellite(Bstr(L"Hotbird 13E"), found.Put()), 0);
  EXPECT_EQ(found.Get(), nullptr);

  // The transponder list dialog's Add.
  ComPtr<ITransponder> t;
  ASSERT_EQ(sat->CreateTransponder(1, 0x3F2, t.Put()), S_OK);
  EXPECT_EQ(t->SetPrimary(1), S_OK);
  EXPECT_EQ(t->SetFrequency(1218700), S_OK);
  EXPECT_EQ(t->SetPolarization(1), S_OK);
  EXPECT_EQ(t->SetSymbolRate(275000), S_OK);
  EXPECT_EQ(t->SetFEC(3), S_OK);
  EXPECT_EQ(sat->AddTransponder(t), S_OK);
  ASSERT_EQ(sat->CreateTransponder(1, 0x3F3, t.Put()), S_OK);
  EXPECT_EQ(sat->AddTransponder(t), S_OK);
  EXPECT_EQ(sat->SetSelected(FALSE), S_OK);
  EXPECT_EQ(sat->SetUserAdded(1), S_OK);
  ASSERT_EQ(mgr_->StoreSatellite(sat), S_OK);
  EXPECT_EQ(Count(mgr_), 1);

  // The tuning dialog's reading.
  ASSERT_EQ(mgr_->FindSatellite(Bstr(L"Hotbird 13E"), found.Put()), S_OK);
  long n = 0;
  EXPECT_EQ(found->GetTransponderCount(&n), S_OK);
  EXPECT_EQ(n, 2);
  ASSERT_EQ(found->FindTransponder(1, 0x3F2, t.Put()), S_OK);
  long primary = 0, nid = 0, tsid = 0, pol = 0, fec = 0;
  ULONG frequency = 0, symbolRate = 0;
  EXPECT_EQ(t->GetPrimary(&primary), S_OK);
  EXPECT_EQ(t->GetNetworkId(&nid), S_OK);
  EXPECT_EQ(t->GetTransportStreamId(&tsid), S_OK);
  EXPECT_EQ(t->GetFrequency(&frequency), S_OK);
  EXPECT_EQ(t->GetPolarization(&pol), S_OK);
  EXPECT_EQ(t->GetSymbolRate(&symbolRate), S_OK);
  EXPECT_EQ(t->GetFEC(&fec), S_OK);
  EXPECT_EQ(primary, 1);
  EXPECT_EQ(nid, 1);
  EXPECT_EQ(tsid, 0x3F2);
  EXPECT_EQ(frequency, 1218700u);
  EXPECT_EQ(pol, 1);
  EXPECT_EQ(symbolRate, 275000u);
  EXPECT_EQ(fec, 3);
  EXPECT_LT(found->FindTransponder(2, 0x3F2, t.Put()), 0);
  EXPECT_EQ(t.Get(), nullptr);

  // EnumTransponders: 0 every transponder, 1 the primary ones.
  for (long which : {0L, 1L}) {
    ComPtr<IEnumTransponders> e;
    ASSERT_EQ(found->EnumTransponders(which, e.Put()), S_OK);
    std::vector<long> ids;
    ITransponder* item = nullptr;
    while (e->Next(1, &item, nullptr) == S_OK) {
      long id = 0;
      item->GetTransportStreamId(&id);
      ids.push_back(id);
      item->Release();
    }
    EXPECT_EQ(ids, which == 0 ? (std::vector<long>{0x3F2, 0x3F3}) : std::vector<long>{0x3F2});
  }

  // A copy changes nothing until it is stored; then it replaces by name.
  EXPECT_EQ(found->SetSelected(TRUE), S_OK);
  EXPECT_EQ(Names(mgr_, 1), std::vector<std::wstring>{});
  ASSERT_EQ(mgr_->StoreSatellite(found), S_OK);
  EXPECT_EQ(Names(mgr_, 1), std::vector<std::wstring>{L"Hotbird 13E"});
  ComPtr<ISatellite> astra;
  ASSERT_EQ(mgr_->CreateSatellite(Bstr(L"Astra 19E"), astra.Put()), S_OK);
  ASSERT_EQ(mgr_->StoreSatellite(astra), S_OK);
  EXPECT_EQ(Names(mgr_, 0), (std::vector<std::wstring>{L"Hotbird 13E", L"Astra 19E"}));
  EXPECT_EQ(Names(mgr_, 1), std::vector<std::wstring>{L"Hotbird 13E"});
  BOOL selected = FALSE;
  EXPECT_EQ(astra->GetSelected(&selected), S_OK);
  EXPECT_FALSE(selected);

  EXPECT_EQ(found->DeleteTransponder(1, 0x3F2), S_OK);
  EXPECT_LT(found->DeleteTransponder(1, 0x3F2), 0);
  ASSERT_EQ(mgr_->StoreSatellite(found), S_OK);
  ASSERT_EQ(mgr_->FindSatellite(Bstr(L"Hotbird 13E"), sat.Put()), S_OK);
  EXPECT_EQ(sat->GetTransponderCount(&n), S_OK);
  EXPECT_EQ(n, 1);

  EXPECT_EQ(mgr_->DeleteSatellite(Bstr(L"Hotbird 13E")), S_OK);
  EXPECT_LT(mgr_->DeleteSatellite(Bstr(L"Hotbird 13E")), 0);
  EXPECT_EQ(Names(mgr_, 0), std::vector<std::wstring>{L"Astra 19E"});
}

TEST_F(SatListTest, RefusesBadArguments) {
  ComPtr<ISatellite> sat;
  EXPECT_EQ(mgr_->CreateSatellite(Bstr(L""), sat.Put()), E_INVALIDARG);
  EXPECT_EQ(mgr_->CreateSatellite(nullptr, sat.Put()), E_INVALIDARG);
  const wchar_t loneSurrogate[] = {L'a', 0xD800, 0};
  EXPECT_EQ(mgr_->CreateSatellite(Bstr(loneSurrogate), sat.Put()), E_INVALIDARG);
  EXPECT_EQ(mgr_->CreateSatellite(Bstr(L"x"), nullptr), E_POINTER);
  EXPECT_EQ(mgr_->GetSatelliteCount(nullptr), E_POINTER);
  EXPECT_EQ(mgr_->StoreSatellite(nullptr), E_POINTER);
  EXPECT_EQ(mgr_->FindSatellite(Bstr(L"x"), nullptr), E_POINTER);
  ComPtr<IEnumSatellites> e;
  EXPECT_EQ(mgr_->EnumSatellites(1, 2, e.Put()), E_INVALIDARG);
  EXPECT_EQ(mgr_->EnumSatellites(1, 0, nullptr), E_POINTER);
  EXPECT_EQ(mgr_->Load(Bstr(L"")), E_INVALIDARG);
  EXPECT_EQ(mgr_->Save(nullptr), E_INVALIDARG);
  EXPECT_EQ(mgr_->Reserved10(), E_NOTIMPL);

  ASSERT_EQ(mgr_->CreateSatellite(Bstr(L"S"), sat.Put()), S_OK);
  EXPECT_EQ(sat->AddTransponder(nullptr), E_POINTER);
  EXPECT_EQ(sat->GetName(nullptr), E_POINTER);
  ComPtr<IEnumTransponders> te;
  EXPECT_EQ(sat->EnumTransponders(-1, te.Put()), E_INVALIDARG);
  ComPtr<ITransponder> t;
  ASSERT_EQ(sat->CreateTransponder(1, 2, t.Put()), S_OK);
  EXPECT_EQ(t->GetFrequency(nullptr), E_POINTER);
  EXPECT_EQ(t->Reserved7(), E_NOTIMPL);

  // Enumerators: several at once, and the end.
  ASSERT_EQ(sat->AddTransponder(t), S_OK);
  ASSERT_EQ(sat->EnumTransponders(0, te.Put()), S_OK);
  ITransponder* items[3] = {};
  ULONG fetched = 99;
  EXPECT_EQ(te->Next(3, items, nullptr), E_POINTER);
  EXPECT_EQ(te->Next(3, items, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 1u);
  ASSERT_NE(items[0], nullptr);
  EXPECT_EQ(items[1], nullptr);
  items[0]->Release();
  EXPECT_EQ(te->Next(1, items, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
}

TEST_F(SatListTest, SavedListLoadsIntoAnotherManager) {
  FillDefaults(mgr_);
  ComPtr<ISatellite> sat;
  ASSERT_EQ(mgr_->CreateSatellite(Bstr(L"T\u00fcrksat 42E & <\"co\">"), sat.Put()), S_OK);
  EXPECT_EQ(sat->SetSelected(TRUE), S_OK);
  ASSERT_EQ(mgr_->StoreSatellite(sat), S_OK);
  ASSERT_EQ(mgr_->Save(Bstr(file_)), S_OK);
  EXPECT_EQ(Files(), std::vector<std::wstring>{L"satlist.xml"});  // no backup, no leftovers
  EXPECT_EQ(ReadFile(file_).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);

  ComPtr<ISatListManager> other;
  ASSERT_EQ(other.CoCreateInstance(CLSID_SatListManager, 0x17), S_OK);
  ASSERT_EQ(other->Load(Bstr(file_)), S_OK);
  EXPECT_EQ(Names(other, 0), Names(mgr_, 0));
  EXPECT_EQ(Names(other, 1), std::vector<std::wstring>{L"T\u00fcrksat 42E & <\"co\">"});
  ComPtr<ISatellite> hispasat;
  ASSERT_EQ(other->FindSatellite(Bstr(L"Hispasat Europe 30W"), hispasat.Put()), S_OK);
  ComPtr<ITransponder> t;
  ASSERT_EQ(hispasat->FindTransponder(0, 2, t.Put()), S_OK);
  ULONG frequency = 0;
  EXPECT_EQ(t->GetFrequency(&frequency), S_OK);
  EXPECT_EQ(frequency, 1181100u);

  // Saving over a readable list replaces it without a backup.
  ASSERT_EQ(other->DeleteSatellite(Bstr(L"Astra 19E")), S_OK);
  ASSERT_EQ(other->Save(Bstr(file_)), S_OK);
  EXPECT_EQ(Files(), std::vector<std::wstring>{L"satlist.xml"});
  ASSERT_EQ(mgr_->Load(Bstr(file_)), S_OK);
  EXPECT_EQ(Count(mgr_), 3);
}

TEST_F(SatListTest, MissingFileFailsAndKeepsTheList) {
  FillDefaults(mgr_);
  EXPECT_EQ(mgr_->Load(Bstr(file_)), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(mgr_->Load(Bstr(dir_ + L"\\missing\\satlist.xml")),
            HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(Count(mgr_), 3);
  EXPECT_LT(mgr_->Save(Bstr(dir_ + L"\\missing\\satlist.xml")), 0);
  EXPECT_LT(mgr_->Save(Bstr(dir_)), 0);  // a folder is not overwritten
}

TEST_F(SatListTest, DamagedFileIsKeptBesideTheSavedList) {
  const std::string damaged =
      "<?xml version=\"1.0\"?>\n<satlist version=\"1\">\n<satellite name=\"Mine\"";
  WriteFile(file_, damaged);
  ComPtr<ISatellite> sat;
  ASSERT_EQ(mgr_->CreateSatellite(Bstr(L"Before"), sat.Put()), S_OK);
  ASSERT_EQ(mgr_->StoreSatellite(sat), S_OK);
  EXPECT_EQ(mgr_->Load(Bstr(file_)), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
  EXPECT_EQ(Names(mgr_, 0), std::vector<std::wstring>{L"Before"});

  // The program then fills its default list and saves at exit: the user's
  // file is kept as satlist.xml.bak, byte for byte.
  FillDefaults(mgr_);
  ASSERT_EQ(mgr_->Save(Bstr(file_)), S_OK);
  EXPECT_EQ(ReadFile(file_ + L".bak"), damaged);
  ComPtr<ISatListManager> check;
  ASSERT_EQ(check.CoCreateInstance(CLSID_SatListManager, 0x17), S_OK);
  ASSERT_EQ(check->Load(Bstr(file_)), S_OK);
  EXPECT_EQ(Count(check), 4);

  // A good list is replaced without another backup; a second damaged file
  // does not overwrite the first backup.
  ASSERT_EQ(mgr_->Save(Bstr(file_)), S_OK);
  WriteFile(file_, "\xFF\xFE<\0s\0");
  ASSERT_EQ(mgr_->Save(Bstr(file_)), S_OK);
  EXPECT_EQ(ReadFile(file_ + L".bak"), damaged);
  EXPECT_EQ(ReadFile(file_ + L".1.bak"), "\xFF\xFE<");
  EXPECT_EQ(Files().size(), 3u);

  // An empty file is no list either.
  WriteFile(file_, "");
  EXPECT_LT(mgr_->Load(Bstr(file_)), 0);
  ASSERT_EQ(mgr_->Save(Bstr(file_)), S_OK);
  EXPECT_TRUE(Exists(file_ + L".2.bak"));
}

TEST_F(SatListTest, FileInUseIsNotOverwritten) {
  WriteFile(file_, "not a list");
  // Another program holds the file open without sharing it.
  HANDLE held = ::CreateFileW(file_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_LT(mgr_->Load(Bstr(file_)), 0);
  EXPECT_LT(mgr_->Save(Bstr(file_)), 0);
  ::CloseHandle(held);
  EXPECT_EQ(ReadFile(file_), "not a list");
  EXPECT_EQ(Files(), std::vector<std::wstring>{L"satlist.xml"});
}
