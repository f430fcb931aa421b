#pragma once
// Recording the budget card's whole transport stream into a file: a worker
// thread (CWorkerThread) that pulls the card's capture (CTSRecorder), the
// ".info" side file written when a recording stops, and the "TS Recording"
// page with its lost-block display.
#include <afxmt.h>

#include <atomic>
#include <cstdint>

#include "drvcommon/DialogSupport.h"
#include "dvbacc/dvbacc.h"

// A thread running Run() until it returns 0 or a stop is asked for.
class CWorkerThread {
 public:
  CWorkerThread() = default;
  virtual ~CWorkerThread();
  CWorkerThread(const CWorkerThread&) = delete;
  CWorkerThread& operator=(const CWorkerThread&) = delete;

  // From idle only: starts the thread; FALSE when it could not be made.
  BOOL Start(int priority);
  // Asks the thread to end and waits until it has (from the thread itself:
  // only asks).  A thread is waited for however long it takes, never
  // terminated; `timeoutMs` only decides when that is logged.  FALSE when
  // no thread was running.
  BOOL Stop(DWORD timeoutMs);
  BOOL IsRunning();

 protected:
  // One step of the work; 0 ends the thread.
  virtual UINT Run() { return 1; }

 private:
  enum State { Idle = 0, Running = 1, Stopping = 2 };
  static UINT ThreadFunction(LPVOID self);
  // Joins and frees a thread that has ended on its own.
  void Reap();

  CCriticalSection m_lock;
  int m_state = Idle;
  CWinThread* m_pThread = nullptr;
  DWORD m_threadId = 0;
};

class CTSRecorder : public CWorkerThread {
 public:
  CTSRecorder() = default;
  ~CTSRecorder() override;

  // Stops any recording, then opens (creates) `path`, turns the card's
  // capture on and starts the worker; on any failure what was done is
  // undone (capture off, no thread, file closed) and FALSE is returned.
  BOOL StartRecording(const CString& path);
  // Turns the capture off, stops and joins the worker, writes the ".info"
  // side file when something was recorded, closes the file.
  BOOL StopRecording();
  bool Recording() const { return m_file.IsOpen() != FALSE; }
  // True once the worker ended because a write to the file failed.
  bool WriteFailed() const { return m_writeFailed.load(); }
  std::uint64_t BytesWritten() const { return m_bytes.load(); }

 protected:
  UINT Run() override;

 private:
  CFile m_file;
  CString m_path;
  CDVBBoardControl m_board;
  std::uint64_t m_durationMs = 0;
  std::atomic<std::uint64_t> m_bytes{0};
  std::atomic<bool> m_writeFailed{false};
};

class CTSRecordingPage : public CPropertyPage {
  DECLARE_DYNAMIC(CTSRecordingPage)

 public:
  explicit CTSRecordingPage(UINT nIDTemplate);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnStartStop();
  afx_msg void OnBrowse();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void ShowIdle();
  // Stops the recording and shows the page idle; a write failure that
  // ended it is reported.
  void EndRecording();

  CButton m_button;
  CEdit m_lost;
  CEdit m_file;
  CTSRecorder m_recorder;
  int m_recording = 0;
  CDVBBoardControl m_board;
};
