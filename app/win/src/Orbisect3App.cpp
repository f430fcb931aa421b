#include "orb_app/Orbisect3App.h"

#include <objbase.h>

#include <cstdarg>
#include <cstdio>

#include "orb_app/AboutDlg.h"
#include "orb_app/DriverSelectDlg.h"
#include "orb_app/Orbisect3Doc.h"
#include "orb_app/driver_binding.h"
#include "resource.h"
#include "ui_win/MainFrm.h"
#include "ui_win/TransponderPanes.h"

using orb::app::ProgramLog;

BEGIN_MESSAGE_MAP(COrbisect3App, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, &COrbisect3App::OnAppAbout)
END_MESSAGE_MAP()

COrbisect3App::COrbisect3App() = default;

// The program state releases the satellite list manager, the driver control
// and the driver, in that order.
COrbisect3App::~COrbisect3App() = default;

COrbisect3App* GetOrbisect3App() { return dynamic_cast<COrbisect3App*>(AfxGetApp()); }

CLog* COrbisect3App::GetBrowserLog() const { return &ProgramLog(); }

BOOL COrbisect3App::InitInstance() {
  CTransponderValuePaneWnd::SetLog(&ProgramLog());
  return orb::app::RunStartup(*this, m_state, ProgramLog(), orb::app::GetLogFilePath()) ? TRUE
                                                                                         : FALSE;
}

int COrbisect3App::ExitInstance() {
  orb::app::RunShutdown(*this, m_state);
  return CWinApp::ExitInstance();
}

void COrbisect3App::EnableControlContainer() { AfxEnableControlContainer(); }

// Three-dimensional controls are the system's own look; nothing to enable.
void COrbisect3App::LoadProfileSettings() {
  SetRegistryKey("Local AppWizard-Generated Applications");
  LoadStdProfileSettings(4);
}

void COrbisect3App::RegisterDocumentTemplate() {
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(COrbisect3Doc),
                                        RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CTransponderTableListPaneWnd)));
}

void COrbisect3App::ReadCommandLine() { CWinApp::ParseCommandLine(m_cmdInfo); }

bool COrbisect3App::OpenMainWindow() {
  if (!CWinApp::ProcessShellCommand(m_cmdInfo) || !m_pMainWnd) return false;
  m_pMainWnd->ShowWindow(SW_SHOW);
  m_pMainWnd->UpdateWindow();
  return true;
}

INT_PTR COrbisect3App::RunDriverSelection(std::string& chosenClsid) {
  CDriverSelectDlg dlg;
  const INT_PTR result = dlg.DoModal();
  chosenClsid = dlg.GetChosenClsid();
  return result;
}

void COrbisect3App::ShowMessage(const std::string& text) { AfxMessageBox(text.c_str()); }

void COrbisect3App::GetAppDataPaths() {
  m_state.paths = orb::app::GetAppDataPaths(
      ProgramLog(), [this](int csidl, std::string& path) { return LookupFolder(csidl, path); });
}

void COrbisect3App::CreateAppDataDirectories() { orb::app::CreateAppDataDirectories(m_state.paths); }

bool COrbisect3App::CreateSatListManager() {
  return orb::app::CreateAndLoadSatList(*this, m_state, ProgramLog());
}

void COrbisect3App::ReadBuildNumber() { m_state.buildNumber = orb::app::ReadBuildNumber(ProgramLog()); }

void COrbisect3App::read_driver_clsid() { orb::app::ReadDriverClsid(*this, m_state, ProgramLog()); }

bool COrbisect3App::CreateDriver() { return orb::app::CreateDriver(m_state, ProgramLog()); }

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

void RebuildTree(lib13818::NetworkMap& networks) {
  if (CTransponderTableListPaneWnd* tree = GetTreePaneWnd()) tree->BuildAllNetworks(networks, GetValuePaneWnd());
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
