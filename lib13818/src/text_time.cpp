#include "lib13818/text_time.h"

#include "lib13818/error.h"

namespace lib13818 {

int Bcd(u8 b) { return (b >> 4) * 10 + (b & 0x0F); }

namespace {

// Month and day of each day of a year counted from 1 March (366 days, the
// last one 29 February): month << 8 | day.
struct MarchYear {
  u16 monthDay[366];
};

constexpr MarchYear MakeMarchYear() {
  MarchYear t{};
  for (u32 doy = 0; doy < 366; ++doy) {
    const u32 mp = (5u * doy + 2u) / 153u;
    const u32 d = doy - (153u * mp + 2u) / 5u + 1u;
    const u32 m = mp < 10u ? mp + 3u : mp - 9u;
    t.monthDay[doy] = static_cast<u16>(m << 8 | d);
  }
  return t;
}

constexpr MarchYear kMarchYear = MakeMarchYear();

}  // namespace

void MjdToDate(u32 mjd, int* year, int* month, int* day) {
  // From 1 March 1900 to 28 February 2100 (every date a 16-bit MJD reaches,
  // either side of the 2038 wrap) every fourth year is a leap year: the year
  // from the 1461 days of four, month and day from a table of the year
  // counted from March.
  constexpr u32 kMarch1900 = 15079;
  constexpr u32 kDays = 73049;  // 1 March 1900 to 28 February 2100
  if (mjd - kMarch1900 < kDays) {
    const u32 d = mjd - kMarch1900;
    const u32 y = (4u * d + 3u) / 1461u;
    const u32 md = kMarchYear.monthDay[d - (1461u * y) / 4u];
    *day = static_cast<int>(md & 0xFF);
    *month = static_cast<int>(md >> 8);
    *year = static_cast<int>(1900u + y + (md >> 8 <= 2u ? 1u : 0u));
    return;
  }
  // Days from 1 March of year 0 of the proleptic Gregorian calendar, then
  // 400-year eras, years of the era and days of the year counted from March:
  // whole numbers only, exact for every day.  MJD 0 is 17 November 1858.
  const u32 z = mjd + 678881u;  // 678881 = days from 1 March 0 to 17 November 1858
  const u32 era = z / 146097u;
  const u32 doe = z - era * 146097u;
  const u32 yoe = (doe - doe / 1460u + doe / 36524u - doe / 146096u) / 365u;
  const u32 doy = doe - (365u * yoe + yoe / 4u - yoe / 100u);
  const u32 mp = (5u * doy + 2u) / 153u;
  *day = static_cast<int>(doy - (153u * mp + 2u) / 5u + 1u);
  *month = static_cast<int>(mp < 10u ? mp + 3u : mp - 9u);
  *year = static_cast<int>(yoe + era * 400u + (*month <= 2 ? 1u : 0u));
}

UtcTime& DecodeMjdUtc(UtcTime& t, const u8* p) {
  if (Get32(p) == 0xFFFFFFFFu && p[4] == 0xFF) {
    t = UtcTime{0, 0, 0, 0, 0, 0, true};
    return t;
  }
  u32 mjd = Get16(p);
  if (mjd < 15079) mjd += 65536;  // past the wrap of April 2038
  MjdToDate(mjd, &t.year, &t.month, &t.day);
  t.undefined = false;
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
  os << std::dec;
  if (t.undefined) return os << "undefined";
  os << t.day << "/" << t.month << "-" << t.year << " " << t.hour << ":" << t.minute
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
