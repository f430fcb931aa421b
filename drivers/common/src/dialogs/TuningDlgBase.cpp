#include "drvcommon/TuningDlgBase.h"

#include <algorithm>
#include <cstdio>

#include "drvcommon/Text.h"
#include "drvcommon/resource.h"
#include "drvcore/dialogs.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"

IMPLEMENT_DYNAMIC(CTuningDlgBase, CDialog)

BEGIN_MESSAGE_MAP(CTuningDlgBase, CDialog)
  ON_BN_CLICKED(IDC_TUNE_APPLY, &ThisClass::OnApplyButton)
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_CBN_SELCHANGE(IDC_TUNE_SATELLITE, &ThisClass::OnSatelliteChosen)
  ON_CBN_SELCHANGE(IDC_TUNE_TRANSPONDER, &ThisClass::OnTransponderChosen)
END_MESSAGE_MAP()

CTuningDlgBase::CTuningDlgBase(UINT nIDTemplate, UINT timerId, CSettings* settings, std::wstring* currentSatellite,
                               CWnd* parent)
    : CDialog(nIDTemplate, parent),
      m_pSettings(settings),
      m_pCurrentSatellite(currentSatellite),
      m_timerId(timerId) {}

void CTuningDlgBase::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TUNE_SYNC, m_sync);
  DDX_Control(pDX, IDC_TUNE_QUALITY, m_quality);
  DDX_Control(pDX, IDC_TUNE_LEVEL, m_level);
}

void CTuningDlgBase::Show(int id, bool show) {
  if (CWnd* w = GetDlgItem(id)) w->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CTuningDlgBase::Enable(int id, bool enable) {
  if (CWnd* w = GetDlgItem(id)) w->EnableWindow(enable ? TRUE : FALSE);
}

void CTuningDlgBase::SetUpSignalBars() {
  m_sync.SetRange(0, 1);
  m_quality.SetRange(0, 100);
  m_level.SetRange(0, 100);
}

void CTuningDlgBase::StartSignalTimer() {
  SetTimer(m_timerId, 250, nullptr);
  m_timer = true;
}

void CTuningDlgBase::ListSatellites() {
  CComboBox satellites;
  if (satellites.SubclassDlgItem(IDC_TUNE_SATELLITE, this)) {
    AddSatelliteNames(m_pSettings->satListManager.Get(), satellites);
    satellites.UnsubclassWindow();
  }
}

void CTuningDlgBase::OnTimer(UINT_PTR nIDEvent) {
  Default();
  if (nIDEvent == m_timerId) ShowSignal();
}

void CTuningDlgBase::OnDestroy() {
  if (m_timer) KillTimer(m_timerId);
  CDialog::OnDestroy();
}

CString CTuningDlgBase::ChosenSatellite() const {
  CString name;
  const int at = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_TUNE_SATELLITE, CB_GETCURSEL, 0, 0));
  if (at < 0) return name;
  const int n = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_TUNE_SATELLITE, CB_GETLBTEXTLEN, at, 0));
  if (n <= 0) return name;
  std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
  ::SendDlgItemMessageW(m_hWnd, IDC_TUNE_SATELLITE, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.c_str());
}

void CTuningDlgBase::OnSatelliteChosen() {
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

void CTuningDlgBase::OnTransponderChosen() {
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
  SetDlgItemText(IDC_TUNE_SYMBOLRATE, SymbolRateText(symbolRate).c_str());
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

std::string CTuningDlgBase::SymbolRateText(ULONG symbolRate) const {
  return std::to_string(static_cast<unsigned long long>(symbolRate) * 100ull);
}
