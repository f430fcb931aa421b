// The NIT walk and the satellite scans: every listed stream tuned in order
// and stored once, the progress fields, the tuner restored at the end, the
// cancel points, cable and terrestrial tuners, and the satellite list's
// failures.
#include <gtest/gtest.h>

#include "sim_driver.h"

using namespace scan_test;
using lib13818::NetworkMap;

namespace {

std::vector<std::string> With(const std::vector<std::string>& all, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& s : all)
    if (s.rfind(prefix, 0) == 0) out.push_back(s);
  return out;
}

std::size_t StreamCount(const NetworkMap& store) {
  std::size_t n = 0;
  for (const auto& network : store) n += network.second.transponders.size();
  return n;
}

struct Fixture {
  explicit Fixture(vsim::World world, std::uint16_t type = DELIVERY_SATELLITE)
      : driver(std::move(world), type), scanner(driver, driver, &sats, host, cancel) {
    host.selection = 0;  // PAT, NIT and SDT: quick
  }
  SimDriver driver;
  RecordingHost host;
  FakeSatList sats;
  std::atomic<bool> cancel{false};
  Scanner scanner;
  NetworkMap store;
};

}  // namespace

TEST(NitScan, CurrentNitTunesEveryListedStreamThenTheStartingChannel) {
  Fixture f(vsim::DefaultWorld());
  const auto& sat = f.driver.World().satellites[0];
  f.driver.TuneTo(sat.transponders[1], "19.2E");
  const std::string chosen = "19.2E";
  f.scanner.RunScan(f.store, SCAN_CURRENT_NIT, &chosen);

  std::vector<std::string> want;
  for (const vsim::MuxDef& m : sat.transponders)
    want.push_back("19.2E:" + std::to_string(m.frequency_khz / 10) + "/" + m.polarization);
  want.push_back(want[1]);  // back to where it started
  EXPECT_EQ(f.driver.Tunes(), want);
  EXPECT_EQ(StreamCount(f.store), sat.transponders.size());
  for (const vsim::MuxDef& m : sat.transponders)
    EXPECT_EQ(f.store.at(0x0101).transponders.count(m.transport_stream_id), 1u);

  const std::size_t n = sat.transponders.size();
  EXPECT_EQ(With(f.host.progress, "1042="), std::vector<std::string>{"1042=1 of 1"});
  EXPECT_EQ(With(f.host.progress, "1040=").size(), n);
  EXPECT_EQ(With(f.host.progress, "1040=").back(), "1040=" + std::to_string(n) + " of " + std::to_string(n));
  EXPECT_TRUE(f.host.Said("Reading current NIT"));
  EXPECT_TRUE(f.host.Said("Read 1 NIT sections"));
  EXPECT_TRUE(f.host.Said(std::to_string(n) + " entries in NIT section"));
  EXPECT_TRUE(f.host.Said("Setting tuner: 10832"));
  const std::vector<std::string> log = f.host.log;
  EXPECT_NE(std::find(log.begin(), log.end(), "4 restoring tuner"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "4 scanned network"), log.end());
}

TEST(NitScan, TwoNitSectionsAreWalkedAndEntriesWithoutADescriptorSkipped) {
  vsim::World w = vsim::DefaultWorld();
  // Enough multiplexes on 19.2E for a NIT of two sections.
  for (int i = 0; i < 40; ++i) {
    vsim::MuxDef m = w.satellites[0].transponders[0];
    m.frequency_khz = 10700000 + 10000 * static_cast<std::uint32_t>(i);
    m.polarization = 'L';  // listed, never locked: the dish has no circular LNB
    m.transport_stream_id = static_cast<std::uint16_t>(0x0600 + i);
    w.satellites[0].transponders.push_back(m);
  }
  const std::size_t dish = vsim::DefaultWorld().satellites[0].transponders.size();
  Fixture f(w);
  for (int i = 0; i < 40; ++i) f.driver.unlockable.insert(static_cast<std::uint16_t>(0x0600 + i));
  f.driver.TuneTo(f.driver.World().satellites[0].transponders[0], "19.2E");
  f.scanner.ReadCurrentNIT(f.store, "19.2E");
  EXPECT_EQ(With(f.host.progress, "1042="), (std::vector<std::string>{"1042=1 of 2", "1042=2 of 2"}));
  EXPECT_EQ(With(f.host.progress, "1040=").size(), dish + 40);
  EXPECT_EQ(StreamCount(f.store), dish);
  int failed = 0;
  for (const std::string& l : f.host.output) failed += l == "Failed to set tuner";
  EXPECT_EQ(failed, 40);
  EXPECT_EQ(f.driver.Tunes().size(), dish + 40 + 1) << "every entry, then back";
}

