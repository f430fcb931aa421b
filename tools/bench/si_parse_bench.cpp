// Section parsing speed: sections/s and bytes/s per table kind and over the
// whole corpus, against the bare CRC-32 check, and the stream path from
// packets to parsed sections.  The corpus is the generated multiplex of
// sigen (every table kind, a wide range of descriptors), a few seeds of it.
#include <benchmark/benchmark.h>

#include <map>

#include "lib13818/ait.h"
#include "parse_as.h"
#include "lib13818/nit_bat.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "lib13818/time_tables.h"
#include "sigen/sigen.h"
#include "tsdump/scanner.h"
#include "tslib/ts.h"

namespace {

using lib13818::u8;
using sigen::Bytes;
using tsdump::Table;

struct Corpus {
  std::vector<Bytes> all;
  std::map<Table, std::vector<Bytes>> byTable;
  size_t allBytes = 0;
  Bytes packets;  // the sections cut into packets, PID by PID
};

const Corpus& GetCorpus() {
  static const Corpus corpus = [] {
    Corpus c;
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
      sigen::Config config;
      config.seed = seed;
      config.services = 12;
      config.scheduleEvents = 48;
      config.transport_stream_id = static_cast<std::uint16_t>(0x0400 + seed * 0x10);
      const sigen::Multiplex mux = sigen::GenerateMultiplex(config);
      for (Bytes& s : sigen::AllSections(mux)) {
        c.allBytes += s.size();
        c.byTable[tsdump::TableOf(s[0])].push_back(s);
        c.all.push_back(std::move(s));
      }
      std::map<std::uint16_t, tslib::SectionPacketiser> packetisers;
      for (const sigen::Table& t : mux.tables)
        packetisers.emplace(t.pid, tslib::SectionPacketiser(t.pid)).first->second.PutPacked(t.sections, c.packets);
    }
    return c;
  }();
  return corpus;
}

// The section class that the table_id selects.
bool ParseSection(const Bytes& b) {
  switch (tsdump::TableOf(b[0])) {
    case Table::PAT: return ParseAs<lib13818::ProgramAssociationSection>(b);
    case Table::CAT: return ParseAs<lib13818::ConditionalAccessSection>(b);
    case Table::PMT: return ParseAs<lib13818::ProgramMapSection>(b);
    case Table::NitActual:
    case Table::NitOther: return ParseAs<lib13818::NetworkInformationSection>(b);
    case Table::SdtActual:
    case Table::SdtOther: return ParseAs<lib13818::ServiceDescriptionSection>(b);
    case Table::BAT: return ParseAs<lib13818::BouquetAssociationSection>(b);
    case Table::EitPfActual:
    case Table::EitPfOther:
    case Table::EitScheduleActual:
    case Table::EitScheduleOther: return ParseAs<lib13818::EventInformationSection>(b);
    case Table::TDT: return ParseAs<lib13818::TimeDateSection>(b);
    case Table::RST: return ParseAs<lib13818::RunningStatusSection>(b);
    case Table::TOT: return ParseAs<lib13818::TimeOffsetSection>(b);
    case Table::AIT: return ParseAs<lib13818::ApplicationInformationSection>(b);
    default: return false;
  }
}

void Run(benchmark::State& state, const std::vector<Bytes>& sections) {
  size_t bytes = 0;
  for (const Bytes& s : sections) bytes += s.size();
  for (auto _ : state) {
    for (const Bytes& s : sections) {
      if (!ParseSection(s)) state.SkipWithError("a corpus section did not parse");
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * sections.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["sections"] = static_cast<double>(sections.size());
}

void BM_ParseAll(benchmark::State& state) { Run(state, GetCorpus().all); }
BENCHMARK(BM_ParseAll);

void BM_ParseTable(benchmark::State& state) {
  const Table table = static_cast<Table>(state.range(0));
  state.SetLabel(tsdump::TableName(table));
  Run(state, GetCorpus().byTable.at(table));
}
BENCHMARK(BM_ParseTable)->DenseRange(0, static_cast<int>(Table::Other) - 1);

// The CRC-32 over every long section: the floor under any parse.
void BM_Crc32Only(benchmark::State& state) {
  const Corpus& c = GetCorpus();
  for (auto _ : state) {
    std::uint32_t acc = 0;
    for (const Bytes& s : c.all) acc ^= lib13818::Crc32Mpeg(s.data(), s.size());
    benchmark::DoNotOptimize(acc);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * c.all.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.allBytes));
}
BENCHMARK(BM_Crc32Only);

// Packets to sections: the reader and the reassembly, no parsing.
void BM_Reassemble(benchmark::State& state) {
  const Corpus& c = GetCorpus();
  for (auto _ : state) {
    size_t n = 0;
    tslib::SectionDemux demux([&n](std::uint16_t, const u8*, size_t) { ++n; });
    for (std::uint16_t pid : {0x00, 0x01, 0x10, 0x11, 0x12, 0x13}) demux.AddPid(pid);
    for (std::uint16_t pid = 0x100; pid < 0x110; ++pid) demux.AddPid(pid);
    for (std::uint16_t pid = 0x200; pid < 0x300; ++pid) demux.AddPid(pid);
    tslib::PacketReader reader(c.packets.data(), c.packets.size());
    while (const u8* p = reader.Next()) demux.Put(p);
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.packets.size()));
}
BENCHMARK(BM_Reassemble);

// The whole stream path of orb-tsdump: packets, reassembly, PID discovery
// and a parse of every distinct section.
void BM_ScanStream(benchmark::State& state) {
  const Corpus& c = GetCorpus();
  for (auto _ : state) {
    tsdump::Scanner scanner(tsdump::Options(), nullptr);
    tslib::PacketReader reader(c.packets.data(), c.packets.size());
    while (const u8* p = reader.Next()) scanner.Packet(p);
    benchmark::DoNotOptimize(scanner);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.packets.size()));
}
BENCHMARK(BM_ScanStream);

}  // namespace

BENCHMARK_MAIN();
