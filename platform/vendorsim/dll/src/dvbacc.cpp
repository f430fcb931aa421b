// The access library's classes over the simulated cards of the hub.
#include <cstdio>
#include <cstring>
#include <string>

#include "hub.h"

using vsim::dll::Family;
using vsim::dll::FilterData;
using vsim::dll::Hub;

namespace {

enum : int {
  kOk = 0,
  kInjected = 1,      // a failure asked for by a test
  kNotReady = 2,      // the card or front end is not in the state the call needs
  kBadArgument = 3,
  kUnsupported = 4,   // not on this family of cards or this front end
  kNoResources = 5,
};

std::string Narrow(const wchar_t* w) {
  std::string s;
  if (!w) return s;
  int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  if (n > 1) {
    s.resize(static_cast<size_t>(n - 1));
    WideCharToMultiByte(CP_ACP, 0, w, -1, &s[0], n, nullptr, nullptr);
  }
  return s;
}

std::wstring Wide(const char* a) {
  std::wstring s;
  if (!a) return s;
  int n = MultiByteToWideChar(CP_ACP, 0, a, -1, nullptr, 0);
  if (n > 1) {
    s.resize(static_cast<size_t>(n - 1));
    MultiByteToWideChar(CP_ACP, 0, a, -1, &s[0], n);
  }
  return s;
}

std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* format, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  return buf;
}

std::string HexBytes(const BYTE* b, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += Fmt(i ? " %02X" : "%02X", b[i]);
  return s;
}

// Logs the outcome of a call and hands back its result.
int Result(Hub& hub, const std::string& call, int result, const char* why = nullptr) {
  if (result == kOk) hub.Trace(call + " -> ok");
  else hub.Trace(call + Fmt(" -> error %d", result) + (why ? std::string(" (") + why + ")" : std::string()));
  return result;
}

bool IsFamily(int family) { return Family().family == family; }

vsim::UtcInstant SystemUtc() {
  SYSTEMTIME st;
  GetSystemTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string ChannelText(FRONTEND_TYPE type, const CHANNEL_TYPE& c) {
  switch (type) {
    case FRONTEND_TYPE_SATELLITE:
      return Fmt("freq=%lu inv=%lu sr=%lu lof=%lu 22k=%lu volt=%lu vit=%lu", c.dwFreq, c.Inversion, c.dwSymbRate,
                 c.dwLOF, c.bF22kHz, c.LNB_Power, c.Viterbi);
    case FRONTEND_TYPE_CABLE:
      return Fmt("freq=%lu inv=%lu sr=%lu qam=%lu bw=%lu", c.dwFreq, c.Inversion, c.dwSymbRate, c.Qam, c.BandWidth);
    default:
      return Fmt("freq=%lu inv=%lu scan=%lu bw=%lu", c.dwFreq, c.Inversion, c.bScan, c.BandWidth);
  }
}

// Card start-up state the front end and the data path need.
bool BoardReady(const Hub& hub) {
  if (hub.open_index < 0) return false;
  return IsFamily(VSIM_FAMILY_PREMIUM) ? hub.arm_booted : hub.board_reset;
}

void Deactivate(Hub& hub, CDVBTSFilterState* state) {
  std::shared_ptr<FilterData>& d = state->data;
  if (!d->active) return;
  d->active = false;
  d->pending.clear();
  auto& f = hub.filters;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] == d) {
      f.erase(f.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
}

}  // namespace

// ---- library ----------------------------------------------------------------

int InitDvbApiDll() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("InitDvbApiDll")) return kInjected;
  hub.initialised = true;
  return Result(hub, "InitDvbApiDll", kOk);
}

int CDVBCommon::GetNumberOfDevices() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  return static_cast<int>(hub.devices.size());
}

BOOL CDVBCommon::OpenDevice(int index, void*, int) {
  Hub& hub = Hub::Get();
  {
    Hub::Guard g(hub);
    if (hub.open_index < 0) {
      std::string call = Fmt("OpenDevice %d", index);
      if (hub.Fails("OpenDevice")) return FALSE;
      if (!hub.initialised) return Result(hub, call, kNotReady, "library not initialised") == kOk;
      if (index < 0 || index >= static_cast<int>(hub.devices.size()))
        return Result(hub, call, kBadArgument, "no such card") == kOk;
      hub.open_index = index;
      return Result(hub, call, kOk) == kOk;
    }
  }
  CloseDevice();
  return OpenDevice(index, nullptr, 0);
}

