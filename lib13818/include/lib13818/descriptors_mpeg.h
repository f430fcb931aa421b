#pragma once
// Stream property descriptors of the MPEG-2 systems layer: fixed-layout
// records describing elementary streams and the multiplex.
//
// A descriptor shorter than its layout keeps the fields it carries whole; the
// others stay 0.  None of these classes prints fields or throws.
#include <vector>

#include "lib13818/descriptor.h"

namespace lib13818 {

// hierarchy_descriptor (0x04).
class DescriptorHierarchy final : public Descriptor {
 public:
  DescriptorHierarchy() = default;
  explicit DescriptorHierarchy(const u8* d);
  const char* GetName() const override { return "hierachy_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
  const char* GetHierarchyTypeName() const;

  u32 hierarchy_type = 0;
  u32 hierarchy_layer_index = 0;
  u32 hierarchy_embedded_layer_index = 0;
  u32 hierarchy_channel = 0;
};

// registration_descriptor (0x05).
class DescriptorRegistration final : public Descriptor {
 public:
  DescriptorRegistration() = default;
  explicit DescriptorRegistration(const u8* d);
  const char* GetName() const override { return "registration_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 format_identifier = 0;
  std::vector<u8> additional_identification_info;
};

// data_stream_alignment_descriptor (0x06).
class DescriptorDataStreamAlignment final : public Descriptor {
 public:
  DescriptorDataStreamAlignment() = default;
  explicit DescriptorDataStreamAlignment(const u8* d);
  const char* GetName() const override { return "data_stream_alignment_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}
  // The video meaning of the code; audio streams use the same texts.
  const char* GetAlignmentTypeName() const;

  u32 alignment_type = 0;
};

// target_background_grid_descriptor (0x07).
class DescriptorTargetBackgroundGrid final : public Descriptor {
 public:
  DescriptorTargetBackgroundGrid() = default;
  explicit DescriptorTargetBackgroundGrid(const u8* d);
  const char* GetName() const override { return "target_background_grid_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 horizontal_size = 0;
  u32 vertical_size = 0;
  u32 aspect_ratio_information = 0;
};

// video_window_descriptor (0x08).
class DescriptorVideoWindow final : public Descriptor {
 public:
  DescriptorVideoWindow() = default;
  explicit DescriptorVideoWindow(const u8* d);
  const char* GetName() const override { return "video_window_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 horizontal_offset = 0;
  u32 vertical_offset = 0;
  u32 window_priority = 0;
};

// system_clock_descriptor (0x0B).
class DescriptorSystemClock final : public Descriptor {
 public:
  DescriptorSystemClock() = default;
  explicit DescriptorSystemClock(const u8* d);
  const char* GetName() const override { return "system_clock_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 external_clock_reference_indicator = 0;
  u32 clock_accuracy_integer = 0;
  u32 clock_accuracy_exponent = 0;
};

// multiplex_buffer_utilization_descriptor (0x0C).
class DescriptorMultiplexBufferUtilization final : public Descriptor {
 public:
  DescriptorMultiplexBufferUtilization() = default;
  explicit DescriptorMultiplexBufferUtilization(const u8* d);
  const char* GetName() const override { return "multiplex_buffer_utilization_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 bound_valid_flag = 0;
  u32 LTW_offset_lower_bound = 0;
  u32 LTW_offset_upper_bound = 0;
};

// maximum_bitrate_descriptor (0x0E).
class DescriptorMaximumBitrate final : public Descriptor {
 public:
  DescriptorMaximumBitrate() = default;
  explicit DescriptorMaximumBitrate(const u8* d);
  const char* GetName() const override { return "maximum_bitrate_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 maximum_bitrate = 0;  // units of 50 bytes/s
};

// smoothing_buffer_descriptor (0x10).
class DescriptorSmoothingBuffer final : public Descriptor {
 public:
  DescriptorSmoothingBuffer() = default;
  explicit DescriptorSmoothingBuffer(const u8* d);
  const char* GetName() const override { return "smoothing_buffer_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 sb_leak_rate = 0;
  u32 sb_size = 0;
};

// IBP_descriptor (0x12).
class DescriptorIBP final : public Descriptor {
 public:
  DescriptorIBP() = default;
  explicit DescriptorIBP(const u8* d);
  const char* GetName() const override { return "IBP_descriptor"; }
  void PrintFields(std::ostream&) const override {}
  void Reset() override {}

  u32 closed_gop_flag = 0;
  u32 identical_gop_flag = 0;
  u32 max_gop_length = 0;
};

}  // namespace lib13818
