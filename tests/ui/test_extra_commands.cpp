// The File menu's channel CSV, compare and backups entries and "Verify radio…" driven from the
// main window: Cancel changes nothing, OK takes the import, the comparison lists the fields,
// and the verification against the simulated radio reports exactly what differs.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "core/files/Backups.h"
#include "core/files/DataFile.h"
#include "support/UiWorld.h"
#include "ui/ChannelGridModel.h"
#include "ui/ExtraCommands.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

// kvx50-radiosim on a pseudo-terminal; its first output line is the device path.
class Radio {
 public:
  bool Start(const QStringList& args = {}) {
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

void Run(frmMain& m, const char* action) {
  auto* a = m.findChild<QAction*>(action);
  QVERIFY2(a, action);
  a->trigger();
}

QStringList Rows(QTreeWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QStringList cells;
    for (int c = 0; c < list->columnCount(); ++c) cells << list->topLevelItem(i)->text(c);
    rows << cells.join('|');
  }
  return rows;
}

}  // namespace

class TestExtraCommands : public QObject {
  Q_OBJECT
 private slots:
  void entriesFollowTheLanguage();
  void importShowsTheNotesAndCancelChangesNothing();
  void exportWritesEveryChannel();
  void compareListsTheFieldsThatDiffer();
  void backupsFolderIsMadeAndShown();
  void verifyAgainstTheSimulatedRadio();
};

void TestExtraCommands::entriesFollowTheLanguage() {
  UiWorld w;
  frmMain& m = w.main();
  auto* file = m.findChild<QMenu*>("mnuFile");
  QVERIFY(file);
  emit file->aboutToShow();
  QCOMPARE(m.findChild<QAction*>("mnuFileExportCsv")->text(), QString("Export channels…"));
  QCOMPARE(m.findChild<QAction*>("mnuFileBackups")->text(), QString("Open backups folder"));
  w.ws.lang.SetLanguageIndex(kLanguageChinese);
  emit file->aboutToShow();
  emit m.findChild<QMenu*>("mnuPro")->aboutToShow();
  QCOMPARE(m.findChild<QAction*>("mnuFileImportCsv")->text(), QString("导入信道…"));
  QCOMPARE(m.findChild<QAction*>("MnuProVerify")->text(), QString("校验对讲机…"));
}

void TestExtraCommands::importShowsTheNotesAndCancelChangesNothing() {
  UiWorld w;
  frmMain& m = w.main();
  const std::string csv = w.folder() + "/in.csv";
  QVERIFY(WriteFileAtomically(csv,
                              "Location,Name,Frequency,Duplex,Offset\n"
                              "5,Five,145.0070,-,0.6\n"
                              "6,Far,446.0,,0\n"));
  const ChannelList before = w.ws.channels;

  QString summary;
  QStringList notes;
  w.OnDialog([&](QDialog& d) {
    summary = d.findChild<QLabel*>("LabelSummary")->text();
    auto* list = d.findChild<QListWidget*>("ListNotes");
    for (int i = 0; i < list->count(); ++i) notes << list->item(i)->text();
    QTest::mouseClick(d.findChild<QPushButton*>("CommandCancel"), Qt::LeftButton);
  });
  w.prompts.openNames = {csv};
  Run(m, "mnuFileImportCsv");
  QVERIFY2(summary.startsWith("1 rows will be imported (1 corrected), 1 refused"),
           qPrintable(summary));
  QCOMPARE(notes,
           QStringList({"line 2: corrected: receive frequency 145.00700 snapped to 145.00500",
                        "line 3: refused: receive frequency 446.00000 is outside the band "
                        "(136.00000 - 174.00000 MHz)"}));
  QVERIFY(w.ws.channels == before);
  QVERIFY(!IsModified(w.ws));

  // OK takes it; the grid shows it at once.
  w.OnDialog([&](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
  });
  w.prompts.openNames = {csv};
  Run(m, "mnuFileImportCsv");
  QVERIFY(w.ws.channels.ChannelExists(5));
  QVERIFY(!w.ws.channels.ChannelExists(6));
  QCOMPARE(m.gridModel()->CellText(5, 3), QString("Five"));
  QCOMPARE(m.gridModel()->CellText(5, 2), QString("144.40500"));
  QVERIFY(IsModified(w.ws));

  // Cancel in the file dialog: nothing at all.
  const ChannelList after = w.ws.channels;
  w.prompts.openNames = {std::nullopt};
  Run(m, "mnuFileImportCsv");
  QVERIFY(w.ws.channels == after);
}

