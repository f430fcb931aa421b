#include "test_support.h"

#include <fstream>
#include <sstream>

namespace orb_test {

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path);
  return s.substr(0, s.find_last_of(L'\\'));
}

std::wstring TempFolder(const wchar_t* name) {
  static int counter = 0;
  wchar_t tmp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, tmp);
  std::wstring dir = std::wstring(tmp) + name + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                     std::to_wstring(++counter);
  ::CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

std::string ReadText(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool RegisterServerBeside(const wchar_t* dllName, HMODULE& module) {
  module = ::LoadLibraryW((ExeFolder() + L"\\" + dllName).c_str());
  if (!module) return false;
  auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(::GetProcAddress(module, "DllRegisterServer")));
  return reg && SUCCEEDED(reg());
}

bool RegisterServerBeside(const wchar_t* dllName) {
  HMODULE module = nullptr;
  return RegisterServerBeside(dllName, module);
}

bool ReadString(const wchar_t* keyPath, const wchar_t* name, std::wstring& value) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, keyPath, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return false;
  value = buffer;
  return true;
}

bool ReadDword(const wchar_t* keyPath, const wchar_t* name, DWORD& value) {
  DWORD size = sizeof value;
  return ::RegGetValueW(HKEY_LOCAL_MACHINE, keyPath, name, RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS;
}

namespace {
void WriteValue(const wchar_t* keyPath, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return;
  ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  ::RegCloseKey(key);
}
}  // namespace

void WriteString(const wchar_t* keyPath, const wchar_t* name, const std::wstring& value) {
  WriteValue(keyPath, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void WriteDword(const wchar_t* keyPath, const wchar_t* name, DWORD value) {
  WriteValue(keyPath, name, REG_DWORD, &value, sizeof value);
}

void DeleteValue(const wchar_t* keyPath, const wchar_t* name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  ::RegDeleteValueW(key, name);
  ::RegCloseKey(key);
}

void DeleteTree(const wchar_t* keyPath) { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, keyPath); }

}  // namespace orb_test
