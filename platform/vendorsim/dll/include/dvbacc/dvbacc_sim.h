#pragma once
// Test hooks of the simulated access libraries: exported C functions that
// configure the simulated cards, inject failures and read back what the
// library was asked to do.
//
// The same settings can be given to a process that loads the library
// without calling these (a program under test) through the environment,
// read when the library is first used and by VsimReset:
//   ORB_VSIM_DEVICES  front end of each card, comma separated: "sat",
//                     "cable", "terr" (default: one satellite card)
//   ORB_VSIM_WORLD    path of a world description (see vsim/world.h);
//                     default: the built-in dish, cable and terrestrial sets
//   ORB_VSIM_RATE     transport packets per second delivered (default 10000)
//   ORB_VSIM_FAIL     calls to fail: "SetChannel,OpenDevice:2" (a count
//                     fails that many calls, none fails every call)
//   ORB_VSIM_TRACE    path of a file to which every trace line is appended
//
// Failure names: InitDvbApiDll OpenDevice BootARMnew GetBEVersion ResetInit
// BootDSP EnableIsoStream EnableDataDMA TSRecordOnOff TSRecordRead
// GetDriverStatus FrontendInit GetState SetChannel GetChannel
// GetBandwidthRange SendDiSEqCMsg SetFilter ResetFilter SetFileParams
// StartFilter StopFilter SetPIDs SetAudioPID SetVideoPID RecOpen Record
// RecStop RecClose.
#include "dvbacc/dvbacc.h"

extern "C" {

// Which of the three builds this is.
enum { VSIM_FAMILY_PREMIUM = 1, VSIM_FAMILY_BUDGET = 2, VSIM_FAMILY_USB = 3 };

typedef struct _VSIM_DISEQC {
  BYTE Message[6];
  int Length;
  int Burst;
  int Accepted;       // 0 when the message was refused as malformed
  int SwitchInput;    // switch input selected afterwards (position | option << 1)
} VSIM_DISEQC;

typedef struct _VSIM_CHANNEL {
  CHANNEL_TYPE Channel;  // as SetChannel received it
  int FrontendType;
  int Result;            // SetChannel's result
  int Locked;
  int SwitchInput;
  WORD TransportStreamId;    // of the multiplex locked on (0 when none)
  WORD OriginalNetworkId;
} VSIM_CHANNEL;

DVBACC_API int VsimFamily(void);
// Closes the card, drops filters, records and injected failures and takes
// the configuration from the environment again.
DVBACC_API void VsimReset(void);
// Replaces the world with a description; 0 on success, else -1 (see
// VsimLastError).  Takes effect at the next tune.
DVBACC_API int VsimSetWorld(const char* description);
// Front ends of the cards ("sat,cable"); -1 when malformed.
DVBACC_API int VsimSetDevices(const char* frontends);
DVBACC_API void VsimSetPacketRate(unsigned packetsPerSecond);
// Fails the next `times` calls of `call` (-1: every call, 0: no more).
DVBACC_API void VsimFailCall(const char* call, int times);
// Blocks of the TS capture to report as lost in addition to real losses.
DVBACC_API void VsimAddLostBlocks(unsigned blocks);

DVBACC_API int VsimDiseqcCount(void);
DVBACC_API int VsimGetDiseqc(int index, VSIM_DISEQC* out);
DVBACC_API int VsimChannelCount(void);
DVBACC_API int VsimGetChannel(int index, VSIM_CHANNEL* out);
// Number of section filters and packet filters running now.
DVBACC_API int VsimActiveFilters(void);
// Every trace line so far, '\n' separated; copies at most size - 1 bytes
// and returns the length of the whole text.
DVBACC_API int VsimGetTrace(char* buffer, int size);
DVBACC_API const char* VsimLastError(void);

}  // extern "C"
