#include "drvcommon/DriverLog.h"

CLog& DriverLog() {
  static CLog log;
  return log;
}
