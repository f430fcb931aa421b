// ISetTuner of the vendor-library plug-ins on simulated satellite, cable and
// terrestrial cards: LNB slots, DiSEqC commands, the LOF window, the motor
// prompt and the channel read back.
#include <cstring>

#include "plugin_fixture.h"

namespace {

using namespace plugtest;

SATDELIVERYDESC Sat(uint32_t kHz, uint8_t polarization, uint32_t symbolRate) {
  SATDELIVERYDESC d;
  std::memset(&d, 0, sizeof d);
  d.frequency = kHz / 10;
  d.polarization = polarization;
  d.symbol_rate = symbolRate / 100;
  d.fec_inner = 3;
  return d;
}

class TuningTest : public PluginTest {
 protected:
  // Settings of the device key before Init.
  void Setting(const char* name, DWORD value) { WriteDword(DeviceKey(), name, value); }
  void Setting(const char* name, const char* value) { WriteString(DeviceKey(), name, value); }
  void Start() {
    WriteDword(classKey_, "device", 0);
    InitOk();
    tuner_ = Get<ISetTuner>();
  }
  VSIM_CHANNEL LastChannel() {
    auto c = vsim_->Channels();
    return c.empty() ? VSIM_CHANNEL{} : c.back();
  }
  ComPtr<ISetTuner> tuner_;
};

INSTANTIATE_TEST_SUITE_P(Plugins, TuningTest, ::testing::ValuesIn(Plugins()),
                         [](const ::testing::TestParamInfo<Plugin>& i) { return std::string(i.param.name); });

TEST_P(TuningTest, Diseqc10SlotsBandsAndPolarization) {
  Setting("disqmode", 2);
  Setting("satellite1", "19.2E");
  Setting("satellite3", "13.0E");
  Start();

  // Slot 3 (position B): 13.0E 11034 V, low band.
  SATDELIVERYDESC d = Sat(11034000, 1, 27500000);
  ASSERT_EQ(tuner_->SetSatellite(0, L"13.0E", &d), S_OK);
  auto sent = vsim_->Diseqc();
  ASSERT_EQ(sent.size(), 3u);
  const BYTE first[] = {0xE0, 0x10, 0x38, 0xF4};
  const BYTE repeat[] = {0xE1, 0x10, 0x38, 0xF4};
  EXPECT_EQ(std::memcmp(sent[0].Message, first, 4), 0);
  EXPECT_EQ(std::memcmp(sent[1].Message, repeat, 4), 0);
  EXPECT_EQ(std::memcmp(sent[2].Message, repeat, 4), 0);
  for (const auto& s : sent) {
    EXPECT_EQ(s.Length, 4);
    EXPECT_EQ(s.Burst, 255);
    EXPECT_TRUE(s.Accepted);
  }
  VSIM_CHANNEL c = LastChannel();
  EXPECT_EQ(c.Channel.dwFreq, 11034000u);
  EXPECT_EQ(c.Channel.dwLOF, 9750000u);
  EXPECT_EQ(c.Channel.bF22kHz, 0u);
  EXPECT_EQ(c.Channel.LNB_Power, 13u);
  EXPECT_EQ(c.Channel.Inversion, 2u);
  EXPECT_EQ(c.Channel.dwSymbRate, 27500000u);
  EXPECT_EQ(c.TransportStreamId, 0x1001);

  // The channel and the satellite read back.
  SATDELIVERYDESC back;
  std::memset(&back, 0xEE, sizeof back);
  Bstr name;
  ASSERT_EQ(tuner_->GetSatChannel(name.Put(), &back), S_OK);
  EXPECT_EQ(name.Str(), L"13.0E");
  EXPECT_EQ(back.frequency, 1103400u);
  EXPECT_EQ(back.polarization, 1);
  EXPECT_EQ(back.symbol_rate, 275000u);
  EXPECT_EQ(back.fec_inner, 0);
  EXPECT_EQ(back.modulation, 0xEE);  // untouched

  // Slot 3, vertical, high band: data byte F5 (nothing there: no lock).
  d = Sat(12500000, 1, 27500000);
  EXPECT_EQ(tuner_->SetSatellite(0, L"13.0E", &d), E_FAIL);
  sent = vsim_->Diseqc();
  ASSERT_EQ(sent.size(), 6u);
  const BYTE f5[] = {0xE0, 0x10, 0x38, 0xF5};
  EXPECT_EQ(std::memcmp(sent[3].Message, f5, 4), 0);
  c = LastChannel();
  EXPECT_EQ(c.Channel.dwLOF, 10600000u);
  EXPECT_EQ(c.Channel.bF22kHz, 1u);

  // Slot 1: 19.2E 11836 H, high band: F3.
  d = Sat(11836000, 0, 27500000);
  ASSERT_EQ(tuner_->SetSatellite(0, L"19.2E", &d), S_OK);
  sent = vsim_->Diseqc();
  EXPECT_EQ(sent.back().Message[3], 0xF3);
  EXPECT_EQ(LastChannel().Channel.LNB_Power, 18u);
  EXPECT_EQ(LastChannel().TransportStreamId, 0x0441);

  // Names are compared exactly; an unknown satellite sends and tunes nothing.
  const int channels = vsim_->ChannelCount();
  const int messages = vsim_->DiseqcCount();
  EXPECT_EQ(tuner_->SetSatellite(0, L"19.2e", &d), E_FAIL);
  EXPECT_EQ(tuner_->SetSatellite(0, nullptr, &d), E_FAIL);
  EXPECT_EQ(vsim_->ChannelCount(), channels);
  EXPECT_EQ(vsim_->DiseqcCount(), messages);
  EXPECT_EQ(tuner_->SetSatellite(0, L"19.2E", nullptr), E_POINTER);
}

TEST_P(TuningTest, LofWindowOfTheSlot) {
  Start();  // DiSEqC mode 0, universal LNB on slot 1
  const int before = vsim_->ChannelCount();
  SATDELIVERYDESC d = Sat(10699990, 0, 27500000);
  EXPECT_EQ(tuner_->SetSatellite(0, L"19.2E", &d), E_FAIL);
  d = Sat(12750010, 0, 27500000);
  EXPECT_EQ(tuner_->SetSatellite(0, L"19.2E", &d), E_FAIL);
  EXPECT_EQ(vsim_->ChannelCount(), before);  // rejected before tuning
  d = Sat(10700000, 0, 27500000);
  tuner_->SetSatellite(0, L"19.2E", &d);
  EXPECT_EQ(vsim_->ChannelCount(), before + 1);
  d = Sat(12750000, 0, 27500000);
  tuner_->SetSatellite(0, L"19.2E", &d);
  EXPECT_EQ(vsim_->ChannelCount(), before + 2);
  // Band edge: 11699.99 MHz is low band, 11700 MHz high band.
  d = Sat(11699990, 0, 27500000);
  tuner_->SetSatellite(0, L"19.2E", &d);
  EXPECT_EQ(LastChannel().Channel.dwLOF, 9750000u);
  EXPECT_EQ(LastChannel().Channel.bF22kHz, 0u);
  d = Sat(11700000, 0, 27500000);
  tuner_->SetSatellite(0, L"19.2E", &d);
  EXPECT_EQ(LastChannel().Channel.dwLOF, 10600000u);
  EXPECT_EQ(LastChannel().Channel.bF22kHz, 1u);
  // Mode 0 resets the switch before each tune.
  const VSIM_DISEQC reset = vsim_->Diseqc().back();
  EXPECT_EQ(reset.Length, 3);
  EXPECT_EQ(reset.Message[0], 0xE0);
  EXPECT_EQ(reset.Message[1], 0x00);
  EXPECT_EQ(reset.Message[2], 0x00);
  EXPECT_EQ(reset.Burst, 255);

  // The frequency asked for is kept and saved.
  ASSERT_EQ(Get<IDriverControl>()->SaveSettings(), S_OK);
  DWORD f = 0;
  ASSERT_TRUE(ReadDword(DeviceKey(), "frequency", f));
  EXPECT_EQ(f, 11700000u);
}

TEST_P(TuningTest, ToneBurstAndModes) {
  Setting("disqmode", 1);
  Setting("satellite1", "19.2E");
  Setting("satellite2", "13.0E");
  Setting("satellite3", "Hidden");
  Start();
  SATDELIVERYDESC d = Sat(11034000, 1, 27500000);
  ASSERT_EQ(tuner_->SetSatellite(0, L"13.0E", &d), S_OK);
  VSIM_DISEQC b = vsim_->Diseqc().back();
  EXPECT_EQ(b.Length, 0);
  EXPECT_EQ(b.Burst, 1);
  d = Sat(12603000, 1, 22000000);
  ASSERT_EQ(tuner_->SetSatellite(0, L"19.2E", &d), S_OK);
  EXPECT_EQ(vsim_->Diseqc().back().Burst, 0);
  // Tone burst reaches the first two slots only.
  EXPECT_EQ(tuner_->SetSatellite(0, L"Hidden", &d), E_FAIL);

  // An unknown DiSEqC mode tunes nothing.
  driver_ = nullptr;
  vsim_->Reset();
  vsim_->SetDevices("sat");
  Setting("disqmode", 7);
  Start();
  EXPECT_EQ(tuner_->SetSatellite(0, L"19.2E", &d), E_FAIL);
  EXPECT_EQ(vsim_->ChannelCount(), 0);
}

TEST_P(TuningTest, MotorPromptWithOneLnb) {
  Start();
  auto control = Get<IDriverControl>();
  CFakeSatList* list = nullptr;
  ASSERT_EQ(CFakeSatList::Create(&list), S_OK);
  ComPtr<ISatListManager> mgr;
  mgr.Attach(list);

  // Without a list manager there is nothing to ask: no prompt.
  SATDELIVERYDESC d = Sat(11836000, 0, 27500000);
  {
    DialogWatcher watcher;
    ASSERT_EQ(tuner_->SetSatellite(0, L"19.2E", &d), S_OK);
    EXPECT_TRUE(watcher.Windows().empty());
  }
  ASSERT_EQ(control->SetSatListMgr(mgr), S_OK);

  // One satellite in the list: no prompt.
  list->count = 1;
  {
    DialogWatcher watcher;
    ASSERT_EQ(tuner_->SetSatellite(0, L"Other", &d), S_OK);
    EXPECT_TRUE(watcher.Windows().empty());
  }
  // Several, and the satellite tuned last: no prompt.
  list->count = 3;
  {
    DialogWatcher watcher;
    ASSERT_EQ(tuner_->SetSatellite(0, L"Other", &d), S_OK);
    EXPECT_TRUE(watcher.Windows().empty());
  }
  // Several, another satellite: the prompt; Cancel aborts before anything is sent.
  const int messages = vsim_->DiseqcCount();
  {
    DialogWatcher watcher([](HWND, const DialogWatcher::Seen&) { return IDCANCEL; });
    EXPECT_EQ(tuner_->SetSatellite(0, L"Astra", &d), E_FAIL);
    const auto seen = watcher.Windows();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text,
              "Please adjust your motor to satellite 'Astra'. Press OK when ready. Press CANCEL to abort.");
  }
  EXPECT_EQ(vsim_->DiseqcCount(), messages);
  {
    DialogWatcher watcher([](HWND, const DialogWatcher::Seen&) { return IDOK; });
    EXPECT_EQ(tuner_->SetSatellite(0, L"Astra", &d), S_OK);
    EXPECT_EQ(watcher.Windows().size(), 1u);
  }
  Bstr name;
  SATDELIVERYDESC back{};
  ASSERT_EQ(tuner_->GetSatChannel(name.Put(), &back), S_OK);
  EXPECT_EQ(name.Str(), L"Astra");

