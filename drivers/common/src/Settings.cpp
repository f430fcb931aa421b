#include "drvcommon/Settings.h"

#include "orb_common/RegistryKey.h"

namespace {

// The settings' view of one open registry key.
class RegistryStore final : public drvcore::ValueStore {
 public:
  explicit RegistryStore(CRegistryKey& key) : key_(key) {}
  bool QueryDWORD(const char* name, drvcore::u32& value) override {
    DWORD v = 0;
    const bool ok = key_.QueryDWORD(name, v) != FALSE;
    value = v;
    return ok;
  }
  bool QueryString(const char* name, std::string& text) override {
    return key_.QueryString(name, text) != FALSE;
  }
  bool SetDWORD(const char* name, drvcore::u32 value) override {
    return key_.SetDWORD(name, value) != FALSE;
  }
  bool SetString(const char* name, const std::string& text) override {
    return key_.SetString(name, text.c_str()) != FALSE;
  }

 private:
  CRegistryKey& key_;
};

}  // namespace

void CSettings::Load(CRegistryKey& deviceKey, CDVBFrontend* fe) {
  const drvcore::u32 type = frontendType;
  RegistryStore store(deviceKey);
  drvcore::LoadSettings(*this, deviceKey.GetHandle() ? &store : nullptr);
  frontendType = type;  // not stored: Init sets it once the front end runs
  frontend = fe;
}

bool CSettings::Write(CRegistryKey& deviceKey) const {
  if (!deviceKey.GetHandle()) return false;
  RegistryStore store(deviceKey);
  return drvcore::WriteSettings(*this, store);
}
