#pragma once
// Finding, creating and initialising the driver plug-in: the classes
// registered under CATID_DvbDrivers (through the component categories
// manager), and the one chosen by its CLSID text.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "contract/driver_contract.h"
#include "orb_app/startup.h"
#include "orb_atl/com_ptr.h"

namespace orb::app {

// Class context of every object the program creates.
constexpr DWORD kCreateContext = 0x17;

struct DriverEntry {
  std::string name;  // GetDriverName, narrow
  CLSID clsid;
};

// Messages for the user ("Failed to create driver instance: %08X", ...).
using MessageSink = std::function<void(const std::string& text)>;

// Every class of the drivers category that can be created and named, in the
// order the categories manager hands them out.  A class that fails is
// reported through `report` and left out.  False (with the report "Failed to
// open CategoriesMgr: %#x") when the categories manager cannot be created.
bool ListDrivers(std::vector<DriverEntry>& drivers, const MessageSink& report);

// The three strings IDriverControl::Init takes: registry key path, all-users
// folder and user folder, each with "\drivers" appended.
struct DriverInitStrings {
  std::wstring registryRoot;
  std::wstring allUsersDataDir;
  std::wstring userDataDir;
};
DriverInitStrings MakeDriverInitStrings(const AppDataPaths& paths);

// Creates the plug-in of `clsidText`, asks it for IDriverControl, calls Init
// and hands it the satellite list manager.  On failure the pointers are
// released and a failing HRESULT returned (E_INVALIDARG for a text that is
// no CLSID).
HRESULT CreateDriverObject(const std::string& clsidText, const AppDataPaths& paths,
                           ISatListManager* satList, com::ComPtr<IDvbDriver>& driver,
                           com::ComPtr<IDriverControl>& control);

}  // namespace orb::app
