#pragma once
// What tells the vendor-library plug-ins apart: one source, built three
// times, each over its own access library (cvdvbacc.dll premium cards,
// bvlcdacc.dll budget cards, ustrelacc.dll USB boxes).
#include <windows.h>

#include "drvcommon/resource.h"
#include "dvbacc/dvbacc.h"

struct DriverFamily {
  enum Kind { Premium, Budget, Usb };
  Kind kind;
  const CLSID* clsid;            // the plug-in's class; its settings key is named after it
  const wchar_t* driverName;     // IDvbDriver::GetDriverName
  FILTERTYPE sectionFilterType;  // the filter type that selects sections on these cards
  UINT selectDeviceDialogId;     // resource of the "Select device" dialog
};

