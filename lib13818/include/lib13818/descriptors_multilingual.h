#pragma once
// Descriptors that carry names in several languages: multilingual network,
// bouquet, service and component names.  Names are DVB texts decoded to
// UTF-8; `<name>_raw` keeps the bytes of the field.
#include <ostream>
#include <string>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/raw_text.h"

namespace lib13818 {

// One language's name: code (3 bytes), length byte, name bytes.
struct MultilingualNameInfo {
  MultilingualNameInfo() = default;
  // `remaining` is the number of descriptor bytes from `p` on; `consumed`
  // receives the entry's size.  An entry that does not fit throws code 3.
  MultilingualNameInfo(const u8* p, int remaining, int* consumed);
  void Print(std::ostream& os) const;

  char ISO_639_language_code[4] = {};
  u32 text_len = 0;
  Utf8Text name;
  RawText name_raw;
};

// multilingual_network_name_descriptor (0x5B).
class DescriptorMultilingualNetworkName final : public Descriptor {
 public:
  DescriptorMultilingualNetworkName() = default;
  explicit DescriptorMultilingualNetworkName(const u8* d);
  const char* GetName() const override { return "multilingual_network_name_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { names.clear(); }

  EntryList<MultilingualNameInfo> names;
};

// multilingual_bouquet_name_descriptor (0x5C): as the network name one.
class DescriptorMultilingualBouquetName final : public Descriptor {
 public:
  DescriptorMultilingualBouquetName() = default;
  explicit DescriptorMultilingualBouquetName(const u8* d);
  const char* GetName() const override { return "multilingual_bouquet_name_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { names.clear(); }

  EntryList<MultilingualNameInfo> names;
};

// multilingual_service_name_descriptor (0x5D).
class DescriptorMultilingualServiceName final : public Descriptor {
 public:
  // One language's provider and service names.
  struct MultilingualServiceNameInfo {
    MultilingualServiceNameInfo() = default;
    MultilingualServiceNameInfo(const u8* p, int remaining, int* consumed);
    void Print(std::ostream& os) const;

    char ISO_639_language_code[4] = {};
    u32 provider_len = 0;
    Utf8Text providername;
    u32 service_len = 0;
    Utf8Text servicename;
    RawText providername_raw;
    RawText servicename_raw;
  };

  DescriptorMultilingualServiceName() = default;
  explicit DescriptorMultilingualServiceName(const u8* d);
  const char* GetName() const override { return "multilingual_service_name_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { names.clear(); }

  EntryList<MultilingualServiceNameInfo> names;
};

// multilingual_component_descriptor (0x5E).
class DescriptorMultilingualComponentName final : public Descriptor {
 public:
  DescriptorMultilingualComponentName() = default;
  explicit DescriptorMultilingualComponentName(const u8* d);
  const char* GetName() const override { return "multilingual_component_name_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { names.clear(); }

  EntryList<MultilingualNameInfo> names;
  u32 component_tag = 0;
};

}  // namespace lib13818
