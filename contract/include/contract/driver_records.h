/* Records of the driver contract: the bytes that cross the boundary between
 * the program and a tuner driver plug-in.  Every layout is fixed (little-endian,
 * natural alignment) and pinned below, field by field; the program and every
 * plug-in zero a record before filling it.
 *
 * Portable on purpose: no Windows header, usable from C and C++, so that the
 * COM interface declarations and the portable SI code can both include it. */
#ifndef ORB_CONTRACT_DRIVER_RECORDS_H
#define ORB_CONTRACT_DRIVER_RECORDS_H

#ifdef __cplusplus
#include <cstddef>
#include <cstdint>
#define ORB_RECORD_ASSERT(cond, text) static_assert(cond, text)
#else
#include <stddef.h>
#include <stdint.h>
#define ORB_RECORD_ASSERT(cond, text) _Static_assert(cond, text)
#endif

/* Delivery type of a plug-in's front end (IDriverControl::GetDeliveryType,
 * a 16-bit code). */
enum DeliveryType {
  DELIVERY_UNKNOWN = 0,
  DELIVERY_SATELLITE = 1,
  DELIVERY_CABLE = 2,
  DELIVERY_TERRESTRIAL = 3
};

/* Which sections one request keeps and when it is complete.  The key is built
 * from section header bytes b[i] (b[0] is table_id); a section's sub-table is
 * its key without section_number.  A sub-table is complete when it holds the
 * sections 0 .. last_section_number b[7] (for EIT, in each segment of eight
 * those up to its segment_last_section_number b[12]).  A request is also
 * complete when a section arrives whose key it already holds (the table has
 * cycled on air) while every sub-table it holds is complete. */
enum SectionFilterMode {
  SFM_SINGLE = 0,            /* key b[6]; one table; done at 32 or when it is complete */
  SFM_RESERVED1 = 1,         /* keeps nothing, never done */
  SFM_RESERVED2 = 2,         /* keeps nothing, never done */
  SFM_BY_EXTENSION = 3,      /* key (b[3..4], b[6]); done at 32 */
  SFM_BY_EXTENSION_ONID = 4, /* key (b[3..4], b[8..9], b[6]); done at 32 */
  SFM_EIT = 5                /* key (b[3..4], b[8..9], b[10..11], b[6]); done at 100 */
};

/* One section request of ISectionReader::GetSections (100 bytes; arrays have
 * a stride of 100). */
typedef struct SectionFilterSpec {
  uint32_t pid;                /* only the low 16 bits are used */
  uint8_t table_id;            /* matched exactly */
  uint8_t reserved1[3];
  uint32_t mode;               /* a SectionFilterMode */
  uint8_t reserved2[16];
  uint32_t match_extension;    /* nonzero: table_id_extension must match too */
  uint16_t table_id_extension; /* compared with section bytes 3 (high) and 4 (low) */
  uint8_t reserved3[66];
} SectionFilterSpec;

/* The answer to one request: count section buffers, each holding one whole
 * section from its table_id on.  The plug-in allocates the array and every
 * buffer with CoTaskMemAlloc; the caller frees each buffer, then the array.
 * The caller zeroes the record before the call and frees only a non-null
 * array.  8 bytes in a 32-bit process, 16 in a 64-bit one. */
typedef struct SectionResult {
  uint32_t count;
  uint8_t** sections;
} SectionResult;

/* Satellite tuning record (24 bytes). */
typedef struct SATDELIVERYDESC {
  uint32_t frequency;        /* 10 kHz units (12322000 kHz is 1232200) */
  uint16_t orbital_position; /* whole degrees; plug-ins ignore it */
  uint8_t reserved1[2];
  uint32_t west_east_flag;   /* 0 west, 1 east; plug-ins ignore it */
  uint8_t polarization;      /* 0 horizontal, 1 vertical, 2 circular left, 3 circular right */
  uint8_t modulation;        /* plug-ins ignore it */
  uint8_t reserved2[2];
  uint32_t symbol_rate;      /* 100 symbol/s units (27.5 Msymbol/s is 275000) */
  uint8_t fec_inner;         /* FEC_inner code; plug-ins ignore it and write 0 */
  uint8_t reserved3[3];
} SATDELIVERYDESC;

/* Cable tuning record (16 bytes). */
typedef struct CABLEDELIVERYDESC {
  uint32_t frequency;   /* 100 Hz units */
  uint8_t fec_outer;    /* plug-ins ignore it */
  uint8_t modulation;   /* 1 16-QAM, 2 32-QAM, 3 64-QAM, 4 128-QAM, 5 256-QAM */
  uint8_t reserved1[2];
  uint32_t symbol_rate; /* 100 symbol/s units */
  uint8_t fec_inner;    /* plug-ins ignore it; on output the word at 12 is 0 */
  uint8_t reserved2[3];
} CABLEDELIVERYDESC;

/* Terrestrial tuning record (12 bytes). */
typedef struct TERRDELIVERYDESC {
  uint32_t centre_frequency; /* 10 Hz units */
  uint8_t bandwidth;         /* 0 8 MHz, 1 7 MHz, 2 6 MHz; 7 unknown (output only) */
  uint8_t constellation;
  uint8_t hierarchy;
  uint8_t code_rate_hp;
  uint8_t code_rate_lp;
  uint8_t guard_interval;
  uint8_t transmission_mode;
  uint8_t other_frequency_flag;
} TERRDELIVERYDESC;

/* ---- layout pins ---- */

