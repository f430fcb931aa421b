#include "hub.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace vsim::dll {

namespace {

constexpr size_t kCaptureLimit = 40 * 96256;  // capture kept for TSRecordRead
constexpr size_t kLostBlock = 96256;
constexpr size_t kChunk = 64;                 // packets per turn of the lock

std::string Env(const char* name) {
  char buf[4096];
  DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return std::string();
  return std::string(buf, n);
}

bool ReadTextFile(const std::string& path, std::string& out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return true;
}

void WriteAll(HANDLE file, const BYTE* data, size_t size) {
  DWORD written = 0;
  WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
}

}  // namespace

Hub& Hub::Get() {
  static Hub* hub = new Hub;  // never destroyed: the delivery thread may outlive static destruction
  return *hub;
}

Hub::Hub() {
  InitializeCriticalSection(&lock_);
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  LoadEnvironment();
}

void Hub::Lock() { EnterCriticalSection(&lock_); }
void Hub::Unlock() { LeaveCriticalSection(&lock_); }

bool Hub::Fails(const char* call) {
  auto it = failures.find(call);
  if (it == failures.end() || it->second == 0) return false;
  if (it->second > 0) --it->second;
  Trace(std::string(call) + " -> injected failure");
  return true;
}

void Hub::Trace(const std::string& line) {
  constexpr size_t kTraceLimit = 4u << 20;  // keep the newest lines of a long run
  if (trace.size() > kTraceLimit) {
    size_t cut = trace.find('\n', trace.size() / 2);
    trace.erase(0, cut == std::string::npos ? trace.size() : cut + 1);
  }
  trace += line;
  trace += '\n';
  if (!trace_file.empty()) {
    HANDLE f = CreateFileA(trace_file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      std::string l = std::string(Family().name) + ": " + line + "\r\n";
      WriteAll(f, reinterpret_cast<const BYTE*>(l.data()), l.size());
      CloseHandle(f);
    }
  }
}

bool Hub::SetDevices(const std::string& spec) {
  std::vector<FRONTEND_TYPE> d;
  std::stringstream in(spec);
  std::string item;
  while (std::getline(in, item, ',')) {
    item.erase(std::remove_if(item.begin(), item.end(), [](char c) { return c == ' '; }), item.end());
    if (item == "sat") d.push_back(FRONTEND_TYPE_SATELLITE);
    else if (item == "cable") d.push_back(FRONTEND_TYPE_CABLE);
    else if (item == "terr") d.push_back(FRONTEND_TYPE_TERRESTRIAL);
    else if (!item.empty()) {
      last_error = "unknown front end '" + item + "'";
      return false;
    }
  }
  devices = d;
  return true;
}

bool Hub::SetWorld(const std::string& text) {
  vsim::World w;
  std::string error;
  if (!vsim::ParseWorld(text, w, &error)) {
    last_error = error;
    return false;
  }
  LoseLock();
  world = std::move(w);
  return true;
}

void Hub::LoadEnvironment() {
  devices.clear();
  std::string d = Env("ORB_VSIM_DEVICES");
  if (d.empty() || !SetDevices(d)) SetDevices(Family().default_devices);
  world = vsim::DefaultWorld();
  std::string wf = Env("ORB_VSIM_WORLD");
  if (!wf.empty()) {
    std::string text;
    if (!ReadTextFile(wf, text) || !SetWorld(text)) Trace("cannot use world file " + wf + ": " + last_error);
  }
  rate = 10000;
  std::string r = Env("ORB_VSIM_RATE");
  if (!r.empty() && std::strtoul(r.c_str(), nullptr, 10) > 0) rate = std::strtoul(r.c_str(), nullptr, 10);
  failures.clear();
  std::stringstream f(Env("ORB_VSIM_FAIL"));
  std::string item;
  while (std::getline(f, item, ',')) {
    size_t colon = item.find(':');
    if (colon == std::string::npos) failures[item] = -1;
    else failures[item.substr(0, colon)] = std::atoi(item.c_str() + colon + 1);
  }
  trace_file = Env("ORB_VSIM_TRACE");
}

vsim::FrontendCaps Hub::Caps() const {
  vsim::FrontendCaps c;
  int fam = Family().family;
  c.auto_inversion = fam != VSIM_FAMILY_BUDGET;
  c.auto_bandwidth = fam == VSIM_FAMILY_PREMIUM && OpenType() == FRONTEND_TYPE_TERRESTRIAL;
  return c;
}

DWORD Hub::CapabilityWord() const {
  vsim::FrontendCaps c = Caps();
  DWORD w = FE_CAP_AUTO_FEC;
  if (c.auto_inversion) w |= FE_CAP_AUTO_INVERSION;
  if (c.auto_bandwidth) w |= FE_CAP_AUTO_BANDWIDTH;
  if (Family().family == VSIM_FAMILY_PREMIUM && OpenType() != FRONTEND_TYPE_SATELLITE) w |= FE_CAP_CHANNEL_SCAN;
  if (Family().family == VSIM_FAMILY_USB && OpenType() == FRONTEND_TYPE_TERRESTRIAL) w |= FE_CAP_ANTENNA_POWER;
  return w;
}

bool Hub::HasConsumers() const { return !filters.empty() || capture_on || av_file != nullptr; }

bool Hub::Flowing() const {
  bool on = dma_on || (Family().family == VSIM_FAMILY_USB && iso_on);
  return open_index >= 0 && on && locked != nullptr && mux != nullptr;
}

