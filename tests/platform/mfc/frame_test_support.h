#pragma once
// Helpers of the frame tests: application set-up, message pumping, reading
// windows back through their messages, and a window snapshot for people to
// look at (never compared by a test).
#include <afxwin.h>

#include <cstdio>
#include <string>
#include <vector>

namespace frame_test {

// Under Wine, windows of this test program are left to no window manager
// (there is none on the test display; waiting for one costs seconds a
// window).  Read when the program's first window is made.
inline void UnmanagedWindowsUnderWine() {
  if (!::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) return;
  wchar_t module[MAX_PATH] = L"";
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring name(module);
  name = name.substr(name.find_last_of(L"\\/") + 1);
  const std::wstring key = L"Software\\Wine\\AppDefaults\\" + name + L"\\X11 Driver";
  HKEY hkey = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey,
                        nullptr) == ERROR_SUCCESS) {
    const wchar_t value[] = L"N";
    ::RegSetValueExW(hkey, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
    ::RegCloseKey(hkey);
  }
}

// Handles of this program for the framework (resources come from the test
// program itself).
inline void InitApp() {
  static bool done = false;
  if (done) return;
  done = true;
  UnmanagedWindowsUnderWine();
  AfxWinInit(::GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(L""), SW_SHOWNORMAL);
  AfxInitCommonControls();
}

// Runs the messages waiting (a WM_QUIT among them is dropped).
inline void Pump() {
  MSG msg;
  for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

inline void DropQuit() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

inline std::wstring WindowText(HWND hwnd) {
  wchar_t text[512] = L"";
  ::GetWindowTextW(hwnd, text, 512);
  return text;
}

// Text of a status bar part.
inline std::wstring StatusText(HWND bar, int part) {
  const LRESULT info = ::SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
  std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
  ::SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  return text;
}

// The window rectangle of `child` in the client coordinates of `ancestor`.
inline CRect ClientRectIn(HWND child, HWND ancestor) {
  CRect rect;
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ancestor, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Writes what the window shows to a 24-bit BMP file beside the test program
// (for review by eye; `convert x.bmp x.png` makes a PNG).  Returns the path,
// empty on failure.
inline std::wstring SaveWindowBitmap(HWND hwnd, const wchar_t* name) {
  CRect rect;
  if (!::GetWindowRect(hwnd, &rect) || rect.IsRectEmpty()) return L"";
  const int width = rect.Width(), height = rect.Height();
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::wstring path;
  if (bitmap && bits) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    // What the screen shows there (the window is brought to the top first);
    // the window painting itself is the fallback.
    ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::UpdateWindow(hwnd);
    if (!::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY))
      ::PrintWindow(hwnd, memory, 0);
    ::GdiFlush();
    ::SelectObject(memory, old);

    wchar_t module[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring dir(module);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    path = dir + name;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out) {
      std::fwrite(&file, sizeof file, 1, out);
      std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out);
      std::fwrite(bits, 1, imageSize, out);
      std::fclose(out);
    } else {
      path.clear();
    }
  }
  if (bitmap) ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return path;
}

}  // namespace frame_test
