// CLog: results of Open and Close, levels, prefixes, file handling.
#include "orb_common/Log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>


namespace {
bool Matches(const std::string& text, const char* pattern) {
  return std::regex_match(text, std::regex(pattern));
}
}  // namespace

namespace {

// A fresh folder of the test's own under the temporary directory.
class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, tmp);
    dir_ = std::string(tmp) + "orblog" + std::to_string(::GetCurrentProcessId()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ::CreateDirectoryA(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((dir_ + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          ::DeleteFileA((dir_ + "\\" + fd.cFileName).c_str());
      } while (::FindNextFileA(h, &fd));
      ::FindClose(h);
    }
    ::RemoveDirectoryA(dir_.c_str());
  }
  std::string Path(const char* name) const { return dir_ + "\\" + name; }
  static bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();  // text mode: CR LF
      lines.push_back(line);
    }
    return lines;
  }
  std::string dir_;
};

}  // namespace

TEST_F(LogTest, OpenResults) {
  CLog log;
  EXPECT_EQ(log.Open(Path("a.txt").c_str(), 0, 15, 4), CLog::kNoFlags);
  EXPECT_FALSE(Exists(Path("a.txt")));
  EXPECT_EQ(log.Open(Path("a.txt").c_str(), CLog::kDeleteUnused, 15, 4), CLog::kNoOutput);
  EXPECT_EQ(log.Close(), CLog::kNotOpen);

  EXPECT_EQ(log.Open(Path("a.txt").c_str(), 0x41, 0, 4), CLog::kOk);
  // A second Open keeps the first file.
  EXPECT_EQ(log.Open(Path("b.txt").c_str(), 0x41, 0, 4), CLog::kAlreadyOpen);
  EXPECT_FALSE(Exists(Path("b.txt")));
  log.Log(1, "one");
  EXPECT_EQ(log.Close(), CLog::kOk);
  EXPECT_EQ(log.Close(), CLog::kNotOpen);
  EXPECT_EQ(Lines(Path("a.txt")), std::vector<std::string>{"one"});

  // Reopened after Close; truncates without the append flag.
  EXPECT_EQ(log.Open(Path("a.txt").c_str(), 0x01, 0, 4), CLog::kOk);
  log.Log(1, "two");
  log.Close();
  EXPECT_EQ(Lines(Path("a.txt")), std::vector<std::string>{"two"});
  EXPECT_EQ(log.Open(Path("a.txt").c_str(), 0x11, 0, 4), CLog::kOk);
  log.Log(1, "three");
  log.Close();
  EXPECT_EQ(Lines(Path("a.txt")), (std::vector<std::string>{"two", "three"}));

  EXPECT_EQ(log.Open(Path("no\\such\\folder.txt").c_str(), 0x01, 0, 4), CLog::kOpenFailed);
  EXPECT_FALSE(log.IsOpen());
}

TEST_F(LogTest, DebuggerOnlyNeedsNoFile) {
  CLog log;
  EXPECT_EQ(log.Open(nullptr, CLog::kDebugger, 15, 4), CLog::kOk);
  log.Log(1, "to the debugger only");
  EXPECT_EQ(log.Close(), CLog::kNotOpen);
}

TEST_F(LogTest, LevelsDecideWhatIsWritten) {
  CLog log;
  ASSERT_EQ(log.Open(Path("levels.txt").c_str(), 0x01, CLog::kPrefixLineNumber, 0), CLog::kOk);
  log.Log(1, "not at level 0");
  log.SetLevel(4);
  log.Log(1, "failure");
  log.Log(5, "too detailed");
  log.Log(4, "detail %d", 4);
  log.SetLevel(-1);
  log.Log(0, "nothing at a negative level");
  log.Log(-2, "nothing either");
  log.SetLevel(2);
  EXPECT_EQ(log.WriteLine("raw", 2), 0u);
  log.Close();
  // Skipped lines do not advance the count.
  EXPECT_EQ(Lines(Path("levels.txt")),
            (std::vector<std::string>{"   1 - failure", "   2 - detail 4", "   3 - raw"}));
}

TEST_F(LogTest, PrefixesStandInTheirOrder) {
  CLog log;
  ASSERT_EQ(log.Open(Path("prefix.txt").c_str(), 0x41, 15, 4), CLog::kOk);
  log.Log(2, "Starting %s", "Orbisect 3");
  log.Log(4, "wide %S, %ld, %#x", L"Astra 19E", 7L, 0x80004005u);
  log.Close();
  ASSERT_EQ(Lines(Path("prefix.txt")).size(), 2u);
  EXPECT_TRUE(Matches(Lines(Path("prefix.txt"))[0],
              "   1 - [A-Z][a-z][a-z] [ 0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]"
                           "\\.[ 0-9][ 0-9][0-9] - \\([0-9]+\\.[0-9][0-9][0-9]\\) - <2> - "
                           "Starting Orbisect 3"))
      << Lines(Path("prefix.txt"))[0];
  EXPECT_TRUE(Matches(Lines(Path("prefix.txt"))[1],
                      "   2 - .* - <4> - wide Astra 19E, 7, 0x80004005"))
      << Lines(Path("prefix.txt"))[1];

  ASSERT_EQ(log.Open(Path("indent.txt").c_str(), 0x01, CLog::kPrefixLevel | CLog::kPrefixIndent, 4),
            CLog::kOk);
  log.Log(2, "two");
  log.Log(0, "zero");
  log.Close();
  EXPECT_EQ(Lines(Path("indent.txt")),
            (std::vector<std::string>{"<2> -       two", "<0> -  zero"}));
}

