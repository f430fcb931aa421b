// The satellite list model and its file format.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "satlist/model.h"
#include "satlist/satlist_xml.h"

using namespace orb::satlist;

namespace {

Transponder MakeTransponder(int32_t nid, int32_t tsid, uint32_t frequency) {
  Transponder t;
  t.networkId = nid;
  t.transportStreamId = tsid;
  t.frequency = frequency;
  return t;
}

SatelliteList Read(const std::string& doc) {
  SatelliteList list;
  std::string error;
  EXPECT_TRUE(ReadSatListXml(doc, list, error)) << error << "\n" << doc;
  return list;
}

std::string Refused(const std::string& doc) {
  SatelliteList list;
  Satellite keep;
  keep.name = "kept";
  list.Store(keep);
  std::string error;
  EXPECT_FALSE(ReadSatListXml(doc, list, error)) << doc;
  EXPECT_EQ(list.Count(), 1u) << "a refused file must leave the list as it was";
  return error;
}

std::string Doc(const std::string& satellites) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><satlist version=\"1\">" + satellites +
         "</satlist>";
}

const char kGoodTransponder[] =
    "<transponder nid=\"1\" tsid=\"2\" primary=\"1\" frequency=\"1149300\" polarization=\"1\" "
    "symbolrate=\"275000\" fec=\"3\"/>";

}  // namespace

TEST(SatelliteListModel, StoresReplacesAndDeletesByKey) {
  SatelliteList list;
  Satellite a;
  a.name = "A";
  a.AddTransponder(MakeTransponder(1, 1, 100));
  a.AddTransponder(MakeTransponder(1, 2, 200));
  a.AddTransponder(MakeTransponder(1, 1, 150));  // same ids: replaced in place
  ASSERT_EQ(a.transponders.size(), 2u);
  EXPECT_EQ(a.transponders[0].frequency, 150u);
  EXPECT_FALSE(a.DeleteTransponder(2, 1));
  EXPECT_TRUE(a.DeleteTransponder(1, 1));
  EXPECT_EQ(a.FindTransponder(1, 1), nullptr);
  ASSERT_NE(a.FindTransponder(1, 2), nullptr);

  Satellite b;
  b.name = "B";
  list.Store(a);
  list.Store(b);
  a.selected = true;
  list.Store(a);  // replaced in its place, not appended
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Satellites()[0].name, "A");
  EXPECT_TRUE(list.Satellites()[0].selected);
  EXPECT_EQ(list.Find("a"), nullptr);  // names are case sensitive
  EXPECT_TRUE(list.Delete("A"));
  EXPECT_FALSE(list.Delete("A"));
  EXPECT_EQ(list.Count(), 1u);
}

TEST(SatelliteListModel, NamesAreCheckedText) {
  EXPECT_TRUE(IsValidSatelliteName("Hotbird 13E"));
  EXPECT_TRUE(IsValidSatelliteName("T\xC3\xBCrksat 42E & <\"co\">"));
  EXPECT_FALSE(IsValidSatelliteName(""));
  EXPECT_FALSE(IsValidSatelliteName("a\tb"));
  EXPECT_FALSE(IsValidSatelliteName("a\nb"));
  EXPECT_FALSE(IsValidSatelliteName("a\x01"));
  EXPECT_FALSE(IsValidSatelliteName("\xC3"));
  EXPECT_FALSE(IsValidSatelliteName(std::string(kMaxNameBytes + 1, 'x')));
}

TEST(SatListXml, DefaultListRoundTrips) {
  const SatelliteList defaults = DefaultSatelliteList();
  ASSERT_EQ(defaults.Count(), 9u);
  const Satellite* hotbird = defaults.Find("Hotbird 13E");
  ASSERT_NE(hotbird, nullptr);
  ASSERT_EQ(hotbird->transponders.size(), 7u);
  EXPECT_EQ(hotbird->transponders[6].transportStreamId, 7);
  EXPECT_EQ(hotbird->transponders[6].frequency, 1239900u);
  EXPECT_EQ(Read(WriteSatListXml(defaults)), defaults);
}

