// The main window: tree and menus by feature flags and factory mode, the language switch, the
// caption, the model-and-band dialog and closing with modified data.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "core/app/BandTable.h"
#include "core/app/SetupFile.h"
#include "support/UiWorld.h"
#include "ui/ChannelGridModel.h"
#include "ui/FrmLanguage.h"
#include "ui/FrmModel.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

QStringList TreeKeys(frmMain& m) {
  QStringList keys;
  QTreeWidgetItem* root = m.tree()->topLevelItem(0);
  if (!root) return keys;
  keys << root->data(0, Qt::UserRole).toString();
  for (int i = 0; i < root->childCount(); ++i)
    keys << root->child(i)->data(0, Qt::UserRole).toString();
  return keys;
}

bool Visible(frmMain& m, const char* action) {
  auto* a = m.findChild<QAction*>(action);
  return a && a->isVisible();
}

// Tool tips name the command without the menu's mnemonic marks.
void CheckToolTipsPlain(frmMain& m) {
  int seen = 0;
  for (auto* bar : m.findChildren<QToolBar*>())
    for (QAction* a : bar->actions()) {
      if (a->isSeparator() || a->objectName().isEmpty()) continue;
      ++seen;
      QVERIFY2(!a->toolTip().isEmpty(), qPrintable(a->objectName()));
      QVERIFY2(!a->toolTip().contains(QLatin1Char('&')), qPrintable(a->toolTip()));
      QVERIFY2(!a->toolTip().endsWith(QLatin1String("...")), qPrintable(a->toolTip()));
    }
  QVERIFY(seen >= 10);
}

QString MenuTitle(frmMain& m, const char* menu) {
  auto* x = m.findChild<QMenu*>(menu);
  return x ? x->title() : QString();
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT
 private slots:
  void treeAndMenusFollowFeatureFlags_data();
  void treeAndMenusFollowFeatureFlags();
  void factoryEntriesOnlyInFactoryMode();
  void featuresReportedLaterShowAtOnce();
  void languageSwitchRelocalisesTwice();
  void captionNamesModelBandAndFile();
  void modelDialogChangesBandAndResetsData();
  void modelDialogSameBandOrCancelKeepsData();
  void closingModifiedAsksSaveFirst();
  void positionIsStoredAndRestored();
};

void TestMainWindow::treeAndMenusFollowFeatureFlags_data() {
  QTest::addColumn<int>("five");
  QTest::addColumn<int>("two");
  QTest::addColumn<int>("dtmf");
  QTest::addColumn<QStringList>("keys");
  const QStringList base = {"N0", "N1", "N4", "N10", "N11", "N8", "N9", "N15", "N16"};
  QTest::newRow("none") << 0 << 0 << 0 << base;
  QTest::newRow("dtmf only") << 0 << 0 << 1 << QStringList{"N0",  "N1", "N4", "N5",  "N10",
                                                           "N11", "N8", "N9", "N15", "N16"};
  QTest::newRow("all three") << 1 << 1 << 1 << QStringList{"N0",  "N1",  "N4", "N5", "N6",  "N7",
                                                           "N10", "N11", "N8", "N9", "N15", "N16"};
}

void TestMainWindow::treeAndMenusFollowFeatureFlags() {
  QFETCH(int, five);
  QFETCH(int, two);
  QFETCH(int, dtmf);
  QFETCH(QStringList, keys);
  WorldOptions o;
  o.features = {static_cast<int16_t>(five), static_cast<int16_t>(two), static_cast<int16_t>(dtmf),
                0};
  UiWorld w(o);
  frmMain& m = w.main();
  QCOMPARE(TreeKeys(m), keys);
  QCOMPARE(Visible(m, "MnuView5Tone"), five != 0);
  QCOMPARE(Visible(m, "MnuView2Tone"), two != 0);
  QCOMPARE(Visible(m, "MnuViewDTMF"), dtmf != 0);
  QVERIFY(!Visible(m, "MnuHelpContent"));
  QVERIFY(m.tree()->topLevelItem(0)->isExpanded());
  QCOMPARE(m.tree()->topLevelItem(0)->text(0), QString("KV-510_WQN7"));
  QCOMPARE(QString::fromStdString(m.FileFilter()), QString("Data File (*.dat)|*.dat"));
}

void TestMainWindow::factoryEntriesOnlyInFactoryMode() {
  for (bool factory : {false, true}) {
    WorldOptions o;
    o.factoryMode = factory;
    UiWorld w(o);
    QCOMPARE(w.ws.app.FactoryMode, factory);
    QCOMPARE(Visible(w.main(), "mnuTestData"), factory);
    QCOMPARE(Visible(w.main(), "MnuHelpAutoTest"), factory);
  }
}