TEST(NitScan, CancelStopsAfterTheCurrentStreamAndLeavesTheTunerThere) {
  Fixture f(vsim::DefaultWorld());
  const auto& sat = f.driver.World().satellites[0];
  f.driver.TuneTo(sat.transponders[0], "19.2E");
  // The NIT request is call 1; the second stream's tables are call 3.
  f.driver.onRequest = [&](int call) { if (call == 3) f.cancel = true; };
  f.scanner.ReadCurrentNIT(f.store, "19.2E");
  EXPECT_EQ(f.driver.Tunes().size(), 2u) << "no further tune, no tune back";
  EXPECT_EQ(f.driver.Tuned(), &sat.transponders[1]);
  EXPECT_EQ(StreamCount(f.store), 1u) << "the cancelled stream is not stored";

  // Cancel while the tuner is being set: that stream's tables are not
  // requested, nothing more is tuned.
  Fixture g(vsim::DefaultWorld());
  g.driver.TuneTo(sat.transponders[0], "19.2E");
  g.driver.onTune = [&](int tune) { if (tune == 2) g.cancel = true; };
  g.scanner.ReadCurrentNIT(g.store, "19.2E");
  EXPECT_EQ(g.driver.Tunes().size(), 2u);
  EXPECT_EQ(g.driver.Calls(), 2) << "the NIT and the first stream only";
  EXPECT_EQ(StreamCount(g.store), 1u);
}

TEST(NitScan, CurrentNitOnCableAndTerrestrialNeedsNoSatellite) {
  for (std::uint16_t type : {std::uint16_t(DELIVERY_CABLE), std::uint16_t(DELIVERY_TERRESTRIAL)}) {
    Fixture f(vsim::DefaultWorld(), type);
    const auto& muxes = type == DELIVERY_CABLE ? f.driver.World().cable : f.driver.World().terrestrial;
    f.driver.TuneTo(muxes[0]);
    f.scanner.RunScan(f.store, SCAN_CURRENT_NIT, nullptr);
    EXPECT_FALSE(f.host.Said("No satellite selected"));
    EXPECT_EQ(StreamCount(f.store), muxes.size()) << type;
    EXPECT_EQ(f.driver.Tunes().size(), muxes.size() + 1) << "every stream, then back";
    const auto& t = f.store.begin()->second.transponders.begin()->second;
    EXPECT_EQ(t.deliveryKind, type == DELIVERY_CABLE ? lib13818::Transponder::kDeliveryCable
                                                     : lib13818::Transponder::kDeliveryTerrestrial);
    if (type == DELIVERY_CABLE) {
      EXPECT_TRUE(f.host.Said("Setting tuner: 346000"));
    }
  }
  // A satellite tuner without a selected satellite.
  Fixture f(vsim::DefaultWorld());
  f.scanner.RunScan(f.store, SCAN_CURRENT_NIT, nullptr);
  EXPECT_EQ(f.host.output, std::vector<std::string>{"No satellite selected"});
  EXPECT_EQ(f.driver.Calls(), 0);
}

TEST(NitScan, UnlockedStartIsNotRestoredAndAFailedNitReadEndsTheScan) {
  Fixture f(vsim::DefaultWorld());
  f.driver.failCall = 1;
  f.scanner.ReadCurrentNIT(f.store, "19.2E");
  EXPECT_TRUE(f.host.Said("Failed to read current NIT"));
  EXPECT_TRUE(f.driver.Tunes().empty());

  // Not locked at the start: nothing saved, so no tune back.
  Fixture g(vsim::DefaultWorld());
  g.driver.TuneTo(g.driver.World().satellites[0].transponders[0], "19.2E");
  lib13818::NitSectionMap nit;
  for (const vsim::TableSections& t : g.driver.Tables()) {
    for (const vsim::Bytes& s : t.sections) {
      if (s[0] == 0x40) nit[0x0101][s[6]].Parse(s.data(), s.size());
    }
  }
  g.driver.TuneTo(g.driver.World().satellites[1].transponders[0]);
  g.driver.unlockable = {0x1001};
  SATDELIVERYDESC nowhere{};
  g.driver.SetSatellite("x", nowhere);  // now unlocked
  const std::size_t before = g.driver.Tunes().size();
  g.scanner.ScanNITEntries(g.store, nit, "19.2E");
  const std::size_t listed = g.driver.World().satellites[0].transponders.size();
  EXPECT_EQ(g.driver.Tunes().size(), before + listed) << "no tune back";
  EXPECT_EQ(StreamCount(g.store), listed);
}

