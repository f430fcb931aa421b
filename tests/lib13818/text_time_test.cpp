#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "lib13818/error.h"
#include "lib13818/text_time.h"

using namespace lib13818;

namespace {
std::string Text(const UtcTime& t) {
  std::ostringstream os;
  os << t;
  return os.str();
}
UtcTime Mjd(u8 hi, u8 lo, u8 h = 0, u8 m = 0, u8 s = 0) {
  const u8 b[5] = {hi, lo, h, m, s};
  UtcTime t;
  return DecodeMjdUtc(t, b);
}
}  // namespace

TEST(UtcTime, DecodesMjdAndBcd) {
  UtcTime t = Mjd(0xC0, 0x79, 0x12, 0x45, 0x00);
  EXPECT_EQ(t.day, 13);
  EXPECT_EQ(t.month, 10);
  EXPECT_EQ(t.year, 1993);
  EXPECT_EQ(t.hour, 12);
  EXPECT_EQ(t.minute, 45);
  EXPECT_EQ(t.second, 0);
  EXPECT_EQ(Text(t), "13/10-1993 12:45:0");

  EXPECT_EQ(Text(Mjd(0xFF, 0xFF)), "22/4-2038 0:0:0");
  EXPECT_EQ(Text(Mjd(15079 >> 8, 15079 & 0xFF)), "1/3-1900 0:0:0");
}

TEST(UtcTime, DatesPastThe2038WrapAndUndefinedTimes) {
  // Below 1 March 1900 the 16-bit MJD has wrapped: 22 April 2038 is followed
  // by 23 April 2038 at MJD 0.
  UtcTime zero = Mjd(0, 0, 0x06, 0x30, 0x15);
  EXPECT_EQ(Text(zero), "23/4-2038 6:30:15");
  EXPECT_FALSE(zero.undefined);
  EXPECT_EQ(Text(Mjd(0x00, 0x01)), "24/4-2038 0:0:0");
  EXPECT_EQ(Text(Mjd(0x00, 0xFD)), "1/1-2039 0:0:0");  // 253 + 65536
  EXPECT_EQ(Text(Mjd(15078 >> 8, 15078 & 0xFF)), "4/8-2079 0:0:0");
  EXPECT_EQ(Text(Mjd(0xFF, 0xFF, 0x23, 0x59, 0x59)), "22/4-2038 23:59:59");

  // All 40 bits set: the start time of an NVOD reference event.
  UtcTime undefined = Mjd(0xFF, 0xFF, 0xFF, 0xFF, 0xFF);
  EXPECT_TRUE(undefined.undefined);
  EXPECT_EQ(undefined.year, 0);
  EXPECT_EQ(Text(undefined), "undefined");
  // A record used again loses the mark with the next real date.
  DecodeMjdUtc(undefined, std::vector<u8>{0xC0, 0x79, 0x12, 0x45, 0x00}.data());
  EXPECT_FALSE(undefined.undefined);
  EXPECT_EQ(Text(undefined), "13/10-1993 12:45:0");
  // Only the whole field of ones is undefined.
  EXPECT_EQ(Text(Mjd(0xFF, 0xFF, 0xFF, 0xFF, 0xFE)), "22/4-2038 165:165:164");
}

TEST(UtcTime, DefaultIsAllOnes) {
  UtcTime t;
  EXPECT_EQ(Text(t), "1/1-1 1:1:1");
}

TEST(UtcTime, AgreesWithCivilCalendarOverTheWholeRange) {
  // Every MJD from 1 March 1900 to the end of the 16-bit range against a
  // straightforward day count.
  auto civil = [](long mjd, int& y, int& m, int& d) {
    long z = mjd + 2400001 + 32044;  // Julian day number based conversion
    long a = z;
    long b = (4 * a + 3) / 146097;
    long c = a - 146097 * b / 4;
    long dd = (4 * c + 3) / 1461;
    long e = c - 1461 * dd / 4;
    long mm = (5 * e + 2) / 153;
    d = static_cast<int>(e - (153 * mm + 2) / 5 + 1);
    m = static_cast<int>(mm + 3 - 12 * (mm / 10));
    y = static_cast<int>(100 * b + dd - 4800 + mm / 10);
  };
  for (long mjd = 0; mjd <= 0xFFFF; ++mjd) {
    UtcTime t = Mjd(static_cast<u8>(mjd >> 8), static_cast<u8>(mjd));
    int y, m, d;
    civil(mjd < 15079 ? mjd + 65536 : mjd, y, m, d);
    ASSERT_EQ(t.year, y) << mjd;
    ASSERT_EQ(t.month, m) << mjd;
    ASSERT_EQ(t.day, d) << mjd;
  }
  // Past the 16-bit range: across 2100 (no leap year) and on into 2110.
  for (long mjd = 15079; mjd <= 15079 + 73049 + 3650; ++mjd) {
    int year = 0, month = 0, day = 0, y, m, d;
    MjdToDate(static_cast<u32>(mjd), &year, &month, &day);
    civil(mjd, y, m, d);
    ASSERT_EQ(year, y) << mjd;
    ASSERT_EQ(month, m) << mjd;
    ASSERT_EQ(day, d) << mjd;
  }
  int year = 0, month = 0, day = 0;
  MjdToDate(88127, &year, &month, &day);
  EXPECT_EQ(year * 10000 + month * 100 + day, 21000228);
  MjdToDate(88128, &year, &month, &day);
  EXPECT_EQ(year * 10000 + month * 100 + day, 21000301);
}

