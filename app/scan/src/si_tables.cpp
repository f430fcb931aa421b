#include "orb_scan/si_tables.h"

#include <cstring>

namespace orb::scan {

const std::vector<SITableCheckBox>& SITableCheckBoxes() {
  static const std::vector<SITableCheckBox> boxes = {
      {kTablePat, 1013, true},          {kTableCat, 1014, true},
      {kTableBat, 1017, false},         {kTablePmt, 1022, true},
      {kTableNitActual, 1015, true},    {kTableNitOther, 1026, false},
      {kTableEitPfActual, 1018, false}, {kTableEitPfOther, 1023, false},
      {kTableEitSchedActual, 1024, false}, {kTableEitSchedOther, 1025, false},
      {kTableSdtActual, 1016, true},    {kTableSdtOther, 1027, false},
      {kTableRst, 1019, false},         {kTableTdt, 1020, false},
      {kTableTot, 1021, false},
  };
  return boxes;
}

const std::vector<TableRequest>& FirstRequestTable() {
  static const std::vector<TableRequest> table = {
      {0, 0x0000, 0x00, SFM_SINGLE, "PAT"},
      {0, 0x0010, 0x40, SFM_SINGLE, "NIT"},
      {0, 0x0011, 0x42, SFM_SINGLE, "SDT"},
      {kTableCat, 0x0001, 0x01, SFM_SINGLE, "CAT"},
      {kTableBat, 0x0011, 0x4A, SFM_SINGLE, "BAT"},
      {kTableTdt, 0x0014, 0x70, SFM_SINGLE, "TDT"},
      {kTableTot, 0x0014, 0x73, SFM_SINGLE, "TOT"},
      {kTableRst, 0x0013, 0x71, SFM_SINGLE, "RST"},
      {kTableNitOther, 0x0010, 0x41, SFM_BY_EXTENSION, "NIT 0x41"},
      {kTableSdtOther, 0x0011, 0x46, SFM_BY_EXTENSION_ONID, "SDT 0x46"},
      {kTableEitPfActual, 0x0012, 0x4E, SFM_EIT, "EIT 0x4e"},
      {kTableEitPfOther, 0x0012, 0x4F, SFM_EIT, "EIT 0x4f"},
      {kTableEitSchedActual, 0x0012, 0x50, SFM_EIT, "EIT 0x50"},
      {kTableEitSchedOther, 0x0012, 0x60, SFM_EIT, "EIT 0x60"},
  };
  return table;
}

std::vector<TableRequest> FirstRequestFor(u32 selection) {
  std::vector<TableRequest> out;
  for (const TableRequest& r : FirstRequestTable())
    if (r.bit == 0 || IsSelected(selection, r.bit)) out.push_back(r);
  return out;
}

SectionFilterSpec MakeFilterSpec(std::uint16_t pid, std::uint8_t tableId, SectionFilterMode mode,
                                 bool matchExtension, std::uint16_t tableIdExtension) {
  SectionFilterSpec spec;
  std::memset(&spec, 0, sizeof spec);
  spec.pid = pid;
  spec.table_id = tableId;
  spec.mode = static_cast<std::uint32_t>(mode);
  if (matchExtension) {
    spec.match_extension = 1;
    spec.table_id_extension = tableIdExtension;
  }
  return spec;
}

}  // namespace orb::scan