ORB_RECORD_ASSERT(sizeof(SectionFilterSpec) == 100, "SectionFilterSpec is 100 bytes");
ORB_RECORD_ASSERT(offsetof(SectionFilterSpec, pid) == 0, "SectionFilterSpec.pid");
ORB_RECORD_ASSERT(offsetof(SectionFilterSpec, table_id) == 4, "SectionFilterSpec.table_id");
ORB_RECORD_ASSERT(offsetof(SectionFilterSpec, reserved1) == 5, "SectionFilterSpec.reserved1");
ORB_RECORD_ASSERT(offsetof(SectionFilterSpec, mode) == 8, "SectionFilterSpec.mode");
ORB_RECORD_ASSERT(offsetof(SectionFilterSpec, reserved2) == 12, "SectionFilterSpec.reserved2");
ORB_RECORD_ASSERT(offsetof(SectionFilterSpec, match_extension) == 28, "SectionFilterSpec.match_extension");
ORB_RECORD_ASSERT(offsetof(SectionFilterSpec, table_id_extension) == 32, "SectionFilterSpec.table_id_extension");
ORB_RECORD_ASSERT(offsetof(SectionFilterSpec, reserved3) == 34, "SectionFilterSpec.reserved3");

ORB_RECORD_ASSERT(offsetof(SectionResult, count) == 0, "SectionResult.count");
ORB_RECORD_ASSERT(offsetof(SectionResult, sections) == sizeof(void*), "SectionResult.sections");
ORB_RECORD_ASSERT(sizeof(SectionResult) == 2 * sizeof(void*), "SectionResult is count + pointer");
#if defined(_WIN32) && !defined(_WIN64)
ORB_RECORD_ASSERT(sizeof(SectionResult) == 8, "SectionResult is 8 bytes in a 32-bit process");
ORB_RECORD_ASSERT(offsetof(SectionResult, sections) == 4, "SectionResult.sections at 4 in a 32-bit process");
#elif defined(_WIN64)
ORB_RECORD_ASSERT(sizeof(SectionResult) == 16, "SectionResult is 16 bytes in a 64-bit process");
ORB_RECORD_ASSERT(offsetof(SectionResult, sections) == 8, "SectionResult.sections at 8 in a 64-bit process");
#endif

ORB_RECORD_ASSERT(sizeof(SATDELIVERYDESC) == 24, "SATDELIVERYDESC is 24 bytes");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, frequency) == 0, "SATDELIVERYDESC.frequency");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, orbital_position) == 4, "SATDELIVERYDESC.orbital_position");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, reserved1) == 6, "SATDELIVERYDESC.reserved1");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, west_east_flag) == 8, "SATDELIVERYDESC.west_east_flag");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, polarization) == 12, "SATDELIVERYDESC.polarization");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, modulation) == 13, "SATDELIVERYDESC.modulation");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, reserved2) == 14, "SATDELIVERYDESC.reserved2");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, symbol_rate) == 16, "SATDELIVERYDESC.symbol_rate");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, fec_inner) == 20, "SATDELIVERYDESC.fec_inner");
ORB_RECORD_ASSERT(offsetof(SATDELIVERYDESC, reserved3) == 21, "SATDELIVERYDESC.reserved3");

ORB_RECORD_ASSERT(sizeof(CABLEDELIVERYDESC) == 16, "CABLEDELIVERYDESC is 16 bytes");
ORB_RECORD_ASSERT(offsetof(CABLEDELIVERYDESC, frequency) == 0, "CABLEDELIVERYDESC.frequency");
ORB_RECORD_ASSERT(offsetof(CABLEDELIVERYDESC, fec_outer) == 4, "CABLEDELIVERYDESC.fec_outer");
ORB_RECORD_ASSERT(offsetof(CABLEDELIVERYDESC, modulation) == 5, "CABLEDELIVERYDESC.modulation");
ORB_RECORD_ASSERT(offsetof(CABLEDELIVERYDESC, reserved1) == 6, "CABLEDELIVERYDESC.reserved1");
ORB_RECORD_ASSERT(offsetof(CABLEDELIVERYDESC, symbol_rate) == 8, "CABLEDELIVERYDESC.symbol_rate");
ORB_RECORD_ASSERT(offsetof(CABLEDELIVERYDESC, fec_inner) == 12, "CABLEDELIVERYDESC.fec_inner");
ORB_RECORD_ASSERT(offsetof(CABLEDELIVERYDESC, reserved2) == 13, "CABLEDELIVERYDESC.reserved2");

ORB_RECORD_ASSERT(sizeof(TERRDELIVERYDESC) == 12, "TERRDELIVERYDESC is 12 bytes");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, centre_frequency) == 0, "TERRDELIVERYDESC.centre_frequency");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, bandwidth) == 4, "TERRDELIVERYDESC.bandwidth");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, constellation) == 5, "TERRDELIVERYDESC.constellation");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, hierarchy) == 6, "TERRDELIVERYDESC.hierarchy");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, code_rate_hp) == 7, "TERRDELIVERYDESC.code_rate_hp");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, code_rate_lp) == 8, "TERRDELIVERYDESC.code_rate_lp");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, guard_interval) == 9, "TERRDELIVERYDESC.guard_interval");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, transmission_mode) == 10, "TERRDELIVERYDESC.transmission_mode");
ORB_RECORD_ASSERT(offsetof(TERRDELIVERYDESC, other_frequency_flag) == 11, "TERRDELIVERYDESC.other_frequency_flag");

#undef ORB_RECORD_ASSERT

#endif /* ORB_CONTRACT_DRIVER_RECORDS_H */
