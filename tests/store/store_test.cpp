#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

#include "orb_store/si_store.h"
#include "section_builder.h"

using namespace lib13818;
using testing_support::Bytes;
using testing_support::SectionBuilder;

namespace {

SATDELIVERYDESC Sat(u32 frequency, u8 polarization, u8 fec, u32 symbolRate) {
  SATDELIVERYDESC r;
  std::memset(&r, 0, sizeof r);
  r.frequency = frequency;
  r.polarization = polarization;
  r.fec_inner = fec;
  r.symbol_rate = symbolRate;
  return r;
}

CABLEDELIVERYDESC Cable(u32 frequency, u32 symbolRate, u8 fec) {
  CABLEDELIVERYDESC r;
  std::memset(&r, 0, sizeof r);
  r.frequency = frequency;
  r.modulation = 3;
  r.symbol_rate = symbolRate;
  r.fec_inner = fec;
  return r;
}

TERRDELIVERYDESC Terr(u32 centreFrequency) {
  TERRDELIVERYDESC r;
  std::memset(&r, 0, sizeof r);
  r.centre_frequency = centreFrequency;
  r.guard_interval = 2;
  return r;
}

Transponder WithTsid(u32 tsid) {
  Transponder t;
  t.transport_stream_id = tsid;
  return t;
}

bool AllZero(const u8* p, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (p[i] != 0) return false;
  return true;
}

template <class S>
S Parsed(const Bytes& b) {
  S s;
  s.Parse(b.data(), b.size());
  EXPECT_TRUE(s.parsed);
  return s;
}

NetworkInformationSection Nit(u8 tableId, u16 networkId, u8 version, u8 sectionNumber, u8 last) {
  return Parsed<NetworkInformationSection>(SectionBuilder::Long(tableId, networkId, version, sectionNumber, last, 0xF)
                                               .BeginLoop()
                                               .EndLoop()
                                               .BeginLoop()
                                               .EndLoop()
                                               .Build());
}

ServiceDescriptionSection Sdt(u8 tableId, u16 tsid, u16 onid, u8 version, u8 sectionNumber) {
  return Parsed<ServiceDescriptionSection>(
      SectionBuilder::Long(tableId, tsid, version, sectionNumber, sectionNumber, 0xF).U16(onid).U8(0xFF).Build());
}

EventInformationSection Eit(u8 tableId, u16 sid, u16 tsid, u16 onid, u8 version, u8 sectionNumber) {
  return Parsed<EventInformationSection>(SectionBuilder::Long(tableId, sid, version, sectionNumber, sectionNumber, 0xF)
                                             .U16(tsid)
                                             .U16(onid)
                                             .U8(sectionNumber)
                                             .U8(tableId)
                                             .Build());
}

}  // namespace

TEST(TransponderLabel, ByDeliveryKind) {
  Transponder t = WithTsid(0x044D);
  EXPECT_EQ(t.GetLabel(), "044D - Unknown") << "a record without tuning";

  const SATDELIVERYDESC sat = Sat(1174300, 0, 3, 275000);
  t.SetSatelliteTuning("Astra 19.2E", &sat);
  EXPECT_EQ(t.GetLabel(), "044D - 11743H 3/4 27500");
  EXPECT_EQ(t.fecText, "3/4");
  EXPECT_EQ(t.satelliteName, "Astra 19.2E");

  const SATDELIVERYDESC odd = Sat(1070199, 7, 6, 299999);
  t.SetSatelliteTuning(nullptr, &odd);
  EXPECT_EQ(t.GetLabel(), "044D - 10701U reserved 29999") << "quotients truncate; 'U' above 3";
  EXPECT_EQ(t.satelliteName, "");
  const char letters[] = {'H', 'V', 'L', 'R', 'U'};
  for (u8 p = 0; p < 5; ++p) {
    const SATDELIVERYDESC r = Sat(1174300, p, 15, 275000);
    t.SetSatelliteTuning("", &r);
    EXPECT_EQ(t.GetLabel(), std::string("044D - 11743") + letters[p] + " no conv. coding 27500");
  }

  const CABLEDELIVERYDESC cable = Cable(3460000, 69000, 5);
  t.SetCableTuning(&cable);
  EXPECT_EQ(t.GetLabel(), "044D - 346000");

  const TERRDELIVERYDESC terr = Terr(47400000);
  t.SetTerrestrialTuning(&terr);
  EXPECT_EQ(t.GetLabel(), "044D - 474000");

  t.deliveryKind = 3;
  EXPECT_EQ(t.GetLabel(), "044D - Unknown");
  t.transport_stream_id = 0x1ABCDE;
  EXPECT_EQ(t.GetLabel(), "1ABCDE - Unknown") << "%04X is a minimum width";

  // The largest field values stay positive numbers.
  Transponder big = WithTsid(1);
  const SATDELIVERYDESC max = Sat(0xFFFFFFFFu, 1, 1, 0xFFFFFFFFu);
  big.SetSatelliteTuning("", &max);
  EXPECT_EQ(big.GetLabel(), "0001 - 42949672V 1/2 429496729");
}

