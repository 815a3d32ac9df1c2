// The DTMF window driven as a user drives it: own-ID and separator rewriting of the codes that
// embed them, the kill/stun check, the corrections and stored values of the lists, the key
// rules, and the deferred save that first finishes the box being edited.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/image/Dtmf.h"
#include "frm_settings_helpers.h"
#include "support/DialogTestSteps.h"
#include "support/ScriptedPrompts.h"
#include "support/UiWorld.h"
#include "ui/FrmDTMF.h"

using namespace kvx;
using namespace kvx::test;

namespace {

template <size_t N>
DtmfCode<N> Code(const char* stored) {
  DtmfCode<N> c;
  c.Text = stored;
  c.Length = static_cast<int16_t>(std::string_view(stored).size());
  return c;
}

QLineEdit* Box(QWidget& w, int i) {
  return w.findChild<QLineEdit*>(QStringLiteral("TextCode_%1").arg(i));
}

QComboBox* List(QWidget& w, const char* name) {
  return w.findChild<QComboBox*>(name);
}

// The dialog shown and active, so that focus moves as it does for a user.
// Leaves a box the way Tab does.
void Leave(QWidget* box) {
  QTest::keyClick(box, Qt::Key_Tab);
  QCoreApplication::processEvents();
}

// A picture of the window under $KVX50_SCREENSHOTS, taken once its layout has settled in the
// language's font.
// OK, then the zero-time save.
void PressOk(QDialog& d) {
  Click(&d, "CommandOK");
  QTRY_VERIFY(!d.isVisible());
}

}  // namespace

