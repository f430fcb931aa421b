#pragma once
// Files by UTF-8 path, inside the layer.
#include <string>

#include "orb_ado/ado.h"

namespace orb::ado {

// Creates an empty file that must not exist yet; raises (kFileExists for an
// existing one) with `source` as the error's source.
void CreateNewFile(const std::string& path, const char* source);

}  // namespace orb::ado
