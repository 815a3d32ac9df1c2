#include "core/link/LinkMachine.h"

#include <algorithm>

#include "core/app/BandTable.h"
#include "core/factory/TestData.h"
#include "core/image/RadioImage.h"
#include "core/image/RadioInfo.h"
#include "core/link/Password.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

// The encoders and decoders report through Prompts; the machine never blocks on a user, so
// their messages are collected here and handed to the driver as Message actions.
class CollectingPrompts : public NoDialogPrompts {
 public:
  struct Shown {
    std::string text;
    Icon icon;
  };
  std::vector<Shown> shown;
  Answer Message(std::string_view text, Icon icon, Buttons, std::string_view) override {
    shown.push_back({std::string(text), icon});
    return Answer::Ok;
  }
};

}  // namespace

std::string_view LinkActionName(LinkAction::Kind kind) {
  using K = LinkAction::Kind;
  switch (kind) {
    case K::OpenPort:
      return "OpenPort";
    case K::ClosePort:
      return "ClosePort";
    case K::Send:
      return "Send";
    case K::ArmTimer:
      return "ArmTimer";
    case K::StopTimer:
      return "StopTimer";
    case K::ShowProgress:
      return "ShowProgress";
    case K::Progress:
      return "Progress";
    case K::CloseProgress:
      return "CloseProgress";
    case K::Message:
      return "Message";
    case K::Ask:
      return "Ask";
    case K::AskPassword:
      return "AskPassword";
    case K::SavePassword:
      return "SavePassword";
    case K::FeaturesChanged:
      return "FeaturesChanged";
    case K::Finish:
      return "Finish";
  }
  return "?";
}

void StoreDataBlock(RadioImage& image, uint16_t address, ConstBytes data) {
  for (size_t i = 0; i < data.size() && address + i < kImageSize; ++i) image[address + i] = data[i];
}

LinkMachine::LinkMachine(Workspace& ws) : ws_(ws) {}

// ---- events ---------------------------------------------------------------------------------

LinkActions LinkMachine::Start(CommMode mode) {
  out_.clear();
  if (Running()) return {};
  if (mode != CommMode::Read && mode != CommMode::Write && mode != CommMode::InfoRead) {
    NotStarted();
    return std::move(out_);
  }
  OpenLink(mode);
  return std::move(out_);
}

LinkActions LinkMachine::PortOpened(bool ok, std::string_view reason) {
  out_.clear();
  if (waiting_ != Waiting::Port) return {};
  waiting_ = Waiting::Nothing;
  const bool reopening = step_ != LinkStep::Idle;
  if (!ok) {
    std::string text = LangText(2002);
    if (!reason.empty()) text += "\n" + std::string(reason);
    Show(std::move(text), Icon::Critical);
    if (reopening)
      FinishLink(false);
    else
      NotStarted();
    return std::move(out_);
  }
  portOpen_ = true;
  if (reopening) {
    ResetRetries();
    Reconnect();
  } else if (mode_ == CommMode::Read) {
    Ask(std::string(ws_.lang.BuiltIn().ReadConfirm), Icon::Question, Buttons::OkCancel,
        Question::Confirm);
  } else if (mode_ == CommMode::Write) {
    Ask(std::string(ws_.lang.BuiltIn().WriteConfirm), Icon::Question, Buttons::OkCancel,
        Question::Confirm);
  } else {
    ClearImage(ws_.image);
    SendHandshake();
  }
  return std::move(out_);
}

