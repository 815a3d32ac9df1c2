// The whole link state machine: reads, writes and radio-information reads driven by replies,
// time-outs, answers, port results and cancels in any order, against a radio that answers
// correctly when asked to. When the script ends, the link is cancelled or, with a set-up bit,
// driven to its end with correct replies, so that those runs reach the decode of a fuzzed
// radio memory.
//
// Input parts (FuzzSupport.h): the script (five set-up bytes, then one event per byte with its
// arguments), and the radio memory laid over the sample radio from address 0.
//
// Checked after every event:
// - nothing is sent while the port is closed; a running link always waits for something;
// - a read or radio-information read never sends a write block, and reads only the password
//   block and the blocks of its range;
// - a write block goes only to 0x0100-0x3FF0 (never 0x0160), carries the encoded image, and is
//   sent only after the identification and the password of the same connection passed;
// - a read changes the working data only when it succeeds; a read that succeeds gives a list
//   of 0-204 unique channels with CALL and VFO, not modified, "new.dat", and an image equal to
//   the radio's memory when every reply it took was the radio's own;
// - a write that succeeds leaves the radio holding the encoded image;
// - driven with correct replies, every link ends.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/factory/TestData.h"
#include "core/files/Workspace.h"
#include "core/image/RadioImage.h"
#include "core/link/Identity.h"
#include "core/link/LinkMachine.h"
#include "core/link/Password.h"
#include "core/link/Protocol.h"

using namespace kvx;
using namespace kvx::fuzz;

namespace {

constexpr int kScriptedEventLimit = 4000;
constexpr int kDrivenEventLimit = 12000;

class Script {
 public:
  explicit Script(std::string_view s) : s_(s) {}
  bool Empty() const { return pos_ >= s_.size(); }
  uint8_t Next() { return pos_ < s_.size() ? static_cast<uint8_t>(s_[pos_++]) : 0; }

 private:
  std::string_view s_;
  size_t pos_ = 0;
};

struct Radio {
  std::array<uint8_t, kImageSize> memory{};
  std::string model = std::string(kExpectedModel);
  std::string version = "V100";
  uint8_t band = 0x03;
  uint8_t features = 0;
  uint8_t status = 0;
  bool lowerHeaders = false;

  std::string Password() const { return RadioPasswordText(ConstBytes(memory).subspan(0x40, 16)); }

  // The echo of `sent` and the radio's answer.
  Frame Reply(const Frame& sent) const {
    Frame r = sent;
    if (sent == HandshakeFrame()) {
      r.insert(r.end(), kHandshakeAnswer.begin(), kHandshakeAnswer.end());
    } else if (sent == IdentRequestFrame()) {
      r.push_back(kIdentLetter);
      for (size_t i = 0; i < 7; ++i)
        r.push_back(i < model.size() ? static_cast<uint8_t>(model[i]) : 0xFF);
      r.push_back(band);
      for (size_t i = 0; i < 4; ++i)
        r.push_back(i < version.size() ? static_cast<uint8_t>(version[i]) : 0x00);
      r.push_back(features);
      r.push_back(status);
      r.push_back(kAck);
    } else if (sent.size() == kReadRequestLength && sent[0] == kReadLetter) {
      const size_t address = (sent[1] << 8) | sent[2];
      const size_t length = sent[3];
      if (address + length <= kImageSize) {
        uint8_t header = kHeaderUpper;
        if (lowerHeaders && address != kCalibrationAddress &&
            (address == kLowerHeaderSingle || address >= kLowerHeaderFrom))
          header = kHeaderLower;
        const Frame block = DataBlockFrame(header, static_cast<uint16_t>(address),
                                           ConstBytes(memory).subspan(address, length));
        r.insert(r.end(), block.begin(), block.end());
      }
    } else {  // write block, closing frame
      r.push_back(kAck);
    }
    return r;
  }
};

bool IsWriteBlock(const Frame& f) {
  return !f.empty() && (f[0] == kHeaderUpper || f[0] == kHeaderLower);
}

// The working data and what goes with them (file name, band): a read may change them only
// at its successful end. (The data start from the defaults, which hold no NaN, so == is fine.)
struct WorkingData {
  SettingsRecord settings;
  ChannelList channels;
  SavedCopy saved;
  TestDataValues testValues{};
  int16_t bandCode = 0;
  std::string bandText, radioType, fileName;
  bool untitled = false;

