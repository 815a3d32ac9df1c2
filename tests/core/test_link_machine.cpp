// The transfer state machine against a scripted radio on a fake clock: the order of frames,
// retries and recovery, the password question, the identification refusals and what a link
// leaves in the workspace.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/files/Workspace.h"
#include "core/link/LinkMachine.h"
#include "support/ScriptedPrompts.h"
#include "test_link_radio.h"

using namespace kvx;
using kvx::test::FakeLink;
using kvx::test::Piece;
using kvx::test::ScriptedPrompts;
using kvx::test::TestRadio;

namespace {

std::string Msg(const Workspace& ws, int id) {
  std::string t = ws.lang.GetLangText(id);
  return t.empty() ? "Message " + std::to_string(id) : t;
}

class LinkMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.app.ProgramFolder = KVX50_PROGRAM_FOLDER;
    ws.lang.SetProgramFolder(KVX50_PROGRAM_FOLDER);
    ResetWorkingData(ws);
  }

  // Runs one link to its end; fails the test on a hang.
  LinkResult Run(CommMode mode) {
    link.Start(mode);
    EXPECT_TRUE(link.RunToEnd()) << "the link did not end";
    EXPECT_FALSE(machine.Running());
    return link.finished.value_or(LinkResult::Running);
  }

  std::vector<std::string> SentNames() const {
    std::vector<std::string> out;
    for (const auto& f : link.sent) out.push_back(FakeLink::Describe(f));
    return out;
  }
  size_t CountSent(std::string_view name) const {
    const auto names = SentNames();
    return static_cast<size_t>(std::count(names.begin(), names.end(), name));
  }
  size_t CountShown(Buttons buttons) const {
    return static_cast<size_t>(std::count_if(prompts.shown.begin(), prompts.shown.end(),
                                             [&](const auto& s) { return s.buttons == buttons; }));
  }
  bool SentAnyWriteBlock() const {
    return std::any_of(link.sent.begin(), link.sent.end(),
                       [](const Frame& f) { return f.size() == 22; });
  }

  Workspace ws;
  ScriptedPrompts prompts;
  TestRadio radio;
  LinkMachine machine{ws};
  FakeLink link{machine, prompts, radio};
};

TEST_F(LinkMachineTest, FullReadFillsImageAndAdoptsTheRadio) {
  radio.band = 0x11;
  const uint8_t calibration[16] = {0x80, 1,    2,    3,    4, 5,  0x34, 0x12,
                                   0x34, 0x92, 0xFF, 0x7F, 9, 10, 11,   12};
  std::copy(std::begin(calibration), std::end(calibration), radio.memory.begin() + 0x0160);
  ws.testValues.fill(-5);
  ws.CurrentFileName = "old.dat";
  ws.Untitled = false;

  ASSERT_EQ(Run(CommMode::Read), LinkResult::Succeeded);

  const auto names = SentNames();
  ASSERT_GE(names.size(), 5u);
  EXPECT_EQ(names[0], "PROGRAM");
  EXPECT_EQ(names[1], "IDENT");
  EXPECT_EQ(names[2], "R 0040");
  EXPECT_EQ(names[3], "R 0010");
  EXPECT_EQ(names[names.size() - 2], "R 3FF0");
  EXPECT_EQ(names.back(), "END");
  EXPECT_EQ(names.size(), 3u + 1023u + 1u);

  // The image holds the radio's memory (bytes 0x0000-0x000F aside), the calibration block
  // the template's 0xFF, and the corrections the decoders store.
  Workspace expected;
  std::copy(radio.memory.begin(), radio.memory.end(), expected.image.bytes.begin());
  std::copy_n(ws.image.bytes.begin(), 16, expected.image.bytes.begin());
  expected.image.Fill(0x0160, 0x016F, 0xFF);
  expected.app = ws.app;
  UnpackAll(expected, nullptr);
  for (size_t a = 0; a < 0x4000; ++a) ASSERT_EQ(ws.image[a], expected.image[a]) << "address " << a;
  // Calibration: 16-21 bytes 0-5, 22-24 words with the high-byte rule, 25-28 bytes, 29-31 zero,
  // 0-15 untouched.
  EXPECT_EQ(ws.testValues[0], -5);
  EXPECT_EQ(ws.testValues[15], -5);
  EXPECT_EQ(ws.testValues[16], 0x80);
  EXPECT_EQ(ws.testValues[22], 0x1234);
  EXPECT_EQ(ws.testValues[23], 0x34);
  EXPECT_EQ(ws.testValues[28], 12);
  EXPECT_EQ(ws.testValues[29], 0);

  EXPECT_EQ(ws.app.RadioType, "KP-510");
  EXPECT_EQ(ws.app.BandCode, 0x11);
  EXPECT_EQ(ws.app.BandText, "Rx(243 - 247.9950 MHz) Tx(243 - 247.9950 MHz)");
  EXPECT_DOUBLE_EQ(ws.app.RxLow, 243);
  EXPECT_TRUE(ws.Untitled);
  EXPECT_EQ(ws.CurrentFileName, "new.dat");
  EXPECT_FALSE(IsModified(ws));
  EXPECT_TRUE(prompts.Saw(Msg(ws, 2004)));
  EXPECT_FALSE(link.portOpen);

  // Progress: from 0, rising, to 100, the window closed before the completion message.
  ASSERT_FALSE(link.progress.empty());
  EXPECT_EQ(link.progress.front(), 0);
  EXPECT_EQ(link.progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(link.progress.begin(), link.progress.end()));
  EXPECT_NE(std::find(link.log.begin(), link.log.end(), "CloseProgress"), link.log.end());
}

