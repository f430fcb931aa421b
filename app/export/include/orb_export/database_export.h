#pragma once
// The database export: the SI store as a database file (six tables, their
// keys and the saved queries "service_list" and "ecm_list"), written through
// the ADO-style layer of platform/ado.  Portable: runs on the export worker
// thread of the program and natively in the tests.
//
// The file is built beside the target under a temporary name and moved over
// the target only when it is complete: a failed export leaves no file of its
// own and an existing file at the target as it was.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orb_ado/ado.h"
#include "orb_store/si_store.h"

namespace orb::app {

// One column of the export's schema.
struct ColumnRecord {
  const char* table;
  const char* column;
  orb::ado::DataType type;
  int definedSize;  // characters of a text column; 0 for integers
  bool autoincrement;
};

// The forty columns, table by table, in order; the six table names in order.
extern const ColumnRecord kColumnRecords[40];
extern const char* const kTableNames[6];

// The saved queries, name and SELECT.
struct SavedQuery {
  const char* name;
  const char* select;
};
extern const SavedQuery kSavedQueries[2];

// The defined size of a text column (0 for an unknown or integer column).
int ColumnSize(std::string_view table, std::string_view column);

// "Provider='SQLite';Data source=" and the path, unquoted.
std::string ConnectionText(const std::string& path);

// Called with the error message of a failed export ("Error: %#x\nDesc:
// %s\nSource: %s", UTF-8); the caller shows it.
using ErrorSink = std::function<void(const std::string& message)>;

// The message of an error: "Error: " with the code as "%#x", then the
// description and the source on lines of their own.
std::string FormatErrorMessage(const orb::ado::ProviderError& error);

// Writes the store to `path` (UTF-8).  Returns 0 in every case; a failure is
// handed to `report` once, and nothing is left behind.
int ExportDatabase(const lib13818::NetworkMap* networks, const std::string& path, const ErrorSink& report);

// The two steps on a file of their own (the export gives them its temporary
// file).  Both raise orb::ado::ProviderError.
// Creates a new database file with the tables, keys and saved queries.
int CreateDatabaseSchema(const std::string& path);
// Adds the rows of every network, in one transaction; the result of the last
// WriteNetworks call.
int FillDatabase(const lib13818::NetworkMap* networks, const std::string& path);

// The writers, each adding its rows through `connection`.
int WriteNetworks(const lib13818::Network& network, orb::ado::Connection& connection);
int WriteTransponder(orb::ado::Connection& connection, std::uint32_t network_id,
                     const lib13818::Transponder& transponder);
int WriteService(orb::ado::Connection& connection, std::int32_t transponder_id, std::uint32_t program_number,
                 std::uint32_t pmt_pid, const lib13818::ProgramMapSection* pmt,
                 const lib13818::ServiceDescriptionInfo* service);
void WriteCaEmm(orb::ado::Connection& connection, std::int32_t transponder_id, const lib13818::DescriptorCA& ca);
void WriteCaEcm(orb::ado::Connection& connection, std::int32_t service_id, const lib13818::DescriptorCA& ca);

// The PMT of a program (the first whose table_id_extension is the program
// number) and its SDT-actual entry (the last with that service_id among the
// sections kept for the network and the stream); either may be null.
void FindServiceInfo(std::uint32_t network_id, std::uint32_t transport_stream_id, std::uint32_t program_number,
                     const lib13818::Transponder& transponder, const lib13818::ProgramMapSection** pmt,
                     const lib13818::ServiceDescriptionInfo** service);

// The bytes as "0A 1B 2C": at most (size - 1) / 3 of them, two upper-case hex
// digits each, single blanks, no trailing blank; no bytes give "".
void FormatPrivateBytes(const std::vector<std::uint8_t>& bytes, char* buffer, std::size_t size);

// The tuning columns of a transport stream by its delivery kind: FREQUENCY in
// MHz (rounded), POLARIZATION, SYMBOLRATE in ksymbol/s and FEC, each null
// where the kind has no such field.
struct TuningColumns {
  orb::ado::Variant frequency, polarization, symbolRate, fec;
};
TuningColumns GetTuningColumns(const lib13818::Transponder& transponder);

// A text as it goes into the database: valid UTF-8 as it stands, anything
// else read as Windows-1252 (the registered-identifier names); then cut to at
// most `maxChars` characters, on a character boundary.
std::string DatabaseText(std::string_view text, std::size_t maxChars);

}  // namespace orb::app
