#include "StreamingPages.h"

#include <bdaiface.h>
#include <dshow.h>

#include <cstdlib>
#include <vector>

#include "SourceGraph.h"
#include "drvcommon/DriverLog.h"
#include "resource.h"

namespace quarn {

namespace {

using orb::com::ComPtr;

const CLSID kClsidDump = {0x36a5f770, 0xfe4c, 0x11ce, {0xa8, 0xed, 0x00, 0xaa, 0x00, 0x2f, 0xea, 0xb5}};
const CLSID kClsidTsFilter = {0xdbd70752, 0x0668, 0x4d54, {0x96, 0xff, 0x3b, 0x02, 0xf0, 0x26, 0xf7, 0x34}};
const CLSID kClsidMpeg2Demultiplexer = {0xafb6c280, 0x2c41, 0x11d3, {0x8a, 0x60, 0x00, 0x00, 0xf8, 0x1e, 0x0e, 0x4a}};
const GUID kMediaTypeMpeg2Sections = {0x455f176c, 0x4b06, 0x47ce, {0x9a, 0xef, 0x8c, 0xae, 0xf7, 0x3d, 0xf7, 0xb5}};
const GUID kSubtypeNone = {0xe436eb8e, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};

// The first pin of `filter` in direction `dir` that is not connected.
HRESULT FindUnconnectedPin(IBaseFilter* filter, PIN_DIRECTION dir, IPin** out) {
  *out = nullptr;
  ComPtr<IEnumPins> e;
  const HRESULT hr = filter->EnumPins(e.Put());
  if (FAILED(hr)) return hr;
  IPin* raw = nullptr;
  while (e->Next(1, &raw, nullptr) == S_OK) {
    ComPtr<IPin> pin;
    pin.Attach(raw);
    PIN_DIRECTION d;
    if (FAILED(pin->QueryDirection(&d)) || d != dir) continue;
    ComPtr<IPin> peer;
    if (SUCCEEDED(pin->ConnectedTo(peer.Put()))) continue;
    *out = pin.Detach();
    return S_OK;
  }
  return E_FAIL;
}

std::wstring WideText(const CString& s) { return std::wstring(static_cast<LPCWSTR>(s)); }

}  // namespace

// ---- CStreamingPage ----

IMPLEMENT_DYNAMIC(CStreamingPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CStreamingPage, CPropertyPage)
  ON_BN_CLICKED(IDC_QS_START, &CStreamingPage::OnStart)
  ON_MESSAGE(WM_WORKER_DONE, &CStreamingPage::OnWorkerDone)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CStreamingPage::CStreamingPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

CStreamingPage::~CStreamingPage() {
  JoinWorker();  // the window went without its WM_DESTROY reaching us
  if (m_hStop) CloseHandle(m_hStop);
}

BOOL CStreamingPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  if (!m_hStop) m_hStop = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  return TRUE;
}

void CStreamingPage::OnStart() {
  if (m_running) {
    // Cancel: the worker sees the stop event; the button waits for it.
    GetDlgItem(IDC_QS_START)->EnableWindow(FALSE);
    if (m_hStop) SetEvent(m_hStop);
    return;
  }
  if (!m_hStop || !m_pGraph) return;
  ResetEvent(m_hStop);
  TakeInputs();
  m_running = 1;
  SetDlgItemText(IDC_QS_START, "Cancel");
  CWinThread* worker = AfxBeginThread(&CStreamingPage::ThreadProc, this, THREAD_PRIORITY_NORMAL, 0,
                                      CREATE_SUSPENDED);
  if (!worker) {
    // No thread: the page stays idle.
    DriverLog().Log(1, "%s: the streaming thread could not be started", UserName());
    m_running = 0;
    SetDlgItemText(IDC_QS_START, "Start");
    return;
  }
  worker->m_bAutoDelete = FALSE;
  m_pWorker = worker;
  worker->ResumeThread();
}

