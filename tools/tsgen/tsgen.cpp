// orb-tsgen: writes a transport stream carrying the complete PSI/SI of a
// synthetic multiplex (see sigen), repeated in cycles between filler packets
// until the file reaches the size asked for.
//
//   orb-tsgen [--size MIB] [--seed N] [--junk] OUT.ts
//
// --junk  put runs of stray bytes between some packets (for resynchronisation)
//
// Every cycle carries the PAT, CAT and PMTs, the NIT, SDT, BAT, EIT (present/
// following and schedule), RST and AIT, and a TDT and TOT a second later
// than the cycle before.  PIDs are interleaved packet by packet, sections are
// packed several to a packet where they fit, and some packets carry
// adaptation fields.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "sigen/sigen.h"
#include "tslib/ts.h"

namespace {

int Usage() {
  std::cerr << "usage: orb-tsgen [--size MIB] [--seed N] [--junk] OUT.ts\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  double mib = 6;
  unsigned seed = 1;
  bool junk = false;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--size" && i + 1 < argc) {
      mib = std::atof(argv[++i]);
    } else if (a == "--seed" && i + 1 < argc) {
      seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 0));
    } else if (a == "--junk") {
      junk = true;
    } else if (path.empty() && a.rfind("--", 0) != 0) {
      path = a;
    } else {
      return Usage();
    }
  }
  if (path.empty() || mib <= 0) return Usage();

  sigen::Config config;
  config.seed = seed;
  const sigen::Multiplex mux = sigen::GenerateMultiplex(config);

  std::map<tslib::u16, tslib::SectionPacketiser> packetisers;
  auto packetiser = [&](tslib::u16 pid) -> tslib::SectionPacketiser& {
    auto it = packetisers.find(pid);
    if (it == packetisers.end()) {
      it = packetisers.emplace(pid, tslib::SectionPacketiser(pid)).first;
      // Adaptation fields now and then, as a multiplexer inserts them.
      if (pid == 0x0012) it->second.SetAdaptationField(5, 8);
      if (pid >= 0x0100 && pid < 0x0200) it->second.SetAdaptationField(2, 1);
    }
    return it->second;
  };

  std::ofstream out(path, std::ios::binary);
  if (!out) {
    std::cerr << "orb-tsgen: cannot create " << path << "\n";
    return 1;
  }
  const size_t target = static_cast<size_t>(mib * 1024 * 1024);
  size_t written = 0;
  tslib::u8 fillerCc[64] = {};
  std::uint32_t rng = seed * 2654435761u + 7;
  auto random = [&rng] {
    rng ^= rng << 13;
    rng ^= rng >> 17;
    rng ^= rng << 5;
    return rng;
  };

  for (long cycle = 0; written < target; ++cycle) {
    // Each PID's packets of this cycle.
    std::map<tslib::u16, tslib::Bytes> perPid;
    for (const sigen::Table& t : mux.tables) {
      tslib::Bytes& bytes = perPid[t.pid];
      if (t.pid < 0x0010 || (t.pid >= 0x0100 && t.pid < 0x0200))
        for (const tslib::Bytes& s : t.sections) packetiser(t.pid).Put(s, bytes);  // one per packet run
      else
        packetiser(t.pid).PutPacked(t.sections, bytes);
    }
    packetiser(0x0014).PutPacked({sigen::MakeTdt(config, cycle), sigen::MakeTot(config, cycle)},
                                 perPid[0x0014]);

    // Interleave: one packet of each PID in turn, with filler between.
    std::map<tslib::u16, size_t> at;
    bool more = true;
    tslib::Bytes cycleBytes;
    while (more) {
      more = false;
      for (auto& [pid, bytes] : perPid) {
        size_t& pos = at[pid];
        if (pos >= bytes.size()) continue;
        more = true;
        cycleBytes.insert(cycleBytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                          bytes.begin() + static_cast<std::ptrdiff_t>(pos + tslib::kPacketSize));
        pos += tslib::kPacketSize;
        // Video-like filler on the services' PIDs, and null packets.
        const size_t v = random() % mux.videoPids.size();
        tslib::AppendFillerPacket(mux.videoPids[v], &fillerCc[v % 64],
                                  static_cast<tslib::u8>(random()), cycleBytes);
        if (random() % 4 == 0) tslib::AppendNullPacket(cycleBytes);
        if (junk && random() % 97 == 0) {
          // Stray bytes, sync bytes among them.
          const size_t n = 1 + random() % 300;
          for (size_t k = 0; k < n; ++k)
            cycleBytes.push_back(k % 50 == 0 ? tslib::kSyncByte : static_cast<tslib::u8>(random()));
        }
      }
    }
    out.write(reinterpret_cast<const char*>(cycleBytes.data()),
              static_cast<std::streamsize>(cycleBytes.size()));
    written += cycleBytes.size();
  }
  out.close();
  if (!out) {
    std::cerr << "orb-tsgen: cannot write " << path << "\n";
    return 1;
  }
  std::cout << "wrote " << written << " bytes to " << path << "\n";
  return 0;
}
