#include "ui/Splash.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QSplashScreen>

#include "ui/FrmAbout.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 150;

// Painted, not loaded: no file to find and nothing to decode.
QPixmap StartupPixmap(qreal ratio) {
  QPixmap pm(QSize(kWidth, kHeight) * ratio);
  pm.setDevicePixelRatio(ratio);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0, QColor(18, 52, 96));
  sky.setColorAt(1, QColor(40, 102, 168));
  p.fillRect(QRect(0, 0, kWidth, kHeight), sky);
  // Radio waves from the left.
  p.setPen(QPen(QColor(255, 255, 255, 90), 3));
  for (int r = 24; r <= 72; r += 24)
    p.drawArc(QRect(40 - r, 75 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  p.setBrush(QColor(255, 255, 255, 200));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(40, 75), 6, 6);

  p.setPen(Qt::white);
  QFont title = p.font();
  title.setPixelSize(28);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRect(110, 38, kWidth - 120, 40), Qt::AlignLeft | Qt::AlignVCenter, Q(kProductName));
  QFont small = p.font();
  small.setPixelSize(13);
  small.setBold(false);
  p.setFont(small);
  p.setPen(QColor(220, 232, 248));
  p.drawText(QRect(110, 80, kWidth - 120, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("kvx50 %1").arg(ProgramVersion()));
  p.setPen(QColor(255, 255, 255, 60));
  p.drawRect(QRect(0, 0, kWidth - 1, kHeight - 1));
  return pm;
}

// Closes the picture when another top-level window appears, then removes itself.
class SplashCloser : public QObject {
 public:
  explicit SplashCloser(QSplashScreen* splash) : QObject(splash), splash_(splash) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && splash_ && watched != splash_ && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w->isWindow() && !(w->windowFlags() & Qt::ToolTip) && w->windowType() != Qt::Popup) {
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
  // One pass so that it is drawn before the start-up work blocks the event loop.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace kvx
