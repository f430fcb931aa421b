// DVB texts (EN 300 468 Annex A) to UTF-8.
#include <cstring>

#include "cjk_text.h"
#include "lib13818/error.h"
#include "lib13818/text_time.h"

namespace lib13818 {

namespace detail {

void AppendUtf8(std::string& out, char32_t c) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    const char b[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    out.append(b, 2);
  } else if (c < 0x10000) {
    const char b[3] = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                       static_cast<char>(0x80 | (c & 0x3F))};
    out.append(b, 3);
  } else {
    const char b[4] = {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                       static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    out.append(b, 4);
  }
}

}  // namespace detail

namespace {

using detail::AppendUtf8;

#include "iso8859_tables.inc"

constexpr char32_t kReplacement = 0xFFFD;

// Character code table 00 of Annex A: ISO/IEC 6937 with the euro sign at
// 0xA4.  0xC1-0xCF are the non-spacing diacritics (handled apart); 0 marks a
// position without a character.
constexpr char16_t kTable00Upper[96] = {
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x20AC, 0x00A5, 0x0000, 0x00A7,  // A0
    0x00A4, 0x2018, 0x201C, 0x00AB, 0x2190, 0x2191, 0x2192, 0x2193,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00D7, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00F7, 0x2019, 0x201D, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // B8
    0x0000, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307,  // C0
    0x0308, 0x0000, 0x030A, 0x0327, 0x0000, 0x030B, 0x0328, 0x030C,  // C8
    0x2015, 0x00B9, 0x00AE, 0x00A9, 0x2122, 0x266A, 0x00AC, 0x00A6,  // D0
    0x0000, 0x0000, 0x0000, 0x0000, 0x215B, 0x215C, 0x215D, 0x215E,  // D8
    0x2126, 0x00C6, 0x0110, 0x00AA, 0x0126, 0x0000, 0x0132, 0x013F,  // E0
    0x0141, 0x00D8, 0x0152, 0x00BA, 0x00DE, 0x0166, 0x014A, 0x0149,  // E8
    0x0138, 0x00E6, 0x0111, 0x00F0, 0x0127, 0x0131, 0x0133, 0x0140,  // F0
    0x0142, 0x00F8, 0x0153, 0x00DF, 0x00FE, 0x0167, 0x014B, 0x00AD,  // F8
};

// Letters that a diacritic of table 00 combines with, and the precomposed
// characters they give.
struct Composition {
  u8 mark;
  const char* letters;
  const char16_t* composed;
};

constexpr Composition kCompositions[] = {
    {0xC1, "AEIOUaeiouNnWwYy",
     u"\u00C0\u00C8\u00CC\u00D2\u00D9\u00E0\u00E8\u00EC\u00F2\u00F9\u01F8\u01F9\u1E80\u1E81\u1EF2\u1EF3"},
    {0xC2, "ACEGILNORSUWYZacegilnorsuwyz",
     u"\u00C1\u0106\u00C9\u01F4\u00CD\u0139\u0143\u00D3\u0154\u015A\u00DA\u1E82\u00DD\u0179"
     u"\u00E1\u0107\u00E9\u01F5\u00ED\u013A\u0144\u00F3\u0155\u015B\u00FA\u1E83\u00FD\u017A"},
    {0xC3, "ACEGHIJOSUWYaceghijosuwy",
     u"\u00C2\u0108\u00CA\u011C\u0124\u00CE\u0134\u00D4\u015C\u00DB\u0174\u0176"
     u"\u00E2\u0109\u00EA\u011D\u0125\u00EE\u0135\u00F4\u015D\u00FB\u0175\u0177"},
    {0xC4, "AINOUaEeinouYy", u"\u00C3\u0128\u00D1\u00D5\u0168\u00E3\u1EBC\u1EBD\u0129\u00F1\u00F5\u0169\u1EF8\u1EF9"},
    {0xC5, "AEIOUaeiou", u"\u0100\u0112\u012A\u014C\u016A\u0101\u0113\u012B\u014D\u016B"},
    {0xC6, "AEGIOUaegiou", u"\u0102\u0114\u011E\u012C\u014E\u016C\u0103\u0115\u011F\u012D\u014F\u016D"},
    {0xC7, "CEGIZcegz", u"\u010A\u0116\u0120\u0130\u017B\u010B\u0117\u0121\u017C"},
    {0xC8, "AEIOUYaeiouy", u"\u00C4\u00CB\u00CF\u00D6\u00DC\u0178\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF"},
    {0xCA, "AUau", u"\u00C5\u016E\u00E5\u016F"},
    {0xCB, "CGKLNRSTcgklnrst",
     u"\u00C7\u0122\u0136\u013B\u0145\u0156\u015E\u0162\u00E7\u0123\u0137\u013C\u0146\u0157\u015F\u0163"},
    {0xCD, "OUou", u"\u0150\u0170\u0151\u0171"},
    {0xCE, "AEIUaeiu", u"\u0104\u0118\u012E\u0172\u0105\u0119\u012F\u0173"},
    {0xCF, "CDELNRSTZcdelnrstz",
     u"\u010C\u010E\u011A\u013D\u0147\u0158\u0160\u0164\u017D\u010D\u010F\u011B\u013E\u0148\u0159\u0161\u0165\u017E"},
};

struct ComposeTable {
  char16_t c[16][128] = {};
};

constexpr ComposeTable MakeComposeTable() {
  ComposeTable t;
  for (const Composition& k : kCompositions)
    for (int i = 0; k.letters[i] != 0; ++i)
      t.c[k.mark - 0xC0][static_cast<unsigned char>(k.letters[i])] = k.composed[i];
  return t;
}

constexpr ComposeTable kCompose = MakeComposeTable();

// True when one of the eight bytes of `w` is outside 0x20-0x7E.  (A byte
// of 0xFF carries into its neighbour, but its own top bit is set anyway.)
inline bool AnyNonPrintable(std::uint64_t w) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u, kTops = 0x8080808080808080u;
  return (((w - 0x20 * kOnes) & ~w) | (w + kOnes) | w) & kTops;
}

