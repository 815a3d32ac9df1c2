// The channel edit dialog as a user drives it: typing frequencies, storing, deleting by
// clearing, walking with Previous and Next, the squelch offer and the scan and alert
// references. Opened from the main window's grid like the user opens it.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/UiWorld.h"
#include "ui/ChannelGridModel.h"
#include "ui/FrmCHEdit.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

template <class T>
T* Get(QDialog& d, const char* name) {
  T* w = d.findChild<T*>(name);
  if (!w) qFatal("no control %s", name);
  return w;
}

void Choose(QDialog& d, const char* combo, int index) {
  auto* c = Get<QComboBox>(d, combo);
  c->setCurrentIndex(index);
  emit c->activated(index);
}

void Click(QDialog& d, const char* button) {
  QTest::mouseClick(Get<QAbstractButton>(d, button), Qt::LeftButton);
  Settle();
}

void Retype(QDialog& d, const char* box, const QString& text) {
  auto* e = Get<QLineEdit>(d, box);
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, text);
}

// A click on the box itself (a wide check box is not hit at its centre).
void Tick(QDialog& d, const char* name) {
  auto* c = Get<QCheckBox>(d, name);
  QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2));
}

QList<int> SquelchModes(QDialog& d) {
  auto* c = Get<QComboBox>(d, "Combo1_9");
  QList<int> modes;
  for (int i = 0; i < c->count(); ++i) modes << c->itemData(i).toInt();
  return modes;
}

// Opens the dialog on `row` and runs `script` in it.
void Edit(UiWorld& w, int row, const std::function<void(QDialog&)>& script) {
  frmMain& m = w.main();
  m.show();
  m.SetCurrentCell(row, 1);
  w.OnDialog(script);
  m.mnuEditCH_Click();
}

}  // namespace

class TestChannelEdit : public QObject {
  Q_OBJECT
 private slots:
  void emptyRowWaitsForReceiveFrequency();
  void typedTransmitFrequencyGivesShiftAndOffset_data();
  void typedTransmitFrequencyGivesShiftAndOffset();
  void emptyTransmitBoxTakesTheBandLimit();
  void clearingTheReceiveFrequencyDeletes();
  void callAndVfoCannotBeEmptied();
  void previousAndNextWalkAndStore();
  void squelchOffer();
  void fieldsRoundTrip();
  void referencesFollowDeletedChannels();
  void keyRules();
};

void TestChannelEdit::emptyRowWaitsForReceiveFrequency() {
  UiWorld w;
  Edit(w, 10, [](QDialog& d) {
    QVERIFY(d.windowTitle().endsWith(" CH--9"));
    QCOMPARE(Get<QLineEdit>(d, "Text1_0")->text(), QString());
    QVERIFY(Get<QLineEdit>(d, "Text1_0")->isEnabled());
    for (const char* name : {"Text1_10", "Text1_2", "Combo1_0", "Combo2", "Check1", "Text2"})
      QVERIFY2(!Get<QWidget>(d, name)->isEnabled(), name);
    QTest::keyClicks(Get<QLineEdit>(d, "Text1_0"), "1");
    for (const char* name : {"Text1_10", "Text1_2", "Combo1_0", "Combo2", "Check1", "Text2"})
      QVERIFY2(Get<QWidget>(d, name)->isEnabled(), name);
    Click(d, "CommandCancel");
  });
  QVERIFY(!w.ws.channels.ChannelExists(10));
  QVERIFY(w.prompts.shown.empty());
}

void TestChannelEdit::typedTransmitFrequencyGivesShiftAndOffset_data() {
  QTest::addColumn<QString>("tx");
  QTest::addColumn<int>("shift");
  QTest::addColumn<QString>("offset");
  QTest::addColumn<QString>("gridTx");
  QTest::newRow("minus") << "144.4" << 1 << "000060000"
                         << "144.40000";
  QTest::newRow("plus") << "145.6" << 2 << "000060000"
                        << "145.60000";
  QTest::newRow("equal") << "145.00000" << 0 << "000000000"
                         << "145.00000";
}

