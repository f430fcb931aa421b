// The simulated card maker's filters and the system filters we stand in
// for, in the system's filter graph under Wine: registration, pins and
// media types, tuning against the simulated world, sections through
// TS filter, demultiplexer and PSI parser, files through the dump filter,
// damaged bytes pushed by a source on our filter base, and nothing left
// running afterwards.
#include <windows.h>
#include <bdaiface.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "contract/driver_records.h"
#include "orb_atl/com_ptr.h"
#include "orb_dshow/filter_base.h"
#include "orb_dshow/guids.h"
#include "quarnctrl.h"
#include "quarnsim/hooks.h"
#include "vsim/si_gen.h"
#include "vsim/ts.h"
#include "vsim/world.h"

namespace {

using orb::com::ComPtr;

const CLSID kSource = {0xe82536a0, 0x94da, 0x11d2, {0xa4, 0x63, 0x00, 0xa0, 0xc9, 0x5d, 0x30, 0x8d}};
const CLSID kTs = {0xdbd70752, 0x0668, 0x4d54, {0x96, 0xff, 0x3b, 0x02, 0xf0, 0x26, 0xf7, 0x34}};
const CLSID kPsi = {0xf094e954, 0xa487, 0x4a7e, {0xb1, 0xfd, 0x6c, 0x37, 0x17, 0xde, 0x6c, 0x5d}};

std::wstring ExeDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/"));
}

QsimHooks& Sim() {
  static QsimHooks hooks(ORB_QUARNSIM_PATH);
  return hooks;
}

class Env : public ::testing::Environment {
 public:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_NE(Sim().module, nullptr) << Sim().windowsPath;
    ASSERT_NE(Sim().Reset, nullptr);
    ASSERT_EQ(Sim().Register(), S_OK);
  }
  void TearDown() override { CoUninitialize(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new Env);

ComPtr<IPin> FindPin(IBaseFilter* f, const wchar_t* name) {
  ComPtr<IPin> pin;
  f->FindPin(name, pin.Put());
  return pin;
}

ComPtr<IPin> FirstPin(IBaseFilter* f, PIN_DIRECTION want) {
  ComPtr<IEnumPins> e;
  if (FAILED(f->EnumPins(e.Put()))) return {};
  IPin* p = nullptr;
  while (e->Next(1, &p, nullptr) == S_OK) {
    PIN_DIRECTION d;
    p->QueryDirection(&d);
    ComPtr<IPin> pin;
    *pin.Put() = p;
    if (d == want) return pin;
  }
  return {};
}

std::vector<unsigned char> ReadFile(const std::wstring& path) {
  std::vector<unsigned char> bytes;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return bytes;
  unsigned char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  fclose(f);
  return bytes;
}

class QuarnSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Sim().Reset();
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(graph_.Put())),
              S_OK);
    ASSERT_EQ(CoCreateInstance(kSource, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(source_.Put())),
              S_OK);
    ASSERT_EQ(graph_->AddFilter(source_.Get(), L"QUARN"), S_OK);
    ASSERT_EQ(source_.As(tuner_), S_OK);
    ASSERT_EQ(source_.As(data_), S_OK);
    ASSERT_EQ(graph_.As(control_), S_OK);
  }
  void TearDown() override {
    if (control_) control_->Stop();
    tuner_ = nullptr;
    data_ = nullptr;
    control_ = nullptr;
    source_ = nullptr;
    graph_ = nullptr;
    EXPECT_EQ(Sim().RunningStreams(), 0);
    EXPECT_EQ(Sim().LiveFilters(), 0);
  }

  // 19.2E, 11836 MHz horizontal, on a universal LNB behind switch input A.
  void TuneAstraLike() {
    ASSERT_EQ(tuner_->Initialize(), S_OK);
    ASSERT_EQ(tuner_->SetDiseqc(3), S_OK);
    ASSERT_EQ(tuner_->SetLnbFrequency(10600), S_OK);
    ASSERT_EQ(tuner_->SetTone(1), S_OK);
    ASSERT_EQ(tuner_->SetFrequency(11836000), S_OK);
    ASSERT_EQ(tuner_->SetSymbolRate(27500), S_OK);
    ASSERT_EQ(tuner_->SetPolarity(0), S_OK);
    ASSERT_EQ(tuner_->SetFec(6), S_OK);
    ASSERT_EQ(tuner_->ApplyTuning(), S_OK);
    ASSERT_EQ(tuner_->CheckLock(), S_OK);
  }

  ComPtr<IBaseFilter> Add(const CLSID& clsid, const wchar_t* name) {
    ComPtr<IBaseFilter> f;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(f.Put())),
              S_OK);
    if (f) {
      EXPECT_EQ(graph_->AddFilter(f.Get(), name), S_OK);
    }
    return f;
  }

  ComPtr<IGraphBuilder> graph_;
  ComPtr<IBaseFilter> source_;
  ComPtr<IQuarnMPEG2TunerCtrl2> tuner_;
  ComPtr<IQuarnMPEG2DataCtrl3> data_;
  ComPtr<IMediaControl> control_;
};

