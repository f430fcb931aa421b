#include "drvcore/recording.h"

#include <new>

namespace drvcore {

RecordOutcome RunRecording(RecordIo& io, std::atomic<std::uint64_t>& progress) {
  RecordOutcome out;
  progress = 0;
  std::vector<std::uint8_t> buffer;
  try {
    buffer.resize(kRecordReadSize);
  } catch (const std::bad_alloc&) {
    out.noMemory = true;
    return out;
  }
  while (io.Running()) {
    const int n = io.Read(buffer.data(), kRecordReadSize);
    if (n < 1 || n > kRecordReadSize) {
      io.Sleep(kRecordIdleSleepMs);
      continue;
    }
    if (!io.Write(buffer.data(), static_cast<std::size_t>(n))) {
      out.writeFailed = true;
      break;
    }
    out.bytes += static_cast<std::uint64_t>(n);
    progress = out.bytes;
  }
  return out;
}

}  // namespace drvcore