TEST_F(LogTest, LongLinesAreKeptWhole) {
  CLog log;
  ASSERT_EQ(log.Open(Path("long.txt").c_str(), 0x01, CLog::kPrefixLevel, 4), CLog::kOk);
  const std::string text(5000, 'x');
  log.Log(1, "%s|", text.c_str());
  log.Close();
  EXPECT_EQ(Lines(Path("long.txt")), std::vector<std::string>{"<1> - " + text + "|"});
}

TEST_F(LogTest, UnusedNewFileIsDeleted) {
  CLog log;
  ASSERT_EQ(log.Open(Path("unused.txt").c_str(), 0x49, 15, 4), CLog::kOk);
  EXPECT_TRUE(Exists(Path("unused.txt")));
  EXPECT_EQ(log.Close(), CLog::kOk);
  EXPECT_FALSE(Exists(Path("unused.txt")));

  // A file that already held data stays (append).
  {
    std::ofstream(Path("kept.txt")) << "earlier\n";
  }
  ASSERT_EQ(log.Open(Path("kept.txt").c_str(), 0x59, 15, 4), CLog::kOk);
  EXPECT_EQ(log.Close(), CLog::kOk);
  EXPECT_EQ(Lines(Path("kept.txt")), std::vector<std::string>{"earlier"});

  // A new file that got a line stays.
  ASSERT_EQ(log.Open(Path("used.txt").c_str(), 0x49, 0, 4), CLog::kOk);
  log.Log(1, "x");
  log.Close();
  EXPECT_TRUE(Exists(Path("used.txt")));
}

TEST_F(LogTest, TemporaryFolderAndTimeNamedFiles) {
  char oldTmp[MAX_PATH] = {};
  const DWORD hadTmp = ::GetEnvironmentVariableA("TMP", oldTmp, MAX_PATH);
  _putenv_s("TMP", dir_.c_str());
  CLog log;
  ASSERT_EQ(log.Open("intmp.txt", 0x02, 0, 4), CLog::kOk);
  log.Log(1, "in tmp");
  log.Close();
  EXPECT_EQ(Lines(Path("intmp.txt")), std::vector<std::string>{"in tmp"});
  EXPECT_EQ(std::string(log.GetPath()), Path("intmp.txt"));
  _putenv_s("TMP", hadTmp ? oldTmp : "");

  ASSERT_EQ(log.Open((dir_ + "\\").c_str(), 0x04, 0, 4), CLog::kOk);
  log.Log(1, "timed");
  log.Close();
  const std::string path = log.GetPath();
  EXPECT_EQ(path.substr(0, dir_.size() + 1), dir_ + "\\");
  EXPECT_TRUE(Matches(path.substr(dir_.size() + 1),
                      "[0-9][0-9]-[A-Z][a-z][a-z]-[0-9][0-9]-[0-9][0-9]-[0-9][0-9]-[0-9][0-9]\\.log"))
      << path;
  EXPECT_EQ(Lines(path), std::vector<std::string>{"timed"});
}

namespace {
DWORD WINAPI WriteLines(void* p) {
  auto* log = static_cast<CLog*>(p);
  for (int i = 0; i < 200; ++i) log->Log(2, "%s", std::string(100, 'a' + i % 26).c_str());
  return 0;
}
}  // namespace

TEST_F(LogTest, LinesOfSeveralThreadsStayWhole) {
  CLog log;
  ASSERT_EQ(log.Open(Path("threads.txt").c_str(), 0x01, CLog::kPrefixLineNumber, 4), CLog::kOk);
  HANDLE threads[4];
  for (HANDLE& t : threads)
    t = ::CreateThread(nullptr, 0, &WriteLines, &log, 0, nullptr);
  for (HANDLE& t : threads) {
    ::WaitForSingleObject(t, INFINITE);
    ::CloseHandle(t);
  }
  log.Close();
  const auto lines = Lines(Path("threads.txt"));
  ASSERT_EQ(lines.size(), 800u);
  for (size_t i = 0; i < lines.size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%4d - ", static_cast<int>(i + 1));
    ASSERT_EQ(lines[i].substr(0, 7), number);
    ASSERT_EQ(lines[i].size(), 107u);
    ASSERT_EQ(lines[i].find_first_not_of(lines[i][7], 7), std::string::npos);
  }
}
