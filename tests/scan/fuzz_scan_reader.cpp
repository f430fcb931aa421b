// Fuzz target of the transport-stream reader: whatever sections a plug-in
// hands over, in whatever answer, the reader parses what parses, files it
// and releases every buffer once.  The input picks the table selection and
// the delivery type, then carries chunks: [answer index][length (2 bytes)]
// [fix-up flag][bytes].  Each section goes into a buffer of the size the
// plug-in allocates for its request (1024 bytes, 4096 for the EIT), so that
// a read past it is a read past the block; with the fix-up flag a long
// section gets a fitting section_length and CRC_32, so that parsing goes deep.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "lib13818/section.h"
#include "orb_scan/scanner.h"

namespace {

using namespace orb::scan;

struct Chunk {
  unsigned answer;
  std::vector<std::uint8_t> bytes;
};

class FuzzSource : public SectionSource, public TunerControl {
 public:
  FuzzSource(std::vector<Chunk> chunks, std::uint16_t type) : chunks_(std::move(chunks)), type_(type) {}
  ~FuzzSource() override {
    if (!live_.empty()) std::abort();  // a buffer never released
  }

  HResult GetSections(long count, SectionFilterSpec* specs, long, SectionResult* results) override {
    for (long i = 0; i < count; ++i) {
      std::vector<std::uint8_t*> kept;
      const std::size_t size = SectionBufferSize(specs[i].mode);
      for (const Chunk& c : chunks_) {
        if (count == 0 || static_cast<long>(c.answer % static_cast<unsigned>(count)) != i) continue;
        auto* b = static_cast<std::uint8_t*>(Allocate(size));
        std::memset(b, 0, size);
        if (!c.bytes.empty()) std::memcpy(b, c.bytes.data(), std::min(size, c.bytes.size()));
        kept.push_back(b);
      }
      if (kept.empty()) continue;
      auto** array = static_cast<std::uint8_t**>(Allocate(kept.size() * sizeof(std::uint8_t*)));
      std::memcpy(array, kept.data(), kept.size() * sizeof(std::uint8_t*));
      results[i].count = static_cast<std::uint32_t>(kept.size());
      results[i].sections = array;
    }
    return kOk;
  }
  void Free(void* block) override {
    if (live_.erase(block) != 1) std::abort();  // released twice, or never handed over
    std::free(block);
  }

  HResult GetDeliveryType(std::uint16_t& type) override {
    type = type_;
    return kOk;
  }
  HResult SetSatellite(const std::string&, SATDELIVERYDESC&) override { return kOk; }
  HResult TuneCable(CABLEDELIVERYDESC&) override { return kOk; }
  HResult TuneTerrestrial(TERRDELIVERYDESC&) override { return kOk; }
  HResult GetSatChannel(std::string& name, SATDELIVERYDESC& r) override {
    name = "fuzz";
    std::memset(&r, 0, sizeof r);
    return kOk;
  }
  HResult GetCableChannel(CABLEDELIVERYDESC& r) override {
    std::memset(&r, 0, sizeof r);
    return kOk;
  }
  HResult GetTerrestrialChannel(TERRDELIVERYDESC& r) override {
    std::memset(&r, 0, sizeof r);
    return kFail;
  }

 private:
  void* Allocate(std::size_t n) {
    void* p = std::malloc(n);
    live_.insert(p);
    return p;
  }
  std::vector<Chunk> chunks_;
  std::uint16_t type_;
  std::set<void*> live_;
};

class Host : public ScanHost {
 public:
  explicit Host(u32 selection) : selection_(selection) {}
  void Output(const std::string&) override {}
  void Log(int, const std::string&) override {}
  void SetProgress(int, const std::string&) override {}
  u32 TableSelection() override { return selection_; }
  void Message(const std::string&) override {}

 private:
  u32 selection_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const u32 selection = static_cast<u32>(data[0] | data[1] << 8) | 0xFFFF0000u;
  const auto type = static_cast<std::uint16_t>(data[2] % 4);
  std::vector<Chunk> chunks;
  for (size_t at = 3; at + 4 <= size && chunks.size() < 64;) {
    Chunk c;
    c.answer = data[at];
    const size_t length = std::min<size_t>(static_cast<size_t>(data[at + 1] << 8 | data[at + 2]), size - at - 4);
    const bool fix = data[at + 3] & 1;
    c.bytes.assign(data + at + 4, data + at + 4 + length);
    at += 4 + length;
    if (fix && c.bytes.size() >= 12) {
      const size_t len = c.bytes.size() - 3;
      c.bytes[1] = static_cast<std::uint8_t>((c.bytes[1] & 0xF0) | (len >> 8 & 0x0F));
      c.bytes[2] = static_cast<std::uint8_t>(len);
      const std::uint32_t crc = lib13818::Crc32Mpeg(c.bytes.data(), c.bytes.size() - 4);
      for (int k = 0; k < 4; ++k) c.bytes[c.bytes.size() - 4 + k] = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
    }
    chunks.push_back(std::move(c));
  }
  FuzzSource source(std::move(chunks), type);
  Host host(selection);
  std::atomic<bool> cancel{false};
  Scanner scanner(source, source, nullptr, host, cancel);
  lib13818::NetworkMap store;
  scanner.ReadTransportStreamSI(store);
  scanner.ReadTransportStreamSI(store);  // a second read of the same stream
  return 0;
}