  // The list manager failing: no tune.
  list->countResult = E_UNEXPECTED;
  EXPECT_EQ(tuner_->SetSatellite(0, L"Astra", &d), E_FAIL);

  // A null manager is refused and the one set before stays in use.
  list->countResult = S_OK;
  EXPECT_EQ(control->SetSatListMgr(nullptr), E_POINTER);
  {
    DialogWatcher watcher([](HWND, const DialogWatcher::Seen&) { return IDCANCEL; });
    EXPECT_EQ(tuner_->SetSatellite(0, L"Hotbird", &d), E_FAIL);
    EXPECT_EQ(watcher.Windows().size(), 1u);
  }
  // A later manager replaces it; the driver holds one reference and lets
  // it go with the object.
  CFakeSatList* single = nullptr;
  ASSERT_EQ(CFakeSatList::Create(&single), S_OK);
  ComPtr<ISatListManager> other;
  other.Attach(single);
  single->count = 1;
  ASSERT_EQ(control->SetSatListMgr(other), S_OK);
  {
    DialogWatcher watcher;
    EXPECT_EQ(tuner_->SetSatellite(0, L"Hotbird", &d), S_OK);
    EXPECT_TRUE(watcher.Windows().empty());
  }
  EXPECT_EQ(list->AddRef(), 2u);  // mgr and this one: the driver let the first go
  list->Release();
  tuner_ = nullptr;
  control = nullptr;
  driver_ = nullptr;
  EXPECT_EQ(single->AddRef(), 2u);
  single->Release();
}