void TestMainWindow::featuresReportedLaterShowAtOnce() {
  UiWorld w;
  frmMain& m = w.main();
  QCOMPARE(TreeKeys(m).size(), 9);
  // What the link does when an identification switches the flags on.
  w.ws.app.Features = {1, 1, 1, 0};
  m.UpdateFeatureMenus();
  m.LoadShowTree();
  QCOMPARE(TreeKeys(m).size(), 12);
  QVERIFY(Visible(m, "MnuView5Tone") && Visible(m, "MnuView2Tone") && Visible(m, "MnuViewDTMF"));
}

void TestMainWindow::languageSwitchRelocalisesTwice() {
  UiWorld w;
  frmMain& m = w.main();
  const QString english = MenuTitle(m, "mnuFile");
  const QString englishNew = m.findChild<QAction*>("mnuFileNew")->text();
  const QString englishN4 = m.tree()->topLevelItem(0)->child(1)->text(0);
  const QString englishHead = m.gridModel()->CellText(0, 1);
  QVERIFY(!english.isEmpty());
  CheckToolTipsPlain(m);

  auto choose = [&](int entry) {
    w.OnDialog([entry](QDialog& d) {
      auto* list = d.findChild<QComboBox*>("Combo1");
      list->setCurrentIndex(entry);
      QTest::mouseClick(d.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    });
    m.MnuSetLanguage_Click();
  };
  choose(1);
  QCOMPARE(w.ws.app.LanguageIndex, int16_t(2));
  const QString chinese = MenuTitle(m, "mnuFile");
  QVERIFY(chinese != english);
  QCOMPARE(chinese, Q(w.ws.lang.GetLangText(1000)));
  QVERIFY(m.findChild<QAction*>("mnuFileNew")->text() != englishNew);
  QVERIFY(m.tree()->topLevelItem(0)->child(1)->text(0) != englishN4);
  QVERIFY(m.gridModel()->CellText(0, 1) != englishHead);
  CheckToolTipsPlain(m);
  // The shortcut survives the new caption.
  QCOMPARE(m.findChild<QAction*>("mnuFileNew")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));

  choose(0);
  QCOMPARE(w.ws.app.LanguageIndex, int16_t(1));
  QCOMPARE(MenuTitle(m, "mnuFile"), english);
  QCOMPARE(m.findChild<QAction*>("mnuFileNew")->text(), englishNew);
  choose(1);
  QCOMPARE(MenuTitle(m, "mnuFile"), chinese);
}

void TestMainWindow::captionNamesModelBandAndFile() {
  UiWorld w;
  frmMain& m = w.main();
  const QString expected = "KV_X50_WQN7[KV-510_WQN7:" + Q(w.ws.app.BandText) + "][" +
                           Q(w.ws.lang.GetLangText(2012)) + ":new.dat]";
  QCOMPARE(m.windowTitle(), expected);
  // Open shows the chosen file's path.
  const std::string path = w.folder() + "/mine.dat";
  w.prompts.saveNames.push_back(path);
  m.mnuFileSaveAs_Click();
  w.prompts.openNames.push_back(path);
  m.mnuFileOpen_Click();
  QVERIFY2(m.windowTitle().endsWith(":" + QString::fromStdString(path) + "]"),
           qPrintable(m.windowTitle()));
  // New goes back to new.dat.
  m.mnuFileNew_Click();
  QVERIFY(m.windowTitle().endsWith(":new.dat]"));
}

