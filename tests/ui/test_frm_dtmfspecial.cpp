// The DTMF special-code window, opened by the DTMF window's Special button: the ANI and PTT ID
// codes it composes from the DTMF window's separator and own ID, the completion of the other
// party's code, and the boxes it may write into.
#include <QComboBox>
#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "core/image/Dtmf.h"
#include "frm_settings_helpers.h"
#include "support/DialogTestSteps.h"
#include "support/ScriptedPrompts.h"
#include "ui/FrmDTMF.h"
#include "ui/FrmDTMFSpecial.h"

using namespace kvx;
using namespace kvx::test;

namespace {

QLineEdit* Box(QWidget& w, int i) {
  return w.findChild<QLineEdit*>(QStringLiteral("TextCode_%1").arg(i));
}

}  // namespace

class TestFrmDtmfSpecial : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  // The special window writes into the code box last focused, from the DTMF window's
  // separator and own ID as they stand (not yet saved).
  void composesIntoTheFocusedBox_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("ownId");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ANI") << 2 << "*"
                         << "456" << 0 << "12"
                         << "120*456";
    QTest::newRow("ANI empty code") << 0 << "#"
                                    << "456" << 0 << ""
                                    << "000#456";
    QTest::newRow("PTTID") << FrmDTMF::kPttIdBeginBox << "A"
                           << "123" << 1 << "99"
                           << "A123";
    QTest::newRow("PTT ID end") << FrmDTMF::kPttIdEndBox << "D"
                                << "007" << 0 << "5"
                                << "500D007";
  }
  void composesIntoTheFocusedBox() {
    QFETCH(int, box);
    QFETCH(QString, separator);
    QFETCH(QString, ownId);
    QFETCH(int, type);
    QFETCH(QString, code);
    QFETCH(QString, expected);
    DtmfSettings s;
    s.Codes[0].Text = "1";
    s.Codes[0].Length = 1;
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    ChooseText(d.findChild<QComboBox*>("ComboSeparator"), separator);
    TypeInto(d.OwnIdBox(), ownId);
    TypeInto(Box(d, box), "");
    QCOMPARE(d.CurDTMFEditID(), box);

    bool ran = false;
    d.specialRunner = [&](QDialog& special) {
      ran = true;
      Open(special);
      auto* typeList = special.findChild<QComboBox*>("ComboType");
      auto* codeBox = special.findChild<QLineEdit*>("TextCode");
      [&] {
        QCOMPARE(typeList->currentText(), QString("ANI"));
        QCOMPARE(codeBox->text(), QString("000"));
        if (type != 0) ChooseEntry(typeList, type);
        QCOMPARE(codeBox->isVisible(), type == 0);
        if (type == 0) {
          TypeInto(codeBox, code);
          QTest::keyClick(codeBox, Qt::Key_Tab);  // leaving completes the code
          QCOMPARE(codeBox->text(), (code + "000").left(3));
        }
      }();
      Click(&special, "CommandOK");
      return special.result();
    };
    Click(&d, "CommandSpecial");
    QVERIFY(ran);
    QCOMPARE(Box(d, box)->text(), expected);
    if (box != 0) QCOMPARE(Box(d, 0)->text(), QString("1"));
  }

  // Cancel changes nothing; the kill and stun boxes never open the window.
  void cancelAndKillStunBoxesChangeNothing() {
    DtmfSettings s;
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    TypeInto(Box(d, 5), "77");
    int runs = 0;
    d.specialRunner = [&](QDialog& special) {
      ++runs;
      Open(special);
      TypeInto(special.findChild<QLineEdit*>("TextCode"), "123");
      Click(&special, "CommandCancel");
      return special.result();
    };
    Click(&d, "CommandSpecial");
    QCOMPARE(runs, 1);
    QCOMPARE(Box(d, 5)->text(), QString("77"));
    Open(d);  // back from the special window
    for (int box : {FrmDTMF::kKillBox, FrmDTMF::kStunBox}) {
      TypeInto(Box(d, box), "");
      Click(&d, "CommandSpecial");
      QCOMPARE(runs, 1);
    }
  }

  void keyRulesOfTheCodeBox() {
    DtmfSettings s;
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    FrmDTMFSpecial special(d, lang_);
    Open(special);
    auto* codeBox = special.findChild<QLineEdit*>("TextCode");
    TypeInto(codeBox, "1a*2#34");
    QCOMPARE(codeBox->text(), QString("123"));
    QTest::keyClick(codeBox, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(codeBox->text(), QString("123"));
    QTest::keyClick(codeBox, Qt::Key_Return);
    QVERIFY(!codeBox->hasFocus());
    QCOMPARE(special.windowTitle(), QString("DTMF Special Call"));
  }

  void screenshots() {
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      DtmfSettings s;
      ScriptedPrompts prompts;
      FrmDTMF d(s, lang, prompts);
      FrmDTMFSpecial special(d, lang);
      Shoot(&special, language == kLanguageEnglish ? "FrmDTMFSpecial_en" : "FrmDTMFSpecial_zh");
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrmDtmfSpecial)
#include "test_frm_dtmfspecial.moc"
