// Reading the tuned transport stream: the request, every table filed into
// one Transponder with the values the multiplex sends, the Output lines, the
// failure paths, cancel, and every answer released exactly once.
#include <gtest/gtest.h>

#include <algorithm>

#include "lib13818/descriptors_service.h"
#include "sim_driver.h"

using namespace scan_test;
using lib13818::NetworkMap;

namespace {

class ReaderTest : public ::testing::Test {
 protected:
  ReaderTest() : driver_(vsim::DefaultWorld()), scanner_(driver_, driver_, nullptr, host_, cancel_) {}

  const vsim::MuxDef& Mux(int sat, int i) { return driver_.World().satellites[sat].transponders[i]; }

  // Sections of the tuned multiplex with this table_id.
  std::vector<vsim::Bytes> Sent(std::uint8_t tableId) {
    std::vector<vsim::Bytes> out;
    for (const vsim::TableSections& t : driver_.Tables())
      for (const vsim::Bytes& s : t.sections)
        if (s[0] == tableId) out.push_back(s);
    return out;
  }
  vsim::Bytes* SentFirst(std::uint8_t tableId) {
    for (vsim::TableSections& t : driver_.Tables())
      for (vsim::Bytes& s : t.sections)
        if (s[0] == tableId) return &s;
    return nullptr;
  }

  SimDriver driver_;
  RecordingHost host_;
  std::atomic<bool> cancel_{false};
  Scanner scanner_;
  NetworkMap store_;
};

template <class S>
S Parsed(const vsim::Bytes& b) {
  S s;
  s.Parse(b.data(), b.size());
  return s;
}

std::size_t EitCount(const lib13818::EitSectionMap& m) {
  std::size_t n = 0;
  for (auto& a : m)
    for (auto& b : a.second)
      for (auto& c : b.second) n += c.second.size();
  return n;
}

}  // namespace

