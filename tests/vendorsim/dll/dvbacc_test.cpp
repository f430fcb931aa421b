// The simulated access library as the plug-ins use it: start-up per card
// family, tuning with DiSEqC, section and packet filters delivering on the
// library's thread, recording and failure injection.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "dvbacc/dvbacc_sim.h"
#include "lib13818/section.h"
#include "vsim/multiplex.h"

namespace {

constexpr DWORD kWaitMs = 20000;  // bound for data to arrive; never reached when all is well

int Family() { return VsimFamily(); }
FILTERTYPE SectionType() { return Family() == VSIM_FAMILY_PREMIUM ? FILTERTYPE_SECTIONS : FILTERTYPE_SECTIONS_SW; }
FILTERTYPE OtherSectionType() {
  return Family() == VSIM_FAMILY_PREMIUM ? FILTERTYPE_SECTIONS_SW : FILTERTYPE_SECTIONS;
}

// A file in the temporary folder, unique to this test program (the three
// libraries' tests may run at once).
std::wstring TempFile(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"vsim" + std::to_wstring(GetCurrentProcessId()) + L"_" + name;
}

std::string Trace() {
  int n = VsimGetTrace(nullptr, 0);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  VsimGetTrace(&s[0], n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

// The start-up each plug-in runs for its family.
void StartCard(CDVBBoardControl& board, CDVBFrontend& fe, int index = 0) {
  ASSERT_EQ(InitDvbApiDll(), 0);
  ASSERT_TRUE(CDVBCommon::OpenDevice(index, nullptr, 0));
  switch (Family()) {
    case VSIM_FAMILY_PREMIUM: {
      ASSERT_EQ(board.BootARMnew(L"C:\\plugins\\Boot\\new\\"), 0);
      BE_VERSION v{};
      ASSERT_EQ(board.GetBEVersion(v), 0);
      ASSERT_EQ(fe.Init(), 0);
      ASSERT_EQ(board.EnableDataDMA(1), 0);
      break;
    }
    case VSIM_FAMILY_BUDGET:
      ASSERT_EQ(board.ResetInit(), 0);
      ASSERT_EQ(fe.Init(), 0);
      ASSERT_EQ(board.EnableDataDMA(1), 0);
      break;
    default: {
      ASSERT_EQ(board.ResetInit(), 0);
      ASSERT_EQ(fe.Init(), 0);
      ASSERT_EQ(board.BootDSP(L"C:\\plugins\\Boot\\dsp_usb.bin"), 0);
      BANDWIDTH bw = ISO_BANDWIDTH_FULL;
      ASSERT_EQ(board.EnableIsoStream(bw, 1, 8), 0);
      break;
    }
  }
}

// A satellite tune as the driver does it with a universal LNB.
CHANNEL_TYPE SatChannel(DWORD freq, bool vertical, DWORD sr) {
  CHANNEL_TYPE c{};
  c.dwFreq = freq;
  c.Inversion = INVERSION_AUTO;
  c.dwSymbRate = sr;
  c.bF22kHz = freq >= 11700000;
  c.dwLOF = c.bF22kHz ? 10600000 : 9750000;
  c.LNB_Power = vertical ? 13 : 18;
  return c;
}

bool Locked(CDVBFrontend& fe) {
  BOOL locked = FALSE;
  EXPECT_EQ(fe.GetState(locked, nullptr, nullptr), 0);
  return locked != FALSE;
}

class Collector : public CDVBTSFilter {
 public:
  explicit Collector(size_t wanted) : wanted_(wanted), event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Collector() override {
    DetachFilter();
    CloseHandle(event_);
  }
  void OnDataArrival(BYTE* data, int length) override {
    std::lock_guard<std::mutex> l(m_);
    items_.emplace_back(data, data + length);
    threads_.push_back(GetCurrentThreadId());
    if (items_.size() >= wanted_) SetEvent(event_);
  }
  bool Wait() { return WaitForSingleObject(event_, kWaitMs) == WAIT_OBJECT_0; }
  std::vector<std::vector<BYTE>> Items() {
    std::lock_guard<std::mutex> l(m_);
    return items_;
  }
  std::vector<DWORD> Threads() {
    std::lock_guard<std::mutex> l(m_);
    return threads_;
  }

 private:
  size_t wanted_;
  HANDLE event_;
  std::mutex m_;
  std::vector<std::vector<BYTE>> items_;
  std::vector<DWORD> threads_;
};

class VendorLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"ORB_VSIM_DEVICES", nullptr);
    VsimReset();
  }
  void TearDown() override { VsimReset(); }
};

