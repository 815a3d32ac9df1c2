// Editing comfort in the main window: undo and redo across every kind of change (the channel
// edit dialog, the clipboard, the bulk edit, a CSV import, a settings window), IsModified after
// undoing to the saved data, New, Open and a read starting a new history; copy, cut, paste and
// delete of several rows with CALL and VFO; the bulk edit of power and tones; find and go-to.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include "core/files/DataFile.h"
#include "core/image/Tones.h"
#include "frm_settings_helpers.h"
#include "support/UiWorld.h"
#include "ui/ChannelGridModel.h"
#include "ui/DlgBulkEdit.h"
#include "ui/FindBar.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

template <class T>
T* Get(QObject& parent, const char* name) {
  T* w = parent.findChild<T*>(name);
  if (!w) qFatal("no control %s", name);
  return w;
}

void Trigger(frmMain& m, const char* action) {
  Get<QAction>(m, action)->trigger();
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

bool Enabled(frmMain& m, const char* action) {
  return Get<QAction>(m, action)->isEnabled();
}

ChannelRecord Named(int number, const char* rx, const char* name) {
  ChannelRecord c = MakeChannel(number, rx);
  c.Name = name;
  return c;
}

std::string NameAt(const Workspace& ws, int row) {
  const ChannelRecord* c = ws.channels.Find(row);
  return c ? c->Name.Clean() : "(none)";
}

int CurrentRow(frmMain& m) {
  return m.grid()->currentIndex().row() + 1;
}

// The data one undo step holds.
struct Data {
  ChannelList channels;
  SettingsRecord settings;
  bool operator==(const Data& o) const {
    return channels == o.channels && settings.Scan == o.settings.Scan;
  }
};
Data DataOf(const Workspace& ws) {
  return {ws.channels, ws.settings};
}

// kvx50-radiosim on a pseudo-terminal; its first output line is the device path.
class Radio {
 public:
  bool Start() {
    const QString bin = QString(KVX50_BIN_DIR) + "/kvx50-radiosim";
    if (!QFileInfo::exists(bin)) return false;
    process_.start(bin, {});
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

}  // namespace

class TestEditComfort : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QuietOffscreenWarnings(); }
  void undoAndRedoAcrossEveryKindOfChange();
  void undoToTheSavedDataIsNotModified();
  void newAndOpenStartANewHistory();
  void readFromTheRadioStartsANewHistory();
  void severalRowsCopyPasteAndDelete();
  void severalRowsKeepCallAndVfo();
  void bulkEditOfPowerAndTonesOnFiveChannels();
  void findMovesToTheNextMatch();
  void goToChannelByItsLabel();
  void bulkEditPicture();
};

