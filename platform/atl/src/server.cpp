#include "orb_atl/server.h"

#include <comcat.h>
#include <oleauto.h>

#include <vector>

#include "orb_atl/com_ptr.h"
#include "orb_atl/module.h"
#include "registry.h"

namespace orb::com {
namespace {

// COM for the length of a registration call, unless the caller has it already
// (regsvr32 has; a direct call from a program may not).
class ComScope {
 public:
  ComScope() : hr_(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

HRESULT FromWin32(LONG rc) { return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc); }

std::wstring ClsidKey(const ClassInfo& c) { return L"CLSID\\" + GuidToString(*c.clsid); }

// A ProgID key belongs to the class when its CLSID names it.
bool ProgIdNamesClass(const wchar_t* progId, const std::wstring& clsid) {
  std::wstring text;
  return reg::GetText(HKEY_CLASSES_ROOT, std::wstring(progId) + L"\\CLSID", nullptr, text) &&
         _wcsicmp(text.c_str(), clsid.c_str()) == 0;
}

HRESULT RegisterClassKeys(const ClassInfo& c, const std::wstring& modulePath, const GUID* typeLib) {
  const std::wstring clsid = GuidToString(*c.clsid);
  const std::wstring key = ClsidKey(c);
  const std::wstring description = c.description ? c.description : L"";
  LONG rc = ERROR_SUCCESS;
  auto set = [&rc](const std::wstring& path, const wchar_t* name, const std::wstring& text) {
    if (rc == ERROR_SUCCESS) rc = reg::SetText(HKEY_CLASSES_ROOT, path, name, text);
  };
  if (c.progId) {
    set(c.progId, nullptr, description);
    set(std::wstring(c.progId) + L"\\CLSID", nullptr, clsid);
  }
  if (c.versionIndependentProgId) {
    const std::wstring vi = c.versionIndependentProgId;
    set(vi, nullptr, description);
    set(vi + L"\\CLSID", nullptr, clsid);
    if (c.progId) set(vi + L"\\CurVer", nullptr, c.progId);
  }
  // The class key is written afresh, so that registering twice leaves one set.
  if (rc == ERROR_SUCCESS) rc = reg::DeleteTree(HKEY_CLASSES_ROOT, key);
  set(key, nullptr, description);
  if (c.progId) set(key + L"\\ProgID", nullptr, c.progId);
  if (c.versionIndependentProgId)
    set(key + L"\\VersionIndependentProgID", nullptr, c.versionIndependentProgId);
  set(key + L"\\InprocServer32", nullptr, modulePath);
  if (c.threadingModel) set(key + L"\\InprocServer32", L"ThreadingModel", c.threadingModel);
  if (typeLib) set(key + L"\\TypeLib", nullptr, GuidToString(*typeLib));
  return FromWin32(rc);
}

void UnregisterClassKeys(const ClassInfo& c) {
  const std::wstring clsid = GuidToString(*c.clsid);
  reg::DeleteTree(HKEY_CLASSES_ROOT, ClsidKey(c));
  if (c.progId && ProgIdNamesClass(c.progId, clsid)) reg::DeleteTree(HKEY_CLASSES_ROOT, c.progId);
  if (c.versionIndependentProgId && ProgIdNamesClass(c.versionIndependentProgId, clsid))
    reg::DeleteTree(HKEY_CLASSES_ROOT, c.versionIndependentProgId);
}

HRESULT RegisterCategories(const ClassInfo& c) {
  if (c.categoryCount == 0) return S_OK;
  ComPtr<ICatRegister> cats;
  HRESULT hr = ::CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICatRegister, cats.PutVoid());
  if (FAILED(hr)) return hr;
  std::vector<CATEGORYINFO> infos;
  std::vector<CATID> ids;
  for (size_t i = 0; i < c.categoryCount; ++i) {
    CATEGORYINFO info = {};
    info.catid = *c.categories[i].id;
    info.lcid = 0x409;
    lstrcpynW(info.szDescription, c.categories[i].description ? c.categories[i].description : L"",
              static_cast<int>(sizeof(info.szDescription) / sizeof(wchar_t)));
    infos.push_back(info);
    ids.push_back(*c.categories[i].id);
  }
  hr = cats->RegisterCategories(static_cast<ULONG>(infos.size()), infos.data());
  if (SUCCEEDED(hr))
    hr = cats->RegisterClassImplCategories(*c.clsid, static_cast<ULONG>(ids.size()), ids.data());
  return hr;
}

void UnregisterCategories(const ClassInfo& c) {
  if (c.categoryCount == 0) return;
  ComPtr<ICatRegister> cats;
  if (FAILED(::CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICatRegister, cats.PutVoid())))
    return;
  std::vector<CATID> ids;
  for (size_t i = 0; i < c.categoryCount; ++i) ids.push_back(*c.categories[i].id);
  cats->UnRegisterClassImplCategories(*c.clsid, static_cast<ULONG>(ids.size()), ids.data());
}

}  // namespace

