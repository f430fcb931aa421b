// The SI tree as the builders make it, read back through the text sink:
// golden trees of whole transport streams (a generated multiplex and a
// capture of the simulated card), and the shape rules one by one on records
// filled by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "lib13818/id_names.h"
#include "tree_store.h"
#include "ui_core/si_tree.h"

using namespace lib13818;
using namespace orb::ui;

namespace {

class IdNames : public ::testing::Environment {
 public:
  void SetUp() override { InitIdNameMaps(); }
};
const auto* const kIdNames = ::testing::AddGlobalTestEnvironment(new IdNames);

std::string TreeText(const NetworkMap& store) {
  TextTreeSink sink;
  SiTreeBuilder(sink).BuildAllNetworks(store);
  return sink.Text();
}

// The children of the one node that a builder call made under a test root.
class Tree {
 public:
  Tree() : root_(sink_.Append(nullptr, "ROOT", TreeItem::None())) {}
  TreeSink& sink() { return sink_; }
  SiTreeBuilder builder() { return SiTreeBuilder(sink_); }
  TreeNode root() const { return root_; }
  // Everything below the test root, indented from column 0.
  std::string Text() const {
    std::string all = sink_.Text();
    std::istringstream in(all);
    std::string line, out;
    std::getline(in, line);  // ROOT
    while (std::getline(in, line)) out += line.substr(2) + "\n";
    return out;
  }
  const TextTreeSink::Node* Find(std::vector<std::string> path) const {
    path.insert(path.begin(), "ROOT");
    return sink_.Find(path);
  }

