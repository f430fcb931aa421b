// The test server: one class with two interfaces, registered under the test
// category with its type library.
#include <windows.h>

#include <string>

#include "orb_atl/bstr.h"
#include "orb_atl/com_object.h"
#include "orb_atl/server.h"
#include "orbtestcom.h"
#include "test_ids.h"

namespace {

class CTestThing final
    : public orb::com::ComClass<CTestThing, IOrbTestGreeter, IOrbTestCounter> {
 public:
  STDMETHODIMP Greet(BSTR name, BSTR* text) override {
    if (!text) return E_POINTER;
    orb::com::Bstr s(L"Hello, ");
    s.Append(orb::com::Bstr(name).View());
    return s.CopyTo(text);
  }
  STDMETHODIMP GetModuleLocks(long* count) override {
    if (!count) return E_POINTER;
    *count = orb::com::ModuleLockCount();
    return S_OK;
  }
  STDMETHODIMP Add(long n, long* total) override {
    if (!total) return E_POINTER;
    *total = (total_ += n);
    return S_OK;
  }

 private:
  long total_ = 0;
};

const orb::com::CategoryInfo kCategories[] = {{&kCatidOrbTest, kOrbTestCategoryName}};
const orb::com::ClassInfo kClasses[] = {{&CLSID_OrbTestThing, &CTestThing::CreateInstance,
                                         kOrbTestDescription, kOrbTestProgId, kOrbTestViProgId,
                                         L"Both", kCategories, 1}};
const orb::com::ServerInfo kServer = {kClasses, 1, &LIBID_OrbTestComLib};

}  // namespace

ORB_COM_SERVER_EXPORTS(kServer)
