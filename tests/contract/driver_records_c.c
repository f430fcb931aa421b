/* The records header must stay usable from C: this unit compiles it as C and
 * reports the sizes the C compiler sees. */
#include "contract/driver_records.h"

size_t DriverRecordSizeFromC(int which) {
  switch (which) {
    case 0: return sizeof(SectionFilterSpec);
    case 1: return sizeof(SectionResult);
    case 2: return sizeof(SATDELIVERYDESC);
    case 3: return sizeof(CABLEDELIVERYDESC);
    case 4: return sizeof(TERRDELIVERYDESC);
    default: return 0;
  }
}
