// The FM and AM broadcast-list windows driven as a user drives them.
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>

#include "core/image/Broadcast.h"
#include "frm_settings_helpers.h"
#include "ui/FrmAm.h"
#include "ui/FrmFm.h"

using namespace kvx;
using namespace kvx::test;

namespace {

QPoint CellCentre(QTableWidget* grid, int row, int column) {
  return grid->visualRect(grid->model()->index(row, column)).center();
}

// A double-click as the window system delivers it: press, release, double-click, release.
void DoubleClickCell(QTableWidget* grid, int row, int column) {
  const QPoint at = CellCentre(grid, row, column);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
  QMouseEvent twice(QEvent::MouseButtonDblClick, at, grid->viewport()->mapToGlobal(at),
                    Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(grid->viewport(), &twice);
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
}

// Double-clicks the frequency cell of `row`, types `keys` and presses Enter.
void EditRow(BroadcastGrid& window, int row, const QString& keys) {
  QTableWidget* grid = window.Grid();
  DoubleClickCell(grid, row, 1);
  QVERIFY(window.EditBox()->isVisible());
  QTest::keyClicks(window.EditBox(), keys);
  QTest::keyClick(window.EditBox(), Qt::Key_Return);
  QVERIFY(!window.EditBox()->isVisible());
}

}  // namespace

class TestFrmBroadcast : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  void typedFrequenciesAreHeldWithinTheBand() {
    FmList fm;
    FrmFm fmWindow(fm, lang_);
    fmWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fmWindow));
    EditRow(fmWindow, 0, "80");
    EditRow(fmWindow, 5, "99.1");
    QCOMPARE(fm.entries[0].InUse, int16_t(1));
    QCOMPARE(fm.entries[0].Frequency, 87.5);
    QCOMPARE(fmWindow.Grid()->item(0, 1)->text(), QString("87.50000"));
    QCOMPARE(fm.entries[5].Frequency, 99.1);

    AmList am;
    FrmAm amWindow(am, lang_);
    amWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&amWindow));
    EditRow(amWindow, 20, "200");
    QCOMPARE(am.entries[BroadcastList::kVfo].Frequency, 145.0);
    QCOMPARE(amWindow.Grid()->item(20, 1)->text(), QString("145.00000"));
    QCOMPARE(amWindow.Grid()->item(20, 0)->text(), QString("VFO"));

    // A text that is not a number empties the entry.
    EditRow(amWindow, 20, ".");
    QCOMPARE(am.entries[BroadcastList::kVfo].InUse, int16_t(0));
    QVERIFY(amWindow.Grid()->item(20, 1)->text().isEmpty());
  }

  void checkFrequencyText() {
    FmList fm;
    FrmFm window(fm, lang_);
    const std::pair<QString, QString> cases[] = {
        {"80", "87.5"},
        {"108.00001", "108"},
        {"99.10", "99.1"},
        {"87.5", "87.5"},
        {"", ""},
        {".", ""},
        {"1.2.3", ""},
        {"abc", ""},
        {"100.12345", "100.12345"},
    };
    for (const auto& [typed, result] : cases) QCOMPARE(window.TV_CH_CheckFre(typed), result);
    QCOMPARE(BroadcastGrid::FrequencyText(5), QString("05.00000"));
    QCOMPARE(BroadcastGrid::FrequencyText(88.1234), QString("88.12340"));
  }

  void showsTheListAndEditsOnlyFrequencies() {
    FmList fm;
    fm.entries[2] = {3, 1, 88.1234};
    fm.entries[3] = {4, 0, 95.0};  // not in use: empty cell, frequency kept
    FrmFm window(fm, lang_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableWidget* grid = window.Grid();
    QCOMPARE(grid->rowCount(), 21);
    QCOMPARE(grid->item(19, 0)->text(), QString("19"));
    QCOMPARE(grid->item(2, 1)->text(), QString("88.12340"));
    QVERIFY(grid->item(3, 1)->text().isEmpty());

    DoubleClickCell(grid, 2, 0);
    QVERIFY(!window.EditBox()->isVisible());

    // The box opens with the cell's text selected; only digits and the point get in.
    DoubleClickCell(grid, 2, 1);
    QLineEdit* box = window.EditBox();
    QCOMPARE(box->text(), QString("88.12340"));
    QCOMPARE(box->selectedText(), box->text());
    QTest::keyClicks(box, "9a0-.5e");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QString("90.5"));

    // A click elsewhere in the grid commits.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 10, 0));
    QVERIFY(!box->isVisible());
    QCOMPARE(fm.entries[2].Frequency, 90.5);
    QCOMPARE(fm.entries[3].Frequency, 95.0);
  }

  void closingCommitsTheOpenCell() {
    FmList fm;
    FrmFm window(fm, lang_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableWidget* grid = window.Grid();
    DoubleClickCell(grid, 7, 1);
    QTest::keyClicks(window.EditBox(), "101.7");
    Click(&window, "CommandClose");
    QVERIFY(!window.isVisible());
    QCOMPARE(fm.entries[7].InUse, int16_t(1));
    QCOMPARE(fm.entries[7].Frequency, 101.7);
  }

  void screenshots() {
    FmList fm;
    fm.entries[0] = {1, 1, 87.5};
    fm.entries[1] = {2, 1, 101.7};
    fm.entries[BroadcastList::kVfo] = {21, 1, 98.0};
    AmList am;
    am.entries[0] = {1, 1, 118.1};
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      const QString suffix = language == kLanguageEnglish ? "_en" : "_zh";
      FrmFm fmWindow(fm, lang);
      SaveScreenshot(&fmWindow, "FrmFm" + suffix);
      FrmAm amWindow(am, lang);
      SaveScreenshot(&amWindow, "FrmAm" + suffix);
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrmBroadcast)
#include "test_frm_broadcast.moc"