UINT CStreamingPage::ThreadProc(LPVOID param) {
  auto* page = static_cast<CStreamingPage*>(param);
  const HRESULT co = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (page->m_pGraph->Claim(page->UserName())) {
    page->Work();
    page->m_pGraph->Unclaim();
  }
  if (SUCCEEDED(co)) CoUninitialize();
  // The last act: the page joins the thread when this arrives (a page whose
  // window is gone has joined it already).
  ::PostMessageW(page->m_hWnd, WM_WORKER_DONE, 0, 0);
  return 0;
}

void CStreamingPage::JoinWorker() {
  if (!m_pWorker) return;
  WaitForSingleObject(m_pWorker->m_hThread, INFINITE);
  delete m_pWorker;
  m_pWorker = nullptr;
}

LRESULT CStreamingPage::OnWorkerDone(WPARAM, LPARAM) {
  JoinWorker();
  m_running = 0;
  SetDlgItemText(IDC_QS_START, "Start");
  GetDlgItem(IDC_QS_START)->EnableWindow(TRUE);
  return 0;
}

void CStreamingPage::OnDestroy() {
  if (m_pWorker) {
    if (m_hStop) SetEvent(m_hStop);
    JoinWorker();
    m_running = 0;
  }
  CPropertyPage::OnDestroy();
}

void CStreamingPage::WaitForStop() { WaitForSingleObject(m_hStop, INFINITE); }

void CStreamingPage::StopAndReset() {
  ComPtr<IMediaControl> control;
  if (SUCCEEDED(m_pGraph->GetMediaControl(control.Put()))) control->Stop();
  m_pGraph->Reset();
}

// ---- CPinListPage ----

IMPLEMENT_DYNAMIC(CPinListPage, CStreamingPage)

BEGIN_MESSAGE_MAP(CPinListPage, CStreamingPage)
  ON_CBN_SELCHANGE(IDC_QS_PIN, &CPinListPage::OnPinChanged)
  ON_EN_KILLFOCUS(IDC_QS_FILE, &CPinListPage::OnFileKillFocus)
  ON_BN_CLICKED(IDC_QS_BROWSE, &CPinListPage::OnBrowse)
  ON_BN_CLICKED(IDC_QS_ADD, &CPinListPage::OnAdd)
  ON_BN_CLICKED(IDC_QS_REMOVE, &CPinListPage::OnRemove)
  ON_BN_CLICKED(IDC_QS_REMOVE_ALL, &CPinListPage::OnRemoveAll)
END_MESSAGE_MAP()

CPinListPage::CPinListPage(UINT nIDTemplate, const char* fileFilter)
    : CStreamingPage(nIDTemplate), m_fileFilter(fileFilter) {}

BOOL CPinListPage::OnInitDialog() {
  CStreamingPage::OnInitDialog();
  if (auto* pins = static_cast<CComboBox*>(GetDlgItem(IDC_QS_PIN))) pins->SetCurSel(0);
  m_pid.SubclassDlgItem(IDC_QS_PID, this);
  m_pid.LimitText(4);
  OnPinChanged();
  return TRUE;
}

int CPinListPage::SelectedPin() const {
  auto* pins = static_cast<CComboBox*>(GetDlgItem(IDC_QS_PIN));
  const int sel = pins ? pins->GetCurSel() : CB_ERR;
  return sel >= 0 && sel < kPins ? sel : -1;
}

void CPinListPage::RefreshList() {
  auto* list = static_cast<CListBox*>(GetDlgItem(IDC_QS_PIDS));
  if (!list) return;
  list->ResetContent();
  const int pin = SelectedPin();
  if (pin < 0) return;
  for (DWORD pid : m_pids[pin]) {
    CString text;
    text.Format(L"%04X", static_cast<unsigned>(pid));
    list->AddString(text);
  }
}

void CPinListPage::OnPinChanged() {
  const int pin = SelectedPin();
  if (pin >= 0) SetDlgItemText(IDC_QS_FILE, m_files[pin]);
  RefreshList();
}

void CPinListPage::OnFileKillFocus() {
  const int pin = SelectedPin();
  if (pin < 0) return;
  GetDlgItemText(IDC_QS_FILE, m_files[pin]);
}

