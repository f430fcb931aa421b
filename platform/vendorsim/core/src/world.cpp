#include "vsim/world.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace vsim {

namespace {

const std::string kUnnamed = "Unnamed network";

MuxDef SatMux(u32 freq, char pol, u32 sr, u16 tsid, u16 nid, int services, bool scrambled) {
  MuxDef m;
  m.medium = Medium::Satellite;
  m.frequency_khz = freq;
  m.polarization = pol;
  m.symbol_rate = sr;
  m.fec_inner = 3;
  m.transport_stream_id = tsid;
  m.original_network_id = nid;
  m.network_id = nid;
  AddServices(m, services, scrambled);
  return m;
}

MuxDef CableMux(u32 freq, u8 modulation, u32 sr, u16 tsid, u16 nid, int services) {
  MuxDef m;
  m.medium = Medium::Cable;
  m.frequency_khz = freq;
  m.modulation = modulation;
  m.symbol_rate = sr;
  m.fec_inner = 0x0F;
  m.transport_stream_id = tsid;
  m.original_network_id = nid;
  m.network_id = nid;
  AddServices(m, services, false);
  return m;
}

MuxDef TerrMux(u32 freq, u8 bandwidth, u16 tsid, u16 nid, int services) {
  MuxDef m;
  m.medium = Medium::Terrestrial;
  m.frequency_khz = freq;
  m.bandwidth = bandwidth;
  m.transport_stream_id = tsid;
  m.original_network_id = nid;
  m.network_id = nid;
  AddServices(m, services, false);
  return m;
}

}  // namespace

const std::string& World::NetworkName(u16 network_id) const {
  for (const NetworkDef& n : networks)
    if (n.network_id == network_id) return n.name;
  return kUnnamed;
}

std::vector<const MuxDef*> World::Muxes(Medium medium) const {
  std::vector<const MuxDef*> out;
  if (medium == Medium::Satellite) {
    for (const SatelliteDef& s : satellites)
      for (const MuxDef& m : s.transponders) out.push_back(&m);
  } else {
    for (const MuxDef& m : medium == Medium::Cable ? cable : terrestrial) out.push_back(&m);
  }
  return out;
}

const SatelliteDef* World::SatelliteAt(int input) const {
  for (const SatelliteDef& s : satellites)
    if (s.input == input) return &s;
  return nullptr;
}

void AddServices(MuxDef& mux, int count, bool scrambled) {
  static const char* const kNames[] = {"One", "Two", "Three", "Radio", "Five", "Six", "Seven", "Eight"};
  for (int i = 0; i < count; ++i) {
    ServiceDef s;
    s.service_id = static_cast<u16>(mux.transport_stream_id * 16 + i + 1);
    u16 base = static_cast<u16>(0x100 + 0x20 * i);
    s.pmt_pid = base;
    bool radio = i == 3;
    s.service_type = radio ? 0x02 : 0x01;
    s.video_pid = radio ? 0 : static_cast<u16>(base + 1);
    s.audio_pid = static_cast<u16>(base + 2);
    s.teletext_pid = (i == 0) ? static_cast<u16>(base + 3) : 0;
    s.name = "Orbisect " + std::string(kNames[i % 8]);
    if (i >= 8) s.name += " " + std::to_string(i / 8 + 1);
    s.provider = "Orbisect Test";
    if (scrambled && i == 0) {
      s.ca_system_id = 0x0B00;
      s.ecm_pid = static_cast<u16>(base + 0x10);
    }
    mux.services.push_back(s);
  }
}