TEST_F(QuarnSimTest, SourcePinsAndTunerFollowTheWorld) {
  const wchar_t* names[] = {L"Data 0", L"Data 1", L"Data 2", L"Data 3", L"Audio", L"Video"};
  for (const wchar_t* n : names) {
    ComPtr<IPin> p = FindPin(source_.Get(), n);
    ASSERT_TRUE(p) << n;
    PIN_DIRECTION d;
    p->QueryDirection(&d);
    EXPECT_EQ(d, PINDIR_OUTPUT);
  }
  ComPtr<IQuarnMPEG2AVCtrl> av;
  EXPECT_EQ(source_.As(av), S_OK);

  QuarnTunerCaps caps{};
  static_assert(sizeof(QuarnTunerCaps) == 44, "capabilities record");
  ASSERT_EQ(tuner_->GetTunerCapabilities(&caps), S_OK);
  EXPECT_EQ(caps.tunerType, 0u);
  EXPECT_EQ(caps.performance & 0x60u, 0x60u);

  // Not tuned yet: no lock, nothing to read back.
  EXPECT_EQ(tuner_->CheckLock(), QUARN_E_NOT_LOCKED);
  double mhz = 0;
  EXPECT_TRUE(FAILED(tuner_->GetFrequency(&mhz)));
  TuneAstraLike();
  ASSERT_EQ(tuner_->GetFrequency(&mhz), S_OK);
  EXPECT_DOUBLE_EQ(mhz, 11836.0);
  ULONG strength = 0, quality = 0;
  EXPECT_EQ(tuner_->GetSignalStrength(&strength), S_OK);
  EXPECT_EQ(tuner_->GetSignalQuality(&quality), S_OK);
  EXPECT_GT(strength, 50u);
  EXPECT_GT(quality, 50u);

  // Vertical on the same frequency: nothing there.
  ASSERT_EQ(tuner_->SetPolarity(1), S_OK);
  ASSERT_EQ(tuner_->ApplyTuning(), S_OK);
  EXPECT_EQ(tuner_->CheckLock(), QUARN_E_NOT_LOCKED);
  EXPECT_LT((tuner_->GetSignalStrength(&strength), strength), 50u);
  // Tone burst B selects 13.0E: 11034 V low band.
  ASSERT_EQ(tuner_->SetDiseqc(2), S_OK);
  ASSERT_EQ(tuner_->SetLnbFrequency(9750), S_OK);
  ASSERT_EQ(tuner_->SetTone(0), S_OK);
  ASSERT_EQ(tuner_->SetFrequency(11034000), S_OK);
  ASSERT_EQ(tuner_->ApplyTuning(), S_OK);
  EXPECT_EQ(tuner_->CheckLock(), S_OK);
  // DiSEqC 1.0: "A/B" (option B) has nothing behind it, "B/A" (position B) is 13.0E.
  ASSERT_EQ(tuner_->SetDiseqc(4), S_OK);
  ASSERT_EQ(tuner_->ApplyTuning(), S_OK);
  EXPECT_EQ(tuner_->CheckLock(), QUARN_E_NOT_LOCKED);
  ASSERT_EQ(tuner_->SetDiseqc(5), S_OK);
  ASSERT_EQ(tuner_->ApplyTuning(), S_OK);
  EXPECT_EQ(tuner_->CheckLock(), S_OK);
  ASSERT_GE(Sim().TuneCount(), 5);

  // Codes out of range are refused.
  EXPECT_EQ(tuner_->SetFec(9), E_INVALIDARG);
  EXPECT_EQ(tuner_->SetDiseqc(7), E_INVALIDARG);
  ULONG count = 1, pid = 0x2000;
  EXPECT_EQ(data_->AddPIDs(&count, &pid, 0), E_INVALIDARG);
  EXPECT_EQ(data_->AddPIDs(&count, &pid, 4), QUARN_E_BAD_PIN);
}

