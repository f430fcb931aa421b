#pragma once
// The module of the code that links this library (the server DLL, or the
// program): its handle, its path and its lock count.  Every live COM object
// of the module and every LockServer(TRUE) holds one lock; the module may be
// unloaded when the count is 0.
#include <windows.h>

#include <string>

namespace orb::com {

LONG ModuleLock() noexcept;
LONG ModuleUnlock() noexcept;
LONG ModuleLockCount() noexcept;

// The module this library is linked into (found from an address inside it,
// so no DllMain is needed).
HMODULE ThisModule() noexcept;
// Its full path; empty when it cannot be had.
std::wstring ThisModulePath();

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", the registry form of a GUID.
std::wstring GuidToString(REFGUID guid);

}  // namespace orb::com
