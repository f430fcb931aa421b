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

class DescriptorHierarchy : public Descriptor {
 public:
  DescriptorHierarchy() = default;
  explicit DescriptorHierarchy(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "hierachy_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorRegistration : public Descriptor {
 public:
  DescriptorRegistration() = default;
  explicit DescriptorRegistration(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "registration_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorDataStreamAlignment : public Descriptor {
 public:
  DescriptorDataStreamAlignment() = default;
  explicit DescriptorDataStreamAlignment(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "data_stream_alignment_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorTargetBackgroundGrid : public Descriptor {
 public:
  DescriptorTargetBackgroundGrid() = default;
  explicit DescriptorTargetBackgroundGrid(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "target_background_grid_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorVideoWindow : public Descriptor {
 public:
  DescriptorVideoWindow() = default;
  explicit DescriptorVideoWindow(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "video_window_descriptor"; }
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

class DescriptorSystemClock : public Descriptor {
 public:
  DescriptorSystemClock() = default;
  explicit DescriptorSystemClock(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "system_clock_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorMultiplexBufferUtilization : public Descriptor {
 public:
  DescriptorMultiplexBufferUtilization() = default;
  explicit DescriptorMultiplexBufferUtilization(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "multiplex_buffer_utilization_descriptor"; }
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

class DescriptorMaximumBitrate : public Descriptor {
 public:
  DescriptorMaximumBitrate() = default;
  explicit DescriptorMaximumBitrate(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "maximum_bitrate_descriptor"; }
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

class DescriptorSmoothingBuffer : public Descriptor {
 public:
  DescriptorSmoothingBuffer() = default;
  explicit DescriptorSmoothingBuffer(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "smoothing_buffer_descriptor"; }
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

class DescriptorIBP : public Descriptor {
 public:
  DescriptorIBP() = default;
  explicit DescriptorIBP(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "IBP_descriptor"; }
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

class DescriptorParentalRating : public Descriptor {
 public:
  DescriptorParentalRating() = default;
  explicit DescriptorParentalRating(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "parental_rating_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorTelephone : public Descriptor {
 public:
  DescriptorTelephone() = default;
  explicit DescriptorTelephone(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "telephone_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorSubtitling : public Descriptor {
 public:
  DescriptorSubtitling() = default;
  explicit DescriptorSubtitling(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "subtitling_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorTerrestrialDeliverySystem : public Descriptor {
 public:
  DescriptorTerrestrialDeliverySystem() = default;
  explicit DescriptorTerrestrialDeliverySystem(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "terrestrial_delivery_system_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorMultilingualNetworkName : public Descriptor {
 public:
  DescriptorMultilingualNetworkName() = default;
  explicit DescriptorMultilingualNetworkName(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "multilingual_network_name_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorMultilingualBouquetName : public Descriptor {
 public:
  DescriptorMultilingualBouquetName() = default;
  explicit DescriptorMultilingualBouquetName(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "multilingual_bouquet_name_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorMultilingualServiceName : public Descriptor {
 public:
  DescriptorMultilingualServiceName() = default;
  explicit DescriptorMultilingualServiceName(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "multilingual_service_name_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorMultilingualComponentName : public Descriptor {
 public:
  DescriptorMultilingualComponentName() = default;
  explicit DescriptorMultilingualComponentName(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "multilingual_component_name_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorPrivateDataSpecifier : public Descriptor {
 public:
  DescriptorPrivateDataSpecifier() = default;
  explicit DescriptorPrivateDataSpecifier(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "private_data_specifier_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorServiceMove : public Descriptor {
 public:
  DescriptorServiceMove() = default;
  explicit DescriptorServiceMove(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "service_move_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorShortSmoothingBuffer : public Descriptor {
 public:
  DescriptorShortSmoothingBuffer() = default;
  explicit DescriptorShortSmoothingBuffer(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "short_smoothing_buffer_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorVBIData : public Descriptor {
 public:
  DescriptorVBIData() = default;
  explicit DescriptorVBIData(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "VBI_data_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorVBITeletext : public Descriptor {
 public:
  DescriptorVBITeletext() = default;
  explicit DescriptorVBITeletext(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "VBI_teletext_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorFrequencyList : public Descriptor {
 public:
  DescriptorFrequencyList() = default;
  explicit DescriptorFrequencyList(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "frequency_list_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorPartialTransport : public Descriptor {
 public:
  DescriptorPartialTransport() = default;
  explicit DescriptorPartialTransport(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "partial_transport_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorDataBroadcast : public Descriptor {
 public:
  DescriptorDataBroadcast() = default;
  explicit DescriptorDataBroadcast(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "data_broadcast_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorDataBroadcastId : public Descriptor {
 public:
  DescriptorDataBroadcastId() = default;
  explicit DescriptorDataBroadcastId(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "data_broadcast_id_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorTransportStream : public Descriptor {
 public:
  DescriptorTransportStream() = default;
  explicit DescriptorTransportStream(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "transport_stream_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorDSNG : public Descriptor {
 public:
  DescriptorDSNG() = default;
  explicit DescriptorDSNG(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "DSNG_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorPDC : public Descriptor {
 public:
  DescriptorPDC() = default;
  explicit DescriptorPDC(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "PDC_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorAC3 : public Descriptor {
 public:
  DescriptorAC3() = default;
  explicit DescriptorAC3(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorAncillaryData : public Descriptor {
 public:
  DescriptorAncillaryData() = default;
  explicit DescriptorAncillaryData(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorCellList : public Descriptor {
 public:
  DescriptorCellList() = default;
  explicit DescriptorCellList(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "cell_list_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorCellFrequencyLink : public Descriptor {
 public:
  DescriptorCellFrequencyLink() = default;
  explicit DescriptorCellFrequencyLink(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "cell_frequency_link_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorAnnouncementSupport : public Descriptor {
 public:
  DescriptorAnnouncementSupport() = default;
  explicit DescriptorAnnouncementSupport(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "announcement_support_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorApplicationSignalling : public Descriptor {
 public:
  DescriptorApplicationSignalling() = default;
  explicit DescriptorApplicationSignalling(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "application_signalling_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorAdaptationField : public Descriptor {
 public:
  DescriptorAdaptationField() = default;
  explicit DescriptorAdaptationField(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "adaptation_field_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorServiceIdentifier : public Descriptor {
 public:
  DescriptorServiceIdentifier() = default;
  explicit DescriptorServiceIdentifier(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "service_identifier_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
};

class DescriptorServiceAvailability : public Descriptor {
 public:
  DescriptorServiceAvailability() = default;
  explicit DescriptorServiceAvailability(const u8* d) : Descriptor(d) {}
  const char* GetName() const override { return "service_availability_descriptor"; }
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
