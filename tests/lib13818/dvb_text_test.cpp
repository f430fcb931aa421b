// DVB texts in every character table, as real broadcasts carry them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "lib13818/text_time.h"

namespace {

using lib13818::u8;

// Decodes from an exact-size heap copy, so that a read past the field shows
// under AddressSanitizer.
std::string Decode(std::vector<u8> bytes) {
  std::unique_ptr<u8[]> copy(new u8[bytes.size()]);
  if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
  return lib13818::DvbTextToUtf8(copy.get(), bytes.size());
}

std::vector<u8> B(std::initializer_list<int> bytes) {
  std::vector<u8> v;
  for (int b : bytes) v.push_back(static_cast<u8>(b));
  return v;
}

// The bytes of a string literal (without its terminator).
std::vector<u8> S(const std::string& s) { return std::vector<u8>(s.begin(), s.end()); }

const char kFffd[] = "\xEF\xBF\xBD";

// Well-formed UTF-8 with no control character but the line break.
bool CleanUtf8(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      if ((b < 0x20 && b != '\n') || b == 0x7F) return false;
      ++i;
      continue;
    }
    int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
    if (len == 0 || b > 0xF4 || i + len > s.size()) return false;
    char32_t c = b & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF))) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    if (c >= 0x80 && c < 0xA0) return false;
    i += len;
  }
  return true;
}

TEST(DvbTextTables, DefaultTableWithDiacriticsBeforeTheLetter) {
  EXPECT_EQ(Decode(B({'C', 'a', 'f', 0xC2, 'e'})), "Caf\u00E9");
  EXPECT_EQ(Decode(B({'M', 0xC8, 'u', 'n', 'c', 'h', 'e', 'n'})), "M\u00FCnchen");
  EXPECT_EQ(Decode(B({'E', 's', 'p', 'a', 0xC4, 'n', 'a'})), "Espa\u00F1a");
  EXPECT_EQ(Decode(B({0xCF, 'C', 'T', '1'})), "\u010CT1");
  EXPECT_EQ(Decode(B({0xCB, 'c', 'a', 0xC3, 'o'})), "\u00E7a\u00F4");
  EXPECT_EQ(Decode(B({0xCA, 'A', 'r', 'h', 'u', 's'})), "\u00C5rhus");
  // No precomposed form: the letter and the combining mark.
  EXPECT_EQ(Decode(B({0xC2, 'x'})), "x\u0301");
  // Without a letter behind it the diacritic is broken; what follows stays.
  EXPECT_EQ(Decode(B({'a', 0xC2})), std::string("a") + kFffd);
  EXPECT_EQ(Decode(B({0xC2, 0x8A, 'b'})), std::string(kFffd) + "\nb");
  EXPECT_EQ(Decode(B({0xC9, 'a'})), std::string(kFffd) + "a");
  // Signs of the upper half, the euro sign at 0xA4.
  EXPECT_EQ(Decode(B({'5', 0xA4})), "5\u20AC");
  EXPECT_EQ(Decode(B({0xA3, 0xA9, 0xB9, 0xD3, 0xD4, 0xE8, 0xFB})), "\u00A3\u2018\u2019\u00A9\u2122\u0141\u00DF");
  EXPECT_EQ(Decode(B({0xC0})), kFffd);
}

TEST(DvbTextTables, ControlCodes) {
  // Emphasis on/off dropped, 0x8A a line break, C0 and DEL dropped.
  EXPECT_EQ(Decode(S("\x86 news\x87\x8Ax\x1B[2\x7F")),
            " news\nx[2");
  EXPECT_EQ(Decode(B({0x05, 0x86, 'K', 'u', 0xFE, 0x87})), "Ku\u015F");
  EXPECT_EQ(Decode(B({0x11, 0x00, 'A', 0xE0, 0x8A, 0x00, 0xE9, 0xE0, 0x86})), "A\n\u00E9");
  EXPECT_EQ(Decode(B({0x15, 'a', 0xC2, 0x8A, 'b', 0xC2, 0x86})), "a\nb");
  EXPECT_EQ(Decode(B({0x13, 0xD6, 0xD0, 0xE0, 0x8A, 0xCE, 0xC4})), "\u4E2D\n\u6587");
}

