// Section collection rules, hand-over and batching of the plug-ins' section reader.
#include "drvcore/sections.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(SectionCollector, SingleModeCompletesByTheSectionsItHolds) {
  // A repeat is passed over while a section is missing: 0, 2, 0 is not a table of three.
  SectionCollector c(drvcore::kModeSingle);
  EXPECT_EQ(Offer(c, Section(0x02, 7, 0, 2)), Offered::Kept);
  EXPECT_EQ(Offer(c, Section(0x02, 7, 2, 2)), Offered::Kept);
  EXPECT_EQ(Offer(c, Section(0x02, 7, 0, 2)), Offered::Ignored);
  EXPECT_EQ(Offer(c, Section(0x02, 7, 2, 2)), Offered::Ignored);
  EXPECT_FALSE(c.Done());
  EXPECT_EQ(c.Count(), 2u);
  EXPECT_EQ(Offer(c, Section(0x02, 7, 1, 2)), Offered::Completed);
  EXPECT_EQ(c.Count(), 3u);

  // One table: sections of another table_id_extension on the same table_id
  // (a second bouquet) are not kept and do not count as its sections.
  SectionCollector bat(drvcore::kModeSingle);
  EXPECT_EQ(Offer(bat, Section(0x4A, 0x1000, 0, 1)), Offered::Kept);
  EXPECT_EQ(Offer(bat, Section(0x4A, 0x2000, 1, 1)), Offered::Ignored);
  EXPECT_EQ(Offer(bat, Section(0x4A, 0x2000, 0, 0)), Offered::Ignored);
  EXPECT_EQ(Offer(bat, Section(0x4A, 0x1000, 1, 1)), Offered::Completed);
  EXPECT_EQ(bat.Count(), 2u);
  EXPECT_EQ(bat.Slot(1)[3], 0x10);
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

  // Same section number in other sub-tables is a new key; a repeat completes
  // once every sub-table kept is whole.
  SectionCollector by3(drvcore::kModeByExtension);
  EXPECT_EQ(Offer(by3, Section(0x41, 1, 0, 1)), Offered::Kept);
  EXPECT_EQ(Offer(by3, Section(0x41, 2, 0, 1)), Offered::Kept);
  EXPECT_EQ(Offer(by3, Section(0x41, 1, 1, 1)), Offered::Kept);
  EXPECT_EQ(Offer(by3, Section(0x41, 2, 0, 1)), Offered::Ignored);  // network 2 lacks section 1
  EXPECT_EQ(Offer(by3, Section(0x41, 2, 1, 1)), Offered::Kept);
  EXPECT_EQ(Offer(by3, Section(0x41, 1, 0, 1)), Offered::Completed);
  EXPECT_EQ(by3.Count(), 4u);

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

// An EIT section of service `sid` (transport stream 2, original network 3).
Bytes Eit(u8 tableId, u16 sid, u8 number, u8 last, u8 segmentLast, u8 version = 0, size_t total = 18) {
  Bytes b = Section(tableId, sid, number, last, 2, 3, total);
  b[5] = static_cast<u8>(0xC1 | version << 1);
  b[12] = segmentLast;
  b[13] = tableId;
  return b;
}

Bytes WithVersion(Bytes b, u8 version) {
  b[5] = static_cast<u8>(0xC1 | version << 1);
  return b;
}

// What a request kept: (b[3..4], section_number) of each slot, in slot order.
std::vector<std::pair<u32, u32>> KeptKeys(const SectionCollector& c) {
  std::vector<std::pair<u32, u32>> keys;
  for (u32 i = 0; i < c.Count(); ++i) keys.push_back({c.Slot(i)[3] << 8 | c.Slot(i)[4], c.Slot(i)[6]});
  return keys;
}

// Plays `cycle` from position `start` on, round and round, into the request
// until it completes (at most `cycles` times round).
// Returns the number of sections offered, 0 when it never completed.
size_t Play(SectionCollector& c, const std::vector<Bytes>& cycle, size_t start, int cycles = 4) {
  for (size_t n = 0; n < cycle.size() * static_cast<size_t>(cycles); ++n)
    if (Offer(c, cycle[(start + n) % cycle.size()]) == Offered::Completed) return n + 1;
  return 0;
}

