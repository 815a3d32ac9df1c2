#pragma once
// The read, write and radio-information transfers as a pure state machine.
//
// Events go in (Start, PortOpened, Received, ReplyTimeout, Answered, PasswordEntered, Cancel);
// each returns the actions the driver must carry out, in order. The machine never sleeps,
// polls, opens a device or blocks on a user: a question is an action (Ask / AskPassword) whose
// answer comes back as the next event. The driver (platform/SerialLink.h on a QSerialPort and
// QTimer; tests with a scripted radio and a fake clock) does:
//
//   OpenPort       open app.ComPort, 9600 8N1, raw, no flow control; then PortOpened(ok, why)
//   ClosePort      close it (a no-op when it is closed)
//   Send           empty both buffers, set the receive threshold to `threshold`, write `bytes`
//                  in one write; from then on hand the whole buffer to Received() as soon as
//                  at least `threshold` bytes are buffered, emptying it
//   ArmTimer       (re)start the single-shot reply timer of `value` ms; on expiry ReplyTimeout()
//   StopTimer      stop it
//   ShowProgress   open the progress window titled `text` (read and write only)
//   Progress       `value` percent
//   CloseProgress  close it
//   Message        show `text` with `icon` and `buttons` (OK); no answer is expected
//   Ask            show `text` with `icon` and `buttons`; pass the answer to Answered()
//   AskPassword    the programming password dialog pre-filled with `text`; pass the result
//                  to PasswordEntered() (nullopt for Cancel)
//   SavePassword   store `text` as the setup key "ProgramPassWord" (the dialog's OK)
//   FeaturesChanged the identification switched a feature flag on: show the menus and tree
//   Finish         the link is over; `result` says how
//
// The question before a read when the data are modified (key 9001 and Save) belongs to the
// caller and comes before Start; everything from opening the port on is here.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/Workspace.h"
#include "core/link/Identity.h"
#include "core/link/Protocol.h"
#include "core/util/Prompts.h"

namespace kvx {

enum class LinkStep { Idle, Handshake, Identify, PasswordCheck, Transfer, Reconnect, Closing };

enum class LinkResult {
  Running,
  Succeeded,   // the transfer completed (a missing answer to the final closing frame included)
  Failed,      // the link ran and failed; message 2006/2007/2008 was shown
  NotStarted,  // the port could not be opened (2002), the confirmation was cancelled, or the
               // encoding before a write failed; nothing was sent
};

struct LinkAction {
  enum class Kind {
    OpenPort,
    ClosePort,
    Send,
    ArmTimer,
    StopTimer,
    ShowProgress,
    Progress,
    CloseProgress,
    Message,
    Ask,
    AskPassword,
    SavePassword,
    FeaturesChanged,
    Finish,
  };
  LinkAction() = default;
  explicit LinkAction(Kind k) : kind(k) {}

  Kind kind = Kind::Message;
  Frame bytes;             // Send
  size_t threshold = 0;    // Send: echo + expected reply
  int value = 0;           // ArmTimer: ms; Progress: percent
  std::string text;        // ShowProgress, Message, Ask, AskPassword, SavePassword
  Icon icon = Icon::None;  // Message, Ask
  Buttons buttons = Buttons::Ok;
  LinkResult result = LinkResult::Running;  // Finish
};
using LinkActions = std::vector<LinkAction>;

std::string_view LinkActionName(LinkAction::Kind kind);

class LinkMachine {
 public:
  explicit LinkMachine(Workspace& ws);

