#pragma once
// CSIReadingDlg (dialog 133, "SI Reading"): runs one scan of the document's
// store on a worker thread.  Start launches the worker (created suspended,
// then resumed); while it runs the button reads "Cancel" and Close is
// disabled; the worker posts WM_USER + 1 as its last step and the dialog
// joins it.  Cancel, Escape and the system close during a scan set the cancel
// flag and ask the driver to end the section request under way
// (ISectionReader::CancelSections, free-threaded), again every
// kCancelRepeatMs until the worker has ended, so that a request the worker
// enters just after a call is ended too; the dialog never ends before its
// worker is joined.  Close ends with IDCANCEL after a cancelled last scan,
// IDOK otherwise.
#include <atomic>
#include <optional>
#include <string>

#include "contract/driver_contract.h"
#include "orb_app/mfc.h"
#include "orb_scan/scanner.h"
#include "orb_store/si_store.h"
#include "satlistmgr.h"

class CSIReadingDlg : public CDialog {
 public:
  enum { IDD = 133 };
  static constexpr UINT kScanDoneMessage = WM_USER + 1;
  // The timer that repeats CancelSections while a cancelled scan winds down.
  static constexpr UINT_PTR kCancelTimer = 1;
  static constexpr UINT kCancelRepeatMs = 250;

  // `store`, `mode` and `driver` stay the caller's for the dialog's life.
  // The satellite list is the application's unless one is given.
  CSIReadingDlg(lib13818::NetworkMap& store, const UINT& mode, IDvbDriver*& driver,
                CWnd* parent = nullptr, ISatListManager* satList = nullptr);
  ~CSIReadingDlg() override;

  // The scan operations, run on the worker.
  void ReadTransportStreamSI(lib13818::NetworkMap& store);
  void ReadCurrentNIT(BSTR satelliteName);
  void ScanNITEntries(lib13818::NetworkMap& store, const lib13818::NitSectionMap& nit,
                      BSTR satelliteName);
  void ScanSingleSatellite();
  void ScanAllSatellites();
  // The worker's run: the scan of the dialog's mode; always 0.
  UINT RunScan();

  bool IsIdle() const { return m_idle; }
  bool IsCancelled() const { return m_cancel.load(); }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void DoDataExchange(CDataExchange* pDX) override;

  afx_msg void OnStartStop();
  afx_msg LRESULT OnScanDone(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

  // Starts the worker suspended (AfxBeginThread); null when it cannot.
  virtual CWinThread* BeginWorker();

  void EnableScanControls();
  void ShowCurrentSatellite();

 private:
  class Host;
  void BackToIdle();
  // Cancel of a running scan: the flag, the button, the driver's request.
  void CancelScan();
  void CancelSections();

  CWinThread* m_worker = nullptr;
  bool m_idle = true;
  lib13818::NetworkMap& m_store;
  const UINT& m_mode;
  IDvbDriver*& m_driver;
  ISectionReader* m_sectionReader = nullptr;
  ISetTuner* m_setTuner = nullptr;
  IDriverControl* m_driverControl = nullptr;
  ISatListManager* m_satList = nullptr;

  CStatic m_nitSectionLabel;    // 1041
  CButton m_close;              // 1
  CButton m_startStop;          // 1011
  CStatic m_satelliteLabel;     // 1043
  CComboBox m_satellites;       // 1032
  CEdit m_nitSection;           // 1042
  CEdit m_transportStream;      // 1040
  CStatic m_transportStreamLabel;  // 1039
  CStatic m_scanningLabel;      // 1035
  CStatic m_nitEntryLabel;      // 1038
  CEdit m_scanning;             // 1036
  CEdit m_nitEntry;             // 1037

  std::atomic<bool> m_cancel{false};
  // The satellite chosen in 1032 when the scan started (UTF-8).
  std::optional<std::string> m_selectedSatellite;
  // A message of the last scan, shown once its worker has been joined.
  std::string m_pendingMessage;
};

// The worker thread's controlling function (the parameter is the dialog).
UINT SIReadingThreadProc(LPVOID param);
