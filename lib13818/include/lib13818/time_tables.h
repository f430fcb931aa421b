#pragma once
// The short-header DVB tables: time and date, running status, time offset.
#include <ostream>
#include <vector>

#include "lib13818/descriptor_set.h"
#include "lib13818/section.h"
#include "lib13818/text_time.h"

namespace lib13818 {

class TimeDateSection : public ShortSection {
 public:
  void Clear() override {}
  const char* GetName() const override { return "time_date_section"; }
  void Dump(std::ostream& os) const override;

  UtcTime UTC_time;

 protected:
  bool CheckSyntaxIndicator(int bit) const override { return bit == 0; }
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return GetTableId() == 0x70; }
};

struct RunningStatusInfo {
  RunningStatusInfo() = default;
  // Reads one 9-byte entry; `*consumed` receives 9.
  RunningStatusInfo(const u8* p, int* consumed);
  void Dump(std::ostream& os) const;

  u32 transport_stream_id = 0;
  u32 original_network_id = 0;
  u32 service_id = 0;
  u32 event_id = 0;
  u32 running_status = 0;
};

class RunningStatusSection : public ShortSection {
 public:
  void Clear() override { entries.clear(); }
  const char* GetName() const override { return "running_status_section"; }
  void Dump(std::ostream& os) const override;

  std::vector<RunningStatusInfo> entries;

 protected:
  bool CheckSyntaxIndicator(int bit) const override { return bit == 0; }
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return GetTableId() == 0x71; }
};

class TimeOffsetSection : public ShortSection {
 public:
  // Empties only the descriptors without a class of their own.
  void Clear() override { descriptors.generalDescriptors.clear(); }
  const char* GetName() const override { return "time_offset_section"; }
  void Dump(std::ostream& os) const override;

  UtcTime UTC_time;
  u32 CRC_32 = 0;
  DescriptorSet descriptors;

 protected:
  bool CheckSyntaxIndicator(int bit) const override { return bit == 0; }
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return GetTableId() == 0x73; }
};

}  // namespace lib13818
