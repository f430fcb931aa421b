#pragma once
// The "Tuning" dialog of the vendor-library plug-ins: a frequency and
// symbol rate typed in or taken from the satellite list, polarisation, QAM,
// bandwidth, inversion and the DiSEqC slot; Apply and OK tune the front end
// directly, and a 250 ms timer shows signal level, quality and lock (see
// CTuningDlgBase for what all plug-ins' dialogs share).
//
// What the dialog tunes is kept in the settings record (the satellite path
// keeps frequency and symbol rate); a frequency outside the slot's LNB
// window (or the cable or terrestrial band) is refused with a message and
// nothing is sent.
#include <string>

#include "drvcommon/Settings.h"
#include "drvcommon/TuningDlgBase.h"

class CTuningDlg : public CTuningDlgBase {
  DECLARE_DYNAMIC(CTuningDlg)

 public:
  CTuningDlg(CSettings* settings, CDVBFrontend* frontend, UINT nIDTemplate, UINT timerId,
             std::wstring* currentSatellite, CWnd* parent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnApplyButton() override;
  void ShowSignal() override;

  // Tunes with what the dialog shows; false when a value was refused (its
  // message shown unless `quiet`) or there is nothing to tune.
  bool OnApply(bool quiet = false);

 private:
  void SetUpControls();
  void ShowSettings();
  DWORD Capabilities() const;
  DWORD InversionFromDialog() const;
  DWORD BandwidthFromDialog();
  bool ApplySatellite(bool quiet);
  bool ApplyCable(bool terrestrial, bool quiet);

  CDVBFrontend* m_pFrontend;
};
