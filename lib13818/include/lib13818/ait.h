#pragma once
// The application information table and its descriptors (tags 0x00-0x0D of
// the AIT's own descriptor space).
#include <ostream>
#include <string>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/section.h"

namespace lib13818 {

struct ApplicationIdentifier {
  ApplicationIdentifier() = default;
  explicit ApplicationIdentifier(const u8* p) : organisation_id(Get32(p)), application_id(Get16(p + 4)) {}
  void Print(std::ostream& os) const;

  u32 organisation_id = 0;
  u32 application_id = 0;
};

struct LengthPrefixedString {
  u32 length = 0;
  std::string text;
  // "<name>_length: " and "<name>: " lines.
  void Print(std::ostream& os, const char* name) const;
};

// Reads a length byte and the text behind it from at most `remaining` bytes;
// `consumed` receives 1 + length.  Refuses a text that runs past `remaining`.
LengthPrefixedString ParseLengthPrefixedString(const u8* data, size_t remaining, size_t& consumed);

struct ApplicationProfile {
  u32 application_profile = 0;
  u32 version_major = 0;
  u32 version_minor = 0;
  u32 version_micro = 0;
};

struct ApplicationNameEntry {
  char ISO_639_language_code[4] = {0, 0, 0, 0};
  u32 application_name_length = 0;
  std::string application_name;      // DVB text decoded to UTF-8
  std::string application_name_raw;  // its bytes as they are
};

struct ExternalApplicationEntry {
  u32 organisation_id = 0;
  u32 application_id = 0;
  u32 application_priority = 0;
};

struct RoutingIPv4Entry {
  u32 component_tag = 0;
  u32 address = 0;
  u32 port_number = 0;
  u32 address_mask = 0;
};

struct RoutingIPv6Entry {
  u8 address[16] = {};
  u8 address_mask[16] = {};
  u32 component_tag = 0;
  u32 port_number = 0;
};

struct PrefetchEntry {
  u32 label_length = 0;
  std::string label;
  u32 prefetch_priority = 0;
};

struct DIILocationEntry {
  u32 DII_identification = 0;
  u32 association_tag = 0;
};

struct ObjectCarouselSelector {
  u32 remote_connection = 0;
  u32 original_network_id = 0;
  u32 transport_stream_id = 0;
  u32 service_id = 0;
  u32 component_tag = 0;
};

struct IPSelector {
  u32 remote_connection = 0;
  u32 original_network_id = 0;
  u32 transport_stream_id = 0;
  u32 service_id = 0;
  u32 alignment_indicator = 0;
};

#define ORB_AIT_DESCRIPTOR_COMMON(cls, name)             \
 public:                                                \
  cls() = default;                                      \
  explicit cls(const u8* d);                            \
  const char* GetName() const override { return name; } \
  void PrintFields(std::ostream& os) const override;    \
  void Reset() override;

class DescriptorApplication final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorApplication, "application_descriptor")
  u32 application_profiles_length = 0;
  std::vector<ApplicationProfile> profiles;
  u32 service_bound_flag = 0;
  u32 visibility = 0;
  u32 application_priority = 0;
  std::vector<u8> transport_protocol_labels;
};

class DescriptorApplicationName final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorApplicationName, "application_name_descriptor")
  std::vector<ApplicationNameEntry> names;
};

class DescriptorTransportProtocol final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorTransportProtocol, "transport_protocol_descriptor")
  u32 protocol_id = 0;
  u32 transport_protocol_label = 0;
  ObjectCarouselSelector objectCarousel;
  IPSelector ip;
};

class DescriptorDVBJApplication final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorDVBJApplication, "DVB-J_application_descriptor")
  std::vector<LengthPrefixedString> parameters;
};

class DescriptorDVBJApplicationLocation final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorDVBJApplicationLocation, "DVB-J_application_location_descriptor")
  LengthPrefixedString base_directory;
  LengthPrefixedString classpath_extension;
  std::string initial_class;
};

class DescriptorExternalApplicationAuthorisation final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorExternalApplicationAuthorisation,
                            "external_application_authorisation_descriptor")
  std::vector<ExternalApplicationEntry> entries;
};

class DescriptorRoutingIPv4 final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorRoutingIPv4, "routing_IPv4_descriptor")
  std::vector<RoutingIPv4Entry> entries;
};

class DescriptorRoutingIPv6 final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorRoutingIPv6, "routing_IPv4_descriptor")
  std::vector<RoutingIPv6Entry> entries;
};

class DescriptorDVBHTMLApplication final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorDVBHTMLApplication, "DVB-HTML_application_descriptor")
  LengthPrefixedString application_id;
  std::vector<u8> parameter;
};

class DescriptorDVBHTMLApplicationLocation final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorDVBHTMLApplicationLocation, "DVB-HTML_application_location")
  LengthPrefixedString physical_root;
  std::string initial_path;
};

