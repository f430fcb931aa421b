// The MPEG-2 demultiplexer: one transport stream input and output pins
// created on request (IMpeg2Demultiplexer), each with the PIDs mapped to
// it (IMPEG2PIDMap).  A pin mapped for PSI gets every intact section of
// its PIDs as one sample; a pin mapped for transport packets gets the
// whole packets.
#include <bdaiface.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "filters.h"
#include "orb_dshow/filter_base.h"
#include "orb_dshow/guids.h"
#include "vsim/ts.h"

namespace qsim {

namespace {

using orb::ds::MediaType;

class CDemux;

class CDemuxOutput final : public orb::ds::COutputPin, public IMPEG2PIDMap {
 public:
  CDemuxOutput(orb::ds::CBaseFilter* f, CDemux* owner, const wchar_t* name, const AM_MEDIA_TYPE& mt)
      : COutputPin(f, name), owner_(owner) {
    type_.Set(mt);
  }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return CBasePin::QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return CBasePin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return CBasePin::Release(); }

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    return IsEqualGUID(mt->majortype, type_.majortype) &&
                   (IsEqualGUID(type_.subtype, GUID_NULL) || IsEqualGUID(mt->subtype, type_.subtype))
               ? S_OK
               : S_FALSE;
  }
  HRESULT GetMediaType(int i, MediaType* mt) override {
    if (i != 0) return VFW_S_NO_MORE_ITEMS;
    mt->Set(type_);
    return S_OK;
  }
  void SetType(const AM_MEDIA_TYPE& mt) { type_.Set(mt); }

  // IMPEG2PIDMap
  STDMETHODIMP MapPID(ULONG count, ULONG* pids, MEDIA_SAMPLE_CONTENT content) override;
  STDMETHODIMP UnmapPID(ULONG count, ULONG* pids) override;
  STDMETHODIMP EnumPIDMap(IEnumPIDMap**) override { return E_NOTIMPL; }

  // Streaming (the input's thread).
  void Put(const BYTE* packet);
  void Flush();
  void Reset();
  bool deleted = false;

 protected:
  HRESULT QueryOther(REFIID riid, void** ppv) override {
    if (!IsEqualIID(riid, IID_IMPEG2PIDMap)) return E_NOINTERFACE;
    *ppv = static_cast<IMPEG2PIDMap*>(this);
    AddRef();
    return S_OK;
  }

 private:
  CDemux* owner_;
  MediaType type_;
  std::mutex m_;
  std::map<WORD, MEDIA_SAMPLE_CONTENT> pids_;
  std::map<WORD, vsim::SectionAssembler> assemblers_;
  std::vector<BYTE> packets_;
};

class CDemuxInput final : public orb::ds::CInputPin {
 public:
  CDemuxInput(orb::ds::CBaseFilter* f, CDemux* owner) : CInputPin(f, L"MPEG-2 Stream"), owner_(owner) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    return IsEqualGUID(mt->majortype, orb::ds::kMediaTypeStream) &&
                   IsEqualGUID(mt->subtype, orb::ds::kSubtypeMpeg2Transport)
               ? S_OK
               : S_FALSE;
  }
  HRESULT GetMediaType(int i, MediaType* mt) override {
    if (i != 0) return VFW_S_NO_MORE_ITEMS;
    *mt = MediaType(orb::ds::kMediaTypeStream, orb::ds::kSubtypeMpeg2Transport);
    return S_OK;
  }

 protected:
  HRESULT OnReceive(const BYTE* data, long size) override;

 private:
  CDemux* owner_;
  std::vector<BYTE> rest_;
};

class CDemux final : public orb::ds::CBaseFilter, public IMpeg2Demultiplexer {
 public:
  CDemux() : CBaseFilter(orb::ds::kClsidMpeg2Demultiplexer) { in_ = std::make_unique<CDemuxInput>(this, this); }

  ORB_DS_FILTER_IUNKNOWN

  STDMETHODIMP CreateOutputPin(AM_MEDIA_TYPE* mt, LPWSTR name, IPin** pin) override {
    if (!mt || !name || !pin) return E_POINTER;
    *pin = nullptr;
    orb::ds::AutoLock lock(lock_);
    if (Find(name)) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    auto p = std::make_unique<CDemuxOutput>(this, this, name, *mt);
    *pin = p.get();
    (*pin)->AddRef();
    outputs_.push_back(std::move(p));
    return S_OK;
  }
  STDMETHODIMP SetOutputPinMediaType(LPWSTR name, AM_MEDIA_TYPE* mt) override {
    if (!name || !mt) return E_POINTER;
    orb::ds::AutoLock lock(lock_);
    CDemuxOutput* p = Find(name);
    if (!p) return VFW_E_NOT_FOUND;
    if (p->IsConnected()) return VFW_E_ALREADY_CONNECTED;
    p->SetType(*mt);
    return S_OK;
  }
  STDMETHODIMP DeleteOutputPin(LPWSTR name) override {
    if (!name) return E_POINTER;
    orb::ds::AutoLock lock(lock_);
    if (State() != State_Stopped) return VFW_E_NOT_STOPPED;
    for (auto it = outputs_.begin(); it != outputs_.end(); ++it) {
      if ((*it)->Name() != name) continue;
      if (IPin* peer = (*it)->Peer()) {
        peer->AddRef();
        (*it)->Disconnect();
        peer->Disconnect();
        peer->Release();
      }
      (*it)->deleted = true;
      removed_.push_back(std::move(*it));  // a caller may still hold it
      outputs_.erase(it);
      return S_OK;
    }
    return VFW_E_NOT_FOUND;
  }

