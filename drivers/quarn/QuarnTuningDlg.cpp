#include "QuarnTuningDlg.h"

#include <cstdio>
#include <cstdlib>

#include "SourceGraph.h"
#include "drvcommon/DriverLog.h"
#include "drvcommon/Text.h"
#include "drvcommon/resource.h"
#include "drvcore/dialogs.h"
#include "quarnctrl.h"
#include "resource.h"

namespace quarn {

namespace {

// A cable symbol rate field value from which on it is in symbols/s.
constexpr drvcore::u32 kSymbolsPerSecondFrom = 100000;

// The controls CTuningDlgBase handles have the ids it knows.
static_assert(IDC_QT_FREQUENCY == IDC_TUNE_FREQUENCY && IDC_QT_SYMBOLRATE == IDC_TUNE_SYMBOLRATE &&
              IDC_QT_POL_H == IDC_TUNE_POL_H && IDC_QT_POL_V == IDC_TUNE_POL_V && IDC_QT_DISQ == IDC_DISQ_SLOT &&
              IDC_QT_APPLY == IDC_TUNE_APPLY && IDC_QT_SATELLITE == IDC_TUNE_SATELLITE &&
              IDC_QT_TRANSPONDER == IDC_TUNE_TRANSPONDER && IDC_QT_SYNC == IDC_TUNE_SYNC &&
              IDC_QT_QUALITY == IDC_TUNE_QUALITY && IDC_QT_LEVEL == IDC_TUNE_LEVEL);

}  // namespace

IMPLEMENT_DYNAMIC(CTuningDlg, CTuningDlgBase)

CTuningDlg::CTuningDlg(CSettings* settings, CSourceGraph* graph, const QuarnTunerCaps& caps, TunerReadBack* readBack,
                       std::wstring* currentSatellite, CWnd* parent)
    : CTuningDlgBase(IDD_QUARN_TUNING, QUARN_TUNING_TIMER, settings, currentSatellite, parent),
      m_pGraph(graph),
      m_caps(caps),
      m_pReadBack(readBack) {}

void CTuningDlg::DoDataExchange(CDataExchange* pDX) {
  CTuningDlgBase::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_QT_GUARD, m_guard);
  DDX_Control(pDX, IDC_QT_FEC, m_fec);
  DDX_Control(pDX, IDC_QT_DISQ, m_disq);
}

int CTuningDlg::TunerType() const { return static_cast<int>(m_caps.tunerType); }

void CTuningDlg::SetUpControls() {
  static const int kAll[] = {214, 201, 217, 202, 215, 205, 216, 203, 204, 208, 210, 206, 207,
                             213, 1004, 223, 220, 1078, 221, 1079, 222, 1082, 218, 211, 219, 212};
  for (int id : kAll) Enable(id, false);
  Enable(IDC_QT_STATUS, true);
  Enable(IDC_QT_SYNC_LABEL, true);
  Enable(IDC_QT_SYNC, true);
  const bool strength = (m_caps.performance >> 5) & 1, quality = (m_caps.performance >> 6) & 1;
  Enable(IDC_QT_LEVEL_LABEL, strength);
  Enable(IDC_QT_LEVEL, strength);
  Enable(IDC_QT_QUALITY_LABEL, quality);
  Enable(IDC_QT_QUALITY, quality);
  const int type = TunerType();
  if (type != -1) {
    Enable(IDC_QT_FREQUENCY_LABEL, true);
    Enable(IDC_QT_FREQUENCY, true);
  }
  if (type == 0 || type == 1) {
    Enable(IDC_QT_SYMBOLRATE_LABEL, true);
    Enable(IDC_QT_SYMBOLRATE, true);
  }
  if (type == 0) {
    for (int id : {216, 203, 204, 206, 207, 218, 211, 219, 212}) Enable(id, true);
  } else if (type == 1) {
    Enable(IDC_QT_QAM_LABEL, true);
    Enable(IDC_QT_QAM, true);
  } else if (type == 2) {
    Enable(IDC_QT_GUARD_LABEL, true);
    Enable(IDC_QT_GUARD, true);
  }
  if (type == 1) {
    for (int id : {216, 203, 204}) Show(id, false);
  } else {
    Show(IDC_QT_QAM, false);
    Show(IDC_QT_QAM_LABEL, false);
  }
  m_disq.ResetContent();
  if (m_pSettings->disqmode != drvcore::kDiseqcNone) {
    Enable(IDC_QT_DISQ_LABEL, true);
    Enable(IDC_QT_DISQ, true);
    for (const char* e : drvcore::SlotSelectorEntries(m_pSettings->disqmode)) m_disq.AddString(WideFromNarrow(e));
    m_disq.SetCurSel(0);
  }
}

