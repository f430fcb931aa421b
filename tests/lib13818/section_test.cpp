#include <vector>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "lib13818/psi.h"
#include "lib13818/time_tables.h"
#include "section_builder.h"

using namespace lib13818;
using testing_support::Bytes;
using testing_support::FixCrc;
using testing_support::SectionBuilder;

TEST(Crc32, CheckValueAndWholeSectionResidue) {
  const char* digits = "123456789";
  EXPECT_EQ(Crc32Mpeg(reinterpret_cast<const u8*>(digits), 9), 0x0376E6E7u);
  Bytes pat = SectionBuilder::Long(0x00, 1).U16(1).U16(0xE100).Build();
  EXPECT_EQ(Crc32Mpeg(pat.data(), pat.size()), 0u);
}

TEST(Crc32, SixteenBytesAStepAgreeWithTheBitwiseDefinition) {
  // Every length up to 70 at every start offset up to 15, and a chained
  // register, against the bit-by-bit register of the definition.
  auto bitwise = [](const u8* p, size_t n, u32 crc) {
    for (size_t i = 0; i < n; ++i) {
      crc ^= u32(p[i]) << 24;
      for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
  };
  std::vector<u8> bytes(80);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<u8>(i * 37 + 11);
  for (size_t off = 0; off < 16; ++off)
    for (size_t n = 0; off + n <= 80 && n <= 70; ++n)
      ASSERT_EQ(Crc32Mpeg(bytes.data() + off, n), bitwise(bytes.data() + off, n, 0xFFFFFFFFu)) << off << " " << n;
  EXPECT_EQ(Crc32Mpeg(bytes.data() + 20, 30, Crc32Mpeg(bytes.data(), 20)), Crc32Mpeg(bytes.data(), 50));
}

TEST(LongSection, EverySingleBitFlipIsACrcError) {
  Bytes pat = SectionBuilder::Long(0x00, 1).U16(1).U16(0xE100).Build();
  // Flip bits in the bytes the CRC covers but keep the length field intact so
  // that the bytes read stay the same.
  for (size_t i = 0; i < pat.size(); ++i) {
    if (i == 1 || i == 2) continue;
    for (int b = 0; b < 8; ++b) {
      Bytes bad = pat;
      bad[i] ^= static_cast<u8>(1 << b);
      ProgramAssociationSection s;
      try {
        s.Parse(bad.data(), bad.size());
        FAIL() << "byte " << i << " bit " << b;
      } catch (const error& e) {
        EXPECT_STREQ(e.what(), "crc error");
      }
      EXPECT_FALSE(s.parsed);
    }
  }
}

TEST(LongSection, CrcErrorIsTracedWithTheComplementedRegister) {
  Bytes pat = SectionBuilder::Long(0x00, 1).U16(1).U16(0xE100).Build();
  pat.back() ^= 1;
  const u32 reg = Crc32Mpeg(pat.data(), pat.size());
  std::FILE* f = std::tmpfile();
  TraceConfigure(0, 1, f, false);
  ProgramAssociationSection s;
  EXPECT_THROW(s.Parse(pat.data(), pat.size()), error);
  TraceConfigure(0, 0, nullptr, false);
  char text[256] = {};
  std::rewind(f);
  size_t n = std::fread(text, 1, sizeof text - 1, f);
  std::fclose(f);
  char expected[64];
  std::snprintf(expected, sizeof expected, "\"crc error, got %#x expected 0xffffffff\"\r\n",
                static_cast<unsigned>(~reg));
  ASSERT_GT(n, 0u);
  EXPECT_NE(std::strstr(text, expected), nullptr) << text;
}

TEST(LongSection, HeaderChecksInTheirOrder) {
  // Syntax bit 0 with a good CRC: code 2 at byte 0.
  Bytes noSyntax = SectionBuilder::Long(0x00, 1, 0, 0, 0, 0x3).U16(1).U16(0xE100).Build();
  ProgramAssociationSection pat;
  try {
    pat.Parse(noSyntax.data(), noSyntax.size());
    FAIL();
  } catch (const error& e) {
    EXPECT_EQ(e.code, 2);
    EXPECT_EQ(e.position, 0);
  }
  // The same with a wrong CRC: the CRC is checked first.
  noSyntax.back() ^= 0xFF;
  try {
    pat.Parse(noSyntax.data(), noSyntax.size());
    FAIL();
  } catch (const error& e) {
    EXPECT_STREQ(e.what(), "crc error");
  }
  // A NIT handed to the PAT class: invalid table id after the CRC passed.
  Bytes nit = SectionBuilder::Long(0x40, 1, 0, 0, 0, 0xF).U16(0xF000).U16(0xF000).Build();
  try {
    pat.Parse(nit.data(), nit.size());
    FAIL();
  } catch (const error& e) {
    EXPECT_STREQ(e.what(), "invalid table id");
    EXPECT_EQ(e.code, -1);
  }
  EXPECT_FALSE(pat.parsed);
}

TEST(LongSection, HeaderFieldsAndCrcStored) {
  Bytes s = SectionBuilder::Long(0x02, 0x1C, 17, 2, 3).U16(0xE1FF).U16(0xF000).Build();
  ProgramMapSection pmt;
  pmt.Parse(s.data(), s.size());
  EXPECT_TRUE(pmt.parsed);
  EXPECT_EQ(pmt.table_id, 2u);
  EXPECT_EQ(pmt.section_syntax_indicator, 1u);
  EXPECT_EQ(pmt.section_length, s.size() - 3);
  EXPECT_EQ(pmt.table_id_extension, 0x1Cu);
  EXPECT_EQ(pmt.version_number, 17u);
  EXPECT_EQ(pmt.current_next_indicator, 1u);
  EXPECT_EQ(pmt.section_number, 2u);
  EXPECT_EQ(pmt.last_section_number, 3u);
  EXPECT_EQ(pmt.CRC_32, Get32(s.data() + s.size() - 4));
}

TEST(LongSection, LengthsThatDoNotFitAreRefusedBeforeReading) {
  Bytes pat = SectionBuilder::Long(0x00, 1).U16(1).U16(0xE100).Build();
  ProgramAssociationSection s;
  // Fewer bytes available than section_length claims.
  EXPECT_THROW(s.Parse(pat.data(), pat.size() - 1), error);
  EXPECT_THROW(s.Parse(pat.data(), 2), error);
  // section_length below the nine bytes every long section has.
  for (u8 len = 0; len < 9; ++len) {
    Bytes tiny = {0x00, 0xB0, len, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    try {
      s.Parse(tiny.data(), tiny.size());
      FAIL() << int(len);
    } catch (const error& e) {
      EXPECT_STREQ(e.what(), "too little data");
    }
  }
  // A length field of 4095 over a 1024-byte buffer.
  Bytes big(1024, 0);
  big[1] = 0xBF;
  big[2] = 0xFF;
  EXPECT_THROW(s.Parse(big.data(), big.size()), error);
  EXPECT_FALSE(s.parsed);
}

TEST(ShortSection, SyntaxLengthBitsAndTableIdChecks) {
  Bytes tdt = {0x70, 0x70, 0x05, 0xC0, 0x79, 0x12, 0x45, 0x00};
  TimeDateSection t;
  t.Parse(tdt.data(), tdt.size());
  EXPECT_TRUE(t.parsed);
  EXPECT_EQ(t.section_length, 5u);

  Bytes lengthBits = tdt;
  lengthBits[1] = 0x7C;
  TimeDateSection t2;
  try {
    t2.Parse(lengthBits.data(), lengthBits.size());
    FAIL();
  } catch (const error& e) {
    EXPECT_EQ(e.code, 2);
    EXPECT_EQ(e.position, 1);
  }
  Bytes syntax = tdt;
  syntax[1] = 0xF0;
  try {
    t2.Parse(syntax.data(), syntax.size());
    FAIL();
  } catch (const error& e) {
    EXPECT_EQ(e.code, 2);
    EXPECT_EQ(e.position, 0);
  }
  Bytes tot = tdt;
  tot[0] = 0x73;
  try {
    t2.Parse(tot.data(), tot.size());
    FAIL();
  } catch (const error& e) {
    EXPECT_STREQ(e.what(), "invalid table id");
  }
  EXPECT_FALSE(t2.parsed);
  // Longer than the bytes handed in.
  EXPECT_THROW(t2.Parse(tdt.data(), tdt.size() - 1), error);
}