  void Demux(const BYTE* packet) {
    std::vector<CDemuxOutput*> outs;
    {
      orb::ds::AutoLock lock(lock_);
      for (auto& o : outputs_) outs.push_back(o.get());
    }
    for (CDemuxOutput* o : outs) o->Put(packet);
  }
  void FlushOutputs() {
    std::vector<CDemuxOutput*> outs;
    {
      orb::ds::AutoLock lock(lock_);
      for (auto& o : outputs_) outs.push_back(o.get());
    }
    for (CDemuxOutput* o : outs) o->Flush();
  }

 protected:
  HRESULT QueryOther(REFIID riid, void** ppv) override {
    if (!IsEqualIID(riid, IID_IMpeg2Demultiplexer)) return E_NOINTERFACE;
    *ppv = static_cast<IMpeg2Demultiplexer*>(this);
    CBaseFilter::AddRef();
    return S_OK;
  }
  int PinCount() override { return 1 + static_cast<int>(outputs_.size()); }
  orb::ds::CBasePin* PinAt(int i) override {
    if (i == 0) return in_.get();
    return i > 0 && i <= static_cast<int>(outputs_.size()) ? outputs_[static_cast<size_t>(i - 1)].get() : nullptr;
  }
  void OnStateChanged(FILTER_STATE, FILTER_STATE to) override {
    if (to == State_Stopped)
      for (auto& o : outputs_) o->Reset();
  }

 private:
  CDemuxOutput* Find(const wchar_t* name) {
    for (auto& o : outputs_)
      if (o->Name() == name) return o.get();
    return nullptr;
  }

  std::unique_ptr<CDemuxInput> in_;
  std::vector<std::unique_ptr<CDemuxOutput>> outputs_;
  std::vector<std::unique_ptr<CDemuxOutput>> removed_;
};

STDMETHODIMP CDemuxOutput::MapPID(ULONG count, ULONG* pids, MEDIA_SAMPLE_CONTENT content) {
  if (count && !pids) return E_POINTER;
  if (content != MEDIA_TRANSPORT_PACKET && content != MEDIA_MPEG2_PSI) return E_NOTIMPL;
  for (ULONG i = 0; i < count; ++i)
    if (pids[i] > 0x1FFF) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(m_);
  for (ULONG i = 0; i < count; ++i) {
    const WORD pid = static_cast<WORD>(pids[i]);
    pids_[pid] = content;
    assemblers_[pid].Reset();
  }
  return S_OK;
}

STDMETHODIMP CDemuxOutput::UnmapPID(ULONG count, ULONG* pids) {
  if (count && !pids) return E_POINTER;
  std::lock_guard<std::mutex> lock(m_);
  for (ULONG i = 0; i < count; ++i) {
    pids_.erase(static_cast<WORD>(pids[i] & 0xFFFF));
    assemblers_.erase(static_cast<WORD>(pids[i] & 0xFFFF));
  }
  return S_OK;
}

void CDemuxOutput::Put(const BYTE* packet) {
  const WORD pid = vsim::PacketPid(packet);
  std::vector<vsim::Bytes> sections;
  {
    std::lock_guard<std::mutex> lock(m_);
    auto it = pids_.find(pid);
    if (it == pids_.end()) return;
    if (it->second == MEDIA_TRANSPORT_PACKET) {
      packets_.insert(packets_.end(), packet, packet + vsim::kPacketSize);
      return;
    }
    assemblers_[pid].Put(packet, [&](const vsim::u8* s, size_t n) {
      if (vsim::SectionIntact(s, n)) sections.emplace_back(s, s + n);
    });
  }
  for (const vsim::Bytes& s : sections) Deliver(s.data(), s.size());
}

void CDemuxOutput::Flush() {
  std::vector<BYTE> out;
  {
    std::lock_guard<std::mutex> lock(m_);
    out.swap(packets_);
  }
  if (!out.empty()) Deliver(out.data(), out.size());
}

void CDemuxOutput::Reset() {
  std::lock_guard<std::mutex> lock(m_);
  for (auto& a : assemblers_) a.second.Reset();
  packets_.clear();
}

HRESULT CDemuxInput::OnReceive(const BYTE* data, long size) {
  // Whole packets from the sync byte on; a partial packet waits for the rest.
  rest_.insert(rest_.end(), data, data + size);
  size_t at = 0;
  while (rest_.size() - at >= vsim::kPacketSize) {
    if (rest_[at] != vsim::kSyncByte) {
      ++at;
      continue;
    }
    owner_->Demux(rest_.data() + at);
    at += vsim::kPacketSize;
  }
  rest_.erase(rest_.begin(), rest_.begin() + static_cast<long>(at));
  owner_->FlushOutputs();
  return S_OK;
}

}  // namespace

HRESULT CreateDemultiplexer(IUnknown* outer, REFIID riid, void** ppv) {
  return orb::ds::CreateFilterInstance<CDemux>(outer, riid, ppv);
}

}  // namespace qsim