TEST_F(LinkMachineTest, FullWriteSkipsTheProtectedBlocks) {
  radio.memory.fill(0xEE);
  radio.SetPassword("");
  ASSERT_EQ(Run(CommMode::Write), LinkResult::Succeeded) << [&] {
    std::string all;
    for (auto& m : prompts.shown) all += m.text + " | ";
    for (auto& m : link.log) all += m + "; ";
    return all;
  }();

  std::vector<uint16_t> written;
  for (const Frame& f : link.sent) {
    if (f.size() != 22) continue;
    const uint16_t a = static_cast<uint16_t>((f[1] << 8) | f[2]);
    written.push_back(a);
    const char expected = (a == 0x03F0 || a >= 0x3900) ? 'w' : 'W';
    EXPECT_EQ(f[0], expected) << std::hex << a;
  }
  ASSERT_EQ(written.size(), 1007u);
  EXPECT_EQ(written.front(), 0x0100);
  EXPECT_EQ(written.back(), 0x3FF0);
  EXPECT_EQ(std::count(written.begin(), written.end(), 0x0160), 0);
  EXPECT_NE(std::find(written.begin(), written.end(), 0x0170), written.end());
  EXPECT_TRUE(std::all_of(written.begin(), written.end(), [](uint16_t a) { return a >= 0x100; }));

  for (size_t a = 0; a < 0x4000; ++a) {
    const bool protectedByte = a < 0x0100 || (a >= 0x0160 && a < 0x0170);
    if (a >= 0x4C && a < 0x50) continue;  // the password field
    ASSERT_EQ(radio.memory[a], protectedByte ? 0xEE : ws.image[a]) << "address " << a;
  }
  EXPECT_TRUE(prompts.Saw(Msg(ws, 2005)));
  EXPECT_EQ(link.progress.back(), 100);
}

TEST_F(LinkMachineTest, ProgressRoundsHalvesToEven) {
  link.Start(CommMode::Write);  // the link variables of a write; the port opens
  EXPECT_EQ(machine.PercentAt(0x0100), 0);
  EXPECT_EQ(machine.PercentAt(0x08E0), 12);  // 12.5
  EXPECT_EQ(machine.PercentAt(0x18A0), 38);  // 37.5
  EXPECT_EQ(machine.PercentAt(0x01A0), 1);   // 0.99
  EXPECT_EQ(machine.PercentAt(0x4000), 100);
}

TEST_F(LinkMachineTest, HandshakeAnsweredAtTheThirdTransmission) {
  int handshakes = 0;
  radio.fault = [&](const Frame& f, const Frame&) -> std::optional<std::vector<Piece>> {
    if (f.size() == 7 && ++handshakes < 3) return std::vector<Piece>{};
    return std::nullopt;
  };
  ASSERT_EQ(Run(CommMode::Read), LinkResult::Succeeded);
  EXPECT_EQ(CountSent("PROGRAM"), 3u);
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 0u);
}