// The distinct sections of a cycle as KeptKeys sees them.
std::vector<std::pair<u32, u32>> Distinct(const std::vector<Bytes>& cycle) {
  std::vector<std::pair<u32, u32>> keys;
  for (const Bytes& b : cycle) {
    std::pair<u32, u32> k{b[3] << 8 | b[4], b[6]};
    if (std::find(keys.begin(), keys.end(), k) == keys.end()) keys.push_back(k);
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

TEST(SectionCollector, SectionsSentAtDifferentRatesAreAllKeptFromAnyStart) {
  // EIT schedule of three services as a multiplexer sends it: the first
  // section of each segment (and so of each sub-table) after every two
  // other sections, the rest once a cycle.  Segments hold sections 0-2 and
  // 8-9 (segment_last_section_number 2 and 9, the numbers between never
  // sent); service 3 also has an empty segment 16.
  std::vector<Bytes> often, rest;
  for (u16 sid = 1; sid <= 3; ++sid) {
    const u8 last = sid == 3 ? 16 : 9;
    often.push_back(Eit(0x50, sid, 0, last, 2));
    often.push_back(Eit(0x50, sid, 8, last, 9));
    if (sid == 3) often.push_back(Eit(0x50, sid, 16, last, 16));
    for (u8 n : {1, 2}) rest.push_back(Eit(0x50, sid, n, last, 2));
    rest.push_back(Eit(0x50, sid, 9, last, 9));
  }
  std::vector<Bytes> cycle;
  for (size_t i = 0, hot = 0; i < rest.size(); ++i) {
    if (i % 2 == 0)
      for (int k = 0; k < 3; ++k) cycle.push_back(often[hot++ % often.size()]);
    cycle.push_back(rest[i]);
  }
  const auto all = Distinct(cycle);
  ASSERT_EQ(all.size(), 16u);
  for (size_t start = 0; start < cycle.size(); ++start) {
    SCOPED_TRACE(start);
    SectionCollector c(drvcore::kModeEit);
    EXPECT_GT(Play(c, cycle, start), 0u);
    auto kept = KeptKeys(c);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, all);  // each section once
  }

  // The same for one table in mode 0 and for networks in mode 3, section 0
  // of each sent three times a cycle, spread over the cycle, and the order
  // of the sections turned round from cycle to cycle.
  for (u32 mode : {0u, 3u}) {
    SCOPED_TRACE(mode);
    const u16 networks = mode == 0 ? 1 : 3;
    std::vector<Bytes> base;
    for (u16 nid = 1; nid <= networks; ++nid)
      for (u8 n = 0; n < 4; ++n) {
        const u8 tableId = mode == 0 ? 0x40 : 0x41;
        base.push_back(Section(tableId, nid, n, 3));
        if (n % 2 == 1) base.push_back(Section(tableId, static_cast<u16>(nid % networks + 1), 0, 3));
      }
    for (size_t turn = 0; turn < base.size(); ++turn) {
      SCOPED_TRACE(turn);
      std::vector<Bytes> cycle2;
      for (size_t round = 0; round < 3; ++round)
        for (size_t i = 0; i < base.size(); ++i) cycle2.push_back(base[(i + turn * round) % base.size()]);
      SectionCollector c(mode);
      EXPECT_GT(Play(c, cycle2, turn), 0u);
      auto kept = KeptKeys(c);
      std::sort(kept.begin(), kept.end());
      EXPECT_EQ(kept, Distinct(base));
    }
  }
}

TEST(SectionCollector, ARepeatWaitsForEverySubTableKept) {
  // p/f of service 1 comes round again before service 2's following section
  // was seen: the request goes on.
  SectionCollector c(drvcore::kModeEit);
  EXPECT_EQ(Offer(c, Eit(0x4E, 1, 0, 1, 1)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x4E, 1, 1, 1, 1)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x4E, 2, 0, 1, 1)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x4E, 1, 0, 1, 1)), Offered::Ignored);
  EXPECT_EQ(Offer(c, Eit(0x4E, 1, 1, 1, 1)), Offered::Ignored);
  EXPECT_EQ(Offer(c, Eit(0x4E, 2, 1, 1, 1)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x4E, 2, 0, 1, 1)), Offered::Completed);
  EXPECT_EQ(c.Count(), 4u);
}

TEST(SectionCollector, ASectionThatNeverComesKeepsTheRequestOpen) {
  // Section 1 of network 2 is announced but never sent: no repeat ends the
  // request (the batch's time-out does, with what was kept).
  std::vector<Bytes> cycle = {Section(0x41, 1, 0, 1), Section(0x41, 1, 1, 1), Section(0x41, 2, 0, 1)};
  SectionCollector c(drvcore::kModeByExtension);
  EXPECT_EQ(Play(c, cycle, 0, 10), 0u);
  EXPECT_FALSE(c.Done());
  EXPECT_EQ(c.Count(), 3u);
  c.Finish();
  u32 count = 0;
  u8** sections = nullptr;
  c.HandOver(std::malloc, std::free, count, sections);
  ASSERT_EQ(count, 3u);
  for (u32 i = 0; i < count; ++i) std::free(sections[i]);
  std::free(sections);

  // The same in the single mode, and a missing EIT segment: a segment of
  // which nothing was seen is awaited through its first section.
  SectionCollector pmt(drvcore::kModeSingle);
  EXPECT_EQ(Play(pmt, {Section(0x02, 5, 0, 2), Section(0x02, 5, 1, 2)}, 0, 10), 0u);
  EXPECT_EQ(pmt.Count(), 2u);
  SectionCollector eit(drvcore::kModeEit);
  std::vector<Bytes> sched = {Eit(0x50, 1, 0, 16, 0), Eit(0x50, 1, 16, 16, 17)};
  EXPECT_EQ(Play(eit, sched, 0, 10), 0u);
  EXPECT_EQ(Offer(eit, Eit(0x50, 1, 8, 16, 8)), Offered::Kept);  // segment 1 is one empty section
  EXPECT_EQ(Offer(eit, sched[0]), Offered::Completed);
  EXPECT_EQ(eit.Count(), 3u);
}

