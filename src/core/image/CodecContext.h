#pragma once
// What every area codec gets besides its record and the image: where to show its failure
// message, the program state (band limits, model) and, only while the automatic test exports,
// the recorder of the blocks and channel rows it writes.
#include <cstddef>
#include <string_view>

#include "core/app/AppState.h"
#include "core/util/Prompts.h"

namespace kvx {

struct ChannelRecord;

// The twelve areas of the production export, in the order of its boxes.
enum class ExportArea {
  Channels = 0,
  Broadcast = 1,
  Am = 2,
  Msk = 3,
  Options = 4,
  GroupChannels = 5,
  Dtmf = 6,
  TwoTone = 7,
  FiveTone = 8,
  Alert = 9,
  Book = 10,
  Scan = 11,
};

class ExportSink {
 public:
  virtual ~ExportSink() = default;
  virtual bool AreaOn(ExportArea area) const = 0;
  virtual void MarkBlocks(size_t address, size_t length) = 0;
  virtual void AddChannelRow(const ChannelRecord& channel) = 0;
};

struct CodecContext {
  Prompts* prompts = nullptr;        // null: failures are not shown (tests, fuzzing)
  const AppState* app = nullptr;     // band limits and model; must be set for the channel codec
  ExportSink* exportRun = nullptr;   // non-null only while the automatic test is active

  // Called by an encoder for the bytes it wrote.
  void Mark(ExportArea area, size_t address, size_t length) const {
    if (exportRun && exportRun->AreaOn(area)) exportRun->MarkBlocks(address, length);
  }
  // An encoder's fixed failure message, with an OK button.
  void Fail(std::string_view message) const {
    if (prompts) prompts->Message(message, Icon::Critical, Buttons::Ok);
  }
};

}  // namespace kvx