TEST(SatListXml, ExtremeValuesAndAwkwardNamesRoundTrip) {
  SatelliteList list;
  Satellite s;
  s.name = "Nimiq \"2\" <82 W> & 'T\xC3\xBCrksat' \xE2\x82\xAC \xF0\x9F\x9B\xB0";
  s.selected = true;
  s.userAdded = std::numeric_limits<int32_t>::min();
  Transponder t;
  t.networkId = std::numeric_limits<int32_t>::min();
  t.transportStreamId = std::numeric_limits<int32_t>::max();
  t.primary = -1;
  t.frequency = std::numeric_limits<uint32_t>::max();
  t.polarization = -1;  // "nothing selected" in the transponder list dialog
  t.symbolRate = 0;
  t.fec = 7;
  s.transponders.push_back(t);
  list.Store(s);
  Satellite empty;
  empty.name = "no transponders";
  list.Store(empty);
  const std::string doc = WriteSatListXml(list);
  EXPECT_EQ(Read(doc), list);
  EXPECT_NE(doc.find("<satellite name=\"no transponders\" selected=\"0\" useradded=\"0\"/>"),
            std::string::npos);
}

TEST(SatListXml, IgnoresWhatALaterVersionMayAdd) {
  const SatelliteList list = Read(
      "<satlist version=\"2\" owner=\"x\"><note>hi</note>"
      "<satellite name=\"S\" selected=\"1\" useradded=\"1\" orbit=\"19.2E\">"
      "<transponder nid=\"1\" tsid=\"2\" primary=\"1\" frequency=\"1149300\" polarization=\"1\" "
      "symbolrate=\"275000\" fec=\"3\" modulation=\"8psk\"/><extra/></satellite></satlist>");
  ASSERT_EQ(list.Count(), 1u);
  const Satellite& s = list.Satellites()[0];
  EXPECT_TRUE(s.selected);
  ASSERT_EQ(s.transponders.size(), 1u);
  EXPECT_EQ(s.transponders[0].symbolRate, 275000u);
  EXPECT_EQ(Read(Doc("")).Count(), 0u);
}

TEST(SatListXml, RefusesDamagedFilesWhole) {
  const std::string sat = "<satellite name=\"S\" selected=\"0\" useradded=\"0\">";
  Refused("");
  Refused("<satlist version=\"1\">");
  Refused("<list version=\"1\"/>");
  Refused("<satlist/>");
  Refused("<satlist version=\"0\"/>");
  Refused("<satlist version=\"one\"/>");
  Refused(Doc("<satellite selected=\"0\" useradded=\"0\"/>"));
  Refused(Doc("<satellite name=\"\" selected=\"0\" useradded=\"0\"/>"));
  Refused(Doc("<satellite name=\"a&#9;b\" selected=\"0\" useradded=\"0\"/>"));
  Refused(Doc("<satellite name=\"S\" selected=\"2\" useradded=\"0\"/>"));
  Refused(Doc("<satellite name=\"S\" useradded=\"0\"/>"));
  Refused(Doc(sat + "</satellite>" + sat + "</satellite>"));  // the same name twice
  Refused(Doc(sat + kGoodTransponder + kGoodTransponder + "</satellite>"));
  const std::string base = kGoodTransponder;
  auto with = [&](const std::string& from, const std::string& to) {
    std::string t = base;
    t.replace(t.find(from), from.size(), to);
    return Doc(sat + t + "</satellite>");
  };
  Read(with("frequency=\"1149300\"", "frequency=\"4294967295\""));
  Refused(with("frequency=\"1149300\"", "frequency=\"4294967296\""));
  Refused(with("frequency=\"1149300\"", "frequency=\"-1\""));
  Refused(with("frequency=\"1149300\"", "frequency=\"\""));
  Refused(with("frequency=\"1149300\"", "frequency=\"+5\""));
  Refused(with("frequency=\"1149300\"", "frequency=\" 5\""));
  Refused(with("frequency=\"1149300\"", "frequency=\"0x10\""));
  Refused(with("frequency=\"1149300\"", "frequency=\"99999999999999999999999\""));
  Refused(with("frequency=\"1149300\" ", ""));
  Refused(with("nid=\"1\"", "nid=\"2147483648\""));
  Read(with("nid=\"1\"", "nid=\"-2147483648\""));
  Refused(with("nid=\"1\"", "nid=\"-2147483649\""));
  Refused(with("nid=\"1\"", "nid=\"-\""));
  EXPECT_EQ(Refused("<satlist version=\"1\">\n<satellite name=\"S\">\n</satlist>"),
            "line 3: </satlist> closes <satellite>");
}
