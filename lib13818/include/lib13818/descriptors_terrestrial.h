#pragma once
// Descriptors of terrestrial (and mixed) networks: terrestrial delivery
// system, frequency list, cell list, cell frequency link and service
// availability.  None of them prints fields.
//
// Refusals come in two forms: a length that is not a whole number of entries
// throws code -1 (no message), a loop whose entries do not end exactly at the
// descriptor's end throws code 2 (no message).
#include <vector>

#include "lib13818/descriptor.h"

namespace lib13818 {

// terrestrial_delivery_system_descriptor (0x5A).  A descriptor shorter than
// its layout keeps the fields it carries whole; the others stay 0.
class DescriptorTerrestrialDeliverySystem final : public Descriptor {
 public:
  DescriptorTerrestrialDeliverySystem() = default;
  explicit DescriptorTerrestrialDeliverySystem(const u8* d);
  const char* GetName() const override { return "terrestrial_delivery_system_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 centre_frequency = 0;  // units of 10 Hz
  u32 bandwidth = 0;
  u32 constellation = 0;
  u32 hierarchy_information = 0;
  u32 code_rate_HP_stream = 0;
  u32 code_rate_LP_stream = 0;
  u32 guard_interval = 0;
  u32 transmission_mode = 0;
  u32 other_frequency_flag = 0;
};

// frequency_list_descriptor (0x62).
class DescriptorFrequencyList final : public Descriptor {
 public:
  DescriptorFrequencyList() = default;
  explicit DescriptorFrequencyList(const u8* d);
  const char* GetName() const override { return "frequency_list_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override { centre_frequency.clear(); }
  const char* GetCodingTypeName() const;

  u32 coding_type = 0;
  std::vector<u32> centre_frequency;
};

// One sub-cell of a cell list entry, 8 bytes.
struct SubcellInfo {
  SubcellInfo() = default;
  explicit SubcellInfo(const u8* p);

  u32 cell_id_extension = 0;
  u32 subcell_latitude = 0;
  u32 subcell_longitude = 0;
  u32 subcell_extent_of_latitude = 0;
  u32 subcell_extent_of_longitude = 0;
};

// One cell of a cell_list descriptor: 10 bytes and its sub-cells.
struct CellListInfo {
  CellListInfo() = default;
  // `remaining` is the number of descriptor bytes from `p` on; `consumed`
  // receives the entry's size.
  CellListInfo(const u8* p, int remaining, int* consumed);

  u32 cell_id = 0;
  u32 cell_latitude = 0;
  u32 cell_longitude = 0;
  u32 cell_extent_of_latitude = 0;
  u32 cell_extent_of_longitude = 0;
  u32 subcell_info_loop_length = 0;
  EntryList<SubcellInfo> subcells;
};

// cell_list_descriptor (0x6C).
class DescriptorCellList final : public Descriptor {
 public:
  DescriptorCellList() = default;
  explicit DescriptorCellList(const u8* d);
  const char* GetName() const override { return "cell_list_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  EntryList<CellListInfo> cells;
};

// One transposer of a cell frequency link entry, 5 bytes.
struct SubcellFrequencyInfo {
  SubcellFrequencyInfo() = default;
  explicit SubcellFrequencyInfo(const u8* p) : cell_id_extension(p[0]), transposer_frequency(Get32(p + 1)) {}

  u32 cell_id_extension = 0;
  u32 transposer_frequency = 0;
};

// One cell of a cell_frequency_link descriptor: 7 bytes and its sub-cells.
struct CellFrequencyLinkInfo {
  CellFrequencyLinkInfo() = default;
  CellFrequencyLinkInfo(const u8* p, int remaining, int* consumed);

  u32 cell_id = 0;
  u32 frequency = 0;
  u32 subcell_info_loop_length = 0;
  EntryList<SubcellFrequencyInfo> subcells;
};

// cell_frequency_link_descriptor (0x6D).
class DescriptorCellFrequencyLink final : public Descriptor {
 public:
  DescriptorCellFrequencyLink() = default;
  explicit DescriptorCellFrequencyLink(const u8* d);
  const char* GetName() const override { return "cell_frequency_link_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  EntryList<CellFrequencyLinkInfo> cells;
};

// service_availability_descriptor (0x72).
class DescriptorServiceAvailability final : public Descriptor {
 public:
  DescriptorServiceAvailability() = default;
  explicit DescriptorServiceAvailability(const u8* d);
  const char* GetName() const override { return "service_availability_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 availability_flag = 0;
  std::vector<u32> cell_id;
};

}  // namespace lib13818
