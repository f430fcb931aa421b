#pragma once
// Entry loops of sections (streams, transport streams, services, events):
// the entries are counted first, so that the entry vector is sized once and
// every entry is built in its place, its descriptor set never moved.
#include <cstddef>
#include <vector>

#include "lib13818/types.h"

namespace lib13818::detail {

// Entries of `header` bytes whose last two carry a 12-bit length of what
// follows, from `p` over `size` bytes; an entry cut off by the end counts
// too (its constructor refuses it).
inline size_t CountEntries(const u8* p, size_t size, size_t header) {
  size_t n = 0, pos = 0;
  while (pos < size) {
    ++n;
    if (size - pos < header) break;
    pos += header + (size_t(p[pos + header - 2] & 0x0F) << 8 | p[pos + header - 1]);
  }
  return n;
}

// Runs the entry loop: each entry's constructor takes the bytes left and
// reports its own length (`Size` is the constructor's length type).
template <class Size, class Entry>
void ParseEntryLoop(const u8* p, size_t size, size_t header, std::vector<Entry>& out) {
  out.reserve(out.size() + CountEntries(p, size, header));
  size_t pos = 0;
  while (pos < size) {
    Size entry = static_cast<Size>(size - pos);
    out.emplace_back(p + pos, entry);
    pos += static_cast<size_t>(entry);
  }
}

}  // namespace lib13818::detail