void CTuningDlg::ReadBackChannel() {
  const auto tuner = m_pGraph->Tuner();
  CSettings& s = *m_pSettings;
  double mhz = 0;
  if (SUCCEEDED(tuner->GetFrequency(&mhz))) s.frequency = static_cast<drvcore::u32>(mhz * 1000 + 0.5);
  ULONG v = 0;
  switch (TunerType()) {
    case 0:
      if (SUCCEEDED(tuner->GetSymbolRate(&v))) s.symbolrate = v;
      if (SUCCEEDED(tuner->GetPolarity(&v))) s.lnbpower = v;
      if (SUCCEEDED(tuner->GetDiseqc(&v))) m_pReadBack->diseqc = v;
      if (SUCCEEDED(tuner->GetFec(&v))) s.viterbi = v;
      break;
    case 1:
      if (SUCCEEDED(tuner->GetSymbolRate(&v))) s.symbolrate = v * 1000;
      if (SUCCEEDED(tuner->GetModulation(&v))) s.qam = v;
      break;
    case 2:
      if (SUCCEEDED(tuner->GetGuardInterval(&v))) m_pReadBack->guard = v;
      break;
    default:
      break;
  }
}

void CTuningDlg::ShowValues() {
  const CSettings& s = *m_pSettings;
  char text[24];
  auto number = [&](int id, unsigned v) {
    std::snprintf(text, sizeof text, "%u", v);
    SetDlgItemText(id, text);
  };
  switch (TunerType()) {
    case 0: {
      number(IDC_QT_FREQUENCY, s.frequency);
      number(IDC_QT_SYMBOLRATE, s.symbolrate);
      CheckDlgButton(IDC_QT_POL_V, s.lnbpower == 1 ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(IDC_QT_POL_H, s.lnbpower == 0 ? BST_CHECKED : BST_UNCHECKED);
      const ULONG code = m_pReadBack->diseqc;
      const int entry = code == 0 || code == 1 || code == 3 ? 0 : code == 2 || code == 4 ? 1 : code == 5 ? 2
                        : code == 6                                                        ? 3
                                                                                           : -1;
      m_disq.SetCurSel(entry);
      m_fec.SetCurSel(s.viterbi >= 1 && s.viterbi <= 6 ? static_cast<int>(s.viterbi) - 1 : -1);
      break;
    }
    case 1:
      number(IDC_QT_FREQUENCY, s.frequency);
      number(IDC_QT_SYMBOLRATE, s.symbolrate);
      ::SendDlgItemMessageW(m_hWnd, IDC_QT_QAM, CB_SETCURSEL, s.qam >= 2 && s.qam <= 7 ? s.qam - 2 : 3, 0);
      break;
    case 2:
      number(IDC_QT_FREQUENCY, s.frequency);
      m_guard.SetCurSel(m_pReadBack->guard <= 4 ? static_cast<int>(m_pReadBack->guard) : -1);
      break;
    default:
      break;
  }
}

BOOL CTuningDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetUpSignalBars();
  const auto tuner = m_pGraph ? m_pGraph->Tuner() : orb::com::ComPtr<IQuarnMPEG2TunerCtrl2>();
  if (!tuner || !m_pSettings) return FALSE;
  StartSignalTimer();
  SetUpControls();
  const bool locked = SUCCEEDED(tuner->CheckLock());
  if (locked) ReadBackChannel();
  ShowValues();
  if (!locked) OnApply();
  ListSatellites();
  return TRUE;
}

