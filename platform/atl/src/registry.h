#pragma once
// Registry steps of the server registration (HKEY_CLASSES_ROOT).
#include <windows.h>

#include <string>

namespace orb::com::reg {

// Creates `path` under `root` and sets its value `name` (null: the default
// value) to `text`.
LONG SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text);
// The text of value `name` of key `path`; false when missing or not text.
bool GetText(HKEY root, const std::wstring& path, const wchar_t* name, std::wstring& text);
// Deletes `path` with everything below it; a missing key is no failure.
LONG DeleteTree(HKEY root, const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);

}  // namespace orb::com::reg
