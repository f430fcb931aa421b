#pragma once
// The scans of the "SI Reading" dialog, apart from any window or COM object:
// reading the tables of the tuned transport stream into one Transponder of
// the store, reading the current NIT and every transport stream it lists,
// and the scans of one satellite or of all selected satellites of the
// satellite list.  They run on the dialog's worker; the dialog supplies the
// driver, the satellite list and the progress outlets through the small
// interfaces below (the Windows build wraps the plug-in's COM interfaces).
//
// Cancel is one atomic flag, tested before every tune and before and after
// every section request; a scan stops at its next test.  The dialog also
// asks the driver to end the request under way, so that test comes at once.
// Every answer of a section request is released exactly once, on every path.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "contract/driver_records.h"
#include "lib13818/descriptors_delivery.h"
#include "lib13818/descriptors_terrestrial.h"
#include "orb_scan/si_tables.h"
#include "orb_store/si_store.h"

namespace orb::scan {

// HRESULT-shaped results: negative means failure.
using HResult = std::int32_t;
inline bool Failed(HResult hr) { return hr < 0; }
constexpr HResult kOk = 0;
constexpr HResult kFail = static_cast<HResult>(0x80004005u);

// ISectionReader::GetSections and the release of what it hands over.
class SectionSource {
 public:
  virtual ~SectionSource() = default;
  virtual HResult GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                              SectionResult* results) = 0;
  // Frees one block handed over by GetSections: a section buffer or the
  // array of a result.
  virtual void Free(void* block) = 0;
};

// IDriverControl::GetDeliveryType and ISetTuner.  Satellite names are UTF-8.
class TunerControl {
 public:
  virtual ~TunerControl() = default;
  virtual HResult GetDeliveryType(std::uint16_t& type) = 0;
  virtual HResult SetSatellite(const std::string& satelliteName, SATDELIVERYDESC& record) = 0;
  virtual HResult TuneCable(CABLEDELIVERYDESC& record) = 0;
  virtual HResult TuneTerrestrial(TERRDELIVERYDESC& record) = 0;
  virtual HResult GetSatChannel(std::string& satelliteName, SATDELIVERYDESC& record) = 0;
  virtual HResult GetCableChannel(CABLEDELIVERYDESC& record) = 0;
  virtual HResult GetTerrestrialChannel(TERRDELIVERYDESC& record) = 0;
};

// A transponder of the satellite list as the satellite scans tune it.
struct ListedTransponder {
  std::uint32_t frequency = 0;     // 10 kHz units
  std::uint32_t polarization = 0;  // 0 H, 1 V, 2 L, 3 R
  std::uint32_t symbolRate = 0;    // 100 symbol/s units
  std::uint32_t fec = 0;
};

// The satellite list manager as the satellite scans read it.
class SatelliteSource {
 public:
  enum class Listing { kOk, kEnumFailed, kCountFailed };
  virtual ~SatelliteSource() = default;
  // Number of satellites in the list (all of them, selected or not).
  virtual bool GetSatelliteCount(long& count) = 0;
  // Names of the satellites marked selected, in list order.
  virtual bool ListSelectedSatellites(std::vector<std::string>& names) = 0;
  // Whether the list holds a satellite of that name.
  virtual bool FindSatellite(const std::string& name) = 0;
  // The transponders of a satellite marked primary, and its transponder count.
  virtual Listing ListPrimaryTransponders(const std::string& name,
                                          std::vector<ListedTransponder>& transponders,
                                          long& count) = 0;
};

// Where a scan reports: the Output window, the log, the dialog's progress
// fields and the table selection.
class ScanHost {
 public:
  virtual ~ScanHost() = default;
  virtual void Output(const std::string& line) = 0;
  virtual void Log(int level, const std::string& line) = 0;
  virtual void ClearOutput() {}
  virtual void SetProgress(int fieldId, const std::string& text) = 0;
  // "sitables" as it stands now (kNoSelectionStored when absent).
  virtual u32 TableSelection() = 0;
  // A message for the user; shown by the GUI thread once the scan has ended.
  virtual void Message(const std::string& text) = 0;
};

enum ScanMode : std::uint32_t {
  SCAN_CURRENT_TRANSPONDER = 0,
  SCAN_CURRENT_NIT = 1,
  SCAN_SINGLE_SATELLITE = 2,
  SCAN_ALL_SATELLITES = 3,
};

// Progress fields of the dialog.
constexpr int kFieldSatellite = 1036;        // "i of n" satellites
constexpr int kFieldNitEntry = 1037;         // "j of m" transponders of the satellite
constexpr int kFieldTransportStream = 1040;  // "i of n" entries of a NIT section
constexpr int kFieldNitSection = 1042;       // "k of K" NIT sections

// Section requests wait this long per batch.
constexpr long kSectionTimeoutSeconds = 30;
// At most this many requests go into one call.
constexpr std::size_t kMaxRequests = 255;

class Scanner {
 public:
  Scanner(SectionSource& sections, TunerControl& tuner, SatelliteSource* satellites, ScanHost& host,
          std::atomic<bool>& cancel)
      : sections_(sections), tuner_(tuner), satellites_(satellites), host_(host), cancel_(cancel) {}

  // The worker's whole run: clears the Output window, then the scan of
  // `mode`.  The caller clears the cancel flag before the worker starts, so
  // that a Cancel pressed at once is not lost.  `selectedSatellite` is the satellite chosen in
  // the dialog (null when none).
  void RunScan(lib13818::NetworkMap& store, std::uint32_t mode, const std::string* selectedSatellite);

  void ReadTransportStreamSI(lib13818::NetworkMap& store);
  void ReadCurrentNIT(lib13818::NetworkMap& store, const std::string& satelliteName);
  void ScanNITEntries(lib13818::NetworkMap& store, const lib13818::NitSectionMap& nit,
                      const std::string& satelliteName);
  void ScanSingleSatellite(lib13818::NetworkMap& store, const std::string* selectedSatellite);
  void ScanAllSatellites(lib13818::NetworkMap& store);

  // Releases one answer: every buffer, then the array; the record is zeroed,
  // so a second release does nothing.
  void FreeSectionResult(SectionResult& result);

  // The delivery system descriptor of the first NIT entry (networks, then
  // sections, then loop entries, in order) whose transport_stream_id is
  // `tsid`: true with `out` pointing at its first descriptor of the kind, or
  // false when that entry has none, when no entry matches or the map is empty.
  static bool FindCurrentTSInNIT(const lib13818::NitSectionMap& nit,
                                 const lib13818::DescriptorSatelliteDeliverySystem*& out, u32 tsid);
  static bool FindCurrentTSInNIT(const lib13818::NitSectionMap& nit,
                                 const lib13818::DescriptorCableDeliverySystem*& out, u32 tsid);
  static bool FindCurrentTSInNIT(const lib13818::NitSectionMap& nit,
                                 const lib13818::DescriptorTerrestrialDeliverySystem*& out, u32 tsid);

  bool Cancelled() const { return cancel_.load(); }

 private:
  class Answers;
  void Out(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  void LogLine(int level, const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 3, 4)))
#endif
      ;
  void ScanTransponders(lib13818::NetworkMap& store, const std::string& name,
                        const std::vector<ListedTransponder>& transponders, long count);

  SectionSource& sections_;
  TunerControl& tuner_;
  SatelliteSource* satellites_;
  ScanHost& host_;
  std::atomic<bool>& cancel_;
};

// "%d of %lu" of the progress fields.
std::string OfText(long i, long n);

}  // namespace orb::scan
