#pragma once
// Orbisect3.exe as the tests that start it lay it out beforehand: its
// registry key, the special folders as the program finds them, and the
// driver it binds at start with that driver's settings.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "satlistmgr.h"
#include "test_support.h"

namespace orb_test {

constexpr const wchar_t* kProgramKey = L"SOFTWARE\\Team Orbisect\\Orbisect3";

// A special folder (CSIDL_...) as the program looks it up.
inline std::string SpecialFolder(int csidl) {
  std::string path;
  orb::app::ShellFolderLookup(csidl, path);
  return path;
}

// The driver of class `clsid` ("{...}") chosen, with no settings but its
// first device's: DiSEqC 1.0 with "Astra 19E" on input A/A.
inline void LayOutDriver(const std::string& clsid) {
  const std::wstring drivers = std::wstring(kProgramKey) + L"\\drivers";
  const std::wstring device = drivers + L"\\" + std::wstring(clsid.begin(), clsid.end());
  DeleteTree(drivers.c_str());
  WriteString(kProgramKey, L"driverclsid", std::wstring(clsid.begin(), clsid.end()));
  WriteDword(device.c_str(), L"device", 0);
  WriteDword((device + L"\\0").c_str(), L"disqmode", 2);
  WriteString((device + L"\\0").c_str(), L"satellite1", L"Astra 19E");
}

// The program's satellite list file, in the all-users folder: the default
// list with `satellite` selected, changed by `adjust` before it is stored.
inline void WriteProgramSatList(const wchar_t* satellite, const std::function<void(ISatellite*)>& adjust = {}) {
  orb::com::ComPtr<ISatListManager> list;
  ASSERT_EQ(list.CoCreateInstance(CLSID_SatListManager, CLSCTX_INPROC_SERVER), S_OK);
  ASSERT_EQ(orb::app::FillDefaultSatList(list), S_OK);
  orb::com::ComPtr<ISatellite> chosen;
  orb::com::Bstr name(satellite);
  ASSERT_EQ(list->FindSatellite(name, chosen.Put()), S_OK);
  chosen->SetSelected(TRUE);
  if (adjust) {
    adjust(chosen);
    if (::testing::Test::HasFatalFailure()) return;
  }
  ASSERT_EQ(list->StoreSatellite(chosen), S_OK);
  const std::string folder = SpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orbisect 3";
  const std::wstring file = std::wstring(folder.begin(), folder.end()) + L"\\satlist.xml";
  ::CreateDirectoryW(std::wstring(folder.begin(), folder.end()).c_str(), nullptr);
  ::DeleteFileW(file.c_str());
  orb::com::Bstr path(file);
  ASSERT_EQ(list->Save(path), S_OK);
}

}  // namespace orb_test
