#pragma once
// COrbisect3Doc: the single document.  It holds the driver's interfaces and
// the satellite list manager that its commands need; the SI store and the
// scan commands join it later.
#include "contract/driver_contract.h"
#include "orb_app/mfc.h"
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

  // The text of the lock-state pane: the driver's signal text, or
  // "STATUS UNKNOWN" when it has none.
  CString GetLockStatusText() const;

  afx_msg void OnUpdateLockStatus(CCmdUI* pCmdUI);
  afx_msg void OnDriverSelection();
  DECLARE_MESSAGE_MAP()

 private:
  IDriverControl* m_driverControl = nullptr;
  IDriverDialogs* m_driverDialogs = nullptr;
  IDriverStatus* m_driverStatus = nullptr;
  ISatListManager* m_satListManager = nullptr;
};
