#include "orb_app/Orbisect3Doc.h"

#include <shellapi.h>

#include <cstdio>

#include "orb_app/DatabaseExportDlg.h"
#include "orb_app/DriverSelectDlg.h"
#include "orb_app/Orbisect3App.h"
#include "orb_app/SIReadingDlg.h"
#include "orb_app/SITablesDlg.h"
#include "orb_app/SatListDlgs.h"
#include "orb_app/program.h"
#include "orb_atl/bstr.h"
#include "orb_scan/si_tables.h"
#include "resource.h"
#include "ui_win/TransponderPanes.h"

IMPLEMENT_DYNCREATE(COrbisect3Doc, CDocument)

BEGIN_MESSAGE_MAP(COrbisect3Doc, CDocument)
  ON_COMMAND(ID_SCAN_CURRENT_TRANSPONDER, &COrbisect3Doc::OnScanCurrentTransponder)
  ON_COMMAND(ID_SCAN_CURRENT_NIT, &COrbisect3Doc::OnScanCurrentNIT)
  ON_COMMAND(ID_SCAN_SINGLE_SATELLITE, &COrbisect3Doc::OnScanSingleSatellite)
  ON_COMMAND(ID_SCAN_ALL_SATELLITES, &COrbisect3Doc::OnScanAllSatellites)
  ON_UPDATE_COMMAND_UI(ID_SCAN_CURRENT_TRANSPONDER, &COrbisect3Doc::OnUpdateNeedsLock)
  ON_UPDATE_COMMAND_UI(ID_SCAN_CURRENT_NIT, &COrbisect3Doc::OnUpdateNeedsLock)
  ON_UPDATE_COMMAND_UI(ID_SCAN_SINGLE_SATELLITE, &COrbisect3Doc::OnUpdateNeedsSatellite)
  ON_UPDATE_COMMAND_UI(ID_SCAN_ALL_SATELLITES, &COrbisect3Doc::OnUpdateNeedsSatellite)
  ON_COMMAND(ID_ACTION_SI_TABLES, &COrbisect3Doc::OnSITables)
  ON_COMMAND(ID_ACTION_STREAMING, &COrbisect3Doc::OnStreamingToFile)
  ON_COMMAND(ID_OPTIONS_GENERAL, &COrbisect3Doc::OnGeneralSettings)
  ON_COMMAND(ID_OPTIONS_SI_TABLES, &COrbisect3Doc::OnOptionsSITables)
  ON_COMMAND(ID_OPTIONS_SATLIST, &COrbisect3Doc::OnSatelliteListManager)
  ON_UPDATE_COMMAND_UI(ID_OPTIONS_SATLIST, &COrbisect3Doc::OnUpdateNeedsSatellite)
  ON_COMMAND(ID_DEVICE_SETTINGS, &COrbisect3Doc::OnDeviceSettings)
  ON_COMMAND(ID_DEVICE_TUNING, &COrbisect3Doc::OnDeviceTuning)
  ON_UPDATE_COMMAND_UI(ID_DEVICE_SETTINGS, &COrbisect3Doc::OnUpdateNeedsDriverDialogs)
  ON_UPDATE_COMMAND_UI(ID_DEVICE_TUNING, &COrbisect3Doc::OnUpdateNeedsDriverDialogs)
  ON_COMMAND(ID_DEVICE_DRIVER_SELECTION, &COrbisect3Doc::OnDriverSelection)
  ON_COMMAND(ID_HELP_HOMEPAGE, &COrbisect3Doc::OnHomepage)
  ON_COMMAND(ID_HELP_EMAIL, &COrbisect3Doc::OnEmailAuthor)
  ON_COMMAND(ID_HELP_CHECK_UPDATES, &COrbisect3Doc::OnCheckForUpdates)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_LOCK, &COrbisect3Doc::OnUpdateLockStatus)
  ON_COMMAND(ID_FILE_DATABASE_EXPORT, &COrbisect3Doc::OnDatabaseExport)
  ON_UPDATE_COMMAND_UI(ID_FILE_DATABASE_EXPORT, &COrbisect3Doc::OnUpdateNeedsSatellite)
END_MESSAGE_MAP()