TEST(SectionCollector, EitSegmentsAwaitOnlyTheSectionsTheyAnnounce) {
  SectionCollector c(drvcore::kModeEit);
  // last_section_number 25: segment 0 holds 0-1, segment 1 only 8, segment
  // 2 sections 16-18, segment 3 sections 24-25.
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 0, 25, 1)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 8, 25, 8)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 16, 25, 18)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 24, 25, 25)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 0, 25, 1)), Offered::Ignored);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 1, 25, 1)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 17, 25, 18)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 25, 25, 25)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 0, 25, 1)), Offered::Ignored);  // 18 still missing
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 18, 25, 18)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x50, 1, 8, 25, 8)), Offered::Completed);
  EXPECT_EQ(c.Count(), 8u);

  // A segment_last_section_number outside its segment is taken within it:
  // below the segment's first section it announces the first alone, beyond
  // the segment or the table it stops at their last.
  SectionCollector odd(drvcore::kModeEit);
  EXPECT_EQ(Offer(odd, Eit(0x50, 1, 8, 9, 3)), Offered::Kept);      // segment 1: 8
  EXPECT_EQ(Offer(odd, Eit(0x50, 1, 0, 9, 0xFE)), Offered::Kept);   // segment 0: 0-7
  for (u8 n = 1; n < 7; ++n) EXPECT_EQ(Offer(odd, Eit(0x50, 1, n, 9, 0xFE)), Offered::Kept) << int{n};
  EXPECT_EQ(Offer(odd, Eit(0x50, 1, 0, 9, 0xFE)), Offered::Ignored);  // 7 missing
  EXPECT_EQ(Offer(odd, Eit(0x50, 1, 7, 9, 0xFE)), Offered::Kept);
  EXPECT_EQ(Offer(odd, Eit(0x50, 1, 8, 9, 3)), Offered::Completed);

  // Other modes know no segments: every number up to last_section_number.
  SectionCollector sdt(drvcore::kModeByExtensionOnid);
  for (u8 n : {0, 8}) EXPECT_EQ(Offer(sdt, Section(0x46, 1, n, 8, 2)), Offered::Kept);
  EXPECT_EQ(Offer(sdt, Section(0x46, 1, 0, 8, 2)), Offered::Ignored);
}

TEST(SectionCollector, AChangedVersionStartsItsSubTableOver) {
  SectionCollector c(drvcore::kModeEit);
  EXPECT_EQ(Offer(c, Eit(0x4E, 1, 0, 1, 1, 4)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x4E, 2, 0, 1, 1, 9)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x4E, 1, 1, 1, 1, 4, 300)), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x4E, 2, 1, 1, 1, 9)), Offered::Kept);
  // Service 1 moves to version 5: its two sections go, service 2's stay in
  // order, and the new section takes the slot a longer one held.
  const Bytes fresh = Eit(0x4E, 1, 1, 1, 1, 5, 40);
  EXPECT_EQ(Offer(c, fresh), Offered::Kept);
  EXPECT_EQ(KeptKeys(c), (std::vector<std::pair<u32, u32>>{{2, 0}, {2, 1}, {1, 1}}));
  EXPECT_EQ(std::memcmp(c.Slot(2), fresh.data(), fresh.size()), 0);
  for (size_t i = fresh.size(); i < c.SlotSize(); ++i) ASSERT_EQ(c.Slot(2)[i], 0) << i;  // no stale bytes
  // The old version's section 0 is a new start again, and the new one's repeat
  // waits for section 0 of version 5.
  EXPECT_EQ(Offer(c, Eit(0x4E, 1, 0, 1, 1, 4)), Offered::Kept);
  EXPECT_EQ(KeptKeys(c), (std::vector<std::pair<u32, u32>>{{2, 0}, {2, 1}, {1, 0}}));
  EXPECT_EQ(Offer(c, fresh), Offered::Kept);
  EXPECT_EQ(Offer(c, Eit(0x4E, 1, 0, 1, 1, 5)), Offered::Kept);
  EXPECT_EQ(Offer(c, fresh), Offered::Completed);
  EXPECT_EQ(c.Count(), 4u);
  for (u32 i = 0; i < c.Count(); ++i) EXPECT_EQ(c.Slot(i)[5], (c.Slot(i)[4] == 1 ? 0xC1 | 5 << 1 : 0xC1 | 9 << 1)) << i;

  // Mode 0: the table starts over.
  SectionCollector pat(drvcore::kModeSingle);
  EXPECT_EQ(Offer(pat, WithVersion(Section(0x00, 1, 0, 1), 1)), Offered::Kept);
  EXPECT_EQ(Offer(pat, WithVersion(Section(0x00, 1, 1, 1), 2)), Offered::Kept);
  EXPECT_EQ(pat.Count(), 1u);
  EXPECT_EQ(Offer(pat, WithVersion(Section(0x00, 1, 0, 1), 2)), Offered::Completed);
  EXPECT_EQ(pat.Slot(0)[6], 1);
}

