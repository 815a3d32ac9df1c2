#include "core/app/SetupFile.h"

#include <limits>

#include "core/app/ProgramFolder.h"
#include "core/lang/IniFile.h"
#include "core/util/Bytes.h"
#include "core/util/Text.h"

namespace kvx {

namespace {
constexpr std::string_view kSetupSection = "language";
constexpr size_t kFeatureFlagBytes = 8;
}  // namespace

std::string ReadSetupValue(const AppState& app, std::string_view key) {
  return ReadIniValue(SetupFilePath(app.ProgramFolder), kSetupSection, key, kSetupValueLimit);
}

bool WriteSetupValue(const AppState& app, std::string_view key, std::string_view value) {
  return WriteIniValue(SetupFilePath(app.ProgramFolder), kSetupSection, key, value);
}

std::string PortOfSetupValue(std::string_view value) {
  std::string v = Trim(value);
  if (auto n = ParseInteger(v)) {
    // An older setup file numbered the ports from 1.
    if (*n < 1 || *n > 256) return {};
    return "ttyS" + std::to_string(*n - 1);
  }
  return v;
}

int16_t SetupNumber(std::string_view value, int16_t fallback) {
  auto n = ParseInteger(value);
  if (!n || *n < std::numeric_limits<int16_t>::min() || *n > std::numeric_limits<int16_t>::max())
    return fallback;
  return static_cast<int16_t>(*n);
}

bool ReadFeatureFlags(const AppState& app, FeatureFlags& flags) {
  flags = FeatureFlags{};
  auto bytes = ReadFileText(FeatureFlagFilePath(app.ProgramFolder));
  if (!bytes || bytes->size() < kFeatureFlagBytes) return false;
  ByteReader r(std::string_view(*bytes).substr(0, kFeatureFlagBytes));
  flags.FiveToneFeature = r.I16();
  flags.TwoToneFeature = r.I16();
  flags.DtmfFeature = r.I16();
  flags.FourthFeature = r.I16();
  return true;
}

bool SaveFeatureFlags(const AppState& app) {
  std::string out;
  ByteWriter w(out);
  w.I16(app.Features.FiveToneFeature);
  w.I16(app.Features.TwoToneFeature);
  w.I16(app.Features.DtmfFeature);
  w.I16(app.Features.FourthFeature);
  return ReplaceFileAtomically(FeatureFlagFilePath(app.ProgramFolder), out);
}

void SaveDecimalSeparator(AppState& app) {
  app.SavedDecimalSeparator = '.';
}

void RestoreDecimalSeparator(const AppState&) {}

}  // namespace kvx
