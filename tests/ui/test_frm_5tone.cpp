// The five-tone window driven as a user drives it: codes typed into the grid in repeat-tone
// form, the special codes recognised, shown and brought up to date with the own ID, the
// information-code checks on OK, the reset of a special code, the lists' stored values, and
// the references re-pointed after OK.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"
#include "frm_settings_helpers.h"
#include "support/DialogTestSteps.h"
#include "support/ScriptedPrompts.h"
#include "support/UiWorld.h"
#include "ui/Frm5Tone.h"

using namespace kvx;
using namespace kvx::test;

namespace {

SettingsRecord WithOwnId(const char* id) {
  SettingsRecord s;
  s.FiveTone.OwnId = id;
  s.FiveTone.IdLength = static_cast<uint8_t>(std::string_view(id).size());
  return s;
}

void SetCode(FiveToneCode& c, const char* digits) {
  c.Empty = 0;
  c.Digits = digits;
  c.Length = static_cast<uint8_t>(std::string_view(digits).size());
}

QString Cell(Frm5Tone& d, int code, int column) {
  return d.Grid()->item(code, column)->text();
}

QPoint CellCentre(Frm5Tone& d, int code, int column) {
  QTableWidget* grid = d.Grid();
  grid->scrollToItem(grid->item(code, column));
  return grid->visualItemRect(grid->item(code, column)).center();
}

void ClickCell(Frm5Tone& d, int code, int column) {
  QTest::mouseClick(d.Grid()->viewport(), Qt::LeftButton, {}, CellCentre(d, code, column));
}

std::string Digits(const FiveToneCode& c) {
  return c.Digits.Clean();
}

const QString kBlanks8(8, QLatin1Char(' '));

}  // namespace

