#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "lib13818/ait.h"
#include "section_builder.h"

using namespace lib13818;
using testing_support::Bytes;
using testing_support::SectionBuilder;

namespace {

// A descriptor in a heap block of exactly 2 + length bytes, so that any read
// past its end is caught by the address sanitizer.
template <class D>
D Build(u8 tag, const Bytes& payload) {
  std::unique_ptr<u8[]> block(new u8[payload.size() + 2]);
  block[0] = tag;
  block[1] = static_cast<u8>(payload.size());
  std::copy(payload.begin(), payload.end(), block.get() + 2);
  return D(block.get());
}

template <class D>
std::string BuildError(u8 tag, const Bytes& payload) {
  try {
    Build<D>(tag, payload);
  } catch (const error& e) {
    EXPECT_EQ(e.code, 3);
    return e.what();
  }
  ADD_FAILURE() << "built";
  return "";
}

std::string ParseError(const Bytes& b) {
  ApplicationInformationSection s;
  try {
    s.Parse(b.data(), b.size());
  } catch (const error& e) {
    EXPECT_EQ(e.code, 3);
    return e.what();
  }
  ADD_FAILURE() << "parsed";
  return "";
}

}  // namespace

TEST(Ait, EmptyRecordAndAnyTableId) {
  for (u8 id : {0x74, 0x00, 0xFF}) {
    Bytes b = SectionBuilder::Long(id, 0x0010).BeginLoop().EndLoop().BeginLoop().EndLoop().Build();
    ApplicationInformationSection s;
    s.Parse(b.data(), b.size());
    EXPECT_TRUE(s.parsed);
    EXPECT_EQ(s.GetApplicationType(), 0x10u);
    EXPECT_TRUE(s.applications.empty());
    EXPECT_STREQ(s.GetName(), "");
  }
}

TEST(Ait, CommonDescriptorsAndApplications) {
  Bytes b = SectionBuilder::Long(0x74, 0x0010)
                .BeginLoop()
                .Desc(0x02, {0x00, 0x01, 0x05, 0x00, 0x42})  // object carousel, component_tag 0x42
                .Desc(0x0E, {1})
                .Desc(0x90, {2})
                .EndLoop()
                .BeginLoop()
                .U32(0x0000000A).U16(0x0001).U8(0x01)
                .BeginLoop()
                .Desc(0x01, {'e', 'n', 'g', 3, 'A', 'p', 'p'})
                .Desc(0x00, {0x05, 0x00, 0x10, 0x01, 0x00, 0x00, 0xC0, 0x05, 0x01})
                .EndLoop()
                .EndLoop()
                .Build();
  ApplicationInformationSection s;
  s.Parse(b.data(), b.size());
  EXPECT_EQ(s.descriptors.transportProtocolDescriptors.size(), 1u);
  EXPECT_EQ(s.descriptors.transportProtocolDescriptors[0].objectCarousel.component_tag, 0x42u);
  EXPECT_EQ(s.descriptors.generalDescriptors.size(), 1u);
  EXPECT_EQ(s.descriptors.userPrivateDescriptors.size(), 1u);
  ASSERT_EQ(s.applications.size(), 1u);
  const ApplicationInfo& a = s.applications[0];
  EXPECT_EQ(a.application_identifier.organisation_id, 10u);
  EXPECT_EQ(a.application_identifier.application_id, 1u);
  EXPECT_EQ(a.application_control_code, 1u);
  ASSERT_EQ(a.descriptors.applicationNameDescriptors.size(), 1u);
  EXPECT_EQ(a.descriptors.applicationNameDescriptors[0].names[0].application_name, "App");
  ASSERT_EQ(a.descriptors.applicationDescriptors.size(), 1u);
  const DescriptorApplication& app = a.descriptors.applicationDescriptors[0];
  EXPECT_EQ(app.profiles.size(), 1u);
  EXPECT_EQ(app.service_bound_flag, 1u);
  EXPECT_EQ(app.visibility, 2u);
  EXPECT_EQ(app.application_priority, 5u);
  EXPECT_EQ(app.transport_protocol_labels, Bytes({1}));

  std::ostringstream os;
  s.Dump(os);
  const std::string dump = os.str();
  EXPECT_EQ(dump.find("application_type: 16\ncommon_descriptors_length: 13\n"), 0u) << dump;
  EXPECT_NE(dump.find("organisation_id: 10\napplication_id: 1\napplication_control_code: 1\n"),
            std::string::npos);
  // The application descriptor is dumped before the name descriptor.
  EXPECT_LT(dump.find("application_descriptor"), dump.find("application_name_descriptor"));

  s.Clear();
  EXPECT_TRUE(s.applications.empty());
  EXPECT_TRUE(s.descriptors.generalDescriptors.empty());
  EXPECT_EQ(s.descriptors.userPrivateDescriptors.size(), 1u);
}

