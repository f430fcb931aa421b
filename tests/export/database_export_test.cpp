// The database export, read back through the sqlite3 shell: schema, rows of
// stores built from generated multiplexes and from hand-made sections, the
// row-source edge cases, and the failure paths (nothing left behind).
#include <gtest/gtest.h>

#include <cstring>

#include "export_test_support.h"
#include "lib13818/id_names.h"
#include "orb_export/database_export.h"
#include "sigen/sigen.h"
#include "store_builder.h"

namespace {

using namespace export_test;
using namespace testing_support;
using lib13818::NetworkMap;
using lib13818::Transponder;
using orb::app::ExportDatabase;

class ExportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { lib13818::InitIdNameMaps(); }

  // Exports `store` to `path`; the error message ("" when none).
  std::string Export(const NetworkMap& store, const std::string& path) {
    std::string error;
    int reports = 0;
    EXPECT_EQ(ExportDatabase(&store, path, [&](const std::string& m) {
                error = m;
                ++reports;
              }),
              0);
    EXPECT_LE(reports, 1);
    return error;
  }

  ScratchDir dir_;
};

// ---- schema ----

TEST_F(ExportTest, EmptyStoreGivesSixTablesThirteenKeysTwoViewsAndNoRows) {
  const std::string db = dir_.File("empty.db");
  ASSERT_EQ(Export(NetworkMap(), db), "");
  EXPECT_EQ(dir_.Listing(), "empty.db\n");

  EXPECT_EQ(Sql(db, "SELECT type, name FROM sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE "
                    "'sqlite_%' ORDER BY type, name;"),
            "table|tb_audio\ntable|tb_ca_ecm\ntable|tb_ca_emm\ntable|tb_network\ntable|tb_service\n"
            "table|tb_transponder\nview|ecm_list\nview|service_list\n");

  // Every column with its declared type, table by table, in order.
  for (const char* table : orb::app::kTableNames) {
    std::string expected;
    for (const auto& r : orb::app::kColumnRecords) {
      if (std::strcmp(r.table, table) != 0) continue;
      expected += std::string(r.column) + "|" +
                  (r.type == orb::ado::adInteger ? "INTEGER" : "VARCHAR(" + std::to_string(r.definedSize) + ")") +
                  "\n";
    }
    EXPECT_EQ(Sql(db, std::string("SELECT name, type FROM pragma_table_info('") + table + "');"), expected) << table;
  }

  // Primary keys.
  const char* primary = "SELECT m.name || ':' || group_concat(p.name, ',') FROM sqlite_master m, "
                        "pragma_table_info(m.name) p WHERE m.type = 'table' AND m.name LIKE 'tb_%' AND p.pk > 0 "
                        "GROUP BY m.name ORDER BY m.name;";
  EXPECT_EQ(Sql(db, primary),
            "tb_audio:AUDIO_ID\ntb_ca_ecm:CAECM_ID\ntb_ca_emm:CAEMM_ID\ntb_network:NID\n"
            "tb_service:TRANSPONDER_ID,SID\ntb_transponder:NID,TID\n");
  // Unique keys.
  EXPECT_EQ(Sql(db, "SELECT m.name, c.name FROM sqlite_master m, pragma_index_list(m.name) i, "
                    "pragma_index_info(i.name) c WHERE m.type = 'table' AND i.origin = 'u' ORDER BY m.name;"),
            "tb_service|SERVICE_ID\ntb_transponder|TRANSPONDER_ID\n");
  // Foreign keys.
  EXPECT_EQ(Sql(db, "SELECT m.name, f.\"from\", f.\"table\", f.\"to\" FROM sqlite_master m, "
                    "pragma_foreign_key_list(m.name) f WHERE m.type = 'table' ORDER BY m.name;"),
            "tb_audio|SERVICE_ID|tb_service|SERVICE_ID\ntb_ca_ecm|SERVICE_ID|tb_service|SERVICE_ID\n"
            "tb_ca_emm|TRANSPONDER_ID|tb_transponder|TRANSPONDER_ID\n"
            "tb_service|TRANSPONDER_ID|tb_transponder|TRANSPONDER_ID\ntb_transponder|NID|tb_network|NID\n");
  // Foreign keys that no other key covers have an index of their own.
  EXPECT_EQ(Sql(db, "SELECT tbl_name || ':' || name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL "
                    "ORDER BY name;"),
            "tb_audio:tb_audio_AUDIO\ntb_ca_ecm:tb_ca_ecm_CA_ECM\ntb_ca_emm:tb_ca_emm_CA_EMM\n");
  // The keys keep their names.
  const std::string schema = Sql(db, ".schema");
  for (const char* key : {"NID PRIMARY KEY", "TRANSPONDER FOREIGN KEY", "NET_TRANSPONDER PRIMARY KEY",
                          "TRANSPONDER_ID UNIQUE", "TB_SERVICE FOREIGN KEY", "SID_TRANSPONDER PRIMARY KEY",
                          "SERVICE_ID UNIQUE", "AUDIO FOREIGN KEY", "AUDIO_ID PRIMARY KEY AUTOINCREMENT",
                          "CA_ECM FOREIGN KEY", "CAECM_ID PRIMARY KEY AUTOINCREMENT", "CA_EMM FOREIGN KEY",
                          "CAEMM_ID PRIMARY KEY AUTOINCREMENT"})
    EXPECT_NE(schema.find(std::string("CONSTRAINT ") + key), std::string::npos) << key << "\n" << schema;
  // The two ids that are not their table's primary key count by trigger.
  EXPECT_EQ(Sql(db, "SELECT tbl_name FROM sqlite_master WHERE type = 'trigger' ORDER BY tbl_name;"),
            "tb_service\ntb_transponder\n");
  // The views answer with their columns and no rows.
  EXPECT_EQ(Sql(db, "SELECT group_concat(name, ',') FROM pragma_table_info('service_list');"),
            "NID,TID,SID,NETWORK_NAME,SERVICENAME,PROVIDERNAME,TYPE,VPID,APID,PCR,PMT,FREQUENCY,POLARIZATION,"
            "SYMBOLRATE,FEC,DISQ,FREE_CA\n");
  EXPECT_EQ(Sql(db, "SELECT group_concat(name, ',') FROM pragma_table_info('ecm_list');"),
            "SERVICENAME,PROVIDERNAME,SYSTEM_ID,CAPROVIDER_NAME,CA_PID,PRIVATEBYTES\n");
  EXPECT_EQ(Sql(db, "SELECT (SELECT count(*) FROM tb_network) + (SELECT count(*) FROM tb_transponder) + "
                    "(SELECT count(*) FROM tb_service) + (SELECT count(*) FROM tb_audio) + "
                    "(SELECT count(*) FROM tb_ca_ecm) + (SELECT count(*) FROM tb_ca_emm) + "
                    "(SELECT count(*) FROM service_list) + (SELECT count(*) FROM ecm_list);"),
            "0\n");
  EXPECT_EQ(Sql(db, "PRAGMA integrity_check;"), "ok\n");
}

