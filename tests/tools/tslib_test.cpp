// Transport-stream plumbing of the tools: packetiser, reassembler, reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "tslib/ts.h"

using namespace tslib;

namespace {

// A section of `size` bytes (3 to 4096) with a recognisable body.
Bytes MakeSection(size_t size, u8 tag) {
  Bytes s(size, tag);
  s[0] = tag;
  const size_t len = size - 3;
  s[1] = static_cast<u8>(0xB0 | (len >> 8 & 0x0F));
  s[2] = static_cast<u8>(len);
  return s;
}

struct Collected {
  std::vector<Bytes> sections;
  SectionReassembler::Sink Sink() {
    return [this](const u8* s, size_t n) { sections.emplace_back(s, s + n); };
  }
};

void Feed(SectionReassembler& r, const Bytes& packets, Collected& c) {
  ASSERT_EQ(packets.size() % kPacketSize, 0u);
  for (size_t i = 0; i < packets.size(); i += kPacketSize) r.Put(&packets[i], c.Sink());
}

Bytes Packet(const Bytes& packets, size_t index) {
  return Bytes(packets.begin() + static_cast<std::ptrdiff_t>(index * kPacketSize),
               packets.begin() + static_cast<std::ptrdiff_t>((index + 1) * kPacketSize));
}

}  // namespace

TEST(SectionPacketiser, RoundTripsEverySplitOfTheHeader) {
  // The first section's length walks its end across a packet boundary, so
  // the next section's three header bytes are split every possible way.
  for (int adaptation = 0; adaptation < 3; ++adaptation) {
    for (size_t first = 150; first <= 400; ++first) {
      std::vector<Bytes> sections = {MakeSection(first, 0x42), MakeSection(3, 0x43),
                                     MakeSection(10, 0x44), MakeSection(1021, 0x45)};
      SectionPacketiser p(0x0011);
      if (adaptation == 1) p.SetAdaptationField(2, 1);
      if (adaptation == 2) p.SetAdaptationField(3, 9);
      Bytes packets;
      p.PutPacked(sections, packets);
      p.PutPacked({MakeSection(4096, 0x46)}, packets);
      sections.push_back(MakeSection(4096, 0x46));
      SectionReassembler r;
      Collected c;
      Feed(r, packets, c);
      ASSERT_EQ(c.sections, sections) << "first " << first << " adaptation " << adaptation;
      const SectionReassembler::Stats& s = r.stats();
      EXPECT_EQ(s.continuityErrors + s.droppedSections + s.badPointers + s.badAdaptationFields, 0u);
    }
  }
}

TEST(SectionPacketiser, SectionsInPacketsOfTheirOwnEndInStuffing) {
  SectionPacketiser p(0x0100);
  Bytes packets;
  p.Put(MakeSection(20, 0x02), packets);
  p.Put(MakeSection(200, 0x02), packets);
  ASSERT_EQ(packets.size(), 3 * kPacketSize);
  EXPECT_EQ(packets[1] & 0x40, 0x40);  // unit start
  EXPECT_EQ(packets[4], 0x00);         // pointer_field
  EXPECT_EQ(packets[5 + 20], 0xFF);    // stuffing after the section
  EXPECT_EQ(packets[kPacketSize + 1] & 0x40, 0x40);
  EXPECT_EQ(packets[2 * kPacketSize + 1] & 0x40, 0x00);
  EXPECT_EQ(packets[2 * kPacketSize + 3] & 0x0F, 2);  // continuity counter
  SectionReassembler r;
  Collected c;
  Feed(r, packets, c);
  EXPECT_EQ(c.sections.size(), 2u);
}

TEST(SectionReassembler, LostAndDuplicatePackets) {
  std::vector<Bytes> sections;
  for (int i = 0; i < 6; ++i) sections.push_back(MakeSection(300, static_cast<u8>(0x50 + i)));
  SectionPacketiser p(0x0012);
  Bytes packets;
  p.PutPacked(sections, packets);
  const size_t count = packets.size() / kPacketSize;
  ASSERT_GT(count, 6u);

  // Packet 3 lost, packet 5 sent twice.
  SectionReassembler r;
  Collected c;
  for (size_t i = 0; i < count; ++i) {
    if (i == 3) continue;
    Bytes one = Packet(packets, i);
    r.Put(one.data(), c.Sink());
    if (i == 5) r.Put(one.data(), c.Sink());
  }
  EXPECT_EQ(r.stats().continuityErrors, 1u);
  EXPECT_EQ(r.stats().duplicatePackets, 1u);
  EXPECT_EQ(r.stats().droppedSections, 1u);
  // Packet 3 holds the end of the second section and the start of the third:
  // both are lost, the others arrive whole.
  ASSERT_EQ(c.sections.size(), 4u);
  EXPECT_EQ(c.sections[0], sections[0]);
  EXPECT_EQ(c.sections[1], sections[3]);
  EXPECT_EQ(c.sections[3], sections[5]);
}

