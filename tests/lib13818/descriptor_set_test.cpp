#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/descriptor_set.h"

using namespace lib13818;

TEST(DescriptorSet, UnknownTagsLandInGeneralOrUserPrivate) {
  DescriptorSet set;
  for (int tag : {0x00, 0x01, 0x13, 0x3F, 0x65, 0x73, 0x7F}) {
    const u8 d[] = {static_cast<u8>(tag), 0};
    set.AddDescriptor(d);
  }
  for (int tag : {0x80, 0xFF}) {
    const u8 d[] = {static_cast<u8>(tag), 0};
    set.AddDescriptor(d);
  }
  EXPECT_EQ(set.generalDescriptors.size(), 7u);
  EXPECT_EQ(set.userPrivateDescriptors.size(), 2u);
  EXPECT_EQ(set.Count(), 9u);
  EXPECT_STREQ(set.generalDescriptors[0].GetName(), "Reserved");
  EXPECT_STREQ(set.generalDescriptors[4].GetName(), "User Private") << "0x65";
}

TEST(DescriptorSet, RepeatsKeepLoopOrderAndListsFollowIndexOrder) {
  DescriptorSet set;
  const u8 loop[] = {0x09, 4, 0x01, 0x00, 0xE0, 0x10, 0x09, 4, 0x05, 0x00, 0xE0, 0x20};
  set.AddLoop(loop, sizeof loop);
  ASSERT_EQ(set.caDescriptors.size(), 2u);
  EXPECT_EQ(set.caDescriptors[0].CA_PID, 0x10u);
  EXPECT_EQ(set.caDescriptors[1].CA_PID, 0x20u);
  int expected = 0;
  set.ForEachList([&](int index, const auto&) { EXPECT_EQ(index, expected++); });
  EXPECT_EQ(expected, DescriptorSet::kListCount);
}

TEST(DescriptorSet, LoopRefusesADescriptorRunningPastItsEnd) {
  DescriptorSet set;
  const u8 loop[] = {0x80, 1, 0xAA, 0x81, 5, 1, 2};
  EXPECT_THROW(set.AddLoop(loop, sizeof loop), error);
  EXPECT_EQ(set.userPrivateDescriptors.size(), 1u) << "the whole first one stays";
  const u8 lone[] = {0x80};
  EXPECT_THROW(set.AddLoop(lone, 1), error);
}

TEST(Descriptor, PrintOfUnknownAndCa) {
  const u8 unknown[] = {0x83, 3, 0x41, 0x42, 0x2E};
  std::ostringstream os;
  DescriptorUnknown(unknown).Print(os);
  EXPECT_EQ(os.str(), "descriptor_tag: 83 User Private\ndata:\n41 42 2e " + std::string(39, ' ') +
                          " : AB.\n");

  const u8 empty[] = {0x20, 0};
  std::ostringstream os2;
  DescriptorUnknown(empty).PrintFields(os2);
  EXPECT_EQ(os2.str(), "data:\n");

  const u8 ca4[] = {0x09, 4, 0x05, 0x00, 0xE1, 0x00};
  std::ostringstream os3;
  DescriptorCA(ca4).Print(os3);
  EXPECT_EQ(os3.str(), "descriptor_tag: 09 CA_Descriptor\nsys_id: 0500 France Telecom\npid: 0100\n");

  const u8 ca5[] = {0x09, 5, 0x07, 0x00, 0xE1, 0x00, 0x41};
  std::ostringstream os4;
  DescriptorCA(ca5).PrintFields(os4);
  EXPECT_NE(os4.str().find("unknown provider"), std::string::npos);
  EXPECT_NE(os4.str().find("private data:\n41 "), std::string::npos);
}

TEST(Descriptor, CaDescriptorShorterThanItsFixedPartReadsOnlyItsOwnBytes) {
  const u8 ca1[] = {0x09, 1, 0x17};
  DescriptorCA ca(ca1);
  EXPECT_EQ(ca.CA_system_ID, 0u);
  EXPECT_EQ(ca.CA_PID, 0u);
  EXPECT_TRUE(ca.private_data_bytes.empty());
}

TEST(Descriptor, ProviderNames) {
  auto name = [](u32 id) {
    const u8 d[] = {0x09, 4, static_cast<u8>(id >> 8), static_cast<u8>(id), 0, 0};
    return std::string(DescriptorCA(d).GetCAProviderName());
  };
  EXPECT_EQ(name(0x0500), "France Telecom");
  EXPECT_EQ(name(0x0700), "unknown provider");
  EXPECT_EQ(name(0x17FF), "BetaTechnik");
  EXPECT_EQ(name(0x1800), "unknown provider");
  EXPECT_EQ(name(0x0100), "Canal Plus");
}

TEST(PrintHex, RowsAndPadding) {
  u8 bytes[17];
  for (int i = 0; i < 17; ++i) bytes[i] = static_cast<u8>('a' + i);
  std::ostringstream none;
  PrintHex(none, bytes, 0);
  EXPECT_EQ(none.str(), "");

  std::ostringstream one;
  one.fill('0');
  PrintHex(one, bytes, 16);
  EXPECT_EQ(one.str(),
            "61 62 63 64 65 66 67 68 69 6a 6b 6c 6d 6e 6f 70  : abcdefghijklmnop\n");

  std::ostringstream two;
  two.fill('0');
  PrintHex(two, bytes, 17);
  std::string second = two.str().substr(two.str().find('\n') + 1);
  EXPECT_EQ(second, "71 " + std::string(45, ' ') + " : q\n");
}

