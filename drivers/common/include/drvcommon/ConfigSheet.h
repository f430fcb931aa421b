#pragma once
// The "Configuration" sheet of the plug-ins: the DiSEqC mode and the four
// LNB slots ("LNB/Disq"), and what the tuner can do ("Info").
//
// The sheet edits a copy of the settings' DiSEqC mode and slots; OK and
// Apply check the values of the slot on show, put the copy into the
// settings record and hand it to the commit function (which stores the
// settings).  Cancel, Escape and closing the window leave the record as it
// was.  Shared with the Quarn plug-in, which passes its own page templates,
// info text and commit function.
#include <functional>

#include "drvcommon/DialogSupport.h"
#include "drvcore/settings.h"

class CConfigPropertySheet;

class CDisqLnbSettingsDlg : public CPropertyPage {
  DECLARE_DYNAMIC(CDisqLnbSettingsDlg)

 public:
  explicit CDisqLnbSettingsDlg(UINT nIDTemplate);

  // Set by the sheet before the page is added: the working copy it edits
  // and the satellite list manager (may be null).
  drvcore::Settings* m_pSettings = nullptr;
  ISatListManager* m_pSatList = nullptr;
  CConfigPropertySheet* m_pConfigSheet = nullptr;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnKillActive() override;
  BOOL OnApply() override;
  afx_msg void OnDisqMode();
  afx_msg void OnSlotChange();
  afx_msg void OnLof1KillFocus();
  afx_msg void OnLof2KillFocus();
  afx_msg void OnSwitchKillFocus();
  afx_msg void OnLnbPower();
  afx_msg void OnSatellite();
  DECLARE_MESSAGE_MAP()

 private:
  // The slot the selector stands for (no selection: slot 0); none for an
  // index outside 0..3.
  int SelectedSlot() const;
  void FillSlotSelector();
  // Shows the values of `slot` in the edits, the power box and the list.
  void ShowSlot(int slot);
  void SelectSlotSatellite(int slot);
  // Takes the three frequencies of the slot on show into the copy; with
  // `complain` a value that is not a number in range is reported (and the
  // focus put on it) and nothing is taken.
  bool StoreShownSlot(bool complain);
  void StoreFrequency(int id);

  CComboBox m_slotList;
  CComboBox m_satelliteList;
  int m_shownSlot = 0;
  int m_shownSelection = 0;
};

class CInfoPage : public CPropertyPage {
  DECLARE_DYNAMIC(CInfoPage)

 public:
  explicit CInfoPage(UINT nIDTemplate);
  // The text shown (set before the page is created).
  CString m_text;

 protected:
  BOOL OnInitDialog() override;
};

class CConfigPropertySheet : public CPropertySheet {
  DECLARE_DYNAMIC(CConfigPropertySheet)

 public:
  // `settings`: the record edited (through a copy, see above); `satellite`:
  // the front end is a satellite one (only then the LNB/Disq page is
  // added); `infoText`: the Info page's text; `commit`: stores the record
  // after OK/Apply (false when that failed).
  CConfigPropertySheet(drvcore::Settings* settings, ISatListManager* satList, UINT lnbTemplate,
                       UINT infoTemplate, bool satellite, const CString& infoText,
                       std::function<bool()> commit, CStrArg caption, CWnd* parent,
                       UINT firstPage = 0);

  // Puts the copy's DiSEqC mode and slots into the record and commits it.
  bool Commit();

  drvcore::Settings* m_pSettings;
  drvcore::Settings m_edit;

 private:
  CDisqLnbSettingsDlg m_lnbPage;
  CInfoPage m_infoPage;
  std::function<bool()> m_commit;
};
