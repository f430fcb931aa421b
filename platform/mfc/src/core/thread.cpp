// CWinThread, the message loop and AfxBeginThread.
#include <process.h>

#include "afx_impl.h"

using afx_impl::Thread;

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
  if (m_hThread) ::CloseHandle(m_hThread);
  afx_impl::ThreadData& t = Thread();
  if (t.pThread == this) t.pThread = nullptr;
}

namespace {

unsigned __stdcall ThreadEntry(void* parameter) {
  CWinThread* thread = static_cast<CWinThread*>(parameter);
  Thread().pThread = thread;
  UINT result;
  if (thread->m_pfnThreadProc) {
    result = thread->m_pfnThreadProc(thread->m_pThreadParams);
  } else if (!thread->InitInstance()) {
    result = static_cast<UINT>(thread->ExitInstance());
  } else {
    result = static_cast<UINT>(thread->Run());
  }
  AfxDeleteTempMaps();
  Thread().pThread = nullptr;
  thread->Delete();
  return result;
}

}  // namespace

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (m_hThread) return FALSE;
  unsigned id = 0;
  const uintptr_t handle = ::_beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, this,
                                            dwCreateFlags | CREATE_SUSPENDED, &id);
  if (!handle) return FALSE;
  m_hThread = reinterpret_cast<HANDLE>(handle);
  m_nThreadID = id;
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
  return TRUE;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

CWnd* CWinThread::GetMainWnd() {
  if (m_pActiveWnd) return m_pActiveWnd;
  return m_pMainWnd;
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  // Mouse moves that do not move, paints and the caret timer do not end idle time.
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    if (m_msgLastMouse.message == pMsg->message && m_msgLastMouse.pt.x == pMsg->pt.x &&
        m_msgLastMouse.pt.y == pMsg->pt.y)
      return FALSE;
    m_msgLastMouse = *pMsg;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* main = GetMainWnd();
    if (main && main->m_hWnd && ::IsWindowVisible(main->m_hWnd)) {
      AfxCallWndProc(main, main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
      if (main->m_hWnd) main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    return TRUE;
  }
  AfxDeleteTempMaps();
  return FALSE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->nCode != AFX_CN_THREADMSG) continue;
      const UINT message = e->pnMessageVar ? *e->pnMessageVar : e->nMessage;
      if (message == 0 || message != pMsg->message) continue;
      AFX_MSGCALL call;
      call.message = pMsg->message;
      call.wParam = pMsg->wParam;
      call.lParam = pMsg->lParam;
      e->pfn(this, call);
      return TRUE;
    }
    if (!map->pfnGetBaseMap) break;
  }
  return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg->hwnd) return DispatchThreadMessageEx(pMsg);
  CWnd* main = GetMainWnd();
  HWND stop = main ? main->m_hWnd : nullptr;
  if (CWnd::WalkPreTranslateTree(stop, pMsg)) return TRUE;
  // A message for a window outside the main window (a modeless popup, say):
  // the main window sees it too.
  if (stop && pMsg->hwnd != stop && !::IsChild(stop, pMsg->hwnd) && main->PreTranslateMessage(pMsg)) return TRUE;
  return FALSE;
}

BOOL CWinThread::PumpMessage() {
  if (!::GetMessageW(&m_msgCur, nullptr, 0, 0)) return FALSE;
  if (!PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageW(&m_msgCur);
  }
  return TRUE;
}

int CWinThread::Run() {
  BOOL idle = TRUE;
  LONG idleCount = 0;
  for (;;) {
    while (idle && !::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

CWinThread* AfxGetThread() {
  if (CWinThread* thread = Thread().pThread) return thread;
  CWinApp* app = AfxGetApp();
  if (app && app->m_nThreadID == ::GetCurrentThreadId()) return app;
  return nullptr;
}

CWnd* AfxGetMainWnd() {
  CWinThread* thread = AfxGetThread();
  if (thread)
    if (CWnd* main = thread->GetMainWnd()) return main;
  // Threads without a main window of their own share the application's.
  CWinApp* app = AfxGetApp();
  return app && app != thread ? app->GetMainWnd() : nullptr;
}

BOOL AfxPumpMessage() {
  if (CWinThread* thread = AfxGetThread()) return thread->PumpMessage();
  MSG msg;
  if (!::GetMessageW(&msg, nullptr, 0, 0)) return FALSE;
  if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return TRUE;
}

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (!pfnThreadProc) return nullptr;
  CWinThread* thread = new CWinThread(pfnThreadProc, pParam);
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete thread;
    return nullptr;
  }
  thread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(thread->m_hThread);
  return thread;
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) return nullptr;
  CObject* object = pThreadClass->CreateObject();
  if (!object) return nullptr;
  CWinThread* thread = static_cast<CWinThread*>(object);
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete thread;
    return nullptr;
  }
  thread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(thread->m_hThread);
  return thread;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete) {
  CWinThread* thread = Thread().pThread;
  AfxDeleteTempMaps();
  Thread().pThread = nullptr;
  if (thread && bDelete) thread->Delete();
  ::_endthreadex(nExitCode);
}
