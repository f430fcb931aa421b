#include "lib13818/sdt_eit.h"

#include <iomanip>

#include "entry_loop.h"

namespace lib13818 {


ServiceDescriptionInfo::ServiceDescriptionInfo(const u8* data, u32& size) {
  if (size < 5) throw error("too little data");
  service_id = Get16(data);
  EIT_schedule_flag = (data[2] >> 1) & 1;
  EIT_present_following_flag = data[2] & 1;
  running_status = data[3] >> 5;
  free_CA_mode = (data[3] >> 4) & 1;
  const u32 d = u32(data[3] & 0x0F) << 8 | data[4];
  if (5 + d > size) throw error("descriptor start end mismatch");
  descriptors.AddLoop(data + 5, d);
  size = 5 + d;
}

const char* ServiceDescriptionSection::GetName() const {
  switch (table_id) {
    case 0x42: return "service_description_section - actual_transport_stream";
    case 0x46: return "service_description_section - other_transport_stream";
    default: return "ERROR";
  }
}

void ServiceDescriptionSection::ParseBody(const u8* body, size_t size) {
  // original_network_id and one reserved byte come before the service loop.
  if (size < 3) throw error("descriptor start end mismatch");
  original_network_id = Get16(body);
  detail::ParseEntryLoop<u32>(body + 3, size - 3, 5, services);
}

void ServiceDescriptionSection::Dump(std::ostream& os) const {
  os << "original_network_id " << static_cast<int>(original_network_id) << std::endl;
  for (const ServiceDescriptionInfo& s : services) {
    os << "service_id " << static_cast<int>(s.service_id) << std::endl;
    os << "EIT_schedule_flag " << static_cast<int>(s.EIT_schedule_flag) << std::endl;
    os << "EIT_present_following_flag " << static_cast<int>(s.EIT_present_following_flag)
       << std::endl;
    os << "running_status " << static_cast<int>(s.running_status) << std::endl;
    os << "free_CA_mode " << static_cast<int>(s.free_CA_mode) << std::endl;
    for (const auto& d : s.descriptors.generalDescriptors) d.Print(os);
    for (const auto& d : s.descriptors.serviceDescriptors) d.Print(os);
  }
}

EventDescriptionInfo::EventDescriptionInfo(const u8* data, u32& size) {
  if (size < 12) throw error("too little data");
  event_id = Get16(data);
  DecodeMjdUtc(start_time, data + 2);
  DecodeBcdDuration(duration, data + 7);
  running_status = data[10] >> 5;
  free_CA_mode = (data[10] >> 4) & 1;
  descriptors_length = u32(data[10] & 0x0F) << 8 | data[11];
  if (12 + descriptors_length > size) throw error("descriptor start end mismatch");
  descriptors.AddLoop(data + 12, descriptors_length);
  size = 12 + descriptors_length;
}

const char* EventInformationSection::GetNameById(int id) {
  if (id == 0x4E) return "event_information_section - actual_transport_stream, present/following";
  if (id == 0x4F) return "event_information_section - other_transport_stream, present/following";
  if (id >= 0x50 && id <= 0x5F) return "event_information_section - actual_transport_stream, schedule";
  if (id >= 0x60 && id <= 0x6F) return "event_information_section - other_transport_stream, schedule";
  return "<unknown>";
}

void EventInformationSection::ParseBody(const u8* body, size_t size) {
  if (size < 6) throw error("descriptor start end mismatch");
  transport_stream_id = Get16(body);
  original_network_id = Get16(body + 2);
  segment_last_section_number = body[4];
  last_table_id = body[5];
  detail::ParseEntryLoop<u32>(body + 6, size - 6, 12, events);
}

void EventInformationSection::Dump(std::ostream& os) const {
  os << "service_id: " << static_cast<int>(table_id_extension) << std::endl;
  os << "transport_stream_id: " << static_cast<int>(transport_stream_id) << std::endl;
  os << "original_network_id: " << static_cast<int>(original_network_id) << std::endl;
  os << "segment_last_section_number: " << static_cast<int>(segment_last_section_number)
     << std::endl;
  os << "last_table_id: " << static_cast<int>(last_table_id) << std::endl;
  for (const EventDescriptionInfo& e : events) {
    os << "event_id: " << std::setw(4) << std::hex << static_cast<int>(e.event_id) << std::endl;
    os << "running_status: " << static_cast<int>(e.running_status) << std::endl;
    os << "free_CA_mode: " << static_cast<int>(e.free_CA_mode) << std::endl;
    os << "descriptors_length: " << static_cast<int>(e.descriptors_length) << std::endl;
    os << "start_time: " << e.start_time << std::endl;
    os << "duration: " << e.duration << std::endl;
  }
}

}  // namespace lib13818
