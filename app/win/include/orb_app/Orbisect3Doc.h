#pragma once
// COrbisect3Doc: the single document.  It owns the SI store (every network
// read so far) and holds the driver's interfaces and the satellite list
// manager that its commands need: the four scans, the driver's own dialogs,
// the SI table selection, the satellite list, the driver selection, the web
// links and the lock-state pane.  Nothing is saved or loaded: the store
// lives while the program runs.
#include "contract/driver_contract.h"
#include "orb_app/mfc.h"
#include "orb_store/si_store.h"
#include "satlistmgr.h"

class COrbisect3Doc : public CDocument {
 protected:
  COrbisect3Doc();
  DECLARE_DYNCREATE(COrbisect3Doc)

 public:
  ~COrbisect3Doc() override;

  IDriverControl* GetDriverControl() const { return m_driverControl; }
  IDriverDialogs* GetDriverDialogs() const { return m_driverDialogs; }
  IDriverStatus* GetDriverStatus() const { return m_driverStatus; }
  ISatListManager* GetSatListManager() const { return m_satListManager; }

  // The SI store: every network read so far.  Written only by a scan's
  // worker while the scan dialog is modal; read by the tree, the value pane
  // and the export otherwise.
  lib13818::NetworkMap& GetNetworks() { return m_networks; }
  const lib13818::NetworkMap& GetNetworks() const { return m_networks; }

  // The text of the lock-state pane: the driver's signal text, or
  // "STATUS UNKNOWN" when it has none.
  CString GetLockStatusText() const;

  // A scan command: the keep-data question when the store holds data, the
  // tree emptied, the "SI Reading" dialog of `mode`, the tree rebuilt when
  // it ends with OK.
  void RunScanCommand(UINT mode);

  // Whether the tuner reports lock; whether the driver is a satellite one.
  bool IsTunerLocked() const;
  bool IsSatelliteDriver() const;

  afx_msg void OnScanCurrentTransponder();
  afx_msg void OnScanCurrentNIT();
  afx_msg void OnScanSingleSatellite();
  afx_msg void OnScanAllSatellites();
  afx_msg void OnUpdateNeedsLock(CCmdUI* pCmdUI);
  afx_msg void OnUpdateNeedsSatellite(CCmdUI* pCmdUI);
  afx_msg void OnSITables();
  afx_msg void OnStreamingToFile();
  afx_msg void OnGeneralSettings();
  afx_msg void OnOptionsSITables();
  afx_msg void OnSatelliteListManager();
  afx_msg void OnDeviceSettings();
  afx_msg void OnDeviceTuning();
  afx_msg void OnUpdateNeedsDriverDialogs(CCmdUI* pCmdUI);
  afx_msg void OnHomepage();
  afx_msg void OnEmailAuthor();
  afx_msg void OnCheckForUpdates();
  afx_msg void OnUpdateLockStatus(CCmdUI* pCmdUI);
  afx_msg void OnDriverSelection();
  afx_msg void OnDatabaseExport();
  DECLARE_MESSAGE_MAP()

 private:
  IDriverControl* m_driverControl = nullptr;
  IDriverDialogs* m_driverDialogs = nullptr;
  IDriverStatus* m_driverStatus = nullptr;
  ISatListManager* m_satListManager = nullptr;
  lib13818::NetworkMap m_networks;
};

// The targets of the three Help links.
namespace orb::app {
std::string UpdateCheckTarget(unsigned buildNumber);
std::string HomepageTarget();
std::string EmailTarget();
}  // namespace orb::app