// The length of the printable ASCII run at p, eight bytes a step.
inline size_t PrintableRun(const u8* p, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    if (AnyNonPrintable(w)) break;
  }
  while (i < n && p[i] >= 0x20 && p[i] < 0x7F) ++i;
  return i;
}

// Appends the printable ASCII run at p, returns its length.
inline size_t AsciiRun(std::string& out, const u8* p, size_t n) {
  const size_t i = PrintableRun(p, n);
  if (i) out.append(reinterpret_cast<const char*>(p), i);
  return i;
}

// Control codes of the one-byte tables: 0x8A is a line break; the rest of
// 0x80-0x9F (emphasis on/off among them), C0 and DEL carry no character.
inline void Control(std::string& out, u8 b) {
  if (b == 0x8A) out.push_back('\n');
}

// Table 00 (part 0) or ISO/IEC 8859 part 1-15.
void DecodeOneByte(std::string& out, const u8* p, size_t n, int part) {
  size_t i = 0;
  while (i < n) {
    i += AsciiRun(out, p + i, n - i);
    if (i >= n) break;
    const u8 b = p[i++];
    if (b < 0xA0) {
      Control(out, b);
      continue;
    }
    if (part != 0) {
      AppendUtf8(out, kIso8859Upper[part][b - 0xA0]);
      continue;
    }
    if (b >= 0xC1 && b <= 0xCF) {
      const char16_t mark = kTable00Upper[b - 0xA0];
      if (mark == 0) {
        AppendUtf8(out, kReplacement);
        continue;
      }
      // A diacritic stands before its letter; without a letter behind it the
      // sequence is broken.
      if (i >= n || p[i] < 0x20 || p[i] >= 0x7F) {
        AppendUtf8(out, kReplacement);
        continue;
      }
      const u8 letter = p[i++];
      const char16_t composed = kCompose.c[b - 0xC0][letter];
      if (composed != 0) {
        AppendUtf8(out, composed);
      } else {
        out.push_back(static_cast<char>(letter));
        AppendUtf8(out, mark);
      }
      continue;
    }
    const char16_t c = kTable00Upper[b - 0xA0];
    AppendUtf8(out, c != 0 ? c : kReplacement);
  }
}

// Two-byte controls of the UCS-2 and CJK tables: 0xE08A is a line break, the
// rest of 0xE080-0xE09F carries no character.
inline bool TwoByteControl(std::string& out, char32_t c) {
  if (c < 0xE080 || c > 0xE09F) return false;
  if (c == 0xE08A) out.push_back('\n');
  return true;
}