TEST(TransponderAccessors, ConvertPerDeliveryKind) {
  Transponder t = WithTsid(1);
  EXPECT_EQ(t.GetFrequency(), 0.0);
  EXPECT_EQ(t.GetPolarization(), 0u);
  EXPECT_EQ(t.GetSymbolRate(), 0u);
  EXPECT_EQ(t.GetFec(), 0u);

  const SATDELIVERYDESC sat = Sat(1174300, 1, 3, 275000);
  t.SetSatelliteTuning("", &sat);
  EXPECT_EQ(t.GetFrequency(), 11.743);
  EXPECT_EQ(static_cast<u32>(t.GetFrequency() * 1000.0 + 0.5), 11743u);
  EXPECT_EQ(t.GetPolarization(), 1u);
  EXPECT_EQ(t.GetSymbolRate(), 275000000u);
  EXPECT_EQ(t.GetFec(), 3u);
  // Every 10 kHz step of the Ku band rounds to its own MHz.
  for (u32 f = 1070000; f <= 1275000; f += 100) {
    const SATDELIVERYDESC r = Sat(f, 0, 0, 0);
    t.SetSatelliteTuning("", &r);
    ASSERT_EQ(static_cast<u32>(t.GetFrequency() * 1000.0 + 0.5), f / 100) << f;
  }

  // A cable record: its own units and layout (symbol rate at 8, FEC at 12).
  const CABLEDELIVERYDESC cable = Cable(3460000, 69000, 5);
  t.SetCableTuning(&cable);
  EXPECT_EQ(t.GetFrequency(), 0.346);
  EXPECT_EQ(static_cast<u32>(t.GetFrequency() * 1000.0 + 0.5), 346u);
  EXPECT_EQ(t.GetPolarization(), 0u);
  EXPECT_EQ(t.GetSymbolRate(), 69000000u);
  EXPECT_EQ(t.GetFec(), 5u);

  const TERRDELIVERYDESC terr = Terr(47400000);
  t.SetTerrestrialTuning(&terr);
  EXPECT_EQ(t.GetFrequency(), 0.474);
  EXPECT_EQ(t.GetPolarization(), 0u);
  EXPECT_EQ(t.GetSymbolRate(), 0u);
  EXPECT_EQ(t.GetFec(), 0u);
}

TEST(TransponderRecord, ConstructedFromAnyMemoryIsEmptyAndWithoutTuning) {
  // Construct over garbage so that a member left without an initial value
  // would show.
  alignas(Transponder) unsigned char raw[sizeof(Transponder)];
  std::memset(raw, 0xA5, sizeof raw);
  Transponder* t = new (raw) Transponder;
  EXPECT_EQ(t->deliveryKind, Transponder::kDeliveryNone);
  EXPECT_TRUE(AllZero(t->tuning, sizeof t->tuning));
  EXPECT_EQ(t->transport_stream_id, 0u);
  EXPECT_TRUE(t->fecText.empty());
  EXPECT_TRUE(t->satelliteName.empty());
  EXPECT_FALSE(t->cat.parsed || t->bat.parsed || t->pat.parsed || t->rst.parsed || t->tdt.parsed || t->tot.parsed);
  EXPECT_TRUE(t->nitActual.empty() && t->nitOther.empty() && t->sdtActual.empty() && t->sdtOther.empty());
  EXPECT_TRUE(t->eitPresentFollowingActual.empty() && t->eitPresentFollowingOther.empty() &&
              t->eitScheduleActual.empty() && t->eitScheduleOther.empty());
  EXPECT_TRUE(t->ait.empty() && t->pmts.empty());
  EXPECT_EQ(t->GetLabel(), "0000 - Unknown");
  t->~Transponder();

  alignas(Network) unsigned char rawNetwork[sizeof(Network)];
  std::memset(rawNetwork, 0xA5, sizeof rawNetwork);
  Network* n = new (rawNetwork) Network;
  EXPECT_EQ(n->network_id, 0u);
  EXPECT_EQ(n->disq, 0u);
  EXPECT_EQ(n->switch12, 0u);
  EXPECT_TRUE(n->transponders.empty());
  n->~Network();
}

