#pragma once
// Network information and bouquet association sections.
#include <ostream>
#include <vector>

#include "lib13818/descriptor_set.h"
#include "lib13818/section.h"

namespace lib13818 {

// One entry of the transport-stream loop of a NIT or BAT.
class TransportStreamInfo {
 public:
  TransportStreamInfo() = default;
  // `size`: bytes left in the loop on entry, bytes of this entry on return.
  TransportStreamInfo(const u8* data, u32& size);

  u32 transport_stream_id = 0;
  u32 original_network_id = 0;
  DescriptorSet descriptors;
};

// The body shared by the NIT and the BAT: a descriptor loop (CA descriptors
// kept apart) and the transport-stream loop.
class NetworkBouquetSection : public LongSection {
 public:
  void Clear() override {
    caDescriptors.clear();
    transportStreams.clear();
  }

  std::vector<DescriptorCA> caDescriptors;
  std::vector<TransportStreamInfo> transportStreams;
  DescriptorSet descriptors;

 protected:
  void ParseBody(const u8* body, size_t size) override;
  bool CheckSyntaxIndicator(int bit) const override { return bit == 1; }
  bool CheckReservedBits(int) const override { return true; }
  void DumpEntries(std::ostream& os, bool deliveryAndServiceList) const;
};

class NetworkInformationSection : public NetworkBouquetSection {
 public:
  const char* GetName() const override;
  void Dump(std::ostream& os) const override { DumpEntries(os, true); }

 protected:
  bool IsValidTableId() const override { return table_id == 0x40 || table_id == 0x41; }
};

class BouquetAssociationSection : public NetworkBouquetSection {
 public:
  const char* GetName() const override {
    return table_id == 0x4A ? "bouquet_association_section" : "ERROR";
  }
  void Dump(std::ostream& os) const override { DumpEntries(os, false); }

 protected:
  bool IsValidTableId() const override { return table_id == 0x4A; }
};

}  // namespace lib13818
