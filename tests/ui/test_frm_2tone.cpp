// The two-tone window driven as a user drives it: decode cells committed through the floating
// editors (limits, dividers, emptying a row, where Enter goes), the tone boxes with their
// defaults and limits, the call format on OK, and the channel references after OK.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"
#include "frm_settings_helpers.h"
#include "support/DialogTestSteps.h"
#include "support/UiWorld.h"
#include "ui/Frm2Tone.h"

using namespace kvx;
using namespace kvx::test;

namespace {

QString Cell(Frm2Tone& d, int entry, int column) {
  return d.Grid()->item(entry, column)->text();
}

QLineEdit* Tone(QWidget& d, int t) {
  return d.findChild<QLineEdit*>(QStringLiteral("TextTone_%1").arg(t));
}

// Opens the decode page and the editor over a cell, as a click on it does.
void ClickCell(Frm2Tone& d, int entry, int column) {
  d.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
  QTableWidget* grid = d.Grid();
  grid->scrollToItem(grid->item(entry, column));
  const QRect r = grid->visualItemRect(grid->item(entry, column));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

}  // namespace

class TestFrm2Tone : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  void decodeToneIsLimitedWithItsDivider_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("tenths");
    QTest::addColumn<int>("divider");
    QTest::newRow("below") << "100"
                           << "288.0" << 2880 << 2083;
    QTest::newRow("above") << "5000"
                           << "3116.0" << 31160 << 192;
    QTest::newRow("1000") << "1000"
                          << "1000.0" << 10000 << 600;
    QTest::newRow("tenths") << "321.7"
                            << "321.7" << 3217 << 1865;
  }
  void decodeToneIsLimitedWithItsDivider() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, tenths);
    QFETCH(int, divider);
    SettingsRecord s;
    ChannelList channels;
    Frm2Tone d(s, channels, lang_);
    Open(d);
    ClickCell(d, 3, 1);
    QVERIFY(d.NumberBox()->isVisible());
    QVERIFY(d.NumberBox()->hasFocus());
    for (int column : {1, 2}) {
      QCOMPARE(d.Grid()->currentColumn(), column);
      QTest::keyClicks(d.NumberBox(), typed);
      QTest::keyClick(d.NumberBox(), Qt::Key_Return);
      QCOMPARE(Cell(d, 3, column), shown);
    }
    const TwoToneEntry& e = d.Working().TwoTone.Entries[3];
    QCOMPARE(e.Empty, int16_t(0));
    QCOMPARE(int(e.RxTone1), tenths);
    QCOMPARE(int(e.RxDivider1), divider);
    QCOMPARE(int(e.RxTone2), tenths);
    QCOMPARE(int(e.RxDivider2), divider);
  }

  // Emptying the first tone empties the whole row; emptying the second clears only it.
  void emptyingCellsOfARow() {
    SettingsRecord s;
    s.TwoTone.Entries[0].Name = "FIRE";
    ChannelList channels;
    Frm2Tone d(s, channels, lang_);
    Open(d);
    QCOMPARE(Cell(d, 0, 1), QString("321.7"));
    QCOMPARE(Cell(d, 0, 2), QString("928.1"));
    QCOMPARE(Cell(d, 0, 3), QString("FIRE"));
    ClickCell(d, 0, 2);
    QTest::keyClick(d.NumberBox(), Qt::Key_Backspace);
    QTest::keyClick(d.NumberBox(), Qt::Key_Return);  // on to the name
    QVERIFY(d.NameBox()->isVisible());
    QCOMPARE(Cell(d, 0, 2), QString());
    QCOMPARE(int(d.Working().TwoTone.Entries[0].RxDivider2), 0);
    QCOMPARE(Cell(d, 0, 1), QString("321.7"));

    ClickCell(d, 0, 1);
    QTest::keyClick(d.NumberBox(), Qt::Key_Backspace);
    d.CommitCell();
    for (int c = 1; c <= 3; ++c) QCOMPARE(Cell(d, 0, c), QString());
    Click(&d, "CommandOK");
    const TwoToneEntry& e = s.TwoTone.Entries[0];
    QCOMPARE(e.Empty, int16_t(1));
    QCOMPARE(int(e.RxTone1 | e.RxTone2 | e.RxDivider1 | e.RxDivider2), 0);
    QCOMPARE(e.Name.Clean(), std::string());
  }

  // The second tone and the name of a row without a first tone cannot be entered; Enter walks
  // the row and on to the next one.
  void cellEntryAndEnterKeys() {
    SettingsRecord s;
    ChannelList channels;
    Frm2Tone d(s, channels, lang_);
    Open(d);
    ClickCell(d, 5, 3);
    QCOMPARE(d.Grid()->currentColumn(), 1);
    QVERIFY(d.NumberBox()->isVisible());
    QTest::keyClick(d.NumberBox(), Qt::Key_Return);  // empty first tone: one row down
    QCOMPARE(d.Grid()->currentRow(), 6);
    QCOMPARE(d.Grid()->currentColumn(), 1);
    QTest::keyClicks(d.NumberBox(), "1000");
    QTest::keyClick(d.NumberBox(), Qt::Key_Return);
    QCOMPARE(d.Grid()->currentColumn(), 2);
    QTest::keyClick(d.NumberBox(), Qt::Key_Return);
    QCOMPARE(d.Grid()->currentColumn(), 3);
    QVERIFY(d.NameBox()->hasFocus());
    QTest::keyClicks(d.NameBox(), "AB\\~C  DEFG");  // "\" and "~" refused, 7 at most
    QCOMPARE(d.NameBox()->text(), QString("ABC  DE"));
    QTest::keyClick(d.NameBox(), Qt::Key_Return);
    QCOMPARE(d.Grid()->currentRow(), 7);
    QCOMPARE(d.Grid()->currentColumn(), 1);
    QCOMPARE(d.Working().TwoTone.Entries[6].Name.Clean(), std::string("ABC  DE"));
    // From the last row Enter goes back to the first.
    ClickCell(d, 31, 1);
    QTest::keyClick(d.NumberBox(), Qt::Key_Return);
    QCOMPARE(d.Grid()->currentRow(), 0);
  }

  // Unset tones show their defaults; "Long B" sends tone B alone.
  void toneDefaultsAndLongB() {
    SettingsRecord s;
    s.TwoTone.ToneC = 0xFF10;  // high byte 0xFF: not set either
    s.TwoTone.ToneD = 0x0150;  // 33.6 Hz: kept
    ChannelList channels;
    Frm2Tone d(s, channels, lang_);
    Open(d);
    QCOMPARE(Tone(d, 0)->text(), QString("321.7"));
    QCOMPARE(Tone(d, 1)->text(), QString("928.1"));
    QCOMPARE(Tone(d, 2)->text(), QString("626.5"));
    QCOMPARE(Tone(d, 3)->text(), QString("33.6"));
    QCOMPARE(d.Working().TwoTone.FirstDivider, kDefaultDivider);
    // "A-B": tones A and B can be edited.
    QVERIFY(Tone(d, 0)->isEnabled() && Tone(d, 1)->isEnabled());
    QVERIFY(!Tone(d, 2)->isEnabled() && !Tone(d, 3)->isEnabled());

    ChooseText(d.findChild<QComboBox*>("ComboCallFormat"), "Long B");
    QVERIFY(!Tone(d, 0)->isEnabled() && Tone(d, 1)->isEnabled());
    TypeInto(Tone(d, 1), "1000");
    Click(&d, "CommandOK");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    const TwoToneSettings& t = s.TwoTone;
    QCOMPARE(int(t.CallFormat), 13);
    QCOMPARE(int(t.FirstTone), 10000);
    QCOMPARE(int(t.FirstDivider), 4800);
    QCOMPARE(int(t.SecondTone), 0);
    QCOMPARE(int(t.SecondDivider), 0);
    QCOMPARE(int(t.ToneB), 10000);
    QCOMPARE(int(t.ToneD), 2800);  // OK limits every box: 280 Hz at least
  }

  // A tone box is limited to 288 ... 3116 when left; on OK a non-number becomes 2000 and the
  // low limit is 280.
  void toneBoxLimits_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("afterLeaving");
    QTest::newRow("low") << "100"
                         << "288.0";
    QTest::newRow("empty") << ""
                           << "288.0";
    QTest::newRow("high") << "4000"
                          << "3116.0";
    QTest::newRow("inside") << "1500.5"
                            << "1500.5";
  }
  void toneBoxLimits() {
    QFETCH(QString, typed);
    QFETCH(QString, afterLeaving);
    SettingsRecord s;
    ChannelList channels;
    Frm2Tone d(s, channels, lang_);
    Open(d);
    Tone(d, 0)->setFocus();
    Tone(d, 0)->selectAll();
    QTest::keyClick(Tone(d, 0), Qt::Key_Backspace);
    QTest::keyClicks(Tone(d, 0), typed);
    QTest::keyClick(Tone(d, 0), Qt::Key_Tab);
    QCOMPARE(Tone(d, 0)->text(), afterLeaving);
  }
  void okLimitsTheToneBoxes() {
    SettingsRecord s;
    ChannelList channels;
    Frm2Tone d(s, channels, lang_);
    Open(d);
    Tone(d, 0)->setText(".");
    Tone(d, 1)->setText("250");
    Tone(d, 2)->setText("9999");
    Click(&d, "CommandOK");
    QCOMPARE(int(s.TwoTone.ToneA), 20000);
    QCOMPARE(int(s.TwoTone.ToneB), 2800);
    QCOMPARE(int(s.TwoTone.ToneC), 31160);
    QCOMPARE(int(s.TwoTone.FirstTone), 20000);  // "A-B"
    QCOMPARE(int(s.TwoTone.SecondTone), 2800);
  }

  // Lists: out-of-range values show their stated entries and are saved from them.
  void listsShowAndSave() {
    SettingsRecord s;
    s.TwoTone.Time1 = 2;    // below the list: first entry
    s.TwoTone.Time3 = 200;  // "1.0"
    s.TwoTone.Time4 = 30;   // "1000"
    s.TwoTone.Time5 = 25;
    s.TwoTone.Sidetone = 3;
    ChannelList channels;
    Frm2Tone d(s, channels, lang_);
    Open(d);
    QCOMPARE(d.findChild<QComboBox*>("ComboTime1")->currentText(), QString("0.5"));
    QCOMPARE(d.findChild<QComboBox*>("ComboTime3")->currentText(), QString("1.0"));
    QCOMPARE(d.findChild<QComboBox*>("ComboTime4")->currentText(), QString("1000"));
    QCOMPARE(d.findChild<QComboBox*>("ComboTime5")->currentText(), QString("2.5"));
    QVERIFY(!d.findChild<QCheckBox*>("CheckSidetone")->isChecked());
    Click(&d, "CommandOK");
    QCOMPARE(int(s.TwoTone.Time1), 5);
    QCOMPARE(int(s.TwoTone.Time3), 10);
    QCOMPARE(int(s.TwoTone.Time4), 10);
    QCOMPARE(int(s.TwoTone.Time5), 25);
    QCOMPARE(int(s.TwoTone.Sidetone), 0);
  }

  // OK points channels at entries still in use; Cancel keeps everything.
  void okRepairsChannelReferencesAndCancelKeeps() {
    SettingsRecord s;
    s.TwoTone.Entries[4].Empty = 0;
    s.TwoTone.Entries[4].RxDivider1 = 600;
    s.TwoTone.Entries[4].RxTone1 = 10000;
    ChannelList channels;
    ChannelRecord c = EmptyChannel(1);
    c.InUse = 1;
    c.Signalling = 2;
    c.TwoToneCode = 0;
    channels.AppendChannel(c);
    {
      const SettingsRecord before = s;
      Frm2Tone d(s, channels, lang_);
      Open(d);
      ClickCell(d, 0, 1);
      QTest::keyClick(d.NumberBox(), Qt::Key_Backspace);
      Click(&d, "CommandCancel");
      QVERIFY(s == before);
      QCOMPARE(channels.Used()[0].TwoToneCode, int16_t(0));
    }
    Frm2Tone d(s, channels, lang_);
    Open(d);
    ClickCell(d, 0, 1);
    QTest::keyClick(d.NumberBox(), Qt::Key_Backspace);
    Click(&d, "CommandOK");  // the cell being edited is committed by OK
    QVERIFY(!s.TwoTone.Entries[0].InUse());
    QCOMPARE(channels.Used()[0].TwoToneCode, int16_t(4));
  }

  // The two-tone tree node and menu entry open the window on the working data; OK re-points
  // the channels.
  void openedFromTheMainWindow() {
    WorldOptions options;
    options.features.TwoToneFeature = 1;
    UiWorld world(options);
    ChannelRecord c = MakeChannel(1, "014500000");
    c.Signalling = 2;
    c.TwoToneCode = 9;
    world.ws.channels.AppendChannel(c);
    for (TwoToneEntry& e : world.ws.settings.TwoTone.Entries) e.Empty = 1;
    world.ws.settings.TwoTone.Entries[4] = TwoToneSettings::DefaultEntries()[0];
    int opened = 0;
    world.OnDialog([&](QDialog& d) {
      if (!qobject_cast<Frm2Tone*>(&d)) return int(QDialog::Rejected);
      ++opened;
      Click(&d, "CommandOK");
      return d.result();
    });
    world.main().tvTreeView_NodeClick("N6");
    QCOMPARE(opened, 1);
    QCOMPARE(int(world.ws.channels.Used().back().TwoToneCode), 4);
    world.main().findChild<QAction*>("MnuView2Tone")->trigger();
    QCOMPARE(opened, 2);
  }

  void screenshots() {
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      SettingsRecord s;
      s.TwoTone.Entries[0].Name = "DEPOT";
      ChannelList channels;
      Frm2Tone d(s, channels, lang);
      const QString suffix = language == kLanguageEnglish ? "_en" : "_zh";
      Shoot(&d, "Frm2Tone" + suffix);
      d.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
      Shoot(&d, "Frm2Tone_decode" + suffix);
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrm2Tone)
#include "test_frm_2tone.moc"
