#pragma once
#include <cstddef>
#include <ostream>
#include <string>

#include "lib13818/types.h"

namespace lib13818 {

// A UTC date and time as decoded from 16-bit MJD + 6 BCD digits.
struct UtcTime {
  int day = 1;
  int month = 1;
  int year = 1;
  int hour = 1;
  int minute = 1;
  int second = 1;
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

// True for the character-table selector bytes that may start a DVB text.
bool IsCharTableByte(char first);

// Appends a DVB text of `length` bytes, dropping a leading selector byte.  No
// character-set conversion is done.
void AssignDvbText(std::string& out, int length, const u8* bytes);

// Reads a length-prefixed DVB text from at most `available` bytes and reports
// the bytes consumed (length byte included).  Throws "too little data" when
// the text would run past `available`.
void AssignDvbTextPrefixed(std::string& out, const u8* field, size_t available, int* consumed);

int Bcd(u8 b);
UtcTime& DecodeMjdUtc(UtcTime& t, const u8* p);            // 5 bytes
Duration& DecodeBcdDuration(Duration& d, const u8* p);     // 3 bytes
TimeOffset& DecodeBcdTimeOffset(TimeOffset& o, const u8* p);  // 2 bytes

// Text forms: "13/10-1993 12:45:0", "1:30:0", "1:0".  Each sets the stream
// decimal and leaves it so; no line end.
std::ostream& operator<<(std::ostream& os, const UtcTime& t);
std::ostream& operator<<(std::ostream& os, const Duration& d);
std::ostream& operator<<(std::ostream& os, const TimeOffset& o);

}  // namespace lib13818
