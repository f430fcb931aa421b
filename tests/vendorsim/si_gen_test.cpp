#include "vsim/si_gen.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "lib13818/nit_bat.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "lib13818/time_tables.h"

namespace {

using vsim::Bytes;
using vsim::u8;

const vsim::UtcInstant kNow{2024, 3, 9, 14, 25, 30};

unsigned Bcd(u8 b) { return (b >> 4) * 10 + (b & 0x0F); }
unsigned Get16(const u8* p) { return static_cast<unsigned>(p[0] << 8 | p[1]); }

std::map<vsim::u16, std::vector<Bytes>> Tables(const vsim::World& w, const vsim::MuxDef& m) {
  std::map<vsim::u16, std::vector<Bytes>> out;
  for (auto& t : vsim::GenerateTables(w, m, kNow)) out[t.pid] = t.sections;
  return out;
}

TEST(UtcEncoding, MatchesTheAnnexExampleAndRoundTrips) {
  u8 t[5];
  vsim::EncodeMjdUtc({1993, 10, 13, 12, 45, 0}, t);
  EXPECT_EQ(Get16(t), 0xC079u);
  EXPECT_EQ(t[2], 0x12);
  EXPECT_EQ(t[3], 0x45);
  EXPECT_EQ(t[4], 0x00);
  for (long long s : {0LL, 951782400LL, 1709994330LL, 4102444799LL}) {
    vsim::UtcInstant u = vsim::FromEpochSeconds(s);
    EXPECT_EQ(vsim::ToEpochSeconds(u), s);
  }
  vsim::UtcInstant leap = vsim::FromEpochSeconds(951782400LL);  // 2000-02-29
  EXPECT_EQ(leap.month, 2);
  EXPECT_EQ(leap.day, 29);
}

TEST(Generator, EveryLongSectionHasItsCrcAndFitsOneKilobyte) {
  vsim::World w = vsim::DefaultWorld();
  for (vsim::Medium medium : {vsim::Medium::Satellite, vsim::Medium::Cable, vsim::Medium::Terrestrial}) {
    for (const vsim::MuxDef* m : w.Muxes(medium)) {
      for (auto& [pid, sections] : Tables(w, *m)) {
        for (const Bytes& s : sections) {
          ASSERT_GE(s.size(), 3u);
          EXPECT_EQ(s.size(), 3u + ((s[1] & 0x0F) << 8 | s[2])) << "pid " << pid;
          EXPECT_LE(s.size(), 1024u);
          if (s[1] & 0x80) {
            EXPECT_EQ(lib13818::Crc32Mpeg(s.data(), s.size()), 0u) << "pid " << pid << " table " << int(s[0]);
          }
        }
      }
    }
  }
}

TEST(Generator, PsiParsesBackWithTheLibrary) {
  vsim::World w = vsim::DefaultWorld();
  const vsim::MuxDef& mux = w.satellites[0].transponders[2];  // 11836 H, first service scrambled
  auto t = Tables(w, mux);

  lib13818::ProgramAssociationSection pat;
  pat.Parse(t[0x0000][0].data(), t[0x0000][0].size());
  EXPECT_EQ(pat.table_id_extension, mux.transport_stream_id);
  ASSERT_EQ(pat.GetProgramCount(), 1 + static_cast<int>(mux.services.size()));
  EXPECT_EQ(pat.GetProgram(0)->program_number, 0u);
  EXPECT_EQ(pat.GetProgram(0)->PID, 0x10u);
  for (size_t i = 0; i < mux.services.size(); ++i) {
    const vsim::ServiceDef& s = mux.services[i];
    EXPECT_EQ(pat.GetProgram(static_cast<int>(i + 1))->program_number, s.service_id);
    ASSERT_EQ(t[s.pmt_pid].size(), 1u);
    lib13818::ProgramMapSection pmt;
    pmt.Parse(t[s.pmt_pid][0].data(), t[s.pmt_pid][0].size());
    EXPECT_EQ(pmt.table_id_extension, s.service_id);
    EXPECT_EQ(pmt.streams.size(), (s.video_pid ? 1u : 0u) + 1u + (s.teletext_pid ? 1u : 0u));
    EXPECT_EQ(pmt.PCR_PID, s.video_pid ? s.video_pid : s.audio_pid);
    EXPECT_EQ(pmt.descriptors.caDescriptors.size(), s.ca_system_id ? 1u : 0u);
  }

  lib13818::ConditionalAccessSection cat;
  cat.Parse(t[0x0001][0].data(), t[0x0001][0].size());
  ASSERT_EQ(cat.descriptors.caDescriptors.size(), 1u);

  lib13818::RunningStatusSection rst;
  rst.Parse(t[0x0013][0].data(), t[0x0013][0].size());
  ASSERT_EQ(rst.entries.size(), mux.services.size());
  EXPECT_EQ(rst.entries[0].service_id, mux.services[0].service_id);
  EXPECT_EQ(rst.entries[0].running_status, 4u);
}

TEST(Generator, TimeTablesCarryTheGivenInstant) {
  Bytes tdt = vsim::MakeTdt(kNow);
  lib13818::TimeDateSection d;
  d.Parse(tdt.data(), tdt.size());
  EXPECT_EQ(d.UTC_time.year, 2024);
  EXPECT_EQ(d.UTC_time.month, 3);
  EXPECT_EQ(d.UTC_time.day, 9);
  EXPECT_EQ(d.UTC_time.hour, 14);
  EXPECT_EQ(d.UTC_time.minute, 25);
  EXPECT_EQ(d.UTC_time.second, 30);

  Bytes tot = vsim::MakeTot(kNow);
  EXPECT_EQ(lib13818::Crc32Mpeg(tot.data(), tot.size()), 0u);
  lib13818::TimeOffsetSection o;
  o.Parse(tot.data(), tot.size());
  EXPECT_EQ(o.UTC_time.hour, 14);
  EXPECT_EQ(o.descriptors.localTimeOffsetDescriptors.size() + o.descriptors.generalDescriptors.size(), 1u);
}

// Sub-tables of the long SI tables: every (table, extension) has sections
// 0..last_section_number without gaps, except EIT schedule which goes by
// segments.
TEST(Generator, SiSubTablesAreCompleteAndConsistent) {
  vsim::World w = vsim::DefaultWorld();
  const vsim::MuxDef& mux = w.satellites[0].transponders[0];
  auto t = Tables(w, mux);
  std::map<std::pair<int, unsigned>, std::set<int>> seen;
  std::map<std::pair<int, unsigned>, int> last;
  for (vsim::u16 pid : {0x10, 0x11, 0x12}) {
    for (const Bytes& s : t[pid]) {
      auto key = std::make_pair(int(s[0]), Get16(&s[3]) ^ (s[0] >= 0x4E ? Get16(&s[8]) << 16 : 0));
      seen[key].insert(s[6]);
      last[key] = s[7];
    }
  }
  std::set<int> tables;
  for (auto& [key, numbers] : seen) {
    tables.insert(key.first);
    if (key.first >= 0x50) {
      // Schedule: one section per segment, numbers step by 8 up to the last.
      for (int n : numbers) EXPECT_EQ(n % 8, 0);
      EXPECT_EQ(*numbers.rbegin(), last[key]);
      EXPECT_EQ(numbers.size(), static_cast<size_t>(last[key] / 8 + 1));
    } else {
      EXPECT_EQ(numbers.size(), static_cast<size_t>(last[key] + 1)) << "table " << key.first;
    }
  }
  // NIT actual and other, SDT actual and other, BAT, EIT p/f and schedule,
  // actual and other.
  EXPECT_EQ(tables, (std::set<int>{0x40, 0x41, 0x42, 0x46, 0x4A, 0x4E, 0x4F, 0x50, 0x60}));
}

// The event_ids of the EIT sections given, by (table_id, service_id).
std::map<std::pair<int, unsigned>, std::set<unsigned>> EventIds(const std::vector<Bytes>& eit) {
  std::map<std::pair<int, unsigned>, std::set<unsigned>> ids;
  for (const Bytes& s : eit)
    for (size_t at = 14; at + 12 <= s.size() - 4; at += 12 + (Get16(&s[at + 10]) & 0x0FFF))
      ids[{s[0], Get16(&s[3])}].insert(Get16(&s[at]));
  return ids;
}

TEST(Generator, EitRepeatSendsSomeSectionsMoreOftenThanOthers) {
  vsim::World w = vsim::DefaultWorld();
  vsim::MuxDef& mux = w.satellites[0].transponders[0];
  const std::vector<Bytes> once = Tables(w, mux)[0x12];
  mux.eit_repeat = 3;
  const std::vector<Bytes> eit = Tables(w, mux)[0x12];
  // (table_id, service_id, section_number) -> times sent in a cycle.
  std::map<std::tuple<int, unsigned, int>, int> sent;
  std::map<std::pair<int, unsigned>, std::set<int>> numbers;
  for (const Bytes& s : eit) {
    ASSERT_EQ(lib13818::Crc32Mpeg(s.data(), s.size()), 0u);
    ++sent[{s[0], Get16(&s[3]), s[6]}];
    numbers[{s[0], Get16(&s[3])}].insert(s[6]);
  }
  // Present/following and each segment's first section three times, the rest once.
  int rest = 0;
  for (auto& [key, n] : sent) {
    const bool first = std::get<0>(key) < 0x50 || std::get<2>(key) % 8 == 0;
    EXPECT_EQ(n, first ? 3 : 1) << std::get<0>(key) << " " << std::get<1>(key) << " " << std::get<2>(key);
    if (!first) ++rest;
  }
  EXPECT_GT(rest, 0);
  // Every section of a sub-table announces the same last section; a
  // schedule segment's sections run from its first to its
  // segment_last_section_number without a gap.
  for (const Bytes& s : eit) {
    const std::set<int>& all = numbers[{s[0], Get16(&s[3])}];
    EXPECT_EQ(s[7], *all.rbegin());
    const int first = s[6] / 8 * 8;
    ASSERT_GE(s[12], first);
    ASSERT_LE(s[12], first + 7);
    for (int k = first; k <= first + 7; ++k) EXPECT_EQ(all.count(k), k <= s[12] ? 1u : 0u) << k;
  }
  // The same events as one section per segment.
  EXPECT_EQ(EventIds(eit), EventIds(once));
}

TEST(Generator, NitDescribesEveryTransportStreamOfTheNetwork) {
  vsim::World w = vsim::DefaultWorld();
  const vsim::MuxDef& mux = w.satellites[0].transponders[0];
  auto t = Tables(w, mux);
  const Bytes* nit = nullptr;
  for (const Bytes& s : t[0x10])
    if (s[0] == 0x40) nit = &s;
  ASSERT_NE(nit, nullptr);
  EXPECT_EQ(Get16(&(*nit)[3]), mux.network_id);
  const u8* p = nit->data() + 8;
  unsigned ndl = Get16(p) & 0x0FFF;
  EXPECT_EQ(p[2], 0x40);  // network name
  EXPECT_EQ(std::string(p + 4, p + 4 + p[3]), w.NetworkName(mux.network_id));
  p += 2 + ndl;
  unsigned tsl = Get16(p) & 0x0FFF;
  p += 2;
  const u8* end = p + tsl;
  std::set<unsigned> tsids;
  while (p < end) {
    unsigned tsid = Get16(p);
    tsids.insert(tsid);
    unsigned dl = Get16(p + 4) & 0x0FFF;
    const u8* d = p + 6;
    ASSERT_EQ(d[0], 0x43);  // satellite delivery system first
    const vsim::MuxDef* m = nullptr;
    for (const vsim::MuxDef& x : w.satellites[0].transponders)
      if (x.transport_stream_id == tsid) m = &x;
    ASSERT_NE(m, nullptr);
    unsigned freq10k = Bcd(d[2]) * 1000000 + Bcd(d[3]) * 10000 + Bcd(d[4]) * 100 + Bcd(d[5]);
    EXPECT_EQ(freq10k * 10, m->frequency_khz);
    EXPECT_EQ(Bcd(d[6]) * 100 + Bcd(d[7]), 192u);
    EXPECT_EQ(d[8] >> 5 & 3, m->polarization == 'V' ? 1 : 0);
    unsigned sr = Bcd(d[9]) * 100000 + Bcd(d[10]) * 1000 + Bcd(d[11]) * 10 + (d[12] >> 4);
    EXPECT_EQ(sr * 100, m->symbol_rate);
    EXPECT_EQ(d[12] & 0x0F, m->fec_inner);
    p += 6 + dl;
  }
  EXPECT_EQ(tsids.size(), w.satellites[0].transponders.size());
}

TEST(Generator, CableAndTerrestrialDeliveryDescriptors) {
  vsim::World w = vsim::DefaultWorld();
  auto find = [](const std::vector<Bytes>& sections, u8 tag) -> std::vector<u8> {
    for (const Bytes& s : sections) {
      if (s[0] != 0x40) continue;
      for (size_t i = 0; i + 2 < s.size(); ++i)
        if (s[i] == tag && s[i + 1] == (tag == 0x44 ? 11 : 11)) return {s.begin() + i, s.begin() + i + 13};
    }
    return {};
  };
  auto c = find(Tables(w, w.cable[1])[0x10], 0x44);
  ASSERT_EQ(c.size(), 13u);
  EXPECT_EQ(Bcd(c[2]) * 1000000 + Bcd(c[3]) * 10000 + Bcd(c[4]) * 100 + Bcd(c[5]), 3460000u);  // first TS
  auto d = find(Tables(w, w.terrestrial[2])[0x10], 0x5A);
  ASSERT_EQ(d.size(), 13u);
  EXPECT_EQ(static_cast<unsigned>(d[2] << 24 | d[3] << 16 | d[4] << 8 | d[5]), 50600000u);
}

// Every SI section of every multiplex of the default world parses with the
// library and says what the world holds.
TEST(Generator, SiParsesBackWithTheLibrary) {
  vsim::World w = vsim::DefaultWorld();
  for (vsim::Medium medium : {vsim::Medium::Satellite, vsim::Medium::Cable, vsim::Medium::Terrestrial}) {
    std::vector<const vsim::MuxDef*> muxes = w.Muxes(medium);
    auto find = [&](unsigned tsid) -> const vsim::MuxDef* {
      for (const vsim::MuxDef* m : muxes)
        if (m->transport_stream_id == tsid) return m;
      return nullptr;
    };
    for (const vsim::MuxDef* mux : muxes) {
      auto t = Tables(w, *mux);
      size_t nit_ts = 0, bat_ts = 0, eit_events = 0;
      for (const Bytes& s : t[0x10]) {
        lib13818::NetworkInformationSection nit;
        ASSERT_NO_THROW(nit.Parse(s.data(), s.size()));
        ASSERT_TRUE(nit.parsed);
        EXPECT_EQ(nit.descriptors.networkNameDescriptors.size(), 1u);
        for (const auto& ts : nit.transportStreams) {
          const vsim::MuxDef* m = find(ts.transport_stream_id);
          ASSERT_NE(m, nullptr);
          EXPECT_EQ(ts.original_network_id, m->original_network_id);
          EXPECT_EQ(nit.table_id_extension, m->network_id);
          EXPECT_EQ(ts.descriptors.serviceListDescriptors.size(), 1u);
          size_t delivery = ts.descriptors.satelliteDeliverySystemDescriptors.size() +
                            ts.descriptors.cableDeliverySystemDescriptors.size() +
                            ts.descriptors.terrestrialDeliverySystemDescriptors.size();
          EXPECT_EQ(delivery, 1u);
          ++nit_ts;
        }
      }
      EXPECT_EQ(nit_ts, muxes.size());  // actual and other together name every multiplex
      for (const Bytes& s : t[0x11]) {
        if (s[0] == 0x4A) {
          lib13818::BouquetAssociationSection bat;
          ASSERT_NO_THROW(bat.Parse(s.data(), s.size()));
          EXPECT_EQ(bat.descriptors.bouquetNameDescriptors.size(), 1u);
          bat_ts += bat.transportStreams.size();
          continue;
        }
        lib13818::ServiceDescriptionSection sdt;
        ASSERT_NO_THROW(sdt.Parse(s.data(), s.size()));
        const vsim::MuxDef* m = find(sdt.table_id_extension);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(sdt.table_id == 0x42, m == mux);
        EXPECT_EQ(sdt.original_network_id, m->original_network_id);
        ASSERT_EQ(sdt.services.size(), m->services.size());
        for (size_t i = 0; i < m->services.size(); ++i) {
          EXPECT_EQ(sdt.services[i].service_id, m->services[i].service_id);
          EXPECT_EQ(sdt.services[i].running_status, 4u);
          EXPECT_EQ(sdt.services[i].free_CA_mode, m->services[i].ca_system_id ? 1u : 0u);
          EXPECT_EQ(sdt.services[i].descriptors.serviceDescriptors.size(), 1u);
        }
      }
      EXPECT_EQ(bat_ts, muxes.size());
      for (const Bytes& s : t[0x12]) {
        lib13818::EventInformationSection eit;
        ASSERT_NO_THROW(eit.Parse(s.data(), s.size()));
        const vsim::MuxDef* m = find(eit.transport_stream_id);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ((eit.table_id == 0x4E || eit.table_id == 0x50), m == mux);
        EXPECT_EQ(eit.last_table_id, eit.table_id);
        for (const auto& e : eit.events) {
          EXPECT_EQ(e.duration.hours, 1);
          EXPECT_EQ(e.descriptors.shortEventDescriptors.size(), 1u);
          EXPECT_EQ(e.start_time.year, 2024);
          ++eit_events;
        }
      }
      EXPECT_GT(eit_events, 0u);
    }
  }
}

TEST(WorldFile, ParsesItemsAndRejectsMistakesWithTheLine) {
  vsim::World w;
  std::string error;
  ASSERT_TRUE(vsim::ParseWorld(
      "# test dish\n"
      "network nid=0x77 name=\"Test Net\"\n"
      "satellite name=\"28.2E\" position=282 input=2 lof_low=9750000 lof_high=10600000\n"
      "transponder freq=11778000 pol=v sr=27500000 tsid=0x7D0 nid=0x77 services=2 scrambled=1 eitrepeat=4\n"
      "cable freq=330000 qam=256 sr=6900000 tsid=5 nid=6\n"
      "terrestrial freq=522000 bw=7 tsid=9 nid=10 ts=\"c:\\mux.ts\"\n",
      w, &error))
      << error;
  ASSERT_EQ(w.satellites.size(), 1u);
  EXPECT_EQ(w.satellites[0].input, 2);
  ASSERT_EQ(w.satellites[0].transponders.size(), 1u);
  const vsim::MuxDef& t = w.satellites[0].transponders[0];
  EXPECT_EQ(t.polarization, 'V');
  EXPECT_EQ(t.services.size(), 2u);
  EXPECT_NE(t.services[0].ca_system_id, 0);
  EXPECT_EQ(t.eit_repeat, 4);
  EXPECT_EQ(w.cable[0].eit_repeat, 1);
  EXPECT_EQ(w.cable[0].modulation, 5);
  EXPECT_EQ(w.terrestrial[0].bandwidth, 1);
  EXPECT_EQ(w.terrestrial[0].ts_file, "c:\\mux.ts");
  EXPECT_TRUE(w.terrestrial[0].services.empty());
  EXPECT_EQ(w.NetworkName(0x77), "Test Net");

  for (const char* bad : {"transponder freq=1\n", "satellite input=7\n", "cable freq=1 qam=63\n",
                          "terrestrial freq=x\n", "bogus\n", "network nid=1 name=\"open\n", "cable sr=1\n",
                          "cable freq=1 eitrepeat=0\n", "cable freq=1 eitrepeat=9\n"}) {
    std::string text = std::string("network nid=1 name=x\n") + bad;
    EXPECT_FALSE(vsim::ParseWorld(text, w, &error)) << bad;
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
  }
  EXPECT_EQ(w.NetworkName(0x77), "Test Net");  // a failed parse leaves the world alone
}

}  // namespace
