#include "drvcommon/ConfigSheet.h"

#include <cstdio>

#include "drvcommon/DriverLog.h"
#include "drvcommon/resource.h"
#include "drvcore/dialogs.h"

// ---- LNB/Disq ---------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDisqLnbSettingsDlg, CPropertyPage)

BEGIN_MESSAGE_MAP(CDisqLnbSettingsDlg, CPropertyPage)
  ON_BN_CLICKED(IDC_DISQ_NONE, &ThisClass::OnDisqMode)
  ON_BN_CLICKED(IDC_DISQ_SIMPLE, &ThisClass::OnDisqMode)
  ON_BN_CLICKED(IDC_DISQ_V10, &ThisClass::OnDisqMode)
  ON_CBN_SELCHANGE(IDC_DISQ_SLOT, &ThisClass::OnSlotChange)
  ON_EN_KILLFOCUS(IDC_LOF1, &ThisClass::OnLof1KillFocus)
  ON_EN_KILLFOCUS(IDC_LOF2, &ThisClass::OnLof2KillFocus)
  ON_EN_KILLFOCUS(IDC_SWITCH, &ThisClass::OnSwitchKillFocus)
  ON_BN_CLICKED(IDC_LNB_POWER, &ThisClass::OnLnbPower)
  ON_CBN_SELCHANGE(IDC_SLOT_SATELLITE, &ThisClass::OnSatellite)
END_MESSAGE_MAP()

CDisqLnbSettingsDlg::CDisqLnbSettingsDlg(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

int CDisqLnbSettingsDlg::SelectedSlot() const {
  const auto slot = drvcore::SlotFromSelection(m_slotList.GetCurSel());
  return slot ? *slot : -1;
}

BOOL CDisqLnbSettingsDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_slotList.SubclassDlgItem(IDC_DISQ_SLOT, this);
  m_satelliteList.SubclassDlgItem(IDC_SLOT_SATELLITE, this);
  if (!m_pSettings) return TRUE;
  const drvcore::u32 mode = m_pSettings->disqmode;
  CheckRadioButton(IDC_DISQ_NONE, IDC_DISQ_V10,
                   mode == 0 ? IDC_DISQ_NONE : mode == 1 ? IDC_DISQ_SIMPLE : IDC_DISQ_V10);
  FillSlotSelector();
  AddSatelliteNames(m_pSatList, m_satelliteList);
  ShowSlot(0);
  return TRUE;
}

void CDisqLnbSettingsDlg::FillSlotSelector() {
  m_slotList.ResetContent();
  const auto entries = drvcore::SlotSelectorEntries(m_pSettings->disqmode);
  for (const char* e : entries) m_slotList.AddString(e);
  m_slotList.SetCurSel(0);
  m_shownSelection = 0;
  const BOOL enable = entries.empty() ? FALSE : TRUE;
  m_slotList.EnableWindow(enable);
  if (CWnd* label = GetDlgItem(IDC_DISQ_SLOT_LABEL)) label->EnableWindow(enable);
}

void CDisqLnbSettingsDlg::ShowSlot(int slot) {
  if (slot < 0 || slot >= drvcore::kLnbSlots) return;
  const drvcore::LnbSlot& s = m_pSettings->slots[static_cast<size_t>(slot)];
  char text[16];
  std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(s.lof1));
  SetDlgItemText(IDC_LOF1, text);
  std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(s.lof2));
  SetDlgItemText(IDC_LOF2, text);
  std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(s.switchFreq));
  SetDlgItemText(IDC_SWITCH, text);
  CheckDlgButton(IDC_LNB_POWER, s.lnbPower ? BST_CHECKED : BST_UNCHECKED);
  m_shownSlot = slot;
  SelectSlotSatellite(slot);
}

void CDisqLnbSettingsDlg::SelectSlotSatellite(int slot) {
  const std::string& name = m_pSettings->slots[static_cast<size_t>(slot)].satellite;
  if (name.empty()) return;
  const int at = m_satelliteList.FindStringExact(-1, WideFromNarrow(name));
  if (at != CB_ERR) m_satelliteList.SetCurSel(at);
}

bool CDisqLnbSettingsDlg::StoreShownSlot(bool complain) {
  if (!m_pSettings || m_shownSlot < 0) return true;
  static const int kIds[] = {IDC_LOF1, IDC_SWITCH, IDC_LOF2};
  drvcore::u32 values[3] = {};
  for (int i = 0; i < 3; ++i) {
    const auto v = drvcore::ParseLnbFrequency(DlgItemTextNarrow(this, kIds[i]));
    if (!v) {
      if (!complain) return false;
      char message[128];
      std::snprintf(message, sizeof message, "Please insert a valid LNB frequency!\n(0 kHz - %u kHz)",
                    static_cast<unsigned>(drvcore::kMaxLnbFrequencyKhz));
      DialogMessageBox(this, message, MB_OK | MB_ICONEXCLAMATION, "Error");
      if (CWnd* edit = GetDlgItem(kIds[i])) {
        edit->SetFocus();
        ::SendMessageW(edit->m_hWnd, EM_SETSEL, 0, -1);
      }
      return false;
    }
    values[i] = *v;
  }
  drvcore::LnbSlot& s = m_pSettings->slots[static_cast<size_t>(m_shownSlot)];
  s.lof1 = values[0];
  s.switchFreq = values[1];
  s.lof2 = values[2];
  return true;
}

