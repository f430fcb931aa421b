// Reading the tuned transport stream from a card that plays the multiplex
// packet by packet into the plug-ins' collection rules, from any point of
// its cycle, with EIT sections sent at different rates as multiplexers do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "drvcore/sections.h"
#include "sim_driver.h"
#include "vsim/multiplex.h"
#include "vsim/ts.h"

using namespace scan_test;

namespace {

const vsim::UtcInstant kNow{2026, 12, 9, 7, 0, 0};

// Section requests answered by playing the multiplex's packets at the
// card's 10,000 packets per second into one collector per request; the
// time-out is counted in packets, not waited for.
class PlayedCard : public SectionSource {
 public:
  static constexpr long kPacketsPerSecond = 10000;

  PlayedCard(const vsim::World& world, const vsim::MuxDef& mux, size_t startPacket)
      : mux_(vsim::Multiplex::Generate(world, mux, [] { return kNow; })) {
    std::uint8_t packet[vsim::kPacketSize];
    for (size_t i = 0; i < startPacket; ++i) mux_->Next(packet);
  }
  ~PlayedCard() override { EXPECT_EQ(live_, 0) << "blocks never released"; }

  HResult GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                      SectionResult* results) override {
    for (long first = 0; first < count; first += 32)
      RunBatch(specs + first, results + first, std::min<long>(32, count - first), timeoutSeconds);
    return kOk;
  }
  void Free(void* block) override {
    --live_;
    std::free(block);
  }

  size_t PacketsPerCycle() const { return mux_->PacketsPerCycle(); }

 private:
  void RunBatch(const SectionFilterSpec* specs, SectionResult* results, long n, long timeoutSeconds) {
    std::vector<std::unique_ptr<drvcore::SectionCollector>> collectors;
    for (long i = 0; i < n; ++i) collectors.push_back(std::make_unique<drvcore::SectionCollector>(specs[i].mode));
    std::map<std::uint16_t, vsim::SectionAssembler> assemblers;
    std::uint8_t packet[vsim::kPacketSize];
    for (long waited = 0; waited < timeoutSeconds * kPacketsPerSecond; ++waited) {
      bool all = true;
      for (const auto& c : collectors) all = all && (c->Done() || !c->Collects());
      if (all) break;
      mux_->Next(packet);
      const std::uint16_t pid = vsim::PacketPid(packet);
      assemblers[pid].Put(packet, [&](const std::uint8_t* s, size_t size) {
        for (long i = 0; i < n; ++i) {
          const SectionFilterSpec& spec = specs[i];
          if ((spec.pid & 0x1FFF) != pid || s[0] != spec.table_id) continue;
          if (spec.match_extension && (size < 5 || (s[3] << 8 | s[4]) != spec.table_id_extension)) continue;
          collectors[static_cast<size_t>(i)]->Offer(s, size);
        }
      });
    }
    for (long i = 0; i < n; ++i) {
      std::uint8_t** sections = nullptr;
      collectors[static_cast<size_t>(i)]->HandOver(&std::malloc, &std::free, results[i].count, sections);
      results[i].sections = sections;
      if (sections) live_ += 1 + static_cast<long>(results[i].count);
    }
  }
  std::unique_ptr<vsim::Multiplex> mux_;
  long live_ = 0;
};

// (table_id, original_network_id, transport_stream_id, service_id, section_number)
using EitKey = std::tuple<int, unsigned, unsigned, unsigned, unsigned>;

std::set<EitKey> Stored(const lib13818::Transponder& t) {
  std::set<EitKey> keys;
  const std::pair<int, const lib13818::EitSectionMap*> maps[] = {{0x4E, &t.eitPresentFollowingActual},
                                                                 {0x4F, &t.eitPresentFollowingOther},
                                                                 {0x50, &t.eitScheduleActual},
                                                                 {0x60, &t.eitScheduleOther}};
  for (const auto& [tableId, map] : maps)
    for (const auto& [onid, streams] : *map)
      for (const auto& [tsid, services] : streams)
        for (const auto& [sid, sections] : services)
          for (const auto& [number, section] : sections) keys.insert({tableId, onid, tsid, sid, number});
  return keys;
}

std::set<EitKey> OnAir(const vsim::World& world, const vsim::MuxDef& mux) {
  std::set<EitKey> keys;
  for (const vsim::TableSections& t : vsim::GenerateTables(world, mux, kNow))
    for (const vsim::Bytes& s : t.sections)
      if (t.pid == 0x0012)
        keys.insert({s[0], s[10] << 8 | s[11], s[8] << 8 | s[9], s[3] << 8 | s[4], s[6]});
  return keys;
}

// "0x4e 6, 0x4f 4, ...": the sections of each table.
std::string PerTable(const std::set<EitKey>& keys) {
  std::map<int, int> n;
  for (const EitKey& k : keys) ++n[std::get<0>(k)];
  std::string text;
  char item[32];
  for (const auto& [tableId, count] : n) {
    std::snprintf(item, sizeof item, "%s0x%02x %d", text.empty() ? "" : ", ", tableId, count);
    text += item;
  }
  return text;
}

TEST(PlayedCard, EveryEitSectionIsReadWhateverItsRateAndWhereTheCycleStands) {
  // Three services here and two in the other stream of the network: under
  // the 100 sections a request keeps.
  vsim::World world;
  ASSERT_TRUE(vsim::ParseWorld("satellite name=\"19.2E\" position=192 input=0\n"
                               "transponder freq=11836000 pol=H sr=27500000 tsid=0x0441 onid=0x0001 "
                               "nid=0x0001 services=3 eitrepeat=3\n"
                               "transponder freq=11954000 pol=H sr=27500000 tsid=0x0442 onid=0x0001 "
                               "nid=0x0001 services=2\n",
                               world, nullptr));
  const vsim::MuxDef& mux = world.satellites[0].transponders[0];
  const std::set<EitKey> onAir = OnAir(world, mux);
  ASSERT_GT(onAir.size(), 100u);  // all four tables together
  const size_t cycle = PlayedCard(world, mux, 0).PacketsPerCycle();
  for (size_t start : {size_t{0}, cycle / 5, cycle / 3, cycle / 2, cycle * 3 / 4}) {
    SCOPED_TRACE(start);
    PlayedCard card(world, mux, start);
    SimDriver tuner(world);
    tuner.TuneTo(mux, "19.2E");
    RecordingHost host;
    std::atomic<bool> cancel{false};
    Scanner scanner(card, tuner, nullptr, host, cancel);
    lib13818::NetworkMap store;
    scanner.ReadTransportStreamSI(store);
    ASSERT_EQ(store.size(), 1u);
    ASSERT_EQ(store.begin()->second.transponders.size(), 1u);
    const std::set<EitKey> stored = Stored(store.begin()->second.transponders.begin()->second);
    EXPECT_EQ(stored.size(), onAir.size())
        << "EIT sections stored (" << PerTable(stored) << ") of those on air (" << PerTable(onAir) << ")";
    EXPECT_EQ(stored, onAir);
  }
}

}  // namespace
