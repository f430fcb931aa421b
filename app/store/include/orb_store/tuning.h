#pragma once
// Tuning records of the driver contract from the delivery system descriptors
// of a NIT: used by the tree's "Set tuner..." commands and by the scanner to
// tune the transport streams a NIT lists.
//
// Every byte of the record is cleared first; the fields the descriptor does
// not fill (and the record's unused bytes) are 0.  The frequency and symbol
// rate come from the descriptor's BCD digits as whole numbers, so that no
// value loses a unit to binary rounding.
#include "contract/driver_records.h"
#include "lib13818/descriptors_delivery.h"
#include "lib13818/descriptors_terrestrial.h"

namespace orb::app {

// Frequency in 10 kHz units, orbital position in whole degrees (truncated),
// west_east_flag, polarization, modulation, symbol rate in 100 symbol/s
// units, FEC_inner.
void SatelliteDescToTuning(const lib13818::DescriptorSatelliteDeliverySystem& desc, SATDELIVERYDESC& out);

// Frequency in 100 Hz units, FEC_outer, modulation, symbol rate in
// 100 symbol/s units, FEC_inner.
void CableDescToTuning(const lib13818::DescriptorCableDeliverySystem& desc, CABLEDELIVERYDESC& out);

// centre_frequency as held (10 Hz units), then bandwidth, constellation,
// hierarchy, code rates HP and LP, guard interval, transmission mode and
// other_frequency_flag, one byte each.
void TerrestrialDescToTuning(const lib13818::DescriptorTerrestrialDeliverySystem& desc, TERRDELIVERYDESC& out);

}  // namespace orb::app
