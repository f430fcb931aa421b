#pragma once
// Delivery system descriptors of the NIT transport stream loop: where a
// transport stream is carried on satellite and on cable.
//
// The BCD digits become doubles in fixed units; the coded fields stay
// integers.  Beside each double the same digits are kept as one exact whole
// number in the unit of the last digit, for conversions that must not lose a
// unit to binary rounding (11.70100 GHz is not a double).  A descriptor shorter than the 11 payload bytes keeps the fields
// it carries whole; the others stay 0.  Neither class throws.
#include <ostream>

#include "lib13818/descriptor.h"

namespace lib13818 {

// satellite_delivery_system_descriptor (0x43).
class DescriptorSatelliteDeliverySystem final : public Descriptor {
 public:
  DescriptorSatelliteDeliverySystem() = default;
  explicit DescriptorSatelliteDeliverySystem(const u8* d);
  const char* GetName() const override { return "satellite_delivery_system_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  const char* GetPolarizationName() const;
  const char* GetModulationName() const;
  const char* GetFECInnerName() const { return GetFECInnerName(static_cast<int>(FEC_inner)); }
  // The FEC_inner text of any code (also for codes held outside a descriptor).
  static const char* GetFECInnerName(int fec);

  double frequency = 0;         // GHz
  double orbital_position = 0;  // degrees
  u32 west_east_flag = 0;       // 0 west, 1 east
  u32 polarization = 0;
  u32 modulation = 0;
  double symbol_rate = 0;  // Msymbol/s
  u32 FEC_inner = 0;

  // The digits as whole numbers (exact).
  u32 frequency_10kHz = 0;          // frequency in 10 kHz units
  u32 orbital_position_tenths = 0;  // orbital position in 0.1 degrees
  u32 symbol_rate_100sym = 0;       // symbol rate in 100 symbol/s units
};

// cable_delivery_system_descriptor (0x44).
class DescriptorCableDeliverySystem final : public Descriptor {
 public:
  DescriptorCableDeliverySystem() = default;
  explicit DescriptorCableDeliverySystem(const u8* d);
  const char* GetName() const override { return "cable_delivery_system_descriptor"; }
  void PrintFields(std::ostream& os) const override;
  void Reset() override {}

  double frequency = 0;  // MHz
  u32 FEC_outer = 0;
  u32 modulation = 0;      // as transmitted
  double symbol_rate = 0;  // Msymbol/s
  u32 FEC_inner = 0;

  // The digits as whole numbers (exact).
  u32 frequency_100Hz = 0;     // frequency in 100 Hz units
  u32 symbol_rate_100sym = 0;  // symbol rate in 100 symbol/s units
};

}  // namespace lib13818
