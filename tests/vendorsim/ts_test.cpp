#include "vsim/ts.h"

#include <gtest/gtest.h>

#include "section_builder.h"

namespace {

using testing_support::SectionBuilder;
using vsim::Bytes;
using vsim::kPacketSize;

// A long section of exactly `total` bytes (total >= 12).
Bytes SectionOfSize(size_t total, vsim::u8 table_id = 0x42, vsim::u16 ext = 1) {
  SectionBuilder b = SectionBuilder::Long(table_id, ext);
  for (size_t i = 12; i < total; ++i) b.U8(static_cast<vsim::u32>(i));
  return b.Build();
}

std::vector<Bytes> Reassemble(const Bytes& packets) {
  std::vector<Bytes> out;
  vsim::SectionAssembler a;
  for (size_t i = 0; i < packets.size(); i += kPacketSize)
    a.Put(&packets[i], [&](const vsim::u8* s, size_t n) { out.emplace_back(s, s + n); });
  return out;
}

TEST(Packetiser, SectionsOfEveryAwkwardSizeComeBackWhole) {
  // Sizes around the packet payload (183 after a pointer_field, 184 without)
  // and sections that start right at a packet boundary.
  for (size_t first : {12u, 100u, 182u, 183u, 184u, 185u, 366u, 367u, 368u, 1024u}) {
    for (size_t second : {12u, 183u, 184u, 400u}) {
      std::vector<Bytes> sections = {SectionOfSize(first), SectionOfSize(second, 0x46, 2),
                                     SectionOfSize(30, 0x4A, 3)};
      Bytes packets;
      vsim::u8 cc = 0;
      vsim::PacketiseSections(0x11, sections, &cc, packets);
      ASSERT_EQ(packets.size() % kPacketSize, 0u);
      for (size_t i = 0; i < packets.size(); i += kPacketSize) {
        EXPECT_EQ(packets[i], 0x47);
        EXPECT_EQ(vsim::PacketPid(&packets[i]), 0x11);
        EXPECT_EQ(packets[i + 3] & 0x0F, (i / kPacketSize) % 16);
      }
      EXPECT_EQ(Reassemble(packets), sections) << first << "/" << second;
    }
  }
}

TEST(Packetiser, PacksSmallSectionsIntoOnePacket) {
  std::vector<Bytes> sections(5, SectionOfSize(20));
  Bytes packets;
  vsim::u8 cc = 7;
  vsim::PacketiseSections(0x10, sections, &cc, packets);
  EXPECT_EQ(packets.size(), kPacketSize);
  EXPECT_EQ(cc, 8);
  EXPECT_EQ(packets[1] & 0x40, 0x40);
  EXPECT_EQ(packets[4], 0);  // pointer_field
  EXPECT_EQ(Reassemble(packets).size(), 5u);
}

TEST(SectionAssembler, LostPacketDropsOnlyTheSectionItBelongsTo) {
  std::vector<Bytes> sections = {SectionOfSize(500), SectionOfSize(40, 0x46)};
  Bytes packets;
  vsim::u8 cc = 0;
  vsim::PacketiseSections(0x11, sections, &cc, packets);
  ASSERT_EQ(packets.size(), 3 * kPacketSize);
  // Drop the second packet: the first section is lost, the second (which
  // starts in the third packet after a pointer_field) survives.
  Bytes damaged(packets.begin(), packets.begin() + kPacketSize);
  damaged.insert(damaged.end(), packets.begin() + 2 * kPacketSize, packets.end());
  std::vector<Bytes> got = Reassemble(damaged);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], sections[1]);
}

TEST(SectionAssembler, IgnoresDuplicatesErrorsAndPacketsWithoutPayload) {
  Bytes packets;
  vsim::u8 cc = 0;
  Bytes s = SectionOfSize(300);
  vsim::PacketiseSections(0x12, {s}, &cc, packets);
  Bytes stream;
  stream.reserve(2 * kPacketSize);
  stream.insert(stream.end(), packets.begin(), packets.begin() + kPacketSize);
  stream.insert(stream.end(), packets.begin(), packets.begin() + kPacketSize);  // duplicate
  Bytes af_only(kPacketSize, 0xFF);
  af_only[0] = 0x47;
  af_only[1] = 0x00;
  af_only[2] = 0x12;
  af_only[3] = 0x20 | 0x05;  // adaptation field only, counter not advanced
  af_only[4] = 183;
  stream.insert(stream.end(), af_only.begin(), af_only.end());
  Bytes bad = af_only;
  bad[1] = 0x80;  // transport_error_indicator
  stream.insert(stream.end(), bad.begin(), bad.end());
  stream.insert(stream.end(), packets.begin() + kPacketSize, packets.end());
  std::vector<Bytes> got = Reassemble(stream);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], s);
}

