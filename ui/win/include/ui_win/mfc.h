#pragma once
// The frame library's headers, as the browser's windows use them.
#include <afxwin.h>