void CPinListPage::OnBrowse() {
  const int pin = SelectedPin();
  CString current;
  GetDlgItemText(IDC_QS_FILE, current);
  CFileDialog dialog(FALSE, "ts", current, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, m_fileFilter, this);
  if (dialog.DoModal() != IDOK) return;
  const CString path = dialog.GetPathName();
  SetDlgItemText(IDC_QS_FILE, path);
  if (pin >= 0) m_files[pin] = path;
}

void CPinListPage::OnAdd() {
  const int pin = SelectedPin();
  if (pin < 0) return;
  // The leading hexadecimal digits count; none (or an empty field) is PID 0.
  const std::string text = WindowTextNarrow(&m_pid);
  m_pids[pin].insert(static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 16)));
  RefreshList();
}

void CPinListPage::OnRemove() {
  const int pin = SelectedPin();
  auto* list = static_cast<CListBox*>(GetDlgItem(IDC_QS_PIDS));
  if (pin < 0 || !list) return;
  const int count = static_cast<int>(list->SendMessage(LB_GETSELCOUNT, 0, 0));
  if (count == LB_ERR || count <= 0) return;
  std::vector<int> selected(static_cast<size_t>(count));
  if (list->SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data())) ==
      LB_ERR)
    return;
  for (int index : selected) {
    char text[32] = {};
    if (list->SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0) >= static_cast<LRESULT>(sizeof text)) continue;
    ::SendMessageA(list->m_hWnd, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    m_pids[pin].erase(static_cast<DWORD>(std::strtoul(text, nullptr, 16)));
  }
  RefreshList();
}

void CPinListPage::OnRemoveAll() {
  const int pin = SelectedPin();
  if (pin < 0) return;
  m_pids[pin].clear();
  RefreshList();
}

void CPinListPage::TakeInputs() {
  // A name typed into the file edit counts for the selected pin even when
  // the edit still has the focus.
  OnFileKillFocus();
  for (int i = 0; i < kPins; ++i) {
    m_runFiles[i] = WideText(m_files[i]);
    m_runPids[i].assign(m_pids[i].begin(), m_pids[i].end());
  }
}

bool CPinListPage::AddRunPids(IQuarnMPEG2DataCtrl3* data) {
  for (int i = 0; i < kPins; ++i) {
    if (!Active(i)) continue;
    ULONG n = static_cast<ULONG>(m_runPids[i].size());
    const HRESULT hr = data->AddPIDs(&n, m_runPids[i].data(), static_cast<ULONG>(i));
    if (FAILED(hr)) {
      m_pGraph->Fail(hr, "Add PIDs to QUARN Filter Data pin");
      StopAndReset();
      return false;
    }
  }
  return true;
}

void CPinListPage::RemoveRunPids(IQuarnMPEG2DataCtrl3* data) {
  for (int i = 0; i < kPins; ++i) {
    if (!Active(i)) continue;
    if (FAILED(data->RemovePIDs(static_cast<ULONG>(m_runPids[i].size()), m_runPids[i].data(), static_cast<ULONG>(i))))
      break;
  }
}

// ---- CStreamingTSPage ----

IMPLEMENT_DYNCREATE(CStreamingTSPage, CPinListPage)

CStreamingTSPage::CStreamingTSPage()
    : CPinListPage(IDD_QUARN_TS, "Transport streams (*.ts)|*.ts|binary files (*.bin)|*.bin||") {}

