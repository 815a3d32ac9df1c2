#pragma once
// Where the default data files live: <ProgramFolder>/Init/<RadioType>_<BandCode>.dat and the
// fallback KP-510_3.dat. Loading is LoadDefaultData of the Workspace.
#include <string>
#include <vector>

namespace kvx {

std::string DefaultDataPath(const std::string& programFolder, const std::string& radioType,
                            int bandCode);
std::string FallbackDataPath(const std::string& programFolder);

// The band codes the model-and-band dialog offers, for which default files are shipped.
const std::vector<int>& OfferedBandCodes();

}  // namespace kvx
