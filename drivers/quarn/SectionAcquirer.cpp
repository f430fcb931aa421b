#include "SectionAcquirer.h"

#include <bdaiface.h>

#include <cstdio>
#include <set>
#include <vector>

#include "SourceGraph.h"
#include "drvcommon/DriverLog.h"
#include "drvcore/sections.h"

namespace {

using orb::com::ComPtr;

const CLSID kClsidTsFilter = {0xdbd70752, 0x0668, 0x4d54, {0x96, 0xff, 0x3b, 0x02, 0xf0, 0x26, 0xf7, 0x34}};
const CLSID kClsidPsiParser = {0xf094e954, 0xa487, 0x4a7e, {0xb1, 0xfd, 0x6c, 0x37, 0x17, 0xde, 0x6c, 0x5d}};
const CLSID kClsidMpeg2Demultiplexer = {0xafb6c280, 0x2c41, 0x11d3, {0x8a, 0x60, 0x00, 0x00, 0xf8, 0x1e, 0x0e, 0x4a}};
const GUID kMediaTypeMpeg2Sections = {0x455f176c, 0x4b06, 0x47ce, {0x9a, 0xef, 0x8c, 0xae, 0xf7, 0x3d, 0xf7, 0xb5}};
const GUID kSubtypeNone = {0xe436eb8e, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};

class Guard {
 public:
  explicit Guard(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
  ~Guard() { LeaveCriticalSection(&cs_); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

// The first pin of `filter` in direction `dir`.
ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION dir) {
  ComPtr<IEnumPins> e;
  if (FAILED(filter->EnumPins(e.Put()))) return {};
  IPin* raw = nullptr;
  while (e->Next(1, &raw, nullptr) == S_OK) {
    ComPtr<IPin> p;
    p.Attach(raw);
    PIN_DIRECTION d;
    if (SUCCEEDED(p->QueryDirection(&d)) && d == dir) return p;
  }
  return {};
}

// What one batch hangs on the graph; Remove takes it all away again.
struct Branch {
  explicit Branch(CSourceGraph& g) : graph(g) {}
  CSourceGraph& graph;
  ComPtr<IBaseFilter> ts, demux, psi;
  bool tsOnPin = false;

  void Remove() {
    if (psi) graph.RemoveFilter(psi.Get());
    if (demux) graph.RemoveFilter(demux.Get());
    if (tsOnPin) graph.RemovePinFilter(0);  // data pin 0 disconnected, TS filter out
    psi = nullptr;
    demux = nullptr;
    ts = nullptr;
    tsOnPin = false;
  }
};

}  // namespace

CSectionAcquirer::CSectionAcquirer(CSourceGraph& graph) : graph_(graph) { InitializeCriticalSection(&lock_); }

CSectionAcquirer::~CSectionAcquirer() { DeleteCriticalSection(&lock_); }

HRESULT CSectionAcquirer::GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                                      SectionResult* results) {
  if (count == 0) return S_OK;
  if (count < 0) return E_FAIL;
  if (!specs || !results) return E_POINTER;
  for (long i = 0; i < count; ++i) {
    results[i].count = 0;
    results[i].sections = nullptr;
  }
  if (!graph_.Built()) return E_FAIL;
  {
    Guard g(lock_);
    cancelled_ = false;
  }
  if (!graph_.Claim("section reading")) return E_FAIL;
  DriverLog().Log(4, "GetSections(%ld requests, %ld s)", count, timeoutSeconds);
  const long hr = drvcore::ForEachBatch(
      count, [&](long first, long n) { return ReadSectionBatch(n, specs + first, timeoutSeconds, results + first); },
      [&] {
        Guard g(lock_);
        return cancelled_;
      });
  graph_.Unclaim();
  return hr;
}

HRESULT CSectionAcquirer::CancelSections() {
  Guard g(lock_);
  cancelled_ = true;
  if (cancelEvent_) SetEvent(cancelEvent_);
  return S_OK;
}

HRESULT CSectionAcquirer::ReadSectionBatch(long n, SectionFilterSpec* specs, long timeoutSeconds,
                                           SectionResult* results) {
  if (n <= 0) return S_OK;
  if (!specs || !results) return E_POINTER;
  if (n > static_cast<long>(drvcore::kBatchSize)) n = static_cast<long>(drvcore::kBatchSize);
  const int pinNo = 0;
  Branch branch(graph_);
  // A failed step: its text with the pin and HRESULT in the log and as the
  // graph's last error; the branch goes; the batch fails.
  auto fail = [&](HRESULT hr, const char* text) {
    char line[160];
    std::snprintf(line, sizeof line, text, pinNo, static_cast<unsigned>(hr));
    DriverLog().Log(1, "%s", line);
    graph_.Record(hr, line);
    branch.Remove();
    return E_FAIL;
  };

  ComPtr<IMediaControl> control;
  HRESULT hr = graph_.GetMediaControl(control.Put());
  const ComPtr<IGraphBuilder> graph = graph_.Graph();
  const ComPtr<IQuarnMPEG2DataCtrl3> dataControl = graph_.DataControl();
  if (FAILED(hr)) return fail(hr, "failed to get media control on pin %d, hr=%#X");

  // 1. TS filter on data pin 0, demultiplexer behind it, PSI parser.
  hr = graph_.CreatePinFilter(pinNo, kClsidTsFilter, branch.ts.Put());
  if (FAILED(hr)) return fail(hr, "failed to create TS filter on pin %d, hr=%#X");
  branch.tsOnPin = true;
  hr = graph_.ConnectDataPin(pinNo, nullptr);
  if (FAILED(hr)) return fail(hr, "failed to connect quarn to quarntots on pin %d, hr=%#X");
  hr = CoCreateInstance(kClsidMpeg2Demultiplexer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                        branch.demux.PutVoid());
  if (FAILED(hr)) return fail(hr, "failed to create demux filter on pin %d, hr=%#X");
  ComPtr<IMpeg2Demultiplexer> dmx;
  hr = branch.demux.As(dmx);
  if (FAILED(hr)) return fail(hr, "failed to get demux filter on pin %d, hr=%#X");
  hr = graph->AddFilter(branch.demux.Get(), L"Demux");
  if (FAILED(hr)) {
    branch.demux = nullptr;
    return fail(hr, "failed to add demux filter on pin %d, hr=%#X");
  }
  ComPtr<IPin> demuxIn = FirstPin(branch.demux.Get(), PINDIR_INPUT);
  if (!demuxIn) return fail(E_FAIL, "failed to get demux input pin on pin %d, hr=%#X");
  ComPtr<IPin> tsOut = FirstPin(branch.ts.Get(), PINDIR_OUTPUT);
  hr = tsOut ? graph->ConnectDirect(tsOut.Get(), demuxIn.Get(), nullptr) : E_FAIL;
  if (FAILED(hr)) return fail(hr, "failed to connect quarntots to demux on pin %d, hr=%#X");
  hr = CoCreateInstance(kClsidPsiParser, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, branch.psi.PutVoid());
  if (FAILED(hr)) return fail(hr, "failed to create PSI parser filter on pin %d, hr=%#X");
  ComPtr<IQuarnPSIParser> parser;
  hr = branch.psi.As(parser);
  if (FAILED(hr)) return fail(hr, "failed to get PSI parser filter on pin %d, hr=%#X");
  hr = graph->AddFilter(branch.psi.Get(), L"PSI Parser");
  if (FAILED(hr)) {
    branch.psi = nullptr;
    return fail(hr, "failed to add psi filter on pin %d, hr=%#X");
  }

  // 2. One demultiplexer pin and one parser pin per distinct PID.
  std::set<ULONG> distinct;
  for (long i = 0; i < n; ++i) distinct.insert(specs[i].pid & 0x1FFF);
  std::vector<ULONG> pids(distinct.begin(), distinct.end());
  for (ULONG pid : pids) {
    AM_MEDIA_TYPE mt{};
    mt.majortype = kMediaTypeMpeg2Sections;
    mt.subtype = kSubtypeNone;
    wchar_t name[32];
    std::swprintf(name, 32, L"DMX Pin %lu", pid);
    ComPtr<IPin> out;
    hr = dmx->CreateOutputPin(&mt, name, out.Put());
    if (FAILED(hr)) return fail(hr, "failed to create demux output pin on pin %d, hr=%#X");
    ComPtr<IMPEG2PIDMap> map;
    hr = out.As(map);
    if (FAILED(hr)) return fail(hr, "failed to get pidmap on pin %d, hr=%#X");
    ULONG p = pid;
    hr = map->MapPID(1, &p, MEDIA_MPEG2_PSI);
    if (FAILED(hr)) return fail(hr, "failed to map pids on pin %d, hr=%#X");
    std::swprintf(name, 32, L"PSI Pin %lu", pid);
    ComPtr<IPin> in;
    hr = parser->CreatePin(name, in.Put());
    if (FAILED(hr)) return fail(hr, "failed to create psi output pin on pin %d, hr=%#X");
    ComPtr<IMPEG2PIDMap> inMap;
    hr = in.As(inMap);
    if (FAILED(hr)) return fail(hr, "failed to get psi pidmap on pin %d, hr=%#X");
    hr = inMap->MapPID(1, &p, MEDIA_MPEG2_PSI);
    if (FAILED(hr)) return fail(hr, "failed to get psi pidmap on pin %d, hr=%#X");
    hr = graph->ConnectDirect(out.Get(), in.Get(), nullptr);
    if (FAILED(hr)) return fail(hr, "failed to connect demux to psi on pin %d, hr=%#X");
  }

  // 3. Completion and cancel events.
  HANDLE completion = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE cancel = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!completion || !cancel) {
    if (completion) CloseHandle(completion);
    if (cancel) CloseHandle(cancel);
    return fail(HRESULT_FROM_WIN32(GetLastError()), "failed to create events on pin %d, hr=%#X");
  }
  auto closeEvents = [&] {
    {
      Guard g(lock_);
      cancelEvent_ = nullptr;
    }
    CloseHandle(completion);
    CloseHandle(cancel);
  };
  {
    Guard g(lock_);
    cancelEvent_ = cancel;
    if (cancelled_) SetEvent(cancel);  // a cancel that came while the branch was built
  }

