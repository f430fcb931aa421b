// Feeds arbitrary packets to the section assembler: every section it hands
// out must lie within what it was given and carry its own length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "vsim/ts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  vsim::SectionAssembler a;
  std::vector<std::uint8_t> packet(vsim::kPacketSize);
  for (size_t at = 0; at + vsim::kPacketSize <= size; at += vsim::kPacketSize) {
    packet.assign(data + at, data + at + vsim::kPacketSize);
    packet[0] = vsim::kSyncByte;
    a.Put(packet.data(), [](const std::uint8_t* s, size_t n) {
      if (n < 3 || n != 3 + (static_cast<size_t>(s[1] & 0x0F) << 8 | s[2]) || n > vsim::kMaxSectionSize)
        std::abort();
      volatile std::uint8_t last = s[n - 1];
      (void)last;
      std::uint8_t pattern[16] = {}, mask[16] = {};
      vsim::MatchSection(s, n, pattern, mask, 16);
      vsim::SectionIntact(s, n);
    });
  }
  return 0;
}
