// The channel list: cell texts of both redraws, row labels by model, colours, and the
// private one-channel clipboard through the menu entries.
#include <QAction>
#include <QBrush>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "core/app/BandTable.h"
#include "support/UiWorld.h"
#include "ui/ChannelGridModel.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

ChannelRecord WithTones(ChannelRecord c, int typeA, int ctcssA, int dcsA, int invA) {
  c.ToneAType = static_cast<int16_t>(typeA);
  c.ToneACtcss = static_cast<int16_t>(ctcssA);
  c.ToneADcs = static_cast<int16_t>(dcsA);
  c.ToneAInverted = static_cast<int16_t>(invA);
  return c;
}

void Trigger(frmMain& m, const char* action) {
  m.findChild<QAction*>(action)->trigger();
}

}  // namespace

class TestChannelGrid : public QObject {
  Q_OBJECT
 private slots:
  void cellsOfOneRow_data();
  void cellsOfOneRow();
  void bothRedrawsShowTheSameRow();
  void emptyAndUnusedRows();
  void fullRedrawAnnouncesChangesAndKeepsThePlace();
  void rowLabelsByModel();
  void headsAndColours();
  void clipboardCommands();
  void pasteOntoCallVfoAndEmptyRows();
};

void TestChannelGrid::cellsOfOneRow_data() {
  QTest::addColumn<int>("column");
  QTest::addColumn<int>("shift");
  QTest::addColumn<int>("toneType");
  QTest::addColumn<int>("ctcss");
  QTest::addColumn<int>("dcs");
  QTest::addColumn<int>("inverted");
  QTest::addColumn<int>("signalling");
  QTest::addColumn<QString>("expected");
  // Transmit column from receive 145.00000 and offset 0.60000.
  QTest::newRow("tx minus") << 2 << 1 << 0 << 0 << 0 << 0 << 0 << "144.40000";
  QTest::newRow("tx plus") << 2 << 2 << 0 << 0 << 0 << 0 << 0 << "145.60000";
  QTest::newRow("tx none") << 2 << 0 << 0 << 0 << 0 << 0 << 0 << "145.00000";
  QTest::newRow("tx bad shift") << 2 << 3 << 0 << 0 << 0 << 0 << 0 << "145.00000";
  QTest::newRow("rx") << 1 << 1 << 0 << 0 << 0 << 0 << 0 << "145.00000";
  // Tone setting A.
  QTest::newRow("dcs") << 8 << 0 << 2 << 0 << 19 << 0 << 0 << "D023N";
  QTest::newRow("dcs inverted") << 8 << 0 << 2 << 0 << 19 << 1 << 0 << "D023I";
  QTest::newRow("dcs 511") << 8 << 0 << 2 << 0 << 511 << 0 << 0 << "D777N";
  QTest::newRow("dcs out of range") << 8 << 0 << 2 << 0 << 600 << 0 << 0 << "D000N";
  QTest::newRow("ctcss") << 8 << 0 << 1 << 20 << 0 << 0 << 0 << "127.3";
  QTest::newRow("ctcss out of range") << 8 << 0 << 1 << 77 << 0 << 0 << 0 << "62.5";
  QTest::newRow("signalling dtmf") << 10 << 0 << 0 << 0 << 0 << 0 << 1 << "DTMF M4";
  QTest::newRow("signalling 2tone") << 10 << 0 << 0 << 0 << 0 << 0 << 2 << "2tone 7";
  QTest::newRow("signalling 5tone") << 10 << 0 << 0 << 0 << 0 << 0 << 3 << "5tone 9";
}

