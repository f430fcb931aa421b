// The maker's TS filter: takes what a data pin of the source filter
// carries and passes it on as a standard MPEG-2 transport stream of whole,
// sync-aligned 188-byte packets (bytes between lost sync are dropped).
#include <memory>
#include <mutex>
#include <vector>

#include "filters.h"
#include "orb_dshow/filter_base.h"
#include "orb_dshow/guids.h"

namespace qsim {

namespace {

using orb::ds::MediaType;

const CLSID kClsidTs = {0xdbd70752, 0x0668, 0x4d54, {0x96, 0xff, 0x3b, 0x02, 0xf0, 0x26, 0xf7, 0x34}};
constexpr size_t kPacket = 188;

class CTsFilter;

class CTsOutput final : public orb::ds::COutputPin {
 public:
  explicit CTsOutput(orb::ds::CBaseFilter* f) : COutputPin(f, L"Output") {}
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
};

class CTsInput final : public orb::ds::CInputPin {
 public:
  CTsInput(orb::ds::CBaseFilter* f, CTsOutput* out) : CInputPin(f, L"Input"), out_(out) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    return IsEqualGUID(mt->majortype, orb::ds::kMediaTypeStream) &&
                   (IsEqualGUID(mt->subtype, kSubtypeQuarnData) ||
                    IsEqualGUID(mt->subtype, orb::ds::kSubtypeMpeg2Transport))
               ? S_OK
               : S_FALSE;
  }
  HRESULT GetMediaType(int i, MediaType* mt) override {
    if (i != 0) return VFW_S_NO_MORE_ITEMS;
    *mt = MediaType(orb::ds::kMediaTypeStream, kSubtypeQuarnData);
    return S_OK;
  }
  HRESULT Inactive() override {
    std::lock_guard<std::mutex> lock(m_);
    rest_.clear();
    return S_OK;
  }

 protected:
  HRESULT OnReceive(const BYTE* data, long size) override {
    std::lock_guard<std::mutex> lock(m_);
    rest_.insert(rest_.end(), data, data + size);
    aligned_.clear();
    size_t at = 0;
    while (rest_.size() - at >= kPacket) {
      if (rest_[at] != 0x47) {
        ++at;
        continue;
      }
      aligned_.insert(aligned_.end(), rest_.begin() + static_cast<long>(at),
                      rest_.begin() + static_cast<long>(at + kPacket));
      at += kPacket;
    }
    rest_.erase(rest_.begin(), rest_.begin() + static_cast<long>(at));
    if (aligned_.empty()) return S_OK;
    const HRESULT hr = out_->Deliver(aligned_.data(), aligned_.size());
    return FAILED(hr) ? hr : S_OK;
  }
  void OnBeginFlush() override { out_->DeliverBeginFlush(); }
  void OnEndFlush() override {
    {
      std::lock_guard<std::mutex> lock(m_);
      rest_.clear();
    }
    out_->DeliverEndFlush();
  }

 public:
  STDMETHODIMP EndOfStream() override { return out_->DeliverEndOfStream(); }

 private:
  CTsOutput* out_;
  std::mutex m_;
  std::vector<BYTE> rest_;
  std::vector<BYTE> aligned_;
};

class CTsFilter final : public orb::ds::CBaseFilter {
 public:
  CTsFilter() : CBaseFilter(kClsidTs) {
    out_ = std::make_unique<CTsOutput>(this);
    in_ = std::make_unique<CTsInput>(this, out_.get());
  }

 protected:
  int PinCount() override { return 2; }
  orb::ds::CBasePin* PinAt(int i) override {
    return i == 0 ? static_cast<orb::ds::CBasePin*>(in_.get()) : i == 1 ? out_.get() : nullptr;
  }

 private:
  std::unique_ptr<CTsOutput> out_;
  std::unique_ptr<CTsInput> in_;
};

}  // namespace

HRESULT CreateTsFilter(IUnknown* outer, REFIID riid, void** ppv) {
  return orb::ds::CreateFilterInstance<CTsFilter>(outer, riid, ppv);
}

}  // namespace qsim
