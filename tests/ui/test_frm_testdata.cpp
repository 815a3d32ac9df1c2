// The test data dialog driven as a user drives it: the hexadecimal boxes, OK with an empty box,
// Load and Save of .ted files, and the main window's factory-mode entry.
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "core/lang/LanguageTable.h"
#include "frm_settings_helpers.h"
#include "support/ScriptedPrompts.h"
#include "support/UiWorld.h"
#include "ui/FrmTestData.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

// Scripted prompts that also record what the file dialogs were given.
struct RecordingPrompts : ScriptedPrompts {
  struct Dialog {
    std::string filter, initial;
  };
  std::vector<Dialog> opens, saves;
  std::optional<std::string> OpenFileName(std::string_view title, std::string_view filter,
                                          std::string_view initial) override {
    opens.push_back({std::string(filter), std::string(initial)});
    return ScriptedPrompts::OpenFileName(title, filter, initial);
  }
  std::optional<std::string> SaveFileName(std::string_view title, std::string_view filter,
                                          std::string_view initial) override {
    saves.push_back({std::string(filter), std::string(initial)});
    return ScriptedPrompts::SaveFileName(title, filter, initial);
  }
};

TestDataValues Numbered() {
  TestDataValues v{};
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<int16_t>(0x10 + i);
  return v;
}

std::string FileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

}  // namespace

