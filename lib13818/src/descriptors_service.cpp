#include "lib13818/descriptors_service.h"

#include "lib13818/text_time.h"

namespace lib13818 {

namespace {

std::string Bytes(const u8* p, u32 n) { return std::string(reinterpret_cast<const char*>(p), n); }

}  // namespace

DescriptorNetworkName::DescriptorNetworkName(const u8* d) : Descriptor(d) {
  AssignDvbText(network_name, network_name_raw, static_cast<int>(length), d + 2);
}

void DescriptorNetworkName::PrintFields(std::ostream& os) const {
  os << "network_name: " << network_name.c_str() << std::endl;
}

DescriptorServiceList::DescriptorServiceList(const u8* d) : Descriptor(d) {
  if (length % 3 != 0) throw error(-1, "descriptor length mismatch");
  services.reserve(services.size() + (length + 3 - 1) / 3);
  for (u32 i = 0; i < length; i += 3) services.emplace_back(d + 2 + i);
}

void DescriptorServiceList::PrintFields(std::ostream& os) const {
  for (const ServiceListInfo& s : services) {
    os << "service_id " << static_cast<int>(s.service_id) << std::endl;
    os << "service_type " << static_cast<int>(s.service_type) << std::endl;
  }
}

DescriptorStuffing::DescriptorStuffing(const u8* d) : Descriptor(d), stuffing_bytes(d + 2, d + 2 + length) {}

void DescriptorStuffing::PrintFields(std::ostream& os) const {
  if (stuffing_bytes.empty()) return;
  os << "stuffing_byte:" << std::endl;
  PrintHex(os, stuffing_bytes);
}

DescriptorBouquetName::DescriptorBouquetName(const u8* d) : Descriptor(d) {
  AssignDvbText(bouquet_name, bouquet_name_raw, static_cast<int>(length), d + 2);
}

void DescriptorBouquetName::PrintFields(std::ostream& os) const {
  os << "bouquet_name: " << bouquet_name.c_str() << std::endl;
}

DescriptorService::DescriptorService(const u8* d) : Descriptor(d) {
  if (length < 1) return;
  service_type = d[2];
  if (length < 2) return;  // no name lengths: both names empty
  const u32 provider = d[3];
  // service_provider_name_length, the name and service_name_length.
  if (length < 3 + provider) throw error(3, "service_descriptor");
  AssignDvbText(service_provider_name, service_provider_name_raw, static_cast<int>(provider), d + 4);
  const u32 name = d[4 + provider];
  if (length < 3 + provider + name) throw error(3, "service_descriptor");
  AssignDvbText(service_name, service_name_raw, static_cast<int>(name), d + 5 + provider);
}

const char* DescriptorService::ServiceTypeName(int service_type) {
  static const char* const kNames[] = {
      "reserved for future use",   "digital television service", "digital radio sound service",
      "teletext service",          "NVOD reference service",     "NVOD time-shifted service",
      "mosiac service",            "PAL coded signal",           "SECAM coded signal",
      "D/D2-MAC",                  "FM Radio",                   "NTSC coded signal",
  };
  if (service_type >= 0 && service_type <= 11) return kNames[service_type];
  if (service_type >= 0x80 && service_type <= 0xFE) return "user defined";
  if (service_type > 0xFF) return "<unknown>";
  return "reserved for future use";
}

void DescriptorService::PrintFields(std::ostream& os) const {
  os << "service_type " << static_cast<int>(service_type) << std::endl;
  os << "provider_name " << service_provider_name.c_str() << std::endl;
  os << "service_name " << service_name.c_str() << std::endl;
}

DescriptorCountryAvailability::DescriptorCountryAvailability(const u8* d) : Descriptor(d) {
  if (length < 1 || (length - 1) % 3 != 0) throw error(3, "country_availability_descriptor");
  country_availability_flag = d[2] >> 7;
  country_codes.reserve(country_codes.size() + (length + 3 - 1) / 3);
  for (u32 i = 3; i < 2 + length; i += 3) country_codes.push_back(Bytes(d + i, 3));
}

void DescriptorCountryAvailability::PrintFields(std::ostream& os) const {
  os << "country_availability_flag: " << static_cast<int>(country_availability_flag) << std::endl;
  for (const std::string& code : country_codes) os << "country_code: " << code.c_str() << std::endl;
}

}  // namespace lib13818
