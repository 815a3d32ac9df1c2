#pragma once
// What the tests of the function-settings windows share: the language of the build's program
// folder, choosing in a list as a user does, pressing a button, and screenshots.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "core/lang/LanguageTable.h"

namespace kvx::test {

// The offscreen platform warns about every list it opens (no keyboard grab, no raise); those
// warnings say nothing about the windows under test.
inline QtMessageHandler& PreviousHandler() {
  static QtMessageHandler previous = nullptr;
  return previous;
}
inline void QuietOffscreenWarnings() {
  PreviousHandler() = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (message.startsWith("This plugin does not support")) return;
        if (PreviousHandler()) PreviousHandler()(type, context, message);
      });
}

inline LanguageTable BuildLanguage(int16_t index) {
  LanguageTable lang;
  lang.SetProgramFolder(KVX50_BIN_DIR);
  lang.SetLanguageIndex(index);
  return lang;
}

// Opens the list, moves to the entry and takes it with Enter: one choice, as a user makes it.
inline void ChooseEntry(QComboBox* box, int index) {
  QVERIFY(box);
  QVERIFY(index >= 0 && index < box->count());
  box->showPopup();
  QAbstractItemView* view = box->view();
  view->setCurrentIndex(view->model()->index(index, box->modelColumn(), box->rootModelIndex()));
  QTest::keyClick(view, Qt::Key_Return);
  QCOMPARE(box->currentIndex(), index);
}

inline void ChooseText(QComboBox* box, const QString& text) {
  QVERIFY(box);
  const int at = box->findText(text);
  QVERIFY2(at >= 0, qPrintable("no entry " + text + " in " + box->objectName()));
  ChooseEntry(box, at);
}

inline QStringList Entries(const QComboBox* box) {
  QStringList texts;
  for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
  return texts;
}

inline void Click(QWidget* dialog, const char* buttonName) {
  auto* button = dialog->findChild<QAbstractButton*>(buttonName);
  QVERIFY2(button, buttonName);
  QTest::mouseClick(button, Qt::LeftButton);
}

// Types into a text box as a user does: focus it (which selects its text), then the keys.
inline void TypeInto(QLineEdit* box, const QString& keys) {
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, keys);
}

// Saves a picture of the window when KVX50_SCREENSHOTS names a folder.
inline void SaveScreenshot(QWidget* window, const QString& name) {
  const QString folder = qEnvironmentVariable("KVX50_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  window->show();
  window->resize(window->sizeHint());  // adjustSize() would keep to 2/3 of the small screen
  QTest::qWait(20);
  window->grab().save(folder + "/" + name + ".png");
}

}  // namespace kvx::test
