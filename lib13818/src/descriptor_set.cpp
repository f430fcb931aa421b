#include "lib13818/descriptor_set.h"

#include <bit>

namespace lib13818 {

namespace {

// The lists of the classes whose descriptors may hold memory of their own,
// each with a bit of DescriptorSet::state_.
struct FilledBits {
  std::uint64_t bitOfList[DescriptorSet::kListCount];  // 0: a class left to the arena
  int listOfBit[64];
  int count;
};

constexpr FilledBits MakeFilledBits() {
  FilledBits f{};
  auto add = [&f](int index) {
    f.bitOfList[index] = std::uint64_t(1) << f.count;
    f.listOfBit[f.count++] = index;
  };
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  if (!detail::kHeldByArena<cls>) add(index);
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
  add(DescriptorSet::kUserPrivateIndex);
  add(DescriptorSet::kGeneralIndex);
  return f;
}

constexpr FilledBits kFilled = MakeFilledBits();

}  // namespace

void DescriptorSet::NoteFilled(int index) noexcept {
  static_assert(kFilled.count <= kFilledBits, "a bit for every list kept in memory of its own");
  state_ |= kFilled.bitOfList[index];
}

DescriptorSet::DescriptorSet(const DescriptorSet& other) {
  // The lists are in unions: those built when a copy fails are released
  // here.
  try {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) member = other.member;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
    userPrivateDescriptors = other.userPrivateDescriptors;
    generalDescriptors = other.generalDescriptors;
  } catch (...) {
    ReleaseAll();
    throw;
  }
}

DescriptorSet::DescriptorSet(DescriptorSet&& other) noexcept { SwapWhole(other); }

DescriptorSet::~DescriptorSet() {
  // While nothing of the set can have changed since its loops filled it,
  // only the filled lists whose descriptors may hold memory of their own
  // need a look; the arena takes the rest along when the last set holding
  // it goes.
  if (arena_ && (state_ >> kFilledBits) == detail::OwnBlocks::Count() && arena_.get()->Unchanged()) {
    for (std::uint64_t bits = state_ & ((std::uint64_t(1) << kFilledBits) - 1); bits != 0; bits &= bits - 1)
      ReleaseList(kFilled.listOfBit[std::countr_zero(bits)]);
    return;
  }
  ReleaseAll();
}

void DescriptorSet::ReleaseList(int index) noexcept {
  VisitList(index, [](auto& list) {
    using List = std::remove_reference_t<decltype(list)>;
    list.~List();
  });
}

void DescriptorSet::ReleaseAll() noexcept {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) member.~DescriptorList();
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
  userPrivateDescriptors.~DescriptorList();
  generalDescriptors.~DescriptorList();
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
  std::swap(state_, other.state_);
#define ORB_DESCRIPTOR(index, tag, cls, member, name) std::swap(member.block_, other.member.block_);
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
  std::swap(userPrivateDescriptors.block_, other.userPrivateDescriptors.block_);
  std::swap(generalDescriptors.block_, other.generalDescriptors.block_);
}

void DescriptorSet::AddDescriptor(const u8* d) {
  TakeArena(2 + size_t(d[1]));
  const detail::ListArena::Scope scope(arena_.get());
  Add(d);
}

void DescriptorSet::Add(const u8* d) {
  switch (d[0]) {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  case tag:                                           \
    NoteFilled(index);                                \
    member.emplace_back(d);                           \
    return;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
    default:
      break;
  }
  if (d[0] >= 0x80) {
    NoteFilled(kUserPrivateIndex);
    userPrivateDescriptors.emplace_back(d);
  } else {
    NoteFilled(kGeneralIndex);
    generalDescriptors.emplace_back(d);
  }
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

void DescriptorSet::TakeArena(size_t bytes) {
  // Everything a loop builds comes from the set's arena: the one being
  // shared on this thread when the set has none yet, else its own, whose
  // first chunk is sized for what a loop of this length usually holds.
  if (arena_) return;
  arena_ = detail::SharedArenaScope::Share();
  if (!arena_) arena_ = detail::ArenaRef(detail::ListArena::Create(detail::kArenaBytesPerInputByte * bytes + kArenaBytesPerLoop));
}

void DescriptorSet::AddLoop(const u8* p, size_t size) {
  if (size == 0) return;
  TakeArena(size);
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
    NoteFilled(i);
    VisitList(i, [&counts, i](auto& list) { list.reserve(list.size() + counts[i]); });
  }
  ForEachDescriptor(p, size, [this](const u8* d) { Add(d); });
}

size_t DescriptorSet::Count() const {
  size_t n = 0;
  ForEachList([&n](int, const auto& list) { n += list.size(); });
  return n;
}

}  // namespace lib13818
