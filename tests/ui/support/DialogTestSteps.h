#pragma once
// What the tests of the signalling windows share: opening a dialog as the active window, and
// its screenshot when KVX50_SCREENSHOTS names a folder.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLayout>
#include <QTest>
#include <QWidget>

namespace kvx::test {

inline void Open(QDialog& d) {
  d.show();
  d.activateWindow();
  QApplication::setActiveWindow(&d);
  QVERIFY(QTest::qWaitForWindowActive(&d));
}

inline void Shoot(QWidget* window, const QString& name) {
  const QString folder = qEnvironmentVariable("KVX50_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  window->show();
  QTest::qWait(50);
  window->layout()->activate();
  window->adjustSize();
  QTest::qWait(200);
  QVERIFY(window->grab().save(folder + "/" + name + ".png"));
}

}  // namespace kvx::test
