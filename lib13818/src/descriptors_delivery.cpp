#include "lib13818/descriptors_delivery.h"

#include <iomanip>

namespace lib13818 {

namespace {

// Sums `digits` BCD nibbles from `p` (high nibble first), the first with
// weight `weights[0]`.  Nibbles above 9 are taken at face value.
double BcdValue(const u8* p, int digits, const double* weights) {
  double value = 0;
  for (int i = 0; i < digits; ++i) {
    const u8 b = p[i / 2];
    const int nibble = (i % 2 == 0) ? (b >> 4) : (b & 0x0F);
    value += nibble * weights[i];
  }
  return value;
}

// The same nibbles as one whole number in the unit of the last digit: exact,
// and at most 15 * 11111111 for eight digits, well inside 32 bits.
u32 BcdWhole(const u8* p, int digits) {
  u32 value = 0;
  for (int i = 0; i < digits; ++i) {
    const u8 b = p[i / 2];
    value = value * 10 + ((i % 2 == 0) ? (b >> 4) : (b & 0x0F));
  }
  return value;
}

// Writes an exact whole number of units of 10^-fraction as a decimal with
// every fraction digit (1172750, 5 -> "11.72750").  Base, width and fill
// of the stream are left as they were.
void PrintFixed(std::ostream& os, u32 whole, int fraction) {
  u32 scale = 1;
  for (int i = 0; i < fraction; ++i) scale *= 10;
  const char fill = os.fill();
  const std::ios_base::fmtflags flags = os.flags();
  os << std::dec << whole / scale << '.' << std::setw(fraction) << std::setfill('0') << whole % scale
     << std::setfill(fill);
  os.flags(flags);
}

const double kSatelliteFrequency[] = {100, 10, 1, 0.1, 0.01, 0.001, 0.0001, 0.00001};
const double kCableFrequency[] = {1000, 100, 10, 1, 0.1, 0.01, 0.001, 0.0001};
const double kOrbitalPosition[] = {100, 10, 1, 0.1};
const double kSymbolRate[] = {100, 10, 1, 0.1, 0.01, 0.001, 0.0001};

}  // namespace

DescriptorSatelliteDeliverySystem::DescriptorSatelliteDeliverySystem(const u8* d) : Descriptor(d) {
  if (length >= 4) {
    frequency = BcdValue(d + 2, 8, kSatelliteFrequency);
    frequency_10kHz = BcdWhole(d + 2, 8);
  }
  if (length >= 6) {
    orbital_position = BcdValue(d + 6, 4, kOrbitalPosition);
    orbital_position_tenths = BcdWhole(d + 6, 4);
  }
  if (length >= 7) {
    west_east_flag = d[8] >> 7;
    polarization = (d[8] >> 5) & 0x03;
    modulation = d[8] & 0x1F;
  }
  if (length >= 11) {
    symbol_rate = BcdValue(d + 9, 7, kSymbolRate);
    symbol_rate_100sym = BcdWhole(d + 9, 7);
    FEC_inner = d[12] & 0x0F;
  }
}

const char* DescriptorSatelliteDeliverySystem::GetPolarizationName() const {
  switch (polarization) {
    case 0: return "linear - horizontal";
    case 1: return "linear - vertical";
    case 2: return "circular - left";
    case 3: return "circular - right";
    default: return "<unknown>";
  }
}

const char* DescriptorSatelliteDeliverySystem::GetModulationName() const {
  switch (modulation) {
    case 0: return "not defined";
    case 1: return "QPSK";
    default: return "reserved";
  }
}

const char* DescriptorSatelliteDeliverySystem::GetFECInnerName(int fec) {
  switch (fec) {
    case 0: return "not defined";
    case 1: return "1/2";
    case 2: return "2/3";
    case 3: return "3/4";
    case 4: return "5/6";
    case 5: return "7/8";
    case 15: return "no conv. coding";
    default: return "reserved";
  }
}

void DescriptorSatelliteDeliverySystem::PrintFields(std::ostream& os) const {
  os << std::dec;
  // The exact digits of the descriptor, not the doubles: 11.72750 GHz has
  // more significant digits than a stream's default precision.
  os << "frequency ";
  PrintFixed(os, frequency_10kHz, 5);
  os << std::endl << "orbital_position ";
  PrintFixed(os, orbital_position_tenths, 1);
  os << std::endl;
  os << "west_east_flag " << static_cast<int>(west_east_flag) << std::endl;
  os << "polarization " << static_cast<int>(polarization) << std::endl;
  os << "modulation " << static_cast<int>(modulation) << std::endl;
  os << "symbol_rate ";
  PrintFixed(os, symbol_rate_100sym, 4);
  os << std::endl;
  os << "FEC_inner " << static_cast<int>(FEC_inner) << std::endl;
}

DescriptorCableDeliverySystem::DescriptorCableDeliverySystem(const u8* d) : Descriptor(d) {
  if (length >= 4) {
    frequency = BcdValue(d + 2, 8, kCableFrequency);
    frequency_100Hz = BcdWhole(d + 2, 8);
  }
  if (length >= 6) FEC_outer = d[7] & 0x0F;
  if (length >= 7) modulation = d[8];
  if (length >= 11) {
    symbol_rate = BcdValue(d + 9, 7, kSymbolRate);
    symbol_rate_100sym = BcdWhole(d + 9, 7);
    FEC_inner = d[12] & 0x0F;
  }
}

void DescriptorCableDeliverySystem::PrintFields(std::ostream& os) const {
  os << "frequency: ";
  PrintFixed(os, frequency_100Hz, 4);
  os << std::endl;
  os << "FEC_outer: " << static_cast<int>(FEC_outer) << std::endl;
  os << "modulation: " << static_cast<int>(modulation) << std::endl;
  os << "symbol_rate: ";
  PrintFixed(os, symbol_rate_100sym, 4);
  os << std::endl;
  os << "FEC_inner: " << static_cast<int>(FEC_inner) << std::endl;
}

}  // namespace lib13818
