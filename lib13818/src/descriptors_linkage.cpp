#include "lib13818/descriptors_linkage.h"

namespace lib13818 {

DescriptorLinkage::DescriptorLinkage(const u8* d) : Descriptor(d) {
  if (length >= 2) transport_stream_id = Get16(d + 2);
  if (length >= 4) original_network_id = Get16(d + 4);
  if (length >= 6) service_id = Get16(d + 6);
  if (length >= 7) linkage_type = d[8];
  if (length > 7) private_data_bytes.assign(d + 9, d + 2 + length);
}

void DescriptorLinkage::PrintFields(std::ostream& os) const {
  os << "transport_stream_id: " << static_cast<int>(transport_stream_id) << std::endl;
  os << "original_network_id: " << static_cast<int>(original_network_id) << std::endl;
  os << "service_id: " << static_cast<int>(service_id) << std::endl;
  os << "linkage_type: " << static_cast<int>(linkage_type) << std::endl;
  if (private_data_bytes.empty()) return;
  os << "private_data_byte:" << std::endl;
  PrintHex(os, private_data_bytes);
}

DescriptorNVODReference::DescriptorNVODReference(const u8* d) : Descriptor(d) {
  if (length % 6 != 0) throw error(3, "NVOD_reference_descriptor");
  services.reserve(services.size() + (length + 6 - 1) / 6);
  for (u32 i = 0; i < length; i += 6) services.emplace_back(d + 2 + i);
}

void DescriptorNVODReference::PrintFields(std::ostream& os) const {
  for (const service& s : services) {
    os << "DescriptorNVODReference::service::transport_stream_id: " << static_cast<int>(s.transport_stream_id)
       << std::endl;
    os << "DescriptorNVODReference::service::original_network_id: " << static_cast<int>(s.original_network_id)
       << std::endl;
    os << "DescriptorNVODReference::service::service_id: " << static_cast<int>(s.service_id) << std::endl;
  }
}

DescriptorTimeShiftedService::DescriptorTimeShiftedService(const u8* d) : Descriptor(d) {
  if (length >= 2) reference_service_id = Get16(d + 2);
}

void DescriptorTimeShiftedService::PrintFields(std::ostream& os) const {
  os << "reference_service_id: " << static_cast<int>(reference_service_id) << std::endl;
}

DescriptorMosiac::CellInfo::CellInfo(const u8* p, u32 remaining, u32* consumed) {
  // logical_cell_id, presentation info, elementary_cell_field_length
  if (remaining < 3) throw error(3, "mosiac_descriptor");
  logical_cell_id = p[0] >> 2;
  logical_cell_presentation_info = p[1] & 0x07;
  elementary_cell_field_length = p[2];
  const u32 e = elementary_cell_field_length;
  // the cell ids and cell_linkage_info
  if (remaining < e + 4) throw error(3, "mosiac_descriptor");
  elementary_cell_ids.reserve(e);
  for (u32 i = 0; i < e; ++i) elementary_cell_ids.push_back(p[3 + i] & 0x3F);
  cell_linkage_info = p[3 + e];
  static const u32 kLinkSize[] = {0, 2, 6, 6, 8};
  if (cell_linkage_info < 1 || cell_linkage_info > 4) throw error(2, -1);
  const u32 size = e + 4 + kLinkSize[cell_linkage_info];
  if (remaining < size) throw error(3, "mosiac_descriptor");
  const u8* link = p + 4 + e;
  switch (cell_linkage_info) {
    case 1: bouquet_info = BouquetInfo(link); break;
    case 2: service_info = ServiceInfo(link); break;
    case 3: mosaic_info = ServiceInfo(link); break;
    default: event_info = EventInfo(link); break;
  }
  *consumed = size;
}

void DescriptorMosiac::CellInfo::Print(std::ostream& os) const {
  os << "DescriptorMosiac::CellInfo::logical_cell_id: " << static_cast<int>(logical_cell_id) << std::endl;
  os << "DescriptorMosiac::CellInfo::logical_call_presentation_info: "
     << static_cast<int>(logical_cell_presentation_info) << std::endl;
  os << "DescriptorMosiac::CellInfo::elementary_cell_field_length: "
     << static_cast<int>(elementary_cell_field_length) << std::endl;
  os << "DescriptorMosiac::CellInfo::cell_linkage_info: " << static_cast<int>(cell_linkage_info) << std::endl;
  switch (cell_linkage_info) {
    case 1: bouquet_info.Print(os); break;
    case 2: service_info.Print(os); break;
    case 3: mosaic_info.Print(os); break;
    case 4: event_info.Print(os); break;
    default: break;
  }
}

DescriptorMosiac::DescriptorMosiac(const u8* d) : Descriptor(d) {
  if (length < 1) return;
  mosiac_entry_point = d[2] >> 7;
  number_of_horizontal_elementary_cells = (d[2] >> 4) & 0x07;
  number_of_vertical_elementary_cells = d[2] & 0x07;
  const u8* p = d + 3;
  const u8* end = d + 2 + length;
  while (p < end) {
    u32 consumed = 0;
    cells.push_back(CellInfo(p, static_cast<u32>(end - p), &consumed));
    p += consumed;
  }
}

void DescriptorMosiac::PrintFields(std::ostream& os) const {
  os << "mosiac_entry_point: " << static_cast<int>(mosiac_entry_point) << std::endl;
  os << "number_of_horizontal_elementary_cells: " << static_cast<int>(number_of_horizontal_elementary_cells)
     << std::endl;
  os << "number_of_vertical_elementary_cells: " << static_cast<int>(number_of_vertical_elementary_cells)
     << std::endl;
  for (const CellInfo& c : cells) c.Print(os);
}

}  // namespace lib13818
