#pragma once
// CSettings: the settings record of a vendor-library plug-in, shared by its
// driver core and its dialogs, which edit it in place.  The stored values
// and their registry layout are drvcore::Settings (drvcore/settings.h); the
// record adds what is not stored: the front end and the satellite list
// manager (a counted reference, released with the record).
#include <windows.h>

#include "drvcore/settings.h"
#include "dvbacc/dvbacc.h"
#include "orb_atl/com_ptr.h"
#include "satlistmgr.h"

class CRegistryKey;

class CSettings : public drvcore::Settings {
 public:
  CSettings() = default;
  CSettings(const CSettings&) = delete;
  CSettings& operator=(const CSettings&) = delete;

  // Defaults, then every value of the device key (a key that is not open
  // leaves the defaults); points the record at the front end.
  void Load(CRegistryKey& deviceKey, CDVBFrontend* frontend);
  // Writes every stored value into the key; false when a write failed.
  bool Write(CRegistryKey& deviceKey) const;

  CDVBFrontend* frontend = nullptr;
  orb::com::ComPtr<ISatListManager> satListManager;
};
