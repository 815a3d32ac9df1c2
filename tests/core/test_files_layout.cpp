#include <gtest/gtest.h>

#include <random>

#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"

namespace kvx {
namespace {

std::string Serialise(const SettingsRecord& s) {
  std::string out;
  ByteWriter w(out);
  s.Write(w);
  return out;
}

uint8_t At(const std::string& bytes, size_t offset) {
  return static_cast<uint8_t>(bytes[offset]);
}

TEST(SettingsRecordLayout, AreasSitAtTheirFileOffsets) {
  SettingsRecord s;
  s.BandCode = 0x1234;
  s.Dtmf.Codes[0].Text = "X";
  s.TwoTone.FirstTone = 0xABCD;  // high byte first in the file
  s.FiveTone.Reserved = 0x5A;
  s.Options.Option0 = 0x0102;
  s.Scan.ScanMode = 0x77;
  s.Scan.PriorityChannel2 = 0x78;
  s.Alert.EmergencyMode = 0x66;
  s.Alert.LoneWorkerTime = 0x67;
  s.ChannelCount = 0x0203;
  s.Book.entries[0].EntryNo = 0x0405;
  s.Book.entries[127].EntryName = "ABCDEFZ";
  s.DecodeTime = 0x11;
  s.Switch4 = 0x12;
  s.Switch5 = 0x13;
  s.Switch6 = 0x14;
  s.Fm.entries[0].Position = 0x0607;
  s.Am.entries[0].Position = 0x0809;
  s.Ble.bytes[0] = 0x21;
  s.Ble.bytes[8] = 0x29;
  s.Spare = {0x31, 0x32, 0x33};

  const std::string b = Serialise(s);
  ASSERT_EQ(b.size(), kSettingsRecordSize);
  const struct {
    size_t offset;
    uint8_t value;
    const char* what;
  } expected[] = {
      {0, 0x34, "band code low"},     {1, 0x12, "band code high"},
      {2, 'X', "DtmfSettings"},       {529, 0xAB, "TwoToneSettings"},
      {530, 0xCD, "FirstTone low"},   {1097, 0x5A, "FiveToneSettings"},
      {6704, 0x02, "OptionSettings"}, {6705, 0x01, "Option0 high"},
      {6777, 0x77, "ScanSettings"},   {6790, 0x78, "PriorityChannel2"},
      {6791, 0x66, "AlertSettings"},  {6802, 0x67, "LoneWorkerTime"},
      {6803, 0x03, "ChannelCount"},   {6804, 0x02, "ChannelCount high"},
      {6805, 0x05, "BookEntries"},    {8596, 'Z', "last book name byte"},
      {8597, 0x11, "DecodeTime"},     {8598, 0x12, "Switch4"},
      {8599, 0x13, "Switch5"},        {8600, 0x14, "Switch6"},
      {8601, 0x07, "FmList"},         {8853, 0x09, "AmList"},
      {9105, 0x21, "BleOptions"},     {9113, 0x29, "last BLE byte"},
      {9114, 0x31, "spare bytes"},    {9116, 0x33, "last spare byte"},
  };
  for (const auto& e : expected)
    EXPECT_EQ(At(b, e.offset), e.value) << e.what << " at " << e.offset;
}

TEST(SettingsRecordLayout, ArbitraryBytesComeBackUnchanged) {
  // A record read from any file is written back byte for byte (fields nobody edits included).
  std::mt19937 rng(20240611);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(kSettingsRecordSize, '\0');
    for (auto& c : bytes) c = static_cast<char>(rng() & 0xFF);
    SettingsRecord s;
    ByteReader r(bytes);
    s.Read(r);
    EXPECT_FALSE(r.Short());
    EXPECT_EQ(r.Pos(), kSettingsRecordSize);
    ASSERT_EQ(Serialise(s), bytes) << "round " << round;
  }
}

TEST(ChannelFileLayout, RecordFieldsAtTheirOffsets) {
  ChannelRecord c;
  c.Number = 0x0102;
  c.RxFreq = "014500000";
  c.Offset = "000500000";
  c.Name = "ABC";
  c.Step = 0x0304;
  c.PttIdDecode = 0x0506;
  c.PttIdCode = "1A2B3";
  std::string b;
  ByteWriter w(b);
  c.Write(w);
  ASSERT_EQ(b.size(), 108u);
  EXPECT_EQ(At(b, 0), 0x02);
  EXPECT_EQ(b.substr(6, 9), "014500000");
  EXPECT_EQ(b.substr(15, 9), "000500000");
  EXPECT_EQ(b.substr(24, 7), "ABC    ");
  EXPECT_EQ(At(b, 31), 0x04);   // Step, the first of the 36 16-bit fields
  EXPECT_EQ(At(b, 101), 0x06);  // PttIdDecode, the last of them
  EXPECT_EQ(b.substr(103, 5), "1A2B3");
}

}  // namespace
}  // namespace kvx
