#pragma once
// The "Streaming" sheet of the vendor-library plug-ins and its pages: PIDs
// piped into files ("Piping"), sections matching a filter into a file
// ("SI/private sections"), the decoder's audio/video PIDs and recording
// ("A/V streaming", premium cards) and the whole transport stream ("TS
// Recording", budget cards, TSRecorder.h).
//
// Every page stops what it started when its window goes, whichever way the
// sheet closes (OK, Cancel, Escape, the system menu, the owner window going
// away).
#include "drvcommon/DialogSupport.h"
#include "drvcommon/TSRecorder.h"
#include "dvbacc/dvbacc.h"

// One file-writing filter of the vendor library, owned by the page that
// lists it.
class CPipeFilter : public CDVBFilterToFile {
 public:
  ~CPipeFilter() override;
};

// What the pages of both filter lists share: the list of running filters
// (219) with its columns, Stop, and the browse dialog.
class CFilterListPage : public CPropertyPage {
  DECLARE_DYNAMIC(CFilterListPage)

 public:
  explicit CFilterListPage(UINT nIDTemplate);

 protected:
  void SetUpList();
  // Starts a new filter writing `file`; listed on success, else reported
  // with "Failed to add filter" and freed.
  bool StartPipe(const CString& file, FILTERTYPE type, WORD pid, BYTE* value, BYTE* mask, BYTE length);
  void StopAll();
  // "Browse...": a file to save to, put into the edit `fileId`.
  void BrowseInto(int fileId);
  afx_msg void OnStop();
  afx_msg void OnBrowse();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  CListCtrl m_list;
  CString m_fileName;
  int m_fileId = 0;
};

class CStreamingPipingPage : public CFilterListPage {
  DECLARE_DYNAMIC(CStreamingPipingPage)

 public:
  explicit CStreamingPipingPage(UINT nIDTemplate);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnAdd();
  DECLARE_MESSAGE_MAP()

 private:
  CHexEdit m_pid;
  CEdit m_file;
  CComboBox m_bufferSize;
};

class CStreamingSIPage : public CFilterListPage {
  DECLARE_DYNAMIC(CStreamingSIPage)

 public:
  // `filterType`: the section filter type of the cards.
  CStreamingSIPage(UINT nIDTemplate, FILTERTYPE filterType);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnAdd();
  afx_msg void OnEnableStates();
  afx_msg void OnEnableStatesRange(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  void UpdateEnabledStates();

  FILTERTYPE m_filterType;
  CEdit m_file;
  CHexEdit m_pid, m_tableId, m_tableMask, m_syntax, m_private, m_extension, m_version, m_currentNext,
      m_section, m_lastSection, m_data, m_dataMask;
  BYTE m_value[16] = {};
  BYTE m_mask[16] = {};
};

class CStreamingAVPage : public CPropertyPage {
  DECLARE_DYNAMIC(CStreamingAVPage)

 public:
  explicit CStreamingAVPage(UINT nIDTemplate);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnSetAll();
  afx_msg void OnSetAudio();
  afx_msg void OnSetVideo();
  afx_msg void OnBrowse();
  afx_msg void OnRecord();
  afx_msg void OnStopRecording();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void UpdateFormat();
  void ShowFormat();
  WORD Pid(const CHexEdit& edit) const;

  CHexEdit m_audio, m_video, m_pcr;
  int m_format = 3;
  bool m_recording = false;
  CDVBRecPlayFile m_recorder;
  CDVBAVControl m_control;
};

class CStreamingSheet : public CPropertySheet {
  DECLARE_DYNAMIC(CStreamingSheet)

 public:
  // The pages the family has, in its order (templates of 0 are left out).
  CStreamingSheet(const struct DriverFamily& family, CWnd* parent);

 private:
  CStreamingPipingPage m_piping;
  CStreamingAVPage m_av;
  CStreamingSIPage m_si;
  CTSRecordingPage m_tsRecording;
};
