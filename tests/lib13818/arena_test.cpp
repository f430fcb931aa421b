// What a section's parsed descriptors share: one arena.  Whatever leaves the
// section (a moved event, a moved list, a copy) must stay readable after the
// section is gone; under ASan a list left pointing into a freed arena fails.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "lib13818/sdt_eit.h"
#include "lib13818/time_tables.h"
#include "section_builder.h"

using namespace lib13818;
using testing_support::Bytes;
using testing_support::SectionBuilder;

namespace {

const std::string kLongName = "An event name well past the short-string size";
const std::string kLongText = "And a text of the event that is longer still, to leave no doubt";

// An EIT of `events` events, each with a short event, two components, a
// parental rating and an extended event with two items.
Bytes EventSection(int events) {
  SectionBuilder b = SectionBuilder::Long(0x50, 0x0101, 0, 0, 0, 0xF);
  b.U16(0x0400).U16(0x0001).U8(0).U8(0x50);
  for (int n = 0; n < events; ++n) {
    Bytes d;
    auto put = [&d](const Bytes& x) { d.insert(d.end(), x.begin(), x.end()); };
    Bytes se{0x4D, 0, 'e', 'n', 'g', static_cast<u8>(kLongName.size())};
    se.insert(se.end(), kLongName.begin(), kLongName.end());
    se.push_back(static_cast<u8>(kLongText.size()));
    se.insert(se.end(), kLongText.begin(), kLongText.end());
    se[1] = static_cast<u8>(se.size() - 2);
    put(se);
    for (u8 tag : {0, 1}) put({0x50, 6, 0xF1, 0x03, tag, 'e', 'n', 'g'});
    put({0x55, 4, 'D', 'N', 'K', static_cast<u8>(n & 0x0F)});
    Bytes items;
    for (const char* s : {"Director of the film", "Somebody with a long name", "Year", "2024"}) {
      items.push_back(static_cast<u8>(std::char_traits<char>::length(s)));
      items.insert(items.end(), s, s + std::char_traits<char>::length(s));
    }
    Bytes ee{0x4E, 0, 0x01, 'e', 'n', 'g', static_cast<u8>(items.size())};
    ee.insert(ee.end(), items.begin(), items.end());
    ee.push_back(0);
    ee[1] = static_cast<u8>(ee.size() - 2);
    put(ee);
    b.U16(static_cast<u32>(n + 1)).Raw({0xC0, 0x79, 0x12, 0x45, 0x00}).Raw({0x01, 0x30, 0x00});
    b.U8(0x80 | static_cast<u8>(d.size() >> 8)).U8(static_cast<u8>(d.size())).Raw(d);
  }
  return b.Build();
}

std::unique_ptr<EventInformationSection> Parsed(int events) {
  auto eit = std::make_unique<EventInformationSection>();
  const Bytes b = EventSection(events);
  eit->Parse(b.data(), b.size());
  EXPECT_EQ(eit->events.size(), static_cast<size_t>(events));
  return eit;
}

void ExpectEvent(const DescriptorSet& set, int n) {
  ASSERT_EQ(set.shortEventDescriptors.size(), 1u);
  EXPECT_EQ(set.shortEventDescriptors[0].event_name, kLongName);
  EXPECT_EQ(set.shortEventDescriptors[0].text_raw, kLongText);
  ASSERT_EQ(set.componentDescriptors.size(), 2u);
  EXPECT_EQ(set.componentDescriptors[1].component_tag, 1u);
  ASSERT_EQ(set.parentalRatingDescriptors.size(), 1u);
  ASSERT_EQ(set.parentalRatingDescriptors[0].ratings.size(), 1u);
  EXPECT_EQ(set.parentalRatingDescriptors[0].ratings[0].rating, static_cast<u32>(n & 0x0F));
  ASSERT_EQ(set.extendedEventDescriptors.size(), 1u);
  ASSERT_EQ(set.extendedEventDescriptors[0].items.size(), 2u);
  EXPECT_EQ(set.extendedEventDescriptors[0].items[0].item, "Somebody with a long name");
  EXPECT_EQ(set.extendedEventDescriptors[0].items[0].item_description_raw, "Director of the film");
}

}  // namespace

