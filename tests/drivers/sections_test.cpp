// Section collection rules, hand-over and batching of the plug-ins' section reader.
#include "drvcore/sections.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using drvcore::Offered;
using drvcore::SectionCollector;
using drvcore::u8;
using drvcore::u16;
using drvcore::u32;
using Bytes = std::vector<u8>;

// A long-header section of `total` bytes (at least 12) with the given header fields.
Bytes Section(u8 tableId, u16 ext, u8 number, u8 last, u16 b8 = 0, u16 b10 = 0, size_t total = 16) {
  Bytes b(total, 0x55);
  const size_t len = total - 3;
  b[0] = tableId;
  b[1] = static_cast<u8>(0xB0 | (len >> 8));
  b[2] = static_cast<u8>(len);
  b[3] = static_cast<u8>(ext >> 8);
  b[4] = static_cast<u8>(ext);
  b[5] = 0xC1;
  b[6] = number;
  b[7] = last;
  b[8] = static_cast<u8>(b8 >> 8);
  b[9] = static_cast<u8>(b8);
  b[10] = static_cast<u8>(b10 >> 8);
  b[11] = static_cast<u8>(b10);
  return b;
}

Offered Offer(SectionCollector& c, const Bytes& b) { return c.Offer(b.data(), b.size()); }

TEST(SectionCollector, SingleModeCompletesAtLastSectionNumber) {
  SectionCollector c(drvcore::kModeSingle);
  EXPECT_EQ(Offer(c, Section(0x00, 1, 0, 0)), Offered::Completed);
  EXPECT_EQ(c.Count(), 1u);
  EXPECT_TRUE(c.Done());
  EXPECT_EQ(Offer(c, Section(0x00, 1, 1, 0)), Offered::Ignored);  // done: nothing more kept
  EXPECT_EQ(c.Count(), 1u);

  SectionCollector three(drvcore::kModeSingle);
  EXPECT_EQ(Offer(three, Section(0x42, 1, 2, 2)), Offered::Kept);
  EXPECT_EQ(Offer(three, Section(0x42, 1, 0, 2)), Offered::Kept);
  EXPECT_EQ(Offer(three, Section(0x42, 1, 1, 2)), Offered::Completed);
  EXPECT_EQ(three.Count(), 3u);
  // Arrival order is kept.
  EXPECT_EQ(three.Slot(0)[6], 2);
  EXPECT_EQ(three.Slot(1)[6], 0);
  EXPECT_EQ(three.Slot(2)[6], 1);
}

TEST(SectionCollector, SingleModeCompletesOnRepeatedKey) {
  SectionCollector c(drvcore::kModeSingle);
  EXPECT_EQ(Offer(c, Section(0x02, 7, 0, 5)), Offered::Kept);
  EXPECT_EQ(Offer(c, Section(0x02, 7, 1, 5)), Offered::Kept);
  EXPECT_EQ(Offer(c, Section(0x02, 7, 0, 5)), Offered::Completed);
  EXPECT_EQ(c.Count(), 2u);
}

TEST(SectionCollector, SingleModeCompletesAt32) {
  SectionCollector c(drvcore::kModeSingle);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(Offer(c, Section(0x4A, 1, static_cast<u8>(i), 0xFF)), Offered::Kept);
  EXPECT_EQ(Offer(c, Section(0x4A, 1, 31, 0xFF)), Offered::Completed);
  EXPECT_EQ(c.Count(), 32u);
}

TEST(SectionCollector, ExtensionModesKeyAndLimit) {
  // Mode 3: 40 distinct sub-tables complete at 32; the rest is not kept.
  SectionCollector nit(drvcore::kModeByExtension);
  int completedAt = -1;
  for (int i = 0; i < 40; ++i) {
    Offered r = Offer(nit, Section(0x41, static_cast<u16>(0x100 + i), 0, 0));
    if (r == Offered::Completed && completedAt < 0) completedAt = i;
  }
  EXPECT_EQ(completedAt, 31);
  EXPECT_EQ(nit.Count(), 32u);

  // Same section number in other sub-tables is a new key; a repeat completes.
  SectionCollector by3(drvcore::kModeByExtension);
  EXPECT_EQ(Offer(by3, Section(0x41, 1, 0, 1)), Offered::Kept);
  EXPECT_EQ(Offer(by3, Section(0x41, 2, 0, 1)), Offered::Kept);
  EXPECT_EQ(Offer(by3, Section(0x41, 1, 1, 1)), Offered::Kept);
  EXPECT_EQ(Offer(by3, Section(0x41, 2, 0, 1)), Offered::Completed);
  EXPECT_EQ(by3.Count(), 3u);

  // Mode 4 tells original networks apart.
  SectionCollector sdt(drvcore::kModeByExtensionOnid);
  EXPECT_EQ(Offer(sdt, Section(0x46, 5, 0, 0, 0x0001)), Offered::Kept);
  EXPECT_EQ(Offer(sdt, Section(0x46, 5, 0, 0, 0x0002)), Offered::Kept);
  EXPECT_EQ(Offer(sdt, Section(0x46, 5, 0, 0, 0x0001)), Offered::Completed);
  EXPECT_EQ(sdt.Count(), 2u);
}