TEST_F(VendorLibrary, StartsOnlyInTheFamilysOrder) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  EXPECT_EQ(CDVBCommon::GetNumberOfDevices(), 1);
  EXPECT_FALSE(CDVBCommon::OpenDevice(0, nullptr, 0));  // library not initialised
  ASSERT_EQ(InitDvbApiDll(), 0);
  EXPECT_FALSE(CDVBCommon::OpenDevice(1, nullptr, 0));  // only one card
  ASSERT_TRUE(CDVBCommon::OpenDevice(0, nullptr, 0));
  EXPECT_NE(fe.Init(), 0);  // the board is not started yet
  EXPECT_NE(board.EnableDataDMA(1), 0);
  BE_VERSION v{};
  BANDWIDTH bw = ISO_BANDWIDTH_FULL;
  switch (Family()) {
    case VSIM_FAMILY_PREMIUM:
      EXPECT_NE(board.GetBEVersion(v), 0);
      EXPECT_NE(board.ResetInit(), 0);
      EXPECT_NE(board.BootDSP("x"), 0);
      EXPECT_EQ(board.BootARMnew("C:\\Boot\\new\\"), 0);
      EXPECT_EQ(board.GetBEVersion(v), 0);
      EXPECT_NE(v.Firmware, 0u);
      break;
    case VSIM_FAMILY_BUDGET:
      EXPECT_NE(board.BootARMnew("C:\\Boot\\new\\"), 0);
      EXPECT_NE(board.EnableIsoStream(bw, 1, 8), 0);
      EXPECT_EQ(board.ResetInit(), 0);
      break;
    default:
      EXPECT_NE(board.BootARMnew("C:\\Boot\\new\\"), 0);
      EXPECT_NE(board.EnableIsoStream(bw, 1, 8), 0);  // DSP not booted
      EXPECT_EQ(board.ResetInit(), 0);
      EXPECT_EQ(board.BootDSP("C:\\Boot\\dsp_usb.bin"), 0);
      EXPECT_EQ(board.EnableIsoStream(bw, 1, 8), 0);
      break;
  }
  EXPECT_EQ(fe.Init(), 0);
  EXPECT_EQ(fe.GetType(), FRONTEND_TYPE_SATELLITE);
  EXPECT_TRUE(fe.GetCapabilities() & FE_CAP_AUTO_FEC);
  EXPECT_EQ((fe.GetCapabilities() & FE_CAP_AUTO_INVERSION) != 0, Family() != VSIM_FAMILY_BUDGET);
  EXPECT_NE(Trace().find("OpenDevice 0 -> ok"), std::string::npos);
}

