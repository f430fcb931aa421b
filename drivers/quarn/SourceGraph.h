#pragma once
// CSourceGraph: the plug-in's one DirectShow filter graph around the card
// maker's source filter, its three control interfaces, the source's output
// pins, and the filters that the users of the graph (section reading, the
// streaming pages) hang on its data pins, one per data pin.
//
// Every failed step is kept as the last error: its HRESULT and a text of at
// most 49 characters naming the step, also written to the plug-in log.
//
// Threads: graph building and the per-pin filters are guarded by the
// object's lock.  One user at a time works on the graph (Claim/Unclaim):
// section reading and each streaming page claim it for their whole run, so
// that no user resets or stops what another one runs.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <string>

#include "orb_atl/com_ptr.h"
#include "quarnctrl.h"

// Results of the graph operations beyond the system's codes.
inline constexpr HRESULT kGraphInternalError = static_cast<HRESULT>(0x90020001);
inline constexpr HRESULT kGraphNotBuilt = static_cast<HRESULT>(0x90020003);
inline constexpr HRESULT kGraphBadPin = static_cast<HRESULT>(0x90020004);
inline constexpr HRESULT kGraphNoPinFilter = static_cast<HRESULT>(0x90020005);
inline constexpr HRESULT kGraphPinConnected = static_cast<HRESULT>(0x90020007);
inline constexpr HRESULT kGraphNoInputPin = static_cast<HRESULT>(0x90020008);

class CSourceGraph {
 public:
  static constexpr int kDataPins = 4;

  CSourceGraph();
  ~CSourceGraph();
  CSourceGraph(const CSourceGraph&) = delete;
  CSourceGraph& operator=(const CSourceGraph&) = delete;

  // Builds the graph with the source filter and its controls; S_OK or the
  // failing step's HRESULT.
  HRESULT Build();
  // Stops the graph and releases every interface and filter.
  void TearDown();
  // TearDown, then Build.
  HRESULT Reset();
  bool Built() const;

  // The graph's media control and event interfaces (queried once, kept);
  // `out` gets its own reference.
  HRESULT GetMediaControl(IMediaControl** out);
  HRESULT GetMediaEvent(IMediaEventEx** out);
  // The source's "Audio" and "Video" output pins (found once, kept).
  HRESULT GetAVPins(IPin** audio, IPin** video);
  // The filter of data pin `pin` (0..3): created as `clsid` and added to
  // the graph when the pin has none, else the existing one.
  HRESULT CreatePinFilter(int pin, REFCLSID clsid, IBaseFilter** out);
  // An interface of data pin `pin`'s filter; `out` gets its own reference.
  HRESULT QueryPinFilter(int pin, REFIID iid, void** out);
  // Connects "Data N" directly (no media type) to the first input pin of
  // the pin's filter (whose name contains `inputName`, when given).
  HRESULT ConnectDataPin(int pin, const wchar_t* inputName);
  // Disconnects "Data N" and takes the pin's filter out of the graph.
  void RemovePinFilter(int pin);
  // Removes a filter from the graph (its pins are disconnected).
  void RemoveFilter(IBaseFilter* filter);

  // The graph's parts, each with its own reference (null while the graph
  // is not built): a reset on another thread never pulls them away.
  orb::com::ComPtr<IGraphBuilder> Graph() const;
  orb::com::ComPtr<IBaseFilter> Source() const;
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> Tuner() const;
  orb::com::ComPtr<IQuarnMPEG2DataCtrl3> DataControl() const;
  orb::com::ComPtr<IQuarnMPEG2AVCtrl> AVControl() const;

  // One user of the graph at a time; false when another one has it.
  bool Claim(const char* user);
  void Unclaim();

  // Records a failed step (HRESULT and text) and logs it; returns hr.
  HRESULT Fail(HRESULT hr, const char* step);
  // Records it only (the caller logs its own line).
  void Record(HRESULT hr, const char* step);
  HRESULT LastError() const { return lastError_; }
  std::string LastErrorText() const;

 private:
  HRESULT EnumeratePins();

  mutable CRITICAL_SECTION lock_;
  orb::com::ComPtr<IGraphBuilder> graph_;
  orb::com::ComPtr<IBaseFilter> source_;
  orb::com::ComPtr<IQuarnMPEG2DataCtrl3> data_;
  orb::com::ComPtr<IQuarnMPEG2TunerCtrl2> tuner_;
  orb::com::ComPtr<IQuarnMPEG2AVCtrl> av_;
  orb::com::ComPtr<IMediaControl> mediaControl_;
  orb::com::ComPtr<IMediaEventEx> mediaEvent_;
  bool pinsFound_ = false;
  orb::com::ComPtr<IPin> dataPins_[kDataPins];
  orb::com::ComPtr<IPin> audioPin_;
  orb::com::ComPtr<IPin> videoPin_;
  orb::com::ComPtr<IBaseFilter> pinFilters_[kDataPins];
  bool connected_[kDataPins] = {};
  HRESULT lastError_ = S_OK;
  char lastErrorText_[50] = {};
  std::atomic<const char*> user_{nullptr};
};
