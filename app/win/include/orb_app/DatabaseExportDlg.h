#pragma once
// The database export dialogs.  CDatabaseExportDlg (dialog 137) lets the user
// type the file's path into the "Database:" field or choose it with Browse...
// (which fills the field) and start the export with Export...;
// CExportProgressDlg (dialog 138) shows a fixed text while a worker thread
// writes the database (orb_export/database_export.h) and closes itself when
// the worker has finished.  An error of the export is shown by the GUI
// thread once the worker has ended.
#include <string>

#include "orb_app/mfc.h"
#include "orb_store/si_store.h"

class CDatabaseExportDlg : public CDialog {
 public:
  CDatabaseExportDlg(const lib13818::NetworkMap* networks, CWnd* parent = nullptr);
  enum { IDD = 137 };

  // The database file: the field's text as the last Export... or Browse...
  // took it; empty until then.
  const CString& GetPath() const { return m_path; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnExport();
  afx_msg void OnBrowse();
  DECLARE_MESSAGE_MAP()

 private:
  // The path := the field's text.
  void TakeTypedPath();

  CEdit m_edit;  // the path, typed or filled by Browse...
  CString m_path;
  const lib13818::NetworkMap* m_networks;
};

class CExportProgressDlg : public CDialog {
 public:
  CExportProgressDlg(const lib13818::NetworkMap* networks, const CString& path, CWnd* parent = nullptr);
  ~CExportProgressDlg() override;
  enum { IDD = 138 };

  // The worker's body: the export, then WM_USER + 2 to the dialog.
  UINT RunExport();
  // What the last export reported ("" when it succeeded).
  const std::string& GetErrorText() const { return m_errorText; }

 protected:
  BOOL OnInitDialog() override;
  // Escape and Enter do not end the dialog while its worker runs.
  void OnOK() override;
  void OnCancel() override;
  afx_msg LRESULT OnExportDone(WPARAM wParam, LPARAM lParam);
  // Starts the worker suspended (AfxBeginThread); null when it cannot.
  virtual CWinThread* BeginWorker();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_path;
  const lib13818::NetworkMap* m_networks;
  CWinThread* m_thread = nullptr;
  std::string m_errorText;  // written by the worker before it posts, read after the join
};

// The worker's controlling function; the parameter is the progress dialog.
UINT ExportThreadProc(LPVOID pParam);