TEST(TransponderRecord, SettersCopyTheRecordAndClearWhatItDoesNotCover) {
  Transponder t = WithTsid(7);
  SATDELIVERYDESC sat = Sat(1174300, 2, 4, 275000);
  sat.west_east_flag = 1;
  sat.orbital_position = 192;
  t.SetSatelliteTuning("Hot Bird", &sat);
  EXPECT_EQ(t.deliveryKind, Transponder::kDeliverySatellite);
  EXPECT_EQ(std::memcmp(t.tuning, &sat, sizeof sat), 0);
  EXPECT_EQ(t.fecText, "5/6");

  const CABLEDELIVERYDESC cable = Cable(3460000, 69000, 5);
  t.SetCableTuning(&cable);
  EXPECT_EQ(t.deliveryKind, Transponder::kDeliveryCable);
  EXPECT_EQ(std::memcmp(t.tuning, &cable, sizeof cable), 0);
  EXPECT_TRUE(AllZero(t.tuning + sizeof cable, sizeof t.tuning - sizeof cable)) << "no satellite bytes left";
  EXPECT_TRUE(t.fecText.empty());
  EXPECT_TRUE(t.satelliteName.empty());

  const TERRDELIVERYDESC terr = Terr(47400000);
  t.SetTerrestrialTuning(&terr);
  EXPECT_EQ(t.deliveryKind, Transponder::kDeliveryTerrestrial);
  EXPECT_EQ(std::memcmp(t.tuning, &terr, sizeof terr), 0);
  EXPECT_TRUE(AllZero(t.tuning + sizeof terr, sizeof t.tuning - sizeof terr));
  EXPECT_EQ(t.TerrestrialTuning().guard_interval, 2u);

  // A null record changes nothing.
  t.SetSatelliteTuning("x", nullptr);
  t.SetCableTuning(nullptr);
  t.SetTerrestrialTuning(nullptr);
  EXPECT_EQ(t.deliveryKind, Transponder::kDeliveryTerrestrial);
  EXPECT_EQ(t.GetLabel(), "0007 - 474000");
}

TEST(TransponderRecord, CopiesAreDeep) {
  Transponder a = WithTsid(0x10);
  ASSERT_TRUE(FileSection(a, Nit(0x40, 1, 0, 0, 0)));
  a.pmts.emplace_back();
  const SATDELIVERYDESC sat = Sat(1174300, 0, 3, 275000);
  a.SetSatelliteTuning("A", &sat);
  Transponder b = a;
  a.nitActual.clear();
  a.pmts.clear();
  a.satelliteName = "changed";
  a.tuning[0] = 0;
  EXPECT_EQ(b.nitActual.size(), 1u);
  EXPECT_EQ(b.pmts.size(), 1u);
  EXPECT_EQ(b.satelliteName, "A");
  EXPECT_EQ(b.GetLabel(), "0010 - 11743H 3/4 27500");
}

