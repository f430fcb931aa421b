#include "plugin_support.h"

#include <set>

#include "belvane.h"
#include "corvane.h"
#include "ustrel.h"

namespace plugtest {

const std::vector<Plugin>& Plugins() {
  static const std::vector<Plugin> plugins = {
      {"corvane", L"corvane.dll", "cvdvbacc.dll", &CLSID_corvan, &IID_Icorvan, &LIBID_CORVANELib,
       L"corvan Class", L"Corvane.corvan.1", L"Corvane.corvan",
       L"Corvane PCI - premium family,Corvane Prime-S,Corvane Prime-S1", true, FILTERTYPE_SECTIONS, 203},
      {"belvane", L"belvane.dll", "bvlcdacc.dll", &CLSID_BelvaneDevice, &IID_IBelvaneDevice,
       &LIBID_BELVANELib, L"BelvaneDevice Class", L"Belvane.BelvaneDevice.1", L"Belvane.BelvaneDevice",
       L"Belvane PCI - budget family,Belvane Lite PCI", false, FILTERTYPE_SECTIONS_SW, 201},
      {"ustrel", L"ustrel.dll", "ustrelacc.dll", &CLSID_UstrelDevice, &IID_IUstrelDevice,
       &LIBID_USTRELLib, L"UstrelDevice Class", L"Ustrel.UstrelDevice.1", L"Ustrel.UstrelDevice",
       L"Ustrel USB family,Ustrel Lite USB", false, FILTERTYPE_SECTIONS_SW, 201},
  };
  return plugins;
}

const Plugin* PluginNamed(const std::string& name) {
  for (const Plugin& p : Plugins())
    if (name == p.name) return &p;
  return nullptr;
}

std::wstring ExeDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  dir.resize(dir.find_last_of(L'\\'));
  return dir;
}

namespace {

template <class F>
void Resolve(HMODULE m, const char* name, F& f) {
  f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

}  // namespace

Vsim::Vsim(const char* dllName) {
  module = LoadLibraryA(dllName);
  if (!module) return;
  Resolve(module, "VsimReset", Reset);
  Resolve(module, "VsimSetDevices", SetDevices);
  Resolve(module, "VsimSetWorld", SetWorld);
  Resolve(module, "VsimFailCall", FailCall);
  Resolve(module, "VsimDiseqcCount", DiseqcCount);
  Resolve(module, "VsimGetDiseqc", GetDiseqc);
  Resolve(module, "VsimChannelCount", ChannelCount);
  Resolve(module, "VsimGetChannel", GetChannel);
  Resolve(module, "VsimActiveFilters", ActiveFilters);
  Resolve(module, "VsimGetTrace", GetTrace);
}

std::string Vsim::Trace() const {
  const int n = GetTrace(nullptr, 0);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  GetTrace(s.data(), n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

std::vector<VSIM_DISEQC> Vsim::Diseqc() const {
  std::vector<VSIM_DISEQC> out(static_cast<size_t>(DiseqcCount()));
  for (size_t i = 0; i < out.size(); ++i) GetDiseqc(static_cast<int>(i), &out[i]);
  return out;
}

std::vector<VSIM_CHANNEL> Vsim::Channels() const {
  std::vector<VSIM_CHANNEL> out(static_cast<size_t>(ChannelCount()));
  for (size_t i = 0; i < out.size(); ++i) GetChannel(static_cast<int>(i), &out[i]);
  return out;
}

bool ReadDword(const std::string& key, const char* name, DWORD& value) {
  DWORD size = sizeof value;
  return RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                      &size) == ERROR_SUCCESS;
}

bool ReadString(const std::string& key, const char* name, std::string& value) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return false;
  value = buffer;
  return true;
}

void WriteDword(const std::string& key, const char* name, DWORD value) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(k);
}

void WriteString(const std::string& key, const char* name, const std::string& value) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

std::wstring ReadDefaultValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

DialogWatcher::DialogWatcher(Answer answer) : answer_(std::move(answer)) {
  thread_ = std::thread([this] { Run(); });
}

DialogWatcher::~DialogWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<DialogWatcher::Seen> DialogWatcher::Windows() {
  std::lock_guard<std::mutex> lock(m_);
  return seen_;
}

namespace {

struct Found {
  DWORD pid;
  std::vector<HWND> windows;
};

BOOL CALLBACK Collect(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == f->pid && IsWindowVisible(w) && std::string(cls) == "#32770") f->windows.push_back(w);
  return TRUE;
}

}  // namespace

void DialogWatcher::Run() {
  std::set<HWND> answered;
  while (!stop_) {
    Found f{GetCurrentProcessId(), {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&f));
    for (HWND w : f.windows) {
      if (answered.count(w)) continue;
      Seen s;
      char text[2048] = {};
      GetWindowTextA(w, text, sizeof text);
      s.caption = text;
      text[0] = 0;
      GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
      s.text = text;
      if (HWND list = GetDlgItem(w, 214)) {
        s.listItems = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < s.listItems; ++i) {
          const LRESULT n = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
          std::string item(n > 0 ? static_cast<size_t>(n) : 0, '\0');
          if (n > 0) SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
          s.listTexts.push_back(item);
        }
        s.listSelection = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
      }
      const int command = answer_ ? answer_(w, s) : IDOK;
      {
        std::lock_guard<std::mutex> lock(m_);
        seen_.push_back(s);
      }
      answered.insert(w);
      PostMessageA(w, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    }
    // Forget windows that are gone (a handle may be used again).
    for (auto it = answered.begin(); it != answered.end();)
      it = IsWindow(*it) ? std::next(it) : answered.erase(it);
    Sleep(10);
  }
}

}  // namespace plugtest
