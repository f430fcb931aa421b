// The stream scanner of orb-tsdump: packet reader, section reassembly and
// every table parser with its dump, each section parsed from a heap block of
// its own size.  The first input byte picks the mode (bit 0) and the reader
// (bit 1: through a std::istream, else from memory):
//   even: the rest is a transport stream as it stands;
//   odd:  the rest is a list of sections (a PID byte, a length byte, the
//         bytes), each given a fitting section_length and CRC_32 and cut
//         into packets, so that the parsers see mostly well-framed input.
#include <cstddef>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>

#include "lib13818/section.h"
#include "tsdump/scanner.h"
#include "tslib/ts.h"

namespace {

// The PIDs the scanner reads without being told.
const std::uint16_t kPids[] = {0x0000, 0x0001, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0100};

tslib::Bytes Framed(const std::uint8_t* data, size_t size) {
  std::map<std::uint16_t, tslib::SectionPacketiser> packetisers;
  tslib::Bytes packets;
  size_t pos = 0;
  while (pos + 2 <= size) {
    const std::uint16_t pid = kPids[data[pos] % 8];
    const size_t n = std::min<size_t>(size - pos - 2, data[pos + 1] * 8u + 3u);
    tslib::Bytes s(data + pos + 2, data + pos + 2 + n);
    pos += 2 + n;
    if (s.size() < 3) continue;
    const size_t len = s.size() - 3;
    s[1] = static_cast<std::uint8_t>((s[1] & 0xF0) | (len >> 8 & 0x0F));
    s[2] = static_cast<std::uint8_t>(len);
    if ((s[1] & 0x80) && s.size() >= 12) {
      const std::uint32_t crc = lib13818::Crc32Mpeg(s.data(), s.size() - 4);
      for (int i = 0; i < 4; ++i) s[s.size() - 4 + static_cast<size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    packetisers.emplace(pid, tslib::SectionPacketiser(pid)).first->second.Put(s, packets);
  }
  return packets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return 0;
  tslib::Bytes bytes = (data[0] & 1) ? Framed(data + 1, size - 1) : tslib::Bytes(data + 1, data + size);
  tsdump::Options options;
  options.dump = true;
  options.descriptors = true;
  options.extraPids.insert(0x0100);
  options.exactCopies = true;
  std::ostringstream os;
  tsdump::Scanner scanner(options, &os);
  if (data[0] & 2) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    tslib::PacketReader reader(in);
    while (const std::uint8_t* p = reader.Next()) scanner.Packet(p);
    scanner.Report(os, &reader.stats());
  } else {
    tslib::PacketReader reader(bytes.data(), bytes.size());
    while (const std::uint8_t* p = reader.Next()) scanner.Packet(p);
    scanner.Report(os, &reader.stats());
  }
  return 0;
}
