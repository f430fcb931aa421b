#include "orb_store/si_store.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "lib13818/descriptors_delivery.h"

namespace lib13818 {

static_assert(sizeof(Transponder::tuning) == 24, "tuning holds the largest record");
static_assert(sizeof(CABLEDELIVERYDESC) <= sizeof(Transponder::tuning), "cable record fits");
static_assert(sizeof(TERRDELIVERYDESC) <= sizeof(Transponder::tuning), "terrestrial record fits");

namespace {

template <class Record>
Record ReadTuning(const u8 (&tuning)[24]) {
  Record r;
  std::memcpy(&r, tuning, sizeof r);
  return r;
}

template <class Record>
void WriteTuning(u8 (&tuning)[24], const Record& r) {
  std::memset(tuning, 0, sizeof tuning);
  std::memcpy(tuning, &r, sizeof r);
}

char PolarizationLetter(u32 polarization) {
  switch (polarization) {
    case 0: return 'H';
    case 1: return 'V';
    case 2: return 'L';
    case 3: return 'R';
    default: return 'U';
  }
}

template <class... Args>
std::string Format(const char* format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format, args...);
  if (n <= 0) return std::string();
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.resize(static_cast<size_t>(n));
  return text;
}

template <class Record>
bool FileTransponderImpl(NetworkMap& store, u32 original_network_id, Record&& record) {
  if (IsFiled(store, original_network_id, record.transport_stream_id)) return false;
  auto [it, created] = store.try_emplace(original_network_id);
  if (created) it->second.network_id = original_network_id;
  const u32 tsid = record.transport_stream_id;
  it->second.transponders[tsid] = std::forward<Record>(record);
  return true;
}

}  // namespace

void Transponder::SetSatelliteTuning(const char* name, const SATDELIVERYDESC* record) {
  if (!record) return;
  fecText = DescriptorSatelliteDeliverySystem::GetFECInnerName(record->fec_inner);
  satelliteName = name ? name : "";
  deliveryKind = kDeliverySatellite;
  WriteTuning(tuning, *record);
}

void Transponder::SetCableTuning(const CABLEDELIVERYDESC* record) {
  if (!record) return;
  fecText.clear();
  satelliteName.clear();
  deliveryKind = kDeliveryCable;
  WriteTuning(tuning, *record);
}

void Transponder::SetTerrestrialTuning(const TERRDELIVERYDESC* record) {
  if (!record) return;
  fecText.clear();
  satelliteName.clear();
  deliveryKind = kDeliveryTerrestrial;
  WriteTuning(tuning, *record);
}

SATDELIVERYDESC Transponder::SatelliteTuning() const { return ReadTuning<SATDELIVERYDESC>(tuning); }
CABLEDELIVERYDESC Transponder::CableTuning() const { return ReadTuning<CABLEDELIVERYDESC>(tuning); }
TERRDELIVERYDESC Transponder::TerrestrialTuning() const { return ReadTuning<TERRDELIVERYDESC>(tuning); }

std::string Transponder::GetLabel() const {
  // Every quotient fits an int: a u32 divided by 10 or more.
  switch (deliveryKind) {
    case kDeliverySatellite: {
      const SATDELIVERYDESC s = SatelliteTuning();
      return Format("%04X - %d%c %s %d", transport_stream_id, static_cast<int>(s.frequency / 100),
                    PolarizationLetter(s.polarization), fecText.c_str(),
                    static_cast<int>(s.symbol_rate / 10));
    }
    case kDeliveryCable:
      return Format("%04X - %d", transport_stream_id, static_cast<int>(CableTuning().frequency / 10));
    case kDeliveryTerrestrial:
      return Format("%04X - %d", transport_stream_id,
                    static_cast<int>(TerrestrialTuning().centre_frequency / 100));
    default:
      return Format("%04X - Unknown", transport_stream_id);
  }
}

double Transponder::GetFrequency() const {
  // Division, not multiplication by a reciprocal: 1174300 / 1e5 is the
  // double nearest to 11.743.
  switch (deliveryKind) {
    case kDeliverySatellite: return SatelliteTuning().frequency / 1e5;        // 10 kHz units
    case kDeliveryCable: return CableTuning().frequency / 1e7;                // 100 Hz units
    case kDeliveryTerrestrial: return TerrestrialTuning().centre_frequency / 1e8;  // 10 Hz units
    default: return 0.0;
  }
}

u32 Transponder::GetPolarization() const {
  return deliveryKind == kDeliverySatellite ? SatelliteTuning().polarization : 0;
}

u32 Transponder::GetSymbolRate() const {
  switch (deliveryKind) {
    case kDeliverySatellite: return SatelliteTuning().symbol_rate * 1000u;
    case kDeliveryCable: return CableTuning().symbol_rate * 1000u;
    default: return 0;
  }
}

u32 Transponder::GetFec() const {
  switch (deliveryKind) {
    case kDeliverySatellite: return SatelliteTuning().fec_inner;
    case kDeliveryCable: return CableTuning().fec_inner;
    default: return 0;
  }
}

bool FileSection(Transponder& record, const NetworkInformationSection& nit) {
  if (!nit.parsed) return false;
  NitSectionMap* map = nit.table_id == 0x40   ? &record.nitActual
                       : nit.table_id == 0x41 ? &record.nitOther
                                              : nullptr;
  if (!map) return false;
  (*map)[nit.table_id_extension][nit.section_number] = nit;
  return true;
}

bool FileSection(Transponder& record, const ServiceDescriptionSection& sdt) {
  if (!sdt.parsed) return false;
  SdtSectionMap* map = sdt.table_id == 0x42   ? &record.sdtActual
                       : sdt.table_id == 0x46 ? &record.sdtOther
                                              : nullptr;
  if (!map) return false;
  (*map)[sdt.original_network_id][sdt.table_id_extension][sdt.section_number] = sdt;
  return true;
}

bool FileSection(Transponder& record, const EventInformationSection& eit) {
  if (!eit.parsed) return false;
  EitSectionMap* map = nullptr;
  if (eit.table_id == 0x4E)
    map = &record.eitPresentFollowingActual;
  else if (eit.table_id == 0x4F)
    map = &record.eitPresentFollowingOther;
  else if (eit.table_id >= 0x50 && eit.table_id <= 0x5F)
    map = &record.eitScheduleActual;
  else if (eit.table_id >= 0x60 && eit.table_id <= 0x6F)
    map = &record.eitScheduleOther;
  if (!map) return false;
  (*map)[eit.original_network_id][eit.transport_stream_id][eit.table_id_extension][eit.section_number] = eit;
  return true;
}

bool IsFiled(const NetworkMap& store, u32 original_network_id, u32 transport_stream_id) {
  const auto network = store.find(original_network_id);
  return network != store.end() && network->second.transponders.count(transport_stream_id) != 0;
}

bool FileTransponder(NetworkMap& store, u32 original_network_id, const Transponder& record) {
  return FileTransponderImpl(store, original_network_id, record);
}

bool FileTransponder(NetworkMap& store, u32 original_network_id, Transponder&& record) {
  return FileTransponderImpl(store, original_network_id, std::move(record));
}

}  // namespace lib13818
