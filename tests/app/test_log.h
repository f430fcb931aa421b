#pragma once
// The program's log as the tests read it, and the COM servers every program
// test registers.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "test_support.h"

namespace orb_test {

// The log's lines without the line number, time and seconds prefixes
// ("<level> - text"); each line's format and number are checked on the way.
inline std::vector<std::string> ReadLogLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  const std::regex prefixes(
      " *([0-9]+) - [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[ 0-9]{2}[0-9] - "
      "\\(-?[0-9]+\\.[0-9]{3}\\) - (<[0-9]> - .*)");
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch m;
    if (!std::regex_match(line, m, prefixes)) {
      ADD_FAILURE() << "unexpected log line: " << line;
      continue;
    }
    EXPECT_EQ(std::stoi(m[1]), static_cast<int>(lines.size()) + 1) << line;
    lines.push_back(m[2]);
  }
  return lines;
}

// COM for the whole test program, with the satellite list manager and the
// fake driver registered from their copies beside it.
class ServersEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    ASSERT_TRUE(RegisterServerBeside(L"orbsatlist.dll"));
    ASSERT_TRUE(RegisterServerBeside(L"orbfakedrv.dll"));
  }
  void TearDown() override { ::CoUninitialize(); }
};

}  // namespace orb_test
