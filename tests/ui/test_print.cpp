// The print selection dialog, the window reader the sections are printed from, page breaks
// and what printing leaves alone. PDF texts are read back with pdftotext.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "core/image/Tones.h"
#include "frm_settings_helpers.h"
#include "print/FrmPrintList.h"
#include "print/PrintOut.h"
#include "print/WindowReader.h"
#include "support/UiWorld.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

// The text of each page of a PDF file.
QStringList PdfPages(const QString& pdf) {
  QProcess p;
  p.start("pdftotext", {"-layout", pdf, "-"});
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
  QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
  while (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// The last line of a page without its blanks ("-3-").
QString Footer(const QString& page) {
  QStringList lines = page.split(u'\n');
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  return lines.isEmpty() ? QString() : lines.last().remove(u' ');
}

void PdfOutput(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
}

// Working data with something in every area that prints.
void FillWorkspace(Workspace& ws) {
  ws.channels = ChannelList{};
  for (int n = 1; n <= 7; ++n) {
    ChannelRecord c = DefaultChannel(n, ws.app);
    c.Name = std::string("CH") + std::to_string(n);
    if (n == 2) {
      c.ToneAType = ToneCtcss;
      c.ToneACtcss = 12;
    }
    if (n == 3) {
      c.ToneBType = ToneDcs;
      c.ToneBDcs = 023;
      c.ToneBInverted = 1;
      c.Signalling = 3;
      c.FiveToneCode = 4;
    }
    ws.channels.AppendChannel(c);
  }
  ws.channels.AppendChannel(DefaultChannel(kChannelCall, ws.app));
  ws.channels.AppendChannel(DefaultChannel(kChannelVfo, ws.app));
  for (int k = 0; k < 3; ++k) {
    ws.settings.Dtmf.Codes[static_cast<size_t>(k)].Text = std::string(5, char('1' + k));
    ws.settings.Dtmf.Codes[static_cast<size_t>(k)].Length = 5;
  }
  for (int j : {0, 4, 17}) {
    FiveToneCode& c = ws.settings.FiveTone.Codes[static_cast<size_t>(j)];
    c.Empty = 0;
    c.Digits = std::to_string(12340 + j);
    c.Length = 5;
    c.Name = "FT" + std::to_string(j);
  }
  for (size_t e = 0; e < 60; ++e) {
    SetBookText(ws.settings.Book.entries[e].CallId, std::to_string(20000 + e));
    SetBookText(ws.settings.Book.entries[e].EntryName, "USER" + std::to_string(e));
  }
  ws.settings.Alert.LoneWorkerDetect = 1;
  ws.radioInfo.SerialNumber = "SN0012345";
  ws.radioInfo.DealerCode = "D-77";
}

// A small window with the shapes the reader meets in the real ones.
class Fixture : public QDialog {
 public:
  Fixture() {
    auto* grid = new QGridLayout;
    // Two columns of label-and-list pairs: read column by column.
    const char* labels[2][2] = {{"A0", "A1"}, {"B0", "B1"}};
    for (int band = 0; band < 2; ++band) {
      for (int row = 0; row < 2; ++row) {
        auto* l = new QLabel(labels[band][row], this);
        auto* c = new QComboBox(this);
        c->addItems({QString("v") + labels[band][row], "other"});
        grid->addWidget(l, row, band * 2);
        grid->addWidget(c, row, band * 2 + 1);
      }
    }
    auto* hiddenLabel = new QLabel("Hidden", this);
    auto* hiddenBox = new QLineEdit("x", this);
    hiddenLabel->hide();
    hiddenBox->hide();
    grid->addWidget(hiddenLabel, 2, 0);
    grid->addWidget(hiddenBox, 2, 1);

    // Check boxes without labels: read row by row.
    auto* checks = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
      auto* c = new QCheckBox(QString("&Check%1").arg(i), this);
      c->setChecked(i == 2);
      checks->addWidget(c, i / 2, i % 2);
    }

    // A titled frame: a two-line caption, one-character boxes read as one text.
    auto* frame = new QGroupBox("Frame", this);
    auto* frameGrid = new QGridLayout(frame);
    auto* captions = new QVBoxLayout;
    captions->addWidget(new QLabel("Two", frame));
    captions->addWidget(new QLabel("Lines", frame));
    frameGrid->addLayout(captions, 0, 0);
    auto* chars = new QHBoxLayout;
    for (QString c : {"H", "I", "", "Y", "O"}) {
      auto* box = new QLineEdit(c, frame);
      box->setMaxLength(1);
      chars->addWidget(box);
    }
    frameGrid->addLayout(chars, 0, 1);

    // Tab pages, each read though only one is current; a grid with its used rows.
    auto* tabs = new QTabWidget(this);
    auto* page1 = new QWidget;
    auto* p1 = new QVBoxLayout(page1);
    p1->addWidget(new QLabel("Standalone note", page1));
    auto* page2 = new QWidget;
    auto* p2 = new QVBoxLayout(page2);
    auto* table = new QTableWidget(3, 2, page2);
    table->setHorizontalHeaderLabels({"No.", "Name"});
    for (int r = 0; r < 3; ++r) {
      table->setItem(r, 0, new QTableWidgetItem(QString::number(r)));
      table->setItem(r, 1, new QTableWidgetItem(r == 1 ? QString() : QString("N%1").arg(r)));
    }
    p2->addWidget(table);
    tabs->addTab(page1, "&First");
    tabs->addTab(page2, "Second");

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(checks);
    outer->addWidget(frame);
    outer->addWidget(tabs);
    outer->addWidget(new QPushButton("OK", this));
  }
};

QString Describe(const PrintLine& l) {
  switch (l.kind) {
    case PrintLine::Heading:
      return QString("H%1 %2").arg(l.level).arg(l.label);
    case PrintLine::Text:
      return QString("T%1 %2").arg(l.level).arg(l.label);
    case PrintLine::Pair:
      return QString("P%1 %2=%3").arg(l.level).arg(l.label, l.value);
    case PrintLine::Table: {
      QStringList rows;
      for (const QStringList& r : l.rows) rows << r.join(u',');
      return QString("G%1 %2|%3").arg(l.level).arg(l.head.join(u','), rows.join(u';'));
    }
  }
  return {};
}

}  // namespace

