#include "lib13818/ait.h"

#include <cstring>

#include "lib13818/text_time.h"

namespace lib13818 {

namespace {

// Reads inside one descriptor's payload; a read past it is refused with the
// class's own message (code 3).
class PayloadReader {
 public:
  PayloadReader(const u8* d, const char* message)
      : p_(d + 2), end_(d + 2 + d[1]), message_(message) {}

  size_t Left() const { return static_cast<size_t>(end_ - p_); }
  bool AtEnd() const { return p_ >= end_; }
  const u8* Here() const { return p_; }
  void Need(size_t n) const {
    if (Left() < n) throw error(3, message_);
  }
  u32 U8() {
    Need(1);
    return *p_++;
  }
  u32 U16() {
    Need(2);
    u32 v = Get16(p_);
    p_ += 2;
    return v;
  }
  u32 U32() {
    Need(4);
    u32 v = Get32(p_);
    p_ += 4;
    return v;
  }
  std::string Text(size_t n) {
    Need(n);
    std::string s(reinterpret_cast<const char*>(p_), n);
    p_ += n;
    return s;
  }
  std::string Rest() { return Text(Left()); }
  std::vector<u8> RestBytes() {
    std::vector<u8> v(p_, end_);
    p_ = end_;
    return v;
  }
  void Bytes(u8* out, size_t n) {
    Need(n);
    std::memcpy(out, p_, n);
    p_ += n;
  }
  LengthPrefixedString Lps() {
    size_t used = 0;
    LengthPrefixedString s;
    try {
      s = ParseLengthPrefixedString(p_, Left(), used);
    } catch (const error&) {
      throw error(3, message_);
    }
    p_ += used;
    return s;
  }

