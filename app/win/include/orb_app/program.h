#pragma once
// The program's start-up and shutdown as one sequence of steps, apart from
// the windows: the application object supplies the steps that need the frame
// library (and the user) through StartupHost, everything else is here.
//
// Start-up, in this order: COM (multithreaded), the log ("Starting
// Orbisect 3"), the identifier name tables, the control container, the
// application-data folders, the satellite list manager and its list, the
// profile settings, the build number, the document template, the command
// line, the driver choice ("driverclsid", asking when there is none), the
// driver plug-in (Init, SetSatListMgr), the shell command.  A driver that
// cannot be bound ends the program with "Failed to initialize driver" and the
// choice is forgotten, so that the next start asks again.
//
// Shutdown: the satellite list is saved, then the driver's settings.
#include <windows.h>

#include <string>

#include "contract/driver_contract.h"
#include "orb_app/startup.h"
#include "orb_atl/com_ptr.h"
#include "satlistmgr.h"

namespace orb::app {

class StartupHost {
 public:
  virtual ~StartupHost() = default;

  // Steps of the frame library, each at its place in the sequence.
  virtual void EnableControlContainer() {}
  // 3-D controls, the profile key and the recent-file list.
  virtual void LoadProfileSettings() {}
  virtual void RegisterDocumentTemplate() {}
  virtual void ReadCommandLine() {}
  // Processes the shell command and shows the main window; false ends start-up.
  virtual bool OpenMainWindow() { return true; }

  // The driver selection dialog, run modally: its result (0 when it could not
  // run) and the CLSID text chosen in it (empty when none).
  virtual INT_PTR RunDriverSelection(std::string& chosenClsid) = 0;
  // A message box for the user.
  virtual void ShowMessage(const std::string& text) = 0;

  // The satellite list manager (CLSID_SatListManager, context 0x17).
  virtual HRESULT CreateSatListManager(ISatListManager** manager);
  // A special folder (CSIDL_COMMON_APPDATA or CSIDL_APPDATA), created when missing.
  virtual bool LookupFolder(int csidl, std::string& path) { return ShellFolderLookup(csidl, path); }
};

// What start-up sets up and shutdown uses.  Released (satellite list
// manager, driver control, driver) when it goes.
struct ProgramState {
  AppDataPaths paths;
  unsigned buildNumber = 0;
  std::string driverClsid;
  com::ComPtr<IDvbDriver> driver;
  com::ComPtr<IDriverControl> driverControl;
  com::ComPtr<ISatListManager> satListManager;

  // all-users folder + "\satlist.xml"
  std::wstring SatListPath() const { return paths.allUsersFolder + kSatListFileName; }
};

// The whole start-up; false ends the program.  `logPath` is the file the log
// opens (flags 0x41, every prefix, level 4).
bool RunStartup(StartupHost& host, ProgramState& state, CLog& log, const std::string& logPath);

// The single steps, as RunStartup takes them.
void FindAppDataFolders(StartupHost& host, ProgramState& state, CLog& log);
// Creates the manager and loads satlist.xml, filling the default list when
// that fails; false (after the message) when the manager cannot be created.
bool CreateAndLoadSatList(StartupHost& host, ProgramState& state, CLog& log);
// "driverclsid" of the program key; when there is none, the user's choice in
// the driver selection dialog, which is then stored.
void ReadDriverClsid(StartupHost& host, ProgramState& state, CLog& log);
// Creates and initialises the chosen driver; false when any step fails.
bool CreateDriver(ProgramState& state, CLog& log);

// Writes "driverclsid" (creating the program key); false when it cannot.
bool StoreDriverChoice(const std::string& clsidText);
// Deletes "driverclsid", so that the next start asks for a driver again.
void ForgetDriverChoice();

// Saves the satellite list ("Failed to save sat list: %08X" on failure), then
// the driver's settings.
void RunShutdown(StartupHost& host, ProgramState& state);

}  // namespace orb::app