 private:
  TextTreeSink sink_;
  TreeNode root_;
};

void CompareWithGolden(const std::string& actual, const std::string& name) {
  const std::string path = std::string(ORB_TREE_GOLDEN_DIR) + "/" + name;
  if (std::getenv("ORB_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << actual;
    GTEST_SKIP() << "wrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "no golden file " << path << " (ORB_UPDATE_GOLDEN=1 writes it)";
  std::stringstream expected;
  expected << in.rdbuf();
  if (expected.str() == actual) return;
  // Point at the first line that differs rather than printing both trees.
  std::istringstream a(actual), e(expected.str());
  std::string la, le;
  for (int line = 1;; ++line) {
    const bool ga = static_cast<bool>(std::getline(a, la)), ge = static_cast<bool>(std::getline(e, le));
    if (!ga && !ge) break;
    if (la != le || ga != ge) {
      ADD_FAILURE() << name << " line " << line << ":\n  expected: " << le << "\n  actual:   " << la;
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Whole transport streams

TEST(SiTreeGolden, GeneratedMultiplex) {
  NetworkMap store;
  ASSERT_TRUE(tree_test::FileTransportStream(store, tree_test::GeneratedSections(0x0085, 0x0001, 0x044D, 4, 3, 1)));
  CompareWithGolden(TreeText(store), "generated_multiplex.txt");
}

TEST(SiTreeGolden, CaptureFile) {
  NetworkMap store;
  ASSERT_TRUE(tree_test::FileTransportStream(store, tree_test::SectionsOfCapture(tree_test::GeneratedCapture())));
  CompareWithGolden(TreeText(store), "capture_file.txt");
}

// A capture of the simulated card: its tree has every table, in order.
TEST(SiTreeGolden, CaptureOfTheSimulatedCard) {
  NetworkMap store;
  ASSERT_TRUE(tree_test::FileTransportStream(store, tree_test::SectionsOfCapture(tree_test::SimulatedCardCapture())));
  ASSERT_EQ(store.size(), 1u);
  ASSERT_EQ(store.begin()->second.transponders.size(), 1u);
  TextTreeSink sink;
  SiTreeBuilder(sink).BuildAllNetworks(store);
  const auto& network = sink.At(sink.At(sink.roots()[0]).children[0]);
  std::vector<std::string> tables;
  for (std::size_t i : sink.At(network.children[0]).children) tables.push_back(sink.At(i).label);
  // The fixed order; the CAT shows only when it carries CA descriptors.
  const std::vector<std::string> order = {"CAT", "NIT - actual network", "NIT - other network",
                                          "SDT - actual transport stream", "SDT - other transport stream", "BAT",
                                          "PAT", "RST", "TDT", "TOT", "PMT", "EIT"};
  std::vector<std::string> expected;
  for (const std::string& t : order)
    if (std::find(tables.begin(), tables.end(), t) != tables.end()) expected.push_back(t);
  EXPECT_EQ(tables, expected);
  for (const char* t : {"NIT - actual network", "SDT - actual transport stream", "PAT", "TDT", "TOT", "PMT", "EIT"})
    EXPECT_NE(std::find(tables.begin(), tables.end(), t), tables.end()) << t;
}

// Every node of a full tree: element items point into the store, list nodes
// carry nothing, and HasTables agrees with what the tables add.
TEST(SiTreeGolden, ItemsPointIntoTheStore) {
  NetworkMap store = tree_test::GeneratedSatellite(3, 3, 2);
  TextTreeSink sink;
  SiTreeBuilder(sink).BuildAllNetworks(store);
  std::set<const void*> elements;
  for (const auto& node : sink.nodes()) {
    if (node.item.kind == TreeItem::Kind::Element) {
      EXPECT_NE(node.item.data, nullptr);
      elements.insert(node.item.data);
    }
    if (node.item.kind == TreeItem::Kind::None) {
      EXPECT_FALSE(node.children.empty()) << node.label;
    }
  }
  EXPECT_GT(elements.size(), 100u);
  for (const auto& [nid, network] : store)
    for (const auto& [tsid, ts] : network.transponders) {
      TextTreeSink one;
      SiTreeBuilder(one).AddTransponderTables(nullptr, ts, nid);
      EXPECT_EQ(SiTreeBuilder::HasTables(ts), !one.nodes().empty());
    }
}

TEST(SiTreeGolden, TransponderTablesCanBeAddedLater) {
  NetworkMap store = tree_test::GeneratedSatellite(2, 2, 1);
  TextTreeSink eager, deferred;
  SiTreeBuilder(eager).BuildAllNetworks(store);
  SiTreeBuilder later(deferred);
  later.BuildAllNetworks(store, false);
  // Add the tables of each transponder node the way an expansion does.
  std::vector<std::pair<std::size_t, const Transponder*>> transponders;
  for (std::size_t i = 0; i < deferred.nodes().size(); ++i)
    if (deferred.At(i).item.kind == TreeItem::Kind::Transponder) {
      EXPECT_TRUE(deferred.At(i).children.empty());
      transponders.emplace_back(i, static_cast<const Transponder*>(deferred.At(i).item.data));
    }
  ASSERT_EQ(transponders.size(), 2u);
  for (auto [index, ts] : transponders)
    later.AddTransponderTables(reinterpret_cast<TreeNode>(index + 1), *ts, 1);
  EXPECT_EQ(deferred.Text(), eager.Text());
}

// ---------------------------------------------------------------------------
// Networks and transport streams

TEST(SiTreeNetworks, EmptyStoreGivesTheRootAlone) {
  EXPECT_EQ(TreeText({}), "ALL NETWORKS  {pane}\n");
}

TEST(SiTreeNetworks, AscendingIdsRegisteredNamesAndLabels) {
  NetworkMap store;
  store[0xE000].network_id = 0xE000;  // not registered
  store[0x0001].network_id = 0x0001;
  Transponder& b = store[0x0001].transponders[0x0456];
  b.transport_stream_id = 0x0456;
  SATDELIVERYDESC sat{};
  sat.frequency = 1183600;
  sat.polarization = 0;
  sat.symbol_rate = 275000;
  sat.fec_inner = 3;
  b.SetSatelliteTuning("Astra", &sat);
  store[0x0001].transponders[0x0123].transport_stream_id = 0x0123;
  const std::string text = TreeText(store);
  EXPECT_EQ(text,
            "ALL NETWORKS  {pane}\n"
            "  0001 - Astra Satellite Network 19,2\xC2\xB0" "E  {network}\n"
            "    0123 - Unknown  {transponder menu 145}\n"
            "    0456 - " + b.GetLabel().substr(7) + "  {transponder menu 145}\n"
            "  E000 - <unknown>  {network}\n");
}

TEST(SiTreeNetworks, LogLinesOfTheBuild) {
  struct LogSink : TextTreeSink {
    std::vector<std::string> lines;
    void Log(const std::string& line) override { lines.push_back(line); }
  } sink;
  NetworkMap store;
  store[0x85].network_id = 0x85;
  SiTreeBuilder(sink).BuildAllNetworks(store);
  ASSERT_EQ(sink.lines.size(), 3u);
  EXPECT_EQ(sink.lines[0], "NID=0x85");
  EXPECT_EQ(sink.lines[1].rfind("CTransponderTableListPaneWnd::SetTable(", 0), 0u);
  EXPECT_EQ(sink.lines[2], "All networks processed");
}

TEST(SiTreeNetworks, TablesInTheirFixedOrder) {
  Transponder ts;
  DescriptorCA ca;
  ts.cat.parsed = true;
  ts.cat.descriptors.caDescriptors.push_back(ca);
  ts.nitActual[1][0].parsed = true;
  ts.sdtActual[1][1][0].parsed = true;
  ts.bat.parsed = true;
  ts.pat.parsed = true;
  ts.pat.programs.push_back({1, 0x100});
  ts.rst.parsed = true;
  ts.tdt.parsed = true;
  ts.tot.parsed = true;
  ts.pmts.emplace_back();
  ts.eitScheduleOther[1][1][1][0].parsed = true;
  Tree t;
  t.builder().AddTransponderTables(t.root(), ts, 1);
  std::vector<std::string> labels;
  const auto& sink = static_cast<const TextTreeSink&>(t.sink());
  for (std::size_t i : sink.At(0).children) labels.push_back(sink.At(i).label);
  EXPECT_EQ(labels, (std::vector<std::string>{"CAT", "NIT - actual network", "SDT - actual transport stream", "BAT",
                                              "PAT", "RST", "TDT", "TOT", "PMT", "EIT"}));
  EXPECT_TRUE(SiTreeBuilder::HasTables(ts));
  EXPECT_FALSE(SiTreeBuilder::HasTables(Transponder()));
}

// ---------------------------------------------------------------------------
// Descriptor lists (the list rule, nested entries, the fixed order)

TEST(SiTreeDescriptors, ListRuleForNoneOneTwoAndTwelve) {
  DescriptorSet set;
  Tree empty;
  empty.builder().AddDescriptorSet(empty.root(), set);
  EXPECT_EQ(empty.Text(), "");

  set.serviceDescriptors.resize(1);
  Tree one;
  one.builder().AddDescriptorSet(one.root(), set);
  EXPECT_EQ(one.Text(), "SERVICE_DESCRIPTOR  {ShowServiceDescriptor}\n");

  set.serviceDescriptors.resize(2);
  Tree two;
  two.builder().AddDescriptorSet(two.root(), set);
  EXPECT_EQ(two.Text(),
            "SERVICE_DESCRIPTORS\n"
            "  0  {ShowServiceDescriptor}\n"
            "  1  {ShowServiceDescriptor}\n");

  set.serviceDescriptors.resize(12);
  Tree twelve;
  twelve.builder().AddDescriptorSet(twelve.root(), set);
  const auto* list = twelve.Find({"SERVICE_DESCRIPTORS"});
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->children.size(), 12u);
  const auto& sink = static_cast<const TextTreeSink&>(twelve.sink());
  EXPECT_EQ(sink.At(list->children[11]).label, "11");
  EXPECT_EQ(sink.At(list->children[11]).item.data, &set.serviceDescriptors[11]);
  EXPECT_EQ(list->item.kind, TreeItem::Kind::None);
}

TEST(SiTreeDescriptors, NestedEntryLists) {
  DescriptorSet set;
  set.parentalRatingDescriptors.resize(2);
  set.parentalRatingDescriptors[0].ratings.resize(2);
  set.parentalRatingDescriptors[1].ratings.resize(2);
  set.cellListDescriptors.resize(1);
  set.cellListDescriptors[0].cells.resize(1);
  set.cellListDescriptors[0].cells[0].subcells.resize(3);
  set.multilingualComponentNameDescriptors.resize(1);
  set.multilingualComponentNameDescriptors[0].names.resize(1);
  set.iso639LanguageDescriptors.resize(1);  // no entries: no child
  Tree t;
  t.builder().AddDescriptorSet(t.root(), set);
  EXPECT_EQ(t.Text(),
            "ISO639LANGUAGE_DESCRIPTOR  {ShowIso639LanguageDescriptor}\n"
            "PARENTAL_RATING_DESCRIPTORS\n"
            "  0  {ShowParentalRatingDescriptor}\n"
            "    RATINGINFOS\n"
            "      0  {ShowParentalRatingEntry}\n"
            "      1  {ShowParentalRatingEntry}\n"
            "  1  {ShowParentalRatingDescriptor}\n"
            "    RATINGINFOS\n"
            "      0  {ShowParentalRatingEntry}\n"
            "      1  {ShowParentalRatingEntry}\n"
            "MULTILINGUAL_COMPONENT_DESCRIPTOR  {ShowMultilingualComponentDescriptor}\n"
            "  NAMEINFO  {ShowMultilingualNameEntry}\n"
            "CELL_LIST_DESCRIPTOR  {ShowCellListDescriptor}\n"
            "  CELL_LIST_DATA  {ShowCellListEntry}\n"
            "    SUB_CELL_INFOS\n"
            "      0  {ShowSubcellListEntry}\n"
            "      1  {ShowSubcellListEntry}\n"
            "      2  {ShowSubcellListEntry}\n");
  // Entries are addressed inside their stored descriptor.
  const auto& sink = static_cast<const TextTreeSink&>(t.sink());
  const auto* ratings = t.Find({"PARENTAL_RATING_DESCRIPTORS", "1", "RATINGINFOS"});
  ASSERT_NE(ratings, nullptr);
  EXPECT_EQ(sink.At(ratings->children[1]).item.data, &set.parentalRatingDescriptors[1].ratings[1]);
}

// One descriptor in each of the 69 lists: the labels, the order and the
// routine of every list, each entry list once.
TEST(SiTreeDescriptors, AllSixtyNineListsInTheirOrder) {
  DescriptorSet set;
  set.ForEachList([](int, const auto& list) {
    using List = std::remove_cvref_t<decltype(list)>;
    const_cast<List&>(list).resize(1);
  });
  set.iso639LanguageDescriptors[0].languages.resize(1);
  set.teletextDescriptors[0].pages.resize(1);
  set.serviceListDescriptors[0].services.resize(1);
  set.nvodReferenceDescriptors[0].services.resize(1);
  set.mosaicDescriptors[0].cells.resize(1);
  set.parentalRatingDescriptors[0].ratings.resize(1);
  set.subtitlingDescriptors[0].subtitles.resize(1);
  set.multilingualNetworkNameDescriptors[0].names.resize(1);
  set.multilingualBouquetNameDescriptors[0].names.resize(1);
  set.multilingualServiceNameDescriptors[0].names.resize(1);
  set.multilingualComponentNameDescriptors[0].names.resize(1);
  set.vbiDataDescriptors[0].services.resize(1);
  set.vbiTeletextDescriptors[0].pages.resize(1);
  set.cellListDescriptors[0].cells.resize(1);
  set.cellListDescriptors[0].cells[0].subcells.resize(1);
  set.cellFrequencyLinkDescriptors[0].cells.resize(1);
  set.cellFrequencyLinkDescriptors[0].cells[0].subcells.resize(1);
  set.announcementSupportDescriptors[0].announcements.resize(1);
  set.applicationSignallingDescriptors[0].applications.resize(1);
  set.contentDescriptors[0].contents.resize(1);
  Tree t;
  t.builder().AddDescriptorSet(t.root(), set);
  CompareWithGolden(t.Text(), "descriptor_lists.txt");
  const auto& sink = static_cast<const TextTreeSink&>(t.sink());
  EXPECT_EQ(sink.At(0).children.size(), 69u);
  std::set<ElementKind> kinds;
  for (const auto& node : sink.nodes())
    if (node.item.kind == TreeItem::Kind::Element) kinds.insert(node.item.element);
  EXPECT_EQ(kinds.size(), 68u + 18u);  // every descriptor and entry kind once
}

TEST(SiTreeDescriptors, OrderIsNotTheTagOrder) {
  DescriptorSet set;
  set.generalDescriptors.resize(1);
  set.userPrivateDescriptors.resize(1);
  set.localTimeOffsetDescriptors.resize(1);
  set.terrestrialDeliverySystemDescriptors.resize(1);
  set.caIdentifierDescriptors.resize(1);
  set.streamIdentifierDescriptors.resize(1);
  set.teletextDescriptors.resize(1);
  set.ibpDescriptors.resize(1);
  Tree t;
  t.builder().AddDescriptorSet(t.root(), set);
  EXPECT_EQ(t.Text(),
            "IBP_DESCRIPTOR  {ShowIbpDescriptor}\n"
            "TELETEXT_DESCRIPTOR  {ShowTeletextDescriptor}\n"
            "STREAM_IDENTIFIER_DESCRIPTOR  {ShowStreamIdentifierDescriptor}\n"
            "CA_IDENTIFIER_DESCRIPTOR  {ShowDescriptorEntry61231}\n"
            "TERRESTRIALDELIVERYSYSTEM_DESCRIPTOR  {ShowTerrestrialDeliverySystemDescriptor menu 140}\n"
            "LOCAL_TIME_OFFSET_DESCRIPTOR  {ShowDescriptorEntry61220}\n"
            "USER_PRIVATE_DESCRIPTOR  {ShowUnknownDescriptor}\n"
            "GENERAL_DESCRIPTOR  {ShowUnknownDescriptor}\n");
}

// ---------------------------------------------------------------------------
// CAT and PAT

TEST(SiTreeCatPat, CatNeedsParsedSectionAndCaDescriptors) {
  ConditionalAccessSection cat;
  cat.descriptors.caDescriptors.resize(3);
  Tree unparsed;
  unparsed.builder().AddCat(unparsed.root(), cat);
  EXPECT_EQ(unparsed.Text(), "");
  cat.parsed = true;
  Tree three;
  three.builder().AddCat(three.root(), cat);
  EXPECT_EQ(three.Text(),
            "CAT  {ShowCat}\n"
            "  CA_DESCRIPTORS\n"
            "    0  {ShowCaDescriptor}\n"
            "    1  {ShowCaDescriptor}\n"
            "    2  {ShowCaDescriptor}\n");
  cat.descriptors.caDescriptors.resize(1);
  Tree one;
  one.builder().AddCat(one.root(), cat);
  EXPECT_EQ(one.Text(), "CAT  {ShowCat}\n  CA_DESCRIPTOR  {ShowCaDescriptor}\n");
  cat.descriptors.caDescriptors.clear();
  Tree none;
  none.builder().AddCat(none.root(), cat);
  EXPECT_EQ(none.Text(), "");
}

TEST(SiTreeCatPat, PatProgramsInLoopOrder) {
  ProgramAssociationSection pat;
  pat.parsed = true;
  Tree empty;
  empty.builder().AddPat(empty.root(), pat);
  EXPECT_EQ(empty.Text(), "");
  pat.programs = {{0x1A2B, 0x100}, {0x0000, 0x10}, {0x0001, 0x101}, {0x0001, 0x102}};
  Tree t;
  t.builder().AddPat(t.root(), pat);
  EXPECT_EQ(t.Text(),
            "PAT  {ShowPat}\n"
            "  1A2B  {ShowPatProgram}\n"
            "  0000  {ShowPatProgram}\n"
            "  0001  {ShowPatProgram}\n"
            "  0001  {ShowPatProgram}\n");
  const auto& sink = static_cast<const TextTreeSink&>(t.sink());
  EXPECT_EQ(sink.At(t.Find({"PAT"})->children[3]).item.data, &pat.programs[3]);
}

// ---------------------------------------------------------------------------
// NIT and SDT

TEST(SiTreeNit, NetworksSectionsAndLoops) {
  NitSectionMap actual;
  actual[0x0002][2].parsed = true;
  actual[0x0002][0].parsed = true;
  actual[0x0002][1].parsed = false;  // not parsed: no node
  NetworkInformationSection& s0 = actual[0x0002][0];
  s0.descriptors.networkNameDescriptors.resize(1);
  s0.transportStreams.resize(2);
  s0.transportStreams[0].transport_stream_id = 0x1A2B;
  s0.transportStreams[1].transport_stream_id = 0x1A2B;
  s0.transportStreams[1].descriptors.satelliteDeliverySystemDescriptors.resize(1);
  s0.transportStreams[1].descriptors.cableDeliverySystemDescriptors.resize(2);
  actual[0x0001][0].parsed = false;  // a network whose sections all failed
  Tree t;
  t.builder().AddNit(t.root(), actual, {});
  EXPECT_EQ(t.Text(),
            "NIT - actual network  {pane}\n"
            "  NID 0001  {pane}\n"
            "  NID 0002  {pane}\n"
            "    SECTION 0000  {ShowNit}\n"
            "      NETWORK_NAME_DESCRIPTOR  {ShowNetworkNameDescriptor}\n"
            "      STREAM_INFO  {pane}\n"
            "        1A2B  {ShowNitTransportStream}\n"
            "        1A2B  {ShowNitTransportStream}\n"
            "          SATELLITEDELIVERYSYSTEM_DESCRIPTOR  {ShowSatelliteDeliverySystemDescriptor menu 148}\n"
            "          CABLEDELIVERYSYSTEM_DESCRIPTORS\n"
            "            0  {ShowCableDeliverySystemDescriptor menu 139}\n"
            "            1  {ShowCableDeliverySystemDescriptor menu 139}\n"
            "    SECTION 0002  {ShowNit}\n"
            "      STREAM_INFO  {pane}\n");
  Tree other;
  other.builder().AddNit(other.root(), {}, actual);
  EXPECT_EQ(other.Text().substr(0, 29), "NIT - other network  {pane}\n ");
  Tree none;
  none.builder().AddNit(none.root(), {}, {});
  EXPECT_EQ(none.Text(), "");
}

TEST(SiTreeSdt, OriginalNetworksStreamsSectionsServices) {
  SdtSectionMap actual, other;
  ServiceDescriptionSection& s1 = actual[0x0001][0x1A2B][1];
  s1.parsed = true;
  s1.services.resize(2);
  s1.services[0].service_id = 0x1A2B;
  s1.services[0].descriptors.serviceDescriptors.resize(1);
  s1.services[1].service_id = 0x1A2B;
  actual[0x0001][0x1A2B][0].parsed = true;  // an empty service loop
  actual[0x0001][0x0001][0].parsed = false;
  other[0x0002][0x0003][0].parsed = true;
  Tree t;
  t.builder().AddSdt(t.root(), actual, other);
  EXPECT_EQ(t.Text(),
            "SDT - actual transport stream  {pane}\n"
            "  ORIGINAL NID 0001  {pane}\n"
            "    TID 0001  {pane}\n"
            "    TID 1A2B  {pane}\n"
            "      SECTION 0000  {ShowSdt}\n"
            "      SECTION 0001  {ShowSdt}\n"
            "        1a2b  {ShowSdtService}\n"
            "          SERVICE_DESCRIPTOR  {ShowServiceDescriptor}\n"
            "        1a2b  {ShowSdtService}\n"
            "SDT - other transport stream  {pane}\n"
            "  ORIGINAL NID 0002  {pane}\n"
            "    TID 0003  {pane}\n"
            "      SECTION 0000  {ShowSdt}\n");
}

// ---------------------------------------------------------------------------
// BAT, RST, TDT, TOT

TEST(SiTreeSingleTables, BatRstTdtTot) {
  BouquetAssociationSection bat;
  RunningStatusSection rst;
  TimeDateSection tdt;
  TimeOffsetSection tot;
  Tree none;
  none.builder().AddBat(none.root(), bat);
  none.builder().AddRst(none.root(), rst);
  none.builder().AddTdt(none.root(), tdt);
  none.builder().AddTot(none.root(), tot);
  EXPECT_EQ(none.Text(), "");

  bat.parsed = rst.parsed = tdt.parsed = tot.parsed = true;
  bat.transportStreams.resize(3);  // never shown
  tot.descriptors.localTimeOffsetDescriptors.resize(2);
  Tree t;
  t.builder().AddBat(t.root(), bat);
  t.builder().AddRst(t.root(), rst);
  t.builder().AddTdt(t.root(), tdt);
  t.builder().AddTot(t.root(), tot);
  EXPECT_EQ(t.Text(),
            "BAT  {ShowBat}\n"
            "RST  {ShowRst}\n"
            "TDT  {ShowTdt}\n"
            "TOT  {ShowTot}\n"
            "  LOCAL_TIME_OFFSET_DESCRIPTORS\n"
            "    0  {ShowDescriptorEntry61220}\n"
            "    1  {ShowDescriptorEntry61220}\n");

  rst.entries.resize(1);
  Tree one;
  one.builder().AddRst(one.root(), rst);
  EXPECT_EQ(one.Text(), "RST  {ShowRst}\n  ITEM  {ShowRstEntry}\n");
  rst.entries.resize(2);
  Tree two;
  two.builder().AddRst(two.root(), rst);
  // The ITEMS list node empties the value pane, unlike the descriptor lists.
  EXPECT_EQ(two.Text(), "RST  {ShowRst}\n  ITEMS  {pane}\n    0  {ShowRstEntry}\n    1  {ShowRstEntry}\n");
}

// ---------------------------------------------------------------------------
// PMT and service names

SdtSectionMap SdtWithService(u32 onid, u32 tsid, u32 sid, const std::string& name) {
  SdtSectionMap sdt;
  ServiceDescriptionSection& s = sdt[onid][tsid][0];
  s.parsed = true;
  s.services.resize(1);
  s.services[0].service_id = sid;
  s.services[0].descriptors.serviceDescriptors.resize(1);
  s.services[0].descriptors.serviceDescriptors[0].service_name = name;
  return sdt;
}

TEST(SiTreePmt, ProgramsStreamsAndDescriptors) {
  ProgramAssociationSection pat;
  pat.table_id_extension = 0x0400;
  std::vector<ProgramMapSection> pmts(4);
  pmts[0].parsed = true;
  pmts[0].table_id_extension = 0x1A2B;
  pmts[0].descriptors.caDescriptors.resize(1);
  pmts[0].streams.resize(3);
  pmts[0].streams[0].stream_type = 0x02;
  pmts[0].streams[1].stream_type = 0x04;
  pmts[0].streams[1].descriptors.iso639LanguageDescriptors.resize(1);
  pmts[0].streams[2].stream_type = 0x04;
  pmts[1].parsed = false;  // skipped
  pmts[2].parsed = true;
  pmts[2].table_id_extension = 0x64;
  pmts[2].descriptors.caDescriptors.resize(3);
  pmts[3].parsed = true;
  pmts[3].table_id_extension = 0x65;  // in the SDT under another original network
  SdtSectionMap sdt = SdtWithService(0x0001, 0x0400, 0x1A2B, "News");
  sdt[0x0002] = SdtWithService(0x0002, 0x0400, 0x65, "Elsewhere")[0x0002];
  Tree t;
  t.builder().AddPmt(t.root(), pat, pmts, sdt, 0x0001);
  EXPECT_EQ(t.Text(),
            "PMT  {pane}\n"
            "  1A2B - News  {ShowPmt menu 144}\n"
            "    CA_DESCRIPTOR  {ShowCaDescriptor}\n"
            "    STREAM_INFO  {pane}\n"
            "      ISO13818-2 VIDEO  {ShowPmtStream}\n"
            "      ISO13818-3 AUDIO  {ShowPmtStream}\n"
            "        ISO639LANGUAGE_DESCRIPTOR  {ShowIso639LanguageDescriptor}\n"
            "      ISO13818-3 AUDIO  {ShowPmtStream}\n"
            "  0064 - <service not in SDT>  {ShowPmt menu 144}\n"
            "    CA_DESCRIPTORS\n"
            "      0  {ShowCaDescriptor}\n"
            "      1  {ShowCaDescriptor}\n"
            "      2  {ShowCaDescriptor}\n"
            "  0065 - <service not in SDT>  {ShowPmt menu 144}\n");

  Tree none;
  none.builder().AddPmt(none.root(), pat, {}, sdt, 1);
  EXPECT_EQ(none.Text(), "");
  std::vector<ProgramMapSection> unparsed(2);
  Tree bare;
  bare.builder().AddPmt(bare.root(), pat, unparsed, sdt, 1);
  EXPECT_EQ(bare.Text(), "PMT  {pane}\n");
}

TEST(SiTreePmt, ServiceNameLookup) {
  SdtSectionMap sdt;
  auto& sections = sdt[1][2];
  sections[1].services.resize(1);
  sections[1].services[0].service_id = 7;
  sections[1].services[0].descriptors.serviceDescriptors.resize(2);
  sections[1].services[0].descriptors.serviceDescriptors[0].service_name = "Later section";
  sections[0].services.resize(2);
  sections[0].services[0].service_id = 7;  // without a service descriptor: passed over
  sections[0].services[1].service_id = 8;
  sections[0].services[1].descriptors.serviceDescriptors.resize(1);
  sections[0].services[1].descriptors.serviceDescriptors[0].service_name = "";
  std::string name = "stale";
  GetServiceName(sdt, 7, 2, 1, name);
  EXPECT_EQ(name, "Later section");
  GetServiceName(sdt, 8, 2, 1, name);
  EXPECT_EQ(name, "");
  GetServiceName(sdt, 9, 2, 1, name);
  EXPECT_EQ(name, "<service not in SDT>");
  GetServiceName(sdt, 7, 3, 1, name);
  EXPECT_EQ(name, "<service not in SDT>");
  GetServiceName(sdt, 7, 2, 2, name);
  EXPECT_EQ(name, "<service not in SDT>");
  // A long name (DVB texts decode to far more than 100 bytes) stays whole.
  const std::string longName(400, 'x');
  sections[0].services[1].descriptors.serviceDescriptors[0].service_name = longName;
  ProgramAssociationSection pat;
  pat.table_id_extension = 2;
  std::vector<ProgramMapSection> pmts(1);
  pmts[0].parsed = true;
  pmts[0].table_id_extension = 8;
  Tree t;
  t.builder().AddPmt(t.root(), pat, pmts, sdt, 1);
  EXPECT_NE(t.Find({"PMT", "0008 - " + longName}), nullptr);
}

TEST(SiTreePmt, StreamTypeTexts) {
  EXPECT_STREQ(StreamTypeText(0x00), "RESERVED");
  EXPECT_STREQ(StreamTypeText(0x01), "ISO11172 VIDEO");
  EXPECT_STREQ(StreamTypeText(0x06), "ISO13818-1 PRIVATE DATA PES");
  EXPECT_STREQ(StreamTypeText(0x08), "ISO13818-1 Annex A DSM CC");
  EXPECT_STREQ(StreamTypeText(0x0E), "ISO13818-1 AUXILIARY");
  EXPECT_STREQ(StreamTypeText(0x0F), "RESERVED");
  EXPECT_STREQ(StreamTypeText(0x7F), "RESERVED");
  EXPECT_STREQ(StreamTypeText(0x80), "USER PRIVATE");
  EXPECT_STREQ(StreamTypeText(0xFF), "USER PRIVATE");
  EXPECT_STREQ(StreamTypeText(-1), "RESERVED");
}

// ---------------------------------------------------------------------------
// EIT

TEST(SiTreeEit, SubTablesNetworksStreamsServicesSectionsEvents) {
  EitSectionMap empty, schedOther;
  EventInformationSection& s = schedOther[0x0001][0x0002][0x0003][0x0A];
  s.parsed = true;
  s.events.resize(2);
  s.events[0].event_id = 0xABCD;
  s.events[0].descriptors.shortEventDescriptors.resize(1);
  s.events[1].event_id = 0x0005;
  schedOther[0x0001][0x0002][0x0003][0x01].parsed = false;  // node kept, no events
  schedOther[0xE000][0x0002][0x0007][0x00].parsed = true;
  const SdtSectionMap sdt = SdtWithService(0x0001, 0x0002, 0x0003, "Sport");
  Tree t;
  t.builder().AddEit(t.root(), empty, empty, empty, schedOther, sdt);
  EXPECT_EQ(t.Text(),
            "EIT\n"
            "  actual_transport_stream, present/following  {pane}\n"
            "  other_transport_stream, present/following  {pane}\n"
            "  actual_transport_stream, schedule  {pane}\n"
            "  other_transport_stream, schedule  {pane}\n"
            "    NID 0001 - Astra Satellite Network 19,2\xC2\xB0" "E  {pane}\n"
            "      TID 0002  {pane}\n"
            "        SID 0003 - Sport  {pane}\n"
            "          0001  {ShowEit}\n"
            "          000A  {ShowEit}\n"
            "            EID abcd  {ShowEitEvent}\n"
            "              SHORT_EVENT_DESCRIPTOR  {ShowShortEventDescriptor}\n"
            "            EID 0005  {ShowEitEvent}\n"
            "    NID E000 - <unknown>  {pane}\n"
            "      TID 0002  {pane}\n"
            "        SID 0007 - <service not in SDT>  {pane}\n"
            "          0000  {ShowEit}\n");
  Tree none;
  none.builder().AddEit(none.root(), empty, empty, empty, empty, sdt);
  EXPECT_EQ(none.Text(), "");
}

TEST(SiTreeItems, ContextMenusAndRoutineNames) {
  EXPECT_EQ(kElementKindCount, 102);
  EXPECT_STREQ(ShowRoutineName(ElementKind::Cat), "ShowCat");
  EXPECT_STREQ(ShowRoutineName(ElementKind::ApplicationSignallingEntry), "ShowApplicationSignallingEntry");
  EXPECT_STREQ(ShowRoutineName(ElementKind::DsngDescriptor), "ShowBytesDescriptorEntry61276");
  DescriptorSatelliteDeliverySystem sat;
  EXPECT_EQ(ContextMenuOf(TreeItem::Element<ElementKind::SatelliteDeliverySystemDescriptor>(sat)), 148u);
  EXPECT_EQ(ContextMenuOf(TreeItem::Pane()), 0u);
  EXPECT_EQ(ContextMenuOf(TreeItem::None()), 0u);
  Network n;
  EXPECT_EQ(ContextMenuOf(TreeItem::ForNetwork(n)), 0u);
  StreamInfo stream;
  EXPECT_EQ(ContextMenuOf(TreeItem::Element<ElementKind::PmtStream>(stream)), 0u);
}

}  // namespace