  // 4. The parser's table filter.
  hr = parser->SetTableFilter(n, specs, timeoutSeconds, completion, results);
  if (FAILED(hr)) {
    closeEvents();
    return fail(hr, "failed to set table filter on pin %d, hr=%#X");
  }

  // 5. Run, route the PIDs to data pin 0.
  DriverLog().Log(4, "running graph");
  hr = control->Run();
  if (FAILED(hr)) {
    DriverLog().Log(1, "failed to run graph: %#X", static_cast<unsigned>(hr));
    control->Stop();  // nothing is left half running; the parser hands over nothing
    closeEvents();
    return fail(hr, "failed to run graph on pin %d, hr=%#X");
  }
  OAFilterState state = 0;
  if (control->GetState(1000, &state) == VFW_S_STATE_INTERMEDIATE) DriverLog().Log(4, "transition not complete");
  ULONG routed = static_cast<ULONG>(pids.size());
  hr = dataControl ? dataControl->AddPIDs(&routed, pids.data(), pinNo) : E_POINTER;
  if (FAILED(hr)) {
    control->Stop();
    closeEvents();
    return fail(hr, "failed to route pids on pin %d, hr=%#X");
  }

  // 6. Wait, stop (the parser hands over as it stops), then close the events.
  HANDLE waits[2] = {completion, cancel};
  const DWORD r = WaitForMultipleObjects(2, waits, FALSE, drvcore::BatchWaitMilliseconds(timeoutSeconds));
  if (r == WAIT_TIMEOUT) DriverLog().Log(4, "section batch timed out");
  else if (r == WAIT_OBJECT_0 + 1) DriverLog().Log(4, "section batch cancelled");
  else if (r == WAIT_FAILED) DriverLog().Log(1, "waiting for sections failed: %lu", GetLastError());
  if (dataControl) dataControl->RemovePIDs(static_cast<ULONG>(pids.size()), pids.data(), pinNo);
  hr = control->Stop();
  if (FAILED(hr)) DriverLog().Log(1, "failed to stop graph: %#X", static_cast<unsigned>(hr));
  // Whatever the stop did: the parser lets go of the records and the event
  // before the event is closed and the records go back to the caller.
  parser->SetTableFilter(0, nullptr, 0, nullptr, nullptr);
  closeEvents();
  branch.Remove();
  return S_OK;
}
