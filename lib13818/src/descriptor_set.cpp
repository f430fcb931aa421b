#include "lib13818/descriptor_set.h"

namespace lib13818 {

DescriptorSet::DescriptorSet(const DescriptorSet& other)
    :
#define ORB_DESCRIPTOR(index, tag, cls, member, name) member(other.member),
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
      userPrivateDescriptors(other.userPrivateDescriptors),
      generalDescriptors(other.generalDescriptors) {
}

DescriptorSet::DescriptorSet(DescriptorSet&& other) noexcept { SwapWhole(other); }

DescriptorSet::~DescriptorSet() {
  // The lists' own destructors run after this and find the ones left to the
  // arena empty; the arena itself goes with the last set holding it.
  if (!arena_ || !arena_.get()->Unchanged()) return;
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  if constexpr (detail::kHeldByArena<cls>) member.LeaveToArena();
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
}

DescriptorSet& DescriptorSet::operator=(const DescriptorSet& other) {
  if (this != &other) {
    DescriptorSet copy(other);
    *this = std::move(copy);
  }
  return *this;
}

DescriptorSet& DescriptorSet::operator=(DescriptorSet&& other) noexcept {
  if (this != &other) {
    {
      DescriptorSet old;
      old.SwapWhole(*this);
    }
    SwapWhole(other);
  }
  return *this;
}

void DescriptorSet::SwapWhole(DescriptorSet& other) noexcept {
  arena_.Swap(other.arena_);
#define ORB_DESCRIPTOR(index, tag, cls, member, name) std::swap(member.block_, other.member.block_);
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
  std::swap(userPrivateDescriptors.block_, other.userPrivateDescriptors.block_);
  std::swap(generalDescriptors.block_, other.generalDescriptors.block_);
}

void DescriptorSet::AddDescriptor(const u8* d) {
  switch (d[0]) {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  case tag:                                           \
    member.emplace_back(d);                         \
    return;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
    default:
      break;
  }
  if (d[0] >= 0x80)
    userPrivateDescriptors.emplace_back(d);
  else
    generalDescriptors.emplace_back(d);
}

namespace {

// The arena a loop's descriptors take outside a section has this much more
// than the bytes per byte of the loop.
constexpr size_t kArenaBytesPerLoop = 192;

struct TagIndex {
  u8 list[256];
};

constexpr TagIndex MakeTagIndex() {
  TagIndex t{};
  for (int tag = 0; tag < 256; ++tag)
    t.list[tag] = static_cast<u8>(tag >= 0x80 ? DescriptorSet::kUserPrivateIndex : DescriptorSet::kGeneralIndex);
#define ORB_DESCRIPTOR(index, tag, cls, member, name) t.list[tag] = index;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
  return t;
}

constexpr TagIndex kTagIndex = MakeTagIndex();

}  // namespace

int DescriptorSet::ListIndexOfTag(u8 tag) { return kTagIndex.list[tag]; }

void DescriptorSet::AddLoop(const u8* p, size_t size) {
  if (size == 0) return;
  // Everything the loop builds comes from the set's arena: the one being
  // shared on this thread when the set has none yet, else its own, whose
  // first chunk is sized for what a loop of this length usually holds.
  if (!arena_) {
    arena_ = detail::SharedArenaScope::Share();
    if (!arena_) arena_ = detail::ArenaRef(detail::ListArena::Create(detail::kArenaBytesPerInputByte * size + kArenaBytesPerLoop));
  }
  const detail::ListArena::Scope scope(arena_.get());
  // Count per list first, so that a list receiving several descriptors
  // grows once.  The count stops where the loop goes wrong; the walk below
  // refuses it there.
  unsigned counts[kListCount] = {};
  u8 repeated[kListCount];  // the lists counted twice or more, each once
  int repeatedCount = 0;
  for (size_t pos = 0; pos + 2 <= size && size_t(p[pos + 1]) + 2 <= size - pos; pos += size_t(p[pos + 1]) + 2) {
    const u8 list = kTagIndex.list[p[pos]];
    if (++counts[list] == 2) repeated[repeatedCount++] = list;
  }
  for (int r = 0; r < repeatedCount; ++r) {
    const int i = repeated[r];
    switch (i) {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  case index:                                         \
    member.reserve(member.size() + counts[i]);        \
    break;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
      case kUserPrivateIndex:
        userPrivateDescriptors.reserve(userPrivateDescriptors.size() + counts[i]);
        break;
      case kGeneralIndex:
        generalDescriptors.reserve(generalDescriptors.size() + counts[i]);
        break;
    }
  }
  ForEachDescriptor(p, size, [this](const u8* d) { AddDescriptor(d); });
}

size_t DescriptorSet::Count() const {
  size_t n = 0;
  ForEachList([&n](int, const auto& list) { n += list.size(); });
  return n;
}

}  // namespace lib13818
