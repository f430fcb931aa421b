#pragma once
// The MPEG-2 PSI tables: program association, conditional access, program map.
#include <ostream>
#include <vector>

#include "lib13818/descriptor_set.h"
#include "lib13818/section.h"

namespace lib13818 {

struct ProgramAssociationInfo {
  u32 program_number = 0;
  u32 PID = 0;
};

class ProgramAssociationSection : public LongSection {
 public:
  const char* GetName() const override { return "pat"; }
  void Clear() override { programs.clear(); }
  void Dump(std::ostream& os) const override;

  int GetProgramCount() const { return static_cast<int>(programs.size()); }
  const ProgramAssociationInfo* GetProgram(int index) const { return &programs[index]; }

  std::vector<ProgramAssociationInfo> programs;

 protected:
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return GetTableId() == 0x00; }
  bool CheckSyntaxIndicator(int bit) const override { return bit == 1; }
  bool CheckReservedBits(int) const override { return true; }
};

class ConditionalAccessSection : public LongSection {
 public:
  const char* GetName() const override { return "cat"; }
  void Clear() override {}
  void Dump(std::ostream&) const override {}

  DescriptorSet descriptors;

 protected:
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return GetTableId() == 0x01; }
  bool CheckSyntaxIndicator(int bit) const override { return bit == 1; }
  bool CheckReservedBits(int) const override { return true; }
};

// One elementary stream of a PMT.
class StreamInfo {
 public:
  StreamInfo() = default;
  // `*length` holds the bytes left in the stream loop on entry and the bytes
  // the entry took on return.
  StreamInfo(const u8* bytes, int* length);
  void Dump(std::ostream& os) const;

  u32 stream_type = 0;
  u32 elementary_PID = 0;
  u32 ES_info_length = 0;
  DescriptorSet descriptors;
};

class ProgramMapSection : public LongSection {
 public:
  const char* GetName() const override { return "pmt"; }
  void Clear() override { streams.clear(); }
  void Dump(std::ostream& os) const override;

  u32 PCR_PID = 0;
  std::vector<StreamInfo> streams;
  DescriptorSet descriptors;

 protected:
  void ParseBody(const u8* body, size_t size) override;
  bool IsValidTableId() const override { return GetTableId() == 0x02; }
  bool CheckSyntaxIndicator(int) const override { return true; }
  bool CheckReservedBits(int) const override { return true; }
};

}  // namespace lib13818
