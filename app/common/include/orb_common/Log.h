#pragma once
// CLog: the text log of the program and of each plug-in.  One line per call,
// flushed at once, with optional prefixes (line number, time of day, seconds
// since opening, level) and a copy to the debugger output.
//
//   static CLog g_log;
//   g_log.Open(path, CLog::kFullPath | CLog::kDebugger, 15, 0);
//   g_log.SetLevel(4);
//   g_log.Log(2, "Starting %s", name);   // written when 2 <= level
//
// Levels in use: 1 failures, 2 progress, 3 start-up, 4 detail.  Calls from
// several threads are serialised; each line is composed in its own buffer.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

class CLog {
 public:
  // Open flags.
  static constexpr unsigned kFullPath = 0x01;      // path is the file path
  static constexpr unsigned kTempDir = 0x02;       // path is a file name in %TMP% (or %TEMP%)
  static constexpr unsigned kTimeNamed = 0x04;     // path is a folder; the name is the local time
  static constexpr unsigned kDeleteUnused = 0x08;  // Close deletes a new file that got no line
  static constexpr unsigned kAppend = 0x10;        // append instead of truncating
  static constexpr unsigned kDebugger = 0x40;      // every line also to OutputDebugStringA

  // Prefix mask bits (in the order the prefixes stand in a line).
  static constexpr unsigned kPrefixLineNumber = 0x008;  // "%4ld - "
  static constexpr unsigned kPrefixTime = 0x001;        // "%.15s.%3hu - "
  static constexpr unsigned kPrefixSeconds = 0x002;     // "(%.3lf) - "
  static constexpr unsigned kPrefixLevel = 0x004;       // "<%ld> - "
  static constexpr unsigned kPrefixIndent = 0x100;      // three blanks per level

  // Results of Open and Close.
  static constexpr unsigned kOk = 0;
  static constexpr unsigned kOpenFailed = 1;
  static constexpr unsigned kNotOpen = 2;
  static constexpr unsigned kAlreadyOpen = 4;
  static constexpr unsigned kNoOutput = 5;
  static constexpr unsigned kNoFlags = 6;

  CLog();
  ~CLog();
  CLog(const CLog&) = delete;
  CLog& operator=(const CLog&) = delete;

  unsigned Open(const char* path, unsigned flags, unsigned prefixMask, long level);
  unsigned Close();
  void SetLevel(long level);
  long GetLevel() const { return m_level; }
  unsigned WriteLine(const char* text, long level);
  void Log(long level, const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(gnu_printf, 3, 4)))
#endif
      ;
  void LogV(long level, const char* format, va_list args);

  // The path of the file opened (empty before the first Open with a file).
  const char* GetPath() const { return m_path; }
  bool IsOpen() const { return m_open != 0; }

 private:
  struct Time {
    long long seconds;
    unsigned short milliseconds;
  };
  static Time Now();
  bool Enabled(long level) const;
  std::string Compose(const char* text, long level);

  FILE* m_file;
  unsigned m_prefixMask;
  long m_level;
  unsigned m_open;
  unsigned m_flags;
  long m_lineCount;
  Time m_start;
  char m_path[260];
  unsigned m_newFile;
  unsigned m_fileLogging;
  CRITICAL_SECTION m_lock;
};
