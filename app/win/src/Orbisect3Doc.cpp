#include "orb_app/Orbisect3Doc.h"

#include "orb_app/DriverSelectDlg.h"
#include "orb_app/Orbisect3App.h"
#include "orb_atl/bstr.h"
#include "orb_app/program.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(COrbisect3Doc, CDocument)

BEGIN_MESSAGE_MAP(COrbisect3Doc, CDocument)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_LOCK, &COrbisect3Doc::OnUpdateLockStatus)
  ON_COMMAND(ID_DEVICE_DRIVER_SELECTION, &COrbisect3Doc::OnDriverSelection)
END_MESSAGE_MAP()

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
