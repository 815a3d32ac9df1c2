// The small windows: file and programming passwords, the serial port dialog, the radio
// information window, the progress window; and the file commands and the initialisation
// command of the main window.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/app/BandTable.h"
#include "core/app/SetupFile.h"
#include "core/image/RadioInfo.h"
#include "support/UiWorld.h"
#include "ui/ChannelGridModel.h"
#include "ui/FrmComSet.h"
#include "ui/FrmEMG.h"
#include "ui/FrmPassWord.h"
#include "ui/FrmProgress.h"
#include "ui/Frm_File_Password.h"
#include "ui/QtPrompts.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

template <class T>
T* Get(QWidget& d, const char* name) {
  T* w = d.findChild<T*>(name);
  if (!w) qFatal("no control %s", name);
  return w;
}

QStringList Entries(QComboBox* c) {
  QStringList l;
  for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
  return l;
}

}  // namespace

class TestDialogs : public QObject {
  Q_OBJECT
 private slots:
  void filePasswordKeyFilter();
  void filePasswordThroughQtPrompts();
  void programPasswordCommand();
  void portDialog();
  void portDialogEmptyList();
  void radioInformationWindow();
  void progressWindow();
  void newAndInitialisation();
};

void TestDialogs::filePasswordKeyFilter() {
  UiWorld w;
  Frm_File_Password d(w.ws.lang, std::string(w.ws.lang.BuiltIn().FilePasswordSetTitle), "OLD");
  d.show();
  QCOMPARE(d.windowTitle(), Q(w.ws.lang.BuiltIn().FilePasswordSetTitle));
  QCOMPARE(Get<QLabel>(d, "Label1")->text(), Q(w.ws.lang.BuiltIn().FilePasswordTitle));
  QCOMPARE(Get<QLabel>(d, "Label1")->alignment() & Qt::AlignRight, Qt::AlignRight);
  auto* box = Get<QLineEdit>(d, "Text1");
  QCOMPARE(box->text(), QString("OLD"));
  QCOMPARE(box->echoMode(), QLineEdit::Normal);
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, "ab-1 z9");
  QCOMPARE(box->text(), QString("AB1Z9"));
  QTest::keyClicks(box, "ABCDEFGHIJ");
  QCOMPARE(box->text().size(), 10);
  QVERIFY(d.DialogCancelled());
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Backspace);
  QTest::mouseClick(Get<QPushButton>(d, "CommandOK"), Qt::LeftButton);
  QVERIFY(!d.DialogCancelled());
  QCOMPARE(d.Password(), std::string());
}

void TestDialogs::filePasswordThroughQtPrompts() {
  UiWorld w;
  QtPrompts prompts(w.ws.lang, nullptr);
  prompts.runner = [](QDialog& d) {
    d.show();
    QTest::keyClicks(Get<QLineEdit>(d, "Text1"), "x7");
    QTest::mouseClick(Get<QPushButton>(d, "CommandOK"), Qt::LeftButton);
    return d.result();
  };
  QCOMPARE(prompts.FilePassword("File Password Set", "A"), std::optional<std::string>("AX7"));
  prompts.runner = [](QDialog& d) {
    d.show();
    QTest::mouseClick(Get<QPushButton>(d, "CommandCancel"), Qt::LeftButton);
    return d.result();
  };
  QCOMPARE(prompts.FilePassword("File Password Set", "A"), std::nullopt);
  QCOMPARE(QtFileFilter("Data File (*.dat)|*.dat"), QString("Data File (*.dat)"));
}

