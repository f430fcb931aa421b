#pragma once
// Stores for the tree tests: the sections of a transport stream parsed and
// filed as a scan files them, from a generated multiplex or from the packets
// of a capture.  Portable (the native tests and the Windows tests use it).
#include <cstdint>
#include <vector>

#include "orb_store/si_store.h"

namespace tree_test {

using Bytes = std::vector<std::uint8_t>;

// Parses `sections` (whole sections, any order) into one Transponder the way
// the scan reads a transport stream: the first parsed PAT, CAT, BAT, RST, TDT
// and TOT; every NIT, SDT and EIT section under its keys (a later one with the
// same keys wins); the first PMT of each program of the PAT in PAT order.
// The tuning comes from the stream's own entry in the NIT actual (its first
// satellite, cable or terrestrial delivery system descriptor).  The record is
// filed under the original_network_id of the SDT actual.  False, nothing
// filed, without a PAT or an SDT actual.
bool FileTransportStream(lib13818::NetworkMap& store, const std::vector<Bytes>& sections);

// The distinct sections of a transport-stream capture: the fixed SI PIDs and
// the PMT PIDs that its PAT names, in order of arrival.
std::vector<Bytes> SectionsOfCapture(const Bytes& ts);

// The sections of the generator's multiplex with these ids (every table once).
std::vector<Bytes> GeneratedSections(std::uint16_t network_id, std::uint16_t original_network_id,
                                     std::uint16_t transport_stream_id, int services, int scheduleEvents,
                                     std::uint32_t seed);

// One cycle of the simulated card's first satellite multiplex (the default
// world), as a capture of its packets.
Bytes SimulatedCardCapture();

// A capture file of a generated multiplex as a multiplexer writes it: two
// cycles of every table packed into packets on their PIDs, interleaved with
// null packets and a few runs of stray bytes (the reader resynchronises).
Bytes GeneratedCapture();

// A satellite's worth of transport streams: `count` generated multiplexes of
// one network, each with its EIT schedule of `scheduleEvents` per service.
lib13818::NetworkMap GeneratedSatellite(int count, int services, int scheduleEvents);

}  // namespace tree_test