TEST_P(TuningTest, OtherDeliveryTypesAreRefusedOnASatelliteCard) {
  Start();
  CABLEDELIVERYDESC cable{};
  TERRDELIVERYDESC terr{};
  EXPECT_EQ(tuner_->TuneCable(0, &cable), E_FAIL);
  EXPECT_EQ(tuner_->TuneTerrestrial(0, &terr), E_FAIL);
  EXPECT_EQ(tuner_->GetCableChannel(&cable), E_FAIL);
  EXPECT_EQ(tuner_->GetTerrestrialChannel(&terr), E_FAIL);
  EXPECT_EQ(vsim_->ChannelCount(), 0);
  // Not locked yet: no channel to read.
  Bstr name;
  SATDELIVERYDESC back{};
  EXPECT_EQ(tuner_->GetSatChannel(name.Put(), &back), E_FAIL);
  EXPECT_EQ(tuner_->GetSatChannel(nullptr, &back), E_POINTER);
}

TEST_P(TuningTest, CableChannel) {
  vsim_->SetDevices("cable");
  Start();
  CABLEDELIVERYDESC d{};
  d.frequency = 3460000;  // 346 MHz
  d.modulation = 3;       // 64-QAM
  d.symbol_rate = 69000;
  d.fec_inner = 5;
  ASSERT_EQ(tuner_->TuneCable(0, &d), S_OK);
  VSIM_CHANNEL c = LastChannel();
  EXPECT_EQ(c.Channel.dwFreq, 346000u);
  EXPECT_EQ(c.Channel.Qam, 2u);
  EXPECT_EQ(c.Channel.BandWidth, 3u);
  EXPECT_EQ(c.Channel.dwSymbRate, 6900000u);
  CABLEDELIVERYDESC back;
  std::memset(&back, 0xEE, sizeof back);
  ASSERT_EQ(tuner_->GetCableChannel(&back), S_OK);
  EXPECT_EQ(back.frequency, 3460000u);
  EXPECT_EQ(back.modulation, 3);
  EXPECT_EQ(back.symbol_rate, 69000u);
  uint32_t word12;
  std::memcpy(&word12, reinterpret_cast<const BYTE*>(&back) + 12, 4);
  EXPECT_EQ(word12, 0u);
  // An unknown modulation asks for 64-QAM.
  d.modulation = 9;
  ASSERT_EQ(tuner_->TuneCable(0, &d), S_OK);
  EXPECT_EQ(LastChannel().Channel.Qam, 2u);
  // 256-QAM at 354 MHz.
  d.frequency = 3540000;
  d.modulation = 5;
  ASSERT_EQ(tuner_->TuneCable(0, &d), S_OK);
  EXPECT_EQ(LastChannel().Channel.Qam, 4u);
  // Nothing at 500 MHz: no lock.
  d.frequency = 5000000;
  EXPECT_EQ(tuner_->TuneCable(0, &d), E_FAIL);
  EXPECT_EQ(tuner_->GetCableChannel(&back), E_FAIL);
  SATDELIVERYDESC sat{};
  EXPECT_EQ(tuner_->SetSatellite(0, L"x", &sat), E_FAIL);
}

