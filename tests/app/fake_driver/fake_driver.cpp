// A test plug-in server: driver classes that work, share a name, cannot be
// created or fail their Init, recording what the program hands them.
#include <windows.h>

#include <string>

#include "contract/driver_contract.h"
#include "fake_ids.h"
#include "orb_atl/bstr.h"
#include "orb_atl/com_object.h"
#include "orb_atl/server.h"

namespace {

void Record(const std::wstring& keyPath, const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
    return;
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

void Count(const std::wstring& keyPath, const wchar_t* name) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
    return;
  DWORD value = 0, size = sizeof value;
  if (::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    value = 0;
  ++value;
  ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  ::RegCloseKey(key);
}

template <bool kInitWorks>
class CFakeDriver final
    : public orb::com::ComClass<CFakeDriver<kInitWorks>, IDvbDriver, IDriverControl,
                                IDriverStatus> {
 public:
  // IDvbDriver
  STDMETHODIMP GetDriverName(BSTR* name) override {
    if (!name) return E_POINTER;
    return orb::com::Bstr(kInitWorks ? kFakeCardName : kFakeNoDeviceName).CopyTo(name);
  }
  // IDriverControl
  STDMETHODIMP Init(BSTR registryRoot, BSTR allUsersDataDir, BSTR userDataDir) override {
    Record(kFakeRecordKey, L"root", orb::com::Bstr(registryRoot).Str());
    Record(kFakeRecordKey, L"allusers", orb::com::Bstr(allUsersDataDir).Str());
    Record(kFakeRecordKey, L"user", orb::com::Bstr(userDataDir).Str());
    Count(kFakeRecordKey, L"inits");
    return kInitWorks ? S_OK : E_FAIL;
  }
  STDMETHODIMP SaveSettings() override {
    Count(kFakeRecordKey, L"saves");
    return S_OK;
  }
  STDMETHODIMP GetDeliveryType(short* type) override {
    if (!type) return E_POINTER;
    *type = 1;
    return S_OK;
  }
  STDMETHODIMP SetSatListMgr(ISatListManager* mgr) override {
    if (!mgr) return E_POINTER;
    Count(kFakeRecordKey, L"satlist");
    return S_OK;
  }
  // IDriverStatus
  STDMETHODIMP GetLockState(BOOL* locked) override {
    if (!locked) return E_POINTER;
    *locked = TRUE;
    return S_OK;
  }
  STDMETHODIMP Reserved1(DWORD) override { return E_FAIL; }
  STDMETHODIMP Reserved2(DWORD) override { return E_FAIL; }
  STDMETHODIMP GetSignalText(BSTR* text) override {
    if (!text) return E_POINTER;
    return orb::com::Bstr(L"LOCKED 99%").CopyTo(text);
  }
};

HRESULT CreateBroken(IUnknown*, REFIID, void** ppv) {
  if (ppv) *ppv = nullptr;
  return E_OUTOFMEMORY;
}

const orb::com::CategoryInfo kCategories[] = {{&CATID_DvbDrivers, L"DVB drivers"}};
const orb::com::ClassInfo kClasses[] = {
    {&kClsidFakeCard, &CFakeDriver<true>::CreateInstance, L"Fake card", L"OrbTest.FakeCard.1",
     L"OrbTest.FakeCard", L"Both", kCategories, 1},
    {&kClsidFakeTwin, &CFakeDriver<true>::CreateInstance, L"Fake twin", L"OrbTest.FakeTwin.1",
     L"OrbTest.FakeTwin", L"Both", kCategories, 1},
    {&kClsidFakeBroken, &CreateBroken, L"Fake broken", L"OrbTest.FakeBroken.1",
     L"OrbTest.FakeBroken", L"Both", kCategories, 1},
    {&kClsidFakeNoDevice, &CFakeDriver<false>::CreateInstance, L"Fake no device",
     L"OrbTest.FakeNoDevice.1", L"OrbTest.FakeNoDevice", L"Both", kCategories, 1},
};
const orb::com::ServerInfo kServer = {kClasses, 4, nullptr};

}  // namespace

ORB_COM_SERVER_EXPORTS(kServer)
