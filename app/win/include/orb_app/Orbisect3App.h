#pragma once
// COrbisect3App: the application object.  InitInstance brings the program up
// (COM, log, identifier names, folders, satellite list, settings, build
// number, document template, driver plug-in); ExitInstance saves the
// satellite list and the driver's settings.
#include <string>

#include "contract/driver_contract.h"
#include "orb_app/mfc.h"
#include "orb_app/program.h"
#include "orb_app/startup.h"
#include "orb_store/si_store.h"
#include "satlistmgr.h"
#include "ui_win/BrowserServices.h"

class COrbisect3App : public CWinApp, public CBrowserServices, private orb::app::StartupHost {
 public:
  COrbisect3App();
  ~COrbisect3App() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Start-up steps (InitInstance runs them in this order through
  // orb::app::RunStartup).
  void GetAppDataPaths();
  void CreateAppDataDirectories();
  // Creates the satellite list manager and loads satlist.xml (the default
  // list when that fails); false when the manager cannot be created.
  bool CreateSatListManager();
  void ReadBuildNumber();
  void read_driver_clsid();
  bool CreateDriver();

  const std::wstring& GetRegistryKeyPath() const { return m_state.paths.registryKeyPath; }
  const std::wstring& GetUserDataPath() const { return m_state.paths.userFolder; }
  const std::wstring& GetAllUsersDataPath() const { return m_state.paths.allUsersFolder; }
  std::wstring GetSatListPath() const { return m_state.SatListPath(); }
  unsigned GetBuildNumber() const { return m_state.buildNumber; }
  const std::string& GetDriverClsid() const { return m_state.driverClsid; }

  IDvbDriver* GetDriver() const override { return m_state.driver; }
  CLog* GetBrowserLog() const override;
  IDriverControl* GetDriverControl() const { return m_state.driverControl; }
  ISatListManager* GetSatListManager() const { return m_state.satListManager; }

  afx_msg void OnAppAbout();
  DECLARE_MESSAGE_MAP()

 private:
  // Steps of the frame library and of the user (orb::app::StartupHost).
  void EnableControlContainer() override;
  void LoadProfileSettings() override;
  void RegisterDocumentTemplate() override;
  void ReadCommandLine() override;
  bool OpenMainWindow() override;
  INT_PTR RunDriverSelection(std::string& chosenClsid) override;
  void ShowMessage(const std::string& text) override;

  orb::app::ProgramState m_state;
  CCommandLineInfo m_cmdInfo;
};

// The application object (nullptr before it exists).
COrbisect3App* GetOrbisect3App();

// Program-wide services: the Output window and the panes of the main frame.
class CMainFrame;
class CTransponderTableListPaneWnd;
class CTransponderValuePaneWnd;
CTransponderTableListPaneWnd* GetTreePaneWnd();
CTransponderValuePaneWnd* GetValuePaneWnd();
// Rebuilds the whole tree from the document's store, its items bound to the
// value pane (nothing without a main window).
void RebuildTree(lib13818::NetworkMap& networks);
// printf-style line appended to the Output window's list (nothing without a
// main window); long lines are cut at 2047 characters.
void OutputMessage(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(gnu_printf, 1, 2)))
#endif
    ;
void ClearOutputWindow();
