#pragma once
// Builds PSI/SI sections from their fields for tests, with the section_length
// and the CRC_32 filled in, so that a test reads like the table it builds.
//
//   auto pat = SectionBuilder::Long(0x00, /*ext*/ 1)
//                  .U16(0x0000).U16(0xE010)   // program 0 -> PID 0x10
//                  .Build();
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "lib13818/section.h"

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

class SectionBuilder {
 public:
  // A long-header section (CRC_32 appended by Build).  `flags` is the high
  // nibble of byte 1: syntax bit, private bit, two reserved bits.
  static SectionBuilder Long(std::uint8_t table_id, std::uint16_t table_id_extension,
                             std::uint8_t version = 0, std::uint8_t section_number = 0,
                             std::uint8_t last_section_number = 0, std::uint8_t flags = 0xB) {
    SectionBuilder b;
    b.long_ = true;
    b.bytes_ = {table_id, static_cast<std::uint8_t>(flags << 4), 0,
                static_cast<std::uint8_t>(table_id_extension >> 8),
                static_cast<std::uint8_t>(table_id_extension),
                static_cast<std::uint8_t>(0xC1 | (version & 0x1F) << 1), section_number,
                last_section_number};
    return b;
  }
  // A short-header section (no CRC unless the caller writes one).
  static SectionBuilder Short(std::uint8_t table_id, std::uint8_t flags = 0x7) {
    SectionBuilder b;
    b.bytes_ = {table_id, static_cast<std::uint8_t>(flags << 4), 0};
    return b;
  }

  SectionBuilder& U8(std::uint32_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  SectionBuilder& U16(std::uint32_t v) { return U8(v >> 8).U8(v); }
  SectionBuilder& U24(std::uint32_t v) { return U8(v >> 16).U16(v); }
  SectionBuilder& U32(std::uint32_t v) { return U16(v >> 16).U16(v); }
  SectionBuilder& Raw(const Bytes& b) {
    bytes_.insert(bytes_.end(), b.begin(), b.end());
    return *this;
  }
  SectionBuilder& Raw(std::initializer_list<std::uint8_t> b) { return Raw(Bytes(b)); }
  SectionBuilder& Text(const std::string& s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    return *this;
  }
  // A descriptor: tag, length (from the payload) and payload.
  SectionBuilder& Desc(std::uint8_t tag, const Bytes& payload) {
    U8(tag).U8(static_cast<std::uint32_t>(payload.size()));
    return Raw(payload);
  }
  SectionBuilder& Desc(std::uint8_t tag, std::initializer_list<std::uint8_t> payload) {
    return Desc(tag, Bytes(payload));
  }

  // A 12-bit loop length field whose value is patched by EndLoop: `high` is
  // the upper nibble (reserved bits) of the first byte.
  SectionBuilder& BeginLoop(std::uint8_t high = 0xF) {
    loops_.push_back({bytes_.size(), high});
    return U16(0);
  }
  // Closes the innermost loop; `adjust` is added to the true length so tests
  // can write a wrong one.
  SectionBuilder& EndLoop(int adjust = 0) {
    Loop l = loops_.back();
    loops_.pop_back();
    std::uint32_t len = static_cast<std::uint32_t>(bytes_.size() - l.at - 2 + adjust);
    bytes_[l.at] = static_cast<std::uint8_t>(l.high << 4 | ((len >> 8) & 0x0F));
    bytes_[l.at + 1] = static_cast<std::uint8_t>(len);
    return *this;
  }

  // Finishes the section: section_length from the bytes written (plus the
  // CRC for long sections, plus `lengthAdjust`), then the CRC_32 over all.
  Bytes Build(int lengthAdjust = 0) const {
    Bytes out = bytes_;
    std::uint32_t len =
        static_cast<std::uint32_t>(out.size() - 3 + (long_ ? 4 : 0) + lengthAdjust);
    out[1] = static_cast<std::uint8_t>((out[1] & 0xF0) | ((len >> 8) & 0x0F));
    out[2] = static_cast<std::uint8_t>(len);
    if (long_) {
      std::uint32_t crc = lib13818::Crc32Mpeg(out.data(), out.size());
      for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(crc >> s));
    }
    return out;
  }

 private:
  struct Loop {
    size_t at;
    std::uint8_t high;
  };
  bool long_ = false;
  Bytes bytes_;
  std::vector<Loop> loops_;
};

// Recomputes the CRC_32 of a long section in place (after a test edits it).
inline void FixCrc(Bytes& s) {
  size_t n = s.size() - 4;
  std::uint32_t crc = lib13818::Crc32Mpeg(s.data(), n);
  for (int i = 0; i < 4; ++i) s[n + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
}

}  // namespace testing_support
