#pragma once
// CSITablesDlg (dialog 132, "SI Tables"): the tables a scan reads, one check
// box per bit of the registry value "sitables".  OK writes the mask; Cancel
// writes nothing; "Defaults" checks PAT, CAT, PMT, NIT actual and SDT actual.
#include "orb_app/mfc.h"

class CSITablesDlg : public CDialog {
 public:
  enum { IDD = 132 };
  explicit CSITablesDlg(CWnd* parent = nullptr);

  // Whether the table of `mask` is selected: "sitables" read anew; every
  // table counts as selected when the value cannot be read.
  static bool IsSITableEnabled(unsigned mask);

  // The mask the check boxes show now.
  unsigned CheckedMask() const;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnDefaults();
  DECLARE_MESSAGE_MAP()

 private:
  CButton m_nitActual, m_tot, m_tdt, m_sdtOther, m_sdtActual, m_rst, m_pmt, m_pat, m_nitOther,
      m_eitSchedOther, m_eitSchedActual, m_eitPfOther, m_eitPfActual, m_cat, m_bat;
};
