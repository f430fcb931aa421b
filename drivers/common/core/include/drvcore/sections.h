#pragma once
// Section collection of the vendor-library plug-ins, without the hardware:
// what one request keeps of the sections its filter passes, when it is
// complete, how it hands its sections over, the filter pattern it sets and
// how a call's requests are cut into batches.
//
// A request collects by its mode.  The key of a section is made of header
// bytes (b[i] = byte i from table_id on, 16-bit fields big-endian); the
// sub-table a section belongs to is its key without section_number (the
// filter fixes table_id):
//
//   mode  key                                              complete when
//   0     section_number b[6]                              its table is complete, or 32 kept
//   3     (b[3..4], b[6])                                  32 kept, or a repeated key while
//   4     (b[3..4], original_network_id b[8..9], b[6])     every sub-table kept is complete
//   5     (b[3..4], b[8..9], b[10..11], b[6])              as 3 and 4, with 100 kept
//   other nothing is kept                                  never
//
// A repeated key means the table has cycled on air, but only once every
// sub-table seen so far is complete: multiplexers send some sections more
// often than others (EIT present/following, the first section of each EIT
// schedule segment), so a key may come round again before the rest of its
// sub-table has passed.  Until then a repeated key is passed over, and the
// request goes on until it is full or its batch times out.  (A sub-table of
// which no section has arrived yet cannot be waited for: nothing announces
// it.)
//
// A sub-table is complete when every section it announces is kept:
// section_number 0 .. last_section_number b[7].  In mode 5 (EIT) the
// section numbers are cut into segments of eight; a segment announces its
// sections from its first up to its segment_last_section_number b[12] (the
// numbers after it are never sent).  A segment of which nothing has been
// kept yet is awaited through its first section: every segment up to the
// last is on air with at least one section, an empty one when it holds no
// event.  last_table_id is not waited for (a request matches one table_id).
// A section without the long header (section_syntax_indicator 0: TDT, TOT,
// RST) is a whole table by itself.  A mode 0 request keeps one table: the
// sections of another table_id_extension than the first one kept (another
// bouquet, say) are not kept.
//
// A section whose version_number (b[5] bits 1-5) differs from what was kept
// of its sub-table starts that sub-table over: its kept sections are dropped
// (the others keep their order) and the new one is kept.  A long section
// whose current_next_indicator (b[5] bit 0) is 0 describes the next version,
// not yet in force: it is not kept and changes nothing.
//
// Sections are kept in arrival order in fixed slots (1024 bytes, 4096 in
// mode 5); a section that would not fit its slot, or whose section_length
// reaches past the bytes delivered, or that is too short for the header
// fields its mode reads (b[0..7], b[0..9] in mode 4, b[0..12] in mode 5),
// is not kept.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace drvcore {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;

// Section collection modes of a request.
enum SectionMode : u32 {
  kModeSingle = 0,           // one table: PAT, CAT, PMT, NIT/SDT/BAT actual, TDT, TOT, RST
  kModeByExtension = 3,      // NIT other
  kModeByExtensionOnid = 4,  // SDT other
  kModeEit = 5,              // EIT
};

inline constexpr size_t kSlotSize = 1024;
inline constexpr size_t kSlotCount = 32;
inline constexpr size_t kEitSlotSize = 4096;
inline constexpr size_t kEitSlotCount = 100;
inline constexpr size_t kBatchSize = 32;

// True for the modes that keep sections (0, 3, 4, 5).
constexpr bool ModeCollects(u32 mode) {
  return mode == kModeSingle || mode == kModeByExtension || mode == kModeByExtensionOnid ||
         mode == kModeEit;
}

// What Offer did with a section.
enum class Offered {
  Ignored,    // the request is done or collects nothing, the section is malformed,
              // belongs to another table (mode 0), or its key was kept already
  Kept,       // stored; the request goes on
  Completed,  // this section completed the request (it may or may not have been stored)
};

class SectionCollector {
 public:
  explicit SectionCollector(u32 mode);
  SectionCollector(const SectionCollector&) = delete;
  SectionCollector& operator=(const SectionCollector&) = delete;

