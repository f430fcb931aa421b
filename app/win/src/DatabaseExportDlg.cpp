#include "orb_app/DatabaseExportDlg.h"

#include <afxdlgs.h>
#include <commdlg.h>

#include "orb_app/startup.h"
#include "orb_export/database_export.h"
#include "resource.h"

namespace {

constexpr UINT kExportDoneMessage = WM_USER + 2;

std::string Utf8(const CString& text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.GetString(), text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, text.GetString(), text.GetLength(), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

}  // namespace

// ---- CDatabaseExportDlg ----

BEGIN_MESSAGE_MAP(CDatabaseExportDlg, CDialog)
  ON_BN_CLICKED(IDC_EXPORT_EXPORT, &CDatabaseExportDlg::OnExport)
  ON_BN_CLICKED(IDC_EXPORT_BROWSE, &CDatabaseExportDlg::OnBrowse)
END_MESSAGE_MAP()

CDatabaseExportDlg::CDatabaseExportDlg(const lib13818::NetworkMap* networks, CWnd* parent)
    : CDialog(IDD, parent), m_networks(networks) {}

void CDatabaseExportDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_EXPORT_DATABASE, m_edit);
}

void CDatabaseExportDlg::TakeTypedPath() {
  if (!m_edit.m_hWnd) return;
  CString text;
  m_edit.GetWindowText(text);
  m_path = text;
}

void CDatabaseExportDlg::OnBrowse() {
  // The file dialog starts from what the field holds now.
  TakeTypedPath();
  CFileDialog dialog(FALSE, L"db", m_path, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, nullptr);
  if (dialog.DoModal() != IDOK) {
    if (const DWORD error = ::CommDlgExtendedError())
      orb::app::ProgramLog().Log(1, "Database export: the file dialog failed: %#lx", static_cast<unsigned long>(error));
    return;
  }
  m_path = dialog.GetPathName();
  m_edit.SetWindowText(m_path);
}

void CDatabaseExportDlg::OnExport() {
  // The path is what the "Database:" field holds, typed or browsed.
  TakeTypedPath();
  // Owned by this dialog, which it disables while the export runs: no second
  // export over the first, no Cancel under the progress dialog.
  CExportProgressDlg progress(m_networks, m_path, this);
  progress.DoModal();
}

// ---- CExportProgressDlg ----

BEGIN_MESSAGE_MAP(CExportProgressDlg, CDialog)
  ON_MESSAGE(kExportDoneMessage, &CExportProgressDlg::OnExportDone)
END_MESSAGE_MAP()

CExportProgressDlg::CExportProgressDlg(const lib13818::NetworkMap* networks, const CString& path, CWnd* parent)
    : CDialog(IDD, parent), m_path(path), m_networks(networks) {}

CExportProgressDlg::~CExportProgressDlg() {
  // The dialog ends only through OnExportDone, which joins the worker; a
  // worker still here (the window went away some other way) is joined now,
  // before the members it uses go.
  if (m_thread) {
    ::WaitForSingleObject(m_thread->m_hThread, INFINITE);
    delete m_thread;
  }
}

UINT ExportThreadProc(LPVOID pParam) { return static_cast<CExportProgressDlg*>(pParam)->RunExport(); }

BOOL CExportProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_errorText.clear();
  m_thread = BeginWorker();
  if (!m_thread) {
    orb::app::ProgramLog().Log(1, "Database export: failed to create thread");
    AfxMessageBox(L"Failed to create thread", MB_OK);
    // Nothing was written; the dialog has no worker to wait for.
    EndDialog(IDABORT);
    return FALSE;
  }
  m_thread->m_bAutoDelete = FALSE;
  m_thread->ResumeThread();
  return TRUE;
}

CWinThread* CExportProgressDlg::BeginWorker() {
  return AfxBeginThread(ExportThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
}

void CExportProgressDlg::OnOK() {
  if (!m_thread) CDialog::OnOK();
}

void CExportProgressDlg::OnCancel() {
  if (!m_thread) CDialog::OnCancel();
}

UINT CExportProgressDlg::RunExport() {
  const std::string path = Utf8(m_path);
  orb::app::ProgramLog().Log(2, "Database export to \"%s\"", path.c_str());
  orb::app::ExportDatabase(m_networks, path, [this](const std::string& message) { m_errorText = message; });
  ::PostMessageW(m_hWnd, kExportDoneMessage, 0, 0);
  return 0;
}

LRESULT CExportProgressDlg::OnExportDone(WPARAM, LPARAM) {
  if (!m_thread) return 0;
  ::WaitForSingleObject(m_thread->m_hThread, INFINITE);
  DWORD exitCode = 0;
  ::GetExitCodeThread(m_thread->m_hThread, &exitCode);
  delete m_thread;
  m_thread = nullptr;
  if (!m_errorText.empty()) {
    orb::app::ProgramLog().Log(1, "Database export failed: %s", m_errorText.c_str());
    AfxMessageBox(Wide(m_errorText).c_str(), MB_OK);
  }
  EndDialog(static_cast<int>(exitCode));
  return 0;
}