void CDVBCommon::CloseDevice() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  for (auto& f : hub.filters) f->active = false;
  hub.filters.clear();
  hub.open_index = -1;
  hub.arm_booted = hub.board_reset = hub.dsp_booted = hub.iso_on = hub.dma_on = false;
  hub.frontend_ready = false;
  hub.has_channel = false;
  hub.sw = vsim::SwitchState{};
  hub.capture_on = false;
  hub.capture.clear();
  hub.av_file = nullptr;
  hub.LoseLock();
  hub.Trace("CloseDevice");
}

// ---- board ------------------------------------------------------------------

CDVBBoardControl::CDVBBoardControl() = default;
CDVBBoardControl::~CDVBBoardControl() = default;

int CDVBBoardControl::BootARMnew(const char* dir) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = "BootARMnew " + std::string(dir ? dir : "(null)");
  if (hub.Fails("BootARMnew")) return kInjected;
  if (!IsFamily(VSIM_FAMILY_PREMIUM)) return Result(hub, call, kUnsupported);
  if (hub.open_index < 0) return Result(hub, call, kNotReady, "no card open");
  if (!dir || !*dir) return Result(hub, call, kBadArgument);
  hub.arm_booted = true;
  return Result(hub, call, kOk);
}

int CDVBBoardControl::BootARMnew(const wchar_t* dir) {
  if (!dir) return BootARMnew(static_cast<const char*>(nullptr));
  return BootARMnew(Narrow(dir).c_str());
}

int CDVBBoardControl::GetBEVersion(BE_VERSION& version) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("GetBEVersion")) return kInjected;
  if (!IsFamily(VSIM_FAMILY_PREMIUM)) return Result(hub, "GetBEVersion", kUnsupported);
  if (!hub.arm_booted) return Result(hub, "GetBEVersion", kNotReady, "boot processor not started");
  version.Firmware = 0x2623;
  version.RTSL = 0x0001;
  version.VideoDecoder = 0x0013;
  version.Reserved = 0;
  return Result(hub, "GetBEVersion", kOk);
}

int CDVBBoardControl::ResetInit() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("ResetInit")) return kInjected;
  if (IsFamily(VSIM_FAMILY_PREMIUM)) return Result(hub, "ResetInit", kUnsupported);
  if (hub.open_index < 0) return Result(hub, "ResetInit", kNotReady, "no card open");
  hub.board_reset = true;
  hub.dma_on = hub.iso_on = hub.dsp_booted = hub.frontend_ready = false;
  hub.LoseLock();
  return Result(hub, "ResetInit", kOk);
}

int CDVBBoardControl::BootDSP(const char* file) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = "BootDSP " + std::string(file ? file : "(null)");
  if (hub.Fails("BootDSP")) return kInjected;
  if (!IsFamily(VSIM_FAMILY_USB)) return Result(hub, call, kUnsupported);
  if (!hub.board_reset) return Result(hub, call, kNotReady, "board not reset");
  if (!file || !*file) return Result(hub, call, kBadArgument);
  hub.dsp_booted = true;
  return Result(hub, call, kOk);
}

int CDVBBoardControl::BootDSP(const wchar_t* file) {
  if (!file) return BootDSP(static_cast<const char*>(nullptr));
  return BootDSP(Narrow(file).c_str());
}

int CDVBBoardControl::EnableIsoStream(BANDWIDTH& bandwidth, int enable, int packetsPerFrame) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = Fmt("EnableIsoStream bw=%d on=%d packets=%d", static_cast<int>(bandwidth), enable, packetsPerFrame);
  if (hub.Fails("EnableIsoStream")) return kInjected;
  if (!IsFamily(VSIM_FAMILY_USB)) return Result(hub, call, kUnsupported);
  if (!hub.dsp_booted) return Result(hub, call, kNotReady, "DSP not booted");
  if (bandwidth < ISO_BANDWIDTH_FULL || bandwidth > ISO_BANDWIDTH_MINIMAL || packetsPerFrame <= 0)
    return Result(hub, call, kBadArgument);
  hub.iso_on = enable != 0;
  if (hub.iso_on && hub.HasConsumers()) hub.Wake();
  return Result(hub, call, kOk);
}

int CDVBBoardControl::EnableDataDMA(int enable) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = Fmt("EnableDataDMA %d", enable);
  if (hub.Fails("EnableDataDMA")) return kInjected;
  if (!BoardReady(hub)) return Result(hub, call, kNotReady, "board not started");
  hub.dma_on = enable != 0;
  if (hub.dma_on && hub.HasConsumers()) hub.Wake();
  return Result(hub, call, kOk);
}

