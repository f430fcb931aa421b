#pragma once
// Descriptors of programme events: names and texts, references to another
// event, components and genres.
//
// Texts are DVB texts decoded to UTF-8; `<name>_raw` keeps the bytes of the
// field.  A text or item whose length runs past the descriptor is refused.
#include <ostream>
#include <string>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/raw_text.h"

namespace lib13818 {

// short_event_descriptor (0x4D).  Both prefixed texts must lie inside the
// descriptor ("too little data" otherwise).
class DescriptorShortEvent final : public Descriptor {
 public:
  DescriptorShortEvent() = default;
  explicit DescriptorShortEvent(const u8* d);
  const char* GetName() const override { return "short_event_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  char ISO_639_language_code[4] = {};
  Utf8Text event_name;
  Utf8Text text;
  RawText event_name_raw;
  RawText text_raw;
};

// One item of an extended event: its description and the item text.
struct ItemInfo {
  Utf8Text item_description;
  Utf8Text item;
  RawText item_description_raw;
  RawText item_raw;
};

// extended_event_descriptor (0x4E).  Items that do not fit the item area,
// and an item area past the descriptor, are refused with "data length
// mismatch"; a text past the descriptor with "too little data".
class DescriptorExtendedEvent final : public Descriptor {
 public:
  DescriptorExtendedEvent() = default;
  explicit DescriptorExtendedEvent(const u8* d);
  const char* GetName() const override { return "extended_event_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { items.clear(); }

  u32 descriptor_number = 0;
  u32 last_descriptor_number = 0;
  char ISO_639_language_code[4] = {};
  Utf8Text text;
  EntryList<ItemInfo> items;
  RawText text_raw;
};

// time_shifted_event_descriptor (0x4F).
class DescriptorTimeShiftedEvent final : public Descriptor {
 public:
  DescriptorTimeShiftedEvent() = default;
  explicit DescriptorTimeShiftedEvent(const u8* d);
  const char* GetName() const override { return "time_shifted_event_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 reference_service_id = 0;
  u32 reference_event_id = 0;
};

// component_descriptor (0x50).  The text is what follows the six fixed bytes.
class DescriptorComponent final : public Descriptor {
 public:
  DescriptorComponent() = default;
  explicit DescriptorComponent(const u8* d);
  const char* GetName() const override { return "component_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 stream_content = 0;
  u32 component_type = 0;
  u32 component_tag = 0;
  char ISO_639_language_code[4] = {};
  Utf8Text text;
  RawText text_raw;
};

// One genre of a content descriptor, 2 bytes.
struct ContentInfo {
  ContentInfo() = default;
  explicit ContentInfo(const u8* p)
      : content_nibble_level_1(p[0] >> 4),
        content_nibble_level_2(p[0] & 0x0F),
        user_nibble_1(p[1] >> 4),
        user_nibble_2(p[1] & 0x0F) {}

  // The genre group of level 1, and the genre of both nibbles.
  const char* ContentNibbleLevel1Name() const;
  const char* ContentNibbleName() const;

  u32 content_nibble_level_1 = 0;
  u32 content_nibble_level_2 = 0;
  u32 user_nibble_1 = 0;
  u32 user_nibble_2 = 0;
};

// content_descriptor (0x54).
class DescriptorContent final : public Descriptor {
 public:
  DescriptorContent() = default;
  explicit DescriptorContent(const u8* d);
  const char* GetName() const override { return "content_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { contents.clear(); }

  EntryList<ContentInfo> contents;
};

}  // namespace lib13818