  // StartRead (1), StartWrite (2), StartInfoRead (3): sets the link up and asks the driver to
  // open the port. Refused (NotStarted at once) while another link runs or for Idle.
  LinkActions Start(CommMode mode);
  // The answer to OpenPort. `reason` follows message 2002 on a failure.
  LinkActions PortOpened(bool ok, std::string_view reason = {});
  // The receive buffer reached the threshold: the whole buffer, echo included.
  LinkActions Received(ConstBytes buffer);
  // The reply timer ran out.
  LinkActions ReplyTimeout();
  // The answer to the last Ask.
  LinkActions Answered(Answer answer);
  // The answer to AskPassword: the text entered, or nullopt for Cancel.
  LinkActions PasswordEntered(std::optional<std::string> password);
  // The user gave up (the progress window's cancel, the CLI interrupted): ends as failed.
  LinkActions Cancel();

  CommMode Mode() const { return mode_; }
  LinkStep Step() const { return step_; }
  bool Running() const { return mode_ != CommMode::Idle; }
  LinkResult Result() const { return result_; }
  // What the machine waits for now.
  enum class Waiting { Nothing, Port, Reply, Answer, Password };
  Waiting WaitingFor() const { return waiting_; }

  // The radio of the current (or last) link: model, band, version, features, status.
  const RadioIdentity& Identity() const { return identity_; }
  bool HaveIdentity() const { return haveIdentity_; }
  uint16_t BlockAddress() const { return blockAddress_; }
  size_t SentLength() const { return sentLength_; }
  int LastPercent() const { return lastPercent_; }
  // The calibration block of the last read (applied to the test values when it succeeded).
  const std::optional<std::array<uint8_t, 16>>& CalibrationBlock() const { return calibration_; }

  // The image as the last successful read left it, before decoding (a decoder may store a
  // correction in the image): what the radio holds, with the template in the calibration block.
  const RadioImage& ReadImage() const { return readImage_; }

  // The block index of an address for the try counters; -1 outside the transfer's range.
  int BlockIndex(uint16_t address) const;
  // Progress in percent for a block address, rounded to the nearest (halves to even).
  int PercentAt(uint16_t address) const;

 private:
  enum class Question { None, Confirm, RecoveryReopen, Recovery, ReconnectRecovery };

  void OpenLink(CommMode mode);
  void ResetRetries();
  void Send(Frame frame, size_t expectedReply);
  void SendHandshake();
  void SendIdentRequest();
  void SendPasswordRead();
  void SendReadRequest();
  void SendWriteBlock();
  void SendClosing();
  void Reconnect();
  void BeginTransfer();
  bool NextReadBlock();
  bool NextWriteBlock();
  void ReportProgress();
  void Advance();
  void OnTimeoutOfStep();
  void Recover(bool closePort);
  void FinishLink(bool succeeded);
  void NotStarted();
  void Ask(std::string text, Icon icon, Buttons buttons, Question q);
  void Show(std::string text, Icon icon);
  void Emit(LinkAction::Kind kind);
  std::string LangText(int id) const;
  std::string FailureText() const;

  Workspace& ws_;
  LinkActions out_;

  CommMode mode_ = CommMode::Idle;
  LinkStep step_ = LinkStep::Idle;
  LinkResult result_ = LinkResult::NotStarted;
  Waiting waiting_ = Waiting::Nothing;
  Question question_ = Question::None;

  size_t sentLength_ = 0;
  uint16_t blockAddress_ = 0;
  uint16_t firstAddress_ = 0;
  uint16_t lastAddress_ = 0;
  int handshakeTries_ = kLinkTries;
  int identifyTries_ = kLinkTries;
  int passwordTries_ = kLinkTries;
  std::vector<int> blockTries_;
  int refusalsInRow_ = 0;
  int lastPercent_ = 0;
  bool progressShown_ = false;
  bool portOpen_ = false;
  bool timerArmed_ = false;

  RadioIdentity identity_;
  bool haveIdentity_ = false;
  std::array<uint8_t, 16> passwordBlock_{};
  std::optional<std::array<uint8_t, 16>> calibration_;
  RadioImage readImage_;
};

// Copies an accepted data block into the image at `address` (nothing outside the image).
void StoreDataBlock(RadioImage& image, uint16_t address, ConstBytes data);

}  // namespace kvx