void CStreamingTSPage::Work() {
  CSourceGraph& graph = *m_pGraph;
  ComPtr<IMediaControl> control;
  if (FAILED(graph.GetMediaControl(control.Put()))) return;
  const ComPtr<IQuarnMPEG2DataCtrl3> data = graph.DataControl();
  if (!data) return;
  for (int i = 0; i < kPins; ++i) {
    if (!Active(i)) continue;
    ComPtr<IFileSinkFilter> sink;
    HRESULT hr = graph.CreatePinFilter(i, kClsidDump, nullptr);
    if (SUCCEEDED(hr)) hr = graph.QueryPinFilter(i, IID_IFileSinkFilter, sink.PutVoid());
    if (SUCCEEDED(hr)) {
      hr = sink->SetFileName(m_runFiles[i].c_str(), nullptr);
      if (FAILED(hr)) graph.Fail(hr, "Set file name of dump filter");
    }
    if (SUCCEEDED(hr)) hr = graph.ConnectDataPin(i, nullptr);
    if (FAILED(hr)) {
      graph.Reset();  // nothing of this run stays in the graph
      return;
    }
  }
  HRESULT hr = control->Run();
  if (FAILED(hr)) {
    graph.Fail(hr, "Run filter graph");
    StopAndReset();
    return;
  }
  if (!AddRunPids(data.Get())) return;
  WaitForStop();
  RemoveRunPids(data.Get());
  StopAndReset();
}

// ---- CStreamingSIPage ----

IMPLEMENT_DYNCREATE(CStreamingSIPage, CPinListPage)

CStreamingSIPage::CStreamingSIPage() : CPinListPage(IDD_QUARN_SI, "binary files (*.bin)|*.bin||") {}

void CStreamingSIPage::Work() {
  DriverLog().Log(4, "starting streaming thread");
  CSourceGraph& graph = *m_pGraph;
  ComPtr<IMediaControl> control;
  if (FAILED(graph.GetMediaControl(control.Put()))) return;
  const ComPtr<IGraphBuilder> builder = graph.Graph();
  const ComPtr<IQuarnMPEG2DataCtrl3> data = graph.DataControl();
  if (!builder || !data) return;

  for (int i = 0; i < kPins; ++i) {
    if (!Active(i)) continue;
    DriverLog().Log(4, "pin%d active", i);
    HRESULT hr = S_OK;
    auto failed = [&](const char* text) {
      if (SUCCEEDED(hr)) return false;
      char line[128];
      std::snprintf(line, sizeof line, text, i, static_cast<unsigned>(hr));
      DriverLog().Log(1, "%s", line);
      graph.Record(hr, line);
      return true;
    };
    ComPtr<IBaseFilter> ts, dump, demux;
    ComPtr<IPin> tsOut, dumpIn, demuxIn, psiPin;
    ComPtr<IFileSinkFilter> sink;
    ComPtr<IMpeg2Demultiplexer> dmx;
    ComPtr<IMPEG2PIDMap> map;
    bool ok = false;
    do {
      hr = graph.CreatePinFilter(i, kClsidTsFilter, nullptr);
      if (failed("failed to create TS filter on pin %d, hr=%#X")) break;
      hr = graph.QueryPinFilter(i, IID_IBaseFilter, ts.PutVoid());
      if (failed("failed to get TS filter on pin %d, hr=%#X")) break;
      hr = FindUnconnectedPin(ts.Get(), PINDIR_OUTPUT, tsOut.Put());
      if (failed("failed to get quarn output pin on pin %d, hr=%#X")) break;
      hr = CoCreateInstance(kClsidDump, nullptr, CLSCTX_ALL, IID_IBaseFilter, dump.PutVoid());
      if (failed("failed to create dump filter on pin %d, hr=%#X")) break;
      hr = dump.As(sink);
      if (failed("failed to get sink filter on pin %d, hr=%#X")) break;
      hr = sink->SetFileName(m_runFiles[i].c_str(), nullptr);
      if (failed("failed to get sink on pin %d, hr=%#X")) break;
      hr = FindUnconnectedPin(dump.Get(), PINDIR_INPUT, dumpIn.Put());
      if (failed("failed to get dump input pin on pin %d, hr=%#X")) break;
      hr = builder->AddFilter(dump.Get(), nullptr);
      if (failed("failed to add dump filter on pin %d, hr=%#X")) break;
      hr = CoCreateInstance(kClsidMpeg2Demultiplexer, nullptr, CLSCTX_ALL, IID_IBaseFilter, demux.PutVoid());
      if (failed("failed to create demux filter on pin %d, hr=%#X")) break;
      hr = demux.As(dmx);
      if (failed("failed to get demux filter on pin %d, hr=%#X")) break;
      hr = FindUnconnectedPin(demux.Get(), PINDIR_INPUT, demuxIn.Put());
      if (failed("failed to get demux input pin on pin %d, hr=%#X")) break;
      hr = builder->AddFilter(demux.Get(), nullptr);
      if (failed("failed to add demux filter on pin %d, hr=%#X")) break;
      AM_MEDIA_TYPE mt{};
      mt.majortype = kMediaTypeMpeg2Sections;
      mt.subtype = kSubtypeNone;
      wchar_t name[] = L"PSI Pin";
      hr = dmx->CreateOutputPin(&mt, name, psiPin.Put());
      if (failed("failed to create demux output pin on pin %d, hr=%#X")) break;
      hr = psiPin.As(map);
      if (failed("failed to get pidmap on pin %d, hr=%#X")) break;
      hr = map->MapPID(static_cast<ULONG>(m_runPids[i].size()), m_runPids[i].data(), MEDIA_MPEG2_PSI);
      if (failed("failed to map pids on pin %d, hr=%#X")) break;
      hr = graph.ConnectDataPin(i, nullptr);
      if (failed("failed to connect quarn to quarntots on pin %d, hr=%#X")) break;
      hr = builder->Connect(tsOut.Get(), demuxIn.Get());
      if (failed("failed to connect quarntots to demux on pin %d, hr=%#X")) break;
      hr = builder->Connect(psiPin.Get(), dumpIn.Get());
      if (failed("failed to connect demux to dump on pin %d, hr=%#X")) break;
      ok = true;
    } while (false);
    if (!ok) {
      graph.Reset();  // nothing of this run stays in the graph
      return;
    }
  }

  DriverLog().Log(4, "running graph");
  HRESULT hr = control->Run();
  if (FAILED(hr)) {
    DriverLog().Log(1, "failed to run graph, hr=%#X", static_cast<unsigned>(hr));
    graph.Record(hr, "Run filter graph");
    StopAndReset();
    return;
  }
  if (!AddRunPids(data.Get())) return;
  WaitForStop();
  DriverLog().Log(4, "stop signalled");
  RemoveRunPids(data.Get());
  hr = control->Stop();
  if (FAILED(hr)) DriverLog().Log(1, "failed to stop graph, hr=%#X", static_cast<unsigned>(hr));
  graph.Reset();
}

