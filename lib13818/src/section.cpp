#include "lib13818/section.h"

#include <array>

#include "lib13818/descriptor_list.h"

namespace lib13818 {

namespace {

// Sixteen tables for sixteen bytes a step: kCrc[k][b] is the register change
// of byte b followed by k zero bytes (kCrc[0] is the byte-wise table).
struct CrcTables {
  u32 t[16][256];
};

constexpr CrcTables MakeCrcTables() {
  CrcTables c{};
  for (u32 i = 0; i < 256; ++i) {
    u32 r = 0;
    for (u32 mask = 0x80; mask != 0; mask >>= 1) {
      if (i & mask) r ^= 0x80000000u;
      r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
    }
    c.t[0][i] = r;
  }
  for (int k = 1; k < 16; ++k)
    for (u32 i = 0; i < 256; ++i) c.t[k][i] = (c.t[k - 1][i] << 8) ^ c.t[0][c.t[k - 1][i] >> 24];
  return c;
}

// Built at compile time: no first-use race whichever thread parses.
constexpr CrcTables kCrc = MakeCrcTables();

}  // namespace

u32 Crc32Mpeg(const u8* data, size_t size, u32 crc) {
  const auto& t = kCrc.t;
  size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    const u8* p = data + i;
    const u32 hi = crc ^ (u32(p[0]) << 24 | u32(p[1]) << 16 | u32(p[2]) << 8 | p[3]);
    crc = (t[15][hi >> 24] ^ t[14][(hi >> 16) & 0xFF] ^ t[13][(hi >> 8) & 0xFF] ^ t[12][hi & 0xFF]) ^
          (t[11][p[4]] ^ t[10][p[5]] ^ t[9][p[6]] ^ t[8][p[7]]) ^
          (t[7][p[8]] ^ t[6][p[9]] ^ t[5][p[10]] ^ t[4][p[11]]) ^
          (t[3][p[12]] ^ t[2][p[13]] ^ t[1][p[14]] ^ t[0][p[15]]);
  }
  for (; i < size; ++i) crc = (crc << 8) ^ t[0][(crc >> 24) ^ data[i]];
  return crc;
}

void LongSection::Parse(const u8* section, size_t size) {
  if (size < 3) throw error("too little data");
  section_syntax_indicator = section[1] >> 7;
  section_length = u32(section[1] & 0x0F) << 8 | section[2];
  // A long section holds at least the five header bytes after the length and
  // the CRC_32; and it must lie inside the bytes handed in.
  if (section_length < 9 || section_length + 3 > size) throw error("too little data");

  u32 crc = Crc32Mpeg(section, section_length + 3);
  if (crc != 0) {
    TraceLog(1, "crc error, got %#x expected 0xffffffff", static_cast<unsigned>(~crc));
    throw error("crc error");
  }
  if ((section[1] & 0x80) == 0) throw error(2, 0);
  if (!CheckSyntaxIndicator(section[1] >> 7)) throw error(2, 1);
  if (!CheckReservedBits((section[1] >> 4) & 3)) throw error(2, 1);
  table_id = section[0];
  if (!IsValidTableId()) throw error("invalid table id");

  table_id_extension = Get16(section + 3);
  version_number = (section[5] >> 1) & 0x1F;
  current_next_indicator = section[5] & 1;
  section_number = section[6];
  last_section_number = section[7];
  CRC_32 = Get32(section + section_length - 1);

  // The descriptor sets filled below share one arena.  An EIT's events
  // decode into more per byte than other tables.
  const bool events = table_id >= 0x4E && table_id <= 0x6F;
  const detail::SharedArenaScope arena(
      (events ? detail::kEventArenaBytesPerInputByte : detail::kArenaBytesPerInputByte) * section_length);
  ParseBody(section + 8, section_length - 9);
  parsed = true;
}

void ShortSection::Parse(const u8* section, size_t size) {
  if (size < 3) throw error("too little data");
  if (!CheckSyntaxIndicator(section[1] >> 7)) throw error(2, 0);
  if (section[1] & 0x0C) throw error(2, 1);
  table_id = section[0];
  if (!IsValidTableId()) throw error("invalid table id");
  section_length = u32(section[1] & 0x0F) << 8 | section[2];
  if (section_length + 3 > size) throw error("too little data");

  // At most one descriptor set (the TOT's): it takes an arena of its own
  // when it has descriptors, none is shared.
  ParseBody(section + 3, section_length);
  parsed = true;
}

void ShortSection::Dump(std::ostream& os) const {
  os << "table_id: " << static_cast<int>(table_id) << std::endl;
  os << "section_length: " << static_cast<int>(section_length) << std::endl;
}

}  // namespace lib13818
