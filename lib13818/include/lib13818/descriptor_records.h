#pragma once
// Small value records shared by several descriptor classes: references to
// another bouquet, service or event of the network (mosaic cells), and the
// teletext page entry (teletext and VBI teletext descriptors).
//
// The records read a fixed number of bytes and check nothing: the descriptor
// that holds them accounts for the bytes before it builds one.
#include <ostream>

#include "lib13818/types.h"

namespace lib13818 {

// bouquet_id, 2 bytes.
struct BouquetInfo {
  BouquetInfo() = default;
  explicit BouquetInfo(const u8* p) : bouquet_id(Get16(p)) {}

  // One "label value" line per field; the value comes out in the stream's base.
  void Print(std::ostream& os) const {
    os << "BouquetInfo::bouquet_id: " << static_cast<int>(bouquet_id) << std::endl;
  }

  u32 bouquet_id = 0;
};

// original_network_id, transport_stream_id, service_id: 6 bytes.
struct ServiceInfo {
  ServiceInfo() = default;
  explicit ServiceInfo(const u8* p)
      : original_network_id(Get16(p)), transport_stream_id(Get16(p + 2)), service_id(Get16(p + 4)) {}

  void Print(std::ostream& os) const {
    os << "ServiceInfo::original_network_id: " << static_cast<int>(original_network_id) << std::endl;
    os << "ServiceInfo::transport_stream_id: " << static_cast<int>(transport_stream_id) << std::endl;
    os << "ServiceInfo::service_id: " << static_cast<int>(service_id) << std::endl;
  }

  u32 original_network_id = 0;
  u32 transport_stream_id = 0;
  u32 service_id = 0;
};

// original_network_id, transport_stream_id, service_id, event_id: 8 bytes.
struct EventInfo {
  EventInfo() = default;
  explicit EventInfo(const u8* p)
      : original_network_id(Get16(p)),
        transport_stream_id(Get16(p + 2)),
        service_id(Get16(p + 4)),
        event_id(Get16(p + 6)) {}

  void Print(std::ostream& os) const {
    os << "EventInfo::original_network_id: " << static_cast<int>(original_network_id) << std::endl;
    os << "EventInfo::transport_stream_id: " << static_cast<int>(transport_stream_id) << std::endl;
    os << "EventInfo::service_id: " << static_cast<int>(service_id) << std::endl;
    os << "EventInfo::event_id: " << static_cast<int>(event_id) << std::endl;
  }

  u32 original_network_id = 0;
  u32 transport_stream_id = 0;
  u32 service_id = 0;
  u32 event_id = 0;
};

// One teletext page, 5 bytes: language code, teletext_type (bits 7-3 of
// byte 3), magazine number (bits 2-0 of byte 3), page number (byte 4).
struct TeletextInfo {
  TeletextInfo() = default;
  explicit TeletextInfo(const u8* p)
      : ISO_639_language_code{static_cast<char>(p[0]), static_cast<char>(p[1]),
                              static_cast<char>(p[2]), '\0'},
        teletext_type(p[3] >> 3),
        teletext_magazine_number(p[3] & 0x07),
        teletext_page_number(p[4]) {}

  // Name of teletext_type; codes above 4 read as code 0.
  const char* GetTeletextTypeName() const {
    static const char* const kNames[] = {
        "reserved for future use", "initial teletext page", "teletext subtitle page",
        "additional information page", "programme schedule page",
    };
    return kNames[teletext_type <= 4 ? teletext_type : 0];
  }

  char ISO_639_language_code[4] = {};
  u32 teletext_type = 0;
  u32 teletext_magazine_number = 0;
  u32 teletext_page_number = 0;
};

}  // namespace lib13818
