#include "lib13818/descriptor_set.h"

namespace lib13818 {

void DescriptorSet::AddDescriptor(const u8* d) {
  switch (d[0]) {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  case tag:                                           \
    member.emplace_back(d);                         \
    return;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
    default:
      break;
  }
  if (d[0] >= 0x80)
    userPrivateDescriptors.emplace_back(d);
  else
    generalDescriptors.emplace_back(d);
}

namespace {

struct TagIndex {
  u8 list[256];
};

constexpr TagIndex MakeTagIndex() {
  TagIndex t{};
  for (int tag = 0; tag < 256; ++tag)
    t.list[tag] = static_cast<u8>(tag >= 0x80 ? DescriptorSet::kUserPrivateIndex : DescriptorSet::kGeneralIndex);
#define ORB_DESCRIPTOR(index, tag, cls, member, name) t.list[tag] = index;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
  return t;
}

constexpr TagIndex kTagIndex = MakeTagIndex();

}  // namespace

int DescriptorSet::ListIndexOfTag(u8 tag) { return kTagIndex.list[tag]; }

void DescriptorSet::AddLoop(const u8* p, size_t size) {
  // Count per list first, so that a list receiving several descriptors
  // grows once.  The count stops where the loop goes wrong; the walk below
  // refuses it there.
  unsigned short counts[kListCount] = {};
  bool repeated = false;
  for (size_t pos = 0; pos + 2 <= size && size_t(p[pos + 1]) + 2 <= size - pos; pos += size_t(p[pos + 1]) + 2)
    repeated |= ++counts[kTagIndex.list[p[pos]]] > 1;
  if (repeated) {
    for (int i = 0; i < kListCount; ++i) {
      if (counts[i] < 2) continue;
      switch (i) {
#define ORB_DESCRIPTOR(index, tag, cls, member, name) \
  case index:                                         \
    member.reserve(member.size() + counts[i]);        \
    break;
#include "lib13818/descriptor_catalogue.def"
#undef ORB_DESCRIPTOR
        case kUserPrivateIndex:
          userPrivateDescriptors.reserve(userPrivateDescriptors.size() + counts[i]);
          break;
        case kGeneralIndex:
          generalDescriptors.reserve(generalDescriptors.size() + counts[i]);
          break;
      }
    }
  }
  ForEachDescriptor(p, size, [this](const u8* d) { AddDescriptor(d); });
}

size_t DescriptorSet::Count() const {
  size_t n = 0;
  ForEachList([&n](int, const auto& list) { n += list.size(); });
  return n;
}

}  // namespace lib13818
