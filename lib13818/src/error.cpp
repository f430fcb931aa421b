#include "lib13818/error.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <functional>
#include <mutex>
#include <thread>

#if defined(_WIN32)
extern "C" __declspec(dllimport) unsigned long __stdcall GetCurrentProcessId(void);
#else
#include <unistd.h>
#endif

namespace lib13818 {

error::error(int code_, const char* text) : code(code_), position(-1), message(text ? text : "") {}
error::error(const char* text) : code(-1), position(-1), message(text ? text : "") {}
error::error(int code_, int position_) : code(code_), position(position_) {}

const char* error::what() const noexcept { return message.c_str(); }

namespace {

struct TraceSettings {
  unsigned flags = 0;
  std::mutex lock;
  int maxLevel = 0;
  std::FILE* file = nullptr;
  bool useLock = false;
};

TraceSettings& Settings() {
  static TraceSettings settings;
  return settings;
}

unsigned long ProcessId() {
#if defined(_WIN32)
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(getpid());
#endif
}

constexpr size_t kLineSize = 4096;

void WriteLine(TraceSettings& s, int level, const char* format, va_list args) {
  char line[kLineSize];
  size_t n = 0;
  auto append = [&](const char* fmt, auto... values) {
    if (n >= sizeof line) return;
    int w = std::snprintf(line + n, sizeof line - n, fmt, values...);
    if (w > 0) n = std::min(sizeof line - 1, n + static_cast<size_t>(w));
  };

  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  int ms = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm tm{};
#if defined(_WIN32)
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  append("%04d.%02d.%02d,%02d:%02d:%02d,%03d,", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
         tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
  if (s.flags & TRACE_PROCESS_ID) append("\"0x%08x\",", static_cast<unsigned>(ProcessId()));
  if (s.flags & TRACE_THREAD_ID)
    append("\"0x%08x\",",
           static_cast<unsigned>(std::hash<std::thread::id>{}(std::this_thread::get_id())));
  if (s.flags & TRACE_LEVEL_NUMBER) append("%d,", level);
  if (s.flags & TRACE_LEVEL_NAME)
    append("\"%-7s\",", level == 1 ? "error" : level == 2 ? "warning" : "info");

  char message[kLineSize];
  std::vsnprintf(message, sizeof message, format, args);
  // The closing quote and line end always fit: the message is cut instead.
  size_t room = sizeof line - 1 - n;
  size_t tail = 3;  // quote, CR, LF
  if (room > tail) {
    line[n++] = '"';
    size_t len = std::min(std::strlen(message), room - tail);
    std::memcpy(line + n, message, len);
    n += len;
    line[n++] = '"';
    line[n++] = '\r';
    line[n++] = '\n';
  }
  std::fwrite(line, 1, n, s.file);
  std::fflush(s.file);
}

}  // namespace

int TraceLog(int level, const char* format, ...) {
  TraceSettings& s = Settings();
  std::unique_lock<std::mutex> guard(s.lock, std::defer_lock);
  if (s.useLock) guard.lock();
  if (s.file != nullptr && level > 0 && level <= s.maxLevel) {
    va_list args;
    va_start(args, format);
    WriteLine(s, level, format, args);
    va_end(args);
  }
  return 0;
}

void TraceConfigure(unsigned flags, int maxLevel, std::FILE* file, bool useLock) {
  TraceSettings& s = Settings();
  std::lock_guard<std::mutex> guard(s.lock);
  s.flags = flags;
  s.maxLevel = maxLevel;
  s.file = file;
  s.useLock = useLock;
}

TraceSettingsView TraceGetSettings() {
  TraceSettings& s = Settings();
  return {s.flags, s.maxLevel, s.file != nullptr, s.useLock};
}

}  // namespace lib13818
