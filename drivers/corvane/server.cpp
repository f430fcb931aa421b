// Corvane: the plug-in of the premium PCI cards (cvdvbacc.dll).
#include "corvane.h"
#include "drvcommon/PluginServer.h"

namespace {

const DriverFamily kFamily = {
    DriverFamily::Premium,
    &CLSID_corvan,
    L"Corvane PCI - premium family,Corvane Prime-S,Corvane Prime-S1",
    FILTERTYPE_SECTIONS,
    203,
    {131, 204, 201, 102, 205, 207, 206, 0},
};

struct CorvaneTraits {
  static const DriverFamily& Family() { return kFamily; }
};

}  // namespace

using CCorvan = CDriverObject<CorvaneTraits, Icorvan, ISupportErrorInfo>;

DRIVER_PLUGIN_SERVER(kFamily, CCorvan, L"corvan Class", L"Corvane.corvan.1", L"Corvane.corvan",
                     LIBID_CORVANELib)