TEST(SatelliteScan, SingleSatelliteTunesItsPrimaryTranspondersAndStoresEachStreamOnce) {
  Fixture f(vsim::DefaultWorld());
  const auto& sat = f.driver.World().satellites[0];
  f.sats.sats.push_back({"19.2E", true, {Listed(sat.transponders[0]), Listed(sat.transponders[2])}, 5});
  const std::string chosen = "19.2E";
  f.scanner.RunScan(f.store, SCAN_SINGLE_SATELLITE, &chosen);
  EXPECT_TRUE(f.host.Said("Scanning 19.2E"));
  EXPECT_EQ(With(f.host.progress, "1037="), (std::vector<std::string>{"1037=1 of 5", "1037=2 of 5"}));
  EXPECT_EQ(StreamCount(f.store), sat.transponders.size()) << "the second NIT lists the same streams";
  // 1 primary + 5 listed + back, twice.
  EXPECT_EQ(f.driver.Tunes().size(), 2u * (1 + sat.transponders.size() + 1));
  EXPECT_TRUE(f.host.messages.empty());

  Fixture g(vsim::DefaultWorld());
  g.scanner.RunScan(g.store, SCAN_SINGLE_SATELLITE, nullptr);
  EXPECT_EQ(g.host.messages, std::vector<std::string>{"You must select a satellite to scan"});
  EXPECT_TRUE(g.store.empty());
  const std::string unknown = "nowhere";
  g.scanner.RunScan(g.store, SCAN_SINGLE_SATELLITE, &unknown);
  EXPECT_TRUE(g.driver.Tunes().empty());

  // A satellite without a primary transponder: nothing to start from, and
  // the Output window says so.
  g.sats.sats.push_back({"13.0E", true, {}, 9});
  const std::string bare = "13.0E";
  g.scanner.RunScan(g.store, SCAN_SINGLE_SATELLITE, &bare);
  EXPECT_EQ(g.host.output, (std::vector<std::string>{
                               "Scanning 13.0E",
                               "No primary transponder for 13.0E - mark one in the satellite list manager"}));
  EXPECT_TRUE(g.driver.Tunes().empty());
  EXPECT_TRUE(g.store.empty());
}

TEST(SatelliteScan, AllSatellitesWalksTheSelectedOnesAndStopsOnCancel) {
  Fixture f(vsim::DefaultWorld());
  const auto& w = f.driver.World();
  f.sats.sats.push_back({"19.2E", true, {Listed(w.satellites[0].transponders[3])}, 1});
  f.sats.sats.push_back({"unused", false, {}, 0});
  f.sats.sats.push_back({"13.0E", true, {Listed(w.satellites[1].transponders[1])}, 2});
  f.scanner.RunScan(f.store, SCAN_ALL_SATELLITES, nullptr);
  EXPECT_EQ(With(f.host.progress, "1036="), (std::vector<std::string>{"1036=1 of 3", "1036=2 of 3"}));
  EXPECT_EQ(StreamCount(f.store), w.satellites[0].transponders.size() + w.satellites[1].transponders.size());
  EXPECT_EQ(f.store.size(), 2u);
  EXPECT_TRUE(f.host.Said("Scanning 13.0E"));
  EXPECT_EQ(f.host.output.back(), "Scanned all satellites");

  // A satellite whose transponders cannot be listed is skipped; a count that
  // cannot be read ends the scan.
  Fixture g(vsim::DefaultWorld());
  g.sats.sats.push_back({"19.2E", true, {}, 0, SatelliteSource::Listing::kEnumFailed});
  g.sats.sats.push_back({"13.0E", true, {}, 0, SatelliteSource::Listing::kCountFailed});
  g.sats.sats.push_back({"third", true, {}, 0});
  g.scanner.ScanAllSatellites(g.store);
  EXPECT_TRUE(g.host.Said("Scanning 13.0E"));
  EXPECT_FALSE(g.host.Said("Scanning third"));
  EXPECT_FALSE(g.host.Said("Scanned all satellites"));

  // A satellite without a primary transponder is skipped with a line saying why.
  Fixture b(vsim::DefaultWorld());
  b.sats.sats.push_back({"19.2E", true, {}, 4});
  b.sats.sats.push_back({"13.0E", true, {Listed(w.satellites[1].transponders[1])}, 2});
  b.scanner.ScanAllSatellites(b.store);
  EXPECT_TRUE(b.host.Said("No primary transponder for 19.2E - mark one in the satellite list manager"));
  EXPECT_FALSE(b.host.Said("No primary transponder for 13.0E - mark one in the satellite list manager"));
  EXPECT_EQ(StreamCount(b.store), w.satellites[1].transponders.size());
  EXPECT_EQ(b.host.output.back(), "Scanned all satellites");

  // Cancel during the first satellite: nothing more is tuned.
  Fixture h(vsim::DefaultWorld());
  h.sats.sats = f.sats.sats;
  h.driver.onRequest = [&](int call) { if (call == 2) h.cancel = true; };
  h.scanner.ScanAllSatellites(h.store);
  EXPECT_EQ(h.driver.Tunes().size(), 2u);
  EXPECT_FALSE(h.host.Said("Scanning 13.0E"));
}

TEST(SatelliteScan, TheDefaultListsAstraTransponderReachesEveryStreamOfTheDefaultDish) {
  Fixture f(vsim::DefaultWorld());
  ListedTransponder astra;  // "Astra 19E" of the default satellite list, made primary
  astra.frequency = 1218700;
  astra.polarization = 0;
  astra.symbolRate = 275000;
  astra.fec = 1;
  f.sats.sats.push_back({"Astra 19E", true, {astra}, 1});
  f.scanner.ScanAllSatellites(f.store);
  const auto& dish = f.driver.World().satellites[0].transponders;
  ASSERT_EQ(f.store.size(), 1u);
  EXPECT_EQ(f.store.at(0x0101).transponders.size(), dish.size());
  for (const vsim::MuxDef& m : dish) {
    const auto& t = f.store.at(0x0101).transponders.at(m.transport_stream_id);
    EXPECT_EQ(t.SatelliteTuning().frequency * 10, m.frequency_khz);
  }
}
