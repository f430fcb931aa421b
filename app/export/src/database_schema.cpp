// The export's schema: six tables, thirteen keys, two saved queries.
#include <cstring>

#include "orb_export/database_export.h"

namespace orb::app {

using namespace orb::ado;

const char* const kTableNames[6] = {"tb_network", "tb_transponder", "tb_service",
                                    "tb_audio",   "tb_ca_ecm",      "tb_ca_emm"};

const ColumnRecord kColumnRecords[40] = {
    {"tb_network", "NID", adInteger, 0, false},
    {"tb_network", "NETWORK_NAME", adVarWChar, 255, false},
    {"tb_network", "DISQ", adInteger, 0, false},
    {"tb_network", "SWITCH12", adInteger, 0, false},
    {"tb_transponder", "TRANSPONDER_ID", adInteger, 0, true},
    {"tb_transponder", "NID", adInteger, 0, false},
    {"tb_transponder", "TID", adInteger, 0, false},
    {"tb_transponder", "FREQUENCY", adInteger, 0, false},
    {"tb_transponder", "POLARIZATION", adInteger, 0, false},
    {"tb_transponder", "SYMBOLRATE", adInteger, 0, false},
    {"tb_transponder", "FEC", adInteger, 0, false},
    {"tb_service", "SERVICE_ID", adInteger, 0, true},
    {"tb_service", "TRANSPONDER_ID", adInteger, 0, false},
    {"tb_service", "SID", adInteger, 0, false},
    {"tb_service", "SERVICENAME", adVarWChar, 50, false},
    {"tb_service", "PROVIDERNAME", adVarWChar, 50, false},
    {"tb_service", "TYPE", adInteger, 0, false},
    {"tb_service", "FREE_CA", adInteger, 0, false},
    {"tb_service", "EIT_SCHEDULE", adInteger, 0, false},
    {"tb_service", "EIT_PRESENT_FOLLOWING", adInteger, 0, false},
    {"tb_service", "VPID", adInteger, 0, false},
    {"tb_service", "APID", adInteger, 0, false},
    {"tb_service", "PCR", adInteger, 0, false},
    {"tb_service", "PMT", adInteger, 0, false},
    {"tb_audio", "AUDIO_ID", adInteger, 0, true},
    {"tb_audio", "SERVICE_ID", adInteger, 0, false},
    {"tb_audio", "APID", adInteger, 0, false},
    {"tb_audio", "LANGUAGE", adVarWChar, 50, false},
    {"tb_ca_ecm", "CAECM_ID", adInteger, 0, true},
    {"tb_ca_ecm", "SERVICE_ID", adInteger, 0, false},
    {"tb_ca_ecm", "SYSTEM_ID", adInteger, 0, false},
    {"tb_ca_ecm", "CAPROVIDER_NAME", adVarWChar, 255, false},
    {"tb_ca_ecm", "CA_PID", adInteger, 0, false},
    {"tb_ca_ecm", "PRIVATEBYTES", adVarWChar, 255, false},
    {"tb_ca_emm", "CAEMM_ID", adInteger, 0, true},
    {"tb_ca_emm", "TRANSPONDER_ID", adInteger, 0, false},
    {"tb_ca_emm", "SYSTEM_ID", adInteger, 0, false},
    {"tb_ca_emm", "CAPROVIDER_NAME", adVarWChar, 255, false},
    {"tb_ca_emm", "CA_PID", adInteger, 0, false},
    {"tb_ca_emm", "PRIVATEBYTES", adVarWChar, 255, false},
};

const SavedQuery kSavedQueries[2] = {
    {"service_list",
     "SELECT tb_network.NID, tb_transponder.TID, tb_service.SID, tb_network.NETWORK_NAME, "
     "tb_service.SERVICENAME, tb_service.PROVIDERNAME, tb_service.TYPE, tb_service.VPID, tb_service.APID, "
     "tb_service.PCR, tb_service.PMT, tb_transponder.FREQUENCY, tb_transponder.POLARIZATION, "
     "tb_transponder.SYMBOLRATE, tb_transponder.FEC, tb_network.DISQ, tb_service.FREE_CA FROM tb_network "
     "INNER JOIN (tb_transponder INNER JOIN tb_service ON tb_transponder.TRANSPONDER_ID = "
     "tb_service.TRANSPONDER_ID) ON tb_network.NID = tb_transponder.NID;"},
    {"ecm_list",
     "SELECT tb_service.SERVICENAME, tb_service.PROVIDERNAME, tb_ca_ecm.SYSTEM_ID, tb_ca_ecm.CAPROVIDER_NAME, "
     "tb_ca_ecm.CA_PID, tb_ca_ecm.PRIVATEBYTES FROM tb_service INNER JOIN tb_ca_ecm ON tb_service.SERVICE_ID = "
     "tb_ca_ecm.SERVICE_ID;"},
};

namespace {

// Keys appended by name, kind and one column.
struct SimpleKey {
  const char* table;
  const char* name;
  KeyType type;
  const char* column;
};

// Keys built as key objects (composite or foreign).
struct BuiltKey {
  const char* table;
  const char* name;
  KeyType type;
  const char* relatedTable;       // foreign keys only
  const char* columns[2];         // one or two
  const char* relatedColumns[2];  // foreign keys only
};

// The thirteen keys in creation order: an entry is one or the other.
struct KeyStep {
  const SimpleKey* simple;
  const BuiltKey* built;
};

constexpr SimpleKey kNid{"tb_network", "NID", adKeyPrimary, "NID"};
constexpr BuiltKey kTransponder{"tb_transponder", "TRANSPONDER", adKeyForeign, "tb_network", {"NID"}, {"NID"}};
constexpr BuiltKey kNetTransponder{"tb_transponder", "NET_TRANSPONDER", adKeyPrimary, nullptr, {"NID", "TID"}, {}};
constexpr SimpleKey kTransponderId{"tb_transponder", "TRANSPONDER_ID", adKeyUnique, "TRANSPONDER_ID"};
constexpr BuiltKey kTbService{
    "tb_service", "TB_SERVICE", adKeyForeign, "tb_transponder", {"TRANSPONDER_ID"}, {"TRANSPONDER_ID"}};
constexpr BuiltKey kSidTransponder{
    "tb_service", "SID_TRANSPONDER", adKeyPrimary, nullptr, {"TRANSPONDER_ID", "SID"}, {}};
constexpr SimpleKey kServiceId{"tb_service", "SERVICE_ID", adKeyUnique, "SERVICE_ID"};
constexpr BuiltKey kAudio{"tb_audio", "AUDIO", adKeyForeign, "tb_service", {"SERVICE_ID"}, {"SERVICE_ID"}};
constexpr SimpleKey kAudioId{"tb_audio", "AUDIO_ID", adKeyPrimary, "AUDIO_ID"};
constexpr BuiltKey kCaEcm{"tb_ca_ecm", "CA_ECM", adKeyForeign, "tb_service", {"SERVICE_ID"}, {"SERVICE_ID"}};
constexpr SimpleKey kCaEcmId{"tb_ca_ecm", "CAECM_ID", adKeyPrimary, "CAECM_ID"};
constexpr BuiltKey kCaEmm{
    "tb_ca_emm", "CA_EMM", adKeyForeign, "tb_transponder", {"TRANSPONDER_ID"}, {"TRANSPONDER_ID"}};
constexpr SimpleKey kCaEmmId{"tb_ca_emm", "CAEMM_ID", adKeyPrimary, "CAEMM_ID"};

constexpr KeyStep kKeySteps[13] = {
    {&kNid, nullptr},           {nullptr, &kTransponder}, {nullptr, &kNetTransponder}, {&kTransponderId, nullptr},
    {nullptr, &kTbService},     {nullptr, &kSidTransponder}, {&kServiceId, nullptr},   {nullptr, &kAudio},
    {&kAudioId, nullptr},       {nullptr, &kCaEcm},       {&kCaEcmId, nullptr},        {nullptr, &kCaEmm},
    {&kCaEmmId, nullptr},
};

void AppendKey(Catalog& catalog, const KeyStep& step) {
  if (step.simple) {
    const SimpleKey& k = *step.simple;
    catalog.GetTables().Item(k.table).GetKeys().Append(k.name, k.type, k.column);
    return;
  }
  const BuiltKey& k = *step.built;
  Key key;
  key.SetName(k.name);
  key.SetType(k.type);
  if (k.type == adKeyForeign) key.SetRelatedTable(k.relatedTable);
  for (int i = 0; i < 2 && k.columns[i]; ++i) {
    Column& column = key.GetColumns().Append(k.columns[i], adInteger, 0);
    if (k.type == adKeyForeign) column.SetRelatedColumn(k.relatedColumns[i]);
  }
  catalog.GetTables().Item(k.table).GetKeys().Append(key);
}

}  // namespace

int ColumnSize(std::string_view table, std::string_view column) {
  for (const ColumnRecord& r : kColumnRecords)
    if (table == r.table && column == r.column) return r.definedSize;
  return 0;
}

std::string ConnectionText(const std::string& path) { return std::string(kProviderText) + path; }

int CreateDatabaseSchema(const std::string& path) {
  Catalog catalog;
  catalog.Create(ConnectionText(path));

  for (const char* name : kTableNames) {
    Table table;
    table.SetName(name);
    for (const ColumnRecord& r : kColumnRecords) {
      if (std::strcmp(r.table, name) != 0) continue;
      table.GetColumns().Append(r.column, r.type, r.definedSize);
      if (r.autoincrement) {
        Column& column = table.GetColumns().Item(r.column);
        column.PutParentCatalog(&catalog);
        column.SetProperty("Autoincrement", true);
      }
    }
    catalog.GetTables().Append(table);
  }

  for (const KeyStep& step : kKeySteps) AppendKey(catalog, step);

  for (const SavedQuery& query : kSavedQueries) {
    Command command;
    command.SetCommandText(query.select);
    catalog.GetViews().Append(query.name, command);
  }

  catalog.Close();
  return 0;
}

}  // namespace orb::app