// Printable ASCII is checked eight bytes at a time: a byte to convert or
// drop is found at every place of a word and of the tail behind the words.
TEST(DvbTextTables, EveryPlaceOfALongTextIsLookedAt) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  const std::pair<int, std::string> odd[] = {{0x7F, ""},        {0x1F, ""},       {0x8A, "\n"},
                                             {0x86, ""},        {0x80, ""},       {0xA4, "\u20AC"},
                                             {0xFF, "\u00AD"}, {0x20, " "},      {0x7E, "~"}};
  for (size_t n = 1; n <= letters.size(); ++n) {
    EXPECT_EQ(Decode(S(letters.substr(0, n))), letters.substr(0, n));
    for (size_t k = 1; k < n; ++k) {
      for (const auto& [byte, text] : odd) {
        std::vector<u8> b = S(letters.substr(0, n));
        b[k] = static_cast<u8>(byte);
        EXPECT_EQ(Decode(b), letters.substr(0, k) + text + letters.substr(k + 1, n - k - 1))
            << "length " << n << ", byte " << byte << " at " << k;
      }
    }
  }
}

TEST(DvbTextTables, Iso8859TablesBySelector) {
  // A French service with ISO/IEC 8859-15: "France Ô".
  EXPECT_EQ(Decode(S("\x0B" "France \xD4")), "France \u00D4");
  EXPECT_EQ(Decode(B({0x0B, 0xA6, 'p', 'o', 'r', 't', 0xA4})), "\u0160port\u20AC");
  EXPECT_EQ(Decode(B({0x01, 0xC0, 0xDE, 0xE1, 0xE1, 0xD8, 0xEF})), "\u0420\u043E\u0441\u0441\u0438\u044F");
  EXPECT_EQ(Decode(B({0x03, 0xC5, 0xD1, 0xD4})), "\u0395\u03A1\u03A4");
  EXPECT_EQ(Decode(B({0x02, 0xC7})), "\u0627");   // 8859-6
  EXPECT_EQ(Decode(B({0x04, 0xE0})), "\u05D0");   // 8859-8
  EXPECT_EQ(Decode(B({0x06, 0xA1})), "\u0104");   // 8859-10
  EXPECT_EQ(Decode(B({0x07, 0xA1})), "\u0E01");   // 8859-11
  EXPECT_EQ(Decode(B({0x09, 0xA1})), "\u201D");   // 8859-13
  EXPECT_EQ(Decode(B({0x0A, 0xA1})), "\u1E02");   // 8859-14
  EXPECT_EQ(Decode(B({0x07, 0xDB})), kFffd);      // a hole of 8859-11
}

TEST(DvbTextTables, SixteenBitTableNumber) {
  // 0x10 0x00 0x02: ISO/IEC 8859-2, and no NUL in front of the name.
  const std::string s = Decode(B({0x10, 0x00, 0x02, 0xA3, 0xF3, 'd', 0xBC}));
  EXPECT_EQ(s, "\u0141\u00F3d\u017A");
  EXPECT_NE(s[0], '\0');
  EXPECT_EQ(Decode(B({0x10, 0x00, 0x01, 'A', 0xE9})), "A\u00E9");
  EXPECT_EQ(Decode(B({0x10, 0x00, 0x0F, 0xA4})), "\u20AC");
  EXPECT_EQ(Decode(B({0x10, 0x00, 0x0C, 'A'})), "[character table 0x10 0x00 0x0C: 41]");
  EXPECT_EQ(Decode(B({0x10, 0x01, 0x01})), "[character table 0x10 0x01 0x01]");
  EXPECT_EQ(Decode(B({0x10, 0x00})), kFffd);
  EXPECT_EQ(Decode(B({0x10})), kFffd);
}

TEST(DvbTextTables, Ucs2BigEndian) {
  EXPECT_EQ(Decode(B({0x11, 0x04, 0x1F, 0x04, 0x35, 0x00, 0x20, 0x20, 0xAC})), "\u041F\u0435 \u20AC");
  EXPECT_EQ(Decode(B({0x11, 0xD8, 0x3D, 0xDE, 0x00})), "\U0001F600");
  EXPECT_EQ(Decode(B({0x11, 0xD8, 0x3D, 0x00, 0x41})), std::string(kFffd) + "A");
  EXPECT_EQ(Decode(B({0x11, 0x00, 0x41, 0x00})), std::string("A") + kFffd);  // half a character
  EXPECT_EQ(Decode(B({0x11, 0x00, 0x00, 0x00, 0x1B, 0x00, 0x9B})), "");
}