  static WorkingData Of(const Workspace& ws) {
    return {ws.settings,     ws.channels,      ws.saved,           ws.testValues, ws.app.BandCode,
            ws.app.BandText, ws.app.RadioType, ws.CurrentFileName, ws.Untitled};
  }
  bool operator==(const WorkingData& o) const {
    return settings == o.settings && channels == o.channels && saved.settings == o.saved.settings &&
           saved.channels == o.saved.channels && saved.testValues == o.saved.testValues &&
           testValues == o.testValues && bandCode == o.bandCode && bandText == o.bandText &&
           radioType == o.radioType && fileName == o.fileName && untitled == o.untitled;
  }
};

class Harness {
 public:
  Harness(Radio& radio, Workspace& ws) : radio_(radio), ws_(ws), machine_(ws) {}

  LinkMachine& Machine() { return machine_; }
  const std::optional<Frame>& LastSent() const { return lastSent_; }
  Buttons LastButtons() const { return lastButtons_; }

  void Start(CommMode mode) {
    if (!machine_.Running()) {
      linkMode_ = mode;
      before_ = WorkingData::Of(ws_);
      forged_ = false;
      identOk_ = passwordOk_ = false;
    }
    Run(machine_.Start(mode));
  }
  void PortOpened(bool ok) {
    const bool waiting = machine_.WaitingFor() == LinkMachine::Waiting::Port;
    if (waiting && ok) portOpen_ = true;
    Run(machine_.PortOpened(ok, ok ? "" : "no such device"));
  }
  void Deliver(const Frame& buffer, bool genuine = false) {
    if (machine_.WaitingFor() == LinkMachine::Waiting::Reply && lastSent_) {
      ReplyContext ctx;
      ctx.sentLength = lastSent_->size();
      ctx.blockAddress = machine_.BlockAddress();
      ctx.passwordStep = machine_.Step() == LinkStep::PasswordCheck;
      const ReplyKind kind = ClassifyReply(buffer, ctx);
      if (kind != ReplyKind::None && !genuine && buffer != radio_.Reply(*lastSent_)) forged_ = true;
      if (machine_.Step() == LinkStep::Identify && kind == ReplyKind::Identification) {
        const ConstBytes reply = ConstBytes(buffer).subspan(ctx.sentLength);
        identOk_ =
            CheckIdentification(ParseIdentification(reply), machine_.Mode(), ws_.app).empty();
      }
      if (ctx.passwordStep && kind == ReplyKind::PasswordBlock)
        passwordOk_ = RadioPasswordMatches(SplitBlockReply(buffer, ctx.sentLength).data,
                                           ws_.app.ProgramPassWord);
    }
    Run(machine_.Received(buffer));
  }
  void Timeout() { Run(machine_.ReplyTimeout()); }
  void Answer(kvx::Answer a) { Run(machine_.Answered(a)); }
  void Password(std::optional<std::string> p) { Run(machine_.PasswordEntered(std::move(p))); }
  void Cancel() { Run(machine_.Cancel()); }

 private:
  void Run(LinkActions actions) {
    bool finished = false, asked = false;
    for (const LinkAction& a : actions) {
      FUZZ_CHECK(!finished);  // nothing after the end
      switch (a.kind) {
        case LinkAction::Kind::ClosePort:
          portOpen_ = false;
          break;
        case LinkAction::Kind::Send:
          OnSend(a);
          break;
        case LinkAction::Kind::Ask:
          lastButtons_ = a.buttons;
          asked = true;
          break;
        case LinkAction::Kind::Finish:
          finished = true;
          OnFinish(a.result);
          break;
        default:
          break;
      }
    }
    // A running link always waits for something: otherwise it would hang for ever.
    if (machine_.Running()) FUZZ_CHECK(machine_.WaitingFor() != LinkMachine::Waiting::Nothing);
    // A question in the middle of a read: nothing is decoded yet. (At the end, OnFinish.)
    if (asked && linkMode_ != CommMode::Write && machine_.Running())
      FUZZ_CHECK(WorkingData::Of(ws_) == before_);
  }

