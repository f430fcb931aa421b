#include "lib13818/id_names.h"

#include <map>
#include <mutex>

namespace lib13818 {
namespace {

// Code -> index of the code's last row.  Written once by InitIdNameMaps (under
// call_once), read-only afterwards, so lookups take no lock.
using IdIndexMap = std::map<std::int32_t, std::int32_t>;

struct IdTable {
  const IdNameRow* rows;
  const std::int32_t* count;
  IdIndexMap map;
};

// In building order.
IdTable g_network{NetworkIdNames, &NetworkIdNamesCount, {}};
IdTable g_caSystem{CASystemIdNames, &CASystemIdNamesCount, {}};
IdTable g_organisation{OrganisationIdNames, &OrganisationIdNamesCount, {}};
IdTable g_privateDataSpecifier{PrivateDataSpecifierNames, &PrivateDataSpecifierNamesCount, {}};
IdTable g_dataBroadcast{DataBroadcastIdNames, &DataBroadcastIdNamesCount, {}};
IdTable g_originalNetwork{OriginalNetworkIdNames, &OriginalNetworkIdNamesCount, {}};
IdTable g_bouquet{BouquetIdNames, &BouquetIdNamesCount, {}};

std::once_flag g_built;

void Build(IdTable& table) {
  for (std::int32_t i = 0; i < *table.count; ++i) table.map[table.rows[i].code] = i;  // last row wins
}

const char* Lookup(const IdTable& table, int code) {
  const auto it = table.map.find(static_cast<std::int32_t>(code));
  if (it == table.map.end()) return "<unknown>";
  return table.rows[it->second].name;
}

}  // namespace

void InitIdNameMaps() {
  std::call_once(g_built, [] {
    for (IdTable* t : {&g_network, &g_caSystem, &g_organisation, &g_privateDataSpecifier, &g_dataBroadcast,
                       &g_originalNetwork, &g_bouquet})
      Build(*t);
  });
}

const char* GetNetworkName(int network_id) { return Lookup(g_network, network_id); }
const char* GetCASystemName(int CA_system_id) { return Lookup(g_caSystem, CA_system_id); }
const char* GetDataBroadcastName(int data_broadcast_id) { return Lookup(g_dataBroadcast, data_broadcast_id); }

}  // namespace lib13818
