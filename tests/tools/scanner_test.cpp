// The stream scanner of orb-tsdump over the generated multiplex: every table
// found, reassembled and parsed by the library; refusals counted by message.
#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/section.h"
#include "sigen/sigen.h"
#include "tsdump/escape.h"
#include "tsdump/scanner.h"
#include "tslib/ts.h"

using namespace tsdump;
using tslib::Bytes;

namespace {

using Packetisers = std::map<u16, tslib::SectionPacketiser>;

// The multiplex's tables as one burst of packets, PAT first; continuity
// counters run on in `packetisers`.
Bytes Packetise(const sigen::Multiplex& mux, Packetisers& packetisers) {
  Bytes out;
  auto put = [&](u16 pid, const std::vector<Bytes>& sections) {
    auto it = packetisers.emplace(pid, tslib::SectionPacketiser(pid)).first;
    it->second.PutPacked(sections, out);
  };
  for (const sigen::Table& t : mux.tables) put(t.pid, t.sections);
  put(0x0014, {mux.tdt, mux.tot});
  // The AIT PID is learnt from a PMT, which follows the PAT: send it again.
  for (const sigen::Table& t : mux.tables)
    if (t.name == "AIT") put(t.pid, t.sections);
  return out;
}

Bytes Packetise(const sigen::Multiplex& mux) {
  Packetisers packetisers;
  return Packetise(mux, packetisers);
}

void Scan(Scanner& s, const Bytes& packets) {
  tslib::PacketReader reader(packets.data(), packets.size());
  while (const u8* p = reader.Next()) s.Packet(p);
}

}  // namespace

TEST(Scanner, ReadsEveryTableOfTheGeneratedMultiplex) {
  const sigen::Multiplex mux = sigen::GenerateMultiplex(sigen::Config());
  Scanner s(Options(), nullptr);
  Scan(s, Packetise(mux));
  std::ostringstream report;
  s.Report(report, nullptr);
  EXPECT_TRUE(s.Clean()) << report.str();
  EXPECT_TRUE(s.Complete()) << report.str();
  // Each generated section is read once and parsed.
  std::map<Table, u64> expected;
  for (const Bytes& section : sigen::AllSections(mux)) ++expected[TableOf(section[0])];
  expected[Table::AIT] *= 2;  // sent twice, one content
  for (const auto& [table, n] : expected) {
    EXPECT_EQ(s.stats(table).sections, n) << TableName(table);
    EXPECT_EQ(s.stats(table).failed, 0u) << TableName(table);
  }
  EXPECT_EQ(s.stats(Table::AIT).distinct, 1u);
  EXPECT_EQ(s.stats(Table::PMT).parsed, 8u);
  EXPECT_GE(s.stats(Table::EitScheduleOther).parsed, 12u);
}

TEST(Scanner, CountsRefusalsByMessageAndTable) {
  sigen::Multiplex mux = sigen::GenerateMultiplex(sigen::Config());
  for (sigen::Table& t : mux.tables) {
    if (t.name == "SDT actual") t.sections[0][20] ^= 0x01;  // CRC no longer checks
    if (t.name == "NIT other") {
      // A correct CRC over a descriptor loop that runs past the section.
      Bytes& s = t.sections[0];
      s[8] = 0xFF;
      s[9] = 0xFF;
      const size_t n = s.size() - 4;
      const std::uint32_t crc = lib13818::Crc32Mpeg(s.data(), n);
      for (int i = 0; i < 4; ++i) s[n + static_cast<size_t>(i)] = static_cast<u8>(crc >> (24 - 8 * i));
    }
  }
  Scanner s(Options(), nullptr);
  Scan(s, Packetise(mux));
  EXPECT_FALSE(s.Clean());
  EXPECT_EQ(s.stats(Table::SdtActual).failed, 1u);
  EXPECT_EQ(s.stats(Table::NitOther).failed, 1u);
  EXPECT_EQ(s.stats(Table::NitActual).failed, 0u);
  const auto& errors = s.errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors.at({Table::SdtActual, "crc error"}), 1u);
  EXPECT_EQ(errors.at({Table::NitOther, "descriptor start end mismatch"}), 1u);
  std::ostringstream report;
  s.Report(report, nullptr);
  EXPECT_NE(report.str().find("SDT actual: \"crc error\" x1"), std::string::npos) << report.str();
}

