#include "orb_app/identifier_names.h"

namespace orb::app {

void BuildIdentifierNames() {
  // The name tables of the parsing library are filled here once they exist.
}

}  // namespace orb::app