TEST_F(VendorLibrary, SatelliteLocksOnlyWhereTheDishReceives) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  CHANNEL_TYPE c{};
  EXPECT_NE(fe.GetChannel(c), 0);  // nothing tuned yet

  BYTE reset[3] = {0xE0, 0x00, 0x00};
  ASSERT_EQ(fe.SendDiSEqCMsg(reset, 3, DISEQC_NO_BURST), 0);
  CHANNEL_TYPE ch = SatChannel(11836000, false, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  EXPECT_TRUE(Locked(fe));
  SIGNAL_TYPE sig{};
  LOCK_TYPE lk{};
  BOOL locked = FALSE;
  ASSERT_EQ(fe.GetState(locked, &sig, &lk), 0);
  EXPECT_GT(sig.Level, 50u);
  EXPECT_LT(sig.BER, 0.001);
  EXPECT_TRUE(lk.Sync);
  ASSERT_EQ(fe.GetChannel(c), 0);
  EXPECT_EQ(c.dwFreq, 11836000u);
  EXPECT_EQ(c.LNB_Power, 18u);

  // Wrong polarisation, then a transponder of the other satellite while the
  // switch is still on A/A.
  ch = SatChannel(11836000, true, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  EXPECT_FALSE(Locked(fe));
  ch = SatChannel(11034000, true, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  EXPECT_FALSE(Locked(fe));

  // DiSEqC 1.0 to position B (the driver's slot 2, vertical, low band: F4),
  // sent and repeated as the driver does.
  BYTE slot2[4] = {0xE0, 0x10, 0x38, 0xF4};
  ASSERT_EQ(fe.SendDiSEqCMsg(slot2, 4, DISEQC_NO_BURST), 0);
  slot2[0] = 0xE1;
  ASSERT_EQ(fe.SendDiSEqCMsg(slot2, 4, DISEQC_NO_BURST), 0);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  EXPECT_TRUE(Locked(fe));

  // A tone burst back to A loses the carrier.
  ASSERT_EQ(fe.SendDiSEqCMsg(nullptr, 0, DISEQC_BURST_A), 0);
  EXPECT_FALSE(Locked(fe));
  BYTE bad[7] = {0xE0, 0x10, 0x38, 0xF0, 0, 0, 0};
  EXPECT_NE(fe.SendDiSEqCMsg(bad, 7, DISEQC_NO_BURST), 0);

  // Everything was recorded.
  ASSERT_EQ(VsimDiseqcCount(), 5);
  VSIM_DISEQC d{};
  ASSERT_EQ(VsimGetDiseqc(1, &d), 0);
  EXPECT_EQ(d.Length, 4);
  EXPECT_EQ(d.Message[3], 0xF4);
  EXPECT_EQ(d.SwitchInput, 1);
  ASSERT_EQ(VsimGetDiseqc(3, &d), 0);
  EXPECT_EQ(d.Burst, DISEQC_BURST_A);
  ASSERT_EQ(VsimGetDiseqc(4, &d), 0);
  EXPECT_EQ(d.Accepted, 0);
  ASSERT_EQ(VsimChannelCount(), 4);
  VSIM_CHANNEL rc{};
  ASSERT_EQ(VsimGetChannel(0, &rc), 0);
  EXPECT_EQ(rc.Locked, 1);
  EXPECT_EQ(rc.TransportStreamId, 0x0441);
  EXPECT_EQ(rc.Channel.dwLOF, 10600000u);
  EXPECT_EQ(rc.Channel.bF22kHz, 1u);
  ASSERT_EQ(VsimGetChannel(3, &rc), 0);
  EXPECT_EQ(rc.SwitchInput, 1);
  EXPECT_EQ(rc.TransportStreamId, 0x1001);
  EXPECT_EQ(VsimGetChannel(4, &rc), -1);
  EXPECT_NE(Trace().find("SendDiSEqCMsg E0 10 38 F4 burst=255 -> input 1"), std::string::npos);
}

TEST_F(VendorLibrary, CableAndTerrestrialFrontEnds) {
  ASSERT_EQ(VsimSetDevices("cable,terr"), 0);
  EXPECT_EQ(VsimSetDevices("sat,radio"), -1);
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe, 0);
  ASSERT_EQ(fe.GetType(), FRONTEND_TYPE_CABLE);
  BYTE msg[3] = {0xE0, 0x00, 0x00};
  EXPECT_NE(fe.SendDiSEqCMsg(msg, 3, DISEQC_NO_BURST), 0);
  CHANNEL_TYPE c{};
  c.dwFreq = 346000;
  c.Inversion = INVERSION_AUTO;
  c.dwSymbRate = 6900000;
  c.Qam = QAM_64;
  c.BandWidth = BANDWIDTH_AUTO;
  ASSERT_EQ(fe.SetChannel(c, 0), 0);
  EXPECT_TRUE(Locked(fe));
  c.Qam = QAM_256;
  ASSERT_EQ(fe.SetChannel(c, 0), 0);
  EXPECT_FALSE(Locked(fe));
  c.Qam = 9;
  EXPECT_NE(fe.SetChannel(c, 0), 0);

  CDVBCommon::CloseDevice();
  StartCard(board, fe, 1);
  ASSERT_EQ(fe.GetType(), FRONTEND_TYPE_TERRESTRIAL);
  DWORD lo = 9, hi = 9;
  ASSERT_EQ(fe.GetBandwidthRange(lo, hi), 0);
  EXPECT_EQ(lo, static_cast<DWORD>(BANDWIDTH_7_MHZ));
  EXPECT_EQ(hi, static_cast<DWORD>(BANDWIDTH_8_MHZ));
  CHANNEL_TYPE t{};
  t.dwFreq = 506000;
  t.Inversion = INVERSION_AUTO;
  t.BandWidth = BANDWIDTH_8_MHZ;
  ASSERT_EQ(fe.SetChannel(t, 0), 0);
  EXPECT_TRUE(Locked(fe));
  t.BandWidth = BANDWIDTH_AUTO;
  ASSERT_EQ(fe.SetChannel(t, 0), 0);
  EXPECT_EQ(Locked(fe), (fe.GetCapabilities() & FE_CAP_AUTO_BANDWIDTH) != 0);
}

TEST_F(VendorLibrary, SectionFiltersDeliverWholeSectionsOnTheLibrarysThread) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  CHANNEL_TYPE ch = SatChannel(11836000, false, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  ASSERT_TRUE(Locked(fe));

  BYTE pattern[16] = {0x00}, mask[16] = {0xFF};
  Collector wrong(1);
  EXPECT_NE(wrong.SetFilter(OtherSectionType(), 0x0000, pattern, mask, 1), 0);
  EXPECT_NE(wrong.SetFilter(SectionType(), 0x2000, pattern, mask, 1), 0);
  EXPECT_NE(wrong.SetFilter(SectionType(), 0x0000, pattern, mask, 17), 0);

  Collector pat(3);
  ASSERT_EQ(pat.SetFilter(SectionType(), 0x0000, pattern, mask, 1), 0);
  // EIT present/following of one service: table_id and table_id_extension.
  WORD sid = 0x0441 * 16 + 2;
  BYTE ep[16] = {0x4E, 0, 0, static_cast<BYTE>(sid >> 8), static_cast<BYTE>(sid)};
  BYTE em[16] = {0xFF, 0, 0, 0xFF, 0xFF};
  Collector eit(4);
  ASSERT_EQ(eit.SetFilter(SectionType(), 0x0012, ep, em, 5), 0);
  EXPECT_EQ(VsimActiveFilters(), 2);

  ASSERT_TRUE(pat.Wait());
  ASSERT_TRUE(eit.Wait());
  for (const auto& s : pat.Items()) {
    ASSERT_GE(s.size(), 12u);
    EXPECT_EQ(s[0], 0x00);
    EXPECT_EQ(s.size(), 3u + ((s[1] & 0x0F) << 8 | s[2]));
    EXPECT_EQ(lib13818::Crc32Mpeg(s.data(), s.size()), 0u);
    EXPECT_EQ(s[3] << 8 | s[4], 0x0441);
  }
  for (const auto& s : eit.Items()) {
    EXPECT_EQ(s[0], 0x4E);
    EXPECT_EQ(s[3] << 8 | s[4], sid);
  }
  for (DWORD id : pat.Threads()) EXPECT_NE(id, GetCurrentThreadId());

  // After ResetFilter nothing more arrives.
  ASSERT_EQ(pat.ResetFilter(), 0);
  size_t n = pat.Items().size();
  Collector more(6);
  ASSERT_EQ(more.SetFilter(SectionType(), 0x0000, pattern, mask, 1), 0);
  ASSERT_TRUE(more.Wait());
  EXPECT_EQ(pat.Items().size(), n);
  EXPECT_EQ(VsimActiveFilters(), 2);
}

TEST_F(VendorLibrary, NoDataWithoutLock) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  CHANNEL_TYPE ch = SatChannel(10832000, false, 22000000);  // wrong polarisation
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  ASSERT_FALSE(Locked(fe));
  BYTE pattern[16] = {0x00}, mask[16] = {0xFF};
  Collector pat(1);
  ASSERT_EQ(pat.SetFilter(SectionType(), 0x0000, pattern, mask, 1), 0);
  Sleep(200);
  EXPECT_EQ(pat.Items().size(), 0u);
  ch = SatChannel(10832000, true, 22000000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  ASSERT_TRUE(pat.Wait());
}

TEST_F(VendorLibrary, FilterToFileWritesPacketsAndSections) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  CHANNEL_TYPE ch = SatChannel(12603000, true, 22000000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  ASSERT_TRUE(Locked(fe));
  std::wstring packets = TempFile(L"pipe.ts");
  std::wstring sections = TempFile(L"sections.bin");
  {
    CDVBFilterToFile pipe, si;
    EXPECT_NE(pipe.StartFilter(FILTERTYPE_PACKETS, 0x10, nullptr, nullptr, 1), 0);  // no file yet
    ASSERT_EQ(pipe.SetFileParams(packets.c_str(), DVBFILE_MODE_CREATE | DVBFILE_MODE_WRITE), 0);
    ASSERT_EQ(pipe.StartFilter(FILTERTYPE_PACKETS, 0x10, nullptr, nullptr, 1), 0);
    BYTE v[16] = {0x42}, m[16] = {0xFF};
    ASSERT_EQ(si.SetFileParams(sections.c_str(), DVBFILE_MODE_CREATE | DVBFILE_MODE_WRITE), 0);
    ASSERT_EQ(si.StartFilter(SectionType(), 0x11, v, m, 16), 0);
    // Wait until the stream has gone round a few times.
    Collector pat(5);
    BYTE pp[16] = {0x00}, pm[16] = {0xFF};
    ASSERT_EQ(pat.SetFilter(SectionType(), 0x0000, pp, pm, 1), 0);
    ASSERT_TRUE(pat.Wait());
    ASSERT_EQ(pipe.StopFilter(), 0);
    ASSERT_EQ(si.StopFilter(), 0);
  }
  auto read = [](const std::wstring& path) {
    std::vector<BYTE> out;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    BYTE buf[65536];
    DWORD got = 0;
    while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) out.insert(out.end(), buf, buf + got);
    CloseHandle(f);
    return out;
  };
  std::vector<BYTE> p = read(packets);
  ASSERT_GT(p.size(), 0u);
  ASSERT_EQ(p.size() % 188, 0u);
  for (size_t i = 0; i < p.size(); i += 188) {
    EXPECT_EQ(p[i], 0x47);
    EXPECT_EQ((p[i + 1] & 0x1F) << 8 | p[i + 2], 0x10);
  }
  std::vector<BYTE> s = read(sections);
  ASSERT_GT(s.size(), 0u);
  size_t at = 0;
  while (at + 3 <= s.size()) {  // back-to-back SDT actual sections
    size_t len = 3 + ((s[at + 1] & 0x0F) << 8 | s[at + 2]);
    ASSERT_LE(at + len, s.size());
    EXPECT_EQ(s[at], 0x42);
    EXPECT_EQ(lib13818::Crc32Mpeg(&s[at], len), 0u);
    at += len;
  }
  EXPECT_EQ(at, s.size());
  DeleteFileW(packets.c_str());
  DeleteFileW(sections.c_str());
}

