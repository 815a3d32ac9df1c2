// Pictures of the windows as a user sees them: the main window in English and Chinese, the
// channel edit dialog and the progress window. Saved as PNG under $KVX50_SCREENSHOTS (a
// temporary folder when it is not set); docs/screenshots/ holds copies. Checks that each window
// draws something and that the Chinese texts use a font that has their glyphs.
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QRawFont>
#include <QStatusBar>
#include <QTest>

#include "support/UiWorld.h"
#include "ui/FrmCHEdit.h"
#include "ui/FrmProgress.h"
#include "ui/UiText.h"

using namespace kvx;
using namespace kvx::test;

namespace {

QString OutDir() {
  static QTemporaryDir fallback;
  QString dir = qEnvironmentVariable("KVX50_SCREENSHOTS");
  if (dir.isEmpty()) dir = fallback.path();
  QDir().mkpath(dir);
  return dir;
}

void Save(QWidget& w, const QString& name) {
  QCoreApplication::processEvents();
  const QPixmap pm = w.grab();
  QVERIFY(!pm.isNull());
  const QImage img = pm.toImage();
  // Not a blank picture: some pixels differ from the first one.
  bool varied = false;
  const QRgb first = img.pixel(0, 0);
  for (int y = 0; y < img.height() && !varied; y += 7)
    for (int x = 0; x < img.width() && !varied; x += 7) varied = img.pixel(x, y) != first;
  QVERIFY(varied);
  QVERIFY(pm.save(OutDir() + "/" + name));
}

void FillSomeChannels(Workspace& ws) {
  const char* freqs[] = {"014500000", "014552500", "014600000", "015000000", "015512500"};
  for (int i = 0; i < 5; ++i) {
    ChannelRecord c = MakeChannel(i + 1, freqs[i], i % 3, "000060000");
    c.Name = std::string("CH") + char('A' + i);
    c.ToneAType = static_cast<int16_t>(i % 3);
    c.ToneACtcss = 20;
    c.ToneADcs = 19;
    c.ToneBType = static_cast<int16_t>((i + 1) % 3);
    c.ToneBCtcss = 8;
    c.ToneBDcs = 300;
    c.Power = static_cast<int16_t>(i % 3);
    c.Bandwidth = static_cast<int16_t>(i % 3);
    ws.channels.AppendChannel(c);
  }
}

}  // namespace

class TestScreenshots : public QObject {
  Q_OBJECT
 private slots:
  void mainWindow_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("english") << 1;
    QTest::newRow("chinese") << 2;
  }
  void mainWindow() {
    QFETCH(int, language);
    WorldOptions o;
    o.language = static_cast<int16_t>(language);
    o.features = {1, 1, 1, 0};
    UiWorld w(o);
    FillSomeChannels(w.ws);
    frmMain& m = w.main();
    m.resize(1100, 620);
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    m.SetCurrentCell(3, 1);
    if (language == 2) {
      // The menu font has the glyphs of the Chinese captions.
      const QString text = Q(w.ws.lang.GetLangText(1000));
      QVERIFY(!text.isEmpty());
      const QRawFont raw = QRawFont::fromFont(m.font());
      bool covered = raw.supportsCharacter(text.at(0));
      for (const QString& family : m.font().families())
        covered = covered || QRawFont::fromFont(QFont(family)).supportsCharacter(text.at(0));
      QVERIFY2(covered, qPrintable(m.font().family()));
    }
    Save(m, language == 1 ? "main-window-english.png" : "main-window-chinese.png");
  }

  void channelEditDialog() {
    WorldOptions o;
    o.features = {1, 1, 1, 0};
    UiWorld w(o);
    FillSomeChannels(w.ws);
    w.ws.app.CurrentEditChannel = 3;
    FrmCHEdit d(w.ws, w.prompts, {});
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    Save(d, "channel-edit.png");
  }

  void progressWindow() {
    UiWorld w;
    FrmProgress p(w.ws.lang, w.ws.lang.BuiltIn().ReadTitle);
    p.SetProgressValue(42);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    Save(p, "progress.png");
  }
};

QTEST_MAIN(TestScreenshots)
#include "test_screenshots.moc"