void TestDialogs::programPasswordCommand() {
  UiWorld w;
  w.ws.app.ProgramPassWord = "12";
  frmMain& m = w.main();
  w.OnDialog([&](QDialog& d) {
    QCOMPARE(d.windowTitle(), Q(w.ws.lang.GetLangText(3100)));
    auto* box = Get<QLineEdit>(d, "Text1");
    QCOMPARE(box->echoMode(), QLineEdit::Password);
    QCOMPARE(box->text(), QString("12"));
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "ab345");  // at most four characters
    QTest::mouseClick(Get<QPushButton>(d, "CommandOK"), Qt::LeftButton);
  });
  m.MnuProPassWord_Click();
  QCOMPARE(w.ws.app.ProgramPassWord, std::string("ab34"));
  QCOMPARE(ReadSetupValue(w.ws.app, "ProgramPassWord"), std::string("ab34"));
  // Cancel changes nothing.
  w.OnDialog([&](QDialog& d) {
    QTest::keyClicks(Get<QLineEdit>(d, "Text1"), "9");
    QTest::mouseClick(Get<QPushButton>(d, "CommandCancel"), Qt::LeftButton);
  });
  m.MnuProPassWord_Click();
  QCOMPARE(w.ws.app.ProgramPassWord, std::string("ab34"));
}

void TestDialogs::portDialog() {
  UiWorld w;
  w.ports.ports = {{"ttyS2", "serial"}, {"ttyUSB0", "adapter"}};
  w.ws.app.ComPort = "ttyUSB0";
  {
    FrmComSet d(w.ws, w.ports);
    auto* list = Get<QComboBox>(d, "Combo1");
    QCOMPARE(Entries(list), QStringList({"ttyS2", "ttyUSB0"}));
    QCOMPARE(list->currentText(), QString("ttyUSB0"));
    // The chosen port stays chosen over refreshes; when it goes, the first is chosen.
    list->setCurrentIndex(0);
    w.ports.ports.push_back({"ttyUSB1", ""});
    d.RefreshPorts();
    QCOMPARE(Entries(list), QStringList({"ttyS2", "ttyUSB0", "ttyUSB1"}));
    QCOMPARE(list->currentText(), QString("ttyS2"));
    list->setCurrentIndex(2);
    w.ports.ports.pop_back();
    d.RefreshPorts();
    QCOMPARE(list->currentText(), QString("ttyS2"));
    list->setCurrentIndex(1);
    QTest::mouseClick(Get<QPushButton>(d, "CommandOK"), Qt::LeftButton);
    QCOMPARE(w.ws.app.ComPort, std::string("ttyUSB0"));
    QCOMPARE(ReadSetupValue(w.ws.app, "comPort"), std::string("ttyUSB0"));
  }
  {
    // A stored port the system does not list opens on the first entry; a typed device path is
    // taken as it stands.
    w.ws.app.ComPort = "ttyACM9";
    FrmComSet d(w.ws, w.ports);
    auto* list = Get<QComboBox>(d, "Combo1");
    QCOMPARE(list->currentText(), QString("ttyS2"));
    list->setEditText("/dev/pts/7");
    QTest::mouseClick(Get<QPushButton>(d, "CommandOK"), Qt::LeftButton);
    QCOMPARE(w.ws.app.ComPort, std::string("/dev/pts/7"));
  }
  {
    // That path stays offered the next time although the system does not list it.
    FrmComSet d(w.ws, w.ports);
    QCOMPARE(Get<QComboBox>(d, "Combo1")->currentText(), QString("/dev/pts/7"));
    QTest::mouseClick(Get<QPushButton>(d, "CommandCancel"), Qt::LeftButton);
    QCOMPARE(w.ws.app.ComPort, std::string("/dev/pts/7"));
  }
}

void TestDialogs::portDialogEmptyList() {
  UiWorld w;
  w.ws.app.ComPort = "ttyS0";
  WriteSetupValue(w.ws.app, "comPort", "ttyS0");
  FrmComSet d(w.ws, w.ports);
  QCOMPARE(Get<QComboBox>(d, "Combo1")->currentIndex(), -1);
  QTest::mouseClick(Get<QPushButton>(d, "CommandOK"), Qt::LeftButton);
  QCOMPARE(w.ws.app.ComPort, std::string());
  QCOMPARE(ReadSetupValue(w.ws.app, "comPort"), std::string("ttyS0"));  // nothing stored
}

