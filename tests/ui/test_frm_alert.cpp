// The alert dialog driven as a user drives it.
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

#include "core/app/AppState.h"
#include "core/image/Alert.h"
#include "core/image/Channels.h"
#include "core/image/CodecContext.h"
#include "core/image/Dtmf.h"
#include "core/image/FiveTone.h"
#include "core/image/RadioImage.h"
#include "frm_settings_helpers.h"
#include "ui/FrmAlert.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

ChannelList Channels(std::initializer_list<int> numbers, const AppState& app) {
  ChannelList list;
  for (int n : numbers) list.AppendChannel(DefaultChannel(n, app));
  return list;
}

// The dialog keeps references to these, so they outlive every dialog.
const DtmfSettings kNoDtmf;
const FiveToneSettings kNoFiveTone;

QComboBox* List(QWidget* w, const char* name) {
  return w->findChild<QComboBox*>(name);
}

}  // namespace

class TestFrmAlert : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  void erasedArea() {
    RadioImage image;
    image.bytes.fill(0xFF);
    AppState app;
    DtmfSettings dtmf;
    FiveToneSettings fiveTone;
    struct Case {
      ChannelList channels;
      uint8_t emergencyChannel;
    };
    const Case cases[] = {{Channels({12, 4, 203, 204}, app), 3}, {Channels({203, 204}, app), 0}};
    for (const Case& c : cases) {
      AlertSettings alert;
      DecodeAlert(alert, image, CodecContext{});
      FrmAlert dialog(alert, c.channels, dtmf, fiveTone, app, lang_);
      for (const char* name :
           {"ComboAlarmTime", "ComboTxTime", "ComboRxTime", "ComboCycle", "ComboLoneWorkerTime"})
        QCOMPARE(List(&dialog, name)->currentText(), QString("255"));
      QCOMPARE(List(&dialog, "ComboPreAlertTime")->currentText(), QString("1"));
      QVERIFY(!dialog.findChild<QCheckBox*>("CheckLoneWorker")->isChecked());
      QCOMPARE(List(&dialog, "ComboIdCode")->count(), 0);
      QCOMPARE(List(&dialog, "ComboEmergencyMode")->currentIndex(), 0);
      QCOMPARE(List(&dialog, "ComboIdCodeType")->currentIndex(), 0);
      Click(&dialog, "CommandOK");

      AlertSettings expected;
      expected.EmergencyMode = expected.IdCodeType = expected.ChannelSelect = 0;
      expected.IdCode = 0;
      expected.AlarmTime = expected.TxTime = expected.RxTime = 255;
      expected.Cycle = 255;
      expected.LoneWorkerTime = 255;
      expected.PreAlertTime = 1;
      expected.LoneWorkerDetect = 0;
      expected.EmergencyChannel = c.emergencyChannel;
      QVERIFY(alert == expected);
    }
  }

  void identificationCodeListPerType() {
    AppState app;
    ChannelList channels;
    DtmfSettings dtmf;
    dtmf.Codes[1].Length = 3;
    dtmf.Codes[4].Length = 1;
    FiveToneSettings fiveTone;
    AlertSettings alert;
    alert.EmergencyMode = 1;  // the identification lists are enabled
    FrmAlert dialog(alert, channels, dtmf, fiveTone, app, lang_);
    QComboBox* type = List(&dialog, "ComboIdCodeType");
    QComboBox* code = List(&dialog, "ComboIdCode");
    QVERIFY(code->isEnabled());
    ChooseText(type, "DTMF");
    QCOMPARE(Entries(code), (QStringList{"M2", "M5"}));
    ChooseText(code, "M5");
    ChooseText(type, "5Tone");
    QCOMPARE(Entries(code), QStringList{"0"});  // no decode code in use
    ChooseText(type, "DTMF");
    ChooseText(code, "M5");
    Click(&dialog, "CommandOK");
    QCOMPARE(alert.IdCodeType, uint8_t(1));
    QCOMPARE(alert.IdCode, uint8_t(4));

    // A stored code shows when its memory or decode code is in use, else the first entry.
    fiveTone.Codes[3].Empty = 0;
    fiveTone.Codes[17].Empty = 0;
    struct Case {
      uint8_t type, code;
      QStringList entries;
      QString shown;
    };
    const Case cases[] = {
        {2, 17, {"3", "17"}, "17"}, {2, 5, {"3", "17"}, "3"}, {1, 1, {"M2", "M5"}, "M2"},
        {1, 9, {"M2", "M5"}, "M2"}, {0, 4, {}, ""},
    };
    for (const Case& c : cases) {
      alert.IdCodeType = c.type;
      alert.IdCode = c.code;
      FrmAlert shown(alert, channels, dtmf, fiveTone, app, lang_);
      QCOMPARE(Entries(List(&shown, "ComboIdCode")), c.entries);
      QCOMPARE(List(&shown, "ComboIdCode")->currentText(), c.shown);
    }
  }

  void emergencyChannelByModel() {
    AppState app;
    AppState kv520;
    kv520.BandCode = 16;
    ChannelList channels = Channels({10, 3, 201, 203}, app);
    for (const auto& [model, entries, shown] :
         {std::tuple{&app, QStringList{"2", "9"}, QString("9")},
          std::tuple{&kv520, QStringList{"3", "10"}, QString("10")}}) {
      AlertSettings alert;
      alert.EmergencyChannel = 9;
      FrmAlert dialog(alert, channels, kNoDtmf, kNoFiveTone, *model, lang_);
      QComboBox* list = List(&dialog, "ComboEmergencyChannel");
      QCOMPARE(Entries(list), entries);
      QCOMPARE(list->currentText(), shown);
      ChooseEntry(list, 0);
      Click(&dialog, "CommandOK");
      QCOMPARE(alert.EmergencyChannel, uint8_t(2));
    }
  }

  void enableRules() {
    AppState app;
    ChannelList channels = Channels({1}, app);
    AlertSettings alert;
    FrmAlert dialog(alert, channels, kNoDtmf, kNoFiveTone, app, lang_);
    auto enabled = [&](const char* name) { return List(&dialog, name)->isEnabled(); };
    // Entry 0: only the alarm time in the upper group.
    QVERIFY(enabled("ComboAlarmTime"));
    for (const char* name : {"ComboIdCodeType", "ComboIdCode", "ComboTxTime", "ComboRxTime"})
      QVERIFY2(!enabled(name), name);
    ChooseEntry(List(&dialog, "ComboEmergencyMode"), 2);
    QVERIFY(!enabled("ComboAlarmTime"));
    for (const char* name : {"ComboIdCodeType", "ComboIdCode", "ComboTxTime", "ComboRxTime"})
      QVERIFY2(enabled(name), name);

    QVERIFY(enabled("ComboEmergencyChannel"));
    ChooseEntry(List(&dialog, "ComboChannelSelect"), 1);
    QVERIFY(!enabled("ComboEmergencyChannel"));

    QVERIFY(!enabled("ComboPreAlertTime"));
    dialog.findChild<QCheckBox*>("CheckLoneWorker")->click();
    QVERIFY(enabled("ComboPreAlertTime"));
    QVERIFY(enabled("ComboLoneWorkerTime"));
  }

  void okStoresTheListsAndCancelNothing() {
    AppState app;
    ChannelList channels = Channels({1, 2}, app);
    AlertSettings alert;
    alert.AlarmTime = 10;
    alert.LoneWorkerDetect = 3;  // above 1: taken as off
    const AlertSettings before = alert;
    {
      FrmAlert dialog(alert, channels, kNoDtmf, kNoFiveTone, app, lang_);
      QVERIFY(!dialog.findChild<QCheckBox*>("CheckLoneWorker")->isChecked());
      ChooseEntry(List(&dialog, "ComboAlarmTime"), 29);
      Click(&dialog, "CommandCancel");
    }
    QVERIFY(alert == before);

    FrmAlert dialog(alert, channels, kNoDtmf, kNoFiveTone, app, lang_);
    QCOMPARE(List(&dialog, "ComboAlarmTime")->currentText(), QString("10"));
    ChooseEntry(List(&dialog, "ComboEmergencyMode"), 3);
    ChooseText(List(&dialog, "ComboTxTime"), "30");
    ChooseText(List(&dialog, "ComboRxTime"), "1");
    ChooseEntry(List(&dialog, "ComboCycle"), 0);
    dialog.findChild<QCheckBox*>("CheckLoneWorker")->click();
    ChooseText(List(&dialog, "ComboPreAlertTime"), "254");
    ChooseText(List(&dialog, "ComboLoneWorkerTime"), "5");
    Click(&dialog, "CommandOK");
    QCOMPARE(alert.EmergencyMode, uint8_t(3));
    QCOMPARE(alert.TxTime, uint8_t(30));
    QCOMPARE(alert.RxTime, uint8_t(1));
    QCOMPARE(alert.Cycle, uint8_t(0));
    QCOMPARE(alert.LoneWorkerDetect, uint8_t(1));
    QCOMPARE(alert.PreAlertTime, uint8_t(254));
    QCOMPARE(alert.LoneWorkerTime, uint8_t(5));
    QCOMPARE(alert.AlarmTime, uint8_t(10));
  }

  void screenshots() {
    AppState app;
    ChannelList channels = Channels({1, 2, 3}, app);
    DtmfSettings dtmf;
    dtmf.Codes[0].Length = 2;
    AlertSettings alert;
    alert.EmergencyMode = 1;
    alert.IdCodeType = 1;
    alert.LoneWorkerDetect = 1;
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      FrmAlert dialog(alert, channels, dtmf, kNoFiveTone, app, lang);
      SaveScreenshot(&dialog, language == kLanguageEnglish ? "FrmAlert_en" : "FrmAlert_zh");
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrmAlert)
#include "test_frm_alert.moc"