TEST_P(TuningTest, TerrestrialChannel) {
  vsim_->SetDevices("terr");
  Start();
  TERRDELIVERYDESC d{};
  d.centre_frequency = 50600000;  // 506 MHz
  d.bandwidth = 0;                // 8 MHz
  ASSERT_EQ(tuner_->TuneTerrestrial(0, &d), S_OK);
  const bool autoBandwidth = std::string(GetParam().name) == "corvane";
  VSIM_CHANNEL c = LastChannel();
  EXPECT_EQ(c.Channel.dwFreq, 506000u);
  EXPECT_EQ(c.Channel.bScan, 0u);
  EXPECT_EQ(c.Channel.BandWidth, autoBandwidth ? 3u : 2u);
  TERRDELIVERYDESC back;
  std::memset(&back, 0xEE, sizeof back);
  ASSERT_EQ(tuner_->GetTerrestrialChannel(&back), S_OK);
  EXPECT_EQ(back.centre_frequency, 50600000u);
  EXPECT_EQ(back.bandwidth, autoBandwidth ? 7 : 0);
  EXPECT_EQ(back.constellation, 0xEE);

  // 7 MHz at 191.5 MHz.
  d.centre_frequency = 19150000;
  d.bandwidth = 1;
  ASSERT_EQ(tuner_->TuneTerrestrial(0, &d), S_OK);
  EXPECT_EQ(LastChannel().Channel.BandWidth, autoBandwidth ? 3u : 1u);
  // 6 MHz asks the front end for 6 MHz (nothing of that width there).
  d.bandwidth = 2;
  EXPECT_EQ(tuner_->TuneTerrestrial(0, &d), autoBandwidth ? S_OK : E_FAIL);
  EXPECT_EQ(LastChannel().Channel.BandWidth, autoBandwidth ? 3u : 0u);
}

}  // namespace
