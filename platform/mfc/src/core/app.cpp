// CWinApp: start-up, profile, command line, message boxes.

#include <memory>
#include <mutex>

#include "afx_impl.h"

using afx_impl::Thread;

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
  ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

namespace {

std::wstring ModuleBaseName(HINSTANCE instance) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(instance, path, MAX_PATH);
  std::wstring name(path);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

}  // namespace

CWinApp::CWinApp(CStrArg lpszAppName) {
  m_bAutoDelete = FALSE;
  AFX_MODULE_STATE* state = AfxGetModuleState();
  state->m_pCurrentWinApp = this;
  Thread().pThread = this;
  m_nThreadID = ::GetCurrentThreadId();
  m_hInstance = state->m_hCurrentInstanceHandle;
  m_exeName = ModuleBaseName(m_hInstance);
  m_pszExeName = m_exeName.c_str();
  if (!lpszAppName.IsNull() && !lpszAppName.IsResourceId()) {
    m_appName = lpszAppName.get();
  } else {
    CString title;
    m_appName = title.LoadString(m_hInstance, AFX_IDS_APP_TITLE) ? title.str() : m_exeName;
  }
  m_pszAppName = m_appName.c_str();
  state->m_lpszCurrentAppName = m_pszAppName;
  m_profileName = m_exeName + L".INI";
  m_pszProfileName = m_profileName.c_str();
}

CWinApp::~CWinApp() {
  for (CObject* object : m_templateObjects) delete object;
  m_templateObjects.clear();
  m_templateList.clear();
  AFX_MODULE_STATE* state = AfxGetModuleState();
  if (state->m_pCurrentWinApp == this) {
    state->m_pCurrentWinApp = nullptr;
    state->m_lpszCurrentAppName = nullptr;
  }
  AFX_MODULE_STATE* own = AfxGetStaticModuleState();
  if (own->m_pCurrentWinApp == this) {
    own->m_pCurrentWinApp = nullptr;
    own->m_lpszCurrentAppName = nullptr;
  }
  if (Thread().pThread == this) Thread().pThread = nullptr;
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  state->m_hCurrentInstanceHandle = hInstance;
  state->m_hCurrentResourceHandle = hInstance;
  if (CWinApp* app = AfxGetApp()) {
    app->m_hInstance = hInstance;
    app->m_nCmdShow = nCmdShow;
    app->m_lpCmdLine = lpCmdLine;
  }
  return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
  CWinThread* thread = AfxGetThread();
  CWinApp* app = AfxGetApp();
  if (!thread || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) return -1;
  int result = -1;
  if (app && !app->InitApplication()) {
    AfxDeleteTempMaps();
    return result;
  }
  if (!thread->InitInstance()) {
    if (thread->m_pMainWnd && thread->m_pMainWnd->m_hWnd) thread->m_pMainWnd->DestroyWindow();
    result = thread->ExitInstance();
  } else {
    result = thread->Run();
  }
  AfxDeleteTempMaps();
  return result;
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int CWinApp::Run() {
  // Without a main window nothing would end the loop.
  if (!m_pMainWnd) AfxPostQuitMessage(0);
  return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

void CWinApp::OnAppExit() {
  if (CWnd* main = AfxGetMainWnd())
    if (main->m_hWnd) main->SendMessage(WM_CLOSE);
}

// ---------------------------------------------------------------------------
// Message boxes

namespace {

struct HookHolder {
  std::mutex lock;
  AfxMessageBoxHook hook;
};

HookHolder& Hook() {
  static HookHolder holder;
  return holder;
}

UINT WithDefaultIcon(UINT nType) {
  if (nType & MB_ICONMASK) return nType;
  switch (nType & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
      return nType | MB_ICONEXCLAMATION;
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return nType | MB_ICONQUESTION;
    default:
      return nType;
  }
}

}  // namespace

bool afx_impl::MessageBoxThroughHook(LPCWSTR text, UINT type, int& answer) {
  AfxMessageBoxHook hook;
  {
    std::lock_guard<std::mutex> guard(Hook().lock);
    hook = Hook().hook;
  }
  if (!hook) return false;
  answer = hook(CString(text), type);
  return true;
}

AfxMessageBoxHook AfxSetMessageBoxHook(AfxMessageBoxHook hook) {
  std::lock_guard<std::mutex> guard(Hook().lock);
  AfxMessageBoxHook previous = std::move(Hook().hook);
  Hook().hook = std::move(hook);
  return previous;
}

int CWinApp::DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT) {
  nType = WithDefaultIcon(nType);
  int answer = 0;
  if (afx_impl::MessageBoxThroughHook(lpszPrompt, nType, answer)) return answer;
  HWND owner = nullptr;
  if (CWnd* main = AfxGetMainWnd())
    if (main->m_hWnd && ::IsWindowEnabled(main->m_hWnd)) owner = ::GetLastActivePopup(main->m_hWnd);
  return ::MessageBoxW(owner, lpszPrompt ? lpszPrompt : L"", m_pszAppName, nType | MB_TASKMODAL);
}

int AfxMessageBox(CStrArg lpszText, UINT nType, UINT nIDHelp) {
  LPCWSTR text = lpszText.IsNull() ? L"" : lpszText.get();
  if (CWinApp* app = AfxGetApp()) return app->DoMessageBox(text, nType, nIDHelp);
  nType = WithDefaultIcon(nType);
  int answer = 0;
  if (afx_impl::MessageBoxThroughHook(text, nType, answer)) return answer;
  return ::MessageBoxW(nullptr, text, AfxGetAppName(), nType | MB_TASKMODAL);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  text.LoadString(nIDPrompt);
  if (nIDHelp == static_cast<UINT>(-1)) nIDHelp = nIDPrompt;
  return AfxMessageBox(text, nType, nIDHelp);
}

// ---------------------------------------------------------------------------
// Resources

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEW(nIDResource)); }

