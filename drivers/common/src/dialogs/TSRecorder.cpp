#include "drvcommon/TSRecorder.h"

#include <cstdio>
#include <string>
#include <vector>

#include "drvcommon/DriverLog.h"
#include "drvcommon/resource.h"
#include "drvcore/dialogs.h"
#include "drvcore/recording.h"

// ---- CWorkerThread ------------------------------------------------------------

CWorkerThread::~CWorkerThread() {
  // A derived class stops its worker before its own members go (see
  // CTSRecorder); this is the last guard.
  Stop(200);
  Reap();
}

BOOL CWorkerThread::Start(int priority) {
  Reap();
  CSingleLock lock(&m_lock, TRUE);
  if (m_state != Idle || m_pThread) return FALSE;
  m_state = Running;
  CWinThread* thread = AfxBeginThread(&CWorkerThread::ThreadFunction, this, priority, 0, CREATE_SUSPENDED);
  if (!thread) {
    m_state = Idle;
    return FALSE;
  }
  thread->m_bAutoDelete = FALSE;  // joined and freed by Stop or Reap
  m_pThread = thread;
  m_threadId = thread->m_nThreadID;
  thread->ResumeThread();
  return TRUE;
}

BOOL CWorkerThread::Stop(DWORD timeoutMs) {
  HANDLE handle = nullptr;
  bool wasRunning = false;
  {
    CSingleLock lock(&m_lock, TRUE);
    wasRunning = m_state == Running;
    if (wasRunning) m_state = Stopping;
    if (!m_pThread) return wasRunning ? TRUE : FALSE;
    if (::GetCurrentThreadId() == m_threadId) return wasRunning ? TRUE : FALSE;
    handle = m_pThread->m_hThread;
  }
  if (handle && ::WaitForSingleObject(handle, timeoutMs) == WAIT_TIMEOUT) {
    DriverLog().Log(2, "worker thread still busy after %lu ms; waiting for it", timeoutMs);
    ::WaitForSingleObject(handle, INFINITE);
  }
  Reap();
  return wasRunning ? TRUE : FALSE;
}

BOOL CWorkerThread::IsRunning() {
  CSingleLock lock(&m_lock, TRUE);
  return m_state == Running;
}

void CWorkerThread::Reap() {
  CWinThread* thread = nullptr;
  {
    CSingleLock lock(&m_lock, TRUE);
    if (!m_pThread || m_state == Running || ::GetCurrentThreadId() == m_threadId) return;
    thread = m_pThread;
  }
  ::WaitForSingleObject(thread->m_hThread, INFINITE);
  CSingleLock lock(&m_lock, TRUE);
  delete thread;
  m_pThread = nullptr;
  m_threadId = 0;
  m_state = Idle;
}

UINT CWorkerThread::ThreadFunction(LPVOID p) {
  auto* self = static_cast<CWorkerThread*>(p);
  while (self->IsRunning() && self->Run() != 0) {
  }
  CSingleLock lock(&self->m_lock, TRUE);
  // Idle again; the thread object stays until it is joined.
  self->m_state = Idle;
  return 42;
}

// ---- CTSRecorder ----------------------------------------------------------------

CTSRecorder::~CTSRecorder() {
  // The worker uses the file and the board object: it ends before they go.
  StopRecording();
}

BOOL CTSRecorder::StartRecording(const CString& path) {
  StopRecording();
  m_writeFailed = false;
  m_bytes = 0;
  m_durationMs = 0;
  if (!m_file.Open(path, CFile::modeCreate | CFile::modeWrite)) {
    DriverLog().Log(1, "TS recording: cannot create the file");
    return FALSE;
  }
  m_path = path;
  if (!m_board.TSRecordOnOff(1)) {
    DriverLog().Log(1, "TS recording: the card refused to capture");
    m_file.Close();
    return FALSE;
  }
  if (!Start(THREAD_PRIORITY_NORMAL)) {
    DriverLog().Log(1, "TS recording: the worker could not be started");
    m_board.TSRecordOnOff(0);
    m_file.Close();
    return FALSE;
  }
  return TRUE;
}

BOOL CTSRecorder::StopRecording() {
  if (!m_file.IsOpen()) {
    Stop(200);
    return TRUE;
  }
  m_board.TSRecordOnOff(0);
  Stop(200);
  // The worker has ended: its counts are final.
  const std::uint64_t bytes = m_bytes.load();
  if (bytes != 0 && m_durationMs != 0) {
    DWORD status[drvcore::kDriverStatusWords] = {};
    m_board.GetDriverStatus(status, drvcore::kDriverStatusWords);
    CFile info;
    if (info.Open(m_path + L".info", CFile::modeCreate | CFile::modeWrite)) {
      const std::string text = drvcore::RecordingInfoText(m_durationMs, bytes, status[drvcore::kLostBlocksWord]);
      if (!info.Write(text.data(), static_cast<UINT>(text.size())))
        DriverLog().Log(1, "TS recording: cannot write the info file");
      info.Close();
    }
  }
  m_durationMs = 0;
  m_bytes = 0;
  m_file.Close();
  return TRUE;
}

