#pragma once
// The satellite list: satellites (by name) and their transponders (by network
// id and transport stream id), as the satellite list manager keeps them.
// Portable C++, no Windows header.  Names are UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orb::satlist {

struct Transponder {
  int32_t networkId = 0;
  int32_t transportStreamId = 0;
  int32_t primary = 0;       // > 0: a starting point of the satellite scans
  uint32_t frequency = 0;    // 10 kHz units
  int32_t polarization = 0;  // 0 H, 1 V, 2 L, 3 R
  uint32_t symbolRate = 0;   // 100 symbol/s units
  int32_t fec = 0;           // 0 not defined, 1/2, 2/3, 3/4, 5/6, 7/8, 8/9, 7 no coding

  bool operator==(const Transponder&) const = default;
};

struct Satellite {
  std::string name;
  bool selected = false;  // scanned by "all satellites"
  int32_t userAdded = 0;
  std::vector<Transponder> transponders;  // in the order they were added

  const Transponder* FindTransponder(int32_t networkId, int32_t transportStreamId) const;
  // Adds a transponder; one with the same ids is replaced in its place.
  void AddTransponder(const Transponder& t);
  bool DeleteTransponder(int32_t networkId, int32_t transportStreamId);

  bool operator==(const Satellite&) const = default;
};

class SatelliteList {
 public:
  const std::vector<Satellite>& Satellites() const { return satellites_; }
  size_t Count() const { return satellites_.size(); }
  const Satellite* Find(std::string_view name) const;
  // Keeps a satellite: replaces the one of the same name in its place, or
  // appends it.
  void Store(const Satellite& satellite);
  bool Delete(std::string_view name);
  void Clear() { satellites_.clear(); }

  bool operator==(const SatelliteList&) const = default;

 private:
  std::vector<Satellite> satellites_;
};

// A name a satellite may have: not empty, at most kMaxNameBytes bytes of
// valid UTF-8, no control characters.
constexpr size_t kMaxNameBytes = 1024;
bool IsValidSatelliteName(std::string_view name);

// The list a first start begins with (what the program fills when no list
// can be loaded): 9 satellites, none selected, no transponder primary.
SatelliteList DefaultSatelliteList();

}  // namespace orb::satlist
