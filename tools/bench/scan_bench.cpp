// The scan's own cost.
//
// FileLargeTransportStream: "Current transponder..." reading a large
// multiplex (every table, EIT schedule of many services, more than 5,000
// sections) whose whole answer is already there: what is timed is parsing
// every section and filing the Transponder into the store.
//
// CurrentTransponderOnSimulatedCard: the same read of a default-dish
// multiplex through a card simulated as the plug-ins collect (the multiplex
// played packet by packet at the card's 10,000 packets/s into the collection
// rules of each request).  The broadcast time a request waits for (packets /
// rate) is counted, not slept; the reader's own time is the call's time less
// the time spent inside the simulated card.  "overhead_pct" is the reader's
// time against the broadcast time of its two requests.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

#include "drvcore/sections.h"
#include "orb_scan/scanner.h"
#include "sigen/sigen.h"
#include "vsim/multiplex.h"
#include "vsim/ts.h"
#include "vsim/world.h"

namespace {

using orb::scan::HResult;
using Clock = std::chrono::steady_clock;

class QuietHost : public orb::scan::ScanHost {
 public:
  void Output(const std::string&) override {}
  void Log(int, const std::string&) override {}
  void SetProgress(int, const std::string&) override {}
  std::uint32_t TableSelection() override { return orb::scan::kNoSelectionStored; }
  void Message(const std::string&) override {}
};

class SatelliteTuner : public orb::scan::TunerControl {
 public:
  HResult GetDeliveryType(std::uint16_t& type) override {
    type = DELIVERY_SATELLITE;
    return orb::scan::kOk;
  }
  HResult SetSatellite(const std::string&, SATDELIVERYDESC&) override { return orb::scan::kOk; }
  HResult TuneCable(CABLEDELIVERYDESC&) override { return orb::scan::kFail; }
  HResult TuneTerrestrial(TERRDELIVERYDESC&) override { return orb::scan::kFail; }
  HResult GetSatChannel(std::string&, SATDELIVERYDESC&) override { return orb::scan::kFail; }
  HResult GetCableChannel(CABLEDELIVERYDESC&) override { return orb::scan::kFail; }
  HResult GetTerrestrialChannel(TERRDELIVERYDESC&) override { return orb::scan::kFail; }
};

// ---------------------------------------------------------------------------
// A whole answer at hand: every section of the request's PID and table
// (the schedule requests take their whole table range), in buffers made
// once; releasing them is the source's business.

class AnswerAtHand : public orb::scan::SectionSource {
 public:
  explicit AnswerAtHand(const sigen::Multiplex& mux) {
    for (const sigen::Table& t : mux.tables)
      for (const sigen::Bytes& s : t.sections) Add(t.pid, s);
    Add(0x0014, mux.tdt);
    Add(0x0014, mux.tot);
  }
  std::size_t Sections() const { return buffers_.size(); }
  void Reset() { answers_.clear(); }

  HResult GetSections(long count, SectionFilterSpec* specs, long, SectionResult* results) override {
    for (long i = 0; i < count; ++i) {
      std::vector<std::uint8_t*>& list = answers_.emplace_back();
      const SectionFilterSpec& spec = specs[i];
      for (const auto& [pid, buffer] : byPid_) {
        if (pid != spec.pid) continue;
        const std::uint8_t t = buffer[0];
        const bool schedule = spec.table_id == 0x50 || spec.table_id == 0x60;
        const bool match = schedule ? (t & 0xF0) == (spec.table_id & 0xF0) : t == spec.table_id;
        if (!match) continue;
        if (spec.match_extension && (buffer[3] << 8 | buffer[4]) != spec.table_id_extension) continue;
        list.push_back(buffer);
      }
      results[i].count = static_cast<std::uint32_t>(list.size());
      results[i].sections = list.empty() ? nullptr : list.data();
    }
    return orb::scan::kOk;
  }
  void Free(void*) override {}