TEST(SectionArena, WhatLeavesTheSectionOutlivesIt) {
  auto eit = Parsed(12);
  for (int n = 0; n < 12; ++n) ExpectEvent(eit->events[static_cast<size_t>(n)].descriptors, n);

  EventDescriptionInfo moved = std::move(eit->events[3]);  // the whole set, arena and all
  const EventDescriptionInfo copied = eit->events[4];
  auto shortEvents = std::move(eit->events[5].descriptors.shortEventDescriptors);
  auto ratings = std::move(eit->events[6].descriptors.parentalRatingDescriptors[0].ratings);
  RawText raw = std::move(eit->events[7].descriptors.shortEventDescriptors[0].event_name_raw);
  DescriptorSet assigned;
  assigned = std::move(eit->events[8].descriptors);
  DescriptorSet swapped;
  swapped.componentDescriptors.swap(eit->events[9].descriptors.componentDescriptors);
  std::vector<EventDescriptionInfo> all = eit->events;  // copies of every set
  eit.reset();

  ExpectEvent(moved.descriptors, 3);
  ExpectEvent(copied.descriptors, 4);
  ASSERT_EQ(shortEvents.size(), 1u);
  EXPECT_EQ(shortEvents[0].text, kLongText);
  ASSERT_EQ(ratings.size(), 1u);
  EXPECT_EQ(ratings[0].rating, 6u);
  EXPECT_EQ(raw, kLongName);
  ExpectEvent(assigned, 8);
  EXPECT_EQ(swapped.componentDescriptors.size(), 2u);
  ASSERT_EQ(all.size(), 12u);
  ExpectEvent(all[11].descriptors, 11);

  // Nothing else of the section left: what was taken out stands alone.
  auto lone = Parsed(2);
  auto components = std::move(lone->events[1].descriptors.componentDescriptors);
  auto items = std::move(lone->events[0].descriptors.extendedEventDescriptors[0].items);
  lone.reset();
  ASSERT_EQ(components.size(), 2u);
  EXPECT_EQ(components[1].component_tag, 1u);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].item_raw, "Somebody with a long name");

  // Lists taken out of a parsed set grow on their own, outside any arena.
  for (int i = 0; i < 40; ++i) shortEvents.push_back(shortEvents[0]);
  EXPECT_EQ(shortEvents.back().event_name, kLongName);
  moved.descriptors.componentDescriptors.resize(9);
  EXPECT_EQ(moved.descriptors.componentDescriptors[1].component_tag, 1u);
}

TEST(SectionArena, ReparsedAndReassignedSectionsKeepTheirEvents) {
  const Bytes full = EventSection(18);
  EventInformationSection eit;
  eit.Parse(full.data(), full.size());
  eit.Clear();
  eit.Parse(full.data(), full.size());
  ASSERT_EQ(eit.events.size(), 18u);
  ExpectEvent(eit.events[17].descriptors, 17);

  auto other = Parsed(3);
  eit = *other;  // copies
  other.reset();
  ASSERT_EQ(eit.events.size(), 3u);
  ExpectEvent(eit.events[2].descriptors, 2);
  eit = std::move(*Parsed(2));
  ExpectEvent(eit.events[1].descriptors, 1);
}

TEST(SectionArena, SetsFilledOutsideASectionHaveArenasOfTheirOwn) {
  DescriptorSet a;
  const u8 loop[] = {0x55, 4, 'D', 'N', 'K', 7, 0x50, 6, 0xF1, 0x03, 0x05, 'e', 'n', 'g'};
  a.AddLoop(loop, sizeof loop);
  a.AddLoop(loop, sizeof loop);  // the same arena, lists grown within it
  DescriptorSet b = std::move(a);
  a.AddLoop(loop, sizeof loop);  // a moved-from set takes a new one
  EXPECT_EQ(b.parentalRatingDescriptors.size(), 2u);
  EXPECT_EQ(b.componentDescriptors[1].component_tag, 5u);
  EXPECT_EQ(a.Count(), 2u);
  b = a;
  a = DescriptorSet();
  EXPECT_EQ(b.Count(), 2u);
  EXPECT_EQ(b.parentalRatingDescriptors[0].ratings[0].rating, 7u);

  // Descriptors decoding into objects far larger than their bytes outgrow
  // the first chunk: the arena chains more.
  Bytes many;
  for (int i = 0; i < 400; ++i) many.insert(many.end(), {0x50, 6, 0xF1, 0x03, static_cast<u8>(i), 'e', 'n', 'g'});
  DescriptorSet c;
  c.AddLoop(many.data(), many.size());
  ASSERT_EQ(c.componentDescriptors.size(), 400u);
  DescriptorSet d = std::move(c);
  for (int i = 0; i < 400; ++i) EXPECT_EQ(d.componentDescriptors[static_cast<size_t>(i)].component_tag, static_cast<u32>(i & 0xFF));
}

