#include "lib13818/descriptors_time.h"

namespace lib13818 {

LocalTimeOffsetInfo::LocalTimeOffsetInfo(const u8* p)
    : country_region_id(p[3] >> 2), local_time_offset_polarity(p[3] & 1) {
  for (int i = 0; i < 3; ++i) country_code[i] = static_cast<char>(p[i]);
  country_code[3] = '\0';
  DecodeBcdTimeOffset(local_time_offset, p + 4);
  DecodeMjdUtc(time_of_change, p + 6);
  DecodeBcdTimeOffset(next_time_offset, p + 11);
}

void LocalTimeOffsetInfo::Print(std::ostream& os) const {
  // The integers come out in the stream's base; the time prints leave it
  // decimal.
  os << "country_code: " << country_code << std::endl;
  os << "country_region_id: " << static_cast<int>(country_region_id) << std::endl;
  os << "local_time_offset_polarity: " << static_cast<int>(local_time_offset_polarity) << std::endl;
  os << "local_time_offset: " << local_time_offset << std::endl;
  os << "time_of_change: " << time_of_change << std::endl;
  os << "next_time_offset: " << next_time_offset << std::endl;
}

DescriptorLocalTimeOffset::DescriptorLocalTimeOffset(const u8* d) : Descriptor(d) {
  if (length % LocalTimeOffsetInfo::kSize != 0) throw error(-1, "descriptor start end mismatch");
  offsets.reserve(offsets.size() + (length + LocalTimeOffsetInfo::kSize - 1) / LocalTimeOffsetInfo::kSize);
  for (u32 i = 0; i < length; i += LocalTimeOffsetInfo::kSize) offsets.emplace_back(d + 2 + i);
}

void DescriptorLocalTimeOffset::PrintFields(std::ostream& os) const {
  for (const LocalTimeOffsetInfo& o : offsets) o.Print(os);
}

}  // namespace lib13818