HICON CWinApp::LoadIcon(CStrArg lpszResourceName) const {
  return ::LoadIconW(AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCEW(14)), lpszResourceName);
}

HICON CWinApp::LoadStandardIcon(CStrArg lpszIconName) const { return ::LoadIconW(nullptr, lpszIconName); }

HICON CWinApp::LoadOEMIcon(UINT nIDIcon) const { return ::LoadIconW(nullptr, MAKEINTRESOURCEW(nIDIcon)); }

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEW(nIDResource)); }

HCURSOR CWinApp::LoadCursor(CStrArg lpszResourceName) const {
  return ::LoadCursorW(AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCEW(12)), lpszResourceName);
}

HCURSOR CWinApp::LoadStandardCursor(CStrArg lpszCursorName) const { return ::LoadCursorW(nullptr, lpszCursorName); }

HCURSOR CWinApp::LoadOEMCursor(UINT nIDCursor) const { return ::LoadCursorW(nullptr, MAKEINTRESOURCEW(nIDCursor)); }

// ---------------------------------------------------------------------------
// Profile

void CWinApp::SetRegistryKey(CStrArg lpszRegistryKey) {
  if (lpszRegistryKey.IsNull()) return;
  m_registryKey = lpszRegistryKey.get();
  m_pszRegistryKey = m_registryKey.c_str();
  m_profileName = m_appName;
  m_pszProfileName = m_profileName.c_str();
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
  CString key;
  if (key.LoadString(nIDRegistryKey)) SetRegistryKey(key);
}

