// The communication-book dialog driven as a user drives it.
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/image/Book.h"
#include "core/util/Bytes.h"
#include "frm_settings_helpers.h"
#include "support/ScriptedPrompts.h"
#include "ui/FrmCommuBook.h"

using namespace kvx;
using namespace kvx::test;

namespace {

// Scripted prompts that also remember the name each file dialog started with.
class BookPrompts : public ScriptedPrompts {
 public:
  std::vector<std::string> initials;
  std::optional<std::string> OpenFileName(std::string_view title, std::string_view filter,
                                          std::string_view initial) override {
    initials.emplace_back(initial);
    filters.emplace_back(filter);
    return ScriptedPrompts::OpenFileName(title, filter, initial);
  }
  std::optional<std::string> SaveFileName(std::string_view title, std::string_view filter,
                                          std::string_view initial) override {
    initials.emplace_back(initial);
    filters.emplace_back(filter);
    return ScriptedPrompts::SaveFileName(title, filter, initial);
  }
  std::vector<std::string> filters;
};

void ClickCell(FrmCommuBook& dialog, int entry, int column) {
  QTableWidget* grid = dialog.Grid();
  grid->scrollToItem(grid->item(entry, column));
  const QPoint at = grid->visualRect(grid->model()->index(entry, column)).center();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// Clicks a cell, types and presses Enter.
void TypeCell(FrmCommuBook& dialog, int entry, int column, const QString& keys) {
  ClickCell(dialog, entry, column);
  QVERIFY(dialog.EditBox()->isVisible());
  QTest::keyClicks(dialog.EditBox(), keys);
  QTest::keyClick(dialog.EditBox(), Qt::Key_Return);
}

BookEntries BookWithIds(std::initializer_list<const char*> ids) {
  BookEntries book;
  size_t i = 0;
  for (const char* id : ids) {
    SetBookText(book.entries[i].CallId, id);
    SetBookText(book.entries[i].EntryName, "N" + std::to_string(i));
    ++i;
  }
  return book;
}

std::string BookBytes(const BookEntries& book) {
  std::string bytes;
  ByteWriter w(bytes);
  book.Write(w);
  return bytes;
}

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace

class TestFrmCommuBook : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  void typingRules() {
    BookEntries book;
    std::string fileName = "new.cb";
    BookPrompts prompts;
    FrmCommuBook dialog(book, fileName, prompts, lang_);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    ClickCell(dialog, 0, 0);  // the position column is not edited
    QVERIFY(!dialog.EditBox()->isVisible());

    TypeCell(dialog, 0, 1, "12a3-4567");
    QCOMPARE(dialog.Grid()->item(0, 1)->text(), QString("12345"));
    TypeCell(dialog, 0, 2, "ab c!9xyz");
    QCOMPARE(dialog.Grid()->item(0, 2)->text(), QString("AB C9XY"));
    TypeCell(dialog, 1, 1, "42");
    QCOMPARE(dialog.CurBookEditRow(), 0);  // Enter closed the box

    // Cut, copy and paste keys do nothing in the box.
    ClickCell(dialog, 1, 2);
    QTest::keyClicks(dialog.EditBox(), "Q");
    QTest::keyClick(dialog.EditBox(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(dialog.EditBox(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(dialog.EditBox()->text(), QString("Q"));
    QCOMPARE(dialog.CurBookEditRow(), 2);
    QCOMPARE(dialog.CurBookEditCol(), 2);

    const BookEntry& first = dialog.Working().entries[0];
    QCOMPARE(std::string(first.CallId.Raw()), std::string("12345"));
    QCOMPARE(std::string(first.EntryName.Raw()), std::string("AB C9XY"));  // seven: no NUL
    QCOMPARE(std::string(dialog.Working().entries[1].CallId.Raw()), std::string("42\0  ", 5));

    // OK commits the open cell, stores the copy and sorts it (key 0x12345 before 0x42BBB).
    Click(&dialog, "CommandOK");
    QCOMPARE(book.entries[0].CallId.Clean(), std::string("12345"));
    QCOMPARE(book.entries[1].CallId.Clean(), std::string("42"));
    QCOMPARE(book.entries[1].EntryName.Clean(), std::string("Q"));
    QCOMPARE(book.entries[1].EntryNo, int16_t(1));
  }

  void clickElsewhereCommitsAndCancelDiscards() {
    BookEntries book = BookWithIds({"5", "123", "", "12"});
    std::string fileName = "new.cb";
    BookPrompts prompts;
    FrmCommuBook dialog(book, fileName, prompts, lang_);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    ClickCell(dialog, 2, 1);
    QCOMPARE(dialog.EditBox()->text(), QString());
    QTest::keyClicks(dialog.EditBox(), "7");
    ClickCell(dialog, 5, 2);  // another cell: the first is committed
    QCOMPARE(dialog.Grid()->item(2, 1)->text(), QString("7"));
    QCOMPARE(dialog.Working().entries[2].CallId.Clean(), std::string("7"));
    TypeCell(dialog, 120, 2, "far");  // a row far down the grid, reached by scrolling
    QCOMPARE(dialog.Working().entries[120].EntryName.Clean(), std::string("FAR"));
    Click(&dialog, "CommandCancel");

    // Cancel stores nothing, but the book is sorted whichever button closed the dialog.
    const char* order[] = {"123", "12", "5", ""};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(book.entries[i].CallId.Clean(), std::string(order[i]));
      QCOMPARE(book.entries[i].EntryNo, int16_t(i));
    }
    QCOMPARE(book.entries[0].EntryName.Clean(), std::string("N1"));
  }

  void exportThenImportIsByteForByte() {
    QTemporaryDir dir;
    const QString path = dir.filePath("book.cb");
    BookEntries book = BookWithIds({"99", "1", "31415"});
    std::string fileName = "new.cb";
    BookPrompts prompts;
    FrmCommuBook dialog(book, fileName, prompts, lang_);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    ClickCell(dialog, 3, 2);
    QTest::keyClicks(dialog.EditBox(), "open");  // committed by the export
    prompts.saveNames.push_back(path.toStdString());
    Click(&dialog, "CommandExport");
    QCOMPARE(prompts.initials.back(), std::string("new.cb"));
    QCOMPARE(prompts.filters.back(), std::string());
    QCOMPARE(fileName, path.toStdString());
    const BookEntries exported = dialog.Working();
    QCOMPARE(exported.entries[3].EntryName.Clean(), std::string("OPEN"));
    QCOMPARE(FileBytes(path), QByteArray::fromStdString(BookBytes(exported)));

    TypeCell(dialog, 0, 1, "777");
    prompts.openNames.push_back(path.toStdString());
    Click(&dialog, "CommandImport");
    QCOMPARE(prompts.initials.back(), path.toStdString());
    QVERIFY(dialog.Working() == exported);
    QCOMPARE(dialog.Grid()->item(0, 1)->text(), QString("99"));
    QVERIFY(prompts.shown.empty());

    // An existing longer file keeps its bytes after the book.
    QFile longer(path);
    QVERIFY(longer.open(QIODevice::WriteOnly));
    longer.write(QByteArray(2000, 'x'));
    longer.close();
    prompts.saveNames.push_back(path.toStdString());
    Click(&dialog, "CommandExport");
    const QByteArray bytes = FileBytes(path);
    QCOMPARE(bytes.size(), 2000);
    QCOMPARE(bytes.left(1792), QByteArray::fromStdString(BookBytes(exported)));
    QCOMPARE(bytes.mid(1792), QByteArray(208, 'x'));
  }

  void refusedFilesLeaveTheBookAsItWas() {
    QTemporaryDir dir;
    const QString shortFile = dir.filePath("short.cb");
    QFile f(shortFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1000, '\0'));
    f.close();
    BookEntries bad = BookWithIds({"12", "3"});
    bad.entries[1].CallId = "3A";  // not a call ID
    const QString badFile = dir.filePath("bad.cb");
    QFile b(badFile);
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write(QByteArray::fromStdString(BookBytes(bad)));
    b.close();

    BookEntries book = BookWithIds({"5"});
    std::string fileName = "new.cb";
    BookPrompts prompts;
    FrmCommuBook dialog(book, fileName, prompts, lang_);
    for (const QString& path : {shortFile, badFile, dir.filePath("missing.cb")}) {
      prompts.shown.clear();
      prompts.openNames.push_back(path.toStdString());
      Click(&dialog, "CommandImport");
      QVERIFY(prompts.Saw(lang_.BuiltIn().FileError));
      QVERIFY(dialog.Working() == book);
      QCOMPARE(fileName, path.toStdString());  // the chosen name is current all the same
    }
    // A folder cannot be written.
    prompts.shown.clear();
    prompts.saveNames.push_back(dir.path().toStdString());
    Click(&dialog, "CommandExport");
    QVERIFY(prompts.Saw(lang_.BuiltIn().FileError));

    // Cancelling a file dialog changes nothing, not even the name.
    fileName = "kept.cb";
    prompts.shown.clear();
    prompts.openNames.push_back(std::nullopt);
    prompts.saveNames.push_back(std::nullopt);
    Click(&dialog, "CommandImport");
    Click(&dialog, "CommandExport");
    QCOMPARE(fileName, std::string("kept.cb"));
    QVERIFY(prompts.shown.empty());
  }

  void screenshots() {
    BookEntries book = BookWithIds({"100", "101", "2000", "31415"});
    std::string fileName = "new.cb";
    BookPrompts prompts;
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      FrmCommuBook dialog(book, fileName, prompts, lang);
      SaveScreenshot(&dialog, language == kLanguageEnglish ? "FrmCommuBook_en" : "FrmCommuBook_zh");
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrmCommuBook)
#include "test_frm_commubook.moc"
