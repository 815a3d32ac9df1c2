// The automatic test window: its fixed texts, the boxes that feed the export flags, Export
// through the save dialog, and the working data left as they were.
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "core/factory/AutoTest.h"
#include "core/image/RadioImage.h"
#include "core/image/Tones.h"
#include "frm_settings_helpers.h"
#include "support/UiWorld.h"
#include "ui/Frm_AutoTest.h"

using namespace kvx;
using namespace kvx::test;

namespace {

WorldOptions Factory(int16_t language = 1) {
  WorldOptions o;
  o.factoryMode = true;
  o.language = language;
  return o;
}

// Ten channels; channel 1 receives DCS 023 and channel 2 transmits with a plus shift.
void TenChannels(Workspace& ws) {
  for (int n = 1; n <= 10; ++n) {
    ChannelRecord c = MakeChannel(n, "014500000", n == 2 ? ShiftPlus : ShiftNone, "000060000");
    if (n == 1) {
      c.ToneAType = ToneDcs;
      c.ToneADcs = 19;
    }
    ws.channels.AppendChannel(c);
  }
  CopyWorkingToSaved(ws);
}

std::vector<std::string> EpmLines(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string l; std::getline(f, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

}  // namespace

class TestFrmAutoTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QuietOffscreenWarnings(); }

  // The texts are the fixed Chinese ones in either language; the boxes start from the flags;
  // the window is active from opening until it closes, however it closes.
  void textsBoxesAndActiveFlag() {
    UiWorld w(Factory());
    w.ws.autoTest.ExportAreaFlags[9] = true;
    {
      Frm_AutoTest dialog(w.ws, w.prompts);
      QCOMPARE(dialog.windowTitle(), QString("电调生产频设置"));
      const char* captions[] = {"信道", "收音机", "AM",    "MSK",      "整机功能", "组信道",
                                "DTMF", "2Tone",  "5Tone", "紧急报警", "通讯簿",   "信道扫描信息"};
      for (int i = 0; i < 12; ++i) {
        QCOMPARE(dialog.Box(i)->text(), QString::fromUtf8(captions[i]));
        QCOMPARE(dialog.Box(i)->isChecked(), i == 0 || i == 9);
      }
      QCOMPARE(dialog.findChild<QPushButton*>("CommandExport")->text(), QString("导出"));
      QCOMPARE(dialog.findChild<QPushButton*>("CommandCancel")->text(), QString("取消"));
      QVERIFY(w.ws.autoTest.AutoTestActive);
      dialog.show();
      Click(&dialog, "CommandCancel");
      QVERIFY(!w.ws.autoTest.AutoTestActive);
    }
    {
      Frm_AutoTest dialog(w.ws, w.prompts);
      dialog.show();
      QVERIFY(w.ws.autoTest.AutoTestActive);
      dialog.close();  // the close box
      QVERIFY(!w.ws.autoTest.AutoTestActive);
    }
    UiWorld zh(Factory(2));
    Frm_AutoTest chinese(zh.ws, zh.prompts);
    QCOMPARE(chinese.windowTitle(), QString("电调生产频设置"));
    QCOMPARE(chinese.Box(2)->text(), QString("AM"));
  }

  // From the main window: the ticked boxes become the flags, the save dialog names the file,
  // the export covers the ten channels, the window closes and the working data stay.
  void exportFromTheMainWindow() {
    UiWorld w(Factory());
    TenChannels(w.ws);
    const Workspace before = w.ws;
    const std::string path = w.folder() + "/prod.EPM";
    w.prompts.saveNames.push_back(path);
    int result = -1;
    w.OnDialog([&](QDialog& d) {
      QCOMPARE(d.objectName(), QString("Frm_AutoTest"));
      QVERIFY(w.ws.autoTest.AutoTestActive);
      Click(&d, "Check1_6");  // DTMF too
      Click(&d, "CommandExport");
      result = d.result();
    });
    w.main().MnuHelpAutoTest_Click();
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!w.ws.autoTest.AutoTestActive);
    QVERIFY(w.ws.autoTest.ExportAreaFlags[0] && w.ws.autoTest.ExportAreaFlags[6]);
    QVERIFY(!w.ws.autoTest.ExportAreaFlags[4]);

    const auto lines = EpmLines(path);
    QCOMPARE(lines.size(), size_t(1 + 10 * 9 + kBlockCount + kImageSize));
    QCOMPARE(lines[0], std::string("10,9"));
    QCOMPARE(lines[1 + 4], std::string("\"解码|D023N\""));              // channel 1, decode
    QCOMPARE(lines[1 + 9 + 3], std::string("\"发射频率|145.60000\""));  // channel 2, transmit
    QCOMPARE(w.ws.autoTest.BlockUsed[ImageAddr::Dtmf / 16], uint8_t(1));
    QCOMPARE(w.ws.autoTest.BlockUsed[ImageAddr::OptionsBlock1 / 16], uint8_t(0));
    // The image lines are the image as encoded.
    const size_t imageAt = 1 + 10 * 9 + kBlockCount;
    QCOMPARE(lines[imageAt + ImageAddr::Channels],
             std::to_string(w.ws.image.bytes[ImageAddr::Channels]));

    QVERIFY(w.ws.settings == before.settings);
    QVERIFY(w.ws.channels == before.channels);
    QVERIFY(!IsModified(w.ws));
    QVERIFY(w.prompts.shown.empty());

    // The boxes remember the last export.
    Frm_AutoTest again(w.ws, w.prompts);
    QVERIFY(again.Box(6)->isChecked());
  }

  // No file chosen: nothing is written and the window stays open, still active.
  void cancelledSaveDialogKeepsTheWindow() {
    UiWorld w(Factory());
    TenChannels(w.ws);
    Frm_AutoTest dialog(w.ws, w.prompts);
    dialog.show();
    w.prompts.saveNames.push_back(std::nullopt);
    Click(&dialog, "CommandExport");
    QVERIFY(dialog.isVisible());
    QVERIFY(w.ws.autoTest.AutoTestActive);
    QCOMPARE(w.ws.autoTest.RowCount, size_t(0));
    QVERIFY(w.prompts.shown.empty());
  }

  void unwritableFileSaysSo() {
    UiWorld w(Factory());
    Frm_AutoTest dialog(w.ws, w.prompts);
    dialog.show();
    w.prompts.saveNames.push_back(w.folder() + "/no/such/folder/x.EPM");
    Click(&dialog, "CommandExport");
    QCOMPARE(w.prompts.shown.size(), size_t(1));
    QCOMPARE(w.prompts.shown[0].text, std::string(kEpmFileError));
    QVERIFY(!w.ws.autoTest.AutoTestActive);
  }

  void screenshot() {
    UiWorld w(Factory());
    Frm_AutoTest dialog(w.ws, w.prompts);
    SaveScreenshot(&dialog, "Frm_AutoTest");
  }
};

QTEST_MAIN(TestFrmAutoTest)
#include "test_frm_autotest.moc"
