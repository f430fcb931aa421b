#include "orb_app/Orbisect3App.h"

#include <objbase.h>

#include <cstdarg>
#include <cstdio>

#include "orb_app/AboutDlg.h"
#include "orb_app/DriverSelectDlg.h"
#include "orb_app/Orbisect3Doc.h"
#include "orb_app/driver_binding.h"
#include "orb_app/identifier_names.h"
#include "orb_atl/bstr.h"
#include "orb_common/RegistryKey.h"
#include "resource.h"
#include "ui_win/MainFrm.h"
#include "ui_win/TransponderPanes.h"

using orb::app::ProgramLog;

BEGIN_MESSAGE_MAP(COrbisect3App, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, &COrbisect3App::OnAppAbout)
END_MESSAGE_MAP()

COrbisect3App::COrbisect3App() = default;

COrbisect3App::~COrbisect3App() {
  if (m_satListManager) m_satListManager->Release();
  if (m_driverControl) m_driverControl->Release();
  if (m_driver) m_driver->Release();
}

COrbisect3App* GetOrbisect3App() { return dynamic_cast<COrbisect3App*>(AfxGetApp()); }

BOOL COrbisect3App::InitInstance() {
  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);

  CLog& log = ProgramLog();
  log.Open(orb::app::GetLogFilePath().c_str(), CLog::kFullPath | CLog::kDebugger, 15, 0);
  log.SetLevel(4);
  log.Log(2, "Starting Orbisect 3");

  orb::app::BuildIdentifierNames();
  AfxEnableControlContainer();

  GetAppDataPaths();
  CreateAppDataDirectories();
  if (!CreateSatListManager()) return FALSE;

  SetRegistryKey("Local AppWizard-Generated Applications");
  LoadStdProfileSettings(4);
  ReadBuildNumber();

  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(COrbisect3Doc),
                                        RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CTransponderTableListPaneWnd)));

  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);

  read_driver_clsid();
  if (!CreateDriver()) {
    AfxMessageBox("Failed to initialize driver");
    CRegistryKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, orb::app::kProgramKeyPath)) {
      key.DeleteValue("driverclsid");
      key.Close();
    }
    return FALSE;
  }

  if (!ProcessShellCommand(cmdInfo)) return FALSE;
  m_pMainWnd->ShowWindow(SW_SHOW);
  m_pMainWnd->UpdateWindow();
  return TRUE;
}

int COrbisect3App::ExitInstance() {
  if (m_satListManager) {
    orb::com::Bstr path(GetSatListPath());
    const HRESULT hr = m_satListManager->Save(path);
    if (FAILED(hr)) {
      CString text;
      text.Format("Failed to save sat list: %08X", static_cast<unsigned>(hr));
      AfxMessageBox(text);
    }
  }
  if (m_driverControl) m_driverControl->SaveSettings();
  return CWinApp::ExitInstance();
}

void COrbisect3App::GetAppDataPaths() {
  m_paths = orb::app::GetAppDataPaths(ProgramLog(), m_folderLookup);
}

void COrbisect3App::CreateAppDataDirectories() { orb::app::CreateAppDataDirectories(m_paths); }

bool COrbisect3App::CreateSatListManager() {
  const HRESULT hr = ::CoCreateInstance(CLSID_SatListManager, nullptr, orb::app::kCreateContext,
                                        IID_ISatListManager,
                                        reinterpret_cast<void**>(&m_satListManager));
  if (FAILED(hr)) {
    m_satListManager = nullptr;
    ProgramLog().Log(1, "Failed to create sat list manager: %08X", static_cast<unsigned>(hr));
    CString text;
    text.Format("Failed to create sat list manager: %08X", static_cast<unsigned>(hr));
    AfxMessageBox(text);
    return false;
  }
  orb::com::Bstr path(GetSatListPath());
  if (FAILED(m_satListManager->Load(path))) orb::app::FillDefaultSatList(m_satListManager);
  return true;
}

void COrbisect3App::ReadBuildNumber() { m_buildNumber = orb::app::ReadBuildNumber(ProgramLog()); }

INT_PTR COrbisect3App::RunDriverSelection(std::string& chosenClsid) {
  CDriverSelectDlg dlg;
  const INT_PTR result = dlg.DoModal();
  chosenClsid = dlg.GetChosenClsid();
  return result;
}

void COrbisect3App::read_driver_clsid() {
  CLog& log = ProgramLog();
  log.Log(2, "read_driver_clsid()");
  CRegistryKey key;
  bool found = false;
  if (key.Open(HKEY_LOCAL_MACHINE, orb::app::kProgramKeyPath))
    found = key.QueryString("driverclsid", m_driverClsid) != 0;
  if (!found) {
    std::string chosen;
    if (RunDriverSelection(chosen) != 0) {
      m_driverClsid = chosen;
      if (key.Create(HKEY_LOCAL_MACHINE, orb::app::kProgramKeyPath))
        key.SetString("driverclsid", m_driverClsid.c_str());
    }
  }
  log.Log(2, "read_driver_clsid() exit");
  key.Close();
}

bool COrbisect3App::CreateDriver() {
  orb::com::ComPtr<IDvbDriver> driver;
  orb::com::ComPtr<IDriverControl> control;
  const HRESULT hr = orb::app::CreateDriverObject(m_driverClsid, m_paths, m_satListManager,
                                                  driver, control);
  if (m_driver) m_driver->Release();
  if (m_driverControl) m_driverControl->Release();
  m_driver = driver.Detach();
  m_driverControl = control.Detach();
  if (FAILED(hr)) ProgramLog().Log(1, "Failed to create driver: %08X", static_cast<unsigned>(hr));
  return SUCCEEDED(hr);
}

void COrbisect3App::OnAppAbout() {
  CAboutDlg dlg;
  dlg.DoModal();
}

// ---------------------------------------------------------------------------
// Program-wide services.

namespace {

CMainFrame* MainFrame() {
  if (!AfxGetApp()) return nullptr;
  return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

}  // namespace

CTransponderTableListPaneWnd* GetTreePaneWnd() {
  CMainFrame* frame = MainFrame();
  return frame ? frame->GetTreePane() : nullptr;
}

CTransponderValuePaneWnd* GetValuePaneWnd() {
  CMainFrame* frame = MainFrame();
  return frame ? frame->GetValuePane() : nullptr;
}

void OutputMessage(const char* format, ...) {
  CMainFrame* frame = MainFrame();
  if (!frame) return;
  char text[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  frame->AddOutputLine(text);
}

void ClearOutputWindow() {
  if (CMainFrame* frame = MainFrame()) frame->ClearOutput();
}
