#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "contract/driver_contract.h"

namespace {

std::wstring GuidText(const GUID& g) {
  wchar_t buf[64];
  StringFromGUID2(g, buf, 64);
  return buf;
}

struct Slot {
  const wchar_t* name;
  int index;  // vtable slot, IUnknown's three first
  int params;
};

struct InterfaceCase {
  const IID* iid;
  const wchar_t* iid_text;
  const wchar_t* name;
  std::vector<Slot> slots;
};

const std::vector<InterfaceCase>& Interfaces() {
  static const std::vector<InterfaceCase> cases = {
      {&IID_IDvbDriver, L"{25B857B1-139B-4DB3-98CF-FBFCD0D50B9E}", L"IDvbDriver", {{L"GetDriverName", 3, 1}}},
      {&IID_IDriverControl,
       L"{ABB1A3CD-52E4-4648-B059-716356D2D4F7}",
       L"IDriverControl",
       {{L"Init", 3, 3}, {L"SaveSettings", 4, 0}, {L"GetDeliveryType", 5, 1}, {L"SetSatListMgr", 6, 1}}},
      {&IID_IDriverDialogs,
       L"{F209EF9A-660B-4D77-A54F-AD659FF97175}",
       L"IDriverDialogs",
       {{L"ShowTuningDialog", 3, 1}, {L"ShowConfiguration", 4, 1}, {L"ShowStreaming", 5, 1}}},
      {&IID_IDriverStatus,
       L"{228BBB7B-9F13-4F9F-BD42-858BF0E473EC}",
       L"IDriverStatus",
       {{L"GetLockState", 3, 1}, {L"Reserved1", 4, 1}, {L"Reserved2", 5, 1}, {L"GetSignalText", 6, 1}}},
      {&IID_ISectionReader,
       L"{1771F5A2-F5EE-4C38-BAF2-B939F1F99642}",
       L"ISectionReader",
       {{L"Reserved1", 3, 4}, {L"GetSections", 4, 4}, {L"Reserved2", 5, 4}, {L"CancelSections", 6, 0}}},
      {&IID_ISetTuner,
       L"{CCD3785B-4C91-4E52-B001-F68F400F8473}",
       L"ISetTuner",
       {{L"SetSatellite", 3, 3},
        {L"TuneCable", 4, 2},
        {L"TuneTerrestrial", 5, 2},
        {L"GetSatChannel", 6, 2},
        {L"GetCableChannel", 7, 1},
        {L"GetTerrestrialChannel", 8, 1}}},
  };
  return cases;
}

class TypeLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_EQ(LoadTypeLibEx(path, REGKIND_NONE, &lib_), S_OK);
  }
  void TearDown() override {
    if (lib_) lib_->Release();
  }
  ITypeLib* lib_ = nullptr;
};

TEST(Identifiers, AreTheContractsOwn) {
  for (const InterfaceCase& c : Interfaces()) EXPECT_EQ(GuidText(*c.iid), c.iid_text) << c.name;
  EXPECT_EQ(GuidText(CATID_DvbDrivers), L"{EF0D1518-8E81-4B68-940C-42A0ABF05AA6}");
  EXPECT_EQ(GuidText(__uuidof(ISetTuner)), L"{CCD3785B-4C91-4E52-B001-F68F400F8473}");
  EXPECT_EQ(GuidText(__uuidof(ISatListManager)), L"{5CBF55BE-A269-416B-8737-EB8F9D3802CF}");
}

TEST_F(TypeLibrary, EveryInterfaceHasItsMethodsInSlotOrder) {
  for (const InterfaceCase& c : Interfaces()) {
    ITypeInfo* info = nullptr;
    ASSERT_EQ(lib_->GetTypeInfoOfGuid(*c.iid, &info), S_OK) << c.name;
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->cFuncs, static_cast<WORD>(c.slots.size())) << c.name;
    EXPECT_EQ(attr->cbSizeVft, (c.slots.size() + 3) * sizeof(void*)) << c.name;
    for (UINT i = 0; i < attr->cFuncs && i < c.slots.size(); ++i) {
      FUNCDESC* f = nullptr;
      ASSERT_EQ(info->GetFuncDesc(i, &f), S_OK);
      BSTR name = nullptr;
      info->GetDocumentation(f->memid, &name, nullptr, nullptr, nullptr);
      EXPECT_STREQ(name, c.slots[i].name) << c.name;
      EXPECT_EQ(f->oVft / static_cast<int>(sizeof(void*)), c.slots[i].index) << c.name << "::" << c.slots[i].name;
      EXPECT_EQ(f->cParams, c.slots[i].params) << c.name << "::" << c.slots[i].name;
      EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_HRESULT);
      SysFreeString(name);
      info->ReleaseFuncDesc(f);
    }
    info->ReleaseTypeAttr(attr);
    info->Release();
  }
}

