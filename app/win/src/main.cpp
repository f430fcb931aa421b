// Orbisect3.exe: the one application object; the frame library's WinMain
// runs it.
#include "orb_app/Orbisect3App.h"

COrbisect3App theApp;