 private:
  void Add(std::uint16_t pid, const sigen::Bytes& s) {
    buffers_.emplace_back(s[0] >= 0x4E && s[0] <= 0x6F ? 4096 : 1024, 0);
    std::memcpy(buffers_.back().data(), s.data(), std::min(s.size(), buffers_.back().size()));
    byPid_.emplace_back(pid, buffers_.back().data());
  }
  std::vector<std::vector<std::uint8_t>> buffers_;
  std::vector<std::pair<std::uint16_t, std::uint8_t*>> byPid_;
  std::deque<std::vector<std::uint8_t*>> answers_;  // stable while the reader holds them
};

// A large multiplex: 60 services of its own and 40 other streams of 40
// services, each with `events` schedule events (8: some 5,000 small
// sections; 128: some 8,000 sections of up to 4 KB).
const sigen::Multiplex& LargeMultiplex(int events) {
  static std::map<int, sigen::Multiplex> made;
  auto it = made.find(events);
  if (it == made.end()) {
    sigen::Config config;
    config.services = 60;
    config.otherTransportStreams = events > 64 ? 24 : 40;
    config.servicesPerOtherStream = 40;
    config.scheduleEvents = events;
    it = made.emplace(events, sigen::GenerateMultiplex(config)).first;
  }
  return it->second;
}

template <class S>
void ParseOne(const sigen::Bytes& b) {
  S s;
  try {
    s.Parse(b.data(), b.size());
  } catch (const lib13818::error&) {
  }
  benchmark::DoNotOptimize(s);
}

// The library's part of the same work: every section parsed once, nothing filed.
void ParseLargeTransportStreamOnly(benchmark::State& state) {
  const sigen::Multiplex& mux = LargeMultiplex(static_cast<int>(state.range(0)));
  std::vector<sigen::Bytes> all = sigen::AllSections(mux);
  for (auto _ : state) {
    for (const sigen::Bytes& b : all) {
      switch (b[0]) {
        case 0x00: ParseOne<lib13818::ProgramAssociationSection>(b); break;
        case 0x01: ParseOne<lib13818::ConditionalAccessSection>(b); break;
        case 0x02: ParseOne<lib13818::ProgramMapSection>(b); break;
        case 0x40: case 0x41: ParseOne<lib13818::NetworkInformationSection>(b); break;
        case 0x42: case 0x46: ParseOne<lib13818::ServiceDescriptionSection>(b); break;
        case 0x4A: ParseOne<lib13818::BouquetAssociationSection>(b); break;
        case 0x70: ParseOne<lib13818::TimeDateSection>(b); break;
        case 0x71: ParseOne<lib13818::RunningStatusSection>(b); break;
        case 0x73: ParseOne<lib13818::TimeOffsetSection>(b); break;
        default:
          if (b[0] >= 0x4E && b[0] <= 0x6F) ParseOne<lib13818::EventInformationSection>(b);
          break;
      }
    }
  }
  state.counters["sections"] = static_cast<double>(all.size());
}
BENCHMARK(ParseLargeTransportStreamOnly)->Arg(8)->Arg(128)->Unit(benchmark::kMillisecond);

void FileLargeTransportStream(benchmark::State& state) {
  AnswerAtHand source(LargeMultiplex(static_cast<int>(state.range(0))));
  if (source.Sections() < 5000) {
    state.SkipWithError("fewer than 5000 sections");
    return;
  }
  SatelliteTuner tuner;
  QuietHost host;
  std::atomic<bool> cancel{false};
  orb::scan::Scanner scanner(source, tuner, nullptr, host, cancel);
  for (auto _ : state) {
    lib13818::NetworkMap store;
    scanner.ReadTransportStreamSI(store);
    benchmark::DoNotOptimize(store);
    state.PauseTiming();
    if (store.size() != 1) state.SkipWithError("nothing stored");
    store.clear();
    source.Reset();
    state.ResumeTiming();
  }
  state.counters["sections"] = static_cast<double>(source.Sections());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * source.Sections()));
}
BENCHMARK(FileLargeTransportStream)->Arg(8)->Arg(128)->Unit(benchmark::kMillisecond);

// Clearing the store that FileLargeTransportStream fills: only the clear is
// timed.
void ClearLargeStore(benchmark::State& state) {
  AnswerAtHand source(LargeMultiplex(static_cast<int>(state.range(0))));
  SatelliteTuner tuner;
  QuietHost host;
  std::atomic<bool> cancel{false};
  orb::scan::Scanner scanner(source, tuner, nullptr, host, cancel);
  lib13818::NetworkMap store;
  for (auto _ : state) {
    state.PauseTiming();
    source.Reset();
    scanner.ReadTransportStreamSI(store);
    if (store.size() != 1) state.SkipWithError("nothing stored");
    state.ResumeTiming();
    store.clear();
    benchmark::DoNotOptimize(store);
  }
  state.counters["sections"] = static_cast<double>(source.Sections());
}
BENCHMARK(ClearLargeStore)->Arg(8)->Arg(128)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// A card simulated as the plug-ins collect.