LinkActions LinkMachine::Answered(Answer answer) {
  out_.clear();
  if (waiting_ != Waiting::Answer) return {};
  waiting_ = Waiting::Nothing;
  const Question q = question_;
  question_ = Question::None;
  const bool retry = answer == Answer::Retry;
  switch (q) {
    case Question::Confirm: {
      if (answer != Answer::Ok && answer != Answer::Yes) {
        Emit(LinkAction::Kind::ClosePort);
        portOpen_ = false;
        NotStarted();
        break;
      }
      ClearImage(ws_.image);
      if (mode_ == CommMode::Write) {
        CollectingPrompts collected;
        const bool packOk = PackAll(ws_, &collected);
        for (auto& m : collected.shown) Show(std::move(m.text), m.icon);
        if (!packOk) {
          Emit(LinkAction::Kind::ClosePort);
          portOpen_ = false;
          NotStarted();
          break;
        }
      }
      LinkAction show{LinkAction::Kind::ShowProgress};
      show.text = TransferTitle(ws_.lang.LanguageIndex(), static_cast<int>(mode_));
      out_.push_back(std::move(show));
      progressShown_ = true;
      LinkAction zero{LinkAction::Kind::Progress};
      zero.value = 0;
      out_.push_back(zero);
      SendHandshake();
      break;
    }
    case Question::RecoveryReopen:
      if (!retry) {
        FinishLink(false);
        break;
      }
      Emit(LinkAction::Kind::OpenPort);
      waiting_ = Waiting::Port;
      break;
    case Question::Recovery:
      if (!retry) {
        FinishLink(false);
        break;
      }
      ResetRetries();
      Reconnect();
      break;
    case Question::ReconnectRecovery:
      if (!retry) {
        FinishLink(false);
        break;
      }
      SendClosing();
      break;
    case Question::None:
      break;
  }
  return std::move(out_);
}

LinkActions LinkMachine::PasswordEntered(std::optional<std::string> password) {
  out_.clear();
  if (waiting_ != Waiting::Password) return {};
  waiting_ = Waiting::Nothing;
  if (password) {
    ws_.app.ProgramPassWord = CleanText(*password);
    LinkAction save{LinkAction::Kind::SavePassword};
    save.text = ws_.app.ProgramPassWord;
    out_.push_back(std::move(save));
  }
  if (RadioPasswordMatches(passwordBlock_, ws_.app.ProgramPassWord)) {
    ResetRetries();
    Reconnect();
  } else {
    FinishLink(false);
  }
  return std::move(out_);
}

LinkActions LinkMachine::Cancel() {
  out_.clear();
  if (!Running()) return {};
  if (step_ == LinkStep::Idle) {
    // Nothing was sent yet (the port or the confirmation was pending).
    Emit(LinkAction::Kind::ClosePort);
    portOpen_ = false;
    NotStarted();
  } else {
    FinishLink(false);
  }
  return std::move(out_);
}

LinkActions LinkMachine::ReplyTimeout() {
  out_.clear();
  if (waiting_ != Waiting::Reply || !timerArmed_) return {};
  timerArmed_ = false;
  OnTimeoutOfStep();
  return std::move(out_);
}