TEST(GetMpegDescriptorName, Ranges) {
  EXPECT_STREQ(GetMpegDescriptorName(0x40), "User Private");
  EXPECT_STREQ(GetMpegDescriptorName(0x13), "Reserved");
  EXPECT_STREQ(GetMpegDescriptorName(0x01), "Reserved");
  EXPECT_STREQ(GetMpegDescriptorName(0x06), "data_streeam_descriptor");
  EXPECT_STREQ(GetMpegDescriptorName(0x10), "smootihing_descriptor");
  EXPECT_STREQ(GetMpegDescriptorName(0x12), "IBP_descriptor");
}

TEST(DescriptorSet, ListIndexesOfTagsAndLoopsAddedTwice) {
  EXPECT_EQ(DescriptorSet::ListIndexOfTag(0x02), 0);
  EXPECT_EQ(DescriptorSet::ListIndexOfTag(0x48), 20);
  EXPECT_EQ(DescriptorSet::ListIndexOfTag(0x56), 67);
  EXPECT_EQ(DescriptorSet::ListIndexOfTag(0x6A), 50);
  EXPECT_EQ(DescriptorSet::ListIndexOfTag(0x80), DescriptorSet::kUserPrivateIndex);
  EXPECT_EQ(DescriptorSet::ListIndexOfTag(0x13), DescriptorSet::kGeneralIndex);
  // Several of a kind, user private and general among them, over two loops
  // and a loop that goes wrong after its first descriptors: each list keeps
  // loop order and what came before the fault.
  DescriptorSet set;
  const u8 first[] = {0x80, 1, 0x01, 0x0A, 4, 'd', 'e', 'u', 0, 0x80, 1, 0x02, 0x13, 0, 0x0A, 4, 'e', 'n', 'g', 1};
  set.AddLoop(first, sizeof first);
  const u8 second[] = {0x80, 1, 0x03, 0x0A, 4, 'f', 'r', 'a', 0, 0x80, 9, 1};
  EXPECT_THROW(set.AddLoop(second, sizeof second), error);
  ASSERT_EQ(set.userPrivateDescriptors.size(), 3u);
  for (u8 i = 0; i < 3; ++i) EXPECT_EQ(set.userPrivateDescriptors[i].data, std::vector<u8>{static_cast<u8>(i + 1)});
  ASSERT_EQ(set.iso639LanguageDescriptors.size(), 3u);
  EXPECT_EQ(set.generalDescriptors.size(), 1u);
  EXPECT_EQ(set.Count(), 7u);
}

// The lists hold nothing while empty, keep what they had when a descriptor
// is refused, and copy and move as std::vector does.
TEST(DescriptorList, EmptySetOwnsNothingAndListsBehaveLikeVectors) {
  // The lists, the arena and one word of state.
  static_assert(sizeof(DescriptorSet) == (DescriptorSet::kListCount + 1) * sizeof(void*) + sizeof(std::uint64_t));
  DescriptorSet set;
  set.ForEachList([](int, const auto& list) {
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.data(), nullptr);
    EXPECT_EQ(list.begin(), list.end());
  });

  const u8 ca[] = {0x09, 4, 0x01, 0x00, 0xE0, 0x10};
  DescriptorList<DescriptorCA>& list = set.caDescriptors;
  for (int i = 0; i < 9; ++i) list.emplace_back(ca);
  list.push_back(list[0]);  // an element of the list itself, while it grows
  ASSERT_EQ(list.size(), 10u);
  EXPECT_EQ(list.back().CA_PID, 0x10u);
  EXPECT_THROW(static_cast<void>(list.at(10)), std::out_of_range);

  // A short_event_descriptor without room for its texts is refused.
  const u8 event[] = {0x4D, 5, 'e', 'n', 'g', 0, 0};
  const u8 cut[] = {0x4D, 2, 'e', 'n'};
  DescriptorList<DescriptorShortEvent>& events = set.shortEventDescriptors;
  events.emplace_back(event);
  events.resize(events.capacity());
  const size_t full = events.size();
  EXPECT_THROW(events.emplace_back(cut), error) << "refused while the block grows";
  EXPECT_EQ(events.size(), full);
  EXPECT_THROW(events.emplace_back(cut), error) << "refused in place";
  events.resize(1);
  EXPECT_THROW(events.emplace_back(cut), error);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_STREQ(events[0].ISO_639_language_code, "eng");
  events.clear();
  list.resize(2);

  DescriptorSet copy = set;
  EXPECT_EQ(copy.caDescriptors.size(), 2u);
  EXPECT_NE(copy.caDescriptors.data(), set.caDescriptors.data());
  DescriptorSet moved = std::move(copy);
  EXPECT_TRUE(copy.caDescriptors.empty());
  EXPECT_EQ(moved.caDescriptors[1].CA_PID, 0x10u);
  moved = set;
  EXPECT_EQ(moved.Count(), 2u);
  set.caDescriptors.clear();
  EXPECT_TRUE(set.Empty());
  EXPECT_GE(set.caDescriptors.capacity(), 2u) << "clear keeps the storage";
  int n = 0;
  for (const DescriptorCA& d : moved.caDescriptors) n += d.CA_PID == 0x10u;
  EXPECT_EQ(n, 2);
}
