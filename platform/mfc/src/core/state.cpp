// Thread and module state, handle maps, temporary wrappers, the window
// procedure of framework windows and the window creation hook.
#include <mutex>

#include "afx_impl.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace afx_impl {

ThreadData::~ThreadData() {
  std::map<std::pair<int, void*>, TempObject> temps_;
  temps_.swap(temps);
  for (auto& entry : temps_) entry.second.release(entry.second.object);
  if (cbtHook) ::UnhookWindowsHookEx(cbtHook);
}

namespace {

// Fiber-local storage rather than a C++ thread_local: its destructor runs
// reliably when the thread ends.
void WINAPI FreeThreadData(void* data) { delete static_cast<ThreadData*>(data); }

// Freed with the module (a DLL's callback must not outlive it); freeing runs
// the callback for the threads' data.
struct ThreadDataSlot {
  DWORD index = ::FlsAlloc(&FreeThreadData);
  ~ThreadDataSlot() {
    if (index != FLS_OUT_OF_INDEXES) ::FlsFree(index);
  }
};

DWORD ThreadDataIndex() {
  static ThreadDataSlot slot;
  return slot.index;
}

}  // namespace

ThreadData& Thread() {
  const DWORD index = ThreadDataIndex();
  auto* data = static_cast<ThreadData*>(::FlsGetValue(index));
  if (!data) {
    data = new ThreadData;
    ::FlsSetValue(index, data);
  }
  return *data;
}

CObject* FindTemp(TempKind kind, void* handle) {
  ThreadData& t = Thread();
  auto it = t.temps.find({kind, handle});
  return it == t.temps.end() ? nullptr : it->second.object;
}

void AddTemp(TempKind kind, void* handle, CObject* object, void (*release)(CObject*)) {
  Thread().temps[{kind, handle}] = TempObject{object, release};
}

}  // namespace afx_impl

using afx_impl::Thread;

void AfxDeleteTempMaps() {
  std::map<std::pair<int, void*>, afx_impl::TempObject> temps;
  temps.swap(Thread().temps);
  for (auto& entry : temps) entry.second.release(entry.second.object);
}

const MSG* AfxGetCurrentMessage() { return &Thread().lastSentMsg; }

// ---------------------------------------------------------------------------
// Module state

namespace {

AFX_MODULE_STATE MakeStaticState() {
  AFX_MODULE_STATE state;
  HINSTANCE self = reinterpret_cast<HINSTANCE>(&__ImageBase);
  state.m_hCurrentInstanceHandle = self;
  state.m_hCurrentResourceHandle = self;
  const IMAGE_DOS_HEADER* dos = &__ImageBase;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(dos) + dos->e_lfanew);
  state.m_bDLL = (nt->FileHeader.Characteristics & IMAGE_FILE_DLL) != 0;
  return state;
}

}  // namespace

AFX_MODULE_STATE* AfxGetStaticModuleState() {
  static AFX_MODULE_STATE state = MakeStaticState();
  return &state;
}

AFX_MODULE_STATE* AfxGetAppModuleState() { return AfxGetStaticModuleState(); }

AFX_MODULE_STATE* AfxGetModuleState() {
  AFX_MODULE_STATE* current = Thread().pModuleState;
  return current ? current : AfxGetStaticModuleState();
}

AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* pNewState) {
  AFX_MODULE_STATE* previous = AfxGetModuleState();
  Thread().pModuleState = pNewState;
  return previous;
}

CWinApp* AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

HINSTANCE AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }

HINSTANCE AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }

void AfxSetResourceHandle(HINSTANCE hInstResource) {
  AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType) {
  const HINSTANCE current = AfxGetResourceHandle();
  if (::FindResourceW(current, lpszName, lpszType)) return current;
  const HINSTANCE app = AfxGetAppModuleState()->m_hCurrentResourceHandle;
  if (app && ::FindResourceW(app, lpszName, lpszType)) return app;
  return current;
}

LPCWSTR AfxGetAppName() {
  if (CWinApp* app = AfxGetApp())
    if (app->m_pszAppName) return app->m_pszAppName;
  const LPCWSTR name = AfxGetModuleState()->m_lpszCurrentAppName;
  return name ? name : L"";
}

