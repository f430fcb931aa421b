#pragma once
// Test hooks of the simulated filters (quarnsim.dll): the card behind the
// maker's source filter, and what is left running.  The card is one per
// process, whatever source filter instance drives it, like the hardware.
//
// The same settings come from the environment when the library is first
// used and at QsimReset:
//   ORB_QSIM_TUNER   "sat" (default), "cable" or "terr": the card's tuner
//   ORB_VSIM_WORLD   path of a world description (vsim/world.h), shared
//                    with the vendor-library simulation
//   ORB_VSIM_RATE    transport packets per second (default 10000)
//   ORB_QSIM_FAIL    calls to fail: "Initialize,ApplyTuning:2"
// Failure names: Initialize GetTunerCapabilities ApplyTuning CheckLock
// AddPIDs RemovePIDs SetAudioVideoPIDs CreatePin SetTableFilter SetFileName.
#include <windows.h>

#ifdef QUARNSIM_BUILD
#define QSIM_API __declspec(dllexport)
#else
#define QSIM_API __declspec(dllimport)
#endif

extern "C" {

QSIM_API void QsimReset(void);
// 0 on success, -1 for a malformed description.
QSIM_API int QsimSetWorld(const char* description);
// 0 satellite, 1 cable, 2 terrestrial.
QSIM_API void QsimSetTunerType(int type);
QSIM_API void QsimSetPacketRate(unsigned packetsPerSecond);
// Fails the next `times` calls of `call` (-1 every call, 0 no more).
QSIM_API void QsimFailCall(const char* call, int times);
// Filters of the library alive, and source push threads running.
QSIM_API int QsimLiveFilters(void);
QSIM_API int QsimRunningStreams(void);
// Tunes applied so far; the last one's values and whether it locked.
typedef struct _QSIM_TUNE {
  ULONG FrequencyKhz, SymbolRateKsps, LnbMhz, Tone, Polarity, Fec, Diseqc, Modulation, Guard;
  int Locked;
  WORD TransportStreamId;
} QSIM_TUNE;
QSIM_API int QsimTuneCount(void);
QSIM_API int QsimGetTune(int index, QSIM_TUNE* out);

}  // extern "C"