class TestFrm5Tone : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  // Typed digits are stored in repeat-tone form and mark the code in use; an emptied cell
  // marks it empty. Enter goes on to the standard, or down when the cell is empty.
  void typedDigitsAreRepeatEncoded() {
    SettingsRecord s = WithOwnId("12345");
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    ClickCell(d, 2, Frm5Tone::kColDigits);
    QVERIFY(d.DigitsEditor()->isVisible());
    QTest::keyClicks(d.DigitsEditor(), "1123xg");
    QCOMPARE(d.DigitsEditor()->text(), QString("1123"));
    QTest::keyClick(d.DigitsEditor(), Qt::Key_Return);
    QVERIFY(d.StandardEditor()->isVisible());
    QCOMPARE(d.Grid()->currentColumn(), int(Frm5Tone::kColStandard));
    const FiveToneCode& c = d.Working().FiveTone.Codes[2];
    QCOMPARE(Digits(c), std::string("1E23"));
    QCOMPARE(int(c.Length), 4);
    QCOMPARE(int(c.Empty), 0);
    QCOMPARE(Cell(d, 2, Frm5Tone::kColDigits), QString("1E23"));

    ClickCell(d, 2, Frm5Tone::kColDigits);
    QTest::keyClick(d.DigitsEditor(), Qt::Key_Backspace);
    QTest::keyClick(d.DigitsEditor(), Qt::Key_Return);
    QCOMPARE(d.Grid()->currentRow(), 3);
    QCOMPARE(int(d.Working().FiveTone.Codes[2].Empty), 1);
    QCOMPARE(int(d.Working().FiveTone.Codes[2].Length), 0);

    // Scrolling the grid commits the open cell and closes its editor.
    ClickCell(d, 2, Frm5Tone::kColDigits);
    QTest::keyClicks(d.DigitsEditor(), "55");
    d.Grid()->verticalScrollBar()->setValue(d.Grid()->verticalScrollBar()->maximum());
    QVERIFY(!d.DigitsEditor()->isVisible());
    QCOMPARE(Digits(d.Working().FiveTone.Codes[2]), std::string("5E"));
  }

  // How special codes show, and what the save makes of them with the own ID 12345.
  void specialCodesShowAndSave_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("digitsCell");
    QTest::addColumn<QString>("saved");
    QTest::newRow("ANI") << "6789012345"
                         << "ANI"
                         << "67890"
                         << "6789012345";
    QTest::newRow("ANI with separator") << "67890D12345"
                                        << "ANI"
                                        << "67890D"
                                        << "67890D12345";
    QTest::newRow("SelfID") << "67890SelfID"
                            << "ANI"
                            << "67890"
                            << "6789012345";
    QTest::newRow("separator and SelfID") << "67890ASelfID"
                                          << "ANI"
                                          << "67890"
                                          << "67890A12345";
    QTest::newRow("repeat in caller ID") << "66890SelfID"
                                         << "ANI"
                                         << "66890"
                                         << "6E89012345";
    QTest::newRow("PTT ID marker") << "E698765"
                                   << "PTTID"
                                   << ""
                                   << "E612345";
    QTest::newRow("own-ID code") << "E299999"
                                 << ""
                                 << "E299999"
                                 << "E212345";
    QTest::newRow("message") << "E1E2345E4849"
                             << "Message"
                             << "12345" + kBlanks8 + "Message:HI"
                             << "E1E2345E4849";
    QTest::newRow("ordinary") << "1123"
                              << ""
                              << "1123"
                              << "1E23";
    QTest::newRow("short E1") << "E1234"
                              << ""
                              << "E1234"
                              << "E1234";
  }
  void specialCodesShowAndSave() {
    QFETCH(QString, stored);
    QFETCH(QString, type);
    QFETCH(QString, digitsCell);
    QFETCH(QString, saved);
    SettingsRecord s = WithOwnId("12345");
    SetCode(s.FiveTone.Codes[9], stored.toLatin1().constData());
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    QCOMPARE(Cell(d, 9, Frm5Tone::kColType), type);
    QCOMPARE(Cell(d, 9, Frm5Tone::kColDigits), digitsCell);
    Click(&d, "CommandOK");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(Digits(s.FiveTone.Codes[9])), saved);
    QCOMPARE(int(s.FiveTone.Codes[9].Length), saved.size());
  }

  // A new own ID is carried into the ANI codes made for the old one (grid and PTT ID boxes)
  // and into the "E2"/"E6" codes.
  void ownIdChangeUpdatesTheCodes() {
    SettingsRecord s = WithOwnId("12345");
    SetCode(s.FiveTone.Codes[4], "6789012345");
    SetCode(s.FiveTone.Codes[5], "67890D12345");
    SetCode(s.FiveTone.Codes[6], "E612345");
    SetCode(s.FiveTone.Codes[7], "6789011111");  // ends in no own ID: an ordinary code
    SetCode(s.FiveTone.PttIdBegin, "1111112345");
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    QCOMPARE(d.PttIdBox(Frm5Tone::kTargetPttIdBegin)->text(), QString("1111112345"));
    TypeInto(d.OwnIdBox(), "54321");
    QTest::keyClick(d.OwnIdBox(), Qt::Key_Tab);
    QVERIFY(prompts.shown.empty());
    const FiveToneSettings& w = d.Working().FiveTone;
    QCOMPARE(Digits(w.Codes[4]), std::string("6789054321"));
    QCOMPARE(Digits(w.Codes[5]), std::string("67890D54321"));
    QCOMPARE(Digits(w.Codes[6]), std::string("E654321"));
    QCOMPARE(Cell(d, 4, Frm5Tone::kColType), QString("ANI"));
    QCOMPARE(Cell(d, 4, Frm5Tone::kColDigits), QString("67890"));
    QCOMPARE(Cell(d, 7, Frm5Tone::kColType), QString());
    QCOMPARE(d.PttIdBox(Frm5Tone::kTargetPttIdBegin)->text(), QString("1111154321"));
    Click(&d, "CommandOK");
    QCOMPARE(s.FiveTone.OwnId.Clean(), std::string("54321"));
    QCOMPARE(int(s.FiveTone.IdLength), 5);
    QCOMPARE(Digits(s.FiveTone.Codes[4]), std::string("6789054321"));
    QCOMPARE(Digits(s.FiveTone.Codes[7]), std::string("678901E1E1"));  // ordinary: repeats
    QCOMPARE(Digits(s.FiveTone.PttIdBegin), std::string("1E1E154321"));
  }

  // OK straight from the ID box still carries the new ID into the codes.
  void okFromTheIdBoxFollowsTheNewId() {
    SettingsRecord s = WithOwnId("12345");
    SetCode(s.FiveTone.Codes[0], "6789012345");
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    TypeInto(d.OwnIdBox(), "54321");
    Click(&d, "CommandOK");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(prompts.shown.empty());
    QCOMPARE(Digits(s.FiveTone.Codes[0]), std::string("6789054321"));
  }

  // The own ID must have five digits: leaving the box and OK say so.
  void shortOwnIdIsRefused() {
    SettingsRecord s = WithOwnId("123");
    const SettingsRecord before = s;
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    Click(&d, "CommandOK");
    QVERIFY(d.isVisible());
    QCOMPARE(prompts.shown.size(), size_t(1));
    QCOMPARE(prompts.shown[0].text, lang_.GetLangKeyText("MSG", "900C"));
    QVERIFY(d.OwnIdBox()->hasFocus());
    QVERIFY(s == before);
    QTest::keyClick(d.OwnIdBox(), Qt::Key_Tab);
    QCOMPARE(prompts.shown.size(), size_t(2));
    QVERIFY(d.OwnIdBox()->hasFocus());
  }

  // Kill and stun need a wake-up code, and no kill, stun or wake-up code may share its digits
  // with a code of another function.
  void informationCodeChecks_data() {
    QTest::addColumn<QList<int>>("functions");
    QTest::addColumn<QStringList>("digits");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("none") << QList<int>{} << QStringList{} << QStringList{};
    QTest::newRow("kill without wake-up")
        << QList<int>{3} << QStringList{"123"} << QStringList{"60300"};
    QTest::newRow("stun and wake-up")
        << QList<int>{4, 5} << QStringList{"123", "456"} << QStringList{};
    QTest::newRow("same digits") << QList<int>{3, 5} << QStringList{"123", "123"}
                                 << QStringList{"60301"};
    QTest::newRow("kill without digits")
        << QList<int>{3, 5} << QStringList{"", "456"} << QStringList{"60301"};
    QTest::newRow("both") << QList<int>{3, 1} << QStringList{"77", "77"}
                          << QStringList{"60300", "60301"};
  }
  void informationCodeChecks() {
    QFETCH(QList<int>, functions);
    QFETCH(QStringList, digits);
    QFETCH(QStringList, messages);
    SettingsRecord s = WithOwnId("12345");
    for (int i = 0; i < functions.size(); ++i) {
      InfoCode& c = s.FiveTone.InfoCodes[static_cast<size_t>(i + 2)];
      c.Function = static_cast<uint8_t>(functions[i]);
      c.Digits = digits[i].toStdString();
      c.Length = static_cast<uint8_t>(digits[i].size());
    }
    const SettingsRecord before = s;
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    Click(&d, "CommandOK");
    QCOMPARE(prompts.shown.size(), size_t(messages.size()));
    for (int i = 0; i < messages.size(); ++i)
      QCOMPARE(prompts.shown[static_cast<size_t>(i)].text,
               lang_.GetLangKeyText("OPTION", messages[i].toStdString()));
    QCOMPARE(d.isVisible(), !messages.isEmpty());
    if (!messages.isEmpty()) QVERIFY(s == before);
  }

  // The information-code controls: the function decides the response and the name box; the
  // code shown is saved when another is chosen, and OK saves the one shown.
  void informationCodeEditing() {
    SettingsRecord s = WithOwnId("12345");
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    auto* select = d.findChild<QComboBox*>("ComboInfoSelect");
    auto* function = d.findChild<QComboBox*>("ComboInfoFunction");
    auto* response = d.findChild<QComboBox*>("ComboInfoResponse");
    auto* digits = d.findChild<QLineEdit*>("TextInfoDigits");
    auto* name = d.findChild<QLineEdit*>("TextInfoName");
    QVERIFY(!name->isEnabled());  // function 0
    ChooseEntry(select, 1);
    QCOMPARE(d.findChild<QGroupBox*>("FrameInfoCode")->title(), QString("Information Code\u00A02"));
    ChooseEntry(function, 3);  // remote kill
    QCOMPARE(response->currentIndex(), 2);
    QVERIFY(!response->isEnabled());
    QVERIFY(name->isEnabled());
    TypeInto(digits, "1a2g");
    QCOMPARE(digits->text(), QString("1A2"));
    TypeInto(name, "KILL");
    ChooseEntry(select, 2);
    QCOMPARE(digits->text(), QString());
    ChooseEntry(function, 5);  // wake-up
    TypeInto(digits, "99");
    ChooseEntry(select, 1);
    QCOMPARE(digits->text(), QString("1A2"));
    QCOMPARE(name->text(), QString("KILL"));
    QCOMPARE(function->currentIndex(), 3);
    Click(&d, "CommandOK");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    const InfoCode& kill = s.FiveTone.InfoCodes[1];
    QCOMPARE(int(kill.Function), 3);
    QCOMPARE(int(kill.Response), 2);
    QCOMPARE(int(kill.Length), 3);
    QCOMPARE(kill.Digits.Clean(), std::string("1A2"));
    QCOMPARE(kill.Name.Clean(), std::string("KILL"));
    QCOMPARE(int(s.FiveTone.InfoCodes[2].Function), 5);
  }

  // Double-clicking the digits of a special code offers to reset it: the digits go, the code
  // stays in use.
  void doubleClickResetsASpecialCode_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }
  void doubleClickResetsASpecialCode() {
    QFETCH(bool, ok);
    SettingsRecord s = WithOwnId("12345");
    SetCode(s.FiveTone.Codes[5], "6789012345");
    ChannelList channels;
    ScriptedPrompts prompts;
    prompts.answers.push_back(ok ? Answer::Ok : Answer::Cancel);
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    ClickCell(d, 5, Frm5Tone::kColDigits);
    QTest::mouseDClick(d.Grid()->viewport(), Qt::LeftButton, {},
                       CellCentre(d, 5, Frm5Tone::kColDigits));
    QCOMPARE(prompts.shown.size(), size_t(1));
    QCOMPARE(prompts.shown[0].text, std::string("Reset Special Call of this channel,OK or Not?"));
    QCOMPARE(prompts.shown[0].buttons, Buttons::OkCancel);
    QVERIFY(!d.DigitsEditor()->isVisible());
    const FiveToneCode& c = d.Working().FiveTone.Codes[5];
    QCOMPARE(int(c.Empty), 0);
    QCOMPARE(int(c.Length), ok ? 0 : 10);
    QCOMPARE(Cell(d, 5, Frm5Tone::kColType), ok ? QString() : QString("ANI"));
    QCOMPARE(Cell(d, 5, Frm5Tone::kColDigits), ok ? QString() : QString("67890"));
    // Once reset, the digits can be typed again.
    if (ok) {
      ClickCell(d, 5, Frm5Tone::kColDigits);
      QVERIFY(d.DigitsEditor()->isVisible());
    }
  }

  // Out-of-range values show the stated entries; the pause code switches the pause time.
  void listsShowAndSave() {
    SettingsRecord s = WithOwnId("12345");
    s.FiveTone.PauseCode = 12;  // "C"
    s.FiveTone.PauseTime = 30;
    s.FiveTone.Number = 3;
    s.FiveTone.TonePeriod = 0;
    s.FiveTone.Delay1 = 0;
    s.DecodeTime = 150;
    SetCode(s.FiveTone.Codes[7], "123");
    s.FiveTone.Codes[7].TonePeriod = 2;
    s.FiveTone.Codes[7].Standard = 6;
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    auto list = [&](const char* name) { return d.findChild<QComboBox*>(name); };
    QCOMPARE(list("ComboPauseCode")->currentText(), QString("C"));
    QCOMPARE(list("ComboPauseTime")->currentText(), QString("300"));
    QVERIFY(list("ComboPauseTime")->isEnabled());
    QCOMPARE(list("ComboNumber")->currentIndex(), 0);
    QCOMPARE(list("ComboTonePeriod")->currentText(), QString("70"));
    QCOMPARE(list("ComboDelay1")->currentText(), QString("10"));
    QCOMPARE(list("ComboDecodeTime")->currentText(), QString("1500"));
    QCOMPARE(Cell(d, 7, Frm5Tone::kColPeriod), QString("70"));
    QCOMPARE(Cell(d, 7, Frm5Tone::kColStandard), QString("CCIR1"));
    ChooseEntry(list("ComboPauseCode"), 0);
    QVERIFY(!list("ComboPauseTime")->isEnabled());
    Click(&d, "CommandOK");
    const FiveToneSettings& f = s.FiveTone;
    QCOMPARE(int(f.PauseCode), 0);
    QCOMPARE(int(f.PauseTime), 30);
    QCOMPARE(int(f.Number), 0);
    QCOMPARE(int(f.TonePeriod), 7);
    QCOMPARE(int(f.Delay1), 1);
    QCOMPARE(int(s.DecodeTime), 150);
    QCOMPARE(int(f.Codes[7].TonePeriod), 7);
    QCOMPARE(int(f.Codes[7].Standard), 6);
  }

  // The grid's standard and period editors; a row without digits opens neither.
  void standardAndPeriodEditors() {
    SettingsRecord s = WithOwnId("12345");
    SetCode(s.FiveTone.Codes[1], "123");
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    ClickCell(d, 0, Frm5Tone::kColStandard);
    QVERIFY(!d.StandardEditor()->isVisible());
    ClickCell(d, 1, Frm5Tone::kColStandard);
    QVERIFY(d.StandardEditor()->isVisible());
    ChooseText(d.StandardEditor(), "EEA");
    QCOMPARE(Cell(d, 1, Frm5Tone::kColPeriod), QString("40"));
    QVERIFY(d.findChild<QWidget*>("TextStandardInfo")
                ->property("plainText")
                .toString()
                .startsWith("EEA\n"));
    QTest::keyClick(d.StandardEditor(), Qt::Key_Return);
    QVERIFY(d.PeriodEditor()->isVisible());
    QCOMPARE(d.PeriodEditor()->currentText(), QString("40"));
    ChooseText(d.PeriodEditor(), "90");
    QTest::keyClick(d.PeriodEditor(), Qt::Key_Return);  // to the digits of the next row
    QCOMPARE(d.Grid()->currentRow(), 2);
    QCOMPARE(d.Grid()->currentColumn(), int(Frm5Tone::kColDigits));
    QCOMPARE(int(d.Working().FiveTone.Codes[1].Standard), 9);
    QCOMPARE(int(d.Working().FiveTone.Codes[1].TonePeriod), 9);
    ClickCell(d, 1, Frm5Tone::kColName);
    QTest::keyClicks(d.NameEditor(), "PORT");
    Click(&d, "CommandOK");
    QCOMPARE(s.FiveTone.Codes[1].Name.Clean(), std::string("PORT"));
    QCOMPARE(int(s.FiveTone.Codes[1].TonePeriod), 9);
  }

  // After OK, channels and the alert's five-tone identification code point at codes in use.
  void okRepointsChannelsAndAlert() {
    SettingsRecord s = WithOwnId("12345");
    SetCode(s.FiveTone.Codes[3], "123");
    s.Alert.IdCodeType = 2;
    s.Alert.IdCode = 7;
    ChannelList channels;
    ChannelRecord c = EmptyChannel(1);
    c.InUse = 1;
    c.Signalling = 3;
    c.FiveToneCode = 9;
    channels.AppendChannel(c);
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    Click(&d, "CommandOK");
    QCOMPARE(int(s.Alert.IdCode), 3);
    QCOMPARE(channels.Used()[0].FiveToneCode, int16_t(3));
  }

  void cancelKeepsTheSettings() {
    SettingsRecord s = WithOwnId("12345");
    SetCode(s.FiveTone.Codes[0], "6789012345");
    const SettingsRecord before = s;
    ChannelList channels;
    ScriptedPrompts prompts;
    Frm5Tone d(s, channels, lang_, prompts);
    Open(d);
    TypeInto(d.OwnIdBox(), "54321");
    QTest::keyClick(d.OwnIdBox(), Qt::Key_Tab);
    ClickCell(d, 3, Frm5Tone::kColDigits);
    QTest::keyClicks(d.DigitsEditor(), "77");
    QCOMPARE(d.OwnIdBox()->contextMenuPolicy(), Qt::NoContextMenu);
    Click(&d, "CommandCancel");
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QVERIFY(s == before);
    QCOMPARE(d.OwnIdBox()->contextMenuPolicy(), Qt::DefaultContextMenu);
  }

  // The five-tone tree node and menu entry open the window on the working data.
  void openedFromTheMainWindow() {
    WorldOptions options;
    options.features.FiveToneFeature = 1;
    UiWorld world(options);
    world.ws.settings.FiveTone.OwnId = "12345";
    SetCode(world.ws.settings.FiveTone.Codes[2], "67890SelfID");
    int opened = 0;
    world.OnDialog([&](QDialog& d) {
      if (!qobject_cast<Frm5Tone*>(&d)) return int(QDialog::Rejected);
      ++opened;
      Click(&d, "CommandOK");
      return d.result();
    });
    world.main().tvTreeView_NodeClick("N7");
    QCOMPARE(opened, 1);
    QCOMPARE(Digits(world.ws.settings.FiveTone.Codes[2]), std::string("6789012345"));
    world.main().findChild<QAction*>("MnuView5Tone")->trigger();
    QCOMPARE(opened, 2);
  }

  void screenshots() {
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      SettingsRecord s = WithOwnId("12345");
      SetCode(s.FiveTone.Codes[0], "6789012345");
      SetCode(s.FiveTone.Codes[1], "E1E2345E4849");
      SetCode(s.FiveTone.Codes[2], "E612345");
      SetCode(s.FiveTone.Codes[3], "1E23");
      s.FiveTone.Codes[3].Name = "DEPOT";
      ChannelList channels;
      ScriptedPrompts prompts;
      Frm5Tone d(s, channels, lang, prompts);
      Shoot(&d, language == kLanguageEnglish ? "Frm5Tone_en" : "Frm5Tone_zh");
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrm5Tone)
#include "test_frm_5tone.moc"