void Hub::LoseLock() {
  locked = nullptr;
  mux.reset();
  if (dispatching) assemblers_stale = true;
  else assemblers.clear();
  for (auto& f : filters) f->pending.clear();
}

void Hub::Dispatch(const BYTE* packet) {
  WORD pid = vsim::PacketPid(packet);
  if (capture_on) {
    capture.insert(capture.end(), packet, packet + vsim::kPacketSize);
    if (capture.size() > kCaptureLimit) {
      capture.erase(capture.begin(), capture.begin() + kLostBlock);
      ++lost_blocks;
    }
  }
  if (av_file && vsim::PacketHasPayload(packet)) {
    bool audio = pid == audio_pid && av_format != RECFILE_VIDEO_PES;
    bool video = pid == video_pid && av_format != RECFILE_AUDIO_MP2;
    if (audio || video) {
      size_t at = 4;
      if (packet[3] & 0x20) at += 1 + packet[4];
      if (at < vsim::kPacketSize) WriteAll(av_file, packet + at, vsim::kPacketSize - at);
    }
  }
  std::vector<std::shared_ptr<FilterData>> snap;
  bool sections = false;
  for (auto& f : filters) {
    if (f->active && f->pid == pid) {
      snap.push_back(f);
      sections = sections || f->type != FILTERTYPE_PACKETS;
    }
  }
  if (snap.empty()) return;
  ++dispatching;
  if (sections) {
    assemblers[pid].Put(packet, [&](const vsim::u8* s, size_t n) {
      if (!vsim::SectionIntact(s, n)) return;  // the card checks CRC_32
      vsim::Bytes copy;
      for (auto& f : snap) {
        if (!f->active || f->type == FILTERTYPE_PACKETS) continue;
        if (!vsim::MatchSection(s, n, f->pattern, f->mask, f->length)) continue;
        copy.assign(s, s + n);
        f->owner->OnDataArrival(copy.data(), static_cast<int>(n));
      }
    });
  }
  for (auto& f : snap) {
    if (!f->active || f->type != FILTERTYPE_PACKETS) continue;
    f->pending.insert(f->pending.end(), packet, packet + vsim::kPacketSize);
    if (f->pending.size() >= f->batch) {
      vsim::Bytes out;
      out.swap(f->pending);
      f->owner->OnDataArrival(out.data(), static_cast<int>(out.size()));
    }
  }
  if (--dispatching == 0 && assemblers_stale) {
    assemblers.clear();
    assemblers_stale = false;
  }
}

void Hub::Wake() {
  if (thread_running_) return;
  HMODULE self = nullptr;
  // The thread holds a reference on this library so that it cannot be
  // unloaded under it; it lets go when it ends.
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&Hub::ThreadMain), &self);
  ResetEvent(stop_);
  if (thread_) CloseHandle(thread_);
  thread_ = CreateThread(nullptr, 0, &Hub::ThreadMain, self, 0, nullptr);
  if (thread_) {
    thread_running_ = true;
  } else if (self) {
    FreeLibrary(self);
  }
}

void Hub::StopThread() {
  HANDLE h = nullptr;
  {
    Guard g(*this);
    if (!thread_running_ || !thread_) return;
    SetEvent(stop_);
    if (GetThreadId(thread_) == GetCurrentThreadId()) return;
    DuplicateHandle(GetCurrentProcess(), thread_, GetCurrentProcess(), &h, 0, FALSE, DUPLICATE_SAME_ACCESS);
  }
  if (h) {
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
  }
}

DWORD WINAPI Hub::ThreadMain(void* module) {
  Get().Run();
  FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

void Hub::Run() {
  LARGE_INTEGER freq, last, now;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&last);
  double credit = 0;
  double idle = 0;
  BYTE packet[vsim::kPacketSize];
  for (;;) {
    bool stop = WaitForSingleObject(stop_, 5) == WAIT_OBJECT_0;
    QueryPerformanceCounter(&now);
    double elapsed = static_cast<double>(now.QuadPart - last.QuadPart) / static_cast<double>(freq.QuadPart);
    last = now;
    size_t due;
    {
      Guard g(*this);
      if (!stop && !HasConsumers()) {
        idle += elapsed;
        stop = idle > 0.5;
      } else {
        idle = 0;
      }
      if (stop) {
        thread_running_ = false;
        return;
      }
      credit = std::min(credit + elapsed * rate, rate / 10.0 + 1);
      due = static_cast<size_t>(credit);
      credit -= static_cast<double>(due);
    }
    while (due > 0) {
      Guard g(*this);
      if (!Flowing()) break;
      size_t n = std::min(due, kChunk);
      for (size_t i = 0; i < n && Flowing(); ++i) {
        mux->Next(packet);
        Dispatch(packet);
      }
      due -= n;
    }
  }
}

void Hub::Reset() {
  StopThread();
  Guard g(*this);
  for (auto& f : filters) f->active = false;
  filters.clear();
  initialised = false;
  open_index = -1;
  arm_booted = board_reset = dsp_booted = iso_on = dma_on = frontend_ready = false;
  sw = vsim::SwitchState{};
  has_channel = false;
  channel = CHANNEL_TYPE{};
  LoseLock();
  capture_on = false;
  capture.clear();
  lost_blocks = 0;
  audio_pid = video_pid = pcr_pid = 0x1FFF;
  av_file = nullptr;
  diseqc.clear();
  channels.clear();
  trace.clear();
  last_error.clear();
  LoadEnvironment();
}

}  // namespace vsim::dll