  void OnSend(const LinkAction& a) {
    const Frame& f = a.bytes;
    FUZZ_CHECK(portOpen_);
    FUZZ_CHECK(!f.empty());
    size_t expected = 0;
    if (f == HandshakeFrame()) {
      expected = kHandshakeReplyLength;
      identOk_ = passwordOk_ = false;
    } else if (f == IdentRequestFrame()) {
      expected = kIdentReplyLength;
    } else if (f == ClosingFrame()) {
      expected = kAckReplyLength;
    } else if (f.size() == kReadRequestLength && f[0] == kReadLetter) {
      expected = kDataReplyLength;
      const uint16_t address = static_cast<uint16_t>((f[1] << 8) | f[2]);
      FUZZ_CHECK(f[3] == kBlockLength);
      const uint16_t last = linkMode_ == CommMode::Read ? kReadLastAddress : kInfoLastAddress;
      FUZZ_CHECK(address == kPasswordBlockAddress ||
                 (address >= kReadFirstAddress && address <= last && address % 16 == 0));
      if (linkMode_ == CommMode::Write) FUZZ_CHECK(address == kPasswordBlockAddress);
    } else {
      // The only other frame is a write block, and only a write sends one.
      FUZZ_CHECK(IsWriteBlock(f));
      FUZZ_CHECK(linkMode_ == CommMode::Write && machine_.Mode() == CommMode::Write);
      FUZZ_CHECK(f.size() == kWriteBlockLength);
      expected = kAckReplyLength;
      const uint16_t address = static_cast<uint16_t>((f[1] << 8) | f[2]);
      FUZZ_CHECK(address >= kWriteFirstAddress && address <= kWriteLastAddress);
      FUZZ_CHECK(address % 16 == 0 && address != kCalibrationAddress);
      FUZZ_CHECK(f == WriteBlockFrame(address, ws_.image.Range(address, kBlockLength)));
      FUZZ_CHECK(identOk_ && passwordOk_);
      std::copy(f.begin() + 4, f.begin() + 4 + kBlockLength, radio_.memory.begin() + address);
    }
    FUZZ_CHECK(a.threshold == f.size() + expected);
    lastSent_ = f;

    // The closing frame after the last block: the image is complete.
    if (f == ClosingFrame() && machine_.Step() == LinkStep::Closing && !forged_ &&
        linkMode_ != CommMode::Write) {
      const size_t end = linkMode_ == CommMode::Read ? kImageSize : kInfoLastAddress + 1;
      for (size_t at = kReadFirstAddress; at < end; ++at) {
        if (at >= kCalibrationAddress && at < kCalibrationAddress + kBlockLength) continue;
        FUZZ_CHECK(ws_.image[at] == radio_.memory[at]);
      }
      if (linkMode_ == CommMode::Read) {
        FUZZ_CHECK(machine_.CalibrationBlock().has_value());
        FUZZ_CHECK(std::equal(machine_.CalibrationBlock()->begin(),
                              machine_.CalibrationBlock()->end(),
                              radio_.memory.begin() + kCalibrationAddress));
      }
    }
  }