TEST(Ait, LoopErrors) {
  EXPECT_EQ(ParseError(SectionBuilder::Long(0x74, 1)
                           .BeginLoop().EndLoop()
                           .BeginLoop().U32(1).U16(1).U8(1).U8(0xF0).EndLoop()
                           .Build()),
            "application length to small");
  EXPECT_EQ(ParseError(SectionBuilder::Long(0x74, 1)
                           .BeginLoop().EndLoop()
                           .BeginLoop().U32(1).U16(1).U8(1).BeginLoop().Desc(0x0E, {1, 2}).EndLoop(-1).EndLoop()
                           .Build()),
            "application common descriptors length mismatch");
  EXPECT_EQ(ParseError(SectionBuilder::Long(0x74, 1).BeginLoop().Desc(0x0E, {1, 2}).EndLoop(-1)
                           .BeginLoop().EndLoop().Build()),
            "application common descriptors length mismatch");
  EXPECT_EQ(ParseError(SectionBuilder::Long(0x74, 1).BeginLoop().EndLoop().BeginLoop().EndLoop(9).Build()),
            "application length mismatch");
  EXPECT_EQ(ParseError(SectionBuilder::Long(0x74, 1).BeginLoop().EndLoop(100).BeginLoop().EndLoop().Build()),
            "application common descriptors length mismatch");
}

