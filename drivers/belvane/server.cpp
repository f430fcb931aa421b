// Belvane: the plug-in of the budget PCI cards (bvlcdacc.dll).
#include "belvane.h"
#include "drvcommon/PluginServer.h"

namespace {

const DriverFamily kFamily = {
    DriverFamily::Budget,
    &CLSID_BelvaneDevice,
    L"Belvane PCI - budget family,Belvane Lite PCI",
    FILTERTYPE_SECTIONS_SW,
    201,
    {202, 206, 208, 103, 204, 207, 0, 211},
};

struct BelvaneTraits {
  static const DriverFamily& Family() { return kFamily; }
};

}  // namespace

using CBelvaneDevice = CDriverObject<BelvaneTraits, IBelvaneDevice>;

DRIVER_PLUGIN_SERVER(kFamily, CBelvaneDevice, L"BelvaneDevice Class", L"Belvane.BelvaneDevice.1",
                     L"Belvane.BelvaneDevice", LIBID_BELVANELib)
