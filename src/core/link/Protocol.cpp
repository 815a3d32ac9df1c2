#include "core/link/Protocol.h"

namespace kvx {

uint8_t BlockChecksum(uint16_t address, ConstBytes data) {
  unsigned sum = (address >> 8) + (address & 0xFF) + static_cast<unsigned>(data.size() & 0xFF);
  for (uint8_t b : data) sum += b;
  return static_cast<uint8_t>(sum & 0xFF);
}

uint8_t WriteHeaderLetter(uint16_t address) {
  return (address == kLowerHeaderSingle || address >= kLowerHeaderFrom) ? kHeaderLower
                                                                        : kHeaderUpper;
}

Frame HandshakeFrame() {
  return Frame(kHandshakeText.begin(), kHandshakeText.end());
}

Frame IdentRequestFrame() {
  return Frame{kIdentRequest};
}

Frame ReadRequestFrame(uint16_t address, uint8_t length) {
  return Frame{kReadLetter, static_cast<uint8_t>(address >> 8),
               static_cast<uint8_t>(address & 0xFF), length};
}

Frame DataBlockFrame(uint8_t header, uint16_t address, ConstBytes data) {
  Frame f;
  f.reserve(data.size() + 6);
  f.push_back(header);
  f.push_back(static_cast<uint8_t>(address >> 8));
  f.push_back(static_cast<uint8_t>(address & 0xFF));
  f.push_back(static_cast<uint8_t>(data.size()));
  f.insert(f.end(), data.begin(), data.end());
  f.push_back(BlockChecksum(address, data));
  f.push_back(kAck);
  return f;
}

Frame WriteBlockFrame(uint16_t address, ConstBytes data) {
  return DataBlockFrame(WriteHeaderLetter(address), address, data);
}

Frame ClosingFrame() {
  return Frame(kClosingText.begin(), kClosingText.end());
}

std::string_view ReplyKindName(ReplyKind kind) {
  switch (kind) {
    case ReplyKind::None:
      return "none";
    case ReplyKind::Acknowledge:
      return "acknowledge";
    case ReplyKind::Refuse:
      return "refuse";
    case ReplyKind::HandshakeAnswer:
      return "handshake answer";
    case ReplyKind::Identification:
      return "identification";
    case ReplyKind::PasswordBlock:
      return "password block";
    case ReplyKind::TestDataBlock:
      return "test-data block";
    case ReplyKind::DataBlock:
      return "data block";
  }
  return "?";
}

BlockReply SplitBlockReply(ConstBytes buffer, size_t at) {
  BlockReply r;
  if (buffer.size() < at + 4) return r;
  r.header = buffer[at];
  r.address = Be16(buffer, at + 1);
  size_t length = buffer[at + 3];
  if (buffer.size() >= at + 4 + length) r.data = buffer.subspan(at + 4, length);
  return r;
}

namespace {

// A well-formed block reply from `at` on: exactly length + 6 bytes, closing 0x06, right
// checksum, and the one block length we ever ask for.
bool IsWholeBlock(ConstBytes buffer, size_t at, uint8_t blockLength) {
  if (buffer.size() < at + 6) return false;
  size_t length = buffer[at + 3];
  if (length != blockLength) return false;
  if (buffer.size() != at + length + 6) return false;
  if (buffer.back() != kAck) return false;
  uint16_t address = Be16(buffer, at + 1);
  return BlockChecksum(address, buffer.subspan(at + 4, length)) == buffer[at + 4 + length];
}

}  // namespace

ReplyKind ClassifyReply(ConstBytes buffer, const ReplyContext& ctx) {
  const size_t at = ctx.sentLength;
  const size_t n = buffer.size();
  if (n == at + 1 && buffer.back() == kAck) return ReplyKind::Acknowledge;
  if (n == at + 1 && buffer.back() == kRefuse) return ReplyKind::Refuse;
  if (n == at + 3 && buffer[at] == kHandshakeAnswer[0] && buffer[at + 1] == kHandshakeAnswer[1] &&
      buffer[at + 2] == static_cast<uint8_t>(kHandshakeAnswer[2]))
    return ReplyKind::HandshakeAnswer;
  if (n == at + kIdentReplyLength && buffer[at] == kIdentLetter && buffer.back() == kAck)
    return ReplyKind::Identification;
  if (n < at + 4) return ReplyKind::None;

  const uint8_t header = buffer[at];
  const uint16_t address = Be16(buffer, at + 1);
  if (ctx.passwordStep && header == kHeaderUpper && address == kPasswordBlockAddress &&
      IsWholeBlock(buffer, at, ctx.blockLength))
    return ReplyKind::PasswordBlock;
  if (header == kHeaderUpper && (address == 0x0000 || address == kCalibrationAddress) &&
      IsWholeBlock(buffer, at, ctx.blockLength))
    return ReplyKind::TestDataBlock;
  if (n >= at + kDataReplyLength && address == ctx.blockAddress &&
      buffer[at + 3] == ctx.blockLength && (header == kHeaderUpper || header == kHeaderLower) &&
      IsWholeBlock(buffer, at, ctx.blockLength))
    return ReplyKind::DataBlock;
  return ReplyKind::None;
}

}  // namespace kvx