void TestEditComfort::undoAndRedoAcrossEveryKindOfChange() {
  UiWorld w;
  w.ws.channels.AppendChannel(Named(1, "014500000", "ONE"));
  CopyWorkingToSaved(w.ws);
  frmMain& m = w.main();
  m.show();
  QVERIFY(!Enabled(m, "mnuEditUndo") && !Enabled(m, "mnuEditRedo"));
  std::vector<Data> states{DataOf(w.ws)};

  // 1. A channel stored by the edit dialog (power to Low).
  m.SetCurrentCell(1, 1);
  w.OnDialog([](QDialog& d) {
    Choose(d, "Combo1_2", 2);
    Click(d, "CommandOK");
  });
  m.mnuEditCH_Click();
  QCOMPARE(w.ws.channels.Find(1)->Power, int16_t(2));
  states.push_back(DataOf(w.ws));
  QVERIFY(Enabled(m, "mnuEditUndo") && !Enabled(m, "mnuEditRedo"));

  // 2. The clipboard: channel 1 copied onto row 7.
  Trigger(m, "MnuCHCopy");
  m.SetCurrentCell(7);
  Trigger(m, "MnuCHPaste");
  QCOMPARE(NameAt(w.ws, 7), std::string("ONE"));
  states.push_back(DataOf(w.ws));

  // 3. A bulk edit of rows 1-7 (bandwidth 12.5 kHz).
  m.SelectRows(1, 7);
  w.OnDialog([](QDialog& d) {
    Get<QCheckBox>(d, "chkBandwidth")->setChecked(true);
    Choose(d, "cboBandwidth", 2);
    Click(d, "CommandOK");
  });
  Trigger(m, "MnuCHBulkEdit");
  QCOMPARE(w.ws.channels.Find(7)->Bandwidth, int16_t(2));
  states.push_back(DataOf(w.ws));

  // 4. A CSV import.
  const std::string csv = w.folder() + "/in.csv";
  QVERIFY(WriteFileAtomically(csv, "Location,Name,Frequency,Duplex,Offset\n5,Five,146.0,,0\n"));
  w.prompts.openNames = {csv};
  w.OnDialog([](QDialog& d) { Click(d, "CommandOK"); });
  Trigger(m, "mnuFileImportCsv");
  QCOMPARE(NameAt(w.ws, 5), std::string("Five"));
  states.push_back(DataOf(w.ws));

  // 5. A settings window's OK (the scan mode).
  w.OnDialog([](QDialog& d) {
    auto* mode = Get<QComboBox>(d, "ComboScanMode");
    Choose(d, "ComboScanMode", (mode->currentIndex() + 1) % mode->count());
    Click(d, "CommandOK");
  });
  m.MnuViewScan_Click();
  QVERIFY(!(w.ws.settings.Scan == states.back().settings.Scan));
  states.push_back(DataOf(w.ws));
  QCOMPARE(m.undoHistory().UndoSteps(), size_t(5));

  // Undo walks back step by step (the toolbar key and the menu entry alike), the grid with it.
  for (int i = static_cast<int>(states.size()) - 2; i >= 0; --i) {
    Trigger(m, i % 2 ? "TUndo" : "mnuEditUndo");
    QVERIFY2(DataOf(w.ws) == states[i], qPrintable(QString("undo to state %1").arg(i)));
  }
  QVERIFY(!Enabled(m, "mnuEditUndo") && Enabled(m, "mnuEditRedo") && Enabled(m, "TRedo"));
  QCOMPARE(m.gridModel()->CellText(7, 1), QString());
  QCOMPARE(m.gridModel()->CellText(5, 3), QString());
  QVERIFY(!IsModified(w.ws));

  // Redo walks forward again.
  for (size_t i = 1; i < states.size(); ++i) {
    Trigger(m, "mnuEditRedo");
    QVERIFY2(DataOf(w.ws) == states[i], qPrintable(QString("redo to state %1").arg(i)));
  }
  QVERIFY(!Enabled(m, "mnuEditRedo"));
  QCOMPARE(m.gridModel()->CellText(5, 3), QString("Five"));
  QCOMPARE(m.gridModel()->CellText(7, 5), QString("12.5K"));

  // Previous and Next in the edit dialog store a channel each: one step per channel.
  m.SetCurrentCell(1, 1);
  w.OnDialog([](QDialog& d) {
    Choose(d, "Combo1_2", 1);
    Click(d, "Command2");  // Next: channel 1 stored, channel 2 shown
    Click(d, "CommandCancel");
  });
  const size_t before = m.undoHistory().UndoSteps();
  m.mnuEditCH_Click();
  QCOMPARE(m.undoHistory().UndoSteps(), before + 1);
  QCOMPARE(w.ws.channels.Find(1)->Power, int16_t(1));
  Trigger(m, "mnuEditUndo");
  QCOMPARE(w.ws.channels.Find(1)->Power, int16_t(2));
}

void TestEditComfort::undoToTheSavedDataIsNotModified() {
  UiWorld w;
  w.ws.channels.AppendChannel(Named(3, "014500000", "KEEP"));
  frmMain& m = w.main();
  m.show();
  m.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&m));
  const std::string path = w.folder() + "/saved.dat";
  w.prompts.saveNames = {path};
  Trigger(m, "mnuFileSaveAs");
  QVERIFY(!IsModified(w.ws));

  m.grid()->setFocus();
  m.SetCurrentCell(3);
  QTest::keyClick(m.grid(), Qt::Key_Delete);
  QVERIFY(!w.ws.channels.ChannelExists(3));
  QVERIFY(IsModified(w.ws));
  // Ctrl+Z and Ctrl+Shift+Z from the grid.
  QTest::keyClick(m.grid(), Qt::Key_Z, Qt::ControlModifier);
  QVERIFY(w.ws.channels.ChannelExists(3));
  QVERIFY(!IsModified(w.ws));
  QCOMPARE(m.gridModel()->CellText(3, 3), QString("KEEP"));
  QCOMPARE(CurrentRow(m), 3);  // the place in the list stays
  QTest::keyClick(m.grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QVERIFY(!w.ws.channels.ChannelExists(3));
  QVERIFY(IsModified(w.ws));

  // Saved without channel 3, then undone past the save: modified again.
  w.prompts.answers = {Answer::Ok};  // the overwrite question
  Trigger(m, "mnuFileSave");
  QVERIFY(!IsModified(w.ws));
  Trigger(m, "mnuEditUndo");
  QVERIFY(w.ws.channels.ChannelExists(3));
  QVERIFY(IsModified(w.ws));
  // The save itself was no step: one more undo has nothing left.
  QVERIFY(!Enabled(m, "mnuEditUndo"));
}

