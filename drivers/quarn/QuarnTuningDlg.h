#pragma once
// Quarn's "Tuning" dialog: a frequency and symbol rate typed in or taken
// from the satellite list, polarisation, QAM, FEC and the DiSEqC slot;
// Apply and OK tune through the source filter's tuner control by the
// tuner's type, and a 250 ms timer shows lock, signal level and quality.
//
// The tuner control is fetched from the plug-in's graph at each use, so a
// graph rebuilt meanwhile (by a streaming page) is the one tuned.  Without a
// tuner control the dialog shows nothing, Apply does nothing and only
// Cancel closes it.
#include "drvcommon/DialogSupport.h"
#include "drvcommon/Settings.h"

#include <string>

class CSourceGraph;
struct QuarnTunerCaps;

namespace quarn {

// What the dialog reads back from the tuner but the registry never keeps.
struct TunerReadBack {
  ULONG diseqc = 0xFFFFFFFF;  // unknown: no Disq selection
  ULONG guard = 0xFFFFFFFF;   // unknown: no guard interval selection
};

class CTuningDlg : public CDialog {
  DECLARE_DYNAMIC(CTuningDlg)

 public:
  CTuningDlg(CSettings* settings, CSourceGraph* graph, const QuarnTunerCaps& caps, TunerReadBack* readBack,
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

  void OnApply();

 private:
  void SetUpControls();
  void ReadBackChannel();
  void ShowValues();
  void Enable(int id, bool enable);
  void Show(int id, bool show);
  CString ChosenSatellite() const;
  int TunerType() const;

  CSettings* m_pSettings;
  CSourceGraph* m_pGraph;
  const QuarnTunerCaps& m_caps;
  TunerReadBack* m_pReadBack;
  std::wstring* m_pCurrentSatellite;
  bool m_timer = false;
  CComboBox m_guard;
  CComboBox m_fec;
  CComboBox m_disq;
  CProgressCtrl m_sync;
  CProgressCtrl m_quality;
  CProgressCtrl m_level;
};

}  // namespace quarn
