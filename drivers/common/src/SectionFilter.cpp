#include "drvcommon/SectionFilter.h"

#include <objbase.h>

#include "drvcommon/DriverLog.h"

namespace {

void* TaskAlloc(size_t n) { return ::CoTaskMemAlloc(n); }
void TaskFree(void* p) { ::CoTaskMemFree(p); }

class Locked {
 public:
  explicit Locked(CRITICAL_SECTION& cs) : cs_(cs) { ::EnterCriticalSection(&cs_); }
  ~Locked() { ::LeaveCriticalSection(&cs_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

}  // namespace

CSectionFilter::CSectionFilter(const SectionFilterSpec& spec, SectionResult& result,
                               FILTERTYPE filterType)
    : spec_(spec), result_(result), filterType_(filterType), collector_(spec.mode) {
  ::InitializeCriticalSection(&lock_);
  event_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!event_) {
    DriverLog().Log(1, "failed to create the event of a section filter: %lu", ::GetLastError());
    collector_.Finish();
  }
}

CSectionFilter::~CSectionFilter() {
  if (ResetFilter() != 0) DriverLog().Log(1, "failed to reset filter");
  DetachFilter();  // whatever ResetFilter said: no callback after this
  ::Sleep(10);
  if (event_) ::CloseHandle(event_);
  ::DeleteCriticalSection(&lock_);
}

void CSectionFilter::Start() {
  const drvcore::FilterPattern p = drvcore::MakeFilterPattern(
      spec_.table_id, spec_.match_extension != 0, spec_.table_id_extension);
  BYTE data[8];
  BYTE mask[8];
  memcpy(data, p.data, sizeof data);
  memcpy(mask, p.mask, sizeof mask);
  const WORD pid = static_cast<WORD>(spec_.pid & 0xFFFF);
  if (SetFilter(filterType_, pid, data, mask, p.length) != 0)
    DriverLog().Log(1, "failed to set filter");
}

void CSectionFilter::OnDataArrival(BYTE* data, int length) {
  if (!data || length <= 0) return;
  drvcore::Offered r;
  drvcore::u32 count;
  {
    Locked lock(lock_);
    r = collector_.Offer(data, static_cast<size_t>(length));
    count = collector_.Count();
  }
  if (r != drvcore::Offered::Completed) return;
  if (collector_.Mode() == drvcore::kModeEit && count >= drvcore::kEitSlotCount)
    DriverLog().Log(4, "trace 2");
  ::SetEvent(event_);
}

void CSectionFilter::Finish() {
  {
    Locked lock(lock_);
    collector_.Finish();
  }
  if (event_) ::SetEvent(event_);
}

void CSectionFilter::TakeResults() {
  Locked lock(lock_);
  if (!collector_.Collects()) return;
  uint32_t count = 0;
  uint8_t** sections = nullptr;
  collector_.HandOver(TaskAlloc, TaskFree, count, sections);
  if (collector_.Count() != 0 && count == 0)
    DriverLog().Log(1, "out of memory handing over %u sections", collector_.Count());
  result_.count = count;
  result_.sections = sections;
}
