#include "drvcore/sections.h"

#include <cstring>
#include <new>

namespace drvcore {

namespace {

u32 Be16(const u8* b) { return static_cast<u32>(b[0]) << 8 | b[1]; }

// Header bytes a mode's key and completion rule read (b[0] .. b[n-1]).
size_t HeaderBytesNeeded(u32 mode) {
  switch (mode) {
    case kModeSingle: return 8;             // b[6] key, b[7] last_section_number
    case kModeByExtension: return 7;        // b[3..4], b[6]
    case kModeByExtensionOnid: return 10;   // + b[8..9]
    case kModeEit: return 12;               // + b[10..11]
    default: return 0;
  }
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

bool SectionCollector::MakeKey(const u8* b, size_t length, Key& key) const {
  if (length < HeaderBytesNeeded(mode_)) return false;
  key = {};
  switch (mode_) {
    case kModeSingle:
      key[0] = b[6];
      break;
    case kModeByExtension:
      key[0] = Be16(b + 3);
      key[1] = b[6];
      break;
    case kModeByExtensionOnid:
      key[0] = Be16(b + 3);
      key[1] = Be16(b + 8);
      key[2] = b[6];
      break;
    case kModeEit:
      key[0] = Be16(b + 3);
      key[1] = Be16(b + 8);
      key[2] = Be16(b + 10);
      key[3] = b[6];
      break;
    default:
      return false;
  }
  return true;
}

bool SectionCollector::Seen(const Key& key) const {
  for (u32 i = 0; i < count_; ++i)
    if (keys_[i] == key) return true;
  return false;
}

Offered SectionCollector::Offer(const u8* b, size_t length) {
  if (done_ || !collects_ || !b || length < 3) return Offered::Ignored;
  // The section's own length; it must lie within what was delivered and fit a slot.
  const size_t sectionBytes = ((static_cast<size_t>(b[1]) & 0x0F) << 8 | b[2]) + 3;
  if (sectionBytes > length || sectionBytes > SlotSize()) return Offered::Ignored;
  Key key;
  if (!MakeKey(b, sectionBytes, key)) return Offered::Ignored;

  if (Seen(key)) {
    done_ = true;  // the table has cycled
    return Offered::Completed;
  }
  if (count_ >= Capacity()) {  // not reached: the request completes when full
    done_ = true;
    return Offered::Completed;
  }
  std::memcpy(MutableSlot(count_), b, sectionBytes);
  keys_[count_] = key;
  ++count_;

  bool complete = count_ >= Capacity();
  if (mode_ == kModeSingle && b[7] == count_ - 1) complete = true;
  if (complete) {
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
