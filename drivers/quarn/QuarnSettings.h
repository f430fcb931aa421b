#pragma once
// The Quarn plug-in's settings: the settings record of the framework
// (CSettings) kept in the class key itself, without the values inversion,
// bandwidth and scan, and with its own last-channel defaults (frequency
// 12322000 kHz, symbol rate 27800 kS/s, polarity 0, FEC code 6 = automatic,
// modulation code 5 = 64-QAM).
#include "drvcommon/Settings.h"

class CRegistryKey;

namespace quarn {

inline constexpr drvcore::u32 kDefaultFrequency = 12322000;
inline constexpr drvcore::u32 kDefaultSymbolRate = 27800;
inline constexpr drvcore::u32 kDefaultPolarity = 0;
inline constexpr drvcore::u32 kDefaultFec = 6;
inline constexpr drvcore::u32 kDefaultModulation = 5;

// Defaults, then the values the key holds (a key that is not open leaves
// the defaults).
void LoadSettings(CSettings& settings, CRegistryKey& key);
// Writes the stored values; false when a write failed.
bool WriteSettings(const CSettings& settings, CRegistryKey& key);

}  // namespace quarn
