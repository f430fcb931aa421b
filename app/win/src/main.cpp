// Orbisect3.exe: the one application object; the frame library's WinMain
// runs it.
#include "orb_app/Orbisect3App.h"

COrbisect3App theApp;

// The entry point lives in the frame library; naming it here keeps it in the
// link (the C runtime asks for it only after the libraries were searched).
extern "C" int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);
[[gnu::used]] static int(WINAPI* const kFrameLibraryEntry)(HINSTANCE, HINSTANCE, LPSTR, int) =
    &WinMain;
