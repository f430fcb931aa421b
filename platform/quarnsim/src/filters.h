#pragma once
// The filters of the simulated card maker and the system filters Wine
// lacks, as COM classes of this library.
#include <windows.h>
#include <objbase.h>

namespace qsim {

HRESULT CreateSourceFilter(IUnknown* outer, REFIID riid, void** ppv);
HRESULT CreateTsFilter(IUnknown* outer, REFIID riid, void** ppv);
HRESULT CreatePsiParser(IUnknown* outer, REFIID riid, void** ppv);
HRESULT CreateDemultiplexer(IUnknown* outer, REFIID riid, void** ppv);
HRESULT CreateDumpFilter(IUnknown* outer, REFIID riid, void** ppv);

// The subtype of the source's data pins (transport packets as the card
// hands them over).
extern const GUID kSubtypeQuarnData;

}  // namespace qsim
