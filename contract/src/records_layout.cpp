// Compiles the records header in every build, so that its layout assertions
// (sizes and offsets, 32-bit ones included) are checked by each compiler
// whether or not anything else in that build includes it.
#include "contract/driver_records.h"
