// The application object: profile, message boxes, command line, idle
// updates and the message pump; module state; threads and synchronisation.
#include <afxmt.h>
#include <afxwin.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "test_ids.h"

namespace {

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("OrbMfcTest") {}
  int fileNewCalls = 0;
  CWnd* windowOnFileNew = nullptr;
  void OnFileNew() override {
    ++fileNewCalls;
    m_pMainWnd = windowOnFileNew;
  }
};

CTestApp theApp;

constexpr wchar_t kTestKey[] = L"Software\\Orbisect Framework Tests";

class Profile : public testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    theApp.SetRegistryKey("Orbisect Framework Tests");
  }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
};

TEST_F(Profile, IntegersRoundTripThroughTheRegistry) {
  EXPECT_STREQ(theApp.m_pszProfileName, L"OrbMfcTest");
  EXPECT_EQ(theApp.GetProfileInt("Bar-SCBar-123", "sizeHorzCX", 200), 200u);
  ASSERT_TRUE(theApp.WriteProfileInt("Bar-SCBar-123", "sizeHorzCX", 345));
  ASSERT_TRUE(theApp.WriteProfileInt(CString("Bar-SCBar-123"), L"negative", -7));
  EXPECT_EQ(theApp.GetProfileInt("Bar-SCBar-123", "sizeHorzCX", 200), 345u);
  EXPECT_EQ(static_cast<int>(theApp.GetProfileInt("Bar-SCBar-123", "negative", 0)), -7);
  // Where it lives.
  DWORD value = 0;
  DWORD size = sizeof value;
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER,
                           L"Software\\Orbisect Framework Tests\\OrbMfcTest\\Bar-SCBar-123", L"sizeHorzCX",
                           RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 345u);
  // A value of another type is not taken for a number.
  ASSERT_TRUE(theApp.WriteProfileString("Bar-SCBar-123", "text", "12"));
  EXPECT_EQ(theApp.GetProfileInt("Bar-SCBar-123", "text", 3), 3u);
}

TEST_F(Profile, StringsRoundTripAndDelete) {
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Name", "fallback"), L"fallback");
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Name"), L"");
  ASSERT_TRUE(theApp.WriteProfileString("Settings", "Name", L"Gr\u00fc\u00dfe"));
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Name"), L"Gr\u00fc\u00dfe");
  ASSERT_TRUE(theApp.WriteProfileString("Settings", "Empty", ""));
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Empty", "x"), L"");
  // A null value removes the entry, a null entry the section.
  ASSERT_TRUE(theApp.WriteProfileString("Settings", "Name", nullptr));
  EXPECT_STREQ(theApp.GetProfileString("Settings", "Name", "gone"), L"gone");
  ASSERT_TRUE(theApp.WriteProfileInt("Settings", "Count", 1));
  ASSERT_TRUE(theApp.WriteProfileString("Settings", nullptr, nullptr));
  EXPECT_EQ(theApp.GetProfileInt("Settings", "Count", 5), 5u);
}

TEST_F(Profile, BinaryValuesAndRecentFiles) {
  BYTE data[] = {0, 1, 2, 0xFE, 0xFF};
  ASSERT_TRUE(theApp.WriteProfileBinary("State", "Bytes", data, sizeof data));
  LPBYTE read = nullptr;
  UINT bytes = 0;
  ASSERT_TRUE(theApp.GetProfileBinary("State", "Bytes", &read, &bytes));
  ASSERT_EQ(bytes, sizeof data);
  EXPECT_EQ(std::vector<BYTE>(read, read + bytes), std::vector<BYTE>(data, data + sizeof data));
  delete[] read;
  EXPECT_FALSE(theApp.GetProfileBinary("State", "Missing", &read, &bytes));
  EXPECT_EQ(read, nullptr);
  EXPECT_EQ(bytes, 0u);

  theApp.WriteProfileString("Recent File List", "File1", "a.ts");
  theApp.WriteProfileString("Recent File List", "File3", "c.ts");
  theApp.WriteProfileString("Recent File List", "File5", "e.ts");
  theApp.LoadStdProfileSettings(4);
  EXPECT_EQ(theApp.m_nMaxMRU, 4u);
  ASSERT_EQ(theApp.m_recentFiles.GetSize(), 2);
  EXPECT_STREQ(theApp.m_recentFiles[1], L"c.ts");
}

