// The window-free rules of the plug-ins' dialogs and streaming pages.
#include "drvcore/dialogs.h"

#include <gtest/gtest.h>

namespace drvcore {
namespace {

TEST(SlotSelector, EntriesAndSelection) {
  EXPECT_TRUE(SlotSelectorEntries(0).empty());
  ASSERT_EQ(SlotSelectorEntries(1).size(), 2u);
  EXPECT_STREQ(SlotSelectorEntries(1)[0], "A");
  EXPECT_STREQ(SlotSelectorEntries(1)[1], "B");
  ASSERT_EQ(SlotSelectorEntries(2).size(), 4u);
  EXPECT_STREQ(SlotSelectorEntries(2)[2], "B/A");
  EXPECT_EQ(SlotSelectorEntries(7).size(), 4u);
  EXPECT_EQ(SlotFromSelection(-1), 0);
  EXPECT_EQ(SlotFromSelection(0), 0);
  EXPECT_EQ(SlotFromSelection(3), 3);
  EXPECT_FALSE(SlotFromSelection(4));
  EXPECT_FALSE(SlotFromSelection(-2));
}

TEST(LnbFrequency, OnlyWholeNumbersInRange) {
  EXPECT_EQ(ParseLnbFrequency("9750000"), 9750000u);
  EXPECT_EQ(ParseLnbFrequency(" 0 "), 0u);
  EXPECT_EQ(ParseLnbFrequency("30000000"), 30000000u);
  EXPECT_FALSE(ParseLnbFrequency("30000001"));
  EXPECT_FALSE(ParseLnbFrequency("-1"));
  EXPECT_FALSE(ParseLnbFrequency("97500x"));
  EXPECT_FALSE(ParseLnbFrequency(""));
  EXPECT_FALSE(ParseLnbFrequency("99999999999999999999"));
}

TEST(CapabilityText, FiveBits) {
  EXPECT_EQ(CapabilityText(0x10001),
            "FEC auto: yes\nSI Auto: no\nChannel scan: no\nBW auto: no\nAntenna power: yes");
  EXPECT_EQ(CapabilityText(0x01110),
            "FEC auto: no\nSI Auto: yes\nChannel scan: yes\nBW auto: yes\nAntenna power: no");
}

TEST(FrequencyEntry, SatelliteWindowAndMessage) {
  const FrequencyRange r = SatelliteRange(9750000, 10600000);
  EXPECT_EQ(r.low, 10700000u);
  EXPECT_EQ(r.high, 12750000u);
  EXPECT_TRUE(r.Contains(10700000));
  EXPECT_TRUE(r.Contains(12750000));
  EXPECT_FALSE(r.Contains(12750001));
  EXPECT_FALSE(r.Contains(static_cast<u64>(-5LL)));
  EXPECT_EQ(FrequencyRangeMessage(r), "Please insert a valid frequency!\n(10700000 kHz - 12750000 kHz)");
  EXPECT_EQ(FrequencyRangeMessage(kCableRange), "Please insert a valid frequency!\n(45000 kHz - 860000 kHz)");
  // Oscillators near the top of the type do not wrap the window.
  EXPECT_EQ(SatelliteRange(0xFFFFFFF0u, 0).high, 0xFFFFFFFFu);
  EXPECT_EQ(SatelliteFrequencyFromText(" -12"), -12);
  EXPECT_EQ(SatelliteFrequencyFromText("11836000kHz"), 11836000);
  EXPECT_EQ(SatelliteFrequencyFromText("abc"), 0);
  EXPECT_GT(SatelliteFrequencyFromText("99999999999999999999"), 0xFFFFFFFFLL);
}

TEST(FrequencyEntry, CableChannelNames) {
  EXPECT_EQ(CableFrequencyFromText("e21"), 474000u);
  EXPECT_EQ(CableFrequencyFromText("S41"), 466000u);
  EXPECT_EQ(CableFrequencyFromText("S21"), 306000u);
  EXPECT_EQ(CableFrequencyFromText("2"), 50500u);
  EXPECT_EQ(CableFrequencyFromText("z+2"), 99500u);
  EXPECT_EQ(CableFrequencyFromText("S1"), 107500u);
  EXPECT_EQ(CableFrequencyFromText("S10"), 170500u);
  EXPECT_EQ(CableFrequencyFromText("5"), 177500u);
  EXPECT_EQ(CableFrequencyFromText("12"), 226500u);
  EXPECT_EQ(CableFrequencyFromText("S11"), 233500u);
  EXPECT_EQ(CableFrequencyFromText("69"), 858000u);
  EXPECT_EQ(CableFrequencyFromText("ABC"), 0u);
  EXPECT_EQ(CableFrequencyFromText("E"), 0u);
  EXPECT_EQ(CableFrequencyFromText("346000"), 346000u);
  EXPECT_EQ(CableFrequencyFromText("3460x0"), 3460u);
  EXPECT_EQ(CableFrequencyFromText("99999999999999"), 0xFFFFFFFFu);
  EXPECT_FALSE(kCableRange.Contains(0));
}

TEST(SignalQuality, ByErrorRateAndLock) {
  EXPECT_EQ(SignalQuality(true, 0.0001), 100);
  EXPECT_EQ(SignalQuality(true, 0.005), 75);
  EXPECT_EQ(SignalQuality(true, 0.05), 50);
  EXPECT_EQ(SignalQuality(true, 0.5), 25);
  EXPECT_EQ(SignalQuality(false, 0.0), 0);
}

TEST(TransponderLine, FormatAndParse) {
  EXPECT_EQ(TransponderLine(1, 0x3F9, true, 11836000, 0), "0001 03F9 P 11836000 H");
  EXPECT_EQ(TransponderLine(0x85, 2, false, 12603000, 3), "0085 0002   12603000 R");
  u32 n = 0, t = 0;
  ASSERT_TRUE(ParseTransponderLine("0085 0002   12603000 R", n, t));
  EXPECT_EQ(n, 0x85u);
  EXPECT_EQ(t, 2u);
  EXPECT_FALSE(ParseTransponderLine("", n, t));
}

TEST(HexField, ReadsLikeScanfHex) {
  EXPECT_EQ(ParseHexField("1f"), 31u);
  EXPECT_EQ(ParseHexField("0x1F"), 31u);
  EXPECT_EQ(ParseHexField(" 01ff"), 0x1FFu);
  EXPECT_EQ(ParseHexField("12zz"), 0x12u);
  EXPECT_FALSE(ParseHexField("zz"));
  EXPECT_FALSE(ParseHexField(""));
  EXPECT_EQ(ParseHexField("0x"), 0u);
}

TEST(SectionFilter, EnabledStates) {
  SectionFilterChecks c;
  c.privateIndicator = true;
  c.extension = true;
  SectionFilterEnables e = SectionFilterEnabledStates(c, 1);
  EXPECT_TRUE(e.privateValue);
  EXPECT_FALSE(e.syntaxValue);
  EXPECT_FALSE(e.extension);
  c.syntax = true;
  e = SectionFilterEnabledStates(c, 0);
  EXPECT_TRUE(e.syntaxValue);
  EXPECT_TRUE(e.dataCheck);
  EXPECT_FALSE(e.headerChecks);
  EXPECT_FALSE(e.extension);
  e = SectionFilterEnabledStates(c, 1);
  EXPECT_TRUE(e.headerChecks);
  EXPECT_TRUE(e.extension);
  EXPECT_FALSE(e.version);
  EXPECT_FALSE(e.data);
}

TEST(SectionFilter, HeaderFields) {
  SectionFilterFields f;
  f.tableId = 0x42;
  f.tableIdMask = 0xFF;
  auto b = BuildSectionFilter(f);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->value[0], 0x42);
  EXPECT_EQ(b->mask[0], 0xFF);
  for (size_t i = 1; i < 16; ++i) EXPECT_EQ(b->mask[i], 0) << i;

