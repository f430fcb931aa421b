#pragma once
// The scans' view of the plug-in and of the satellite list manager: the COM
// interfaces wrapped in the small interfaces of orb_scan, and the table
// selection "sitables" in the registry.
#include <windows.h>

#include <string>
#include <vector>

#include "contract/driver_contract.h"
#include "orb_atl/com_ptr.h"
#include "orb_scan/scanner.h"
#include "satlistmgr.h"

namespace orb::app {

// ISectionReader; blocks are released with CoTaskMemFree.
class ComSectionSource : public scan::SectionSource {
 public:
  explicit ComSectionSource(ISectionReader* reader) : reader_(reader) {}
  scan::HResult GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                            SectionResult* results) override;
  void Free(void* block) override;

 private:
  ISectionReader* reader_;
};

// IDriverControl::GetDeliveryType and ISetTuner.  `caller` is the window
// handed to the tune calls (only logged by the plug-ins).
class ComTunerControl : public scan::TunerControl {
 public:
  ComTunerControl(IDriverControl* control, ISetTuner* tuner, DWORD caller)
      : control_(control), tuner_(tuner), caller_(caller) {}
  scan::HResult GetDeliveryType(std::uint16_t& type) override;
  scan::HResult SetSatellite(const std::string& satelliteName, SATDELIVERYDESC& record) override;
  scan::HResult TuneCable(CABLEDELIVERYDESC& record) override;
  scan::HResult TuneTerrestrial(TERRDELIVERYDESC& record) override;
  scan::HResult GetSatChannel(std::string& satelliteName, SATDELIVERYDESC& record) override;
  scan::HResult GetCableChannel(CABLEDELIVERYDESC& record) override;
  scan::HResult GetTerrestrialChannel(TERRDELIVERYDESC& record) override;

 private:
  IDriverControl* control_;
  ISetTuner* tuner_;
  DWORD caller_;
};

// ISatListManager: the satellites marked selected and their primary transponders.
class ComSatelliteSource : public scan::SatelliteSource {
 public:
  explicit ComSatelliteSource(ISatListManager* manager) : manager_(manager) {}
  bool GetSatelliteCount(long& count) override;
  bool ListSelectedSatellites(std::vector<std::string>& names) override;
  bool FindSatellite(const std::string& name) override;
  Listing ListPrimaryTransponders(const std::string& name,
                                  std::vector<scan::ListedTransponder>& transponders,
                                  long& count) override;

 private:
  ISatListManager* manager_;
};

// Names of the satellites marked selected (EnumSatellites(1, 1)), as wide
// text; false when the list cannot be enumerated.
bool SelectedSatelliteNames(ISatListManager* manager, std::vector<std::wstring>& names);

// "sitables" under the program key: the stored mask, or 0xFFFFFFFF when the
// key does not open (all access) or the value cannot be read.
std::uint32_t ReadSITableSelection();
// IsSITableEnabled: (selection AND mask) == mask, the value read anew.
bool IsSITableEnabled(std::uint32_t mask);
// Creates the key and writes the mask; false when that fails.
bool WriteSITableSelection(std::uint32_t mask);

// UTF-8 and UTF-16 text (satellite names cross the COM boundary as BSTRs).
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

}  // namespace orb::app
