// Files by UTF-8 path: exclusive creation, removal, replacement.
#include "files.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orb::ado {

namespace {

#ifdef _WIN32
std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

HResult FromWin32(DWORD error) {
  return error == 0 ? hr::kFail : static_cast<HResult>(0x80070000u | (error & 0xFFFFu));
}

std::string SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text;
  if (n && buffer) {
    const int m = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    text.resize(static_cast<size_t>(m > 0 ? m : 0));
    if (m > 0) WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(n), text.data(), m, nullptr, nullptr);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  }
  if (buffer) LocalFree(buffer);
  if (text.empty()) text = "system error " + std::to_string(error);
  return text;
}
#else
HResult FromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return hr::kAccessDenied;
    case ENOENT:
    case ENOTDIR: return hr::kPathNotFound;
    case EEXIST: return hr::kFileExists;
    case ENOSPC: return hr::kDiskFull;
    default: return hr::kFail;
  }
}
#endif

}  // namespace

void CreateNewFile(const std::string& path, const char* source) {
#ifdef _WIN32
  const std::wstring wide = Wide(path);
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const HResult code = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? hr::kFileExists
                                                                                     : FromWin32(error);
    throw ProviderError(code, "Cannot create the database file " + path + ": " + SystemMessage(error), source);
  }
  CloseHandle(h);
#else
  const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    throw ProviderError(FromErrno(error), "Cannot create the database file " + path + ": " + std::strerror(error),
                        source);
  }
  ::close(fd);
#endif
}

bool FileExists(const std::string& path) {
#ifdef _WIN32
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
#endif
}

static bool RemoveOne(const std::string& path) {
#ifdef _WIN32
  if (DeleteFileW(Wide(path).c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
#else
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
#endif
}

bool RemoveDatabaseFile(const std::string& path) {
  if (path.empty()) return true;
  for (const char* suffix : {"-journal", "-wal", "-shm"}) RemoveOne(path + suffix);
  return RemoveOne(path);
}

void ReplaceDatabaseFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    throw ProviderError(FromWin32(error), "Cannot replace " + to + ": " + SystemMessage(error), "orb.ado.File");
  }
#else
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    const int error = errno;
    throw ProviderError(FromErrno(error), "Cannot replace " + to + ": " + std::strerror(error), "orb.ado.File");
  }
#endif
}

}  // namespace orb::ado
