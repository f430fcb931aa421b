#pragma once
// local_time_offset_descriptor (0x58): per country and region the offset of
// local time from UTC, the next change and the offset after it.
#include <ostream>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/text_time.h"

namespace lib13818 {

// One country's entry, 13 bytes.
struct LocalTimeOffsetInfo {
  static constexpr u32 kSize = 13;

  LocalTimeOffsetInfo() = default;
  explicit LocalTimeOffsetInfo(const u8* p);
  void Print(std::ostream& os) const;

  char country_code[4] = {};
  u32 country_region_id = 0;
  u32 local_time_offset_polarity = 0;  // 0 positive (east), 1 negative
  TimeOffset local_time_offset;
  UtcTime time_of_change;
  TimeOffset next_time_offset;
};

// A length that is not a whole number of entries is refused with
// "descriptor start end mismatch" before any entry is read.
class DescriptorLocalTimeOffset final : public Descriptor {
 public:
  DescriptorLocalTimeOffset() = default;
  explicit DescriptorLocalTimeOffset(const u8* d);
  const char* GetName() const override { return "local_time_offset_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { offsets.clear(); }

  EntryList<LocalTimeOffsetInfo> offsets;
};

}  // namespace lib13818
