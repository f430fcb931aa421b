#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(TerrestrialDeliverySystem, FieldBits) {
  auto d = MakeDescriptor<DescriptorTerrestrialDeliverySystem>(
      Desc(0x5A, {0x04, 0x3A, 0x6E, 0x70, 0x5F, 0x9A, 0xB5, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(d.centre_frequency, 0x043A6E70u);
  EXPECT_EQ(d.bandwidth, 2u);                // 010
  EXPECT_EQ(d.constellation, 2u);            // 10 011 010
  EXPECT_EQ(d.hierarchy_information, 3u);
  EXPECT_EQ(d.code_rate_HP_stream, 2u);
  EXPECT_EQ(d.code_rate_LP_stream, 5u);      // 101 10 10 1
  EXPECT_EQ(d.guard_interval, 2u);
  EXPECT_EQ(d.transmission_mode, 2u);
  EXPECT_EQ(d.other_frequency_flag, 1u);
  EXPECT_EQ(Printed(d), "descriptor_tag: 5a terrestrial_delivery_system_descriptor\n");

  // A short descriptor keeps what it carries whole.
  auto s = MakeDescriptor<DescriptorTerrestrialDeliverySystem>(Desc(0x5A, {0x01, 0x02, 0x03, 0x04, 0xE0}));
  EXPECT_EQ(s.centre_frequency, 0x01020304u);
  EXPECT_EQ(s.bandwidth, 7u);
  EXPECT_EQ(s.constellation, 0u);
  EXPECT_EQ(s.other_frequency_flag, 0u);
}

TEST(FrequencyList, LengthIsOnePlusWholeFrequencies) {
  auto d = MakeDescriptor<DescriptorFrequencyList>(Desc(0x62, {0xFD}));
  EXPECT_EQ(d.coding_type, 1u);
  EXPECT_STREQ(d.GetCodingTypeName(), "satellite");
  EXPECT_TRUE(d.centre_frequency.empty());

  d = MakeDescriptor<DescriptorFrequencyList>(Desc(0x62, {0x03, 0x04, 0x3A, 0x6E, 0x70, 0, 0, 0, 1}));
  EXPECT_STREQ(d.GetCodingTypeName(), "terrestrial");
  EXPECT_EQ(d.centre_frequency, (std::vector<u32>{0x043A6E70u, 1u}));
  d.Reset();
  EXPECT_TRUE(d.centre_frequency.empty());
  EXPECT_EQ(d.coding_type, 3u);

  ExpectRefused<DescriptorFrequencyList>({0x62, 0}, -1, "");
  ExpectRefused<DescriptorFrequencyList>(Desc(0x62, {2, 0, 0, 0}), -1, "");

  DescriptorFrequencyList n;
  EXPECT_STREQ(n.GetCodingTypeName(), "undefined");
  n.coding_type = 2;
  EXPECT_STREQ(n.GetCodingTypeName(), "cable");
}

std::vector<u8> Cell(u8 subcellLoopLength) {
  return {0x12, 0x34, 0x80, 0x01, 0x7F, 0xFF, 0xAB, 0xCD, 0xEF, subcellLoopLength};
}
const std::vector<u8> kSubcell = {0x07, 0xFF, 0xFE, 0x00, 0x02, 0x12, 0x34, 0x56};

TEST(CellList, CellsAndSubcells) {
  std::vector<u8> payload = Cell(16);
  payload.insert(payload.end(), kSubcell.begin(), kSubcell.end());
  payload.insert(payload.end(), kSubcell.begin(), kSubcell.end());
  std::vector<u8> second = Cell(0);
  payload.insert(payload.end(), second.begin(), second.end());
  auto d = MakeDescriptor<DescriptorCellList>(Desc(0x6C, payload));
  ASSERT_EQ(d.cells.size(), 2u);
  const CellListInfo& c = d.cells[0];
  EXPECT_EQ(c.cell_id, 0x1234u);
  EXPECT_EQ(c.cell_latitude, 0x8001u);  // not sign-extended
  EXPECT_EQ(c.cell_longitude, 0x7FFFu);
  EXPECT_EQ(c.cell_extent_of_latitude, 0xABCu);
  EXPECT_EQ(c.cell_extent_of_longitude, 0xDEFu);
  EXPECT_EQ(c.subcell_info_loop_length, 16u);
  ASSERT_EQ(c.subcells.size(), 2u);
  EXPECT_EQ(c.subcells[1].cell_id_extension, 7u);
  EXPECT_EQ(c.subcells[1].subcell_latitude, 0xFFFEu);
  EXPECT_EQ(c.subcells[1].subcell_longitude, 0x0002u);
  EXPECT_EQ(c.subcells[1].subcell_extent_of_latitude, 0x123u);
  EXPECT_EQ(c.subcells[1].subcell_extent_of_longitude, 0x456u);
  EXPECT_TRUE(d.cells[1].subcells.empty());

  int consumed = 0;
  std::vector<u8> entry = Cell(16);
  entry.resize(26);
  CellListInfo e(entry.data(), 26, &consumed);
  EXPECT_EQ(consumed, 26);
}

TEST(CellList, MalformedLoops) {
  // Sub-cell loop length not a multiple of 8.
  std::vector<u8> p = Cell(12);
  p.resize(22);
  ExpectRefused<DescriptorCellList>(Desc(0x6C, p), -1, "");
  // Sub-cells run past the descriptor.
  p = Cell(8);
  p.resize(17);
  ExpectRefused<DescriptorCellList>(Desc(0x6C, p), 2, "");
  // The entries end one byte before the descriptor's end.
  p = Cell(0);
  p.push_back(0);
  ExpectRefused<DescriptorCellList>(Desc(0x6C, p), 2, "");
  EXPECT_TRUE(MakeDescriptor<DescriptorCellList>({0x6C, 0}).cells.empty());
}

TEST(CellFrequencyLink, EntriesAndSubcells) {
  auto d = MakeDescriptor<DescriptorCellFrequencyLink>(
      Desc(0x6D, {0x00, 0x01, 0x04, 0x3A, 0x6E, 0x70, 0,                       // no sub-cells
                  0x00, 0x02, 0x00, 0x00, 0x00, 0x10, 5, 0x09, 0xFF, 0xFF, 0xFF, 0xFF}));
  ASSERT_EQ(d.cells.size(), 2u);
  EXPECT_EQ(d.cells[0].cell_id, 1u);
  EXPECT_EQ(d.cells[0].frequency, 0x043A6E70u);
  EXPECT_TRUE(d.cells[0].subcells.empty());
  ASSERT_EQ(d.cells[1].subcells.size(), 1u);
  EXPECT_EQ(d.cells[1].subcells[0].cell_id_extension, 9u);
  EXPECT_EQ(d.cells[1].subcells[0].transposer_frequency, 0xFFFFFFFFu);

  int consumed = 0;
  const u8 entry[7] = {0, 1, 0, 0, 0, 0, 0};
  CellFrequencyLinkInfo e(entry, 7, &consumed);
  EXPECT_EQ(consumed, 7);

  ExpectRefused<DescriptorCellFrequencyLink>(Desc(0x6D, {0, 1, 0, 0, 0, 0, 4, 1, 2, 3, 4}), -1, "");
  ExpectRefused<DescriptorCellFrequencyLink>(Desc(0x6D, {0, 1, 0, 0, 0, 0, 5, 1, 2, 3, 4}), 2, "");
  ExpectRefused<DescriptorCellFrequencyLink>(Desc(0x6D, {0, 1, 0, 0, 0, 0}), 2, "");
}

TEST(ServiceAvailability, FlagAndCellIds) {
  ExpectRefused<DescriptorServiceAvailability>({0x72, 0}, -1, "");
  ExpectRefused<DescriptorServiceAvailability>(Desc(0x72, {0x80, 0x00}), -1, "");
  auto d = MakeDescriptor<DescriptorServiceAvailability>(Desc(0x72, {0x80}));
  EXPECT_EQ(d.availability_flag, 1u);
  EXPECT_TRUE(d.cell_id.empty());
  d = MakeDescriptor<DescriptorServiceAvailability>(Desc(0x72, {0x7F, 0xFF, 0xFF, 0x00, 0x01}));
  EXPECT_EQ(d.availability_flag, 0u);
  EXPECT_EQ(d.cell_id, (std::vector<u32>{0xFFFFu, 1u}));
}

}  // namespace