TEST(Scanner, FindsPmtPidsThroughThePatOnly) {
  const sigen::Multiplex mux = sigen::GenerateMultiplex(sigen::Config());
  Bytes packets;
  tslib::SectionPacketiser pmtOnly(mux.tables[2].pid);  // a PMT before any PAT
  pmtOnly.PutPacked(mux.tables[2].sections, packets);
  Scanner blind(Options(), nullptr);
  Scan(blind, packets);
  EXPECT_EQ(blind.stats(Table::PMT).sections, 0u);

  Options options;
  options.extraPids.insert(mux.tables[2].pid);
  Scanner told(options, nullptr);
  Scan(told, packets);
  EXPECT_EQ(told.stats(Table::PMT).parsed, 1u);
}

TEST(Scanner, DumpsEachDistinctSectionOnce) {
  sigen::Config config;
  config.services = 1;
  config.otherTransportStreams = 0;
  config.scheduleEvents = 1;
  const sigen::Multiplex mux = sigen::GenerateMultiplex(config);
  Packetisers packetisers;
  Bytes packets = Packetise(mux, packetisers);
  const Bytes again = Packetise(mux, packetisers);
  packets.insert(packets.end(), again.begin(), again.end());
  std::ostringstream os;
  Options options;
  options.dump = true;
  options.descriptors = true;
  Scanner s(options, &os);
  Scan(s, packets);
  const std::string dump = os.str();
  EXPECT_EQ(dump.find("== PAT \"pat\" pid 0x0000 table_id 0x00 ext 0x044d version 3 section 0/0\n"
                      "program_number:    0\n"),
            0u)
      << dump.substr(0, 200);
  // The PAT twice in the stream, dumped once.
  EXPECT_EQ(dump.find("== PAT", 1), std::string::npos);
  EXPECT_EQ(s.stats(Table::PAT).sections, 2u);
  EXPECT_NE(dump.find("== TDT \"time_date_section\" pid 0x0014 table_id 0x70\n"), std::string::npos);
  // With the descriptors: the network loop that the NIT's dump leaves out.
  EXPECT_NE(dump.find("-- descriptors of network/bouquet\ndescriptor_tag: 40 network_name_descriptor"),
            std::string::npos);
  EXPECT_NE(dump.find("descriptor_tag: 00 application_descriptor"), std::string::npos);
}

namespace {

u64 OneBucket(const u8*, size_t, u64) { return 42; }

}  // namespace

TEST(Scanner, SectionsWithTheSameHashAreToldApartByTheirBytes) {
  // Every section falls into one bucket: only equal bytes count as a repeat.
  sigen::Config config;
  config.services = 3;
  config.scheduleEvents = 4;
  const sigen::Multiplex mux = sigen::GenerateMultiplex(config);
  Packetisers packetisers;
  Bytes packets = Packetise(mux, packetisers);
  const Bytes again = Packetise(mux, packetisers);
  packets.insert(packets.end(), again.begin(), again.end());
  Scanner normal(Options(), nullptr);
  Scan(normal, packets);
  Options options;
  options.hash = OneBucket;
  Scanner colliding(options, nullptr);
  Scan(colliding, packets);
  for (size_t i = 0; i < static_cast<size_t>(Table::Count); ++i) {
    const Table t = static_cast<Table>(i);
    EXPECT_EQ(colliding.stats(t).sections, normal.stats(t).sections) << TableName(t);
    EXPECT_EQ(colliding.stats(t).distinct, normal.stats(t).distinct) << TableName(t);
    EXPECT_EQ(colliding.stats(t).parsed, normal.stats(t).parsed) << TableName(t);
  }
  EXPECT_GT(colliding.stats(Table::EitScheduleActual).distinct, 1u);
  EXPECT_EQ(colliding.stats(Table::PAT).distinct, 1u);
  EXPECT_EQ(colliding.stats(Table::PAT).sections, 2u);
}