BOOL CDVBBoardControl::TSRecordOnOff(int on) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = Fmt("TSRecordOnOff %d", on);
  if (hub.Fails("TSRecordOnOff")) return FALSE;
  if (!IsFamily(VSIM_FAMILY_BUDGET)) return Result(hub, call, kUnsupported) == kOk;
  if (hub.open_index < 0) return Result(hub, call, kNotReady, "no card open") == kOk;
  hub.capture_on = on != 0;
  hub.capture.clear();
  // Losses are counted per capture.
  if (hub.capture_on) hub.lost_blocks = 0;
  if (hub.capture_on) hub.Wake();
  return Result(hub, call, kOk) == kOk;
}

int CDVBBoardControl::TSRecordRead(BYTE* buffer, int size) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("TSRecordRead")) return -1;
  if (!IsFamily(VSIM_FAMILY_BUDGET) || !buffer || size <= 0) return -1;
  size_t n = std::min(static_cast<size_t>(size) / vsim::kPacketSize * vsim::kPacketSize, hub.capture.size());
  std::memcpy(buffer, hub.capture.data(), n);
  hub.capture.erase(hub.capture.begin(), hub.capture.begin() + static_cast<std::ptrdiff_t>(n));
  return static_cast<int>(n);
}

int CDVBBoardControl::GetDriverStatus(DWORD* status, int count) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("GetDriverStatus")) return kInjected;
  if (!status || count < 0) return kBadArgument;
  DWORD words[17] = {};
  words[0] = static_cast<DWORD>(hub.open_index);
  words[1] = hub.locked ? 1 : 0;
  words[2] = hub.capture_on ? 1 : 0;
  words[3] = static_cast<DWORD>(hub.capture.size());
  words[16] = hub.lost_blocks;
  for (int i = 0; i < count; ++i) status[i] = i < 17 ? words[i] : 0;
  return kOk;
}

// ---- front end --------------------------------------------------------------

CDVBFrontend::CDVBFrontend() = default;
CDVBFrontend::~CDVBFrontend() = default;

int CDVBFrontend::Init() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("FrontendInit")) return kInjected;
  if (!BoardReady(hub)) return Result(hub, "FrontendInit", kNotReady, "board not started");
  hub.frontend_ready = true;
  return Result(hub, "FrontendInit", kOk);
}

FRONTEND_TYPE CDVBFrontend::GetType() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  return hub.OpenType();
}

DWORD CDVBFrontend::GetCapabilities() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  return hub.CapabilityWord();
}

int CDVBFrontend::GetState(BOOL& locked, SIGNAL_TYPE* signal, LOCK_TYPE* lock) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("GetState")) return kInjected;
  if (!hub.frontend_ready) return kNotReady;
  bool on = hub.locked != nullptr;
  locked = on ? TRUE : FALSE;
  if (signal) {
    signal->Level = on ? 78 : (hub.has_channel ? 9 : 0);
    signal->SNR = on ? 84 : 0;
    signal->BER = on ? 2e-7 : 0.5;
  }
  if (lock) lock->Carrier = lock->Viterbi = lock->Sync = on ? TRUE : FALSE;
  return kOk;
}

