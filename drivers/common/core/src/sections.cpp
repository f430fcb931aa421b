#include "drvcore/sections.h"

#include <cstring>
#include <new>

namespace drvcore {

namespace {

u32 Be16(const u8* b) { return static_cast<u32>(b[0]) << 8 | b[1]; }

// Header bytes a mode's key and completion rule read (b[0] .. b[n-1]).
size_t HeaderBytesNeeded(u32 mode) {
  switch (mode) {
    case kModeSingle: return 8;             // b[6] section_number, b[7] last_section_number
    case kModeByExtension: return 8;        // + b[3..4]
    case kModeByExtensionOnid: return 10;   // + b[8..9]
    case kModeEit: return 13;               // + b[10..11], b[12] segment_last_section_number
    default: return 0;
  }
}

// No mode 0 table_id_extension is this: the sub-table of a short section.
constexpr u32 kNoExtension = 0x10000;

bool Has(const std::array<std::uint64_t, 4>& set, u32 n) { return set[n >> 6] >> (n & 63) & 1; }

// True when every number from..to is in the set.
bool HasAll(const std::array<std::uint64_t, 4>& set, u32 from, u32 to) {
  for (u32 n = from; n <= to; ++n)
    if (!Has(set, n)) return false;
  return true;
}

}  // namespace

SectionCollector::SectionCollector(u32 mode) : mode_(mode), collects_(ModeCollects(mode)) {
  if (mode_ == kModeEit) {
    eit_.reset(new (std::nothrow) u8[kEitSlotCount * kEitSlotSize]());
    if (!eit_) collects_ = false;
  }
}

const u8* SectionCollector::Slot(size_t i) const {
  if (i >= count_) return nullptr;
  return mode_ == kModeEit ? eit_.get() + i * kEitSlotSize : slots_[i].data();
}

u8* SectionCollector::MutableSlot(size_t i) {
  return mode_ == kModeEit ? eit_.get() + i * kEitSlotSize : slots_[i].data();
}

bool SectionCollector::ReadHeader(const u8* b, size_t length, Header& h) const {
  if (length < HeaderBytesNeeded(mode_)) return false;
  h.whole = (b[1] & 0x80) == 0;
  // A long section with current_next_indicator 0 announces the next version
  // of its table, not yet in force: it is not kept, and it neither completes
  // nor starts over what was kept of the version in force.
  if (!h.whole && (b[5] & 0x01) == 0) return false;
  h.number = b[6];
  h.last = b[7];
  h.version = static_cast<u8>(b[5] >> 1 & 0x1F);
  switch (mode_) {
    case kModeSingle:
      h.table = {h.whole ? kNoExtension : Be16(b + 3), 0, 0};
      break;
    case kModeByExtension:
      h.table = {Be16(b + 3), 0, 0};
      break;
    case kModeByExtensionOnid:
      h.table = {Be16(b + 3), Be16(b + 8), 0};
      break;
    case kModeEit:
      h.table = {Be16(b + 3), Be16(b + 8), Be16(b + 10)};
      h.segmentLast = b[12];
      break;
    default:
      return false;
  }
  return true;
}

SectionCollector::SubTable* SectionCollector::Find(const std::array<u32, 3>& table) {
  if (lastFound_ < tables_ && subTables_[lastFound_].table == table) return &subTables_[lastFound_];
  for (u32 i = 0; i < tables_; ++i) {
    if (subTables_[i].table == table) {
      lastFound_ = i;
      return &subTables_[i];
    }
  }
  return nullptr;
}

bool SectionCollector::IsComplete(const SubTable& t) const {
  if (t.whole) return true;
  if (mode_ != kModeEit) return HasAll(t.kept, 0, t.last);
  for (u32 first = 0; first <= t.last; first += 8) {
    const u8 announced = t.segmentLast[first / 8];
    u32 end = first;  // a segment not yet seen: its first section
    if (announced != kNoSegment) {
      end = announced < first ? first : announced;
      if (end > first + 7) end = first + 7;
      if (end > t.last) end = t.last;
    }
    if (!HasAll(t.kept, first, end)) return false;
  }
  return true;
}

void SectionCollector::StartOver(size_t index) {
  SubTable& t = subTables_[index];
  if (t.complete) ++incomplete_;
  t.complete = false;
  t.kept = {};
  t.segmentLast.fill(kNoSegment);
  const size_t size = SlotSize();
  u32 kept = 0;
  for (u32 i = 0; i < count_; ++i) {
    if (slotTable_[i] == index) continue;
    if (kept != i) {
      std::memcpy(MutableSlot(kept), MutableSlot(i), size);
      slotTable_[kept] = slotTable_[i];
    }
    ++kept;
  }
  count_ = kept;
}

Offered SectionCollector::Offer(const u8* b, size_t length) {
  if (done_ || !collects_ || !b || length < 3) return Offered::Ignored;
  // The section's own length; it must lie within what was delivered and fit a slot.
  const size_t sectionBytes = ((static_cast<size_t>(b[1]) & 0x0F) << 8 | b[2]) + 3;
  if (sectionBytes > length || sectionBytes > SlotSize()) return Offered::Ignored;
  Header h;
  if (!ReadHeader(b, sectionBytes, h)) return Offered::Ignored;

  SubTable* t = Find(h.table);
  if (t && !t->whole && t->version != h.version) StartOver(static_cast<size_t>(t - subTables_.data()));
  if (t && Has(t->kept, h.number)) {
    // The key came round again: the table has cycled once nothing is missing.
    if (incomplete_ != 0) return Offered::Ignored;
    done_ = true;
    return Offered::Completed;
  }
  if (!t && mode_ == kModeSingle && tables_ != 0) return Offered::Ignored;  // another table
  if (count_ >= Capacity()) {  // not reached: the request completes when full
    done_ = true;
    return Offered::Completed;
  }
  if (!t) {  // every sub-table holds a slot, so there is room for one more
    t = &subTables_[tables_];
    lastFound_ = tables_++;
    t->table = h.table;
    t->version = h.version;
    t->whole = h.whole;
    t->segmentLast.fill(kNoSegment);
    ++incomplete_;
  }

  u8* slot = MutableSlot(count_);
  std::memcpy(slot, b, sectionBytes);
  std::memset(slot + sectionBytes, 0, SlotSize() - sectionBytes);
  slotTable_[count_] = static_cast<u8>(t - subTables_.data());
  ++count_;

  t->version = h.version;
  t->last = h.last;
  t->kept[h.number >> 6] |= std::uint64_t{1} << (h.number & 63);
  if (mode_ == kModeEit) t->segmentLast[h.number / 8] = h.segmentLast;
  const bool complete = IsComplete(*t);
  if (complete != t->complete) {
    t->complete = complete;
    if (complete) --incomplete_;
    else ++incomplete_;
  }

  if (count_ >= Capacity() || (mode_ == kModeSingle && complete)) {
    done_ = true;
    return Offered::Completed;
  }
  return Offered::Kept;
}

void SectionCollector::HandOver(AllocFn alloc, FreeFn release, u32& count, u8**& sections) const {
  count = 0;
  sections = nullptr;
  if (!collects_ || count_ == 0) return;
  u8** array = static_cast<u8**>(alloc(count_ * sizeof(u8*)));
  if (!array) return;
  const size_t size = SlotSize();
  for (u32 i = 0; i < count_; ++i) {
    array[i] = static_cast<u8*>(alloc(size));
    if (!array[i]) {
      for (u32 j = 0; j < i; ++j) release(array[j]);
      release(array);
      return;
    }
    std::memcpy(array[i], Slot(i), size);
  }
  count = count_;
  sections = array;
}

FilterPattern MakeFilterPattern(u8 tableId, bool matchExtension, u16 tableIdExtension) {
  FilterPattern p;
  p.data[0] = tableId;
  p.mask[0] = 0xFF;
  p.length = 1;
  if (matchExtension) {
    p.data[3] = static_cast<u8>(tableIdExtension >> 8);
    p.data[4] = static_cast<u8>(tableIdExtension & 0xFF);
    p.mask[3] = p.mask[4] = 0xFF;
    p.length = 5;
  }
  return p;
}

u32 BatchWaitMilliseconds(long timeoutSeconds) {
  if (timeoutSeconds <= 0) return 0;
  constexpr unsigned long long kMax = 0xFFFFFFFEull;
  const unsigned long long ms = static_cast<unsigned long long>(timeoutSeconds) * 1000ull;
  return static_cast<u32>(ms > kMax ? kMax : ms);
}

}  // namespace drvcore
