#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

const std::vector<u8> kGermany = {'D', 'E', 'U', 0x0E, 0x01, 0x00, 0xC8, 0x2A, 0x01, 0x00, 0x00, 0x02, 0x00};

TEST(LocalTimeOffset, OneEntry) {
  auto d = MakeDescriptor<DescriptorLocalTimeOffset>(Desc(0x58, kGermany));
  ASSERT_EQ(d.offsets.size(), 1u);
  const LocalTimeOffsetInfo& o = d.offsets[0];
  EXPECT_STREQ(o.country_code, "DEU");
  EXPECT_EQ(o.country_region_id, 3u);
  EXPECT_EQ(o.local_time_offset_polarity, 0u);
  EXPECT_EQ(o.local_time_offset.hours, 1);
  EXPECT_EQ(o.local_time_offset.minutes, 0);
  // MJD 51242 is 5 March 1999.
  EXPECT_EQ(o.time_of_change.year, 1999);
  EXPECT_EQ(o.time_of_change.month, 3);
  EXPECT_EQ(o.time_of_change.day, 5);
  EXPECT_EQ(o.time_of_change.hour, 1);
  EXPECT_EQ(o.time_of_change.minute, 0);
  EXPECT_EQ(o.time_of_change.second, 0);
  EXPECT_EQ(o.next_time_offset.hours, 2);
  d.Reset();
  EXPECT_TRUE(d.offsets.empty());
}

TEST(LocalTimeOffset, SecondEntryPrintsDecimal) {
  std::vector<u8> payload = kGermany;
  payload.insert(payload.end(), kGermany.begin(), kGermany.end());
  payload[3] = 0xFD;
  payload[13 + 3] = 0xFD;
  auto d = MakeDescriptor<DescriptorLocalTimeOffset>(Desc(0x58, payload));
  ASSERT_EQ(d.offsets.size(), 2u);
  EXPECT_EQ(d.offsets[0].country_region_id, 63u);
  EXPECT_EQ(d.offsets[0].local_time_offset_polarity, 1u);
  const std::string entry_tail =
      "local_time_offset: 1:0\ntime_of_change: 5/3-1999 1:0:0\nnext_time_offset: 2:0\n";
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 58 local_time_offset_descriptor\n"
            "country_code: DEU\ncountry_region_id: 3f\nlocal_time_offset_polarity: 1\n" + entry_tail +
            "country_code: DEU\ncountry_region_id: 63\nlocal_time_offset_polarity: 1\n" + entry_tail);
}

TEST(LocalTimeOffsetTruncated, LengthsNotAMultipleOfThirteen) {
  EXPECT_TRUE(MakeDescriptor<DescriptorLocalTimeOffset>({0x58, 0}).offsets.empty());
  for (size_t n : {12u, 14u, 25u}) {
    std::vector<u8> payload(n, 0x11);
    ExpectRefused<DescriptorLocalTimeOffset>(Desc(0x58, payload), -1, "descriptor start end mismatch");
  }
}

}  // namespace