  void OnFinish(LinkResult result) {
    FUZZ_CHECK(!machine_.Running());
    if (linkMode_ == CommMode::Write) {
      if (result == LinkResult::Succeeded) {
        for (size_t at = kWriteFirstAddress; at < kImageSize; ++at) {
          if (at >= kCalibrationAddress && at < kCalibrationAddress + kBlockLength) continue;
          FUZZ_CHECK(radio_.memory[at] == ws_.image[at]);
        }
      }
      return;
    }
    if (result != LinkResult::Succeeded || linkMode_ == CommMode::InfoRead) {
      FUZZ_CHECK(WorkingData::Of(ws_) == before_);
      return;
    }
    const ChannelList& list = ws_.channels;
    FUZZ_CHECK(list.ChannelCount >= 0 && list.ChannelCount <= kChannelSlots);
    int previous = 0;
    for (const ChannelRecord& c : list.Used()) {
      FUZZ_CHECK(c.Number > previous && c.Number <= kChannelVfo);  // ascending, so unique
      previous = c.Number;
    }
    FUZZ_CHECK(list.ChannelExists(kChannelCall) && list.ChannelExists(kChannelVfo));
    FUZZ_CHECK(!IsModified(ws_));
    FUZZ_CHECK(ws_.Untitled && ws_.CurrentFileName == "new.dat");
    before_ = WorkingData::Of(ws_);
  }

