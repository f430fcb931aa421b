#pragma once
// Watching and driving windows from a test under Wine: a bounded poll for a
// condition, a window's texts (in this process or another), its descendants,
// the waiting messages run, a button pressed as the user presses it, the
// visible dialogs of a process, and a test program's windows kept away from
// the window manager.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win_screen.h"

namespace orb_test {

// Checks `done` every `pollMs` until it holds; false when `boundMs` passed
// first.
inline bool WaitFor(const std::function<bool()>& done, DWORD boundMs, DWORD pollMs = 20) {
  const ULONGLONG end = ::GetTickCount64() + boundMs;
  while (!done()) {
    if (::GetTickCount64() > end) return false;
    ::Sleep(pollMs);
  }
  return true;
}

// A window's text as GetWindowText gives it (a top-level window's caption,
// also of another process).
inline std::wstring WindowText(HWND hwnd) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(hwnd, text, 1023);
  return text;
}

// The text a control holds now, asked with WM_GETTEXT (across processes
// GetWindowText answers a control's first text only, not an edit's or a
// combo box's content); empty when the window does not answer within
// `timeoutMs`.
inline std::wstring ControlText(HWND hwnd, DWORD timeoutMs = 5000) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, 1023, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, timeoutMs,
                             &copied))
    return {};
  return text;
}

// All windows below `parent`, children of children included.
inline std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  ::EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// The first descendant of `parent` of class `className`; null when none.
inline HWND DescendantByClass(HWND parent, const wchar_t* className) {
  for (HWND h : Descendants(parent))
    if (ClassOf(h) == className) return h;
  return nullptr;
}

// A window's caption and the texts of all its descendants (as `textOf`
// reads them), joined by '|'.
inline std::wstring DialogTexts(HWND window, std::wstring (*textOf)(HWND) = &WindowText) {
  std::wstring all = WindowText(window);
  for (HWND h : Descendants(window)) all += L"|" + textOf(h);
  return all;
}

// Runs the messages waiting for this thread's windows (what a window does
// between messages: layout, command updates).
inline void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Posts a button's BN_CLICKED to its dialog, as a click on it does.
inline void Press(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// The visible dialog windows (class "#32770") among the top-level windows
// of process `pid`.
inline std::vector<HWND> Dialogs(DWORD pid = ::GetCurrentProcessId()) {
  std::vector<HWND> dialogs;
  for (HWND h : TopLevelWindows(pid))
    if (ClassOf(h) == L"#32770") dialogs.push_back(h);
  return dialogs;
}

// Leaves the windows of the test program `exeName` ("x_tests.exe")
// unmanaged: under Wine without a window manager, closing a managed window
// waits for an answer that never comes.
inline void KeepWindowsUnmanaged(const char* exeName) {
  const std::string key = std::string("Software\\Wine\\AppDefaults\\") + exeName + "\\X11 Driver";
  HKEY k = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) ==
      ERROR_SUCCESS) {
    ::RegSetValueExA(k, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    ::RegCloseKey(k);
  }
}

}  // namespace orb_test
