#pragma once
// The test hooks of quarnsim.dll (quarnsim.h) reached through the module a
// test registered: every test program of one Wine prefix registers the one
// library of the build tree, so that the filters COM creates and the hooks
// the test calls are the same module.
#include <windows.h>

#include <string>

#include "quarnsim/quarnsim.h"

struct QsimHooks {
  // `path`: the library's path, a Unix path of the build tree taken as on
  // drive Z:, or a Windows path.
  explicit QsimHooks(const char* path) {
    std::string p = path ? path : "";
    if (!p.empty() && p[0] == '/') {
      for (char& c : p)
        if (c == '/') c = '\\';
      p = "Z:" + p;
    }
    windowsPath = p;
    module = LoadLibraryA(p.c_str());
    if (!module) return;
    Bind(Reset, "QsimReset");
    Bind(SetWorld, "QsimSetWorld");
    Bind(SetTunerType, "QsimSetTunerType");
    Bind(SetPacketRate, "QsimSetPacketRate");
    Bind(FailCall, "QsimFailCall");
    Bind(LiveFilters, "QsimLiveFilters");
    Bind(RunningStreams, "QsimRunningStreams");
    Bind(TuneCount, "QsimTuneCount");
    Bind(GetTune, "QsimGetTune");
  }
  // Registers the library's classes unless this very file is registered
  // already: test programs of one prefix run side by side, and rewriting
  // the classes' keys while another program creates them would fail its
  // creation.  Serialised across processes by a named mutex.
  HRESULT Register() const {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"OrbQuarnSimRegistration");
    if (mutex) WaitForSingleObject(mutex, 30000);
    HRESULT hr = S_OK;
    if (!Registered()) {
      using Entry = HRESULT(__stdcall*)();
      auto f = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
      hr = f ? f() : E_FAIL;
    }
    if (mutex) {
      ReleaseMutex(mutex);
      CloseHandle(mutex);
    }
    return hr;
  }
  // True when the source filter's class names this file as its server.
  bool Registered() const {
    char path[MAX_PATH] = {};
    if (!module || !GetModuleFileNameA(module, path, MAX_PATH)) return false;
    char value[MAX_PATH] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, "CLSID\\{E82536A0-94DA-11D2-A463-00A0C95D308D}\\InprocServer32", value,
                       &size) != ERROR_SUCCESS)
      return false;
    return lstrcmpiA(value, path) == 0;
  }
  QSIM_TUNE LastTune() const {
    QSIM_TUNE t{};
    GetTune(TuneCount() - 1, &t);
    return t;
  }

  std::string windowsPath;
  HMODULE module = nullptr;
  void (*Reset)() = nullptr;
  int (*SetWorld)(const char*) = nullptr;
  void (*SetTunerType)(int) = nullptr;
  void (*SetPacketRate)(unsigned) = nullptr;
  void (*FailCall)(const char*, int) = nullptr;
  int (*LiveFilters)() = nullptr;
  int (*RunningStreams)() = nullptr;
  int (*TuneCount)() = nullptr;
  int (*GetTune)(int, QSIM_TUNE*) = nullptr;

 private:
  template <class F>
  void Bind(F& f, const char* name) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
};
