#pragma once
#include <utility>
#include <vector>

#include "lib13818/descriptor_list.h"
#include "lib13818/descriptors.h"

namespace lib13818 {

namespace detail {

// The descriptor classes made of plain fields, texts and entry lists of
// plain or text entries only: parsed into an arena, they hold nothing
// outside it.  A class with a std::vector or std::string of its own (or in
// its entries) is not one of them.
template <class T>
inline constexpr bool kHeldByArena = false;
#define ORB_HELD_BY_ARENA(cls) \
  template <>                  \
  inline constexpr bool kHeldByArena<cls> = true;
ORB_HELD_BY_ARENA(DescriptorVideoStream)
ORB_HELD_BY_ARENA(DescriptorAudioStream)
ORB_HELD_BY_ARENA(DescriptorHierarchy)
ORB_HELD_BY_ARENA(DescriptorDataStreamAlignment)
ORB_HELD_BY_ARENA(DescriptorTargetBackgroundGrid)
ORB_HELD_BY_ARENA(DescriptorVideoWindow)
ORB_HELD_BY_ARENA(DescriptorISO639Language)
ORB_HELD_BY_ARENA(DescriptorSystemClock)
ORB_HELD_BY_ARENA(DescriptorMultiplexBufferUtilization)
ORB_HELD_BY_ARENA(DescriptorMaximumBitrate)
ORB_HELD_BY_ARENA(DescriptorPrivateDataIndicator)
ORB_HELD_BY_ARENA(DescriptorSmoothingBuffer)
ORB_HELD_BY_ARENA(DescriptorSTD)
ORB_HELD_BY_ARENA(DescriptorIBP)
ORB_HELD_BY_ARENA(DescriptorNetworkName)
ORB_HELD_BY_ARENA(DescriptorServiceList)
ORB_HELD_BY_ARENA(DescriptorBouquetName)
ORB_HELD_BY_ARENA(DescriptorService)
ORB_HELD_BY_ARENA(DescriptorSatelliteDeliverySystem)
ORB_HELD_BY_ARENA(DescriptorCableDeliverySystem)
ORB_HELD_BY_ARENA(DescriptorNVODReference)
ORB_HELD_BY_ARENA(DescriptorTimeShiftedService)
ORB_HELD_BY_ARENA(DescriptorStreamIdentifier)
ORB_HELD_BY_ARENA(DescriptorParentalRating)
ORB_HELD_BY_ARENA(DescriptorSubtitling)
ORB_HELD_BY_ARENA(DescriptorTerrestrialDeliverySystem)
ORB_HELD_BY_ARENA(DescriptorMultilingualNetworkName)
ORB_HELD_BY_ARENA(DescriptorMultilingualBouquetName)
ORB_HELD_BY_ARENA(DescriptorMultilingualServiceName)
ORB_HELD_BY_ARENA(DescriptorMultilingualComponentName)
ORB_HELD_BY_ARENA(DescriptorPrivateDataSpecifier)
ORB_HELD_BY_ARENA(DescriptorServiceMove)
ORB_HELD_BY_ARENA(DescriptorVBITeletext)
ORB_HELD_BY_ARENA(DescriptorPartialTransport)
ORB_HELD_BY_ARENA(DescriptorPDC)
ORB_HELD_BY_ARENA(DescriptorAncillaryData)
ORB_HELD_BY_ARENA(DescriptorCellList)
ORB_HELD_BY_ARENA(DescriptorCellFrequencyLink)
ORB_HELD_BY_ARENA(DescriptorAnnouncementSupport)
ORB_HELD_BY_ARENA(DescriptorApplicationSignalling)
ORB_HELD_BY_ARENA(DescriptorAdaptationField)
ORB_HELD_BY_ARENA(DescriptorServiceIdentifier)
ORB_HELD_BY_ARENA(DescriptorContent)
ORB_HELD_BY_ARENA(DescriptorShortEvent)
ORB_HELD_BY_ARENA(DescriptorExtendedEvent)
ORB_HELD_BY_ARENA(DescriptorTimeShiftedEvent)
ORB_HELD_BY_ARENA(DescriptorComponent)
ORB_HELD_BY_ARENA(DescriptorLocalTimeOffset)
ORB_HELD_BY_ARENA(DescriptorTeletext)
#undef ORB_HELD_BY_ARENA

}  // namespace detail

// The descriptors of one descriptor loop, one list per descriptor class.  The
// 69 lists have a fixed order (the list index), which ForEachList follows.
// Each list is one pointer wide and null while empty: an empty set is 69
// null pointers, no arena and a word of state, and owns nothing.  The lists
// that a loop fills, and the entry lists inside its descriptors, come from
// an arena the set holds: the section's shared arena while a section is
// parsed, else one of the set's own.  A copy of the set has lists of its
// own; a moved set takes its hold on the arena along.
//
// A set knows which of its lists its loops filled.  Released while nothing
// of it can have changed since (no list of descriptors has taken a block of
// its own outside a section's parse since the set was made, see
// detail::OwnBlocks, and no list of its arena has been open to change), it
// releases only the filled lists of the classes not listed above and leaves
// the rest to the arena, with no look at them or at its empty lists: almost
// all of a stored section's descriptors go with its arena in one free.
class DescriptorSet {
 public:
  DescriptorSet() noexcept = default;
  DescriptorSet(const DescriptorSet& other);
  DescriptorSet(DescriptorSet&& other) noexcept;
  DescriptorSet& operator=(const DescriptorSet& other);
  DescriptorSet& operator=(DescriptorSet&& other) noexcept;
  ~DescriptorSet();