TEST_F(VendorLibrary, InjectedFailures) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  VsimFailCall("OpenDevice", 1);
  ASSERT_EQ(InitDvbApiDll(), 0);
  EXPECT_FALSE(CDVBCommon::OpenDevice(0, nullptr, 0));
  CDVBCommon::CloseDevice();
  StartCard(board, fe);
  CHANNEL_TYPE ch = SatChannel(11023000, false, 27500000);
  VsimFailCall("SetChannel", 1);
  EXPECT_NE(fe.SetChannel(ch, 0), 0);
  EXPECT_EQ(fe.SetChannel(ch, 0), 0);
  EXPECT_TRUE(Locked(fe));
  VsimFailCall("GetState", -1);
  BOOL locked = 7;
  EXPECT_NE(fe.GetState(locked, nullptr, nullptr), 0);
  EXPECT_EQ(locked, 7);
  VsimFailCall("GetState", 0);
  EXPECT_TRUE(Locked(fe));
  VsimFailCall("SetFilter", -1);
  BYTE pattern[16] = {0x00}, mask[16] = {0xFF};
  Collector pat(1);
  EXPECT_NE(pat.SetFilter(SectionType(), 0x0000, pattern, mask, 1), 0);
  EXPECT_EQ(VsimActiveFilters(), 0);
  VsimFailCall("FrontendInit", 1);
  EXPECT_NE(fe.Init(), 0);
  EXPECT_NE(Trace().find("SetChannel -> injected failure"), std::string::npos);

  // The same through the environment, taken up by a reset.
  SetEnvironmentVariableW(L"ORB_VSIM_FAIL", L"EnableDataDMA,GetChannel:1");
  SetEnvironmentVariableW(L"ORB_VSIM_DEVICES", L"sat,sat");
  VsimReset();
  SetEnvironmentVariableW(L"ORB_VSIM_FAIL", nullptr);
  EXPECT_EQ(CDVBCommon::GetNumberOfDevices(), 2);
  ASSERT_EQ(InitDvbApiDll(), 0);
  ASSERT_TRUE(CDVBCommon::OpenDevice(1, nullptr, 0));
  if (Family() == VSIM_FAMILY_PREMIUM) ASSERT_EQ(board.BootARMnew("C:\\Boot\\new\\"), 0);
  else ASSERT_EQ(board.ResetInit(), 0);
  EXPECT_NE(board.EnableDataDMA(1), 0);
  EXPECT_NE(board.EnableDataDMA(1), 0);
}