void TestEditComfort::newAndOpenStartANewHistory() {
  UiWorld w;
  frmMain& m = w.main();
  const std::string path = w.folder() + "/file.dat";
  w.prompts.saveNames = {path};
  Trigger(m, "mnuFileSaveAs");

  auto change = [&] {
    m.SetCurrentCell(kChannelCall);
    Trigger(m, "MnuCHCopy");
    m.SetCurrentCell(40);
    Trigger(m, "MnuCHPaste");
    QVERIFY(Enabled(m, "mnuEditUndo"));
  };
  // New cancelled at its question keeps the history.
  change();
  w.prompts.answers = {Answer::No, Answer::Cancel};
  Trigger(m, "mnuFileNew");
  QVERIFY(w.ws.channels.ChannelExists(40));
  QVERIFY(Enabled(m, "mnuEditUndo"));
  // New done: nothing to undo or redo.
  Trigger(m, "mnuEditUndo");
  Trigger(m, "mnuEditRedo");
  Trigger(m, "mnuEditUndo");
  QVERIFY(Enabled(m, "mnuEditRedo"));
  w.prompts.answers = {Answer::Ok};
  Trigger(m, "mnuFileNew");
  QVERIFY(!Enabled(m, "mnuEditUndo") && !Enabled(m, "mnuEditRedo"));

  // Open.
  change();
  w.prompts.answers = {Answer::No};
  w.prompts.openNames = {path};
  Trigger(m, "mnuFileOpen");
  QVERIFY(!w.ws.channels.ChannelExists(40));
  QVERIFY(!Enabled(m, "mnuEditUndo") && !Enabled(m, "mnuEditRedo"));
  // Open cancelled in the file dialog keeps it.
  change();
  w.prompts.answers = {Answer::No};
  w.prompts.openNames = {std::nullopt};
  Trigger(m, "mnuFileOpen");
  QVERIFY(Enabled(m, "mnuEditUndo"));
}

void TestEditComfort::readFromTheRadioStartsANewHistory() {
  Radio radio;
  if (!radio.Start()) QSKIP("kvx50-radiosim is not built");
  UiWorld w;
  frmMain& m = w.main();
  m.show();
  // A read that fails (no such port) keeps the history.
  w.ws.app.ComPort = w.folder() + "/no-such-port";
  m.SetCurrentCell(kChannelVfo);
  Trigger(m, "MnuCHDelete");  // VFO stays: no change
  m.SetCurrentCell(kChannelCall);
  Trigger(m, "MnuCHCopy");
  m.SetCurrentCell(60);
  Trigger(m, "MnuCHPaste");
  QVERIFY(Enabled(m, "mnuEditUndo"));
  w.prompts.answers = {Answer::No};
  Trigger(m, "mnuProRead");
  QVERIFY(Enabled(m, "mnuEditUndo"));
  QVERIFY(w.ws.channels.ChannelExists(60));

  w.ws.app.ComPort = radio.path();
  w.prompts.answers = {Answer::No};
  Trigger(m, "mnuProRead");
  QVERIFY2(w.prompts.Saw(w.ws.lang.GetLangText(2004)), w.prompts.shown.back().text.c_str());
  QVERIFY(!Enabled(m, "mnuEditUndo") && !Enabled(m, "mnuEditRedo"));
}

