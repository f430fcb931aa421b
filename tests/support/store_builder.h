#pragma once
// Builds SI store records from raw sections, as a scan files them: PAT, CAT,
// PMTs and SDT actual parsed by the library and put into one Transponder.
// Header-only, for the export tests and the export benchmark.
#include <cstdint>
#include <string>
#include <vector>

#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "orb_store/si_store.h"
#include "section_builder.h"

namespace testing_support {

// Parses every section into its place in `record` (other tables are left
// out); a section that does not parse is skipped.
inline void AddSections(lib13818::Transponder& record, const std::vector<Bytes>& sections) {
  for (const Bytes& s : sections) {
    if (s.empty()) continue;
    try {
      switch (s[0]) {
        case 0x00:
          record.pat.Parse(s.data(), s.size());
          record.transport_stream_id = record.pat.table_id_extension;
          break;
        case 0x01: record.cat.Parse(s.data(), s.size()); break;
        case 0x02: {
          lib13818::ProgramMapSection pmt;
          pmt.Parse(s.data(), s.size());
          record.pmts.push_back(std::move(pmt));
          break;
        }
        case 0x42: {
          lib13818::ServiceDescriptionSection sdt;
          sdt.Parse(s.data(), s.size());
          lib13818::FileSection(record, sdt);
          break;
        }
        default: break;
      }
    } catch (const lib13818::error&) {
    }
  }
}

inline SATDELIVERYDESC SatelliteRecord(std::uint32_t frequency10kHz, std::uint8_t polarization,
                                       std::uint32_t symbolRate100, std::uint8_t fec) {
  SATDELIVERYDESC r{};
  r.frequency = frequency10kHz;
  r.polarization = polarization;
  r.symbol_rate = symbolRate100;
  r.fec_inner = fec;
  return r;
}

// A CA descriptor's bytes: system, PID and private bytes.
inline Bytes CaDescriptor(std::uint16_t system, std::uint16_t pid, const Bytes& priv = {}) {
  Bytes d{0x09, static_cast<std::uint8_t>(4 + priv.size()), static_cast<std::uint8_t>(system >> 8),
          static_cast<std::uint8_t>(system), static_cast<std::uint8_t>(0xE0 | pid >> 8),
          static_cast<std::uint8_t>(pid)};
  d.reserve(d.size() + priv.size());  // sized first: GCC 12 -O3 false -Warray-bounds otherwise
  d.insert(d.end(), priv.begin(), priv.end());
  return d;
}

// A service descriptor's bytes.
inline Bytes ServiceDescriptor(std::uint8_t type, const std::string& provider, const std::string& name) {
  Bytes d{0x48, 0, type, static_cast<std::uint8_t>(provider.size())};
  d.reserve(d.size() + provider.size() + 1 + name.size());
  d.insert(d.end(), provider.begin(), provider.end());
  d.push_back(static_cast<std::uint8_t>(name.size()));
  d.insert(d.end(), name.begin(), name.end());
  d[1] = static_cast<std::uint8_t>(d.size() - 2);
  return d;
}

// A PMT: PCR PID, program-info descriptors, then streams (type, PID, their
// descriptors).
struct PmtStream {
  std::uint8_t type;
  std::uint16_t pid;
  Bytes descriptors;
};
inline Bytes Pmt(std::uint16_t program, std::uint16_t pcr, const Bytes& info, const std::vector<PmtStream>& streams) {
  auto b = SectionBuilder::Long(0x02, program, 0, 0, 0, 0xB);
  b.U16(0xE000 | pcr).BeginLoop().Raw(info).EndLoop();
  for (const PmtStream& s : streams) b.U8(s.type).U16(0xE000 | s.pid).BeginLoop().Raw(s.descriptors).EndLoop();
  return b.Build();
}

inline Bytes Pat(std::uint16_t tsid, const std::vector<std::pair<std::uint16_t, std::uint16_t>>& programs) {
  auto b = SectionBuilder::Long(0x00, tsid, 0, 0, 0, 0xB);
  for (const auto& [program, pid] : programs) b.U16(program).U16(0xE000 | pid);
  return b.Build();
}

inline Bytes Cat(const Bytes& descriptors) {
  return SectionBuilder::Long(0x01, 0xFFFF, 0, 0, 0, 0xB).Raw(descriptors).Build();
}

// One SDT-actual entry.
struct SdtEntry {
  std::uint16_t service_id;
  bool eitSchedule, eitPresentFollowing;
  std::uint8_t freeCa;
  Bytes descriptors;
};
inline Bytes Sdt(std::uint16_t tsid, std::uint16_t onid, const std::vector<SdtEntry>& entries,
                 std::uint8_t section_number = 0, std::uint8_t last_section_number = 0) {
  auto b = SectionBuilder::Long(0x42, tsid, 0, section_number, last_section_number, 0xF);
  b.U16(onid).U8(0xFF);
  for (const SdtEntry& e : entries) {
    b.U16(e.service_id).U8(0xFC | (e.eitSchedule ? 2 : 0) | (e.eitPresentFollowing ? 1 : 0));
    b.BeginLoop(static_cast<std::uint8_t>(0x8 | (e.freeCa ? 1 : 0))).Raw(e.descriptors).EndLoop();
  }
  return b.Build();
}

// A synthetic store: `streams` transport streams under one network, each with
// `servicesPerStream` services whose PMT carries one CA descriptor in its
// program-info loop and one on its audio stream, and whose SDT entry names
// it.
inline lib13818::NetworkMap SyntheticStore(int streams, int servicesPerStream, std::uint16_t onid = 0x0001) {
  lib13818::NetworkMap store;
  for (int t = 0; t < streams; ++t) {
    const auto tsid = static_cast<std::uint16_t>(0x0100 + t);
    std::vector<Bytes> sections;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> programs{{0, 0x0010}};
    std::vector<SdtEntry> entries;
    for (int s = 0; s < servicesPerStream; ++s) {
      const auto sid = static_cast<std::uint16_t>(0x1000 + s);
      const auto pmtPid = static_cast<std::uint16_t>(0x0100 + s);
      programs.emplace_back(sid, pmtPid);
      const auto es = static_cast<std::uint16_t>(0x0200 + 4 * s);
      sections.push_back(Pmt(sid, es, CaDescriptor(0x0604, static_cast<std::uint16_t>(0x1000 + s), {0x01, 0x02}),
                             {{0x02, es, {}},
                              {0x04, static_cast<std::uint16_t>(es + 1),
                               CaDescriptor(0x0500, static_cast<std::uint16_t>(0x1800 + s), {0xAA})}}));
      entries.push_back({sid, true, true, 1,
                         ServiceDescriptor(0x01, "Provider " + std::to_string(t),
                                           "Service " + std::to_string(t) + "." + std::to_string(s))});
    }
    sections.push_back(Pat(tsid, programs));
    sections.push_back(Cat({}));
    // Entries in sections of at most 25 (an SDT section holds at most 1021 bytes).
    const size_t perSection = 25;
    const size_t count = (entries.size() + perSection - 1) / perSection;
    for (size_t i = 0; i < count; ++i) {
      std::vector<SdtEntry> part(entries.begin() + static_cast<long>(i * perSection),
                                 entries.begin() + static_cast<long>(std::min(entries.size(), (i + 1) * perSection)));
      sections.push_back(Sdt(tsid, onid, part, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(count - 1)));
    }
    lib13818::Transponder record;
    AddSections(record, sections);
    const SATDELIVERYDESC tuning = SatelliteRecord(1174300 + 200u * static_cast<std::uint32_t>(t),
                                                   static_cast<std::uint8_t>(t & 1), 275000, 3);
    record.SetSatelliteTuning("Astra", &tuning);
    lib13818::FileTransponder(store, onid, std::move(record));
  }
  return store;
}

}  // namespace testing_support