void TestChannelGrid::cellsOfOneRow() {
  QFETCH(int, column);
  QFETCH(int, shift);
  QFETCH(int, toneType);
  QFETCH(int, ctcss);
  QFETCH(int, dcs);
  QFETCH(int, inverted);
  QFETCH(int, signalling);
  QFETCH(QString, expected);
  UiWorld w;
  ChannelRecord c =
      WithTones(MakeChannel(12, "014500000", shift, "000060000"), toneType, ctcss, dcs, inverted);
  c.Signalling = static_cast<int16_t>(signalling);
  c.DtmfCode = 3;
  c.TwoToneCode = 7;
  c.FiveToneCode = 9;
  w.ws.channels.AppendChannel(c);
  frmMain& m = w.main();
  QCOMPARE(m.gridModel()->CellText(12, column), expected);
  // The clamps change only what is shown.
  QCOMPARE(w.ws.channels.Find(12)->ToneADcs, int16_t(dcs));
}

void TestChannelGrid::bothRedrawsShowTheSameRow() {
  UiWorld w;
  ChannelRecord c = MakeChannel(3, "014500000");
  c.Bandwidth = 3;
  c.Power = 7;
  c.Name = "AB";
  c.Step = 5;
  w.ws.channels.AppendChannel(c);
  frmMain& m = w.main();
  ChannelGridModel* g = m.gridModel();
  QStringList full;
  for (int col = 1; col <= 10; ++col) full << g->CellText(3, col);
  m.ReShowGrid(0, 3);
  QStringList one;
  for (int col = 1; col <= 10; ++col) one << g->CellText(3, col);
  QCOMPARE(one, full);
  QCOMPARE(full[4], QString("12.5K"));                // bandwidth 3: one rule for both redraws
  QCOMPARE(full[6], Q(w.ws.lang.GetLangText(1204)));  // power above 2 counts as 0
  QCOMPARE(full[2], QString("AB"));
  QCOMPARE(full[3], QString("12.5K"));  // step 5 where 2.5K is offered (band 3)
  QCOMPARE(full[7], Q(w.ws.lang.GetLangText(1206)));
  // Another grid index redraws nothing.
  w.ws.channels.DeleteChannel(3);
  m.ReShowGrid(1, 3);
  QCOMPARE(g->CellText(3, 1), QString("145.00000"));
  m.ReShowGrid(0, 3);
  QCOMPARE(g->CellText(3, 1), QString());
}

void TestChannelGrid::fullRedrawAnnouncesChangesAndKeepsThePlace() {
  UiWorld w;
  w.ws.channels.AppendChannel(MakeChannel(10, "014500000"));
  w.ws.channels.AppendChannel(MakeChannel(50, "014600000"));
  frmMain& m = w.main();
  ChannelGridModel* g = m.gridModel();
  m.SetCurrentCell(10, 3);
  QSignalSpy cells(g, &QAbstractItemModel::dataChanged);
  QSignalSpy heads(g, &QAbstractItemModel::headerDataChanged);
  QSignalSpy resets(g, &QAbstractItemModel::modelReset);

  // Two channels changed: one announcement from the first to the last of them.
  w.ws.channels.Find(10)->Name = "AA";
  w.ws.channels.Find(50)->Name = "BB";
  m.ShowListByData();
  QCOMPARE(cells.count(), 1);
  QCOMPARE(cells[0][0].toModelIndex().row(), 9);
  QCOMPARE(cells[0][1].toModelIndex().row(), 49);
  QCOMPARE(heads.count(), 0);
  QCOMPARE(resets.count(), 0);
  QCOMPARE(g->CellText(10, 3), QString("AA"));
  QCOMPARE(g->CellText(50, 3), QString("BB"));
  QCOMPARE(m.grid()->currentIndex(), g->index(9, 2));

  // Nothing changed: nothing to repaint.
  m.ShowListByData();
  QCOMPARE(cells.count(), 1);
  QCOMPARE(heads.count(), 0);

  // A channel deleted clears its row; a model of the other numbering relabels the rows.
  w.ws.channels.DeleteChannel(50);
  SetBandText(w.ws.app, BandTextOfCode(17));
  m.ShowListByData();
  QCOMPARE(g->CellText(50, 3), QString());
  QCOMPARE(g->CellText(1, 0), QString("1"));
  QCOMPARE(heads.count(), 1);
  QCOMPARE(heads[0][0].value<Qt::Orientation>(), Qt::Vertical);
  QCOMPARE(m.grid()->currentIndex(), g->index(9, 2));
}

