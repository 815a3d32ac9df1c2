#include "ui/Frm_AutoTest.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/factory/Export.h"
#include "core/files/Workspace.h"
#include "core/util/Prompts.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

// The boxes' captions, in area order; the window's texts are the same in both languages.
constexpr const char* kAreaCaptions[kExportAreaCount] = {
    "信道", "收音机", "AM",    "MSK",      "整机功能", "组信道",
    "DTMF", "2Tone",  "5Tone", "紧急报警", "通讯簿",   "信道扫描信息",
};
constexpr const char* kCaption = "电调生产频设置";
constexpr const char* kExportCaption = "导出";
constexpr const char* kCancelCaption = "取消";
constexpr const char* kFilterName = "电调生产频";
constexpr int kBoxColumns = 3;

// The window shows Chinese whatever the language: give its font a CJK family to fall back on.
void UseCjkFallback(QWidget* window) {
  static const char* const kCandidates[] = {"Noto Sans CJK SC", "Noto Sans SC", "Noto Serif CJK SC",
                                            "WenQuanYi Zen Hei", "AR PL UMing CN"};
  const QStringList installed = QFontDatabase::families();
  for (const char* c : kCandidates) {
    if (installed.contains(c, Qt::CaseInsensitive)) {
      QFont font = window->font();
      font.setFamilies({font.family(), c});
      window->setFont(font);
      return;
    }
  }
}

}  // namespace

Frm_AutoTest::Frm_AutoTest(Workspace& ws, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ws_(ws), prompts_(prompts) {
  setObjectName("Frm_AutoTest");
  BuildControls();
  ws_.autoTest.AutoTestActive = true;
}

Frm_AutoTest::~Frm_AutoTest() {
  ws_.autoTest.AutoTestActive = false;
}

QCheckBox* Frm_AutoTest::Box(int index) const {
  return index >= 0 && index < static_cast<int>(kExportAreaCount)
             ? boxes_[static_cast<size_t>(index)]
             : nullptr;
}

void Frm_AutoTest::BuildControls() {
  setWindowTitle(Q(kCaption));
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(18);
  for (size_t i = 0; i < kExportAreaCount; ++i) {
    auto* box = new QCheckBox(Q(kAreaCaptions[i]), this);
    box->setObjectName(QStringLiteral("Check1_%1").arg(i));
    box->setChecked(ws_.autoTest.ExportAreaFlags[i]);
    boxes_[i] = box;
    const int n = static_cast<int>(i);
    grid->addWidget(box, n / kBoxColumns, n % kBoxColumns);
  }

  auto* exportButton = new QPushButton(Q(kExportCaption), this);
  exportButton->setObjectName("CommandExport");
  exportButton->setDefault(true);
  auto* cancel = new QPushButton(Q(kCancelCaption), this);
  cancel->setObjectName("CommandCancel");
  cancel->setAutoDefault(false);
  connect(exportButton, &QPushButton::clicked, this, &Frm_AutoTest::ExportClicked);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(exportButton);
  buttons->addWidget(cancel);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addSpacing(8);
  outer->addLayout(buttons);
  UseCjkFallback(this);
}

void Frm_AutoTest::ExportClicked() {
  for (size_t i = 0; i < kExportAreaCount; ++i)
    ws_.autoTest.ExportAreaFlags[i] = boxes_[i]->isChecked();
  const std::string filter = std::string(kFilterName) + " (*.EPM)|*.EPM";
  const auto path = prompts_.SaveFileName(kCaption, filter, {});
  if (!path || path->empty()) return;  // the window stays open
  // An encoder that fails has shown its message; the export goes on with what was encoded.
  RunAutoTestExport(ws_, *path, &prompts_);
  accept();
}

void Frm_AutoTest::done(int result) {
  ws_.autoTest.AutoTestActive = false;
  QDialog::done(result);
}

}  // namespace kvx
