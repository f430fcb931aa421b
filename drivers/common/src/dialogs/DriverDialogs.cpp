// The dialog methods of the driver contract: each shows its window modal
// over the caller's window, inside the plug-in's module state (entered by
// the COM class), and returns S_OK when it closes.
#include "drvcommon/ConfigSheet.h"
#include "drvcommon/DeviceDriver.h"
#include "drvcommon/DriverLog.h"
#include "drvcommon/StreamingSheet.h"
#include "drvcommon/TuningDlg.h"
#include "drvcore/dialogs.h"

HRESULT CDeviceDriver::ShowConfiguration(HWND parent) {
  if (!ready_) {
    DriverLog().Log(1, "ShowConfiguration: the driver is not initialised");
    return E_FAIL;
  }
  const CString info = WideFromNarrow(drvcore::CapabilityText(frontend_.GetCapabilities()));
  CConfigPropertySheet sheet(&settings_, satListManager_.Get(), family_.dialogs.lnbDisq,
                             family_.dialogs.info, deliveryType_ == DELIVERY_SATELLITE, info,
                             [this] { return StoreSettings(); }, "Configuration",
                             CWnd::FromHandle(parent));
  if (sheet.DoModal() == -1) DriverLog().Log(1, "ShowConfiguration: the sheet could not be shown");
  AfxDeleteTempMaps();
  return S_OK;
}

HRESULT CDeviceDriver::ShowTuningDialog(HWND parent) {
  if (!ready_) {
    DriverLog().Log(1, "ShowTuningDialog: the driver is not initialised");
    return E_FAIL;
  }
  CTuningDlg dialog(&settings_, &frontend_, family_.dialogs.tuning, family_.dialogs.tuningTimer,
                    &currentSatellite_, CWnd::FromHandle(parent));
  if (dialog.DoModal() == -1) DriverLog().Log(1, "ShowTuningDialog: the dialog could not be shown");
  AfxDeleteTempMaps();
  return S_OK;
}

HRESULT CDeviceDriver::ShowStreaming(HWND parent) {
  if (!ready_) {
    DriverLog().Log(1, "ShowStreaming: the driver is not initialised");
    return E_FAIL;
  }
  {
    CStreamingSheet sheet(family_, CWnd::FromHandle(parent));
    if (sheet.DoModal() == -1) DriverLog().Log(1, "ShowStreaming: the sheet could not be shown");
  }
  AfxDeleteTempMaps();
  return S_OK;
}
