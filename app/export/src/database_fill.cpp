// The rows: one per network, transport stream, service and CA descriptor.
#include <algorithm>

#include "lib13818/id_names.h"
#include "orb_export/database_export.h"

namespace orb::app {

using namespace orb::ado;
using lib13818::DescriptorCA;
using lib13818::DescriptorService;
using lib13818::Network;
using lib13818::NetworkMap;
using lib13818::ProgramMapSection;
using lib13818::ServiceDescriptionInfo;
using lib13818::Transponder;
using lib13818::u32;

namespace {

constexpr const char* kNotInSdt = "<service not in sdt>";
constexpr std::int32_t kNoPid = 0x1FFF;
constexpr size_t kPrivateBytesBuffer = 256;

// u32 fields as the 32-bit signed integers of the columns.
std::int32_t Int(u32 v) { return static_cast<std::int32_t>(v); }

Variant Text(const char* table, const char* column, std::string_view text) {
  return Variant(DatabaseText(text, static_cast<size_t>(ColumnSize(table, column))));
}

// Adds one row to `table` and hands back the id the database gave it under
// `idColumn` (when one is asked for).
std::int32_t AddRow(Connection& connection, const char* table, std::span<const std::string_view> fields,
                    std::span<const Variant> values, const char* idColumn = nullptr) {
  Recordset recordset;
  recordset.Open(table, connection, adOpenKeyset, adLockOptimistic, adCmdTable);
  recordset.AddNew(fields, values);
  std::int32_t id = 0;
  if (idColumn) id = recordset.Field(idColumn).AsInteger();
  recordset.Close();
  return id;
}

void WriteCaRow(Connection& connection, const char* table, const char* ownerColumn, std::int32_t owner,
                const DescriptorCA& ca) {
  char privateBytes[kPrivateBytesBuffer];
  FormatPrivateBytes(ca.private_data_bytes, privateBytes, sizeof privateBytes);
  const std::string_view fields[] = {ownerColumn, "SYSTEM_ID", "CAPROVIDER_NAME", "CA_PID", "PRIVATEBYTES"};
  const Variant values[] = {owner, Int(ca.CA_system_ID),
                            Text(table, "CAPROVIDER_NAME", lib13818::GetCASystemName(Int(ca.CA_system_ID))),
                            Int(ca.CA_PID), Text(table, "PRIVATEBYTES", privateBytes)};
  AddRow(connection, table, fields, values);
}

}  // namespace

void FormatPrivateBytes(const std::vector<std::uint8_t>& bytes, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return;
  buffer[0] = '\0';
  const size_t count = std::min(bytes.size(), (size - 1) / 3);
  static const char kHex[] = "0123456789ABCDEF";
  for (size_t i = 0; i < count; ++i) {
    buffer[3 * i] = kHex[bytes[i] >> 4];
    buffer[3 * i + 1] = kHex[bytes[i] & 0x0F];
    buffer[3 * i + 2] = ' ';
  }
  if (count > 0) buffer[3 * count - 1] = '\0';
}

TuningColumns GetTuningColumns(const Transponder& t) {
  // Integer arithmetic throughout: each quotient rounds half up, as adding
  // 0.5 and truncating would, and nothing overflows.
  auto roundedDiv = [](std::uint64_t v, std::uint64_t d) { return static_cast<std::int32_t>((v + d / 2) / d); };
  TuningColumns c;
  switch (t.deliveryKind) {
    case Transponder::kDeliverySatellite: {
      const SATDELIVERYDESC s = t.SatelliteTuning();
      c.frequency = roundedDiv(s.frequency, 100);  // 10 kHz units
      c.polarization = Int(s.polarization);
      c.symbolRate = Int(s.symbol_rate / 10);  // 100 symbol/s units, shown in ksymbol/s
      c.fec = Int(s.fec_inner);
      break;
    }
    case Transponder::kDeliveryCable: {
      const CABLEDELIVERYDESC k = t.CableTuning();
      c.frequency = roundedDiv(k.frequency, 10000);  // 100 Hz units
      c.symbolRate = Int(k.symbol_rate / 10);
      c.fec = Int(k.fec_inner);
      break;
    }
    case Transponder::kDeliveryTerrestrial:
      c.frequency = roundedDiv(t.TerrestrialTuning().centre_frequency, 100000);  // 10 Hz units
      break;
    default: break;
  }
  return c;
}

void FindServiceInfo(u32 network_id, u32 transport_stream_id, u32 program_number, const Transponder& transponder,
                     const ProgramMapSection** pmt, const ServiceDescriptionInfo** service) {
  *pmt = nullptr;
  *service = nullptr;
  for (const ProgramMapSection& p : transponder.pmts) {
    if (p.table_id_extension == program_number) {
      *pmt = &p;
      break;
    }
  }
  const auto network = transponder.sdtActual.find(network_id);
  if (network == transponder.sdtActual.end()) return;
  const auto stream = network->second.find(transport_stream_id);
  if (stream == network->second.end()) return;
  for (const auto& [sectionNumber, section] : stream->second)
    for (const ServiceDescriptionInfo& entry : section.services)
      if (entry.service_id == program_number) *service = &entry;
}

void WriteCaEmm(Connection& connection, std::int32_t transponder_id, const DescriptorCA& ca) {
  WriteCaRow(connection, "tb_ca_emm", "TRANSPONDER_ID", transponder_id, ca);
}

void WriteCaEcm(Connection& connection, std::int32_t service_id, const DescriptorCA& ca) {
  WriteCaRow(connection, "tb_ca_ecm", "SERVICE_ID", service_id, ca);
}

int WriteService(Connection& connection, std::int32_t transponder_id, u32 program_number, u32 pmt_pid,
                 const ProgramMapSection* pmt, const ServiceDescriptionInfo* service) {
  const DescriptorService* descriptor = nullptr;
  if (service && !service->descriptors.serviceDescriptors.empty())
    descriptor = &service->descriptors.serviceDescriptors.front();

  std::int32_t vpid = kNoPid, apid = kNoPid, pcr = kNoPid;
  if (pmt) {
    pcr = Int(pmt->PCR_PID);
    for (const auto& stream : pmt->streams)
      if (stream.stream_type == 1 || stream.stream_type == 2) {
        vpid = Int(stream.elementary_PID);
        break;
      }
    for (const auto& stream : pmt->streams)
      if (stream.stream_type == 3 || stream.stream_type == 4) {
        apid = Int(stream.elementary_PID);
        break;
      }
  }

  const std::string_view fields[] = {"TRANSPONDER_ID", "SID",          "SERVICENAME",           "PROVIDERNAME",
                                     "TYPE",           "FREE_CA",      "EIT_SCHEDULE",          "EIT_PRESENT_FOLLOWING",
                                     "VPID",           "PCR",          "PMT",                   "APID"};
  const Variant values[] = {
      transponder_id,
      Int(program_number),
      Text("tb_service", "SERVICENAME", descriptor ? std::string_view(descriptor->service_name) : kNotInSdt),
      Text("tb_service", "PROVIDERNAME",
           descriptor ? std::string_view(descriptor->service_provider_name) : kNotInSdt),
      descriptor ? Int(descriptor->service_type) : -1,
      service ? Int(service->free_CA_mode) : -1,
      service ? Int(service->EIT_schedule_flag) : -1,
      service ? Int(service->EIT_present_following_flag) : -1,
      vpid,
      pcr,
      Int(pmt_pid),
      apid,
  };
  const std::int32_t service_id = AddRow(connection, "tb_service", fields, values, "SERVICE_ID");

  if (pmt) {
    for (const DescriptorCA& ca : pmt->descriptors.caDescriptors) WriteCaEcm(connection, service_id, ca);
    for (const auto& stream : pmt->streams)
      for (const DescriptorCA& ca : stream.descriptors.caDescriptors) WriteCaEcm(connection, service_id, ca);
  }
  return 0;
}

int WriteTransponder(Connection& connection, u32 network_id, const Transponder& transponder) {
  const TuningColumns tuning = GetTuningColumns(transponder);
  const std::string_view fields[] = {"NID", "TID", "FREQUENCY", "POLARIZATION", "SYMBOLRATE", "FEC"};
  const Variant values[] = {Int(network_id),    Int(transponder.transport_stream_id),
                            tuning.frequency,   tuning.polarization,
                            tuning.symbolRate,  tuning.fec};
  const std::int32_t transponder_id = AddRow(connection, "tb_transponder", fields, values, "TRANSPONDER_ID");

  for (const DescriptorCA& ca : transponder.cat.descriptors.caDescriptors)
    WriteCaEmm(connection, transponder_id, ca);

  for (const auto& program : transponder.pat.programs) {
    if (program.program_number == 0) continue;
    const ProgramMapSection* pmt = nullptr;
    const ServiceDescriptionInfo* service = nullptr;
    FindServiceInfo(network_id, transponder.transport_stream_id, program.program_number, transponder, &pmt,
                    &service);
    WriteService(connection, transponder_id, program.program_number, program.PID, pmt, service);
  }
  return 0;
}

int WriteNetworks(const Network& network, Connection& connection) {
  const std::string_view fields[] = {"NID", "NETWORK_NAME", "DISQ", "SWITCH12"};
  const Variant values[] = {Int(network.network_id),
                            Text("tb_network", "NETWORK_NAME", lib13818::GetNetworkName(Int(network.network_id))),
                            Int(network.disq), Int(network.switch12)};
  AddRow(connection, "tb_network", fields, values);

  int result = 0;
  for (const auto& [tsid, transponder] : network.transponders) {
    result = WriteTransponder(connection, network.network_id, transponder);
    if (result < 0) break;
  }
  return result;
}

int FillDatabase(const NetworkMap* networks, const std::string& path) {
  Connection connection;
  connection.Open(ConnectionText(path), "", "", adOptionUnspecified);
  connection.BeginTrans();
  int result = 0;
  if (networks) {
    for (const auto& [id, network] : *networks) {
      result = WriteNetworks(network, connection);
      if (result < 0) break;
    }
  }
  connection.CommitTrans();
  connection.Close();
  return result;
}

}  // namespace orb::app