TEST(SectionArena, TimeOffsetDescriptorsOutliveTheSection) {
  // A TOT's one set takes an arena of its own: moved out, copied, or left in
  // a moved section, its descriptors stay readable after the section is gone.
  SectionBuilder b = SectionBuilder::Short(0x73);
  Bytes offsets;
  for (int i = 0; i < 12; ++i)
    offsets.insert(offsets.end(), {'D', 'E', 'U', static_cast<u8>(i << 2 | 1), 0x01, 0x00, 0xC0, 0x79, 0x12, 0x45,
                                   0x00, 0x02, 0x00});
  Bytes loop{0x58, static_cast<u8>(offsets.size())};
  loop.insert(loop.end(), offsets.begin(), offsets.end());
  b.Raw({0xC0, 0x79, 0x12, 0x45, 0x00}).U8(0xF0 | static_cast<u8>(loop.size() >> 8)).U8(static_cast<u8>(loop.size()));
  b.Raw(loop).U32(0);
  const Bytes bytes = b.Build();

  auto tot = std::make_unique<TimeOffsetSection>();
  tot->Parse(bytes.data(), bytes.size());
  ASSERT_EQ(tot->descriptors.localTimeOffsetDescriptors.size(), 1u);
  DescriptorSet copied = tot->descriptors;
  DescriptorList<DescriptorLocalTimeOffset> list = std::move(tot->descriptors.localTimeOffsetDescriptors);
  auto moved = std::make_unique<TimeOffsetSection>();
  tot->Parse(bytes.data(), bytes.size());
  *moved = std::move(*tot);
  tot.reset();
  for (const DescriptorSet* set : {&copied, &moved->descriptors}) {
    ASSERT_EQ(set->localTimeOffsetDescriptors.size(), 1u);
    ASSERT_EQ(set->localTimeOffsetDescriptors[0].offsets.size(), 12u);
    EXPECT_EQ(set->localTimeOffsetDescriptors[0].offsets[11].country_region_id, 11u);
  }
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].offsets[5].country_region_id, 5u);
  moved.reset();
  EXPECT_EQ(copied.localTimeOffsetDescriptors[0].offsets[3].country_region_id, 3u);
}

TEST(SectionArena, OwnBlocksAmongArenaBlocksAreFreedAndOnlyThey) {
  // Texts and lists given blocks of their own after the parse, inside
  // elements that stay in the arena, and arena elements moved into a list's
  // own block: the section's end frees each own block once and no arena
  // block (ASan reports a leak or a bad free otherwise).
  auto eit = Parsed(6);
  DescriptorSet& first = eit->events[0].descriptors;
  first.shortEventDescriptors[0].event_name = kLongText;
  first.shortEventDescriptors[0].text_raw = kLongName;
  first.extendedEventDescriptors[0].items.push_back(first.extendedEventDescriptors[0].items[0]);
  first.parentalRatingDescriptors[0].ratings.clear();
  DescriptorSet& second = eit->events[1].descriptors;
  second.componentDescriptors.resize(5);  // the two parsed ones move out of the arena
  second.componentDescriptors[4].text = kLongName;
  EXPECT_EQ(first.shortEventDescriptors[0].event_name, kLongText);
  EXPECT_EQ(first.extendedEventDescriptors[0].items[2].item, "Somebody with a long name");
  EXPECT_EQ(second.componentDescriptors[1].component_tag, 1u);
  EXPECT_EQ(second.componentDescriptors[4].text, kLongName);
  ExpectEvent(eit->events[5].descriptors, 5);
  eit.reset();
}

TEST(SectionArena, BlocksListsTakeAfterTheParseAreFreed) {
  // One change each to a parsed section, and nothing else after its parse:
  // lists given blocks of their own before the parse and moved or swapped
  // into empty lists of its sets afterwards (no allocation on the way), a
  // whole set traded for one filled by hand, a descriptor added to an empty
  // list.  Each block is freed once, with the section or with whatever holds
  // it at the end (ASan tells).
  const u8 networkName[] = {0x40, 5, 'N', 'o', 'r', 't', 'h'};
  const u8 component[] = {0x50, 6, 0xF1, 0x03, 9, 'e', 'n', 'g'};
  enum Change { kMoveAssign, kSwapList, kTradeSet, kEmplace };
  for (Change change : {kMoveAssign, kSwapList, kTradeSet, kEmplace}) {
    SCOPED_TRACE(change);
    DescriptorList<DescriptorNetworkName> own;
    own.emplace_back(networkName);
    DescriptorSet byHand;  // an own block and an arena of its own
    byHand.networkNameDescriptors.emplace_back(networkName);
    byHand.AddDescriptor(component);

    auto eit = Parsed(3);
    DescriptorSet& set = eit->events[1].descriptors;
    switch (change) {
      case kMoveAssign: set.networkNameDescriptors = std::move(own); break;
      case kSwapList: set.networkNameDescriptors.swap(own); break;
      case kTradeSet: std::swap(set, byHand); break;
      case kEmplace: set.networkNameDescriptors.emplace_back(networkName); break;
    }
    ASSERT_EQ(set.networkNameDescriptors.size(), 1u);
    EXPECT_EQ(set.networkNameDescriptors[0].network_name, "North");
    ExpectEvent(eit->events[0].descriptors, 0);
    eit.reset();
    if (change == kTradeSet) ExpectEvent(byHand, 1);  // the traded set keeps the section's arena
  }
}

