#pragma once
// The world a simulated card receives: satellites behind the dish's switch
// with their transponders, a cable network and a terrestrial network.  Each
// multiplex carries generated PSI/SI or loops a transport-stream file.
#include <cstdint>
#include <string>
#include <vector>

#include "vsim/ts.h"

namespace vsim {

enum class Medium { Satellite = 1, Cable = 2, Terrestrial = 3 };

struct ServiceDef {
  u16 service_id = 0;
  u16 pmt_pid = 0;
  u8 service_type = 0x01;  // 1 digital television, 2 digital radio
  std::string name;
  std::string provider;
  u16 video_pid = 0;       // 0: none
  u16 audio_pid = 0;
  u16 teletext_pid = 0;    // 0: none
  u16 ca_system_id = 0;    // nonzero: scrambled, with an ECM stream
  u16 ecm_pid = 0;
};

struct MuxDef {
  Medium medium = Medium::Satellite;
  u32 frequency_khz = 0;   // RF centre frequency
  // Satellite: 'H', 'V', 'L' or 'R'.
  char polarization = 'H';
  u32 symbol_rate = 0;     // symbol/s (satellite, cable)
  u8 fec_inner = 3;        // EN 300 468 FEC_inner code (3 = 3/4)
  u8 modulation = 3;       // cable: 1..5 = 16..256-QAM
  u8 bandwidth = 0;        // terrestrial: 0 8 MHz, 1 7 MHz, 2 6 MHz
  u8 inversion = 0;        // the carrier's spectral inversion (0 or 1)
  u16 transport_stream_id = 0;
  u16 original_network_id = 0;
  u16 network_id = 0;
  std::vector<ServiceDef> services;
  std::string ts_file;     // when set, the multiplex loops this file instead
  // Above 1, the EIT goes out as multiplexers send it: every schedule event
  // in a section of its own, and the present/following sections and the
  // first section of each schedule segment eit_repeat times a cycle, the
  // others once.
  u8 eit_repeat = 1;
};

struct SatelliteDef {
  std::string name;
  u16 orbital_position = 0;  // tenths of a degree (192 = 19.2)
  bool east = true;
  // Switch input: position (bit 0, 1 = B) and option (bit 1, 1 = B), as a
  // committed DiSEqC 1.0 switch or a tone-burst switch (position only)
  // selects it.
  int input = 0;
  u32 lof_low_khz = 9750000;   // LNB oscillator without 22 kHz tone
  u32 lof_high_khz = 10600000; // LNB oscillator with 22 kHz tone
  std::vector<MuxDef> transponders;
};

struct NetworkDef {
  u16 network_id = 0;
  std::string name;
};

struct World {
  std::vector<SatelliteDef> satellites;
  std::vector<MuxDef> cable;
  std::vector<MuxDef> terrestrial;
  std::vector<NetworkDef> networks;
  u16 bouquet_id = 0x1000;
  std::string bouquet_name = "Orbisect Bouquet";

  const std::string& NetworkName(u16 network_id) const;
  // Every multiplex of one medium (all satellites together for satellite).
  std::vector<const MuxDef*> Muxes(Medium medium) const;
  const SatelliteDef* SatelliteAt(int input) const;
};

// The world a card sees when nothing else is configured: two satellites
// (19.2E on input A/A with five transponders on both polarisations and both
// bands, 13.0E on position B with nine), a cable network of two multiplexes
// and a terrestrial network of three.  The satellites carry the transponders
// of the program's default satellite list ("Astra 19E" 12187 H on 19.2E, the
// seven of "Hotbird 13E" on 13.0E); each satellite's NIT lists all of its own.
World DefaultWorld();

// Fills in generated services for a multiplex: `count` services numbered
// from the transport_stream_id, with PIDs, names and the first of them
// scrambled when `scrambled` is set.
void AddServices(MuxDef& mux, int count, bool scrambled);

// Reads a world description, one item per line ('#' starts a comment):
//   network nid=0x0101 name="Orbisect Sat"
//   satellite name="19.2E" position=192 east=1 input=0 lof_low=9750000 lof_high=10600000
//   transponder freq=11836000 pol=H sr=27500000 fec=3 tsid=0x0441 onid=0x0101 nid=0x0101 services=4
//   cable freq=346000 qam=64 sr=6900000 tsid=0x2001 onid=0x0303 nid=0x0303 services=3
//   terrestrial freq=506000 bw=8 tsid=0x3001 onid=0x3301 nid=0x3301 services=3
// A transponder line belongs to the satellite line before it.  Any
// multiplex line may carry ts="file.ts" (then its services are not
// generated), inversion=1, scrambled=1, services=N (default 3) and
// eitrepeat=N (1..8, default 1, see MuxDef::eit_repeat).  Numbers
// are decimal or 0x-prefixed hexadecimal.  Returns false and sets `error`
// (with the line number) on a malformed line.
bool ParseWorld(const std::string& text, World& world, std::string* error);

}  // namespace vsim
