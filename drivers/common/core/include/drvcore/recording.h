#pragma once
// The loop of a transport-stream recording: blocks pulled from the card's
// capture and written to the file until the recording is stopped or a write
// fails.  One buffer for the whole recording; the byte count is 64-bit.
#include <atomic>
#include <cstdint>
#include <vector>

namespace drvcore {

inline constexpr int kRecordReadSize = 100000;
inline constexpr unsigned kRecordIdleSleepMs = 20;

class RecordIo {
 public:
  virtual ~RecordIo() = default;
  virtual bool Running() = 0;
  // Bytes delivered into buffer (at most size); below 1 when none waits.
  virtual int Read(std::uint8_t* buffer, int size) = 0;
  // False when not every byte was written.
  virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
  virtual void Sleep(unsigned ms) = 0;
};

struct RecordOutcome {
  std::uint64_t bytes = 0;
  bool writeFailed = false;
  bool noMemory = false;
};

// Runs until io.Running() is false or a write fails.  `progress` holds the
// bytes written so far (for readers on other threads).  A read that
// delivers nothing (or more than asked, which is refused) waits
// kRecordIdleSleepMs.
RecordOutcome RunRecording(RecordIo& io, std::atomic<std::uint64_t>& progress);

}  // namespace drvcore
