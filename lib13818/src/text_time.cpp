#include "lib13818/text_time.h"

#include "lib13818/error.h"

namespace lib13818 {

int Bcd(u8 b) { return (b >> 4) * 10 + (b & 0x0F); }

UtcTime& DecodeMjdUtc(UtcTime& t, const u8* p) {
  const double mjd = static_cast<double>(Get16(p));
  const int y = static_cast<int>((mjd - 15078.2) / 365.25);
  const int m = static_cast<int>((mjd - 14956.1 - static_cast<int>(y * 365.25)) / 30.6001);
  t.day = static_cast<int>(mjd) - 14956 - static_cast<int>(y * 365.25) -
          static_cast<int>(m * 30.6001);
  const int k = (m == 14 || m == 15) ? 1 : 0;
  t.year = y + k + 1900;
  t.month = m - 1 - 12 * k;
  t.hour = Bcd(p[2]);
  t.minute = Bcd(p[3]);
  t.second = Bcd(p[4]);
  return t;
}

Duration& DecodeBcdDuration(Duration& d, const u8* p) {
  d.hours = Bcd(p[0]);
  d.minutes = Bcd(p[1]);
  d.seconds = Bcd(p[2]);
  return d;
}

TimeOffset& DecodeBcdTimeOffset(TimeOffset& o, const u8* p) {
  o.hours = Bcd(p[0]);
  o.minutes = Bcd(p[1]);
  return o;
}

std::ostream& operator<<(std::ostream& os, const UtcTime& t) {
  os << std::dec << t.day << "/" << t.month << "-" << t.year << " " << t.hour << ":" << t.minute
     << ":" << t.second;
  return os;
}

std::ostream& operator<<(std::ostream& os, const Duration& d) {
  os << std::dec << d.hours << ":" << d.minutes << ":" << d.seconds;
  return os;
}

std::ostream& operator<<(std::ostream& os, const TimeOffset& o) {
  os << std::dec << o.hours << ":" << o.minutes;
  return os;
}

}  // namespace lib13818
