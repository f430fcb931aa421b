#include "orb_app/program.h"

#include <objbase.h>

#include <cstdio>

#include "orb_app/driver_binding.h"
#include "orb_app/identifier_names.h"
#include "orb_atl/bstr.h"
#include "orb_common/RegistryKey.h"

namespace orb::app {
namespace {

constexpr const char* kDriverClsidValue = "driverclsid";

std::string HresultText(const char* format, HRESULT hr) {
  char text[128];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(hr));
  return text;
}

}  // namespace

HRESULT StartupHost::CreateSatListManager(ISatListManager** manager) {
  if (!manager) return E_POINTER;
  *manager = nullptr;
  return ::CoCreateInstance(CLSID_SatListManager, nullptr, kCreateContext, IID_ISatListManager,
                            reinterpret_cast<void**>(manager));
}

void FindAppDataFolders(StartupHost& host, ProgramState& state, CLog& log) {
  state.paths = GetAppDataPaths(
      log, [&host](int csidl, std::string& path) { return host.LookupFolder(csidl, path); });
  CreateAppDataDirectories(state.paths);
}

bool CreateAndLoadSatList(StartupHost& host, ProgramState& state, CLog& log) {
  const HRESULT hr = host.CreateSatListManager(state.satListManager.Put());
  if (FAILED(hr) || !state.satListManager) {
    state.satListManager.Reset();
    const std::string text =
        HresultText("Failed to create sat list manager: %08X", FAILED(hr) ? hr : E_NOINTERFACE);
    log.Log(1, "%s", text.c_str());
    host.ShowMessage(text);
    return false;
  }
  com::Bstr path(state.SatListPath());
  if (FAILED(state.satListManager->Load(path))) FillDefaultSatList(state.satListManager);
  return true;
}

bool StoreDriverChoice(const std::string& clsidText) {
  CRegistryKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, kProgramKeyPath)) return false;
  return key.SetString(kDriverClsidValue, clsidText.c_str()) != 0;
}

void ForgetDriverChoice() {
  CRegistryKey key;
  if (key.Create(HKEY_LOCAL_MACHINE, kProgramKeyPath)) key.DeleteValue(kDriverClsidValue);
  key.Close();
}

void ReadDriverClsid(StartupHost& host, ProgramState& state, CLog& log) {
  log.Log(2, "read_driver_clsid()");
  bool found = false;
  {
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kProgramKeyPath))
      found = key.QueryString(kDriverClsidValue, state.driverClsid) != 0;
  }
  if (!found) {
    std::string chosen;
    // OK and Cancel alike store what was chosen (nothing on Cancel); only a
    // dialog that could not run leaves the registry alone.
    if (host.RunDriverSelection(chosen) != 0) {
      state.driverClsid = chosen;
      StoreDriverChoice(state.driverClsid);
    }
  }
  log.Log(2, "read_driver_clsid() exit");
}

bool CreateDriver(ProgramState& state, CLog& log) {
  const HRESULT hr = CreateDriverObject(state.driverClsid, state.paths, state.satListManager,
                                        state.driver, state.driverControl);
  if (FAILED(hr)) log.Log(1, "Failed to create driver %s: %08X", state.driverClsid.c_str(),
                          static_cast<unsigned>(hr));
  return SUCCEEDED(hr);
}

bool RunStartup(StartupHost& host, ProgramState& state, CLog& log, const std::string& logPath) {
  // The result does not matter: a thread already in the apartment stays there.
  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);

  log.Open(logPath.c_str(), CLog::kFullPath | CLog::kDebugger,
           CLog::kPrefixLineNumber | CLog::kPrefixTime | CLog::kPrefixSeconds |
               CLog::kPrefixLevel,
           0);
  log.SetLevel(4);
  log.Log(2, "Starting Orbisect 3");

  BuildIdentifierNames();
  host.EnableControlContainer();
  FindAppDataFolders(host, state, log);
  if (!CreateAndLoadSatList(host, state, log)) return false;
  host.LoadProfileSettings();
  state.buildNumber = ReadBuildNumber(log);
  host.RegisterDocumentTemplate();
  host.ReadCommandLine();

  ReadDriverClsid(host, state, log);
  if (!CreateDriver(state, log)) {
    host.ShowMessage("Failed to initialize driver");
    ForgetDriverChoice();
    return false;
  }
  return host.OpenMainWindow();
}

void RunShutdown(StartupHost& host, ProgramState& state) {
  if (state.satListManager) {
    com::Bstr path(state.SatListPath());
    const HRESULT hr = state.satListManager->Save(path);
    if (FAILED(hr)) host.ShowMessage(HresultText("Failed to save sat list: %08X", hr));
  }
  if (state.driverControl) state.driverControl->SaveSettings();
}

}  // namespace orb::app
