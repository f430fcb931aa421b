// Descriptors that a set leaves to its arena when it is released must hold
// no memory outside it: parsed into an arena, such a class allocates nothing
// from the heap, whatever its bytes.  Every allocation of this program is
// counted here to see it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "lib13818/descriptor_set.h"
#include "lib13818/error.h"

namespace {
thread_local bool counting = false;
thread_local long held = 0;  // allocations not yet freed while counting
}  // namespace

// The replacements take their memory from malloc and give it back to free.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t n) {
  if (counting) ++held;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return ::operator new(n); }
void operator delete(void* p) noexcept {
  if (counting && p) --held;
  std::free(p);
}
void operator delete[](void* p) noexcept { ::operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { ::operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { ::operator delete(p); }

using namespace lib13818;

namespace {

// Heap blocks taken and still held after `bytes` (one descriptor) is parsed
// into a set whose arena exists already; -1 when the descriptor is refused.
// What the decoding takes and gives back on the way does not count, nor
// the text decoder's buffer that a thread keeps (the same bytes are parsed
// once before, so that it has grown already).
long AllocationsParsing(const std::vector<u8>& bytes) {
  const detail::SharedArenaScope section(64 * 1024);
  detail::ArenaRef made = detail::SharedArenaScope::Share();
  try {
    DescriptorSet().AddLoop(bytes.data(), bytes.size());
  } catch (const error&) {
  }
  DescriptorSet set;
  counting = true;
  held = 0;
  long result;
  try {
    set.AddLoop(bytes.data(), bytes.size());
    result = held;
  } catch (const error&) {
    result = -1;
  }
  counting = false;
  return result;
}

// Descriptors of `tag` with payloads of every length: random, all ones,
// letters with table bytes among them, and zeros.
template <class F>
void ForSamples(u8 tag, F&& f) {
  std::mt19937 random(tag);
  for (int length = 0; length <= 255; ++length) {
    for (int kind = 0; kind < 4; ++kind) {
      std::vector<u8> d{tag, static_cast<u8>(length)};
      for (int i = 0; i < length; ++i)
        d.push_back(kind == 0   ? static_cast<u8>(random())
                    : kind == 1 ? u8{0xFF}
                    : kind == 2 ? static_cast<u8>(i % 7 == 0 ? 3 : 0x41)
                                : u8{0});
      f(d);
    }
  }
}

}  // namespace

TEST(ArenaMemory, ClassesLeftToTheArenaTakeNothingFromTheHeap) {
  int classes = 0;
#define ORB_DESCRIPTOR(index, tag, cls, member, name)                                       \
  if constexpr (detail::kHeldByArena<cls>) {                                                \
    ++classes;                                                                              \
    int parsed = 0;                                                                         \
    ForSamples(tag, [&](const std::vector<u8>& d) {                                         \
      const long n = AllocationsParsing(d);                                                 \
      if (n >= 0) ++parsed;                                                                 \
      EXPECT_LE(n, 0) << #cls << " allocated from the heap, payload of " << int(d[1]) << " bytes"; \
    });                                                                                     \
    EXPECT_GT(parsed, 0) << #cls << ": no sample parsed";                                   \
  }
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
  EXPECT_GT(classes, 40);
}

TEST(ArenaMemory, TheCountSeesWhatAVectorOfItsOwnTakes) {
  // The CA identifier keeps its ids in a std::vector: it is not left to the
  // arena, and the count must see its allocation.
  static_assert(!detail::kHeldByArena<DescriptorCAIdentifier>);
  EXPECT_GT(AllocationsParsing({0x53, 4, 0x17, 0x22, 0x09, 0x8D}), 0);
  EXPECT_EQ(AllocationsParsing({0x55, 4, 'D', 'N', 'K', 7}), 0);
}
