#pragma once
// COrbisect3App: the application object.  InitInstance brings the program up
// (COM, log, identifier names, folders, satellite list, settings, build
// number, document template, driver plug-in); ExitInstance saves the
// satellite list and the driver's settings.
#include <string>

#include "contract/driver_contract.h"
#include "orb_app/mfc.h"
#include "orb_app/startup.h"
#include "satlistmgr.h"

class COrbisect3App : public CWinApp {
 public:
  COrbisect3App();
  ~COrbisect3App() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Start-up steps (in the order InitInstance runs them).
  void GetAppDataPaths();
  void CreateAppDataDirectories();
  // Creates the satellite list manager and loads satlist.xml (the default
  // list when that fails); false when the manager cannot be created.
  bool CreateSatListManager();
  void ReadBuildNumber();
  void read_driver_clsid();
  bool CreateDriver();

  const std::wstring& GetRegistryKeyPath() const { return m_paths.registryKeyPath; }
  const std::wstring& GetUserDataPath() const { return m_paths.userFolder; }
  const std::wstring& GetAllUsersDataPath() const { return m_paths.allUsersFolder; }
  std::wstring GetSatListPath() const { return m_paths.allUsersFolder + orb::app::kSatListFileName; }
  unsigned GetBuildNumber() const { return m_buildNumber; }
  const std::string& GetDriverClsid() const { return m_driverClsid; }

  IDvbDriver* GetDriver() const { return m_driver; }
  IDriverControl* GetDriverControl() const { return m_driverControl; }
  ISatListManager* GetSatListManager() const { return m_satListManager; }

  afx_msg void OnAppAbout();
  DECLARE_MESSAGE_MAP()

 protected:
  // Where the folders are looked up (tests replace it).
  orb::app::FolderLookup m_folderLookup = orb::app::ShellFolderLookup;
  // Runs the driver selection dialog; returns its result and the chosen text.
  virtual INT_PTR RunDriverSelection(std::string& chosenClsid);

 private:
  std::string m_driverClsid;
  IDvbDriver* m_driver = nullptr;
  IDriverControl* m_driverControl = nullptr;
  ISatListManager* m_satListManager = nullptr;
  orb::app::AppDataPaths m_paths;
  unsigned m_buildNumber = 0;
};

// The application object (nullptr before it exists).
COrbisect3App* GetOrbisect3App();

// Program-wide services: the Output window and the panes of the main frame.
class CMainFrame;
class CTransponderTableListPaneWnd;
class CTransponderValuePaneWnd;
CTransponderTableListPaneWnd* GetTreePaneWnd();
CTransponderValuePaneWnd* GetValuePaneWnd();
// printf-style line appended to the Output window's list (nothing without a
// main window); long lines are cut at 2047 characters.
void OutputMessage(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(gnu_printf, 1, 2)))
#endif
    ;
void ClearOutputWindow();
