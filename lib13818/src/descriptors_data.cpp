#include "lib13818/descriptors_data.h"

#include "lib13818/text_time.h"

namespace lib13818 {

DescriptorDataBroadcast::DescriptorDataBroadcast(const u8* d) : Descriptor(d) {
  // Layout: id (2), component_tag, selector_length, selector, language (3),
  // text_length, text.  Every part must fit inside the descriptor.
  auto refuse = [] { throw error(3, "data_broadcast_descriptor"); };
  if (length < 4) refuse();
  data_broadcast_id = Get16(d + 2);
  component_tag = d[4];
  selector_length = d[5];
  const u32 lang = 4 + selector_length;  // payload offset of the language code
  if (length < lang + 4) refuse();
  const u8* q = d + 2 + lang;
  for (int i = 0; i < 3; ++i) ISO_639_language_code[i] = static_cast<char>(q[i]);
  text_length = q[3];
  if (length < lang + 4 + text_length) refuse();
  AssignDvbText(text, text_raw, static_cast<int>(text_length), q + 4);
  selector_byte.assign(d + 6, d + 6 + selector_length);
}

DescriptorDataBroadcastId::DescriptorDataBroadcastId(const u8* d) : Descriptor(d) {
  if (length >= 2) data_broadcast_id = Get16(d + 2);
  if (length > 2) id_selector_byte.assign(d + 4, d + 2 + length);
}

const char* ApplicationSignallingInfo::GetApplicationTypeName() const {
  switch (application_type) {
    case 0: return "reserved_future_use";
    case 1: return "DVB-J application";
    case 2: return "DVB-HTML application";
    default: return "subject to registration with DVB";
  }
}

DescriptorApplicationSignalling::DescriptorApplicationSignalling(const u8* d) : Descriptor(d) {
  if (length % 3 != 0) throw error(-1, -1);
  applications.reserve(applications.size() + (length + 3 - 1) / 3);
  for (u32 i = 0; i < length; i += 3) applications.emplace_back(d + 2 + i);
}

}  // namespace lib13818
