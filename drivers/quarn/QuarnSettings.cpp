#include "QuarnSettings.h"

#include <cstring>

#include "orb_common/RegistryKey.h"

namespace quarn {

namespace {

bool NotStored(const char* name) {
  return std::strcmp(name, "inversion") == 0 || std::strcmp(name, "bandwidth") == 0 ||
         std::strcmp(name, "scan") == 0;
}

// The framework's value store over one key, as Quarn keeps it: the values it
// does not store are neither read nor written, and its own defaults stand in
// for missing last-channel values.
class QuarnStore final : public drvcore::ValueStore {
 public:
  explicit QuarnStore(CRegistryKey* key) : key_(key) {}
  bool QueryDWORD(const char* name, drvcore::u32& value) override {
    if (NotStored(name)) return false;
    DWORD v = 0;
    if (key_ && key_->QueryDWORD(name, v)) {
      value = v;
      return true;
    }
    if (std::strcmp(name, "frequency") == 0) value = kDefaultFrequency;
    else if (std::strcmp(name, "symbolrate") == 0) value = kDefaultSymbolRate;
    else if (std::strcmp(name, "lnbpower") == 0) value = kDefaultPolarity;
    else if (std::strcmp(name, "viterbi") == 0) value = kDefaultFec;
    else if (std::strcmp(name, "qam") == 0) value = kDefaultModulation;
    else return false;
    return true;
  }
  bool QueryString(const char* name, std::string& text) override {
    return key_ && key_->QueryString(name, text) != FALSE;
  }
  bool SetDWORD(const char* name, drvcore::u32 value) override {
    if (NotStored(name)) return true;
    return key_ && key_->SetDWORD(name, value) != FALSE;
  }
  bool SetString(const char* name, const std::string& text) override {
    return key_ && key_->SetString(name, text.c_str()) != FALSE;
  }

 private:
  CRegistryKey* key_;
};

}  // namespace

void LoadSettings(CSettings& settings, CRegistryKey& key) {
  const drvcore::u32 type = settings.frontendType;
  QuarnStore store(key.GetHandle() ? &key : nullptr);
  drvcore::LoadSettings(settings, &store);
  settings.frontendType = type;
}

bool WriteSettings(const CSettings& settings, CRegistryKey& key) {
  if (!key.GetHandle()) return false;
  QuarnStore store(&key);
  return drvcore::WriteSettings(settings, store);
}

}  // namespace quarn
