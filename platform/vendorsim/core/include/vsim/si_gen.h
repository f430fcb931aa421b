#pragma once
// Generates the complete PSI/SI of a multiplex of the simulated world:
// PAT, PMTs, CAT, NIT actual and other, SDT actual and other, BAT, EIT
// present/following and schedule (actual and other), TDT, TOT and RST,
// each with correct lengths and CRC_32.
#include <cstdint>
#include <vector>

#include "vsim/world.h"

namespace vsim {

// A broadcast instant in UTC.
struct UtcInstant {
  int year = 2024, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Seconds since 1970-01-01 00:00 UTC and back.
long long ToEpochSeconds(const UtcInstant& t);
UtcInstant FromEpochSeconds(long long seconds);

// The 40-bit MJD + BCD time of EN 300 468 Annex C.
void EncodeMjdUtc(const UtcInstant& t, u8 out[5]);

// The sections of one PID in the order of one cycle (with MuxDef::eit_repeat
// above 1, some EIT sections more than once).
struct TableSections {
  u16 pid = 0;
  std::vector<Bytes> sections;
};

// All tables of `mux` (its services, the world's other multiplexes of the
// same medium for NIT/SDT/EIT other and the BAT).  Events are laid out from
// `now` rounded down to the hour.  The time tables are not included (see
// MakeTdt/MakeTot): they change while the multiplex plays.
std::vector<TableSections> GenerateTables(const World& world, const MuxDef& mux, const UtcInstant& now);

Bytes MakeTdt(const UtcInstant& now);
Bytes MakeTot(const UtcInstant& now);

}  // namespace vsim
