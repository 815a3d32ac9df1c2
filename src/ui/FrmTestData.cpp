#include "ui/FrmTestData.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/lang/LanguageTable.h"
#include "core/util/Prompts.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kValueCount = 32;
constexpr int kRowsPerColumn = 16;
// The most characters a user can type into a box; a stored value of four digits (a negative
// one shows as FFFF) is still shown whole.
constexpr int kTypedDigits = 3;

bool Chinese(const LanguageTable& lang) {
  return lang.LanguageIndex() == kLanguageChinese;
}

}  // namespace

FrmTestData::FrmTestData(TestDataValues& values, const LanguageTable& lang, Prompts& prompts,
                         std::string& lastTestDataFile, QWidget* parent)
    : QDialog(parent),
      values_(values),
      lang_(lang),
      prompts_(prompts),
      lastTestDataFile_(lastTestDataFile),
      buffer_(values) {
  setObjectName("FrmTestData");
  BuildControls();
  Localize();
  ShowBuffer();
}

QLineEdit* FrmTestData::Box(int index) const {
  return index >= 0 && index < kValueCount ? boxes_[static_cast<size_t>(index)] : nullptr;
}

QLabel* FrmTestData::Label(int index) const {
  return index >= 0 && index < kValueCount ? labels_[static_cast<size_t>(index)] : nullptr;
}

void FrmTestData::BuildControls() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  for (int i = 0; i < kValueCount; ++i) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("Text1_%1").arg(i));
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Hexadecimal digits only, lower case taken as upper case, at most three typed.
    TextBoxRules rules{[box](QChar c) {
                         const QChar up = c.toUpper();
                         const bool hex = (up >= u'0' && up <= u'9') || (up >= u'A' && up <= u'F');
                         if (!hex) return QChar();
                         if (box->text().size() - box->selectedText().size() >= kTypedDigits)
                           return QChar();
                         return up;
                       },
                       false};
    InstallTextBoxFilter(box, rules);
    SuppressTextMenu(box);
    auto* label = RightLabel("", this);
    label->setObjectName(QStringLiteral("Label1_%1").arg(i));
    label->setBuddy(box);
    boxes_[static_cast<size_t>(i)] = box;
    labels_[static_cast<size_t>(i)] = label;
    const int row = i % kRowsPerColumn, column = (i / kRowsPerColumn) * 3;
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
  }
  grid->setColumnMinimumWidth(2, 24);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(3, 1);

  auto* load = new QPushButton(this);
  load->setObjectName("CommandLoad");
  load->setAutoDefault(false);
  auto* save = new QPushButton(this);
  save->setObjectName("CommandSave");
  save->setAutoDefault(false);
  QPushButton *ok = nullptr, *cancel = nullptr;
  QHBoxLayout* buttons = OkCancelRow(this, &ok, &cancel);
  buttons->insertWidget(0, load);
  buttons->insertWidget(1, save);
  connect(load, &QPushButton::clicked, this, &FrmTestData::LoadClicked);
  connect(save, &QPushButton::clicked, this, &FrmTestData::SaveClicked);
  connect(ok, &QPushButton::clicked, this, &FrmTestData::OkClicked);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addSpacing(6);
  outer->addLayout(buttons);
}

void FrmTestData::Localize() {
  const bool zh = Chinese(lang_);
  setWindowTitle(zh ? QStringLiteral("测试数据") : QStringLiteral("Test Data"));
  findChild<QPushButton*>("CommandLoad")
      ->setText(zh ? QStringLiteral("加载(&L)") : QStringLiteral("&Load"));
  findChild<QPushButton*>("CommandSave")
      ->setText(zh ? QStringLiteral("保存(&S)") : QStringLiteral("&Save"));
  for (int i = 0; i < kValueCount; ++i)
    labels_[static_cast<size_t>(i)]->setText(
        Q(TestValueName(static_cast<size_t>(i), lang_.LanguageIndex())));
  LocalizeOkCancel(this, lang_);
  ApplyLanguageToForm(this, lang_);
  // Room for four digits in the language's font.
  for (QLineEdit* box : boxes_)
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("FFFFF")) + 14);
}

std::string FrmTestData::FileFilter() const {
  return std::string(Chinese(lang_) ? "测试数据文件" : "Test Data File") + " (*.ted)|*.ted";
}

void FrmTestData::ShowBuffer() {
  for (int i = 0; i < kValueCount; ++i)
    boxes_[static_cast<size_t>(i)]->setText(
        QString::fromStdString(FormatTestValue(buffer_[static_cast<size_t>(i)])));
}

std::optional<int> FrmTestData::TakeBoxes(TestDataValues& into) const {
  std::optional<int> firstEmpty;
  for (int i = 0; i < kValueCount; ++i) {
    const std::string text = boxes_[static_cast<size_t>(i)]->text().trimmed().toStdString();
    if (const auto v = ParseTestValue(text))
      into[static_cast<size_t>(i)] = *v;
    else if (!firstEmpty)
      firstEmpty = i;
  }
  return firstEmpty;
}

void FrmTestData::LoadClicked() {
  const auto path = prompts_.OpenFileName(U8(windowTitle()), FileFilter(), lastTestDataFile_);
  if (!path || path->empty()) return;
  TestDataValues loaded = buffer_;
  if (!ReadTestDataFile(*path, loaded, &lastTestDataFile_)) {
    // Nothing is loaded; the user learns why rather than seeing the old values stay.
    prompts_.Message(lang_.BuiltIn().FileError, Icon::Critical, Buttons::Ok);
    return;
  }
  buffer_ = loaded;
  ShowBuffer();
}

void FrmTestData::SaveClicked() {
  TestDataValues taken = buffer_;
  if (const auto empty = TakeBoxes(taken)) {
    // An empty box is no number: a file written now would hold a value the user cannot see.
    const std::string name = TestValueName(static_cast<size_t>(*empty), lang_.LanguageIndex()) +
                             " (" + std::to_string(*empty) + ")";
    prompts_.Message(lang_.GetLangText(8002) + "\n" + name, Icon::Warning, Buttons::Ok);
    boxes_[static_cast<size_t>(*empty)]->setFocus();
    return;
  }
  buffer_ = taken;
  const auto path = prompts_.SaveFileName(U8(windowTitle()), FileFilter(), lastTestDataFile_);
  if (!path || path->empty()) return;
  if (!WriteTestDataFile(*path, buffer_, &lastTestDataFile_))
    prompts_.Message(lang_.BuiltIn().FileError, Icon::Critical, Buttons::Ok);
}

void FrmTestData::OkClicked() {
  // An empty box keeps the value it had.
  TakeBoxes(buffer_);
  values_ = buffer_;
  accept();
}

}  // namespace kvx
