#pragma once
// The card maker's DVB access library as the vendor-library plug-ins call
// it.  Three builds of one implementation: cvdvbacc.dll (premium cards),
// bvlcdacc.dll (budget cards) and ustrelacc.dll (USB boxes).  The cards are
// simulated (see dvbacc_sim.h for what tests can configure and inspect).
//
// Results: 0 means success, except where a member says "nonzero means
// success".  Every object refers to the card last opened with
// CDVBCommon::OpenDevice; the library serves one open card per process.
//
// Threads: section and packet data reach CDVBTSFilter::OnDataArrival on the
// library's own delivery thread.  SetFilter/ResetFilter and the other calls
// may come from any thread.  ResetFilter (and the filter's destructor) waits
// until a callback running for that filter has returned, so never call it
// while holding a lock that your OnDataArrival takes.
#include <windows.h>

#ifdef DVBACC_BUILD
#define DVBACC_API __declspec(dllexport)
#else
#define DVBACC_API __declspec(dllimport)
#endif

// The front end's delivery system (the driver contract's delivery codes).
typedef enum _FRONTEND_TYPE {
  FRONTEND_TYPE_UNKNOWN = 0,
  FRONTEND_TYPE_SATELLITE = 1,
  FRONTEND_TYPE_CABLE = 2,
  FRONTEND_TYPE_TERRESTRIAL = 3
} FRONTEND_TYPE;

// Channel bandwidth codes.
typedef enum _BANDWITH_TYPE {
  BANDWIDTH_6_MHZ = 0,
  BANDWIDTH_7_MHZ = 1,
  BANDWIDTH_8_MHZ = 2,
  BANDWIDTH_AUTO = 3
} BANDWITH_TYPE;

// QAM codes of the cable front end: 0 16-QAM .. 4 256-QAM.
enum { QAM_16 = 0, QAM_32 = 1, QAM_64 = 2, QAM_128 = 3, QAM_256 = 4 };

// Spectral inversion: off, on, automatic.
enum { INVERSION_OFF = 0, INVERSION_ON = 1, INVERSION_AUTO = 2 };

// Tone burst argument of SendDiSEqCMsg.
enum { DISEQC_BURST_A = 0, DISEQC_BURST_B = 1, DISEQC_NO_BURST = 255 };

// Bits of CDVBFrontend::GetCapabilities.
enum {
  FE_CAP_AUTO_FEC = 1u << 0,
  FE_CAP_AUTO_INVERSION = 1u << 4,
  FE_CAP_CHANNEL_SCAN = 1u << 8,
  FE_CAP_AUTO_BANDWIDTH = 1u << 12,
  FE_CAP_ANTENNA_POWER = 1u << 16
};

// One channel as the front end is tuned.  Frequencies in kHz, symbol rates
// in symbol/s.  Satellite: dwFreq is the transponder frequency and dwLOF
// the oscillator the caller assumes for the band it chose (the front end
// tunes dwFreq - dwLOF); bF22kHz switches the LNB's band, LNB_Power is the
// LNB voltage (13 vertical or circular right, 18 horizontal or circular
// left, 0 off).  Cable: dwSymbRate, Qam, BandWidth.  Terrestrial: bScan,
// BandWidth.  Fields of the other systems are ignored.
typedef struct _CHANNEL_TYPE {
  DWORD dwFreq;
  DWORD Inversion;
  DWORD dwSymbRate;
  DWORD dwLOF;
  DWORD bF22kHz;
  DWORD LNB_Power;
  DWORD Viterbi;
  DWORD Qam;
  DWORD BandWidth;
  DWORD bScan;
} CHANNEL_TYPE;

// Signal measurement of CDVBFrontend::GetState.
typedef struct _SIGNAL_TYPE {
  DWORD Level;    // 0..100
  DWORD SNR;      // 0..100
  double BER;     // bit error rate before error correction
} SIGNAL_TYPE;

// Lock detail of CDVBFrontend::GetState.
typedef struct _LOCK_TYPE {
  BOOL Carrier;
  BOOL Viterbi;
  BOOL Sync;
} LOCK_TYPE;