TEST_F(ReaderTest, CurrentTransponderFilesEveryTableAsTheMultiplexSendsIt) {
  const vsim::MuxDef& mux = Mux(0, 2);  // 11836 H, four services, the first scrambled
  driver_.TuneTo(mux, "19.2E");
  scanner_.RunScan(store_, SCAN_CURRENT_TRANSPONDER, nullptr);

  ASSERT_EQ(driver_.Calls(), 2) << "one request for the tables, one for the PMTs";
  EXPECT_EQ(driver_.Requests()[0].size(), 14u);
  ASSERT_EQ(driver_.Requests()[1].size(), mux.services.size());
  for (std::size_t i = 0; i < mux.services.size(); ++i) {
    const SectionFilterSpec& s = driver_.Requests()[1][i];
    EXPECT_EQ(s.pid, mux.services[i].pmt_pid);
    EXPECT_EQ(s.table_id, 0x02);
    EXPECT_EQ(s.mode, static_cast<std::uint32_t>(SFM_SINGLE));
    EXPECT_EQ(s.match_extension, 1u);
    EXPECT_EQ(s.table_id_extension, mux.services[i].service_id);
  }

  ASSERT_EQ(store_.size(), 1u);
  const lib13818::Network& network = store_.at(mux.original_network_id);
  EXPECT_EQ(network.network_id, mux.original_network_id);
  ASSERT_EQ(network.transponders.size(), 1u);
  const lib13818::Transponder& t = network.transponders.at(mux.transport_stream_id);
  EXPECT_EQ(t.transport_stream_id, mux.transport_stream_id);

  // PAT: programme 0 and every service with its PMT PID.
  ASSERT_TRUE(t.pat.parsed);
  std::vector<std::pair<u32, u32>> programs;
  for (const auto& p : t.pat.programs) programs.emplace_back(p.program_number, p.PID);
  std::vector<std::pair<u32, u32>> sent;
  for (const auto& p : Parsed<lib13818::ProgramAssociationSection>(Sent(0x00)[0]).programs)
    sent.emplace_back(p.program_number, p.PID);
  EXPECT_EQ(programs, sent);

  // PMTs: one per service, in PAT order, with the service's streams.
  ASSERT_EQ(t.pmts.size(), mux.services.size());
  for (std::size_t i = 0; i < mux.services.size(); ++i) {
    EXPECT_EQ(t.pmts[i].table_id_extension, mux.services[i].service_id);
    std::vector<u32> pids;
    for (const auto& es : t.pmts[i].streams) pids.push_back(es.elementary_PID);
    std::vector<u32> want;
    if (mux.services[i].video_pid) want.push_back(mux.services[i].video_pid);
    want.push_back(mux.services[i].audio_pid);
    if (mux.services[i].teletext_pid) want.push_back(mux.services[i].teletext_pid);
    EXPECT_EQ(pids, want) << i;
  }

  // NIT actual: every multiplex of the network with its delivery descriptor.
  ASSERT_EQ(t.nitActual.size(), 1u);
  const auto& nit = t.nitActual.at(mux.network_id).at(0);
  EXPECT_EQ(nit.transportStreams.size(), driver_.World().satellites[0].transponders.size());
  EXPECT_EQ(nit.CRC_32, Parsed<lib13818::NetworkInformationSection>(Sent(0x40)[0]).CRC_32);

  // SDT actual: the service names.
  const auto& sdt = t.sdtActual.at(mux.original_network_id).at(mux.transport_stream_id).at(0);
  ASSERT_EQ(sdt.services.size(), mux.services.size());
  for (std::size_t i = 0; i < mux.services.size(); ++i) {
    EXPECT_EQ(sdt.services[i].service_id, mux.services[i].service_id);
    const auto& names = sdt.services[i].descriptors.Get<lib13818::DescriptorService>();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].service_name, mux.services[i].name);
  }

  // CAT, BAT, time tables, RST: the first section of each, equal to what was sent.
  EXPECT_TRUE(t.cat.parsed);
  EXPECT_EQ(t.cat.CRC_32, Parsed<lib13818::ConditionalAccessSection>(Sent(0x01)[0]).CRC_32);
  EXPECT_TRUE(t.bat.parsed) << "the BAT is parsed and kept like the CAT";
  EXPECT_EQ(t.bat.table_id_extension, driver_.World().bouquet_id);
  EXPECT_EQ(t.bat.CRC_32, Parsed<lib13818::BouquetAssociationSection>(Sent(0x4A)[0]).CRC_32);
  ASSERT_TRUE(t.tdt.parsed);
  EXPECT_EQ(t.tdt.UTC_time.hour, 6u);
  EXPECT_EQ(t.tdt.UTC_time.minute, 30u);
  EXPECT_TRUE(t.tot.parsed);
  EXPECT_EQ(t.tot.CRC_32, Parsed<lib13818::TimeOffsetSection>(Sent(0x73)[0]).CRC_32);
  EXPECT_TRUE(t.rst.parsed);
  EXPECT_EQ(t.rst.entries.size(), Parsed<lib13818::RunningStatusSection>(Sent(0x71)[0]).entries.size());

  // Other network and streams, EIT present/following and schedule.
  std::size_t sdtOther = 0;
  for (auto& a : t.sdtOther)
    for (auto& b : a.second) sdtOther += b.second.size();
  EXPECT_EQ(sdtOther, Sent(0x46).size());
  EXPECT_EQ(t.nitOther.size(), 1u) << "the 13.0E network";
  EXPECT_EQ(EitCount(t.eitPresentFollowingActual), Sent(0x4E).size());
  EXPECT_EQ(EitCount(t.eitPresentFollowingOther), std::min<std::size_t>(100, Sent(0x4F).size()));
  EXPECT_EQ(EitCount(t.eitScheduleActual), std::min<std::size_t>(100, Sent(0x50).size()));
  EXPECT_EQ(EitCount(t.eitScheduleOther), std::min<std::size_t>(100, Sent(0x60).size()));
  const auto& pf = t.eitPresentFollowingActual.at(mux.original_network_id).at(mux.transport_stream_id);
  EXPECT_EQ(pf.size(), mux.services.size());

  // Tuning from the stream's own NIT entry.
  EXPECT_EQ(t.deliveryKind, lib13818::Transponder::kDeliverySatellite);
  EXPECT_EQ(t.SatelliteTuning().frequency, 1183600u);
  EXPECT_EQ(t.SatelliteTuning().symbol_rate, 275000u);
  EXPECT_EQ(t.GetLabel(), "0441 - 11836H 3/4 27500");

  // The Output lines.
  EXPECT_EQ(host_.output.front(), "Scanning current transponder");
  for (const char* line : {"Got SI tables", "Got 1 PAT sections", "Got 1 NIT sections",
                           "Got 1 SDT sections", "Got 1 CAT sections", "Got 1 BAT sections",
                           "Got 1 RST sections", "Got 1 TOT sections", "Got 1 TDT sections",
                           "Got 1 NIT 0x41 sections", "Got 8 EIT 0x4e sections",
                           "Got 1 PMT section(s) for SID 4411"})
    EXPECT_TRUE(host_.Said(line)) << line;
}

