#pragma once
// The steps of the program's start-up that do not need a window: paths of
// the program, its log and its application-data folders, the build number
// from the version resource, and the default satellite list.
#include <windows.h>

#include <functional>
#include <string>

#include "orb_common/Log.h"

struct ISatListManager;

namespace orb::app {

// The program's one log (line number, time, seconds and level prefixes).
CLog& ProgramLog();

// The registry key of the program below HKEY_LOCAL_MACHINE.
constexpr const char* kProgramKeyPath = "SOFTWARE\\Team Orbisect\\Orbisect3";
constexpr const wchar_t* kProgramKeyPathW = L"SOFTWARE\\Team Orbisect\\Orbisect3";
// Folder of the program below each application-data folder.
constexpr const char* kAppFolderName = "\\Orbisect 3";
// The satellite list file in the all-users folder.
constexpr const wchar_t* kSatListFileName = L"\\satlist.xml";

// The program file's full path (GetModuleFileNameA, 1024-byte buffer); empty
// on failure.
std::string GetModulePath();

// The log file beside the program: the path with its last three characters
// replaced by "txt"; "orbdev.txt" for a path shorter than five characters.
std::string LogFilePathFor(const std::string& modulePath);
inline std::string GetLogFilePath() { return LogFilePathFor(GetModulePath()); }

// The build number: the low 16 bits of the last part of the program file's
// version (3.0.0.5 gives 5); 0 when it cannot be read.  Logs what it finds.
unsigned ReadBuildNumber(CLog& log);
// The same for any file (a full path).
unsigned ReadBuildNumberOf(const char* path, CLog& log);

// Looks up a special folder (CSIDL_COMMON_APPDATA or CSIDL_APPDATA),
// creating it when missing.  Replaceable for tests.
using FolderLookup = std::function<bool(int csidl, std::string& path)>;
bool ShellFolderLookup(int csidl, std::string& path);

struct AppDataPaths {
  std::wstring registryKeyPath;  // kProgramKeyPathW
  std::wstring userFolder;       // per-user application data + "\Orbisect 3"
  std::wstring allUsersFolder;   // common application data + "\Orbisect 3", else userFolder
};
AppDataPaths GetAppDataPaths(CLog& log, const FolderLookup& lookup = ShellFolderLookup);
// Creates the all-users folder, then the user folder (existing ones stay).
void CreateAppDataDirectories(const AppDataPaths& paths);

// The satellites a first start lists (when no list can be loaded): created
// through the manager, transponders numbered from 1 under network id 0, none
// primary, no satellite selected.  Stops at the first failing call; returns
// its result (S_OK when everything was stored).
HRESULT FillDefaultSatList(ISatListManager* manager);

// "{XXXXXXXX-...}" (upper-case hex) of a class id, as narrow text.
std::string GuidToRegistryString(const GUID& guid);

// Wide text from narrow (ANSI) text and back.
std::wstring Widen(const std::string& s);
std::string Narrow(const std::wstring& s);

}  // namespace orb::app