void TestChannelEdit::typedTransmitFrequencyGivesShiftAndOffset() {
  QFETCH(QString, tx);
  QFETCH(int, shift);
  QFETCH(QString, offset);
  QFETCH(QString, gridTx);
  UiWorld w;
  Edit(w, 10, [&](QDialog& d) {
    QTest::keyClicks(Get<QLineEdit>(d, "Text1_0"), "145");
    Retype(d, "Text1_10", tx);
    Click(d, "CommandOK");
    QCOMPARE(d.result(), int(QDialog::Accepted));
  });
  const ChannelRecord* c = w.ws.channels.Find(10);
  QVERIFY(c);
  QCOMPARE(c->RxFreq.Clean(), std::string("014500000"));
  QCOMPARE(c->Shift, int16_t(shift));
  QCOMPARE(QString::fromStdString(c->Offset.Clean()), offset);
  QCOMPARE(c->InUse, int16_t(1));
  QCOMPARE(c->PttIdCode.Clean(), std::string("00000"));
  QCOMPARE(w.main().gridModel()->CellText(10, 1), QString("145.00000"));
  QCOMPARE(w.main().gridModel()->CellText(10, 2), gridTx);
  QVERIFY(w.prompts.shown.empty());
}

void TestChannelEdit::emptyTransmitBoxTakesTheBandLimit() {
  UiWorld w;
  Edit(w, 20, [&](QDialog& d) {
    QTest::keyClicks(Get<QLineEdit>(d, "Text1_0"), "145.0125");
    Retype(d, "Text1_10", "");
    Click(d, "CommandOK");
  });
  QVERIFY(w.prompts.Saw(w.ws.lang.GetLangText(2001)));
  const ChannelRecord* c = w.ws.channels.Find(20);
  QVERIFY(c);
  QCOMPARE(c->RxFreq.Clean(), std::string("014501250"));
  QCOMPARE(c->Shift, int16_t(1));
  QCOMPARE(c->Offset.Clean(), std::string("000901250"));  // down to 136.00000
  QCOMPARE(w.main().gridModel()->CellText(20, 2), QString("136.00000"));
}

void TestChannelEdit::clearingTheReceiveFrequencyDeletes() {
  UiWorld w;
  w.ws.channels.AppendChannel(MakeChannel(5, "014500000"));
  Edit(w, 5, [&](QDialog& d) {
    QCOMPARE(Get<QLineEdit>(d, "Text1_0")->text(), QString("145.00000"));
    Retype(d, "Text1_0", "");
    QVERIFY(!Get<QWidget>(d, "Combo1_0")->isEnabled());
    Click(d, "CommandOK");
    QCOMPARE(d.result(), int(QDialog::Accepted));
  });
  QVERIFY(!w.ws.channels.ChannelExists(5));
  QCOMPARE(w.main().gridModel()->CellText(5, 1), QString());
}

void TestChannelEdit::callAndVfoCannotBeEmptied() {
  for (int n : {kChannelVfo, kChannelCall}) {
    UiWorld w;
    const ChannelRecord before = *w.ws.channels.Find(n);
    Edit(w, n, [&](QDialog& d) {
      // The name of CALL and VFO is not edited; scan skip only on CALL.
      QVERIFY(!Get<QWidget>(d, "Text1_2")->isEnabled());
      QCOMPARE(Get<QWidget>(d, "Check6")->isEnabled(), n == kChannelCall);
      Retype(d, "Text1_0", "");
      Click(d, "CommandOK");
      QVERIFY(d.isVisible());
      QCOMPARE(d.result(), int(QDialog::Rejected));
      QCOMPARE(static_cast<FrmCHEdit&>(d).Channel(), n);
      Click(d, "CommandCancel");
    });
    QVERIFY(w.prompts.Saw(n == kChannelVfo ? "VFO can't be null!" : "CALL can't be null!"));
    QCOMPARE(*w.ws.channels.Find(n), before);
  }
}

void TestChannelEdit::previousAndNextWalkAndStore() {
  UiWorld w;
  w.ws.channels.AppendChannel(MakeChannel(1, "014500000"));
  Edit(w, 1, [&](QDialog& d) {
    QVERIFY(!Get<QWidget>(d, "Command1")->isEnabled());
    QVERIFY(Get<QWidget>(d, "Command2")->isEnabled());
    Click(d, "CommandCancel");
  });
  Edit(w, kChannelCall, [&](QDialog& d) {
    Retype(d, "Text2", "12");
    Click(d, "Command2");
    auto& e = static_cast<FrmCHEdit&>(d);
    QCOMPARE(e.Channel(), int(kChannelVfo));
    QVERIFY(d.windowTitle().endsWith(" CH--203"));
    QVERIFY(!Get<QWidget>(d, "Command2")->isEnabled());
    // Previous stores VFO and goes back to CALL, which now shows what was stored.
    Click(d, "Command1");
    QCOMPARE(e.Channel(), int(kChannelCall));
    QCOMPARE(Get<QLineEdit>(d, "Text2")->text(), QString("12000"));
    // Cancel keeps what the walk stored.
    Click(d, "CommandCancel");
  });
  QCOMPARE(w.ws.channels.Find(kChannelCall)->PttIdCode.Clean(), std::string("12000"));
  QCOMPARE(w.ws.app.CurrentEditChannel, int16_t(kChannelCall));
}

