#pragma once
// Helpers shared by the frame, view, bar and splitter sources.
#include <afxwin.h>
#include <windowsx.h>

#include <cstdint>
#include <vector>

#ifndef AFX_IDS_UNTITLED
#define AFX_IDS_UNTITLED 0xF000
#endif

namespace afx_frame {

// Positions of the list walks: index + 1, so that the first one is not null.
inline POSITION ToPosition(size_t index) {
  return reinterpret_cast<POSITION>(static_cast<uintptr_t>(index + 1));
}
inline size_t FromPosition(POSITION pos) {
  return static_cast<size_t>(reinterpret_cast<uintptr_t>(pos)) - 1;
}

// The nIndex-th '\n'-separated part of text (empty past the last one).
CString SubString(const CString& text, int nIndex);

// Frames and views register themselves while their object exists, so that
// a failed creation can tell whether the window took its object along.
void ObjectCreated(const void* object);
void ObjectDeleted(const void* object);
bool WasDeleted(const void* object);

// The permanent object of a window handle, if it is of class `T`.
template <class T>
T* PermanentAs(HWND hwnd, const CRuntimeClass* cls) {
  CWnd* wnd = hwnd ? CWnd::FromHandlePermanent(hwnd) : nullptr;
  return wnd && wnd->IsKindOf(cls) ? static_cast<T*>(wnd) : nullptr;
}
#define AFX_PERMANENT_AS(T, hwnd) afx_frame::PermanentAs<T>((hwnd), RUNTIME_CLASS(T))

// Posted to a frame that asked for a later layout.
constexpr UINT kDelayedLayoutMessage = 0x037E;

// The string resource nID up to its first '\n'.
CString PromptString(UINT nID);

}  // namespace afx_frame