class SimulatedCard : public orb::scan::SectionSource {
 public:
  static constexpr double kPacketsPerSecond = 10000;

  SimulatedCard(const vsim::World& world, const vsim::MuxDef& mux)
      : mux_(vsim::Multiplex::Generate(world, mux, [] { return vsim::UtcInstant{2026, 12, 9, 7, 0, 0}; })) {}

  HResult GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                      SectionResult* results) override {
    const auto start = Clock::now();
    for (long i = 0; i < count; ++i) results[i] = SectionResult{};
    for (long first = 0; first < count; first += 32) {
      const long n = std::min<long>(32, count - first);
      RunBatch(specs + first, results + first, n, timeoutSeconds);
    }
    inside_ += Clock::now() - start;
    return orb::scan::kOk;
  }
  void Free(void* block) override { std::free(block); }

  double BroadcastSeconds() const { return packets_ / kPacketsPerSecond; }
  double InsideSeconds() const { return std::chrono::duration<double>(inside_).count(); }
  void ResetClocks() {
    packets_ = 0;
    inside_ = {};
  }

 private:
  void RunBatch(const SectionFilterSpec* specs, SectionResult* results, long n, long timeoutSeconds) {
    std::vector<std::unique_ptr<drvcore::SectionCollector>> collectors;
    for (long i = 0; i < n; ++i) collectors.push_back(std::make_unique<drvcore::SectionCollector>(specs[i].mode));
    std::map<std::uint16_t, vsim::SectionAssembler> assemblers;
    const double limit = static_cast<double>(timeoutSeconds) * kPacketsPerSecond;
    std::uint8_t packet[vsim::kPacketSize];
    for (double waited = 0; waited < limit; ++waited) {
      bool all = true;
      for (const auto& c : collectors) all = all && (c->Done() || !c->Collects());
      if (all) break;
      mux_->Next(packet);
      ++packets_;
      const std::uint16_t pid = vsim::PacketPid(packet);
      bool wanted = false;
      for (long i = 0; i < n; ++i) wanted = wanted || (specs[i].pid & 0x1FFF) == pid;
      if (!wanted) continue;
      assemblers[pid].Put(packet, [&](const std::uint8_t* s, size_t size) {
        for (long i = 0; i < n; ++i) {
          const SectionFilterSpec& spec = specs[i];
          if ((spec.pid & 0x1FFF) != pid || s[0] != spec.table_id) continue;
          if (spec.match_extension && size > 4 && (s[3] << 8 | s[4]) != spec.table_id_extension) continue;
          collectors[static_cast<size_t>(i)]->Offer(s, size);
        }
      });
    }
    for (long i = 0; i < n; ++i) {
      std::uint8_t** sections = nullptr;
      collectors[static_cast<size_t>(i)]->HandOver(&std::malloc, &std::free, results[i].count, sections);
      results[i].sections = sections;
    }
  }

  std::unique_ptr<vsim::Multiplex> mux_;
  double packets_ = 0;
  Clock::duration inside_{};
};

void CurrentTransponderOnSimulatedCard(benchmark::State& state) {
  const vsim::World world = vsim::DefaultWorld();
  SimulatedCard card(world, world.satellites[0].transponders[2]);  // 11836 H, four services
  SatelliteTuner tuner;
  QuietHost host;
  std::atomic<bool> cancel{false};
  orb::scan::Scanner scanner(card, tuner, nullptr, host, cancel);
  double broadcast = 0, reader = 0;
  for (auto _ : state) {
    card.ResetClocks();
    lib13818::NetworkMap store;
    const auto start = Clock::now();
    scanner.ReadTransportStreamSI(store);
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    if (store.size() != 1) state.SkipWithError("nothing stored");
    broadcast += card.BroadcastSeconds();
    reader += total - card.InsideSeconds();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["broadcast_ms"] = broadcast / n * 1000;
  state.counters["reader_ms"] = reader / n * 1000;
  state.counters["overhead_pct"] = reader / broadcast * 100;
}
BENCHMARK(CurrentTransponderOnSimulatedCard)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
