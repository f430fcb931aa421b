#pragma once
// satlist.xml: the satellite list as a file.
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <satlist version="1">
//     <satellite name="Hotbird 13E" selected="1" useradded="0">
//       <transponder nid="318" tsid="13000" primary="1" frequency="1149300"
//                    polarization="0" symbolrate="275000" fec="3"/>
//     </satellite>
//   </satlist>
//
// UTF-8; numbers in decimal (frequency in 10 kHz, symbol rate in 100 symbol/s,
// polarization 0 H 1 V 2 L 3 R, fec 0..7 as the transponder list shows it);
// selected is 0 or 1.  Every attribute shown is required.  Satellites and
// transponders stand in list order; names are unique, and so are the
// (nid, tsid) pairs of one satellite.  Unknown attributes and elements are
// ignored (a later version may add some); version must be 1 or more.  A file
// that breaks any of these rules is refused whole.
#include <string>
#include <string_view>

#include "satlist/model.h"

namespace orb::satlist {

std::string WriteSatListXml(const SatelliteList& list);
// Replaces `list` only on success; otherwise `error` says why ("line N: ...").
bool ReadSatListXml(std::string_view document, SatelliteList& list, std::string& error);

}  // namespace orb::satlist