TEST_F(LinkMachineTest, RetryAfterBadChecksumsReconnectsAndResumesTheFailedBlock) {
  int bad = 0;
  radio.fault = [&](const Frame& f, const Frame& answer) -> std::optional<std::vector<Piece>> {
    if (f.size() == 4 && f[1] == 0x12 && f[2] == 0x30 && bad < 3) {
      ++bad;
      Frame corrupt = answer;
      corrupt[20] ^= 0xFF;
      return std::vector<Piece>{{2, corrupt}};
    }
    return std::nullopt;
  };
  prompts.answers = {Answer::Ok, Answer::Retry};
  ASSERT_EQ(Run(CommMode::Read), LinkResult::Succeeded);
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 1u);

  const auto names = SentNames();
  const auto firstBad = std::find(names.begin(), names.end(), "R 1230");
  ASSERT_NE(firstBad, names.end());
  const std::vector<std::string> expected = {"R 1230", "R 1230", "R 1230", "END",   "PROGRAM",
                                             "IDENT",  "R 0040", "R 1230", "R 1240"};
  EXPECT_EQ(std::vector<std::string>(firstBad, firstBad + 9), expected);
  EXPECT_EQ(ws.image[0x1230], radio.memory[0x1230]);
  EXPECT_EQ(ws.image[0x123F], radio.memory[0x123F]);
}

TEST_F(LinkMachineTest, WriteRetryResendsTheFailedBlock) {
  int dropped = 0;
  radio.fault = [&](const Frame& f, const Frame&) -> std::optional<std::vector<Piece>> {
    if (f.size() == 22 && f[1] == 0x20 && f[2] == 0x00 && dropped < 3) {
      ++dropped;
      return std::vector<Piece>{};
    }
    return std::nullopt;
  };
  prompts.answers = {Answer::Ok, Answer::Retry};
  ASSERT_EQ(Run(CommMode::Write), LinkResult::Succeeded);
  // Three sends before the question, one after the reconnection; the next block follows.
  EXPECT_EQ(CountSent("W 2000"), 4u);
  EXPECT_EQ(CountSent("W 2010"), 1u);
}

TEST_F(LinkMachineTest, CancelInTheRecoveryQuestionFailsWithItsMessage) {
  radio.fault = [&](const Frame& f, const Frame&) -> std::optional<std::vector<Piece>> {
    if (f.size() == 4 && f[1] >= 0x20) return std::vector<Piece>{};
    return std::nullopt;
  };
  prompts.answers = {Answer::Ok, Answer::Cancel};
  EXPECT_EQ(Run(CommMode::Read), LinkResult::Failed);
  EXPECT_TRUE(prompts.Saw(Msg(ws, 2003)));
  EXPECT_EQ(prompts.shown.back().text, Msg(ws, 2006));
  // The port is closed and the progress window gone before the failure message is shown.
  const auto close = std::find(link.log.begin(), link.log.end(), "CloseProgress");
  EXPECT_NE(close, link.log.end());
  EXPECT_FALSE(link.portOpen);
}

TEST_F(LinkMachineTest, FailedReadLeavesTheWorkingDataUntouched) {
  ws.settings.Scan.ScanMode = 2;
  ws.testValues.fill(7);
  ws.CurrentFileName = "mine.dat";
  ws.Untitled = false;
  const SettingsRecord settings = ws.settings;
  const int16_t band = ws.app.BandCode;
  const bool modified = IsModified(ws);
  const ChannelList channels = ws.channels;
  const auto testValues = ws.testValues;

  radio.band = 0x30;
  // The calibration block arrives, then the radio stops answering.
  radio.fault = [&](const Frame& f, const Frame&) -> std::optional<std::vector<Piece>> {
    if (f.size() == 4 && ((f[1] << 8) | f[2]) >= 0x0800) return std::vector<Piece>{};
    return std::nullopt;
  };
  prompts.answers = {Answer::Ok, Answer::Retry, Answer::Cancel};
  EXPECT_EQ(Run(CommMode::Read), LinkResult::Failed);
  EXPECT_TRUE(ws.settings.Scan == settings.Scan);
  EXPECT_TRUE(ws.channels == channels);
  EXPECT_EQ(ws.testValues, testValues);
  EXPECT_EQ(ws.app.BandCode, band);
  EXPECT_EQ(IsModified(ws), modified);
  EXPECT_EQ(ws.CurrentFileName, "mine.dat");
  EXPECT_FALSE(ws.Untitled);
}

