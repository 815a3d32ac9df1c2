#pragma once
// What a radio reports about itself in its identification block, and the checks a link runs
// on it before anything is transferred.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/AppState.h"
#include "core/util/Bytes.h"

namespace kvx {

// The kind of link in progress.
enum class CommMode : int16_t { Idle = 0, Read = 1, Write = 2, InfoRead = 3 };

inline constexpr std::string_view kExpectedModel = "KP-510";

struct RadioIdentity {
  std::string model;     // bytes 1-7 up to the first 0x00 or 0xFF
  int16_t bandCode = 0;  // byte 8, normalised
  std::string version;   // bytes 9-12 without 0x00 and 0xFF
  uint8_t features = 0;  // bit 7 five-tone, 6 two-tone, 5 DTMF, 4 the fourth feature
  bool killed = false;   // status bit 0
  bool stunned = false;  // status bit 1
  bool operator==(const RadioIdentity&) const = default;
};

// 0x38 stays; a byte with bit 3 set or above 0x37 becomes 0x30.
int16_t NormaliseBandCode(uint8_t raw);

// `reply` is the 16-byte identification block (after the echo).
RadioIdentity ParseIdentification(ConstBytes reply);

// Every feature bit that is 1 switches its flag on; a 0 bit never switches one off. True when
// a flag changed.
bool ApplyFeatureBits(FeatureFlags& flags, uint8_t features);

// Bands 3 and 7 share one frequency range and count as the same band.
bool SameBand(int radioBand, int currentBand);

// The failures of the identification checks, in the order their messages are shown.
enum class IdentFailure { ModelWrong, VersionWrong, BandWrong, RadioKilled, RadioStunned };

// Model and version for every link; for a write also the band (whatever the first two gave)
// and, when all passed, killed and stunned. Empty when the radio may be used. The version is
// compared with app.RadioVersion, the current band with app.BandCode.
std::vector<IdentFailure> CheckIdentification(const RadioIdentity& id, CommMode mode,
                                              const AppState& app);

}  // namespace kvx
