#pragma once
// Descriptors that point from one service or event to others: linkage, NVOD
// reference, time-shifted service and mosaic.
#include <ostream>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/descriptor_records.h"

namespace lib13818 {

// linkage_descriptor (0x4A).  Every byte behind linkage_type is private data,
// whatever the type.  A descriptor shorter than the 7 fixed bytes keeps the
// fields it carries whole.
class DescriptorLinkage final : public Descriptor {
 public:
  DescriptorLinkage() = default;
  explicit DescriptorLinkage(const u8* d);
  const char* GetName() const override { return "linkage_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { private_data_bytes.clear(); }

  u32 transport_stream_id = 0;
  u32 original_network_id = 0;
  u32 service_id = 0;
  u32 linkage_type = 0;
  std::vector<u8> private_data_bytes;
};

// NVOD_reference_descriptor (0x4B): entries of 6 bytes, else code 3.
class DescriptorNVODReference final : public Descriptor {
 public:
  // One referenced service, in wire order.
  struct service {
    service() = default;
    explicit service(const u8* p)
        : transport_stream_id(Get16(p)), original_network_id(Get16(p + 2)), service_id(Get16(p + 4)) {}

    u32 transport_stream_id = 0;
    u32 original_network_id = 0;
    u32 service_id = 0;
  };

  DescriptorNVODReference() = default;
  explicit DescriptorNVODReference(const u8* d);
  const char* GetName() const override { return "NVOD_reference_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { services.clear(); }

  EntryList<service> services;
};

// time_shifted_service_descriptor (0x4C).
class DescriptorTimeShiftedService final : public Descriptor {
 public:
  DescriptorTimeShiftedService() = default;
  explicit DescriptorTimeShiftedService(const u8* d);
  const char* GetName() const override { return "time_shifted_service_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 reference_service_id = 0;
};

// mosaic_descriptor (0x51).  A cell that runs past the descriptor is refused
// with code 3 before it is read; a cell_linkage_info outside 1..4 with code 2.
class DescriptorMosiac final : public Descriptor {
 public:
  // One logical cell and what it links to.
  struct CellInfo {
    CellInfo() = default;
    // `remaining` bytes are readable from `p`; `consumed` receives the cell's
    // size.
    CellInfo(const u8* p, u32 remaining, u32* consumed);
    void Print(std::ostream& os) const;

    u32 logical_cell_id = 0;
    u32 logical_cell_presentation_info = 0;
    u32 elementary_cell_field_length = 0;
    std::vector<u8> elementary_cell_ids;
    u32 cell_linkage_info = 0;
    BouquetInfo bouquet_info;  // cell_linkage_info 1
    ServiceInfo service_info;  // 2
    ServiceInfo mosaic_info;   // 3: the other mosaic service
    EventInfo event_info;      // 4
  };

  DescriptorMosiac() = default;
  explicit DescriptorMosiac(const u8* d);
  const char* GetName() const override { return "mosiac_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { cells.clear(); }

  u32 mosiac_entry_point = 0;
  u32 number_of_horizontal_elementary_cells = 0;
  u32 number_of_vertical_elementary_cells = 0;
  EntryList<CellInfo> cells;
};

using CellInfo = DescriptorMosiac::CellInfo;

}  // namespace lib13818
