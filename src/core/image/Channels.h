#pragma once
// The channel table: one record per channel in use, the working list of up to 204 of them, the
// default records, the list operations of the grid and the edit dialog, and the channel codec.
//
// Channel numbers: 1-200 memory channels, 201 "PA", 202 "PB", 203 "CALL", 204 "VFO".
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/app/AppState.h"
#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "core/util/Bytes.h"
#include "core/util/FixedText.h"

namespace kvx {

inline constexpr int kMemoryChannels = 200;
inline constexpr int kChannelPA = 201;
inline constexpr int kChannelPB = 202;
inline constexpr int kChannelCall = 203;
inline constexpr int kChannelVfo = 204;
inline constexpr int kChannelSlots = 204;

// One channel; also one 108-byte record of the channel file, fields in this order (16-bit
// values little-endian, texts exactly their width).
struct ChannelRecord {
  int16_t Number = 0;    // 1 to 204
  int16_t InUse = 0;     // 1 for every record in the list
  int16_t ScanSkip = 0;  // 1 skipped by scan
  FixedText<9> RxFreq;   // FreqText
  FixedText<9> Offset;   // FreqText
  FixedText<7> Name;
  int16_t Step = 0;  // step list position
  int16_t TxInhibit = 0;
  int16_t Bandwidth = 0;  // 0 25K, 1 20K, 2 12.5K
  int16_t ToneBInverted = 0;
  int16_t ToneBDcsHigh = 0;  // bit 8 of ToneBDcs as last decoded
  int16_t ListFlag = 0;      // shown in the hidden list column only
  int16_t Spare1 = 0;
  int16_t Spare2 = 0;
  int16_t Shift = 0;  // 0 none, 1 minus, 2 plus
  int16_t Power = 0;
  int16_t Talkaround = 0;
  int16_t ToneAInverted = 0;
  int16_t ToneADcsHigh = 0;  // bit 8 of ToneADcs as last decoded
  int16_t Compander = 0;
  int16_t Spare3 = 0;
  int16_t ToneBType = 0;  // 0 none, 1 CTCSS, 2 DCS
  int16_t ToneAType = 0;
  int16_t ToneBCtcss = 0;
  int16_t ToneACtcss = 0;
  int16_t ToneBDcs = 0;  // 0-511
  int16_t ToneADcs = 0;
  int16_t Signalling = 0;  // 0 none, 1 DTMF, 2 two-tone, 3 five-tone
  int16_t Spare4 = 0;
  int16_t TwoToneCode = 0;   // 0-31
  int16_t FiveToneCode = 0;  // 0-99
  int16_t PttIdFlag = 0;     // set only when the edit dialog adds the channel
  int16_t Reverse = 0;
  int16_t Scramble = 0;
  int16_t DtmfPttId = 0;      // 0-3
  int16_t FiveTonePttId = 0;  // 0-3
  int16_t SquelchMode = 0;    // 0-4
  int16_t DtmfCode = 0;       // 0-15, shown M1-M16
  int16_t AdditionalDisplay = 0;
  int16_t BusyLock = 0;   // 0 off, 1 "Repeater", 2 "Busy"
  int16_t RawByte27 = 0;  // carried from a read to a write
  int16_t PttIdDecode = 0;
  FixedText<5> PttIdCode;  // five hexadecimal digits

  static constexpr size_t kFileSize = 108;

  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);

  bool operator==(const ChannelRecord&) const = default;
};

// Every field in record order with its name, for the file, the dump and tests. The visitor is
// called as v(name, int16_t&) or v(name, FixedText<N>&) (const for a const record).
template <class Record, class Visitor>
void VisitChannelFields(Record& c, Visitor&& v) {
  v("Number", c.Number);
  v("InUse", c.InUse);
  v("ScanSkip", c.ScanSkip);
  v("RxFreq", c.RxFreq);
  v("Offset", c.Offset);
  v("Name", c.Name);
  v("Step", c.Step);
  v("TxInhibit", c.TxInhibit);
  v("Bandwidth", c.Bandwidth);
  v("ToneBInverted", c.ToneBInverted);
  v("ToneBDcsHigh", c.ToneBDcsHigh);
  v("ListFlag", c.ListFlag);
  v("Spare1", c.Spare1);
  v("Spare2", c.Spare2);
  v("Shift", c.Shift);
  v("Power", c.Power);
  v("Talkaround", c.Talkaround);
  v("ToneAInverted", c.ToneAInverted);
  v("ToneADcsHigh", c.ToneADcsHigh);
  v("Compander", c.Compander);
  v("Spare3", c.Spare3);
  v("ToneBType", c.ToneBType);
  v("ToneAType", c.ToneAType);
  v("ToneBCtcss", c.ToneBCtcss);
  v("ToneACtcss", c.ToneACtcss);
  v("ToneBDcs", c.ToneBDcs);
  v("ToneADcs", c.ToneADcs);
  v("Signalling", c.Signalling);
  v("Spare4", c.Spare4);
  v("TwoToneCode", c.TwoToneCode);
  v("FiveToneCode", c.FiveToneCode);
  v("PttIdFlag", c.PttIdFlag);
  v("Reverse", c.Reverse);
  v("Scramble", c.Scramble);
  v("DtmfPttId", c.DtmfPttId);
  v("FiveTonePttId", c.FiveTonePttId);
  v("SquelchMode", c.SquelchMode);
  v("DtmfCode", c.DtmfCode);
  v("AdditionalDisplay", c.AdditionalDisplay);
  v("BusyLock", c.BusyLock);
  v("RawByte27", c.RawByte27);
  v("PttIdDecode", c.PttIdDecode);
  v("PttIdCode", c.PttIdCode);
}

