#include "drvcommon/TuningDlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "drvcommon/DriverLog.h"
#include "drvcommon/Text.h"
#include "drvcommon/resource.h"
#include "drvcore/dialogs.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"

namespace {

bool FrontendLocked(CDVBFrontend* frontend) {
  BOOL locked = FALSE;
  return frontend && frontend->GetState(locked, nullptr, nullptr) == 0 && locked;
}

}  // namespace

IMPLEMENT_DYNAMIC(CTuningDlg, CDialog)

BEGIN_MESSAGE_MAP(CTuningDlg, CDialog)
  ON_BN_CLICKED(IDC_TUNE_APPLY, &ThisClass::OnApplyButton)
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_CBN_SELCHANGE(IDC_TUNE_SATELLITE, &ThisClass::OnSatelliteChosen)
  ON_CBN_SELCHANGE(IDC_TUNE_TRANSPONDER, &ThisClass::OnTransponderChosen)
END_MESSAGE_MAP()

CTuningDlg::CTuningDlg(CSettings* settings, CDVBFrontend* frontend, UINT nIDTemplate, UINT timerId,
                       std::wstring* currentSatellite, CWnd* parent)
    : CDialog(nIDTemplate, parent),
      m_pSettings(settings),
      m_pFrontend(frontend),
      m_timerId(timerId),
      m_pCurrentSatellite(currentSatellite) {}

void CTuningDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TUNE_SYNC, m_sync);
  DDX_Control(pDX, IDC_TUNE_QUALITY, m_quality);
  DDX_Control(pDX, IDC_TUNE_LEVEL, m_level);
}

DWORD CTuningDlg::Capabilities() const { return m_pFrontend ? m_pFrontend->GetCapabilities() : 0; }

void CTuningDlg::Show(int id, bool show) {
  if (CWnd* w = GetDlgItem(id)) w->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CTuningDlg::Enable(int id, bool enable) {
  if (CWnd* w = GetDlgItem(id)) w->EnableWindow(enable ? TRUE : FALSE);
}

BOOL CTuningDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_sync.SetRange(0, 1);
  m_quality.SetRange(0, 100);
  m_level.SetRange(0, 100);
  SetTimer(m_timerId, 250);
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

  CComboBox satellites;
  if (satellites.SubclassDlgItem(IDC_TUNE_SATELLITE, this)) {
    AddSatelliteNames(m_pSettings->satListManager.Get(), satellites);
    satellites.UnsubclassWindow();
  }
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

void CTuningDlg::OnTimer(UINT_PTR nIDEvent) {
  Default();
  if (nIDEvent != m_timerId || !m_pFrontend) return;
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

void CTuningDlg::OnDestroy() {
  KillTimer(m_timerId);
  CDialog::OnDestroy();
}

CString CTuningDlg::ChosenSatellite() const {
  CString name;
  const int at = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_TUNE_SATELLITE, CB_GETCURSEL, 0, 0));
  if (at < 0) return name;
  const int n = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_TUNE_SATELLITE, CB_GETLBTEXTLEN, at, 0));
  if (n <= 0) return name;
  std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
  ::SendDlgItemMessageW(m_hWnd, IDC_TUNE_SATELLITE, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.c_str());
}

void CTuningDlg::OnSatelliteChosen() {
  HWND list = ::GetDlgItem(m_hWnd, IDC_TUNE_TRANSPONDER);
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  ISatListManager* manager = m_pSettings ? m_pSettings->satListManager.Get() : nullptr;
  const CString name = ChosenSatellite();
  if (!manager || name.IsEmpty()) return;
  orb::com::Bstr bname{std::wstring(name.GetString())};
  orb::com::ComPtr<ISatellite> satellite;
  if (FAILED(manager->FindSatellite(bname.Get(), satellite.Put())) || !satellite) return;
  orb::com::ComPtr<IEnumTransponders> transponders;
  if (FAILED(satellite->EnumTransponders(0, transponders.Put())) || !transponders) return;
  for (;;) {
    orb::com::ComPtr<ITransponder> t;
    ULONG fetched = 0;
    if (transponders->Next(1, t.Put(), &fetched) != S_OK || !t) break;
    long primary = 0, network = 0, stream = 0, polarization = 0;
    ULONG frequency = 0;
    if (FAILED(t->GetPrimary(&primary)) || FAILED(t->GetFrequency(&frequency)) ||
        FAILED(t->GetNetworkId(&network)) || FAILED(t->GetTransportStreamId(&stream)) ||
        FAILED(t->GetPolarization(&polarization)))
      break;
    const std::string line = drvcore::TransponderLine(
        static_cast<drvcore::u32>(network), static_cast<drvcore::u32>(stream), primary > 0,
        static_cast<drvcore::u32>(std::min<unsigned long long>(frequency * 10ull, 0xFFFFFFFFull)), polarization);
    ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
}

void CTuningDlg::OnTransponderChosen() {
  ISatListManager* manager = m_pSettings ? m_pSettings->satListManager.Get() : nullptr;
  const CString name = ChosenSatellite();
  if (!manager || name.IsEmpty()) return;
  const int at = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_TUNE_TRANSPONDER, CB_GETCURSEL, 0, 0));
  if (at < 0) return;
  char line[128] = {};
  if (::SendDlgItemMessageA(m_hWnd, IDC_TUNE_TRANSPONDER, CB_GETLBTEXTLEN, at, 0) >= static_cast<LRESULT>(sizeof line))
    return;
  ::SendDlgItemMessageA(m_hWnd, IDC_TUNE_TRANSPONDER, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(line));
  drvcore::u32 network = 0, stream = 0;
  if (!drvcore::ParseTransponderLine(line, network, stream)) return;
  orb::com::Bstr bname{std::wstring(name.GetString())};
  orb::com::ComPtr<ISatellite> satellite;
  if (FAILED(manager->FindSatellite(bname.Get(), satellite.Put())) || !satellite) return;
  orb::com::ComPtr<ITransponder> t;
  if (FAILED(satellite->FindTransponder(static_cast<long>(network), static_cast<long>(stream), t.Put())) || !t)
    return;
  ULONG frequency = 0, symbolRate = 0;
  long polarization = 0;
  if (FAILED(t->GetFrequency(&frequency)) || FAILED(t->GetSymbolRate(&symbolRate)) ||
      FAILED(t->GetPolarization(&polarization)))
    return;
  char text[24];
  std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(frequency) * 10ull);
  SetDlgItemText(IDC_TUNE_FREQUENCY, text);
  std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(symbolRate) * 100ull);
  SetDlgItemText(IDC_TUNE_SYMBOLRATE, text);
  const bool horizontal = polarization == 0 || polarization == 2;
  CheckDlgButton(IDC_TUNE_POL_H, horizontal ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_TUNE_POL_V, horizontal ? BST_UNCHECKED : BST_CHECKED);
  const std::string wanted = NarrowFromCString(name);
  int slot = -1;
  for (int i = 0; i < drvcore::kLnbSlots; ++i)
    if (m_pSettings->slots[static_cast<size_t>(i)].satellite == wanted) {
      slot = i;
      break;
    }
  ::SendDlgItemMessageW(m_hWnd, IDC_DISQ_SLOT, CB_SETCURSEL, static_cast<WPARAM>(slot), 0);
}
