// The satellite list manager's in-process server: one class, its type
// library, and the module's log (the module's path with "txt" for its
// extension, opened when first used).
#include <windows.h>

#include <mutex>

#include "objects.h"
#include "orb_atl/module.h"
#include "orb_atl/server.h"
#include "orb_common/Log.h"

namespace orb::satlist {

CLog& ManagerLog() {
  static CLog log;
  static std::once_flag opened;
  std::call_once(opened, [] {
    std::wstring path = com::ThisModulePath();
    const size_t dot = path.find_last_of(L".\\");
    if (dot != std::wstring::npos && path[dot] == L'.') path.resize(dot);
    path += L".txt";
    char narrow[MAX_PATH] = {};
    if (::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr) > 0)
      log.Open(narrow, CLog::kFullPath | CLog::kDebugger, 15, 0);
    log.SetLevel(2);
  });
  return log;
}

namespace {

const com::ClassInfo kClasses[] = {{&CLSID_SatListManager, &CSatListManager::CreateInstance,
                                    L"SatListManager Class", L"OrbSatList.SatListManager.1",
                                    L"OrbSatList.SatListManager", L"Both", nullptr, 0}};
const com::ServerInfo kServer = {kClasses, 1, &LIBID_SatListManagerLib};

}  // namespace
}  // namespace orb::satlist

ORB_COM_SERVER_EXPORTS(orb::satlist::kServer)
