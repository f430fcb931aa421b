// Builds a handful of PSI/SI sections, parses them with the library, prints
// their dumps and checks a few decoded values.
#include <cstdio>
#include <iostream>

#include "lib13818/psi.h"
#include "lib13818/time_tables.h"
#include "section_builder.h"

using namespace lib13818;
using testing_support::Bytes;
using testing_support::SectionBuilder;

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::cout << "FAILED: " << what << std::endl;
    ++failures;
  }
}

template <class S>
S ParseAndDump(const char* title, const Bytes& bytes) {
  S s;
  std::cout << "== " << title << " (" << bytes.size() << " bytes)" << std::endl;
  try {
    s.Parse(bytes.data(), bytes.size());
    s.Dump(std::cout);
  } catch (const error& e) {
    std::cout << "parse error: code " << e.code << " \"" << e.what() << "\"" << std::endl;
  }
  std::cout << std::dec;
  return s;
}

}  // namespace

int main() {
  const u8 kCrcCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  Check(Crc32Mpeg(kCrcCheck, sizeof kCrcCheck) == 0x0376E6E7u, "CRC-32 check value");

  auto pat = ParseAndDump<ProgramAssociationSection>(
      "PAT", SectionBuilder::Long(0x00, 0x044D).U16(0).U16(0xE010).U16(0x6D66).U16(0xE064).Build());
  Check(pat.parsed && pat.GetProgramCount() == 2, "PAT programs");

  auto pmt = ParseAndDump<ProgramMapSection>(
      "PMT", SectionBuilder::Long(0x02, 0x6D66)
                 .U16(0xE0FF)
                 .BeginLoop().Desc(0x09, {0x17, 0x22, 0xE1, 0x00}).EndLoop()
                 .U8(0x02).U16(0xE0FF).BeginLoop().Desc(0x52, {0x01}).EndLoop()
                 .U8(0x03).U16(0xE100).BeginLoop().Desc(0x0A, {'d', 'e', 'u', 0x00}).EndLoop()
                 .Build());
  Check(pmt.parsed && pmt.streams.size() == 2, "PMT streams");

  auto tdt = ParseAndDump<TimeDateSection>(
      "TDT", SectionBuilder::Short(0x70).Raw({0xC0, 0x79, 0x12, 0x45, 0x00}).Build());
  Check(tdt.UTC_time.year == 1993 && tdt.UTC_time.month == 10 && tdt.UTC_time.day == 13,
        "TDT date");

  Bytes broken = SectionBuilder::Long(0x00, 1).U16(1).U16(0xE100).Build();
  broken[9] ^= 0x40;
  auto bad = ParseAndDump<ProgramAssociationSection>("PAT with a flipped bit", broken);
  Check(!bad.parsed, "CRC error detected");

  if (failures != 0) return 1;
  std::cout << "self-check passed" << std::endl;
  return 0;
}
