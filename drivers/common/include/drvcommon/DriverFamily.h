#pragma once
// What tells the vendor-library plug-ins apart: one source, built three
// times, each over its own access library (cvdvbacc.dll premium cards,
// bvlcdacc.dll budget cards, ustrelacc.dll USB boxes).
#include <windows.h>

#include "drvcommon/resource.h"
#include "dvbacc/dvbacc.h"

// The plug-in's dialog templates (0: the plug-in has none of that kind).
struct DriverDialogIds {
  UINT lnbDisq;      // "LNB/Disq" page of the configuration sheet
  UINT info;         // "Info" page
  UINT tuning;       // "Tuning" dialog
  UINT tuningTimer;  // id of the tuning dialog's 250 ms timer
  UINT piping;       // "Piping" page of the streaming sheet
  UINT siSections;   // "SI/private sections" page
  UINT avStreaming;  // "A/V streaming" page (premium cards)
  UINT tsRecording;  // "TS Recording" page (budget cards)
};

struct DriverFamily {
  enum Kind { Premium, Budget, Usb };
  Kind kind;
  const CLSID* clsid;            // the plug-in's class; its settings key is named after it
  const wchar_t* driverName;     // IDvbDriver::GetDriverName
  FILTERTYPE sectionFilterType;  // the filter type that selects sections on these cards
  UINT selectDeviceDialogId;     // resource of the "Select device" dialog
  DriverDialogIds dialogs;
};

