#include "orb_app/startup.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <iterator>
#include <vector>

#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "satlistmgr.h"

namespace orb::app {

CLog& ProgramLog() {
  static CLog log;
  return log;
}

std::string GetModulePath() {
  char buffer[1024];
  const DWORD n = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return {};
  return std::string(buffer, n);
}

std::string LogFilePathFor(const std::string& modulePath) {
  if (modulePath.size() < 5) return "orbdev.txt";
  return modulePath.substr(0, modulePath.size() - 3) + "txt";
}

unsigned ReadBuildNumber(CLog& log) {
  char path[260];
  const DWORD n = ::GetModuleFileNameA(nullptr, path, 259);
  if (n == 0) {
    log.Log(1, "Failed to get file name: %lu", ::GetLastError());
    return 0;
  }
  path[n < 259 ? n : 259] = '\0';
  return ReadBuildNumberOf(path, log);
}

unsigned ReadBuildNumberOf(const char* path, CLog& log) {
  if (!std::strrchr(path, '\\')) {
    log.Log(1, "Failed to locate backslash");
    return 0;
  }
  // The whole path, so that no other file of that name is found first.
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return 0;
  std::vector<unsigned char> info(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!::GetFileVersionInfoA(path, 0, size, info.data()) ||
      !::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      !fixed || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
    log.Log(2, "failed to get version info: %lu", ::GetLastError());
    return 0;
  }
  const unsigned build = LOWORD(fixed->dwFileVersionLS);
  log.Log(2, "build=%d", static_cast<int>(build));
  return build;
}

bool ShellFolderLookup(int csidl, std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, buffer, csidl, TRUE)) return false;
  path = buffer;
  return true;
}

AppDataPaths GetAppDataPaths(CLog& log, const FolderLookup& lookup) {
  AppDataPaths paths;
  paths.registryKeyPath = kProgramKeyPathW;
  std::string folder;
  if (lookup(CSIDL_COMMON_APPDATA, folder)) {
    paths.allUsersFolder = Widen(folder + kAppFolderName);
    log.Log(2, "all users application path: %ls", paths.allUsersFolder.c_str());
  } else {
    log.Log(1, "Failed to get all users application path");
  }
  folder.clear();
  if (lookup(CSIDL_APPDATA, folder)) {
    paths.userFolder = Widen(folder + kAppFolderName);
    log.Log(2, "user application path: %ls", paths.userFolder.c_str());
  } else {
    log.Log(1, "Failed to get user application path");
  }
  if (paths.allUsersFolder.empty()) paths.allUsersFolder = paths.userFolder;
  return paths;
}

void CreateAppDataDirectories(const AppDataPaths& paths) {
  if (!paths.allUsersFolder.empty()) ::CreateDirectoryW(paths.allUsersFolder.c_str(), nullptr);
  if (!paths.userFolder.empty()) ::CreateDirectoryW(paths.userFolder.c_str(), nullptr);
}

namespace {

struct DefaultTransponder {
  ULONG frequency;  // 10 kHz
  long polarization;
  ULONG symbolRate;  // 100 symbol/s
  long fec;
};
struct DefaultSatellite {
  const wchar_t* name;
  std::vector<DefaultTransponder> transponders;
};

const std::vector<DefaultSatellite>& DefaultSatellites() {
  static const std::vector<DefaultSatellite> list = {
      {L"Astra 19E", {{1218700, 0, 275000, 1}}},
      {L"Hispasat Europe 30W", {{1177100, 1, 275000, 3}, {1181100, 0, 275000, 3}}},
      {L"Sirius Satellite System European Coverage", {{1238000, 0, 245000, 1}}},
      {L"1 degree W", {{1232200, 0, 278000, 3}}},
      {L"Hotbird 13E",
       {{1071900, 1, 275000, 3},
        {1093000, 0, 275000, 3},
        {1099200, 1, 275000, 3},
        {1232200, 0, 275000, 3},
        {1075800, 1, 275000, 3},
        {1168100, 0, 275000, 3},
        {1239900, 0, 275000, 3}}},
      {L"Echostar 7 119 W", {{1223900, 2, 200000, 4}}},
      {L"Echostar 6/8 110 W", {{1222400, 3, 200000, 4}}},
      {L"Nimiq 1 91 W", {{1222400, 3, 200000, 4}}},
      {L"Nimiq 2 82 W", {{1222400, 3, 200000, 4}}},
  };
  return list;
}

}  // namespace

HRESULT FillDefaultSatList(ISatListManager* manager) {
  if (!manager) return E_POINTER;
  for (const DefaultSatellite& s : DefaultSatellites()) {
    com::ComPtr<ISatellite> satellite;
    com::Bstr name(s.name);
    HRESULT hr = manager->CreateSatellite(name, satellite.Put());
    if (FAILED(hr)) return hr;
    long number = 1;
    for (const DefaultTransponder& t : s.transponders) {
      com::ComPtr<ITransponder> tp;
      if (FAILED(hr = satellite->CreateTransponder(0, number++, tp.Put())) ||
          FAILED(hr = tp->SetFrequency(t.frequency)) ||
          FAILED(hr = tp->SetPolarization(t.polarization)) ||
          FAILED(hr = tp->SetSymbolRate(t.symbolRate)) || FAILED(hr = tp->SetFEC(t.fec)) ||
          FAILED(hr = satellite->AddTransponder(tp)))
        return hr;
    }
    if (FAILED(hr = manager->StoreSatellite(satellite))) return hr;
  }
  return S_OK;
}

std::string GuidToRegistryString(const GUID& guid) {
  wchar_t text[64] = {};
  if (!::StringFromGUID2(guid, text, static_cast<int>(std::size(text)))) return {};
  return Narrow(text);
}

std::wstring Widen(const std::string& s) {
  if (s.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& s) {
  if (s.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                          nullptr);
  return out;
}

}  // namespace orb::app