  f.syntaxEnabled = true;
  f.syntax = 1;
  f.extensionEnabled = true;
  f.extension = 0x1234;
  f.versionEnabled = true;
  f.version = 0x25;  // 5 bits kept
  f.currentNextEnabled = true;
  f.currentNext = 1;
  f.sectionEnabled = true;
  f.sectionNumber = 2;
  f.lastSectionEnabled = true;
  f.lastSectionNumber = 7;
  f.privateEnabled = true;
  f.privateIndicator = 1;
  b = BuildSectionFilter(f);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->value[1], 0xC0);
  EXPECT_EQ(b->mask[1], 0xC0);
  EXPECT_EQ(b->value[3], 0x12);
  EXPECT_EQ(b->value[4], 0x34);
  EXPECT_EQ(b->mask[3], 0xFF);
  EXPECT_EQ(b->mask[4], 0xFF);
  EXPECT_EQ(b->value[5], (5 << 1) | 1);
  EXPECT_EQ(b->mask[5], 0x3F);
  EXPECT_EQ(b->value[6], 2);
  EXPECT_EQ(b->value[7], 7);
  EXPECT_EQ(b->mask[7], 0xFF);

  // Syntax 0: only the indicator bit, nothing of the long header.
  f.syntax = 0;
  b = BuildSectionFilter(f);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->value[1], 0x40);
  EXPECT_EQ(b->mask[1], 0xC0);
  EXPECT_EQ(b->mask[3], 0);
  EXPECT_EQ(b->mask[5], 0);
}

