#pragma once
// Descriptors about the presentation of a programme: parental rating,
// telephone, subtitling, VBI data and VBI teletext.
#include <ostream>
#include <string>
#include <vector>

#include "lib13818/descriptor.h"
#include "lib13818/descriptor_records.h"

namespace lib13818 {

// parental_rating_descriptor (0x55).
class DescriptorParentalRating final : public Descriptor {
 public:
  // One country's rating, 4 bytes.
  struct RatingInfo {
    RatingInfo() = default;
    explicit RatingInfo(const u8* p);
    void Print(std::ostream& os) const;

    char country_code[4] = {};
    u32 rating = 0;
  };

  DescriptorParentalRating() = default;
  explicit DescriptorParentalRating(const u8* d);
  const char* GetName() const override { return "parental_rating_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { ratings.clear(); }

  EntryList<RatingInfo> ratings;
};

// telephone_descriptor (0x57).  The five number strings follow one another
// from byte 5; a descriptor too short for them is refused (code 3).
class DescriptorTelephone final : public Descriptor {
 public:
  DescriptorTelephone() = default;
  explicit DescriptorTelephone(const u8* d);
  const char* GetName() const override { return "telephone_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override;

  u32 foreign_availability = 0;
  u32 connection_type = 0;
  u32 country_prefix_length = 0;
  u32 international_area_code_length = 0;
  u32 operator_code_length = 0;
  u32 national_area_code_length = 0;
  u32 core_number_length = 0;
  std::string country_prefix_char;
  std::string international_area_code_char;
  std::string operator_code_char;
  std::string national_area_code_char;
  std::string core_number_char;
};

// One subtitle stream of a subtitling descriptor, 8 bytes.
struct SubtitlingInfo {
  SubtitlingInfo() = default;
  explicit SubtitlingInfo(const u8* p);
  void Print(std::ostream& os) const;

  char ISO_639_language_code[4] = {};
  u32 subtitling_type = 0;
  u32 composition_page_id = 0;
  u32 ancillary_page_id = 0;
};

// subtitling_descriptor (0x59).
class DescriptorSubtitling final : public Descriptor {
 public:
  DescriptorSubtitling() = default;
  explicit DescriptorSubtitling(const u8* d);
  const char* GetName() const override { return "subtitling_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { subtitles.clear(); }

  EntryList<SubtitlingInfo> subtitles;
};

// One data service of a VBI_data descriptor: id, length and its raw bytes
// (field_parity and line_offset are not decoded).
struct VBIDataInfo {
  VBIDataInfo() = default;
  // `remaining` is the number of descriptor bytes from `p` on; `consumed`
  // receives the entry's size.  An entry that does not fit throws code 2.
  VBIDataInfo(const u8* p, int remaining, int* consumed);
  void Print(std::ostream&) const {}

  u32 data_service_id = 0;
  u32 data_service_descriptor_length = 0;
  std::vector<u8> data_service_bytes;
};

// VBI_data_descriptor (0x45).
class DescriptorVBIData final : public Descriptor {
 public:
  DescriptorVBIData() = default;
  explicit DescriptorVBIData(const u8* d);
  const char* GetName() const override { return "VBI_data_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  EntryList<VBIDataInfo> services;
};

// VBI_teletext_descriptor (0x46): teletext pages carried in the VBI.
class DescriptorVBITeletext final : public Descriptor {
 public:
  DescriptorVBITeletext() = default;
  explicit DescriptorVBITeletext(const u8* d);
  const char* GetName() const override { return "VBI_teletext_descriptor"; }
  void PrintFields(std::ostream&) const override {}  // the entries print nothing
  void Reset() override { pages.clear(); }

  EntryList<TeletextInfo> pages;
};

}  // namespace lib13818
