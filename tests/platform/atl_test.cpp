// COM server helpers under Wine: smart pointers, and a test server that is
// registered, found through its component category, created, and removed.
#include <comcat.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orb_atl/bstr.h"
#include "orb_atl/com_object.h"
#include "orb_atl/com_ptr.h"
#include "orb_atl/module.h"
#include "orbtestcom.h"
#include "test_ids.h"
#include "win_process.h"

using orb::com::Bstr;
using orb::com::ComPtr;
using orb::com::GuidToString;

namespace {

class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))); }
  void TearDown() override { ::CoUninitialize(); }
};

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path);
  return s.substr(0, s.find_last_of(L'\\'));
}

std::wstring ServerPath() { return ExeFolder() + L"\\orbtestcom.dll"; }

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  ::RegCloseKey(key);
  return true;
}

std::wstring ReadText(const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (::RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

std::vector<CLSID> ClassesOfTestCategory() {
  std::vector<CLSID> found;
  ComPtr<ICatInformation> info;
  if (FAILED(::CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICatInformation, info.PutVoid())))
    return found;
  CATID cat = kCatidOrbTest;
  ComPtr<IEnumCLSID> classes;
  if (FAILED(info->EnumClassesOfCategories(1, &cat, 0, nullptr, classes.Put()))) return found;
  CLSID clsid;
  ULONG fetched = 0;
  while (classes->Next(1, &clsid, &fetched) == S_OK && fetched == 1) found.push_back(clsid);
  return found;
}

bool Contains(const std::vector<CLSID>& v, REFCLSID c) {
  for (const CLSID& x : v)
    if (IsEqualCLSID(x, c)) return true;
  return false;
}

// The test server's DLL, loaded by the test itself to reach its entry points.
class ServerDll {
 public:
  ServerDll() : module_(::LoadLibraryW(ServerPath().c_str())) {}
  ~ServerDll() {
    if (module_) ::FreeLibrary(module_);
  }
  ServerDll(const ServerDll&) = delete;
  ServerDll& operator=(const ServerDll&) = delete;
  bool Loaded() const { return module_ != nullptr; }
  HRESULT Call(const char* entry) {
    auto fn = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(module_, entry)));
    return fn ? fn() : E_NOTIMPL;
  }
  HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    using Fn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(module_, "DllGetClassObject")));
    return fn ? fn(clsid, riid, ppv) : E_NOTIMPL;
  }

 private:
  HMODULE module_;
};

const std::wstring kClsidKey = L"CLSID\\" + GuidToString(CLSID_OrbTestThing);
const std::wstring kTypeLibKey = L"TypeLib\\" + GuidToString(LIBID_OrbTestComLib);

void ExpectRegistered() {
  EXPECT_EQ(ReadText(kClsidKey), kOrbTestDescription);
  EXPECT_EQ(ReadText(kClsidKey + L"\\ProgID"), kOrbTestProgId);
  EXPECT_EQ(ReadText(kClsidKey + L"\\VersionIndependentProgID"), kOrbTestViProgId);
  EXPECT_EQ(ReadText(kClsidKey + L"\\InprocServer32"), ServerPath());
  EXPECT_EQ(ReadText(kClsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Both");
  EXPECT_EQ(ReadText(kClsidKey + L"\\TypeLib"), GuidToString(LIBID_OrbTestComLib));
  EXPECT_EQ(ReadText(kOrbTestProgId), kOrbTestDescription);
  EXPECT_EQ(ReadText(std::wstring(kOrbTestProgId) + L"\\CLSID"), GuidToString(CLSID_OrbTestThing));
  EXPECT_EQ(ReadText(kOrbTestViProgId), kOrbTestDescription);
  EXPECT_EQ(ReadText(std::wstring(kOrbTestViProgId) + L"\\CLSID"),
            GuidToString(CLSID_OrbTestThing));
  EXPECT_EQ(ReadText(std::wstring(kOrbTestViProgId) + L"\\CurVer"), kOrbTestProgId);
  EXPECT_TRUE(KeyExists(kTypeLibKey + L"\\1.0\\0\\win64") ||
              KeyExists(kTypeLibKey + L"\\1.0\\0\\win32"));
  EXPECT_EQ(ReadText(L"Component Categories\\" + GuidToString(kCatidOrbTest), L"409"),
            kOrbTestCategoryName);
  EXPECT_TRUE(KeyExists(kClsidKey + L"\\Implemented Categories\\" + GuidToString(kCatidOrbTest)));
}

void ExpectUnregistered() {
  EXPECT_FALSE(KeyExists(kClsidKey));
  EXPECT_FALSE(KeyExists(kOrbTestProgId));
  EXPECT_FALSE(KeyExists(kOrbTestViProgId));
  EXPECT_FALSE(KeyExists(kTypeLibKey));
  EXPECT_FALSE(Contains(ClassesOfTestCategory(), CLSID_OrbTestThing));
}

// A counting stand-in for a COM object.
struct Counted : IUnknown {
  LONG refs = 1;
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!IsEqualIID(riid, IID_IUnknown)) return *ppv = nullptr, E_NOINTERFACE;
    *ppv = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
};

}  // namespace