void TestExtraCommands::exportWritesEveryChannel() {
  UiWorld w;
  w.ws.channels.AppendChannel(MakeChannel(12, "014612500"));
  frmMain& m = w.main();
  const std::string csv = w.folder() + "/out.csv";
  w.prompts.saveNames = {csv};
  Run(m, "mnuFileExportCsv");
  const auto text = ReadFileBytes(csv);
  QVERIFY(text);
  QVERIFY(text->starts_with("Location,Name,Frequency,Duplex,Offset,Tone,"));
  QVERIFY(text->find("\n12,") != std::string::npos);
  QVERIFY(text->find("\n203,") != std::string::npos);
  QVERIFY(text->find("\n204,") != std::string::npos);
}

void TestExtraCommands::compareListsTheFieldsThatDiffer() {
  UiWorld w;
  w.ws.channels.AppendChannel(MakeChannel(12, "014612500"));
  frmMain& m = w.main();
  const std::string file = w.folder() + "/same.dat";
  w.prompts.saveNames = {file};
  QVERIFY(SaveAs(w.ws, w.prompts));

  w.prompts.shown.clear();
  w.prompts.openNames = {file};
  Run(m, "mnuFileCompare");
  QVERIFY(w.prompts.Saw("The working data hold the same as same.dat."));

  w.ws.channels.Find(12)->Power = 2;
  w.ws.channels.DeleteChannel(203);  // never deleted: stays
  QStringList rows, headings;
  w.OnDialog([&](QDialog& d) {
    auto* list = d.findChild<QTreeWidget*>("ListDifferences");
    rows = Rows(list);
    for (int c = 0; c < list->columnCount(); ++c) headings << list->headerItem()->text(c);
    d.accept();
  });
  w.prompts.openNames = {file};
  Run(m, "mnuFileCompare");
  QCOMPARE(headings, QStringList({"Area", "No.", "Field", "Working data", "same.dat"}));
  QCOMPARE(rows, QStringList({"Channel|12|Power|2|0"}));
  // The working data and the file state are those of before.
  QCOMPARE(w.ws.channels.Find(12)->Power, int16_t(2));
  QCOMPARE(w.ws.CurrentFileName, file);
}

void TestExtraCommands::backupsFolderIsMadeAndShown() {
  UiWorld w;
  frmMain& m = w.main();
  QString shown;
  BackupsFolderOpener() = [&](const QString& folder) {
    shown = folder;
    return true;
  };
  Run(m, "mnuFileBackups");
  QCOMPARE(shown, Q(BackupFolderPath(w.ws.app.ProgramFolder)));
  QVERIFY(QFileInfo(shown).isDir());
}

void TestExtraCommands::verifyAgainstTheSimulatedRadio() {
  Radio radio;
  if (!radio.Start()) QSKIP("kvx50-radiosim is not built");
  UiWorld w;
  w.ws.app.ComPort = radio.path();
  w.ws.channels.AppendChannel(MakeChannel(12, "014612500"));
  frmMain& m = w.main();

  Run(m, "MnuProWrite");
  QVERIFY(w.prompts.Saw(w.ws.lang.GetLangText(2005)));
  const std::string backups = BackupFolderPath(w.ws.app.ProgramFolder);
  auto kept = ListBackups(backups);
  QCOMPARE(kept.size(), size_t(1));
  QVERIFY(kept[0].ends_with("_write"));

  w.prompts.shown.clear();
  Run(m, "MnuProVerify");
  QVERIFY(w.prompts.Saw("The radio holds the working data."));
  QVERIFY(!w.prompts.Saw(w.ws.lang.GetLangText(2004)));  // the read's own message is left out
  QCOMPARE(ListBackups(backups).size(), size_t(2));      // the verification's read is kept too

  // Changed here only: the radio still holds the old values.
  w.ws.channels.Find(12)->Power = 2;
  w.ws.channels.Find(12)->ListFlag = 1;  // not held by the radio: not reported
  QStringList rows;
  w.OnDialog([&](QDialog& d) {
    rows = Rows(d.findChild<QTreeWidget*>("ListDifferences"));
    d.accept();
  });
  const std::string fileName = w.ws.CurrentFileName;
  Run(m, "MnuProVerify");
  QCOMPARE(rows, QStringList({"Channel|12|Power|2|0"}));
  QCOMPARE(w.ws.channels.Find(12)->Power, int16_t(2));  // the working data are not replaced
  QCOMPARE(w.ws.CurrentFileName, fileName);
}

QTEST_MAIN(TestExtraCommands)
#include "test_extra_commands.moc"
