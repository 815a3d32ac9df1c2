// Read, write and radio information driven from the main window against the simulated radio
// on a pseudo-terminal: the questions, the progress window, the end-of-link messages, the tree
// and menus following the features the radio reports, and the recovery question of a silent
// radio.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "core/app/BandTable.h"
#include "support/UiWorld.h"
#include "ui/ChannelGridModel.h"
#include "ui/FrmProgress.h"
#include "ui/LinkSession.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

// kvx50-radiosim on a pseudo-terminal; its first output line is the device path.
class Radio {
 public:
  bool Start(const QStringList& args) {
    const QString bin = QString(KVX50_BIN_DIR) + "/kvx50-radiosim";
    if (!QFileInfo::exists(bin)) return false;
    process_.start(bin, args);
    if (!process_.waitForStarted(5000)) return false;
    while (!process_.canReadLine())
      if (!process_.waitForReadyRead(5000)) return false;
    path_ = QString::fromUtf8(process_.readLine()).trimmed();
    return !path_.isEmpty();
  }
  ~Radio() {
    process_.terminate();
    if (!process_.waitForFinished(3000)) process_.kill();
  }
  std::string path() const { return path_.toStdString(); }

 private:
  QProcess process_;
  QString path_;
};

int TreeSize(frmMain& m) {
  return m.tree()->topLevelItem(0)->childCount() + 1;
}

void Run(frmMain& m, const char* action) {
  m.findChild<QAction*>(action)->trigger();
}

}  // namespace

class TestLinkRadiosim : public QObject {
  Q_OBJECT
 private slots:
  void readThenWriteFromTheMainWindow();
  void silentRadioOffersRetry();
  void radioInformation();
};

void TestLinkRadiosim::readThenWriteFromTheMainWindow() {
  Radio radio;
  if (!radio.Start({"--features", "0xE0"})) QSKIP("kvx50-radiosim is not built");
  UiWorld w;
  w.ws.app.ComPort = radio.path();
  frmMain& m = w.main();
  m.show();
  QCOMPARE(TreeSize(m), 9);
  QStringList titles;
  m.Link().onProgressShown = [&](FrmProgress& p) { titles << p.windowTitle(); };

  Run(m, "mnuProRead");
  const BuiltInTexts& t = w.ws.lang.BuiltIn();
  QVERIFY(w.prompts.Saw(t.ReadConfirm));
  QVERIFY2(w.prompts.Saw(w.ws.lang.GetLangText(2004)), w.prompts.shown.back().text.c_str());
  QCOMPARE(titles, QStringList({Q(t.ReadTitle)}));
  QVERIFY(!m.Link().Progress());
  // The radio reported five-tone, two-tone and DTMF: offered at once.
  QCOMPARE(TreeSize(m), 12);
  QVERIFY(m.findChild<QAction*>("MnuViewDTMF")->isVisible());
  QVERIFY(!IsModified(w.ws));
  QVERIFY(w.ws.Untitled);
  QVERIFY(m.windowTitle().endsWith(":new.dat]"));
  // The grid shows what was read.
  QVERIFY(w.ws.channels.ChannelCount >= 2);
  for (const ChannelRecord& c : w.ws.channels.Used())
    QCOMPARE(
        m.gridModel()->CellText(c.Number, 1),
        QString::number(std::stoll(c.RxFreq.Clean()) / 100000.0, 'f', 5).rightJustified(9, '0'));

  // Write a changed channel, then read it back over local changes.
  ChannelRecord mine = MakeChannel(17, "014612500");
  mine.Name = "WRITTEN";
  w.ws.channels.DeleteChannel(17);
  w.ws.channels.AppendChannel(mine);
  titles.clear();
  w.prompts.shown.clear();
  Run(m, "MnuProWrite");
  QVERIFY(w.prompts.Saw(t.WriteConfirm));
  QVERIFY2(w.prompts.Saw(w.ws.lang.GetLangText(2005)), w.prompts.shown.back().text.c_str());
  QCOMPARE(titles, QStringList({Q(t.WriteTitle)}));

  w.ws.channels.Find(17)->Name = "LOCAL";
  m.ReShowGrid(0, 17);
  w.prompts.shown.clear();
  w.prompts.answers = {Answer::No};  // the modified data are not saved first
  Run(m, "mnuProRead");
  QCOMPARE(w.prompts.shown.front().text, w.ws.lang.GetLangKeyText("MSG", "9001"));
  QVERIFY(w.prompts.Saw(w.ws.lang.GetLangText(2004)));
  QVERIFY(w.ws.channels.ChannelExists(17));
  QCOMPARE(w.ws.channels.Find(17)->Name.Clean(), std::string("WRITTEN"));
  QCOMPARE(m.gridModel()->CellText(17, 3), QString("WRITTEN"));
  QCOMPARE(m.gridModel()->CellText(17, 1), QString("146.12500"));
}

void TestLinkRadiosim::silentRadioOffersRetry() {
  Radio radio;
  if (!radio.Start({"--silent"})) QSKIP("kvx50-radiosim is not built");
  UiWorld w;
  w.ws.app.ComPort = radio.path();
  frmMain& m = w.main();
  const ChannelList before = w.ws.channels;
  w.prompts.answers = {Answer::Ok, Answer::Cancel};  // confirm, then give up
  Run(m, "mnuProRead");
  QVERIFY(w.prompts.Saw(w.ws.lang.GetLangText(2003)));
  bool recovery = false;
  for (const auto& s : w.prompts.shown) recovery |= s.buttons == Buttons::RetryCancel;
  QVERIFY(recovery);
  QVERIFY(w.prompts.Saw(w.ws.lang.GetLangText(2006)));
  QVERIFY(w.ws.channels == before);
  QVERIFY(!m.Link().Progress());
  QVERIFY(!m.Link().Running());
  // A port that cannot be opened: message 2002, nothing else.
  w.prompts.shown.clear();
  w.ws.app.ComPort = "/nonexistent/tty";
  Run(m, "MnuProWrite");
  QVERIFY(w.prompts.Saw(w.ws.lang.GetLangText(2002)));
  QVERIFY(!w.prompts.Saw(w.ws.lang.BuiltIn().WriteConfirm));
}

void TestLinkRadiosim::radioInformation() {
  Radio radio;
  if (!radio.Start({"--band", "0x30"})) QSKIP("kvx50-radiosim is not built");
  UiWorld w;
  w.ws.app.ComPort = radio.path();
  frmMain& m = w.main();
  QString band;
  bool shown = false;
  w.OnDialog([&](QDialog& d) {
    shown = d.objectName() == "FrmEMG";
    band = d.findChild<QComboBox*>("ComboBand")->currentText();
    QTest::mouseClick(d.findChild<QPushButton*>("CommandClose"), Qt::LeftButton);
  });
  Run(m, "MnuEMg");
  QVERIFY(shown);
  QCOMPARE(band, Q(BandTextOfCode(48)));
  QVERIFY(w.prompts.shown.empty());         // no question, no message
  QCOMPARE(w.ws.app.BandCode, int16_t(3));  // the working band is not changed
}

QTEST_MAIN(TestLinkRadiosim)
#include "test_link_radiosim.moc"