int CDVBFrontend::SetChannel(CHANNEL_TYPE& c, int) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  FRONTEND_TYPE type = hub.OpenType();
  std::string call = "SetChannel " + ChannelText(type, c);
  VSIM_CHANNEL rec{};
  rec.Channel = c;
  rec.FrontendType = type;
  auto finish = [&](int result, const char* why) {
    rec.Result = result;
    rec.Locked = hub.locked != nullptr;
    rec.SwitchInput = hub.sw.Input();
    if (hub.locked) {
      rec.TransportStreamId = hub.locked->transport_stream_id;
      rec.OriginalNetworkId = hub.locked->original_network_id;
    }
    hub.channels.push_back(rec);
    if (result != kOk) return Result(hub, call, result, why);
    if (hub.locked) hub.Trace(call + Fmt(" -> locked tsid=0x%04X onid=0x%04X", rec.TransportStreamId, rec.OriginalNetworkId));
    else hub.Trace(call + " -> no lock (" + (why ? why : "") + ")");
    return result;
  };
  if (hub.Fails("SetChannel")) return finish(kInjected, "injected");
  if (!hub.frontend_ready) return finish(kNotReady, "front end not initialised");
  if (c.dwFreq == 0 || c.Inversion > 2) return finish(kBadArgument, "bad frequency or inversion");
  hub.LoseLock();
  std::string why;
  const vsim::MuxDef* m = nullptr;
  switch (type) {
    case FRONTEND_TYPE_SATELLITE: {
      DWORD v = c.LNB_Power;
      if (v != 0 && v != 13 && v != 14 && v != 18 && v != 19) return finish(kBadArgument, "bad LNB voltage");
      vsim::SatelliteTune t;
      t.frequency_khz = c.dwFreq;
      t.inversion = c.Inversion;
      t.symbol_rate = c.dwSymbRate;
      t.lof_khz = c.dwLOF;
      t.tone_22khz = c.bF22kHz != 0;
      t.lnb_voltage = v;
      m = vsim::LockSatellite(hub.world, hub.sw, t, hub.Caps(), &why);
      break;
    }
    case FRONTEND_TYPE_CABLE: {
      if (c.Qam > QAM_256 || c.BandWidth > BANDWIDTH_AUTO) return finish(kBadArgument, "bad QAM or bandwidth code");
      m = vsim::LockCable(hub.world, {c.dwFreq, c.Inversion, c.dwSymbRate, c.Qam}, hub.Caps(), &why);
      break;
    }
    case FRONTEND_TYPE_TERRESTRIAL: {
      if (c.BandWidth > BANDWIDTH_AUTO) return finish(kBadArgument, "bad bandwidth code");
      m = vsim::LockTerrestrial(hub.world, {c.dwFreq, c.Inversion, c.BandWidth}, hub.Caps(), &why);
      break;
    }
    default:
      return finish(kUnsupported, "no front end");
  }
  hub.channel = c;
  hub.has_channel = true;
  if (m) {
    std::string error;
    if (m->ts_file.empty()) hub.mux = vsim::Multiplex::Generate(hub.world, *m, SystemUtc);
    else hub.mux = vsim::Multiplex::FromFile(m->ts_file, &error);
    if (hub.mux) {
      hub.locked = m;
      if (hub.HasConsumers()) hub.Wake();
    } else {
      why = error;
    }
  }
  return finish(kOk, why.c_str());
}

int CDVBFrontend::GetChannel(CHANNEL_TYPE& c) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("GetChannel")) return kInjected;
  if (!hub.frontend_ready || !hub.has_channel) return kNotReady;
  c = hub.channel;
  return kOk;
}

int CDVBFrontend::GetBandwidthRange(DWORD& minimum, DWORD& maximum) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("GetBandwidthRange")) return kInjected;
  if (!hub.frontend_ready) return kNotReady;
  minimum = hub.OpenType() == FRONTEND_TYPE_TERRESTRIAL ? BANDWIDTH_7_MHZ : BANDWIDTH_8_MHZ;
  maximum = BANDWIDTH_8_MHZ;
  return kOk;
}

int CDVBFrontend::SendDiSEqCMsg(BYTE* message, BYTE length, BYTE burst) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = "SendDiSEqCMsg " + (message ? HexBytes(message, length) : std::string("(null)")) +
                     Fmt(" burst=%u", burst);
  if (hub.Fails("SendDiSEqCMsg")) return kInjected;
  if (!hub.frontend_ready) return Result(hub, call, kNotReady, "front end not initialised");
  if (hub.OpenType() != FRONTEND_TYPE_SATELLITE) return Result(hub, call, kUnsupported);
  if (length > 0 && !message) return Result(hub, call, kBadArgument);
  VSIM_DISEQC rec{};
  std::memcpy(rec.Message, message ? message : rec.Message, std::min<size_t>(length, 6));
  rec.Length = length;
  rec.Burst = burst;
  int before = hub.sw.Input();
  rec.Accepted = vsim::ApplyDiseqc(hub.sw, message, length, burst) ? 1 : 0;
  rec.SwitchInput = hub.sw.Input();
  hub.diseqc.push_back(rec);
  if (!rec.Accepted) return Result(hub, call, kBadArgument, "malformed message");
  if (hub.sw.Input() != before) hub.LoseLock();  // another dish input: the carrier is gone
  hub.Trace(call + Fmt(" -> input %d", rec.SwitchInput));
  return kOk;
}

// ---- filters ----------------------------------------------------------------

CDVBTSFilter::CDVBTSFilter() : state_(new CDVBTSFilterState) {
  state_->data = std::make_shared<FilterData>();
  state_->data->owner = this;
}

CDVBTSFilter::~CDVBTSFilter() {
  DetachFilter();
  delete state_;
}