TEST(Bcd, NoDigitCheck) {
  EXPECT_EQ(Bcd(0x59), 59);
  EXPECT_EQ(Bcd(0x0A), 10);
  EXPECT_EQ(Bcd(0xFF), 165);
  const u8 d[3] = {0x01, 0x30, 0x05};
  Duration du;
  DecodeBcdDuration(du, d);
  std::ostringstream os;
  os << std::hex << du;
  EXPECT_EQ(os.str(), "1:30:5");
  const u8 o[2] = {0x02, 0x30};
  TimeOffset to;
  DecodeBcdTimeOffset(to, o);
  std::ostringstream os2;
  os2 << to;
  EXPECT_EQ(os2.str(), "2:30");
}

TEST(UtcTime, PrintingLeavesStreamDecimal) {
  std::ostringstream os;
  os << std::hex << Mjd(0xC0, 0x79) << " " << 255;
  EXPECT_EQ(os.str(), "13/10-1993 0:0:0 255");
}

TEST(DvbText, ALeadingSelectorChoosesTheTableAndControlBytesAreDropped) {
  const u8 a[] = {0x05, 0x41, 0x42};
  Utf8Text field;
  RawText raw;
  AssignDvbText(field, raw, 3, a);
  EXPECT_EQ(field, "AB");
  EXPECT_EQ(raw, std::string("\x05" "AB", 3));
  AssignDvbText(field, raw, 3, a);  // appends, the text stays terminated
  EXPECT_STREQ(field.c_str(), "ABAB");
  EXPECT_EQ(field.size(), 4u);
  const u8 plain[] = {'C', 'D'};
  AssignDvbText(field, raw, 2, plain);
  EXPECT_STREQ(field.c_str(), "ABABCD");
  EXPECT_EQ(std::string(field), "ABABCD");

  std::string s;
  const u8 b[] = {0x41, 0x05, 0x42};
  AssignDvbText(s, 3, b);
  EXPECT_EQ(s, "AB");

  s = "keep";
  AssignDvbText(s, 0, a);
  EXPECT_EQ(s, "keep");

  EXPECT_TRUE(IsCharTableByte(0x10));
  EXPECT_TRUE(IsCharTableByte(0x1F));
  EXPECT_TRUE(IsCharTableByte(0x07));
  EXPECT_FALSE(IsCharTableByte(0x00));
  EXPECT_FALSE(IsCharTableByte(0x20));
  EXPECT_FALSE(IsCharTableByte(static_cast<char>(0x80)));
  EXPECT_FALSE(IsCharTableByte(static_cast<char>(0xFF)));
}

TEST(DvbText, PrefixedTextIsBoundedByTheBytesAvailable) {
  const u8 empty[] = {0x00};
  std::string s;
  int consumed = -1;
  AssignDvbTextPrefixed(s, empty, 1, &consumed);
  EXPECT_EQ(consumed, 1);
  EXPECT_EQ(s, "");

  const u8 sel[] = {0x03, 0x10, 0x00, 0x01};
  AssignDvbTextPrefixed(s, sel, sizeof sel, &consumed);
  EXPECT_EQ(consumed, 4);
  EXPECT_EQ(s, "");  // 0x10 0x00 0x01: ISO/IEC 8859-1, no character

  // The length byte claims more than there is.
  std::string t;
  EXPECT_THROW(AssignDvbTextPrefixed(t, sel, 3, &consumed), error);
  EXPECT_THROW(AssignDvbTextPrefixed(t, sel, 0, &consumed), error);
  EXPECT_EQ(t, "");
}
