#include "orb_store/tuning.h"

#include <cstdint>
#include <cstring>

namespace orb::app {

void SatelliteDescToTuning(const lib13818::DescriptorSatelliteDeliverySystem& desc, SATDELIVERYDESC& out) {
  std::memset(&out, 0, sizeof out);
  out.frequency = desc.frequency_10kHz;
  out.orbital_position = static_cast<uint16_t>(desc.orbital_position_tenths / 10);
  out.west_east_flag = desc.west_east_flag;
  out.polarization = static_cast<uint8_t>(desc.polarization);
  out.modulation = static_cast<uint8_t>(desc.modulation);
  out.symbol_rate = desc.symbol_rate_100sym;
  out.fec_inner = static_cast<uint8_t>(desc.FEC_inner);
}

void CableDescToTuning(const lib13818::DescriptorCableDeliverySystem& desc, CABLEDELIVERYDESC& out) {
  std::memset(&out, 0, sizeof out);
  out.frequency = desc.frequency_100Hz;
  out.fec_outer = static_cast<uint8_t>(desc.FEC_outer);
  out.modulation = static_cast<uint8_t>(desc.modulation);
  out.symbol_rate = desc.symbol_rate_100sym;
  out.fec_inner = static_cast<uint8_t>(desc.FEC_inner);
}

void TerrestrialDescToTuning(const lib13818::DescriptorTerrestrialDeliverySystem& desc, TERRDELIVERYDESC& out) {
  std::memset(&out, 0, sizeof out);
  out.centre_frequency = desc.centre_frequency;
  out.bandwidth = static_cast<uint8_t>(desc.bandwidth);
  out.constellation = static_cast<uint8_t>(desc.constellation);
  out.hierarchy = static_cast<uint8_t>(desc.hierarchy_information);
  out.code_rate_hp = static_cast<uint8_t>(desc.code_rate_HP_stream);
  out.code_rate_lp = static_cast<uint8_t>(desc.code_rate_LP_stream);
  out.guard_interval = static_cast<uint8_t>(desc.guard_interval);
  out.transmission_mode = static_cast<uint8_t>(desc.transmission_mode);
  out.other_frequency_flag = static_cast<uint8_t>(desc.other_frequency_flag);
}

}  // namespace orb::app
