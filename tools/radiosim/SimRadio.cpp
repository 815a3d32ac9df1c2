#include "SimRadio.h"

#include <algorithm>
#include <cstdio>

#include "core/link/Protocol.h"

namespace kvx::sim {

namespace {

std::string Hex4(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%04X", v & 0xFFFF);
  return buf;
}

bool IsLastBlock(unsigned address) {
  return address == 0x3FF0 || address == 0x00F0;
}

}  // namespace

SimRadio::SimRadio(Identity identity, Faults faults, bool lowerHeaders)
    : id_(std::move(identity)), faults_(faults), lowerHeaders_(lowerHeaders), rng_(faults.seed) {
  memory_.fill(0xFF);
}

void SimRadio::SetPassword(const std::string& password) {
  for (size_t i = 0; i < 4; ++i) {
    uint8_t b = 0xFF;
    if (!password.empty()) b = i < password.size() ? static_cast<uint8_t>(password[i]) : 0x00;
    memory_[0x004C + i] = b;
  }
}

void SimRadio::DropPartial() {
  if (in_.empty()) return;
  if (journal) journal("frame=partial bytes=" + std::to_string(in_.size()) + " dropped=1");
  in_.clear();
}

bool SimRadio::Chance(double p) {
  if (p <= 0) return false;
  // Draw even when the limit is reached, so that the sequence of draws stays the same.
  const bool hit = std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < p;
  if (!hit) return false;
  if (faults_.limit >= 0 && faultsInjected_ >= faults_.limit) return false;
  ++faultsInjected_;
  return true;
}

void SimRadio::Feed(const uint8_t* data, size_t size,
                    const std::function<void(std::vector<ReplyPart>)>& onFrame) {
  in_.insert(in_.end(), data, data + size);
  for (;;) {
    if (in_.empty()) return;
    const uint8_t b = in_[0];
    size_t need = 0;
    bool junk = false;
    auto matchText = [&](std::string_view text) {
      const size_t n = std::min(in_.size(), text.size());
      for (size_t i = 0; i < n; ++i)
        if (in_[i] != static_cast<uint8_t>(text[i])) return false;
      return true;
    };
    if (b == 'P') {
      if (matchText(kHandshakeText))
        need = kHandshakeText.size();
      else
        junk = true;
    } else if (b == 'E') {
      if (matchText(kClosingText))
        need = kClosingText.size();
      else
        junk = true;
    } else if (b == kIdentRequest) {
      need = 1;
    } else if (b == kReadLetter) {
      need = 4;
    } else if (b == kHeaderUpper || b == kHeaderLower) {
      need = in_.size() >= 4 ? in_[3] + 6u : 4u;
      if (in_.size() >= 4 && in_[3] + 6u > in_.size()) need = in_[3] + 6u;
    } else {
      junk = true;
    }
    if (junk) {
      if (journal) journal("frame=junk byte=" + Hex4(b).substr(4));
      in_.erase(in_.begin());
      continue;
    }
    if (in_.size() < need) return;  // the rest is still on its way
    std::vector<uint8_t> frame(in_.begin(), in_.begin() + static_cast<long>(need));
    in_.erase(in_.begin(), in_.begin() + static_cast<long>(need));
    onFrame(Handle(frame));
  }
}

std::vector<ReplyPart> SimRadio::Reply(std::vector<uint8_t> bytes, bool dataBlock,
                                       std::string& note) {
  std::vector<std::string> faults;
  std::vector<ReplyPart> parts;
  if (Chance(faults_.drop)) {
    note += " fault=drop";
    return parts;
  }
  if (dataBlock && bytes.size() >= 2 && Chance(faults_.corrupt)) {
    bytes[bytes.size() - 2] ^= 0x5A;
    faults.push_back("corrupt");
  }
  if (Chance(faults_.junk)) {
    const int n = std::uniform_int_distribution<int>(1, 4)(rng_);
    for (int i = 0; i < n; ++i)
      bytes.push_back(static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(rng_)));
    faults.push_back("junk");
  }
  if (bytes.size() >= 2 && Chance(faults_.split)) {
    const size_t at = std::uniform_int_distribution<size_t>(1, bytes.size() - 1)(rng_);
    parts.push_back(
        {0, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(at))});
    parts.push_back({faults_.splitGapMs,
                     std::vector<uint8_t>(bytes.begin() + static_cast<long>(at), bytes.end())});
    faults.push_back("split");
  } else {
    parts.push_back({0, std::move(bytes)});
  }
  if (!faults.empty()) {
    note += " fault=";
    for (size_t i = 0; i < faults.size(); ++i) note += (i ? "," : "") + faults[i];
  }
  return parts;
}

