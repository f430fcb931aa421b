#pragma once
// Common controls of the framework: list and tree controls, image lists,
// tabs, progress, sliders, spin buttons.
#include "afxwin.h"
#include "afx_listtree.h"
#include "afx_commctrl.h"