  Radio& radio_;
  Workspace& ws_;
  LinkMachine machine_;
  CommMode linkMode_ = CommMode::Idle;
  WorkingData before_;
  std::optional<Frame> lastSent_;
  Buttons lastButtons_ = Buttons::Ok;
  bool portOpen_ = false;
  bool forged_ = false;
  bool identOk_ = false;
  bool passwordOk_ = false;
};

// The sample radio of the simulator: the template, calibration values and no password.
void SampleMemory(std::array<uint8_t, kImageSize>& memory) {
  RadioImage image;
  image.bytes.fill(0xFF);
  ClearImage(image);
  memory = image.bytes;
  const uint8_t calibration[16] = {0x80, 0x90, 0x70, 0x60, 0x40, 0x01, 0x34, 0x12,
                                   0x56, 0x04, 0x78, 0x92, 0x11, 0x22, 0x33, 0x44};
  std::copy(std::begin(calibration), std::end(calibration), memory.begin() + 0x0160);
}

void SetRadioPassword(Radio& radio, std::string_view text) {
  for (size_t i = 0; i < 4; ++i) {
    uint8_t b = 0xFF;
    if (!text.empty()) b = i < text.size() ? static_cast<uint8_t>(text[i]) : 0x00;
    radio.memory[0x004C + i] = b;
  }
}

const char* const kPasswords[4] = {"", "12", "ab", "1234"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto parts = SplitInput(data, size, 2);
  Script script(PartOr(parts, 0));

  // Set-up: mode, workspace, radio identity, passwords.
  const uint8_t modeByte = script.Next();
  const uint8_t setup = script.Next();
  const uint8_t identity = script.Next();
  const uint8_t features = script.Next();
  const uint8_t passwords = script.Next();

  static Radio radio;
  radio = Radio{};
  SampleMemory(radio.memory);
  const std::string_view memory = PartOr(parts, 1);
  std::copy_n(memory.begin(), std::min(memory.size(), kImageSize), radio.memory.begin());
  SetRadioPassword(radio, kPasswords[passwords & 3]);
  radio.lowerHeaders = setup & 0x02;
  const uint8_t bands[4] = {0x03, 0x07, 0x13, features};
  radio.band = bands[identity & 3];
  if (identity & 0x04) radio.status |= 0x01;
  if (identity & 0x08) radio.status |= 0x02;
  if (identity & 0x10) radio.model = "KP-51";
  if (identity & 0x20) radio.version = "V101";
  radio.features = features;

  // The workspaces are made once and copied: a fresh 100 KB workspace per run would spend the
  // time in the allocator.
  static const std::array<std::unique_ptr<Workspace>, 2> fresh = [] {
    std::array<std::unique_ptr<Workspace>, 2> made;
    for (int factory = 0; factory < 2; ++factory) {
      made[factory] = std::make_unique<Workspace>();
      made[factory]->app.FactoryMode = factory;
      made[factory]->app.ProgramFolder = ScratchFolder();
      ResetWorkingData(*made[factory]);
    }
    return made;
  }();
  static const auto ws = std::make_unique<Workspace>();
  *ws = *fresh[setup & 0x01];
  ws->app.ProgramPassWord = kPasswords[(passwords >> 2) & 3];

  Harness h(radio, *ws);
  const CommMode modes[4] = {CommMode::Read, CommMode::Write, CommMode::InfoRead, CommMode::Idle};
  h.Start(modes[modeByte % 3]);

  int events = 0;
  while (!script.Empty() && events++ < kScriptedEventLimit) {
    const uint8_t op = script.Next();
    switch (op % 13) {
      case 0:
      case 1:
      case 2:
        if (h.LastSent()) h.Deliver(radio.Reply(*h.LastSent()), true);
        break;
      case 3: {  // a corrupted reply
        if (!h.LastSent()) break;
        Frame r = radio.Reply(*h.LastSent());
        r[script.Next() % r.size()] ^= static_cast<uint8_t>(script.Next() | 1);
        h.Deliver(r);
        break;
      }
      case 4: {  // the first part of a split reply
        if (!h.LastSent()) break;
        Frame r = radio.Reply(*h.LastSent());
        r.resize(script.Next() % r.size());
        h.Deliver(r);
        break;
      }
      case 5: {  // anything, behind the echo or not
        const uint8_t n = script.Next();
        Frame r;
        if ((n & 0x80) && h.LastSent()) r = *h.LastSent();
        for (int i = 0; i < (n & 0x1F); ++i) r.push_back(script.Next());
        h.Deliver(r);
        break;
      }
      case 6:
        h.Timeout();
        break;
      case 7: {
        const kvx::Answer answers[5] = {kvx::Answer::Ok, kvx::Answer::Cancel, kvx::Answer::Yes,
                                        kvx::Answer::No, kvx::Answer::Retry};
        h.Answer(answers[script.Next() % 5]);
        break;
      }
      case 8: {
        const uint8_t p = script.Next();
        if (p & 1)
          h.Password(std::nullopt);
        else
          h.Password(std::string(kPasswords[(p >> 1) & 3]));
        break;
      }
      case 9:
        h.PortOpened(script.Next() & 1);
        break;
      case 10:
        h.Cancel();
        break;
      case 11:
        h.Start(modes[script.Next() % 4]);
        break;
      case 12:  // a refuse or an acknowledge behind the echo
        if (h.LastSent()) {
          Frame r = *h.LastSent();
          r.push_back((script.Next() & 1) ? kRefuse : kAck);
          h.Deliver(r);
        }
        break;
    }
  }

  // Without the set-up bit 0x04 the user gives up where the script ends (most runs: short and
  // fast); with it the link is driven to its end with the radio's own replies, the user
  // retrying a few times.
  if (!(setup & 0x04)) {
    h.Cancel();
    FUZZ_CHECK(!h.Machine().Running());
    return 0;
  }
  int retries = 0;
  bool passwordGiven = false;
  for (int driven = 0; h.Machine().Running(); ++driven) {
    FUZZ_CHECK(driven < kDrivenEventLimit);
    switch (h.Machine().WaitingFor()) {
      case LinkMachine::Waiting::Port:
        h.PortOpened(true);
        break;
      case LinkMachine::Waiting::Reply:
        if (h.LastSent())
          h.Deliver(radio.Reply(*h.LastSent()), true);
        else
          h.Timeout();
        break;
      case LinkMachine::Waiting::Answer:
        if (h.LastButtons() == Buttons::RetryCancel)
          h.Answer(retries++ < 3 ? kvx::Answer::Retry : kvx::Answer::Cancel);
        else
          h.Answer(kvx::Answer::Ok);
        break;
      case LinkMachine::Waiting::Password:
        if (passwordGiven)
          h.Password(std::nullopt);
        else
          h.Password(radio.Password());
        passwordGiven = true;
        break;
      case LinkMachine::Waiting::Nothing:
        FUZZ_CHECK(false);
    }
  }
  return 0;
}