TEST(SectionReassembler, DiscontinuityIndicatorAllowsACounterJump) {
  SectionPacketiser p(0x0013);
  Bytes packets;
  p.Put(MakeSection(100, 0x71), packets);
  Bytes next;
  p.Put(MakeSection(100, 0x71), next);
  p.Put(MakeSection(100, 0x71), next);
  // The third packet jumps its counter but says so in an adaptation field.
  Bytes jump(kPacketSize, 0xFF);
  const Bytes section = MakeSection(100, 0x72);
  jump[0] = kSyncByte;
  jump[1] = 0x40;
  jump[2] = 0x13;
  jump[3] = 0x30 | 0x09;
  jump[4] = 1;     // adaptation_field_length
  jump[5] = 0x80;  // discontinuity_indicator
  jump[6] = 0;     // pointer_field
  std::copy(section.begin(), section.end(), jump.begin() + 7);
  SectionReassembler r;
  Collected c;
  Feed(r, packets, c);
  r.Put(jump.data(), c.Sink());
  EXPECT_EQ(r.stats().continuityErrors, 0u);
  ASSERT_EQ(c.sections.size(), 2u);
  EXPECT_EQ(c.sections[1], section);
}

TEST(SectionReassembler, RefusesHostilePackets) {
  SectionReassembler r;
  Collected c;
  auto packet = [](u8 flags, u8 afc_cc, std::initializer_list<u8> payload) {
    Bytes p(kPacketSize, 0xFF);
    p[0] = kSyncByte;
    p[1] = flags;
    p[2] = 0x10;
    p[3] = afc_cc;
    std::copy(payload.begin(), payload.end(), p.begin() + 4);
    return p;
  };
  // pointer_field past the packet.
  r.Put(packet(0x40, 0x10, {184}).data(), c.Sink());
  EXPECT_EQ(r.stats().badPointers, 1u);
  // adaptation_field_length past the packet.
  r.Put(packet(0x40, 0x31, {190}).data(), c.Sink());
  EXPECT_EQ(r.stats().badAdaptationFields, 1u);
  // section_length above 4093.
  r.Put(packet(0x40, 0x12, {0, 0x40, 0xFF, 0xFF}).data(), c.Sink());
  EXPECT_EQ(r.stats().oversizedSections, 1u);
  // Transport error and scrambled payload.
  r.Put(packet(0xC0, 0x13, {0, 0x40, 0xF0, 0x01, 0x00}).data(), c.Sink());
  EXPECT_EQ(r.stats().transportErrors, 1u);
  r.Put(packet(0x40, 0x93, {0, 0x40, 0xF0, 0x01, 0x00}).data(), c.Sink());
  EXPECT_EQ(r.stats().scrambledPackets, 1u);
  EXPECT_TRUE(c.sections.empty());
  // And a good section after all that.
  r.Put(packet(0x40, 0x14, {0, 0x40, 0xF0, 0x01, 0x00}).data(), c.Sink());
  ASSERT_EQ(c.sections.size(), 1u);
  EXPECT_EQ(c.sections[0].size(), 4u);
  // A unit start whose pointer cuts short the section in progress.
  r.Put(packet(0x40, 0x15, {0, 0x40, 0xF1, 0x00}).data(), c.Sink());
  r.Put(packet(0x40, 0x16, {2, 0xAA, 0xBB, 0x40, 0xF0, 0x00}).data(), c.Sink());
  EXPECT_EQ(r.stats().droppedSections, 1u);
  EXPECT_EQ(c.sections.size(), 2u);
}

namespace {

// Packets of PIDs 0, 1, .. 99 over and over, with stray bytes in between
// (sync bytes among them), a junk lead-in and a partial packet at the end.
struct JunkStream {
  Bytes bytes = {0x47, 0x00, 0x47, 0x12};
  size_t packets = 0;
  size_t junkBytes = 4;