// ---- stores from generated multiplexes ----

Transponder FromMultiplex(const sigen::Config& config) {
  Transponder record;
  AddSections(record, sigen::AllSections(sigen::GenerateMultiplex(config)));
  return record;
}

size_t CountCa(const lib13818::ProgramMapSection& pmt) {
  size_t n = pmt.descriptors.caDescriptors.size();
  for (const auto& s : pmt.streams) n += s.descriptors.caDescriptors.size();
  return n;
}

TEST_F(ExportTest, GeneratedMultiplexesGiveOneRowPerNetworkStreamServiceAndCaDescriptor) {
  NetworkMap store;
  struct Mux {
    std::uint16_t onid, tsid;
    int services;
  };
  const Mux muxes[] = {{0x0001, 0x044D, 8}, {0x0001, 0x044E, 3}, {0x0002, 0x0500, 5}};
  size_t services = 0, ecm = 0, emm = 0;
  std::string expectedList;
  for (const Mux& m : muxes) {
    sigen::Config config;
    config.original_network_id = m.onid;
    config.transport_stream_id = m.tsid;
    config.services = m.services;
    config.scheduleEvents = 1;
    Transponder record = FromMultiplex(config);
    ASSERT_TRUE(record.pat.parsed);
    const SATDELIVERYDESC tuning = SatelliteRecord(1174300, 1, 275000, 3);
    record.SetSatelliteTuning("Astra", &tuning);
    for (const auto& p : record.pat.programs) {
      if (p.program_number == 0) continue;
      ++services;
      for (const auto& pmt : record.pmts)
        if (pmt.table_id_extension == p.program_number) {
          ecm += CountCa(pmt);
          break;
        }
    }
    emm += record.cat.descriptors.caDescriptors.size();
    ASSERT_TRUE(lib13818::FileTransponder(store, m.onid, std::move(record)));
    // The provider texts come as the library decodes them (one of them
    // starts with a character-table byte).
    const char* types[] = {"1", "2", "25", "12", "1", "4", "5", "22", "2", "10"};
    const auto& sdt = store[m.onid].transponders[m.tsid].sdtActual[m.onid][m.tsid];
    for (int i = 0; i < m.services; ++i) {
      std::string provider = "?";
      for (const auto& [n, section] : sdt)
        for (const auto& entry : section.services)
          if (entry.service_id == static_cast<unsigned>(0x1000 + i))
            provider = orb::app::DatabaseText(entry.descriptors.serviceDescriptors.at(0).service_provider_name, 50);
      EXPECT_NE(provider.find(i % 2 ? "Orbit Media" : "Kanal Grupp"), std::string::npos);
      expectedList += std::to_string(m.onid) + "|" + std::to_string(m.tsid) + "|" + std::to_string(0x1000 + i) +
                      "|Service 0." + std::to_string(i) + "|" + provider + "|" + types[i % 10] +
                      "|11743|1|27500|3\n";
    }
  }
  ASSERT_EQ(services, 16u);
  ASSERT_GT(ecm, 0u);
  ASSERT_EQ(emm, 6u);

  const std::string db = dir_.File("mux.db");
  ASSERT_EQ(Export(store, db), "");
  EXPECT_EQ(dir_.Listing(), "mux.db\n");
  EXPECT_EQ(Sql(db, "SELECT count(*) FROM tb_network; SELECT count(*) FROM tb_transponder; "
                    "SELECT count(*) FROM tb_service; SELECT count(*) FROM tb_ca_ecm; "
                    "SELECT count(*) FROM tb_ca_emm; SELECT count(*) FROM tb_audio;"),
            "2\n3\n" + std::to_string(services) + "\n" + std::to_string(ecm) + "\n" + std::to_string(emm) + "\n0\n");
  EXPECT_EQ(Sql(db, "SELECT NID, TID, SID, SERVICENAME, PROVIDERNAME, TYPE, FREQUENCY, POLARIZATION, SYMBOLRATE, "
                    "FEC FROM service_list ORDER BY NID, TID, SID;"),
            expectedList);
  EXPECT_EQ(Sql(db, "SELECT count(*) FROM ecm_list;"), std::to_string(ecm) + "\n");
  EXPECT_EQ(Sql(db, "PRAGMA foreign_key_check;"), "");
  EXPECT_EQ(Sql(db, "PRAGMA integrity_check;"), "ok\n");
  // The ids count from 1 in store order.
  EXPECT_EQ(Sql(db, "SELECT group_concat(TRANSPONDER_ID || ':' || TID, ',') FROM tb_transponder;"),
            "1:1101,2:1102,3:1280\n");
}

