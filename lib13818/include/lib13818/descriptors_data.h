#pragma once
// Descriptors that announce data services: data_broadcast, data_broadcast_id
// and application_signalling.  None of them prints fields.
#include <string>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/raw_text.h"

namespace lib13818 {

// data_broadcast_descriptor (0x64).  The selector and the text must lie
// inside the descriptor, else the descriptor is refused (code 3).
class DescriptorDataBroadcast final : public Descriptor {
 public:
  DescriptorDataBroadcast() = default;
  explicit DescriptorDataBroadcast(const u8* d);
  const char* GetName() const override { return "data_broadcast_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 data_broadcast_id = 0;
  u32 component_tag = 0;
  u32 selector_length = 0;
  char ISO_639_language_code[4] = {};
  u32 text_length = 0;
  Utf8Text text;      // DVB text decoded to UTF-8
  RawText text_raw;  // its bytes as they are
  std::vector<u8> selector_byte;
};

// data_broadcast_id_descriptor (0x66).
class DescriptorDataBroadcastId final : public Descriptor {
 public:
  DescriptorDataBroadcastId() = default;
  explicit DescriptorDataBroadcastId(const u8* d);
  const char* GetName() const override { return "data_broadcast_id_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 data_broadcast_id = 0;
  std::vector<u8> id_selector_byte;
};

// One application entry of an application_signalling descriptor, 3 bytes.
struct ApplicationSignallingInfo {
  ApplicationSignallingInfo() = default;
  explicit ApplicationSignallingInfo(const u8* p)
      : application_type(Get16(p)), AIT_version_number(p[2] & 0x1F) {}
  const char* GetApplicationTypeName() const;

  u32 application_type = 0;  // all 16 bits
  u32 AIT_version_number = 0;
};

// application_signalling_descriptor (0x6F).
class DescriptorApplicationSignalling final : public Descriptor {
 public:
  DescriptorApplicationSignalling() = default;
  explicit DescriptorApplicationSignalling(const u8* d);
  const char* GetName() const override { return "application_signalling_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  EntryList<ApplicationSignallingInfo> applications;
};

}  // namespace lib13818
