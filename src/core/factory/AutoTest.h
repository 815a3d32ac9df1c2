#pragma once
// The production export: which image blocks carry data, a table of the channels, and the EPM
// file that holds both with the whole image.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/image/CodecContext.h"

namespace kvx {

struct RadioImage;
struct ChannelRecord;

inline constexpr size_t kExportAreaCount = 12;
inline constexpr size_t kBlockCount = 1024;
inline constexpr size_t kExportColumns = 9;
inline constexpr size_t kMaxExportRows = 4096 / kExportColumns;  // 455
inline constexpr const char* kEpmFileError = "错误！文件无法操作！";

using ExportRow = std::array<std::string, kExportColumns>;

class AutoTestState : public ExportSink {
 public:
  // True while the automatic test window is open.
  bool AutoTestActive = false;
  // One flag per box of the window; the channel box starts on.
  std::array<bool, kExportAreaCount> ExportAreaFlags{true};
  // One flag per 16-byte block of the image: 1 = the block holds exported data.
  std::array<uint8_t, kBlockCount> BlockUsed{};
  std::vector<ExportRow> ExportRows;
  size_t RowCount = 0;

  bool AreaOn(ExportArea area) const override;
  void MarkBlocks(size_t address, size_t length) override;
  // One row of nine "name|value" cells for a regular channel. Rows past the table's 455 are
  // dropped.
  void AddChannelRow(const ChannelRecord& channel) override;
  void ResetExport();
};

// The cells of a channel row, as AddChannelRow stores them.
ExportRow ChannelExportRow(const ChannelRecord& channel);

// The EPM text: RowCount and 9; every cell, row by row; every BlockUsed flag; every image byte;
// one write per line, each line ended by CR LF. Texts are UTF-8.
std::string EpmText(const AutoTestState& state, const RadioImage& image);
// False when the file cannot be written (the caller shows kEpmFileError).
bool WriteEpmFile(const std::string& path, const AutoTestState& state, const RadioImage& image);

}  // namespace kvx