// The base's enumerators answer as COM enumerators do: Next and Skip give
// S_OK for every element asked for and S_FALSE when the list ends first.
TEST_F(QuarnSimTest, PinAndMediaTypeEnumeratorsCountAsComEnumeratorsDo) {
  ComPtr<IPin> pin = FindPin(source_.Get(), L"Data 0");
  ASSERT_TRUE(pin);
  ComPtr<IEnumMediaTypes> types;
  ASSERT_EQ(pin->EnumMediaTypes(types.Put()), S_OK);
  EXPECT_EQ(types->Skip(0), S_OK);  // nothing to skip: done
  AM_MEDIA_TYPE* mt[2] = {};
  ULONG got = 9;
  EXPECT_EQ(types->Next(2, mt, &got), S_FALSE);  // the pin has one type
  EXPECT_EQ(got, 1u);
  ASSERT_NE(mt[0], nullptr);
  EXPECT_TRUE(IsEqualGUID(mt[0]->majortype, orb::ds::kMediaTypeStream));
  if (mt[0]->pbFormat) CoTaskMemFree(mt[0]->pbFormat);
  CoTaskMemFree(mt[0]);
  EXPECT_EQ(types->Skip(0), S_OK);
  EXPECT_EQ(types->Skip(1), S_FALSE);  // at the end already
  ASSERT_EQ(types->Reset(), S_OK);
  EXPECT_EQ(types->Skip(1), S_OK);
  EXPECT_EQ(types->Skip(1), S_FALSE);
  ASSERT_EQ(types->Reset(), S_OK);
  EXPECT_EQ(types->Skip(2), S_FALSE);  // one skipped, not two

  ComPtr<IEnumPins> pins;
  ASSERT_EQ(source_->EnumPins(pins.Put()), S_OK);
  EXPECT_EQ(pins->Skip(0), S_OK);
  EXPECT_EQ(pins->Skip(5), S_OK);
  IPin* left[3] = {};
  got = 9;
  EXPECT_EQ(pins->Next(3, left, &got), S_FALSE);  // six pins: one left
  ASSERT_EQ(got, 1u);
  left[0]->Release();
  EXPECT_EQ(pins->Skip(1), S_FALSE);
}

