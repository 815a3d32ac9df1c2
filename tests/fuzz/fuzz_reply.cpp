// Reply recognition and the identification block: any buffer, any echo length, any block
// address. A reply is only ever accepted whole, with the length, closing byte and checksum its
// kind requires, and nothing is read outside the buffer.
//
// Input: [echo length][block address, 2 bytes][flags] then the receive buffer.
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "core/app/AppState.h"
#include "core/link/Identity.h"
#include "core/link/Password.h"
#include "core/link/Protocol.h"

using namespace kvx;

namespace {

bool ValidBand(int code) {
  return (code >= 0x00 && code <= 0x07) || (code >= 0x10 && code <= 0x17) ||
         (code >= 0x20 && code <= 0x27) || (code >= 0x30 && code <= 0x38);
}

bool FreeOf(const std::string& text, uint8_t a, uint8_t b) {
  for (char c : text)
    if (static_cast<uint8_t>(c) == a || static_cast<uint8_t>(c) == b) return false;
  return true;
}

void CheckBlock(ConstBytes buffer, const ReplyContext& ctx) {
  const size_t at = ctx.sentLength;
  FUZZ_CHECK(buffer.size() == at + kDataReplyLength);
  FUZZ_CHECK(buffer.back() == kAck);
  const BlockReply block = SplitBlockReply(buffer, at);
  FUZZ_CHECK(block.data.size() == kBlockLength);
  FUZZ_CHECK(BlockChecksum(block.address, block.data) == buffer[at + 4 + kBlockLength]);
  FUZZ_CHECK(block.header == kHeaderUpper || block.header == kHeaderLower);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  ReplyContext ctx;
  // Echo lengths of the frames we send are 1 to 22; a few more cover a confused buffer.
  ctx.sentLength = data[0] % 32;
  ctx.blockAddress = static_cast<uint16_t>((data[1] << 8) | data[2]);
  ctx.passwordStep = data[3] & 1;
  std::vector<uint8_t> buffer(data + 4, data + size);
  const ConstBytes view(buffer);
  const size_t at = ctx.sentLength;

  const ReplyKind kind = ClassifyReply(view, ctx);
  switch (kind) {
    case ReplyKind::None:
      break;
    case ReplyKind::Acknowledge:
      FUZZ_CHECK(buffer.size() == at + 1 && buffer.back() == kAck);
      break;
    case ReplyKind::Refuse:
      FUZZ_CHECK(buffer.size() == at + 1 && buffer.back() == kRefuse);
      break;
    case ReplyKind::HandshakeAnswer:
      FUZZ_CHECK(buffer.size() == at + 3 && buffer[at] == 'V' && buffer[at + 1] == 'N' &&
                 buffer[at + 2] == kAck);
      break;
    case ReplyKind::Identification: {
      FUZZ_CHECK(buffer.size() == at + kIdentReplyLength);
      FUZZ_CHECK(buffer[at] == kIdentLetter && buffer.back() == kAck);
      const RadioIdentity id = ParseIdentification(view.subspan(at));
      FUZZ_CHECK(id.model.size() <= 7 && FreeOf(id.model, 0x00, 0xFF));
      FUZZ_CHECK(id.version.size() <= 4 && FreeOf(id.version, 0x00, 0xFF));
      FUZZ_CHECK(ValidBand(id.bandCode));
      FUZZ_CHECK(id.features == buffer[at + 13]);
      FUZZ_CHECK(id.killed == ((buffer[at + 14] & 1) != 0));
      FUZZ_CHECK(id.stunned == ((buffer[at + 14] & 2) != 0));
      // The checks run for every kind of link; a write refuses whatever the read refuses.
      AppState app;
      app.BandCode = static_cast<int16_t>(data[1] & 0x3F);
      const auto forRead = CheckIdentification(id, CommMode::Read, app);
      const auto forWrite = CheckIdentification(id, CommMode::Write, app);
      FUZZ_CHECK(forWrite.size() >= forRead.size());
      if (!forRead.empty()) FUZZ_CHECK(!forWrite.empty());
      FeatureFlags flags;
      ApplyFeatureBits(flags, id.features);
      FUZZ_CHECK((flags.FiveToneFeature != 0) == ((id.features & 0x80) != 0));
      break;
    }
    case ReplyKind::PasswordBlock: {
      FUZZ_CHECK(ctx.passwordStep);
      CheckBlock(view, ctx);
      const BlockReply block = SplitBlockReply(view, at);
      FUZZ_CHECK(block.header == kHeaderUpper && block.address == kPasswordBlockAddress);
      FUZZ_CHECK(RadioPasswordText(block.data).size() <= kPasswordLength);
      break;
    }
    case ReplyKind::TestDataBlock: {
      CheckBlock(view, ctx);
      const BlockReply block = SplitBlockReply(view, at);
      FUZZ_CHECK(block.header == kHeaderUpper);
      FUZZ_CHECK(block.address == 0x0000 || block.address == kCalibrationAddress);
      break;
    }
    case ReplyKind::DataBlock: {
      CheckBlock(view, ctx);
      FUZZ_CHECK(SplitBlockReply(view, at).address == ctx.blockAddress);
      break;
    }
  }

  // The echo is never looked at: a different echo gives the same answer.
  if (at > 0 && buffer.size() > 0) {
    std::vector<uint8_t> other = buffer;
    for (size_t i = 0; i < at && i < other.size(); ++i) other[i] ^= 0xA5;
    FUZZ_CHECK(ClassifyReply(ConstBytes(other), ctx) == kind);
  }

  // The splitter and the parser take any buffer without reading past it.
  (void)SplitBlockReply(view, at);
  if (buffer.size() >= kIdentReplyLength) (void)ParseIdentification(view.first(kIdentReplyLength));
  (void)RadioPasswordText(view);
  return 0;
}