TEST(AitDescriptors, ApplicationAndTransportProtocol) {
  EXPECT_EQ(BuildError<DescriptorApplication>(0x00, {7, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
            "application_descriptor: application_profiles_length length mismatch");
  auto none = Build<DescriptorApplication>(0x00, {0, 0x80, 3});
  EXPECT_TRUE(none.profiles.empty());
  EXPECT_EQ(none.service_bound_flag, 1u);
  EXPECT_EQ(none.application_priority, 3u);
  // Profiles claimed beyond the descriptor.
  EXPECT_EQ(BuildError<DescriptorApplication>(0x00, {10, 0, 1, 1, 0, 0}), "application_descriptor: 1");

  auto ip = Build<DescriptorTransportProtocol>(0x02, {0x00, 0x02, 0x07, 0x00, 0x80});
  EXPECT_EQ(ip.ip.alignment_indicator, 1u);
  auto remote = Build<DescriptorTransportProtocol>(
      0x02, {0x00, 0x01, 0x07, 0x80, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x99});
  EXPECT_EQ(remote.objectCarousel.original_network_id, 1u);
  EXPECT_EQ(remote.objectCarousel.service_id, 3u);
  EXPECT_EQ(remote.objectCarousel.component_tag, 0x99u);
  auto other = Build<DescriptorTransportProtocol>(0x02, {0x00, 0x03, 0x07});
  std::ostringstream os;
  other.PrintFields(os);
  EXPECT_EQ(os.str(), "protocol_id: 3\n");
  // A remote selector cut short.
  EXPECT_THROW((Build<DescriptorTransportProtocol>(0x02, {0x00, 0x01, 0x07, 0x80, 0x00})), error);
}

TEST(AitDescriptors, FixedEntryLists) {
  auto dii = Build<DescriptorDIILocation>(0x0D, {0x05, 0xFF, 0xFF, 0x12, 0x34});
  ASSERT_EQ(dii.entries.size(), 1u);
  EXPECT_EQ(dii.entries[0].DII_identification, 0x7FFFu);
  EXPECT_EQ(dii.entries[0].association_tag, 0x1234u);
  EXPECT_EQ(BuildError<DescriptorDIILocation>(0x0D, {1, 2, 3, 4}), "dii_location_descriptor: 1");
  EXPECT_EQ(BuildError<DescriptorDIILocation>(0x0D, {}), "dii_location_descriptor: 1");

  EXPECT_EQ(Build<DescriptorRoutingIPv6>(0x07, Bytes(70, 0)).entries.size(), 2u);
  EXPECT_EQ(BuildError<DescriptorRoutingIPv6>(0x07, Bytes(36, 0)), "routing_ipv4_descriptor: 1");
  EXPECT_EQ(BuildError<DescriptorRoutingIPv4>(0x06, Bytes(12, 0)), "routing_ipv4_descriptor: 1");
  auto v4 = Build<DescriptorRoutingIPv4>(0x06, {1, 0xC0, 0xA8, 0, 1, 0x1F, 0x90, 0xFF, 0xFF, 0xFF, 0});
  EXPECT_EQ(v4.entries[0].address, 0xC0A80001u);
  EXPECT_EQ(v4.entries[0].port_number, 8080u);
  EXPECT_EQ(BuildError<DescriptorExternalApplicationAuthorisation>(0x05, Bytes(8, 0)),
            "external_application_authorisation_descriptor: 1");

  auto prefetch = Build<DescriptorPrefetch>(0x0C, {0x01, 0x02, 'a', 'b', 0x07});
  ASSERT_EQ(prefetch.entries.size(), 1u);
  EXPECT_EQ(prefetch.entries[0].label, "ab");
  EXPECT_EQ(prefetch.entries[0].prefetch_priority, 7u);
  EXPECT_EQ(BuildError<DescriptorPrefetch>(0x0C, {0x01, 0x05, 'a'}), "prefetch_descriptor: 1");
}

TEST(AitDescriptors, TextsStayInsideTheDescriptor) {
  auto icons = Build<DescriptorApplicationIcons>(0x0B, {2, 'i', 'c', 0x00, 0x01, 0xAA, 0xBB});
  EXPECT_EQ(icons.icon_locator, "ic");
  EXPECT_EQ(icons.icon_flags, 1u);
  EXPECT_EQ(icons.reserved_future_use, Bytes({0xAA, 0xBB}));
  EXPECT_THROW((Build<DescriptorApplicationIcons>(0x0B, {9, 'i'})), error);

  auto location = Build<DescriptorDVBJApplicationLocation>(0x04, {1, '/', 0, 'M', 'a', 'i', 'n'});
  EXPECT_EQ(location.base_directory.text, "/");
  EXPECT_EQ(location.classpath_extension.length, 0u);
  EXPECT_EQ(location.initial_class, "Main");
  EXPECT_THROW((Build<DescriptorDVBJApplicationLocation>(0x04, {5, 'x'})), error);

  auto params = Build<DescriptorDVBJApplication>(0x03, {1, 'a', 2, 'b', 'c'});
  ASSERT_EQ(params.parameters.size(), 2u);
  std::ostringstream os;
  params.PrintFields(os);
  EXPECT_EQ(os.str(), "parameter_info_length: 1\nparameter_info: a\nparameter_info_length: 2\n"
                      "parameter_info: bc\n");
  EXPECT_THROW((Build<DescriptorDVBJApplication>(0x03, {1, 'a', 4, 'b'})), error);

  auto names = Build<DescriptorApplicationName>(0x01, {});
  EXPECT_TRUE(names.names.empty());
  EXPECT_EQ(BuildError<DescriptorApplicationName>(0x01, {'e', 'n', 'g', 4, 'x'}),
            "application_name_descriptor: 1");
  EXPECT_STREQ(Build<DescriptorRoutingIPv6>(0x07, {}).GetName(), "routing_IPv4_descriptor");
}
