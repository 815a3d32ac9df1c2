// The optional-features dialog driven as a user drives it.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "core/app/AppState.h"
#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"
#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "frm_settings_helpers.h"
#include "support/UiWorld.h"
#include "ui/BroadcastGrid.h"
#include "ui/FrmOption.h"
#include "ui/frmMain.h"

using namespace kvx;
using namespace kvx::test;

namespace {

AppState Kv520() {
  AppState app;
  app.BandCode = 16;  // "KP-510" in band group 1 is shown as the KV-520
  return app;
}

ChannelList ChannelsNumbered(std::initializer_list<int> numbers, const AppState& app) {
  ChannelList list;
  for (int n : numbers) list.AppendChannel(DefaultChannel(n, app));
  return list;
}

QLineEdit* MessageBox(QWidget* w, int i) {
  return w->findChild<QLineEdit*>(QStringLiteral("TextMessage_%1").arg(i));
}

}  // namespace

class TestFrmOption : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    lang_ = BuildLanguage(kLanguageEnglish);
  }

  // An erased radio: the lists show their first entries, the stored values survive OK unless
  // the user chooses, the password switch reads off and the message is empty.
  void erasedAreaKeepsItsValuesThroughOk() {
    RadioImage image;
    image.bytes.fill(0xFF);
    SettingsRecord s;
    int16_t sendTime = 0;
    DecodeOptions(s.Options, s.Switch4, s.Switch6, s.Ble, sendTime, image, CodecContext{});
    const OptionSettings decoded = s.Options;
    QCOMPARE(decoded.Option5, int16_t(255));

    AppState app;
    ChannelList channels = ChannelsNumbered({203, 204}, app);
    FrmOption dialog(s, channels, app, lang_);
    for (int n : {5, 8, 9, 10, 11, 12, 15, 16, 17, 27, 31, 36, 37})
      QCOMPARE(dialog.List(n)->currentIndex(), 0);
    QCOMPARE(dialog.List(2)->currentText(), QString("0"));  // no channel 1-202
    QCOMPARE(dialog.List(28)->count(), 0);                  // no AM entry in use
    QVERIFY(!dialog.findChild<QCheckBox*>("CheckPassWord")->isChecked());
    QVERIFY(dialog.findChild<QLineEdit*>("TextPassWord")->isHidden());
    QVERIFY(dialog.findChild<QCheckBox*>("Check1_4")->isChecked());  // Switch4 clamped to 1
    for (int i = 0; i < 7; ++i) QVERIFY(MessageBox(&dialog, i)->text().isEmpty());

    ChooseEntry(dialog.List(8), 3);
    Click(&dialog, "CommandOK");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    OptionSettings expected = decoded;
    expected.Option8 = 3;
    expected.PowerOnPasswordEnabled = 0;
    expected.PowerOnPassword = std::string_view("\0", 1);
    expected.PowerOnMessage = "       ";
    QVERIFY(s.Options == expected);
  }

  void list0DrivesList1AndList18() {
    SettingsRecord s;
    AppState app;
    ChannelList channels;
    FrmOption dialog(s, channels, app, lang_);
    QComboBox* list1 = dialog.List(1);
    QComboBox* list18 = dialog.List(18);
    QVERIFY(list1->isEnabled());
    QVERIFY(list18->isHidden());

    ChooseEntry(dialog.List(0), 1);
    QCOMPARE(list1->currentIndex(), 1);
    QVERIFY(!list1->isEnabled());
    QVERIFY(!list18->isHidden());
    ChooseEntry(list18, 1);
    QCOMPARE(dialog.Working().Option1, int16_t(1));
    QCOMPARE(dialog.Working().Option18, int16_t(1));

    ChooseEntry(dialog.List(0), 2);
    QVERIFY(list1->isEnabled());
    QCOMPARE(list1->currentIndex(), 1);
    QVERIFY(list18->isHidden());
    QCOMPARE(dialog.Working().Option18, int16_t(0));

    ChooseEntry(dialog.List(0), 0);
    QCOMPARE(list1->currentIndex(), 0);
    QCOMPARE(dialog.Working().Option1, int16_t(0));

    // Opened on list 0 = entry 1: list 1 greyed, list 18 shown; never on the KV-520, which
    // hides lists 0 and 1 altogether.
    s.Options.Option0 = 1;
    s.Options.Option1 = 1;
    FrmOption forced(s, channels, app, lang_);
    QVERIFY(!forced.List(1)->isEnabled());
    QVERIFY(!forced.List(18)->isHidden());
    const AppState kv520 = Kv520();
    FrmOption small(s, channels, kv520, lang_);
    QVERIFY(small.List(0)->isHidden());
    QVERIFY(small.List(1)->isHidden());
    QVERIFY(small.List(18)->isHidden());
    QVERIFY(small.findChild<QLabel*>("Label1_0")->isHidden());
  }

  // Lists 3, 4, 6, 7 and 13 and switch 0 are never shown and keep their values; Cancel
  // discards the working copy but the BLE lists have already written their bytes.
  void hiddenValuesAndCancel() {
    SettingsRecord s;
    s.Options.Option3 = 7;
    s.Options.Option13 = 1;
    s.Options.Switch0 = 1;
    AppState app;
    ChannelList channels;
    {
      FrmOption dialog(s, channels, app, lang_);
      QVERIFY(!dialog.List(3)->isVisibleTo(&dialog));
      QVERIFY(!dialog.findChild<QCheckBox*>("Check1_0")->isVisibleTo(&dialog));
      QCOMPARE(dialog.List(3)->currentText(), QString("7"));
      Click(&dialog, "CommandOK");
    }
    QCOMPARE(s.Options.Option3, int16_t(7));
    QCOMPARE(s.Options.Option13, int16_t(1));
    QCOMPARE(s.Options.Switch0, int16_t(1));

    const SettingsRecord before = s;
    FrmOption dialog(s, channels, app, lang_);
    ChooseEntry(dialog.List(5), 2);
    ChooseEntry(dialog.List(30), 1);
    ChooseEntry(dialog.List(37), 4);
    dialog.findChild<QCheckBox*>("Check1_1")->click();
    dialog.findChild<QCheckBox*>("Check1_5")->click();
    Click(&dialog, "CommandCancel");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(s.Options == before.Options);
    QCOMPARE(s.Switch5, before.Switch5);
    QCOMPARE(s.Ble.bytes[0], uint8_t(1));
    QCOMPARE(s.Ble.bytes[7], uint8_t(4));
  }

  void channelChooserFollowsTheModel() {
    AppState app;
    const AppState kv520 = Kv520();
    ChannelList channels = ChannelsNumbered({5, 1, 202, 201, 203, 204}, app);
    struct Case {
      const AppState* app;
      int16_t stored;
      QStringList entries;
      QString shown;
    };
    const Case cases[] = {
        {&app, 200, {"0", "4", "PA", "PB"}, "PA"},
        {&app, 201, {"0", "4", "PA", "PB"}, "PB"},
        {&app, 0, {"0", "4", "PA", "PB"}, "0"},
        {&app, 99, {"0", "4", "PA", "PB"}, "0"},  // a channel not in the list: first entry
        {&kv520, 0, {"1", "5", "PA", "PB"}, "1"},
        {&kv520, 200, {"1", "5", "PA", "PB"}, "PA"},
    };
    for (const Case& c : cases) {
      SettingsRecord s;
      s.Options.OptionChannel = c.stored;
      FrmOption dialog(s, channels, *c.app, lang_);
      QCOMPARE(Entries(dialog.List(2)), c.entries);
      QCOMPARE(dialog.List(2)->currentText(), c.shown);
    }
    // Choosing stores number - 1 on every model.
    for (const AppState* model : {static_cast<const AppState*>(&app), &kv520}) {
      SettingsRecord s;
      FrmOption dialog(s, channels, *model, lang_);
      ChooseEntry(dialog.List(2), 1);
      QCOMPARE(dialog.Working().OptionChannel, int16_t(4));
      ChooseText(dialog.List(2), "PB");
      Click(&dialog, "CommandOK");
      QCOMPARE(s.Options.OptionChannel, int16_t(201));
    }
    // An empty chooser holds "0", which stores 0 on the KV-520 too.
    ChannelList none = ChannelsNumbered({203, 204}, app);
    SettingsRecord s;
    s.Options.OptionChannel = 7;
    FrmOption dialog(s, none, kv520, lang_);
    QCOMPARE(Entries(dialog.List(2)), QStringList{"0"});
    ChooseEntry(dialog.List(2), 0);
    QCOMPARE(dialog.Working().OptionChannel, int16_t(0));
  }

  void workChannelChoosersReadTheBroadcastLists() {
    SettingsRecord s;
    s.Fm.entries[3].InUse = 1;
    s.Fm.entries[7].InUse = 1;
    s.Fm.entries[BroadcastList::kVfo].InUse = 1;  // the VFO is never offered
    s.Am.entries[0].InUse = 1;
    s.Options.FmWorkChannel = 7;
    s.Options.AmWorkChannel = 5;
    AppState app;
    ChannelList channels;
    FrmOption dialog(s, channels, app, lang_);
    QCOMPARE(Entries(dialog.List(29)), (QStringList{"3", "7"}));
    QCOMPARE(dialog.List(29)->currentText(), QString("7"));
    QCOMPARE(Entries(dialog.List(28)), QStringList{"0"});
    QCOMPARE(dialog.List(28)->currentText(), QString("0"));
    ChooseText(dialog.List(29), "3");
    Click(&dialog, "CommandOK");
    QCOMPARE(s.Options.FmWorkChannel, int16_t(3));
    QCOMPARE(s.Options.AmWorkChannel, int16_t(5));  // not chosen: kept
  }

  void passwordAndMessageBoxes() {
    SettingsRecord s;
    s.Options.PowerOnMessage = "Welcome";
    AppState app;
    ChannelList channels;
    FrmOption dialog(s, channels, app, lang_);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* check = dialog.findChild<QCheckBox*>("CheckPassWord");
    auto* password = dialog.findChild<QLineEdit*>("TextPassWord");
    QVERIFY(password->isHidden());
    check->click();
    QVERIFY(!password->isHidden());
    QVERIFY(!dialog.findChild<QLabel*>("LabelPassWord")->isHidden());
    TypeInto(password, "12a3");
    QTest::sendKeyEvent(QTest::Click, password, Qt::Key_unknown, QString(QChar(0xE9)), {});
    QTest::keyClicks(password, "4");
    QCOMPARE(password->text(), QString("1234"));
    QTest::keyClick(password, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(password->text(), QString("1234"));

    QCOMPARE(MessageBox(&dialog, 0)->text(), QString("W"));
    QCOMPARE(MessageBox(&dialog, 6)->text(), QString("e"));
    TypeInto(MessageBox(&dialog, 0), "\\H");  // the backslash is refused
    QVERIFY(MessageBox(&dialog, 1)->hasFocus());
    QTest::keyClicks(MessageBox(&dialog, 1), "i");
    QVERIFY(MessageBox(&dialog, 2)->hasFocus());
    for (int i = 2; i < 7; ++i) MessageBox(&dialog, i)->clear();
    Click(&dialog, "CommandOK");
    QCOMPARE(s.Options.PowerOnPasswordEnabled, int16_t(1));
    QCOMPARE(std::string(s.Options.PowerOnPassword.Raw()), std::string("1234\0 ", 6));
    QCOMPARE(std::string(s.Options.PowerOnMessage.Raw()), std::string("Hi     "));
  }

  // The main window opens each function-settings window from its tree node and its menu
  // entry, on the workspace's own records.
  void mainWindowOpensEachWindow() {
    UiWorld w;
    frmMain& m = w.main();
    QString opened;
    w.OnDialog([&](QDialog& d) { opened = d.objectName(); });
    const std::pair<const char*, const char*> nodes[] = {
        {"N4", "FrmOption"},    {"N10", "FrmScan"}, {"N11", "FrmAlert"},
        {"N8", "FrmCommuBook"}, {"N15", "FrmFm"},   {"N16", "FrmAm"}};
    for (const auto& [key, window] : nodes) {
      opened.clear();
      m.tvTreeView_NodeClick(key);
      QCOMPARE(opened, QString(window));
    }
    const std::pair<const char*, const char*> entries[] = {{"MnuViewSetMode", "FrmOption"},
                                                           {"MnuViewScan", "FrmScan"},
                                                           {"MnuViewAlert", "FrmAlert"},
                                                           {"MnuCommBook", "FrmCommuBook"}};
    for (const auto& [action, window] : entries) {
      opened.clear();
      m.findChild<QAction*>(action)->trigger();
      QCOMPARE(opened, QString(window));
    }

    // The FM list is edited in place; the options dialog's OK stores into the workspace.
    w.OnDialog([](QDialog& d) {
      auto& grid = dynamic_cast<BroadcastGrid&>(d);
      grid.Grid()->setCurrentCell(4, 1);
      emit grid.Grid()->cellDoubleClicked(4, 1);
      QTest::keyClicks(grid.EditBox(), "100.5");
      grid.reject();
    });
    m.tvTreeView_NodeClick("N15");
    QCOMPARE(w.ws.settings.Fm.entries[4].Frequency, 100.5);
    w.OnDialog([](QDialog& d) {
      ChooseEntry(dynamic_cast<FrmOption&>(d).List(8), 4);
      Click(&d, "CommandOK");
    });
    m.MnuViewSetMode_Click();
    QCOMPARE(w.ws.settings.Options.Option8, int16_t(4));
  }

  void screenshots() {
    SettingsRecord s;
    s.Options.Option0 = 1;
    s.Options.Option1 = 1;
    s.Options.PowerOnPasswordEnabled = 1;
    s.Options.PowerOnPassword = "1234";
    AppState app;
    ChannelList channels = ChannelsNumbered({1, 2, 203, 204}, app);
    for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
      const LanguageTable lang = BuildLanguage(language);
      FrmOption dialog(s, channels, app, lang);
      SaveScreenshot(&dialog, language == kLanguageEnglish ? "FrmOption_en" : "FrmOption_zh");
    }
  }

 private:
  LanguageTable lang_;
};

QTEST_MAIN(TestFrmOption)
#include "test_frm_option.moc"
