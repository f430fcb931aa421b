#include "orb_app/identifier_names.h"

#include "lib13818/id_names.h"

namespace orb::app {

void BuildIdentifierNames() { lib13818::InitIdNameMaps(); }

}  // namespace orb::app