class TestFrmTestData : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    en_ = BuildLanguage(kLanguageEnglish);
    zh_ = BuildLanguage(kLanguageChinese);
  }

  // Values show as upper-case hexadecimal without leading zeros; a negative one as four
  // digits, kept whole although only three can be typed.
  void opensWithHexTextsAndNames() {
    TestDataValues v{};
    v[0] = 0;
    v[2] = 0x00FA;
    v[16] = -1;
    v[22] = 0x1234;
    v[31] = 0x0ABC;
    ScriptedPrompts prompts;
    std::string last;
    FrmTestData dialog(v, en_, prompts, last);
    QCOMPARE(dialog.windowTitle(), QString("Test Data"));
    const std::pair<int, QString> shown[] = {
        {0, "0"}, {2, "FA"}, {16, "FFFF"}, {22, "1234"}, {31, "ABC"}};
    for (const auto& [i, text] : shown) QCOMPARE(dialog.Box(i)->text(), text);
    QCOMPARE(dialog.Label(2)->text(), QString("Frequency Adjust"));
    QCOMPARE(dialog.Label(13)->text(), QString("CTCSS of 12.5K"));
    QCOMPARE(dialog.Label(22)->text(), QString("SYS_MOD1"));
    for (int i : {0, 1, 14, 15, 25, 29, 31}) QCOMPARE(dialog.Label(i)->text(), QString("Freq"));
    QCOMPARE(dialog.findChild<QAbstractButton*>("CommandLoad")->text(), QString("&Load"));
    QCOMPARE(dialog.findChild<QAbstractButton*>("CommandSave")->text(), QString("&Save"));
    QCOMPARE(dialog.FileFilter(), std::string("Test Data File (*.ted)|*.ted"));

    FrmTestData chinese(v, zh_, prompts, last);
    QCOMPARE(chinese.windowTitle(), QString("测试数据"));
    QCOMPARE(chinese.Label(10)->text(), QString("麦克风灵敏度"));
    QCOMPARE(chinese.Label(16)->text(), QString("test_v"));
    QCOMPARE(chinese.findChild<QAbstractButton*>("CommandLoad")->text(), QString("加载(&L)"));
    QCOMPARE(chinese.findChild<QAbstractButton*>("CommandSave")->text(), QString("保存(&S)"));
    QCOMPARE(chinese.FileFilter(), std::string("测试数据文件 (*.ted)|*.ted"));
    QCOMPARE(chinese.findChild<QAbstractButton*>("CommandOK")->text(), Q(zh_.GetLangText(101)));
  }

  // Only hexadecimal digits go in, lower case as upper case, at most three; Enter moves on;
  // OK stores the boxes and a box left empty keeps its value.
  void typingAndOk() {
    TestDataValues v = Numbered();
    v[7] = -2;
    ScriptedPrompts prompts;
    std::string last;
    FrmTestData dialog(v, en_, prompts, last);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QLineEdit* box = dialog.Box(3);
    TypeInto(box, "f");
    QTest::keyClicks(box, "a");
    QCOMPARE(box->text(), QString("FA"));
    TypeInto(dialog.Box(4), "g-z1b.c2d");  // letters past F, signs and a fourth digit refused
    QCOMPARE(dialog.Box(4)->text(), QString("1BC"));
    TypeInto(dialog.Box(7), "");
    QTest::keyClick(dialog.Box(7), Qt::Key_Delete);
    QVERIFY(dialog.Box(7)->text().isEmpty());

    TypeInto(dialog.Box(15), "7");
    QTest::keyClick(dialog.Box(15), Qt::Key_Return);
    QVERIFY(dialog.Box(16)->hasFocus());  // the next value, in the second column
    QVERIFY(dialog.isVisible());          // Enter does not press OK

    Click(&dialog, "CommandOK");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    TestDataValues expected = Numbered();
    expected[3] = 0x00FA;
    expected[4] = 0x01BC;
    expected[7] = -2;  // the emptied box kept its value
    expected[15] = 7;
    QVERIFY(v == expected);
    QVERIFY(prompts.shown.empty());
  }

  void cancelKeepsTheValues() {
    TestDataValues v = Numbered();
    ScriptedPrompts prompts;
    std::string last;
    FrmTestData dialog(v, en_, prompts, last);
    dialog.show();
    TypeInto(dialog.Box(0), "ABC");
    Click(&dialog, "CommandCancel");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(v == Numbered());
  }

  // Save writes the boxes as 64 little-endian bytes, starting from the last file; with an empty
  // box it asks for no file, writes nothing and says which box.
  void saveWritesTheBoxesAndRefusesAnEmptyOne() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("cal.ted").toStdString();
    TestDataValues v = Numbered();
    RecordingPrompts prompts;
    std::string last = dir.filePath("before.ted").toStdString();
    FrmTestData dialog(v, en_, prompts, last);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    TypeInto(dialog.Box(2), "");
    QTest::keyClick(dialog.Box(2), Qt::Key_Backspace);
    Click(&dialog, "CommandSave");
    QVERIFY(prompts.saves.empty());
    QCOMPARE(prompts.shown.size(), size_t(1));
    QVERIFY(prompts.Saw(en_.GetLangText(8002)));
    QVERIFY(prompts.Saw("Frequency Adjust (2)"));
    QVERIFY(dialog.Box(2)->hasFocus());
    QVERIFY(!QFile::exists(QString::fromStdString(path)));

    TypeInto(dialog.Box(2), "FFF");
    prompts.saveNames.push_back(path);
    Click(&dialog, "CommandSave");
    QCOMPARE(prompts.saves.size(), size_t(1));
    QCOMPARE(prompts.saves[0].initial, dir.filePath("before.ted").toStdString());
    QCOMPARE(prompts.saves[0].filter, std::string("Test Data File (*.ted)|*.ted"));
    const std::string bytes = FileBytes(path);
    QCOMPARE(bytes.size(), size_t(64));
    QCOMPARE(uint8_t(bytes[4]), uint8_t(0xFF));  // value 2 = 0x0FFF, low byte first
    QCOMPARE(uint8_t(bytes[5]), uint8_t(0x0F));
    QCOMPARE(uint8_t(bytes[62]), uint8_t(0x2F));  // value 31 = 0x2F
    QCOMPARE(last, path);
    QVERIFY(v == Numbered());  // saving is not OK
  }

  // Load fills the boxes (OK then stores them); a cancelled choice or a short file changes
  // nothing, and a file that cannot be read says so.
  void loadFillsTheBoxes() {
    QTemporaryDir dir;
    const std::string good = dir.filePath("good.ted").toStdString();
    TestDataValues onDisk{};
    for (size_t i = 0; i < onDisk.size(); ++i) onDisk[i] = static_cast<int16_t>(-1 - int(i));
    QVERIFY(WriteTestDataFile(good, onDisk));
    const std::string shortFile = dir.filePath("short.ted").toStdString();
    std::ofstream(shortFile, std::ios::binary) << std::string(63, '\x01');

    TestDataValues v = Numbered();
    RecordingPrompts prompts;
    std::string last;
    FrmTestData dialog(v, en_, prompts, last);
    dialog.show();

    prompts.openNames.push_back(std::nullopt);
    Click(&dialog, "CommandLoad");
    prompts.openNames.push_back(shortFile);
    Click(&dialog, "CommandLoad");
    QCOMPARE(prompts.opens[0].filter, std::string("Test Data File (*.ted)|*.ted"));
    QCOMPARE(prompts.shown.size(), size_t(1));
    QVERIFY(prompts.Saw(en_.BuiltIn().FileError));
    QCOMPARE(dialog.Box(0)->text(), QString("10"));

    prompts.openNames.push_back(good);
    Click(&dialog, "CommandLoad");
    QCOMPARE(dialog.Box(0)->text(), QString("FFFF"));
    QCOMPARE(dialog.Box(31)->text(), QString("FFE0"));
    QCOMPARE(last, good);
    QVERIFY(v == Numbered());  // not before OK
    Click(&dialog, "CommandOK");
    QVERIFY(v == onDisk);
  }

  // In factory mode the main window's entry opens the dialog on the working values; the save
  // dialog starts from the test-data file of the current data file.
  void mainWindowEntry() {
    WorldOptions o;
    o.factoryMode = true;
    UiWorld w(o);
    QVERIFY(w.ws.app.FactoryMode);
    w.ws.testValues = Numbered();
    w.ws.CurrentFileName = w.folder() + "/radio.dat";
    w.ws.Untitled = false;
    w.OnDialog([](QDialog& d) {
      QCOMPARE(d.objectName(), QString("FrmTestData"));
      auto* dialog = static_cast<FrmTestData*>(&d);
      QCOMPARE(dialog->Box(20)->text(), QString("24"));
      TypeInto(dialog->Box(20), "5a");
      Click(&d, "CommandOK");
    });
    w.main().mnuTestData_Click();
    QCOMPARE(w.ws.testValues[20], int16_t(0x5A));
    QVERIFY(IsModified(w.ws));

    // The scripted save dialog takes the name it is offered: the data file's test-data file.
    w.OnDialog([](QDialog& d) {
      Click(&d, "CommandSave");
      Click(&d, "CommandCancel");
    });
    w.main().mnuTestData_Click();
    QCOMPARE(FileBytes(w.folder() + "/radio.ted").size(), size_t(64));
  }

  void screenshots() {
    TestDataValues v = Numbered();
    v[16] = 0x80;
    v[22] = 0x1234;
    ScriptedPrompts prompts;
    std::string last;
    FrmTestData en(v, en_, prompts, last);
    SaveScreenshot(&en, "FrmTestData_en");
    FrmTestData zh(v, zh_, prompts, last);
    SaveScreenshot(&zh, "FrmTestData_zh");
  }

 private:
  LanguageTable en_, zh_;
};

QTEST_MAIN(TestFrmTestData)
#include "test_frm_testdata.moc"
