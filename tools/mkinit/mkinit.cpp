// Writes the default data files that New loads: Init/KP-510_<code>.dat (block-less settings
// record) and its channel file .fre, for every band code the model-and-band dialog offers.
// The output depends only on this source and the core library, so builds are reproducible.
//
// Usage: kvx50-mkinit OUTPUT_FOLDER
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/app/BandTable.h"
#include "core/files/DataFile.h"
#include "core/files/DefaultData.h"
#include "core/files/Workspace.h"
#include "core/image/Freq.h"

namespace kvx {
namespace {

constexpr int kStartChannels = 16;
constexpr int64_t kGridUnits = 2500;  // 25 kHz: on the grid of every band
constexpr int kFixedBandCode = 16;    // the radio fixes channels 1-80 of this band at 245 MHz
constexpr int kFixedChannels = 80;

ChannelRecord MemoryChannel(int number, int64_t rxUnits, const AppState& app) {
  ChannelRecord c = DefaultChannel(number, app);
  c.RxFreq = UnitsToFreqText(rxUnits);
  c.ScanSkip = 0;
  return c;
}

// The starting channels of a band: evenly spread over the part of the receive band in which
// the radio may also transmit, on the 25 kHz grid, simplex. Band 16 gets its 80 fixed channels.
void AddStartChannels(Workspace& ws) {
  const AppState& app = ws.app;
  if (app.BandCode == kFixedBandCode) {
    for (int j = 0; j < kFixedChannels; ++j)
      ws.channels.AppendChannel(MemoryChannel(j + 1, 24500000 + 1250 * j, app));
    return;
  }
  const double low = std::max(app.RxLow, app.TxLow);
  const double high = std::min(app.RxHigh, app.TxHigh);
  const int64_t first = static_cast<int64_t>(std::ceil(low * kUnitsPerMHz / kGridUnits));
  const int64_t last = static_cast<int64_t>(std::floor(high * kUnitsPerMHz / kGridUnits));
  const int64_t points = last - first + 1;
  const int count = static_cast<int>(std::min<int64_t>(kStartChannels, points));
  for (int i = 0; i < count; ++i) {
    const int64_t step = count > 1 ? i * (points - 1) / (count - 1) : 0;
    ws.channels.AppendChannel(MemoryChannel(i + 1, (first + step) * kGridUnits, app));
  }
}

bool WriteBand(const std::string& folder, int code) {
  Workspace ws;
  ws.app.ProgramFolder = folder + "/.no-defaults";  // start from the compiled-in defaults only
  SetBandText(ws.app, BandTextOfCode(code));
  ws.app.BandCode = static_cast<int16_t>(code);
  ResetWorkingData(ws);
  AddStartChannels(ws);
  CopyWorkingToSaved(ws);

  std::string dat, fre;
  ByteWriter wd(dat), wf(fre);
  ws.saved.settings.Write(wd);
  for (const auto& c : ws.channels.Used()) c.Write(wf);
  const std::string path = DefaultDataPath(folder, "KP-510", code);
  return WriteFileAtomically(path, dat) && WriteFileAtomically(ChannelFilePath(path), fre);
}

}  // namespace
}  // namespace kvx

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kvx50-mkinit OUTPUT_FOLDER (the folder that gets Init/)\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder + "/Init", ec);
  for (int code : kvx::OfferedBandCodes()) {
    if (!kvx::WriteBand(folder, code)) {
      std::fprintf(stderr, "kvx50-mkinit: cannot write %s\n",
                   kvx::DefaultDataPath(folder, "KP-510", code).c_str());
      return 1;
    }
  }
  return 0;
}
