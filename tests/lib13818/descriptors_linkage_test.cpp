#include <gtest/gtest.h>

#include "exact_descriptor.h"
#include "lib13818/descriptors.h"

using namespace lib13818;
using namespace testing_support;

namespace {

TEST(Linkage, FixedFieldsAndPrivateBytes) {
  auto d = MakeDescriptor<DescriptorLinkage>(Desc(0x4A, {0x00, 0x01, 0x00, 0x85, 0x00, 0x0A, 0x05}));
  EXPECT_EQ(d.transport_stream_id, 1u);
  EXPECT_EQ(d.original_network_id, 0x85u);
  EXPECT_EQ(d.service_id, 0x0Au);
  EXPECT_EQ(d.linkage_type, 5u);
  EXPECT_TRUE(d.private_data_bytes.empty());
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 4a linkage_descriptor\n"
            "transport_stream_id: 1\noriginal_network_id: 85\nservice_id: a\nlinkage_type: 5\n");
  // Every byte behind linkage_type is private data, whatever the type.
  auto p = MakeDescriptor<DescriptorLinkage>(Desc(0x4A, {0, 1, 0, 2, 0, 3, 0x08, 'x', 0x01}));
  EXPECT_EQ(p.private_data_bytes, (std::vector<u8>{'x', 0x01}));
  EXPECT_EQ(Printed(p),
            "descriptor_tag: 4a linkage_descriptor\n"
            "transport_stream_id: 1\noriginal_network_id: 2\nservice_id: 3\nlinkage_type: 8\n"
            "private_data_byte:\n78 01 " + std::string(42, ' ') + " : x.\n");
  p.Reset();
  EXPECT_TRUE(p.private_data_bytes.empty());
}

TEST(LinkageTruncated, ShortFixedLayoutsKeepWholeFields) {
  auto l = MakeDescriptor<DescriptorLinkage>(Desc(0x4A, {0x00, 0x01, 0x00, 0x85, 0x00}));
  EXPECT_EQ(l.original_network_id, 0x85u);
  EXPECT_EQ(l.service_id, 0u);
  EXPECT_EQ(l.linkage_type, 0u);
  EXPECT_EQ(MakeDescriptor<DescriptorTimeShiftedService>(Desc(0x4C, {0x12})).reference_service_id, 0u);
}

TEST(NVODReference, EntriesInWireOrder) {
  auto d = MakeDescriptor<DescriptorNVODReference>(Desc(0x4B, {0x00, 0x01, 0x00, 0x02, 0x00, 0x03}));
  ASSERT_EQ(d.services.size(), 1u);
  EXPECT_EQ(d.services[0].transport_stream_id, 1u);
  EXPECT_EQ(d.services[0].original_network_id, 2u);
  EXPECT_EQ(d.services[0].service_id, 3u);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 4b NVOD_reference_descriptor\n"
            "DescriptorNVODReference::service::transport_stream_id: 1\n"
            "DescriptorNVODReference::service::original_network_id: 2\n"
            "DescriptorNVODReference::service::service_id: 3\n");
  EXPECT_TRUE(MakeDescriptor<DescriptorNVODReference>({0x4B, 0}).services.empty());
  ExpectRefused<DescriptorNVODReference>(Desc(0x4B, {0, 1, 0, 2, 0}), 3, "NVOD_reference_descriptor");
}

TEST(TimeShiftedService, Reference) {
  auto d = MakeDescriptor<DescriptorTimeShiftedService>(Desc(0x4C, {0xAB, 0xCD}));
  EXPECT_EQ(d.reference_service_id, 0xABCDu);
  EXPECT_EQ(Printed(d), "descriptor_tag: 4c time_shifted_service_descriptor\nreference_service_id: abcd\n");
}

