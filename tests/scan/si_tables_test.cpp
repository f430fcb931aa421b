// The table selection and the first request it shapes; the texts of the
// transponder list dialog.
#include <gtest/gtest.h>

#include <cstring>

#include "orb_scan/satlist_text.h"
#include "orb_scan/si_tables.h"

using namespace orb::scan;

namespace {

std::vector<int> TableIds(u32 selection) {
  std::vector<int> ids;
  for (const TableRequest& r : FirstRequestFor(selection)) ids.push_back(r.tableId);
  return ids;
}

}  // namespace

TEST(SITables, RequestEntriesArePackedInTheirFixedOrder) {
  EXPECT_EQ(TableIds(kNoSelectionStored),
            (std::vector<int>{0x00, 0x40, 0x42, 0x01, 0x4A, 0x70, 0x73, 0x71, 0x41, 0x46, 0x4E, 0x4F,
                              0x50, 0x60}));
  // PAT, NIT actual and SDT actual whatever the selection says.
  EXPECT_EQ(TableIds(0), (std::vector<int>{0x00, 0x40, 0x42}));
  EXPECT_EQ(TableIds(kDefaultTableBits), (std::vector<int>{0x00, 0x40, 0x42, 0x01}));
  EXPECT_EQ(TableIds(kTableTot | kTableEitSchedOther | kTableRst),
            (std::vector<int>{0x00, 0x40, 0x42, 0x73, 0x71, 0x60}));
  // Their bits alone keep only the state of their check boxes.
  EXPECT_EQ(TableIds(kTablePat | kTableNitActual | kTableSdtActual), TableIds(0));
}

TEST(SITables, PidsAndModesOfEveryEntry) {
  const auto all = FirstRequestFor(kNoSelectionStored);
  ASSERT_EQ(all.size(), 14u);
  const std::uint16_t pids[] = {0x00, 0x10, 0x11, 0x01, 0x11, 0x14, 0x14, 0x13, 0x10, 0x11, 0x12, 0x12, 0x12, 0x12};
  const SectionFilterMode modes[] = {SFM_SINGLE, SFM_SINGLE, SFM_SINGLE, SFM_SINGLE, SFM_SINGLE,
                                     SFM_SINGLE, SFM_SINGLE, SFM_SINGLE, SFM_BY_EXTENSION,
                                     SFM_BY_EXTENSION_ONID, SFM_EIT, SFM_EIT, SFM_EIT, SFM_EIT};
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].pid, pids[i]) << i;
    EXPECT_EQ(all[i].mode, modes[i]) << i;
  }
}

TEST(SITables, FilterSpecHoldsOnlyItsFields) {
  const SectionFilterSpec s = MakeFilterSpec(0x1234, 0x02, SFM_SINGLE, true, 0xBEEF);
  const auto* b = reinterpret_cast<const std::uint8_t*>(&s);
  for (std::size_t i = 0; i < sizeof s; ++i) {
    if (i < 2 || i == 4 || i == 8 || i == 28 || i == 32 || i == 33) continue;
    EXPECT_EQ(b[i], 0) << "byte " << i;
  }
  EXPECT_EQ(b[0], 0x34);
  EXPECT_EQ(b[1], 0x12);
  EXPECT_EQ(b[4], 0x02);
  EXPECT_EQ(b[28], 1);
  EXPECT_EQ(b[32], 0xEF);
  EXPECT_EQ(b[33], 0xBE);
  const SectionFilterSpec n = MakeFilterSpec(0x12, 0x4E, SFM_EIT);
  EXPECT_EQ(n.mode, 5u);
  EXPECT_EQ(n.match_extension, 0u);
  EXPECT_EQ(n.table_id_extension, 0u);
}

TEST(SITables, CheckBoxesAndDefaults) {
  u32 all = 0, defaults = 0;
  u32 previous = 0;
  for (const SITableCheckBox& b : SITableCheckBoxes()) {
    EXPECT_GT(b.bit, previous) << "in bit order";
    previous = b.bit;
    all |= b.bit;
    if (b.checkedByDefault) defaults |= b.bit;
  }
  EXPECT_EQ(SITableCheckBoxes().size(), 15u);
  EXPECT_EQ(all, kAllTableBits);
  EXPECT_EQ(defaults, 0x41Bu);
  EXPECT_TRUE(IsSelected(0x41B, kTablePmt));
  EXPECT_FALSE(IsSelected(0x413, kTablePmt));
  EXPECT_TRUE(IsSelected(kNoSelectionStored, kTableTot));
}

// ---- the transponder list dialog's texts

TEST(TransponderListText, LinesIdsAndNewTransponders) {
  EXPECT_EQ(TransponderLine(1, 0x3F2, 1, 1218700, 1), "0001 03F2 P 12187000 V");
  EXPECT_EQ(TransponderLine(0, 7, 0, 1071900, 9), "0000 0007   10719000 R");
  long nid = -1, tsid = -1;
  EXPECT_TRUE(ParseTransponderIds("0001 03F2 P 12187000 V", nid, tsid));
  EXPECT_EQ(nid, 1);
  EXPECT_EQ(tsid, 0x3F2);
  EXPECT_FALSE(ParseTransponderIds("", nid, tsid));

  // 27500 kS/s is stored as 275000 (100 symbol/s), as the default list does.
  NewTransponder t = ReadNewTransponder("1", "3F2", "12187000", 1, "27500", 3);
  EXPECT_EQ(t.networkId, 1);
  EXPECT_EQ(t.transportStreamId, 0x3F2);
  EXPECT_EQ(t.frequency, 1218700u);
  EXPECT_EQ(t.symbolRate, 275000u);
  EXPECT_EQ(t.polarization, 1);
  EXPECT_EQ(t.fec, 3);
  // Empty fields give 0; no selection is the first entry, never -1.
  t = ReadNewTransponder("", "x", "", -1, "", -1);
  EXPECT_EQ(t.networkId, 0);
  EXPECT_EQ(t.frequency, 0u);
  EXPECT_EQ(t.polarization, 0);
  EXPECT_EQ(t.fec, 0);
}