// The working list: 204 slots and the count of those in use (positions 0 to ChannelCount-1,
// in no particular order, each number at most once). Slots at and above ChannelCount are not
// part of the list but keep their contents: a decode takes them as starting values.
struct ChannelList {
  std::array<ChannelRecord, kChannelSlots> Slots{};
  int16_t ChannelCount = 0;

  std::span<ChannelRecord> Used() { return {Slots.data(), Count()}; }
  std::span<const ChannelRecord> Used() const { return {Slots.data(), Count()}; }
  size_t Count() const;  // ChannelCount kept within 0-204

  // First position below ChannelCount whose record has this number.
  std::optional<int> FindChannel(int number) const;
  ChannelRecord* Find(int number);
  const ChannelRecord* Find(int number) const;
  bool ChannelExists(int number) const;
  // The first record with this number has InUse 1.
  bool ChannelInUse(int number) const;
  // Stores at position ChannelCount and counts it; false (nothing stored) when all 204 slots
  // are in use.
  bool AppendChannel(const ChannelRecord& record);
  // Removes the first record with this number, moving the later ones down. 203 and 204 are
  // never deleted; an absent number changes nothing. True when a record was removed.
  bool DeleteChannel(int number);
  // The number itself when a memory channel (1-200) of that number is in the list; otherwise
  // the number of the last memory channel in list order; 0 when there is none.
  int ValidChannelRef(int number) const;

  // Compares every slot, the unused ones included.
  bool operator==(const ChannelList&) const = default;
};

// The two default channels CALL and VFO in the middle of the receive band; ChannelCount 2.
// Slots from position 2 on are left as they were.
void NewDefaultChannels(ChannelList& list, const AppState& app);
// The default record NewDefaultChannels gives, with this number.
ChannelRecord DefaultChannel(int number, const AppState& app);
// The record shown for a number not in the list.
ChannelRecord EmptyChannel(int number);

// The grid's private clipboard of one channel. Its InUse tells whether it holds a channel (1)
// or the emptiness of an empty row (0).
struct ChannelClipboard {
  ChannelRecord Record;
  bool ClipboardFilled = false;
};
// Copy: the first record of that number with InUse 1, or only InUse 0 when there is none.
void CopyChannel(const ChannelList& list, ChannelClipboard& clip, int row);
// Copy, then delete when a record was copied (CALL and VFO stay).
void CutChannel(ChannelList& list, ChannelClipboard& clip, int row);
// An empty clipboard deletes the row's channel; otherwise the row's record is overwritten
// (keeping its number) or a copy is appended with the row's number.
void PasteChannel(ChannelList& list, const ChannelClipboard& clip, int row);
// The grid's clipboard command "C", "X", "V" or "D" on a row. True when the row must be
// redrawn ("X", "D", and "V" once something was copied or cut).
bool ChannelCommand(ChannelList& list, ChannelClipboard& clip, std::string_view command, int row);

// Image address of a channel's 32-byte record (numbers 1 to 204).
size_t ChannelRecordAddress(int number);
inline constexpr size_t kChannelImageSize = 32;
inline constexpr size_t kPttIdCodeSize = 5;

// Encodes the list into an image prepared by ClearImage. False after ctx.Fail(
// "SetCommDataByFrequencyError") when a value does not fit its byte, a frequency or PTT-ID
// character is not a hexadecimal digit or a number is outside 1-204; the channels before it
// are already written.
bool PackChannels(const ChannelList& list, RadioImage& image, const CodecContext& ctx);
// Rebuilds the list from the image after a read (the band must be adopted first: the decode
// clamps to its limits). CALL and VFO are always in the result. Bad PTT-ID bytes are set to 0
// in the image as well.
void UnpackChannels(ChannelList& list, RadioImage& image, const CodecContext& ctx);

}  // namespace kvx