TEST(SectionFiling, KeysFromTheSectionAndTheLastOneWins) {
  Transponder t;
  EXPECT_TRUE(FileSection(t, Nit(0x40, 0x0001, 1, 0, 1)));
  EXPECT_TRUE(FileSection(t, Nit(0x40, 0x0001, 1, 1, 1)));
  EXPECT_TRUE(FileSection(t, Nit(0x40, 0x0001, 2, 0, 1)));  // same keys, later
  EXPECT_TRUE(FileSection(t, Nit(0x41, 0x0002, 3, 0, 0)));
  ASSERT_EQ(t.nitActual.size(), 1u);
  ASSERT_EQ(t.nitActual.at(1).size(), 2u);
  EXPECT_EQ(t.nitActual.at(1).at(0).version_number, 2u);
  EXPECT_EQ(t.nitActual.at(1).at(1).version_number, 1u);
  ASSERT_EQ(t.nitOther.size(), 1u);
  EXPECT_EQ(t.nitOther.at(2).at(0).version_number, 3u);

  EXPECT_TRUE(FileSection(t, Sdt(0x42, 0x044D, 0x0001, 1, 0)));
  EXPECT_TRUE(FileSection(t, Sdt(0x42, 0x044D, 0x0001, 4, 0)));
  EXPECT_TRUE(FileSection(t, Sdt(0x46, 0x044E, 0x0085, 0, 2)));
  EXPECT_EQ(t.sdtActual.at(1).at(0x044D).size(), 1u);
  EXPECT_EQ(t.sdtActual.at(1).at(0x044D).at(0).version_number, 4u);
  EXPECT_EQ(t.sdtOther.at(0x85).at(0x044E).at(2).original_network_id, 0x85u);

  EXPECT_TRUE(FileSection(t, Eit(0x4E, 0x6D66, 0x044D, 1, 0, 0)));
  EXPECT_TRUE(FileSection(t, Eit(0x4E, 0x6D66, 0x044D, 1, 5, 0)));
  EXPECT_TRUE(FileSection(t, Eit(0x4E, 0x6D66, 0x044D, 1, 0, 1)));
  EXPECT_TRUE(FileSection(t, Eit(0x4F, 0x0010, 0x0020, 0x30, 0, 0)));
  EXPECT_TRUE(FileSection(t, Eit(0x50, 0x6D66, 0x044D, 1, 0, 8)));
  EXPECT_TRUE(FileSection(t, Eit(0x5F, 0x6D67, 0x044D, 1, 0, 8)));
  EXPECT_TRUE(FileSection(t, Eit(0x60, 0x0011, 0x0021, 0x31, 0, 0)));
  EXPECT_TRUE(FileSection(t, Eit(0x6F, 0x0012, 0x0021, 0x31, 0, 0)));
  const auto& pf = t.eitPresentFollowingActual.at(1).at(0x044D).at(0x6D66);
  ASSERT_EQ(pf.size(), 2u);
  EXPECT_EQ(pf.at(0).version_number, 5u);
  EXPECT_EQ(t.eitPresentFollowingOther.at(0x30).at(0x20).at(0x10).size(), 1u);
  EXPECT_EQ(t.eitScheduleActual.at(1).at(0x044D).size(), 2u);
  EXPECT_EQ(t.eitScheduleOther.at(0x31).at(0x21).size(), 2u);

  // Nothing is filed from a section that did not parse.
  NetworkInformationSection broken;
  Bytes b = SectionBuilder::Long(0x40, 9, 0, 0, 0, 0xF).BeginLoop().EndLoop().BeginLoop().EndLoop().Build();
  b.back() ^= 1;
  EXPECT_THROW(broken.Parse(b.data(), b.size()), lib13818::error);
  EXPECT_FALSE(FileSection(t, broken));
  EXPECT_EQ(t.nitActual.count(9), 0u);
  EXPECT_FALSE(FileSection(t, ServiceDescriptionSection()));
  EXPECT_FALSE(FileSection(t, EventInformationSection()));
}

TEST(StoreFiling, NetworksAreCreatedOnceAndFiledStreamsStay) {
  NetworkMap store;
  EXPECT_FALSE(IsFiled(store, 1, 0x044D));

  Transponder first = WithTsid(0x044D);
  const SATDELIVERYDESC sat = Sat(1174300, 0, 3, 275000);
  first.SetSatelliteTuning("", &sat);
  EXPECT_TRUE(FileTransponder(store, 1, first));
  ASSERT_EQ(store.size(), 1u);
  EXPECT_EQ(store.at(1).network_id, 1u);
  EXPECT_EQ(store.at(1).disq, 0u);
  EXPECT_EQ(store.at(1).switch12, 0u);
  EXPECT_TRUE(IsFiled(store, 1, 0x044D));
  EXPECT_FALSE(IsFiled(store, 2, 0x044D));
  const Transponder* filed = &store.at(1).transponders.at(0x044D);

  // A second stream of the same network joins it; the network stays as it was.
  store.at(1).disq = 5;
  EXPECT_TRUE(FileTransponder(store, 1, WithTsid(0x044E)));
  EXPECT_EQ(store.at(1).transponders.size(), 2u);
  EXPECT_EQ(store.at(1).network_id, 1u);
  EXPECT_EQ(store.at(1).disq, 5u);

  // A known stream keeps its record.
  Transponder again = WithTsid(0x044D);
  EXPECT_FALSE(FileTransponder(store, 1, std::move(again)));
  EXPECT_EQ(store.at(1).transponders.at(0x044D).GetLabel(), "044D - 11743H 3/4 27500");

  // Same transport_stream_id under another network: a record of its own.
  EXPECT_TRUE(FileTransponder(store, 0x85, WithTsid(0x044D)));
  EXPECT_EQ(store.at(0x85).network_id, 0x85u);
  EXPECT_EQ(store.at(0x85).transponders.at(0x044D).GetLabel(), "044D - Unknown");

  // Records stay where they were filed.
  for (u32 tsid = 1; tsid < 200; ++tsid) FileTransponder(store, tsid % 3, WithTsid(tsid + 0x1000));
  EXPECT_EQ(&store.at(1).transponders.at(0x044D), filed);
}