TEST_F(VendorLibrary, TransportStreamCaptureOnBudgetCards) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  if (Family() != VSIM_FAMILY_BUDGET) {
    EXPECT_FALSE(board.TSRecordOnOff(1));
    return;
  }
  CHANNEL_TYPE ch = SatChannel(11836000, false, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  ASSERT_TRUE(board.TSRecordOnOff(1));
  std::vector<BYTE> buf(100000);
  int n = 0;
  for (int i = 0; i < 2000 && n <= 0; ++i) {
    n = board.TSRecordRead(buf.data(), static_cast<int>(buf.size()));
    if (n <= 0) Sleep(10);
  }
  ASSERT_GT(n, 0);
  EXPECT_EQ(n % 188, 0);
  for (int i = 0; i < n; i += 188) EXPECT_EQ(buf[static_cast<size_t>(i)], 0x47);
  VsimAddLostBlocks(3);
  DWORD status[17] = {};
  ASSERT_EQ(board.GetDriverStatus(status, 17), 0);
  EXPECT_EQ(status[16], 3u);
  ASSERT_TRUE(board.TSRecordOnOff(0));
  EXPECT_EQ(board.TSRecordRead(buf.data(), static_cast<int>(buf.size())), 0);
}

TEST_F(VendorLibrary, CaptureLosesWholeBlocksWhenNobodyReads) {
  if (Family() != VSIM_FAMILY_BUDGET) return;
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  VsimSetPacketRate(100000);
  CHANNEL_TYPE ch = SatChannel(11836000, false, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  ASSERT_TRUE(board.TSRecordOnOff(1));
  // About 19 MB/s against a capture of 40 blocks: the reader that sleeps
  // half a second has lost blocks, counted in status word 16.
  DWORD status[17] = {};
  for (int i = 0; i < 200 && status[16] == 0; ++i) {
    Sleep(10);
    ASSERT_EQ(board.GetDriverStatus(status, 17), 0);
  }
  EXPECT_GT(status[16], 0u);
  // What is left is still whole packets.
  std::vector<BYTE> buf(100000);
  const int n = board.TSRecordRead(buf.data(), static_cast<int>(buf.size()));
  ASSERT_GT(n, 0);
  EXPECT_EQ(n % 188, 0);
  for (int i = 0; i < n; i += 188) EXPECT_EQ(buf[static_cast<size_t>(i)], 0x47);
  // A new capture counts afresh.
  ASSERT_TRUE(board.TSRecordOnOff(0));
  ASSERT_TRUE(board.TSRecordOnOff(1));
  ASSERT_EQ(board.GetDriverStatus(status, 17), 0);
  EXPECT_LE(status[16], 1u);
  ASSERT_TRUE(board.TSRecordOnOff(0));
}

TEST_F(VendorLibrary, DecoderRecordingOnPremiumCards) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  CDVBAVControl av;
  CDVBRecPlayFile rec;
  std::wstring path = TempFile(L"av.mpg");
  if (Family() != VSIM_FAMILY_PREMIUM) {
    EXPECT_NE(av.SetPIDs(0x102, 0x101, 0x101), 0);
    EXPECT_FALSE(rec.Open(path.c_str(), RECFILE_AV_PS, 0));
    return;
  }
  CHANNEL_TYPE ch = SatChannel(11836000, false, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  EXPECT_NE(av.SetPIDs(0x2000, 0x101, 0x101), 0);
  ASSERT_EQ(av.SetPIDs(0x102, 0x101, 0x101), 0);
  EXPECT_FALSE(rec.Record());  // nothing open
  ASSERT_TRUE(rec.Open(path.c_str(), RECFILE_AV_PS, 0));
  ASSERT_TRUE(rec.Record());
  BYTE pattern[16] = {0x00}, mask[16] = {0xFF};
  Collector pat(4);
  ASSERT_EQ(pat.SetFilter(SectionType(), 0x0000, pattern, mask, 1), 0);
  ASSERT_TRUE(pat.Wait());
  EXPECT_EQ(rec.Stop(), 0);
  EXPECT_EQ(rec.Close(), 0);
  WIN32_FILE_ATTRIBUTE_DATA info{};
  ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info));
  EXPECT_GT(info.nFileSizeLow, 0u);
  DeleteFileW(path.c_str());
}

