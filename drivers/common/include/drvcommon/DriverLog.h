#pragma once
// The plug-in's own log (one per plug-in module): a file named like the
// plug-in with the extension "txt", in the plug-in's folder, opened by Init
// at the level of the "loglevel" setting.  Levels: 1 errors, 2 notices,
// 3 start-up, 4 traces.  Usable before Init (it writes nothing then).
#include "orb_common/Log.h"

CLog& DriverLog();
