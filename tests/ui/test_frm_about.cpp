// The about box, its system information, and the start-up picture.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSplashScreen>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "core/app/AppState.h"
#include "frm_settings_helpers.h"
#include "support/UiWorld.h"
#include "ui/FrmAbout.h"
#include "ui/Splash.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

QString LabelText(QWidget& w, const char* name) {
  auto* label = w.findChild<QLabel*>(name);
  return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

QSplashScreen* StartupPicture() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "StartupPicture") return qobject_cast<QSplashScreen*>(w);
  return nullptr;
}

}  // namespace

class TestFrmAbout : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QuietOffscreenWarnings();
    en_ = BuildLanguage(kLanguageEnglish);
    zh_ = BuildLanguage(kLanguageChinese);
  }

  void showsNameVersionQtAndFolder() {
    AppState app;
    app.ProgramFolder = "/opt/kvx50 test";
    FrmAbout about(app, en_);
    QCOMPARE(about.windowTitle(), Q(en_.GetLangText(1036)));
    QCOMPARE(LabelText(about, "LabelTitle"), QString("KV_X50_WQN7"));
    const QString version = ProgramVersion().isEmpty() ? "unknown" : ProgramVersion();
    QCOMPARE(LabelText(about, "LabelVersion"), version);
    QVERIFY(LabelText(about, "LabelQtVersion").startsWith(QT_VERSION_STR));
    QCOMPARE(LabelText(about, "LabelFolder"), QString("/opt/kvx50 test"));
    QCOMPARE(about.findChild<QPushButton*>("CommandSysInfo")->text(), Q(en_.GetLangText(1039)));

    FrmAbout chinese(app, zh_);
    QCOMPARE(chinese.windowTitle(), QString("关于"));
    QCOMPARE(chinese.findChild<QPushButton*>("CommandOK")->text(), QString("确定"));
  }

  // The system information names the system, kernel and Qt and lists the serial devices; Copy
  // puts the whole text on the clipboard.
  void systemInformationCanBeCopied() {
    AppState app;
    app.ProgramFolder = "/opt/kvx50";
    app.ComPort = "ttyUSB7";
    FrmAbout about(app, en_);
    QString shown;
    auto check = [&](QDialog& d) {
      QCOMPARE(d.objectName(), QString("FrmSystemInfo"));
      QCOMPARE(d.windowTitle(), Q(en_.GetLangText(2104)));
      QCOMPARE(d.findChild<QPushButton*>("CommandClose")->text(), Q(en_.BuiltIn().CloseCaption));
      auto* text = d.findChild<QPlainTextEdit*>("TextSystemInfo");
      shown = text->toPlainText();
      QApplication::clipboard()->clear();
      Click(&d, "CommandCopy");
      QCOMPARE(QApplication::clipboard()->text(), shown);
      Click(&d, "CommandClose");
    };
    about.runner = [&](QDialog& d) {
      check(d);
      return d.result();
    };
    Click(&about, "CommandSysInfo");
    for (const QString& part : {QSysInfo::kernelVersion(), QSysInfo::prettyProductName(),
                                QString(qVersion()), QString(QT_VERSION_STR), QString("/opt/kvx50"),
                                QString("ttyUSB7"), QString("Serial devices in /dev")})
      QVERIFY2(shown.contains(part), qPrintable(part));
  }

  // The serial nodes of a device folder: only the three families, in number order, with mode,
  // group and access.
  void serialDevicesWithTheirPermissions() {
    QTemporaryDir dev;
    for (const char* name : {"ttyS10", "ttyUSB0", "ttyS2", "ttyACM1", "null", "tty1", "ttyX"})
      std::ofstream(dev.filePath(name).toStdString()) << "";
    QFile::setPermissions(dev.filePath("ttyUSB0"), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ReadGroup | QFile::WriteGroup);
    const auto list = ListSerialDevices(dev.path().toStdString());
    QStringList names;
    for (const auto& d : list) names << QString::fromStdString(d.path).section('/', -1);
    QCOMPARE(names, QStringList({"ttyACM1", "ttyS2", "ttyS10", "ttyUSB0"}));
    const SerialDeviceInfo& usb = list[3];
    QCOMPARE(QString::fromStdString(usb.mode), QString("-rw-rw----"));
    QVERIFY(!usb.group.empty());
    QVERIFY(usb.userInGroup);  // made by this process, so in its own group
    QVERIFY(usb.readWrite);

    AppState app;
    const QString text = SystemInformationText(app, dev.path().toStdString());
    QVERIFY(text.contains(dev.filePath("ttyUSB0") + " "));
    QVERIFY(text.contains("-rw-rw----"));
    QVERIFY(!text.contains("ttyX"));
    QTemporaryDir empty;
    QVERIFY(SystemInformationText(app, empty.path().toStdString())
                .contains("(ttyUSB*, ttyACM*, ttyS*):\n  (none)"));
  }

  void mainWindowEntry() {
    UiWorld w;
    QString title;
    w.OnDialog([&](QDialog& d) {
      title = d.windowTitle();
      QCOMPARE(LabelText(d, "LabelFolder"), QString::fromStdString(w.ws.app.ProgramFolder));
      Click(&d, "CommandOK");
    });
    w.main().MnuHelpAbout_Click();
    QCOMPARE(title, Q(w.ws.lang.GetLangText(1036)));
  }

  // The picture is up at once and goes when the main window (or any other window) shows.
  void startupPictureClosesWithTheFirstWindow() {
    for (bool mainWindow : {true, false}) {
      ShowStartupPicture();
      QPointer<QSplashScreen> splash = StartupPicture();
      QVERIFY(splash);
      QVERIFY(splash->isVisible());
      QVERIFY(!splash->pixmap().isNull());
      QWidget* other =
          mainWindow ? static_cast<QWidget*>(new QMainWindow) : static_cast<QWidget*>(new QDialog);
      other->show();
      QVERIFY(!splash->isVisible());
      QTRY_VERIFY(splash.isNull());
      delete other;
    }
  }

  void screenshots() {
    AppState app;
    app.ProgramFolder = "/usr/local/share/kvx50";
    FrmAbout en(app, en_);
    SaveScreenshot(&en, "FrmAbout_en");
    FrmAbout zh(app, zh_);
    SaveScreenshot(&zh, "FrmAbout_zh");
    en.runner = [](QDialog& d) {
      SaveScreenshot(&d, "FrmSystemInfo");
      return 0;
    };
    en.ShowSystemInfo();
    ShowStartupPicture();
    QSplashScreen* splash = StartupPicture();
    QVERIFY(splash);
    const QString folder = qEnvironmentVariable("KVX50_SCREENSHOTS");
    if (!folder.isEmpty()) splash->pixmap().save(folder + "/StartupPicture.png");
    splash->close();
  }

 private:
  LanguageTable en_, zh_;
};

QTEST_MAIN(TestFrmAbout)
#include "test_frm_about.moc"
