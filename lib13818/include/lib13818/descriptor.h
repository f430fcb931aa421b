#pragma once
#include <ostream>
#include <vector>

#include "lib13818/descriptor_list.h"
#include "lib13818/error.h"
#include "lib13818/types.h"

namespace lib13818 {

// Base of every descriptor class.  A concrete class is built by its parse
// constructor from a pointer at the descriptor's tag byte; the caller
// guarantees that the 2 + descriptor_length bytes of the descriptor are
// readable (the loop walkers below check it), and the class reads nothing
// outside them.
class Descriptor {
 public:
  // "descriptor_tag: " tag (two lower-case hex digits) and the display name,
  // then the class's own fields.  Leaves the stream in hex with fill '0'.
  virtual void Print(std::ostream& os) const;
  virtual const char* GetName() const = 0;
  virtual void PrintFields(std::ostream& os) const = 0;
  virtual void Reset() = 0;
  virtual ~Descriptor() = default;

  u32 tag = 0;
  u32 length = 0;

 protected:
  Descriptor() = default;
  explicit Descriptor(const u8* d) : tag(d[0]), length(d[1]) {}
  Descriptor(const Descriptor&) = default;
  Descriptor& operator=(const Descriptor&) = default;
  Descriptor(Descriptor&&) = default;
  Descriptor& operator=(Descriptor&&) = default;

  // The payload: the `length` bytes after the tag and length bytes.
  const u8* Payload(const u8* d) const { return d + 2; }
};

// Hex dump rows of 16 bytes: "xx " per byte, " : ", letters as themselves and
// everything else as '.'.  Leaves the stream in hex.
void PrintHex(std::ostream& os, const u8* bytes, int count);
inline void PrintHex(std::ostream& os, const std::vector<u8>& bytes) {
  PrintHex(os, bytes.data(), static_cast<int>(bytes.size()));
}

// Display name of a descriptor that has no class of its own, by tag.
const char* GetMpegDescriptorName(u32 tag);

// Walks a descriptor loop of `size` bytes at `p`, calling `f` with a pointer
// at each descriptor's tag byte.  Every descriptor must lie wholly inside the
// loop: one that would run past it is refused with `overrun` and not read.
template <class F>
void ForEachDescriptor(const u8* p, size_t size, F&& f,
                       const char* overrun = "descriptor start end mismatch") {
  size_t pos = 0;
  while (pos < size) {
    if (size - pos < 2 || size_t(p[pos + 1]) + 2 > size - pos) throw error(overrun);
    f(p + pos);
    pos += size_t(p[pos + 1]) + 2;
  }
}

// A descriptor without a class of its own: the payload bytes as they are.
class DescriptorUnknown final : public Descriptor {
 public:
  DescriptorUnknown() = default;
  explicit DescriptorUnknown(const u8* d);
  const char* GetName() const override { return GetMpegDescriptorName(tag); }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { data.clear(); }

  std::vector<u8> data;
};

// CA_descriptor (0x09).
class DescriptorCA final : public Descriptor {
 public:
  DescriptorCA() = default;
  explicit DescriptorCA(const u8* d);
  const char* GetName() const override { return "CA_Descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override { private_data_bytes.clear(); }
  const char* GetCAProviderName() const;

  u32 CA_system_ID = 0;
  u32 CA_PID = 0;
  std::vector<u8> private_data_bytes;
};

}  // namespace lib13818
