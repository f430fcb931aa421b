#pragma once
// Helpers of the program's tests: servers registered from copies beside the
// test program, a log written to a temporary file, registry values.
#include <windows.h>

#include <string>

namespace orb_test {

std::wstring ExeFolder();
std::wstring TempFolder(const wchar_t* name);  // a fresh folder below %TEMP%
std::string ReadText(const std::wstring& path);
// LoadLibrary + DllRegisterServer of a DLL beside the test program (kept loaded).
bool RegisterServerBeside(const wchar_t* dllName);
bool RegisterServerBeside(const wchar_t* dllName, HMODULE& module);

// HKEY_LOCAL_MACHINE values.
bool ReadString(const wchar_t* keyPath, const wchar_t* name, std::wstring& value);
bool ReadDword(const wchar_t* keyPath, const wchar_t* name, DWORD& value);
void WriteString(const wchar_t* keyPath, const wchar_t* name, const std::wstring& value);
void WriteDword(const wchar_t* keyPath, const wchar_t* name, DWORD value);
void DeleteValue(const wchar_t* keyPath, const wchar_t* name);
void DeleteTree(const wchar_t* keyPath);

}  // namespace orb_test
