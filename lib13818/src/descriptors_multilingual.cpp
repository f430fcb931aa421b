#include "lib13818/descriptors_multilingual.h"

#include "lib13818/text_time.h"

namespace lib13818 {

namespace {

void CopyCode(char (&out)[4], const u8* p) {
  for (int i = 0; i < 3; ++i) out[i] = static_cast<char>(p[i]);
  out[3] = '\0';
}

// Reads the entries from `p` to `end`; every entry must fit before `end`,
// and they must end exactly there (code 2 otherwise).
template <class Entry>
void ReadEntries(const u8* p, const u8* end, EntryList<Entry>& out) {
  while (p < end) {
    int consumed = 0;
    out.emplace_back(p, static_cast<int>(end - p), &consumed);
    p += consumed;
  }
  if (p != end) throw error(2, -1);
}

void PrintNames(std::ostream& os, const EntryList<MultilingualNameInfo>& names) {
  for (const MultilingualNameInfo& n : names) n.Print(os);
}

}  // namespace

MultilingualNameInfo::MultilingualNameInfo(const u8* p, int remaining, int* consumed) {
  if (remaining < 4) throw error(3, "multilingual_name_info_descriptor");
  CopyCode(ISO_639_language_code, p);
  text_len = p[3];
  if (remaining < static_cast<int>(text_len) + 4) throw error(3, "multilingual_name_info_descriptor:2");
  AssignDvbText(name, name_raw, static_cast<int>(text_len), p + 4);
  *consumed = static_cast<int>(text_len) + 4;
}

void MultilingualNameInfo::Print(std::ostream& os) const {
  os << "MultilingualNameInfo::ISO_639_language_code: " << ISO_639_language_code << std::endl;
  os << "MultilingualNameInfo::text_len: " << static_cast<int>(text_len) << std::endl;
  os << "MultilingualNameInfo::name: " << name << std::endl;
}

DescriptorMultilingualServiceName::MultilingualServiceNameInfo::MultilingualServiceNameInfo(
    const u8* p, int remaining, int* consumed) {
  if (remaining < 5) throw error(3, "multilingual_service_name_info_descriptor");
  CopyCode(ISO_639_language_code, p);
  provider_len = p[3];
  const int provider = static_cast<int>(provider_len);
  if (remaining < provider + 5) throw error(3, "multilingual_service_name_info_descriptor:2");
  AssignDvbText(providername, providername_raw, provider, p + 4);
  service_len = p[4 + provider];
  const int service = static_cast<int>(service_len);
  if (remaining < provider + service + 5)
    throw error(3, "multilingual_service_name_info_descriptor:3");
  AssignDvbText(servicename, servicename_raw, service, p + 5 + provider);
  *consumed = provider + service + 5;
}

void DescriptorMultilingualServiceName::MultilingualServiceNameInfo::Print(std::ostream& os) const {
  const char* const kPrefix = "DescriptorMultilingualServiceName::MultilingualServiceNameInfo::";
  os << kPrefix << "ISO_639_language_code: " << ISO_639_language_code << std::endl;
  os << kPrefix << "provider_len: " << static_cast<int>(provider_len) << std::endl;
  os << kPrefix << "providername: " << providername << std::endl;
  os << kPrefix << "service_len: " << static_cast<int>(service_len) << std::endl;
  os << kPrefix << "servicename: " << servicename << std::endl;
}

DescriptorMultilingualNetworkName::DescriptorMultilingualNetworkName(const u8* d) : Descriptor(d) {
  ReadEntries(d + 2, d + 2 + length, names);
}

void DescriptorMultilingualNetworkName::PrintFields(std::ostream& os) const { PrintNames(os, names); }

DescriptorMultilingualBouquetName::DescriptorMultilingualBouquetName(const u8* d) : Descriptor(d) {
  ReadEntries(d + 2, d + 2 + length, names);
}

void DescriptorMultilingualBouquetName::PrintFields(std::ostream& os) const { PrintNames(os, names); }

DescriptorMultilingualServiceName::DescriptorMultilingualServiceName(const u8* d) : Descriptor(d) {
  ReadEntries(d + 2, d + 2 + length, names);
}

void DescriptorMultilingualServiceName::PrintFields(std::ostream& os) const {
  for (const MultilingualServiceNameInfo& n : names) n.Print(os);
}

DescriptorMultilingualComponentName::DescriptorMultilingualComponentName(const u8* d)
    : Descriptor(d) {
  // The entries start behind component_tag; without that byte the (empty)
  // entry loop would start past the descriptor's end.
  if (length < 1) throw error(2, -1);
  component_tag = d[2];
  ReadEntries(d + 3, d + 2 + length, names);
}

void DescriptorMultilingualComponentName::PrintFields(std::ostream& os) const {
  os << "component_tag: " << static_cast<int>(component_tag) << std::endl;
  PrintNames(os, names);
}

}  // namespace lib13818