TEST_F(LinkMachineTest, MissingAnswerToTheFinalClosingFrameIsSuccess) {
  radio.answerFinalEnd = false;
  EXPECT_EQ(Run(CommMode::Read), LinkResult::Succeeded);
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 0u);
  EXPECT_EQ(CountSent("END"), 1u);
}

TEST_F(LinkMachineTest, SilentRadio) {
  radio.fault = [](const Frame&, const Frame&) { return std::optional(std::vector<Piece>{}); };

  // Information read: message 2008 after three handshakes, no recovery question.
  EXPECT_EQ(Run(CommMode::InfoRead), LinkResult::Failed);
  EXPECT_EQ(CountSent("PROGRAM"), 3u);
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 0u);
  EXPECT_EQ(prompts.shown.back().text, Msg(ws, 2008));

  // Read: the port is closed before the question and opened again for Retry; the closing
  // frame that restarts the link goes unanswered and the question comes again.
  link.log.clear();
  link.sent.clear();
  prompts.shown.clear();
  prompts.answers = {Answer::Ok, Answer::Retry, Answer::Cancel};
  EXPECT_EQ(Run(CommMode::Read), LinkResult::Failed);
  const std::vector<std::string> wanted = {"ClosePort", "OpenPort", "Send END"};
  auto it = link.log.begin();
  for (const auto& w : wanted) {
    it = std::find(it, link.log.end(), w);
    EXPECT_NE(it, link.log.end()) << w;
  }
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 2u);
  EXPECT_EQ(prompts.shown.back().text, Msg(ws, 2006));
}

TEST_F(LinkMachineTest, CancelOnTheConfirmationSendsNothing) {
  prompts.answers = {Answer::Cancel};
  EXPECT_EQ(Run(CommMode::Read), LinkResult::NotStarted);
  EXPECT_TRUE(link.sent.empty());
  EXPECT_FALSE(link.portOpen);
  EXPECT_EQ(machine.Mode(), CommMode::Idle);
}

TEST_F(LinkMachineTest, PortThatCannotBeOpened) {
  link.openResults = {false};
  EXPECT_EQ(Run(CommMode::Write), LinkResult::NotStarted);
  EXPECT_TRUE(link.sent.empty());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, Msg(ws, 2002) + "\nno such device");
}

TEST_F(LinkMachineTest, RefusedWriteBlocksAreResentButNotForever) {
  // Refused twice, then taken: no try used, no question.
  int refusals = 0;
  radio.fault = [&](const Frame& f, const Frame&) -> std::optional<std::vector<Piece>> {
    if (f.size() == 22 && f[1] == 0x05 && f[2] == 0x00 && refusals < 2) {
      ++refusals;
      return std::vector<Piece>{{2, {0x0A}}};
    }
    return std::nullopt;
  };
  EXPECT_EQ(Run(CommMode::Write), LinkResult::Succeeded);
  EXPECT_EQ(CountSent("W 0500"), 3u);
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 0u);

  // Always refused: ten refusals count as one time-out, so three rounds and the question.
  link.sent.clear();
  prompts.shown.clear();
  radio.fault = [&](const Frame& f, const Frame&) -> std::optional<std::vector<Piece>> {
    if (f.size() == 22 && f[1] == 0x05 && f[2] == 0x00) return std::vector<Piece>{{2, {0x0A}}};
    return std::nullopt;
  };
  prompts.answers = {Answer::Ok, Answer::Cancel};
  EXPECT_EQ(Run(CommMode::Write), LinkResult::Failed);
  EXPECT_EQ(CountSent("W 0500"), 30u);
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 1u);
  EXPECT_EQ(prompts.shown.back().text, Msg(ws, 2007));
}