TEST(SectionAssembler, RefusesHostileLengthsAndPointers) {
  Bytes p(kPacketSize, 0xFF);
  p[0] = 0x47;
  p[1] = 0x40;
  p[2] = 0x00;
  p[3] = 0x10;
  p[4] = 200;  // pointer beyond the packet
  int calls = 0;
  vsim::SectionAssembler a;
  a.Put(p.data(), [&](const vsim::u8*, size_t) { ++calls; });
  p[3] = 0x11;
  p[4] = 0;
  p[5] = 0x42;
  p[6] = 0x7F;  // section_length 0xFFF: longer than any section
  p[7] = 0xFF;
  a.Put(p.data(), [&](const vsim::u8*, size_t) { ++calls; });
  EXPECT_EQ(calls, 0);
}

TEST(PesPacketiser, FillsTheLastPacketWithAnAdaptationField) {
  Bytes packets;
  vsim::u8 cc = 0;
  vsim::PacketisePes(0x101, 0xE0, Bytes(400, 0xAA), &cc, packets);
  ASSERT_EQ(packets.size(), 3 * kPacketSize);  // 409 bytes of PES
  const vsim::u8* last = &packets[2 * kPacketSize];
  EXPECT_EQ(last[3] & 0x30, 0x30);
  EXPECT_EQ(4 + 1 + last[4] + (409 - 2 * 184), kPacketSize);
  EXPECT_EQ(packets[4], 0x00);
  EXPECT_EQ(packets[7], 0xE0);
}

TEST(SectionFilterMatch, ComparesMaskedBytesFromTheTableId) {
  Bytes s = SectionBuilder::Long(0x4E, 0x1234, 0, 1, 1).U16(0x0441).Build();
  vsim::u8 pattern[8] = {0x4E, 0, 0, 0x12, 0x34};
  vsim::u8 mask[8] = {0xFF, 0, 0, 0xFF, 0xFF};
  EXPECT_TRUE(vsim::MatchSection(s.data(), s.size(), pattern, mask, 5));
  pattern[4] = 0x35;
  EXPECT_FALSE(vsim::MatchSection(s.data(), s.size(), pattern, mask, 5));
  mask[4] = 0xF0;  // only the high nibble counts
  EXPECT_TRUE(vsim::MatchSection(s.data(), s.size(), pattern, mask, 5));
  EXPECT_FALSE(vsim::MatchSection(s.data(), 4, pattern, mask, 5));
}

TEST(SectionFilterMatch, ShortSectionsPassWhereTheMaskEnds) {
  // A time and date section (8 bytes) against a 16-byte filter on its table_id.
  const vsim::u8 tdt[8] = {0x70, 0x70, 0x05, 0xE0, 0x00, 0x12, 0x34, 0x56};
  vsim::u8 pattern[16] = {0x70};
  vsim::u8 mask[16] = {0xFF};
  EXPECT_TRUE(vsim::MatchSection(tdt, sizeof tdt, pattern, mask, 16));
  pattern[0] = 0x73;
  EXPECT_FALSE(vsim::MatchSection(tdt, sizeof tdt, pattern, mask, 16));
  // A byte the section lacks that the mask selects: no match.
  pattern[0] = 0x70;
  mask[8] = 0x01;
  EXPECT_FALSE(vsim::MatchSection(tdt, sizeof tdt, pattern, mask, 16));
}

TEST(SectionFilterMatch, IntactSectionsOnly) {
  Bytes s = SectionOfSize(40);
  EXPECT_TRUE(vsim::SectionIntact(s.data(), s.size()));
  s[20] ^= 1;
  EXPECT_FALSE(vsim::SectionIntact(s.data(), s.size()));
  EXPECT_FALSE(vsim::SectionIntact(s.data(), 30));  // truncated
  Bytes tdt = {0x70, 0x70, 0x05, 0xC0, 0x79, 0x12, 0x45, 0x00};
  EXPECT_TRUE(vsim::SectionIntact(tdt.data(), tdt.size()));
}

}  // namespace
