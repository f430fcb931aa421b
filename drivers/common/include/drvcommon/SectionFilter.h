#pragma once
// CSectionFilter: one section request of GetSections on a hardware section
// filter of the access library.  Lives for one batch: constructed, started,
// waited for (its event is signalled when the request completes), finished,
// handed over, destroyed.
//
// Threads: OnDataArrival runs on the library's delivery thread; Finish may
// come from CancelSections on another caller thread.  The collector and the
// done flag are guarded by the filter's own lock, which is never held across
// a call into the library (the library serialises callbacks with its own
// lock, and ResetFilter waits for a running callback).
#include <windows.h>

#include "contract/driver_records.h"
#include "drvcore/sections.h"
#include "dvbacc/dvbacc.h"

class CSectionFilter : public CDVBTSFilter {
 public:
  // spec and result are the caller's records (not owned).  The event is
  // auto-reset and starts unsignalled; when it cannot be created the
  // request is done from the start.
  CSectionFilter(const SectionFilterSpec& spec, SectionResult& result, FILTERTYPE filterType);
  // Stops the hardware filter first, so that no section reaches the object
  // while its stores go.
  ~CSectionFilter() override;

  // Sets the hardware filter (table_id, and table_id_extension when the
  // request matches it).  A failure is logged; the request then keeps nothing.
  void Start();
  void OnDataArrival(BYTE* data, int length) override;
  // Completes the request: nothing more is kept, and the event is signalled.
  void Finish();
  // Writes count and sections of the result (CoTaskMemAlloc'ed); a request
  // that keeps nothing leaves the result as it is.
  void TakeResults();

  HANDLE Event() const { return event_; }

 private:
  const SectionFilterSpec& spec_;
  SectionResult& result_;
  FILTERTYPE filterType_;
  CRITICAL_SECTION lock_;
  HANDLE event_ = nullptr;
  drvcore::SectionCollector collector_;
};
