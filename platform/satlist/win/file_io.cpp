#include "file_io.h"

#include <algorithm>

namespace orb::satlist {

DWORD ReadWholeFile(const std::wstring& path, std::string& data, size_t limit) {
  data.clear();
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
  DWORD rc = ERROR_SUCCESS;
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file, &size)) {
    rc = ::GetLastError();
  } else if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > limit) {
    rc = ERROR_FILE_TOO_LARGE;
  } else {
    data.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < data.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 20));
      if (!::ReadFile(file, data.data() + done, want, &got, nullptr)) {
        rc = ::GetLastError();
        break;
      }
      if (got == 0) break;  // the file shrank meanwhile
      done += got;
    }
    data.resize(done);
  }
  ::CloseHandle(file);
  if (rc != ERROR_SUCCESS) data.clear();
  return rc;
}

DWORD WriteWholeFile(const std::wstring& path, std::string_view data) {
  const std::wstring temp = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
  DWORD rc = ERROR_SUCCESS;
  size_t done = 0;
  while (done < data.size()) {
    DWORD wrote = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 20));
    if (!::WriteFile(file, data.data() + done, want, &wrote, nullptr) || wrote == 0) {
      rc = ::GetLastError();
      if (rc == ERROR_SUCCESS) rc = ERROR_WRITE_FAULT;
      break;
    }
    done += wrote;
  }
  if (rc == ERROR_SUCCESS && !::FlushFileBuffers(file)) rc = ::GetLastError();
  ::CloseHandle(file);
  if (rc == ERROR_SUCCESS &&
      !::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    rc = ::GetLastError();
  if (rc != ERROR_SUCCESS) ::DeleteFileW(temp.c_str());
  return rc;
}

bool PathExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FreeBackupName(const std::wstring& path) {
  for (int i = 0; i < 1000; ++i) {
    const std::wstring name =
        i == 0 ? path + L".bak" : path + L"." + std::to_wstring(i) + L".bak";
    if (!PathExists(name)) return name;
  }
  return {};
}

}  // namespace orb::satlist