TEST_F(QuarnSimTest, CableAndTerrestrialTuners) {
  Sim().SetTunerType(1);
  QuarnTunerCaps caps{};
  ASSERT_EQ(tuner_->GetTunerCapabilities(&caps), S_OK);
  EXPECT_EQ(caps.tunerType, 1u);
  ASSERT_EQ(tuner_->Initialize(), S_OK);
  tuner_->SetFrequency(346000);
  tuner_->SetSymbolRate(6900);
  tuner_->SetModulation(5);  // 64-QAM
  ASSERT_EQ(tuner_->ApplyTuning(), S_OK);
  EXPECT_EQ(tuner_->CheckLock(), S_OK);
  tuner_->SetModulation(7);  // 256-QAM: not what 346 MHz carries
  tuner_->ApplyTuning();
  EXPECT_EQ(tuner_->CheckLock(), QUARN_E_NOT_LOCKED);

  Sim().SetTunerType(2);
  tuner_->SetFrequency(506000);
  tuner_->SetGuardInterval(4);
  ASSERT_EQ(tuner_->ApplyTuning(), S_OK);
  EXPECT_EQ(tuner_->CheckLock(), S_OK);
  tuner_->SetFrequency(514000);
  tuner_->ApplyTuning();
  EXPECT_EQ(tuner_->CheckLock(), QUARN_E_NOT_LOCKED);
}