void TestChannelGrid::emptyAndUnusedRows() {
  UiWorld w;
  ChannelRecord unused = MakeChannel(9, "014600000");
  unused.InUse = 0;
  w.ws.channels.AppendChannel(unused);
  frmMain& m = w.main();
  for (int col = 1; col <= 10; ++col) QCOMPARE(m.gridModel()->CellText(8, col), QString());
  QCOMPARE(m.gridModel()->CellText(8, 0), QString("7"));
  QCOMPARE(m.gridModel()->CellText(9, 1), QString("146.00000"));  // shown although InUse 0
  QVERIFY(m.grid()->isColumnHidden(5));                           // the list-flag column
}

void TestChannelGrid::rowLabelsByModel() {
  UiWorld w;
  frmMain& m = w.main();
  ChannelGridModel* g = m.gridModel();
  QCOMPARE(g->CellText(1, 0), QString("0"));
  QCOMPARE(g->CellText(200, 0), QString("199"));
  QVERIFY(!m.grid()->isRowHidden(199));
  const QStringList special = {"PA", "PB", "CALL", "VFO"};
  for (int i = 0; i < 4; ++i) QCOMPARE(g->CellText(201 + i, 0), special[i]);

  // A band of group 1 shows the "KV-520" numbering: 1 to 199, row 200 hidden.
  SetBandText(w.ws.app, BandTextOfCode(17));
  m.ShowListByData();
  QCOMPARE(g->CellText(1, 0), QString("1"));
  QCOMPARE(g->CellText(199, 0), QString("199"));
  QVERIFY(m.grid()->isRowHidden(199));
  for (int i = 0; i < 4; ++i) QCOMPARE(g->CellText(201 + i, 0), special[i]);

  // Back to another model: row 200 comes back.
  SetBandText(w.ws.app, BandTextOfCode(48));
  m.ShowListByData();
  QCOMPARE(g->CellText(1, 0), QString("0"));
  QVERIFY(!m.grid()->isRowHidden(199));
}

void TestChannelGrid::headsAndColours() {
  UiWorld w;
  frmMain& m = w.main();
  ChannelGridModel* g = m.gridModel();
  const LanguageTable& L = w.ws.lang;
  QCOMPARE(g->CellText(0, 0), Q(L.GetLangText(3006)));
  QCOMPARE(g->CellText(0, 8), Q(L.GetLangText(1107)) + "\n" + Q(L.GetLangText(1112)));
  QCOMPARE(g->CellText(0, 9), Q(L.GetLangText(1107)) + "\n" + Q(L.GetLangText(1113)));
  auto bg = [&](int row, int col) {
    return g->data(g->index(row - 1, col - 1), Qt::BackgroundRole).value<QBrush>().color();
  };
  QCOMPARE(bg(2, 1), QColor(250, 250, 240));
  QCOMPARE(bg(204, 10), QColor(250, 250, 240));
  QVERIFY(!g->data(g->index(0, 0), Qt::BackgroundRole).isValid());  // row 1 keeps the default
  QCOMPARE(g->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color(),
           QColor(0, 0, 155));
  QCOMPARE(g->headerData(5, Qt::Vertical, Qt::ForegroundRole).value<QBrush>().color(),
           QColor(0, 0, 255));
}