TEST(SectionCollector, EitModeKeepsHundredLargeSections) {
  SectionCollector eit(drvcore::kModeEit);
  ASSERT_TRUE(eit.Collects());
  EXPECT_EQ(eit.SlotSize(), 4096u);
  // A section larger than a normal slot fits the EIT slots.
  Bytes big = Section(0x50, 1, 0, 0, 2, 3, 4000);
  EXPECT_EQ(Offer(eit, big), Offered::Kept);
  // Keys differ by service, transport stream, original network and section number.
  EXPECT_EQ(Offer(eit, Section(0x50, 1, 0, 0, 2, 4)), Offered::Kept);
  EXPECT_EQ(Offer(eit, Section(0x50, 1, 0, 0, 3, 3)), Offered::Kept);
  int completedAt = -1;
  for (int i = 0; i < 120 && completedAt < 0; ++i)
    if (Offer(eit, Section(0x50, static_cast<u16>(100 + i), 0, 0, 2, 3)) == Offered::Completed) completedAt = i;
  EXPECT_EQ(eit.Count(), 100u);
  EXPECT_EQ(completedAt, 96);
  EXPECT_EQ(std::memcmp(eit.Slot(0), big.data(), big.size()), 0);
}

TEST(SectionCollector, ReservedModesKeepNothing) {
  for (u32 mode : {1u, 2u, 6u, 0xFFFFFFFFu}) {
    SectionCollector c(mode);
    EXPECT_FALSE(c.Collects());
    EXPECT_EQ(Offer(c, Section(0x00, 1, 0, 0)), Offered::Ignored);
    EXPECT_FALSE(c.Done());
    u32 count = 99;
    u8* dummy = nullptr;
    u8** sections = &dummy;
    c.HandOver(std::malloc, std::free, count, sections);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(sections, nullptr);
  }
}

TEST(SectionCollector, RefusesSectionsThatDoNotFitOrLie) {
  SectionCollector c(drvcore::kModeSingle);
  Bytes s = Section(0x00, 1, 0, 3);
  // section_length reaching past what was delivered.
  EXPECT_EQ(c.Offer(s.data(), s.size() - 1), Offered::Ignored);
  // Fewer bytes than the header the key needs.
  EXPECT_EQ(c.Offer(s.data(), 2), Offered::Ignored);
  Bytes tiny = {0x00, 0xB0, 0x02, 0x00, 0x01};
  EXPECT_EQ(Offer(c, tiny), Offered::Ignored);
  EXPECT_EQ(c.Offer(nullptr, 100), Offered::Ignored);
  // A section larger than a 1024-byte slot.
  Bytes large = Section(0x00, 1, 1, 3, 0, 0, 1025);
  EXPECT_EQ(Offer(c, large), Offered::Ignored);
  EXPECT_EQ(c.Count(), 0u);
  EXPECT_FALSE(c.Done());
  // A section exactly the slot's size is kept; extra delivered bytes are not copied.
  Bytes exact = Section(0x00, 1, 2, 3, 0, 0, 1024);
  exact.resize(1100, 0xEE);
  EXPECT_EQ(Offer(c, exact), Offered::Kept);
  EXPECT_EQ(c.Slot(0)[1023], 0x55);
  // A TDT-sized short section is enough for the single mode.
  SectionCollector tdt(drvcore::kModeSingle);
  Bytes t = {0x70, 0x70, 0x05, 0xE4, 0x5A, 0x12, 0x34, 0x00};
  EXPECT_EQ(Offer(tdt, t), Offered::Completed);  // b[7] == 0 == count - 1
}

TEST(SectionCollector, FinishStopsCollecting) {
  SectionCollector c(drvcore::kModeByExtension);
  EXPECT_EQ(Offer(c, Section(0x41, 1, 0, 0)), Offered::Kept);
  c.Finish();
  EXPECT_TRUE(c.Done());
  EXPECT_EQ(Offer(c, Section(0x41, 2, 0, 0)), Offered::Ignored);
  EXPECT_EQ(c.Count(), 1u);
}

// Allocation counting for the hand-over.
int g_allocs = 0;
int g_frees = 0;
int g_failAt = -1;
void* CountingAlloc(size_t n) {
  if (g_allocs++ == g_failAt) return nullptr;
  return std::malloc(n);
}
void CountingFree(void* p) {
  ++g_frees;
  std::free(p);
}

