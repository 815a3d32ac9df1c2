#include "ui/FormHelpers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/lang/LanguageTable.h"
#include "core/util/Text.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

bool FamilyInstalled(const QString& family) {
  if (family.isEmpty()) return false;
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

QString CjkFamily() {
  static const char* const kCandidates[] = {"Noto Sans CJK SC", "Noto Sans SC", "Noto Serif CJK SC",
                                            "WenQuanYi Zen Hei", "AR PL UMing CN"};
  for (const char* c : kCandidates)
    if (FamilyInstalled(c)) return c;
  return {};
}

bool IsCopyCutPaste(QKeyEvent* e) {
  if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Cut) ||
      e->matches(QKeySequence::Paste))
    return true;
  if (e->modifiers() & Qt::ControlModifier) {
    const int k = e->key();
    return k == Qt::Key_C || k == Qt::Key_V || k == Qt::Key_X || k == Qt::Key_Insert;
  }
  return false;
}

bool IsEnter(const QKeyEvent* e) {
  return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

class TextBoxFilter : public QObject {
 public:
  TextBoxFilter(QLineEdit* box, TextBoxRules rules) : QObject(box), box_(box), rules_(rules) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != box_) return false;
    switch (event->type()) {
      case QEvent::ShortcutOverride: {
        // Keep the window's own shortcuts (the main window's Ctrl+C) from seeing these keys.
        auto* k = static_cast<QKeyEvent*>(event);
        if (IsCopyCutPaste(k)) {
          k->accept();
          return true;
        }
        return false;
      }
      case QEvent::KeyPress:
        return OnKey(static_cast<QKeyEvent*>(event));
      case QEvent::FocusIn:
        QTimer::singleShot(0, box_, [b = box_] { b->selectAll(); });
        return false;
      default:
        return false;
    }
  }

 private:
  bool OnKey(QKeyEvent* e) {
    if (IsCopyCutPaste(e)) return true;
    if (IsEnter(e)) {
      FocusNextControl(box_);
      return true;
    }
    const QString text = e->text();
    if (text.isEmpty() || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
    const QChar c = text.at(0);
    if (c.unicode() < 32) return false;  // Backspace and the other control keys pass
    if (c.unicode() > 127) return true;
    QChar put = rules_.accept ? rules_.accept(c) : c;
    if (put.isNull()) return true;
    if (box_->isReadOnly()) return true;
    if (put != c || rules_.advanceAfterChar) {
      box_->insert(QString(put));
      if (rules_.advanceAfterChar) FocusNextControl(box_);
      return true;
    }
    return false;
  }

  QLineEdit* box_;
  TextBoxRules rules_;
};

class EnterFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    if (!IsEnter(k)) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (auto* combo = qobject_cast<QComboBox*>(w);
        combo && combo->view() && combo->view()->isVisible())
      return false;  // Enter chooses in an open list
    FocusNextControl(w);
    return true;
  }
};

}  // namespace

void ApplyLanguageToForm(QWidget* form, const LanguageTable& lang) {
  if (!form) return;
  QFont font = form->font();
  const QString family = Q(lang.GetLangText(20));
  if (FamilyInstalled(family)) {
    font.setFamily(family);
  } else if (lang.LanguageIndex() == kLanguageChinese) {
    const QString cjk = CjkFamily();
    if (!cjk.isEmpty()) font.setFamilies({font.family(), cjk});
  }
  if (auto size = ParseInteger(lang.GetLangText(21)); size && *size > 0 && *size < 100)
    font.setPointSize(static_cast<int>(*size));
  form->setFont(font);
}

void LocalizeOkCancel(QWidget* dialog, const LanguageTable& lang) {
  if (!dialog) return;
  if (auto* ok = dialog->findChild<QAbstractButton*>("CommandOK"))
    ok->setText(Q(lang.GetLangText(101)));
  if (auto* cancel = dialog->findChild<QAbstractButton*>("CommandCancel"))
    cancel->setText(Q(lang.GetLangText(102)));
}

void LocalizeCloseHelp(QWidget* dialog, const LanguageTable& lang) {
  if (!dialog) return;
  const BuiltInTexts& t = lang.BuiltIn();
  if (auto* close = dialog->findChild<QAbstractButton*>("CommandClose"))
    close->setText(Q(t.CloseCaption));
  if (auto* help = dialog->findChild<QAbstractButton*>("CommandHelp"))
    help->setText(Q(t.HelpCaption));
}

void SuppressTextMenu(QWidget* textBox) {
  if (textBox) textBox->setContextMenuPolicy(Qt::NoContextMenu);
}

void RestoreTextMenu(QWidget* textBox) {
  if (textBox) textBox->setContextMenuPolicy(Qt::DefaultContextMenu);
}

void InstallTextBoxFilter(QLineEdit* box, TextBoxRules rules) {
  if (!box) return;
  box->installEventFilter(new TextBoxFilter(box, std::move(rules)));
  box->setAcceptDrops(false);  // dropping text is pasting by another road
}

TextBoxRules DigitsAndPoint() {
  return {[](QChar c) { return (c.isDigit() || c == u'.') ? c : QChar(); }, false};
}

TextBoxRules DigitsOnly() {
  return {[](QChar c) { return c.isDigit() ? c : QChar(); }, false};
}

void InstallEnterMovesFocus(QWidget* dialog) {
  if (!dialog) return;
  auto* filter = new EnterFilter(dialog);
  for (auto* combo : dialog->findChildren<QComboBox*>()) combo->installEventFilter(filter);
  for (auto* check : dialog->findChildren<QCheckBox*>()) check->installEventFilter(filter);
}

void FocusNextControl(QWidget* from) {
  if (!from) return;
  QWidget* w = from->nextInFocusChain();
  while (w && w != from) {
    if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
        w->window() == from->window()) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
    w = w->nextInFocusChain();
  }
}

QLabel* RightLabel(const char* objectName, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(objectName);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

QHBoxLayout* OkCancelRow(QWidget* parent, QPushButton** ok, QPushButton** cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  auto* okButton = new QPushButton(parent);
  okButton->setObjectName("CommandOK");
  okButton->setDefault(true);
  okButton->setAutoDefault(true);
  auto* cancelButton = new QPushButton(parent);
  cancelButton->setObjectName("CommandCancel");
  cancelButton->setAutoDefault(false);
  row->addWidget(okButton);
  row->addWidget(cancelButton);
  if (ok) *ok = okButton;
  if (cancel) *cancel = cancelButton;
  return row;
}

void SetIndexOrFirst(QComboBox* box, int index) {
  if (!box) return;
  if (box->count() == 0) {
    box->setCurrentIndex(-1);
    return;
  }
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

int RunModal(const DialogRunner& runner, QDialog& dialog) {
  if (runner) return runner(dialog);
  return dialog.exec();
}

}  // namespace kvx
