#pragma once
#include <cstddef>
#include <cstdint>

namespace lib13818 {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;

inline u32 Get16(const u8* p) { return u32(p[0]) << 8 | p[1]; }
inline u32 Get24(const u8* p) { return u32(p[0]) << 16 | u32(p[1]) << 8 | p[2]; }
inline u32 Get32(const u8* p) { return u32(p[0]) << 24 | u32(p[1]) << 16 | u32(p[2]) << 8 | p[3]; }

}  // namespace lib13818
