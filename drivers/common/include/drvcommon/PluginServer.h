#pragma once
// The in-process server of a vendor-library plug-in: its one class
// (CDriverObject over the plug-in's family), registered as implementing
// CATID_DvbDrivers, with the plug-in's type library.
//
//   DRIVER_PLUGIN_SERVER(kFamily, CCorvan, L"corvan Class", L"Corvane.corvan.1",
//                        L"Corvane.corvan", LIBID_CORVANELib)
//
// defines the object map and the four entry points, each inside the
// plug-in's module state.
#include "contract/driver_contract.h"
#include "drvcommon/DriverObject.h"
#include "drvcommon/ModuleState.h"
#include "orb_atl/server.h"

// The category's description as registered (English).
#define DRIVER_CATEGORY_DESCRIPTION L"Orbisect DVB driver plug-ins"

#define DRIVER_PLUGIN_SERVER(family, cls, description, progId, viProgId, libId)             \
  namespace {                                                                             \
  const ::orb::com::CategoryInfo kDriverCategories[] = {                                  \
      {&CATID_DvbDrivers, DRIVER_CATEGORY_DESCRIPTION}};                                  \
  const ::orb::com::ClassInfo kDriverClasses[] = {{(family).clsid, &cls::CreateInstance,  \
                                                   description, progId, viProgId, L"Both", \
                                                   kDriverCategories, 1}};                \
  const ::orb::com::ServerInfo kDriverServer = {kDriverClasses, 1, &(libId)};            \
  }                                                                                       \
  ORB_COM_SERVER_EXPORTS_GUARDED(kDriverServer, DRIVER_MODULE_STATE())
