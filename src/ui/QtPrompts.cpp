#include "ui/QtPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "core/lang/LanguageTable.h"
#include "ui/FrmPassWord.h"
#include "ui/Frm_File_Password.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

QMessageBox::Icon ToQt(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QString QtFileFilter(std::string_view filter) {
  const QString f = Q(filter);
  const qsizetype bar = f.indexOf('|');
  return bar < 0 ? f : f.left(bar);
}

Answer QtPrompts::Message(std::string_view text, Icon icon, Buttons buttons,
                          std::string_view title) {
  QMessageBox box(ToQt(icon), title.empty() ? Q(kProductName) : Q(title), Q(text),
                  QMessageBox::NoButton, parent_);
  box.setObjectName("MessageBox");
  box.setTextFormat(Qt::PlainText);
  const bool chinese = lang_.LanguageIndex() == kLanguageChinese;
  const QString okText = Q(lang_.GetLangText(101));
  const QString cancelText = Q(lang_.GetLangText(102));
  auto add = [&](QMessageBox::StandardButton b, const QString& english, const QString& chineseText,
                 const QString& fromFile = {}) {
    QPushButton* button = box.addButton(b);
    if (!fromFile.isEmpty())
      button->setText(fromFile);
    else
      button->setText(chinese ? chineseText : english);
    return button;
  };
  switch (buttons) {
    case Buttons::Ok:
      box.setDefaultButton(add(QMessageBox::Ok, "OK", "确定", okText));
      break;
    case Buttons::OkCancel:
      box.setDefaultButton(add(QMessageBox::Ok, "OK", "确定", okText));
      add(QMessageBox::Cancel, "Cancel", "取消", cancelText);
      break;
    case Buttons::YesNo:
      box.setDefaultButton(add(QMessageBox::Yes, "&Yes", "是(&Y)"));
      add(QMessageBox::No, "&No", "否(&N)");
      break;
    case Buttons::YesNoCancel:
      box.setDefaultButton(add(QMessageBox::Yes, "&Yes", "是(&Y)"));
      add(QMessageBox::No, "&No", "否(&N)");
      add(QMessageBox::Cancel, "Cancel", "取消", cancelText);
      break;
    case Buttons::RetryCancel:
      box.setDefaultButton(add(QMessageBox::Retry, "&Retry", "重试(&R)"));
      add(QMessageBox::Cancel, "Cancel", "取消", cancelText);
      break;
  }
  const int r = box.exec();
  switch (r) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Retry:
      return Answer::Retry;
    default:
      // Escape or the title bar: the safe answer (a box with one OK button has nothing else).
      return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
}

std::optional<std::string> QtPrompts::OpenFileName(std::string_view title, std::string_view filter,
                                                   std::string_view initial) {
  const QString name =
      QFileDialog::getOpenFileName(parent_, Q(title), Q(initial), QtFileFilter(filter));
  if (name.isEmpty()) return std::nullopt;
  return U8(name);
}

std::optional<std::string> QtPrompts::SaveFileName(std::string_view title, std::string_view filter,
                                                   std::string_view initial) {
  const QString name =
      QFileDialog::getSaveFileName(parent_, Q(title), Q(initial), QtFileFilter(filter));
  if (name.isEmpty()) return std::nullopt;
  return U8(name);
}

std::optional<std::string> QtPrompts::FilePassword(std::string_view caption,
                                                   std::string_view current) {
  Frm_File_Password dialog(lang_, std::string(caption), std::string(current), parent_);
  RunModal(runner, dialog);
  if (dialog.DialogCancelled()) return std::nullopt;
  return dialog.Password();
}

std::optional<std::string> QtPrompts::ProgramPassword(std::string_view current) {
  FrmPassWord dialog(lang_, std::string(current), parent_);
  if (RunModal(runner, dialog) != QDialog::Accepted) return std::nullopt;
  return dialog.Password();
}

}  // namespace kvx