// ---------------------------------------------------------------------------
// Window procedure and creation hook

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYAFXWNDPROC) return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (!pWnd) return ::DefWindowProcW(hWnd, message, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

WNDPROC AfxGetAfxWndProc() { return &AfxWndProc; }

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  afx_impl::ThreadData& t = Thread();
  const MSG previous = t.lastSentMsg;
  t.lastSentMsg.hwnd = hWnd;
  t.lastSentMsg.message = nMsg;
  t.lastSentMsg.wParam = wParam;
  t.lastSentMsg.lParam = lParam;
  const LRESULT result = pWnd->WindowProc(nMsg, wParam, lParam);
  if (nMsg == WM_NCDESTROY) afx_impl::WindowDestroyed(pWnd, hWnd);
  Thread().lastSentMsg = previous;
  return result;
}

namespace {

bool IsImeWindow(HWND hWnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hWnd, name, 64);
  return ::lstrcmpiW(name, L"IME") == 0 || ::lstrcmpiW(name, L"MSCTFIME UI") == 0;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  afx_impl::ThreadData& t = Thread();
  if (code == HCBT_CREATEWND && t.pWndInit) {
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    bool accept = !IsImeWindow(hWnd);
    if (accept && t.expectedAtom)
      accept = static_cast<ATOM>(::GetClassLongPtrW(hWnd, GCW_ATOM)) == t.expectedAtom;
    if (accept) {
      CWnd* pWnd = t.pWndInit;
      t.pWndInit = nullptr;
      t.expectedAtom = 0;
      pWnd->Attach(hWnd);
      pWnd->PreSubclassWindow();
      const WNDPROC old = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
      if (old != &AfxWndProc) pWnd->m_pfnSuper = old;
    }
  }
  return ::CallNextHookEx(t.cbtHook, code, wParam, lParam);
}

}  // namespace

void AfxHookWindowCreate(CWnd* pWnd) {
  afx_impl::ThreadData& t = Thread();
  if (!t.cbtHook)
    t.cbtHook = ::SetWindowsHookExW(WH_CBT, &CbtFilterHook, nullptr, ::GetCurrentThreadId());
  ++t.hookDepth;
  t.pWndInit = pWnd;
  t.expectedAtom = 0;
}

BOOL AfxUnhookWindowCreate() {
  afx_impl::ThreadData& t = Thread();
  const BOOL attached = t.pWndInit == nullptr;
  t.pWndInit = nullptr;
  t.expectedAtom = 0;
  if (t.hookDepth > 0 && --t.hookDepth == 0 && t.cbtHook) {
    ::UnhookWindowsHookEx(t.cbtHook);
    t.cbtHook = nullptr;
  }
  return attached;
}

// ---------------------------------------------------------------------------
// Window classes

namespace {

struct ClassNames {
  std::mutex lock;
  std::map<std::wstring, int> names;  // node-based: c_str() stays valid
};

ClassNames& RegisteredNames() {
  static ClassNames names;
  return names;
}

}  // namespace

BOOL AfxRegisterClass(WNDCLASSW* lpWndClass) {
  WNDCLASSW existing{};
  if (::GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) return TRUE;
  return ::RegisterClassW(lpWndClass) != 0 ? TRUE : FALSE;
}

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  const HINSTANCE instance = AfxGetInstanceHandle();
  wchar_t name[128];
  swprintf(name, 128, L"OrbAfx:%p:%x:%p:%p:%p", static_cast<void*>(instance), nClassStyle,
           static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  ClassNames& names = RegisteredNames();
  std::lock_guard<std::mutex> guard(names.lock);
  auto it = names.names.find(name);
  if (it == names.names.end()) {
    WNDCLASSW wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = instance;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!AfxRegisterClass(&wc)) return nullptr;
    it = names.names.emplace(name, 0).first;
  }
  return it->first.c_str();
}

BOOL AfxInitCommonControls(DWORD dwICC) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = dwICC;
  return ::InitCommonControlsEx(&icc);
}

void AfxEnableControlContainer() {}