TEST_F(ReaderTest, SelectionShapesTheRequestAndWhatIsKept) {
  driver_.TuneTo(Mux(0, 0));
  host_.selection = 0;  // everything cleared: PAT, NIT actual, SDT actual only, no PMTs
  scanner_.ReadTransportStreamSI(store_);
  ASSERT_EQ(driver_.Calls(), 1);
  ASSERT_EQ(driver_.Requests()[0].size(), 3u);
  const auto& t = store_.at(0x0101).transponders.at(0x0401);
  EXPECT_TRUE(t.pat.parsed);
  EXPECT_FALSE(t.cat.parsed);
  EXPECT_TRUE(t.pmts.empty());
  EXPECT_TRUE(t.eitPresentFollowingActual.empty());

  host_.selection = kDefaultTableBits;  // the next stream: CAT and PMTs too
  driver_.TuneTo(Mux(0, 1));
  scanner_.ReadTransportStreamSI(store_);
  ASSERT_EQ(driver_.Requests()[1].size(), 4u);
  EXPECT_EQ(driver_.Requests()[1][3].table_id, 0x01);
  const auto& u = store_.at(0x0101).transponders.at(0x0411);
  EXPECT_TRUE(u.cat.parsed);
  EXPECT_EQ(u.pmts.size(), 2u);
  EXPECT_FALSE(u.tdt.parsed);
}

TEST_F(ReaderTest, AStoredStreamKeepsItsRecordAndTheReadStopsAfterItsSdt) {
  driver_.TuneTo(Mux(0, 1));
  scanner_.ReadTransportStreamSI(store_);
  const auto* before = &store_.at(0x0101).transponders.at(0x0411);
  const u32 crc = before->pat.CRC_32;
  host_.output.clear();
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_EQ(&store_.at(0x0101).transponders.at(0x0411), before);
  EXPECT_EQ(before->pat.CRC_32, crc);
  EXPECT_TRUE(host_.Said("Got 1 SDT sections"));
  EXPECT_FALSE(host_.Said("Got 1 CAT sections"));
  EXPECT_EQ(driver_.Calls(), 3) << "no PMT request the second time";
}

TEST_F(ReaderTest, UnreadableTablesStoreNothingOrOnlyWhatParsed) {
  driver_.TuneTo(Mux(0, 0));
  // A PAT with a CRC error and no other PAT: nothing stored.
  (*SentFirst(0x00))[8] ^= 0x01;
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_TRUE(host_.Said("Error parsing PAT section"));
  EXPECT_TRUE(store_.empty());

  // An SDT that does not arrive: "Got 0 SDT sections", nothing stored.
  driver_.TuneTo(Mux(0, 0));
  for (vsim::TableSections& t : driver_.Tables())
    if (t.pid == 0x11) t.sections.erase(t.sections.begin(), t.sections.begin() + 1);
  host_.output.clear();
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_TRUE(host_.Said("Got 0 SDT sections"));
  EXPECT_TRUE(store_.empty());

  // No NIT actual: nothing stored, and the Output window says why, right
  // after the count.
  driver_.TuneTo(Mux(0, 0));
  for (vsim::TableSections& t : driver_.Tables())
    if (t.pid == 0x10)
      for (vsim::Bytes& s : t.sections)
        if (s[0] == 0x40) s[0] = 0x41;
  host_.output.clear();
  scanner_.ReadTransportStreamSI(store_);
  const auto got = std::find(host_.output.begin(), host_.output.end(), "Got 0 NIT sections");
  ASSERT_NE(got, host_.output.end());
  ASSERT_NE(got + 1, host_.output.end());
  EXPECT_EQ(got[1], "No NIT actual received - the transport stream is not stored");
  EXPECT_EQ(got + 2, host_.output.end());
  EXPECT_TRUE(store_.empty());

  // A bad EIT section and a CAT whose length runs past its buffer: both
  // refused, everything else kept.
  driver_.TuneTo(Mux(0, 0));
  (*SentFirst(0x4E))[10] ^= 0xFF;
  vsim::Bytes& cat = *SentFirst(0x01);
  cat[1] = static_cast<std::uint8_t>((cat[1] & 0xF0) | 0x0F);  // section_length 0xFFx: 4000 bytes
  host_.output.clear();
  host_.log.clear();
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_TRUE(host_.Said("Error parsing EIT 0x4e section: -1")) << "a CRC error has code -1";
  EXPECT_TRUE(host_.Said("Error parsing CAT section"));
  EXPECT_NE(std::find(host_.log.begin(), host_.log.end(), "1 Error parsing EIT 0x4e section: -1"),
            host_.log.end());
  const auto& t = store_.at(0x0101).transponders.at(0x0401);
  EXPECT_FALSE(t.cat.parsed);
  EXPECT_EQ(EitCount(t.eitPresentFollowingActual), Sent(0x4E).size() - 1);
}

