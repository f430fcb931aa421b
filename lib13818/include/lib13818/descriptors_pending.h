#pragma once
// Descriptor classes whose fields are not decoded yet: they keep tag and length.
#include "lib13818/descriptor.h"

namespace lib13818 {

class DescriptorVideoStream : public Descriptor {
 public:
  DescriptorVideoStream() = default;
  explicit DescriptorVideoStream(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "video_stream_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorAudioStream : public Descriptor {
 public:
  DescriptorAudioStream() = default;
  explicit DescriptorAudioStream(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "audio_stream_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorISO639Language : public Descriptor {
 public:
  DescriptorISO639Language() = default;
  explicit DescriptorISO639Language(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "ISO_639_language_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorCopyright : public Descriptor {
 public:
  DescriptorCopyright() = default;
  explicit DescriptorCopyright(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "copyright_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorPrivateDataIndicator : public Descriptor {
 public:
  DescriptorPrivateDataIndicator() = default;
  explicit DescriptorPrivateDataIndicator(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "private_data__indicatordescriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorSTD : public Descriptor {
 public:
  DescriptorSTD() = default;
  explicit DescriptorSTD(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "STD_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorNetworkName : public Descriptor {
 public:
  DescriptorNetworkName() = default;
  explicit DescriptorNetworkName(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "network_name_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorServiceList : public Descriptor {
 public:
  DescriptorServiceList() = default;
  explicit DescriptorServiceList(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "service_list_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorBouquetName : public Descriptor {
 public:
  DescriptorBouquetName() = default;
  explicit DescriptorBouquetName(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "bouquet_name_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorService : public Descriptor {
 public:
  DescriptorService() = default;
  explicit DescriptorService(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "service_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorStuffing : public Descriptor {
 public:
  DescriptorStuffing() = default;
  explicit DescriptorStuffing(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "stuffing_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorSatelliteDeliverySystem : public Descriptor {
 public:
  DescriptorSatelliteDeliverySystem() = default;
  explicit DescriptorSatelliteDeliverySystem(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "satellite_delivery_system_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorCableDeliverySystem : public Descriptor {
 public:
  DescriptorCableDeliverySystem() = default;
  explicit DescriptorCableDeliverySystem(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "cable_delivery_system_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorCountryAvailability : public Descriptor {
 public:
  DescriptorCountryAvailability() = default;
  explicit DescriptorCountryAvailability(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "country_availability_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorLinkage : public Descriptor {
 public:
  DescriptorLinkage() = default;
  explicit DescriptorLinkage(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "linkage_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorNVODReference : public Descriptor {
 public:
  DescriptorNVODReference() = default;
  explicit DescriptorNVODReference(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "NVOD_reference_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorTimeShiftedService : public Descriptor {
 public:
  DescriptorTimeShiftedService() = default;
  explicit DescriptorTimeShiftedService(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "time_shifted_service_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorMosiac : public Descriptor {
 public:
  DescriptorMosiac() = default;
  explicit DescriptorMosiac(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "mosiac_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorStreamIdentifier : public Descriptor {
 public:
  DescriptorStreamIdentifier() = default;
  explicit DescriptorStreamIdentifier(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "stream_identifier_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorCAIdentifier : public Descriptor {
 public:
  DescriptorCAIdentifier() = default;
  explicit DescriptorCAIdentifier(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "CA_system_id_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorContent : public Descriptor {
 public:
  DescriptorContent() = default;
  explicit DescriptorContent(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "content_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorShortEvent : public Descriptor {
 public:
  DescriptorShortEvent() = default;
  explicit DescriptorShortEvent(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "short_event_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorExtendedEvent : public Descriptor {
 public:
  DescriptorExtendedEvent() = default;
  explicit DescriptorExtendedEvent(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "extended_event_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorTimeShiftedEvent : public Descriptor {
 public:
  DescriptorTimeShiftedEvent() = default;
  explicit DescriptorTimeShiftedEvent(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "time_shifted_event_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorComponent : public Descriptor {
 public:
  DescriptorComponent() = default;
  explicit DescriptorComponent(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "component_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorLocalTimeOffset : public Descriptor {
 public:
  DescriptorLocalTimeOffset() = default;
  explicit DescriptorLocalTimeOffset(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "local_time_offset_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorTeletext : public Descriptor {
 public:
  DescriptorTeletext() = default;
  explicit DescriptorTeletext(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "teletext_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

}  // namespace lib13818