void CDVBTSFilter::DetachFilter() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  Deactivate(hub, state_);
}

int CDVBTSFilter::SetFilter(FILTERTYPE type, WORD pid, BYTE* pattern, BYTE* mask, BYTE length) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  bool sections = type != FILTERTYPE_PACKETS;
  std::string call = Fmt("SetFilter type=%d pid=0x%04X len=%u", static_cast<int>(type), pid, length);
  if (sections && pattern && mask && length <= DVB_FILTER_MAX_LENGTH)
    call += " pattern=" + HexBytes(pattern, length) + " mask=" + HexBytes(mask, length);
  if (hub.Fails("SetFilter")) return kInjected;
  if (hub.open_index < 0) return Result(hub, call, kNotReady, "no card open");
  if (type != FILTERTYPE_PACKETS && type != Family().section_filter) return Result(hub, call, kUnsupported);
  if (pid > 0x1FFF) return Result(hub, call, kBadArgument, "bad PID");
  if (sections && (length == 0 || length > DVB_FILTER_MAX_LENGTH || !pattern || !mask))
    return Result(hub, call, kBadArgument, "bad pattern");
  static const size_t kBatchPackets[] = {5, 1, 2, 5, 11, 21, 43, 87, 174};
  if (!sections && length > 8) return Result(hub, call, kBadArgument, "bad buffer size code");
  if (hub.filters.size() >= 64 && !state_->data->active) return Result(hub, call, kNoResources, "all filters in use");
  // A fresh record: a delivery round that still holds the old one sees it
  // inactive.
  Deactivate(hub, state_);
  auto d = std::make_shared<FilterData>();
  d->owner = this;
  d->type = type;
  d->pid = pid;
  if (sections) {
    d->length = length;
    std::memcpy(d->pattern, pattern, length);
    std::memcpy(d->mask, mask, length);
  } else {
    d->batch = kBatchPackets[length] * vsim::kPacketSize;
  }
  d->active = true;
  state_->data = d;
  hub.filters.push_back(d);
  hub.Wake();
  return Result(hub, call, kOk);
}

int CDVBTSFilter::ResetFilter() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("ResetFilter")) return kInjected;
  Deactivate(hub, state_);
  return kOk;
}

void CDVBTSFilter::OnDataArrival(BYTE*, int) {}

CDVBFilterToFile::CDVBFilterToFile() : fileName_{}, openMode_(0), file_(INVALID_HANDLE_VALUE) {}

CDVBFilterToFile::~CDVBFilterToFile() {
  DetachFilter();
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

int CDVBFilterToFile::SetFileParams(const char* name, UINT mode) {
  return SetFileParams(name ? Wide(name).c_str() : nullptr, mode);
}

int CDVBFilterToFile::SetFileParams(const wchar_t* name, UINT mode) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = "SetFileParams " + Narrow(name) + Fmt(" mode=0x%X", mode);
  if (hub.Fails("SetFileParams")) return kInjected;
  if (!name || !*name || std::wcslen(name) >= MAX_PATH) return Result(hub, call, kBadArgument);
  std::wcscpy(fileName_, name);
  openMode_ = mode;
  return Result(hub, call, kOk);
}

int CDVBFilterToFile::StartFilter(FILTERTYPE type, WORD pid, BYTE* pattern, BYTE* mask, BYTE length) {
  Hub& hub = Hub::Get();
  {
    Hub::Guard g(hub);
    if (hub.Fails("StartFilter")) return kInjected;
    if (!fileName_[0]) return Result(hub, "StartFilter", kNotReady, "no file name");
  }
  StopFilter();
  DWORD disposition = (openMode_ & DVBFILE_MODE_CREATE) ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE f = CreateFileW(fileName_, GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    Hub::Guard g(hub);
    return Result(hub, "StartFilter " + Narrow(fileName_), kBadArgument, "cannot open the file");
  }
  {
    Hub::Guard g(hub);
    file_ = f;  // set before the filter runs: data may arrive at once
  }
  int r = SetFilter(type, pid, pattern, mask, length);
  if (r != kOk) {
    Hub::Guard g(hub);
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
  return r;
}

int CDVBFilterToFile::StopFilter() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("StopFilter")) return kInjected;
  CDVBTSFilter::ResetFilter();
  if (file_ != INVALID_HANDLE_VALUE) {
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
  return kOk;
}

