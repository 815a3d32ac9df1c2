// The scan dialog driven as a user drives it.
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

#include "core/app/AppState.h"
#include "core/image/Channels.h"
#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "core/image/Scan.h"
#include "frm_settings_helpers.h"
#include "ui/FrmScan.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

ChannelList Channels(std::initializer_list<int> numbers, std::initializer_list<int> skipped,
                     const AppState& app) {
  ChannelList list;
  for (int n : numbers) {
    ChannelRecord c = DefaultChannel(n, app);
    c.ScanSkip = 0;
    for (int s : skipped)
      if (s == n) c.ScanSkip = 1;
    list.AppendChannel(c);
  }
  return list;
}

QComboBox* List(QWidget* w, const char* name) {
  return w->findChild<QComboBox*>(name);
}

}  // namespace

class TestFrmScan : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  // An erased area: scan off, so every other control is disabled; OK stores the first entries
  // of the lists that cannot show 255, keeps WaitTime 255 and the groups.
  void erasedArea() {
    RadioImage image;
    image.bytes.fill(0xFF);
    ScanSettings scan;
    DecodeScan(scan, image, CodecContext{});
    QCOMPARE(scan.PriorityChannel1, uint8_t(0));
    AppState app;
    ChannelList channels = Channels({3, 9, 203, 204}, {}, app);
    FrmScan dialog(scan, channels, app, lang_);
    QCOMPARE(List(&dialog, "ComboScanMode")->currentText(), Q(lang_.GetLangText(2430)));
    for (const char* name :
         {"ComboPriorityMode", "ComboPriorityChannel1", "ComboPriorityChannel2", "ComboRevert",
          "ComboBackTimeA", "ComboBackTimeB", "ComboRxResume", "ComboTxResume"})
      QVERIFY2(!List(&dialog, name)->isEnabled(), name);
    QVERIFY(!dialog.findChild<QCheckBox*>("CheckEntryTone")->isEnabled());
    QCOMPARE(scan.ScanEntryTone, uint8_t(0));  // normalised as the dialog opened

    Click(&dialog, "CommandOK");
    ScanSettings expected;
    expected.ScanMode = 0;
    expected.PriorityMode = 0;
    expected.RevertChannel = 0;
    expected.ScanBackTimeA = expected.ScanBackTimeB = 0;
    expected.RxResumeDelay = expected.TxResumeDelay = 0;
    expected.ScanType = 0;
    expected.ScanEntryTone = 0;
    expected.WaitTime = 255;
    expected.PriorityGroup1 = expected.PriorityGroup2 = 0;
    expected.PriorityChannel1 = expected.PriorityChannel2 = 3;  // the first entry, channel 3
    QVERIFY(scan == expected);
  }

  void enableRulesFollowScanAndPriorityMode() {
    ScanSettings scan;
    AppState app;
    ChannelList channels = Channels({1, 2}, {}, app);
    FrmScan dialog(scan, channels, app, lang_);
    ChooseEntry(List(&dialog, "ComboScanMode"), 1);
    QVERIFY(List(&dialog, "ComboRevert")->isEnabled());
    QVERIFY(dialog.findChild<QCheckBox*>("CheckEntryTone")->isEnabled());
    struct Case {
      int mode;
      bool channel1, channel2;
    };
    for (const Case& c :
         {Case{0, false, false}, Case{1, true, false}, Case{2, false, true}, Case{3, true, true}}) {
      ChooseEntry(List(&dialog, "ComboPriorityMode"), c.mode);
      QCOMPARE(List(&dialog, "ComboPriorityChannel1")->isEnabled(), c.channel1);
      QCOMPARE(List(&dialog, "ComboPriorityChannel2")->isEnabled(), c.channel2);
    }
    ChooseEntry(List(&dialog, "ComboScanMode"), 0);
    QVERIFY(!List(&dialog, "ComboPriorityChannel1")->isEnabled());
    QVERIFY(!List(&dialog, "ComboBackTimeA")->isEnabled());
  }

  void revertListPerPriorityMode() {
    const QString p1 = Q(lang_.GetLangText(2403)) + "1";
    const QString p2 = Q(lang_.GetLangText(2403)) + "2";
    const QString back = " + " + Q(lang_.GetLangText(2433));
    const QString selected = Q(lang_.GetLangText(2432));
    const QString called = Q(lang_.GetLangText(2434));
    const QString used = Q(lang_.GetLangText(2435));
    const QStringList expected[4] = {
        {selected, selected + back, called, used},
        {selected, selected + back, p1, called, used, p1 + back},
        {selected, selected + back, p2, called, used, p2 + back},
        {selected, selected + back, p1, p2, called, used, p1 + back, p2 + back},
    };
    AppState app;
    ChannelList channels;
    for (int mode = 0; mode < 4; ++mode) {
      ScanSettings scan;
      scan.ScanMode = 1;
      scan.PriorityMode = static_cast<uint8_t>(mode);
      FrmScan dialog(scan, channels, app, lang_);
      QCOMPARE(Entries(List(&dialog, "ComboRevert")), expected[mode]);
    }

    // Choosing P1 stores 2; a priority mode without P1 falls back to the first entry, one that
    // keeps the previous choice shows it again.
    ScanSettings scan;
    scan.ScanMode = 1;
    scan.PriorityMode = 1;
    scan.RevertChannel = 5;
    FrmScan dialog(scan, channels, app, lang_);
    QComboBox* revert = List(&dialog, "ComboRevert");
    QCOMPARE(revert->currentText(), used);
    ChooseText(revert, p1);
    QCOMPARE(dialog.Working().RevertChannel, uint8_t(2));
    ChooseEntry(List(&dialog, "ComboPriorityMode"), 3);
    QCOMPARE(revert->currentText(), p1);
    ChooseEntry(List(&dialog, "ComboPriorityMode"), 2);
    QCOMPARE(revert->currentText(), selected);
    QCOMPARE(dialog.Working().RevertChannel, uint8_t(0));
    ChooseText(revert, p2 + back);
    Click(&dialog, "CommandOK");
    QCOMPARE(scan.RevertChannel, uint8_t(7));
    QCOMPARE(scan.PriorityMode, uint8_t(2));
  }

  // A revert channel the priority mode does not offer shows the first entry.
  void revertChoiceOutsideTheMode() {
    ScanSettings scan;
    scan.ScanMode = 1;
    scan.PriorityMode = 0;
    scan.RevertChannel = 6;
    AppState app;
    ChannelList channels;
    FrmScan dialog(scan, channels, app, lang_);
    QCOMPARE(dialog.ShownRevertIndex(), 0);
    Click(&dialog, "CommandOK");
    QCOMPARE(scan.RevertChannel, uint8_t(0));
  }

  void priorityChannelsByModel() {
    AppState app;
    AppState kv520;
    kv520.BandCode = 16;
    ChannelList channels = Channels({9, 6, 2, 201, 203}, {9}, app);
    struct Case {
      const AppState* app;
      QStringList entries;
      QString shown;
    };
    for (const Case& c : {Case{&app, {"1", "5"}, "5"}, Case{&kv520, {"2", "6"}, "6"}}) {
      ScanSettings scan;
      scan.ScanMode = 1;
      scan.PriorityMode = 3;
      scan.PriorityChannel1 = 6;
      scan.PriorityChannel2 = 9;  // skipped by scan: not offered, the first entry shows
      scan.PriorityGroup1 = 4;
      FrmScan dialog(scan, channels, *c.app, lang_);
      QComboBox* one = List(&dialog, "ComboPriorityChannel1");
      QComboBox* two = List(&dialog, "ComboPriorityChannel2");
      QCOMPARE(Entries(one), c.entries);
      QCOMPARE(one->currentText(), c.shown);
      QCOMPARE(two->currentIndex(), 0);
      ChooseEntry(two, 1);
      Click(&dialog, "CommandOK");
      QCOMPARE(scan.PriorityChannel1, uint8_t(6));
      QCOMPARE(scan.PriorityChannel2, uint8_t(6));
      QCOMPARE(scan.PriorityGroup1, uint8_t(4));
    }
    // No scanned ordinary channel: the lists show nothing and OK stores none.
    ChannelList none = Channels({203, 204}, {}, app);
    ScanSettings scan;
    scan.PriorityChannel1 = 6;
    FrmScan dialog(scan, none, app, lang_);
    QCOMPARE(List(&dialog, "ComboPriorityChannel1")->currentIndex(), -1);
    Click(&dialog, "CommandOK");
    QCOMPARE(scan.PriorityChannel1, uint8_t(0));
  }

  void hiddenListsAndCancel() {
    AppState app;
    ChannelList channels;
    ScanSettings scan;  // WaitTime 0: its hidden list shows 50 ms
    scan.ScanType = 2;
    {
      FrmScan dialog(scan, channels, app, lang_);
      QVERIFY(!List(&dialog, "ComboWaitTime")->isVisibleTo(&dialog));
      QVERIFY(!List(&dialog, "ComboScanType")->isVisibleTo(&dialog));
      Click(&dialog, "CommandOK");
    }
    QCOMPARE(scan.WaitTime, uint8_t(2));
    QCOMPARE(scan.ScanType, uint8_t(2));

    scan.ScanEntryTone = 3;
    scan.WaitTime = 0;
    FrmScan dialog(scan, channels, app, lang_);
    ChooseEntry(List(&dialog, "ComboScanMode"), 1);
    ChooseEntry(List(&dialog, "ComboBackTimeA"), 45);
    QCOMPARE(List(&dialog, "ComboBackTimeA")->currentText(), QString("5.0"));
    Click(&dialog, "CommandCancel");
    QCOMPARE(scan.ScanMode, uint8_t(0));
    QCOMPARE(scan.ScanBackTimeA, uint8_t(5));
    QCOMPARE(scan.WaitTime, uint8_t(0));
    QCOMPARE(scan.ScanEntryTone, uint8_t(0));
  }

  void screenshots() {
    AppState app;
    ChannelList channels = Channels({1, 2, 3}, {}, app);
    ScanSettings scan;
    scan.ScanMode = 1;
    scan.PriorityMode = 3;
    scan.PriorityChannel1 = 1;
    scan.PriorityChannel2 = 3;
    scan.RevertChannel = 6;
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      FrmScan dialog(scan, channels, app, lang);
      SaveScreenshot(&dialog, language == kLanguageEnglish ? "FrmScan_en" : "FrmScan_zh");
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrmScan)
#include "test_frm_scan.moc"
