// Resource ids of the value pane (plain #defines: read by the resource
// compiler and by C++).  The row label lists are string-table entries
// 61204-61312 (ui_core/value_labels.def).
#pragma once

// Menu of a PID row ("PID streaming..."), and its command.
#define IDR_VALUE_PID_MENU 146
#define ID_VALUE_PID_STREAMING 32794
