#include "vsim/multiplex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using vsim::Bytes;
using vsim::kPacketSize;

struct Collector {
  std::map<vsim::u16, vsim::SectionAssembler> assemblers;
  std::map<vsim::u16, std::vector<Bytes>> sections;
  void Put(const vsim::u8* p) {
    vsim::u16 pid = vsim::PacketPid(p);
    assemblers[pid].Put(p, [&](const vsim::u8* s, size_t n) { sections[pid].emplace_back(s, s + n); });
  }
};

TEST(Multiplex, PlaysEveryTableOncePerCycleWithUnbrokenCounters) {
  vsim::World w = vsim::DefaultWorld();
  const vsim::MuxDef& mux = w.satellites[0].transponders[2];
  long long t = vsim::ToEpochSeconds({2024, 3, 9, 23, 59, 58});
  auto m = vsim::Multiplex::Generate(w, mux, [&] { return vsim::FromEpochSeconds(t++); });
  size_t n = m->PacketsPerCycle();
  ASSERT_GT(n, 50u);

  std::map<vsim::u16, size_t> per_cycle;
  for (const auto& ts : vsim::GenerateTables(w, mux, vsim::FromEpochSeconds(t)))
    per_cycle[ts.pid] = ts.sections.size();

  Collector c;
  vsim::u8 p[kPacketSize];
  std::map<vsim::u16, int> last_cc;
  for (size_t i = 0; i < 3 * n; ++i) {
    m->Next(p);
    vsim::u16 pid = vsim::PacketPid(p);
    int cc = p[3] & 0x0F;
    if (last_cc.count(pid)) {
      EXPECT_EQ(cc, (last_cc[pid] + 1) & 0x0F) << "pid " << pid;
    }
    last_cc[pid] = cc;
    c.Put(p);
  }
  for (auto& [pid, count] : per_cycle) EXPECT_EQ(c.sections[pid].size(), 3 * count) << "pid " << pid;
  // The time tables were rebuilt at each cycle start from the clock.
  ASSERT_EQ(c.sections[0x14].size(), 6u);
  EXPECT_EQ(c.sections[0x14][0][0], 0x70);
  EXPECT_EQ(c.sections[0x14][1][0], 0x73);
  EXPECT_NE(c.sections[0x14][0], c.sections[0x14][2]);
  // The entitlement streams of the scrambled service are there too.
  EXPECT_EQ(c.sections[mux.services[0].ecm_pid].size(), 3u);
  EXPECT_EQ(c.sections[0x50].size(), 3u);
}

TEST(Multiplex, LoopsATransportStreamAndSkipsGarbage) {
  vsim::World w = vsim::DefaultWorld();
  auto gen = vsim::Multiplex::Generate(w, w.cable[0], [] { return vsim::UtcInstant{}; });
  // Junk before the first packet and a trailing partial packet.
  const Bytes& cycle = gen->CyclePackets();
  Bytes stream(3 + cycle.size() + 1, 0x47);
  stream[0] = 0x00;
  stream[2] = 0x12;
  std::copy(cycle.begin(), cycle.end(), stream.begin() + 3);
  std::string error;
  auto m = vsim::Multiplex::FromBytes(stream, &error);
  ASSERT_NE(m, nullptr) << error;
  EXPECT_EQ(m->PacketsPerCycle(), gen->PacketsPerCycle());
  vsim::u8 p[kPacketSize];
  for (size_t i = 0; i < m->PacketsPerCycle(); ++i) m->Next(p);
  m->Next(p);
  EXPECT_EQ(Bytes(p, p + kPacketSize), Bytes(gen->CyclePackets().begin(), gen->CyclePackets().begin() + kPacketSize));

  EXPECT_EQ(vsim::Multiplex::FromBytes(Bytes(100, 0x47), &error), nullptr);
  EXPECT_EQ(vsim::Multiplex::FromFile("/nonexistent/mux.ts", &error), nullptr);
  EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace
