#include "core/files/DefaultData.h"

namespace kvx {

std::string DefaultDataPath(const std::string& programFolder, const std::string& radioType,
                            int bandCode) {
  return programFolder + "/Init/" + radioType + "_" + std::to_string(bandCode) + ".dat";
}

std::string FallbackDataPath(const std::string& programFolder) {
  return programFolder + "/Init/KP-510_3.dat";
}

const std::vector<int>& OfferedBandCodes() {
  // The band lists of the model-and-band dialog, model by model.
  static const std::vector<int> codes = {2,  3,  4,  5,  6,  16, 17, 18, 19, 20, 21,
                                         22, 23, 56, 48, 49, 50, 51, 52, 53, 54, 55};
  return codes;
}

}  // namespace kvx
