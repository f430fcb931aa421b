#include "orb_scan/satlist_text.h"

#include <cstdio>

namespace orb::scan {

namespace {

// "%x" or "%u" of a field; 0 when the field holds no number.
unsigned long Number(const std::string& text, const char* format) {
  unsigned int value = 0;
  if (std::sscanf(text.c_str(), format, &value) != 1) return 0;
  return value;
}

}  // namespace

std::string TransponderLine(long networkId, long transportStreamId, long primary,
                            std::uint32_t frequency10kHz, long polarization) {
  const char letter = polarization == 0 ? 'H' : polarization == 1 ? 'V' : polarization == 2 ? 'L' : 'R';
  char line[96];
  std::snprintf(line, sizeof line, "%04lX %04lX %c %lu %c", static_cast<unsigned long>(networkId) & 0xFFFFFFFFul,
                static_cast<unsigned long>(transportStreamId) & 0xFFFFFFFFul, primary > 0 ? 'P' : ' ',
                static_cast<unsigned long>(frequency10kHz) * 10ul, letter);
  return line;
}

bool ParseTransponderIds(const std::string& line, long& networkId, long& transportStreamId) {
  unsigned int nid = 0, tsid = 0;
  if (std::sscanf(line.c_str(), "%x %x", &nid, &tsid) != 2) return false;
  networkId = static_cast<long>(nid);
  transportStreamId = static_cast<long>(tsid);
  return true;
}

NewTransponder ReadNewTransponder(const std::string& networkIdHex, const std::string& tsidHex,
                                  const std::string& frequencyKHz, int polarizationIndex,
                                  const std::string& symbolRateKSs, int fecIndex) {
  NewTransponder t;
  t.networkId = static_cast<long>(Number(networkIdHex, "%x"));
  t.transportStreamId = static_cast<long>(Number(tsidHex, "%x"));
  t.frequency = static_cast<std::uint32_t>(Number(frequencyKHz, "%u") / 10);
  t.symbolRate = static_cast<std::uint32_t>(Number(symbolRateKSs, "%u") * 10);
  t.polarization = polarizationIndex < 0 ? 0 : polarizationIndex;
  t.fec = fecIndex < 0 ? 0 : fecIndex;
  return t;
}

}  // namespace orb::scan