// Firmware versions of the premium cards' boot processor.
typedef struct _BE_VERSION {
  DWORD Firmware;
  DWORD RTSL;
  DWORD VideoDecoder;
  DWORD Reserved;
} BE_VERSION;

// Isochronous bandwidth of the USB boxes: on input the wanted share of the
// bus, on output what was granted.
typedef enum _BANDWIDTH {
  ISO_BANDWIDTH_FULL = 0,   // the whole transport stream
  ISO_BANDWIDTH_REDUCED = 1,
  ISO_BANDWIDTH_MINIMAL = 2
} BANDWIDTH;

// Filter types of CDVBTSFilter::SetFilter.  Premium cards filter sections
// with FILTERTYPE_SECTIONS, budget cards and USB boxes with
// FILTERTYPE_SECTIONS_SW; the other kind is refused.
typedef enum _FILTERTYPE {
  FILTERTYPE_NONE = 0,
  FILTERTYPE_PES = 1,
  FILTERTYPE_PACKETS = 2,
  FILTERTYPE_SECTIONS = 3,
  FILTERTYPE_PIPE = 4,
  FILTERTYPE_SECTIONS_SW = 5
} FILTERTYPE;

// Largest pattern/mask of a section filter.
enum { DVB_FILTER_MAX_LENGTH = 16 };

// Formats of CDVBRecPlayFile::Open.
typedef enum _REC_PLAY_FILE_FORMAT {
  RECFILE_AUDIO_MP2 = 0,
  RECFILE_VIDEO_PES = 1,
  RECFILE_AV_PES = 2,
  RECFILE_AV_PS = 3
} REC_PLAY_FILE_FORMAT;

// Open modes of CDVBFilterToFile::SetFileParams (the values of the
// framework's file class).
enum { DVBFILE_MODE_WRITE = 0x0001, DVBFILE_MODE_CREATE = 0x1000 };

// Must be called once before anything else.  Returns 0.
DVBACC_API int InitDvbApiDll();

class DVBACC_API CDVBCommon {
 public:
  // Number of cards of this family present.
  static int GetNumberOfDevices();
  // Opens card `index`; nonzero means success.  `reserved` and `flags` are
  // unused (pass NULL and 0).
  static BOOL OpenDevice(int index, void* reserved, int flags);
  // Closes the open card: stops its data and releases every filter.
  static void CloseDevice();
};

class DVBACC_API CDVBBoardControl {
 public:
  CDVBBoardControl();
  ~CDVBBoardControl();

  // Premium cards: loads the boot processor's firmware from a directory.
  int BootARMnew(const char* firmwareDirectory);
  int BootARMnew(const wchar_t* firmwareDirectory);
  // Premium cards, after BootARMnew.
  int GetBEVersion(BE_VERSION& version);
  // Budget cards and USB boxes: resets and initialises the board.
  int ResetInit();
  // USB boxes: loads the demultiplexer's DSP program.
  int BootDSP(const char* firmwareFile);
  int BootDSP(const wchar_t* firmwareFile);
  // USB boxes, after BootDSP: starts the isochronous stream.
  int EnableIsoStream(BANDWIDTH& bandwidth, int enable, int packetsPerFrame);
  // All cards, last step of start-up: lets transport-stream data flow.
  int EnableDataDMA(int enable);
  // Budget cards: captures the whole transport stream for TSRecordRead;
  // nonzero means success.
  BOOL TSRecordOnOff(int on);
  // Copies captured packets (whole 188-byte packets) into buffer; returns
  // the bytes delivered, 0 when nothing is waiting.
  int TSRecordRead(BYTE* buffer, int size);
  // Fills up to `count` status words; word 16 counts the 96256-byte blocks
  // of the capture lost because nobody read them in time.
  int GetDriverStatus(DWORD* status, int count);
};

class DVBACC_API CDVBFrontend {
 public:
  CDVBFrontend();
  ~CDVBFrontend();

