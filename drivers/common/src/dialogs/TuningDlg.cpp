#include "drvcommon/TuningDlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "drvcommon/DriverLog.h"
#include "drvcommon/Text.h"
#include "drvcommon/resource.h"
#include "drvcore/dialogs.h"

namespace {

bool FrontendLocked(CDVBFrontend* frontend) {
  BOOL locked = FALSE;
  return frontend && frontend->GetState(locked, nullptr, nullptr) == 0 && locked;
}

}  // namespace

IMPLEMENT_DYNAMIC(CTuningDlg, CTuningDlgBase)

CTuningDlg::CTuningDlg(CSettings* settings, CDVBFrontend* frontend, UINT nIDTemplate, UINT timerId,
                       std::wstring* currentSatellite, CWnd* parent)
    : CTuningDlgBase(nIDTemplate, timerId, settings, currentSatellite, parent), m_pFrontend(frontend) {}

DWORD CTuningDlg::Capabilities() const { return m_pFrontend ? m_pFrontend->GetCapabilities() : 0; }

BOOL CTuningDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetUpSignalBars();
  StartSignalTimer();
  if (!m_pSettings || !m_pFrontend) return TRUE;

  SetUpControls();

  // A locked front end shows where it is; otherwise the stored channel is tuned.
  BOOL locked = FALSE;
  CHANNEL_TYPE channel{};
  if (m_pFrontend->GetState(locked, nullptr, nullptr) == 0 && locked &&
      m_pFrontend->GetChannel(channel) == 0) {
    CSettings& s = *m_pSettings;
    s.frequency = channel.dwFreq;
    s.inversion = channel.Inversion;
    switch (s.frontendType) {
      case FRONTEND_TYPE_SATELLITE:
        s.symbolrate = channel.dwSymbRate;
        s.lnbpower = channel.LNB_Power;
        s.viterbi = channel.Viterbi;
        break;
      case FRONTEND_TYPE_CABLE:
        s.symbolrate = channel.dwSymbRate;
        s.qam = channel.Qam;
        s.bandwidth = channel.BandWidth;
        break;
      case FRONTEND_TYPE_TERRESTRIAL:
        s.scan = channel.bScan;
        s.bandwidth = channel.BandWidth;
        break;
      default:
        break;
    }
  }
  ShowSettings();
  // A stored channel the card cannot take (another kind of front end
  // before) is not tuned and not complained about.
  if (!locked) OnApply(true);

  ListSatellites();
  return TRUE;
}

void CTuningDlg::SetUpControls() {
  const DWORD type = m_pSettings->frontendType;
  const DWORD caps = Capabilities();
  switch (type) {
    case FRONTEND_TYPE_SATELLITE:
      Enable(IDC_TUNE_QAM, false);
      break;
    case FRONTEND_TYPE_CABLE:
      for (int id : {IDC_DISQ_SLOT, IDC_TUNE_POL_H, IDC_TUNE_POL_V}) Enable(id, false);
      break;
    case FRONTEND_TYPE_TERRESTRIAL:
      for (int id : {IDC_TUNE_SYMBOLRATE, IDC_TUNE_QAM, IDC_DISQ_SLOT, IDC_TUNE_POL_H, IDC_TUNE_POL_V})
        Enable(id, false);
      break;
    default:
      for (int id : {IDOK, IDC_TUNE_FREQUENCY, IDC_TUNE_SYMBOLRATE, IDC_TUNE_POL_H, IDC_TUNE_POL_V,
                     IDC_TUNE_QAM, IDC_TUNE_BW7, IDC_TUNE_BW8, IDC_TUNE_INVERSION, IDC_TUNE_LEVEL,
                     IDC_TUNE_QUALITY, IDC_TUNE_SYNC, IDC_TUNE_APPLY, IDC_DISQ_SLOT})
        Enable(id, false);
      break;
  }
  DWORD minimum = 0, maximum = 0;
  const bool range = m_pFrontend->GetBandwidthRange(minimum, maximum) == 0;
  if ((caps & FE_CAP_AUTO_BANDWIDTH) || (range && minimum == maximum))
    for (int id : {IDC_TUNE_BW_LABEL, IDC_TUNE_BW7, IDC_TUNE_BW8}) Show(id, false);
  if (caps & FE_CAP_AUTO_INVERSION) {
    Show(IDC_TUNE_INVERSION, false);
  } else if (type == FRONTEND_TYPE_SATELLITE || type == FRONTEND_TYPE_TERRESTRIAL) {
    Show(IDC_TUNE_QAM, false);
    Show(IDC_TUNE_QAM_LABEL, false);
  } else if (type == FRONTEND_TYPE_CABLE) {
    for (int id : {IDC_TUNE_POL_LABEL, IDC_TUNE_POL_H, IDC_TUNE_POL_V}) Show(id, false);
  }
  // The Disq list as the configuration has it.
  HWND list = ::GetDlgItem(m_hWnd, IDC_DISQ_SLOT);
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  const auto entries = drvcore::SlotSelectorEntries(m_pSettings->disqmode);
  for (const char* e : entries) ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e));
  ::SendMessageW(list, CB_SETCURSEL, 0, 0);
  if (entries.empty()) {
    Enable(IDC_DISQ_SLOT, false);
    Enable(IDC_DISQ_SLOT_LABEL, false);
  }
}

