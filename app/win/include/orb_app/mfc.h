#pragma once
// The frame library's headers, as the program's windows use them.
#include "ui_win/mfc.h"