class DescriptorDVBHTMLApplicationBoundary final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorDVBHTMLApplicationBoundary, "DVB-HTML_application_boundary")
  LengthPrefixedString label;
  std::string regular_expression;
};

class DescriptorApplicationIcons final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorApplicationIcons, "application_icons_descriptor")
  u32 icon_locator_length = 0;
  std::string icon_locator;
  u32 icon_flags = 0;
  std::vector<u8> reserved_future_use;
};

class DescriptorPrefetch final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorPrefetch, "prefetch_descriptor")
  u32 transport_protocol_label = 0;
  std::vector<PrefetchEntry> entries;
};

class DescriptorDIILocation final : public Descriptor {
  ORB_AIT_DESCRIPTOR_COMMON(DescriptorDIILocation, "DII_location_descriptor")
  u32 transport_protocol_label = 0;
  std::vector<DIILocationEntry> entries;
};

#undef ORB_AIT_DESCRIPTOR_COMMON

// The descriptors of one AIT descriptor loop: sixteen lists in a fixed order,
// which is also the order of every dump.
class AitDescriptorSet {
 public:
  static constexpr int kListCount = 16;

  // Sorts one descriptor (2 + d[1] bytes readable) into its list by tag.
  void AddDescriptor(const u8* d);
  // Calls f(index, list) for the sixteen lists in order.
  template <class F>
  void ForEachList(F&& f) const {
    f(0, applicationDescriptors);
    f(1, applicationNameDescriptors);
    f(2, applicationIconsDescriptors);
    f(3, externalApplicationAuthorisationDescriptors);
    f(4, transportProtocolDescriptors);
    f(5, routingIPv4Descriptors);
    f(6, routingIPv6Descriptors);
    f(7, diiLocationDescriptors);
    f(8, prefetchDescriptors);
    f(9, dvbjApplicationDescriptors);
    f(10, dvbjApplicationLocationDescriptors);
    f(11, dvbhtmlApplicationDescriptors);
    f(12, dvbhtmlApplicationLocationDescriptors);
    f(13, dvbhtmlApplicationBoundaryDescriptors);
    f(14, generalDescriptors);
    f(15, userPrivateDescriptors);
  }
  void Print(std::ostream& os) const;

  std::vector<DescriptorApplication> applicationDescriptors;
  std::vector<DescriptorApplicationName> applicationNameDescriptors;
  std::vector<DescriptorApplicationIcons> applicationIconsDescriptors;
  std::vector<DescriptorExternalApplicationAuthorisation> externalApplicationAuthorisationDescriptors;
  std::vector<DescriptorTransportProtocol> transportProtocolDescriptors;
  std::vector<DescriptorRoutingIPv4> routingIPv4Descriptors;
  std::vector<DescriptorRoutingIPv6> routingIPv6Descriptors;
  std::vector<DescriptorDIILocation> diiLocationDescriptors;
  std::vector<DescriptorPrefetch> prefetchDescriptors;
  std::vector<DescriptorDVBJApplication> dvbjApplicationDescriptors;
  std::vector<DescriptorDVBJApplicationLocation> dvbjApplicationLocationDescriptors;
  std::vector<DescriptorDVBHTMLApplication> dvbhtmlApplicationDescriptors;
  std::vector<DescriptorDVBHTMLApplicationLocation> dvbhtmlApplicationLocationDescriptors;
  std::vector<DescriptorDVBHTMLApplicationBoundary> dvbhtmlApplicationBoundaryDescriptors;
  std::vector<DescriptorUnknown> generalDescriptors;      // other tags below 0x80
  std::vector<DescriptorUnknown> userPrivateDescriptors;  // tags 0x80-0xFF
};

// One application of the AIT's application loop.
class ApplicationInfo {
 public:
  ApplicationInfo() = default;
  // `remaining`: bytes left in the application loop; `consumed`: bytes used.
  ApplicationInfo(const u8* data, size_t remaining, size_t& consumed);
  void AddDescriptor(const u8* d) { descriptors.AddDescriptor(d); }

  u32 application_control_code = 0;
  u32 application_descriptors_loop_length = 0;
  ApplicationIdentifier application_identifier;
  AitDescriptorSet descriptors;
};

class ApplicationInformationSection : public LongSection {
 public:
  const char* GetName() const override { return ""; }
  // Empties the applications and the common descriptors of other tags.
  void Clear() override {
    applications.clear();
    descriptors.generalDescriptors.clear();
  }
  void Dump(std::ostream& os) const override;
  u32 GetApplicationType() const { return table_id_extension; }

  u32 common_descriptors_length = 0;
  u32 application_loop_length = 0;
  std::vector<ApplicationInfo> applications;
  AitDescriptorSet descriptors;

 protected:
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return true; }
  bool CheckSyntaxIndicator(int) const override { return true; }
  bool CheckReservedBits(int) const override { return true; }
};

}  // namespace lib13818