// ---- the row sources, edge by edge ----

// Finds a network_id the name table does not know.
int UnnamedNetworkId() {
  for (int id = 0xFFFE; id > 0; --id)
    if (std::strcmp(lib13818::GetNetworkName(id), "<unknown>") == 0) return id;
  return -1;
}

NetworkMap EdgeStore() {
  NetworkMap store;
  const std::string longName = "\x15Long \xC3\xA9" + std::string(60, 'x');  // UTF-8: é, then more than fits
  Bytes many(90);
  for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint8_t>(i);

  // Stream 1 (satellite): every kind of program.
  {
    Transponder t;
    Bytes cat = CaDescriptor(0x0604, 0x1600, many);
    Bytes unknownCa = CaDescriptor(0x1A00, 0x1601);
    cat.insert(cat.end(), unknownCa.begin(), unknownCa.end());
    Bytes es1 = CaDescriptor(0x0604, 0x1701);
    AddSections(t, {
                       Pat(0x0001, {{0, 0x10}, {0x0101, 0x0101}, {0x0102, 0x0102}, {0x0103, 0x0103},
                                    {0x0104, 0x0104}, {0x0105, 0x0105}}),
                       Cat(cat),
                       Pmt(0x0101, 0x0200, CaDescriptor(0x0500, 0x1700, {0x0A, 0x1B, 0x2C}),
                           {{0x02, 0x0201, es1},
                            {0x04, 0x0202, {}},
                            {0x01, 0x0203, {}},
                            {0x03, 0x0204, CaDescriptor(0x0100, 0x1702)}}),
                       Pmt(0x0103, 0x0300, {}, {{0x06, 0x0301, {}}}),
                       Pmt(0x0999, 0x0400, CaDescriptor(0x0604, 0x1799), {}),  // not in the PAT
                       Pmt(0x0101, 0x0555, {}, {}),                             // a second PMT: the first counts
                       Sdt(0x0001, 0x0001,
                           {{0x0101, true, false, 1, ServiceDescriptor(0x19, "Prov A", "Alpha")},
                            {0x0103, true, false, 1, {}},
                            {0x0104, false, true, 0, ServiceDescriptor(0x01, "P", "First")}},
                           0, 1),
                       Sdt(0x0001, 0x0001,
                           {{0x0104, false, true, 0, ServiceDescriptor(0x01, "P", "Second")},
                            {0x0104, true, true, 0, ServiceDescriptor(0x02, "P", "Third")},
                            {0x0105, false, false, 0, ServiceDescriptor(0x01, "", longName)}},
                           1, 1),
                   });
    const SATDELIVERYDESC tuning = SatelliteRecord(1174300, 2, 275000, 3);
    t.SetSatelliteTuning("Astra", &tuning);
    lib13818::FileTransponder(store, 0x0001, std::move(t));
  }
  // Stream 2 (cable): its SDT entry is kept under another network.
  {
    Transponder t;
    AddSections(t, {Pat(0x0002, {{0x0201, 0x0100}}),
                    Sdt(0x0002, 0x0002, {{0x0201, true, true, 0, ServiceDescriptor(1, "X", "Elsewhere")}})});
    CABLEDELIVERYDESC cable{};
    cable.frequency = 3460000;
    cable.symbol_rate = 69000;
    cable.fec_inner = 5;
    t.SetCableTuning(&cable);
    lib13818::FileTransponder(store, 0x0001, std::move(t));
  }
  // Stream 3 (terrestrial): no programs.
  {
    Transponder t;
    AddSections(t, {Pat(0x0003, {{0, 0x10}})});
    TERRDELIVERYDESC terr{};
    terr.centre_frequency = 47400000;
    t.SetTerrestrialTuning(&terr);
    lib13818::FileTransponder(store, 0x0001, std::move(t));
  }
  // A network without a registered name, its stream without tuning.
  {
    const auto id = static_cast<std::uint16_t>(UnnamedNetworkId());
    Transponder t;
    AddSections(t, {Pat(0x0004, {{0x0401, 0x0100}}),
                    Sdt(0x0004, id, {{0x0401, true, true, 0, ServiceDescriptor(1, "", "")}})});
    lib13818::FileTransponder(store, id, std::move(t));
    store[id].disq = 2;
    store[id].switch12 = 1;
  }
  return store;
}

