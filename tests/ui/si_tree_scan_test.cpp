// The tree after a scan of the simulated satellite: the scanner reads the
// current NIT and every transport stream it lists, as the SI Reading dialog
// runs it; the tree shows every stream with every table it received, in the
// fixed order, programs and services named from the SDT actual.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "lib13818/id_names.h"
#include "sim_driver.h"
#include "ui_core/si_tree.h"

using namespace lib13818;
using namespace orb::ui;

namespace {

std::string Hex4(u32 v) {
  char b[16];
  std::snprintf(b, sizeof b, "%04X", static_cast<unsigned>(v));
  return b;
}

TEST(SiTreeAfterScan, EveryStreamOfTheSatelliteWithEveryTable) {
  InitIdNameMaps();
  scan_test::SimDriver driver(vsim::DefaultWorld());
  scan_test::RecordingHost host;  // every table
  std::atomic<bool> cancel{false};
  orb::scan::Scanner scanner(driver, driver, nullptr, host, cancel);
  const vsim::SatelliteDef& sat = driver.World().satellites.front();
  driver.TuneTo(sat.transponders.front(), sat.name);
  NetworkMap store;
  scanner.ReadCurrentNIT(store, sat.name);
  ASSERT_FALSE(store.empty());

  TextTreeSink sink;
  SiTreeBuilder(sink).BuildAllNetworks(store);
  const auto& root = sink.At(sink.roots().front());
  EXPECT_EQ(root.label, "ALL NETWORKS");
  ASSERT_EQ(root.children.size(), store.size());

  const std::vector<std::string> order = {"CAT", "NIT - actual network", "NIT - other network",
                                          "SDT - actual transport stream", "SDT - other transport stream", "BAT",
                                          "PAT", "RST", "TDT", "TOT", "PMT", "EIT"};
  std::size_t streams = 0;
  auto network = store.begin();
  for (std::size_t n : root.children) {
    const auto& networkNode = sink.At(n);
    EXPECT_EQ(networkNode.label.substr(0, 7), Hex4(network->first) + " - ");
    ASSERT_EQ(networkNode.children.size(), network->second.transponders.size());
    auto ts = network->second.transponders.begin();
    for (std::size_t t : networkNode.children) {
      ++streams;
      const auto& tsNode = sink.At(t);
      EXPECT_EQ(tsNode.label, ts->second.GetLabel());
      EXPECT_EQ(tsNode.label.find("Unknown"), std::string::npos) << "tuning data of " << tsNode.label;
      std::vector<std::string> tables;
      for (std::size_t c : tsNode.children) tables.push_back(sink.At(c).label);
      std::vector<std::string> expected;
      for (const std::string& label : order)
        if (std::find(tables.begin(), tables.end(), label) != tables.end()) expected.push_back(label);
      EXPECT_EQ(tables, expected) << tsNode.label;
      // What a scan always reads, and what the simulated card sends.
      for (const char* label : {"NIT - actual network", "SDT - actual transport stream", "PAT", "TDT", "TOT", "PMT",
                                "EIT"})
        EXPECT_NE(std::find(tables.begin(), tables.end(), label), tables.end()) << tsNode.label << " " << label;
      // Every program is named from the SDT actual.
      for (std::size_t c : tsNode.children) {
        if (sink.At(c).label != "PMT") continue;
        EXPECT_EQ(sink.At(c).children.size(), ts->second.pmts.size());
        for (std::size_t p : sink.At(c).children)
          EXPECT_EQ(sink.At(p).label.find("<service not in SDT>"), std::string::npos) << sink.At(p).label;
      }
      ++ts;
    }
    ++network;
  }
  EXPECT_GE(streams, 4u);
}

}  // namespace
