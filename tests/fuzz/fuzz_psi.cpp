// One target per parse entry; FUZZ_ENTRY selects it at compile time.
#include "fuzz_common.h"
#include "lib13818/ait.h"
#include "lib13818/nit_bat.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
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
#elif FUZZ_ENTRY == 8
ORB_FUZZ_LONG_SECTION(NetworkInformationSection)
#elif FUZZ_ENTRY == 9
ORB_FUZZ_LONG_SECTION(BouquetAssociationSection)
#elif FUZZ_ENTRY == 10
ORB_FUZZ_LONG_SECTION(ServiceDescriptionSection)
#elif FUZZ_ENTRY == 11
ORB_FUZZ_LONG_SECTION(EventInformationSection)
#elif FUZZ_ENTRY == 12
ORB_FUZZ_LONG_SECTION(ApplicationInformationSection)
#endif
