#include "tree_store.h"

#include <cstring>
#include <map>
#include <set>

#include "lib13818/error.h"
#include "orb_store/tuning.h"
#include "sigen/sigen.h"
#include "tslib/ts.h"
#include "vsim/multiplex.h"
#include "vsim/world.h"

namespace tree_test {

using namespace lib13818;

namespace {

template <class Section>
bool ParseInto(const Bytes& bytes, Section& out) {
  Section s;
  try {
    s.Parse(bytes.data(), bytes.size());
  } catch (const lib13818::error&) {
    return false;
  }
  if (!s.parsed) return false;
  out = std::move(s);
  return true;
}

// The tuning of the stream from its own entry in the NIT actual.
void TuneFromNit(Transponder& record) {
  for (const auto& [nid, sections] : record.nitActual)
    for (const auto& [number, nit] : sections)
      for (const TransportStreamInfo& entry : nit.transportStreams) {
        if (entry.transport_stream_id != record.transport_stream_id) continue;
        const DescriptorSet& d = entry.descriptors;
        if (!d.satelliteDeliverySystemDescriptors.empty()) {
          SATDELIVERYDESC sat;
          orb::app::SatelliteDescToTuning(d.satelliteDeliverySystemDescriptors.front(), sat);
          record.SetSatelliteTuning("", &sat);
        } else if (!d.cableDeliverySystemDescriptors.empty()) {
          CABLEDELIVERYDESC cable;
          orb::app::CableDescToTuning(d.cableDeliverySystemDescriptors.front(), cable);
          record.SetCableTuning(&cable);
        } else if (!d.terrestrialDeliverySystemDescriptors.empty()) {
          TERRDELIVERYDESC terr;
          orb::app::TerrestrialDescToTuning(d.terrestrialDeliverySystemDescriptors.front(), terr);
          record.SetTerrestrialTuning(&terr);
        }
        return;
      }
}

}  // namespace

bool FileTransportStream(NetworkMap& store, const std::vector<Bytes>& sections) {
  Transponder record;
  bool havePat = false, haveCat = false, haveBat = false, haveRst = false, haveTdt = false, haveTot = false;
  bool haveSdt = false;
  u32 networkKey = 0;
  std::multimap<u32, const Bytes*> pmtSections;  // program_number -> section
  for (const Bytes& bytes : sections) {
    if (bytes.size() < 3) continue;
    const u8 table = bytes[0];
    if (table == 0x00 && !havePat) {
      havePat = ParseInto(bytes, record.pat);
    } else if (table == 0x01 && !haveCat) {
      haveCat = ParseInto(bytes, record.cat);
    } else if (table == 0x02 && bytes.size() >= 5) {
      pmtSections.emplace(u32(bytes[3]) << 8 | bytes[4], &bytes);
    } else if (table == 0x40 || table == 0x41) {
      NetworkInformationSection nit;
      if (ParseInto(bytes, nit)) FileSection(record, nit);
    } else if (table == 0x42 || table == 0x46) {
      ServiceDescriptionSection sdt;
      if (ParseInto(bytes, sdt) && FileSection(record, sdt) && table == 0x42) {
        haveSdt = true;
        networkKey = sdt.original_network_id;
      }
    } else if (table == 0x4A && !haveBat) {
      haveBat = ParseInto(bytes, record.bat);
    } else if (table >= 0x4E && table <= 0x6F) {
      EventInformationSection eit;
      if (ParseInto(bytes, eit)) FileSection(record, eit);
    } else if (table == 0x70 && !haveTdt) {
      haveTdt = ParseInto(bytes, record.tdt);
    } else if (table == 0x71 && !haveRst) {
      haveRst = ParseInto(bytes, record.rst);
    } else if (table == 0x73 && !haveTot) {
      haveTot = ParseInto(bytes, record.tot);
    }
  }
  if (!havePat || !haveSdt) return false;
  record.transport_stream_id = record.pat.table_id_extension;
  for (int i = 0; i < record.pat.GetProgramCount(); ++i) {
    const u32 program = record.pat.GetProgram(i)->program_number;
    if (program == 0) continue;
    auto [first, last] = pmtSections.equal_range(program);
    for (auto it = first; it != last; ++it) {
      ProgramMapSection pmt;
      if (ParseInto(*it->second, pmt)) {
        record.pmts.push_back(std::move(pmt));
        break;
      }
    }
  }
  TuneFromNit(record);
  Network& network = store[networkKey];
  network.network_id = networkKey;
  network.transponders[record.transport_stream_id] = std::move(record);
  return true;
}

namespace {

// Sections by length, then by their bytes.  (The vectors' own operator<
// makes GCC 12 at -O3 report a memcmp bound that cannot occur.)
struct ShorterFirst {
  bool operator()(const Bytes& a, const Bytes& b) const {
    if (a.size() != b.size()) return a.size() < b.size();
    return !a.empty() && std::memcmp(a.data(), b.data(), a.size()) < 0;
  }
};

}  // namespace

std::vector<Bytes> SectionsOfCapture(const Bytes& ts) {
  auto collect = [&ts](const std::set<u16>& pids) {
    std::vector<Bytes> out;
    std::set<Bytes, ShorterFirst> seen;
    tslib::SectionDemux demux([&](u16, const u8* section, size_t size) {
      Bytes b(section, section + size);
      if (seen.insert(b).second) out.push_back(std::move(b));
    });
    for (u16 pid : pids) demux.AddPid(pid);
    tslib::PacketReader reader(ts.data(), ts.size());
    while (const u8* packet = reader.Next()) demux.Put(packet);
    return out;
  };
  std::set<u16> pids = {0x0000, 0x0001, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014};
  for (const Bytes& s : collect({0x0000})) {
    ProgramAssociationSection pat;
    if (!ParseInto(s, pat)) continue;
    for (const ProgramAssociationInfo& p : pat.programs)
      if (p.program_number != 0) pids.insert(static_cast<u16>(p.PID));
  }
  return collect(pids);
}

std::vector<Bytes> GeneratedSections(std::uint16_t network_id, std::uint16_t original_network_id,
                                     std::uint16_t transport_stream_id, int services, int scheduleEvents,
                                     std::uint32_t seed) {
  sigen::Config config;
  config.network_id = network_id;
  config.original_network_id = original_network_id;
  config.transport_stream_id = transport_stream_id;
  config.services = services;
  config.scheduleEvents = scheduleEvents;
  config.seed = seed;
  return sigen::AllSections(sigen::GenerateMultiplex(config));
}

Bytes SimulatedCardCapture() {
  const vsim::World world = vsim::DefaultWorld();
  const vsim::MuxDef& mux = world.satellites.front().transponders.front();
  auto multiplex = vsim::Multiplex::Generate(world, mux, [] {
    vsim::UtcInstant t;
    t.year = 2024;
    t.month = 3;
    t.day = 15;
    t.hour = 6;
    return t;
  });
  return multiplex->CyclePackets();
}

Bytes GeneratedCapture() {
  sigen::Config config;
  config.network_id = 0x3001;
  config.original_network_id = 0x0002;
  config.transport_stream_id = 0x0457;
  config.services = 3;
  config.otherTransportStreams = 2;
  config.servicesPerOtherStream = 2;
  config.scheduleEvents = 2;
  config.seed = 7;
  const sigen::Multiplex mux = sigen::GenerateMultiplex(config);
  std::map<u16, tslib::SectionPacketiser> packetisers;
  Bytes out;
  for (int cycle = 0; cycle < 2; ++cycle) {
    for (const sigen::Table& t : mux.tables) {
      auto it = packetisers.emplace(t.pid, tslib::SectionPacketiser(t.pid)).first;
      it->second.PutPacked(t.sections, out);
      tslib::AppendNullPacket(out);
      // Stray bytes now and then, a sync byte among them.
      if (t.pid == 0x0011) out.insert(out.end(), {0x47, 0x00, 0x11, 0x10, 0xFF, 0x47, 0x12});
    }
    auto& time = packetisers.emplace(0x0014, tslib::SectionPacketiser(0x0014)).first->second;
    time.PutPacked({sigen::MakeTdt(config, cycle), sigen::MakeTot(config, cycle)}, out);
  }
  return out;
}

NetworkMap GeneratedSatellite(int count, int services, int scheduleEvents) {
  NetworkMap store;
  for (int i = 0; i < count; ++i)
    FileTransportStream(store, GeneratedSections(0x0001, 0x0001, static_cast<u16>(0x0400 + i), services,
                                                 scheduleEvents, static_cast<std::uint32_t>(i + 1)));
  return store;
}

}  // namespace tree_test
