#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "lib13818/error.h"

using lib13818::error;

TEST(Error, ConstructorsFillCodePositionAndText) {
  error text("crc error");
  EXPECT_EQ(text.code, -1);
  EXPECT_EQ(text.position, -1);
  EXPECT_STREQ(text.what(), "crc error");

  error bit(2, 1);
  EXPECT_EQ(bit.code, 2);
  EXPECT_EQ(bit.position, 1);
  EXPECT_STREQ(bit.what(), "");

  error rule(3, "Pat parse error");
  EXPECT_EQ(rule.code, 3);
  EXPECT_EQ(rule.position, -1);
  EXPECT_STREQ(rule.what(), "Pat parse error");

  error copy = rule;
  EXPECT_EQ(copy.code, 3);
  EXPECT_EQ(copy.position, -1);
  EXPECT_EQ(copy.message, "Pat parse error");
}

namespace {

std::string TraceOutput(unsigned flags, int maxLevel, int level) {
  std::FILE* f = std::tmpfile();
  lib13818::TraceConfigure(flags, maxLevel, f, true);
  EXPECT_EQ(lib13818::TraceLog(level, "crc error, got %#x expected 0xffffffff", 0x1234u), 0);
  lib13818::TraceConfigure(0, 0, nullptr, false);
  std::string text;
  std::rewind(f);
  for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
  std::fclose(f);
  return text;
}

}  // namespace

TEST(TraceLog, WritesNothingUntilConfigured) {
  auto s = lib13818::TraceGetSettings();
  EXPECT_EQ(s.maxLevel, 0);
  EXPECT_FALSE(s.fileOpen);
  EXPECT_EQ(lib13818::TraceLog(1, "x"), 0);
}

TEST(TraceLog, LevelFilterAndLineFormat) {
  EXPECT_EQ(TraceOutput(0, 2, 3), "");
  EXPECT_EQ(TraceOutput(0, 2, 0), "");
  std::string line = TraceOutput(0, 2, 2);
  ASSERT_GE(line.size(), 26u);
  // "YYYY.MM.DD,hh:mm:ss,mmm," then the quoted message and CR LF.
  EXPECT_EQ(line[4], '.');
  EXPECT_EQ(line[10], ',');
  EXPECT_EQ(line[23], ',');
  EXPECT_EQ(line.substr(24), "\"crc error, got 0x1234 expected 0xffffffff\"\r\n");
}

TEST(TraceLog, OptionalColumnsInFixedOrder) {
  std::string line = TraceOutput(0x184, 5, 1);
  // time, thread id, level number, level name, message
  size_t thread = line.find("\"0x", 24);
  size_t number = line.find(",1,\"error  \",");
  size_t message = line.find("\"crc error");
  ASSERT_NE(thread, std::string::npos);
  ASSERT_NE(number, std::string::npos);
  EXPECT_LT(thread, number);
  EXPECT_LT(number, message);
  EXPECT_EQ(line.find("\"0x", thread + 1), std::string::npos) << "no process id without 0x8";

  std::string withPid = TraceOutput(0x8 | 0x4, 5, 1);
  size_t first = withPid.find("\"0x");
  EXPECT_NE(withPid.find("\"0x", first + 1), std::string::npos);
}