void TestEditComfort::severalRowsCopyPasteAndDelete() {
  UiWorld w;
  w.ws.channels.AppendChannel(Named(3, "014500000", "A"));
  w.ws.channels.AppendChannel(Named(5, "014600000", "C"));
  w.ws.channels.AppendChannel(Named(11, "014700000", "OLD"));
  frmMain& m = w.main();
  ChannelGridModel* g = m.gridModel();

  // Rows 3-5 copied together go onto 10-12 in order; the empty row 4 empties row 11.
  m.SelectRows(3, 5);
  QCOMPARE(m.SelectedRows(), (std::vector<int>{3, 4, 5}));
  Trigger(m, "MnuCHCopy");
  m.SetCurrentCell(10);
  Trigger(m, "MnuCHPaste");
  QCOMPARE(NameAt(w.ws, 10), std::string("A"));
  QCOMPARE(NameAt(w.ws, 11), std::string("(none)"));
  QCOMPARE(NameAt(w.ws, 12), std::string("C"));
  QCOMPARE(g->CellText(12, 3), QString("C"));
  QCOMPARE(g->CellText(11, 1), QString());
  QCOMPARE(m.SelectedRows(), (std::vector<int>{10, 11, 12}));
  // One step for the whole paste.
  Trigger(m, "mnuEditUndo");
  QCOMPARE(NameAt(w.ws, 11), std::string("OLD"));
  QVERIFY(!w.ws.channels.ChannelExists(10) && !w.ws.channels.ChannelExists(12));

  // A paste that would pass row 204 is refused and changes nothing.
  const ChannelList before = w.ws.channels;
  m.SetCurrentCell(kChannelCall);
  Trigger(m, "MnuCHPaste");
  QVERIFY(w.ws.channels == before);
  QVERIFY(w.prompts.Saw(U8(Q(w.ws.lang.GetLangText(1093)).arg(3))));

  // Several rows cut (non-adjacent rows in order), then pasted elsewhere.
  m.SelectRows(3, 3);
  m.grid()->selectionModel()->select(g->index(10, 0), QItemSelectionModel::Select);  // row 11
  QCOMPARE(m.SelectedRows(), (std::vector<int>{3, 11}));
  Trigger(m, "MnuCHCut");
  QVERIFY(!w.ws.channels.ChannelExists(3) && !w.ws.channels.ChannelExists(11));
  QCOMPARE(g->CellText(3, 1), QString());
  m.SetCurrentCell(20);
  Trigger(m, "MnuCHPaste");
  QCOMPARE(NameAt(w.ws, 20), std::string("A"));
  QCOMPARE(NameAt(w.ws, 21), std::string("OLD"));

  // Several rows deleted.
  m.SelectRows(20, 21);
  Trigger(m, "MnuCHDelete");
  QVERIFY(!w.ws.channels.ChannelExists(20) && !w.ws.channels.ChannelExists(21));

  // A copy of one row replaces the rows copied together: the paste writes one row.
  m.SelectRows(3, 5);
  Trigger(m, "MnuCHCopy");
  m.SetCurrentCell(5);
  Trigger(m, "MnuCHCopy");
  m.SetCurrentCell(30);
  Trigger(m, "MnuCHPaste");
  QCOMPARE(NameAt(w.ws, 30), std::string("C"));
  QVERIFY(!w.ws.channels.ChannelExists(31));
}

void TestEditComfort::severalRowsKeepCallAndVfo() {
  UiWorld w;
  w.ws.channels.AppendChannel(Named(5, "014600000", "C"));
  w.ws.channels.AppendChannel(Named(kChannelPA, "014700000", "PA"));
  frmMain& m = w.main();
  const ChannelRecord call = *w.ws.channels.Find(kChannelCall);

  // Delete of rows 200-204 takes PA and leaves CALL and VFO.
  m.SelectRows(200, kChannelVfo);
  Trigger(m, "MnuCHDelete");
  QVERIFY(!w.ws.channels.ChannelExists(kChannelPA));
  QVERIFY(w.ws.channels.ChannelExists(kChannelCall) && w.ws.channels.ChannelExists(kChannelVfo));
  QVERIFY(!m.gridModel()->CellText(kChannelCall, 1).isEmpty());
  // Cut of CALL and VFO copies them and leaves them.
  m.SelectRows(kChannelCall, kChannelVfo);
  Trigger(m, "MnuCHCut");
  QVERIFY(w.ws.channels.ChannelExists(kChannelCall) && w.ws.channels.ChannelExists(kChannelVfo));
  QCOMPARE(m.rowsClipboard().rows.size(), size_t(2));

  // Rows 4 (empty) and 5 copied: pasted from CALL, the empty row would empty CALL: refused.
  m.SelectRows(4, 5);
  Trigger(m, "MnuCHCopy");
  const ChannelList before = w.ws.channels;
  m.SetCurrentCell(kChannelCall);
  Trigger(m, "MnuCHPaste");
  QVERIFY(w.ws.channels == before);
  QVERIFY(w.prompts.Saw(w.ws.lang.GetLangText(1094)));
  // From PB the empty row lands on PB and channel 5 on CALL: allowed.
  m.SetCurrentCell(kChannelPB);
  Trigger(m, "MnuCHPaste");
  QCOMPARE(NameAt(w.ws, kChannelCall), std::string("C"));
  QCOMPARE(w.ws.channels.Find(kChannelCall)->RxFreq.Clean(), std::string("014600000"));
  Trigger(m, "mnuEditUndo");
  QVERIFY(*w.ws.channels.Find(kChannelCall) == call);
}

