// GetSections and CancelSections of the vendor-library plug-ins on a
// simulated card tuned to a multiplex with generated PSI/SI.
#include <objbase.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "lib13818/section.h"
#include "plugin_fixture.h"
#include "section_results.h"

namespace {

using namespace plugtest;

class SectionTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    InitOk();
    TuneSatellite();
    reader_ = Get<ISectionReader>();
  }
  // The card's world becomes 19.2E with one transponder, 11836 H, whose
  // line ends with `tail`; the plug-in starts afresh and tunes to it.
  void UseTransponder(const std::string& tail) {
    reader_ = nullptr;
    driver_ = nullptr;
    vsim_->Reset();
    vsim_->SetDevices("sat");
    const std::string world = "satellite name=\"19.2E\" position=192 input=0\n"
                              "transponder freq=11836000 pol=H sr=27500000 " + tail + "\n";
    ASSERT_EQ(vsim_->SetWorld(world.c_str()), 0);
    InitOk();
    TuneSatellite();
    reader_ = Get<ISectionReader>();
  }
  ComPtr<ISectionReader> reader_;
};

INSTANTIATE_TEST_SUITE_P(Plugins, SectionTest, ::testing::ValuesIn(Plugins()),
                         [](const ::testing::TestParamInfo<Plugin>& i) { return std::string(i.param.name); });

TEST_P(SectionTest, CollectsEveryModeFromTheMultiplex) {
  // 19.2E 11836 H: transport_stream_id 0x0441, services 0x4411.., PMT PIDs 0x100, 0x120, ...
  SectionFilterSpec specs[] = {
      Spec(0x0000, 0x00, SFM_SINGLE),                     // PAT
      Spec(0x0011, 0x42, SFM_SINGLE),                     // SDT actual
      Spec(0x0010, 0x40, SFM_SINGLE),                     // NIT actual
      Spec(0x0010, 0x41, SFM_BY_EXTENSION),               // NIT other
      Spec(0x0011, 0x46, SFM_BY_EXTENSION_ONID),          // SDT other
      Spec(0x0012, 0x4E, SFM_EIT),                        // EIT present/following actual
      Spec(0x10100, 0x02, SFM_SINGLE, 0x4412),            // PMT of the second service (PID 0x120 below)
  };
  specs[6].pid = 0x00010120;  // only the low 16 bits count
  SectionResult results[7];
  std::memset(results, 0xCD, sizeof results);  // the plug-in starts every result empty
  ASSERT_EQ(reader_->GetSections(7, specs, 5, results), S_OK);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(results[i].count, 1u);
    CheckAndFree(results[i], specs[i], specs[i].mode == SFM_EIT ? 4096 : 1024);
  }
  EXPECT_EQ(vsim_->ActiveFilters(), 0);  // every hardware filter was reset
}

TEST_P(SectionTest, ThirtyThreeRequestsRunAsTwoBatches) {
  SectionFilterSpec specs[33];
  for (auto& s : specs) s = Spec(0x0000, 0x00, SFM_SINGLE);
  SectionResult results[33] = {};
  ASSERT_EQ(reader_->GetSections(33, specs, 5, results), S_OK);
  for (int i = 0; i < 33; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(results[i].count, 1u);
    CheckAndFree(results[i], specs[i], 1024);
  }
  // Two rounds of filters: 32, then 1.
  const std::string trace = vsim_->Trace();
  size_t filters = 0;
  for (size_t at = trace.find("SetFilter"); at != std::string::npos; at = trace.find("SetFilter", at + 1))
    ++filters;
  EXPECT_EQ(filters, 33u);
}

TEST_P(SectionTest, ReservedModesAndUnmatchedRequestsHandOverAfterTheTimeout) {
  SectionFilterSpec specs[] = {
      Spec(0x0000, 0x00, 1),
      Spec(0x0000, 0x00, 2),
      Spec(0x0000, 0x00, 9),
      Spec(0x1FF0, 0x00, SFM_SINGLE),  // nothing on this PID
      Spec(0x0000, 0x00, SFM_SINGLE),
  };
  SectionResult results[5];
  std::memset(results, 0xCD, sizeof results);
  ASSERT_EQ(reader_->GetSections(5, specs, 1, results), S_OK);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(results[i].count, 0u) << i;
    EXPECT_EQ(results[i].sections, nullptr) << i;
  }
  EXPECT_EQ(results[4].count, 1u);
  CheckAndFree(results[4], specs[4], 1024);
}

TEST_P(SectionTest, ArgumentsAndFailedFilters) {
  SectionFilterSpec spec = Spec(0, 0, SFM_SINGLE);
  SectionResult result = {};
  EXPECT_EQ(reader_->GetSections(0, nullptr, 1, nullptr), S_OK);
  EXPECT_EQ(reader_->GetSections(1, nullptr, 1, &result), E_POINTER);
  EXPECT_EQ(reader_->GetSections(1, &spec, 1, nullptr), E_POINTER);
  EXPECT_EQ(reader_->GetSections(-1, &spec, 1, &result), E_FAIL);

  // A filter the card refuses keeps nothing; the others are not affected.
  vsim_->FailCall("SetFilter", 1);
  SectionFilterSpec specs[] = {Spec(0, 0, SFM_SINGLE), Spec(0, 0, SFM_SINGLE)};
  SectionResult results[2] = {};
  ASSERT_EQ(reader_->GetSections(2, specs, 1, results), S_OK);
  EXPECT_EQ(results[0].count, 0u);
  EXPECT_EQ(results[0].sections, nullptr);
  EXPECT_EQ(results[1].count, 1u);
  CheckAndFree(results[1], specs[1], 1024);
}

