#pragma once
#include <cstddef>
#include <ostream>
#include <string>

#include "lib13818/raw_text.h"
#include "lib13818/types.h"

namespace lib13818 {

// A UTC date and time as decoded from 16-bit MJD + 6 BCD digits.  A field of
// all ones is "undefined" (the start time of an NVOD reference event): then
// `undefined` is set and the six numbers are 0.
struct UtcTime {
  int day = 1;
  int month = 1;
  int year = 1;
  int hour = 1;
  int minute = 1;
  int second = 1;
  bool undefined = false;
};

struct Duration {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};

struct TimeOffset {
  int hours = 0;
  int minutes = 0;
};

// True for the bytes 0x01-0x1F that select a character table when they
// start a DVB text.
bool IsCharTableByte(char first);

// DVB texts (EN 300 468 Annex A) decoded to UTF-8 and appended to `out`:
// the default table (ISO/IEC 6937 with the euro sign at 0xA4), ISO/IEC 8859-5
// to -15 (selectors 0x01-0x0B), 8859-1 to -15 (0x10 and a 16-bit table
// number), UCS-2 big endian (0x11), KS X 1001 (0x12), GB 2312 (0x13), Big5
// (0x14) and UTF-8 (0x15).  0x8A (0xE08A in the two-byte tables) becomes a
// line break, the other control codes are dropped.  A text in a table the
// library does not decode (0x1F with its encoding_type_id, reserved
// selectors) becomes its table and its bytes in hex, e.g.
// "[encoding_type_id 0x05: 41 42]".  A broken or cut-off sequence gives
// U+FFFD; nothing past `length` is read.
void DecodeDvbText(std::string& out, const u8* bytes, size_t length);

// Well-formed UTF-8 (Unicode's table of well-formed byte sequences): the
// length (2-4) of the sequence that starts with p[0], or 0 when p[0] starts
// none; `present` is set to how many of its bytes the `n` bytes at p hold
// well-formed, the lead byte included (the length when it is whole).  n >= 1.
int Utf8Sequence(const u8* p, size_t n, size_t* present);
std::string DvbTextToUtf8(const u8* bytes, size_t length);

// Appends the decoded text of `length` bytes (nothing for length < 1); the
// second form also appends the bytes as they are to `raw`.
void AssignDvbText(std::string& out, int length, const u8* bytes);
void AssignDvbText(Utf8Text& out, RawText& raw, int length, const u8* bytes);

// Reads a length-prefixed DVB text from at most `available` bytes, appends it
// decoded (and its raw bytes) and reports the bytes consumed (length byte
// included).  Throws "too little data" when the text would run past
// `available`.
void AssignDvbTextPrefixed(std::string& out, const u8* field, size_t available, int* consumed);
void AssignDvbTextPrefixed(Utf8Text& out, RawText& raw, const u8* field, size_t available,
                           int* consumed);

int Bcd(u8 b);
// 16-bit MJD and 6 BCD digits (5 bytes).  An MJD below 15079 (1 March 1900)
// is a date after the 16-bit field wrapped in April 2038 (MJD + 65536), as
// equipment carries such dates; so dates run from 1 March 1900 to 4 August 2079.
UtcTime& DecodeMjdUtc(UtcTime& t, const u8* p);
// The date of a modified Julian day (any day from 1 March 1900 on).
void MjdToDate(u32 mjd, int* year, int* month, int* day);
Duration& DecodeBcdDuration(Duration& d, const u8* p);     // 3 bytes
TimeOffset& DecodeBcdTimeOffset(TimeOffset& o, const u8* p);  // 2 bytes

// Text forms: "13/10-1993 12:45:0" (or "undefined"), "1:30:0", "1:0".  Each
// sets the stream decimal and leaves it so; no line end.
std::ostream& operator<<(std::ostream& os, const UtcTime& t);
std::ostream& operator<<(std::ostream& os, const Duration& d);
std::ostream& operator<<(std::ostream& os, const TimeOffset& o);

}  // namespace lib13818