LinkActions LinkMachine::Received(ConstBytes buffer) {
  out_.clear();
  if (waiting_ != Waiting::Reply) return {};
  ReplyContext ctx;
  ctx.sentLength = sentLength_;
  ctx.blockAddress = blockAddress_;
  ctx.blockLength = kBlockLength;
  ctx.passwordStep = step_ == LinkStep::PasswordCheck;
  const ReplyKind kind = ClassifyReply(buffer, ctx);
  const ConstBytes reply = buffer.subspan(std::min(sentLength_, buffer.size()));

  // Each step takes only the reply it waits for; anything else is dropped and the time-out
  // resends. (A refuse outside a write block, or an acknowledge during a read, must never move
  // the link on.)
  auto accept = [&] {
    Emit(LinkAction::Kind::StopTimer);
    timerArmed_ = false;
  };
  switch (step_) {
    case LinkStep::Handshake:
      if (kind == ReplyKind::HandshakeAnswer) {
        accept();
        Advance();
      }
      break;
    case LinkStep::Identify: {
      if (kind != ReplyKind::Identification) break;
      accept();
      identity_ = ParseIdentification(reply);
      haveIdentity_ = true;
      if (ApplyFeatureBits(ws_.app.Features, identity_.features))
        Emit(LinkAction::Kind::FeaturesChanged);
      const auto failures = CheckIdentification(identity_, mode_, ws_.app);
      const BuiltInTexts& t = ws_.lang.BuiltIn();
      for (IdentFailure f : failures) {
        switch (f) {
          case IdentFailure::ModelWrong:
            Show(std::string(t.ModelWrong), Icon::Critical);
            break;
          case IdentFailure::VersionWrong:
            Show(std::string(t.VersionWrong), Icon::Critical);
            break;
          case IdentFailure::BandWrong:
            Show(std::string(t.BandWrong), Icon::Warning);
            break;
          case IdentFailure::RadioKilled:
            Show(std::string(t.RadioKilled), Icon::Critical);
            break;
          case IdentFailure::RadioStunned:
            Show(std::string(t.RadioStunned), Icon::Critical);
            break;
        }
      }
      if (!failures.empty())
        FinishLink(false);
      else
        Advance();
      break;
    }
    case LinkStep::PasswordCheck: {
      if (kind != ReplyKind::PasswordBlock) break;
      accept();
      const BlockReply block = SplitBlockReply(buffer, sentLength_);
      std::copy_n(block.data.begin(), passwordBlock_.size(), passwordBlock_.begin());
      if (RadioPasswordMatches(passwordBlock_, ws_.app.ProgramPassWord)) {
        Advance();
      } else {
        LinkAction ask{LinkAction::Kind::AskPassword};
        ask.text = ws_.app.ProgramPassWord;
        out_.push_back(std::move(ask));
        waiting_ = Waiting::Password;
      }
      break;
    }
    case LinkStep::Transfer:
      if (mode_ == CommMode::Write) {
        if (kind == ReplyKind::Acknowledge) {
          accept();
          Advance();
        } else if (kind == ReplyKind::Refuse) {
          // Sent again at once without using a try, but a radio that refuses the same block
          // over and over is treated as not answering.
          accept();
          if (++refusalsInRow_ >= kMaxRefusalsInRow)
            OnTimeoutOfStep();
          else
            SendWriteBlock();
        }
      } else if (kind == ReplyKind::DataBlock) {
        accept();
        StoreDataBlock(ws_.image, blockAddress_, SplitBlockReply(buffer, sentLength_).data);
        Advance();
      } else if (kind == ReplyKind::TestDataBlock && mode_ == CommMode::Read) {
        const BlockReply block = SplitBlockReply(buffer, sentLength_);
        if (block.address != blockAddress_) break;  // not the block we asked for
        accept();
        std::array<uint8_t, 16> data{};
        std::copy_n(block.data.begin(), data.size(), data.begin());
        calibration_ = data;
        Advance();
      }
      break;
    case LinkStep::Reconnect:
    case LinkStep::Closing:
      if (kind == ReplyKind::Acknowledge) {
        accept();
        Advance();
      }
      break;
    case LinkStep::Idle:
      break;
  }
  return std::move(out_);
}

// ---- steps ----------------------------------------------------------------------------------

void LinkMachine::OpenLink(CommMode mode) {
  mode_ = mode;
  step_ = LinkStep::Idle;
  result_ = LinkResult::Running;
  question_ = Question::None;
  switch (mode) {
    case CommMode::Read:
      blockAddress_ = 0x0000;
      firstAddress_ = kReadFirstAddress;
      lastAddress_ = kReadLastAddress;
      break;
    case CommMode::Write:
      blockAddress_ = kWriteFirstAddress - kBlockLength;
      firstAddress_ = kWriteFirstAddress;
      lastAddress_ = kWriteLastAddress;
      break;
    default:
      blockAddress_ = 0x0000;
      firstAddress_ = kInfoFirstAddress;
      lastAddress_ = kInfoLastAddress;
      break;
  }
  blockTries_.assign((lastAddress_ - firstAddress_) / kBlockLength + 1, kLinkTries);
  haveIdentity_ = false;
  identity_ = {};
  calibration_.reset();
  passwordBlock_.fill(0);
  progressShown_ = false;
  lastPercent_ = 0;
  sentLength_ = 0;
  Emit(LinkAction::Kind::StopTimer);
  timerArmed_ = false;
  if (portOpen_) {
    Emit(LinkAction::Kind::ClosePort);
    portOpen_ = false;
  }
  ResetRetries();
  Emit(LinkAction::Kind::OpenPort);
  waiting_ = Waiting::Port;
}

