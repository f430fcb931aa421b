#pragma once
// Generates the complete PSI/SI of a synthetic multiplex: PAT, CAT, PMTs,
// NIT actual and other, SDT actual and other, BAT, EIT present/following
// and schedule (actual and other), RST, AIT, TDT and TOT, carrying a wide
// range of descriptors, every section with correct lengths and CRC_32.
// Deterministic for a given configuration.  Portable.
#include <cstdint>
#include <string>
#include <vector>

namespace sigen {

using Bytes = std::vector<std::uint8_t>;

struct Config {
  std::uint16_t network_id = 0x0085;
  std::uint16_t original_network_id = 0x0001;
  std::uint16_t transport_stream_id = 0x044D;
  int services = 8;                 // in this transport stream
  int otherTransportStreams = 3;    // of the same network, for the NIT, SDT and EIT other
  int servicesPerOtherStream = 4;
  int scheduleEvents = 24;          // EIT schedule events per service
  std::uint32_t seed = 1;
  // UTC start of the schedule and the time of the TDT/TOT.
  int year = 2024, month = 3, day = 15, hour = 6, minute = 0, second = 0;
};

// The sections of one table kind on one PID.
struct Table {
  std::string name;
  std::uint16_t pid = 0;
  std::vector<Bytes> sections;
};

struct Multiplex {
  std::vector<Table> tables;  // every table but the time tables
  Bytes tdt;                  // PID 0x0014
  Bytes tot;                  // PID 0x0014
  std::vector<std::uint16_t> videoPids;  // elementary PIDs of the services (for filler)
};

Multiplex GenerateMultiplex(const Config& config);

// The TDT and TOT for a time `seconds` after the configured start.
Bytes MakeTdt(const Config& config, long seconds);
Bytes MakeTot(const Config& config, long seconds);

// 16-bit MJD and six BCD digits of a UTC time (ETSI EN 300 468 Annex C).
void EncodeMjdUtc(int year, int month, int day, int hour, int minute, int second, std::uint8_t out[5]);

// Every section of the multiplex once, time tables included.
std::vector<Bytes> AllSections(const Multiplex& mux);

}  // namespace sigen
