#pragma once
// The frame library's headers, as the browser's windows use them.
#include <afxwin.h>
#include <afxext.h>
#include <afxcmn.h>
#include <afxcview.h>
