#pragma once
// Shared pieces of the libFuzzer targets.  Every target parses the input with
// one parse entry and dumps what it got, so the printing paths are exercised
// too; a lib13818::error is the expected answer to bad input, anything else
// (a crash, a sanitizer report, another exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <vector>

#include "lib13818/descriptor_set.h"
#include "lib13818/error.h"
#include "lib13818/section.h"

namespace fuzz {

// Long sections are CRC-checked before anything else, which random bytes
// almost never pass.  The first input byte chooses how the rest is used: as
// it is, or with section_length and CRC_32 made to fit the bytes.
inline std::vector<std::uint8_t> Prepare(const std::uint8_t* data, size_t size, bool isLong) {
  if (size == 0) return {};
  const std::uint8_t mode = data[0];
  std::vector<std::uint8_t> bytes(data + 1, data + size);
  if ((mode & 1) && bytes.size() >= 3 && bytes.size() - 3 <= 0xFFF) {
    size_t len = bytes.size() - 3;
    bytes[1] = static_cast<std::uint8_t>((bytes[1] & 0xF0) | (len >> 8));
    bytes[2] = static_cast<std::uint8_t>(len);
    if (isLong && bytes.size() >= 12) {
      if (mode & 2) bytes[1] |= 0x80;  // syntax bit set: reach the body more often
      std::uint32_t crc = lib13818::Crc32Mpeg(bytes.data(), bytes.size() - 4);
      for (int i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
  }
  return bytes;
}

template <class S>
void ParseAndDump(const std::uint8_t* data, size_t size, bool isLong) {
  std::vector<std::uint8_t> bytes = Prepare(data, size, isLong);
  S s;
  try {
    s.Parse(bytes.data(), bytes.size());
  } catch (const lib13818::error&) {
  }
  std::ostringstream os;
  s.Dump(os);
}

inline void PrintSet(const lib13818::DescriptorSet& set, std::ostream& os) {
  set.ForEachList([&os](int, const auto& list) {
    for (const auto& d : list) d.Print(os);
  });
}

}  // namespace fuzz

#define ORB_FUZZ_LONG_SECTION(Class)                                             \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) { \
    fuzz::ParseAndDump<Class>(data, size, true);                                 \
    return 0;                                                                    \
  }
#define ORB_FUZZ_SHORT_SECTION(Class)                                            \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) { \
    fuzz::ParseAndDump<Class>(data, size, false);                                \
    return 0;                                                                    \
  }