namespace {

// Open keys, closed on scope exit.
struct Key {
  HKEY h = nullptr;
  ~Key() {
    if (h) ::RegCloseKey(h);
  }
};

std::wstring HexOf(const BYTE* data, UINT n) {
  static const wchar_t digits[] = L"0123456789ABCDEF";
  std::wstring out;
  for (UINT i = 0; i < n; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

}  // namespace

HKEY CWinApp::GetAppRegistryKey() {
  if (!m_pszRegistryKey || !m_pszProfileName) return nullptr;
  const std::wstring path = std::wstring(L"Software\\") + m_pszRegistryKey + L"\\" + m_pszProfileName;
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

HKEY CWinApp::GetSectionKey(CStrArg lpszSection) {
  if (lpszSection.IsNull()) return nullptr;
  Key app;
  app.h = GetAppRegistryKey();
  if (!app.h) return nullptr;
  HKEY key = nullptr;
  if (::RegCreateKeyExW(app.h, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

UINT CWinApp::GetProfileInt(CStrArg lpszSection, CStrArg lpszEntry, int nDefault) {
  if (lpszSection.IsNull() || lpszEntry.IsNull()) return static_cast<UINT>(nDefault);
  if (!m_pszRegistryKey)
    return ::GetPrivateProfileIntW(lpszSection, lpszEntry, nDefault, m_pszProfileName);
  Key section;
  section.h = GetSectionKey(lpszSection);
  if (!section.h) return static_cast<UINT>(nDefault);
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  if (::RegQueryValueExW(section.h, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return static_cast<UINT>(nDefault);
  return value;
}

BOOL CWinApp::WriteProfileInt(CStrArg lpszSection, CStrArg lpszEntry, int nValue) {
  if (lpszSection.IsNull() || lpszEntry.IsNull()) return FALSE;
  if (!m_pszRegistryKey) {
    wchar_t text[16];
    swprintf(text, 16, L"%d", nValue);
    return ::WritePrivateProfileStringW(lpszSection, lpszEntry, text, m_pszProfileName);
  }
  Key section;
  section.h = GetSectionKey(lpszSection);
  if (!section.h) return FALSE;
  const DWORD value = static_cast<DWORD>(nValue);
  return ::RegSetValueExW(section.h, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(CStrArg lpszSection, CStrArg lpszEntry, CStrArg lpszDefault) {
  const CString fallback(lpszDefault.IsNull() ? L"" : lpszDefault.get());
  if (lpszSection.IsNull() || lpszEntry.IsNull()) return fallback;
  if (!m_pszRegistryKey) {
    std::wstring buffer(256, L'\0');
    for (;;) {
      const DWORD n = ::GetPrivateProfileStringW(lpszSection, lpszEntry, fallback, buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), m_pszProfileName);
      if (n < buffer.size() - 1) {
        buffer.resize(n);
        return CString(buffer);
      }
      buffer.resize(buffer.size() * 2);
    }
  }
  Key section;
  section.h = GetSectionKey(lpszSection);
  if (!section.h) return fallback;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(section.h, lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return fallback;
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (::RegQueryValueExW(section.h, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS)
    return fallback;
  value.resize(std::wcslen(value.c_str()));
  return CString(value);
}

BOOL CWinApp::WriteProfileString(CStrArg lpszSection, CStrArg lpszEntry, CStrArg lpszValue) {
  if (lpszSection.IsNull()) return FALSE;
  if (!m_pszRegistryKey)
    return ::WritePrivateProfileStringW(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
  if (lpszEntry.IsNull()) {
    Key app;
    app.h = GetAppRegistryKey();
    return app.h && ::RegDeleteTreeW(app.h, lpszSection) == ERROR_SUCCESS;
  }
  Key section;
  section.h = GetSectionKey(lpszSection);
  if (!section.h) return FALSE;
  if (lpszValue.IsNull()) return ::RegDeleteValueW(section.h, lpszEntry) == ERROR_SUCCESS;
  const LPCWSTR value = lpszValue;
  const DWORD bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(section.h, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) ==
         ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(CStrArg lpszSection, CStrArg lpszEntry, LPBYTE* ppData, UINT* pBytes) {
  if (!ppData || !pBytes) return FALSE;
  *ppData = nullptr;
  *pBytes = 0;
  if (lpszSection.IsNull() || lpszEntry.IsNull()) return FALSE;
  if (!m_pszRegistryKey) {
    const CString text = GetProfileString(lpszSection, lpszEntry);
    const int n = text.GetLength() / 2;
    if (n == 0) return FALSE;
    auto hexValue = [](wchar_t c) -> int {
      if (c >= L'0' && c <= L'9') return c - L'0';
      if (c >= L'A' && c <= L'F') return c - L'A' + 10;
      if (c >= L'a' && c <= L'f') return c - L'a' + 10;
      return -1;
    };
    std::unique_ptr<BYTE[]> data(new BYTE[static_cast<size_t>(n)]);
    for (int i = 0; i < n; ++i) {
      const int hi = hexValue(text[2 * i]);
      const int lo = hexValue(text[2 * i + 1]);
      if (hi < 0 || lo < 0) return FALSE;
      data[static_cast<size_t>(i)] = static_cast<BYTE>(hi * 16 + lo);
    }
    *ppData = data.release();
    *pBytes = static_cast<UINT>(n);
    return TRUE;
  }
  Key section;
  section.h = GetSectionKey(lpszSection);
  if (!section.h) return FALSE;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(section.h, lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_BINARY || size == 0)
    return FALSE;
  std::unique_ptr<BYTE[]> data(new BYTE[size]);
  if (::RegQueryValueExW(section.h, lpszEntry, nullptr, &type, data.get(), &size) != ERROR_SUCCESS) return FALSE;
  *ppData = data.release();
  *pBytes = size;
  return TRUE;
}

BOOL CWinApp::WriteProfileBinary(CStrArg lpszSection, CStrArg lpszEntry, LPBYTE pData, UINT nBytes) {
  if (lpszSection.IsNull() || lpszEntry.IsNull() || (!pData && nBytes)) return FALSE;
  if (!m_pszRegistryKey) return WriteProfileString(lpszSection, lpszEntry, HexOf(pData, nBytes));
  Key section;
  section.h = GetSectionKey(lpszSection);
  if (!section.h) return FALSE;
  return ::RegSetValueExW(section.h, lpszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  m_nMaxMRU = nMaxMRU;
  m_recentFiles.RemoveAll();
  for (UINT i = 1; i <= nMaxMRU; ++i) {
    wchar_t entry[16];
    swprintf(entry, 16, L"File%u", i);
    const CString name = GetProfileString(L"Recent File List", entry);
    if (!name.IsEmpty()) m_recentFiles.Add(name);
  }
}

// ---------------------------------------------------------------------------
// Command line

void CCommandLineInfo::ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL) {
  if (!pszParam) return;
  if (bFlag) {
    if (::lstrcmpiW(pszParam, L"Embedding") == 0) {
      m_bRunEmbedded = TRUE;
      m_bShowSplash = FALSE;
      if (m_nShellCommand == FileNew) m_nShellCommand = FileNothing;
    } else if (::lstrcmpiW(pszParam, L"Automation") == 0) {
      m_bRunAutomated = TRUE;
      m_bShowSplash = FALSE;
      if (m_nShellCommand == FileNew) m_nShellCommand = FileNothing;
    } else if (::lstrcmpiW(pszParam, L"Unregister") == 0 || ::lstrcmpiW(pszParam, L"Unregserver") == 0) {
      m_nShellCommand = AppUnregister;
    } else if (::lstrcmpiW(pszParam, L"p") == 0) {
      m_nShellCommand = FilePrint;
    } else if (::lstrcmpiW(pszParam, L"pt") == 0) {
      m_nShellCommand = FilePrintTo;
    } else if (::lstrcmpiW(pszParam, L"dde") == 0) {
      m_nShellCommand = FileDDE;
    }
    return;
  }
  if (m_strFileName.IsEmpty()) {
    m_strFileName = pszParam;
    if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
  } else if (m_nShellCommand == FilePrintTo) {
    if (m_strPrinterName.IsEmpty()) m_strPrinterName = pszParam;
    else if (m_strDriverName.IsEmpty()) m_strDriverName = pszParam;
    else if (m_strPortName.IsEmpty()) m_strPortName = pszParam;
  }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv) return;
  for (int i = 1; i < argc; ++i) {
    LPCWSTR param = argv[i];
    const BOOL flag = param[0] == L'-' || param[0] == L'/';
    if (flag) ++param;
    rCmdInfo.ParseParam(param, flag, i == argc - 1);
  }
  ::LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNothing:
      return TRUE;
    case CCommandLineInfo::AppUnregister:
      return FALSE;
    default:
      // FileNew, and the others (a named file opens as a new document too).
      if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
      return m_pMainWnd != nullptr;
  }
}