TEST(DvbTextTables, Utf8) {
  EXPECT_EQ(Decode(S("\x15\xC3\x87" "a va \xE2\x82\xAC")), "\u00C7a va \u20AC");
  EXPECT_EQ(Decode(B({0x15, 0xC3, 0x28})), std::string(kFffd) + "(");
  EXPECT_EQ(Decode(B({0x15, 'x', 0xE2, 0x82})), std::string("x") + kFffd);  // cut off
  EXPECT_EQ(Decode(B({0x15, 0xC0, 0xAF})), std::string(kFffd) + kFffd);       // overlong
  EXPECT_EQ(Decode(B({0x15, 0xED, 0xA0, 0x80})), std::string(kFffd) + kFffd + kFffd);  // surrogate
  EXPECT_EQ(Decode(B({0x15, 0xF0, 0x9F, 0x98, 0x80})), "\U0001F600");
  EXPECT_EQ(Decode(B({0x15, 0xF4, 0x90, 0x80, 0x80})), std::string(kFffd) + kFffd + kFffd + kFffd);
}

TEST(DvbTextTables, ChineseJapaneseKoreanThroughThePlatform) {
  EXPECT_EQ(Decode(S("\x12KBS \xC7\xD1\xB1\xB9")), "KBS \uD55C\uAD6D");
  EXPECT_EQ(Decode(B({0x13, 0xD6, 0xD0, 0xD1, 0xEB, 0xB5, 0xE7, 0xCA, 0xD3, 0xCC, 0xA8, '1'})),
            "\u4E2D\u592E\u7535\u89C6\u53F0" "1");
  EXPECT_EQ(Decode(B({0x14, 0xA4, 0xA4, 0xB5, 0xD8})), "\u4E2D\u83EF");
  // A lead byte without its trail byte, and one with a trail byte that no
  // table has.
  EXPECT_EQ(Decode(B({0x12, 'A', 0xC7})), std::string("A") + kFffd);
  EXPECT_EQ(Decode(B({0x13, 0xD6, 0x21, 'x'})), std::string(kFffd) + "!x");
  // An undefined pair among good ones: only it is lost.
  EXPECT_EQ(Decode(B({0x12, 0xC7, 0xD1, 0xFF, 0xFF, 0xB1, 0xB9})), std::string("\uD55C") + kFffd + "\uAD6D");
}

TEST(DvbTextTables, TablesTheLibraryDoesNotDecodeShowTheirBytes) {
  EXPECT_EQ(Decode(B({0x1F, 0x05, 0x41, 0xFF})), "[encoding_type_id 0x05: 41 FF]");
  EXPECT_EQ(Decode(B({0x1F, 0x01})), "[encoding_type_id 0x01]");
  EXPECT_EQ(Decode(B({0x1F})), kFffd);
  EXPECT_EQ(Decode(B({0x0C, 0x1B, 0x5B})), "[character table 0x0C: 1B 5B]");
  EXPECT_EQ(Decode(B({0x08, 'a'})), "[character table 0x08: 61]");
  EXPECT_EQ(Decode(B({0x16})), "[character table 0x16]");
  EXPECT_EQ(Decode({}), "");
}

TEST(DvbTextTables, AnyBytesGiveCleanUtf8) {
  // Every selector with random tails, every length up to 40: well-formed
  // UTF-8 without control characters (each decode from an exact-size copy).
  std::mt19937 rng(7);
  for (int selector = 0; selector < 0x100; ++selector) {
    for (int round = 0; round < 40; ++round) {
      std::vector<u8> v{static_cast<u8>(selector)};
      const int n = round;
      for (int k = 0; k < n; ++k) v.push_back(static_cast<u8>(rng()));
      if (round % 4 == 1 && n > 1) v[1] = 0x00;  // 0x10 tables
      if (round % 4 == 2 && n > 2) v[2] = static_cast<u8>(round % 16);
      const std::string s = Decode(v);
      ASSERT_TRUE(CleanUtf8(s)) << "selector " << selector << " round " << round;
    }
  }
}

}  // namespace