class TestPrint : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QuietOffscreenWarnings(); }

  void selectionDialogTexts() {
    struct Case {
      int16_t language;
      QString caption, selectAll, set, ok, item0, item9;
    };
    const Case cases[] = {
        {1, "Print", "Select &All", "&Set", "&OK", "Channel Infomation", "Emergency Alarm"},
        {2, "打印", "选择所有(&A)", "设置(&S)", "确定(&O)", "信道信息", "紧急报警"},
    };
    for (const Case& c : cases) {
      WorldOptions options;
      options.language = c.language;
      UiWorld w(options);
      QPrinter printer;
      FrmPrintList d(w.ws, w.prompts, printer);
      QCOMPARE(d.windowTitle(), c.caption);
      QCOMPARE(d.findChild<QPushButton*>("CommandSelectAll")->text(), c.selectAll);
      QCOMPARE(d.findChild<QPushButton*>("CommandSet")->text(), c.set);
      QCOMPARE(d.findChild<QPushButton*>("CommandOK")->text(), c.ok);
      QCOMPARE(d.ItemBox(0)->text(), c.item0);
      QCOMPARE(d.ItemBox(9)->text(), c.item9);
      QVERIFY(!d.ItemBox(1) && !d.ItemBox(2));
      QVERIFY(d.TickedItems().empty());

      QTest::mouseClick(d.findChild<QPushButton*>("CommandSelectAll"), Qt::LeftButton);
      QVERIFY(d.TickedItems() == std::vector<int>(kPrintItems.begin(), kPrintItems.end()));
      QTest::mouseClick(d.findChild<QPushButton*>("CommandClearAll"), Qt::LeftButton);
      QVERIFY(d.TickedItems().empty());
    }
  }

  void nothingSelectedWarnsAndStaysOpen() {
    UiWorld w;
    QPrinter printer;
    FrmPrintList d(w.ws, w.prompts, printer);
    bool printDialogShown = false;
    d.printDialogRunner = [&](QDialog&) {
      printDialogShown = true;
      return int(QDialog::Accepted);
    };
    d.CommandOK_Click();
    QCOMPARE(int(w.prompts.shown.size()), 1);
    QCOMPARE(w.prompts.shown[0].text, std::string("Please select printing items."));
    QVERIFY(w.prompts.shown[0].icon == Icon::Warning);
    QVERIFY(!printDialogShown);
    QCOMPARE(d.result(), int(QDialog::Rejected));
  }

  // Cancelling the print dialog or a printer that cannot be used prints nothing, shows nothing
  // and keeps the dialog open with its ticks; a print that ends closes it.
  void printCancelledFailedOrDone() {
    UiWorld w;
    FillWorkspace(w.ws);
    QTemporaryDir tmp;
    const QString good = tmp.filePath("out.pdf");
    const QString bad = tmp.filePath("missing/folder/out.pdf");
    struct Case {
      QString output;  // empty: the print dialog is cancelled
      bool done;
    };
    for (const Case& c : {Case{{}, false}, Case{bad, false}, Case{good, true}}) {
      QPrinter printer;
      FrmPrintList d(w.ws, w.prompts, printer);
      d.ItemBox(9)->setChecked(true);
      d.ItemBox(8)->setChecked(true);
      d.printDialogRunner = [&](QDialog& dialog) {
        auto* pd = qobject_cast<QPrintDialog*>(&dialog);
        if (!pd || pd->printer() != &printer || c.output.isEmpty()) return int(QDialog::Rejected);
        PdfOutput(*pd->printer(), c.output);
        return int(QDialog::Accepted);
      };
      d.CommandOK_Click();
      QCOMPARE(d.PrintDone, c.done);
      QCOMPARE(d.result(), int(c.done ? QDialog::Accepted : QDialog::Rejected));
      QVERIFY(d.PrintItems() == (std::vector<int>{8, 9}));
      QVERIFY(d.TickedItems() == (std::vector<int>{8, 9}));
      QVERIFY(w.prompts.shown.empty());
    }
    QVERIFY(!QFile::exists(bad));
    const QStringList pages = PdfPages(good);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains("Embedded Message"));
    QVERIFY(pages[0].contains("SN0012345"));
    QCOMPARE(Footer(pages[0]), QString("-1-"));
    QVERIFY(pages[1].contains("Emergency Alarm"));
    QCOMPARE(Footer(pages[1]), QString("-2-"));
  }

  void printerSetupAndPreview() {
    UiWorld w;
    QPrinter printer;
    FrmPrintList d(w.ws, w.prompts, printer);
    QPrinter* setupPrinter = nullptr;
    d.setupRunner = [&](QDialog& dialog) {
      if (auto* s = qobject_cast<QPageSetupDialog*>(&dialog)) setupPrinter = s->printer();
      return int(QDialog::Rejected);
    };
    QTest::mouseClick(d.findChild<QPushButton*>("CommandSet"), Qt::LeftButton);
    QCOMPARE(setupPrinter, &printer);

    int previewPages = -1;
    d.previewRunner = [&](QDialog& dialog) {
      if (!qobject_cast<QPrintPreviewDialog*>(&dialog)) return int(QDialog::Rejected);
      auto* view = dialog.findChild<QPrintPreviewWidget*>();
      view->updatePreview();
      previewPages = view->pageCount();
      return int(QDialog::Rejected);
    };
    QTest::mouseClick(d.findChild<QPushButton*>("CommandPreview"), Qt::LeftButton);
    QCOMPARE(previewPages, -1);  // nothing ticked: the warning instead
    QCOMPARE(int(w.prompts.shown.size()), 1);
    d.ItemBox(7)->setChecked(true);
    d.ItemBox(9)->setChecked(true);
    QTest::mouseClick(d.findChild<QPushButton*>("CommandPreview"), Qt::LeftButton);
    QCOMPARE(previewPages, 2);
    QCOMPARE(d.result(), int(QDialog::Rejected));  // the preview closes nothing
  }

  void mainWindowOpensTheSelection() {
    UiWorld w;
    frmMain& main = w.main();
    QVERIFY(!main.printCommand);
    InstallPrintCommand(main);
    QVERIFY(main.printCommand);
    QString opened;
    w.OnDialog([&](QDialog& d) {
      opened = d.objectName();
      QTest::mouseClick(d.findChild<QPushButton*>("CommandCancel"), Qt::LeftButton);
    });
    main.mnuFilePrint_Click();
    QCOMPARE(opened, QString("FrmPrintList"));
  }

  void readerFollowsTheWindowsOrder() {
    Fixture f;
    WindowReader reader("OFF", "ON");
    reader.ReadWindow(&f);
    QStringList got;
    for (const PrintLine& l : reader.Lines()) got << Describe(l);
    const QStringList expected = {
        "P0 A0=vA0",     "P0 A1=vA1",
        "P0 B0=vB0",     "P0 B1=vB1",
        "P0 Check0=OFF", "P0 Check1=OFF",
        "P0 Check2=ON",  "P0 Check3=OFF",
        "H0 Frame",      "P1 Two Lines=HI YO",
        "H0 First",      "T1 Standalone note",
        "H0 Second",     "G1 No.,Name|0,N0;2,N2",
    };
    QCOMPARE(got, expected);
  }

  // A section longer than a page goes on over several, each with its header and footer, and
  // no line passes the footer.
  void longSectionBreaksBeforeTheFooter() {
    UiWorld w;
    for (int j = 0; j < 100; ++j) {
      FiveToneCode& c = w.ws.settings.FiveTone.Codes[static_cast<size_t>(j)];
      c.Empty = 0;
      c.Digits = std::to_string(10000 + j);
      c.Length = 5;
      c.Name = "C" + std::to_string(j);
    }
    QTemporaryDir tmp;
    QPrinter printer;
    PdfOutput(printer, tmp.filePath("ft.pdf"));
    QVERIFY(PrintSections(printer, w.ws, {kPrintFiveTone, kPrintAlert}));
    const QStringList pages = PdfPages(tmp.filePath("ft.pdf"));
    QVERIFY2(pages.size() >= 4, qPrintable(QString::number(pages.size())));
    int codes = 0;
    for (int p = 0; p < pages.size(); ++p) {
      QVERIFY(pages[p].contains("KV_X50_WQN7 Radio Programming Information"));
      QCOMPARE(Footer(pages[p]), QString("-%1-").arg(p + 1));
      for (const QString& line : pages[p].split(u'\n')) {
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.size() >= 2 && words.last() == "C" + words.first()) ++codes;
      }
      // The grid's heading starts every page the grid goes on over.
      if (p > 0 && p + 1 < pages.size()) QVERIFY(pages[p].contains("Tone Period (ms)"));
    }
    QCOMPARE(codes, 100);
    QVERIFY(pages.last().contains("Emergency Alarm"));
  }

  // The windows correct odd values in what they show; printing must not carry that back.
  void printingLeavesTheWorkingDataAlone() {
    UiWorld w;
    FillWorkspace(w.ws);
    w.ws.settings.TwoTone.FirstDivider = 0;
    w.ws.settings.TwoTone.ToneA = 0xFFFF;
    w.ws.settings.FiveTone.TonePeriod = 0;
    w.ws.settings.FiveTone.Codes[17].TonePeriod = 99;
    w.ws.app.CurrentEditChannel = 2;
    CopyWorkingToSaved(w.ws);
    const SettingsRecord settings = w.ws.settings;
    const ChannelList channels = w.ws.channels;
    QTemporaryDir tmp;
    QPrinter printer;
    PdfOutput(printer, tmp.filePath("all.pdf"));
    QVERIFY(PrintSections(printer, w.ws, {kPrintItems.begin(), kPrintItems.end()}));
    QVERIFY(w.ws.settings == settings);
    QVERIFY(w.ws.channels == channels);
    QCOMPARE(w.ws.app.CurrentEditChannel, int16_t(2));
    QVERIFY(!IsModified(w.ws));
  }

  // The selection dialog and one page of each section as pictures under $KVX50_SCREENSHOTS
  // (print_dialog_<lang>.png, print_<section>_<lang>.png).
  void pictures() {
    const QString folder = qEnvironmentVariable("KVX50_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("KVX50_SCREENSHOTS is not set");
    QDir().mkpath(folder);
    const std::pair<int, const char*> sections[] = {
        {kPrintChannels, "channels"},   {kPrintOption, "option"},  {kPrintDtmf, "dtmf"},
        {kPrintTwoTone, "2tone"},       {kPrintFiveTone, "5tone"}, {kPrintBook, "book"},
        {kPrintRadioInfo, "radioinfo"}, {kPrintAlert, "alert"}};
    for (int16_t language : {1, 2}) {
      WorldOptions options;
      options.language = language;
      UiWorld w(options);
      FillWorkspace(w.ws);
      const QString lang = language == 1 ? "en" : "zh";
      {
        QPrinter printer;
        FrmPrintList d(w.ws, w.prompts, printer);
        d.ItemBox(kPrintChannels)->setChecked(true);
        d.ItemBox(kPrintBook)->setChecked(true);
        d.show();
        QCoreApplication::processEvents();
        QVERIFY(d.grab().save(QDir(folder).filePath("print_dialog_" + lang + ".png")));
      }
      QTemporaryDir tmp;
      for (const auto& [item, name] : sections) {
        QPrinter printer(QPrinter::HighResolution);
        PdfOutput(printer, tmp.filePath("s.pdf"));
        QVERIFY(PrintSections(printer, w.ws, {item}, {"2026-01-01    12:00:00"}));
        const QString base = QDir(folder).filePath(QString("print_%1_%2").arg(name, lang));
        QCOMPARE(QProcess::execute("pdftoppm", {"-png", "-r", "72", "-f", "1", "-l", "1",
                                                "-singlefile", tmp.filePath("s.pdf"), base}),
                 0);
        QVERIFY(QFile::exists(base + ".png"));
      }
    }
  }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
