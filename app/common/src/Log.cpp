#include "orb_common/Log.h"

#include <share.h>
#include <sys/timeb.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

class Lock {
 public:
  explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { ::EnterCriticalSection(&cs_); }
  ~Lock() { ::LeaveCriticalSection(&cs_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

// printf into a string of whatever length the text needs.
std::string FormatV(const char* format, va_list args) {
  char small[1024];
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::vector<char> big(static_cast<size_t>(n) + 1);
  va_copy(copy, args);
  std::vsnprintf(big.data(), big.size(), format, copy);
  va_end(copy);
  return std::string(big.data(), static_cast<size_t>(n));
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = FormatV(format, args);
  va_end(args);
  return s;
}

void AppendBackslash(std::string& path) {
  if (path.empty() || path.back() != '\\') path += '\\';
}

}  // namespace

CLog::CLog()
    : m_file(nullptr),
      m_prefixMask(0),
      m_level(0),
      m_open(0),
      m_flags(0),
      m_lineCount(0),
      m_start{0, 0},
      m_path{},
      m_newFile(0),
      m_fileLogging(0) {
  ::InitializeCriticalSection(&m_lock);
}

CLog::~CLog() {
  Close();
  ::DeleteCriticalSection(&m_lock);
}

CLog::Time CLog::Now() {
  __timeb64 t;
  _ftime64(&t);
  return {t.time, t.millitm};
}

unsigned CLog::Open(const char* path, unsigned flags, unsigned prefixMask, long level) {
  Lock lock(m_lock);
  if (m_open == 1) return kAlreadyOpen;
  m_flags = flags;
  m_prefixMask = prefixMask;
  m_level = level;
  m_lineCount = 0;
  if (flags == 0) return kNoFlags;
  m_fileLogging = (flags & (kFullPath | kTempDir | kTimeNamed)) != 0;
  m_start = Now();

  const std::string given = path ? path : "";
  std::string full;
  if (flags & kTempDir) {
    const char* tmp = std::getenv("TMP");
    if (!tmp || !*tmp) tmp = std::getenv("TEMP");
    full = tmp ? tmp : "";
    AppendBackslash(full);
    if (!(flags & kTimeNamed)) full += given;
  } else if (flags & kTimeNamed) {
    full = given;
    AppendBackslash(full);
    const std::time_t now = static_cast<std::time_t>(m_start.seconds);
    char name[64] = {};
    if (const std::tm* local = std::localtime(&now))
      std::strftime(name, sizeof name, "%d-%b-%y-%H-%M-%S.log", local);
    full += name;
  } else if (flags & kFullPath) {
    full = given;
  }

  if (!m_fileLogging) {
    if (flags & kDebugger) {
      m_open = 1;
      return kOk;
    }
    return kNoOutput;
  }

  FILE* file = _fsopen(full.c_str(), (flags & kAppend) ? "a" : "w", _SH_DENYNO);
  if (!file) return kOpenFailed;
  m_file = file;
  lstrcpynA(m_path, full.c_str(), sizeof m_path);
  m_open = 1;
  std::fseek(m_file, 0, SEEK_END);
  m_newFile = std::ftell(m_file) == 0 ? 1 : 0;
  return kOk;
}

unsigned CLog::Close() {
  Lock lock(m_lock);
  if (!(m_fileLogging && m_open == 1)) return kNotOpen;
  if (m_file) {
    std::fclose(m_file);
    m_file = nullptr;
  }
  if (m_newFile && m_lineCount == 0 && (m_flags & kDeleteUnused)) ::DeleteFileA(m_path);
  m_open = 0;
  return kOk;
}

void CLog::SetLevel(long level) {
  Lock lock(m_lock);
  m_level = level;
}

bool CLog::Enabled(long level) const { return m_open == 1 && m_level >= 0 && level <= m_level; }

std::string CLog::Compose(const char* text, long level) {
  std::string line;
  if (m_prefixMask & kPrefixLineNumber) line += Format("%4ld - ", m_lineCount);
  const bool wantsTime = (m_prefixMask & (kPrefixTime | kPrefixSeconds)) != 0;
  const Time now = wantsTime ? Now() : Time{0, 0};
  if (m_prefixMask & kPrefixTime) {
    const std::time_t seconds = static_cast<std::time_t>(now.seconds);
    const char* text = std::ctime(&seconds);
    // "Wed Jun 30 21:49:08 1993\n" from its fifth character: "Jun 30 21:49:08".
    const char* clock = text && std::strlen(text) >= 19 ? text + 4 : "";
    line += Format("%.15s.%3hu - ", clock, now.milliseconds);
  }
  if (m_prefixMask & kPrefixSeconds) {
    const double elapsed = static_cast<double>(now.seconds - m_start.seconds) +
                           (static_cast<int>(now.milliseconds) - m_start.milliseconds) * 0.001;
    line += Format("(%.3lf) - ", elapsed);
  }
  if (m_prefixMask & kPrefixLevel) line += Format("<%ld> - ", level);
  if (m_prefixMask & kPrefixIndent) line += Format("%*s", static_cast<int>(level * 3), " ");
  line += text ? text : "";
  line += '\n';
  return line;
}

unsigned CLog::WriteLine(const char* text, long level) {
  Lock lock(m_lock);
  if (!Enabled(level)) return 0;
  ++m_lineCount;
  const std::string line = Compose(text, level);
  if (m_fileLogging && m_file) {
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fflush(m_file);
  }
  if (m_flags & kDebugger) ::OutputDebugStringA(line.c_str());
  return 0;
}

void CLog::LogV(long level, const char* format, va_list args) {
  {
    // Formatting costs nothing for a line that is not written.
    Lock lock(m_lock);
    if (!Enabled(level)) return;
  }
  const std::string message = FormatV(format ? format : "", args);
  WriteLine(message.c_str(), level);
}

void CLog::Log(long level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  LogV(level, format, args);
  va_end(args);
}