// ---- CStreamingAVPage ----

IMPLEMENT_DYNCREATE(CStreamingAVPage, CStreamingPage)

BEGIN_MESSAGE_MAP(CStreamingAVPage, CStreamingPage)
  ON_BN_CLICKED(IDC_QS_VIDEO_BROWSE, &CStreamingAVPage::OnBrowseVideo)
  ON_BN_CLICKED(IDC_QS_AUDIO_BROWSE, &CStreamingAVPage::OnBrowseAudio)
END_MESSAGE_MAP()

CStreamingAVPage::CStreamingAVPage() : CStreamingPage(IDD_QUARN_AV) {}

BOOL CStreamingAVPage::OnInitDialog() {
  CStreamingPage::OnInitDialog();
  m_audioPid.SubclassDlgItem(IDC_QS_AUDIO_PID, this);
  m_audioPid.LimitText(4);
  m_videoPid.SubclassDlgItem(IDC_QS_VIDEO_PID, this);
  m_videoPid.LimitText(4);
  SetDlgItemText(IDC_QS_AUDIO_PID, "0100");
  SetDlgItemText(IDC_QS_VIDEO_PID, "0101");
  return TRUE;
}

void CStreamingAVPage::Browse(int editId) {
  CString current;
  GetDlgItemText(editId, current);
  CFileDialog dialog(FALSE, "ts", current, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "binary files (*.bin)|*.bin||",
                     this);
  if (dialog.DoModal() == IDOK) SetDlgItemText(editId, dialog.GetPathName());
}

void CStreamingAVPage::OnBrowseVideo() { Browse(IDC_QS_VIDEO_FILE); }
void CStreamingAVPage::OnBrowseAudio() { Browse(IDC_QS_AUDIO_FILE); }

