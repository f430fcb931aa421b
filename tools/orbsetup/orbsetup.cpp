// orb-setup [name]: keeps the program's driver choice when it names a class
// that can be created; otherwise stores the first registered driver plug-in
// whose name contains `name` (any plug-in without it) as "driverclsid".
// orb-setup --prefer name: keeps any choice that names a class that can be
// created, and otherwise chooses as above (any plug-in when none has that
// name).  Prints the chosen driver's name; exit code 1 when no plug-in is
// registered.
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "orb_app/driver_binding.h"
#include "orb_common/RegistryKey.h"

int main(int argc, char** argv) {
  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  const bool prefer = argc > 2 && std::string(argv[1]) == "--prefer";
  const std::string wanted = argc > 1 ? argv[prefer ? 2 : 1] : "";
  std::vector<orb::app::DriverEntry> drivers;
  orb::app::ListDrivers(drivers, [](const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
  });

  std::string current;
  {
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, orb::app::kProgramKeyPath)) key.QueryString("driverclsid", current);
  }
  for (const orb::app::DriverEntry& d : drivers) {
    if (!current.empty() && orb::app::GuidToRegistryString(d.clsid) == current &&
        (prefer || wanted.empty() || d.name.find(wanted) != std::string::npos)) {
      std::printf("driver: %s (kept)\n", d.name.c_str());
      return 0;
    }
  }
  auto named = [&](const orb::app::DriverEntry& d) {
    return wanted.empty() || d.name.find(wanted) != std::string::npos;
  };
  const bool anyNamed = std::any_of(drivers.begin(), drivers.end(), named);
  for (const orb::app::DriverEntry& d : drivers) {
    if (!named(d) && !(prefer && !anyNamed)) continue;
    CRegistryKey key;
    if (!key.Create(HKEY_LOCAL_MACHINE, orb::app::kProgramKeyPath) ||
        !key.SetString("driverclsid", orb::app::GuidToRegistryString(d.clsid).c_str())) {
      std::fprintf(stderr, "cannot write the program's registry key\n");
      return 2;
    }
    std::printf("driver: %s\n", d.name.c_str());
    return 0;
  }
  std::fprintf(stderr, "no driver plug-in is registered%s%s\n", wanted.empty() ? "" : " named like ",
               wanted.c_str());
  return 1;
}
