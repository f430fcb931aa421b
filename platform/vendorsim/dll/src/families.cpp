// Which of the three libraries this build is: chosen by DVBACC_FAMILY.
#include "hub.h"

namespace vsim::dll {

const FamilyTraits& Family() {
#if DVBACC_FAMILY == 1
  static const FamilyTraits traits{VSIM_FAMILY_PREMIUM, "cvdvbacc", FILTERTYPE_SECTIONS, "sat"};
#elif DVBACC_FAMILY == 2
  static const FamilyTraits traits{VSIM_FAMILY_BUDGET, "bvlcdacc", FILTERTYPE_SECTIONS_SW, "sat"};
#elif DVBACC_FAMILY == 3
  static const FamilyTraits traits{VSIM_FAMILY_USB, "ustrelacc", FILTERTYPE_SECTIONS_SW, "sat"};
#else
#error DVBACC_FAMILY must be 1, 2 or 3
#endif
  return traits;
}

}  // namespace vsim::dll