void LinkMachine::ResetRetries() {
  handshakeTries_ = identifyTries_ = passwordTries_ = kLinkTries;
  std::fill(blockTries_.begin(), blockTries_.end(), kLinkTries);
  refusalsInRow_ = 0;
}

void LinkMachine::Send(Frame frame, size_t expectedReply) {
  sentLength_ = frame.size();
  LinkAction send{LinkAction::Kind::Send};
  send.threshold = frame.size() + expectedReply;
  send.bytes = std::move(frame);
  out_.push_back(std::move(send));
  LinkAction arm{LinkAction::Kind::ArmTimer};
  arm.value = kReplyTimeoutMs;
  out_.push_back(arm);
  timerArmed_ = true;
  waiting_ = Waiting::Reply;
}

void LinkMachine::SendHandshake() {
  step_ = LinkStep::Handshake;
  lastPercent_ = 0;
  Send(HandshakeFrame(), kHandshakeReplyLength);
}

void LinkMachine::SendIdentRequest() {
  Send(IdentRequestFrame(), kIdentReplyLength);
}

void LinkMachine::SendPasswordRead() {
  Send(ReadRequestFrame(kPasswordBlockAddress), kDataReplyLength);
}

void LinkMachine::SendReadRequest() {
  Send(ReadRequestFrame(blockAddress_), kDataReplyLength);
}

void LinkMachine::SendWriteBlock() {
  // A repeated block carries the same header letter as its first transmission.
  Send(WriteBlockFrame(blockAddress_, ws_.image.Range(blockAddress_, kBlockLength)),
       kAckReplyLength);
}

void LinkMachine::SendClosing() {
  Send(ClosingFrame(), kAckReplyLength);
}

void LinkMachine::Reconnect() {
  step_ = LinkStep::Reconnect;
  SendClosing();
}

void LinkMachine::BeginTransfer() {
  step_ = LinkStep::Transfer;
  if (blockAddress_ >= firstAddress_) {
    // Back after a reconnection: the block that failed is sent again, so that no block is
    // skipped (a skipped write block would leave stale data in the radio, a skipped read block
    // template bytes in the data).
    ReportProgress();
    if (mode_ == CommMode::Write)
      SendWriteBlock();
    else
      SendReadRequest();
    return;
  }
  const bool more = mode_ == CommMode::Write ? NextWriteBlock() : NextReadBlock();
  if (!more) {
    step_ = LinkStep::Closing;
    SendClosing();
  }
}

bool LinkMachine::NextReadBlock() {
  blockAddress_ = static_cast<uint16_t>(blockAddress_ + kBlockLength);
  refusalsInRow_ = 0;
  if (blockAddress_ > lastAddress_) return false;
  if (mode_ == CommMode::Read) ReportProgress();
  SendReadRequest();
  return true;
}

bool LinkMachine::NextWriteBlock() {
  blockAddress_ = static_cast<uint16_t>(blockAddress_ + kBlockLength);
  refusalsInRow_ = 0;
  if (blockAddress_ == kCalibrationAddress) blockAddress_ += kBlockLength;
  ReportProgress();
  if (blockAddress_ > kWriteLastAddress) return false;
  SendWriteBlock();
  return true;
}

int LinkMachine::BlockIndex(uint16_t address) const {
  if (address < firstAddress_ || address > lastAddress_) return -1;
  const int index = (address - firstAddress_) / kBlockLength;
  return index < static_cast<int>(blockTries_.size()) ? index : -1;
}

