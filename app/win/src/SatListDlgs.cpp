#include "orb_app/SatListDlgs.h"

#include "orb_app/scan_bridge.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "orb_scan/satlist_text.h"
#include "resource.h"

using orb::com::Bstr;
using orb::com::ComPtr;

namespace {

std::wstring WindowTextOf(HWND hwnd) {
  const int n = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
  ::GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

std::wstring LineOf(HWND list, int index) {
  const LRESULT n = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------
// CSatListManagerDlg

BEGIN_MESSAGE_MAP(CSatListManagerDlg, CDialog)
  ON_BN_CLICKED(IDC_SATLIST_ADD, &CSatListManagerDlg::OnAddSatellite)
  ON_BN_CLICKED(IDC_SATLIST_DELETE, &CSatListManagerDlg::OnDeleteSatellite)
  ON_BN_CLICKED(IDC_SATLIST_SELECT, &CSatListManagerDlg::OnSelectSatellites)
  ON_BN_CLICKED(IDC_SATLIST_DESELECT, &CSatListManagerDlg::OnDeselectSatellites)
  ON_LBN_DBLCLK(IDC_SATLIST_AVAILABLE, &CSatListManagerDlg::OnDblClkAvailable)
END_MESSAGE_MAP()

CSatListManagerDlg::CSatListManagerDlg(ISatListManager*& manager, CWnd* parent)
    : CDialog(IDD, parent), m_manager(manager) {}

void CSatListManagerDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SATLIST_NAME, m_name);
  DDX_Control(pDX, IDC_SATLIST_SELECTED, m_selected);
  DDX_Control(pDX, IDC_SATLIST_AVAILABLE, m_available);
}

BOOL CSatListManagerDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  FillLists();
  return TRUE;
}

void CSatListManagerDlg::FillLists() {
  m_selected.ResetContent();
  m_available.ResetContent();
  if (!m_manager) return;
  ComPtr<IEnumSatellites> satellites;
  if (FAILED(m_manager->EnumSatellites(1, 0, satellites.Put())) || !satellites) return;
  for (;;) {
    ComPtr<ISatellite> satellite;
    ULONG fetched = 0;
    if (satellites->Next(1, satellite.Put(), &fetched) != S_OK || !satellite) break;
    BOOL selected = FALSE;
    Bstr name;
    if (FAILED(satellite->GetSelected(&selected)) || FAILED(satellite->GetName(name.Put()))) break;
    const std::wstring text = name.Str();
    ::SendMessageW((selected ? m_selected : m_available).m_hWnd, LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(text.c_str()));
  }
}

std::vector<std::wstring> CSatListManagerDlg::MarkedLines(CListBox& list) {
  std::vector<std::wstring> lines;
  const int count = list.GetCount();
  for (int i = 0; i < count; ++i)
    if (list.GetSel(i) > 0) lines.push_back(LineOf(list.m_hWnd, i));
  return lines;
}

void CSatListManagerDlg::OnAddSatellite() {
  const std::wstring name = WindowTextOf(m_name.m_hWnd);
  if (name.empty() || !m_manager) return;
  ComPtr<ISatellite> satellite;
  Bstr text(name);
  if (SUCCEEDED(m_manager->CreateSatellite(text, satellite.Put())) && satellite) {
    satellite->SetSelected(FALSE);
    if (SUCCEEDED(satellite->SetUserAdded(1))) m_manager->StoreSatellite(satellite);
  }
  FillLists();
}

void CSatListManagerDlg::OnDeleteSatellite() {
  if (!m_manager) return;
  for (const std::wstring& name : MarkedLines(m_available)) {
    Bstr text(name);
    m_manager->DeleteSatellite(text);
  }
  FillLists();
}

void CSatListManagerDlg::SetSelected(CListBox& list, BOOL selected) {
  if (!m_manager) return;
  for (const std::wstring& name : MarkedLines(list)) {
    ComPtr<ISatellite> satellite;
    Bstr text(name);
    if (FAILED(m_manager->FindSatellite(text, satellite.Put())) || !satellite) continue;
    if (SUCCEEDED(satellite->SetSelected(selected))) m_manager->StoreSatellite(satellite);
  }
  FillLists();
}

void CSatListManagerDlg::OnSelectSatellites() { SetSelected(m_available, TRUE); }
void CSatListManagerDlg::OnDeselectSatellites() { SetSelected(m_selected, FALSE); }

void CSatListManagerDlg::OnDblClkAvailable() {
  const int caret = m_available.GetCaretIndex();
  if (caret < 0 || !m_manager) return;
  const std::wstring name = LineOf(m_available.m_hWnd, caret);
  if (name.empty()) return;
  ISatellite* satellite = nullptr;
  Bstr text(name);
  if (FAILED(m_manager->FindSatellite(text, &satellite)) || !satellite) return;
  {
    CTransponderListDlg dlg(satellite, m_manager, this);
    dlg.DoModal();
  }
  satellite->Release();
}