  JunkStream() {
    u8 cc = 0;
    // Runs shorter than a packet that start with a sync byte, and one longer
    // run that does not.
    const size_t runs[] = {37, 120, 187, 300};
    for (int i = 0; i < 6000; ++i) {
      AppendFillerPacket(static_cast<u16>(i % 100), &cc, static_cast<u8>(i % 0x40), bytes);
      ++packets;
      if (i % 1000 == 999 && i < 4000) {
        const size_t n = runs[i / 1000];
        for (size_t k = 0; k < n; ++k)
          bytes.push_back(k % 3 == 0 && n < kPacketSize ? kSyncByte : static_cast<u8>(k % 3 + 1));
        junkBytes += n;
      }
    }
    bytes.insert(bytes.end(), {0x47, 0x01, 0x02});
    junkBytes += 3;
  }
};

// Everything a reader hands out: the packets one after the other, then its
// counters.
struct ReadBack {
  Bytes packets;
  PacketReader::Stats stats;
};

ReadBack ReadAll(PacketReader& reader) {
  ReadBack r;
  while (const u8* p = reader.Next()) r.packets.insert(r.packets.end(), p, p + kPacketSize);
  r.stats = reader.stats();
  return r;
}

}  // namespace

TEST(PacketReader, ResynchronisesAcrossJunkAndChunks) {
  const JunkStream stream;
  std::istringstream in(std::string(stream.bytes.begin(), stream.bytes.end()));
  PacketReader reader(in);
  size_t n = 0;
  u16 lastPid = 0xFFFF;
  while (const u8* p = reader.Next()) {
    ASSERT_EQ(p[0], kSyncByte);
    const u16 pid = ParseHeader(p).pid;
    ASSERT_EQ(pid, n % 100) << "packet " << n;
    lastPid = pid;
    ++n;
  }
  EXPECT_EQ(n, stream.packets);
  EXPECT_EQ(lastPid, (stream.packets - 1) % 100);
  EXPECT_EQ(reader.stats().packets, stream.packets);
  EXPECT_EQ(reader.stats().skippedBytes, stream.junkBytes);
  EXPECT_EQ(reader.stats().resyncs, 5u);  // the lead-in and the four runs

  PacketReader memory(stream.bytes.data(), stream.bytes.size());
  size_t m = 0;
  while (memory.Next()) ++m;
  EXPECT_EQ(m, stream.packets);
}

TEST(PacketReader, ReadsTheSameWhateverTheBufferAndTheReadSizes) {
  // The input in memory as the reference; then read through the reader's
  // own buffer with chunks of every size around a packet and the lock-on
  // look-ahead, and from a source that hands out fewer bytes than asked, so
  // that buffer boundaries fall at every offset of a packet and of the junk.
  const JunkStream stream;
  PacketReader memory(stream.bytes.data(), stream.bytes.size());
  const ReadBack reference = ReadAll(memory);
  ASSERT_EQ(reference.stats.packets, stream.packets);
  ASSERT_EQ(reference.stats.skippedBytes, stream.junkBytes);

  const size_t chunks[] = {1, 2, 187, 188, 189, 376, 563, 564, 565, 751, 752, 753, 1000, 4096, 65536,
                           PacketReader::kDefaultChunk};
  const size_t pieces[] = {0, 1, 7, 188, 999};  // at most that much a read; 0: as asked
  for (size_t chunk : chunks) {
    for (size_t piece : pieces) {
      size_t at = 0, reads = 0;
      PacketReader reader(
          [&](u8* p, size_t n) {
            EXPECT_LE(n, chunk);
            EXPECT_GT(n, 0u);
            // Uneven pieces: 1, 2, .. `piece` bytes by turns.
            size_t take = piece ? std::min(n, 1 + reads++ % piece) : n;
            take = std::min(take, stream.bytes.size() - at);
            std::memcpy(p, stream.bytes.data() + at, take);
            at += take;
            return take;
          },
          chunk);
      const ReadBack r = ReadAll(reader);
      EXPECT_EQ(r.packets, reference.packets) << "chunk " << chunk << ", piece " << piece;
      EXPECT_EQ(r.stats.packets, reference.stats.packets) << "chunk " << chunk << ", piece " << piece;
      EXPECT_EQ(r.stats.resyncs, reference.stats.resyncs) << "chunk " << chunk << ", piece " << piece;
      EXPECT_EQ(r.stats.skippedBytes, reference.stats.skippedBytes)
          << "chunk " << chunk << ", piece " << piece;
    }
  }
}

TEST(PacketReader, ShortInputs) {
  PacketReader empty(nullptr, 0);
  EXPECT_EQ(empty.Next(), nullptr);
  Bytes one;
  AppendNullPacket(one);
  PacketReader single(one.data(), one.size());
  EXPECT_NE(single.Next(), nullptr);
  EXPECT_EQ(single.Next(), nullptr);
  Bytes partial(one.begin(), one.begin() + 100);
  PacketReader cut(partial.data(), partial.size());
  EXPECT_EQ(cut.Next(), nullptr);
  EXPECT_EQ(cut.stats().skippedBytes, 100u);
}
