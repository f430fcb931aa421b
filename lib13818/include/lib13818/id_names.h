#pragma once
// Names of registered DVB identifier values (network_id, CA_system_id, MHP
// organisation_id, private_data_specifier, data_broadcast_id,
// original_network_id, bouquet_id).
//
// The tables are static data generated at build time from the listings in
// lib13818/data/dvb-ids: one row per code (registry ranges written out), in
// listing order, names as Windows-1252 bytes exactly as listed (trailing
// blanks and non-breaking spaces included; network_id 0x0085 has an empty
// name).  A code may occur in several rows (overlapping network_id
// allocations); the last of them names it.
#include <cstdint>

namespace lib13818 {

struct IdNameRow {
  std::int32_t code;  // 32-bit codes (private_data_specifier) wrap to negative values
  const char* name;
};

// Each array with its row count, taken from the array itself.
extern const IdNameRow NetworkIdNames[];
extern const std::int32_t NetworkIdNamesCount;
extern const IdNameRow CASystemIdNames[];
extern const std::int32_t CASystemIdNamesCount;
extern const IdNameRow OrganisationIdNames[];
extern const std::int32_t OrganisationIdNamesCount;
extern const IdNameRow PrivateDataSpecifierNames[];
extern const std::int32_t PrivateDataSpecifierNamesCount;
extern const IdNameRow DataBroadcastIdNames[];
extern const std::int32_t DataBroadcastIdNamesCount;
extern const IdNameRow OriginalNetworkIdNames[];
extern const std::int32_t OriginalNetworkIdNamesCount;
extern const IdNameRow BouquetIdNames[];
extern const std::int32_t BouquetIdNamesCount;

// Builds the code-to-row maps of all seven tables.  Called once at start-up,
// before any lookup; later calls change nothing.  Until it has run every
// lookup answers "<unknown>".
void InitIdNameMaps();

// The registered name of a code, or "<unknown>" when the table has no row for
// it (negative numbers and values above 0xFFFF included).  The text is static
// storage; the caller neither frees nor keeps it.
const char* GetNetworkName(int network_id);
const char* GetCASystemName(int CA_system_id);
const char* GetDataBroadcastName(int data_broadcast_id);

}  // namespace lib13818
