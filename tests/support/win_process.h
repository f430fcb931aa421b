#pragma once
// Starting a helper program from a Windows test (regsvr32, orb-tsdump, ...)
// without flaking under load: a start that fails is tried again a bounded
// number of times (Wine's process creation can fail transiently when the
// machine is busy), the run is waited for with a time-out, and a program
// still running at the time-out is ended, so that nothing is left behind.
#include <windows.h>

#include <functional>
#include <string>

namespace orb_test {

struct ProcessRun {
  bool started = false;    // a process was created
  bool finished = false;   // it ended within the time-out
  DWORD exitCode = 0xFFFFFFFF;
  int attempts = 0;        // starts tried
  DWORD startError = 0;    // GetLastError of the last failed start
  // 0 when the program ran and ended with code 0.
  bool Ok() const { return started && finished && exitCode == 0; }
  std::string Describe() const {
    if (!started)
      return "could not be started after " + std::to_string(attempts) + " attempts, error " +
             std::to_string(startError);
    if (!finished) return "did not end in time (ended by the test)";
    return "exit code " + std::to_string(exitCode);
  }
};

// Creates the process for a command line; the default is CreateProcessW.
using ProcessStarter = std::function<BOOL(std::wstring& commandLine, DWORD flags, PROCESS_INFORMATION& pi)>;

inline BOOL StartWithCreateProcess(std::wstring& commandLine, DWORD flags, PROCESS_INFORMATION& pi) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  return ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si,
                          &pi);
}

// Runs `commandLine`: up to `maxAttempts` starts with a pause of
// `retryPauseMs` x attempt between them (there is nothing to wait on: the
// start itself failed), then a wait of at most `timeoutMs` for the program
// to end.
inline ProcessRun RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000, DWORD flags = 0,
                             int maxAttempts = 6, DWORD retryPauseMs = 250,
                             const ProcessStarter& start = StartWithCreateProcess) {
  ProcessRun run;
  PROCESS_INFORMATION pi{};
  for (run.attempts = 1;; ++run.attempts) {
    std::wstring line = commandLine;  // CreateProcessW may write into it
    pi = PROCESS_INFORMATION{};
    ::SetLastError(0);
    if (start(line, flags, pi)) {
      run.started = true;
      break;
    }
    run.startError = ::GetLastError();
    if (run.attempts >= maxAttempts) return run;
    ::Sleep(retryPauseMs * static_cast<DWORD>(run.attempts));
  }
  const DWORD waited = ::WaitForSingleObject(pi.hProcess, timeoutMs);
  if (waited == WAIT_OBJECT_0) {
    run.finished = true;
    ::GetExitCodeProcess(pi.hProcess, &run.exitCode);
  } else {
    ::TerminateProcess(pi.hProcess, 0xFFFFFFFE);
    ::WaitForSingleObject(pi.hProcess, 5000);
  }
  if (pi.hThread) ::CloseHandle(pi.hThread);
  if (pi.hProcess) ::CloseHandle(pi.hProcess);
  return run;
}

}  // namespace orb_test
