#pragma once
// CDriverSelectDlg (dialog 130): lists the driver plug-ins registered under
// the drivers category by their names; OK on a listed name chooses its CLSID.
#include <map>
#include <string>

#include "orb_app/mfc.h"

class CDriverSelectDlg : public CDialog {
 public:
  explicit CDriverSelectDlg(CWnd* parent = nullptr);
  enum { IDD = 130 };

  // "{...}" of the chosen class; empty until OK is pressed on a listed name.
  const std::string& GetChosenClsid() const { return m_chosenClsid; }
  const std::map<std::string, CLSID>& GetDrivers() const { return m_drivers; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  std::map<std::string, CLSID> m_drivers;
  std::string m_chosenClsid;
};