// The type library's records lay out the same bytes as driver_records.h.
TEST_F(TypeLibrary, RecordsMatchTheCppLayout) {
  struct Field {
    const wchar_t* name;
    size_t offset;
  };
  struct RecordCase {
    const wchar_t* name;
    size_t size;
    std::vector<Field> fields;
  };
  const std::vector<RecordCase> records = {
      {L"SectionFilterSpec",
       sizeof(SectionFilterSpec),
       {{L"pid", offsetof(SectionFilterSpec, pid)},
        {L"table_id", offsetof(SectionFilterSpec, table_id)},
        {L"mode", offsetof(SectionFilterSpec, mode)},
        {L"match_extension", offsetof(SectionFilterSpec, match_extension)},
        {L"table_id_extension", offsetof(SectionFilterSpec, table_id_extension)}}},
      {L"SectionResult",
       sizeof(SectionResult),
       {{L"count", offsetof(SectionResult, count)}, {L"sections", offsetof(SectionResult, sections)}}},
      {L"SATDELIVERYDESC",
       sizeof(SATDELIVERYDESC),
       {{L"frequency", offsetof(SATDELIVERYDESC, frequency)},
        {L"orbital_position", offsetof(SATDELIVERYDESC, orbital_position)},
        {L"west_east_flag", offsetof(SATDELIVERYDESC, west_east_flag)},
        {L"polarization", offsetof(SATDELIVERYDESC, polarization)},
        {L"modulation", offsetof(SATDELIVERYDESC, modulation)},
        {L"symbol_rate", offsetof(SATDELIVERYDESC, symbol_rate)},
        {L"fec_inner", offsetof(SATDELIVERYDESC, fec_inner)}}},
      {L"CABLEDELIVERYDESC",
       sizeof(CABLEDELIVERYDESC),
       {{L"frequency", offsetof(CABLEDELIVERYDESC, frequency)},
        {L"fec_outer", offsetof(CABLEDELIVERYDESC, fec_outer)},
        {L"modulation", offsetof(CABLEDELIVERYDESC, modulation)},
        {L"symbol_rate", offsetof(CABLEDELIVERYDESC, symbol_rate)},
        {L"fec_inner", offsetof(CABLEDELIVERYDESC, fec_inner)}}},
      {L"TERRDELIVERYDESC",
       sizeof(TERRDELIVERYDESC),
       {{L"centre_frequency", offsetof(TERRDELIVERYDESC, centre_frequency)},
        {L"bandwidth", offsetof(TERRDELIVERYDESC, bandwidth)},
        {L"constellation", offsetof(TERRDELIVERYDESC, constellation)},
        {L"hierarchy", offsetof(TERRDELIVERYDESC, hierarchy)},
        {L"code_rate_hp", offsetof(TERRDELIVERYDESC, code_rate_hp)},
        {L"code_rate_lp", offsetof(TERRDELIVERYDESC, code_rate_lp)},
        {L"guard_interval", offsetof(TERRDELIVERYDESC, guard_interval)},
        {L"transmission_mode", offsetof(TERRDELIVERYDESC, transmission_mode)},
        {L"other_frequency_flag", offsetof(TERRDELIVERYDESC, other_frequency_flag)}}},
  };
  for (const RecordCase& r : records) {
    ITypeInfo* info = nullptr;
    ITypeInfo* found[1] = {};
    MEMBERID ids[1];
    USHORT n = 1;
    std::wstring name = r.name;
    ASSERT_EQ(lib_->FindName(&name[0], 0, found, ids, &n), S_OK) << r.name;
    ASSERT_EQ(n, 1) << r.name;
    info = found[0];
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    if (attr->typekind == TKIND_ALIAS) {  // typedef struct X {...} X: follow the alias
      HREFTYPE ref = attr->tdescAlias.hreftype;
      info->ReleaseTypeAttr(attr);
      ITypeInfo* target = nullptr;
      ASSERT_EQ(info->GetRefTypeInfo(ref, &target), S_OK);
      info->Release();
      info = target;
      ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    }
    ASSERT_EQ(attr->typekind, TKIND_RECORD) << r.name;
    EXPECT_EQ(attr->cbSizeInstance, r.size) << r.name;
    for (const Field& f : r.fields) {
      bool seen = false;
      for (UINT i = 0; i < attr->cVars; ++i) {
        VARDESC* v = nullptr;
        ASSERT_EQ(info->GetVarDesc(i, &v), S_OK);
        BSTR vn = nullptr;
        info->GetDocumentation(v->memid, &vn, nullptr, nullptr, nullptr);
        if (vn && std::wstring(vn) == f.name) {
          seen = true;
          EXPECT_EQ(static_cast<size_t>(v->oInst), f.offset) << r.name << "." << std::string(f.name, f.name + wcslen(f.name));
        }
        SysFreeString(vn);
        info->ReleaseVarDesc(v);
      }
      EXPECT_TRUE(seen) << r.name;
    }
    info->ReleaseTypeAttr(attr);
    info->Release();
  }
}

}  // namespace
