#pragma once
// What the browser's panes need of the application object: the driver
// plug-in (for the Set tuner... commands) and the program's log.  The
// application implements it; the panes find it through AfxGetApp().
#include "contract/driver_contract.h"
#include "orb_common/Log.h"

class CBrowserServices {
 public:
  // The plug-in created at start-up (no reference added); null when none.
  virtual IDvbDriver* GetDriver() const = 0;
  // The program's log; null when there is none.
  virtual CLog* GetBrowserLog() const = 0;

 protected:
  ~CBrowserServices() = default;
};

// The application's services, or null when the application offers none.
CBrowserServices* GetBrowserServices();

// Writes a line to the program's log at `level` (nothing without a log).
void BrowserLog(long level, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(gnu_printf, 2, 3)))
#endif
    ;
