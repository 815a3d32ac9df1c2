// The special-call window, opened by the five-tone window's Special buttons: the ANI, PTT ID and
// message codes it writes into a PTT ID code box or a decode code, the separator it sets, and
// the inputs it refuses.
#include <QComboBox>
#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <functional>

#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"
#include "frm_settings_helpers.h"
#include "support/DialogTestSteps.h"
#include "support/ScriptedPrompts.h"
#include "ui/Frm5Tone.h"
#include "ui/FrmSpecial.h"

using namespace kvx;
using namespace kvx::test;

namespace {

// What the user does in the special window.
struct Input {
  int type = 1;  // 0 message, 1 ANI, 2 PTTID
  QString id;
  QString message;
  QString separator;  // "" leaves the preset, "-" the first (none) entry
};

// The five-tone window of one test, with the own ID 12345 and separator "D" preset.
struct World {
  LanguageTable lang = BuildLanguage(kLanguageEnglish);
  SettingsRecord settings;
  ChannelList channels;
  ScriptedPrompts prompts;
  std::unique_ptr<Frm5Tone> five;
  World() {
    settings.FiveTone.OwnId = "12345";
    settings.FiveTone.IdLength = 5;
    five = std::make_unique<Frm5Tone>(settings, channels, lang, prompts);
  }
};

// Fills the special window as a user does and presses OK; returns its result.
int Fill(QDialog& special, const Input& in) {
  Open(special);
  auto* type = special.findChild<QComboBox*>("ComboType");
  if (type->currentIndex() != in.type) ChooseEntry(type, in.type);
  if (in.type == 0) {
    TypeInto(special.findChild<QLineEdit*>("TextMessageId"), in.id);
    TypeInto(special.findChild<QLineEdit*>("TextMessage"), in.message);
  } else if (in.type == 1) {
    TypeInto(special.findChild<QLineEdit*>("TextAniId"), in.id);
  }
  auto* sep = special.findChild<QComboBox*>("ComboSeparator");
  if (in.separator == "-")
    ChooseEntry(sep, 0);
  else if (!in.separator.isEmpty())
    ChooseText(sep, in.separator);
  Click(&special, "CommandOK");
  return special.result();
}

}  // namespace