TEST(SectionCollector, TheNextVersionOnAirChangesNothing) {
  // A multiplexer announcing the next version (current_next_indicator 0)
  // beside the one in force: the request keeps the one in force, whole.
  auto next = [](Bytes b) {
    b[5] = static_cast<u8>(b[5] & ~1u);
    return b;
  };
  SectionCollector sdt(drvcore::kModeSingle);
  EXPECT_EQ(Offer(sdt, WithVersion(Section(0x42, 7, 0, 2), 3)), Offered::Kept);
  EXPECT_EQ(Offer(sdt, next(WithVersion(Section(0x42, 7, 0, 2), 4))), Offered::Ignored);
  EXPECT_EQ(Offer(sdt, WithVersion(Section(0x42, 7, 1, 2), 3)), Offered::Kept);
  EXPECT_EQ(Offer(sdt, next(WithVersion(Section(0x42, 7, 1, 2), 4))), Offered::Ignored);
  EXPECT_EQ(Offer(sdt, next(WithVersion(Section(0x42, 7, 2, 2), 4))), Offered::Ignored);
  EXPECT_EQ(sdt.Count(), 2u);
  EXPECT_EQ(Offer(sdt, WithVersion(Section(0x42, 7, 2, 2), 3)), Offered::Completed);
  ASSERT_EQ(sdt.Count(), 3u);
  for (u32 i = 0; i < 3; ++i) EXPECT_EQ(sdt.Slot(i)[5], 0xC1 | 3 << 1) << i;

  SectionCollector eit(drvcore::kModeEit);
  EXPECT_EQ(Offer(eit, Eit(0x4E, 1, 0, 1, 1, 4)), Offered::Kept);
  EXPECT_EQ(Offer(eit, next(Eit(0x4E, 1, 0, 1, 1, 5))), Offered::Ignored);
  EXPECT_EQ(Offer(eit, Eit(0x4E, 1, 1, 1, 1, 4)), Offered::Kept);
  EXPECT_EQ(Offer(eit, Eit(0x4E, 1, 0, 1, 1, 4)), Offered::Completed);
  EXPECT_EQ(eit.Count(), 2u);
}

TEST(SectionCollector, TheCapEndsARequestThatIsNotComplete) {
  // 32 networks each announcing two sections, only their first ever sent.
  SectionCollector c(drvcore::kModeByExtension);
  Offered last = Offered::Ignored;
  for (u16 nid = 0; nid < 32; ++nid) last = Offer(c, Section(0x41, nid, 0, 1));
  EXPECT_EQ(last, Offered::Completed);
  EXPECT_EQ(c.Count(), 32u);
  // 100 in the EIT mode.
  SectionCollector eit(drvcore::kModeEit);
  for (u16 sid = 0; sid < 100; ++sid) last = Offer(eit, Eit(0x50, sid, 0, 8, 0));
  EXPECT_EQ(last, Offered::Completed);
  EXPECT_EQ(eit.Count(), 100u);
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
  EXPECT_EQ(Offer(tdt, t), Offered::Completed);  // no long header: a table by itself
  // The header fields a mode reads must have been delivered: b[7] in mode 3,
  // segment_last_section_number b[12] in mode 5.
  SectionCollector nit(drvcore::kModeByExtension);
  Bytes seven = {0x41, 0xB0, 0x04, 0x00, 0x01, 0xC1, 0x00};
  EXPECT_EQ(Offer(nit, seven), Offered::Ignored);
  SectionCollector eit(drvcore::kModeEit);
  Bytes twelve = Section(0x4E, 1, 0, 0, 2, 3, 12);
  EXPECT_EQ(Offer(eit, twelve), Offered::Ignored);
  twelve.push_back(0);
  twelve[2] = 10;
  EXPECT_EQ(Offer(eit, twelve), Offered::Kept);
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
