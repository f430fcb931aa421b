#pragma once
// Window helpers shared by the tests that drive real windows under Wine:
// the visible top-level windows of a process, a window's class, and the
// screen under a window written as a BMP for review.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace orb_test {

inline std::wstring ClassOf(HWND hwnd) {
  wchar_t name[128] = {};
  ::GetClassNameW(hwnd, name, 127);
  return name;
}

namespace detail {
struct ProcessWindows {
  DWORD pid;
  std::vector<HWND> found;
};
inline BOOL CALLBACK CollectProcessWindow(HWND hwnd, LPARAM p) {
  auto* s = reinterpret_cast<ProcessWindows*>(p);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == s->pid && ::IsWindowVisible(hwnd)) s->found.push_back(hwnd);
  return TRUE;
}
}  // namespace detail

// The visible top-level windows of process `pid`.
inline std::vector<HWND> TopLevelWindows(DWORD pid) {
  detail::ProcessWindows search{pid, {}};
  ::EnumWindows(&detail::CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// What the screen shows in the window rectangle of `hwnd`, written to `path`
// as a 24-bit BMP (for looking at, never compared).  False when nothing
// could be taken or written.
inline bool SaveScreenBitmap(HWND hwnd, const std::wstring& path) {
  RECT r{};
  if (!::GetWindowRect(hwnd, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ok = ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != 0;
    ::GdiFlush();
    ::SelectObject(memory, old);
    const DWORD size = ((static_cast<DWORD>(w) * 3 + 3) & ~3u) * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    ok = ok && out.good();
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return ok;
}

// The window painted afresh, then (after `settleMs` for the paint to reach
// the screen) saved as SaveScreenBitmap does.
inline bool SavePaintedWindow(HWND hwnd, const std::wstring& path, DWORD settleMs) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(settleMs);
  return SaveScreenBitmap(hwnd, path);
}

}  // namespace orb_test