namespace {

HWND MainWindowHandle() {
  CWnd* main = AfxGetMainWnd();
  return main ? main->m_hWnd : nullptr;
}

void OpenLink(const std::string& target) {
  const std::string quoted = "\"" + target + "\"";
  ::ShellExecuteA(nullptr, "open", quoted.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
}

}  // namespace

namespace orb::app {

std::string UpdateCheckTarget(unsigned buildNumber) {
  char text[512];
  std::snprintf(text, sizeof text, "http://www.orbisect.example/updates.php?PID=%d&BUILD=%d", 100,
                static_cast<int>(buildNumber));
  return text;
}
std::string HomepageTarget() { return "http://www.orbisect.example/orbsec.php"; }
std::string EmailTarget() { return "mailto:author@orbisect.example"; }

}  // namespace orb::app

COrbisect3Doc::COrbisect3Doc() {
  COrbisect3App* app = GetOrbisect3App();
  if (!app) return;
  if (IDvbDriver* driver = app->GetDriver())
    driver->QueryInterface(IID_IDriverControl, reinterpret_cast<void**>(&m_driverControl));
  if (m_driverControl) {
    m_driverControl->QueryInterface(IID_IDriverDialogs, reinterpret_cast<void**>(&m_driverDialogs));
    m_driverControl->QueryInterface(IID_IDriverStatus, reinterpret_cast<void**>(&m_driverStatus));
  }
  if (ISatListManager* manager = app->GetSatListManager())
    manager->QueryInterface(IID_ISatListManager, reinterpret_cast<void**>(&m_satListManager));
}

COrbisect3Doc::~COrbisect3Doc() {
  m_networks.clear();
  if (m_driverControl) m_driverControl->Release();
  if (m_driverDialogs) m_driverDialogs->Release();
  if (m_driverStatus) m_driverStatus->Release();
  if (m_satListManager) m_satListManager->Release();
}

CString COrbisect3Doc::GetLockStatusText() const {
  CString text("STATUS UNKNOWN");
  orb::com::Bstr signal;
  if (m_driverStatus && SUCCEEDED(m_driverStatus->GetSignalText(signal.Put())))
    text = signal.ToNarrow().c_str();
  return text;
}

bool COrbisect3Doc::IsTunerLocked() const {
  BOOL locked = FALSE;
  return m_driverStatus && SUCCEEDED(m_driverStatus->GetLockState(&locked)) && locked;
}

bool COrbisect3Doc::IsSatelliteDriver() const {
  short type = 0;
  return m_driverControl && SUCCEEDED(m_driverControl->GetDeliveryType(&type)) &&
         type == DELIVERY_SATELLITE;
}

void COrbisect3Doc::RunScanCommand(UINT mode) {
  CTransponderTableListPaneWnd* tree = GetTreePaneWnd();
  auto clearTree = [tree] {
    if (tree) tree->ClearTree();
  };
  if (!m_networks.empty()) {
    const int answer = AfxMessageBox(IDS_KEEP_DATA, MB_YESNOCANCEL | MB_ICONQUESTION);
    const orb::scan::KeepAnswer keep = answer == IDYES  ? orb::scan::KeepAnswer::kYes
                                       : answer == IDNO ? orb::scan::KeepAnswer::kNo
                                                        : orb::scan::KeepAnswer::kCancel;
    if (!orb::scan::PrepareStoreForScan(m_networks, keep, clearTree)) return;
  }
  clearTree();
  IDvbDriver* driver = nullptr;
  if (m_driverControl) m_driverControl->QueryInterface(IID_IDvbDriver, reinterpret_cast<void**>(&driver));
  {
    // The dialog joins its worker before it ends: the store is the GUI's
    // again once DoModal returns.
    CSIReadingDlg dlg(m_networks, mode, driver);
    if (dlg.DoModal() == IDOK) RebuildTree(m_networks);
  }
  if (driver) driver->Release();
}

void COrbisect3Doc::OnScanCurrentTransponder() { RunScanCommand(orb::scan::SCAN_CURRENT_TRANSPONDER); }
void COrbisect3Doc::OnScanCurrentNIT() { RunScanCommand(orb::scan::SCAN_CURRENT_NIT); }
void COrbisect3Doc::OnScanSingleSatellite() { RunScanCommand(orb::scan::SCAN_SINGLE_SATELLITE); }
void COrbisect3Doc::OnScanAllSatellites() { RunScanCommand(orb::scan::SCAN_ALL_SATELLITES); }

void COrbisect3Doc::OnUpdateNeedsLock(CCmdUI* pCmdUI) { pCmdUI->Enable(IsTunerLocked()); }
void COrbisect3Doc::OnUpdateNeedsSatellite(CCmdUI* pCmdUI) { pCmdUI->Enable(IsSatelliteDriver()); }
void COrbisect3Doc::OnUpdateNeedsDriverDialogs(CCmdUI* pCmdUI) { pCmdUI->Enable(m_driverDialogs != nullptr); }

void COrbisect3Doc::OnSITables() {
  CSITablesDlg dlg;
  dlg.DoModal();
}

void COrbisect3Doc::OnStreamingToFile() {
  if (m_driverDialogs) m_driverDialogs->ShowStreaming(MainWindowHandle());
}

void COrbisect3Doc::OnGeneralSettings() {}
void COrbisect3Doc::OnOptionsSITables() {}

void COrbisect3Doc::OnSatelliteListManager() {
  CSatListManagerDlg dlg(m_satListManager);
  dlg.DoModal();
}

void COrbisect3Doc::OnDeviceSettings() {
  if (m_driverDialogs) m_driverDialogs->ShowConfiguration(MainWindowHandle());
}

void COrbisect3Doc::OnDeviceTuning() {
  if (m_driverDialogs) m_driverDialogs->ShowTuningDialog(MainWindowHandle());
}

void COrbisect3Doc::OnHomepage() { OpenLink(orb::app::HomepageTarget()); }
void COrbisect3Doc::OnEmailAuthor() { OpenLink(orb::app::EmailTarget()); }
void COrbisect3Doc::OnCheckForUpdates() {
  COrbisect3App* app = GetOrbisect3App();
  OpenLink(orb::app::UpdateCheckTarget(app ? app->GetBuildNumber() : 0));
}

void COrbisect3Doc::OnUpdateLockStatus(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetText(GetLockStatusText());
}

void COrbisect3Doc::OnDriverSelection() {
  CDriverSelectDlg dlg;
  if (dlg.DoModal() == IDOK) {
    orb::app::StoreDriverChoice(dlg.GetChosenClsid());
    AfxMessageBox(IDS_RESTART_NEEDED);
  }
}

void COrbisect3Doc::OnDatabaseExport() {
  CDatabaseExportDlg dlg(&m_networks, nullptr);
  dlg.DoModal();
}