// Source "Data 0" -> TS filter -> demultiplexer "PSI Pin" -> PSI parser, as
// section reading builds it.
TEST_F(QuarnSimTest, SectionsReachThePsiParserByTheCollectionRules) {
  TuneAstraLike();
  ComPtr<IBaseFilter> ts = Add(kTs, L"TS");
  ComPtr<IBaseFilter> demux = Add(orb::ds::kClsidMpeg2Demultiplexer, L"Demux");
  ComPtr<IBaseFilter> psi = Add(kPsi, L"PSI");
  ASSERT_TRUE(ts && demux && psi);
  ASSERT_EQ(graph_->ConnectDirect(FindPin(source_.Get(), L"Data 0").Get(), FirstPin(ts.Get(), PINDIR_INPUT).Get(),
                                  nullptr),
            S_OK);
  ASSERT_EQ(graph_->Connect(FirstPin(ts.Get(), PINDIR_OUTPUT).Get(), FirstPin(demux.Get(), PINDIR_INPUT).Get()),
            S_OK);
  ComPtr<IMpeg2Demultiplexer> dmx;
  ASSERT_EQ(demux.As(dmx), S_OK);
  ComPtr<IQuarnPSIParser> parser;
  ASSERT_EQ(psi.As(parser), S_OK);

  // PAT (PID 0) and SDT actual (PID 0x11, table 0x42).
  SectionFilterSpec specs[3] = {};
  specs[0].pid = 0;
  specs[0].table_id = 0x00;
  specs[1].pid = 0x11;
  specs[1].table_id = 0x42;
  specs[2].pid = 0x11;
  specs[2].table_id = 0x46;  // SDT other
  specs[2].mode = SFM_BY_EXTENSION_ONID;
  ULONG pids[2] = {0, 0x11};
  for (int i = 0; i < 2; ++i) {
    AM_MEDIA_TYPE mt{};
    mt.majortype = orb::ds::kMediaTypeMpeg2Sections;
    mt.subtype = orb::ds::kSubtypeNone;
    wchar_t name[32];
    swprintf(name, 32, L"DMX Pin %lu", pids[i]);
    ComPtr<IPin> out;
    ASSERT_EQ(dmx->CreateOutputPin(&mt, name, out.Put()), S_OK);
    ComPtr<IMPEG2PIDMap> map;
    ASSERT_EQ(out.As(map), S_OK);
    ASSERT_EQ(map->MapPID(1, &pids[i], MEDIA_MPEG2_PSI), S_OK);
    swprintf(name, 32, L"PSI Pin %lu", pids[i]);
    ComPtr<IPin> in;
    ASSERT_EQ(parser->CreatePin(name, in.Put()), S_OK);
    ComPtr<IMPEG2PIDMap> inMap;
    ASSERT_EQ(in.As(inMap), S_OK);
    ASSERT_EQ(inMap->MapPID(1, &pids[i], MEDIA_MPEG2_PSI), S_OK);
    ASSERT_EQ(graph_->ConnectDirect(out.Get(), in.Get(), nullptr), S_OK);
  }
  SectionResult results[3] = {};
  HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ASSERT_EQ(parser->SetTableFilter(3, specs, 5, done, results), S_OK);
  ULONG n = 2;
  ASSERT_EQ(data_->AddPIDs(&n, pids, 0), S_OK);
  EXPECT_EQ(n, 2u);
  ASSERT_TRUE(SUCCEEDED(control_->Run()));
  // SDT other completes only at 32 sections or a repeat: a whole cycle.
  EXPECT_EQ(WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
  // Nothing is handed over before the graph stops.
  EXPECT_EQ(results[0].count, 0u);
  ASSERT_EQ(control_->Stop(), S_OK);
  CloseHandle(done);
  ASSERT_EQ(results[0].count, 1u);
  ASSERT_NE(results[0].sections, nullptr);
  EXPECT_EQ(results[0].sections[0][0], 0x00);
  ASSERT_GE(results[1].count, 1u);
  EXPECT_EQ(results[1].sections[0][0], 0x42);
  ASSERT_GE(results[2].count, 1u);
  EXPECT_EQ(results[2].sections[0][0], 0x46);
  for (SectionResult& r : results) {
    for (uint32_t i = 0; i < r.count; ++i) CoTaskMemFree(r.sections[i]);
    CoTaskMemFree(r.sections);
  }
  // A second run with no table filter leaves everything alone.
  ASSERT_TRUE(SUCCEEDED(control_->Run()));
  ASSERT_EQ(control_->Stop(), S_OK);
}

TEST_F(QuarnSimTest, DumpFilterWritesChosenPacketsAndPes) {
  TuneAstraLike();
  const std::wstring tsFile = ExeDir() + L"\\quarnsim_data.ts";
  const std::wstring videoFile = ExeDir() + L"\\quarnsim_video.bin";
  DeleteFileW(tsFile.c_str());
  DeleteFileW(videoFile.c_str());
  ComPtr<IBaseFilter> dump = Add(orb::ds::kClsidDumpFilter, L"Dump");
  ComPtr<IBaseFilter> dumpV = Add(orb::ds::kClsidDumpFilter, L"DumpV");
  ComPtr<IFileSinkFilter> sink, sinkV;
  ASSERT_EQ(dump.As(sink), S_OK);
  ASSERT_EQ(dumpV.As(sinkV), S_OK);
  ASSERT_EQ(sink->SetFileName(tsFile.c_str(), nullptr), S_OK);
  ASSERT_EQ(sinkV->SetFileName(videoFile.c_str(), nullptr), S_OK);
  ASSERT_EQ(graph_->ConnectDirect(FindPin(source_.Get(), L"Data 1").Get(),
                                  FirstPin(dump.Get(), PINDIR_INPUT).Get(), nullptr),
            S_OK);
  // A second connection of the same pin is refused.
  EXPECT_EQ(graph_->ConnectDirect(FindPin(source_.Get(), L"Data 1").Get(),
                                  FirstPin(dumpV.Get(), PINDIR_INPUT).Get(), nullptr),
            VFW_E_ALREADY_CONNECTED);
  ASSERT_EQ(graph_->Connect(FindPin(source_.Get(), L"Video").Get(), FirstPin(dumpV.Get(), PINDIR_INPUT).Get()),
            S_OK);
  ComPtr<IQuarnMPEG2AVCtrl> av;
  ASSERT_EQ(source_.As(av), S_OK);
  ULONG pids[2] = {0x0000, 0x0011};
  ULONG n = 2;
  ASSERT_EQ(data_->AddPIDs(&n, pids, 1), S_OK);
  // The generated services carry video on their PMT PID + 1; the first
  // service's PMT is on 0x100.
  ASSERT_EQ(av->SetAudioVideoPIDs(0x1FFF, 0x101), S_OK);
  ASSERT_TRUE(SUCCEEDED(control_->Run()));
  EXPECT_EQ(Sim().RunningStreams(), 1);
  // The stream plays in real time: wait (bounded) until both files have data.
  for (int i = 0; i < 500; ++i) {
    WIN32_FILE_ATTRIBUTE_DATA a{}, b{};
    if (GetFileAttributesExW(tsFile.c_str(), GetFileExInfoStandard, &a) &&
        GetFileAttributesExW(videoFile.c_str(), GetFileExInfoStandard, &b) && a.nFileSizeLow > 188 * 4 &&
        b.nFileSizeLow > 1000)
      break;
    Sleep(10);
  }
  ASSERT_EQ(control_->Stop(), S_OK);
  EXPECT_EQ(Sim().RunningStreams(), 0);

  const std::vector<unsigned char> ts = ReadFile(tsFile);
  ASSERT_GT(ts.size(), 0u);
  ASSERT_EQ(ts.size() % 188, 0u);
  for (size_t at = 0; at < ts.size(); at += 188) {
    ASSERT_EQ(ts[at], 0x47);
    const int pid = (ts[at + 1] & 0x1F) << 8 | ts[at + 2];
    ASSERT_TRUE(pid == 0 || pid == 0x11) << pid;
  }
  const std::vector<unsigned char> pes = ReadFile(videoFile);
  ASSERT_GT(pes.size(), 4u);
  EXPECT_EQ(pes[0], 0x00);  // a PES start code prefix and the video stream id
  EXPECT_EQ(pes[1], 0x00);
  EXPECT_EQ(pes[2], 0x01);
  EXPECT_EQ(pes[3], 0xE0);
  ASSERT_EQ(data_->RemovePIDs(2, pids, 1), S_OK);
  ULONG left = 8, got[8];
  ASSERT_EQ(data_->GetPIDs(1, &left, got), S_OK);
  EXPECT_EQ(left, 0u);
}

}  // namespace