void TestEditComfort::bulkEditOfPowerAndTonesOnFiveChannels() {
  UiWorld w;
  for (int n = 1; n <= 5; ++n) {
    ChannelRecord c = Named(n, "014500000", "CH");
    c.Power = static_cast<int16_t>(n % 3);
    c.ToneAType = static_cast<int16_t>(n % 3);
    c.ToneBType = static_cast<int16_t>((n + 1) % 3);
    c.ToneBInverted = 0;
    w.ws.channels.AppendChannel(c);
  }
  frmMain& m = w.main();
  m.show();
  m.SelectRows(1, 6);  // five channels and an empty row
  const ChannelList before = w.ws.channels;

  // Cancel changes nothing.
  w.OnDialog([](QDialog& d) {
    Get<QCheckBox>(d, "chkPower")->setChecked(true);
    Click(d, "CommandCancel");
  });
  Trigger(m, "MnuCHBulkEdit");
  QVERIFY(w.ws.channels == before);

  QString info;
  w.OnDialog([&](QDialog& d) {
    info = Get<QLabel>(d, "lblInfo")->text();
    // Each value waits for its check box.
    QVERIFY(!Get<QComboBox>(d, "cboPower")->isEnabled());
    Get<QCheckBox>(d, "chkPower")->setChecked(true);
    QVERIFY(Get<QComboBox>(d, "cboPower")->isEnabled());
    Choose(d, "cboPower", 2);  // Low
    Get<QCheckBox>(d, "chkToneA")->setChecked(true);
    Choose(d, "cboToneAType", ToneCtcss);
    QVERIFY(!Get<QComboBox>(d, "cboToneADcs")->isEnabled());
    Choose(d, "cboToneACtcss", 13);  // 100.0
    Get<QCheckBox>(d, "chkToneB")->setChecked(true);
    Choose(d, "cboToneBType", ToneDcs);
    Choose(d, "cboToneBDcs", 19);  // 023
    Get<QCheckBox>(d, "chkToneBInverted")->setChecked(true);
    Click(d, "CommandOK");
  });
  Trigger(m, "MnuCHBulkEdit");
  QVERIFY2(info.contains("5"), qPrintable(info));
  for (int n = 1; n <= 5; ++n) {
    const ChannelRecord& c = *w.ws.channels.Find(n);
    QCOMPARE(c.Power, int16_t(2));
    QCOMPARE(c.ToneAType, int16_t(ToneCtcss));
    QCOMPARE(c.ToneACtcss, int16_t(13));
    QCOMPARE(c.ToneBType, int16_t(ToneDcs));
    QCOMPARE(c.ToneBDcs, int16_t(19));
    QCOMPARE(c.ToneBInverted, int16_t(1));
    QCOMPARE(c.Name.Clean(), std::string("CH"));  // fields not ticked stay
    QCOMPARE(m.gridModel()->CellText(n, 7), Q(w.ws.lang.GetLangText(1205)));
    QCOMPARE(m.gridModel()->CellText(n, 8), QString("100.0"));
    QCOMPARE(m.gridModel()->CellText(n, 9), QString("D023I"));
  }
  QVERIFY(!w.ws.channels.ChannelExists(6));
  // One undo step for the five channels.
  Trigger(m, "mnuEditUndo");
  QVERIFY(w.ws.channels == before);
}

