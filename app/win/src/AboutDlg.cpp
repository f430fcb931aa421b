#include "orb_app/AboutDlg.h"

CAboutDlg::CAboutDlg() : CDialog(IDD) {}