void CDVBFilterToFile::OnDataArrival(BYTE* data, int length) {
  // Runs on the delivery thread under the hub's lock, as StopFilter does.
  if (file_ != INVALID_HANDLE_VALUE && data && length > 0) {
    DWORD written = 0;
    WriteFile(file_, data, static_cast<DWORD>(length), &written, nullptr);
  }
}

// ---- decoder and recorder -----------------------------------------------------

int CDVBAVControl::SetPIDs(WORD audio, WORD video, WORD pcr) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = Fmt("SetPIDs audio=0x%04X video=0x%04X pcr=0x%04X", audio, video, pcr);
  if (hub.Fails("SetPIDs")) return kInjected;
  if (!IsFamily(VSIM_FAMILY_PREMIUM)) return Result(hub, call, kUnsupported);
  if (hub.open_index < 0) return Result(hub, call, kNotReady, "no card open");
  if (audio > 0x1FFF || video > 0x1FFF || pcr > 0x1FFF) return Result(hub, call, kBadArgument);
  hub.audio_pid = audio;
  hub.video_pid = video;
  hub.pcr_pid = pcr;
  return Result(hub, call, kOk);
}

int CDVBAVControl::SetAudioPID(WORD audio) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = Fmt("SetAudioPID 0x%04X", audio);
  if (hub.Fails("SetAudioPID")) return kInjected;
  if (!IsFamily(VSIM_FAMILY_PREMIUM)) return Result(hub, call, kUnsupported);
  if (hub.open_index < 0) return Result(hub, call, kNotReady, "no card open");
  if (audio > 0x1FFF) return Result(hub, call, kBadArgument);
  hub.audio_pid = audio;
  return Result(hub, call, kOk);
}

int CDVBAVControl::SetVideoPID(WORD video) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = Fmt("SetVideoPID 0x%04X", video);
  if (hub.Fails("SetVideoPID")) return kInjected;
  if (!IsFamily(VSIM_FAMILY_PREMIUM)) return Result(hub, call, kUnsupported);
  if (hub.open_index < 0) return Result(hub, call, kNotReady, "no card open");
  if (video > 0x1FFF) return Result(hub, call, kBadArgument);
  hub.video_pid = video;
  return Result(hub, call, kOk);
}

CDVBRecPlayFile::CDVBRecPlayFile() : file_(INVALID_HANDLE_VALUE), format_(RECFILE_AV_PS), recording_(FALSE) {}

CDVBRecPlayFile::~CDVBRecPlayFile() {
  Stop();
  Close();
}

BOOL CDVBRecPlayFile::Open(const char* name, REC_PLAY_FILE_FORMAT format, int mode) {
  return Open(name ? Wide(name).c_str() : nullptr, format, mode);
}

BOOL CDVBRecPlayFile::Open(const wchar_t* name, REC_PLAY_FILE_FORMAT format, int mode) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  std::string call = "RecOpen " + Narrow(name) + Fmt(" format=%d mode=%d", static_cast<int>(format), mode);
  if (hub.Fails("RecOpen")) return FALSE;
  if (!IsFamily(VSIM_FAMILY_PREMIUM)) return Result(hub, call, kUnsupported) == kOk;
  if (file_ != INVALID_HANDLE_VALUE) return Result(hub, call, kNotReady, "already open") == kOk;
  if (!name || !*name || format < RECFILE_AUDIO_MP2 || format > RECFILE_AV_PS)
    return Result(hub, call, kBadArgument) == kOk;
  file_ = CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return Result(hub, call, kBadArgument, "cannot create the file") == kOk;
  format_ = format;
  return Result(hub, call, kOk) == kOk;
}

BOOL CDVBRecPlayFile::Record() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("Record")) return FALSE;
  if (file_ == INVALID_HANDLE_VALUE) return Result(hub, "Record", kNotReady, "no file open") == kOk;
  if (hub.av_file && hub.av_file != file_) return Result(hub, "Record", kNoResources, "decoder busy") == kOk;
  hub.av_file = file_;
  hub.av_format = format_;
  recording_ = TRUE;
  hub.Wake();
  return Result(hub, "Record", kOk) == kOk;
}

int CDVBRecPlayFile::Stop() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("RecStop")) return kInjected;
  if (recording_ && hub.av_file == file_) hub.av_file = nullptr;
  recording_ = FALSE;
  return kOk;
}

int CDVBRecPlayFile::Close() {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (hub.Fails("RecClose")) return kInjected;
  if (recording_ && hub.av_file == file_) hub.av_file = nullptr;
  recording_ = FALSE;
  if (file_ != INVALID_HANDLE_VALUE) {
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
  return kOk;
}