void TestEditComfort::findMovesToTheNextMatch() {
  UiWorld w;
  w.ws.channels.AppendChannel(Named(3, "014500000", "ALPHA"));
  w.ws.channels.AppendChannel(Named(8, "014652000", "BETA"));
  w.ws.channels.AppendChannel(Named(12, "014550000", "alpine"));
  frmMain& m = w.main();
  m.show();
  m.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&m));
  m.SetCurrentCell(1, 2);
  QLineEdit* box = m.findBar()->box();

  // Ctrl+F puts the focus into the box; typing moves from the current row on, any case.
  m.grid()->setFocus();
  QTest::keyClick(m.grid(), Qt::Key_F, Qt::ControlModifier);
  QVERIFY(box->hasFocus());
  QTest::keyClicks(box, "alp");
  QCOMPARE(CurrentRow(m), 3);
  QCOMPARE(m.grid()->currentIndex().column(), 1);  // the column stays
  // Enter, then F3: the next matches, wrapping round.
  QTest::keyClick(box, Qt::Key_Return);
  QCOMPARE(CurrentRow(m), 12);
  QTest::keyClick(box, Qt::Key_F3);
  QCOMPARE(CurrentRow(m), 3);
  // A frequency as the list shows it.
  box->clear();
  QTest::keyClicks(box, "146.52");
  QCOMPARE(CurrentRow(m), 8);
  // No match: the row stays, the status bar says so.
  QTest::keyClicks(box, "9");
  QCOMPARE(CurrentRow(m), 8);
  QVERIFY2(m.statusBar()->currentMessage().contains("146.529"),
           qPrintable(m.statusBar()->currentMessage()));

  // The editing keys belong to the box while it has the focus: no channel is deleted.
  QTest::keyClick(box, Qt::Key_Home);
  QTest::keyClick(box, Qt::Key_Delete);
  QCOMPARE(box->text(), QString("46.529"));
  QVERIFY(w.ws.channels.ChannelExists(8));
  QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(box->text(), QString("146.529"));
  QVERIFY(!m.undoHistory().CanRedo());
}

void TestEditComfort::goToChannelByItsLabel() {
  UiWorld w;
  frmMain& m = w.main();
  m.show();
  m.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&m));
  m.SetCurrentCell(1, 3);

  auto goTo = [&](const QString& label) {
    w.OnDialog([label](QDialog& d) {
      Get<QLineEdit>(d, "txtChannel")->setText(label);
      Click(d, "CommandOK");
      if (d.isVisible() && d.result() != QDialog::Accepted) Click(d, "CommandCancel");
    });
    Trigger(m, "MnuCHGoTo");
  };
  goTo("call");
  QCOMPARE(CurrentRow(m), kChannelCall);
  QCOMPARE(m.grid()->currentIndex().column(), 2);
  goTo("7");  // labels count from 0 on this model
  QCOMPARE(CurrentRow(m), 8);
  // A label the list does not show: said, and the place stays.
  goTo("300");
  QCOMPARE(CurrentRow(m), 8);
  QVERIFY(w.prompts.Saw(U8(Q(w.ws.lang.GetLangText(1090)).arg("300"))));
  // Ctrl+G opens it.
  m.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&m));
  m.grid()->setFocus();
  w.OnDialog([](QDialog& d) {
    Get<QLineEdit>(d, "txtChannel")->setText("PA");
    Click(d, "CommandOK");
  });
  QTest::keyClick(m.grid(), Qt::Key_G, Qt::ControlModifier);
  QCOMPARE(CurrentRow(m), kChannelPA);
}

// The bulk edit dialog as a user sees it, saved as bulk-edit.png under $KVX50_SCREENSHOTS.
void TestEditComfort::bulkEditPicture() {
  const QString dir = qEnvironmentVariable("KVX50_SCREENSHOTS");
  if (dir.isEmpty()) QSKIP("KVX50_SCREENSHOTS is not set");
  WorldOptions o;
  o.features = {1, 1, 1, 0};
  UiWorld w(o);
  DlgBulkEdit d(w.ws, 5);
  Get<QCheckBox>(d, "chkPower")->setChecked(true);
  Get<QCheckBox>(d, "chkToneA")->setChecked(true);
  Get<QComboBox>(d, "cboToneAType")->setCurrentIndex(ToneCtcss);
  Get<QCheckBox>(d, "chkSignalling")->setChecked(true);
  Get<QComboBox>(d, "cboSignalling")->setCurrentIndex(1);
  d.show();
  QVERIFY(QTest::qWaitForWindowExposed(&d));
  QCoreApplication::processEvents();
  QDir().mkpath(dir);
  QVERIFY(d.grab().save(dir + "/bulk-edit.png"));
}

QTEST_MAIN(TestEditComfort)
#include "test_edit_comfort.moc"