TEST(SectionFilter, DataBytes) {
  SectionFilterFields f;
  f.syntaxEnabled = true;
  f.syntax = 1;
  f.dataEnabled = true;
  f.data = "123";
  f.dataMask = "F";
  auto b = BuildSectionFilter(f);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->value[8], 0x12);
  EXPECT_EQ(b->value[9], 0x30);
  EXPECT_EQ(b->mask[8], 0xF0);
  EXPECT_EQ(b->mask[9], 0x00);

  f.data = std::string(32, 'A');
  f.dataMask = std::string(32, 'F');
  b = BuildSectionFilter(f);
  ASSERT_TRUE(b);
  for (size_t i = 8; i < 16; ++i) EXPECT_EQ(b->value[i], 0xAA) << i;

  f.syntax = 0;
  f.data = "0102";
  f.dataMask = "FFFF";
  b = BuildSectionFilter(f);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->value[3], 1);
  EXPECT_EQ(b->value[4], 2);
  EXPECT_EQ(b->mask[4], 0xFF);

  // A pair that is not two hex digits fails the filter.
  f.data = "1G";
  EXPECT_FALSE(BuildSectionFilter(f));
  f.data = "12";
  f.dataMask = "-F";
  EXPECT_FALSE(BuildSectionFilter(f));
}

TEST(Recording, FormatsAndExtensions) {
  EXPECT_STREQ(RecordingExtension(0), "mp2");
  EXPECT_STREQ(RecordingExtension(3), "mpg");
  EXPECT_STREQ(RecordingExtension(-1), "ukn");
  EXPECT_EQ(RecordingFormatValue(-1), 3);
  EXPECT_EQ(RecordingFormatValue(1), 1);
  EXPECT_EQ(RecordingFormatFromExtension("MPG"), 3);
  EXPECT_EQ(RecordingFormatFromExtension("psv"), 1);
  EXPECT_EQ(RecordingFormatFromExtension("ts"), -1);
}

TEST(Recording, InfoText) {
  EXPECT_EQ(RecordingInfoText(500, 1880, 0),
            "Time (s): 1, Length (Byte): 1880, DataRate (Byte/s): 1880\r\n"
            "Lost Blocks: 0, Lost Bytes: 0\r\n");
  EXPECT_EQ(RecordingInfoText(4999, 10000, 3),
            "Time (s): 4, Length (Byte): 10000, DataRate (Byte/s): 2500\r\n"
            "Lost Blocks: 3, Lost Bytes: 288768\r\n");
  // Past 4 GB nothing wraps.
  EXPECT_EQ(RecordingInfoText(10000, 5000000000ull, 50000),
            "Time (s): 10, Length (Byte): 5000000000, DataRate (Byte/s): 500000000\r\n"
            "Lost Blocks: 50000, Lost Bytes: 4812800000\r\n");
}

}  // namespace
}  // namespace drvcore

