// Resource identifiers of the program (menus, dialogs, strings, commands).
// Plain #defines: read by the resource compiler and by C++.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDR_MAINFRAME 128
#define IDB_TOOLBAR 128

// Dialogs and their controls.
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_VERSION 1001
#define IDC_ABOUT_NOTE 1002
#define IDD_DRIVER_SELECT 130
#define IDC_DRIVER_COMBO 1000

// Commands (menu Action, Options, Device, File, Help, View).
#define ID_VIEW_OUTPUT_WINDOW 32771
#define ID_SCAN_CURRENT_TRANSPONDER 32772
#define ID_SCAN_CURRENT_NIT 32773
#define ID_SCAN_SINGLE_SATELLITE 32774
#define ID_SCAN_ALL_SATELLITES 32775
#define ID_DEVICE_SETTINGS 32776
#define ID_DEVICE_TUNING 32777
#define ID_OPTIONS_GENERAL 32778
#define ID_OPTIONS_SI_TABLES 32779
#define ID_ACTION_SI_TABLES 32780
#define ID_OPTIONS_SATLIST 32781
#define ID_ACTION_STREAMING 32782
#define ID_FILE_DATABASE_EXPORT 32783
#define ID_DEVICE_DRIVER_SELECTION 32784
#define ID_HELP_HOMEPAGE 32792
#define ID_HELP_EMAIL 32793
#define ID_HELP_CHECK_UPDATES 32805

// Status bar pane of the lock state, and its text.
#define ID_INDICATOR_LOCK 61295

// Strings.
#define IDS_KEEP_DATA 61267
#define IDS_RESTART_NEEDED 61296

// Control ids inside the Output bar.
#define IDC_OUTPUT_TABS 101
#define IDC_OUTPUT_LIST 102
#define IDC_OUTPUT_DATA 103
#define IDW_OUTPUT_BAR 123

// Database export: the export dialog (its Export... and Browse... buttons and
// the path display) and the progress dialog.
#define IDD_DATABASE_EXPORT 137
#define IDD_EXPORT_PROGRESS 138
#define IDC_EXPORT_EXPORT 1056
#define IDC_EXPORT_BROWSE 1057
#define IDC_EXPORT_DATABASE 1058
