#pragma once
// Field-by-field comparison of two sets of data (two data files, the working data and a file,
// a file and a radio), by area, channel or entry number and field name. Texts are compared
// after CleanText, numbers by value; channels are matched by their number, not their
// position in the list.
#include <string>
#include <vector>

#include "core/app/AppState.h"
#include "core/factory/TestData.h"
#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"
#include "core/image/RadioImage.h"
#include "core/util/Prompts.h"

namespace kvx {

struct Workspace;

// What is compared on one side. testValues are compared only when both sides give them.
struct DataView {
  int bandCode = 0;
  const SettingsRecord* settings = nullptr;
  const ChannelList* channels = nullptr;
  const TestDataValues* testValues = nullptr;
};
// The working data of a workspace (test values in factory mode).
DataView WorkingDataOf(const Workspace& ws);

struct FieldDifference {
  std::string area;   // "Band", "Channel", "DtmfSettings", "BookEntries", ...
  int number = 0;     // channel number, or entry number from 1; 0 for a single field
  std::string field;  // "RxFreq", "Codes[3].Text", ...; "(channel)" for a channel on one side
  std::string a;      // the value on each side as shown (texts quoted, "absent")
  std::string b;
};

// Every difference, areas in file order, channels by number.
std::vector<FieldDifference> DiffData(const DataView& a, const DataView& b);

// "Channel 12 RxFreq: \"014500000\" | \"014600000\"", "OptionSettings Option5: 1 | 2".
std::string FormatDifference(const FieldDifference& d);

// --- verification against a radio ------------------------------------------------------------

// The data as the radio holds them: `image` decoded with the band and type of `app`, every
// field the image does not carry left at its default, so that two such decodings differ only
// where the images do. `image` is not changed.
struct RadioData {
  SettingsRecord settings;
  ChannelList channels;
};
void DecodeAsRadio(const RadioImage& image, const AppState& app, RadioData& out);

// The image a write of these data sends (a prepared image with every area encoded). False
// when an encoder fails; its message goes to `prompts` when given.
bool EncodeForRadio(const SettingsRecord& settings, const ChannelList& channels,
                    const AppState& app, RadioImage& out, Prompts* prompts = nullptr);

// Where the radio's memory differs from what writing `file` (with the band and type of
// `fileApp`) would leave in it, by field. Fields the radio does not hold never appear. A band
// that differs is reported first, as area "Band". False when the file's data cannot be
// encoded.
bool VerifyRadio(const SettingsRecord& fileSettings, const ChannelList& fileChannels,
                 const AppState& fileApp, const RadioImage& radioImage, const AppState& radioApp,
                 std::vector<FieldDifference>& out, Prompts* prompts = nullptr);

}  // namespace kvx
