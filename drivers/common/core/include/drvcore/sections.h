#pragma once
// Section collection of the vendor-library plug-ins, without the hardware:
// what one request keeps of the sections its filter passes, when it is
// complete, how it hands its sections over, the filter pattern it sets and
// how a call's requests are cut into batches.
//
// A request collects by its mode.  The key of a section is made of header
// bytes (b[i] = byte i from table_id on, 16-bit fields big-endian):
//
//   mode  key                                              complete when
//   0     section_number b[6]                              32 kept, count = last_section_number b[7] + 1,
//                                                          or a repeated key
//   3     (b[3..4], b[6])                                  32 kept or a repeated key
//   4     (b[3..4], original_network_id b[8..9], b[6])     32 kept or a repeated key
//   5     (b[3..4], b[8..9], b[10..11], b[6])              100 kept or a repeated key
//   other nothing is kept                                  never
//
// A repeated key means the table has cycled on air.  Sections are kept in
// fixed slots (1024 bytes, 4096 in mode 5); a section that would not fit its
// slot, or whose section_length reaches past the bytes delivered, or that is
// too short to hold its key, is not kept.
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
  Ignored,    // the request is done, collects nothing, or the section is malformed
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
  using Key = std::array<u32, 4>;
  // Fills key from the section; false when the section is too short for it.
  bool MakeKey(const u8* b, size_t length, Key& key) const;
  bool Seen(const Key& key) const;
  u8* MutableSlot(size_t i);

  u32 mode_;
  bool collects_;
  bool done_ = false;
  u32 count_ = 0;
  std::array<Key, kEitSlotCount> keys_{};
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