  int Init();
  FRONTEND_TYPE GetType();
  DWORD GetCapabilities();
  // locked: TRUE when the demodulator is locked; signal and lock may be NULL.
  int GetState(BOOL& locked, SIGNAL_TYPE* signal, LOCK_TYPE* lock);
  // Tunes and returns when the demodulator has had time to lock; 0 also
  // when it did not lock (ask GetState).  `flags` is unused (pass 0).
  int SetChannel(CHANNEL_TYPE& channel, int flags);
  // The channel last set; fails before the first SetChannel.
  int GetChannel(CHANNEL_TYPE& channel);
  // Bandwidth codes the tuner supports (equal when it has one only).
  int GetBandwidthRange(DWORD& minimum, DWORD& maximum);
  // Satellite front ends: sends `length` bytes (0 to 6) of DiSEqC, then the
  // tone burst (DISEQC_NO_BURST for none).
  int SendDiSEqCMsg(BYTE* message, BYTE length, BYTE burst);
};

struct CDVBTSFilterState;

class DVBACC_API CDVBTSFilter {
 public:
  CDVBTSFilter();
  virtual ~CDVBTSFilter();

  // Section filters: byte k of `pattern` is compared with byte k of each
  // section (byte 0 = table_id) in the bits set in `mask`, for k < length
  // (1..16).  Only sections with a correct CRC_32 pass.  Packet filters
  // (FILTERTYPE_PACKETS): pattern and mask are unused, `length` is the
  // buffer size code (0 1 KB, 1 one packet, 2 two packets, 3..8 1 to 32 KB)
  // and whole 188-byte packets of the PID arrive.  Setting a filter that is
  // already running replaces it.
  int SetFilter(FILTERTYPE type, WORD pid, BYTE* pattern, BYTE* mask, BYTE length);
  int ResetFilter();

  // Called on the library's delivery thread: one whole section per call, or
  // a run of whole packets for packet filters.
  virtual void OnDataArrival(BYTE* data, int length);

 protected:
  // Stops delivery to this filter for good, whatever else fails; derived
  // classes call it first in their destructors so that no data reaches a
  // half-destroyed object.
  void DetachFilter();

 private:
  CDVBTSFilter(const CDVBTSFilter&);
  CDVBTSFilter& operator=(const CDVBTSFilter&);
  CDVBTSFilterState* state_;
};

class DVBACC_API CDVBFilterToFile : public CDVBTSFilter {
 public:
  CDVBFilterToFile();
  ~CDVBFilterToFile() override;

  int SetFileParams(const char* fileName, UINT openMode);
  int SetFileParams(const wchar_t* fileName, UINT openMode);
  // Opens the file and starts the filter; what passes is written to it.
  int StartFilter(FILTERTYPE type, WORD pid, BYTE* pattern, BYTE* mask, BYTE length);
  int StopFilter();

  void OnDataArrival(BYTE* data, int length) override;

 private:
  wchar_t fileName_[MAX_PATH];
  UINT openMode_;
  HANDLE file_;
};

// Premium cards' decoder: audio, video and PCR PIDs.
class DVBACC_API CDVBAVControl {
 public:
  int SetPIDs(WORD audioPid, WORD videoPid, WORD pcrPid);
  int SetAudioPID(WORD audioPid);
  int SetVideoPID(WORD videoPid);
};

// Premium cards: records the decoder's audio/video (the PIDs set through
// CDVBAVControl) to a file.
class DVBACC_API CDVBRecPlayFile {
 public:
  CDVBRecPlayFile();
  ~CDVBRecPlayFile();

  // Nonzero means success.
  BOOL Open(const char* fileName, REC_PLAY_FILE_FORMAT format, int mode);
  BOOL Open(const wchar_t* fileName, REC_PLAY_FILE_FORMAT format, int mode);
  // Nonzero means success.
  BOOL Record();
  int Stop();
  int Close();

 private:
  HANDLE file_;
  REC_PLAY_FILE_FORMAT format_;
  BOOL recording_;
};