int LinkMachine::PercentAt(uint16_t address) const {
  if (address <= firstAddress_) return 0;
  const long num = static_cast<long>(address - firstAddress_) * 100;
  const long den = static_cast<long>(lastAddress_ - firstAddress_) + kBlockLength;
  long q = num / den;
  const long twice = 2 * (num % den);
  if (twice > den || (twice == den && q % 2 == 1)) ++q;
  return static_cast<int>(q);
}

void LinkMachine::ReportProgress() {
  if (mode_ == CommMode::InfoRead) return;
  const int percent = PercentAt(blockAddress_);
  if (percent <= lastPercent_) return;
  lastPercent_ = percent;
  if (!progressShown_) return;
  LinkAction p{LinkAction::Kind::Progress};
  p.value = percent;
  out_.push_back(p);
}

void LinkMachine::Advance() {
  switch (step_) {
    case LinkStep::Handshake:
      step_ = LinkStep::Identify;
      if (progressShown_) {
        LinkAction p{LinkAction::Kind::Progress};
        p.value = 0;
        out_.push_back(p);
      }
      SendIdentRequest();
      break;
    case LinkStep::Identify:
      step_ = LinkStep::PasswordCheck;
      SendPasswordRead();
      break;
    case LinkStep::PasswordCheck:
      BeginTransfer();
      break;
    case LinkStep::Transfer: {
      const bool more = mode_ == CommMode::Write ? NextWriteBlock() : NextReadBlock();
      if (!more) {
        step_ = LinkStep::Closing;
        SendClosing();
      }
      break;
    }
    case LinkStep::Closing:
      FinishLink(true);
      break;
    case LinkStep::Reconnect:
      SendHandshake();
      break;
    case LinkStep::Idle:
      break;
  }
}

void LinkMachine::OnTimeoutOfStep() {
  auto retry = [&](int& tries, void (LinkMachine::*resend)()) {
    if (tries >= 2) {
      --tries;
      (this->*resend)();
      return true;
    }
    --tries;
    return false;
  };
  switch (step_) {
    case LinkStep::Handshake:
      if (retry(handshakeTries_, &LinkMachine::SendHandshake)) return;
      if (mode_ == CommMode::InfoRead)
        FinishLink(false);
      else
        Recover(true);
      return;
    case LinkStep::Identify:
      if (retry(identifyTries_, &LinkMachine::SendIdentRequest)) return;
      if (mode_ == CommMode::InfoRead)
        FinishLink(false);
      else
        Recover(true);
      return;
    case LinkStep::PasswordCheck:
      if (retry(passwordTries_, &LinkMachine::SendPasswordRead)) return;
      if (mode_ == CommMode::InfoRead)
        FinishLink(false);
      else
        Recover(false);
      return;
    case LinkStep::Transfer: {
      const int index = BlockIndex(blockAddress_);
      if (index < 0) {
        FinishLink(false);
        return;
      }
      refusalsInRow_ = 0;
      if (retry(blockTries_[index], mode_ == CommMode::Write ? &LinkMachine::SendWriteBlock
                                                             : &LinkMachine::SendReadRequest))
        return;
      if (mode_ == CommMode::InfoRead)
        FinishLink(false);
      else
        Recover(false);
      return;
    }
    case LinkStep::Reconnect:
      Ask(LangText(2003), Icon::Warning, Buttons::RetryCancel, Question::ReconnectRecovery);
      return;
    case LinkStep::Closing:
      // A radio that does not acknowledge the final closing frame has all the data already.
      FinishLink(true);
      return;
    case LinkStep::Idle:
      return;
  }
}

void LinkMachine::Recover(bool closePort) {
  Emit(LinkAction::Kind::StopTimer);
  timerArmed_ = false;
  if (closePort) {
    Emit(LinkAction::Kind::ClosePort);
    portOpen_ = false;
  }
  Ask(LangText(2003), Icon::Warning, Buttons::RetryCancel,
      closePort ? Question::RecoveryReopen : Question::Recovery);
}

