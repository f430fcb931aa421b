#include "lib13818/psi.h"

#include <iomanip>

#include "entry_loop.h"

namespace lib13818 {

void ProgramAssociationSection::ParseBody(const u8* body, size_t size) {
  if (size % 4 != 0) throw error(3, "Pat parse error");
  for (size_t k = 0; k + 4 <= size; k += 4) {
    const u8* e = body + k;
    programs.push_back({Get16(e), u32(e[2] & 0x1F) << 8 | e[3]});
  }
}

void ProgramAssociationSection::Dump(std::ostream& os) const {
  for (const ProgramAssociationInfo& p : programs) {
    os << "program_number: " << std::hex << std::setw(4) << p.program_number << std::endl;
    os << "program_map_pid: " << std::hex << std::setw(4) << p.PID << std::endl;
  }
}

void ConditionalAccessSection::ParseBody(const u8* body, size_t size) {
  size_t pos = 0;
  while (pos < size) {
    const u8* p = body + pos;
    // The length byte itself must be inside the loop before it is believed.
    if (size - pos < 2 || size_t(p[1]) + 2 > size - pos) throw error("invalid descriptor size");
    if (p[0] != 0x09) throw error("invalid descriptor tag");
    descriptors.AddDescriptor(p);
    pos += size_t(p[1]) + 2;
  }
}

StreamInfo::StreamInfo(const u8* bytes, int* length) {
  if (*length < 5) throw error("too little data");
  stream_type = bytes[0];
  elementary_PID = u32(bytes[1] & 0x1F) << 8 | bytes[2];
  ES_info_length = u32(bytes[3] & 0x0F) << 8 | bytes[4];
  if (ES_info_length + 5 > static_cast<u32>(*length)) throw error("descriptor start end mismatch");
  descriptors.AddLoop(bytes + 5, ES_info_length);
  *length = static_cast<int>(ES_info_length + 5);
}

void StreamInfo::Dump(std::ostream& os) const {
  os << "stream_type: " << std::hex << std::setw(2) << stream_type << std::endl;
  os << "elementary_PID: " << std::hex << std::setw(4) << elementary_PID << std::endl;
  for (const auto& d : descriptors.caDescriptors) d.Print(os);
  for (const auto& d : descriptors.generalDescriptors) d.Print(os);
  for (const auto& d : descriptors.teletextDescriptors) d.Print(os);
  for (const auto& d : descriptors.iso639LanguageDescriptors) d.Print(os);
  for (const auto& d : descriptors.videoStreamDescriptors) d.Print(os);
  for (const auto& d : descriptors.audioStreamDescriptors) d.Print(os);
  for (const auto& d : descriptors.stdDescriptors) d.Print(os);
  for (const auto& d : descriptors.privateDataIndicatorDescriptors) d.Print(os);
  for (const auto& d : descriptors.copyrightDescriptors) d.Print(os);
  for (const auto& d : descriptors.streamIdentifierDescriptors) d.Print(os);
}

void ProgramMapSection::ParseBody(const u8* body, size_t size) {
  if (size < 4) throw error("too little data");
  PCR_PID = u32(body[0] & 0x1F) << 8 | body[1];
  const size_t programInfoLength = size_t(body[2] & 0x0F) << 8 | body[3];
  if (4 + programInfoLength > size) throw error("descriptor start end mismatch");
  descriptors.AddLoop(body + 4, programInfoLength);

  const size_t start = 4 + programInfoLength;
  streams.reserve(streams.size() + detail::CountEntries(body + start, size - start, 5));
  size_t pos = start;
  while (pos < size) {
    int length = static_cast<int>(size - pos);
    streams.emplace_back(body + pos, &length);  // built in place: its descriptor set is never moved
    pos += static_cast<size_t>(length);
  }
}

void ProgramMapSection::Dump(std::ostream& os) const {
  const std::ios_base::fmtflags flags = os.flags();
  const std::streamsize width = os.width();
  os.setf(std::ios_base::hex, std::ios_base::basefield);
  os.setf(std::ios_base::right, std::ios_base::adjustfield);
  os.setf(std::ios_base::unitbuf | std::ios_base::uppercase);
  os.fill('0');

  os << "program_number: " << std::setw(4) << table_id_extension << std::endl;
  os << "version_number: " << std::setw(2) << version_number << std::endl;
  os << "section_number: " << std::setw(2) << section_number << std::endl;
  os << "last_section_number: " << std::setw(2) << last_section_number << std::endl;
  os << "current_next_indicator: " << std::setw(2) << current_next_indicator << std::endl;
  os << "pcr_pid: " << std::setw(2) << PCR_PID << std::endl;
  for (const auto& d : descriptors.caDescriptors) d.Print(os);
  for (const auto& d : descriptors.generalDescriptors) d.Print(os);
  for (const auto& d : descriptors.iso639LanguageDescriptors) d.Print(os);
  for (const auto& d : descriptors.videoStreamDescriptors) d.Print(os);
  for (const auto& d : descriptors.audioStreamDescriptors) d.Print(os);
  for (const auto& d : descriptors.stdDescriptors) d.Print(os);
  for (const auto& d : descriptors.privateDataIndicatorDescriptors) d.Print(os);
  for (const auto& d : descriptors.copyrightDescriptors) d.Print(os);
  os << "Dumping " << static_cast<unsigned>(streams.size()) << " stream infos" << std::endl;
  for (const StreamInfo& s : streams) s.Dump(os);
  os << "crc32: " << std::setw(8) << static_cast<unsigned long>(CRC_32) << std::endl;

  os.flags(flags);
  os.width(width);
}

}  // namespace lib13818
