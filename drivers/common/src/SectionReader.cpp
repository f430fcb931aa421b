// Section acquisition: GetSections runs the caller's requests in batches of
// 32 hardware section filters, waits for the batch to complete (or time
// out) and hands every request's sections over; CancelSections ends the
// batch in progress and the batches still to come.
#include <memory>
#include <new>

#include "drvcommon/DeviceDriver.h"
#include "drvcommon/DriverLog.h"
#include "drvcommon/SectionFilter.h"

namespace {

class PendingLock {
 public:
  explicit PendingLock(CRITICAL_SECTION& cs) : cs_(cs) { ::EnterCriticalSection(&cs_); }
  ~PendingLock() { ::LeaveCriticalSection(&cs_); }
  PendingLock(const PendingLock&) = delete;
  PendingLock& operator=(const PendingLock&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

}  // namespace

HRESULT CDeviceDriver::GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds,
                                   SectionResult* results) {
  if (count == 0) return S_OK;
  if (count < 0) return E_FAIL;
  if (!specs || !results) return E_POINTER;
  // Every result starts empty, pointer included: a request that keeps
  // nothing hands back no array.
  for (long i = 0; i < count; ++i) {
    results[i].count = 0;
    results[i].sections = nullptr;
  }
  if (!ready_) return E_FAIL;
  {
    PendingLock lock(pendingLock_);
    cancelled_ = false;
  }
  DriverLog().Log(4, "GetSections(%ld requests, %ld s)", count, timeoutSeconds);
  return drvcore::ForEachBatch(
      count,
      [&](long first, long n) { return ReadSectionBatch(n, specs + first, timeoutSeconds, results + first); },
      [&] {
        PendingLock lock(pendingLock_);
        return cancelled_;
      });
}

HRESULT CDeviceDriver::ReadSectionBatch(long n, SectionFilterSpec* specs, long timeoutSeconds,
                                        SectionResult* results) {
  if (n <= 0) return S_OK;
  if (!specs || !results) return E_POINTER;
  if (n > static_cast<long>(drvcore::kBatchSize)) {
    for (long i = static_cast<long>(drvcore::kBatchSize); i < n; ++i) {
      results[i].count = 0;
      results[i].sections = nullptr;
    }
    n = static_cast<long>(drvcore::kBatchSize);
  }

  std::unique_ptr<CSectionFilter> filters[drvcore::kBatchSize];
  HANDLE events[drvcore::kBatchSize];
  DWORD eventCount = 0;
  for (long i = 0; i < n; ++i) {
    filters[i].reset(new (std::nothrow) CSectionFilter(specs[i], results[i], family_.sectionFilterType));
    if (!filters[i]) {
      DriverLog().Log(1, "out of memory for %ld section filters", n);
      return E_OUTOFMEMORY;
    }
    if (filters[i]->Event()) events[eventCount++] = filters[i]->Event();
  }
  {
    PendingLock lock(pendingLock_);
    pending_.clear();  // room for a whole batch was reserved at construction
    for (long i = 0; i < n; ++i) pending_.push_back(filters[i].get());
    // A cancel that came before this batch was listed ends it at once.
    if (cancelled_)
      for (CSectionFilter* f : pending_) f->Finish();
  }

  for (long i = 0; i < n; ++i) filters[i]->Start();
  if (eventCount > 0) {
    const DWORD r = ::WaitForMultipleObjects(eventCount, events, TRUE,
                                             drvcore::BatchWaitMilliseconds(timeoutSeconds));
    if (r == WAIT_TIMEOUT) DriverLog().Log(4, "section batch timed out");
    else if (r == WAIT_FAILED) DriverLog().Log(1, "waiting for sections failed: %lu", ::GetLastError());
  }

  for (long i = 0; i < n; ++i) filters[i]->Finish();
  for (long i = 0; i < n; ++i) filters[i]->TakeResults();
  {
    // Off the list before they go, so that CancelSections never reaches a
    // destroyed filter.
    PendingLock lock(pendingLock_);
    pending_.clear();
  }
  for (long i = 0; i < n; ++i) filters[i].reset();  // each stops its hardware filter first
  ::Sleep(100);
  return S_OK;
}

HRESULT CDeviceDriver::CancelSections() {
  PendingLock lock(pendingLock_);
  cancelled_ = true;
  for (CSectionFilter* f : pending_) f->Finish();
  return S_OK;
}
