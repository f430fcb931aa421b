#include "orb_app/driver_binding.h"

#include <comcat.h>
#include <objbase.h>

#include <cstdio>

#include "orb_atl/bstr.h"

namespace orb::app {
namespace {

std::string Format(const char* format, unsigned long value) {
  char text[128];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

bool ListDrivers(std::vector<DriverEntry>& drivers, const MessageSink& report) {
  drivers.clear();
  com::ComPtr<ICatInformation> categories;
  HRESULT hr = categories.CoCreateInstance(CLSID_StdComponentCategoriesMgr, kCreateContext);
  if (FAILED(hr)) {
    report(Format("Failed to open CategoriesMgr: %#lx", static_cast<unsigned long>(hr)));
    return false;
  }
  CATID implemented[1] = {CATID_DvbDrivers};
  com::ComPtr<IEnumGUID> classes;
  if (FAILED(categories->EnumClassesOfCategories(1, implemented, 0, nullptr, classes.Put())) ||
      !classes)
    return true;
  CLSID clsid;
  ULONG fetched = 0;
  while (classes->Next(1, &clsid, &fetched) == S_OK) {
    com::ComPtr<IDvbDriver> driver;
    hr = driver.CoCreateInstance(clsid, kCreateContext);
    if (FAILED(hr)) {
      report(Format("Failed to create driver instance: %08lX", static_cast<unsigned long>(hr)));
      continue;
    }
    com::Bstr name;
    hr = driver->GetDriverName(name.Put());
    if (FAILED(hr)) {
      report(Format("Failed to get driver name: %08lX", static_cast<unsigned long>(hr)));
      continue;
    }
    drivers.push_back({name.ToNarrow(), clsid});
  }
  return true;
}

DriverInitStrings MakeDriverInitStrings(const AppDataPaths& paths) {
  return {paths.registryKeyPath + L"\\drivers", paths.allUsersFolder + L"\\drivers",
          paths.userFolder + L"\\drivers"};
}

HRESULT CreateDriverObject(const std::string& clsidText, const AppDataPaths& paths,
                           ISatListManager* satList, com::ComPtr<IDvbDriver>& driver,
                           com::ComPtr<IDriverControl>& control) {
  driver.Reset();
  control.Reset();
  const DriverInitStrings strings = MakeDriverInitStrings(paths);
  CLSID clsid;
  std::wstring wide = Widen(clsidText);
  if (wide.empty() || FAILED(::CLSIDFromString(wide.data(), &clsid))) return E_INVALIDARG;
  com::ComPtr<IDvbDriver> created;
  HRESULT hr = created.CoCreateInstance(clsid, kCreateContext);
  if (FAILED(hr)) return hr;
  com::ComPtr<IDriverControl> ctl;
  if (FAILED(hr = created.As(ctl))) return hr;
  com::Bstr registryRoot(strings.registryRoot);
  com::Bstr allUsers(strings.allUsersDataDir);
  com::Bstr user(strings.userDataDir);
  // A driver whose Init failed is dropped: its settings are never saved.
  if (FAILED(hr = ctl->Init(registryRoot, allUsers, user))) return hr;
  driver = std::move(created);
  control = std::move(ctl);
  return control->SetSatListMgr(satList);
}

}  // namespace orb::app
