#include "lib13818/nit_bat.h"

#include "entry_loop.h"

namespace lib13818 {

TransportStreamInfo::TransportStreamInfo(const u8* data, u32& size) {
  if (size < 6) throw error("too little data");
  transport_stream_id = Get16(data);
  original_network_id = Get16(data + 2);
  const u32 d = u32(data[4] & 0x0F) << 8 | data[5];
  if (6 + d > size) throw error("descriptor start end mismatch");
  descriptors.AddLoop(data + 6, d);
  size = 6 + d;
}

void NetworkBouquetSection::ParseBody(const u8* body, size_t size) {
  if (size < 4) throw error("too little data");
  const size_t n = size_t(body[0] & 0x0F) << 8 | body[1];
  // The loop length field that follows the descriptor loop must be inside
  // the section too.
  if (2 + n + 2 > size) throw error("descriptor start end mismatch");
  ForEachDescriptor(body + 2, n, [this](const u8* d) {
    if (d[0] == 0x09)
      caDescriptors.emplace_back(d);
    else
      descriptors.AddDescriptor(d);
  });

  const u8* end = body + 2 + n;
  const size_t loopLength = size_t(end[0] & 0x0F) << 8 | end[1];
  const size_t loopStart = 2 + n + 2;
  if (loopStart + loopLength > size) throw error("descriptor start end mismatch");
  detail::ParseEntryLoop<u32>(body + loopStart, loopLength, 6, transportStreams);
}

void NetworkBouquetSection::DumpEntries(std::ostream& os, bool deliveryAndServiceList) const {
  for (const TransportStreamInfo& ts : transportStreams) {
    os << "stream_id " << static_cast<int>(ts.transport_stream_id) << std::endl;
    os << "original_network_id " << static_cast<int>(ts.original_network_id) << std::endl;
    for (const auto& d : ts.descriptors.generalDescriptors) d.Print(os);
    if (deliveryAndServiceList) {
      for (const auto& d : ts.descriptors.satelliteDeliverySystemDescriptors) d.Print(os);
      for (const auto& d : ts.descriptors.serviceListDescriptors) d.Print(os);
    }
  }
}

const char* NetworkInformationSection::GetName() const {
  switch (table_id) {
    case 0x40: return "network_information_section - actual_transport_network";
    case 0x41: return "network_information_section - other_transport_network";
    default: return "ERROR";
  }
}

}  // namespace lib13818
