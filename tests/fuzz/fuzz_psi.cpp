// One target per parse entry; FUZZ_ENTRY selects it at compile time.
#include <algorithm>

#include "fuzz_common.h"
#include "lib13818/ait.h"
#include "lib13818/nit_bat.h"
#include "lib13818/psi.h"
#include "lib13818/sdt_eit.h"
#include "lib13818/text_time.h"
#include "lib13818/time_tables.h"

using namespace lib13818;

#if FUZZ_ENTRY == 1
ORB_FUZZ_LONG_SECTION(ProgramAssociationSection)
#elif FUZZ_ENTRY == 2
ORB_FUZZ_LONG_SECTION(ConditionalAccessSection)
#elif FUZZ_ENTRY == 3
ORB_FUZZ_LONG_SECTION(ProgramMapSection)
#elif FUZZ_ENTRY == 4
ORB_FUZZ_SHORT_SECTION(TimeDateSection)
#elif FUZZ_ENTRY == 5
ORB_FUZZ_SHORT_SECTION(TimeOffsetSection)
#elif FUZZ_ENTRY == 6
ORB_FUZZ_SHORT_SECTION(RunningStatusSection)
#elif FUZZ_ENTRY == 7
// A bare descriptor loop: reaches every descriptor class and its printing.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  fuzz::InitNames();
  const fuzz::Exact exact(data, size);
  DescriptorSet set;
  try {
    set.AddLoop(exact.data(), exact.size());
  } catch (const error&) {
  }
  std::ostringstream os;
  fuzz::PrintSet(set, os);
  return 0;
}
#elif FUZZ_ENTRY == 8
ORB_FUZZ_LONG_SECTION(NetworkInformationSection)
#elif FUZZ_ENTRY == 9
ORB_FUZZ_LONG_SECTION(BouquetAssociationSection)
#elif FUZZ_ENTRY == 10
ORB_FUZZ_LONG_SECTION(ServiceDescriptionSection)
#elif FUZZ_ENTRY == 11
ORB_FUZZ_LONG_SECTION(EventInformationSection)
#elif FUZZ_ENTRY == 12
ORB_FUZZ_LONG_SECTION(ApplicationInformationSection)
#elif FUZZ_ENTRY == 13
// One descriptor alone in a block of its own size: tag, then the payload
// (the length byte is made to fit).  Through the DVB catalogue and the AIT's.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::InitNames();
  const size_t payload = std::min<size_t>(size - 1, 255);
  std::vector<std::uint8_t> bytes{data[0], static_cast<std::uint8_t>(payload)};
  bytes.insert(bytes.end(), data + 1, data + 1 + payload);
  const fuzz::Exact exact(bytes.data(), bytes.size());
  std::ostringstream os;
  DescriptorSet set;
  try {
    set.AddDescriptor(exact.data());
  } catch (const error&) {
  }
  fuzz::PrintSet(set, os);
  AitDescriptorSet ait;
  try {
    ait.AddDescriptor(exact.data());
  } catch (const error&) {
  }
  ait.Print(os);
  return 0;
}
#elif FUZZ_ENTRY == 14
// Texts and times: a DVB text of the whole input, the same as a
// length-prefixed field, the time codecs and the identifier names.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  fuzz::InitNames();
  const fuzz::Exact exact(data, size);
  std::string text = DvbTextToUtf8(exact.data(), exact.size());
  Utf8Text field;
  RawText raw;
  int consumed = 0;
  try {
    AssignDvbTextPrefixed(field, raw, exact.data(), exact.size(), &consumed);
    // A field's text (taken whole when it is plain ASCII) is what the
    // decoder gives for its bytes, and the raw form is those bytes.
    if (field.view() != DvbTextToUtf8(exact.data() + 1, static_cast<size_t>(consumed - 1))) __builtin_trap();
    if (raw.view() != std::string_view(reinterpret_cast<const char*>(exact.data()) + 1, static_cast<size_t>(consumed - 1)))
      __builtin_trap();
    if (std::char_traits<char>::length(field.c_str()) > field.size()) __builtin_trap();
  } catch (const error&) {
  }
  std::ostringstream os;
  os << text << field;
  if (size >= 5) {
    UtcTime t;
    Duration d;
    TimeOffset o;
    os << DecodeMjdUtc(t, exact.data()) << DecodeBcdDuration(d, exact.data())
       << DecodeBcdTimeOffset(o, exact.data());
    const int code = static_cast<int>(Get32(exact.data()));
    os << GetNetworkName(code) << GetCASystemName(code) << GetDataBroadcastName(code)
       << GetNetworkName(code & 0xFFFF) << GetCASystemName(code & 0xFFFF)
       << GetDataBroadcastName(code & 0xFFFF) << GetMpegDescriptorName(static_cast<u32>(code) & 0xFF)
       << DescriptorService::ServiceTypeName(code) << DescriptorSatelliteDeliverySystem::GetFECInnerName(code)
       << EventInformationSection::GetNameById(code & 0xFF);
  }
  return 0;
}
#endif
