#pragma once
// Support for the plug-in tests: the three vendor-library plug-ins and their
// simulated access libraries, registry scratch keys, a watcher that answers
// the plug-ins' message boxes and dialogs, and a satellite list manager
// stand-in.
#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "contract/driver_contract.h"
#include "dvbacc/dvbacc_sim.h"
#include "orb_atl/com_object.h"
#include "orb_atl/com_ptr.h"

namespace plugtest {

struct Plugin {
  const char* name;        // "corvane"
  const wchar_t* dll;      // L"corvane.dll"
  const char* vendorDll;   // "cvdvbacc.dll"
  const CLSID* clsid;
  const IID* ownInterface;
  const GUID* libId;
  const wchar_t* description;
  const wchar_t* progId;
  const wchar_t* viProgId;
  const wchar_t* driverName;
  bool errorInfo;          // answers ISupportErrorInfo
  int filterType;          // section filter type the family uses
  int selectDeviceDialog;  // resource id of "Select device"
};
const std::vector<Plugin>& Plugins();
// The plug-in named `name` ("corvane"); null when there is none.
const Plugin* PluginNamed(const std::string& name);

// The test program's folder (the plug-ins and libraries are copied there).
std::wstring ExeDir();

// The simulated access library's test hooks, from the loaded library.
struct Vsim {
  explicit Vsim(const char* dllName);
  HMODULE module = nullptr;
  void (*Reset)() = nullptr;
  int (*SetDevices)(const char*) = nullptr;
  int (*SetWorld)(const char*) = nullptr;
  void (*FailCall)(const char*, int) = nullptr;
  int (*DiseqcCount)() = nullptr;
  int (*GetDiseqc)(int, VSIM_DISEQC*) = nullptr;
  int (*ChannelCount)() = nullptr;
  int (*GetChannel)(int, VSIM_CHANNEL*) = nullptr;
  int (*ActiveFilters)() = nullptr;
  int (*GetTrace)(char*, int) = nullptr;
  std::string Trace() const;
  std::vector<VSIM_DISEQC> Diseqc() const;
  std::vector<VSIM_CHANNEL> Channels() const;
};

// Registry values under HKEY_LOCAL_MACHINE.
bool ReadDword(const std::string& key, const char* name, DWORD& value);
bool ReadString(const std::string& key, const char* name, std::string& value);
void WriteDword(const std::string& key, const char* name, DWORD value);
void WriteString(const std::string& key, const char* name, const std::string& value);
bool KeyExists(HKEY root, const std::wstring& key);
std::wstring ReadDefaultValue(HKEY root, const std::wstring& key, const wchar_t* name = nullptr);

// Answers the modal windows (message boxes, dialogs) the process shows
// while it lives: `answer` gets each window once and returns the command
// to send it (IDOK, IDCANCEL, ...).
class DialogWatcher {
 public:
  struct Seen {
    std::string caption;
    std::string text;  // a message box's text
    int listItems = -1;  // items of the "Select device" list
    std::vector<std::string> listTexts;  // their texts, in list order
    int listSelection = -1;              // the item selected when the window was seen
  };
  using Answer = std::function<int(HWND, const Seen&)>;
  explicit DialogWatcher(Answer answer = nullptr);
  ~DialogWatcher();
  std::vector<Seen> Windows();

 private:
  void Run();
  Answer answer_;
  std::atomic<bool> stop_{false};
  std::mutex m_;
  std::vector<Seen> seen_;
  std::thread thread_;
};

// A satellite list manager that knows only how many satellites it has.
class CFakeSatList final : public orb::com::ComClass<CFakeSatList, ISatListManager> {
 public:
  long count = 1;
  HRESULT countResult = S_OK;
  STDMETHODIMP EnumSatellites(long, long, IEnumSatellites**) override { return E_NOTIMPL; }
  STDMETHODIMP FindSatellite(BSTR, ISatellite**) override { return E_NOTIMPL; }
  STDMETHODIMP Save(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP Load(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP StoreSatellite(ISatellite*) override { return E_NOTIMPL; }
  STDMETHODIMP DeleteSatellite(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP CreateSatellite(BSTR, ISatellite**) override { return E_NOTIMPL; }
  STDMETHODIMP Reserved10() override { return E_NOTIMPL; }
  STDMETHODIMP GetSatelliteCount(long* n) override {
    if (!n) return E_POINTER;
    if (FAILED(countResult)) return countResult;
    *n = count;
    return S_OK;
  }
};

}  // namespace plugtest