TEST_F(VendorLibrary, WorldFromADescription) {
  EXPECT_EQ(VsimSetWorld("satellite name=x input=9\n"), -1);
  EXPECT_NE(std::string(VsimLastError()).find("line 1"), std::string::npos);
  ASSERT_EQ(VsimSetWorld("network nid=0x77 name=\"Test\"\n"
                         "satellite name=\"28.2E\" position=282 input=0\n"
                         "transponder freq=11778000 pol=V sr=27500000 tsid=0x7D0 nid=0x77 services=1\n"),
            0);
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  CHANNEL_TYPE ch = SatChannel(11836000, false, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  EXPECT_FALSE(Locked(fe));
  ch = SatChannel(11778000, true, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  EXPECT_TRUE(Locked(fe));
  BYTE pattern[16] = {0x02}, mask[16] = {0xFF};
  Collector pmt(1);
  ASSERT_EQ(pmt.SetFilter(SectionType(), 0x0100, pattern, mask, 1), 0);
  ASSERT_TRUE(pmt.Wait());
  EXPECT_EQ(pmt.Items()[0][3] << 8 | pmt.Items()[0][4], 0x7D0 * 16 + 1);
}

// A callback that retunes: the stream changes under the running filter.
class Retuner : public Collector {
 public:
  Retuner(CDVBFrontend& fe, CHANNEL_TYPE next) : Collector(6), fe_(fe), next_(next) {}
  void OnDataArrival(BYTE* data, int length) override {
    if (!retuned_) {
      retuned_ = true;
      fe_.SetChannel(next_, 0);
    }
    Collector::OnDataArrival(data, length);
  }

 private:
  CDVBFrontend& fe_;
  CHANNEL_TYPE next_;
  bool retuned_ = false;
};

TEST_F(VendorLibrary, CallbacksMayRetune) {
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  CHANNEL_TYPE ch = SatChannel(11836000, false, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  Retuner pat(fe, SatChannel(11023000, false, 27500000));
  BYTE pattern[16] = {0x00}, mask[16] = {0xFF};
  ASSERT_EQ(pat.SetFilter(SectionType(), 0x0000, pattern, mask, 1), 0);
  ASSERT_TRUE(pat.Wait());
  pat.ResetFilter();
  auto items = pat.Items();
  EXPECT_EQ(items.front()[3] << 8 | items.front()[4], 0x0441);
  EXPECT_EQ(items.back()[3] << 8 | items.back()[4], 0x0411);
  for (const auto& s : items) EXPECT_EQ(lib13818::Crc32Mpeg(s.data(), s.size()), 0u);
}

TEST_F(VendorLibrary, CaptureCountsTheBlocksNobodyRead) {
  if (Family() != VSIM_FAMILY_BUDGET) return;
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  VsimSetPacketRate(400000);
  CHANNEL_TYPE ch = SatChannel(11836000, false, 27500000);
  ASSERT_EQ(fe.SetChannel(ch, 0), 0);
  ASSERT_TRUE(board.TSRecordOnOff(1));
  DWORD status[17] = {};
  for (int i = 0; i < 2000 && status[16] == 0; ++i) {
    Sleep(10);
    ASSERT_EQ(board.GetDriverStatus(status, 17), 0);
  }
  EXPECT_GT(status[16], 0u);
  // What is still there reads back as whole packets.
  std::vector<BYTE> buf(100000);
  int n = board.TSRecordRead(buf.data(), static_cast<int>(buf.size()));
  ASSERT_GT(n, 0);
  EXPECT_EQ(n % 188, 0);
  EXPECT_EQ(buf[0], 0x47);
}

TEST_F(VendorLibrary, MultiplexFromATransportStreamFile) {
  // A cable multiplex played from a file, here one the generator wrote.
  vsim::World w = vsim::DefaultWorld();
  auto gen = vsim::Multiplex::Generate(w, w.cable[1], [] { return vsim::UtcInstant{}; });
  std::wstring path = TempFile(L"cable.ts");
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, gen->CyclePackets().data(), static_cast<DWORD>(gen->CyclePackets().size()), &written, nullptr);
  CloseHandle(f);
  char narrow[MAX_PATH];
  WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
  ASSERT_EQ(VsimSetWorld(("cable freq=402000 qam=256 sr=6900000 tsid=0x2002 nid=0x0303 ts=\"" +
                          std::string(narrow) + "\"\n").c_str()),
            0)
      << VsimLastError();
  ASSERT_EQ(VsimSetDevices("cable"), 0);
  CDVBBoardControl board;
  CDVBFrontend fe;
  StartCard(board, fe);
  CHANNEL_TYPE c{};
  c.dwFreq = 402000;
  c.Inversion = INVERSION_AUTO;
  c.dwSymbRate = 6900000;
  c.Qam = QAM_256;
  ASSERT_EQ(fe.SetChannel(c, 0), 0);
  ASSERT_TRUE(Locked(fe));
  BYTE pattern[16] = {0x42}, mask[16] = {0xFF};
  Collector sdt(2);
  ASSERT_EQ(sdt.SetFilter(SectionType(), 0x0011, pattern, mask, 1), 0);
  ASSERT_TRUE(sdt.Wait());
  EXPECT_EQ(sdt.Items()[0][3] << 8 | sdt.Items()[0][4], 0x2002);
  sdt.ResetFilter();
  DeleteFileW(path.c_str());
}

TEST_F(VendorLibrary, TraceFileForProgramsUnderTest) {
  std::wstring path = TempFile(L"trace.txt");
  DeleteFileW(path.c_str());
  SetEnvironmentVariableW(L"ORB_VSIM_TRACE", path.c_str());
  VsimReset();
  SetEnvironmentVariableW(L"ORB_VSIM_TRACE", nullptr);
  ASSERT_EQ(InitDvbApiDll(), 0);
  ASSERT_TRUE(CDVBCommon::OpenDevice(0, nullptr, 0));
  VsimReset();  // the trace file is not used any more
  CDVBCommon::GetNumberOfDevices();
  std::string text(4096, '\0');
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD got = 0;
  ::ReadFile(f, &text[0], static_cast<DWORD>(text.size()), &got, nullptr);
  CloseHandle(f);
  text.resize(got);
  EXPECT_NE(text.find("InitDvbApiDll -> ok\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("OpenDevice 0 -> ok\r\n"), std::string::npos) << text;
  DeleteFileW(path.c_str());
}

}  // namespace