void CTuningDlg::ShowSettings() {
  const CSettings& s = *m_pSettings;
  char text[16];
  auto number = [&](int id, drvcore::u32 v) {
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(v));
    SetDlgItemText(id, text);
  };
  const bool bandwidthShown = (::GetWindowLongW(::GetDlgItem(m_hWnd, IDC_TUNE_BW7), GWL_STYLE) & WS_VISIBLE) != 0;
  auto showBandwidth = [&] {
    if (!bandwidthShown) return;
    CheckRadioButton(IDC_TUNE_BW7, IDC_TUNE_BW8, s.bandwidth == BANDWIDTH_7_MHZ ? IDC_TUNE_BW7 : IDC_TUNE_BW8);
  };
  CheckDlgButton(IDC_TUNE_INVERSION, s.inversion == INVERSION_ON ? BST_CHECKED : BST_UNCHECKED);
  switch (s.frontendType) {
    case FRONTEND_TYPE_SATELLITE:
      number(IDC_TUNE_FREQUENCY, s.frequency);
      number(IDC_TUNE_SYMBOLRATE, s.symbolrate);
      CheckDlgButton(IDC_TUNE_POL_V, s.lnbpower == 13 ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(IDC_TUNE_POL_H, s.lnbpower == 18 ? BST_CHECKED : BST_UNCHECKED);
      break;
    case FRONTEND_TYPE_CABLE:
      number(IDC_TUNE_FREQUENCY, s.frequency);
      number(IDC_TUNE_SYMBOLRATE, s.symbolrate);
      showBandwidth();
      ::SendDlgItemMessageW(m_hWnd, IDC_TUNE_QAM, CB_SETCURSEL, s.qam <= 4 ? s.qam : 2, 0);
      break;
    case FRONTEND_TYPE_TERRESTRIAL:
      number(IDC_TUNE_FREQUENCY, s.frequency);
      showBandwidth();
      break;
    default:
      break;
  }
}

DWORD CTuningDlg::InversionFromDialog() const {
  if (Capabilities() & FE_CAP_AUTO_INVERSION) return INVERSION_AUTO;
  return IsDlgButtonChecked(IDC_TUNE_INVERSION) ? INVERSION_ON : INVERSION_OFF;
}

DWORD CTuningDlg::BandwidthFromDialog() {
  if (Capabilities() & FE_CAP_AUTO_BANDWIDTH) return BANDWIDTH_AUTO;
  DWORD minimum = 0, maximum = 0;
  if (m_pFrontend->GetBandwidthRange(minimum, maximum) == 0 && minimum == maximum) return minimum;
  return IsDlgButtonChecked(IDC_TUNE_BW7) ? BANDWIDTH_7_MHZ : BANDWIDTH_8_MHZ;
}

bool CTuningDlg::OnApply(bool quiet) {
  if (!m_pSettings || !m_pFrontend) return false;
  switch (m_pSettings->frontendType) {
    case FRONTEND_TYPE_SATELLITE:
      return ApplySatellite(quiet);
    case FRONTEND_TYPE_CABLE:
      return ApplyCable(false, quiet);
    case FRONTEND_TYPE_TERRESTRIAL:
      return ApplyCable(true, quiet);
    default:
      return false;
  }
}