void TestChannelEdit::squelchOffer() {
  WorldOptions o;
  o.features.DtmfFeature = 1;
  UiWorld w(o);
  w.ws.channels.AppendChannel(MakeChannel(3, "014500000"));
  Edit(w, 3, [&](QDialog& d) {
    QCOMPARE(SquelchModes(d), QList<int>({0}));
    Tick(d, "Check4_0");  // reverse
    QVERIFY(Get<QCheckBox>(d, "Check4_0")->isChecked());
    Choose(d, "Combo1_10", 1);  // setting B: CTCSS
    QVERIFY(Get<QWidget>(d, "Combo3_1")->isVisible());
    QCOMPARE(SquelchModes(d), QList<int>({0, 1}));
    Choose(d, "Combo1_4", 1);  // DTMF
    QCOMPARE(Get<QComboBox>(d, "Combo1_4")->currentText(), QString("DTMF"));
    QVERIFY(Get<QWidget>(d, "Combo4_0")->isVisible());
    QCOMPARE(SquelchModes(d), QList<int>({0, 1, 2, 3, 4}));
    Choose(d, "Combo1_9", 4);
    // Talkaround clears reverse; setting A is none: modes 0 and 2, mode 4 no longer offered.
    Tick(d, "Check4_1");
    QVERIFY(!Get<QCheckBox>(d, "Check4_0")->isChecked());
    QCOMPARE(SquelchModes(d), QList<int>({0, 2}));
    QCOMPARE(Get<QComboBox>(d, "Combo1_9")->currentData().toInt(), 0);
    Choose(d, "Combo1_9", 1);
    // DCS for setting A shows its list and a cleared inverted box.
    Choose(d, "Combo1_5", 2);
    QVERIFY(Get<QWidget>(d, "Combo3_2")->isVisible());
    QVERIFY(Get<QWidget>(d, "Check2_0")->isVisible());
    QCOMPARE(SquelchModes(d), QList<int>({0, 1, 2, 3, 4}));
    QCOMPARE(Get<QComboBox>(d, "Combo1_9")->currentData().toInt(), 2);  // kept
    Click(d, "CommandOK");
  });
  const ChannelRecord* c = w.ws.channels.Find(3);
  QCOMPARE(c->Signalling, int16_t(1));
  QCOMPARE(c->SquelchMode, int16_t(2));
  QCOMPARE(c->ToneAType, int16_t(2));
  QCOMPARE(c->ToneBType, int16_t(1));
  QCOMPARE(c->Talkaround, int16_t(1));
  QCOMPARE(c->Reverse, int16_t(0));
}

