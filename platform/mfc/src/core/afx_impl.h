#pragma once
// Per-thread state of the core: handle maps, temporary wrappers, the message
// being processed and the window creation hook.
#include <afxwin.h>

#include <map>
#include <unordered_map>
#include <utility>

namespace afx_impl {

// Kinds of temporary wrappers (a handle may have one of each).
enum TempKind { kTempWnd, kTempDC, kTempMenu, kTempGdi, kTempPen, kTempBrush, kTempFont, kTempBitmap, kTempRgn };

struct TempObject {
  CObject* object;
  void (*release)(CObject*);  // detaches the handle and deletes the wrapper
};

struct ThreadData {
  ThreadData() = default;
  ~ThreadData();
  ThreadData(const ThreadData&) = delete;
  ThreadData& operator=(const ThreadData&) = delete;

  std::unordered_map<HWND, CWnd*> windows;
  std::map<std::pair<int, void*>, TempObject> temps;
  MSG lastSentMsg{};
  // Window creation hook.
  HHOOK cbtHook = nullptr;
  int hookDepth = 0;
  CWnd* pWndInit = nullptr;
  ATOM expectedAtom = 0;
  CWinThread* pThread = nullptr;
  AFX_MODULE_STATE* pModuleState = nullptr;
};

ThreadData& Thread();

CObject* FindTemp(TempKind kind, void* handle);
void AddTemp(TempKind kind, void* handle, CObject* object, void (*release)(CObject*));

// Wrapper of a handle: permanent or temporary, created on first use.
template <class T, class H>
T* TempWrapper(TempKind kind, H handle, void (*attach)(T*, H), void (*release)(CObject*)) {
  if (!handle) return nullptr;
  void* key = reinterpret_cast<void*>(handle);
  if (CObject* found = FindTemp(kind, key)) return static_cast<T*>(found);
  T* object = new T;
  attach(object, handle);
  AddTemp(kind, key, object, release);
  return object;
}

// Answers of a message box through the hook; false when no hook is set.
bool MessageBoxThroughHook(LPCWSTR text, UINT type, int& answer);

// Cleanup after WM_NCDESTROY: the window leaves its object.
void WindowDestroyed(CWnd* pWnd, HWND hWnd);

// Whether a command may run: asks the target's update handlers (a command no
// handler disables is enabled).
bool CommandEnabled(CCmdTarget* target, UINT nID);

}  // namespace afx_impl