TEST_F(ExportTest, RowSourcesFollowTheStoreEdgeByEdge) {
  const int unnamed = UnnamedNetworkId();
  ASSERT_GT(unnamed, 1);
  const std::string db = dir_.File("edge.db");
  ASSERT_EQ(Export(EdgeStore(), db), "");

  // The registered name comes as UTF-8 (the table holds Windows-1252).
  EXPECT_EQ(Sql(db, "SELECT NID, NETWORK_NAME, DISQ, SWITCH12 FROM tb_network ORDER BY NID;"),
            "1|Astra Satellite Network 19,2\xC2\xB0" "E|0|0\n" + std::to_string(unnamed) + "|<unknown>|2|1\n");
  // Tuning by delivery kind; what a kind lacks is null.
  EXPECT_EQ(Sql(db, ".nullvalue NULL\nSELECT TRANSPONDER_ID, NID, TID, FREQUENCY, POLARIZATION, SYMBOLRATE, FEC "
                    "FROM tb_transponder ORDER BY TRANSPONDER_ID;"),
            "1|1|1|11743|2|27500|3\n2|1|2|346|NULL|6900|5\n3|1|3|474|NULL|NULL|NULL\n4|" +
                std::to_string(unnamed) + "|4|NULL|NULL|NULL|NULL\n");
  // Program 0 gives no service; without a PMT the PIDs are 0x1FFF; without
  // an SDT entry, or without its service descriptor, the names fall back;
  // the last of duplicate entries wins; a long name is cut to 50 characters.
  // (the name as the library decodes it, cut after 50 characters)
  const NetworkMap edge = EdgeStore();
  const std::string stored = edge.at(1).transponders.at(1).sdtActual.at(1).at(1).at(1).services.at(2)
                                 .descriptors.serviceDescriptors.at(0).service_name;
  ASSERT_GT(stored.size(), 60u);
  const std::string cut = orb::app::DatabaseText(stored, 50);
  EXPECT_EQ(Sql(db, "SELECT SERVICE_ID, TRANSPONDER_ID, SID, SERVICENAME, PROVIDERNAME, TYPE, FREE_CA, EIT_SCHEDULE, "
                    "EIT_PRESENT_FOLLOWING, VPID, APID, PCR, PMT FROM tb_service ORDER BY SERVICE_ID;"),
            "1|1|257|Alpha|Prov A|25|1|1|0|513|514|512|257\n"
            "2|1|258|<service not in sdt>|<service not in sdt>|-1|-1|-1|-1|8191|8191|8191|258\n"
            "3|1|259|<service not in sdt>|<service not in sdt>|-1|1|1|0|8191|8191|768|259\n"
            "4|1|260|Third|P|2|0|1|1|8191|8191|8191|260\n"
            "5|1|261|" + cut + "||1|0|0|0|8191|8191|8191|261\n"
            "6|2|513|<service not in sdt>|<service not in sdt>|-1|-1|-1|-1|8191|8191|8191|256\n"
            "7|4|1025|||1|0|1|1|8191|8191|8191|256\n");
  EXPECT_EQ(Sql(db, "SELECT length(SERVICENAME), length(CAST(SERVICENAME AS BLOB)) > 50 FROM tb_service WHERE "
                    "SID = 261;"),
            "50|1\n");
  // ECM rows: program-info loop first, then the streams in order.
  EXPECT_EQ(Sql(db, "SELECT CAECM_ID, SERVICE_ID, SYSTEM_ID, CAPROVIDER_NAME, CA_PID, PRIVATEBYTES FROM tb_ca_ecm "
                    "ORDER BY CAECM_ID;"),
            "1|1|1280|" + std::string(lib13818::GetCASystemName(0x0500)) + "|5888|0A 1B 2C\n" +
                "2|1|1540|" + lib13818::GetCASystemName(0x0604) + "|5889|\n" +
                "3|1|256|" + lib13818::GetCASystemName(0x0100) + "|5890|\n");
  // EMM rows: 85 of 90 private bytes; an unknown CA system.
  std::string bytes85;
  for (int i = 0; i < 85; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", i);
    bytes85 += hex;
  }
  EXPECT_EQ(Sql(db, "SELECT CAEMM_ID, TRANSPONDER_ID, SYSTEM_ID, CAPROVIDER_NAME, CA_PID, PRIVATEBYTES FROM tb_ca_emm "
                    "ORDER BY CAEMM_ID;"),
            "1|1|1540|" + std::string(lib13818::GetCASystemName(0x0604)) + "|5632|" + bytes85 + "\n" +
                "2|1|6656|<unknown>|5633|\n");
  EXPECT_EQ(Sql(db, "SELECT count(*) FROM service_list; SELECT SERVICENAME, CA_PID FROM ecm_list ORDER BY CA_PID;"),
            "7\nAlpha|5888\nAlpha|5889\nAlpha|5890\n");
  EXPECT_EQ(Sql(db, "PRAGMA foreign_key_check;"), "");
  EXPECT_EQ(Sql(db, "PRAGMA integrity_check;"), "ok\n");
}

