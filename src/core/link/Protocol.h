#pragma once
// The frames of the programming cable and the recognition of what comes back.
//
// The cable is a single wire: every byte we send comes back on the receive line ahead of the
// radio's answer, so a reply buffer always starts with an echo of the frame just sent
// (SentLength bytes) and every rule below looks at the buffer from there on.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/util/Bytes.h"

namespace kvx {

// Serial settings of every link: 9600 baud, no parity, 8 data bits, 1 stop bit, no handshake.
inline constexpr int kLinkBaud = 9600;
// Reply time-out after each send.
inline constexpr int kReplyTimeoutMs = 300;
// Every frame goes out at most this often (the first send and two repeats).
inline constexpr int kLinkTries = 3;
// Refuse replies to the same write block in a row before it counts as a time-out.
inline constexpr int kMaxRefusalsInRow = 10;

inline constexpr uint8_t kBlockLength = 16;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kRefuse = 0x0A;
inline constexpr uint8_t kIdentRequest = 0x02;
inline constexpr uint8_t kReadLetter = 'R';
inline constexpr uint8_t kHeaderUpper = 'W';
inline constexpr uint8_t kHeaderLower = 'w';
inline constexpr uint8_t kIdentLetter = 'I';

inline constexpr std::string_view kHandshakeText = "PROGRAM";
inline constexpr std::string_view kHandshakeAnswer = "VN\x06";
inline constexpr std::string_view kClosingText = "END";

// Expected reply lengths after the echo.
inline constexpr size_t kHandshakeReplyLength = 3;
inline constexpr size_t kIdentReplyLength = 16;
inline constexpr size_t kAckReplyLength = 1;
inline constexpr size_t kDataReplyLength = kBlockLength + 6;
inline constexpr size_t kReadRequestLength = 4;
inline constexpr size_t kWriteBlockLength = kBlockLength + 6;

// Addresses.
inline constexpr uint16_t kPasswordBlockAddress = 0x0040;
inline constexpr uint16_t kCalibrationAddress = 0x0160;
inline constexpr uint16_t kReadFirstAddress = 0x0010;
inline constexpr uint16_t kReadLastAddress = 0x3FF0;
inline constexpr uint16_t kWriteFirstAddress = 0x0100;
inline constexpr uint16_t kWriteLastAddress = 0x3FF0;
inline constexpr uint16_t kInfoFirstAddress = 0x0010;
inline constexpr uint16_t kInfoLastAddress = 0x00FF;
// Write blocks from here on, and the one at kLowerHeaderSingle, carry the header 'w'.
inline constexpr uint16_t kLowerHeaderFrom = 0x3900;
inline constexpr uint16_t kLowerHeaderSingle = 0x03F0;

using Frame = std::vector<uint8_t>;

// Sum modulo 256 of the address bytes, the length byte and the data bytes.
uint8_t BlockChecksum(uint16_t address, ConstBytes data);
// 'w' at 0x03F0 and from 0x3900 on, 'W' everywhere else.
uint8_t WriteHeaderLetter(uint16_t address);

Frame HandshakeFrame();
Frame IdentRequestFrame();
Frame ReadRequestFrame(uint16_t address, uint8_t length = kBlockLength);
// header, address high, low, length, data, checksum, 0x06. `data` gives the length.
Frame DataBlockFrame(uint8_t header, uint16_t address, ConstBytes data);
Frame WriteBlockFrame(uint16_t address, ConstBytes data);
Frame ClosingFrame();

enum class ReplyKind {
  None,  // matches no rule: dropped, the time-out resends
  Acknowledge,
  Refuse,
  HandshakeAnswer,
  Identification,
  PasswordBlock,
  TestDataBlock,
  DataBlock,
};
std::string_view ReplyKindName(ReplyKind kind);

struct ReplyContext {
  size_t sentLength = 0;      // the echo in front of the reply
  uint16_t blockAddress = 0;  // the block being transferred
  uint8_t blockLength = kBlockLength;
  bool passwordStep = false;  // the link is in its password check
};

// The recognition of a whole receive buffer; the first rule that matches decides:
// acknowledge, refuse, handshake answer, identification, password block (only in the password
// step), test-data block, data block. Block replies must carry kBlockLength data bytes (the
// only length ever requested), so a short block can never be read past its end.
ReplyKind ClassifyReply(ConstBytes buffer, const ReplyContext& ctx);

// The parts of a block reply (header, address, length, data) that starts at `at` in `buffer`.
// Only meaningful for a buffer that ClassifyReply accepted as a block.
struct BlockReply {
  uint8_t header = 0;
  uint16_t address = 0;
  ConstBytes data;
};
BlockReply SplitBlockReply(ConstBytes buffer, size_t at);

}  // namespace kvx
