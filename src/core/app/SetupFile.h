#pragma once
// The settings that persist between runs: the setup file language/mysetup.ini (section
// "language") and the 8-byte feature-flag file Setting.ini.
#include <string>
#include <string_view>

#include "core/app/AppState.h"

namespace kvx {

inline constexpr size_t kSetupValueLimit = 511;

// One key of section "language" of the setup file in app.ProgramFolder: trimmed, at most 511
// bytes, empty when the file or key is missing.
std::string ReadSetupValue(const AppState& app, std::string_view key);
// Writes the key, keeping every other line; false when the file cannot be written.
bool WriteSetupValue(const AppState& app, std::string_view key, std::string_view value);

// The port named by a "comPort" value: a device name or path as it stands; a number n left
// by an older setup file means ttyS(n-1); 0, a negative number or empty means no port ("").
std::string PortOfSetupValue(std::string_view value);

// A numeric setup value: a missing or non-numeric value, or one outside 16 bits, gives
// `fallback`.
int16_t SetupNumber(std::string_view value, int16_t fallback = 0);

// Setting.ini: four little-endian 16-bit numbers (five-tone, two-tone, DTMF, fourth).
// Reading a missing or short file gives zeros and returns false.
bool ReadFeatureFlags(const AppState& app, FeatureFlags& flags);
// Writes app.Features as exactly 8 bytes, atomically; false on failure.
bool SaveFeatureFlags(const AppState& app);

// Linux never changes the user's locale: every number is formatted with "." by the system
// itself, so there is nothing to save or restore. Kept so the start and the close read as the
// sequence they are.
void SaveDecimalSeparator(AppState& app);
void RestoreDecimalSeparator(const AppState& app);

}  // namespace kvx