TEST(SectionCollector, HandOverCopiesWholeSlots) {
  SectionCollector c(drvcore::kModeSingle);
  Bytes a = Section(0x42, 9, 0, 1, 0, 0, 20);
  Bytes b = Section(0x42, 9, 1, 1, 0, 0, 30);
  Offer(c, a);
  Offer(c, b);
  g_allocs = g_frees = 0;
  g_failAt = -1;
  u32 count = 0;
  u8** sections = nullptr;
  c.HandOver(CountingAlloc, CountingFree, count, sections);
  ASSERT_EQ(count, 2u);
  ASSERT_NE(sections, nullptr);
  EXPECT_EQ(g_allocs, 3);
  EXPECT_EQ(std::memcmp(sections[0], a.data(), a.size()), 0);
  EXPECT_EQ(std::memcmp(sections[1], b.data(), b.size()), 0);
  EXPECT_EQ(sections[0][a.size()], 0);  // the rest of a buffer is zero, not stale memory
  EXPECT_EQ(sections[1][1023], 0);
  std::free(sections[0]);
  std::free(sections[1]);
  std::free(sections);

  // An empty request hands over no array.
  SectionCollector empty(drvcore::kModeSingle);
  count = 5;
  empty.HandOver(CountingAlloc, CountingFree, count, sections);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(sections, nullptr);
}

TEST(SectionCollector, HandOverGivesBackEverythingWhenAnAllocationFails) {
  SectionCollector c(drvcore::kModeSingle);
  for (u8 i = 0; i < 3; ++i) Offer(c, Section(0x42, 9, i, 5));
  for (int failAt = 0; failAt < 4; ++failAt) {
    g_allocs = g_frees = 0;
    g_failAt = failAt;
    u32 count = 7;
    u8** sections = nullptr;
    c.HandOver(CountingAlloc, CountingFree, count, sections);
    EXPECT_EQ(count, 0u) << failAt;
    EXPECT_EQ(sections, nullptr) << failAt;
    EXPECT_EQ(g_frees, failAt) << failAt;  // every successful allocation went back
  }
  g_failAt = -1;
}

TEST(FilterPattern, TableIdAloneOrWithExtension) {
  drvcore::FilterPattern p = drvcore::MakeFilterPattern(0x4E, false, 0x1234);
  EXPECT_EQ(p.length, 1);
  EXPECT_EQ(p.data[0], 0x4E);
  EXPECT_EQ(p.mask[0], 0xFF);
  for (int k = 1; k < 8; ++k) EXPECT_EQ(p.mask[k], 0) << k;

  p = drvcore::MakeFilterPattern(0x02, true, 0x1234);
  EXPECT_EQ(p.length, 5);
  EXPECT_EQ(p.data[3], 0x12);
  EXPECT_EQ(p.data[4], 0x34);
  EXPECT_EQ(p.mask[3], 0xFF);
  EXPECT_EQ(p.mask[4], 0xFF);
  EXPECT_EQ(p.mask[1], 0);
  EXPECT_EQ(p.mask[2], 0);
}

TEST(Batching, CutsIntoBatchesOf32) {
  auto run = [](long count, std::vector<std::pair<long, long>>& calls, long failAt = -1,
                long cancelAfter = -1) {
    long batches = 0;
    return drvcore::ForEachBatch(
        count,
        [&](long first, long n) -> long {
          calls.push_back({first, n});
          return batches++ == failAt ? -5 : 0;
        },
        [&] { return cancelAfter >= 0 && batches > cancelAfter; });
  };
  std::vector<std::pair<long, long>> calls;
  EXPECT_EQ(run(33, calls), 0);
  EXPECT_EQ(calls, (std::vector<std::pair<long, long>>{{0, 32}, {32, 1}}));

  calls.clear();
  EXPECT_EQ(run(64, calls), 0);  // no empty third batch
  EXPECT_EQ(calls, (std::vector<std::pair<long, long>>{{0, 32}, {32, 32}}));

  calls.clear();
  EXPECT_EQ(run(0, calls), 0);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(run(-3, calls), 0);
  EXPECT_TRUE(calls.empty());

  // The first failing batch ends the run; later batches do not run.
  calls.clear();
  EXPECT_EQ(run(100, calls, 1), -5);
  EXPECT_EQ(calls.size(), 2u);

  // A cancel skips the batches not yet started.
  calls.clear();
  EXPECT_EQ(run(100, calls, -1, 0), 0);
  EXPECT_EQ(calls.size(), 1u);
}

TEST(Batching, WaitMilliseconds) {
  EXPECT_EQ(drvcore::BatchWaitMilliseconds(2), 2000u);
  EXPECT_EQ(drvcore::BatchWaitMilliseconds(0), 0u);
  EXPECT_EQ(drvcore::BatchWaitMilliseconds(-1), 0u);
  EXPECT_EQ(drvcore::BatchWaitMilliseconds(5000000), 0xFFFFFFFEu);
}

}  // namespace
