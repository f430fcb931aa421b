#include "orb_app/SIReadingDlg.h"

#include <cstdarg>
#include <functional>

#include "orb_app/Orbisect3App.h"
#include "orb_app/scan_bridge.h"
#include "orb_app/startup.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_ptr.h"
#include "resource.h"

using orb::app::ProgramLog;

// Where the scan reports: the Output window, the log, the dialog's fields.
// Window calls from the worker cross to the GUI thread, which serves them in
// its modal loop.
class CSIReadingDlg::Host : public orb::scan::ScanHost {
 public:
  explicit Host(CSIReadingDlg& dlg) : dlg_(dlg) {}
  void Output(const std::string& line) override { OutputMessage("%s", line.c_str()); }
  void Log(int level, const std::string& line) override { ProgramLog().Log(level, "%s", line.c_str()); }
  void ClearOutput() override { ClearOutputWindow(); }
  void SetProgress(int id, const std::string& text) override {
    ::SetDlgItemTextW(dlg_.m_hWnd, id, orb::app::WideFromUtf8(text).c_str());
  }
  std::uint32_t TableSelection() override { return orb::app::ReadSITableSelection(); }
  void Message(const std::string& text) override { dlg_.m_pendingMessage = text; }

 private:
  CSIReadingDlg& dlg_;
};

BEGIN_MESSAGE_MAP(CSIReadingDlg, CDialog)
  ON_BN_CLICKED(IDC_SCAN_START, &CSIReadingDlg::OnStartStop)
  ON_MESSAGE(CSIReadingDlg::kScanDoneMessage, &CSIReadingDlg::OnScanDone)
  ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

// Waits for the worker while serving what it sends to this thread's windows
// (the Output window, the progress fields), so that a worker blocked in a
// SendMessage to us still reaches its end.  `tick` runs about every
// `tickMs` while the worker lives.
void JoinServingSentMessages(HANDLE thread, DWORD tickMs, const std::function<void()>& tick) {
  for (;;) {
    const DWORD r = ::MsgWaitForMultipleObjects(1, &thread, FALSE, tickMs, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) return;
    if (r == WAIT_OBJECT_0 + 1) {
      MSG msg;
      ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    } else if (tick) {
      tick();
    }
  }
}

}  // namespace

CSIReadingDlg::CSIReadingDlg(lib13818::NetworkMap& store, const UINT& mode, IDvbDriver*& driver,
                             CWnd* parent, ISatListManager* satList)
    : CDialog(IDD, parent), m_store(store), m_mode(mode), m_driver(driver), m_satList(satList) {
  if (!m_satList) {
    COrbisect3App* app = GetOrbisect3App();
    m_satList = app ? app->GetSatListManager() : nullptr;
  }
}

CSIReadingDlg::~CSIReadingDlg() {
  // A worker still running (the window went away some other way) is
  // cancelled and joined before anything it uses goes.
  if (m_worker) {
    m_cancel = true;
    CancelSections();
    JoinServingSentMessages(m_worker->m_hThread, kCancelRepeatMs, [this] { CancelSections(); });
    delete m_worker;
    m_worker = nullptr;
  }
  if (m_driverControl) m_driverControl->Release();
  if (m_setTuner) m_setTuner->Release();
  if (m_sectionReader) m_sectionReader->Release();
}

void CSIReadingDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SCAN_NIT_SECTION_LABEL, m_nitSectionLabel);
  DDX_Control(pDX, IDOK, m_close);
  DDX_Control(pDX, IDC_SCAN_START, m_startStop);
  DDX_Control(pDX, IDC_SCAN_SATELLITE_LABEL, m_satelliteLabel);
  DDX_Control(pDX, IDC_SCAN_SATELLITE, m_satellites);
  DDX_Control(pDX, IDC_SCAN_NIT_SECTION, m_nitSection);
  DDX_Control(pDX, IDC_SCAN_TRANSPORT_STREAM, m_transportStream);
  DDX_Control(pDX, IDC_SCAN_TRANSPORT_STREAM_LABEL, m_transportStreamLabel);
  DDX_Control(pDX, IDC_SCAN_SCANNING_LABEL, m_scanningLabel);
  DDX_Control(pDX, IDC_SCAN_NIT_ENTRY_LABEL, m_nitEntryLabel);
  DDX_Control(pDX, IDC_SCAN_SCANNING, m_scanning);
  DDX_Control(pDX, IDC_SCAN_NIT_ENTRY, m_nitEntry);
}