void CStreamingAVPage::TakeInputs() {
  m_runAudioPid = static_cast<ULONG>(std::strtoul(DlgItemTextNarrow(this, IDC_QS_AUDIO_PID).c_str(), nullptr, 16));
  m_runVideoPid = static_cast<ULONG>(std::strtoul(DlgItemTextNarrow(this, IDC_QS_VIDEO_PID).c_str(), nullptr, 16));
  CString text;
  GetDlgItemText(IDC_QS_AUDIO_FILE, text);
  m_runAudioFile = WideText(text);
  GetDlgItemText(IDC_QS_VIDEO_FILE, text);
  m_runVideoFile = WideText(text);
}

void CStreamingAVPage::Work() {
  CSourceGraph& graph = *m_pGraph;
  const ComPtr<IQuarnMPEG2AVCtrl> av = graph.AVControl();
  const ComPtr<IGraphBuilder> builder = graph.Graph();
  ComPtr<IMediaControl> control;
  if (!av || !builder || FAILED(graph.GetMediaControl(control.Put()))) return;
  HRESULT hr = av->SetAudioVideoPIDs(m_runAudioPid, m_runVideoPid);
  if (FAILED(hr)) {
    graph.Fail(hr, "Set audio and video PIDs");
    return;
  }
  ComPtr<IBaseFilter> videoDump, audioDump;
  ComPtr<IFileSinkFilter> videoSink, audioSink;
  ComPtr<IPin> audioPin, videoPin, videoIn, audioIn;
  hr = CoCreateInstance(kClsidDump, nullptr, CLSCTX_ALL, IID_IBaseFilter, videoDump.PutVoid());
  if (SUCCEEDED(hr)) hr = CoCreateInstance(kClsidDump, nullptr, CLSCTX_ALL, IID_IBaseFilter, audioDump.PutVoid());
  if (SUCCEEDED(hr)) hr = builder->AddFilter(videoDump.Get(), L"DumpBaseFilterV");
  if (SUCCEEDED(hr)) hr = builder->AddFilter(audioDump.Get(), L"DumpBaseFilterA");
  if (SUCCEEDED(hr)) hr = videoDump.As(videoSink);
  if (SUCCEEDED(hr)) hr = audioDump.As(audioSink);
  if (SUCCEEDED(hr)) hr = videoSink->SetFileName(m_runVideoFile.c_str(), nullptr);
  if (SUCCEEDED(hr)) hr = audioSink->SetFileName(m_runAudioFile.c_str(), nullptr);
  if (SUCCEEDED(hr)) hr = graph.GetAVPins(audioPin.Put(), videoPin.Put());
  if (SUCCEEDED(hr)) hr = FindUnconnectedPin(videoDump.Get(), PINDIR_INPUT, videoIn.Put());
  if (SUCCEEDED(hr)) hr = FindUnconnectedPin(audioDump.Get(), PINDIR_INPUT, audioIn.Put());
  if (SUCCEEDED(hr)) hr = builder->Connect(videoPin.Get(), videoIn.Get());
  if (SUCCEEDED(hr)) hr = builder->Connect(audioPin.Get(), audioIn.Get());
  if (FAILED(hr)) {
    graph.Fail(hr, "Connect A/V pins to dump filters");
    graph.Reset();
    return;
  }
  hr = control->Run();
  if (FAILED(hr)) {
    graph.Fail(hr, "Run filter graph");
    StopAndReset();
    return;
  }
  WaitForStop();
  StopAndReset();
}

// ---- CStreamingSheet ----

IMPLEMENT_DYNAMIC(CStreamingSheet, CPropertySheet)

CStreamingSheet::CStreamingSheet(CSourceGraph* graph, CWnd* parent) : CPropertySheet("Streaming", parent) {
  m_ts.m_pGraph = graph;
  m_av.m_pGraph = graph;
  m_si.m_pGraph = graph;
  AddPage(&m_ts);
  AddPage(&m_av);
  AddPage(&m_si);
}

}  // namespace quarn