// ---- failures leave nothing behind ----

TEST_F(ExportTest, EmptyPathReportsTheErrorAndWritesNothing) {
  const std::string error = Export(EdgeStore(), "");
  EXPECT_EQ(error.rfind("Error: 0x80070057\nDesc: ", 0), 0u) << error;
  EXPECT_NE(error.find("\nSource: "), std::string::npos);
  EXPECT_EQ(dir_.Listing(), "");
}

TEST_F(ExportTest, MissingFolderReportsTheErrorAndWritesNothing) {
  const std::string error = Export(EdgeStore(), dir_.File("missing/out.db"));
  EXPECT_EQ(error.rfind("Error: 0x80070003\nDesc: ", 0), 0u) << error;
  EXPECT_EQ(dir_.Listing(), "");
}

TEST_F(ExportTest, FolderAtTheTargetStaysAndNoTemporaryFileIsLeft) {
  fs::create_directories(dir_.path() / "target.db");
  std::ofstream(dir_.File("target.db/keep")) << "mine";
  const std::string error = Export(EdgeStore(), dir_.File("target.db"));
  EXPECT_EQ(error.rfind("Error: 0x", 0), 0u) << error;
  EXPECT_EQ(dir_.Listing(), "target.db\n");
  EXPECT_EQ(ReadFile(dir_.File("target.db/keep")), "mine");
}