// ---------------------------------------------------------------------------
// Message boxes

class MessageBoxes : public testing::Test {
 protected:
  void SetUp() override {
    AfxSetMessageBoxHook([this](const CString& text, UINT type) {
      seen.emplace_back(text, type);
      return answer;
    });
  }
  void TearDown() override { AfxSetMessageBoxHook(nullptr); }
  std::vector<std::pair<CString, UINT>> seen;
  int answer = IDOK;
};

TEST_F(MessageBoxes, HookAnswersInsteadOfABox) {
  EXPECT_EQ(AfxMessageBox("Failed to initialize driver"), IDOK);
  answer = IDNO;
  EXPECT_EQ(AfxMessageBox(IDS_TEST_PROMPT, MB_YESNO), IDNO);
  CString text;
  text.Format("Failed to save sat list: %08X", 0x80004005u);
  EXPECT_EQ(AfxMessageBox(text, MB_OKCANCEL | MB_ICONSTOP), IDNO);
  CWnd wnd;
  EXPECT_EQ(wnd.MessageBox(L"from a window", nullptr, MB_OK), IDNO);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_STREQ(seen[0].first, L"Failed to initialize driver");
  EXPECT_EQ(seen[0].second, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_STREQ(seen[1].first, L"Do you want to keep existing data ?");
  EXPECT_EQ(seen[1].second, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_STREQ(seen[2].first, L"Failed to save sat list: 80004005");
  EXPECT_EQ(seen[2].second, static_cast<UINT>(MB_OKCANCEL | MB_ICONSTOP));
  EXPECT_STREQ(seen[3].first, L"from a window");
}

TEST_F(MessageBoxes, SettingAHookReturnsThePreviousOne) {
  AfxMessageBoxHook mine = [](const CString&, UINT) { return IDRETRY; };
  AfxMessageBoxHook previous = AfxSetMessageBoxHook(mine);
  EXPECT_EQ(AfxMessageBox("x"), IDRETRY);
  AfxSetMessageBoxHook(previous);
  EXPECT_EQ(AfxMessageBox("y"), IDOK);
  EXPECT_EQ(seen.size(), 1u);
}

// ---------------------------------------------------------------------------
// Command line

TEST(CommandLine, ParametersChooseTheShellCommand) {
  CCommandLineInfo plain;
  EXPECT_EQ(plain.m_nShellCommand, CCommandLineInfo::FileNew);
  CCommandLineInfo file;
  file.ParseParam(L"capture.ts", FALSE, TRUE);
  EXPECT_EQ(file.m_nShellCommand, CCommandLineInfo::FileOpen);
  EXPECT_STREQ(file.m_strFileName, L"capture.ts");
  CCommandLineInfo embedded;
  embedded.ParseParam(L"Embedding", TRUE, TRUE);
  EXPECT_EQ(embedded.m_nShellCommand, CCommandLineInfo::FileNothing);
  EXPECT_TRUE(embedded.m_bRunEmbedded);
  CCommandLineInfo unregister;
  unregister.ParseParam(L"unregserver", TRUE, TRUE);
  EXPECT_EQ(unregister.m_nShellCommand, CCommandLineInfo::AppUnregister);
}

TEST(CommandLine, ProcessShellCommandNeedsAMainWindowAfterFileNew) {
  CWnd frame;
  theApp.fileNewCalls = 0;
  CCommandLineInfo info;
  theApp.windowOnFileNew = nullptr;
  EXPECT_FALSE(theApp.ProcessShellCommand(info));
  theApp.windowOnFileNew = &frame;
  EXPECT_TRUE(theApp.ProcessShellCommand(info));
  EXPECT_EQ(theApp.fileNewCalls, 2);
  EXPECT_EQ(AfxGetMainWnd(), &frame);
  info.m_nShellCommand = CCommandLineInfo::FileNothing;
  EXPECT_TRUE(theApp.ProcessShellCommand(info));
  info.m_nShellCommand = CCommandLineInfo::AppUnregister;
  EXPECT_FALSE(theApp.ProcessShellCommand(info));
  EXPECT_EQ(theApp.fileNewCalls, 2);
  theApp.m_pMainWnd = nullptr;
  theApp.windowOnFileNew = nullptr;
}

// ---------------------------------------------------------------------------
// Idle updates and the message pump

class CCountingWnd : public CWnd {
 public:
  int idleUpdates = 0;
  WPARAM lastIdleWParam = 0;
  int keyDowns = 0;
  int chars = 0;

 protected:
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    ++idleUpdates;
    lastIdleWParam = wParam;
    return 0;
  }
  afx_msg void OnKeyDown(UINT, UINT, UINT) { ++keyDowns; }
  afx_msg void OnChar(UINT, UINT, UINT) { ++chars; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingWnd, CWnd)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, &CCountingWnd::OnIdleUpdateCmdUI)
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
END_MESSAGE_MAP()

class CKeyEater : public CCountingWnd {
 public:
  int eaten = 0;
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != WM_KEYDOWN) return FALSE;
    ++eaten;
    return TRUE;
  }
};