HRESULT RegisterModuleTypeLib(const wchar_t* modulePath) {
  ComPtr<ITypeLib> lib;
  HRESULT hr = ::LoadTypeLibEx(modulePath, REGKIND_NONE, lib.Put());
  if (FAILED(hr)) return hr;
  // The module path doubles as the help folder's stand-in: none.
  return ::RegisterTypeLib(lib, const_cast<LPOLESTR>(modulePath), nullptr);
}

HRESULT UnregisterModuleTypeLib(const wchar_t* modulePath, const GUID* expectedLibId) {
  const std::wstring key =
      expectedLibId ? L"TypeLib\\" + GuidToString(*expectedLibId) : std::wstring();
  if (expectedLibId && !reg::KeyExists(HKEY_CLASSES_ROOT, key)) return S_OK;  // not registered
  ComPtr<ITypeLib> lib;
  HRESULT hr = ::LoadTypeLibEx(modulePath, REGKIND_NONE, lib.Put());
  if (SUCCEEDED(hr)) {
    TLIBATTR* attr = nullptr;
    hr = lib->GetLibAttr(&attr);
    if (SUCCEEDED(hr)) {
      hr = ::UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                               attr->syskind);
      lib->ReleaseTLibAttr(attr);
    }
  }
  // Without a loadable library (or when the system could not remove it) the
  // library key goes whole, so that no stale path stays registered.
  if (expectedLibId && reg::KeyExists(HKEY_CLASSES_ROOT, key))
    hr = FromWin32(reg::DeleteTree(HKEY_CLASSES_ROOT, key));
  return hr;
}

HRESULT ServerRegister(const ServerInfo& server) {
  ComScope com;
  const std::wstring path = ThisModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(::GetLastError());
  HRESULT hr = S_OK;
  for (size_t i = 0; i < server.classCount && SUCCEEDED(hr); ++i)
    hr = RegisterClassKeys(server.classes[i], path, server.typeLib);
  if (SUCCEEDED(hr) && server.typeLib) hr = RegisterModuleTypeLib(path.c_str());
  for (size_t i = 0; i < server.classCount && SUCCEEDED(hr); ++i)
    hr = RegisterCategories(server.classes[i]);
  if (FAILED(hr)) ServerUnregister(server);  // leave nothing half registered
  return hr;
}

HRESULT ServerUnregister(const ServerInfo& server) {
  ComScope com;
  const std::wstring path = ThisModulePath();
  for (size_t i = 0; i < server.classCount; ++i) UnregisterCategories(server.classes[i]);
  HRESULT hr = S_OK;
  if (server.typeLib && !path.empty()) hr = UnregisterModuleTypeLib(path.c_str(), server.typeLib);
  for (size_t i = 0; i < server.classCount; ++i) UnregisterClassKeys(server.classes[i]);
  return hr;
}

}  // namespace orb::com
