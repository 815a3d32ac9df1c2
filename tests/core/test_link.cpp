// Frames, reply recognition, identification and the password comparison of the link.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/link/Identity.h"
#include "core/link/Password.h"
#include "core/link/Protocol.h"
#include "core/link/SerialPorts.h"

using namespace kvx;

namespace {

Frame Concat(Frame a, const Frame& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Frame Block16(uint8_t fill) {
  return Frame(16, fill);
}

Frame IdentBlock(std::string_view model, uint8_t band, std::string_view version,
                 uint8_t features = 0, uint8_t status = 0, uint8_t pad = 0xFF) {
  Frame f{'I'};
  for (size_t i = 0; i < 7; ++i) f.push_back(i < model.size() ? model[i] : pad);
  f.push_back(band);
  for (size_t i = 0; i < 4; ++i) f.push_back(i < version.size() ? version[i] : 0x00);
  f.push_back(features);
  f.push_back(status);
  f.push_back(0x06);
  return f;
}

}  // namespace

TEST(LinkFrames, BytesOnTheWire) {
  EXPECT_EQ(HandshakeFrame(), (Frame{0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D}));
  EXPECT_EQ(IdentRequestFrame(), Frame{0x02});
  EXPECT_EQ(ReadRequestFrame(0x3FF0), (Frame{'R', 0x3F, 0xF0, 0x10}));
  EXPECT_EQ(ClosingFrame(), (Frame{0x45, 0x4E, 0x44}));

  // Checksum: address bytes, length and data, modulo 256; header and 0x06 excluded.
  Frame data(16, 0);
  data[0] = 0xFF;
  data[15] = 0x10;
  const Frame w = WriteBlockFrame(0x0120, data);
  ASSERT_EQ(w.size(), 22u);
  EXPECT_EQ(w[0], 'W');
  EXPECT_EQ(w[1], 0x01);
  EXPECT_EQ(w[2], 0x20);
  EXPECT_EQ(w[3], 0x10);
  EXPECT_EQ(w[20], static_cast<uint8_t>(0x01 + 0x20 + 0x10 + 0xFF + 0x10));
  EXPECT_EQ(w[21], 0x06);
}

TEST(LinkFrames, WriteHeaderLetter) {
  const struct {
    uint16_t address;
    char letter;
  } cases[] = {{0x0100, 'W'}, {0x03E0, 'W'}, {0x03F0, 'w'}, {0x0400, 'W'},
               {0x38F0, 'W'}, {0x3900, 'w'}, {0x3A50, 'w'}, {0x3FF0, 'w'}};
  for (const auto& c : cases)
    EXPECT_EQ(WriteHeaderLetter(c.address), c.letter) << std::hex << c.address;
}

TEST(LinkReplies, ClassifiedInOrderAfterTheEcho) {
  const Frame read = ReadRequestFrame(0x0200);
  const Frame write = WriteBlockFrame(0x0200, Block16(1));
  const Frame data = DataBlockFrame('W', 0x0200, Block16(9));
  const Frame dataLower = DataBlockFrame('w', 0x0200, Block16(9));
  Frame badSum = data;
  badSum[20] ^= 1;
  Frame badEnd = data;
  badEnd[21] = 0x07;
  const Frame otherAddress = DataBlockFrame('W', 0x0210, Block16(9));
  const Frame password = DataBlockFrame('W', 0x0040, Block16(0x31));
  Frame passwordBadSum = password;
  passwordBadSum[20] ^= 1;
  const Frame passwordLower = DataBlockFrame('w', 0x0040, Block16(0x31));
  const Frame calibration = DataBlockFrame('W', 0x0160, Block16(5));
  const Frame calibrationLower = DataBlockFrame('w', 0x0160, Block16(5));
  const Frame shortBlock = DataBlockFrame('W', 0x0200, Frame(8, 1));

  struct Case {
    const char* name;
    Frame echo;  // the frame sent; the buffer is echo + reply
    Frame reply;
    uint16_t blockAddress;
    bool passwordStep;
    ReplyKind kind;
    bool withoutEcho = false;
  };
  const Frame hs = HandshakeFrame();
  const Frame id = IdentRequestFrame();
  const Frame pw = ReadRequestFrame(0x40);
  const Frame cal = ReadRequestFrame(0x160);
  const Case cases[] = {
      {"ack", write, {0x06}, 0x0200, false, ReplyKind::Acknowledge},
      {"refuse", write, {0x0A}, 0x0200, false, ReplyKind::Refuse},
      {"ack one byte too long", write, {0x00, 0x06}, 0x0200, false, ReplyKind::None},
      {"handshake", hs, {'V', 'N', 0x06}, 0, false, ReplyKind::HandshakeAnswer},
      {"handshake wrong letters", hs, {'V', 'M', 0x06}, 0, false, ReplyKind::None},
      {"identification", id, IdentBlock("KP-510", 3, "V100"), 0, false, ReplyKind::Identification},
      {"data block", read, data, 0x0200, false, ReplyKind::DataBlock},
      {"'w' accepted anywhere", read, dataLower, 0x0200, false, ReplyKind::DataBlock},
      {"wrong checksum", read, badSum, 0x0200, false, ReplyKind::None},
      {"wrong last byte", read, badEnd, 0x0200, false, ReplyKind::None},
      {"other address", read, otherAddress, 0x0200, false, ReplyKind::None},
      {"one junk byte more", read, Concat(data, {0x00}), 0x0200, false, ReplyKind::None},
      {"first half of a split reply", read, Frame(data.begin(), data.begin() + 10), 0x0200, false,
       ReplyKind::None},
      {"no echo", read, data, 0x0200, false, ReplyKind::None, true},
      {"short block never read past its end", read, shortBlock, 0x0200, false, ReplyKind::None},
      {"password block", pw, password, 0, true, ReplyKind::PasswordBlock},
      {"password block outside its step", pw, password, 0x0040, false, ReplyKind::DataBlock},
      {"password block with a wrong checksum", pw, passwordBadSum, 0, true, ReplyKind::None},
      {"password block with 'w'", pw, passwordLower, 0x0040, true, ReplyKind::DataBlock},
      {"calibration block", cal, calibration, 0x0160, false, ReplyKind::TestDataBlock},
      {"calibration block with 'w' is data", cal, calibrationLower, 0x0160, false,
       ReplyKind::DataBlock},
  };
  for (const Case& c : cases) {
    const Frame buffer = c.withoutEcho ? c.reply : Concat(c.echo, c.reply);
    ReplyContext ctx;
    ctx.sentLength = c.echo.size();
    ctx.blockAddress = c.blockAddress;
    ctx.passwordStep = c.passwordStep;
    const ReplyKind got = ClassifyReply(buffer, ctx);
    EXPECT_EQ(got, c.kind) << c.name << ": got " << ReplyKindName(got);
  }
}

TEST(LinkReplies, ReadReplyIsExactlyTheThreshold) {
  // SentLength 4, BlockLength 16: the buffer is exactly 26 bytes.
  const Frame buffer = Concat(ReadRequestFrame(0x0010), DataBlockFrame('W', 0x0010, Block16(0)));
  EXPECT_EQ(buffer.size(), kReadRequestLength + kDataReplyLength);
  EXPECT_EQ(buffer.size(), 26u);
}

TEST(LinkIdentity, BandNormalisation) {
  const struct {
    uint8_t raw;
    int16_t code;
  } cases[] = {{0x00, 0x00}, {0x03, 0x03}, {0x07, 0x07}, {0x08, 0x30}, {0x0B, 0x30},
               {0x11, 0x11}, {0x17, 0x17}, {0x1F, 0x30}, {0x27, 0x27}, {0x37, 0x37},
               {0x38, 0x38}, {0x39, 0x30}, {0x40, 0x30}, {0xFF, 0x30}};
  for (const auto& c : cases) EXPECT_EQ(NormaliseBandCode(c.raw), c.code) << int(c.raw);
}

TEST(LinkIdentity, ParsedFields) {
  RadioIdentity id = ParseIdentification(IdentBlock("KP-510", 0x0B, "V100", 0xA0, 0x02));
  EXPECT_EQ(id.model, "KP-510");
  EXPECT_EQ(id.bandCode, 0x30);
  EXPECT_EQ(id.version, "V100");
  EXPECT_FALSE(id.killed);
  EXPECT_TRUE(id.stunned);

  // The model ends at the first 0x00 or 0xFF; version bytes 0x00 and 0xFF are skipped.
  Frame b = IdentBlock("KP-510", 3, "V100", 0, 0, 0x00);
  EXPECT_EQ(ParseIdentification(b).model, "KP-510");
  b[10] = 0xFF;  // "V", 0xFF, "0", "0"
  EXPECT_EQ(ParseIdentification(b).version, "V00");
  const Frame spaced = IdentBlock("KP-510 ", 3, "V100");
  EXPECT_EQ(ParseIdentification(spaced).model, "KP-510 ");
}

TEST(LinkIdentity, FeatureBitsOnlySwitchOn) {
  FeatureFlags flags;
  flags.DtmfFeature = 1;
  EXPECT_TRUE(ApplyFeatureBits(flags, 0x80 | 0x10));
  EXPECT_EQ(flags.FiveToneFeature, 1);
  EXPECT_EQ(flags.TwoToneFeature, 0);
  EXPECT_EQ(flags.DtmfFeature, 1);  // a 0 bit never switches a flag off
  EXPECT_EQ(flags.FourthFeature, 1);
  EXPECT_FALSE(ApplyFeatureBits(flags, 0x80));
  EXPECT_TRUE(ApplyFeatureBits(flags, 0x40));
  EXPECT_EQ(flags.TwoToneFeature, 1);
}

TEST(LinkIdentity, Checks) {
  using F = IdentFailure;
  struct Case {
    const char* name;
    std::string model;
    int16_t band;
    std::string version;
    uint8_t status;
    CommMode mode;
    int16_t currentBand;
    std::vector<F> failures;
  };
  const Case cases[] = {
      {"read ok", "KP-510", 3, "V100", 0, CommMode::Read, 48, {}},
      {"read ignores band and status", "KP-510", 48, "V100", 3, CommMode::Read, 3, {}},
      {"model", "KP-511", 3, "V100", 0, CommMode::Read, 3, {F::ModelWrong}},
      {"model with a space", "KP-510 ", 3, "V100", 0, CommMode::InfoRead, 3, {F::ModelWrong}},
      {"version", "KP-510", 3, "V101", 0, CommMode::Read, 3, {F::VersionWrong}},
      {"model hides version", "XX", 3, "V101", 0, CommMode::Read, 3, {F::ModelWrong}},
      {"write ok", "KP-510", 3, "V100", 0, CommMode::Write, 3, {}},
      {"write band 3 on 7", "KP-510", 3, "V100", 0, CommMode::Write, 7, {}},
      {"write band 7 on 3", "KP-510", 7, "V100", 0, CommMode::Write, 3, {}},
      {"write band", "KP-510", 48, "V100", 0, CommMode::Write, 3, {F::BandWrong}},
      {"write model and band",
       "KP-511",
       48,
       "V100",
       1,
       CommMode::Write,
       3,
       {F::ModelWrong, F::BandWrong}},
      {"write killed", "KP-510", 3, "V100", 1, CommMode::Write, 3, {F::RadioKilled}},
      {"write killed and stunned", "KP-510", 3, "V100", 3, CommMode::Write, 3, {F::RadioKilled}},
      {"write stunned", "KP-510", 3, "V100", 2, CommMode::Write, 3, {F::RadioStunned}},
      {"killed not checked after a failure",
       "KP-510",
       3,
       "V9",
       1,
       CommMode::Write,
       3,
       {F::VersionWrong}},
  };
  for (const Case& c : cases) {
    RadioIdentity id;
    id.model = c.model;
    id.bandCode = c.band;
    id.version = c.version;
    id.killed = c.status & 1;
    id.stunned = c.status & 2;
    AppState app;
    app.BandCode = c.currentBand;
    EXPECT_EQ(CheckIdentification(id, c.mode, app), c.failures) << c.name;
  }
}

TEST(LinkPassword, Comparison) {
  auto block = [](std::initializer_list<uint8_t> field) {
    Frame b(16, 0x20);
    size_t i = 12;
    for (uint8_t v : field) b[i++] = v;
    return b;
  };
  const struct {
    const char* name;
    Frame block;
    std::string stored;
    bool match;
  } cases[] = {
      {"erased, none stored", block({0xFF, 0xFF, 0xFF, 0xFF}), "", true},
      {"erased, one stored", block({0xFF, 0xFF, 0xFF, 0xFF}), "1234", false},
      {"zeros, none stored", block({0x00, 0x00, 0x00, 0x00}), "", true},
      {"12 then NULs", block({'1', '2', 0x00, 0x00}), "12", true},
      {"12 is not 1200", block({'1', '2', 0x00, 0x00}), "1200", false},
      {"four characters", block({'9', '8', '7', '6'}), "9876", true},
      {"case matters", block({'a', 'b', 0xFF, 0xFF}), "AB", false},
      {"trailing space cleaned", block({'a', 'b', ' ', 0x00}), "ab", true},
  };
  for (const auto& c : cases) EXPECT_EQ(RadioPasswordMatches(c.block, c.stored), c.match) << c.name;
}

namespace {
class FixedPorts : public PortEnumerator {
 public:
  std::vector<PortInfo> ports;
  std::vector<PortInfo> List() override { return ports; }
};
}  // namespace

TEST(LinkPorts, StableOrderAndLookup) {
  std::vector<std::string> names = {"ttyUSB0", "ttyS10",   "ttyS2",  "ttyACM1",
                                    "ttyS0",   "ttyUSB10", "ttyUSB9"};
  std::sort(names.begin(), names.end(),
            [](const auto& a, const auto& b) { return PortNameLess(a, b); });
  EXPECT_EQ(names, (std::vector<std::string>{"ttyACM1", "ttyS0", "ttyS2", "ttyS10", "ttyUSB0",
                                             "ttyUSB9", "ttyUSB10"}));

  FixedPorts ports;
  EXPECT_EQ(FirstSerialPort(ports), "");
  EXPECT_FALSE(SerialPortExists(ports, ""));
  ports.ports = {{"ttyS2", "16550A"}, {"ttyUSB0", "USB serial"}};
  std::vector<PortInfo> list = {{"stale", ""}};
  EXPECT_EQ(ListSerialPorts(ports, list), "ttyS2");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_TRUE(SerialPortExists(ports, "ttyUSB0"));
  EXPECT_TRUE(SerialPortExists(ports, "/dev/ttyUSB0"));
  EXPECT_FALSE(SerialPortExists(ports, "/dev/serial/ttyUSB0"));
  EXPECT_FALSE(SerialPortExists(ports, "ttyUSB1"));
}
