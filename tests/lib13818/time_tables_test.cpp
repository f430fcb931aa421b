#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/time_tables.h"
#include "section_builder.h"

using namespace lib13818;
using testing_support::Bytes;
using testing_support::SectionBuilder;

TEST(Tdt, DecodesAndDumps) {
  Bytes b = SectionBuilder::Short(0x70).Raw({0xC0, 0x79, 0x12, 0x45, 0x00}).Build();
  TimeDateSection tdt;
  EXPECT_EQ(tdt.UTC_time.year, 1);
  tdt.Parse(b.data(), b.size());
  EXPECT_EQ(tdt.UTC_time.day, 13);
  EXPECT_EQ(tdt.UTC_time.hour, 12);
  std::ostringstream os;
  tdt.Dump(os);
  EXPECT_EQ(os.str(), "table_id: 112\nsection_length: 5\nUTC_time: 13/10-1993 12:45:0\n");
  // A body too short for the time is refused.
  Bytes shortBody = SectionBuilder::Short(0x70).Raw({0xC0, 0x79}).Build();
  TimeDateSection t2;
  EXPECT_THROW(t2.Parse(shortBody.data(), shortBody.size()), error);
}

TEST(Tot, DescriptorLoopAndStoredCrc) {
  Bytes empty = SectionBuilder::Short(0x73)
                    .Raw({0xC0, 0x79, 0x12, 0x45, 0x00})
                    .BeginLoop().EndLoop()
                    .U32(0xDEADBEEF)  // never checked
                    .Build();
  TimeOffsetSection tot;
  tot.Parse(empty.data(), empty.size());
  EXPECT_TRUE(tot.parsed);
  EXPECT_EQ(tot.CRC_32, 0xDEADBEEFu);
  EXPECT_TRUE(tot.descriptors.Empty());

  std::ostringstream os;
  tot.Dump(os);
  EXPECT_EQ(os.str(),
            "table_id: 115\nsection_length: 11\nUTC_time: 13/10-1993 12:45:0\ncrc32: 3735928559\n");

  const Bytes lto = {'D', 'E', 'U', 0x02, 0x01, 0x00, 0xC0, 0x79, 0x01, 0x00, 0x00, 0x02, 0x00};
  Bytes one = SectionBuilder::Short(0x73)
                  .Raw({0xC0, 0x79, 0x12, 0x45, 0x00})
                  .BeginLoop().Desc(0x58, lto).EndLoop()
                  .U32(0)
                  .Build();
  TimeOffsetSection t1;
  t1.Parse(one.data(), one.size());
  EXPECT_EQ(t1.descriptors.localTimeOffsetDescriptors.size(), 1u);

  Bytes bad = SectionBuilder::Short(0x73)
                  .Raw({0xC0, 0x79, 0x12, 0x45, 0x00})
                  .BeginLoop().Desc(0x58, lto).EndLoop(-1)
                  .U32(0)
                  .Build();
  TimeOffsetSection t2;
  try {
    t2.Parse(bad.data(), bad.size());
    FAIL();
  } catch (const error& e) {
    EXPECT_STREQ(e.what(), "descriptor start end mismatch");
  }
  EXPECT_FALSE(t2.parsed);

  // Clear keeps the local time offset descriptors and drops the unknown ones.
  Bytes mixed = SectionBuilder::Short(0x73)
                    .Raw({0xC0, 0x79, 0x12, 0x45, 0x00})
                    .BeginLoop().Desc(0x58, lto).Desc(0x20, {1}).EndLoop()
                    .U32(0)
                    .Build();
  TimeOffsetSection t3;
  t3.Parse(mixed.data(), mixed.size());
  t3.Clear();
  EXPECT_EQ(t3.descriptors.localTimeOffsetDescriptors.size(), 1u);
  EXPECT_TRUE(t3.descriptors.generalDescriptors.empty());
}

TEST(Rst, EntriesOfNineBytes) {
  Bytes two = SectionBuilder::Short(0x71)
                  .Raw({0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0xF9})
                  .Raw({0x00, 0x05, 0x00, 0x06, 0x00, 0x07, 0x00, 0x08, 0x04})
                  .Build();
  RunningStatusSection rst;
  rst.Parse(two.data(), two.size());
  ASSERT_EQ(rst.entries.size(), 2u);
  const RunningStatusInfo& e = rst.entries[0];
  EXPECT_EQ(e.transport_stream_id, 1u);
  EXPECT_EQ(e.original_network_id, 2u);
  EXPECT_EQ(e.service_id, 3u);
  EXPECT_EQ(e.event_id, 4u);
  EXPECT_EQ(e.running_status, 1u);
  EXPECT_EQ(rst.entries[1].running_status, 4u);

  std::ostringstream os;
  rst.Dump(os);
  EXPECT_NE(os.str().find("transport_stream_id: 1\noriginal_network_id: 2\nservice_id: 3\n"
                          "event_id: 4\nrunning_status: 1\n"),
            std::string::npos);

  Bytes ten = SectionBuilder::Short(0x71).Raw(Bytes(10, 0)).Build();
  RunningStatusSection r2;
  try {
    r2.Parse(ten.data(), ten.size());
    FAIL();
  } catch (const error& e2) {
    EXPECT_STREQ(e2.what(), "descriptor start end mismatch");
  }
  EXPECT_EQ(r2.entries.size(), 1u) << "the whole first entry stays";
  EXPECT_FALSE(r2.parsed);
}
