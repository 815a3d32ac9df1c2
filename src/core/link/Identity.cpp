#include "core/link/Identity.h"

namespace kvx {

int16_t NormaliseBandCode(uint8_t raw) {
  if (raw == 0x38) return 0x38;
  if ((raw & 0x08) != 0 || raw > 0x37) return 0x30;
  return raw;
}

RadioIdentity ParseIdentification(ConstBytes reply) {
  RadioIdentity id;
  if (reply.size() < 16) return id;
  for (size_t i = 1; i <= 7; ++i) {
    if (reply[i] == 0x00 || reply[i] == 0xFF) break;
    id.model.push_back(static_cast<char>(reply[i]));
  }
  id.bandCode = NormaliseBandCode(reply[8]);
  for (size_t i = 9; i <= 12; ++i)
    if (reply[i] != 0x00 && reply[i] != 0xFF) id.version.push_back(static_cast<char>(reply[i]));
  id.features = reply[13];
  id.killed = (reply[14] & 0x01) != 0;
  id.stunned = (reply[14] & 0x02) != 0;
  return id;
}

bool ApplyFeatureBits(FeatureFlags& flags, uint8_t features) {
  bool changed = false;
  auto on = [&](int16_t& flag, unsigned bit) {
    if ((features >> bit) & 1u && flag == 0) {
      flag = 1;
      changed = true;
    }
  };
  on(flags.FiveToneFeature, 7);
  on(flags.TwoToneFeature, 6);
  on(flags.DtmfFeature, 5);
  on(flags.FourthFeature, 4);
  return changed;
}

bool SameBand(int radioBand, int currentBand) {
  if (radioBand == currentBand) return true;
  auto wide = [](int c) { return c == 3 || c == 7; };
  return wide(radioBand) && wide(currentBand);
}

std::vector<IdentFailure> CheckIdentification(const RadioIdentity& id, CommMode mode,
                                              const AppState& app) {
  std::vector<IdentFailure> out;
  if (id.model != kExpectedModel)
    out.push_back(IdentFailure::ModelWrong);
  else if (id.version != app.RadioVersion)
    out.push_back(IdentFailure::VersionWrong);
  if (mode != CommMode::Write) return out;
  if (!SameBand(id.bandCode, app.BandCode)) out.push_back(IdentFailure::BandWrong);
  if (!out.empty()) return out;
  if (id.killed)
    out.push_back(IdentFailure::RadioKilled);
  else if (id.stunned)
    out.push_back(IdentFailure::RadioStunned);
  return out;
}

}  // namespace kvx