// Occurrences of `text` in the plug-in's log so far.
size_t LogCount(const Plugin& p, const std::string& text) {
  const std::wstring dll = p.dll;
  std::ifstream in(Narrow(ExeDir() + L"\\" + dll.substr(0, dll.size() - 3) + L"txt"));
  std::stringstream all;
  all << in.rdbuf();
  const std::string log = all.str();
  size_t n = 0;
  for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
  return n;
}

TEST_P(SectionTest, EitRequestStopsAtHundredSections) {
  // A transponder with 16 services: their EIT schedule is far more than 100
  // sections (a section per three hours from midnight to a day ahead).
  // At log level 4 the full EIT store is traced.
  reader_ = nullptr;
  driver_ = nullptr;
  vsim_->Reset();
  vsim_->SetDevices("sat");
  ASSERT_EQ(vsim_->SetWorld("satellite name=\"19.2E\" position=192 input=0\n"
                            "transponder freq=11836000 pol=H sr=27500000 tsid=0x0441 onid=0x0001 "
                            "nid=0x0001 services=16\n"),
            0);
  WriteDword(DeviceKey(), "loglevel", 4);
  InitOk();
  TuneSatellite();
  reader_ = Get<ISectionReader>();
  const size_t before = LogCount(GetParam(), "trace 2");
  SectionFilterSpec spec = Spec(0x0012, 0x50, SFM_EIT);
  SectionResult result = {};
  ASSERT_EQ(reader_->GetSections(1, &spec, 30, &result), S_OK);
  EXPECT_EQ(result.count, 100u);
  CheckAndFree(result, spec, 4096);
  EXPECT_EQ(LogCount(GetParam(), "trace 2"), before + 1);
}

TEST_P(SectionTest, EitSectionsSentAtDifferentRatesAreAllCollected) {
  // Present/following and the first section of each schedule segment three
  // times a cycle, the other schedule sections once.
  UseTransponder("tsid=0x0441 onid=0x0001 nid=0x0001 services=3 eitrepeat=3");
  ExpectEitSentAtDifferentRatesCollected(reader_.Get(), 4096);
}

TEST_P(SectionTest, ASectionThatNeverArrivesLeavesTheRequestToTheTimeout) {
  // Two of its requests never complete: the time-out ends them, with what was on air.
  const std::string ts = Narrow(ExeDir() + L"\\missing_section.ts");
  WriteCaptureMissingASection(ts);
  UseTransponder("tsid=1 nid=1 ts=\"" + ts + "\"");
  ExpectTimeoutEndsTheCaptureMissingASection(reader_.Get(), 1024);
  DeleteFileA(ts.c_str());
}

TEST_P(SectionTest, FiltersStopEvenWhenTheCardRefusesTheReset) {
  // Every ResetFilter fails: the filters must still be off the card before
  // their stores go, or the next delivery would reach freed objects.
  vsim_->FailCall("ResetFilter", -1);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    SectionFilterSpec specs[] = {Spec(0x0000, 0x00, SFM_SINGLE), Spec(0x0011, 0x42, SFM_SINGLE),
                                 Spec(0x0012, 0x4E, SFM_EIT)};
    SectionResult results[3] = {};
    ASSERT_EQ(reader_->GetSections(3, specs, 5, results), S_OK);
    EXPECT_EQ(vsim_->ActiveFilters(), 0);
    for (int i = 0; i < 3; ++i) {
      EXPECT_GE(results[i].count, 1u) << i;
      CheckAndFree(results[i], specs[i], specs[i].mode == SFM_EIT ? 4096 : 1024);
    }
    Sleep(50);  // the card goes on delivering to whatever is still listed
  }
}

TEST_P(SectionTest, CancelEndsTheBatchAndSkipsTheRest) {
  // Batch 1: 32 requests that never complete; batch 2 would read the TDT.
  SectionFilterSpec specs[40];
  for (int i = 0; i < 32; ++i) specs[i] = Spec(0x0000, 0x00, 1);
  for (int i = 32; i < 40; ++i) specs[i] = Spec(0x0014, 0x70, SFM_SINGLE);
  SectionResult results[40] = {};
  std::thread canceller([&] {
    // Once the first batch's filters run, cancel from this other thread.
    for (int i = 0; i < 2000 && vsim_->ActiveFilters() < 32; ++i) Sleep(5);
    EXPECT_EQ(reader_->CancelSections(), S_OK);
  });
  EXPECT_EQ(reader_->GetSections(40, specs, 30, results), S_OK);
  canceller.join();
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(results[i].count, 0u) << i;
    EXPECT_EQ(results[i].sections, nullptr) << i;
  }
  EXPECT_EQ(vsim_->Trace().find("pid=0x0014"), std::string::npos);  // the second batch never ran

  // The cancel does not outlive its call.
  SectionFilterSpec pat = Spec(0, 0, SFM_SINGLE);
  SectionResult r = {};
  ASSERT_EQ(reader_->GetSections(1, &pat, 5, &r), S_OK);
  EXPECT_EQ(r.count, 1u);
  CheckAndFree(r, pat, 1024);
  // With nothing running it does nothing.
  EXPECT_EQ(reader_->CancelSections(), S_OK);
}

}  // namespace