namespace {

// The recording loop over the card and the file.
class CardToFile final : public drvcore::RecordIo {
 public:
  CardToFile(CWorkerThread& worker, CDVBBoardControl& board, CFile& file)
      : worker_(worker), board_(board), file_(file) {}
  bool Running() override { return worker_.IsRunning() != FALSE; }
  int Read(std::uint8_t* buffer, int size) override {
    return file_.IsOpen() ? board_.TSRecordRead(buffer, size) : 0;
  }
  bool Write(const std::uint8_t* data, std::size_t size) override {
    return file_.Write(data, static_cast<UINT>(size)) != FALSE;
  }
  void Sleep(unsigned ms) override { ::Sleep(ms); }

 private:
  CWorkerThread& worker_;
  CDVBBoardControl& board_;
  CFile& file_;
};

}  // namespace

UINT CTSRecorder::Run() {
  const ULONGLONG start = ::GetTickCount64();
  CardToFile io(*this, m_board, m_file);
  const drvcore::RecordOutcome outcome = drvcore::RunRecording(io, m_bytes);
  if (outcome.writeFailed) {
    DriverLog().Log(1, "TS recording: writing the file failed; the recording stops");
    m_writeFailed = true;
  }
  if (outcome.noMemory) DriverLog().Log(1, "TS recording: no memory for the buffer");
  m_durationMs = ::GetTickCount64() - start;
  return 0;
}

// ---- the page ---------------------------------------------------------------------

namespace {
constexpr UINT_PTR kStatusTimer = 103;
}

IMPLEMENT_DYNAMIC(CTSRecordingPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CTSRecordingPage, CPropertyPage)
  ON_BN_CLICKED(IDC_TS_STARTSTOP, &ThisClass::OnStartStop)
  ON_BN_CLICKED(IDC_STREAM_BROWSE, &ThisClass::OnBrowse)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CTSRecordingPage::CTSRecordingPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

BOOL CTSRecordingPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_button.SubclassDlgItem(IDC_TS_STARTSTOP, this);
  m_lost.SubclassDlgItem(IDC_TS_LOST, this);
  m_file.SubclassDlgItem(IDC_STREAM_FILE, this);
  SetTimer(kStatusTimer, 250);
  return TRUE;
}

void CTSRecordingPage::ShowIdle() {
  m_button.SetWindowText(L"Start");
  m_recording = 0;
}

void CTSRecordingPage::EndRecording() {
  // A recording whose file could not be written has ended already: say so,
  // whether the status timer or the button noticed first.
  const bool failed = m_recorder.WriteFailed();
  m_recorder.StopRecording();
  ShowIdle();
  if (failed)
    DialogMessageBox(this, "TS-Record stopped: the file could not be written!", MB_OK | MB_ICONEXCLAMATION);
}

void CTSRecordingPage::OnStartStop() {
  CString path;
  m_file.GetWindowText(path);
  if (m_recording) {
    EndRecording();
    return;
  }
  if (m_recorder.StartRecording(path)) {
    m_button.SetWindowText(L"Stop");
    m_recording = 1;
  } else {
    DialogMessageBox(this, "TS-Record Start failed!", MB_OK | MB_ICONEXCLAMATION);
  }
}

void CTSRecordingPage::OnBrowse() {
  CString current;
  m_file.GetWindowText(current);
  CFileDialog dialog(FALSE, L"bin", current, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     L"binary files (*.bin)|*.bin||", this);
  if (dialog.DoModal() == IDOK) m_file.SetWindowText(dialog.GetPathName());
}

void CTSRecordingPage::OnTimer(UINT_PTR nIDEvent) {
  DWORD status[drvcore::kDriverStatusWords] = {};
  if (m_board.GetDriverStatus(status, drvcore::kDriverStatusWords) == 0) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(status[drvcore::kLostBlocksWord]));
    m_lost.SetWindowText(WideFromNarrow(text));
  }
  if (m_recording && m_recorder.WriteFailed()) EndRecording();
  CPropertyPage::OnTimer(nIDEvent);
}

void CTSRecordingPage::OnDestroy() {
  CPropertyPage::OnDestroy();
  KillTimer(kStatusTimer);
  // Closing the sheet ends a running recording properly (info file and all).
  if (m_recording) {
    m_recorder.StopRecording();
    m_recording = 0;
  }
}