void TestMainWindow::modelDialogChangesBandAndResetsData() {
  UiWorld w;
  frmMain& m = w.main();
  ChannelRecord mine = MakeChannel(5, "014500000");
  mine.Name = "MINE";
  w.ws.channels.AppendChannel(mine);
  m.ShowListByData();
  QCOMPARE(m.gridModel()->CellText(5, 3), QString("MINE"));

  const std::string band48 = BandTextOfCode(48);
  w.OnDialog([&](QDialog& d) {
    auto* model = d.findChild<QComboBox*>("ComboModel");
    auto* band = d.findChild<QComboBox*>("ComboBand");
    QCOMPARE(model->currentText(), QString("KV-510_WQN7"));
    QCOMPARE(band->count(), 5);  // codes 2 to 6
    model->setCurrentIndex(model->findText("KV-540"));
    emit model->activated(model->currentIndex());
    QCOMPARE(band->count(), 8);  // codes 48 to 55
    QCOMPARE(band->currentText(), Q(band48));
    QTest::mouseClick(d.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
  });
  m.MnuModelInfo_Click();
  QVERIFY(w.prompts.Saw(w.ws.lang.BuiltIn().FrequencyDataCleared));
  QCOMPARE(w.prompts.shown.back().title, std::string(w.ws.lang.BuiltIn().WarningTitle));
  QCOMPARE(w.ws.app.BandCode, int16_t(48));
  QCOMPARE(w.ws.app.RxLow, 400.0);
  QCOMPARE(w.ws.app.RadioType, std::string("KP-510"));
  // The data are those of New for the new band.
  QVERIFY(!w.ws.channels.ChannelExists(5) || w.ws.channels.Find(5)->Name.Clean() != "MINE");
  QVERIFY(m.gridModel()->CellText(5, 3) != "MINE");
  QCOMPARE(m.tree()->topLevelItem(0)->text(0), QString("KV-540"));
  QVERIFY(m.windowTitle().contains("KV-540:" + Q(band48)));
  QVERIFY(!IsModified(w.ws));
}

void TestMainWindow::modelDialogSameBandOrCancelKeepsData() {
  UiWorld w;
  frmMain& m = w.main();
  w.ws.channels.AppendChannel(MakeChannel(5, "014500000"));
  // The current band: closes without the warning.
  w.OnDialog([](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
  });
  m.MnuModelInfo_Click();
  QVERIFY(w.prompts.shown.empty());
  // Another band, but Cancel in the warning.
  w.prompts.answers.push_back(Answer::Cancel);
  w.OnDialog([](QDialog& d) {
    auto* band = d.findChild<QComboBox*>("ComboBand");
    band->setCurrentIndex(band->count() - 1);
    QTest::mouseClick(d.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
  });
  m.MnuModelInfo_Click();
  QCOMPARE(w.prompts.shown.size(), size_t(1));
  QCOMPARE(w.ws.app.BandCode, int16_t(3));
  QVERIFY(w.ws.channels.ChannelExists(5));
}

void TestMainWindow::closingModifiedAsksSaveFirst() {
  // Cancel keeps the window open and the data.
  {
    UiWorld w;
    frmMain& m = w.main();
    m.show();
    w.ws.channels.AppendChannel(MakeChannel(7, "014500000"));
    QVERIFY(IsModified(w.ws));
    w.prompts.answers.push_back(Answer::Cancel);
    QVERIFY(!m.close());
    QVERIFY(m.isVisible());
    QCOMPARE(w.prompts.shown.size(), size_t(1));
    QCOMPARE(w.prompts.shown[0].text, std::string(w.ws.lang.BuiltIn().SaveModifiedConfirm));
    QCOMPARE(w.prompts.shown[0].buttons, Buttons::YesNoCancel);
    // No closes without saving.
    w.prompts.answers.push_back(Answer::No);
    QVERIFY(m.close());
  }
  // Yes saves first (Untitled: the save dialog names the file).
  {
    UiWorld w;
    frmMain& m = w.main();
    m.show();
    w.ws.channels.AppendChannel(MakeChannel(7, "014500000"));
    const std::string path = w.folder() + "/closing.dat";
    w.prompts.answers.push_back(Answer::Yes);
    w.prompts.saveNames.push_back(path);
    QVERIFY(m.close());
    QVERIFY(QFile::exists(QString::fromStdString(path)));
    QVERIFY(!IsModified(w.ws));
  }
  // Yes, but the save dialog is cancelled: the window stays open.
  {
    UiWorld w;
    frmMain& m = w.main();
    m.show();
    w.ws.channels.AppendChannel(MakeChannel(7, "014500000"));
    w.prompts.answers.push_back(Answer::Yes);
    w.prompts.saveNames.push_back(std::nullopt);
    QVERIFY(!m.close());
    QVERIFY(IsModified(w.ws));
  }
  // Unmodified data close without a question and write the feature flags.
  {
    UiWorld w;
    frmMain& m = w.main();
    m.show();
    w.ws.app.Features.TwoToneFeature = 1;
    QVERIFY(m.close());
    QVERIFY(w.prompts.shown.empty());
    FeatureFlags read;
    QVERIFY(ReadFeatureFlags(w.ws.app, read));
    QCOMPARE(read.TwoToneFeature, int16_t(1));
  }
}

void TestMainWindow::positionIsStoredAndRestored() {
  UiWorld w;
  {
    frmMain& m = w.main();
    m.show();
    m.setGeometry(40, 50, 700, 500);
    QVERIFY(m.close());
  }
  QSettings s(QSettings::IniFormat, QSettings::UserScope, "kvx50", "KV_X50_WQN7");
  QCOMPARE(s.value("Settings/MainWidth").toString(), QString("700"));
  QCOMPARE(s.value("Settings/MainHeight").toString(), QString("500"));
  // A value that is not a number does not stop the window from opening.
  s.setValue("Settings/MainWidth", "wide");
  s.sync();
  frmMain again(w.ws, w.prompts, w.ports);
  QCOMPARE(again.height(), 500);
  QVERIFY(again.width() > 0);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