TEST_F(LinkMachineTest, RefuseDuringAReadNeverSendsAWriteBlock) {
  int refusals = 0;
  radio.fault = [&](const Frame& f, const Frame&) -> std::optional<std::vector<Piece>> {
    // The refuse arrives in place of the reply (and as a lone byte with the handshake).
    if ((f.size() == 4 && f[1] == 0x02 && f[2] == 0x00 && refusals < 2) ||
        (f.size() == 7 && refusals == 0)) {
      ++refusals;
      return std::vector<Piece>{{2, {0x0A}}};
    }
    return std::nullopt;
  };
  EXPECT_EQ(Run(CommMode::Read), LinkResult::Succeeded);
  EXPECT_FALSE(SentAnyWriteBlock());
  EXPECT_EQ(CountSent("R 0200"), 2u);
}

TEST_F(LinkMachineTest, SplitAndPaddedReplies) {
  int late = 0, padded = 0;
  radio.fault = [&](const Frame& f, const Frame& answer) -> std::optional<std::vector<Piece>> {
    if (f.size() != 4 || answer.empty()) return std::nullopt;
    const uint16_t a = static_cast<uint16_t>((f[1] << 8) | f[2]);
    if (a == 0x0300) {  // split, second half in time: joined in the buffer
      return std::vector<Piece>{{2, Frame(answer.begin(), answer.begin() + 5)},
                                {40, Frame(answer.begin() + 5, answer.end())}};
    }
    if (a == 0x0400 && late++ == 0) {  // second half too late: time-out, resend
      return std::vector<Piece>{{2, Frame(answer.begin(), answer.begin() + 5)},
                                {400, Frame(answer.begin() + 5, answer.end())}};
    }
    if (a == 0x0500 && padded++ < 2) {  // junk in the same burst: too long, dropped
      Frame padded = answer;
      padded.push_back(0x00);
      return std::vector<Piece>{{2, padded}};
    }
    return std::nullopt;
  };
  EXPECT_EQ(Run(CommMode::Read), LinkResult::Succeeded);
  EXPECT_EQ(CountSent("R 0300"), 1u);
  EXPECT_EQ(CountSent("R 0400"), 2u);
  EXPECT_EQ(CountSent("R 0500"), 3u);
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 0u);
  for (size_t a = 0x0300; a < 0x0510; ++a) ASSERT_EQ(ws.image[a], radio.memory[a]) << a;
}

TEST_F(LinkMachineTest, NoEchoEndsInTheRecoveryQuestion) {
  radio.echo = false;
  prompts.answers = {Answer::Ok, Answer::Cancel};
  EXPECT_EQ(Run(CommMode::Read), LinkResult::Failed);
  EXPECT_EQ(CountShown(Buttons::RetryCancel), 1u);
  EXPECT_EQ(prompts.shown.back().text, Msg(ws, 2006));
}

