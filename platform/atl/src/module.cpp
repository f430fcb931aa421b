#include "orb_atl/module.h"

#include <objbase.h>

namespace orb::com {
namespace {
LONG g_locks = 0;
}

LONG ModuleLock() noexcept { return ::InterlockedIncrement(&g_locks); }
LONG ModuleUnlock() noexcept { return ::InterlockedDecrement(&g_locks); }
LONG ModuleLockCount() noexcept { return ::InterlockedCompareExchange(&g_locks, 0, 0); }

HMODULE ThisModule() noexcept {
  static HMODULE module = [] {
    HMODULE h = nullptr;
    ::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&g_locks), &h);
    return h;
  }();
  return module;
}

std::wstring ThisModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

std::wstring GuidToString(REFGUID guid) {
  wchar_t text[40] = {};
  const int n = ::StringFromGUID2(guid, text, 40);
  return n > 0 ? std::wstring(text, static_cast<size_t>(n - 1)) : std::wstring();
}

}  // namespace orb::com
