#pragma once
// CSectionAcquirer: GetSections and CancelSections over the source graph.
// Each batch of at most 32 requests hangs a branch on data pin 0 (TS
// filter, MPEG-2 demultiplexer with one section pin per PID, PSI parser),
// runs the graph until the parser has completed every request, the time-out
// passes or CancelSections ends it, stops the graph (the parser hands the
// results over as it stops) and takes the whole branch away again.
#include <windows.h>

#include "contract/driver_records.h"

class CSourceGraph;

class CSectionAcquirer {
 public:
  explicit CSectionAcquirer(CSourceGraph& graph);
  ~CSectionAcquirer();
  CSectionAcquirer(const CSectionAcquirer&) = delete;
  CSectionAcquirer& operator=(const CSectionAcquirer&) = delete;

  HRESULT GetSections(long count, SectionFilterSpec* specs, long timeoutSeconds, SectionResult* results);
  HRESULT CancelSections();
  HRESULT ReadSectionBatch(long n, SectionFilterSpec* specs, long timeoutSeconds, SectionResult* results);

 private:
  CSourceGraph& graph_;
  // Under lock_: the cancel event of the batch in progress (null between
  // batches) and the cancel request of the call in progress.
  CRITICAL_SECTION lock_;
  HANDLE cancelEvent_ = nullptr;
  bool cancelled_ = false;
};
