// The dialog methods of the Quarn plug-in: the "Configuration" sheet shared
// with the other plug-ins (Quarn's templates, its tuner capability text and
// its own settings store) and Quarn's "Streaming" sheet.  Each runs modal
// over the caller's window inside the plug-in's module state.
#include "drvcommon/ConfigSheet.h"
#include "drvcommon/ModuleState.h"

#include <cstdio>

#include "GraphDriver.h"
#include "QuarnSettings.h"
#include "QuarnTuningDlg.h"
#include "StreamingPages.h"
#include "drvcommon/DriverLog.h"
#include "orb_common/RegistryKey.h"
#include "resource.h"

namespace {

const char* TunerTypeText(ULONG type) {
  switch (type) {
    case 0: return "DVB-S";
    case 1: return "DVB-C";
    case 2: return "DVB-T";
    case 3: return "ATSC";
    default: return "Unknown";
  }
}

}  // namespace

std::string CGraphDriver::CapabilityText() const {
  const QuarnTunerCaps& c = caps_;
  auto yes = [&](int bit) { return (c.performance >> bit) & 1 ? "yes" : "no"; };
  char text[1024];
  std::snprintf(text, sizeof text,
                "Modulation: %s\n\t\tMin. Transponder freq: %lu\n\t\tMax. Transponder freq: %lu\n\t\tMin. Tuner freq: "
                "%lu\n\t\tMax. Tuner freq: %lu\n\t\tMin. Symbol rate (baud): %lu\n\t\tMax. Symbol rate (baud): "
                "%lu\n\t\tAuto Symbol rate       : %lu\n\t\tFEC supported: %lu\n\t\tConstellation supported: "
                "%lu\n\t\tber supported: %s\n\t\tblock_count_supported: %s\n\t\tcorrected block count supported: "
                "%s\n\t\tuncorrected block_count supported: %s\n\t\tsnr supported: %s\n\t\tsignal strength "
                "supported: %s\n\t\tsignal quality supported: %s\n\t\t",
                TunerTypeText(c.tunerType), c.minTransponderFrequency, c.maxTransponderFrequency, c.minTunerFrequency,
                c.maxTunerFrequency, c.minSymbolRate, c.maxSymbolRate, c.autoSymbolRate, c.fecs, c.constellations,
                yes(0), yes(1), yes(2), yes(3), yes(4), yes(5), yes(6));
  return text;
}

bool CGraphDriver::StoreSettings() {
  CRegistryKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, classKey_.c_str())) {
    DriverLog().Log(1, "failed to create settings key %s", classKey_.c_str());
    return false;
  }
  if (!quarn::WriteSettings(settings_, key)) {
    DriverLog().Log(1, "failed to write settings");
    return false;
  }
  return true;
}

HRESULT CGraphDriver::ShowConfiguration(HWND parent) {
  DRIVER_MODULE_STATE();
  if (!ready_) {
    DriverLog().Log(1, "ShowConfiguration: the driver is not initialised");
    return E_FAIL;
  }
  {
    const CString info = WideFromNarrow(CapabilityText());
    CConfigPropertySheet sheet(&settings_, satListManager_.Get(), IDD_QUARN_LNB_DISQ, IDD_QUARN_INFO,
                               caps_.tunerType == QUARN_TUNER_SATELLITE, info, [this] { return StoreSettings(); },
                               "Configuration", CWnd::FromHandle(parent));
    if (sheet.DoModal() == -1) DriverLog().Log(1, "ShowConfiguration: the sheet could not be shown");
  }
  AfxDeleteTempMaps();
  return S_OK;
}

HRESULT CGraphDriver::ShowTuningDialog(HWND parent) {
  DRIVER_MODULE_STATE();
  if (!ready_) {
    DriverLog().Log(1, "ShowTuningDialog: the driver is not initialised");
    return E_FAIL;
  }
  {
    quarn::CTuningDlg dialog(&settings_, &graph_, caps_, &readBack_, &currentSatellite_, CWnd::FromHandle(parent));
    if (dialog.DoModal() == -1) DriverLog().Log(1, "ShowTuningDialog: the dialog could not be shown");
  }
  AfxDeleteTempMaps();
  return S_OK;
}

HRESULT CGraphDriver::ShowStreaming(HWND parent) {
  DRIVER_MODULE_STATE();
  if (!ready_) {
    DriverLog().Log(1, "ShowStreaming: the driver is not initialised");
    return E_FAIL;
  }
  {
    quarn::CStreamingSheet sheet(&graph_, CWnd::FromHandle(parent));
    if (sheet.DoModal() == -1) DriverLog().Log(1, "ShowStreaming: the sheet could not be shown");
    // The pages joined their workers when their windows went.
  }
  AfxDeleteTempMaps();
  return S_OK;
}
