#pragma once
// Entering the plug-in's own module state for the length of a call from
// outside (contract methods, the server's entry points), so that dialogs and
// strings come from the plug-in's resources: the framework library linked
// into the plug-in keeps one state per module.
#include <afxwin.h>

#define DRIVER_MODULE_STATE() AFX_MANAGE_STATE(AfxGetStaticModuleState())
