#include "core/factory/AutoTest.h"

#include <fstream>

#include "core/image/Channels.h"
#include "core/image/Freq.h"
#include "core/image/RadioImage.h"
#include "core/image/Tones.h"

namespace kvx {

namespace {

constexpr const char* kColumnNames[kExportColumns] = {
    "显示信道ID", "通信信道ID", "接收频率", "发射频率", "解码",
    "编码",       "功率",       "宽窄带",   "可选信令",
};

std::string PowerText(int power) {
  if (power == 0) return "高";
  if (power == 1) return "中";
  return "低";
}

std::string BandwidthText(int bandwidth) {
  if (bandwidth == 0) return "宽带";
  if (bandwidth == 1) return "中带";
  return "窄带";
}

std::string SignallingText(const ChannelRecord& c) {
  switch (c.Signalling) {
    case 1:
      return "DTMF-" + std::to_string(c.DtmfCode + 1);
    case 2:
      return "2Tone-" + std::to_string(c.TwoToneCode);
    case 3:
      return "5Tone-" + std::to_string(c.FiveToneCode);
    default:
      return "Off";
  }
}

// "Write #" form: a quoted string.
void WriteString(std::string& out, std::string_view s) {
  out.push_back('"');
  out.append(s);
  out.push_back('"');
  out.append("\r\n");
}
void WriteNumber(std::string& out, long v) {
  out.append(std::to_string(v));
  out.append("\r\n");
}

}  // namespace

bool AutoTestState::AreaOn(ExportArea area) const {
  return ExportAreaFlags[static_cast<size_t>(area)];
}

void AutoTestState::MarkBlocks(size_t address, size_t length) {
  if (length == 0) return;
  size_t last = (address + length - 1) / 16;
  for (size_t b = address / 16; b <= last && b < kBlockCount; ++b) BlockUsed[b] = 1;
}

void AutoTestState::AddChannelRow(const ChannelRecord& channel) {
  if (ExportRows.size() >= kMaxExportRows) return;
  ExportRows.push_back(ChannelExportRow(channel));
  RowCount = ExportRows.size();
}

void AutoTestState::ResetExport() {
  BlockUsed.fill(0);
  ExportRows.clear();
  RowCount = 0;
}

// Tone setting A is the channel's receive (decode) tone, B its transmit (encode) tone.
ExportRow ChannelExportRow(const ChannelRecord& c) {
  const BandCheck quiet{};  // no prompts: the export shows no frequency messages
  std::string rx = FreqTextToDisplay(c.RxFreq.Raw(), quiet);
  std::string tx;
  if (c.Shift == ShiftNone) {
    tx = rx;
  } else if (c.Shift == ShiftMinus || c.Shift == ShiftPlus) {
    double r = NumericValue(rx).value_or(0);
    double o = NumericValue(OffsetTextToDisplay(c.Offset.Raw(), quiet)).value_or(0);
    tx = FormatFreqHash0(c.Shift == ShiftMinus ? r - o : r + o);
  }
  std::string values[kExportColumns] = {
      std::to_string(c.Number - 1),
      std::to_string(c.Number - 1),
      rx,
      tx,
      ToneSettingDisplay(c.ToneAType, c.ToneACtcss, c.ToneADcs, c.ToneAInverted, "Off"),
      ToneSettingDisplay(c.ToneBType, c.ToneBCtcss, c.ToneBDcs, c.ToneBInverted, "Off"),
      PowerText(c.Power),
      BandwidthText(c.Bandwidth),
      SignallingText(c),
  };
  ExportRow row;
  for (size_t i = 0; i < kExportColumns; ++i)
    row[i] = std::string(kColumnNames[i]) + "|" + values[i];
  return row;
}

std::string EpmText(const AutoTestState& state, const RadioImage& image) {
  std::string out;
  out.reserve(200000);
  out.append(std::to_string(state.RowCount)).append(",").append(std::to_string(kExportColumns));
  out.append("\r\n");
  for (size_t r = 0; r < state.RowCount && r < state.ExportRows.size(); ++r)
    for (const auto& cell : state.ExportRows[r]) WriteString(out, cell);
  for (uint8_t used : state.BlockUsed) WriteNumber(out, used);
  for (uint8_t b : image.bytes) WriteNumber(out, b);
  return out;
}

bool WriteEpmFile(const std::string& path, const AutoTestState& state, const RadioImage& image) {
  std::string text = EpmText(state, image);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f.is_open()) return false;
  f.write(text.data(), static_cast<std::streamsize>(text.size()));
  f.flush();
  return static_cast<bool>(f);
}

}  // namespace kvx
