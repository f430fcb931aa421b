#pragma once
// Descriptors that name networks, bouquets and services and list what a
// network or service offers.
//
// The names are DVB texts decoded to UTF-8; `<name>_raw` keeps the field's
// bytes as they are on the wire.
#include <ostream>
#include <string>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/raw_text.h"

namespace lib13818 {

// network_name_descriptor (0x40).
class DescriptorNetworkName final : public Descriptor {
 public:
  DescriptorNetworkName() = default;
  explicit DescriptorNetworkName(const u8* d);
  const char* GetName() const override { return "network_name_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {
    network_name.clear();
    network_name_raw.clear();
  }

  Utf8Text network_name;
  RawText network_name_raw;
};

// One service of a service list, 3 bytes.
struct ServiceListInfo {
  ServiceListInfo() = default;
  explicit ServiceListInfo(const u8* p) : service_id(Get16(p)), service_type(p[2]) {}

  u32 service_id = 0;
  u32 service_type = 0;
};

// service_list_descriptor (0x41).
class DescriptorServiceList final : public Descriptor {
 public:
  DescriptorServiceList() = default;
  explicit DescriptorServiceList(const u8* d);
  const char* GetName() const override { return "service_list_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  EntryList<ServiceListInfo> services;
};

// stuffing_descriptor (0x42).
class DescriptorStuffing final : public Descriptor {
 public:
  DescriptorStuffing() = default;
  explicit DescriptorStuffing(const u8* d);
  const char* GetName() const override { return "stuffing_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { stuffing_bytes.clear(); }

  std::vector<u8> stuffing_bytes;
};

// bouquet_name_descriptor (0x47).
class DescriptorBouquetName final : public Descriptor {
 public:
  DescriptorBouquetName() = default;
  explicit DescriptorBouquetName(const u8* d);
  const char* GetName() const override { return "bouquet_name_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {
    bouquet_name.clear();
    bouquet_name_raw.clear();
  }

  Utf8Text bouquet_name;
  RawText bouquet_name_raw;
};

// service_descriptor (0x48).  Names that would run past the descriptor are
// refused (code 3).
class DescriptorService final : public Descriptor {
 public:
  DescriptorService() = default;
  explicit DescriptorService(const u8* d);
  const char* GetName() const override { return "service_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  // The text of a service_type code.
  static const char* ServiceTypeName(int service_type);

  u32 service_type = 0;
  Utf8Text service_provider_name;
  Utf8Text service_name;
  RawText service_provider_name_raw;
  RawText service_name_raw;
};

// country_availability_descriptor (0x49).
class DescriptorCountryAvailability final : public Descriptor {
 public:
  DescriptorCountryAvailability() = default;
  explicit DescriptorCountryAvailability(const u8* d);
  const char* GetName() const override { return "country_availability_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 country_availability_flag = 0;
  std::vector<std::string> country_codes;
};

}  // namespace lib13818
