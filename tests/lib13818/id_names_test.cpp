#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "lib13818/id_names.h"

namespace lib13818 {
namespace {

struct Table {
  const char* file;
  const IdNameRow* rows;
  std::int32_t count;
  std::int32_t expectedRows;
  std::int32_t expectedCodes;
};

// Row and code counts as the listings' README states them.
std::vector<Table> Tables() {
  return {
      {"network_id", NetworkIdNames, NetworkIdNamesCount, 6259, 3804},
      {"ca_system_id", CASystemIdNames, CASystemIdNamesCount, 9360, 9360},
      {"organisation_id", OrganisationIdNames, OrganisationIdNamesCount, 30, 30},
      {"private_data_specifier", PrivateDataSpecifierNames, PrivateDataSpecifierNamesCount, 645, 645},
      {"data_broadcast_id", DataBroadcastIdNames, DataBroadcastIdNamesCount, 281, 281},
      {"original_network_id", OriginalNetworkIdNames, OriginalNetworkIdNamesCount, 544, 544},
      {"bouquet_id", BouquetIdNames, BouquetIdNamesCount, 1170, 1170},
  };
}

class IdNames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitIdNameMaps(); }
};

TEST_F(IdNames, RowAndCodeCountsMatchTheListings) {
  for (const Table& t : Tables()) {
    EXPECT_EQ(t.count, t.expectedRows) << t.file;
    std::set<std::int32_t> codes;
    for (std::int32_t i = 0; i < t.count; ++i) {
      codes.insert(t.rows[i].code);
      ASSERT_NE(t.rows[i].name, nullptr) << t.file << " row " << i;
    }
    EXPECT_EQ(static_cast<std::int32_t>(codes.size()), t.expectedCodes) << t.file;
  }
}

TEST_F(IdNames, RepeatedNetworkIdsAreAdjacentAndTheLastRowWins) {
  // Overlapping allocations: the rows of one code follow each other, and the
  // lookup names the code by its last row.
  std::map<std::int32_t, std::int32_t> last;
  std::int32_t repeated = 0;
  for (std::int32_t i = 0; i < NetworkIdNamesCount; ++i) {
    const std::int32_t code = NetworkIdNames[i].code;
    if (last.count(code)) {
      EXPECT_EQ(last[code], i - 1) << "code " << code << " not adjacent";
      if (last[code] == i - 1 && (i < 2 || NetworkIdNames[i - 2].code != code)) ++repeated;
    }
    last[code] = i;
  }
  EXPECT_GT(repeated, 1000);
  for (const auto& [code, index] : last) EXPECT_EQ(GetNetworkName(code), NetworkIdNames[index].name) << code;

  EXPECT_STREQ(GetNetworkName(0x3001), "German Digital Terrestrial Television");
  ASSERT_EQ(std::string(NetworkIdNames[last[0x3001] - 1].name), "UK Digital Terrestrial Television");
}

TEST_F(IdNames, NetworkNames) {
  // The listing is not sorted: it opens with 0x0058, then runs from 0x0000.
  EXPECT_EQ(NetworkIdNames[0].code, 0x0058);
  EXPECT_EQ(NetworkIdNames[1].code, 0x0000);
  EXPECT_STREQ(GetNetworkName(0x0000), "Reserved");
  EXPECT_STREQ(GetNetworkName(0x0001), "Astra Satellite Network 19,2\xB0" "E");  // degree sign is one byte
  EXPECT_STREQ(GetNetworkName(0xFFFF), "Private_temporary_use");
  EXPECT_STREQ(GetNetworkName(0xFF01), "Private_temporary_use");
  // An empty name is a name, not an absent code.
  EXPECT_STREQ(GetNetworkName(0x0085), "");
}

