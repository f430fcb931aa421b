// The test hooks (dvbacc_sim.h).
#include <cstring>

#include "hub.h"

using vsim::dll::Hub;

int VsimFamily(void) { return vsim::dll::Family().family; }

void VsimReset(void) { Hub::Get().Reset(); }

int VsimSetWorld(const char* description) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  return description && hub.SetWorld(description) ? 0 : -1;
}

int VsimSetDevices(const char* frontends) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  return frontends && hub.SetDevices(frontends) ? 0 : -1;
}

void VsimSetPacketRate(unsigned packetsPerSecond) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (packetsPerSecond > 0) hub.rate = packetsPerSecond;
}

void VsimFailCall(const char* call, int times) {
  if (!call) return;
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  hub.failures[call] = times;
}

void VsimAddLostBlocks(unsigned blocks) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  hub.lost_blocks += blocks;
}

int VsimDiseqcCount(void) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  return static_cast<int>(hub.diseqc.size());
}

int VsimGetDiseqc(int index, VSIM_DISEQC* out) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (!out || index < 0 || index >= static_cast<int>(hub.diseqc.size())) return -1;
  *out = hub.diseqc[static_cast<size_t>(index)];
  return 0;
}

int VsimChannelCount(void) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  return static_cast<int>(hub.channels.size());
}

int VsimGetChannel(int index, VSIM_CHANNEL* out) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (!out || index < 0 || index >= static_cast<int>(hub.channels.size())) return -1;
  *out = hub.channels[static_cast<size_t>(index)];
  return 0;
}

int VsimActiveFilters(void) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  return static_cast<int>(hub.filters.size());
}

int VsimGetTrace(char* buffer, int size) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  if (buffer && size > 0) {
    size_t n = std::min(hub.trace.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, hub.trace.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(hub.trace.size());
}

const char* VsimLastError(void) {
  Hub& hub = Hub::Get();
  Hub::Guard g(hub);
  static thread_local std::string copy;
  copy = hub.last_error;
  return copy.c_str();
}
