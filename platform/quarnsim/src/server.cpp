// quarnsim.dll: the card maker's filters (MPEG-2 source, TS filter, PSI
// parser) and the system filters Wine lacks (MPEG-2 demultiplexer, dump
// filter), as one in-process server, and its test hooks.
#include <cstring>

#include "card.h"
#include "filters.h"
#include "orb_atl/server.h"
#include "orb_dshow/filter_base.h"
#include "orb_dshow/guids.h"
#include "quarnsim/quarnsim.h"

namespace {

const CLSID kSource = {0xe82536a0, 0x94da, 0x11d2, {0xa4, 0x63, 0x00, 0xa0, 0xc9, 0x5d, 0x30, 0x8d}};
const CLSID kTs = {0xdbd70752, 0x0668, 0x4d54, {0x96, 0xff, 0x3b, 0x02, 0xf0, 0x26, 0xf7, 0x34}};
const CLSID kPsi = {0xf094e954, 0xa487, 0x4a7e, {0xb1, 0xfd, 0x6c, 0x37, 0x17, 0xde, 0x6c, 0x5d}};

const orb::com::ClassInfo kClasses[] = {
    {&kSource, &qsim::CreateSourceFilter, L"QUARN MPEG2 Source", nullptr, nullptr, L"Both", nullptr, 0},
    {&kTs, &qsim::CreateTsFilter, L"QUARN TS Filter", nullptr, nullptr, L"Both", nullptr, 0},
    {&kPsi, &qsim::CreatePsiParser, L"QUARN PSI Parser", nullptr, nullptr, L"Both", nullptr, 0},
    {&orb::ds::kClsidMpeg2Demultiplexer, &qsim::CreateDemultiplexer, L"MPEG-2 Demultiplexer", nullptr, nullptr,
     L"Both", nullptr, 0},
    {&orb::ds::kClsidDumpFilter, &qsim::CreateDumpFilter, L"Dump", nullptr, nullptr, L"Both", nullptr, 0},
};
const orb::com::ServerInfo kServer = {kClasses, sizeof kClasses / sizeof kClasses[0], nullptr};

}  // namespace

ORB_COM_SERVER_EXPORTS(kServer)

extern "C" {

void QsimReset(void) { qsim::Card::Get().Reset(); }

int QsimSetWorld(const char* description) {
  return description && qsim::Card::Get().SetWorld(description) ? 0 : -1;
}

void QsimSetTunerType(int type) {
  qsim::Card& c = qsim::Card::Get();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  c.tunerType = type;
  c.locked = nullptr;
  c.tuned = false;
  ++c.generation;
}

void QsimSetPacketRate(unsigned packetsPerSecond) {
  qsim::Card& c = qsim::Card::Get();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  if (packetsPerSecond > 0) c.rate = packetsPerSecond;
}

void QsimFailCall(const char* call, int times) {
  if (!call) return;
  qsim::Card& c = qsim::Card::Get();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  c.failures[call] = times;
}

int QsimLiveFilters(void) { return static_cast<int>(orb::ds::LiveFilterCount()); }
int QsimRunningStreams(void) { return qsim::Card::Get().runningStreams.load(); }

int QsimTuneCount(void) {
  qsim::Card& c = qsim::Card::Get();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  return static_cast<int>(c.tunes.size());
}

int QsimGetTune(int index, QSIM_TUNE* out) {
  qsim::Card& c = qsim::Card::Get();
  std::lock_guard<std::recursive_mutex> lock(c.mutex);
  if (!out || index < 0 || index >= static_cast<int>(c.tunes.size())) return -1;
  *out = c.tunes[static_cast<size_t>(index)];
  return 0;
}

}  // extern "C"