TEST_F(IdNames, CASystemNamesCoverTheirRangesAndNothingElse) {
  EXPECT_STREQ(GetCASystemName(0x0000), "Reserved");
  EXPECT_STREQ(GetCASystemName(0x0001), "Standardized systems");
  EXPECT_STREQ(GetCASystemName(0x00FF), "Standardized systems");
  EXPECT_STREQ(GetCASystemName(0x0100), "Canal Plus");
  EXPECT_STREQ(GetCASystemName(0x01FF), "Canal Plus");
  EXPECT_STREQ(GetCASystemName(0x0600), "Irdeto");
  EXPECT_STREQ(GetCASystemName(0x4A8F), "THALESCrypt");
  EXPECT_EQ(CASystemIdNames[CASystemIdNamesCount - 1].code, 0x4A8F);
  for (int code = 0; code <= 0xFFFF; ++code) {
    const bool named = code <= 0x19FF || (code >= 0x2000 && code <= 0x26FF) || (code >= 0x4700 && code <= 0x4A8F);
    EXPECT_EQ(std::strcmp(GetCASystemName(code), "<unknown>") != 0, named) << std::hex << code;
  }
  for (std::int32_t i = 1; i < CASystemIdNamesCount; ++i)
    ASSERT_LT(CASystemIdNames[i - 1].code, CASystemIdNames[i].code) << "not sorted at row " << i;
}

TEST_F(IdNames, DataBroadcastNames) {
  const char* const firstTen[] = {"Reserved for future use",
                                  "Data pipe",
                                  "Asynchronous data stream",
                                  "Synchronous data stream",
                                  "Synchronised data stream",
                                  "Multi protocol encapsulation",
                                  "Data Carousel",
                                  "Object Carousel",
                                  "DVB ATM streams",
                                  "Higher Protocols based on asynchronous data streams"};
  for (int code = 0; code < 10; ++code) EXPECT_STREQ(GetDataBroadcastName(code), firstTen[code]) << code;
  EXPECT_STREQ(GetDataBroadcastName(0x000A), "Reserved for future use by DVB");
  EXPECT_STREQ(GetDataBroadcastName(0x00EF), "Reserved for future use by DVB");
  EXPECT_STREQ(GetDataBroadcastName(0x00F0), "MHP Object Carousel");
  EXPECT_STREQ(GetDataBroadcastName(0xFFFF), "Reserved for future use");
  // Listing residue stays: a trailing non-breaking space (0xA0).
  EXPECT_STREQ(GetDataBroadcastName(0x0108), "Panasonic \xA0");
}

TEST_F(IdNames, AbsentCodesAreUnknown) {
  for (int code : {-1, INT_MIN, INT_MAX, 0x10000, 0x1A00, 0x3000, 0x4A90}) {
    EXPECT_STREQ(GetCASystemName(code), "<unknown>") << code;
  }
  for (int code : {-1, INT_MIN, 0x10000, 0x10001}) {
    EXPECT_STREQ(GetNetworkName(code), "<unknown>") << code;
    EXPECT_STREQ(GetDataBroadcastName(code), "<unknown>") << code;
  }
  EXPECT_STREQ(GetDataBroadcastName(0x010C), "<unknown>");
  EXPECT_STREQ(GetDataBroadcastName(0x0100), "Eutelsat Data Piping");
}

TEST_F(IdNames, ThirtyTwoBitCodesAndTheOtherTables) {
  EXPECT_EQ(PrivateDataSpecifierNames[0].code, 0);
  EXPECT_STREQ(PrivateDataSpecifierNames[1].name, "SES");
  const IdNameRow& lastPds = PrivateDataSpecifierNames[PrivateDataSpecifierNamesCount - 1];
  EXPECT_EQ(static_cast<std::uint32_t>(lastPds.code), 0xFCFCFCFCu);
  EXPECT_STREQ(OrganisationIdNames[0].name, "Reserved");
  EXPECT_EQ(OrganisationIdNames[OrganisationIdNamesCount - 1].code, 0x1D);
  EXPECT_EQ(BouquetIdNames[0].code, 0);
  EXPECT_EQ(BouquetIdNames[BouquetIdNamesCount - 1].code, 0xFD08);
  EXPECT_STREQ(OriginalNetworkIdNames[0].name, "Reserved");
}

TEST_F(IdNames, BuildingAgainChangesNothing) {
  const char* before = GetNetworkName(0x3001);
  InitIdNameMaps();
  EXPECT_EQ(GetNetworkName(0x3001), before);
}

}  // namespace
}  // namespace lib13818
