#pragma once
#include <cstdio>
#include <exception>
#include <string>

namespace lib13818 {

// The one failure channel of the library: every refused section, loop or
// descriptor throws an error by value.
//   code     -1 text-only check, 2 section header bit, 3 length rule of a table
//            or descriptor
//   position byte offset of the offending byte from the start of the section,
//            or -1 when the error does not point at a byte
class error : public std::exception {
 public:
  error(int code, const char* text);
  explicit error(const char* text);
  error(int code, int position);

  const char* what() const noexcept override;

  int code;
  int position;
  std::string message;
};

// Diagnostic sink with levels (1 error, 2 warning, other info).  Writes nothing
// until a build configures it with TraceConfigure.
int TraceLog(int level, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

enum TraceFlags : unsigned {
  TRACE_THREAD_ID = 0x4,
  TRACE_PROCESS_ID = 0x8,
  TRACE_LEVEL_NAME = 0x80,
  TRACE_LEVEL_NUMBER = 0x100,
};

// Sets up the sink: lines up to maxLevel go to `file` (nullptr closes it).
// `useLock` serialises concurrent writers.
struct TraceSettingsView {
  unsigned flags;
  int maxLevel;
  bool fileOpen;
  bool useLock;
};
void TraceConfigure(unsigned flags, int maxLevel, std::FILE* file, bool useLock);
TraceSettingsView TraceGetSettings();

}  // namespace lib13818
