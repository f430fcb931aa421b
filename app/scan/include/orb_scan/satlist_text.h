#pragma once
// The texts of the transponder list dialog: one line per transponder, the
// two ids read back from a line, and the fields of a new transponder.
#include <cstdint>
#include <string>

namespace orb::scan {

// "%04X %04X %c %lu %c": network id, transport stream id, 'P' for a primary
// transponder (primary > 0) else a blank, frequency in kHz (the stored 10 kHz
// units x 10), polarization letter (0 'H', 1 'V', 2 'L', any other 'R').
std::string TransponderLine(long networkId, long transportStreamId, long primary,
                            std::uint32_t frequency10kHz, long polarization);

// The two hexadecimal ids at the start of a line ("%x %x"); false when the
// line does not start with two.
bool ParseTransponderIds(const std::string& line, long& networkId, long& transportStreamId);

// A transponder as the "Add" fields give it, in the units the satellite list
// stores: frequency 10 kHz (typed in kHz), symbol rate 100 symbol/s (typed in
// kS/s).  Polarization and FEC are the selection indexes of their lists; no
// selection counts as the first entry.
struct NewTransponder {
  long networkId = 0;
  long transportStreamId = 0;
  std::uint32_t frequency = 0;
  long polarization = 0;
  std::uint32_t symbolRate = 0;
  long fec = 0;
};
NewTransponder ReadNewTransponder(const std::string& networkIdHex, const std::string& tsidHex,
                                  const std::string& frequencyKHz, int polarizationIndex,
                                  const std::string& symbolRateKSs, int fecIndex);

}  // namespace orb::scan
