#pragma once
#include <cstddef>
#include <ostream>

#include "lib13818/error.h"
#include "lib13818/types.h"

namespace lib13818 {

// CRC-32 of ISO/IEC 13818-1 Annex A (MSB first, polynomial 0x04C11DB7,
// register preset to 0xFFFFFFFF, no final complement).  Over a whole section
// including its CRC_32 field the register ends at 0.
u32 Crc32Mpeg(const u8* data, size_t size, u32 crc = 0xFFFFFFFFu);

// Root of every table class.  Sections are plain values created, copied and
// destroyed as their concrete class.
class Section {
 public:
  // Parses one section.  `size` is the number of bytes readable at `section`;
  // a section whose length field claims more is refused before anything is
  // read beyond them.
  virtual void Parse(const u8* section, size_t size) = 0;
  virtual ~Section() = default;

 protected:
  Section() = default;
  Section(const Section&) = default;
  Section& operator=(const Section&) = default;
  Section(Section&&) = default;
  Section& operator=(Section&&) = default;
};

// Sections with the long header: CRC-checked, version and section numbers.
class LongSection : public Section {
 public:
  void Parse(const u8* section, size_t size) override;
  virtual const char* GetName() const = 0;
  virtual void Clear() = 0;
  virtual void Dump(std::ostream& os) const = 0;

  u32 GetTableId() const { return table_id; }

  u32 table_id = 0;
  u32 section_syntax_indicator = 0;
  u32 section_length = 0;
  u32 table_id_extension = 0;
  u32 version_number = 0;
  u32 section_number = 0;
  u32 last_section_number = 0;
  u32 current_next_indicator = 0;
  bool parsed = false;
  u32 CRC_32 = 0;

 protected:
  LongSection() = default;
  LongSection(const LongSection&) = default;
  LongSection& operator=(const LongSection&) = default;
  LongSection(LongSection&&) = default;
  LongSection& operator=(LongSection&&) = default;

  // `body` is the byte after last_section_number; `size` = section_length - 9,
  // the body up to (not including) CRC_32.
  virtual void ParseBody(const u8* body, size_t size) = 0;
  virtual bool IsValidTableId() const = 0;
  virtual bool CheckSyntaxIndicator(int bit) const = 0;
  virtual bool CheckReservedBits(int bits) const = 0;
};

// Sections with the short header (TDT, RST, TOT): never CRC-checked.
class ShortSection : public Section {
 public:
  void Parse(const u8* section, size_t size) override;
  virtual void Clear() = 0;
  virtual const char* GetName() const = 0;
  virtual void Dump(std::ostream& os) const;

  u32 GetTableId() const { return table_id; }

  u32 table_id = 0;
  u32 section_length = 0;
  bool parsed = false;

 protected:
  ShortSection() = default;
  ShortSection(const ShortSection&) = default;
  ShortSection& operator=(const ShortSection&) = default;
  ShortSection(ShortSection&&) = default;
  ShortSection& operator=(ShortSection&&) = default;

  virtual bool CheckSyntaxIndicator(int bit) const = 0;
  // `body` is the byte after section_length; `size` = section_length.
  virtual void ParseBody(const u8* body, size_t size) = 0;
  virtual bool IsValidTableId() const = 0;
};

}  // namespace lib13818
