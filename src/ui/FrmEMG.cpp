#include "ui/FrmEMG.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/BandTable.h"
#include "core/image/RadioInfo.h"
#include "core/lang/LanguageTable.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

// The window's own texts, English and Chinese.
struct EmgTexts {
  const char* caption;
  const char* area;
  const char* model;
  const char* band;
  const char* serial;
  const char* produced;
  const char* maintained;
  const char* maintainedDesc1;
  const char* maintainedDesc2;
  const char* version;
  const char* manufacture;
  const char* user;
  const char* dealerFrame;
  const char* dealer;
  const char* stock;
  const char* sell;
  const char* seller;
};

constexpr EmgTexts kEnglish = {
    "Embedded Message", "Area Code",       "Radio Type",         "Frequency",   "Serial Number",
    "Producted Date",   "Maintained Date", "Maintained",         "Description", "Version",
    "Manufacture Code", "User Code",       "Dealer Information", "Dealer Code", "Stock Date",
    "Sell Date",        "Seller"};
constexpr EmgTexts kChinese = {"嵌入信息", "销售区号", "机型",       "频段",       "序列号",
                               "出厂日期", "维修日期", "维修原因",   "",           "固件版本",
                               "生产批号", "客户代码", "经销商信息", "经销商代码", "入库时间",
                               "销售时间", "经手人"};

QLineEdit* Field(QWidget* parent, const char* name, const std::string& value) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setReadOnly(true);
  e->setText(QL1(value));
  SuppressTextMenu(e);
  return e;
}

}  // namespace

FrmEMG::FrmEMG(const LanguageTable& lang, const RadioInfo& info, int bandCode, QWidget* parent)
    : QDialog(parent) {
  setObjectName("FrmEMG");
  const EmgTexts& t = lang.LanguageIndex() == kLanguageChinese ? kChinese : kEnglish;
  setWindowTitle(QString::fromUtf8(t.caption));

  auto label = [this](const char* name, const char* text) {
    auto* l = RightLabel(name, this);
    l->setText(QString::fromUtf8(text));
    return l;
  };

  auto* model = new QComboBox(this);
  model->setObjectName("ComboModel");
  model->addItem(Q(DisplayModelName(info.RadioTypeText, bandCode)));
  auto* band = new QComboBox(this);
  band->setObjectName("ComboBand");
  band->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  // Positions 0-56: the text of every code of the band table, empty elsewhere.
  for (int c = 0; c <= 56; ++c) band->addItem(QString());
  for (const BandRow& row : BandTable()) band->setItemText(row.code, Q(BandTextOfCode(row.code)));
  band->setCurrentIndex(bandCode >= 0 && bandCode <= 56 ? bandCode : -1);

  auto* desc = new QPlainTextEdit(this);
  desc->setObjectName("TextDescription");
  desc->setReadOnly(true);
  desc->setPlainText(QL1(info.MaintenanceDescription));
  desc->setContextMenuPolicy(Qt::NoContextMenu);
  desc->setMaximumHeight(90);

  auto* grid = new QGridLayout;
  int r = 0;
  grid->addWidget(label("LabelArea", t.area), r, 0);
  grid->addWidget(Field(this, "TextArea", info.AreaCode), r++, 1);
  grid->addWidget(label("LabelModel", t.model), r, 0);
  grid->addWidget(model, r++, 1);
  grid->addWidget(label("LabelBand", t.band), r, 0);
  grid->addWidget(band, r++, 1);
  grid->addWidget(label("LabelSerial", t.serial), r, 0);
  grid->addWidget(Field(this, "TextSerial", info.SerialNumber), r++, 1);
  grid->addWidget(label("LabelProduced", t.produced), r, 0);
  grid->addWidget(Field(this, "TextProduced", info.ProductionDate), r++, 1);
  grid->addWidget(label("LabelMaintained", t.maintained), r, 0);
  grid->addWidget(Field(this, "TextMaintained", info.MaintenanceDate), r++, 1);
  auto* descLabels = new QVBoxLayout;
  descLabels->addWidget(label("LabelDescription1", t.maintainedDesc1));
  descLabels->addWidget(label("LabelDescription2", t.maintainedDesc2));
  descLabels->addStretch(1);
  grid->addLayout(descLabels, r, 0);
  grid->addWidget(desc, r++, 1);
  grid->addWidget(label("LabelVersion", t.version), r, 0);
  grid->addWidget(Field(this, "TextVersion", info.VersionText), r++, 1);
  grid->addWidget(label("LabelManufacture", t.manufacture), r, 0);
  grid->addWidget(Field(this, "TextManufacture", info.ManufactureCode), r++, 1);
  grid->addWidget(label("LabelUser", t.user), r, 0);
  grid->addWidget(Field(this, "TextUser", info.UserCode), r++, 1);
  grid->setColumnStretch(1, 1);

  auto* frame = new QGroupBox(QString::fromUtf8(t.dealerFrame), this);
  frame->setObjectName("FrameDealer");
  auto* dealer = new QGridLayout(frame);
  dealer->addWidget(label("LabelDealer", t.dealer), 0, 0);
  dealer->addWidget(Field(this, "TextDealer", info.DealerCode), 0, 1);
  dealer->addWidget(label("LabelStock", t.stock), 1, 0);
  dealer->addWidget(Field(this, "TextStock", info.StockDate), 1, 1);
  dealer->addWidget(label("LabelSell", t.sell), 2, 0);
  dealer->addWidget(Field(this, "TextSell", info.SellDate), 2, 1);
  dealer->addWidget(label("LabelSeller", t.seller), 3, 0);
  dealer->addWidget(Field(this, "TextSeller", info.Seller), 3, 1);
  dealer->setColumnStretch(1, 1);

  auto* close = new QPushButton(this);
  close->setObjectName("CommandClose");
  close->setDefault(true);
  auto* help = new QPushButton(this);
  help->setObjectName("CommandHelp");
  help->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  buttons->addWidget(help);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addWidget(frame);
  outer->addLayout(buttons);
  LocalizeCloseHelp(this, lang);
  ApplyLanguageToForm(this, lang);
  setMinimumWidth(460);
}

}  // namespace kvx