BOOL CSIReadingDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_driver) {
    m_driver->QueryInterface(IID_ISectionReader, reinterpret_cast<void**>(&m_sectionReader));
    m_driver->QueryInterface(IID_ISetTuner, reinterpret_cast<void**>(&m_setTuner));
    m_driver->QueryInterface(IID_IDriverControl, reinterpret_cast<void**>(&m_driverControl));
  }
  std::vector<std::wstring> names;
  if (!orb::app::SelectedSatelliteNames(m_satList, names)) return FALSE;
  for (const std::wstring& name : names)
    ::SendMessageW(m_satellites.m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));

  short type = 0;
  if (m_driverControl && SUCCEEDED(m_driverControl->GetDeliveryType(&type)) && type == DELIVERY_SATELLITE) {
    ShowCurrentSatellite();
  } else {
    for (CWnd* w : {static_cast<CWnd*>(&m_scanning), static_cast<CWnd*>(&m_scanningLabel),
                    static_cast<CWnd*>(&m_nitEntryLabel), static_cast<CWnd*>(&m_nitEntry),
                    static_cast<CWnd*>(&m_satellites), static_cast<CWnd*>(&m_satelliteLabel)})
      w->EnableWindow(FALSE);
  }
  EnableScanControls();
  return TRUE;
}

void CSIReadingDlg::ShowCurrentSatellite() {
  if (!m_setTuner) return;
  orb::com::Bstr name;
  SATDELIVERYDESC record{};
  const HRESULT hr = m_setTuner->GetSatChannel(name.Put(), &record);
  if (FAILED(hr)) {
    ProgramLog().Log(2, "failed to get current satellite: %#X", static_cast<unsigned>(hr));
    return;
  }
  ProgramLog().Log(4, "current satellite: %s", orb::app::Utf8FromWide(name.View()).c_str());
  const std::wstring copy = name.Str();
  if (copy.empty()) return;
  const LRESULT found = ::SendMessageW(m_satellites.m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(copy.c_str()));
  ::SendMessageW(m_satellites.m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void CSIReadingDlg::EnableScanControls() {
  auto disable = [](std::initializer_list<CWnd*> windows) {
    for (CWnd* w : windows) w->EnableWindow(FALSE);
  };
  auto na = [](std::initializer_list<CWnd*> windows) {
    for (CWnd* w : windows) w->SetWindowText("N/A");
  };
  switch (m_mode) {
    case orb::scan::SCAN_CURRENT_TRANSPONDER:
      disable({&m_scanningLabel, &m_scanning, &m_nitEntryLabel, &m_nitEntry, &m_nitSection,
               &m_nitSectionLabel, &m_satellites, &m_transportStreamLabel, &m_transportStream});
      na({&m_scanning, &m_nitSection, &m_transportStream});
      break;
    case orb::scan::SCAN_CURRENT_NIT:
      disable({&m_scanningLabel, &m_scanning, &m_nitEntryLabel, &m_nitEntry, &m_satellites});
      na({&m_scanning, &m_nitSection});
      break;
    case orb::scan::SCAN_SINGLE_SATELLITE:
      disable({&m_scanningLabel, &m_scanning});
      na({&m_scanning});
      break;
    case orb::scan::SCAN_ALL_SATELLITES:
      disable({&m_satellites});
      break;
    default:
      break;
  }
}

CWinThread* CSIReadingDlg::BeginWorker() {
  return AfxBeginThread(SIReadingThreadProc, this, 0, 0, CREATE_SUSPENDED, nullptr);
}

void CSIReadingDlg::CancelSections() {
  if (m_sectionReader) m_sectionReader->CancelSections();
}

void CSIReadingDlg::CancelScan() {
  if (m_idle) return;
  const bool first = !m_cancel.exchange(true);
  m_startStop.EnableWindow(FALSE);
  // The worker may be blocked in a section request for up to its timeout:
  // the driver ends it now.  A request started after this call (the worker
  // was tuning, or between two requests) resets the driver's cancel, so the
  // call is repeated until the worker is done; the worker itself starts no
  // new step once it sees the flag.
  CancelSections();
  if (first) {
    ProgramLog().Log(4, "scan cancelled");
    if (m_hWnd) SetTimer(kCancelTimer, kCancelRepeatMs);
  }
}

void CSIReadingDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kCancelTimer) {
    CDialog::OnTimer(nIDEvent);
    return;
  }
  if (m_idle || !m_cancel) {
    KillTimer(kCancelTimer);
    return;
  }
  CancelSections();
}

