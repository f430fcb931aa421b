#include "lib13818/time_tables.h"

namespace lib13818 {

void TimeDateSection::ParseBody(const u8* body, size_t size) {
  if (size < 5) throw error("too little data");
  DecodeMjdUtc(UTC_time, body);
}

void TimeDateSection::Dump(std::ostream& os) const {
  ShortSection::Dump(os);
  os << "UTC_time: " << UTC_time << std::endl;
}

RunningStatusInfo::RunningStatusInfo(const u8* p, int* consumed)
    : transport_stream_id(Get16(p)),
      original_network_id(Get16(p + 2)),
      service_id(Get16(p + 4)),
      event_id(Get16(p + 6)),
      running_status(p[8] & 7) {
  *consumed = 9;
}

void RunningStatusInfo::Dump(std::ostream& os) const {
  os << "transport_stream_id: " << static_cast<int>(transport_stream_id) << std::endl;
  os << "original_network_id: " << static_cast<int>(original_network_id) << std::endl;
  os << "service_id: " << static_cast<int>(service_id) << std::endl;
  os << "event_id: " << static_cast<int>(event_id) << std::endl;
  os << "running_status: " << static_cast<int>(running_status) << std::endl;
}

void RunningStatusSection::ParseBody(const u8* body, size_t size) {
  size_t pos = 0;
  while (pos < size) {
    if (size - pos < 9) throw error("descriptor start end mismatch");
    int consumed = 0;
    entries.emplace_back(body + pos, &consumed);
    pos += static_cast<size_t>(consumed);
  }
}

void RunningStatusSection::Dump(std::ostream& os) const {
  ShortSection::Dump(os);
  for (const RunningStatusInfo& e : entries) e.Dump(os);
}

void TimeOffsetSection::ParseBody(const u8* body, size_t size) {
  if (size < 7) throw error("too little data");
  DecodeMjdUtc(UTC_time, body);
  const size_t loopLength = size_t(body[5] & 0x0F) << 8 | body[6];
  if (7 + loopLength > size) throw error("descriptor start end mismatch");
  descriptors.AddLoop(body + 7, loopLength);
  // CRC_32 follows the loop; it is kept, never checked.
  if (7 + loopLength + 4 > size) throw error("too little data");
  CRC_32 = Get32(body + 7 + loopLength);
}

void TimeOffsetSection::Dump(std::ostream& os) const {
  ShortSection::Dump(os);
  os << "UTC_time: " << UTC_time << std::endl;
  os << "crc32: " << static_cast<unsigned long>(CRC_32) << std::endl;
}

}  // namespace lib13818
