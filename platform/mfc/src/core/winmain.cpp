// The program entry of the framework: programs define their application
// object only.  Kept apart so that programs with their own main (the test
// programs) do not link it.
#include <afxwin.h>

namespace {

// The command line after the program's name.
LPWSTR CommandTail() {
  LPWSTR p = ::GetCommandLineW();
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p == L'"') ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

}  // namespace

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, CommandTail(), nCmdShow);
}

extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, CommandTail(), nCmdShow);
}