BOOL CreateTopLevel(CWnd& wnd) {
  return wnd.CreateEx(0, nullptr, L"main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr);
}

TEST(Idle, UpdatesReachTheMainWindowAndItsDescendants) {
  CCountingWnd main;
  ASSERT_TRUE(CreateTopLevel(main));
  CCountingWnd child;
  ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &main, 1));
  CCountingWnd grandchild;
  ASSERT_TRUE(grandchild.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &child, 2));
  theApp.m_pMainWnd = &main;
  // Nothing while the main window is hidden.
  EXPECT_TRUE(theApp.OnIdle(0));
  EXPECT_EQ(main.idleUpdates, 0);
  main.ShowWindow(SW_SHOWNA);
  EXPECT_TRUE(theApp.OnIdle(0));
  EXPECT_EQ(main.idleUpdates, 1);
  EXPECT_EQ(child.idleUpdates, 1);
  EXPECT_EQ(grandchild.idleUpdates, 1);
  EXPECT_EQ(grandchild.lastIdleWParam, static_cast<WPARAM>(TRUE));
  EXPECT_FALSE(theApp.OnIdle(1));

  // The main window's end ends the message loop.
  main.DestroyWindow();
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
  MSG msg;
  EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(Pump, PreTranslateMessageWalksUpToTheMainWindow) {
  CKeyEater main;
  ASSERT_TRUE(CreateTopLevel(main));
  CCountingWnd child;
  ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 50, 50), &main, 1));
  theApp.m_pMainWnd = &main;
  ::PostMessageW(child.m_hWnd, WM_KEYDOWN, 'A', 0);
  ::PostMessageW(child.m_hWnd, WM_CHAR, 'A', 0);
  for (int i = 0; i < 50 && ::PeekMessageW(&theApp.m_msgCur, nullptr, 0, 0, PM_NOREMOVE); ++i)
    ASSERT_TRUE(theApp.PumpMessage());
  EXPECT_EQ(main.eaten, 1);
  EXPECT_EQ(child.keyDowns, 0);
  EXPECT_EQ(child.chars, 1);
  theApp.m_pMainWnd = nullptr;
  main.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Module state

