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
//
// The signal bars, the satellite and transponder lists and the Apply button
// are those of every plug-in's dialog (CTuningDlgBase); a transponder from
// the list shows its symbol rate in kS/s, the unit of this dialog's field.
#include <string>

#include "drvcommon/TuningDlgBase.h"

class CSourceGraph;
struct QuarnTunerCaps;

namespace quarn {

// What the dialog reads back from the tuner but the registry never keeps.
struct TunerReadBack {
  ULONG diseqc = 0xFFFFFFFF;  // unknown: no Disq selection
  ULONG guard = 0xFFFFFFFF;   // unknown: no guard interval selection
};

class CTuningDlg : public CTuningDlgBase {
  DECLARE_DYNAMIC(CTuningDlg)

 public:
  CTuningDlg(CSettings* settings, CSourceGraph* graph, const QuarnTunerCaps& caps, TunerReadBack* readBack,
             std::wstring* currentSatellite, CWnd* parent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnApplyButton() override;
  void ShowSignal() override;
  std::string SymbolRateText(ULONG symbolRate) const override;

  void OnApply();

 private:
  void SetUpControls();
  void ReadBackChannel();
  void ShowValues();
  int TunerType() const;

  CSourceGraph* m_pGraph;
  const QuarnTunerCaps& m_caps;
  TunerReadBack* m_pReadBack;
  CComboBox m_guard;
  CComboBox m_fec;
  CComboBox m_disq;
};

}  // namespace quarn