World DefaultWorld() {
  World w;
  w.networks = {{0x0101, "Orbisect Sat 19.2E"},
                {0x0202, "Orbisect Sat 13.0E"},
                {0x0303, "Orbisect Cable"},
                {0x3301, "Orbisect Terrestrial"}};
  SatelliteDef a;
  a.name = "19.2E";
  a.orbital_position = 192;
  a.input = 0;
  a.transponders = {SatMux(10832000, 'V', 22000000, 0x0401, 0x0101, 3, false),
                    SatMux(11023000, 'H', 27500000, 0x0411, 0x0101, 2, false),
                    SatMux(11836000, 'H', 27500000, 0x0441, 0x0101, 4, true),
                    SatMux(12603000, 'V', 22000000, 0x0461, 0x0101, 3, false),
                    // The transponder the default satellite list names for "Astra 19E".
                    SatMux(12187000, 'H', 27500000, 0x0471, 0x0101, 3, false)};
  a.transponders.back().fec_inner = 1;
  SatelliteDef b;
  b.name = "13.0E";
  b.orbital_position = 130;
  b.input = 1;
  b.transponders = {SatMux(11034000, 'V', 27500000, 0x1001, 0x0202, 3, false),
                    SatMux(12380000, 'H', 27500000, 0x1101, 0x0202, 2, false)};
  // The seven transponders the default satellite list names for "Hotbird 13E".
  const struct {
    u32 freq;
    char pol;
  } hotbird[] = {{10719000, 'V'}, {10930000, 'H'}, {10992000, 'V'}, {12322000, 'H'},
                 {10758000, 'V'}, {11681000, 'H'}, {12399000, 'H'}};
  u16 tsid = 0x1201;
  for (const auto& t : hotbird) b.transponders.push_back(SatMux(t.freq, t.pol, 27500000, tsid++, 0x0202, 2, false));
  w.satellites = {a, b};
  w.cable = {CableMux(346000, 3, 6900000, 0x2001, 0x0303, 3),
             CableMux(354000, 5, 6900000, 0x2002, 0x0303, 2)};
  w.terrestrial = {TerrMux(506000, 0, 0x3001, 0x3301, 3), TerrMux(778000, 0, 0x3002, 0x3301, 2),
                   TerrMux(191500, 1, 0x3003, 0x3301, 2)};
  return w;
}