TEST(ModuleState, ManageStateSwapsAndRestoresTheResourceHandle) {
  const HINSTANCE own = ::GetModuleHandleW(nullptr);
  EXPECT_EQ(AfxGetResourceHandle(), own);
  EXPECT_EQ(AfxGetInstanceHandle(), own);
  EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
  EXPECT_EQ(AfxGetApp(), &theApp);
  CString text;
  ASSERT_TRUE(text.LoadString(IDS_TEST_PLAIN));

  const HINSTANCE other = ::GetModuleHandleW(L"ntdll.dll");
  ASSERT_NE(other, nullptr);
  AFX_MODULE_STATE otherState;
  otherState.m_hCurrentInstanceHandle = other;
  otherState.m_hCurrentResourceHandle = other;
  {
    AFX_MANAGE_STATE(&otherState);
    EXPECT_EQ(AfxGetResourceHandle(), other);
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_FALSE(text.LoadString(IDS_TEST_PLAIN) && text == L"Plain text");
    {
      AFX_MANAGE_STATE(AfxGetStaticModuleState());
      EXPECT_EQ(AfxGetResourceHandle(), own);
      EXPECT_TRUE(text.LoadString(IDS_TEST_PLAIN));
    }
    EXPECT_EQ(AfxGetResourceHandle(), other);
    // Other threads keep their own current state.
    HINSTANCE seen = nullptr;
    CWinThread* thread = AfxBeginThread(
        [](LPVOID p) -> UINT {
          *static_cast<HINSTANCE*>(p) = AfxGetResourceHandle();
          return 0;
        },
        &seen, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
    delete thread;
    EXPECT_EQ(seen, own);
  }
  EXPECT_EQ(AfxGetResourceHandle(), own);
  EXPECT_TRUE(text.LoadString(IDS_TEST_PLAIN));

  AfxSetResourceHandle(other);
  EXPECT_EQ(AfxGetResourceHandle(), other);
  AfxSetResourceHandle(own);
}

// ---------------------------------------------------------------------------
// Threads

struct WorkerData {
  CWinThread* self = nullptr;
  DWORD threadId = 0;
  CWnd* mainWnd = nullptr;
};

UINT Work(LPVOID p) {
  auto* data = static_cast<WorkerData*>(p);
  data->self = AfxGetThread();
  data->threadId = ::GetCurrentThreadId();
  data->mainWnd = AfxGetMainWnd();
  return 42;
}

TEST(Threads, WorkerFunctionRunsAndEnds) {
  CWnd mainWnd;
  theApp.m_pMainWnd = &mainWnd;
  WorkerData data;
  CWinThread* thread = AfxBeginThread(&Work, &data, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  EXPECT_NE(thread->m_nThreadID, 0u);
  thread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(data.self, thread);
  EXPECT_EQ(data.threadId, thread->m_nThreadID);
  // A worker shares the application's main window.
  EXPECT_EQ(data.mainWnd, &mainWnd);
  delete thread;
  theApp.m_pMainWnd = nullptr;
  EXPECT_EQ(AfxGetThread(), &theApp);
  EXPECT_EQ(AfxBeginThread(static_cast<AFX_THREADPROC>(nullptr), nullptr), nullptr);
}

HANDLE g_threadGone = nullptr;
std::atomic<int> g_threadInits{0};

class CRefusingThread : public CWinThread {
  DECLARE_DYNCREATE(CRefusingThread)

 public:
  ~CRefusingThread() override { ::SetEvent(g_threadGone); }
  BOOL InitInstance() override {
    ++g_threadInits;
    return FALSE;
  }
  int ExitInstance() override { return 7; }
};
IMPLEMENT_DYNCREATE(CRefusingThread, CWinThread)

constexpr UINT kWorkMessage = WM_APP + 5;

class CLoopThread : public CWinThread {
  DECLARE_DYNCREATE(CLoopThread)

 public:
  std::vector<WPARAM> received;
  BOOL InitInstance() override { return TRUE; }

 protected:
  afx_msg void OnWork(WPARAM wParam, LPARAM) {
    received.push_back(wParam);
    if (wParam == 0) ::PostQuitMessage(5);
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CLoopThread, CWinThread)
BEGIN_MESSAGE_MAP(CLoopThread, CWinThread)
  ON_THREAD_MESSAGE(kWorkMessage, &CLoopThread::OnWork)
END_MESSAGE_MAP()

TEST(Threads, ThreadClassesRunTheirInstance) {
  g_threadGone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CWinThread* refusing = AfxBeginThread(RUNTIME_CLASS(CRefusingThread));
  ASSERT_NE(refusing, nullptr);
  // It deletes itself when done.
  EXPECT_EQ(::WaitForSingleObject(g_threadGone, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(g_threadInits.load(), 1);
  ::CloseHandle(g_threadGone);
  EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWnd)), nullptr);  // not a thread class

  CLoopThread* loop = static_cast<CLoopThread*>(
      AfxBeginThread(RUNTIME_CLASS(CLoopThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
  ASSERT_NE(loop, nullptr);
  loop->m_bAutoDelete = FALSE;
  loop->ResumeThread();
  // The thread's queue exists once it has started pumping.
  for (int i = 0; i < 500 && !loop->PostThreadMessage(kWorkMessage, 3, 0); ++i) ::Sleep(10);
  loop->PostThreadMessage(kWorkMessage, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(loop->m_hThread, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(loop->m_hThread, &code);
  EXPECT_EQ(code, 5u);
  EXPECT_EQ(loop->received, (std::vector<WPARAM>{3, 0}));
  delete loop;
}

struct Counter {
  CCriticalSection lock;
  long value = 0;
};

UINT Count(LPVOID p) {
  auto* counter = static_cast<Counter*>(p);
  for (int i = 0; i < 20000; ++i) {
    CSingleLock guard(&counter->lock, TRUE);
    const long v = counter->value;
    if ((i & 255) == 0) ::Sleep(0);
    counter->value = v + 1;
  }
  return 0;
}

TEST(Sync, CriticalSectionSerialisesThreads) {
  Counter counter;
  std::vector<CWinThread*> threads;
  for (int i = 0; i < 4; ++i) {
    CWinThread* t = AfxBeginThread(&Count, &counter, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    t->m_bAutoDelete = FALSE;
    threads.push_back(t);
  }
  for (CWinThread* t : threads) t->ResumeThread();
  for (CWinThread* t : threads) {
    EXPECT_EQ(::WaitForSingleObject(t->m_hThread, 30000), WAIT_OBJECT_0);
    delete t;
  }
  EXPECT_EQ(counter.value, 80000);
}

TEST(Sync, LocksReleaseAtScopeEndAndEventsSignal) {
  CMutex mutex;
  {
    CSingleLock guard(&mutex, TRUE);
    EXPECT_TRUE(guard.IsLocked());
    // Another thread cannot take it meanwhile.
    BOOL otherGotIt = TRUE;
    std::pair<CMutex*, BOOL*> args{&mutex, &otherGotIt};
    CWinThread* t = AfxBeginThread(
        [](LPVOID p) -> UINT {
          auto* a = static_cast<std::pair<CMutex*, BOOL*>*>(p);
          *a->second = a->first->Lock(0);
          if (*a->second) a->first->Unlock();
          return 0;
        },
        &args, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    t->m_bAutoDelete = FALSE;
    t->ResumeThread();
    ::WaitForSingleObject(t->m_hThread, 10000);
    delete t;
    EXPECT_FALSE(otherGotIt);
  }
  EXPECT_TRUE(mutex.Lock(0));
  mutex.Unlock();

  CEvent manual(FALSE, TRUE);
  EXPECT_EQ(::WaitForSingleObject(manual.m_hObject, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  manual.SetEvent();
  EXPECT_EQ(::WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(::WaitForSingleObject(manual, 0), WAIT_OBJECT_0);  // stays set
  manual.ResetEvent();
  EXPECT_FALSE(manual.Lock(0));
  CEvent automatic;
  automatic.SetEvent();
  EXPECT_TRUE(automatic.Lock(0));
  EXPECT_FALSE(automatic.Lock(0));
}

}  // namespace
