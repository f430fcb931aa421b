// Any bytes as satlist.xml: the reader refuses or accepts without fault, and
// what it accepts writes out and reads back as the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "satlist/satlist_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view doc(reinterpret_cast<const char*>(data), size);
  orb::satlist::SatelliteList list;
  std::string error;
  if (!orb::satlist::ReadSatListXml(doc, list, error)) return 0;
  orb::satlist::SatelliteList again;
  if (!orb::satlist::ReadSatListXml(orb::satlist::WriteSatListXml(list), again, error) ||
      !(again == list))
    std::abort();
  return 0;
}
