#pragma once
// Quarn's "Streaming" sheet: three pages that write parts of the received
// stream to files by hanging dump filters on the plug-in's one source
// graph.  "TS" writes the transport packets of chosen PIDs, one file per
// data pin; "A/V streaming" what the audio and video pins carry; "SI/Private
// sections" the sections of chosen PIDs, one file per data pin, through the
// MPEG-2 demultiplexer.
//
// Each page does its graph work on a worker thread of its own: Start
// starts it (the button then reads "Cancel"), Cancel sets the page's stop
// event, and the worker's last act is WM_USER+1 to the page, which joins
// it.  The worker takes what it needs of the page (files, PIDs) when Start
// is pressed, on the page's thread; it never touches the page's windows.
// One user works on the graph at a time (CSourceGraph::Claim): a page whose
// worker finds the graph in use ends at once.  A worker that fails after
// the graph ran stops it; every run ends with the graph rebuilt, so that no
// filter or connection of a run is left for the next user.  The page's
// WM_DESTROY stops and joins a worker still running, so that closing the
// sheet never leaves one behind.
#include <afxwin.h>
#include <afxdlgs.h>

#include <set>
#include <string>

#include "drvcommon/DialogSupport.h"

class CSourceGraph;
struct IQuarnMPEG2DataCtrl3;

namespace quarn {

// WM_USER+1: the worker has ended (wParam 0, lParam 0).
inline constexpr UINT WM_WORKER_DONE = WM_USER + 1;

class CStreamingPage : public CPropertyPage {
  DECLARE_DYNAMIC(CStreamingPage)

 public:
  explicit CStreamingPage(UINT nIDTemplate);
  ~CStreamingPage() override;

  // Set before the sheet runs.
  CSourceGraph* m_pGraph = nullptr;

  bool Running() const { return m_running != 0; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnStart();
  afx_msg LRESULT OnWorkerDone(WPARAM, LPARAM);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  // On the page's thread at Start: what the worker will use.
  virtual void TakeInputs() {}
  // The worker's graph work.
  virtual void Work() = 0;
  // The name the page claims the graph under.
  virtual const char* UserName() const = 0;

  // Blocks until Cancel (the stop event).
  void WaitForStop();
  // Stops the graph (result not looked at) and rebuilds it.
  void StopAndReset();

  int m_running = 0;
  CWinThread* m_pWorker = nullptr;
  HANDLE m_hStop = nullptr;

 private:
  static UINT ThreadProc(LPVOID param);
  void JoinWorker();
};

// What the TS and SI pages share: per data pin a file name and an ordered
// set of PIDs, edited through the pin selector, file edit, PID list and the
// Add / Remove / Remove all buttons.
class CPinListPage : public CStreamingPage {
  DECLARE_DYNAMIC(CPinListPage)

 public:
  static constexpr int kPins = 4;
  CPinListPage(UINT nIDTemplate, const char* fileFilter);

  // The values (tests and the worker's copy).
  CString m_files[kPins];
  std::set<DWORD> m_pids[kPins];

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPinChanged();
  afx_msg void OnFileKillFocus();
  afx_msg void OnBrowse();
  afx_msg void OnAdd();
  afx_msg void OnRemove();
  afx_msg void OnRemoveAll();
  DECLARE_MESSAGE_MAP()

  void TakeInputs() override;
  // The selected pin; -1 with no selection.
  int SelectedPin() const;
  void RefreshList();
  bool Active(int pin) const { return !m_runFiles[pin].empty() && !m_runPids[pin].empty(); }
  // Hands each active pin's PIDs to the running graph's data pins; on a
  // failure the graph is stopped and rebuilt and false returned.
  bool AddRunPids(IQuarnMPEG2DataCtrl3* data);
  // Takes them back (up to the first pin that refuses).
  void RemoveRunPids(IQuarnMPEG2DataCtrl3* data);

  // The worker's copy, taken at Start.
  std::wstring m_runFiles[kPins];
  std::vector<ULONG> m_runPids[kPins];

 private:
  const char* m_fileFilter;
  CHexEdit m_pid;
};

class CStreamingTSPage : public CPinListPage {
  DECLARE_DYNCREATE(CStreamingTSPage)

 public:
  CStreamingTSPage();

 protected:
  void Work() override;
  const char* UserName() const override { return "TS page"; }
};

class CStreamingSIPage : public CPinListPage {
  DECLARE_DYNCREATE(CStreamingSIPage)

 public:
  CStreamingSIPage();

 protected:
  void Work() override;
  const char* UserName() const override { return "SI page"; }
};

class CStreamingAVPage : public CStreamingPage {
  DECLARE_DYNCREATE(CStreamingAVPage)

 public:
  CStreamingAVPage();

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnBrowseVideo();
  afx_msg void OnBrowseAudio();
  DECLARE_MESSAGE_MAP()

  void TakeInputs() override;
  void Work() override;
  const char* UserName() const override { return "A/V page"; }

 private:
  void Browse(int editId);

  CHexEdit m_audioPid;
  CHexEdit m_videoPid;
  ULONG m_runAudioPid = 0, m_runVideoPid = 0;
  std::wstring m_runAudioFile, m_runVideoFile;
};

class CStreamingSheet : public CPropertySheet {
  DECLARE_DYNAMIC(CStreamingSheet)

 public:
  CStreamingSheet(CSourceGraph* graph, CWnd* parent);

  CStreamingTSPage m_ts;
  CStreamingAVPage m_av;
  CStreamingSIPage m_si;
};

}  // namespace quarn