void CTuningDlg::OnApply() {
  const auto tuner = m_pGraph ? m_pGraph->Tuner() : orb::com::ComPtr<IQuarnMPEG2TunerCtrl2>();
  if (!tuner || !m_pSettings) return;
  CSettings& s = *m_pSettings;
  switch (TunerType()) {
    case 0: {
      int index = m_disq.GetCurSel();
      if (index < 0) index = 0;
      if (index > 3) return;
      const drvcore::LnbSlot& lnb = s.slots[static_cast<size_t>(index)];
      const long long typed = drvcore::SatelliteFrequencyFromText(DlgItemTextNarrow(this, IDC_QT_FREQUENCY));
      const DWORD frequency = typed < 0 ? 0 : static_cast<DWORD>(typed);
      s.frequency = frequency;
      const drvcore::FrequencyRange range = drvcore::SatelliteRange(lnb.lof1, lnb.lof2);
      if (typed < 0 || !range.Contains(static_cast<drvcore::u64>(typed))) {
        DialogMessageBox(this, drvcore::FrequencyRangeMessage(range).c_str(), MB_OK, "Error");
        return;
      }
      const bool vertical = !IsDlgButtonChecked(IDC_QT_POL_H);
      const bool high = frequency >= lnb.switchFreq;
      const DWORD lof = high ? lnb.lof2 : lnb.lof1;
      // One DiSEqC code per slot: 1 + slot on a tone-burst switch, 3 + slot
      // on a DiSEqC 1.0 switch (the back end's SetSatellite sends the same).
      bool diseqc = true;
      ULONG code = 0;
      if (s.disqmode == drvcore::kDiseqcNone) code = 0;
      else if (s.disqmode == drvcore::kDiseqcToneBurst) code = index == 0 ? 1 : 2;
      else if (s.disqmode == drvcore::kDiseqc10) code = static_cast<ULONG>(3 + index);
      else diseqc = false;
      if (diseqc && FAILED(tuner->SetDiseqc(code))) return;
      ::Sleep(20);
      DriverLog().Log(4, "dwFrequenz=%lu", frequency);
      if (FAILED(tuner->SetFrequency(frequency))) return;
      DriverLog().Log(4, "lof/1000=%lu", lof / 1000);
      if (FAILED(tuner->SetLnbFrequency(lof / 1000))) return;
      DriverLog().Log(4, "f22=%lu", high ? 1ul : 0ul);
      if (FAILED(tuner->SetTone(high ? 1 : 0))) return;
      DriverLog().Log(4, "!pol=%lu", vertical ? 1ul : 0ul);
      if (FAILED(tuner->SetPolarity(vertical ? 1 : 0))) return;
      s.symbolrate = static_cast<drvcore::u32>(std::atoi(DlgItemTextNarrow(this, IDC_QT_SYMBOLRATE).c_str()));
      DriverLog().Log(4, "dwSymbolrate=%lu", static_cast<unsigned long>(s.symbolrate));
      if (FAILED(tuner->SetSymbolRate(s.symbolrate))) return;
      const int fec = m_fec.GetCurSel();
      const ULONG fecCode = fec >= 0 && fec <= 4 ? static_cast<ULONG>(fec + 1) : 6;
      DriverLog().Log(4, "lFec=%lu", fecCode);
      if (FAILED(tuner->SetFec(fecCode))) return;
      if (SUCCEEDED(tuner->ApplyTuning()) && SUCCEEDED(tuner->CheckLock()) && m_pCurrentSatellite) {
        const int named = s.disqmode == drvcore::kDiseqcNone ? 0 : s.disqmode == drvcore::kDiseqcToneBurst
                                                                       ? (index == 0 ? 0 : 1)
                                                                       : index;
        *m_pCurrentSatellite = drvtext::Wide(s.slots[static_cast<size_t>(named)].satellite);
      }
      return;
    }
    case 1:
    case 2: {
      const bool terrestrial = TunerType() == 2;
      const drvcore::u32 frequency = drvcore::CableFrequencyFromText(DlgItemTextNarrow(this, IDC_QT_FREQUENCY));
      const drvcore::FrequencyRange& range = terrestrial ? drvcore::kTerrestrialRange : drvcore::kCableRange;
      if (!range.Contains(frequency)) {
        DialogMessageBox(this, drvcore::FrequencyRangeMessage(range).c_str(), MB_OK, "Error");
        return;
      }
      if (FAILED(tuner->SetFrequency(frequency))) return;
      if (!terrestrial) {
        // The symbol rate goes to the tuner too: without it a cable tuner
        // keeps whatever it had.  The field holds kS/s as typed (the label's
        // unit) or symbols/s as read back from the tuner; no cable rate is
        // 100000 kS/s or more, and none in symbols/s is below that.
        s.symbolrate = static_cast<drvcore::u32>(std::atoi(DlgItemTextNarrow(this, IDC_QT_SYMBOLRATE).c_str()));
        tuner->SetSymbolRate(s.symbolrate >= kSymbolsPerSecondFrom ? s.symbolrate / 1000 : s.symbolrate);
        const int qam = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_QT_QAM, CB_GETCURSEL, 0, 0));
        const ULONG modulation = qam >= 0 && qam <= 5 ? static_cast<ULONG>(qam + 2) : 5;
        if (FAILED(tuner->SetModulation(modulation))) return;
      }
      tuner->ApplyTuning();
      return;
    }
    default:
      return;
  }
}

void CTuningDlg::OnApplyButton() { OnApply(); }

void CTuningDlg::OnOK() {
  OnApply();
  const auto tuner = m_pGraph ? m_pGraph->Tuner() : orb::com::ComPtr<IQuarnMPEG2TunerCtrl2>();
  if (tuner && SUCCEEDED(tuner->CheckLock())) EndDialog(IDOK);
}

void CTuningDlg::ShowSignal() {
  const auto tuner = m_pGraph ? m_pGraph->Tuner() : orb::com::ComPtr<IQuarnMPEG2TunerCtrl2>();
  if (!tuner) return;
  m_sync.SetPos(SUCCEEDED(tuner->CheckLock()) ? 1 : 0);
  ULONG v = 0;
  if ((m_caps.performance >> 5) & 1 && SUCCEEDED(tuner->GetSignalStrength(&v))) m_level.SetPos(static_cast<int>(v));
  if ((m_caps.performance >> 6) & 1 && SUCCEEDED(tuner->GetSignalQuality(&v))) m_quality.SetPos(static_cast<int>(v));
}

// Units of 100 symbol/s to kS/s, rounded.
std::string CTuningDlg::SymbolRateText(ULONG symbolRate) const {
  return std::to_string(static_cast<unsigned long>((symbolRate + 5) / 10));
}

}  // namespace quarn