TEST(ComPtrTest, CountsReferences) {
  Counted object;
  {
    ComPtr<IUnknown> a(&object);
    EXPECT_EQ(object.refs, 2);
    ComPtr<IUnknown> b = a;
    EXPECT_EQ(object.refs, 3);
    ComPtr<IUnknown> c = std::move(b);
    EXPECT_EQ(object.refs, 3);
    EXPECT_FALSE(b);
    c = nullptr;
    EXPECT_EQ(object.refs, 2);
    IUnknown* out = nullptr;
    EXPECT_EQ(a.CopyTo(&out), S_OK);
    EXPECT_EQ(object.refs, 3);
    out->Release();
    EXPECT_EQ(a.CopyTo(nullptr), E_POINTER);
    a = a;  // self-assignment keeps the reference
    EXPECT_EQ(object.refs, 2);
    ComPtr<IUnknown> d;
    EXPECT_EQ(a.As(d), S_OK);
    EXPECT_EQ(object.refs, 3);
    IUnknown* raw = d.Detach();
    EXPECT_EQ(object.refs, 3);
    d.Attach(raw);
  }
  EXPECT_EQ(object.refs, 1);
}

TEST(BstrTest, OwnsItsText) {
  Bstr empty;
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Get(), nullptr);
  BSTR out = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(empty.CopyTo(&out), S_OK);
  EXPECT_EQ(out, nullptr);

  const wchar_t withNul[] = {L'a', L'\0', L'b'};
  Bstr s(std::wstring_view(withNul, 3));
  EXPECT_EQ(s.Length(), 3u);
  Bstr copy = s;
  EXPECT_NE(copy.Get(), s.Get());
  EXPECT_TRUE(copy == s);
  ASSERT_EQ(s.CopyTo(&out), S_OK);
  EXPECT_EQ(::SysStringLen(out), 3u);
  ::SysFreeString(out);

  Bstr hello(L"Gr\u00fc\u00dfe");
  hello.Append(L" 19E");
  EXPECT_TRUE(hello == std::wstring_view(L"Gr\u00fc\u00dfe 19E"));
  EXPECT_EQ(hello.ToNarrow(CP_UTF8), "Gr\xc3\xbc\xc3\x9f" "e 19E");
  EXPECT_TRUE(Bstr::FromNarrow("Gr\xc3\xbc\xc3\x9f" "e 19E", CP_UTF8) == hello);
  EXPECT_TRUE(Bstr::FromNarrow("").Empty());
  *hello.Put() = ::SysAllocString(L"x");
  EXPECT_EQ(hello.Str(), L"x");
}

