#include "satlist/model.h"

#include <algorithm>

#include "satlist/xml.h"

namespace orb::satlist {

const Transponder* Satellite::FindTransponder(int32_t networkId, int32_t transportStreamId) const {
  for (const Transponder& t : transponders)
    if (t.networkId == networkId && t.transportStreamId == transportStreamId) return &t;
  return nullptr;
}

void Satellite::AddTransponder(const Transponder& t) {
  for (Transponder& old : transponders) {
    if (old.networkId == t.networkId && old.transportStreamId == t.transportStreamId) {
      old = t;
      return;
    }
  }
  transponders.push_back(t);
}

bool Satellite::DeleteTransponder(int32_t networkId, int32_t transportStreamId) {
  const auto it = std::find_if(transponders.begin(), transponders.end(), [&](const Transponder& t) {
    return t.networkId == networkId && t.transportStreamId == transportStreamId;
  });
  if (it == transponders.end()) return false;
  transponders.erase(it);
  return true;
}

const Satellite* SatelliteList::Find(std::string_view name) const {
  for (const Satellite& s : satellites_)
    if (s.name == name) return &s;
  return nullptr;
}

void SatelliteList::Store(const Satellite& satellite) {
  for (Satellite& s : satellites_) {
    if (s.name == satellite.name) {
      s = satellite;
      return;
    }
  }
  satellites_.push_back(satellite);
}

bool SatelliteList::Delete(std::string_view name) {
  const auto it = std::find_if(satellites_.begin(), satellites_.end(),
                               [&](const Satellite& s) { return s.name == name; });
  if (it == satellites_.end()) return false;
  satellites_.erase(it);
  return true;
}

bool IsValidSatelliteName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameBytes || !xml::IsXmlText(name)) return false;
  // XML allows tab, CR and LF; a name does not.
  return name.find_first_of("\t\r\n") == std::string_view::npos;
}

SatelliteList DefaultSatelliteList() {
  struct Row {
    const char* name;
    uint32_t frequency;
    int32_t polarization;
    uint32_t symbolRate;
    int32_t fec;
  };
  // A row with a null name continues the satellite above it.
  static constexpr Row kRows[] = {
      {"Astra 19E", 1218700, 0, 275000, 1},
      {"Hispasat Europe 30W", 1177100, 1, 275000, 3},
      {nullptr, 1181100, 0, 275000, 3},
      {"Sirius Satellite System European Coverage", 1238000, 0, 245000, 1},
      {"1 degree W", 1232200, 0, 278000, 3},
      {"Hotbird 13E", 1071900, 1, 275000, 3},
      {nullptr, 1093000, 0, 275000, 3},
      {nullptr, 1099200, 1, 275000, 3},
      {nullptr, 1232200, 0, 275000, 3},
      {nullptr, 1075800, 1, 275000, 3},
      {nullptr, 1168100, 0, 275000, 3},
      {nullptr, 1239900, 0, 275000, 3},
      {"Echostar 7 119 W", 1223900, 2, 200000, 4},
      {"Echostar 6/8 110 W", 1222400, 3, 200000, 4},
      {"Nimiq 1 91 W", 1222400, 3, 200000, 4},
      {"Nimiq 2 82 W", 1222400, 3, 200000, 4},
  };
  SatelliteList list;
  Satellite current;
  for (const Row& row : kRows) {
    if (row.name) {
      if (!current.name.empty()) list.Store(current);
      current = Satellite();
      current.name = row.name;
    }
    Transponder t;
    t.transportStreamId = static_cast<int32_t>(current.transponders.size() + 1);
    t.frequency = row.frequency;
    t.polarization = row.polarization;
    t.symbolRate = row.symbolRate;
    t.fec = row.fec;
    current.transponders.push_back(t);
  }
  list.Store(current);
  return list;
}

}  // namespace orb::satlist