TEST_F(ExportTest, FailedFillLeavesAnExistingFileAsItWas) {
  // Two networks with one network_id: the second tb_network row breaks its
  // primary key half way through the rows.
  NetworkMap store = EdgeStore();
  store[0x0002] = store[0x0001];
  const std::string target = dir_.File("old.db");
  std::ofstream(target) << "old contents";
  const std::string error = Export(store, target);
  EXPECT_EQ(error.rfind("Error: 0x80040e2f\nDesc: ", 0), 0u) << error;
  EXPECT_NE(error.find("\nSource: SQLite"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(target), "old contents");
  EXPECT_EQ(dir_.Listing(), "old.db\n");
}

TEST_F(ExportTest, ExportReplacesAnExistingFileAndRunsAgain) {
  const std::string target = dir_.File("again.db");
  std::ofstream(target) << "not a database";
  ASSERT_EQ(Export(EdgeStore(), target), "");
  EXPECT_EQ(Sql(target, "SELECT count(*) FROM tb_service;"), "7\n");
  NetworkMap smaller = SyntheticStore(2, 3);
  ASSERT_EQ(Export(smaller, target), "");
  EXPECT_EQ(Sql(target, "SELECT count(*) FROM tb_service; SELECT count(*) FROM tb_ca_ecm;"), "6\n12\n");
  EXPECT_EQ(dir_.Listing(), "again.db\n");
}

// ---- pieces ----

TEST(ExportPieces, PrivateBytesAsHexWithinTheBuffer) {
  char buffer[256];
  orb::app::FormatPrivateBytes({0x0A, 0x1B, 0x2C}, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "0A 1B 2C");
  orb::app::FormatPrivateBytes({}, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "");
  orb::app::FormatPrivateBytes(std::vector<std::uint8_t>(200, 0xFF), buffer, sizeof buffer);
  EXPECT_EQ(std::strlen(buffer), 85u * 3 - 1);
  char small[7];  // room for two bytes
  orb::app::FormatPrivateBytes({1, 2, 3}, small, sizeof small);
  EXPECT_STREQ(small, "01 02");
  char tiny[3];
  orb::app::FormatPrivateBytes({1}, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "");
}

TEST(ExportPieces, TextsAreUtf8AndCutOnACharacterBoundary) {
  using orb::app::DatabaseText;
  EXPECT_EQ(DatabaseText("plain", 50), "plain");
  EXPECT_EQ(DatabaseText("\xC3\xA9t\xC3\xA9", 50), "\xC3\xA9t\xC3\xA9");           // UTF-8 as it stands
  EXPECT_EQ(DatabaseText("19,2\xB0" "E \x80", 50), "19,2\xC2\xB0" "E \xE2\x82\xAC");  // Windows-1252 read
  EXPECT_EQ(DatabaseText("\xC3\xA9\xC3\xA9\xC3\xA9", 2), "\xC3\xA9\xC3\xA9");
  EXPECT_EQ(DatabaseText("ab\xF0\x9F\x98\x80" "cd", 3), "ab\xF0\x9F\x98\x80");
  EXPECT_EQ(DatabaseText("abc", 0), "");
  EXPECT_EQ(DatabaseText("\xED\xA0\x80", 5), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");  // a surrogate is no UTF-8
  EXPECT_EQ(DatabaseText("ab\xC3", 5), "ab\xC3\x83");                           // cut off at the end
  EXPECT_EQ(DatabaseText("\xC0\xAF", 5), "\xC3\x80\xC2\xAF");                   // an overlong form
}

TEST(ExportPieces, TuningColumnsByDeliveryKind) {
  Transponder t;
  auto show = [](const orb::ado::Variant& v) { return v.IsNull() ? std::string("null") : std::to_string(v.AsInteger()); };
  auto all = [&](const Transponder& x) {
    const auto c = orb::app::GetTuningColumns(x);
    return show(c.frequency) + " " + show(c.polarization) + " " + show(c.symbolRate) + " " + show(c.fec);
  };
  EXPECT_EQ(all(t), "null null null null");
  SATDELIVERYDESC s = SatelliteRecord(1174349, 1, 275000, 3);
  t.SetSatelliteTuning("x", &s);
  EXPECT_EQ(all(t), "11743 1 27500 3");
  s = SatelliteRecord(1174350, 3, 0xFFFFFFFFu, 9);  // rounds up; no overflow
  t.SetSatelliteTuning("x", &s);
  EXPECT_EQ(all(t), "11744 3 429496729 9");
  CABLEDELIVERYDESC c{};
  c.frequency = 3465000;
  c.symbol_rate = 69000;
  c.fec_inner = 15;
  t.SetCableTuning(&c);
  EXPECT_EQ(all(t), "347 null 6900 15");
  TERRDELIVERYDESC r{};
  r.centre_frequency = 47449999;
  t.SetTerrestrialTuning(&r);
  EXPECT_EQ(all(t), "474 null null null");
}

TEST(ExportPieces, ErrorMessageFormat) {
  EXPECT_EQ(orb::app::FormatErrorMessage(orb::ado::ProviderError(static_cast<std::int32_t>(0x80004005), "Bad", "Src")),
            "Error: 0x80004005\nDesc: Bad\nSource: Src");
  EXPECT_EQ(orb::app::FormatErrorMessage(orb::ado::ProviderError(0, "", "")), "Error: 0\nDesc: \nSource: ");
}

}  // namespace
