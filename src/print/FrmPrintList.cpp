#include "print/FrmPrintList.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "core/files/Workspace.h"
#include "core/util/Prompts.h"
#include "print/PrintOut.h"
#include "ui/UiText.h"
#include "ui/frmMain.h"

namespace kvx {

FrmPrintList::FrmPrintList(const Workspace& ws, Prompts& prompts, QPrinter& printer,
                           QWidget* parent)
    : QDialog(parent), ws_(ws), prompts_(prompts), printer_(printer) {
  setObjectName("FrmPrintList");
  const PrintTexts& t = PrintTextsFor(ws.lang.LanguageIndex());
  setWindowTitle(Q(ws.lang.GetLangText(3008)));

  auto* frame = new QGroupBox(Q(ws.lang.GetLangText(3009)), this);
  frame->setObjectName("FrameItems");
  auto* boxes = new QVBoxLayout(frame);
  for (int item : kPrintItems) {
    auto* box = new QCheckBox(PrintItemCaption(ws, item), frame);
    box->setObjectName(QStringLiteral("Check1_%1").arg(item));
    boxes->addWidget(box);
    boxes_[item] = box;
  }
  boxes->addStretch(1);

  auto button = [this](const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* selectAll = button("CommandSelectAll", t.selectAll);
  QPushButton* clearAll = button("CommandClearAll", t.clearAll);
  QPushButton* setup = button("CommandSet", t.printerSetup);
  QPushButton* preview = button("CommandPreview", t.preview);
  QPushButton* ok = button("CommandOK", t.ok);
  QPushButton* cancel = button("CommandCancel", t.cancel);
  ok->setDefault(true);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {selectAll, clearAll, setup, preview}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* outer = new QHBoxLayout(this);
  outer->addWidget(frame, 1);
  outer->addLayout(buttons);

  connect(selectAll, &QPushButton::clicked, this, &FrmPrintList::CommandSelectAll_Click);
  connect(clearAll, &QPushButton::clicked, this, &FrmPrintList::CommandClearAll_Click);
  connect(setup, &QPushButton::clicked, this, &FrmPrintList::CommandSet_Click);
  connect(preview, &QPushButton::clicked, this, &FrmPrintList::CommandPreview_Click);
  connect(ok, &QPushButton::clicked, this, &FrmPrintList::CommandOK_Click);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  ApplyLanguageToForm(this, ws.lang);
}

QCheckBox* FrmPrintList::ItemBox(int item) const {
  const auto it = boxes_.find(item);
  return it == boxes_.end() ? nullptr : it->second;
}

std::vector<int> FrmPrintList::TickedItems() const {
  std::vector<int> items;
  for (const auto& [item, box] : boxes_)
    if (box->isChecked()) items.push_back(item);
  return items;
}

void FrmPrintList::CommandSelectAll_Click() {
  for (const auto& [item, box] : boxes_) box->setChecked(true);
}

void FrmPrintList::CommandClearAll_Click() {
  for (const auto& [item, box] : boxes_) box->setChecked(false);
}

void FrmPrintList::CommandSet_Click() {
  // The set-up dialog writes into the printer only when it is accepted.
  QPageSetupDialog dialog(&printer_, this);
  RunModal(setupRunner, dialog);
}

bool FrmPrintList::AnyTicked() {
  if (!TickedItems().empty()) return true;
  prompts_.Message(PrintTextsFor(ws_.lang.LanguageIndex()).nothingSelected, Icon::Warning,
                   Buttons::Ok);
  return false;
}

void FrmPrintList::CommandPreview_Click() {
  if (!AnyTicked()) return;
  const std::vector<int> items = TickedItems();
  QPrintPreviewDialog preview(&printer_, this);
  preview.setObjectName("PrintPreview");
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this, &items](QPrinter* printer) { PrintSections(*printer, ws_, items); });
  RunModal(previewRunner, preview);
}

void FrmPrintList::CommandOK_Click() {
  if (!AnyTicked()) return;
  printItems_ = TickedItems();
  PrintSelected();
  if (PrintDone) accept();
}

void FrmPrintList::PrintSelected() {
  PrintDone = false;
  QPrintDialog dialog(&printer_, this);
  dialog.setObjectName("PrintDialog");
  if (RunModal(printDialogRunner, dialog) != QDialog::Accepted) return;
  PrintDone = PrintSections(printer_, ws_, printItems_);
}

void InstallPrintCommand(frmMain& main) {
  // One printer for the session, made on first use: finding the printers can take a moment.
  auto printer = std::make_shared<std::unique_ptr<QPrinter>>();
  main.printCommand = [&main, printer] {
    if (!*printer) *printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    FrmPrintList dialog(main.ws(), main.prompts(), **printer, &main);
    main.RunDialog(dialog);
  };
}

}  // namespace kvx