TEST_F(ComTest, ServerRegistersIsFoundCreatedAndUnregistersCleanly) {
  ServerDll dll;
  ASSERT_TRUE(dll.Loaded());
  dll.Call("DllUnregisterServer");  // whatever an earlier run left

  ASSERT_EQ(dll.Call("DllRegisterServer"), S_OK);
  ExpectRegistered();
  // A second registration leaves the same single set of keys.
  ASSERT_EQ(dll.Call("DllRegisterServer"), S_OK);
  ExpectRegistered();

  // Listed under its category by the component categories manager.
  EXPECT_TRUE(Contains(ClassesOfTestCategory(), CLSID_OrbTestThing));

  {
    ComPtr<IOrbTestGreeter> greeter;
    ASSERT_EQ(greeter.CoCreateInstance(CLSID_OrbTestThing, 0x17), S_OK);
    Bstr text;
    ASSERT_EQ(greeter->Greet(Bstr(L"Wine"), text.Put()), S_OK);
    EXPECT_EQ(text.Str(), L"Hello, Wine");

    ComPtr<IOrbTestCounter> counter;
    ASSERT_EQ(greeter.As(counter), S_OK);
    long total = 0;
    EXPECT_EQ(counter->Add(5, &total), S_OK);
    EXPECT_EQ(counter->Add(2, &total), S_OK);
    EXPECT_EQ(total, 7);
    EXPECT_TRUE(orb::com::SameObject(greeter.Get(), counter.Get()));
    ComPtr<IDispatch> none;
    EXPECT_EQ(greeter.As(none), E_NOINTERFACE);
    EXPECT_EQ(greeter->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    // The object holds the server's module; the server cannot unload.
    long locks = 0;
    EXPECT_EQ(greeter->GetModuleLocks(&locks), S_OK);
    EXPECT_GE(locks, 1);
    EXPECT_EQ(dll.Call("DllCanUnloadNow"), S_FALSE);

    // Creation through the class object of the ProgID's class.
    CLSID byProgId;
    ASSERT_EQ(::CLSIDFromProgID(kOrbTestViProgId, &byProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(byProgId, CLSID_OrbTestThing));
  }
  {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(dll.GetClassObject(CLSID_OrbTestThing, IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory = nullptr;
    EXPECT_EQ(dll.Call("DllCanUnloadNow"), S_FALSE);
    ASSERT_EQ(dll.GetClassObject(CLSID_OrbTestThing, IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    ComPtr<IUnknown> outer;
    ComPtr<IUnknown> aggregated;
    Counted fakeOuter;
    EXPECT_EQ(factory->CreateInstance(&fakeOuter, IID_IUnknown, aggregated.PutVoid()),
              CLASS_E_NOAGGREGATION);
    ComPtr<IOrbTestCounter> counter;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IOrbTestCounter, counter.PutVoid()), S_OK);
  }
  ::CoFreeUnusedLibraries();
  EXPECT_EQ(dll.Call("DllCanUnloadNow"), S_OK);

  ComPtr<IUnknown> unknown;
  EXPECT_EQ(dll.GetClassObject(CLSID_StdComponentCategoriesMgr, IID_IClassFactory,
                               unknown.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(unknown.Get(), nullptr);

  ASSERT_EQ(dll.Call("DllUnregisterServer"), S_OK);
  ExpectUnregistered();
  ComPtr<IOrbTestGreeter> gone;
  EXPECT_EQ(gone.CoCreateInstance(CLSID_OrbTestThing, 0x17), REGDB_E_CLASSNOTREG);
  // Unregistering what is not registered is no failure.
  EXPECT_EQ(dll.Call("DllUnregisterServer"), S_OK);
}

TEST_F(ComTest, UnregistrationKeepsAProgIdOfAnotherClass) {
  ServerDll dll;
  ASSERT_TRUE(dll.Loaded());
  ASSERT_EQ(dll.Call("DllRegisterServer"), S_OK);
  // Another server has taken the version-independent ProgID meanwhile.
  const std::wstring other = L"{00000000-1111-2222-3333-444444444444}";
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kOrbTestViProgId) + L"\\CLSID").c_str(),
                              0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(other.c_str()),
                   static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);

  ASSERT_EQ(dll.Call("DllUnregisterServer"), S_OK);
  EXPECT_FALSE(KeyExists(kClsidKey));
  EXPECT_FALSE(KeyExists(kOrbTestProgId));
  EXPECT_EQ(ReadText(std::wstring(kOrbTestViProgId) + L"\\CLSID"), other);
  ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kOrbTestViProgId);
  ::RegDeleteKeyW(HKEY_CLASSES_ROOT, kOrbTestViProgId);
}

TEST_F(ComTest, Regsvr32RegistersAndUnregisters) {
  auto run = [](const std::wstring& args) {
    return orb_test::RunProcess(L"regsvr32.exe /s " + args + L" \"" + ServerPath() + L"\"");
  };
  orb_test::ProcessRun r = run(L"");
  ASSERT_TRUE(r.Ok()) << "regsvr32: " << r.Describe();
  ExpectRegistered();
  EXPECT_TRUE(Contains(ClassesOfTestCategory(), CLSID_OrbTestThing));
  r = run(L"/u");
  ASSERT_TRUE(r.Ok()) << "regsvr32 /u: " << r.Describe();
  ExpectUnregistered();
}
