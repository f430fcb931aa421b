// Resource and command ids of the integration test's application (read by the
// resource compiler and by C++).
#pragma once

#define IDR_INTAPP 300
#define IDD_INT_SERVICE 310
#define IDD_INT_PAGE_NETWORK 311
#define IDD_INT_PAGE_DISPLAY 312

#define IDC_INT_NAME 320
#define IDC_INT_SCRAMBLED 321
#define IDC_INT_NETWORK 322
#define IDC_INT_NETWORK_ID 323
#define IDC_INT_SHOW_SCRAMBLED 324

#define ID_INT_ADD 40101
#define ID_INT_REMOVE 40102
#define ID_INT_SETTINGS 40103
#define ID_INDICATOR_SERVICES 40110

#define IDW_INT_SUMMARY 0xE820