void TestChannelGrid::clipboardCommands() {
  UiWorld w;
  w.ws.channels.AppendChannel(MakeChannel(1, "014500000"));
  ChannelRecord second = MakeChannel(2, "014600000");
  second.Name = "TWO";
  second.Power = 2;
  w.ws.channels.AppendChannel(second);
  frmMain& m = w.main();
  ChannelGridModel* g = m.gridModel();

  // Paste before any copy or cut does nothing.
  m.SetCurrentCell(1);
  Trigger(m, "MnuCHPaste");
  QCOMPARE(g->CellText(1, 1), QString("145.00000"));

  // Copy row 2, paste onto an empty row: a channel with that number and every other field.
  m.SetCurrentCell(2);
  Trigger(m, "MnuCHCopy");
  m.SetCurrentCell(50);
  Trigger(m, "MnuCHPaste");
  const ChannelRecord* pasted = w.ws.channels.Find(50);
  QVERIFY(pasted);
  QCOMPARE(pasted->Name.Clean(), std::string("TWO"));
  QCOMPARE(pasted->Power, int16_t(2));
  QCOMPARE(g->CellText(50, 3), QString("TWO"));

  // Cut row 1 removes it; paste onto row 2 overwrites row 2 keeping its number.
  m.SetCurrentCell(1);
  Trigger(m, "MnuCHCut");
  QVERIFY(!w.ws.channels.ChannelExists(1));
  QCOMPARE(g->CellText(1, 1), QString());
  m.SetCurrentCell(2);
  Trigger(m, "MnuCHPaste");
  QCOMPARE(w.ws.channels.Find(2)->RxFreq.Clean(), std::string("014500000"));
  QCOMPARE(g->CellText(2, 1), QString("145.00000"));

  // Delete through the toolbar key; on CALL and VFO it leaves them.
  m.SetCurrentCell(50);
  for (QAction* a : m.findChildren<QAction*>())
    if (a->objectName() == "CHDelete") a->trigger();
  QVERIFY(!w.ws.channels.ChannelExists(50));
  for (int row : {kChannelCall, kChannelVfo}) {
    m.SetCurrentCell(row);
    Trigger(m, "MnuCHDelete");
    QVERIFY(w.ws.channels.ChannelExists(row));
    QVERIFY(!g->CellText(row, 1).isEmpty());
  }
  // Cut on VFO copies without deleting.
  m.SetCurrentCell(kChannelVfo);
  Trigger(m, "MnuCHCut");
  QVERIFY(w.ws.channels.ChannelExists(kChannelVfo));
  QCOMPARE(m.clipboard().Record.Number, int16_t(kChannelVfo));
}

void TestChannelGrid::pasteOntoCallVfoAndEmptyRows() {
  UiWorld w;
  w.ws.channels.AppendChannel(MakeChannel(4, "014500000"));
  frmMain& m = w.main();
  // Copy an empty row: pasting it deletes a used row but leaves CALL and VFO.
  m.SetCurrentCell(10);
  Trigger(m, "MnuCHCopy");
  QCOMPARE(m.clipboard().Record.InUse, int16_t(0));
  QVERIFY(m.clipboard().ClipboardFilled);
  m.SetCurrentCell(4);
  Trigger(m, "MnuCHPaste");
  QVERIFY(!w.ws.channels.ChannelExists(4));
  QCOMPARE(m.gridModel()->CellText(4, 1), QString());
  for (int row : {kChannelCall, kChannelVfo}) {
    m.SetCurrentCell(row);
    Trigger(m, "MnuCHPaste");
    QVERIFY(w.ws.channels.ChannelExists(row));
  }
  // The keyboard shortcuts reach the same commands from the grid.
  m.show();
  m.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&m));
  m.grid()->setFocus();
  m.SetCurrentCell(kChannelCall);
  QTest::keyClick(m.grid(), Qt::Key_C, Qt::ControlModifier);
  m.SetCurrentCell(30);
  QTest::keyClick(m.grid(), Qt::Key_V, Qt::ControlModifier);
  QVERIFY(w.ws.channels.ChannelExists(30));
  QCOMPARE(w.ws.channels.Find(30)->RxFreq, w.ws.channels.Find(kChannelCall)->RxFreq);
}

QTEST_MAIN(TestChannelGrid)
#include "test_channel_grid.moc"
