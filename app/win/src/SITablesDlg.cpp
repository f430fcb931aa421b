#include "orb_app/SITablesDlg.h"

#include "orb_app/scan_bridge.h"
#include "orb_scan/si_tables.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CSITablesDlg, CDialog)
  ON_BN_CLICKED(IDC_SITABLES_DEFAULTS, &CSITablesDlg::OnDefaults)
END_MESSAGE_MAP()

CSITablesDlg::CSITablesDlg(CWnd* parent) : CDialog(IDD, parent) {}

bool CSITablesDlg::IsSITableEnabled(unsigned mask) { return orb::app::IsSITableEnabled(mask); }

void CSITablesDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, 1015, m_nitActual);
  DDX_Control(pDX, 1021, m_tot);
  DDX_Control(pDX, 1020, m_tdt);
  DDX_Control(pDX, 1027, m_sdtOther);
  DDX_Control(pDX, 1016, m_sdtActual);
  DDX_Control(pDX, 1019, m_rst);
  DDX_Control(pDX, 1022, m_pmt);
  DDX_Control(pDX, 1013, m_pat);
  DDX_Control(pDX, 1026, m_nitOther);
  DDX_Control(pDX, 1025, m_eitSchedOther);
  DDX_Control(pDX, 1024, m_eitSchedActual);
  DDX_Control(pDX, 1023, m_eitPfOther);
  DDX_Control(pDX, 1018, m_eitPfActual);
  DDX_Control(pDX, 1014, m_cat);
  DDX_Control(pDX, 1017, m_bat);
}

BOOL CSITablesDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  for (const orb::scan::SITableCheckBox& box : orb::scan::SITableCheckBoxes())
    ::SendDlgItemMessageW(m_hWnd, box.controlId, BM_SETCHECK, IsSITableEnabled(box.bit) ? 1 : 0, 0);
  return TRUE;
}

void CSITablesDlg::OnDefaults() {
  for (const orb::scan::SITableCheckBox& box : orb::scan::SITableCheckBoxes())
    ::SendDlgItemMessageW(m_hWnd, box.controlId, BM_SETCHECK, box.checkedByDefault ? 1 : 0, 0);
}

unsigned CSITablesDlg::CheckedMask() const {
  unsigned mask = 0;
  for (const orb::scan::SITableCheckBox& box : orb::scan::SITableCheckBoxes())
    if (::SendDlgItemMessageW(m_hWnd, box.controlId, BM_GETCHECK, 0, 0) == 1) mask |= box.bit;
  return mask;
}

void CSITablesDlg::OnOK() {
  // A key that cannot be written keeps the old choice; the dialog ends as usual.
  orb::app::WriteSITableSelection(CheckedMask());
  CDialog::OnOK();
}
