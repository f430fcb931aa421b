#pragma once
// Section filters and the buffers GetSections hands over, for the tests of
// the plug-ins' section reading.
#include <objbase.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "contract/driver_contract.h"
#include "lib13818/section.h"
#include "orb_atl/com_ptr.h"

namespace plugtest {

// A filter on `pid` for `tableId`; on a table id extension too when
// `extension` is not negative.
inline SectionFilterSpec Spec(uint32_t pid, uint8_t tableId, uint32_t mode, int extension = -1) {
  SectionFilterSpec s;
  std::memset(&s, 0, sizeof s);
  s.pid = pid;
  s.table_id = tableId;
  s.mode = mode;
  if (extension >= 0) {
    s.match_extension = 1;
    s.table_id_extension = static_cast<uint16_t>(extension);
  }
  return s;
}

// The size of a block from the COM task allocator.
inline size_t AllocSize(void* p) {
  orb::com::ComPtr<IMalloc> malloc;
  CoGetMalloc(1, malloc.Put());
  return malloc->GetSize(p);
}

// Frees what GetSections handed over; checks each buffer holds one whole,
// CRC-correct section of the table asked for.  With a `bufferSize`, each
// buffer is a block of that size holding the section.
inline void CheckAndFree(SectionResult& r, const SectionFilterSpec& spec, size_t bufferSize = 0) {
  for (uint32_t i = 0; i < r.count; ++i) {
    const uint8_t* b = r.sections[i];
    ASSERT_NE(b, nullptr);
    if (bufferSize) {
      EXPECT_EQ(AllocSize(r.sections[i]), bufferSize);
    }
    EXPECT_EQ(b[0], spec.table_id);
    const size_t length = ((b[1] & 0x0F) << 8 | b[2]) + 3u;
    if (bufferSize) {
      ASSERT_LE(length, bufferSize);
    }
    if (b[1] & 0x80) {
      EXPECT_EQ(lib13818::Crc32Mpeg(b, length), 0u) << "table " << int(spec.table_id);
    }
    if (spec.match_extension) {
      EXPECT_EQ(b[3] << 8 | b[4], spec.table_id_extension);
    }
    CoTaskMemFree(r.sections[i]);
  }
  CoTaskMemFree(r.sections);
  r.sections = nullptr;
  r.count = 0;
}

}  // namespace plugtest