void CSIReadingDlg::OnStartStop() {
  if (!m_idle) {
    CancelScan();
    return;
  }
  // The satellite chosen now: the worker reads no window of the dialog.
  m_selectedSatellite.reset();
  const int index = m_satellites.GetCurSel();
  if (index != CB_ERR) {
    CString text;
    m_satellites.GetLBText(index, text);
    m_selectedSatellite = orb::app::Utf8FromWide(static_cast<LPCWSTR>(text));
  }
  m_pendingMessage.clear();
  // Cleared before the worker exists, so that no Cancel is lost.
  m_cancel = false;
  m_idle = false;
  m_startStop.SetWindowText("Cancel");
  m_close.EnableWindow(FALSE);
  m_worker = BeginWorker();
  if (!m_worker) {
    ProgramLog().Log(1, "Failed to start the scan");
    OutputMessage("Failed to start the scan");
    BackToIdle();
    return;
  }
  m_worker->m_bAutoDelete = FALSE;
  m_worker->ResumeThread();
}

void CSIReadingDlg::BackToIdle() {
  m_idle = true;
  m_startStop.SetWindowText("Start");
  m_startStop.EnableWindow(TRUE);
  m_close.EnableWindow(TRUE);
}

LRESULT CSIReadingDlg::OnScanDone(WPARAM, LPARAM) {
  KillTimer(kCancelTimer);
  if (m_worker) {
    ::WaitForSingleObject(m_worker->m_hThread, INFINITE);
    DWORD code = 0;
    ::GetExitCodeThread(m_worker->m_hThread, &code);
    delete m_worker;
    m_worker = nullptr;
  }
  BackToIdle();
  if (!m_pendingMessage.empty()) {
    const std::string text = std::move(m_pendingMessage);
    m_pendingMessage.clear();
    AfxMessageBox(text.c_str(), MB_OK);
  }
  return 0;
}

void CSIReadingDlg::OnOK() {
  if (!m_idle) return;  // Close is disabled while a scan runs; Enter does nothing either
  if (m_cancel)
    CDialog::OnCancel();
  else
    CDialog::OnOK();
}

void CSIReadingDlg::OnCancel() {
  // Escape or the system close during a scan: Cancel, and the dialog stays
  // until its worker has ended (which the driver's cancel makes short).
  if (!m_idle) {
    CancelScan();
    return;
  }
  CDialog::OnCancel();
}

namespace {

// The plug-in and the satellite list, wrapped for one scan operation.
struct ScanContext {
  ScanContext(ISectionReader* reader, IDriverControl* control, ISetTuner* tuner, HWND dialog,
              ISatListManager* satList)
      : sections(reader),
        tuner(control, tuner, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(dialog))),
        satellites(satList) {}
  orb::app::ComSectionSource sections;
  orb::app::ComTunerControl tuner;
  orb::app::ComSatelliteSource satellites;
};

}  // namespace

#define ORB_WITH_SCANNER(scanner)                                                  \
  Host host(*this);                                                                \
  ScanContext context(m_sectionReader, m_driverControl, m_setTuner, m_hWnd, m_satList); \
  orb::scan::Scanner scanner(context.sections, context.tuner, &context.satellites, \
                             host, m_cancel)

void CSIReadingDlg::ReadTransportStreamSI(lib13818::NetworkMap& store) {
  ORB_WITH_SCANNER(scanner);
  scanner.ReadTransportStreamSI(store);
}

void CSIReadingDlg::ReadCurrentNIT(BSTR satelliteName) {
  ORB_WITH_SCANNER(scanner);
  scanner.ReadCurrentNIT(m_store, orb::app::Utf8FromWide(satelliteName ? satelliteName : L""));
}

void CSIReadingDlg::ScanNITEntries(lib13818::NetworkMap& store, const lib13818::NitSectionMap& nit,
                                   BSTR satelliteName) {
  ORB_WITH_SCANNER(scanner);
  scanner.ScanNITEntries(store, nit, orb::app::Utf8FromWide(satelliteName ? satelliteName : L""));
}

void CSIReadingDlg::ScanSingleSatellite() {
  ORB_WITH_SCANNER(scanner);
  scanner.ScanSingleSatellite(m_store, m_selectedSatellite ? &*m_selectedSatellite : nullptr);
}

void CSIReadingDlg::ScanAllSatellites() {
  ORB_WITH_SCANNER(scanner);
  scanner.ScanAllSatellites(m_store);
}

UINT CSIReadingDlg::RunScan() {
  {
    ORB_WITH_SCANNER(scanner);
    scanner.RunScan(m_store, m_mode, m_selectedSatellite ? &*m_selectedSatellite : nullptr);
  }
  ::PostMessageW(m_hWnd, kScanDoneMessage, 0, 0);
  return 0;
}

UINT SIReadingThreadProc(LPVOID param) { return static_cast<CSIReadingDlg*>(param)->RunScan(); }