#include "drvcore/recording.h"

namespace drvcore {
namespace {

// A capture that delivers `blocks` reads of `size` bytes, an empty read
// after every `emptyEvery` reads, and a file whose write number `failAt`
// (1-based, 0 never) fails; the recording runs until `stopAfter` bytes.
struct FakeCapture final : RecordIo {
  int size = kRecordReadSize;
  int emptyEvery = 0;
  int failAt = 0;
  std::uint64_t stopAfter = 0;
  std::uint64_t written = 0;
  int reads = 0, writes = 0, sleeps = 0;
  unsigned lastSleep = 0;
  bool Running() override { return written < stopAfter; }
  int Read(std::uint8_t* buffer, int max) override {
    ++reads;
    if (emptyEvery && reads % emptyEvery == 0) return 0;
    buffer[0] = 0x47;
    return size <= max ? size : max + 1;
  }
  bool Write(const std::uint8_t* data, std::size_t n) override {
    ++writes;
    if (failAt && writes == failAt) return false;
    if (data[0] != 0x47) return false;
    written += n;
    return true;
  }
  void Sleep(unsigned ms) override {
    ++sleeps;
    lastSleep = ms;
  }
};

TEST(RecordingLoop, WritesUntilStoppedAndWaitsWhenNothingCame) {
  FakeCapture io;
  io.size = 188 * 100;
  io.emptyEvery = 3;
  io.stopAfter = 188 * 100 * 10;
  std::atomic<std::uint64_t> progress{123};
  const RecordOutcome out = RunRecording(io, progress);
  EXPECT_FALSE(out.writeFailed);
  EXPECT_EQ(out.bytes, io.stopAfter);
  EXPECT_EQ(progress.load(), io.stopAfter);
  EXPECT_EQ(io.writes, 10);
  EXPECT_EQ(io.sleeps, 4);
  EXPECT_EQ(io.lastSleep, kRecordIdleSleepMs);
}

TEST(RecordingLoop, AFailedWriteEndsTheRecording) {
  FakeCapture io;
  io.failAt = 3;
  io.stopAfter = ~0ull;
  std::atomic<std::uint64_t> progress{0};
  const RecordOutcome out = RunRecording(io, progress);
  EXPECT_TRUE(out.writeFailed);
  EXPECT_EQ(out.bytes, 2ull * kRecordReadSize);
  EXPECT_EQ(io.writes, 3);
}

TEST(RecordingLoop, CountsPastFourGigabytes) {
  FakeCapture io;
  io.stopAfter = 5000000000ull;
  std::atomic<std::uint64_t> progress{0};
  const RecordOutcome out = RunRecording(io, progress);
  EXPECT_EQ(out.bytes, 5000000000ull);
  EXPECT_EQ(progress.load(), 5000000000ull);
}

TEST(RecordingLoop, AReadOfMoreThanTheBufferIsRefused) {
  FakeCapture io;
  io.size = kRecordReadSize + 5;
  io.stopAfter = 1;
  int guard = 0;
  struct Bounded final : RecordIo {
    FakeCapture& inner;
    int& guard;
    Bounded(FakeCapture& i, int& g) : inner(i), guard(g) {}
    bool Running() override { return ++guard < 5; }
    int Read(std::uint8_t* b, int m) override { return inner.Read(b, m); }
    bool Write(const std::uint8_t* d, std::size_t n) override { return inner.Write(d, n); }
    void Sleep(unsigned ms) override { inner.Sleep(ms); }
  } bounded(io, guard);
  std::atomic<std::uint64_t> progress{0};
  const RecordOutcome out = RunRecording(bounded, progress);
  EXPECT_EQ(out.bytes, 0u);
  EXPECT_EQ(io.writes, 0);
  EXPECT_EQ(io.sleeps, 4);
}

}  // namespace
}  // namespace drvcore