class TestFrmDtmf : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  // 123*456 (ANI) and *456 (PTT ID) carry the own ID after the separator: a new ID and a new
  // separator are carried into them; other codes stay as they are.
  void ownIdAndSeparatorRewriteEmbeddedCodes() {
    DtmfSettings s;
    s.OwnId = "456";
    s.Separator = 14;  // "*"
    s.Codes[0] = Code<24>("123E456");
    s.Codes[1] = Code<24>("E456");
    s.Codes[2] = Code<24>("12345");
    s.PttIdEnd = Code<24>("789E456");
    s.KillCode = Code<14>("E456");  // kill and stun are not rewritten
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    QCOMPARE(Box(d, 0)->text(), QString("123*456"));

    TypeInto(d.OwnIdBox(), "7");
    Leave(d.OwnIdBox());
    QCOMPARE(d.OwnIdBox()->text(), QString("700"));
    QCOMPARE(Box(d, 0)->text(), QString("123*700"));
    QCOMPARE(Box(d, 1)->text(), QString("*700"));
    QCOMPARE(Box(d, 2)->text(), QString("12345"));
    QCOMPARE(Box(d, FrmDTMF::kPttIdEndBox)->text(), QString("789*700"));
    QCOMPARE(Box(d, FrmDTMF::kKillBox)->text(), QString("*456"));

    ChooseText(List(d, "ComboSeparator"), "#");
    QCOMPARE(Box(d, 0)->text(), QString("123#700"));
    QCOMPARE(Box(d, 1)->text(), QString("#700"));
    QCOMPARE(Box(d, FrmDTMF::kKillBox)->text(), QString("*456"));

    PressOk(d);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(s.OwnId.Clean(), std::string("700"));
    QCOMPARE(s.Separator, int16_t(15));
    QCOMPARE(s.Codes[0].Valid(), std::string("123F700"));
    QCOMPARE(s.Codes[0].Length, int16_t(7));
    QCOMPARE(s.Codes[1].Valid(), std::string("F700"));
    QCOMPARE(s.Codes[2].Valid(), std::string("12345"));
    QCOMPARE(s.KillCode.Valid(), std::string("E456"));
  }

  // OK pressed without leaving the ID box (its shortcut, or a click that takes no focus)
  // still finishes the ID before the save.
  void okFinishesTheIdBeingEdited() {
    DtmfSettings s;
    s.OwnId = "456";
    s.Codes[3] = Code<24>("120E456");
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    TypeInto(d.OwnIdBox(), "9");
    QVERIFY(d.OwnIdBox()->hasFocus());
    d.findChild<QPushButton*>("CommandOK")->click();  // click() moves no focus
    QTRY_VERIFY(!d.isVisible());
    QCOMPARE(s.OwnId.Clean(), std::string("900"));
    QCOMPARE(s.Codes[3].Valid(), std::string("120E900"));
  }

  void killEqualToStunIsRefused_data() {
    QTest::addColumn<QString>("kill");
    QTest::addColumn<QString>("stun");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("both empty") << ""
                                << "" << true;
    QTest::newRow("different") << "123"
                               << "124" << true;
    QTest::newRow("kill only") << "123"
                               << "" << true;
    QTest::newRow("equal") << "12*#"
                           << "12*#" << false;
  }
  void killEqualToStunIsRefused() {
    QFETCH(QString, kill);
    QFETCH(QString, stun);
    QFETCH(bool, accepted);
    DtmfSettings s;
    const DtmfSettings before = s;
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    TypeInto(Box(d, FrmDTMF::kKillBox), kill);
    TypeInto(Box(d, FrmDTMF::kStunBox), stun);
    Click(&d, "CommandOK");
    QTest::qWait(20);
    if (accepted) {
      QVERIFY(!d.isVisible());
      QVERIFY(prompts.shown.empty());
      QCOMPARE(QString::fromStdString(DtmfToDisplay(s.KillCode.Valid())), kill);
      QCOMPARE(s.KillCode.Length, int16_t(kill.size()));
    } else {
      QVERIFY(d.isVisible());
      QCOMPARE(prompts.shown.size(), size_t(1));
      QCOMPARE(prompts.shown[0].text, lang_.GetLangText(3001));
      QVERIFY(Box(d, FrmDTMF::kKillBox)->hasFocus());
      QVERIFY(s == before);
    }
  }

  // Stored values that no entry shows are corrected as they are shown; the shown entry is
  // what OK saves.
  void listsShowAndSaveTheirValues_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("saved");
    QTest::newRow("group code C") << "GroupCode" << 12 << "ComboGroupCode"
                                  << "C" << 12;
    QTest::newRow("group code off") << "GroupCode" << 255 << "ComboGroupCode"
                                    << "Off" << 255;
    QTest::newRow("group code out of range") << "GroupCode" << 3 << "ComboGroupCode"
                                             << "Off" << 255;
    QTest::newRow("separator 9") << "Separator" << 9 << "ComboSeparator"
                                 << "*" << 14;
    QTest::newRow("pause time 3") << "PauseTime" << 3 << "ComboPauseTime"
                                  << "Off" << 0;
    QTest::newRow("pause time 40") << "PauseTime" << 40 << "ComboPauseTime"
                                   << "40" << 40;
    QTest::newRow("pre-send 7") << "PreSendDelay" << 7 << "ComboPreSendDelay"
                                << "70" << 7;
    QTest::newRow("pre-send 0") << "PreSendDelay" << 0 << "ComboPreSendDelay"
                                << "10" << 1;
    QTest::newRow("reset time 25") << "ResetTime" << 25 << "ComboResetTime"
                                   << "2.5" << 25;
    QTest::newRow("first digit 300") << "FirstDigitDelay" << 300 << "ComboFirstDigitDelay"
                                     << "0" << 0;
    QTest::newRow("ani 5") << "Ani" << 5 << "ComboAni"
                           << "Off" << 0;
    QTest::newRow("send time 5") << "SendTime" << 5 << "ComboSendTime"
                                 << "500\u00A0ms" << 5;
    QTest::newRow("ptt id mode hidden") << "PttIdMode" << 2 << "ComboPttIdMode"
                                        << "End" << 2;
  }
  void listsShowAndSaveTheirValues() {
    QFETCH(QString, field);
    QFETCH(int, stored);
    QFETCH(QString, list);
    QFETCH(QString, shown);
    QFETCH(int, saved);
    DtmfSettings s;
    const std::map<QString, int16_t*> fields = {{"GroupCode", &s.GroupCode},
                                                {"Separator", &s.Separator},
                                                {"PauseTime", &s.PauseTime},
                                                {"PreSendDelay", &s.PreSendDelay},
                                                {"ResetTime", &s.ResetTime},
                                                {"FirstDigitDelay", &s.FirstDigitDelay},
                                                {"Ani", &s.Ani},
                                                {"SendTime", &s.SendTime},
                                                {"PttIdMode", &s.PttIdMode}};
    *fields.at(field) = static_cast<int16_t>(stored);
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    QCOMPARE(List(d, list.toLatin1())->currentText(), shown);
    PressOk(d);
    QCOMPARE(int(*fields.at(field)), saved);
  }

  // Choosing the first group-code entry switches the group call off: 255.
  void choosingGroupCodeOffSaves255() {
    DtmfSettings s;
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    QCOMPARE(List(d, "ComboGroupCode")->currentText(), QString("A"));
    ChooseEntry(List(d, "ComboGroupCode"), 0);
    PressOk(d);
    QCOMPARE(s.GroupCode, kDtmfGroupCodeOff);
  }

  void keyRulesOfTheBoxes() {
    DtmfSettings s;
    ScriptedPrompts prompts;
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    TypeInto(Box(d, 4), "1a*#e5d9x");
    QCOMPARE(Box(d, 4)->text(), QString("1A*#5D9"));
    QTest::keyClick(Box(d, 4), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(Box(d, 4), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(Box(d, 4)->text(), QString("1A*#5D9"));
    // Nor does a context menu offer Paste.
    QCOMPARE(Box(d, 4)->contextMenuPolicy(), Qt::NoContextMenu);
    TypeInto(Box(d, FrmDTMF::kKillBox), "123456789012345678");
    QCOMPARE(Box(d, FrmDTMF::kKillBox)->text().size(), 14);
    TypeInto(d.OwnIdBox(), "1x2*3");
    QCOMPARE(d.OwnIdBox()->text(), QString("123"));
    // Enter moves on; the box that got the focus is the one Special writes into.
    TypeInto(Box(d, 6), "");
    QCOMPARE(d.CurDTMFEditID(), 6);
    QTest::keyClick(Box(d, 6), Qt::Key_Return);
    QVERIFY(!Box(d, 6)->hasFocus());
  }

  // Codes show in display form and are saved in stored form with their length; Cancel keeps
  // the record.
  void codesShowInDisplayFormAndCancelKeepsTheRecord() {
    DtmfSettings s;
    s.Codes[15] = Code<24>("1E3F");
    s.StunCode = Code<14>("9");
    const DtmfSettings before = s;
    ScriptedPrompts prompts;
    {
      FrmDTMF d(s, lang_, prompts);
      Open(d);
      QCOMPARE(Box(d, 15)->text(), QString("1*3#"));
      QCOMPARE(Box(d, FrmDTMF::kStunBox)->text(), QString("9"));
      TypeInto(Box(d, 15), "#");
      Click(&d, "CommandCancel");
      QVERIFY(s == before);
    }
    FrmDTMF d(s, lang_, prompts);
    Open(d);
    TypeInto(Box(d, 15), "*0#");
    PressOk(d);
    QCOMPARE(s.Codes[15].Valid(), std::string("E0F"));
    QCOMPARE(s.Codes[15].Length, int16_t(3));
  }

  // The DTMF tree node and menu entry open the window on the working data.
  void openedFromTheMainWindow() {
    WorldOptions options;
    options.features.DtmfFeature = 1;
    UiWorld world(options);
    int opened = 0;
    world.OnDialog([&](QDialog& d) {
      auto* dtmf = qobject_cast<FrmDTMF*>(&d);
      if (!dtmf) return int(QDialog::Rejected);
      ++opened;
      dtmf->OwnIdBox()->setText(QString::number(300 + opened));
      dtmf->findChild<QPushButton*>("CommandOK")->click();
      QTest::qWait(20);  // the zero-time save
      return d.result();
    });
    world.main().tvTreeView_NodeClick("N5");
    QCOMPARE(opened, 1);
    QCOMPARE(world.ws.settings.Dtmf.OwnId.Clean(), std::string("301"));
    world.main().findChild<QAction*>("MnuViewDTMF")->trigger();
    QCOMPARE(opened, 2);
    QCOMPARE(world.ws.settings.Dtmf.OwnId.Clean(), std::string("302"));
  }

  void screenshots() {
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      DtmfSettings s;
      s.Codes[0] = Code<24>("123E000");
      s.PttIdBegin = Code<24>("E000");
      ScriptedPrompts prompts;
      FrmDTMF d(s, lang, prompts);
      Shoot(&d, language == kLanguageEnglish ? "FrmDTMF_en" : "FrmDTMF_zh");
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrmDtmf)
#include "test_frm_dtmf.moc"
