#pragma once
// Shared pieces of the libFuzzer targets.  Every target parses the input with
// one parse entry and dumps what it got, so the printing paths are exercised
// too; a lib13818::error is the expected answer to bad input, anything else
// (a crash, a sanitizer report, another exception) is a finding.
//
// Every parser gets its bytes in a heap block of exactly their size, so that
// a read past a section or descriptor is a read past the block.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

#include "lib13818/ait.h"
#include "lib13818/descriptor_set.h"
#include "lib13818/error.h"
#include "lib13818/id_names.h"
#include "lib13818/section.h"

namespace fuzz {

// `size` bytes in a block of their own.
class Exact {
 public:
  Exact(const std::uint8_t* data, size_t size) : p_(new std::uint8_t[size ? size : 1]), size_(size) {
    if (size) std::memcpy(p_.get(), data, size);
  }
  const std::uint8_t* data() const { return p_.get(); }
  size_t size() const { return size_; }

 private:
  std::unique_ptr<std::uint8_t[]> p_;
  size_t size_;
};

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

// The identifier name tables, built once per process.
inline void InitNames() {
  static const bool done = [] {
    lib13818::InitIdNameMaps();
    return true;
  }();
  (void)done;
}

// Every name getter a descriptor or entry has.
template <class D>
void Names(const D& d, std::ostream& os) {
  if constexpr (requires { d.GetName(); }) os << d.GetName();
  if constexpr (requires { d.GetHierarchyTypeName(); }) os << d.GetHierarchyTypeName();
  if constexpr (requires { d.GetAlignmentTypeName(); }) os << d.GetAlignmentTypeName();
  if constexpr (requires { d.GetCodingTypeName(); }) os << d.GetCodingTypeName();
  if constexpr (requires { d.GetPolarizationName(); }) os << d.GetPolarizationName();
  if constexpr (requires { d.GetModulationName(); }) os << d.GetModulationName();
  if constexpr (requires { d.GetFECInnerName(); }) os << d.GetFECInnerName();
  if constexpr (requires { d.GetApplicationTypeName(); }) os << d.GetApplicationTypeName();
  if constexpr (requires { d.GetCAProviderName(); }) os << d.GetCAProviderName();
  if constexpr (requires { d.GetProgrammeIdentificationLabelText(); })
    os << d.GetProgrammeIdentificationLabelText();
  if constexpr (requires { d.service_type; }) os << D::ServiceTypeName(static_cast<int>(d.service_type));
  if constexpr (requires { d.contents; })
    for (const auto& c : d.contents) os << c.ContentNibbleLevel1Name() << c.ContentNibbleName();
  if constexpr (requires { d.pages; })
    for (const auto& t : d.pages) os << t.GetTeletextTypeName();
  if constexpr (requires { d.CA_system_ID; }) os << lib13818::GetCASystemName(static_cast<int>(d.CA_system_ID));
  if constexpr (requires { d.data_broadcast_id; })
    os << lib13818::GetDataBroadcastName(static_cast<int>(d.data_broadcast_id));
}

inline void PrintSet(const lib13818::DescriptorSet& set, std::ostream& os) {
  set.ForEachList([&os](int, const auto& list) {
    for (const auto& d : list) {
      d.Print(os);
      Names(d, os);
    }
  });
}

template <class S>
void ParseAndDump(const std::uint8_t* data, size_t size, bool isLong) {
  const std::vector<std::uint8_t> bytes = Prepare(data, size, isLong);
  InitNames();
  const Exact exact(bytes.data(), bytes.size());
  S s;
  try {
    s.Parse(exact.data(), exact.size());
  } catch (const lib13818::error&) {
  }
  std::ostringstream os;
  s.Dump(os);
  os << s.GetName();
  if constexpr (requires { S::GetNameById(0); }) os << S::GetNameById(static_cast<int>(s.table_id));
  if constexpr (requires { s.original_network_id; })
    os << lib13818::GetNetworkName(static_cast<int>(s.original_network_id));
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
