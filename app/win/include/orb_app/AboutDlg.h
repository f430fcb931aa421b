#pragma once
// The About box (dialog 100): icon, version line, OK.
#include "orb_app/mfc.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  enum { IDD = 100 };
};