bool CTuningDlg::ApplySatellite(bool quiet) {
  CSettings& s = *m_pSettings;
  const auto slotIndex =
      drvcore::SlotFromSelection(static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_DISQ_SLOT, CB_GETCURSEL, 0, 0)));
  if (!slotIndex) return false;
  const int slot = *slotIndex;
  const drvcore::LnbSlot& lnb = s.slots[static_cast<size_t>(slot)];

  const long long typed = drvcore::SatelliteFrequencyFromText(DlgItemTextNarrow(this, IDC_TUNE_FREQUENCY));
  const drvcore::FrequencyRange range = drvcore::SatelliteRange(lnb.lof1, lnb.lof2);
  if (typed < 0 || !range.Contains(static_cast<drvcore::u64>(typed))) {
    if (!quiet) DialogMessageBox(this, drvcore::FrequencyRangeMessage(range).c_str(), MB_OK, "Error");
    return false;
  }
  const DWORD frequency = static_cast<DWORD>(typed);
  s.frequency = frequency;
  const bool vertical = !IsDlgButtonChecked(IDC_TUNE_POL_H);
  const bool high = frequency >= lnb.switchFreq;
  const DWORD lof = high ? lnb.lof2 : lnb.lof1;

  for (const drvcore::DiseqcSend& send : drvcore::DiseqcSequence(s.disqmode, slot, vertical, high)) {
    BYTE message[4];
    std::memcpy(message, send.message, sizeof message);
    if (m_pFrontend->SendDiSEqCMsg(message, send.length, send.burst) != 0)
      DriverLog().Log(1, "failed to send DiSEqC message");
    if (send.pauseMs) ::Sleep(send.pauseMs);
  }
  ::Sleep(drvcore::kSwitchSettleMs);

  const long long symbolRate = drvcore::SatelliteFrequencyFromText(DlgItemTextNarrow(this, IDC_TUNE_SYMBOLRATE));
  s.symbolrate = symbolRate < 0 ? 0 : static_cast<drvcore::u32>(std::min<long long>(symbolRate, 0xFFFFFFFFLL));
  CHANNEL_TYPE channel{};
  channel.dwFreq = frequency;
  channel.Inversion = InversionFromDialog();
  channel.dwSymbRate = s.symbolrate;
  channel.dwLOF = lof;
  channel.bF22kHz = high ? 1 : 0;
  channel.LNB_Power = lnb.lnbPower == 0 ? 0 : vertical ? 13 : 18;
  channel.Viterbi = 0;
  DriverLog().Log(4, "dwFreq=%lu Inversion=%d dwSymbRate=%lu dwLOF=%lu bF22kHz=%d LNB_Power=%d Viterbi=%d",
                  channel.dwFreq, static_cast<int>(channel.Inversion), channel.dwSymbRate, channel.dwLOF,
                  static_cast<int>(channel.bF22kHz), static_cast<int>(channel.LNB_Power),
                  static_cast<int>(channel.Viterbi));
  if (m_pFrontend->SetChannel(channel, 0) == 0 && FrontendLocked(m_pFrontend) && m_pCurrentSatellite) {
    const int named = s.disqmode == drvcore::kDiseqcNone ? 0 : slot;
    *m_pCurrentSatellite = drvtext::Wide(s.slots[static_cast<size_t>(named)].satellite);
  }
  return true;
}

bool CTuningDlg::ApplyCable(bool terrestrial, bool quiet) {
  const drvcore::u32 frequency = drvcore::CableFrequencyFromText(DlgItemTextNarrow(this, IDC_TUNE_FREQUENCY));
  const drvcore::FrequencyRange& range = terrestrial ? drvcore::kTerrestrialRange : drvcore::kCableRange;
  if (!range.Contains(frequency)) {
    if (!quiet) DialogMessageBox(this, drvcore::FrequencyRangeMessage(range).c_str(), MB_OK, "Error");
    return false;
  }
  CHANNEL_TYPE channel{};
  channel.dwFreq = frequency;
  channel.Inversion = InversionFromDialog();
  channel.BandWidth = BandwidthFromDialog();
  if (!terrestrial) {
    const int qam = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_TUNE_QAM, CB_GETCURSEL, 0, 0));
    channel.Qam = qam >= 0 ? static_cast<DWORD>(qam) : static_cast<DWORD>(QAM_64);
    channel.dwSymbRate = drvcore::UnsignedFromText(DlgItemTextNarrow(this, IDC_TUNE_SYMBOLRATE));
    DriverLog().Log(4, "dwFreq=%lu Inversion=%d dwSymbRate=%lu Qam=%lu BandWidth=%d", channel.dwFreq,
                    static_cast<int>(channel.Inversion), channel.dwSymbRate, channel.Qam,
                    static_cast<int>(channel.BandWidth));
  } else {
    channel.bScan = 0;
    DriverLog().Log(4, "dwFreq=%lu Inversion=%d bScan=%lu BandWidth=%d", channel.dwFreq,
                    static_cast<int>(channel.Inversion), channel.bScan, static_cast<int>(channel.BandWidth));
  }
  if (m_pFrontend->SetChannel(channel, 0) != 0) DriverLog().Log(1, "failed to set channel");
  return true;
}

void CTuningDlg::OnApplyButton() { OnApply(); }

void CTuningDlg::OnOK() {
  if (!OnApply()) return;
  if (FrontendLocked(m_pFrontend)) EndDialog(IDOK);
}

void CTuningDlg::ShowSignal() {
  if (!m_pFrontend) return;
  BOOL locked = FALSE;
  SIGNAL_TYPE signal{};
  int quality = 0;
  if (m_pFrontend->GetState(locked, &signal, nullptr) == 0) {
    quality = drvcore::SignalQuality(locked != FALSE, signal.BER);
    m_level.SetPos(static_cast<int>(signal.Level));
  } else {
    locked = FALSE;
  }
  m_quality.SetPos(quality);
  m_sync.SetPos(locked ? 1 : 0);
}
