#include "lib13818/descriptors_terrestrial.h"

namespace lib13818 {

namespace {

[[noreturn]] void LengthError() { throw error(-1, -1); }
[[noreturn]] void LoopError() { throw error(2, -1); }

// Walks the entries of a cell loop from byte 2 to the descriptor's end; each
// entry reports the bytes it used and must end inside the descriptor.
template <class Entry>
void ReadCellLoop(const u8* d, u32 length, EntryList<Entry>& out) {
  const u8* p = d + 2;
  const u8* end = p + length;
  while (p < end) {
    int consumed = 0;
    out.emplace_back(p, static_cast<int>(end - p), &consumed);
    p += consumed;
  }
}

}  // namespace

DescriptorTerrestrialDeliverySystem::DescriptorTerrestrialDeliverySystem(const u8* d)
    : Descriptor(d) {
  if (length >= 4) centre_frequency = Get32(d + 2);
  if (length >= 5) bandwidth = d[6] >> 5;
  if (length >= 6) {
    constellation = d[7] >> 6;
    hierarchy_information = (d[7] >> 3) & 0x07;
    code_rate_HP_stream = d[7] & 0x07;
  }
  if (length >= 7) {
    code_rate_LP_stream = d[8] >> 5;
    guard_interval = (d[8] >> 3) & 0x03;
    transmission_mode = (d[8] >> 1) & 0x03;
    other_frequency_flag = d[8] & 0x01;
  }
}

DescriptorFrequencyList::DescriptorFrequencyList(const u8* d) : Descriptor(d) {
  // coding_type and whole 4-byte frequencies: descriptor_length is 1 + 4n.
  if (length < 1 || (length - 1) % 4 != 0) LengthError();
  coding_type = d[2] & 0x03;
  centre_frequency.reserve(centre_frequency.size() + (length + 4 - 1) / 4);
  for (u32 i = 3; i < 2 + length; i += 4) centre_frequency.push_back(Get32(d + i));
}

const char* DescriptorFrequencyList::GetCodingTypeName() const {
  switch (coding_type) {
    case 1: return "satellite";
    case 2: return "cable";
    case 3: return "terrestrial";
    default: return "undefined";
  }
}

SubcellInfo::SubcellInfo(const u8* p)
    : cell_id_extension(p[0]),
      subcell_latitude(Get16(p + 1)),
      subcell_longitude(Get16(p + 3)),
      subcell_extent_of_latitude(Get24(p + 5) >> 12),
      subcell_extent_of_longitude(Get24(p + 5) & 0xFFF) {}

CellListInfo::CellListInfo(const u8* p, int remaining, int* consumed) {
  if (remaining < 10) LoopError();
  cell_id = Get16(p);
  cell_latitude = Get16(p + 2);
  cell_longitude = Get16(p + 4);
  cell_extent_of_latitude = Get24(p + 6) >> 12;
  cell_extent_of_longitude = Get24(p + 6) & 0xFFF;
  subcell_info_loop_length = p[9];
  if (subcell_info_loop_length % 8 != 0) LengthError();
  if (static_cast<u32>(remaining) < 10 + subcell_info_loop_length) LoopError();
  subcells.reserve(subcells.size() + (subcell_info_loop_length + 7) / 8);
  for (u32 i = 0; i < subcell_info_loop_length; i += 8) subcells.emplace_back(p + 10 + i);
  *consumed = static_cast<int>(10 + subcell_info_loop_length);
}

DescriptorCellList::DescriptorCellList(const u8* d) : Descriptor(d) { ReadCellLoop(d, length, cells); }

CellFrequencyLinkInfo::CellFrequencyLinkInfo(const u8* p, int remaining, int* consumed) {
  if (remaining < 7) LoopError();
  cell_id = Get16(p);
  frequency = Get32(p + 2);
  subcell_info_loop_length = p[6];
  if (subcell_info_loop_length % 5 != 0) LengthError();
  if (static_cast<u32>(remaining) < 7 + subcell_info_loop_length) LoopError();
  for (u32 i = 0; i < subcell_info_loop_length; i += 5)
    subcells.push_back(SubcellFrequencyInfo(p + 7 + i));
  *consumed = static_cast<int>(7 + subcell_info_loop_length);
}

DescriptorCellFrequencyLink::DescriptorCellFrequencyLink(const u8* d) : Descriptor(d) {
  ReadCellLoop(d, length, cells);
}

DescriptorServiceAvailability::DescriptorServiceAvailability(const u8* d) : Descriptor(d) {
  // The flag byte and whole 2-byte cell ids: descriptor_length is 1 + 2n.
  if (length < 1 || (length - 1) % 2 != 0) LengthError();
  availability_flag = d[2] >> 7;
  cell_id.reserve(cell_id.size() + (length + 2 - 1) / 2);
  for (u32 i = 3; i < 2 + length; i += 2) cell_id.push_back(Get16(d + i));
}

}  // namespace lib13818
