#pragma once
// Entering the plug-in's own module state for the length of a call from
// outside (contract methods, the server's entry points), so that dialogs and
// strings come from the plug-in's resources.  The plug-in's resources are
// reached through its own module handle (orb::com::ThisModule()), which is
// all the state the framework keeps per module today.
#define DRIVER_MODULE_STATE() static_cast<void>(0)
