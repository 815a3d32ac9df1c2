#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/BandTable.h"
#include "core/files/DefaultData.h"
#include "core/files/Workspace.h"
#include "core/image/Freq.h"
#include "core/image/PackAll.h"
#include "support/ScriptedPrompts.h"

namespace kvx {
namespace {

// The shipped default files (generated into the build's program folder): every band the
// model-and-band dialog offers has one, New loads it, and its channels lie inside the band and
// encode for a write.
TEST(ShippedDefaultData, EveryOfferedBandStartsWithSoundChannels) {
  for (int code : OfferedBandCodes()) {
    SCOPED_TRACE("band " + std::to_string(code));
    ASSERT_TRUE(std::filesystem::exists(DefaultDataPath(KVX50_PROGRAM_FOLDER, "KP-510", code)));
    Workspace ws;
    ws.app.ProgramFolder = KVX50_PROGRAM_FOLDER;
    SetBandText(ws.app, BandTextOfCode(code));
    ws.app.BandCode = static_cast<int16_t>(code);
    ResetWorkingData(ws);
    EXPECT_FALSE(IsModified(ws));
    EXPECT_EQ(ws.app.BandCode, code);
    ASSERT_GT(ws.channels.ChannelCount, 2);
    EXPECT_TRUE(ws.channels.ChannelExists(kChannelCall));
    EXPECT_TRUE(ws.channels.ChannelExists(kChannelVfo));
    for (const auto& c : ws.channels.Used()) {
      const auto units = FreqTextUnits(c.RxFreq.Clean());
      ASSERT_TRUE(units.has_value()) << c.Number;
      EXPECT_GE(*units, ws.app.RxLow * kUnitsPerMHz) << c.Number;
      EXPECT_LE(*units, ws.app.RxHigh * kUnitsPerMHz) << c.Number;
      EXPECT_EQ(SnapToGridUnits(*units, static_cast<int64_t>(ws.app.RxLow * kUnitsPerMHz), code),
                *units)
          << c.Number;
    }
    test::ScriptedPrompts p;
    ClearImage(ws.image);
    EXPECT_TRUE(PackAll(ws, &p));
    EXPECT_TRUE(p.shown.empty());
  }
}

}  // namespace
}  // namespace kvx