void CDisqLnbSettingsDlg::StoreFrequency(int id) {
  const int slot = SelectedSlot();
  if (!m_pSettings || slot < 0 || slot != m_shownSlot) return;
  const auto v = drvcore::ParseLnbFrequency(DlgItemTextNarrow(this, id));
  if (!v) return;  // reported when the slot is left or the sheet applied
  drvcore::LnbSlot& s = m_pSettings->slots[static_cast<size_t>(slot)];
  drvcore::u32& field = id == IDC_LOF1 ? s.lof1 : id == IDC_LOF2 ? s.lof2 : s.switchFreq;
  if (field != *v) {
    field = *v;
    SetModified(TRUE);
  }
}

void CDisqLnbSettingsDlg::OnLof1KillFocus() { StoreFrequency(IDC_LOF1); }
void CDisqLnbSettingsDlg::OnLof2KillFocus() { StoreFrequency(IDC_LOF2); }
void CDisqLnbSettingsDlg::OnSwitchKillFocus() { StoreFrequency(IDC_SWITCH); }

void CDisqLnbSettingsDlg::OnDisqMode() {
  if (!m_pSettings) return;
  const drvcore::u32 mode = IsDlgButtonChecked(IDC_DISQ_NONE)     ? 0
                            : IsDlgButtonChecked(IDC_DISQ_SIMPLE) ? 1
                                                                  : 2;
  if (mode == m_pSettings->disqmode) return;
  if (!StoreShownSlot(true)) {
    const drvcore::u32 old = m_pSettings->disqmode;
    CheckRadioButton(IDC_DISQ_NONE, IDC_DISQ_V10,
                     old == 0 ? IDC_DISQ_NONE : old == 1 ? IDC_DISQ_SIMPLE : IDC_DISQ_V10);
    return;
  }
  m_pSettings->disqmode = mode;
  SetModified(TRUE);
  FillSlotSelector();
  ShowSlot(0);
}

void CDisqLnbSettingsDlg::OnSlotChange() {
  if (!m_pSettings) return;
  if (!StoreShownSlot(true)) {
    m_slotList.SetCurSel(m_shownSelection);
    return;
  }
  const int selection = m_slotList.GetCurSel();
  if (selection == CB_ERR) return;
  m_shownSelection = selection;
  ShowSlot(SelectedSlot());
}

void CDisqLnbSettingsDlg::OnLnbPower() {
  const int slot = SelectedSlot();
  if (!m_pSettings || slot < 0) return;
  m_pSettings->slots[static_cast<size_t>(slot)].lnbPower = IsDlgButtonChecked(IDC_LNB_POWER) ? 1 : 0;
  SetModified(TRUE);
}

void CDisqLnbSettingsDlg::OnSatellite() {
  const int slot = SelectedSlot();
  const int at = m_satelliteList.GetCurSel();
  if (!m_pSettings || slot < 0 || at == CB_ERR) return;
  CString text;
  m_satelliteList.GetLBText(at, text);
  if (text.IsEmpty()) return;
  m_pSettings->slots[static_cast<size_t>(slot)].satellite = NarrowFromCString(text);
  SetModified(TRUE);
}

BOOL CDisqLnbSettingsDlg::OnKillActive() { return StoreShownSlot(true) ? TRUE : FALSE; }

BOOL CDisqLnbSettingsDlg::OnApply() {
  if (!StoreShownSlot(true)) return FALSE;
  if (m_pConfigSheet && !m_pConfigSheet->Commit()) {
    DialogMessageBox(this, "The settings could not be stored.", MB_OK | MB_ICONEXCLAMATION, "Error");
    return FALSE;
  }
  SetModified(FALSE);
  return TRUE;
}

// ---- Info -------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CInfoPage, CPropertyPage)

CInfoPage::CInfoPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

BOOL CInfoPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  SetDlgItemText(IDC_INFO_TEXT, m_text);
  return TRUE;
}

// ---- the sheet --------------------------------------------------------------

IMPLEMENT_DYNAMIC(CConfigPropertySheet, CPropertySheet)

CConfigPropertySheet::CConfigPropertySheet(drvcore::Settings* settings, ISatListManager* satList,
                                           UINT lnbTemplate, UINT infoTemplate, bool satellite,
                                           const CString& infoText, std::function<bool()> commit,
                                           CStrArg caption, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage),
      m_pSettings(settings),
      m_lnbPage(lnbTemplate),
      m_infoPage(infoTemplate),
      m_commit(std::move(commit)) {
  if (settings) m_edit = *settings;
  m_lnbPage.m_pSettings = &m_edit;
  m_lnbPage.m_pSatList = satList;
  m_lnbPage.m_pConfigSheet = this;
  m_infoPage.m_text = infoText;
  if (satellite && settings) AddPage(&m_lnbPage);
  AddPage(&m_infoPage);
}

bool CConfigPropertySheet::Commit() {
  if (!m_pSettings) return false;
  m_pSettings->disqmode = m_edit.disqmode;
  m_pSettings->slots = m_edit.slots;
  DriverLog().Log(2, "configuration applied: disqmode=%lu", static_cast<unsigned long>(m_edit.disqmode));
  return m_commit ? m_commit() : true;
}