TEST_F(LinkMachineTest, PasswordCases) {
  struct Case {
    const char* name;
    std::string radioPassword;  // "" erased (0xFF)
    std::string stored;
    std::vector<std::optional<std::string>> entered;  // the dialog's answers
    LinkResult result;
    int dialogs;
  };
  const Case cases[] = {
      {"both empty", "", "", {}, LinkResult::Succeeded, 0},
      {"equal", "1234", "1234", {}, LinkResult::Succeeded, 0},
      {"12 matches 12", "12", "12", {}, LinkResult::Succeeded, 0},
      {"12 is not 1200, cancelled", "12", "1200", {std::nullopt}, LinkResult::Failed, 1},
      {"case differs, corrected", "ab", "AB", {"ab"}, LinkResult::Succeeded, 1},
      {"erased radio, box cleared", "", "9999", {""}, LinkResult::Succeeded, 1},
      {"wrong again", "1234", "", {"4321"}, LinkResult::Failed, 1},
  };
  for (const Case& c : cases) {
    Workspace w;
    w.app.ProgramFolder = KVX50_PROGRAM_FOLDER;
    w.lang.SetProgramFolder(KVX50_PROGRAM_FOLDER);
    ResetWorkingData(w);
    w.app.ProgramPassWord = c.stored;
    ScriptedPrompts p;
    for (const auto& e : c.entered) p.programPasswords.push_back(e);
    TestRadio r;
    r.SetPassword(c.radioPassword);
    LinkMachine m(w);
    FakeLink l(m, p, r);
    l.Start(CommMode::InfoRead);
    ASSERT_TRUE(l.RunToEnd()) << c.name;
    EXPECT_EQ(l.finished, c.result) << c.name;
    EXPECT_EQ(static_cast<int>(c.entered.size() - p.programPasswords.size()), c.dialogs) << c.name;
    int handshakes = 0;
    for (const auto& f : l.sent) handshakes += f.size() == 7;
    if (c.dialogs == 1 && c.result == LinkResult::Succeeded) {
      // Corrected: stored, and the link restarts from the handshake without a second question.
      EXPECT_EQ(handshakes, 2) << c.name;
      ASSERT_EQ(l.savedPasswords.size(), 1u) << c.name;
      EXPECT_EQ(l.savedPasswords[0], *c.entered[0]);
      EXPECT_EQ(w.app.ProgramPassWord, *c.entered[0]);
    }
    if (c.result == LinkResult::Failed) {
      EXPECT_EQ(p.shown.back().text, Msg(w, 2008)) << c.name;
      EXPECT_EQ(handshakes, 1) << c.name;
    }
  }
}

TEST_F(LinkMachineTest, IdentificationRefusals) {
  struct Case {
    const char* name;
    CommMode mode;
    std::string model;
    std::string version;
    uint8_t band;
    uint8_t status;
    std::string message;  // the check's own message
  };
  const auto& t = ws.lang.BuiltIn();
  const Case cases[] = {
      {"model", CommMode::Read, "KP-500", "V100", 3, 0, std::string(t.ModelWrong)},
      {"version", CommMode::Read, "KP-510", "V200", 3, 0, std::string(t.VersionWrong)},
      {"band", CommMode::Write, "KP-510", "V100", 0x30, 0, std::string(t.BandWrong)},
      {"killed", CommMode::Write, "KP-510", "V100", 3, 1, std::string(t.RadioKilled)},
      {"stunned", CommMode::Write, "KP-510", "V100", 3, 2, std::string(t.RadioStunned)},
  };
  for (const Case& c : cases) {
    Workspace w;
    w.app.ProgramFolder = KVX50_PROGRAM_FOLDER;
    w.lang.SetProgramFolder(KVX50_PROGRAM_FOLDER);
    ResetWorkingData(w);
    ScriptedPrompts p;
    TestRadio r;
    r.model = c.model;
    r.version = c.version;
    r.band = c.band;
    r.status = c.status;
    LinkMachine m(w);
    FakeLink l(m, p, r);
    l.Start(c.mode);
    ASSERT_TRUE(l.RunToEnd()) << c.name;
    EXPECT_EQ(l.finished, LinkResult::Failed) << c.name;
    ASSERT_GE(p.shown.size(), 2u) << c.name;
    EXPECT_EQ(p.shown[p.shown.size() - 2].text, c.message) << c.name;
    EXPECT_EQ(p.shown.back().text, Msg(w, c.mode == CommMode::Write ? 2007 : 2006)) << c.name;
    for (const Frame& f : l.sent) EXPECT_NE(f.size(), 22u) << c.name << ": a block was written";
    EXPECT_EQ(FakeLink::Describe(l.sent.back()), "IDENT") << c.name;
  }

  // Killed and stunned radios can still be read; band 3 data go to a band-7 radio.
  radio.status = 3;
  EXPECT_EQ(Run(CommMode::Read), LinkResult::Succeeded);
  radio.status = 0;
  radio.band = 7;
  ws.app.BandCode = 3;
  EXPECT_EQ(Run(CommMode::Write), LinkResult::Succeeded);
}

TEST_F(LinkMachineTest, FeatureBitsSwitchFlagsOnDuringTheLink) {
  ws.app.Features = {};
  radio.features = 0xE0;
  EXPECT_EQ(Run(CommMode::InfoRead), LinkResult::Succeeded);
  EXPECT_TRUE(link.featuresChanged);
  EXPECT_EQ(ws.app.Features.FiveToneFeature, 1);
  EXPECT_EQ(ws.app.Features.TwoToneFeature, 1);
  EXPECT_EQ(ws.app.Features.DtmfFeature, 1);
  EXPECT_EQ(ws.app.Features.FourthFeature, 0);
}

