#pragma once
// The packet stream of one multiplex, played in a loop: either the cycle of
// generated tables (with the time tables brought up to date at the start of
// every cycle and continuity counters running on across cycles) or the
// packets of a transport-stream file.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "vsim/si_gen.h"
#include "vsim/ts.h"
#include "vsim/world.h"

namespace vsim {

class Multiplex {
 public:
  using Clock = std::function<UtcInstant()>;

  // The generated tables of `mux`, events laid out around clock().
  static std::unique_ptr<Multiplex> Generate(const World& world, const MuxDef& mux, Clock clock);
  // The 188-byte packets of a transport stream (leading garbage and bytes
  // between lost sync are skipped).  Null with `error` set when it holds no
  // packet.
  static std::unique_ptr<Multiplex> FromBytes(const Bytes& stream, std::string* error);
  static std::unique_ptr<Multiplex> FromFile(const std::string& path, std::string* error);

  size_t PacketsPerCycle() const { return packets_.size() / kPacketSize; }
  // Copies the next packet to `out` (188 bytes); the stream loops.
  void Next(u8* out);
  // The packets of one whole cycle as they were built (tests).
  const Bytes& CyclePackets() const { return packets_; }

 private:
  Multiplex() = default;
  void RefreshTime();

  Bytes packets_;
  size_t cursor_ = 0;
  bool generated_ = false;
  Clock clock_;
  size_t tdt_at_ = 0, tot_at_ = 0;  // packet indices of the time tables
  std::array<u8, 8192> cc_{};
};

}  // namespace vsim
