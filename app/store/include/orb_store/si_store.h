#pragma once
// The SI store: every table read from one transport stream, parsed, in one
// Transponder record; the records grouped by network.
//
// NetworkMap (network id -> Network) -> transponders (transport_stream_id ->
// Transponder).  The containers are node-based, so a filed record and every
// section, entry and descriptor inside it stay at a fixed address until the
// store is cleared; the tree keeps pointers into them.
#include <map>
#include <string>
#include <vector>

#include "contract/driver_records.h"
#include "lib13818/ait.h"
#include "lib13818/nit_bat.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "lib13818/time_tables.h"
#include "lib13818/types.h"

namespace lib13818 {

// network_id -> section_number -> section.
using NitSectionMap = std::map<u32, std::map<u32, NetworkInformationSection>>;
// original_network_id -> transport_stream_id -> section_number -> section.
using SdtSectionMap = std::map<u32, std::map<u32, std::map<u32, ServiceDescriptionSection>>>;
// original_network_id -> transport_stream_id -> service_id -> section_number -> section.
using EitSectionMap =
    std::map<u32, std::map<u32, std::map<u32, std::map<u32, EventInformationSection>>>>;

// One transport stream: its tables and how it was tuned.
class Transponder {
 public:
  // deliveryKind values.  A record that was never given a tuning record
  // holds kDeliveryNone and is labelled "Unknown".
  static constexpr u32 kDeliverySatellite = 0;
  static constexpr u32 kDeliveryCable = 1;
  static constexpr u32 kDeliveryTerrestrial = 2;
  static constexpr u32 kDeliveryNone = 0xFFFFFFFFu;

  // Tuning from a satellite record: its FEC text, the satellite's name (null
  // counts as empty) and the record's 24 bytes.  A null record changes
  // nothing.
  void SetSatelliteTuning(const char* name, const SATDELIVERYDESC* record);
  // Tuning from a cable or terrestrial record: its bytes at the start of
  // `tuning`, the rest of it 0; the satellite texts are emptied.  A null
  // record changes nothing.
  void SetCableTuning(const CABLEDELIVERYDESC* record);
  void SetTerrestrialTuning(const TERRDELIVERYDESC* record);

  // The tree label: "%04X - " and the transport_stream_id, then by kind
  // "11743H 3/4 27500" (MHz, polarization letter, FEC text, ksymbol/s),
  // "346000" (cable, kHz), "474000" (terrestrial, kHz) or "Unknown".
  std::string GetLabel() const;

  // For the database export, by delivery kind (0 without a tuning record).
  // Frequency in GHz.
  double GetFrequency() const;
  // Polarization of a satellite record (0 H, 1 V, 2 L, 3 R).
  u32 GetPolarization() const;
  // The record's symbol rate (100 symbol/s units) times 1000, in 32 bits.
  u32 GetSymbolRate() const;
  // FEC_inner code of a satellite or cable record.
  u32 GetFec() const;

  // The tuning bytes as the record of each kind (whatever deliveryKind says).
  SATDELIVERYDESC SatelliteTuning() const;
  CABLEDELIVERYDESC CableTuning() const;
  TERRDELIVERYDESC TerrestrialTuning() const;

  ConditionalAccessSection cat;
  NitSectionMap nitActual;  // table 0x40
  NitSectionMap nitOther;   // table 0x41
  SdtSectionMap sdtActual;  // table 0x42
  SdtSectionMap sdtOther;   // table 0x46
  std::map<u32, ApplicationInformationSection> ait;
  BouquetAssociationSection bat;
  ProgramAssociationSection pat;
  RunningStatusSection rst;
  TimeDateSection tdt;
  TimeOffsetSection tot;
  EitSectionMap eitPresentFollowingActual;  // table 0x4E
  EitSectionMap eitPresentFollowingOther;   // table 0x4F
  EitSectionMap eitScheduleActual;          // tables 0x50-0x5F
  EitSectionMap eitScheduleOther;           // tables 0x60-0x6F
  std::vector<ProgramMapSection> pmts;      // in the order they were read
  u32 transport_stream_id = 0;
  std::string fecText;
  std::string satelliteName;
  u32 deliveryKind = kDeliveryNone;
  // A SATDELIVERYDESC, CABLEDELIVERYDESC or TERRDELIVERYDESC by
  // deliveryKind; bytes the record does not cover are 0.
  alignas(4) u8 tuning[sizeof(SATDELIVERYDESC)] = {};
};

// One network of the store.
class Network {
 public:
  std::map<u32, Transponder> transponders;  // by transport_stream_id
  u32 network_id = 0;
  u32 disq = 0;
  u32 switch12 = 0;
};

// The whole store: network id -> Network.
using NetworkMap = std::map<u32, Network>;

// Files a parsed section into its map of `record` under the keys it carries;
// a section already held under the same keys is replaced (the last one
// received wins).  False, and nothing filed, for a section that did not parse
// or whose table_id has no map in the record.
bool FileSection(Transponder& record, const NetworkInformationSection& nit);
bool FileSection(Transponder& record, const ServiceDescriptionSection& sdt);
bool FileSection(Transponder& record, const EventInformationSection& eit);

// Whether the store holds a record under these ids.
bool IsFiled(const NetworkMap& store, u32 original_network_id, u32 transport_stream_id);

// Files `record` under `original_network_id` (the network is created, with
// that network_id, when the store has none) and record.transport_stream_id.
// A stream the store already holds keeps its record: false, nothing changes.
bool FileTransponder(NetworkMap& store, u32 original_network_id, const Transponder& record);
bool FileTransponder(NetworkMap& store, u32 original_network_id, Transponder&& record);

}  // namespace lib13818