// A code point from UCS-2 or UTF-8: controls dropped (U+008A a line break).
inline void Unicode(std::string& out, char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
    if (c == 0x8A) out.push_back('\n');
    return;
  }
  if (TwoByteControl(out, c)) return;
  AppendUtf8(out, c);
}

void DecodeUcs2(std::string& out, const u8* p, size_t n) {
  size_t i = 0;
  for (; i + 1 < n; i += 2) {
    char32_t c = static_cast<char32_t>(Get16(p + i));
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < n) {
      const char32_t low = Get16(p + i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    Unicode(out, c);  // a lone surrogate becomes U+FFFD there
  }
  if (i < n) AppendUtf8(out, kReplacement);  // half a character at the end
}

}  // namespace

int Utf8Sequence(const u8* p, size_t n, size_t* present) {
  const u8 b = p[0];
  int len = 0;
  u8 lo = 0x80, hi = 0xBF;  // the second byte's range
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  }
  size_t k = 1;
  for (; k < static_cast<size_t>(len) && k < n; ++k) {
    const u8 t = p[k];
    if (k == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF)) break;
  }
  *present = k;
  return len;
}

namespace {

void DecodeUtf8(std::string& out, const u8* p, size_t n) {
  size_t i = 0;
  while (i < n) {
    i += AsciiRun(out, p + i, n - i);
    if (i >= n) break;
    const u8 b = p[i];
    if (b < 0x80) {  // C0 or DEL
      ++i;
      continue;
    }
    // Anything not well-formed is one U+FFFD per maximal ill-formed subpart.
    size_t k = 0;
    const int len = Utf8Sequence(p + i, n - i, &k);
    if (k != static_cast<size_t>(len)) {  // len 0: k is 1
      AppendUtf8(out, kReplacement);
      i += k;
      continue;
    }
    char32_t c = b & (0x7F >> len);
    for (size_t j = 1; j < k; ++j) c = (c << 6) | (p[i + j] & 0x3F);
    i += k;
    Unicode(out, c);
  }
}

// KS X 1001, GB 2312 and Big5: one byte below 0x80, else a lead byte and a
// trail byte.  Runs without control codes go to the platform in one call; a
// run it refuses is taken again character by character.
void DecodeCjk(std::string& out, u8 selector, const u8* p, size_t n) {
  auto flush = [&](size_t from, size_t to) {
    if (from == to || detail::ConvertCjk(selector, p + from, to - from, out)) return;
    size_t k = from;
    while (k < to) {
      if (p[k] < 0x80) {  // a trail byte left over from a bad pair may be DEL
        if (p[k] >= 0x20 && p[k] < 0x7F) out.push_back(static_cast<char>(p[k]));
        ++k;
        continue;
      }
      if (detail::ConvertCjk(selector, p + k, 2, out)) {
        k += 2;
        continue;
      }
      AppendUtf8(out, kReplacement);
      // An ASCII byte behind a bad lead byte of the EUC tables is itself.
      k += (p[k + 1] >= 0x80 || selector == 0x14) ? 2 : 1;
    }
  };
  size_t run = 0, i = 0;
  while (i < n) {
    const u8 b = p[i];
    if (b >= 0x20 && b < 0x7F) {
      ++i;
      continue;
    }
    if (b < 0x80) {  // C0, DEL
      flush(run, i);
      run = ++i;
      continue;
    }
    if (i + 1 >= n) {  // a lead byte without its trail byte
      flush(run, i);
      AppendUtf8(out, kReplacement);
      run = ++i;
      continue;
    }
    const u8 t = p[i + 1];
    if (b == 0xE0 && t >= 0x80 && t <= 0x9F) {
      flush(run, i);
      TwoByteControl(out, 0xE000u | t);
      run = i += 2;
      continue;
    }
    if (b < 0xA0 && selector != 0x14) {  // one-byte control codes
      flush(run, i);
      Control(out, b);
      run = ++i;
      continue;
    }
    if (t < 0x40) {  // no table has such a trail byte: the lead byte alone is bad
      flush(run, i);
      AppendUtf8(out, kReplacement);
      run = ++i;
      continue;
    }
    i += 2;
  }
  flush(run, n);
}

const char kHex[] = "0123456789ABCDEF";

// A text in a character table the library does not decode: its name and
// its bytes in hex, e.g. "[encoding_type_id 0x05: 41 42]".
void Undecoded(std::string& out, const char* what, const u8* head, size_t headSize, const u8* p,
               size_t n) {
  out += '[';
  out += what;
  for (size_t k = 0; k < headSize; ++k) {
    out += " 0x";
    out += kHex[head[k] >> 4];
    out += kHex[head[k] & 15];
  }
  out += n ? ":" : "";
  for (size_t k = 0; k < n; ++k) {
    out += ' ';
    out += kHex[p[k] >> 4];
    out += kHex[p[k] & 15];
  }
  out += ']';
}

}  // namespace