TEST_F(ReaderTest, FailedOrCancelledRequestsStoreNothing) {
  driver_.TuneTo(Mux(0, 0));
  driver_.failCall = 1;
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_TRUE(host_.Said("Failed to read SI: 0x80004005"));
  EXPECT_TRUE(store_.empty());

  // Cancel during the first request: the flag is tested before the result.
  driver_.failCall = 0;
  driver_.onRequest = [&](int call) { if (call == 2) cancel_ = true; };
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_TRUE(store_.empty());
  EXPECT_FALSE(host_.Said("Got SI tables"));

  // Cancel during the PMT request: the tables were read, the stream is not stored.
  cancel_ = false;
  driver_.onRequest = [&](int call) { if (call == 4) cancel_ = true; };
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_TRUE(host_.Said("Got SI tables"));
  EXPECT_EQ(driver_.Calls(), 4);
  EXPECT_TRUE(store_.empty());

  // Cancelled before a request would start: the driver is not asked at all.
  driver_.onRequest = nullptr;
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_EQ(driver_.Calls(), 4) << "still cancelled: no request";
  cancel_ = false;
  host_.output.clear();
  host_.onOutput = [&](const std::string& line) { if (line == "Got 1 SDT sections") cancel_ = true; };
  scanner_.ReadTransportStreamSI(store_);
  host_.onOutput = nullptr;
  EXPECT_EQ(driver_.Calls(), 5) << "no PMT request after a cancel between the two";
  EXPECT_TRUE(store_.empty());

  // A failing PMT request: the stream is stored without PMTs.
  cancel_ = false;
  driver_.onRequest = nullptr;
  driver_.failCall = 7;
  scanner_.ReadTransportStreamSI(store_);
  ASSERT_EQ(store_.size(), 1u);
  EXPECT_TRUE(store_.at(0x0101).transponders.at(0x0401).pmts.empty());
}

TEST_F(ReaderTest, StreamMissingFromItsNitTakesTheTunersChannel) {
  driver_.TuneTo(Mux(0, 3), "19.2E");
  lib13818::NitSectionMap nit;
  lib13818::NetworkInformationSection section;
  const vsim::Bytes& raw = *SentFirst(0x40);
  section.Parse(raw.data(), raw.size());
  nit[section.table_id_extension][0] = section;
  const lib13818::DescriptorSatelliteDeliverySystem* sat = nullptr;
  EXPECT_TRUE(Scanner::FindCurrentTSInNIT(nit, sat, 0x0461));
  ASSERT_NE(sat, nullptr);
  EXPECT_EQ(sat->frequency_10kHz, 1260300u);
  const lib13818::DescriptorCableDeliverySystem* cable = nullptr;
  EXPECT_FALSE(Scanner::FindCurrentTSInNIT(nit, cable, 0x0461)) << "an entry without one of the kind";
  EXPECT_FALSE(Scanner::FindCurrentTSInNIT(nit, sat, 0x7777));
  EXPECT_FALSE(Scanner::FindCurrentTSInNIT({}, sat, 0x0461));

  // A NIT of another network only: the stream is not in it.
  driver_.TuneTo(Mux(1, 0), "13.0E");
  std::vector<vsim::Bytes> foreignNit = Sent(0x40);
  driver_.TuneTo(Mux(0, 3), "19.2E");
  for (vsim::TableSections& t : driver_.Tables())
    if (t.pid == 0x10)
      for (vsim::Bytes& s : t.sections)
        if (s[0] == 0x40) s = foreignNit[0];
  scanner_.ReadTransportStreamSI(store_);
  EXPECT_TRUE(host_.Said("current TS not found in NIT - using tuner parameters"));
  const auto& t = store_.at(0x0101).transponders.at(0x0461);
  EXPECT_EQ(t.satelliteName, "19.2E");
  EXPECT_EQ(t.SatelliteTuning().frequency, 1260300u);
  EXPECT_EQ(t.SatelliteTuning().polarization, 1);
}