namespace {

// Splits one line into key=value pairs after its first word; values may be
// quoted.
bool Tokenise(const std::string& line, std::string& kind, std::map<std::string, std::string>& kv,
              std::string& why) {
  size_t i = 0, n = line.size();
  auto skip = [&] {
    while (i < n && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  };
  skip();
  size_t s = i;
  while (i < n && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  kind = line.substr(s, i - s);
  for (;;) {
    skip();
    if (i >= n) return true;
    s = i;
    while (i < n && line[i] != '=' && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    std::string key = line.substr(s, i - s);
    if (i >= n || line[i] != '=') {
      why = "expected key=value at '" + key + "'";
      return false;
    }
    ++i;
    std::string value;
    if (i < n && line[i] == '"') {
      size_t e = line.find('"', i + 1);
      if (e == std::string::npos) {
        why = "unterminated quote";
        return false;
      }
      value = line.substr(i + 1, e - i - 1);
      i = e + 1;
    } else {
      s = i;
      while (i < n && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
      value = line.substr(s, i - s);
    }
    kv[key] = value;
  }
}

bool Number(const std::map<std::string, std::string>& kv, const char* key, u32& out, std::string& why) {
  auto it = kv.find(key);
  if (it == kv.end()) return true;
  const char* s = it->second.c_str();
  char* end = nullptr;
  unsigned long v = std::strtoul(s, &end, 0);
  if (*s == '\0' || *end != '\0') {
    why = std::string("bad number for ") + key;
    return false;
  }
  out = static_cast<u32>(v);
  return true;
}

bool ReadMux(const std::map<std::string, std::string>& kv, MuxDef& m, std::string& why) {
  u32 freq = 0, sr = m.symbol_rate, tsid = 0, onid = 0, nid = 0, services = 3, inversion = 0, scrambled = 0;
  u32 fec = m.fec_inner, qam = 64, bw = 8, eitRepeat = 1;
  if (!Number(kv, "freq", freq, why) || !Number(kv, "sr", sr, why) || !Number(kv, "tsid", tsid, why) ||
      !Number(kv, "onid", onid, why) || !Number(kv, "nid", nid, why) ||
      !Number(kv, "services", services, why) || !Number(kv, "inversion", inversion, why) ||
      !Number(kv, "scrambled", scrambled, why) || !Number(kv, "fec", fec, why) ||
      !Number(kv, "qam", qam, why) || !Number(kv, "bw", bw, why) ||
      !Number(kv, "eitrepeat", eitRepeat, why))
    return false;
  if (eitRepeat < 1 || eitRepeat > 8) {
    why = "eitrepeat must be 1..8";
    return false;
  }
  m.eit_repeat = static_cast<u8>(eitRepeat);
  if (freq == 0) {
    why = "freq missing";
    return false;
  }
  if (services > 64) {
    why = "too many services";
    return false;
  }
  m.frequency_khz = freq;
  m.symbol_rate = sr;
  m.transport_stream_id = static_cast<u16>(tsid);
  m.original_network_id = static_cast<u16>(onid ? onid : nid);
  m.network_id = static_cast<u16>(nid ? nid : onid);
  m.inversion = static_cast<u8>(inversion ? 1 : 0);
  m.fec_inner = static_cast<u8>(fec & 0x0F);
  if (m.medium == Medium::Satellite) {
    auto it = kv.find("pol");
    std::string pol = it == kv.end() ? "H" : it->second;
    if (pol.size() != 1 || std::string("HVLRhvlr").find(pol[0]) == std::string::npos) {
      why = "pol must be H, V, L or R";
      return false;
    }
    m.polarization = static_cast<char>(std::toupper(static_cast<unsigned char>(pol[0])));
  } else if (m.medium == Medium::Cable) {
    static const u32 kQam[] = {16, 32, 64, 128, 256};
    m.modulation = 0;
    for (u8 i = 0; i < 5; ++i)
      if (kQam[i] == qam) m.modulation = static_cast<u8>(i + 1);
    if (m.modulation == 0) {
      why = "qam must be 16, 32, 64, 128 or 256";
      return false;
    }
  } else {
    if (bw == 8) m.bandwidth = 0;
    else if (bw == 7) m.bandwidth = 1;
    else if (bw == 6) m.bandwidth = 2;
    else {
      why = "bw must be 6, 7 or 8";
      return false;
    }
  }
  auto ts = kv.find("ts");
  if (ts != kv.end()) {
    m.ts_file = ts->second;
  } else {
    AddServices(m, static_cast<int>(services), scrambled != 0);
  }
  return true;
}

}  // namespace

bool ParseWorld(const std::string& text, World& world, std::string* error) {
  World w;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  std::string why;
  while (std::getline(in, line)) {
    ++number;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::string kind;
    std::map<std::string, std::string> kv;
    bool ok = Tokenise(line, kind, kv, why);
    if (ok && !kind.empty()) {
      if (kind == "network") {
        u32 nid = 0;
        ok = Number(kv, "nid", nid, why);
        if (ok) w.networks.push_back({static_cast<u16>(nid), kv["name"]});
      } else if (kind == "satellite") {
        SatelliteDef s;
        u32 pos = 0, east = 1, input = static_cast<u32>(w.satellites.size());
        u32 lo = s.lof_low_khz, hi = s.lof_high_khz;
        ok = Number(kv, "position", pos, why) && Number(kv, "east", east, why) &&
             Number(kv, "input", input, why) && Number(kv, "lof_low", lo, why) &&
             Number(kv, "lof_high", hi, why);
        if (ok && input > 3) {
          why = "input must be 0..3";
          ok = false;
        }
        if (ok) {
          s.name = kv["name"];
          s.orbital_position = static_cast<u16>(pos);
          s.east = east != 0;
          s.input = static_cast<int>(input);
          s.lof_low_khz = lo;
          s.lof_high_khz = hi;
          w.satellites.push_back(s);
        }
      } else if (kind == "transponder") {
        if (w.satellites.empty()) {
          why = "transponder before any satellite";
          ok = false;
        } else {
          MuxDef m;
          m.medium = Medium::Satellite;
          ok = ReadMux(kv, m, why);
          if (ok) w.satellites.back().transponders.push_back(m);
        }
      } else if (kind == "cable" || kind == "terrestrial") {
        MuxDef m;
        m.medium = kind == "cable" ? Medium::Cable : Medium::Terrestrial;
        if (m.medium == Medium::Cable) m.fec_inner = 0x0F;
        ok = ReadMux(kv, m, why);
        if (ok) (m.medium == Medium::Cable ? w.cable : w.terrestrial).push_back(m);
      } else {
        why = "unknown item '" + kind + "'";
        ok = false;
      }
    }
    if (!ok) {
      if (error) *error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
  }
  world = std::move(w);
  return true;
}

}  // namespace vsim
