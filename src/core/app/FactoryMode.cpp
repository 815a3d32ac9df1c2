#include "core/app/FactoryMode.h"

#include <fstream>

#include "core/app/ProgramFolder.h"
#include "core/util/Text.h"

namespace kvx {

bool DecideFactoryMode(std::string_view programFolder) {
  std::ifstream in(FactoryMarkerPath(programFolder), std::ios::binary);
  if (!in) return false;
  // One fixed 128-byte record from the start; a shorter file gives what it holds.
  char record[128] = {};
  in.read(record, sizeof record);
  if (in.bad()) return false;
  return CleanText(std::string_view(record, static_cast<size_t>(in.gcount()))) == kFactoryMarker;
}

}  // namespace kvx