class TestFrmSpecial : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QuietOffscreenWarnings(); }

  // Into a PTT ID code box: the code completed with the own ID, in repeat-tone form.
  void intoAPttIdCodeBox_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("specialCall");
    QTest::newRow("ANI with D") << 1 << 1 << "67890"
                                << ""
                                << "D"
                                << "67890D12345" << 13;
    QTest::newRow("ANI without separator") << 2 << 1 << "67890"
                                           << ""
                                           << "-"
                                           << "6789012345" << 0;
    QTest::newRow("ANI repeats") << 1 << 1 << "11890"
                                 << ""
                                 << "-"
                                 << "1E89012345" << 0;
    QTest::newRow("PTTID") << 2 << 2 << ""
                           << ""
                           << ""
                           << "E612345" << 13;
    QTest::newRow("message of 8") << 1 << 0 << "12345"
                                  << "HIHIHIHI"
                                  << ""
                                  << "E1E2345E4849484948494849" << 13;
  }
  void intoAPttIdCodeBox() {
    QFETCH(int, target);
    QFETCH(int, type);
    QFETCH(QString, id);
    QFETCH(QString, message);
    QFETCH(QString, separator);
    QFETCH(QString, code);
    QFETCH(int, specialCall);
    World w;
    Open(*w.five);
    int result = -1;
    w.five->specialRunner = [&](QDialog& special) {
      result = Fill(special, {type, id, message, separator});
      return result;
    };
    Click(w.five.get(), target == 1 ? "CommandSpecialBegin" : "CommandSpecialEnd");
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(w.five->PttIdBox(target)->text(), code);
    QCOMPARE(int(w.five->Working().FiveTone.SpecialCall), specialCall);
    QVERIFY(w.prompts.shown.empty());
  }

  // Into the grid's current decode code: the code with the "SelfID" placeholder, the type and
  // digits cells; the five-tone window's next save completes the placeholder.
  void intoADecodeCode_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("typeCell");
    QTest::addColumn<QString>("digitsCell");
    QTest::addColumn<QString>("saved");
    QTest::newRow("ANI") << 1 << "67890"
                         << ""
                         << "-"
                         << "67890SelfID"
                         << "ANI"
                         << "67890"
                         << "6789012345";
    QTest::newRow("ANI with A") << 1 << "67890"
                                << ""
                                << "A"
                                << "67890ASelfID"
                                << "ANI"
                                << "67890A"
                                << "67890A12345";
    QTest::newRow("PTTID") << 2 << ""
                           << ""
                           << ""
                           << "E6SelfID"
                           << "PTTID"
                           << ""
                           << "E612345";
    QTest::newRow("message") << 0 << "12345"
                             << "HI"
                             << ""
                             << "E1E2345E4849"
                             << "Message"
                             << "12345 Message:HI"
                             << "E1E2345E4849";
  }
  void intoADecodeCode() {
    QFETCH(int, type);
    QFETCH(QString, id);
    QFETCH(QString, message);
    QFETCH(QString, separator);
    QFETCH(QString, digits);
    QFETCH(QString, typeCell);
    QFETCH(QString, digitsCell);
    QFETCH(QString, saved);
    World w;
    Open(*w.five);
    w.five->EnterCell(5, Frm5Tone::kColDigits);  // the grid's current code is 5
    w.five->specialRunner = [&](QDialog& special) {
      [&] {
        auto* number = special.findChild<QComboBox*>("ComboCodeNumber");
        QVERIFY(!number->isHidden());
        QCOMPARE(number->currentText(), QString("5"));
      }();
      return Fill(special, {type, id, message, separator});
    };
    Click(w.five.get(), "CommandSpecial");
    const FiveToneCode& c = w.five->Working().FiveTone.Codes[5];
    QCOMPARE(QString::fromStdString(c.Digits.Clean()), digits);
    QCOMPARE(int(c.Length), digits.size());
    QCOMPARE(int(c.Empty), 0);
    QTableWidget* grid = w.five->Grid();
    QCOMPARE(grid->item(5, Frm5Tone::kColType)->text(), typeCell);
    QCOMPARE(grid->item(5, Frm5Tone::kColDigits)->text(), digitsCell);

    Open(*w.five);
    Click(w.five.get(), "CommandOK");
    QCOMPARE(w.five->result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(w.settings.FiveTone.Codes[5].Digits.Clean()), saved);
    QVERIFY(w.settings.FiveTone.Codes[5].InUse());
  }

  // Refused: an ID of fewer than 5 characters, and a message a PTT ID code cannot hold. The
  // window stays open; the separator is set all the same.
  void refusedInputs_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("short ANI ID") << 1 << 1 << "6789"
                                  << ""
                                  << "MSG:900C";
    QTest::newRow("short message ID") << 0 << 0 << "123"
                                      << "HI"
                                      << "MSG:900C";
    QTest::newRow("message of 9 for a PTT ID") << 2 << 0 << "12345"
                                               << "ABCDEFGHI"
                                               << "OPTION:60319";
  }
  void refusedInputs() {
    QFETCH(int, target);
    QFETCH(int, type);
    QFETCH(QString, id);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    World w;
    w.five->SpecialCallTarget = target;
    FrmSpecial special(*w.five);
    const int result = Fill(special, {type, id, message, ""});
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(special.isVisible());
    QVERIFY(!w.prompts.shown.empty());
    const QStringList key = shown.split(':');
    QCOMPARE(
        w.prompts.shown.back().text,
        BuildLanguage(kLanguageEnglish).GetLangKeyText(key[0].toStdString(), key[1].toStdString()));
    QCOMPARE(int(w.five->Working().FiveTone.SpecialCall), 13);
    if (target != 0) QCOMPARE(w.five->PttIdBox(target)->text(), QString());
    QVERIFY(!w.five->Working().FiveTone.Codes[0].InUse());
  }

  // Leaving a short ID box says so; the type list shows only its area; Cancel changes nothing.
  void idBoxesTypeAreasAndCancel() {
    World w;
    w.five->SpecialCallTarget = Frm5Tone::kTargetPttIdBegin;
    FrmSpecial special(*w.five);
    Open(special);
    QVERIFY(!special.findChild<QComboBox*>("ComboCodeNumber")->isVisible());
    auto* messageId = special.findChild<QLineEdit*>("TextMessageId");
    TypeInto(messageId, "12a4b");
    QCOMPARE(messageId->text(), QString("12A4"));
    QTest::keyClick(messageId, Qt::Key_Return);  // on to the message box
    QCOMPARE(w.prompts.shown.size(), size_t(1));
    auto* message = special.findChild<QLineEdit*>("TextMessage");
    QVERIFY(message->hasFocus());
    QTest::keyClicks(message, "hi there!");
    QCOMPARE(message->text(), QString("HITHERE"));
    ChooseEntry(special.findChild<QComboBox*>("ComboType"), 1);
    QVERIFY(!message->isVisible());
    QVERIFY(special.findChild<QLineEdit*>("TextAniId")->isVisible());
    QCOMPARE(special.findChild<QComboBox*>("ComboSeparator")->currentText(), QString("D"));
    ChooseEntry(special.findChild<QComboBox*>("ComboType"), 2);
    QVERIFY(!special.findChild<QLineEdit*>("TextAniId")->isVisible());
    Click(&special, "CommandCancel");
    QCOMPARE(special.result(), int(QDialog::Rejected));
    QCOMPARE(int(w.five->Working().FiveTone.SpecialCall), 13);
    QCOMPARE(w.five->PttIdBox(1)->text(), QString());
  }

  void screenshots() {
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      SettingsRecord s;
      s.FiveTone.OwnId = "12345";
      ChannelList channels;
      ScriptedPrompts prompts;
      const LanguageTable lang = BuildLanguage(language);
      Frm5Tone five(s, channels, lang, prompts);
      FrmSpecial special(five);
      Shoot(&special, language == kLanguageEnglish ? "FrmSpecial_en" : "FrmSpecial_zh");
    }
  }
};

QTEST_MAIN(TestFrmSpecial)
#include "test_frm_special.moc"
