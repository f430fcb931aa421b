// One target per parse entry; FUZZ_ENTRY selects it at compile time.
#include "fuzz_common.h"
#include "lib13818/psi.h"
#include "lib13818/time_tables.h"

using namespace lib13818;

#if FUZZ_ENTRY == 1
ORB_FUZZ_LONG_SECTION(ProgramAssociationSection)
#elif FUZZ_ENTRY == 2
ORB_FUZZ_LONG_SECTION(ConditionalAccessSection)
#elif FUZZ_ENTRY == 3
ORB_FUZZ_LONG_SECTION(ProgramMapSection)
#elif FUZZ_ENTRY == 4
ORB_FUZZ_SHORT_SECTION(TimeDateSection)
#elif FUZZ_ENTRY == 5
ORB_FUZZ_SHORT_SECTION(TimeOffsetSection)
#elif FUZZ_ENTRY == 6
ORB_FUZZ_SHORT_SECTION(RunningStatusSection)
#elif FUZZ_ENTRY == 7
// A bare descriptor loop: reaches every descriptor class and its printing.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  DescriptorSet set;
  try {
    set.AddLoop(data, size);
  } catch (const error&) {
  }
  std::ostringstream os;
  fuzz::PrintSet(set, os);
  return 0;
}
#endif
