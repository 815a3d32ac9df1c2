#include "ui/Splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QSplashScreen>
#include <QThread>
#include <QWindow>

#include "ui/FrmAbout.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kWidth = 390;
constexpr int kHeight = 150;
constexpr int kMostWaitMs = 16;  // one frame at 60 Hz

// Painted, not loaded: no file to find and nothing to decode. Only fills and text in the
// font the main window loads anyway: curves, outlines and a bold face would cost more than
// all the rest (the first stroke sets up the stroker).
QPixmap StartupPixmap(qreal ratio) {
  QPixmap pm(QSize(kWidth, kHeight) * ratio);
  pm.setDevicePixelRatio(ratio);
  QPainter p(&pm);
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0, QColor(18, 52, 96));
  sky.setColorAt(1, QColor(40, 102, 168));
  p.fillRect(QRect(0, 0, kWidth, kHeight), sky);
  // A signal-strength mark.
  const QColor bars[] = {{96, 140, 196}, {140, 178, 222}, {186, 212, 240}, {236, 244, 255}};
  for (int i = 0; i < 4; ++i)
    p.fillRect(QRect(34 + 18 * i, 102 - 16 * (i + 1), 12, 16 * (i + 1)), bars[i]);

  QFont title = p.font();
  title.setPixelSize(30);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRect(128, 34, kWidth - 136, 44), Qt::AlignLeft | Qt::AlignVCenter, Q(kProductName));
  QFont small = p.font();
  small.setPixelSize(13);
  p.setFont(small);
  p.setPen(QColor(220, 232, 248));
  const QString version = ProgramVersion();
  p.drawText(QRect(130, 80, kWidth - 138, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("kvx50 %1").arg(version).trimmed());
  return pm;
}

// Closes the picture when another top-level window appears, then removes itself.
class SplashCloser : public QObject {
 public:
  explicit SplashCloser(QSplashScreen* splash) : QObject(splash), splash_(splash) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && splash_ && watched != splash_ && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      const Qt::WindowType type = w->windowType();
      if (w->isWindow() && type != Qt::ToolTip && type != Qt::Popup && type != Qt::SplashScreen) {
        qApp->removeEventFilter(this);
        splash_->close();  // deletes it
      }
    }
    return false;
  }

 private:
  QPointer<QSplashScreen> splash_;
};

}  // namespace

void ShowStartupPicture() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  auto* splash = new QSplashScreen(StartupPixmap(screen ? screen->devicePixelRatio() : 1.0));
  splash->setObjectName("StartupPicture");
  splash->setAttribute(Qt::WA_DeleteOnClose);
  qApp->installEventFilter(new SplashCloser(splash));
  splash->show();
  // Let the window system show and paint it before the start-up holds the event loop, but
  // wait for that no longer than a frame.
  QElapsedTimer waited;
  waited.start();
  QWindow* window = splash->windowHandle();
  do {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (window && window->isExposed()) break;
    QThread::usleep(500);
  } while (waited.elapsed() < kMostWaitMs);
}

}  // namespace kvx
