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
  // True when the program ran and ended with code 0.
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

// Starts `commandLine` (with `application` and `directory` as CreateProcessW
// takes them, null for none): up to `maxAttempts` starts with a pause of
// `retryPauseMs` x attempt between them (there is nothing to wait on: the
// start itself failed).  On success `pi` holds the process and its thread
// (the caller closes both); `run` tells how many starts it took.
inline bool StartProcess(const std::wstring& commandLine, PROCESS_INFORMATION& pi, ProcessRun& run,
                         DWORD flags = 0, const wchar_t* application = nullptr, const wchar_t* directory = nullptr,
                         int maxAttempts = 6, DWORD retryPauseMs = 250, const ProcessStarter& start = {}) {
  for (run.attempts = 1;; ++run.attempts) {
    std::wstring line = commandLine;  // CreateProcessW may write into it
    pi = PROCESS_INFORMATION{};
    ::SetLastError(0);
    BOOL ok = FALSE;
    if (start) {
      ok = start(line, flags, pi);
    } else {
      STARTUPINFOW si{};
      si.cb = sizeof si;
      ok = ::CreateProcessW(application, line.data(), nullptr, nullptr, FALSE, flags, nullptr, directory, &si, &pi);
    }
    if (ok) {
      run.started = true;
      return true;
    }
    run.startError = ::GetLastError();
    if (run.attempts >= maxAttempts) return false;
    ::Sleep(retryPauseMs * static_cast<DWORD>(run.attempts));
  }
}

// Runs `commandLine` (started as StartProcess does), then waits at most
// `timeoutMs` for the program to end; one still running then is ended.
inline ProcessRun RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000, DWORD flags = 0,
                             int maxAttempts = 6, DWORD retryPauseMs = 250,
                             const ProcessStarter& start = StartWithCreateProcess) {
  ProcessRun run;
  PROCESS_INFORMATION pi{};
  if (!StartProcess(commandLine, pi, run, flags, nullptr, nullptr, maxAttempts, retryPauseMs, start)) return run;
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