// ---- robustness: any bytes through demultiplexer and PSI parser ----------

namespace {

// A source of our own on the filter base: pushes whatever bytes the test
// gives it as an MPEG-2 transport stream.
class CPushSource final : public orb::ds::CBaseFilter {
 public:
  class Pin final : public orb::ds::COutputPin {
   public:
    explicit Pin(orb::ds::CBaseFilter* f) : COutputPin(f, L"Out") {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
      return IsEqualGUID(mt->majortype, orb::ds::kMediaTypeStream) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int i, orb::ds::MediaType* mt) override {
      if (i != 0) return VFW_S_NO_MORE_ITEMS;
      *mt = orb::ds::MediaType(orb::ds::kMediaTypeStream, orb::ds::kSubtypeMpeg2Transport);
      return S_OK;
    }
  };
  CPushSource() : CBaseFilter(GUID_NULL), pin_(this) {}
  HRESULT Push(const vsim::Bytes& b) { return pin_.Deliver(b.data(), b.size()); }
  Pin& OutPin() { return pin_; }

 protected:
  int PinCount() override { return 1; }
  orb::ds::CBasePin* PinAt(int i) override { return i == 0 ? &pin_ : nullptr; }

 private:
  Pin pin_;
};

TEST_F(QuarnSimTest, DamagedBytesAroundIntactSectionsAreSkipped) {
  auto* push = new CPushSource();
  ComPtr<IBaseFilter> source(push);
  ASSERT_EQ(graph_->AddFilter(source.Get(), L"Push"), S_OK);
  ComPtr<IBaseFilter> demux = Add(orb::ds::kClsidMpeg2Demultiplexer, L"Demux");
  ComPtr<IBaseFilter> psi = Add(kPsi, L"PSI");
  ASSERT_EQ(graph_->ConnectDirect(&push->OutPin(), FirstPin(demux.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
  ComPtr<IMpeg2Demultiplexer> dmx;
  ASSERT_EQ(demux.As(dmx), S_OK);
  ComPtr<IQuarnPSIParser> parser;
  ASSERT_EQ(psi.As(parser), S_OK);
  AM_MEDIA_TYPE mt{};
  mt.majortype = orb::ds::kMediaTypeMpeg2Sections;
  mt.subtype = orb::ds::kSubtypeNone;
  wchar_t dmxName[] = L"DMX Pin 0";
  ComPtr<IPin> out, in;
  ASSERT_EQ(dmx->CreateOutputPin(&mt, dmxName, out.Put()), S_OK);
  ComPtr<IMPEG2PIDMap> map, inMap;
  ULONG pid = 0;
  ASSERT_EQ(out.As(map), S_OK);
  ASSERT_EQ(map->MapPID(1, &pid, MEDIA_MPEG2_PSI), S_OK);
  ASSERT_EQ(parser->CreatePin(L"PSI Pin 0", in.Put()), S_OK);
  ASSERT_EQ(in.As(inMap), S_OK);
  ASSERT_EQ(inMap->MapPID(1, &pid, MEDIA_MPEG2_PSI), S_OK);
  ASSERT_EQ(graph_->ConnectDirect(out.Get(), in.Get(), nullptr), S_OK);

  SectionFilterSpec spec{};
  spec.table_id = 0x00;
  spec.mode = SFM_BY_EXTENSION;  // keeps every distinct PAT until one repeats
  SectionResult result{};
  HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ASSERT_EQ(parser->SetTableFilter(1, &spec, 5, done, &result), S_OK);
  ASSERT_TRUE(SUCCEEDED(control_->Run()));

  // The PAT of a generated multiplex, packetised.
  const vsim::World world = vsim::DefaultWorld();
  vsim::Bytes pat;
  for (const vsim::TableSections& t : vsim::GenerateTables(world, world.satellites[0].transponders[0], {}))
    if (t.pid == 0) pat = t.sections.at(0);
  ASSERT_FALSE(pat.empty());
  vsim::u8 cc = 0;
  vsim::Bytes good;
  vsim::PacketiseSections(0, {pat}, &cc, good);

  std::mt19937 random(1234);
  auto garbage = [&](size_t n) {
    vsim::Bytes b(n);
    for (auto& x : b) x = static_cast<vsim::u8>(random());
    return b;
  };
  // A packet on PID 0 whose adaptation field claims more than the packet,
  // one whose pointer field points past it, and a PAT with a broken CRC.
  vsim::Bytes badAdaptation(188, 0xFF);
  badAdaptation[0] = 0x47, badAdaptation[1] = 0x40, badAdaptation[2] = 0x00, badAdaptation[3] = 0x30;
  badAdaptation[4] = 250;
  vsim::Bytes badPointer(188, 0xFF);
  badPointer[0] = 0x47, badPointer[1] = 0x40, badPointer[2] = 0x00, badPointer[3] = 0x10, badPointer[4] = 200;
  vsim::Bytes brokenCrc = pat;
  brokenCrc.back() ^= 0xFF;
  vsim::Bytes broken;
  vsim::PacketiseSections(0, {brokenCrc}, &cc, broken);

  for (int round = 0; round < 20; ++round) {
    push->Push(garbage(1 + random() % 500));
    push->Push(badAdaptation);
    push->Push(badPointer);
    push->Push(broken);
    push->Push(garbage(random() % 3));
    // Whole packets after the garbage: the demultiplexer finds the sync again.
    push->Push(good);
    push->Push(good);  // a repeat completes the request
  }
  EXPECT_EQ(WaitForSingleObject(done, 5000), WAIT_OBJECT_0);
  ASSERT_EQ(control_->Stop(), S_OK);
  CloseHandle(done);
  ASSERT_EQ(result.count, 1u);
  EXPECT_EQ(std::memcmp(result.sections[0], pat.data(), pat.size()), 0);
  CoTaskMemFree(result.sections[0]);
  CoTaskMemFree(result.sections);
  source = nullptr;
}

}  // namespace
