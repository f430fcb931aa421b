#pragma once
// The table selection of a scan: the bits of the registry value "sitables",
// the check box of each in the "SI Tables" dialog, and the first request a
// transport-stream read sends (its entries packed in a fixed order, the
// optional ones only when selected).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "contract/driver_records.h"

namespace orb::scan {

using u32 = std::uint32_t;

// Bits of "sitables".
enum SITableBit : u32 {
  kTablePat = 0x1,
  kTableCat = 0x2,
  kTableBat = 0x4,
  kTablePmt = 0x8,
  kTableNitActual = 0x10,
  kTableNitOther = 0x20,
  kTableEitPfActual = 0x40,
  kTableEitPfOther = 0x80,
  kTableEitSchedActual = 0x100,
  kTableEitSchedOther = 0x200,
  kTableSdtActual = 0x400,
  kTableSdtOther = 0x800,
  kTableRst = 0x1000,
  kTableTdt = 0x2000,
  kTableTot = 0x4000,
};

// Every bit the dialog knows; higher bits are written as 0.
constexpr u32 kAllTableBits = 0x7FFF;
// What "Defaults" checks: PAT, CAT, PMT, NIT actual, SDT actual.
constexpr u32 kDefaultTableBits = 0x41B;
// Selection when the value is absent or cannot be read: everything.
constexpr u32 kNoSelectionStored = 0xFFFFFFFFu;

// One bit of the dialog: its check box and whether "Defaults" checks it.
struct SITableCheckBox {
  u32 bit;
  int controlId;
  bool checkedByDefault;
};
// The fifteen boxes in bit order.
const std::vector<SITableCheckBox>& SITableCheckBoxes();

// (selection AND mask) == mask.
inline bool IsSelected(u32 selection, u32 mask) { return (selection & mask) == mask; }

// What one entry of the first request asks for; `bit` 0 for the three tables
// every scan reads (PAT, NIT actual, SDT actual).
struct TableRequest {
  u32 bit;
  std::uint16_t pid;
  std::uint8_t tableId;
  SectionFilterMode mode;
  const char* name;  // as the Output lines name it ("PAT", "NIT 0x41", "EIT 0x4e", ...)
};

// The fourteen entries of the first request, in their fixed order.
const std::vector<TableRequest>& FirstRequestTable();

// The entries of the first request for `selection`, packed without gaps.
std::vector<TableRequest> FirstRequestFor(u32 selection);

// A request record: every byte 0 but pid, table_id, mode and (when
// `matchExtension`) match_extension and table_id_extension.
SectionFilterSpec MakeFilterSpec(std::uint16_t pid, std::uint8_t tableId, SectionFilterMode mode,
                                 bool matchExtension = false, std::uint16_t tableIdExtension = 0);

// Bytes one section buffer of a request holds at most (the plug-in
// allocates 4096 for the EIT mode, 1024 for the others).
inline std::size_t SectionBufferSize(u32 mode) { return mode == SFM_EIT ? 4096 : 1024; }

}  // namespace orb::scan

namespace orb::scan {

// The answer to "Data is already loaded. Do you want to keep existing data ?".
enum class KeepAnswer { kYes, kNo, kCancel };

// What a scan command does with the store before its scan: Yes keeps it
// (the scan adds to it), No empties it, Cancel leaves it and ends the
// command.  True when the scan goes ahead.  `clearViews` runs before the
// store is emptied, so that nothing points into it any more.
template <class Store, class ClearViews>
bool PrepareStoreForScan(Store& store, KeepAnswer answer, ClearViews&& clearViews) {
  if (answer == KeepAnswer::kCancel) return false;
  if (answer == KeepAnswer::kNo) {
    clearViews();
    store.clear();
  }
  return true;
}

}  // namespace orb::scan
