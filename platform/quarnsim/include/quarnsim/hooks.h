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
  // Registers (or unregisters) the library's classes.
  HRESULT Register(bool on = true) const {
    using Entry = HRESULT(__stdcall*)();
    auto f = reinterpret_cast<Entry>(reinterpret_cast<void*>(
        GetProcAddress(module, on ? "DllRegisterServer" : "DllUnregisterServer")));
    return f ? f() : E_FAIL;
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
