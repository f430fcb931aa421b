#pragma once
// An in-process COM server: its object map (the classes it serves), their
// registration, and the four exported entry points.
//
//   const orb::com::CategoryInfo kCats[] = {{&CATID_Things, L"Things"}};
//   const orb::com::ClassInfo kClasses[] = {{
//       &CLSID_Thing, &CThing::CreateInstance, L"Thing Class",
//       L"Lib.Thing.1", L"Lib.Thing", L"Both", kCats, 1}};
//   const orb::com::ServerInfo kServer = {kClasses, 1, &LIBID_ThingLib};
//   ORB_COM_SERVER_EXPORTS(kServer)
//
// and ${ORB_COM_SERVER_DEF} among the DLL's sources (the export list).
//
// Registration (under HKEY_CLASSES_ROOT) writes for each class
//   <ProgID>                       = description, CLSID = {clsid}
//   <version-independent ProgID>   = description, CLSID = {clsid}, CurVer = <ProgID>
//   CLSID\{clsid}                  = description (rewritten whole), ProgID,
//                                    VersionIndependentProgID, TypeLib = {libid},
//                                    InprocServer32 = module path, ThreadingModel
// then registers the type library (resource TYPELIB 1 of the module) and, through
// the component categories manager, each category (with its description, LCID
// 0x409) and the class as implementing it.  Unregistration removes the class
// from its categories, unregisters the type library, deletes CLSID\{clsid}
// whole and the ProgID keys that still name this class; categories stay (other
// servers may implement them).  Both initialise COM themselves when the caller
// has not.
#include <comcat.h>
#include <objbase.h>

#include <cstddef>

namespace orb::com {

using CreateFunction = HRESULT (*)(IUnknown* outer, REFIID riid, void** ppv);

struct CategoryInfo {
  const CATID* id;
  const wchar_t* description;  // English (LCID 0x409)
};

struct ClassInfo {
  const CLSID* clsid;
  CreateFunction create;
  const wchar_t* description;
  const wchar_t* progId;                    // may be null
  const wchar_t* versionIndependentProgId;  // may be null
  const wchar_t* threadingModel;            // "Both", "Apartment", "Free"; null: none
  const CategoryInfo* categories;
  size_t categoryCount;
};

struct ServerInfo {
  const ClassInfo* classes;
  size_t classCount;
  const GUID* typeLib;  // LIBID of the module's TYPELIB resource; null: none
};

// A class object (IClassFactory) creating objects through `create`.
HRESULT CreateClassFactory(CreateFunction create, REFIID riid, void** ppv);

HRESULT ServerGetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID riid, void** ppv);
HRESULT ServerCanUnloadNow();
HRESULT ServerRegister(const ServerInfo& server);
HRESULT ServerUnregister(const ServerInfo& server);

// Type library registration of a module's TYPELIB resource 1.
HRESULT RegisterModuleTypeLib(const wchar_t* modulePath);
HRESULT UnregisterModuleTypeLib(const wchar_t* modulePath, const GUID* expectedLibId);

}  // namespace orb::com

// Defines DllGetClassObject, DllCanUnloadNow, DllRegisterServer and
// DllUnregisterServer over one ServerInfo.  The _GUARDED form puts `guard`
// (a statement, e.g. one that enters the module's UI-framework state for the
// call) at the start of each of them.
#define ORB_COM_SERVER_EXPORTS_GUARDED(server, guard)                                  \
  STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {                 \
    guard;                                                                             \
    return ::orb::com::ServerGetClassObject((server), clsid, riid, ppv);               \
  }                                                                                    \
  STDAPI DllCanUnloadNow() {                                                           \
    guard;                                                                             \
    return ::orb::com::ServerCanUnloadNow();                                           \
  }                                                                                    \
  STDAPI DllRegisterServer() {                                                         \
    guard;                                                                             \
    return ::orb::com::ServerRegister((server));                                       \
  }                                                                                    \
  STDAPI DllUnregisterServer() {                                                       \
    guard;                                                                             \
    return ::orb::com::ServerUnregister((server));                                     \
  }
#define ORB_COM_SERVER_EXPORTS(server) ORB_COM_SERVER_EXPORTS_GUARDED(server, (void)0)