void TestDialogs::radioInformationWindow() {
  for (int language : {1, 2}) {
    WorldOptions o;
    o.language = static_cast<int16_t>(language);
    UiWorld w(o);
    RadioInfo info;
    ResetRadioInfo(info);
    info.AreaCode = "12";
    info.SerialNumber = "ABCDEFGHIJKLMNOP";
    info.MaintenanceDescription = "fixed the knob";
    FrmEMG d(w.ws.lang, info, 0x30);
    QCOMPARE(d.windowTitle(), language == 1 ? QString("Embedded Message") : QString("嵌入信息"));
    QCOMPARE(Get<QLabel>(d, "LabelSerial")->text(),
             language == 1 ? QString("Serial Number") : QString("序列号"));
    QCOMPARE(Get<QGroupBox>(d, "FrameDealer")->title(),
             language == 1 ? QString("Dealer Information") : QString("经销商信息"));
    QCOMPARE(Get<QPushButton>(d, "CommandClose")->text(), Q(w.ws.lang.BuiltIn().CloseCaption));
    QCOMPARE(Get<QLineEdit>(d, "TextArea")->text(), QString("12"));
    QCOMPARE(Get<QLineEdit>(d, "TextSerial")->text(), QString("ABCDEFGHIJKLMNOP"));
    QCOMPARE(Get<QLineEdit>(d, "TextVersion")->text(), QString("V1.00"));
    QCOMPARE(Get<QComboBox>(d, "ComboBand")->currentText(), Q(BandTextOfCode(48)));
    QCOMPARE(Get<QComboBox>(d, "ComboModel")->currentText(), QString("KV-540"));
    QVERIFY(Get<QLineEdit>(d, "TextSerial")->isReadOnly());
  }
  UiWorld w;
  RadioInfo info;
  FrmEMG d(w.ws.lang, info, 0x11);
  QCOMPARE(Get<QComboBox>(d, "ComboBand")->currentText(), Q(BandTextOfCode(17)));
}

void TestDialogs::progressWindow() {
  UiWorld w;
  FrmProgress p(w.ws.lang, w.ws.lang.BuiltIn().ReadTitle);
  QCOMPARE(p.windowTitle(), QString("Read data from radio"));
  QCOMPARE(p.PercentText(), QString("0%"));
  QVERIFY(p.SetProgressValue(37));
  QCOMPARE(p.PercentText(), QString("37%"));
  QCOMPARE(p.Value(), 37);
  QVERIFY(!p.SetProgressValue(101));
  QCOMPARE(p.Value(), 37);
  QVERIFY(p.isModal());
  // Escape asks the link to stop; only the link closes the window.
  p.show();
  bool asked = false;
  connect(&p, &FrmProgress::cancelRequested, [&] { asked = true; });
  QTest::keyClick(&p, Qt::Key_Escape);
  QVERIFY(asked);
  QVERIFY(p.isVisible());
  p.CloseByLink();
  QVERIFY(!p.isVisible());
}

void TestDialogs::newAndInitialisation() {
  UiWorld w;
  frmMain& m = w.main();
  const BuiltInTexts& t = w.ws.lang.BuiltIn();
  // New asks AllDataCleared; Cancel there keeps the data.
  w.ws.channels.AppendChannel(MakeChannel(8, "014500000"));
  w.prompts.answers = {Answer::No, Answer::Cancel};
  m.mnuFileNew_Click();
  QVERIFY(w.ws.channels.ChannelExists(8));
  QCOMPARE(w.prompts.shown.size(), size_t(2));
  QCOMPARE(w.prompts.shown[1].text, std::string(t.AllDataCleared));
  // The initialisation command asks only about the modified data.
  w.prompts.shown.clear();
  w.prompts.answers = {Answer::No};
  m.findChild<QAction*>("MnuSetInit")->trigger();
  QCOMPARE(w.prompts.shown.size(), size_t(1));
  QCOMPARE(w.prompts.shown[0].text, w.ws.lang.GetLangKeyText("MSG", "9001"));
  QVERIFY(!w.prompts.Saw(t.AllDataCleared));
  QVERIFY(!w.ws.channels.ChannelExists(8) || w.ws.channels.Find(8)->RxFreq.Clean() != "014500000");
  QVERIFY(!w.ws.app.InitInProgress);
  QCOMPARE(m.gridModel()->CellText(8, 1).isEmpty(), !w.ws.channels.ChannelExists(8));
  QVERIFY(!IsModified(w.ws));
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