 private:
  const u8* p_;
  const u8* end_;
  const char* message_;
};

void Line(std::ostream& os, const char* name, u32 value) {
  os << name << ": " << std::dec << value << std::endl;
}

void TextLine(std::ostream& os, const char* name, const std::string& text) {
  os << name << ": " << text << std::endl;
}

// Walks an AIT descriptor loop of `size` bytes; every descriptor must lie
// inside it, else `message` (code 3).
template <class F>
void WalkAitLoop(const u8* p, size_t size, const char* message, F&& f) {
  size_t pos = 0;
  while (pos < size) {
    if (size - pos < 2 || size_t(p[pos + 1]) + 2 > size - pos) throw error(3, message);
    f(p + pos);
    pos += size_t(p[pos + 1]) + 2;
  }
}

}  // namespace

void ApplicationIdentifier::Print(std::ostream& os) const {
  Line(os, "organisation_id", organisation_id);
  Line(os, "application_id", application_id);
}

void LengthPrefixedString::Print(std::ostream& os, const char* name) const {
  os << name << "_length: " << std::dec << length << std::endl;
  os << name << ": " << text << std::endl;
}

LengthPrefixedString ParseLengthPrefixedString(const u8* data, size_t remaining, size_t& consumed) {
  if (remaining < 1 || size_t(data[0]) + 1 > remaining) throw error(3, "too little data");
  LengthPrefixedString s;
  s.length = data[0];
  s.text.assign(reinterpret_cast<const char*>(data + 1), data[0]);
  consumed = 1 + s.length;
  return s;
}

// --- descriptors ----------------------------------------------------------

DescriptorApplication::DescriptorApplication(const u8* d) : Descriptor(d) {
  const char* kMessage = "application_descriptor: 1";
  PayloadReader r(d, kMessage);
  application_profiles_length = r.U8();
  if (application_profiles_length % 5 != 0)
    throw error(3, "application_descriptor: application_profiles_length length mismatch");
  if (r.Left() < application_profiles_length) throw error(3, kMessage);
  for (u32 i = 0; i < application_profiles_length; i += 5) {
    ApplicationProfile p;
    p.application_profile = r.U16();
    p.version_major = r.U8();
    p.version_minor = r.U8();
    p.version_micro = r.U8();
    profiles.push_back(p);
  }
  const u32 flags = r.U8();
  service_bound_flag = flags >> 7;
  visibility = (flags >> 5) & 3;
  application_priority = r.U8();
  transport_protocol_labels = r.RestBytes();
}

void DescriptorApplication::PrintFields(std::ostream& os) const {
  Line(os, "application_profiles_length", application_profiles_length);
  for (const ApplicationProfile& p : profiles) {
    Line(os, "application_profile", p.application_profile);
    Line(os, "version_major", p.version_major);
    Line(os, "version_minor", p.version_minor);
    Line(os, "version_micro", p.version_micro);
  }
  Line(os, "service_bound_flag", service_bound_flag);
  Line(os, "visibility", visibility);
  Line(os, "application_priority", application_priority);
  for (u8 label : transport_protocol_labels) Line(os, "transport_protocol_label", label);
}

void DescriptorApplication::Reset() {
  profiles.clear();
  transport_protocol_labels.clear();
}

DescriptorApplicationName::DescriptorApplicationName(const u8* d) : Descriptor(d) {
  PayloadReader r(d, "application_name_descriptor: 1");
  while (!r.AtEnd()) {
    ApplicationNameEntry e;
    r.Bytes(reinterpret_cast<u8*>(e.ISO_639_language_code), 3);
    e.application_name_length = r.U8();
    e.application_name_raw = r.Text(e.application_name_length);
    AssignDvbText(e.application_name, static_cast<int>(e.application_name_length),
                  reinterpret_cast<const u8*>(e.application_name_raw.data()));
    names.push_back(std::move(e));
  }
}

void DescriptorApplicationName::PrintFields(std::ostream& os) const {
  for (const ApplicationNameEntry& e : names) {
    TextLine(os, "ISO_639_language_code", e.ISO_639_language_code);
    Line(os, "application_name_length", e.application_name_length);
    TextLine(os, "application_name", e.application_name);
  }
}

void DescriptorApplicationName::Reset() { names.clear(); }

DescriptorTransportProtocol::DescriptorTransportProtocol(const u8* d) : Descriptor(d) {
  PayloadReader r(d, "transport_protocol_descriptor: 1");
  protocol_id = r.U16();
  transport_protocol_label = r.U8();
  if (protocol_id != 1 && protocol_id != 2) return;
  const u32 first = r.U8();
  const u32 remote = first >> 7;
  u32 onid = 0, tsid = 0, sid = 0;
  if (remote) {
    onid = r.U16();
    tsid = r.U16();
    sid = r.U16();
  }
  const u32 next = r.U8();
  if (protocol_id == 1) {
    objectCarousel = {remote, onid, tsid, sid, next};
  } else {
    ip = {remote, onid, tsid, sid, next >> 7};
  }
}

void DescriptorTransportProtocol::PrintFields(std::ostream& os) const {
  Line(os, "protocol_id", protocol_id);
  auto ids = [&os](u32 remote, u32 onid, u32 tsid, u32 sid) {
    Line(os, "remote_connection", remote);
    if (remote) {
      Line(os, "original_network_id", onid);
      Line(os, "transport_stream_id", tsid);
      Line(os, "service_id", sid);
    }
  };
  if (protocol_id == 1) {
    const ObjectCarouselSelector& s = objectCarousel;
    ids(s.remote_connection, s.original_network_id, s.transport_stream_id, s.service_id);
    Line(os, "component_tag", s.component_tag);
  } else if (protocol_id == 2) {
    ids(ip.remote_connection, ip.original_network_id, ip.transport_stream_id, ip.service_id);
    Line(os, "alignment_indicator", ip.alignment_indicator);
  }
}

void DescriptorTransportProtocol::Reset() {}

DescriptorDVBJApplication::DescriptorDVBJApplication(const u8* d) : Descriptor(d) {
  PayloadReader r(d, "DVB-J_application_descriptor: 1");
  while (!r.AtEnd()) parameters.push_back(r.Lps());
}

void DescriptorDVBJApplication::PrintFields(std::ostream& os) const {
  for (const LengthPrefixedString& p : parameters) p.Print(os, "parameter_info");
}

void DescriptorDVBJApplication::Reset() { parameters.clear(); }

DescriptorDVBJApplicationLocation::DescriptorDVBJApplicationLocation(const u8* d) : Descriptor(d) {
  PayloadReader r(d, "DVB-J_application_location_descriptor: 1");
  base_directory = r.Lps();
  classpath_extension = r.Lps();
  initial_class = r.Rest();
}

void DescriptorDVBJApplicationLocation::PrintFields(std::ostream& os) const {
  base_directory.Print(os, "base_directory");
  classpath_extension.Print(os, "classpath_extension");
  TextLine(os, "initial_class", initial_class);
}

void DescriptorDVBJApplicationLocation::Reset() {}

DescriptorExternalApplicationAuthorisation::DescriptorExternalApplicationAuthorisation(const u8* d)
    : Descriptor(d) {
  const char* kMessage = "external_application_authorisation_descriptor: 1";
  if (length % 7 != 0) throw error(3, kMessage);
  PayloadReader r(d, kMessage);
  while (!r.AtEnd()) {
    ExternalApplicationEntry e;
    e.organisation_id = r.U32();
    e.application_id = r.U16();
    e.application_priority = r.U8();
    entries.push_back(e);
  }
}

void DescriptorExternalApplicationAuthorisation::PrintFields(std::ostream& os) const {
  for (const ExternalApplicationEntry& e : entries) {
    Line(os, "organisation_id", e.organisation_id);
    Line(os, "application_id", e.application_id);
    Line(os, "application_priority", e.application_priority);
  }
}

void DescriptorExternalApplicationAuthorisation::Reset() { entries.clear(); }

DescriptorRoutingIPv4::DescriptorRoutingIPv4(const u8* d) : Descriptor(d) {
  const char* kMessage = "routing_ipv4_descriptor: 1";
  if (length % 11 != 0) throw error(3, kMessage);
  PayloadReader r(d, kMessage);
  while (!r.AtEnd()) {
    RoutingIPv4Entry e;
    e.component_tag = r.U8();
    e.address = r.U32();
    e.port_number = r.U16();
    e.address_mask = r.U32();
    entries.push_back(e);
  }
}

void DescriptorRoutingIPv4::PrintFields(std::ostream& os) const {
  for (const RoutingIPv4Entry& e : entries) {
    Line(os, "component_tag", e.component_tag);
    Line(os, "address", e.address);
    Line(os, "port_number", e.port_number);
    Line(os, "address_mask", e.address_mask);
  }
}

void DescriptorRoutingIPv4::Reset() { entries.clear(); }

DescriptorRoutingIPv6::DescriptorRoutingIPv6(const u8* d) : Descriptor(d) {
  const char* kMessage = "routing_ipv4_descriptor: 1";
  if (length % 35 != 0) throw error(3, kMessage);
  PayloadReader r(d, kMessage);
  while (!r.AtEnd()) {
    RoutingIPv6Entry e;
    e.component_tag = r.U8();
    r.Bytes(e.address, 16);
    e.port_number = r.U16();
    r.Bytes(e.address_mask, 16);
    entries.push_back(e);
  }
}

void DescriptorRoutingIPv6::PrintFields(std::ostream& os) const {
  for (const RoutingIPv6Entry& e : entries) {
    Line(os, "component_tag", e.component_tag);
    os << "address:" << std::endl;
    PrintHex(os, e.address, 16);
    Line(os, "port_number", e.port_number);
    os << "address_mask:" << std::endl;
    PrintHex(os, e.address_mask, 16);
  }
}

void DescriptorRoutingIPv6::Reset() { entries.clear(); }

DescriptorDVBHTMLApplication::DescriptorDVBHTMLApplication(const u8* d) : Descriptor(d) {
  PayloadReader r(d, "DVB-HTML_application_descriptor: 1");
  application_id = r.Lps();
  parameter = r.RestBytes();
}

void DescriptorDVBHTMLApplication::PrintFields(std::ostream& os) const {
  application_id.Print(os, "application_id");
  os << "parameter:" << std::endl;
  PrintHex(os, parameter);
}

void DescriptorDVBHTMLApplication::Reset() { parameter.clear(); }

DescriptorDVBHTMLApplicationLocation::DescriptorDVBHTMLApplicationLocation(const u8* d)
    : Descriptor(d) {
  PayloadReader r(d, "DVB-HTML_application_location: 1");
  physical_root = r.Lps();
  initial_path = r.Rest();
}

void DescriptorDVBHTMLApplicationLocation::PrintFields(std::ostream& os) const {
  physical_root.Print(os, "physical_root");
  TextLine(os, "initial_path", initial_path);
}

void DescriptorDVBHTMLApplicationLocation::Reset() {}

DescriptorDVBHTMLApplicationBoundary::DescriptorDVBHTMLApplicationBoundary(const u8* d)
    : Descriptor(d) {
  PayloadReader r(d, "DVB-HTML_application_boundary: 1");
  label = r.Lps();
  regular_expression = r.Rest();
}

void DescriptorDVBHTMLApplicationBoundary::PrintFields(std::ostream& os) const {
  label.Print(os, "label");
  TextLine(os, "regular_expression", regular_expression);
}

void DescriptorDVBHTMLApplicationBoundary::Reset() {}

DescriptorApplicationIcons::DescriptorApplicationIcons(const u8* d) : Descriptor(d) {
  PayloadReader r(d, "application_icons_descriptor: 1");
  icon_locator_length = r.U8();
  icon_locator = r.Text(icon_locator_length);
  icon_flags = r.U16();
  reserved_future_use = r.RestBytes();
}

void DescriptorApplicationIcons::PrintFields(std::ostream& os) const {
  Line(os, "icon_locator_length", icon_locator_length);
  TextLine(os, "icon_locator", icon_locator);
  Line(os, "icon_flags", icon_flags);
  os << "reserved_future_use:" << std::endl;
  PrintHex(os, reserved_future_use);
}

void DescriptorApplicationIcons::Reset() {
  icon_locator.clear();
  reserved_future_use.clear();
}

DescriptorPrefetch::DescriptorPrefetch(const u8* d) : Descriptor(d) {
  PayloadReader r(d, "prefetch_descriptor: 1");
  transport_protocol_label = r.U8();
  while (!r.AtEnd()) {
    PrefetchEntry e;
    e.label_length = r.U8();
    e.label = r.Text(e.label_length);
    e.prefetch_priority = r.U8();
    entries.push_back(std::move(e));
  }
}

void DescriptorPrefetch::PrintFields(std::ostream& os) const {
  Line(os, "transport_protocol_label", transport_protocol_label);
  for (const PrefetchEntry& e : entries) {
    Line(os, "label_length", e.label_length);
    TextLine(os, "label", e.label);
    Line(os, "prefetch_priority", e.prefetch_priority);
  }
}

void DescriptorPrefetch::Reset() { entries.clear(); }

DescriptorDIILocation::DescriptorDIILocation(const u8* d) : Descriptor(d) {
  const char* kMessage = "dii_location_descriptor: 1";
  // The label byte, then whole 4-byte entries (a length of 0 holds no label).
  if (length < 1 || (length - 1) % 4 != 0) throw error(3, kMessage);
  PayloadReader r(d, kMessage);
  transport_protocol_label = r.U8();
  while (!r.AtEnd()) {
    DIILocationEntry e;
    e.DII_identification = r.U16() & 0x7FFF;
    e.association_tag = r.U16();
    entries.push_back(e);
  }
}

void DescriptorDIILocation::PrintFields(std::ostream& os) const {
  Line(os, "transport_protocol_label", transport_protocol_label);
  for (const DIILocationEntry& e : entries) {
    Line(os, "DII_identification", e.DII_identification);
    Line(os, "associatoin_tag", e.association_tag);
  }
}

void DescriptorDIILocation::Reset() { entries.clear(); }

// --- set, application, section ---------------------------------------------

void AitDescriptorSet::AddDescriptor(const u8* d) {
  switch (d[0]) {
    case 0x00: applicationDescriptors.emplace_back(d); return;
    case 0x01: applicationNameDescriptors.emplace_back(d); return;
    case 0x02: transportProtocolDescriptors.emplace_back(d); return;
    case 0x03: dvbjApplicationDescriptors.emplace_back(d); return;
    case 0x04: dvbjApplicationLocationDescriptors.emplace_back(d); return;
    case 0x05: externalApplicationAuthorisationDescriptors.emplace_back(d); return;
    case 0x06: routingIPv4Descriptors.emplace_back(d); return;
    case 0x07: routingIPv6Descriptors.emplace_back(d); return;
    case 0x08: dvbhtmlApplicationDescriptors.emplace_back(d); return;
    case 0x09: dvbhtmlApplicationLocationDescriptors.emplace_back(d); return;
    case 0x0A: dvbhtmlApplicationBoundaryDescriptors.emplace_back(d); return;
    case 0x0B: applicationIconsDescriptors.emplace_back(d); return;
    case 0x0C: prefetchDescriptors.emplace_back(d); return;
    case 0x0D: diiLocationDescriptors.emplace_back(d); return;
    default: break;
  }
  if (d[0] >= 0x80)
    userPrivateDescriptors.emplace_back(d);
  else
    generalDescriptors.emplace_back(d);
}

void AitDescriptorSet::Print(std::ostream& os) const {
  ForEachList([&os](int, const auto& list) {
    for (const auto& d : list) d.Print(os);
  });
}

ApplicationInfo::ApplicationInfo(const u8* data, size_t remaining, size_t& consumed) {
  const char* kMismatch = "application common descriptors length mismatch";
  if (remaining < 9) throw error(3, "application length to small");
  application_identifier = ApplicationIdentifier(data);
  application_control_code = data[6];
  application_descriptors_loop_length = u32(data[7] & 0x0F) << 8 | data[8];
  if (9 + size_t(application_descriptors_loop_length) > remaining) throw error(3, kMismatch);
  WalkAitLoop(data + 9, application_descriptors_loop_length, kMismatch,
              [this](const u8* d) { AddDescriptor(d); });
  consumed = 9 + application_descriptors_loop_length;
}

void ApplicationInformationSection::ParseBody(const u8* body, size_t size) {
  const char* kCommon = "application common descriptors length mismatch";
  const char* kApplications = "application length mismatch";
  if (size < 2) throw error(3, kCommon);
  common_descriptors_length = u32(body[0] & 0x0F) << 8 | body[1];
  // The common loop and the application loop length after it must fit.
  if (2 + size_t(common_descriptors_length) + 2 > size) throw error(3, kCommon);
  WalkAitLoop(body + 2, common_descriptors_length, kCommon,
              [this](const u8* d) { descriptors.AddDescriptor(d); });

  const size_t at = 2 + common_descriptors_length;
  application_loop_length = u32(body[at] & 0x0F) << 8 | body[at + 1];
  const size_t start = at + 2;
  if (start + application_loop_length > size) throw error(3, kApplications);
  size_t pos = 0;
  while (pos < application_loop_length) {
    size_t used = 0;
    ApplicationInfo app(body + start + pos, application_loop_length - pos, used);
    applications.push_back(std::move(app));
    pos += used;
  }
}

void ApplicationInformationSection::Dump(std::ostream& os) const {
  Line(os, "application_type", GetApplicationType());
  Line(os, "common_descriptors_length", common_descriptors_length);
  descriptors.Print(os);
  Line(os, "application_loop_length", application_loop_length);
  for (const ApplicationInfo& a : applications) {
    a.application_identifier.Print(os);
    Line(os, "application_control_code", a.application_control_code);
    Line(os, "application_descriptors_loop_length", a.application_descriptors_loop_length);
    a.descriptors.Print(os);
  }
}

}  // namespace lib13818