bool IsCharTableByte(char first) {
  const unsigned char c = static_cast<unsigned char>(first);
  return c >= 0x01 && c <= 0x1F;
}

void DecodeDvbText(std::string& out, const u8* p, size_t n) {
  if (n == 0) return;
  const u8 first = p[0];
  if (first >= 0x20 || first == 0x00) {
    // Most texts are printable ASCII of the default table, as they are.
    const size_t run = PrintableRun(p, n);
    if (run == n) {
      out.append(reinterpret_cast<const char*>(p), n);
      return;
    }
    out.reserve(out.size() + n + n / 2);
    out.append(reinterpret_cast<const char*>(p), run);
    DecodeOneByte(out, p + run, n - run, 0);
    return;
  }
  // Most texts come out about as long as they go in: one allocation.
  out.reserve(out.size() + n);
  switch (first) {
    case 0x01: case 0x02: case 0x03: case 0x04: case 0x05: case 0x06: case 0x07:
    case 0x09: case 0x0A: case 0x0B:
      DecodeOneByte(out, p + 1, n - 1, first + 4);  // ISO/IEC 8859-5 to -15
      return;
    case 0x10:
      if (n < 3) {
        AppendUtf8(out, kReplacement);  // the table number is cut off
        return;
      }
      if (p[1] == 0x00 && p[2] >= 1 && p[2] <= 15 && p[2] != 12) {
        DecodeOneByte(out, p + 3, n - 3, p[2]);
        return;
      }
      Undecoded(out, "character table", p, 3, p + 3, n - 3);
      return;
    case 0x11:
      DecodeUcs2(out, p + 1, n - 1);
      return;
    case 0x12: case 0x13: case 0x14:
      DecodeCjk(out, first, p + 1, n - 1);
      return;
    case 0x15:
      DecodeUtf8(out, p + 1, n - 1);
      return;
    case 0x1F:
      if (n < 2) {
        AppendUtf8(out, kReplacement);  // encoding_type_id is cut off
        return;
      }
      Undecoded(out, "encoding_type_id", p + 1, 1, p + 2, n - 2);
      return;
    default:  // reserved selectors
      Undecoded(out, "character table", p, 1, p + 1, n - 1);
      return;
  }
}

std::string DvbTextToUtf8(const u8* bytes, size_t length) {
  std::string s;
  DecodeDvbText(s, bytes, length);
  return s;
}

void AssignDvbText(std::string& out, int length, const u8* bytes) {
  if (length < 1) return;
  DecodeDvbText(out, bytes, static_cast<size_t>(length));
}

void AssignDvbText(Utf8Text& out, RawText& raw, int length, const u8* bytes) {
  if (length < 1) return;
  const size_t n = static_cast<size_t>(length);
  raw.append(reinterpret_cast<const char*>(bytes), n);
  // Printable ASCII of the default table is its own text; anything else is
  // decoded apart and then stored once.
  if (bytes[0] >= 0x20 && PrintableRun(bytes, n) == n) {
    out.append(reinterpret_cast<const char*>(bytes), n);
    return;
  }
  thread_local std::string decoded;
  decoded.clear();
  DecodeDvbText(decoded, bytes, n);
  out.append(decoded.data(), decoded.size());
}

void AssignDvbTextPrefixed(std::string& out, const u8* field, size_t available, int* consumed) {
  if (available < 1) throw error("too little data");
  const int n = field[0];
  if (static_cast<size_t>(n) + 1 > available) throw error("too little data");
  AssignDvbText(out, n, field + 1);
  *consumed = n + 1;
}

void AssignDvbTextPrefixed(Utf8Text& out, RawText& raw, const u8* field, size_t available,
                           int* consumed) {
  if (available < 1) throw error("too little data");
  const int n = field[0];
  if (static_cast<size_t>(n) + 1 > available) throw error("too little data");
  AssignDvbText(out, raw, n, field + 1);
  *consumed = n + 1;
}

}  // namespace lib13818