  u32 Mode() const { return mode_; }
  // False when the request keeps nothing (modes 1, 2, above 5, or a mode 5
  // request whose store could not be allocated).
  bool Collects() const { return collects_; }
  bool Done() const { return done_; }
  u32 Count() const { return count_; }
  size_t SlotSize() const { return mode_ == kModeEit ? kEitSlotSize : kSlotSize; }
  size_t Capacity() const { return mode_ == kModeEit ? kEitSlotCount : kSlotCount; }
  // Slot i (i < Count()), SlotSize() bytes; the part after the section is zero.
  const u8* Slot(size_t i) const;

  // One section as the filter delivered it (`length` bytes from table_id on).
  Offered Offer(const u8* data, size_t length);
  // Marks the request complete: nothing is kept afterwards.
  void Finish() { done_ = true; }

  // Hands the kept sections over: an array of Count() pointers and one
  // SlotSize() buffer per section, each from `alloc`.  When an allocation
  // fails, everything allocated is given back to `release` and the request
  // counts as empty.  With nothing kept, or a request that keeps nothing,
  // count is 0 and sections is null.
  using AllocFn = void* (*)(size_t);
  using FreeFn = void (*)(void*);
  void HandOver(AllocFn alloc, FreeFn release, u32& count, u8**& sections) const;

 private:
  // A section's header fields as its mode reads them.
  struct Header {
    std::array<u32, 3> table{};  // the sub-table: the key without section_number
    u8 number = 0;               // section_number
    u8 last = 0;                 // last_section_number
    u8 segmentLast = 0;          // segment_last_section_number (mode 5)
    u8 version = 0;
    bool whole = false;          // no long header: a table by itself
  };
  struct SubTable {
    std::array<u32, 3> table{};
    u8 version = 0;
    u8 last = 0;
    bool whole = false;
    bool complete = false;
    std::array<std::uint64_t, 4> kept{};  // section numbers kept
    std::array<u8, 32> segmentLast{};     // mode 5: per segment, kNoSegment until one is kept
  };
  static constexpr u8 kNoSegment = 0xFF;

  // Fills h from the section; false when the section is too short for it.
  bool ReadHeader(const u8* b, size_t length, Header& h) const;
  SubTable* Find(const std::array<u32, 3>& table);
  bool IsComplete(const SubTable& t) const;
  // Drops the kept sections of sub-table `index`.
  void StartOver(size_t index);
  u8* MutableSlot(size_t i);

  u32 mode_;
  bool collects_;
  bool done_ = false;
  u32 count_ = 0;
  u32 tables_ = 0;      // sub-tables in use
  u32 incomplete_ = 0;  // of them not complete
  u32 lastFound_ = 0;   // Find's first guess: sections come in runs of one sub-table
  std::array<SubTable, kEitSlotCount> subTables_{};
  std::array<u8, kEitSlotCount> slotTable_{};  // the sub-table of each slot
  std::array<std::array<u8, kSlotSize>, kSlotCount> slots_{};
  std::unique_ptr<u8[]> eit_;  // kEitSlotCount * kEitSlotSize, mode 5 only
};

// The section filter a request sets: byte k of the pattern is compared with
// byte k of each section under mask k.  table_id always; with
// match_extension also table_id_extension (bytes 3 and 4).
struct FilterPattern {
  u8 data[8] = {};
  u8 mask[8] = {};
  u8 length = 0;
};
FilterPattern MakeFilterPattern(u8 tableId, bool matchExtension, u16 tableIdExtension);

// The wait of one batch in milliseconds: timeoutSeconds * 1000, negative
// taken as 0, capped below the platform's "infinite" (0xFFFFFFFF).
u32 BatchWaitMilliseconds(long timeoutSeconds);

// Runs `count` requests in batches of kBatchSize (the last one shorter; an
// empty last batch is not run).  batch(first, n) returns a status (negative
// = failure); the first failure ends the run and is returned, later batches
// do not run.  cancelled() is asked before each batch after the first: true
// skips the remaining batches.  Returns 0 when every batch that ran succeeded.
template <class Batch, class Cancelled>
long ForEachBatch(long count, Batch&& batch, Cancelled&& cancelled) {
  for (long first = 0; first < count; first += static_cast<long>(kBatchSize)) {
    if (first > 0 && cancelled()) break;
    const long left = count - first;
    const long n = left < static_cast<long>(kBatchSize) ? left : static_cast<long>(kBatchSize);
    const long status = batch(first, n);
    if (status < 0) return status;
  }
  return 0;
}

}  // namespace drvcore
