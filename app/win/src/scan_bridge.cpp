#include "orb_app/scan_bridge.h"

#include <objbase.h>

#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_common/RegistryKey.h"

namespace orb::app {

namespace {
constexpr const char* kSITablesValue = "sitables";
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
  return out;
}

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

scan::HResult ComSectionSource::GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                                            SectionResult* results) {
  if (!reader_) return E_POINTER;
  return reader_->GetSections(count, specs, timeoutSeconds, results);
}

void ComSectionSource::Free(void* block) { ::CoTaskMemFree(block); }

scan::HResult ComTunerControl::GetDeliveryType(std::uint16_t& type) {
  if (!control_) return E_POINTER;
  short value = 0;
  const HRESULT hr = control_->GetDeliveryType(&value);
  type = static_cast<std::uint16_t>(value);
  return hr;
}

scan::HResult ComTunerControl::SetSatellite(const std::string& satelliteName, SATDELIVERYDESC& record) {
  if (!tuner_) return E_POINTER;
  const std::wstring name = WideFromUtf8(satelliteName);
  return tuner_->SetSatellite(caller_, name.c_str(), &record);
}

scan::HResult ComTunerControl::TuneCable(CABLEDELIVERYDESC& record) {
  return tuner_ ? tuner_->TuneCable(caller_, &record) : E_POINTER;
}

scan::HResult ComTunerControl::TuneTerrestrial(TERRDELIVERYDESC& record) {
  return tuner_ ? tuner_->TuneTerrestrial(caller_, &record) : E_POINTER;
}

scan::HResult ComTunerControl::GetSatChannel(std::string& satelliteName, SATDELIVERYDESC& record) {
  if (!tuner_) return E_POINTER;
  com::Bstr name;
  const HRESULT hr = tuner_->GetSatChannel(name.Put(), &record);
  if (SUCCEEDED(hr)) satelliteName = Utf8FromWide(name.View());
  return hr;
}

scan::HResult ComTunerControl::GetCableChannel(CABLEDELIVERYDESC& record) {
  return tuner_ ? tuner_->GetCableChannel(&record) : E_POINTER;
}

scan::HResult ComTunerControl::GetTerrestrialChannel(TERRDELIVERYDESC& record) {
  return tuner_ ? tuner_->GetTerrestrialChannel(&record) : E_POINTER;
}

bool SelectedSatelliteNames(ISatListManager* manager, std::vector<std::wstring>& names) {
  if (!manager) return false;
  com::ComPtr<IEnumSatellites> satellites;
  if (FAILED(manager->EnumSatellites(1, 1, satellites.Put())) || !satellites) return false;
  for (;;) {
    com::ComPtr<ISatellite> satellite;
    ULONG fetched = 0;
    if (satellites->Next(1, satellite.Put(), &fetched) != S_OK || !satellite) break;
    com::Bstr name;
    if (SUCCEEDED(satellite->GetName(name.Put()))) names.push_back(name.Str());
  }
  return true;
}

bool ComSatelliteSource::GetSatelliteCount(long& count) {
  return manager_ && SUCCEEDED(manager_->GetSatelliteCount(&count));
}

bool ComSatelliteSource::ListSelectedSatellites(std::vector<std::string>& names) {
  std::vector<std::wstring> wide;
  if (!SelectedSatelliteNames(manager_, wide)) return false;
  for (const std::wstring& n : wide) names.push_back(Utf8FromWide(n));
  return true;
}

bool ComSatelliteSource::FindSatellite(const std::string& name) {
  if (!manager_) return false;
  com::ComPtr<ISatellite> satellite;
  com::Bstr wide(WideFromUtf8(name));
  return SUCCEEDED(manager_->FindSatellite(wide, satellite.Put())) && satellite;
}

scan::SatelliteSource::Listing ComSatelliteSource::ListPrimaryTransponders(
    const std::string& name, std::vector<scan::ListedTransponder>& transponders, long& count) {
  com::ComPtr<ISatellite> satellite;
  com::Bstr wide(WideFromUtf8(name));
  if (!manager_ || FAILED(manager_->FindSatellite(wide, satellite.Put())) || !satellite)
    return Listing::kEnumFailed;
  com::ComPtr<IEnumTransponders> list;
  if (FAILED(satellite->EnumTransponders(1, list.Put())) || !list) return Listing::kEnumFailed;
  if (FAILED(satellite->GetTransponderCount(&count))) return Listing::kCountFailed;
  for (;;) {
    com::ComPtr<ITransponder> t;
    ULONG fetched = 0;
    if (list->Next(1, t.Put(), &fetched) != S_OK || !t) break;
    ULONG frequency = 0, symbolRate = 0;
    long polarization = 0, fec = 0;
    t->GetFrequency(&frequency);
    t->GetPolarization(&polarization);
    t->GetSymbolRate(&symbolRate);
    t->GetFEC(&fec);
    scan::ListedTransponder item;
    item.frequency = frequency;
    item.polarization = static_cast<std::uint32_t>(polarization) & 0xFF;
    item.symbolRate = symbolRate;
    item.fec = static_cast<std::uint32_t>(fec) & 0xFF;
    transponders.push_back(item);
  }
  return Listing::kOk;
}

std::uint32_t ReadSITableSelection() {
  // Read access is all a question needs (a user without the right to write
  // under HKEY_LOCAL_MACHINE still gets the stored choice).
  DWORD value = scan::kNoSelectionStored;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProgramKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    DWORD stored = 0, type = 0, size = sizeof stored;
    if (::RegQueryValueExA(key, kSITablesValue, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof stored)
      value = stored;
    ::RegCloseKey(key);
  }
  return value;
}

bool IsSITableEnabled(std::uint32_t mask) { return scan::IsSelected(ReadSITableSelection(), mask); }

bool WriteSITableSelection(std::uint32_t mask) {
  CRegistryKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, kProgramKeyPath)) return false;
  return key.SetDWORD(kSITablesValue, mask & scan::kAllTableBits) != 0;
}

}  // namespace orb::app
