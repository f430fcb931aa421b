#pragma once
// Descriptors of one elementary stream and of the copyright and access
// conditions of a programme.
//
// A descriptor shorter than its fixed layout keeps the fields it carries
// whole; the others stay 0.  The entry lists refuse a length that is not a
// whole number of entries ("descriptor length mismatch").
#include <ostream>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/descriptor_records.h"

namespace lib13818 {

// video_stream_descriptor (0x02).  The MPEG-2 fields (profile and level on)
// are read only when MPEG_1_only_flag is 0; otherwise they stay 0.
class DescriptorVideoStream final : public Descriptor {
 public:
  DescriptorVideoStream() = default;
  explicit DescriptorVideoStream(const u8* d);
  const char* GetName() const override { return "video_stream_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  bool multiple_frame_rate_flag = false;
  u32 frame_rate_code = 0;
  bool MPEG_1_only_flag = false;
  bool constrained_parameter_flag = false;
  bool still_picture_flag = false;
  u32 profile_and_level_indication = 0;
  u32 chroma_format = 0;
  bool frame_rate_extension_flag = false;
  u32 reserved = 0;
};

// audio_stream_descriptor (0x03).
class DescriptorAudioStream final : public Descriptor {
 public:
  DescriptorAudioStream() = default;
  explicit DescriptorAudioStream(const u8* d);
  const char* GetName() const override { return "audio_stream_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 free_format_flag = 0;
  u32 ID = 0;
  u32 layer = 0;
  u32 variable_rate_audio_indicator = 0;
};

// One language of an ISO 639 language descriptor, 4 bytes.
struct ISO639LanguageInfo {
  ISO639LanguageInfo() = default;
  explicit ISO639LanguageInfo(const u8* p)
      : ISO_639_language_code{static_cast<char>(p[0]), static_cast<char>(p[1]), static_cast<char>(p[2]), '\0'},
        audio_type(p[3]) {}

  char ISO_639_language_code[4] = {};
  u8 audio_type = 0;
};

// ISO_639_language_descriptor (0x0A).
class DescriptorISO639Language final : public Descriptor {
 public:
  DescriptorISO639Language() = default;
  explicit DescriptorISO639Language(const u8* d);
  const char* GetName() const override { return "ISO_639_language_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { languages.clear(); }

  EntryList<ISO639LanguageInfo> languages;
};

// copyright_descriptor (0x0D).
class DescriptorCopyright final : public Descriptor {
 public:
  DescriptorCopyright() = default;
  explicit DescriptorCopyright(const u8* d);
  const char* GetName() const override { return "copyright_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { additional_copyright_info.clear(); }

  u32 copyright_identifier = 0;
  std::vector<u8> additional_copyright_info;
};

// private_data_indicator_descriptor (0x0F).
class DescriptorPrivateDataIndicator final : public Descriptor {
 public:
  DescriptorPrivateDataIndicator() = default;
  explicit DescriptorPrivateDataIndicator(const u8* d);
  const char* GetName() const override { return "private_data__indicatordescriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 private_data_indicator = 0;
};

// STD_descriptor (0x11).
class DescriptorSTD final : public Descriptor {
 public:
  DescriptorSTD() = default;
  explicit DescriptorSTD(const u8* d);
  const char* GetName() const override { return "STD_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 leak_valid_flag = 0;
};

// stream_identifier_descriptor (0x52).
class DescriptorStreamIdentifier final : public Descriptor {
 public:
  DescriptorStreamIdentifier() = default;
  explicit DescriptorStreamIdentifier(const u8* d);
  const char* GetName() const override { return "stream_identifier_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  u32 component_tag = 0;
};

// CA_identifier_descriptor (0x53).  A trailing odd byte is not a value.
class DescriptorCAIdentifier final : public Descriptor {
 public:
  DescriptorCAIdentifier() = default;
  explicit DescriptorCAIdentifier(const u8* d);
  const char* GetName() const override { return "CA_system_id_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { CA_system_ids.clear(); }

  std::vector<u32> CA_system_ids;
};

// teletext_descriptor (0x56).
class DescriptorTeletext final : public Descriptor {
 public:
  DescriptorTeletext() = default;
  explicit DescriptorTeletext(const u8* d);
  const char* GetName() const override { return "teletext_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { pages.clear(); }

  EntryList<TeletextInfo> pages;
};

}  // namespace lib13818
