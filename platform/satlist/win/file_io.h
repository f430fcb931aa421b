#pragma once
// Whole-file reads and safe whole-file writes for the satellite list.
#include <windows.h>

#include <string>
#include <string_view>

namespace orb::satlist {

// Reads the whole file into `data`; ERROR_SUCCESS or the system's error
// (ERROR_FILE_TOO_LARGE beyond `limit` bytes).
DWORD ReadWholeFile(const std::wstring& path, std::string& data, size_t limit);

// Writes `data` to a temporary file beside `path`, flushes it and moves it
// over `path`, so that a failure or a crash never leaves a half-written file.
DWORD WriteWholeFile(const std::wstring& path, std::string_view data);

// A name beside `path` that no file has yet: "<path>.bak", "<path>.1.bak", ...
// Empty when none of the first thousand is free.
std::wstring FreeBackupName(const std::wstring& path);

bool PathExists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);

}  // namespace orb::satlist
