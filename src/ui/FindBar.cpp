#include "ui/FindBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/lang/LanguageTable.h"
#include "ui/UiText.h"

namespace kvx {

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
  setObjectName("FindBar");
  lblFind_ = new QLabel(this);
  lblFind_->setObjectName("lblFind");
  txtFind_ = new QLineEdit(this);
  txtFind_->setObjectName("txtFind");
  txtFind_->setClearButtonEnabled(true);
  // A fixed width: the toolbar does not stretch the box over its free space.
  txtFind_->setFixedWidth(txtFind_->fontMetrics().horizontalAdvance("0000.00000WWW") + 30);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 0, 4, 0);
  row->setSpacing(4);
  // The box keeps to the right end of the toolbar, its label beside it.
  row->addStretch(1);
  row->addWidget(lblFind_);
  row->addWidget(txtFind_);
  lblFind_->setBuddy(txtFind_);
  connect(txtFind_, &QLineEdit::textEdited, this, &FindBar::textEdited);
  connect(txtFind_, &QLineEdit::returnPressed, this, &FindBar::nextRequested);
}

QString FindBar::text() const {
  return txtFind_->text();
}

void FindBar::Localize(const LanguageTable& lang) {
  const QString find = Q(lang.GetLangText(1086));
  lblFind_->setText(find);
  txtFind_->setPlaceholderText(find);
}

void FindBar::SetFound(bool found) {
  // A pale red box says that nothing matched; the palette stays the style's otherwise.
  txtFind_->setStyleSheet(found ? QString() : QString("QLineEdit { background: #ffe4e1; }"));
}

}  // namespace kvx
