#pragma once
// What the "Tuning" dialogs of all plug-ins share: the lock, quality and
// level bars with their 250 ms timer, the satellite and transponder lists
// taken from the satellite list (a transponder chosen fills in frequency,
// symbol rate, polarisation and the DiSEqC slot of its satellite) and the
// Apply button.  Every plug-in's template gives these controls the ids of
// drvcommon/resource.h; what is tuned, and how, is the plug-in's own.
#include <string>

#include "drvcommon/DialogSupport.h"
#include "drvcommon/Settings.h"

class CTuningDlgBase : public CDialog {
  DECLARE_DYNAMIC(CTuningDlgBase)

 protected:
  // `currentSatellite`: the name SetSatellite compares against; the dialog
  // sets it after a satellite tune that locked.
  CTuningDlgBase(UINT nIDTemplate, UINT timerId, CSettings* settings, std::wstring* currentSatellite,
                 CWnd* parent);

  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg virtual void OnApplyButton() = 0;
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg void OnSatelliteChosen();
  afx_msg void OnTransponderChosen();
  DECLARE_MESSAGE_MAP()

  // Shows lock, quality and level, at each tick of the timer.
  virtual void ShowSignal() = 0;
  // The symbol rate field's text for a transponder of the satellite list
  // (`symbolRate` in units of 100 symbols/s); here in symbols/s.
  virtual std::string SymbolRateText(ULONG symbolRate) const;

  // The ranges of the three bars.
  void SetUpSignalBars();
  // Starts the timer (killed when the dialog goes).
  void StartSignalTimer();
  // Fills the satellite list from the settings' satellite list manager.
  void ListSatellites();
  void Show(int id, bool show);
  void Enable(int id, bool enable);

  CSettings* m_pSettings;
  std::wstring* m_pCurrentSatellite;
  CProgressCtrl m_sync;
  CProgressCtrl m_quality;
  CProgressCtrl m_level;

 private:
  CString ChosenSatellite() const;

  UINT m_timerId;
  bool m_timer = false;
};
