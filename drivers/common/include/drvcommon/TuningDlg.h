#pragma once
// The "Tuning" dialog of the vendor-library plug-ins: a frequency and
// symbol rate typed in or taken from the satellite list, polarisation, QAM,
// bandwidth, inversion and the DiSEqC slot; Apply and OK tune the front end
// directly, and a 250 ms timer shows signal level, quality and lock.
//
// What the dialog tunes is kept in the settings record (the satellite path
// keeps frequency and symbol rate); a frequency outside the slot's LNB
// window (or the cable or terrestrial band) is refused with a message and
// nothing is sent.
#include <string>

#include "drvcommon/DialogSupport.h"
#include "drvcommon/Settings.h"

class CTuningDlg : public CDialog {
  DECLARE_DYNAMIC(CTuningDlg)

 public:
  // `currentSatellite`: the name SetSatellite compares against; the dialog
  // sets it after a satellite tune that locked.
  CTuningDlg(CSettings* settings, CDVBFrontend* frontend, UINT nIDTemplate, UINT timerId,
             std::wstring* currentSatellite, CWnd* parent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnApplyButton();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg void OnSatelliteChosen();
  afx_msg void OnTransponderChosen();
  DECLARE_MESSAGE_MAP()

  // Tunes with what the dialog shows; false when a value was refused (its
  // message shown unless `quiet`) or there is nothing to tune.
  bool OnApply(bool quiet = false);

 private:
  void SetUpControls();
  void ShowSettings();
  void Show(int id, bool show);
  void Enable(int id, bool enable);
  DWORD Capabilities() const;
  DWORD InversionFromDialog() const;
  DWORD BandwidthFromDialog();
  bool ApplySatellite(bool quiet);
  bool ApplyCable(bool terrestrial, bool quiet);
  CString ChosenSatellite() const;

  CSettings* m_pSettings;
  CDVBFrontend* m_pFrontend;
  UINT m_timerId;
  std::wstring* m_pCurrentSatellite;
  CProgressCtrl m_sync;
  CProgressCtrl m_quality;
  CProgressCtrl m_level;
};