std::vector<ReplyPart> SimRadio::Handle(const std::vector<uint8_t>& frame) {
  std::string line;
  std::vector<uint8_t> reply;
  bool dataBlock = false;
  bool counts = false;
  const uint8_t kind = frame[0];
  bool lastBlock = false;

  if (kind == 'P') {
    line = "frame=handshake";
    programming_ = true;
    reply.assign(kHandshakeAnswer.begin(), kHandshakeAnswer.end());
  } else if (kind == 'E') {
    line = "frame=end";
    const bool wasLast = lastBlockDone_;
    programming_ = false;
    if (onClosing) onClosing();
    if (!(faults_.noEndAck && wasLast)) reply = {kAck};
    if (faults_.noEndAck && wasLast) line += " final=1";
  } else if (kind == kIdentRequest) {
    line = "frame=ident";
    if (programming_) {
      reply.push_back(kIdentLetter);
      for (size_t i = 0; i < 7; ++i)
        reply.push_back(i < id_.model.size() ? static_cast<uint8_t>(id_.model[i]) : 0xFF);
      reply.push_back(id_.band);
      for (size_t i = 0; i < 4; ++i)
        reply.push_back(i < id_.version.size() ? static_cast<uint8_t>(id_.version[i]) : 0x00);
      reply.push_back(id_.features);
      reply.push_back(id_.status);
      reply.push_back(kAck);
    }
  } else if (kind == kReadLetter) {
    const unsigned address = (frame[1] << 8) | frame[2];
    const unsigned length = frame[3];
    line = "frame=read addr=" + Hex4(address);
    if (programming_ && address + length <= kMemorySize) {
      uint8_t header = kHeaderUpper;
      if (lowerHeaders_ && address != kCalibrationAddress &&
          (address == kLowerHeaderSingle || address >= kLowerHeaderFrom))
        header = kHeaderLower;
      reply = DataBlockFrame(header, static_cast<uint16_t>(address),
                             ConstBytes(memory_.data() + address, length));
      line += std::string(" header=") + static_cast<char>(header);
      dataBlock = true;
      counts = true;
      lastBlock = IsLastBlock(address);
    }
  } else {  // write block
    const unsigned address = (frame[1] << 8) | frame[2];
    const size_t length = frame[3];
    line = "frame=write addr=" + Hex4(address) + " header=" + static_cast<char>(kind);
    if (address < 0x0100 || address == kCalibrationAddress) line += " protected=1";
    if (programming_) {
      const ConstBytes data(frame.data() + 4, length);
      const bool good = frame.back() == kAck &&
                        frame[4 + length] == BlockChecksum(static_cast<uint16_t>(address), data) &&
                        address + length <= kMemorySize;
      counts = true;
      lastBlock = IsLastBlock(static_cast<unsigned>(address));
      if (!good) {
        reply = {kRefuse};
        line += " bad=checksum";
      } else if (Chance(faults_.refuse)) {
        reply = {kRefuse};
        line += " fault=refuse";
      } else {
        std::copy(data.begin(), data.end(), memory_.begin() + static_cast<long>(address));
        reply = {kAck};
      }
    }
  }
  if (kind != 'E') lastBlockDone_ = lastBlock;

  std::vector<ReplyPart> parts;
  if (faults_.silent || reply.empty()) {
    line += " reply=none";
  } else {
    line += " reply=" + std::to_string(reply.size());
    parts = Reply(std::move(reply), dataBlock, line);
  }
  if (counts) {
    ++dataBlocks_;
    if (faults_.pullAfter >= 0 && dataBlocks_ >= faults_.pullAfter) {
      pulled_ = true;
      line += " pulled=1";
    }
  }
  if (journal) journal(line);
  return parts;
}

}  // namespace kvx::sim
