#pragma once
// The radio's side of the programming cable: frames in, replies out, with seeded faults. No
// I/O and no clock here: the pty loop in main.cpp feeds the bytes and times the replies.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kvx::sim {

inline constexpr size_t kMemorySize = 16384;

struct Identity {
  std::string model = "KP-510";
  uint8_t band = 0x03;
  std::string version = "V100";
  uint8_t features = 0;
  uint8_t status = 0;  // bit 0 killed, bit 1 stunned
};

struct Faults {
  uint64_t seed = 1;
  double drop = 0;     // a reply is not sent
  double corrupt = 0;  // a data block reply carries a wrong checksum
  double split = 0;    // a reply goes out in two parts, `splitGapMs` apart
  double junk = 0;     // junk bytes follow a reply
  double refuse = 0;   // a write block is refused (0x0A) and not stored
  int splitGapMs = 50;
  long limit = -1;        // at most this many faults in all (-1: no limit)
  bool silent = false;    // the radio never answers (the cable still echoes)
  bool noEcho = false;    // the cable does not echo
  long pullAfter = -1;    // the cable is pulled after this many data blocks
  bool noEndAck = false;  // the closing frame after the last block gets no answer
};

// One piece of a reply, to be written `gapMs` after the previous piece (the first piece after
// the end of the frame plus the turn-around delay).
struct ReplyPart {
  int gapMs = 0;
  std::vector<uint8_t> bytes;
};

class SimRadio {
 public:
  SimRadio(Identity identity, Faults faults, bool lowerHeaders);

  std::array<uint8_t, kMemorySize>& Memory() { return memory_; }
  // Sets 0x004C-0x004F: the text, then 0x00 (an empty text leaves 0xFF 0xFF 0xFF 0xFF).
  void SetPassword(const std::string& password);

  // Bytes that arrived from the programmer. For every complete frame, `onFrame` gets the reply
  // parts (empty: no answer). Bytes that start no frame are dropped and journalled as junk.
  void Feed(const uint8_t* data, size_t size,
            const std::function<void(std::vector<ReplyPart>)>& onFrame);

  // Bytes of a frame that has not arrived whole. A frame never pauses on the wire, so the loop
  // drops them after a quiet moment (a lost byte must not swallow the frames after it).
  bool HasPartial() const { return !in_.empty(); }
  void DropPartial();

  // The cable no longer carries anything (echo included).
  bool Pulled() const { return pulled_; }
  bool Echo() const { return !faults_.noEcho && !pulled_; }

  // One line per frame seen, in order ("frame=write addr=0x0100 header=w reply=ack ...").
  std::function<void(const std::string&)> journal;
  // Called after a closing frame (to save the memory).
  std::function<void()> onClosing;

  long FaultsInjected() const { return faultsInjected_; }

 private:
  std::vector<ReplyPart> Handle(const std::vector<uint8_t>& frame);
  std::vector<ReplyPart> Reply(std::vector<uint8_t> bytes, bool dataBlock, std::string& note);
  bool Chance(double p);

  std::array<uint8_t, kMemorySize> memory_{};
  Identity id_;
  Faults faults_;
  bool lowerHeaders_;
  std::mt19937_64 rng_;
  std::vector<uint8_t> in_;
  bool programming_ = false;
  bool pulled_ = false;
  long dataBlocks_ = 0;
  long faultsInjected_ = 0;
  bool lastBlockDone_ = false;
};

}  // namespace kvx::sim
