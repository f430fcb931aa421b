#include "lib13818/descriptor_set.h"

namespace lib13818 {

void DescriptorSet::AddDescriptor(const u8* d) {
  switch (d[0]) {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  case tag:                                           \
    member.push_back(cls(d));                         \
    return;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
    default:
      break;
  }
  if (d[0] >= 0x80)
    userPrivateDescriptors.push_back(DescriptorUnknown(d));
  else
    generalDescriptors.push_back(DescriptorUnknown(d));
}

size_t DescriptorSet::Count() const {
  size_t n = 0;
  ForEachList([&n](int, const auto& list) { n += list.size(); });
  return n;
}

}  // namespace lib13818
