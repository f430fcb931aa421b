#pragma once
// A program a test starts and watches from outside (Orbisect3.exe beside the
// test program): started with the bounded retry of StartProcess, its
// visible top-level windows waited for with a bound, its end and exit code;
// a program still running when the test lets it go is ended.
#include <windows.h>

#include <functional>
#include <string>

#include "win_process.h"
#include "win_ui.h"

namespace orb_test {

class WatchedProgram {
 public:
  WatchedProgram() = default;
  WatchedProgram(const WatchedProgram&) = delete;
  WatchedProgram& operator=(const WatchedProgram&) = delete;
  ~WatchedProgram() { End(30000); }

  // Starts `program` (its path quoted as the command line) in `folder`;
  // `run` tells how it went.
  bool Start(const std::wstring& program, const std::wstring& folder, ProcessRun& run) {
    End(30000);
    return StartProcess(L"\"" + program + L"\"", process_, run, 0, program.c_str(), folder.c_str());
  }

  DWORD Id() const { return process_.dwProcessId; }
  bool Ended() const { return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

  // A visible top-level window of the program that `match` accepts, waiting
  // at most `boundMs`; null when none came or the program ended first.
  HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD boundMs) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
          for (HWND h : TopLevelWindows(process_.dwProcessId))
            if (match(h)) {
              found = h;
              return true;
            }
          return Ended();
        },
        boundMs);
    return found;
  }
  // A dialog (class "#32770") of the program captioned `caption`.
  HWND WaitForDialog(const std::wstring& caption, DWORD boundMs) const {
    return WaitForWindow([&](HWND h) { return ClassOf(h) == L"#32770" && WindowText(h) == caption; }, boundMs);
  }

  // Waits at most `boundMs` for the program to end; false when it still
  // runs.  Its exit code into `code` when given.
  bool WaitForExit(DWORD boundMs, DWORD* code = nullptr) const {
    if (::WaitForSingleObject(process_.hProcess, boundMs) != WAIT_OBJECT_0) return false;
    if (code) ::GetExitCodeProcess(process_.hProcess, code);
    return true;
  }

  // Ends a program still running (waiting at most `boundMs` for it to go)
  // and lets go of it.
  void End(DWORD boundMs) {
    if (!process_.hProcess) return;
    if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.hProcess, 99);
      ::WaitForSingleObject(process_.hProcess, boundMs);
    }
    ::CloseHandle(process_.hProcess);
    if (process_.hThread) ::CloseHandle(process_.hThread);
    process_ = PROCESS_INFORMATION{};
  }

 private:
  PROCESS_INFORMATION process_{};
};

}  // namespace orb_test