TEST(SectionArena, DescriptorsOfTheirOwnMemoryGoOneByOneAmongTheRest) {
  // Events whose loops mix classes left to the arena with classes holding
  // vectors (CA identifiers, linkages, unknown tags), in sections parsed
  // again into the same object (the loops append): every vector is freed,
  // no arena block is (ASan tells either way).
  SectionBuilder b = SectionBuilder::Long(0x50, 0x0101, 0, 0, 0, 0xF);
  b.U16(0x0400).U16(0x0001).U8(0).U8(0x50);
  for (int n = 0; n < 6; ++n) {
    Bytes d{0x53, 4, 0x01, 0x00, static_cast<u8>(n), 0x00,
            0x4A, 10, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x80, 'x', 'y', 'z',
            0x55, 4, 'D', 'N', 'K', 7,
            0x9F, 3, 1, 2, 3};
    b.U16(static_cast<u32>(n + 1)).Raw({0xC0, 0x79, 0x12, 0x45, 0x00}).Raw({0x01, 0x30, 0x00});
    b.U8(0x80 | static_cast<u8>(d.size() >> 8)).U8(static_cast<u8>(d.size())).Raw(d);
  }
  const Bytes bytes = b.Build();
  auto check = [](const EventInformationSection& eit) {
    ASSERT_EQ(eit.events.size(), 12u);
    for (size_t n = 0; n < eit.events.size(); ++n) {
      const DescriptorSet& set = eit.events[n].descriptors;
      ASSERT_EQ(set.caIdentifierDescriptors.size(), 1u);
      EXPECT_EQ(set.caIdentifierDescriptors[0].CA_system_ids[1], static_cast<u32>((n % 6) << 8));
      ASSERT_EQ(set.linkageDescriptors.size(), 1u);
      EXPECT_EQ(set.linkageDescriptors[0].private_data_bytes, (std::vector<u8>{'x', 'y', 'z'}));
      ASSERT_EQ(set.userPrivateDescriptors.size(), 1u);
      EXPECT_EQ(set.userPrivateDescriptors[0].data, (std::vector<u8>{1, 2, 3}));
      EXPECT_EQ(set.parentalRatingDescriptors.size(), 1u);
    }
  };
  {
    EventInformationSection eit;
    eit.Parse(bytes.data(), bytes.size());
    eit.Parse(bytes.data(), bytes.size());
    check(eit);
  }
  // And once more where a copy was made since: the copy has blocks of its
  // own, and both are released list by list.
  EventInformationSection eit;
  eit.Parse(bytes.data(), bytes.size());
  eit.Parse(bytes.data(), bytes.size());
  const EventInformationSection copy = eit;
  check(eit);
  check(copy);
}

TEST(SectionArena, DescriptorsAddedOneByOneShareTheSetsArena) {
  // Outside a section a set takes an arena of its own on the first
  // descriptor added, and chains chunks as more come.
  DescriptorSet set;
  for (int i = 0; i < 300; ++i) {
    const u8 component[] = {0x50, 6, 0xF1, 0x03, static_cast<u8>(i), 'e', 'n', 'g'};
    const u8 caIdentifier[] = {0x53, 2, static_cast<u8>(i >> 8), static_cast<u8>(i)};
    set.AddDescriptor(component);
    set.AddDescriptor(caIdentifier);
  }
  DescriptorSet moved = std::move(set);
  EXPECT_TRUE(set.Empty());
  DescriptorSet copied = moved;
  for (const DescriptorSet* s : {&moved, &copied}) {
    ASSERT_EQ(s->componentDescriptors.size(), 300u);
    ASSERT_EQ(s->caIdentifierDescriptors.size(), 300u);
    EXPECT_EQ(s->componentDescriptors[299].component_tag, 299u & 0xFF);
    EXPECT_EQ(s->caIdentifierDescriptors[299].CA_system_ids, std::vector<u32>{299});
  }
}