TEST(TerminalOutput, ControlCharactersAndBrokenUtf8AreEscaped) {
  EXPECT_EQ(Escaped("caf\xC3\xA9 \xE2\x82\xAC\tx"), "caf\xC3\xA9 \xE2\x82\xAC\tx");
  EXPECT_EQ(Escaped("\x1B]0;owned\x07\x1B[2J"), "\\x1b]0;owned\\x07\\x1b[2J");
  EXPECT_EQ(Escaped("a\x7F" "b\r"), "a\\x7fb\\x0d");
  EXPECT_EQ(Escaped("\xC2\x9B" "31m"), "\\u009b31m");         // C1 CSI
  EXPECT_EQ(Escaped("\x9B\xFF\xC3"), "\\x9b\\xff\\xc3");         // not UTF-8
  EXPECT_EQ(Escaped("\xE2\x82x"), "\\xe2\\x82x");
  EXPECT_EQ(Escaped(std::string("\0z", 2)), "\\x00z");
}

TEST(TerminalOutput, LineBreaksBackslashesAndLayoutCharactersAreEscaped) {
  // A line break cannot start a line; a backslash in a text cannot pass for
  // an escape.
  EXPECT_EQ(Escaped("a\nb\n"), "a\\nb\\n");
  EXPECT_EQ(Escaped("\\n \\x1b \\"), "\\\\n \\\\x1b \\\\");
  // Zero-width characters, direction marks, embeddings and overrides, line
  // and paragraph separators, isolates and the byte order mark, in UTF-8.
  const std::pair<const char*, const char*> layout[] = {
      {"\xE2\x80\x8B", "\\u200b"}, {"\xE2\x80\x8C", "\\u200c"}, {"\xE2\x80\x8D", "\\u200d"},
      {"\xE2\x80\x8E", "\\u200e"}, {"\xE2\x80\x8F", "\\u200f"}, {"\xE2\x80\xA8", "\\u2028"},
      {"\xE2\x80\xA9", "\\u2029"}, {"\xE2\x80\xAA", "\\u202a"}, {"\xE2\x80\xAB", "\\u202b"},
      {"\xE2\x80\xAC", "\\u202c"}, {"\xE2\x80\xAD", "\\u202d"}, {"\xE2\x80\xAE", "\\u202e"},
      {"\xE2\x81\xA6", "\\u2066"}, {"\xE2\x81\xA7", "\\u2067"}, {"\xE2\x81\xA8", "\\u2068"},
      {"\xE2\x81\xA9", "\\u2069"}, {"\xEF\xBB\xBF", "\\ufeff"}};
  for (const auto& [utf8, escaped] : layout)
    EXPECT_EQ(Escaped(std::string("x") + utf8 + "y"), std::string("x") + escaped + "y") << escaped;
  // Their neighbours are ordinary characters.
  for (const char* kept : {"\xE2\x80\x8A", "\xE2\x80\x90", "\xE2\x80\xA7", "\xE2\x80\xAF", "\xE2\x81\xA5",
                           "\xE2\x81\xAA", "\xEF\xBB\xBE", "\xEF\xBC\x80", "\xC2\xA0", "\xF0\x9F\x98\x80"})
    EXPECT_EQ(Escaped(kept), kept);
}

TEST(TerminalOutput, OnlyTheWritersLineEndsEndLines) {
  // std::endl ends a line (a line feed, then a flush); a line feed inside
  // what was written is a line break of a text.
  std::ostringstream target;
  {
    EscapingStreambuf buf(target.rdbuf());
    std::ostream os(&buf);
    os << "\xE2\x82";
    os.flush();
    os << "\xAC\x1B" << std::endl;  // a character split across writes stays whole
    os << "name: A\n== PAT\n" << std::endl;
    os << "x";
    os.put('\n');
    os << "y" << std::endl << std::endl;
    os << "\xE2";  // cut off at the end
  }
  EXPECT_EQ(target.str(), "\xE2\x82\xAC\\x1b\nname: A\\n== PAT\\n\nx\\ny\n\n\\xe2");

  // A line feed at the end of a buffer's worth of text waits to see whether
  // a flush follows.
  const std::string long_text(10000, 'a');
  std::ostringstream big;
  {
    EscapingStreambuf buf(big.rdbuf());
    std::ostream os(&buf);
    os << long_text + "\n" << "b" << std::endl;
    os << long_text + "\n";
    os.flush();
    os << long_text + "\n";  // the last byte of all ends the last line
  }
  EXPECT_EQ(big.str(), long_text + "\\nb\n" + long_text + "\n" + long_text + "\n");
}