TEST(Mosaic, CellWithBouquetLink) {
  auto d = MakeDescriptor<DescriptorMosiac>(Desc(0x51, {0x91, 0x04, 0x02, 0x01, 0xC5, 0x01, 0x12, 0x34}));
  EXPECT_EQ(d.mosiac_entry_point, 1u);
  EXPECT_EQ(d.number_of_horizontal_elementary_cells, 1u);
  EXPECT_EQ(d.number_of_vertical_elementary_cells, 1u);
  ASSERT_EQ(d.cells.size(), 1u);
  const CellInfo& c = d.cells[0];
  EXPECT_EQ(c.logical_cell_id, 1u);
  EXPECT_EQ(c.logical_cell_presentation_info, 2u);
  EXPECT_EQ(c.elementary_cell_field_length, 1u);
  EXPECT_EQ(c.elementary_cell_ids, (std::vector<u8>{5}));
  EXPECT_EQ(c.cell_linkage_info, 1u);
  EXPECT_EQ(c.bouquet_info.bouquet_id, 0x1234u);
  EXPECT_EQ(Printed(d),
            "descriptor_tag: 51 mosiac_descriptor\n"
            "mosiac_entry_point: 1\n"
            "number_of_horizontal_elementary_cells: 1\n"
            "number_of_vertical_elementary_cells: 1\n"
            "DescriptorMosiac::CellInfo::logical_cell_id: 1\n"
            "DescriptorMosiac::CellInfo::logical_call_presentation_info: 2\n"
            "DescriptorMosiac::CellInfo::elementary_cell_field_length: 1\n"
            "DescriptorMosiac::CellInfo::cell_linkage_info: 1\n"
            "BouquetInfo::bouquet_id: 1234\n");
  d.Reset();
  EXPECT_TRUE(d.cells.empty());
}

TEST(Mosaic, ServiceMosaicAndEventLinks) {
  auto d = MakeDescriptor<DescriptorMosiac>(Desc(
      0x51, {0x00,
             0x08, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03,                // service
             0x0C, 0x00, 0x00, 0x03, 0x00, 0x04, 0x00, 0x05, 0x00, 0x06,                // mosaic
             0x10, 0x00, 0x00, 0x04, 0x00, 0x07, 0x00, 0x08, 0x00, 0x09, 0x00, 0x0A}));  // event
  ASSERT_EQ(d.cells.size(), 3u);
  EXPECT_EQ(d.cells[0].service_info.original_network_id, 1u);
  EXPECT_EQ(d.cells[0].service_info.transport_stream_id, 2u);
  EXPECT_EQ(d.cells[0].service_info.service_id, 3u);
  EXPECT_EQ(d.cells[1].mosaic_info.service_id, 6u);
  EXPECT_EQ(d.cells[1].service_info.service_id, 0u);
  EXPECT_EQ(d.cells[2].logical_cell_id, 4u);
  EXPECT_EQ(d.cells[2].event_info.event_id, 0x0Au);
  EXPECT_TRUE(d.cells[2].elementary_cell_ids.empty());
}

TEST(MosaicTruncated, CellsPastTheEndAndBadLinks) {
  ExpectRefused<DescriptorMosiac>(Desc(0x51, {0x91, 0x04, 0x02, 0x01, 0xC5, 0x01, 0x12}), 3, "mosiac_descriptor");
  ExpectRefused<DescriptorMosiac>(Desc(0x51, {0x91, 0x04, 0x02}), 3, "mosiac_descriptor");
  ExpectRefused<DescriptorMosiac>(Desc(0x51, {0x91, 0x04, 0x02, 0x05, 0x01}), 3, "mosiac_descriptor");
  ExpectRefused<DescriptorMosiac>(Desc(0x51, {0x91, 0x04, 0x02, 0x00, 0x00, 0x12, 0x34}), 2, "");
  ExpectRefused<DescriptorMosiac>(Desc(0x51, {0x91, 0x04, 0x02, 0x00, 0x05, 0, 0, 0, 0, 0, 0, 0, 0}), 2, "");
  auto one = MakeDescriptor<DescriptorMosiac>(Desc(0x51, {0x91}));
  EXPECT_EQ(one.mosiac_entry_point, 1u);
  EXPECT_TRUE(one.cells.empty());
  EXPECT_TRUE(MakeDescriptor<DescriptorMosiac>({0x51, 0}).cells.empty());
}

}  // namespace