void TestChannelEdit::fieldsRoundTrip() {
  UiWorld w;
  ChannelRecord c = MakeChannel(7, "014500000", 2, "000060000");
  c.AdditionalDisplay = 4;
  c.Power = 3;
  c.Name = "AB";
  c.ToneBType = 2;
  c.ToneBDcs = 300;
  c.ToneBInverted = 1;
  c.ToneACtcss = 33;  // hidden list (type none): stored back unchanged
  c.Signalling = 2;   // two-tone not offered: shown as none
  c.RawByte27 = 99;
  c.ListFlag = 1;
  w.ws.channels.AppendChannel(c);
  Edit(w, 7, [&](QDialog& d) {
    QCOMPARE(Get<QComboBox>(d, "Combo1_12")->currentIndex(), 3);
    QCOMPARE(Get<QComboBox>(d, "Combo1_2")->currentIndex(), 2);
    QCOMPARE(Get<QLineEdit>(d, "Text1_10")->text(), QString("145.60000"));
    QCOMPARE(Get<QLineEdit>(d, "Text1_1")->text(), QString("0.60000"));
    QCOMPARE(Get<QLineEdit>(d, "Text1_2")->text(), QString("A"));
    QCOMPARE(Get<QLineEdit>(d, "Text1_3")->text(), QString("B"));
    QCOMPARE(Get<QLineEdit>(d, "Text1_4")->text(), QString());
    QVERIFY(Get<QWidget>(d, "Combo3_3")->isVisible());
    QCOMPARE(Get<QComboBox>(d, "Combo3_3")->currentText(), QString("454"));
    QVERIFY(Get<QCheckBox>(d, "Check2_1")->isChecked());
    QCOMPARE(Get<QComboBox>(d, "Combo1_4")->currentIndex(), 0);
    QVERIFY(!Get<QWidget>(d, "Check3")->isVisible());
    QVERIFY(!Get<QWidget>(d, "Combo1_7")->isVisible());  // no DTMF feature
    Click(d, "CommandOK");
  });
  const ChannelRecord* s = w.ws.channels.Find(7);
  QCOMPARE(s->AdditionalDisplay, int16_t(4));
  QCOMPARE(s->Power, int16_t(2));
  QCOMPARE(s->Name.Clean(), std::string("AB"));
  QCOMPARE(s->Shift, int16_t(2));
  QCOMPARE(s->Offset.Clean(), std::string("000060000"));
  QCOMPARE(s->ToneBDcs, int16_t(300));
  QCOMPARE(s->ToneBInverted, int16_t(1));
  QCOMPARE(s->ToneACtcss, int16_t(33));
  QCOMPARE(s->Signalling, int16_t(0));
  QCOMPARE(s->RawByte27, int16_t(99));
  QCOMPARE(s->ListFlag, int16_t(1));
}

void TestChannelEdit::referencesFollowDeletedChannels() {
  UiWorld w;
  for (int n : {2, 10, 30, 15}) w.ws.channels.AppendChannel(MakeChannel(n, "014500000"));
  w.ws.settings.Scan.PriorityChannel1 = 10;
  w.ws.settings.Scan.PriorityChannel2 = 0;
  w.ws.settings.Alert.EmergencyChannel = 9;  // channel 10
  Edit(w, 10, [&](QDialog& d) {
    Retype(d, "Text1_0", "");
    Click(d, "CommandOK");
  });
  QVERIFY(!w.ws.channels.ChannelExists(10));
  // The last ordinary channel in list order is 15.
  QCOMPARE(w.ws.settings.Scan.PriorityChannel1, uint8_t(15));
  QCOMPARE(w.ws.settings.Scan.PriorityChannel2, uint8_t(0));
  QCOMPARE(w.ws.settings.Alert.EmergencyChannel, uint8_t(14));
}

void TestChannelEdit::keyRules() {
  UiWorld w;
  w.ws.channels.AppendChannel(MakeChannel(6, "014500000"));
  Edit(w, 6, [&](QDialog& d) {
    auto* rx = Get<QLineEdit>(d, "Text1_0");
    rx->setFocus();
    rx->selectAll();
    QTest::keyClicks(rx, "14a6-.5x");
    QCOMPARE(rx->text(), QString("146.5"));
    // Paste is ignored.
    rx->selectAll();
    rx->copy();
    QTest::keyClick(rx, Qt::Key_End);
    QTest::keyClick(rx, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(rx->text(), QString("146.5"));
    // Name boxes: one character each, the focus moves on; "\" and "~" are refused.
    auto* first = Get<QLineEdit>(d, "Text1_2");
    first->setFocus();
    first->clear();
    QTest::keyClick(first, '~');
    QCOMPARE(first->text(), QString());
    QTest::keyClick(first, 'Q');
    QCOMPARE(first->text(), QString("Q"));
    QVERIFY(Get<QLineEdit>(d, "Text1_3")->hasFocus());
    // The PTT-ID code takes digits only; Enter moves on.
    auto* code = Get<QLineEdit>(d, "Text2");
    code->setFocus();
    code->clear();
    QTest::keyClicks(code, "1a2");
    QCOMPARE(code->text(), QString("12"));
    QTest::keyClick(code, Qt::Key_Return);
    QVERIFY(!code->hasFocus());
    QVERIFY(d.isVisible());
    QCOMPARE(rx->contextMenuPolicy(), Qt::NoContextMenu);
    Click(d, "CommandCancel");
  });
  QCOMPARE(w.ws.channels.Find(6)->RxFreq.Clean(), std::string("014500000"));
}

QTEST_MAIN(TestChannelEdit)
#include "test_channel_edit.moc"
