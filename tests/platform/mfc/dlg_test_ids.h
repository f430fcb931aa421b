// Resource ids of the dialog tests (read by the resource compiler and C++).
#pragma once

#define IDD_DLG_EXCHANGE 1000
#define IDD_DLG_NOFONT 1001
#define IDD_DLG_PAGE_ONE 1010
#define IDD_DLG_PAGE_TWO 1011
#define IDS_DLG_PAGE_ONE 1020
#define IDS_DLG_PAGE_TWO 1021
// Exists only in the separate resource module.
#define IDD_DLG_PLUGIN 1100
#define IDS_DLG_PLUGIN_PAGE 1101

#define IDC_DLG_TEXT 101
#define IDC_DLG_INT 102
#define IDC_DLG_UINT 103
#define IDC_DLG_REAL 104
#define IDC_DLG_CHECK 105
#define IDC_DLG_RADIO1 106
#define IDC_DLG_RADIO2 107
#define IDC_DLG_RADIO3 108
#define IDC_DLG_DROPLIST 109
#define IDC_DLG_DROPDOWN 110
#define IDC_DLG_LIST 111
#define IDC_DLG_PRESS 112
#define IDC_DLG_SUBCLASSED 113
#define IDC_DLG_DWORD 114
#define IDC_DLG_AFTER 115
