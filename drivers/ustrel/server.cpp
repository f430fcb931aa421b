// Ustrel: the plug-in of the USB boxes (ustrelacc.dll).
#include "ustrel.h"
#include "drvcommon/PluginServer.h"

namespace {

const DriverFamily kFamily = {
    DriverFamily::Usb,
    &CLSID_UstrelDevice,
    L"Ustrel USB family,Ustrel Lite USB",
    FILTERTYPE_SECTIONS_SW,
    201,
    {203, 202, 206, 103, 204, 205, 0, 0},
};

struct UstrelTraits {
  static const DriverFamily& Family() { return kFamily; }
};

}  // namespace

using CUstrelDevice = CDriverObject<UstrelTraits, IUstrelDevice>;

DRIVER_PLUGIN_SERVER(kFamily, CUstrelDevice, L"UstrelDevice Class", L"Ustrel.UstrelDevice.1",
                     L"Ustrel.UstrelDevice", LIBID_USTRELLib)
