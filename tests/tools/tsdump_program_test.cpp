// orb-tsdump run as a program on files written by the test: texts of a
// hostile capture cannot make up lines of the dump or reorder one on screen,
// and the output does not depend on how the file is read.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "section_builder.h"
#include "tslib/ts.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Bytes;
using testing_support::SectionBuilder;

struct Result {
  std::string out;
  int status = -1;  // the exit status, -1 if the program did not exit
};

Result Shell(const std::string& command) {
  Result r;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 65536> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
    const int rc = pclose(pipe);
    if (rc != -1 && WIFEXITED(rc)) r.status = WEXITSTATUS(rc);
  }
  return r;
}

Result Tsdump(const std::string& arguments) { return Shell(std::string(ORB_TSDUMP) + " " + arguments); }

// A file in the build tree, removed at the end of the test.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& name)
      : path_(fs::path(ORB_SCRATCH_DIR) / (std::to_string(getpid()) + "-" + name)) {}
  ~ScratchFile() {
    std::error_code ec;
    fs::remove(path_, ec);
  }
  std::string path() const { return path_.string(); }
  void Write(const Bytes& bytes) const {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  fs::path path_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

size_t CountLinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  size_t n = 0;
  for (const std::string& l : lines) n += l.rfind(prefix, 0) == 0;
  return n;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& l : lines)
    if (l == line) return true;
  return false;
}

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
// A length byte and the bytes.
Bytes Prefixed(const Bytes& b) { return Cat({Bytes{static_cast<std::uint8_t>(b.size())}, b}); }

// What a hostile broadcast writes into its texts: DVB line breaks (0x8A in
// the default table, U+008A in UTF-8) in front of what reads like lines of
// the dump, direction overrides and isolates, zero-width characters, a byte
// order mark, a line separator, and backslashes that look like escapes.
const Bytes kForgedServiceName = Cat({Str("A"), {0x8A}, Str("== PAT \"pat\" pid 0x0000 table_id 0x00"), {0x8A},
                                      Str("errors: none")});
const Bytes kForgedProviderName = Cat({{0x15}, Str("Evil"), {0xE2, 0x80, 0xAE}, Str("gnp.exe"), {0xC2, 0x8A},
                                       Str("packets: 0 \\n \\x1b"), {0xE2, 0x81, 0xA6, 0xE2, 0x80, 0x8B, 0xEF, 0xBB, 0xBF,
                                                                      0xE2, 0x80, 0xA8}});
const Bytes kForgedNetworkName = Cat({Str("Net"), {0x8A}, Str("input: -")});
const Bytes kForgedEventName = Cat({{0x15}, Str("News"), {0xE2, 0x80, 0x8F, 0xE2, 0x81, 0xA9}});
const Bytes kForgedEventText = Cat({Str("Today"), {0x8A, 0x8A}, Str("== TDT \"time_date_section\"")});
const Bytes kForgedAppName = Cat({{0x15}, Str("App"), {0xC2, 0x8A}, Str("== AIT"), {0xE2, 0x80, 0xAE}, Str("\\")});
// Taken as they stand: an ISO 639 code with a raw line feed.
const Bytes kForgedLanguage = {'e', '\n', 'n'};

Bytes CraftedCapture() {
  std::vector<std::pair<std::uint16_t, Bytes>> sections;
  // PAT: the NIT on 0x0010, program 1's PMT on 0x0100.
  sections.push_back({0x0000, SectionBuilder::Long(0x00, 1).U16(0).U16(0xE010).U16(1).U16(0xE100).Build()});
  // PMT: private sections (the AIT) on 0x0200, with a language code.
  sections.push_back({0x0100, SectionBuilder::Long(0x02, 1)
                                  .U16(0xFFFF)
                                  .BeginLoop()
                                  .EndLoop()
                                  .U8(0x05)
                                  .U16(0xE200)
                                  .BeginLoop()
                                  .Desc(0x0A, Cat({kForgedLanguage, {0x00}}))
                                  .EndLoop()
                                  .Build()});
  sections.push_back({0x0010, SectionBuilder::Long(0x40, 0x0085)
                                  .BeginLoop()
                                  .Desc(0x40, kForgedNetworkName)
                                  .EndLoop()
                                  .BeginLoop()
                                  .EndLoop()
                                  .Build()});
  sections.push_back({0x0011, SectionBuilder::Long(0x42, 1)
                                  .U16(0x0001)
                                  .U8(0xFF)
                                  .U16(1)
                                  .U8(0xFC)
                                  .BeginLoop(0x8)
                                  .Desc(0x48, Cat({{0x01}, Prefixed(kForgedProviderName), Prefixed(kForgedServiceName)}))
                                  .EndLoop()
                                  .Build()});
  sections.push_back({0x0012, SectionBuilder::Long(0x4E, 1)
                                  .U16(1)
                                  .U16(0x0001)
                                  .U8(0)
                                  .U8(0x4E)
                                  .U16(7)
                                  .Raw({0xC0, 0x79, 0x12, 0x45, 0x00})
                                  .U24(0x013000)
                                  .BeginLoop(0x8)
                                  .Desc(0x4D, Cat({kForgedLanguage, Prefixed(kForgedEventName), Prefixed(kForgedEventText)}))
                                  .EndLoop()
                                  .Build()});
  sections.push_back({0x0200, SectionBuilder::Long(0x74, 0x0010)
                                  .BeginLoop()
                                  .EndLoop()
                                  .BeginLoop()
                                  .U32(0x0000000A)
                                  .U16(0x0001)
                                  .U8(0x01)
                                  .BeginLoop()
                                  .Desc(0x01, Cat({kForgedLanguage, Prefixed(kForgedAppName)}))
                                  .EndLoop()
                                  .EndLoop()
                                  .Build()});
  std::map<std::uint16_t, tslib::SectionPacketiser> packetisers;
  Bytes ts;
  for (const auto& [pid, section] : sections)
    packetisers.emplace(pid, tslib::SectionPacketiser(pid)).first->second.Put(section, ts);
  return ts;
}

}  // namespace

