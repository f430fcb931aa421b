// Quarn: the plug-in of the DirectShow cards, registered as implementing
// the driver category.  (The framework's headers come before the system's
// DirectShow headers, whose window macros they would otherwise meet.)
#include "drvcommon/PluginServer.h"

#include "GraphDriver.h"

namespace {

const orb::com::CategoryInfo kCategories[] = {{&CATID_DvbDrivers, DRIVER_CATEGORY_DESCRIPTION}};
const orb::com::ClassInfo kClasses[] = {{&CLSID_quarndev, &CGraphDriver::CreateInstance, L"quarndev Class",
                                         L"Quarn.quarndev.1", L"Quarn.quarndev", L"Both", kCategories, 1}};
const orb::com::ServerInfo kServer = {kClasses, 1, &LIBID_QUARNLib};

}  // namespace

ORB_COM_SERVER_EXPORTS_GUARDED(kServer, DRIVER_MODULE_STATE())
