#pragma once
// Service description and event information sections.
#include <ostream>
#include <vector>

#include "lib13818/descriptor_set.h"
#include "lib13818/section.h"
#include "lib13818/text_time.h"

namespace lib13818 {

// One service of an SDT.
class ServiceDescriptionInfo {
 public:
  ServiceDescriptionInfo() = default;
  // `size`: bytes left in the loop on entry, bytes of this entry on return.
  ServiceDescriptionInfo(const u8* data, u32& size);

  u32 service_id = 0;
  u32 EIT_schedule_flag = 0;
  u32 EIT_present_following_flag = 0;
  u32 running_status = 0;
  u32 free_CA_mode = 0;
  DescriptorSet descriptors;
};

class ServiceDescriptionSection : public LongSection {
 public:
  const char* GetName() const override;
  void Clear() override { services.clear(); }
  void Dump(std::ostream& os) const override;

  u32 original_network_id = 0;
  std::vector<ServiceDescriptionInfo> services;

 protected:
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return table_id == 0x42 || table_id == 0x46; }
  bool CheckSyntaxIndicator(int bit) const override { return bit == 1; }
  bool CheckReservedBits(int) const override { return true; }
};

// One event of an EIT.
class EventDescriptionInfo {
 public:
  EventDescriptionInfo() = default;
  EventDescriptionInfo(const u8* data, u32& size);

  u32 event_id = 0;
  u32 running_status = 0;
  u32 free_CA_mode = 0;
  u32 descriptors_length = 0;
  UtcTime start_time;
  Duration duration;
  DescriptorSet descriptors;
};

class EventInformationSection : public LongSection {
 public:
  static const char* GetNameById(int table_id);
  const char* GetName() const override { return GetNameById(static_cast<int>(table_id)); }
  void Clear() override { events.clear(); }
  void Dump(std::ostream& os) const override;

  u32 transport_stream_id = 0;
  u32 original_network_id = 0;
  u32 segment_last_section_number = 0;
  u32 last_table_id = 0;
  std::vector<EventDescriptionInfo> events;

 protected:
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return table_id >= 0x4E && table_id <= 0x6F; }
  bool CheckSyntaxIndicator(int bit) const override { return bit == 1; }
  bool CheckReservedBits(int) const override { return true; }
};

}  // namespace lib13818