TEST(TsdumpProgram, BroadcastTextsCannotForgeLinesOrReorderThem) {
  ScratchFile file("crafted.ts");
  file.Write(CraftedCapture());
  const Result run = Tsdump("--strict --dump --descriptors " + file.path());
  ASSERT_EQ(run.status, 0) << run.out;
  const std::vector<std::string> lines = Lines(run.out);

  // One header line per section, one summary; nothing else starts like them.
  EXPECT_EQ(CountLinesStartingWith(lines, "== "), 6u) << run.out;
  EXPECT_EQ(CountLinesStartingWith(lines, "== PAT"), 1u) << run.out;
  EXPECT_EQ(CountLinesStartingWith(lines, "== TDT"), 0u) << run.out;
  EXPECT_EQ(CountLinesStartingWith(lines, "errors:"), 1u) << run.out;
  EXPECT_EQ(CountLinesStartingWith(lines, "packets:"), 1u) << run.out;
  EXPECT_EQ(CountLinesStartingWith(lines, "input:"), 1u) << run.out;
  EXPECT_TRUE(HasLine(lines, "errors: none")) << run.out;

  // Each text on its own line, escaped exactly.
  EXPECT_TRUE(HasLine(lines, "service_name A\\n== PAT \"pat\" pid 0x0000 table_id 0x00\\nerrors: none")) << run.out;
  EXPECT_TRUE(HasLine(lines, "provider_name Evil\\u202egnp.exe\\npackets: 0 \\\\n \\\\x1b\\u2066\\u200b\\ufeff\\u2028"))
      << run.out;
  EXPECT_TRUE(HasLine(lines, "network_name: Net\\ninput: -")) << run.out;
  EXPECT_TRUE(HasLine(lines, "event_name: News\\u200f\\u2069")) << run.out;
  EXPECT_TRUE(HasLine(lines, "text: Today\\n\\n== TDT \"time_date_section\"")) << run.out;
  EXPECT_TRUE(HasLine(lines, "ISO_639_language_code: e\\nn")) << run.out;
  EXPECT_TRUE(HasLine(lines, "language_code: e\\nn")) << run.out;
  EXPECT_TRUE(HasLine(lines, "application_name: App\\n== AIT\\u202e\\\\")) << run.out;

  // Nothing of the layout characters reaches the terminal as it is.
  for (const char* raw : {"\xE2\x80\xAE", "\xE2\x81\xA6", "\xE2\x81\xA9", "\xE2\x80\x8B", "\xE2\x80\x8F",
                          "\xEF\xBB\xBF", "\xE2\x80\xA8"})
    EXPECT_EQ(run.out.find(raw), std::string::npos) << run.out;
}

TEST(TsdumpProgram, OutputDoesNotDependOnTheReadSize) {
  // A generated stream with stray bytes between packets, read in pieces
  // that cut packets and the stray runs at every offset, and from a pipe.
  ScratchFile file("junk.ts");
  const Result gen = Shell(std::string(ORB_TSGEN) + " --size 0.5 --junk " + file.path());
  ASSERT_EQ(gen.status, 0) << gen.out;
  const Result reference = Tsdump("--dump --descriptors " + file.path());
  ASSERT_EQ(reference.status, 0) << reference.out;
  ASSERT_EQ(reference.out.find("resyncs: 0,"), std::string::npos) << reference.out;
  ASSERT_NE(reference.out.find("== EIT"), std::string::npos);
  for (const char* size : {"1", "187", "188", "189", "751", "752", "753", "4096", "100000"}) {
    const Result run = Tsdump("--dump --descriptors --read-size " + std::string(size) + " " + file.path());
    EXPECT_EQ(run.status, 0) << size;
    EXPECT_TRUE(run.out == reference.out) << "read size " << size;
  }
  const Result piped = Tsdump("--dump --descriptors - < " + file.path());
  const std::string named = "input: " + file.path() + "\n";
  std::string expected = reference.out;
  expected.replace(expected.find(named), named.size(), "input: -\n");
  EXPECT_TRUE(piped.out == expected) << "standard input";
}

TEST(TsdumpProgram, RefusesWhatItCannotRead) {
  EXPECT_EQ(Tsdump("--read-size 0 x.ts 2>/dev/null").status, 1);
  EXPECT_EQ(Tsdump("--read-size -5 x.ts 2>/dev/null").status, 1);
  EXPECT_EQ(Tsdump(std::string(ORB_SCRATCH_DIR) + "/no-such-file.ts 2>/dev/null").status, 1);
  // A directory opens but cannot be read.
  const Result dir = Tsdump(std::string(ORB_SCRATCH_DIR) + " 2>&1");
  EXPECT_EQ(dir.status, 1);
  EXPECT_NE(dir.out.find("cannot read"), std::string::npos) << dir.out;
}