TEST_F(LinkMachineTest, InfoReadDecodesOnlyTheFirstBlocks) {
  const char serial[] = "SN-0042";
  std::copy(serial, serial + 7, radio.memory.begin() + 0x20);
  radio.memory[0x27] = 0x00;
  EXPECT_EQ(Run(CommMode::InfoRead), LinkResult::Succeeded);
  const auto names = SentNames();
  EXPECT_EQ(names[3], "R 0010");
  EXPECT_EQ(names[names.size() - 2], "R 00F0");
  EXPECT_EQ(names.size(), 3u + 15u + 1u);
  EXPECT_EQ(ws.radioInfo.SerialNumber, "SN-0042");
  EXPECT_TRUE(link.progress.empty());
  EXPECT_TRUE(prompts.shown.empty());  // success shows no message: the window follows
}

TEST_F(LinkMachineTest, EventsNobodyWaitsForAreIgnored) {
  // A stray time-out or buffer before the start, and a second start while running.
  EXPECT_TRUE(machine.ReplyTimeout().empty());
  EXPECT_TRUE(machine.Received(Frame{0x06}).empty());
  link.Start(CommMode::Read);
  EXPECT_TRUE(machine.Start(CommMode::Write).empty());
  EXPECT_TRUE(link.RunToEnd());
  EXPECT_EQ(link.finished, LinkResult::Succeeded);
}

}  // namespace

namespace {

// A dialog that runs a nested event loop: while the recovery question is open, a late reply
// and a time-out arrive.
class NestedLoopPrompts : public ScriptedPrompts {
 public:
  std::function<void()> whileAsking;
  Answer Message(std::string_view text, Icon icon, Buttons buttons,
                 std::string_view title = {}) override {
    if (buttons == Buttons::RetryCancel && whileAsking) whileAsking();
    return ScriptedPrompts::Message(text, icon, buttons, title);
  }
};

TEST(LinkDriverTest, EventsDuringAQuestionDoNotMoveTheLink) {
  Workspace ws;
  ws.app.ProgramFolder = KVX50_PROGRAM_FOLDER;
  ws.lang.SetProgramFolder(KVX50_PROGRAM_FOLDER);
  ResetWorkingData(ws);
  NestedLoopPrompts prompts;
  TestRadio radio;
  int dropped = 0;
  radio.fault = [&](const Frame& f, const Frame&) -> std::optional<std::vector<Piece>> {
    if (f.size() == 4 && f[1] == 0x07 && f[2] == 0x00 && dropped < 3) {
      ++dropped;
      return std::vector<Piece>{};
    }
    return std::nullopt;
  };
  LinkMachine machine(ws);
  FakeLink link(machine, prompts, radio);
  size_t sentWhenAsked = 0;
  prompts.whileAsking = [&] {
    sentWhenAsked = link.sent.size();
    // The reply the radio never gave, and a stray time-out: both ignored, nothing sent.
    Frame late = ReadRequestFrame(0x0700);
    const Frame reply = DataBlockFrame('W', 0x0700, ConstBytes(radio.memory.data() + 0x700, 16));
    late.insert(late.end(), reply.begin(), reply.end());
    link.BufferReached(late);
    link.TimerExpired();
    EXPECT_EQ(link.sent.size(), sentWhenAsked);
    EXPECT_EQ(machine.WaitingFor(), LinkMachine::Waiting::Answer);
  };
  prompts.answers = {Answer::Ok, Answer::Retry};
  link.Start(CommMode::Read);
  ASSERT_TRUE(link.RunToEnd());
  EXPECT_EQ(link.finished, LinkResult::Succeeded);
  ASSERT_GT(sentWhenAsked, 0u);
  // After Retry the link reconnects: the closing frame is the next thing sent.
  EXPECT_EQ(FakeLink::Describe(link.sent[sentWhenAsked]), "END");
}

}  // namespace