  static constexpr int kListCount = 69;
  static constexpr int kUserPrivateIndex = 61;
  static constexpr int kGeneralIndex = 68;

  // Builds the class that the tag selects from the descriptor at `d` and
  // appends it to that class's list.  The 2 + d[1] bytes of the descriptor
  // must be readable (see ForEachDescriptor).
  void AddDescriptor(const u8* d);

  // Adds every descriptor of a loop of `size` bytes; a descriptor that runs
  // past the loop is refused with "descriptor start end mismatch".  A list
  // that gets several descriptors is sized for them first.
  void AddLoop(const u8* p, size_t size);

  // The list index of a descriptor tag.
  static int ListIndexOfTag(u8 tag);

 private:
  // Bits 24 and up: the count of detail::OwnBlocks when the set was made
  // (kLastStamp for every count from there on: a count past it matches no
  // set).  Bits 0-23: which lists of the classes not left to the arena a
  // loop filled, one bit each (see descriptor_set.cpp).
  static constexpr int kFilledBits = 24;
  static constexpr std::uint64_t kLastStamp = (std::uint64_t(1) << (64 - kFilledBits)) - 1;
  static std::uint64_t StampNow() noexcept {
    const std::uint64_t count = detail::OwnBlocks::Count();
    return (count < kLastStamp ? count : kLastStamp) << kFilledBits;
  }
  std::uint64_t state_ = StampNow();
  // Released after the lists.
  detail::ArenaRef arena_;

 public:
  // Each list in a union of its own, so that the set's destructor decides
  // which lists need releasing.
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  union {                                             \
    DescriptorList<cls> member{};                     \
  };
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
  union {
    DescriptorList<DescriptorUnknown> userPrivateDescriptors{};  // tags 0x80-0xFF
  };
  union {
    DescriptorList<DescriptorUnknown> generalDescriptors{};  // every other tag without a class
  };

  // The list of a descriptor class (not for DescriptorUnknown, which has two).
  template <class T>
  DescriptorList<T>& Get();
  template <class T>
  const DescriptorList<T>& Get() const {
    return const_cast<DescriptorSet*>(this)->Get<T>();
  }

  // Calls f(index, list) for the 69 lists in index order; `list` is a
  // DescriptorList of the list's class.
  template <class F>
  void ForEachList(F&& f) const;

  // Total number of descriptors held.
  size_t Count() const;
  bool Empty() const { return Count() == 0; }

 private:
  // Trades every list's block and the arena: for moves of the whole set.
  void SwapWhole(DescriptorSet& other) noexcept;
  // Gives the set an arena for a loop of `bytes`, if it has none.
  void TakeArena(size_t bytes);
  // AddDescriptor within the arena's scope.
  void Add(const u8* d);
  // Calls f(list) with the list of index `which` (a DescriptorList of its
  // class).
  template <class F>
  void VisitList(int which, F&& f);
  void NoteFilled(int index) noexcept;
  void ReleaseList(int index) noexcept;
  void ReleaseAll() noexcept;
};

#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  template <>                                         \
  inline DescriptorList<cls>& DescriptorSet::Get<cls>() { \
    return member;                                    \
  }
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR

template <class F>
void DescriptorSet::VisitList(int which, F&& f) {
  switch (which) {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  case index:                                         \
    f(member);                                        \
    return;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
    case kUserPrivateIndex:
      f(userPrivateDescriptors);
      return;
    case kGeneralIndex:
      f(generalDescriptors);
      return;
  }
}

template <class F>
void DescriptorSet::ForEachList(F&& f) const {
  DescriptorSet& self = const_cast<DescriptorSet&>(*this);
  for (int i = 0; i < kListCount; ++i) self.VisitList(i, [&f, i](auto& list) { f(i, std::as_const(list)); });
}

}  // namespace lib13818