void LinkMachine::FinishLink(bool succeeded) {
  if (progressShown_) {
    Emit(LinkAction::Kind::CloseProgress);
    progressShown_ = false;
  }
  Emit(LinkAction::Kind::StopTimer);
  timerArmed_ = false;
  Emit(LinkAction::Kind::ClosePort);
  portOpen_ = false;
  if (!succeeded) {
    Show(FailureText(), Icon::Critical);
  } else if (mode_ == CommMode::Read) {
    // The working data change only here, at the successful end of a read.
    readImage_ = ws_.image;
    if (calibration_) TakeCalibrationBlock(ws_.testValues, *calibration_);
    ws_.app.RadioType = identity_.model;
    ws_.app.BandCode = identity_.bandCode;
    ws_.app.BandText = BandTextOfCode(identity_.bandCode);
    ParseBandLimits(ws_.app);
    CollectingPrompts collected;
    UnpackAll(ws_, &collected);
    ws_.Untitled = true;
    ws_.CurrentFileName = "new.dat";
    CopyWorkingToSaved(ws_);
    for (auto& m : collected.shown) Show(std::move(m.text), m.icon);
    Show(LangText(2004), Icon::Information);
  } else if (mode_ == CommMode::Write) {
    Show(LangText(2005), Icon::Information);
  } else if (mode_ == CommMode::InfoRead) {
    DecodeRadioInfo(ws_.image, ws_.radioInfo);
  }
  result_ = succeeded ? LinkResult::Succeeded : LinkResult::Failed;
  step_ = LinkStep::Idle;
  mode_ = CommMode::Idle;
  waiting_ = Waiting::Nothing;
  question_ = Question::None;
  LinkAction fin{LinkAction::Kind::Finish};
  fin.result = result_;
  out_.push_back(fin);
}

void LinkMachine::NotStarted() {
  result_ = LinkResult::NotStarted;
  step_ = LinkStep::Idle;
  mode_ = CommMode::Idle;
  waiting_ = Waiting::Nothing;
  question_ = Question::None;
  progressShown_ = false;
  LinkAction fin{LinkAction::Kind::Finish};
  fin.result = result_;
  out_.push_back(fin);
}

// ---- helpers --------------------------------------------------------------------------------

void LinkMachine::Ask(std::string text, Icon icon, Buttons buttons, Question q) {
  LinkAction a{LinkAction::Kind::Ask};
  a.text = std::move(text);
  a.icon = icon;
  a.buttons = buttons;
  out_.push_back(std::move(a));
  question_ = q;
  waiting_ = Waiting::Answer;
}

void LinkMachine::Show(std::string text, Icon icon) {
  LinkAction a{LinkAction::Kind::Message};
  a.text = std::move(text);
  a.icon = icon;
  a.buttons = Buttons::Ok;
  out_.push_back(std::move(a));
}

void LinkMachine::Emit(LinkAction::Kind kind) {
  out_.push_back(LinkAction{kind});
}

std::string LinkMachine::LangText(int id) const {
  std::string text;
  // Literal lookups, so that the language-coverage check finds every ID used here.
  switch (id) {
    case 2002:
      text = ws_.lang.GetLangText(2002);
      break;
    case 2003:
      text = ws_.lang.GetLangText(2003);
      break;
    case 2004:
      text = ws_.lang.GetLangText(2004);
      break;
    case 2005:
      text = ws_.lang.GetLangText(2005);
      break;
    case 2006:
      text = ws_.lang.GetLangText(2006);
      break;
    case 2007:
      text = ws_.lang.GetLangText(2007);
      break;
    case 2008:
      text = ws_.lang.GetLangText(2008);
      break;
    default:
      break;
  }
  // Without language files the message still says which one it is.
  if (text.empty()) text = "Message " + std::to_string(id);
  return text;
}

std::string LinkMachine::FailureText() const {
  switch (mode_) {
    case CommMode::Read:
      return LangText(2006);
    case CommMode::Write:
      return LangText(2007);
    default:
      return LangText(2008);
  }
}

}  // namespace kvx
