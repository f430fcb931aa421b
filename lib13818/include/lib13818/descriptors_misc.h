#pragma once
// Transport, audio, announcement and programme-label descriptors: mostly
// fixed records and plain byte holders.
//
// A descriptor shorter than its fixed layout keeps the fields it carries
// whole; the others stay 0.  Only announcement_support has a loop to check.
#include <ostream>
#include <vector>

#include "lib13818/descriptor.h"

namespace lib13818 {

// private_data_specifier_descriptor (0x5F).
class DescriptorPrivateDataSpecifier final : public Descriptor {
 public:
  DescriptorPrivateDataSpecifier() = default;
  explicit DescriptorPrivateDataSpecifier(const u8* d);
  const char* GetName() const override { return "private_data_specifier_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 private_data_specifier = 0;
};

// service_move_descriptor (0x60).
class DescriptorServiceMove final : public Descriptor {
 public:
  DescriptorServiceMove() = default;
  explicit DescriptorServiceMove(const u8* d);
  const char* GetName() const override { return "service_move_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 new_original_network_id = 0;
  u32 new_transport_stream_id = 0;
  u32 new_service_id = 0;
};

// short_smoothing_buffer_descriptor (0x61).
class DescriptorShortSmoothingBuffer final : public Descriptor {
 public:
  DescriptorShortSmoothingBuffer() = default;
  explicit DescriptorShortSmoothingBuffer(const u8* d);
  const char* GetName() const override { return "short_smoothing_buffer_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { DVB_reserved.clear(); }

  u32 sb_size = 0;
  u32 sb_leak_rate = 0;
  std::vector<u8> DVB_reserved;  // the bytes after the first payload byte
};

// partial_transport_stream_descriptor (0x63): only tag and length are kept.
class DescriptorPartialTransport final : public Descriptor {
 public:
  DescriptorPartialTransport() = default;
  explicit DescriptorPartialTransport(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "partial_transport_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

// transport_stream_descriptor (0x67): the payload bytes as they are.
class DescriptorTransportStream final : public Descriptor {
 public:
  DescriptorTransportStream() = default;
  explicit DescriptorTransportStream(const u8* d) : Descriptor(d), bytes(d + 2, d + 2 + length) {}
  const char* GetName() const override { return "transport_stream_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  std::vector<u8> bytes;
};

// DSNG_descriptor (0x68): the payload bytes as they are.
class DescriptorDSNG final : public Descriptor {
 public:
  DescriptorDSNG() = default;
  explicit DescriptorDSNG(const u8* d) : Descriptor(d), bytes(d + 2, d + 2 + length) {}
  const char* GetName() const override { return "DSNG_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  std::vector<u8> bytes;
};

// PDC_descriptor (0x69).
class DescriptorPDC final : public Descriptor {
 public:
  DescriptorPDC() = default;
  explicit DescriptorPDC(const u8* d);
  const char* GetName() const override { return "PDC_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
  // The label is not decoded into day, month and time yet.
  const char* GetProgrammeIdentificationLabelText() const { return "to be implemented"; }

  u32 programme_identification_label = 0;  // 20 bits
};

// AC-3_descriptor (0x6A).
class DescriptorAC3 final : public Descriptor {
 public:
  DescriptorAC3() = default;
  explicit DescriptorAC3(const u8* d);
  const char* GetName() const override { return "_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 component_type_flag = 0;
  u32 bsid_flag = 0;
  u32 mainid_flag = 0;
  u32 asvc_flag = 0;
  u32 component_type = 0;
  u32 bsid = 0;
  u32 mainid = 0;
  u32 asvc = 0;
  std::vector<u8> additional_info;
};

// ancillary_data_descriptor (0x6B).
class DescriptorAncillaryData final : public Descriptor {
 public:
  DescriptorAncillaryData() = default;
  explicit DescriptorAncillaryData(const u8* d) : Descriptor(d) {
    if (length >= 1) ancillary_data_identifier = d[2];
  }
  const char* GetName() const override { return "_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 ancillary_data_identifier = 0;
};

// One announcement entry: 1 byte, or 8 when it refers to a service
// (reference_type 1, 2 or 3).
struct AnnouncementInfo {
  AnnouncementInfo() = default;
  // `remaining` is the number of descriptor bytes from `p` on; `consumed`
  // receives the entry's size.  An entry that does not fit throws code 2.
  AnnouncementInfo(const u8* p, int remaining, int* consumed);

  u32 announcement_type = 0;
  u32 reference_type = 0;
  u32 original_network_id = 0;
  u32 transport_stream_id = 0;
  u32 service_id = 0;
  u32 component_tag = 0;
};

// announcement_support_descriptor (0x6E).
class DescriptorAnnouncementSupport final : public Descriptor {
 public:
  DescriptorAnnouncementSupport() = default;
  explicit DescriptorAnnouncementSupport(const u8* d);
  const char* GetName() const override { return "announcement_support_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 announcement_support_indicator = 0;
  EntryList<AnnouncementInfo> announcements;
};

// adaptation_field_data_descriptor (0x70).
class DescriptorAdaptationField final : public Descriptor {
 public:
  DescriptorAdaptationField() = default;
  explicit DescriptorAdaptationField(const u8* d) : Descriptor(d) {
    if (length >= 1) adaptation_field_data_identifier = d[2];
  }
  const char* GetName() const override { return "adaptation_field_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 adaptation_field_data_identifier = 0;
};

// service_identifier_descriptor (0x71): the identifier text is not kept.
class DescriptorServiceIdentifier final : public Descriptor {
 public:
  DescriptorServiceIdentifier() = default;
  explicit DescriptorServiceIdentifier(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "service_identifier_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

}  // namespace lib13818