// ---------------------------------------------------------------------------
// CTransponderListDlg

BEGIN_MESSAGE_MAP(CTransponderListDlg, CDialog)
  ON_BN_CLICKED(IDC_TPLIST_DELETE, &CTransponderListDlg::OnDelete)
  ON_BN_CLICKED(IDC_TPLIST_ADD, &CTransponderListDlg::OnAdd)
  ON_BN_CLICKED(IDC_TPLIST_NIT_UPDATE, &CTransponderListDlg::OnNitUpdate)
END_MESSAGE_MAP()

CTransponderListDlg::CTransponderListDlg(ISatellite*& satellite, ISatListManager*& manager, CWnd* parent)
    : CDialog(IDD, parent), m_satellite(satellite), m_manager(manager) {}

void CTransponderListDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TPLIST_LIST, m_transponders);
}

BOOL CTransponderListDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  for (const wchar_t* p : {L"H", L"V", L"L", L"R"})
    ::SendDlgItemMessageW(m_hWnd, IDC_TPLIST_POLARIZATION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p));
  for (const wchar_t* f : {L"not defined", L"1/2", L"2/3", L"3/4", L"5/6", L"7/8", L"8/9", L"no coding"})
    ::SendDlgItemMessageW(m_hWnd, IDC_TPLIST_FEC, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f));
  // The lists of choices start on their first entry, so that Add never
  // stores "no selection".
  ::SendDlgItemMessageW(m_hWnd, IDC_TPLIST_POLARIZATION, CB_SETCURSEL, 0, 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_TPLIST_FEC, CB_SETCURSEL, 0, 0);
  Bstr name;
  if (m_satellite && SUCCEEDED(m_satellite->GetName(name.Put())))
    ::SetDlgItemTextW(m_hWnd, IDC_TPLIST_SATELLITE, name.Str().c_str());
  FillTransponderList();
  return TRUE;
}

void CTransponderListDlg::FillTransponderList() {
  m_transponders.ResetContent();
  if (!m_satellite) return;
  ComPtr<IEnumTransponders> list;
  if (FAILED(m_satellite->EnumTransponders(0, list.Put())) || !list) return;
  for (;;) {
    ComPtr<ITransponder> t;
    ULONG fetched = 0;
    if (list->Next(1, t.Put(), &fetched) != S_OK || !t) break;
    long primary = 0, tsid = 0, nid = 0, polarization = 0;
    ULONG frequency = 0;
    if (FAILED(t->GetPrimary(&primary)) || FAILED(t->GetFrequency(&frequency)) ||
        FAILED(t->GetTransportStreamId(&tsid)) || FAILED(t->GetNetworkId(&nid)) ||
        FAILED(t->GetPolarization(&polarization)))
      break;
    const std::string line = orb::scan::TransponderLine(nid, tsid, primary, frequency, polarization);
    ::SendMessageA(m_transponders.m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
}

void CTransponderListDlg::OnDelete() {
  if (!m_satellite) return;
  const int count = m_transponders.GetCount();
  bool any = false;
  for (int i = 0; i < count; ++i) {
    if (m_transponders.GetSel(i) <= 0) continue;
    long nid = 0, tsid = 0;
    if (!orb::scan::ParseTransponderIds(orb::app::Utf8FromWide(LineOf(m_transponders.m_hWnd, i)), nid, tsid))
      continue;
    m_satellite->DeleteTransponder(nid, tsid);
    any = true;
  }
  if (!any) return;
  if (m_manager) m_manager->StoreSatellite(m_satellite);
  FillTransponderList();
}

void CTransponderListDlg::OnAdd() {
  if (!m_satellite) return;
  auto field = [this](int id) { return orb::app::Utf8FromWide(WindowTextOf(::GetDlgItem(m_hWnd, id))); };
  const int polarization =
      static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_TPLIST_POLARIZATION, CB_GETCURSEL, 0, 0));
  const int fec = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_TPLIST_FEC, CB_GETCURSEL, 0, 0));
  const orb::scan::NewTransponder n = orb::scan::ReadNewTransponder(
      field(IDC_TPLIST_NID), field(IDC_TPLIST_TSID), field(IDC_TPLIST_FREQUENCY), polarization,
      field(IDC_TPLIST_SYMBOL_RATE), fec);
  ComPtr<ITransponder> t;
  if (SUCCEEDED(m_satellite->CreateTransponder(n.networkId, n.transportStreamId, t.Put())) && t) {
    t->SetPrimary(1);
    t->SetFrequency(n.frequency);
    t->SetPolarization(n.polarization);
    t->SetSymbolRate(n.symbolRate);
    t->SetFEC(n.fec);
    if (SUCCEEDED(m_satellite->AddTransponder(t)) && m_manager) m_manager->StoreSatellite(m_satellite);
  }
  FillTransponderList();
}

// "NIT update" has no action.
void CTransponderListDlg::OnNitUpdate() {}
