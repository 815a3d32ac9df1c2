#include "ui/frmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

#include "core/app/BandTable.h"
#include "core/app/SetupFile.h"
#include "core/files/Workspace.h"
#include "core/util/Text.h"
#include "ui/ChannelGridModel.h"
#include "ui/DlgBulkEdit.h"
#include "ui/DlgGoTo.h"
#include "ui/ExtraCommands.h"
#include "ui/FindBar.h"
#include "ui/FrmAbout.h"
#include "ui/FrmCHEdit.h"
#include "ui/FrmComSet.h"
#include "ui/FrmLanguage.h"
#include "ui/FrmModel.h"
#include "ui/FrmPassWord.h"
#include "ui/LinkSession.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

// Where the window position is kept: the per-user settings store, under the program's title.
std::unique_ptr<QSettings> PositionStore() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "kvx50",
                                     QString::fromUtf8(kProductName.data(), kProductName.size()));
}

std::optional<int> StoredInt(QSettings& s, const char* key) {
  const QVariant v = s.value(QString("Settings/") + key);
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  const int n = v.toString().trimmed().toInt(&ok);
  if (!ok) return std::nullopt;
  return n;
}

// A small toolbar picture: a framed short text, for the commands the style has no icon for.
QIcon GlyphIcon(const QString& text, const QColor& colour) {
  QPixmap pm(24, 24);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour, 1.5));
  p.setBrush(QColor(255, 255, 255, 220));
  p.drawRoundedRect(QRectF(1.5, 3.5, 21, 17), 3, 3);
  QFont f = p.font();
  f.setPixelSize(text.size() > 1 ? 9 : 12);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRectF(1.5, 3.5, 21, 17), Qt::AlignCenter, text);
  return QIcon(pm);
}

// The undo (a hook bending back to the left) and redo (to the right) pictures.
QIcon TurnArrowIcon(bool redo, const QColor& colour) {
  QPixmap pm(24, 24);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (redo) {
    p.translate(24, 0);
    p.scale(-1, 1);
  }
  QPainterPath hook;
  hook.moveTo(19, 19);
  hook.cubicTo(21, 11, 15, 7, 7, 9);
  p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(hook);
  QPainterPath head;
  head.moveTo(3, 9.5);
  head.lineTo(10, 4);
  head.lineTo(10.5, 14);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(head);
  return QIcon(pm);
}

// No undo step is recorded while a command that starts a new history runs.
class UndoPause {
 public:
  explicit UndoPause(int& count) : count_(count) { ++count_; }
  ~UndoPause() { --count_; }
  UndoPause(const UndoPause&) = delete;
  UndoPause& operator=(const UndoPause&) = delete;

 private:
  int& count_;
};

}  // namespace

frmMain::frmMain(Workspace& ws, Prompts& prompts, PortEnumerator& ports, QWidget* parent)
    : QMainWindow(parent), ws_(ws), prompts_(prompts), ports_(ports) {
  setObjectName("frmMain");
  undo_.Clear(ws_);
  setAttribute(Qt::WA_DeleteOnClose, false);
  BuildMenus();
  BuildToolBar();
  BuildCentre();
  auto* status = new QStatusBar(this);
  status->setObjectName("sbStatusBar");
  setStatusBar(status);

  // Load, in order: menu visibility, localisation and check marks, position, the grid's
  // columns, then the tree and the channel list.
  UpdateFeatureMenus();
  Localize();
  findChild<QAction*>("MnuViewToolBar")->setChecked(true);
  findChild<QAction*>("MnuViewStatusBar")->setChecked(true);
  LoadPosition();
  SizeGridColumns();
  LoadShowTree();
  ShowListByData();
  UpdateUndoActions();
  // The keys go to the channel list, not to the find box that comes first in the window.
  MSFlexGrid1_->setFocus();
}

frmMain::~frmMain() = default;

int frmMain::RunDialog(QDialog& dialog) {
  // A change made before the dialog is a step of its own.
  RecordUndoStep();
  const int result = RunModal(dialogRunner, dialog);
  RecordUndoStep();
  return result;
}

QAction* frmMain::Entry(QMenu* menu, const char* name, void (frmMain::*handler)(),
                        const QKeySequence& shortcut) {
  auto* a = new QAction(this);
  a->setObjectName(name);
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  connect(a, &QAction::triggered, this, handler);
  menu->addAction(a);
  return a;
}

void frmMain::BuildMenus() {
  auto menu = [this](const char* name) {
    auto* m = menuBar()->addMenu(QString());
    m->setObjectName(name);
    return m;
  };
  QMenu* file = menu("mnuFile");
  Entry(file, "mnuFileNew", &frmMain::mnuFileNew_Click, QKeySequence(Qt::CTRL | Qt::Key_N));
  Entry(file, "mnuFileOpen", &frmMain::mnuFileOpen_Click, QKeySequence(Qt::CTRL | Qt::Key_O));
  Entry(file, "mnuFileSave", &frmMain::mnuFileSave_Click, QKeySequence(Qt::CTRL | Qt::Key_S));
  Entry(file, "mnuFileSaveAs", &frmMain::mnuFileSaveAs_Click);
  Entry(file, "mnuFilePrint", &frmMain::mnuFilePrint_Click);
  AddExtraFileCommands(*this, file);
  file->addSeparator();
  Entry(file, "mnuFileExit", &frmMain::mnuFileExit_Click);

  QMenu* model = menu("MnuModel");
  Entry(model, "MnuModelInfo", &frmMain::MnuModelInfo_Click);

  QMenu* ch = menu("MnuCHEdit");
  Entry(ch, "MnuCHCut", &frmMain::MnuCHCut_Click, QKeySequence(Qt::CTRL | Qt::Key_X));
  Entry(ch, "MnuCHCopy", &frmMain::MnuCHCopy_Click, QKeySequence(Qt::CTRL | Qt::Key_C));
  Entry(ch, "MnuCHPaste", &frmMain::MnuCHPaste_Click, QKeySequence(Qt::CTRL | Qt::Key_V));
  Entry(ch, "MnuCHDelete", &frmMain::MnuCHDelete_Click, QKeySequence(Qt::Key_Delete));
  ch->addSeparator();
  Entry(ch, "MnuCHBulkEdit", &frmMain::MnuCHBulkEdit_Click);
  Entry(ch, "MnuCHGoTo", &frmMain::MnuCHGoTo_Click, QKeySequence(Qt::CTRL | Qt::Key_G));
  Entry(ch, "MnuCHFind", &frmMain::MnuCHFind_Click, QKeySequence(Qt::CTRL | Qt::Key_F));
  Entry(ch, "MnuCHFindNext", &frmMain::MnuCHFindNext_Click, QKeySequence(Qt::Key_F3));

  QMenu* edit = menu("mnuEdit");
  Entry(edit, "mnuEditUndo", &frmMain::mnuEditUndo_Click, QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = Entry(edit, "mnuEditRedo", &frmMain::mnuEditRedo_Click);
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  edit->addSeparator();
  // A change made outside the window's commands shows in the entries' state at once.
  connect(edit, &QMenu::aboutToShow, this, &frmMain::RecordUndoStep);
  Entry(edit, "mnuEditCH", &frmMain::mnuEditCH_Click);
  Entry(edit, "MnuViewSetMode", &frmMain::MnuViewSetMode_Click);
  Entry(edit, "MnuViewRadio", &frmMain::MnuViewRadio_Click);
  Entry(edit, "MnuViewDTMF", &frmMain::MnuViewDTMF_Click);
  Entry(edit, "MnuView2Tone", &frmMain::MnuView2Tone_Click);
  Entry(edit, "MnuView5Tone", &frmMain::MnuView5Tone_Click);
  Entry(edit, "MnuViewScan", &frmMain::MnuViewScan_Click);
  Entry(edit, "MnuViewAlert", &frmMain::MnuViewAlert_Click);
  Entry(edit, "MnuCommBook", &frmMain::MnuCommBook_Click);
  Entry(edit, "MnuEMg", &frmMain::MnuEMg_Click);
  Entry(edit, "mnuTestData", &frmMain::mnuTestData_Click);

  QMenu* set = menu("MnuSet");
  Entry(set, "MnuSetCom", &frmMain::MnuSetCom_Click);
  Entry(set, "MnuSetLanguage", &frmMain::MnuSetLanguage_Click);
  Entry(set, "MnuSetInit", &frmMain::MnuSetInit_Click);

  QMenu* pro = menu("mnuPro");
  Entry(pro, "mnuProRead", &frmMain::mnuProRead_Click);
  Entry(pro, "MnuProWrite", &frmMain::MnuProWrite_Click);
  Entry(pro, "MnuProPassWord", &frmMain::MnuProPassWord_Click);
  AddVerifyCommand(*this, pro);

  QMenu* view = menu("MnuView");
  auto* toolBar = new QAction(this);
  toolBar->setObjectName("MnuViewToolBar");
  toolBar->setCheckable(true);
  connect(toolBar, &QAction::toggled, this, [this](bool on) {
    if (tbToolBar_) tbToolBar_->setVisible(on);
  });
  view->addAction(toolBar);
  auto* statusBar = new QAction(this);
  statusBar->setObjectName("MnuViewStatusBar");
  statusBar->setCheckable(true);
  connect(statusBar, &QAction::toggled, this, [this](bool on) {
    if (auto* s = findChild<QStatusBar*>("sbStatusBar")) s->setVisible(on);
  });
  view->addAction(statusBar);

  QMenu* help = menu("MnuHelp");
  Entry(help, "MnuHelpContent", &frmMain::MnuViewRadio_Click);
  Entry(help, "MnuHelpAbout", &frmMain::MnuHelpAbout_Click);
  Entry(help, "MnuHelpAutoTest", &frmMain::MnuHelpAutoTest_Click);
}

void frmMain::BuildToolBar() {
  tbToolBar_ = addToolBar(QString());
  tbToolBar_->setObjectName("tbToolBar");
  tbToolBar_->setMovable(false);
  tbToolBar_->setIconSize(QSize(24, 24));
  QStyle* st = style();
  auto key = [this](const char* name, const QIcon& icon, void (frmMain::*handler)()) {
    auto* a = new QAction(icon, QString(), this);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
    tbToolBar_->addAction(a);
    return a;
  };
  key("TNewFile", st->standardIcon(QStyle::SP_FileIcon), &frmMain::mnuFileNew_Click);
  key("TOpenFile", st->standardIcon(QStyle::SP_DialogOpenButton), &frmMain::mnuFileOpen_Click);
  key("TSaveFile", st->standardIcon(QStyle::SP_DialogSaveButton), &frmMain::mnuFileSave_Click);
  tbToolBar_->addSeparator();
  key("TCommRead", st->standardIcon(QStyle::SP_ArrowDown), &frmMain::mnuProRead_Click);
  key("TCommPort", st->standardIcon(QStyle::SP_ComputerIcon), &frmMain::MnuSetCom_Click);
  key("TCommWrite", st->standardIcon(QStyle::SP_ArrowUp), &frmMain::MnuProWrite_Click);
  tbToolBar_->addSeparator();
  key("TAbout", st->standardIcon(QStyle::SP_MessageBoxInformation), &frmMain::MnuHelpAbout_Click);
  tbToolBar_->addSeparator();
  const QColor ink(0, 0, 155);
  key("CHCut", GlyphIcon("X", ink), &frmMain::MnuCHCut_Click);
  key("CHCopy", GlyphIcon("C", ink), &frmMain::MnuCHCopy_Click);
  key("CHPaste", GlyphIcon("V", ink), &frmMain::MnuCHPaste_Click);
  key("CHDelete", GlyphIcon("Del", QColor(155, 0, 0)), &frmMain::MnuCHDelete_Click);
  tbToolBar_->addSeparator();
  key("TUndo", TurnArrowIcon(false, ink), &frmMain::mnuEditUndo_Click);
  key("TRedo", TurnArrowIcon(true, ink), &frmMain::mnuEditRedo_Click);
  tbToolBar_->addSeparator();
  findBar_ = new FindBar(tbToolBar_);
  tbToolBar_->addWidget(findBar_);
  connect(findBar_, &FindBar::textEdited, this,
          [this](const QString& text) { FindChannel(text, true); });
  connect(findBar_, &FindBar::nextRequested, this, &frmMain::MnuCHFindNext_Click);
}

void frmMain::BuildCentre() {
  imgSplitter_ = new QSplitter(Qt::Horizontal, this);
  imgSplitter_->setObjectName("imgSplitter");
  imgSplitter_->setChildrenCollapsible(false);

  tvTreeView_ = new QTreeWidget(imgSplitter_);
  tvTreeView_->setObjectName("tvTreeView");
  tvTreeView_->setHeaderHidden(true);
  tvTreeView_->setColumnCount(1);
  tvTreeView_->setMinimumWidth(120);
  connect(tvTreeView_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
    if (item) tvTreeView_NodeClick(item->data(0, Qt::UserRole).toString());
  });

  model_ = new ChannelGridModel(ws_, &prompts_, this);
  MSFlexGrid1_ = new QTableView(imgSplitter_);
  MSFlexGrid1_->setObjectName("MSFlexGrid1");
  MSFlexGrid1_->setModel(model_);
  MSFlexGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Several rows can be selected for the clipboard commands and the bulk edit.
  MSFlexGrid1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  MSFlexGrid1_->setSelectionBehavior(QAbstractItemView::SelectItems);
  MSFlexGrid1_->setCornerButtonEnabled(false);
  MSFlexGrid1_->setWordWrap(false);
  MSFlexGrid1_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  MSFlexGrid1_->horizontalHeader()->setHighlightSections(false);
  MSFlexGrid1_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  MSFlexGrid1_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  MSFlexGrid1_->verticalHeader()->setHighlightSections(false);
  MSFlexGrid1_->installEventFilter(this);
  if (auto* corner = MSFlexGrid1_->findChild<QAbstractButton*>()) {
    corner->setObjectName("MSFlexGrid1Corner");
    corner->installEventFilter(this);
  }
  connect(MSFlexGrid1_, &QTableView::doubleClicked, this, [this] { MSFlexGrid1_DblClick(0); });

  imgSplitter_->addWidget(tvTreeView_);
  imgSplitter_->addWidget(MSFlexGrid1_);
  imgSplitter_->setStretchFactor(0, 0);
  imgSplitter_->setStretchFactor(1, 1);
  imgSplitter_->setSizes({180, 820});
  setCentralWidget(imgSplitter_);
}

void frmMain::Localize() {
  ApplyLanguageToForm(this, ws_.lang);
  const LanguageTable& L = ws_.lang;
  auto set = [this](const char* name, const std::string& text) {
    if (auto* m = findChild<QMenu*>(name))
      m->setTitle(Q(text));
    else if (auto* a = findChild<QAction*>(name))
      a->setText(Q(text));
  };
  set("mnuFile", L.GetLangText(1000));
  set("mnuFileNew", L.GetLangText(1001));
  set("mnuFileOpen", L.GetLangText(1002));
  set("mnuFileSave", L.GetLangText(1003));
  set("mnuFileSaveAs", L.GetLangText(1004));
  set("mnuFilePrint", L.GetLangText(1005));
  set("mnuFileExit", L.GetLangText(1006));
  set("MnuModel", L.GetLangText(1060));
  set("MnuModelInfo", L.GetLangText(1061));
  set("MnuCHEdit", L.GetLangText(1070));
  set("MnuCHCut", L.GetLangText(1071));
  set("MnuCHCopy", L.GetLangText(1072));
  set("MnuCHPaste", L.GetLangText(1073));
  set("MnuCHDelete", L.GetLangText(1074));
  set("MnuCHBulkEdit", L.GetLangText(1082));
  set("MnuCHGoTo", L.GetLangText(1083));
  set("MnuCHFind", L.GetLangText(1084));
  set("MnuCHFindNext", L.GetLangText(1085));
  set("mnuEditUndo", L.GetLangText(1080));
  set("mnuEditRedo", L.GetLangText(1081));
  set("mnuEdit", L.GetLangText(1010));
  set("mnuEditCH", L.GetLangText(1011));
  set("MnuViewSetMode", L.GetLangText(1021));
  set("MnuViewRadio", L.GetLangText(1022));
  set("MnuViewDTMF", L.GetLangText(1023));
  set("MnuView2Tone", L.GetLangText(1024));
  set("MnuView5Tone", L.GetLangText(1025));
  set("MnuViewScan", L.GetLangText(2401));
  set("MnuViewAlert", L.GetLangText(2601));
  set("MnuCommBook", L.GetLangText(1804));
  set("MnuEMg", L.GetLangText(1028));
  set("mnuTestData", L.GetLangText(8001));
  set("MnuSet", L.GetLangText(1030));
  set("MnuSetCom", L.GetLangText(1031));
  set("MnuSetLanguage", L.GetLangText(1032));
  set("MnuSetInit", L.GetLangText(1033));
  set("mnuPro", L.GetLangText(1040));
  set("mnuProRead", L.GetLangText(1041));
  set("MnuProWrite", L.GetLangText(1042));
  set("MnuProPassWord", L.GetLangText(1043));
  set("MnuView", L.GetLangText(1020));
  set("MnuViewToolBar", L.GetLangText(1026));
  set("MnuViewStatusBar", L.GetLangText(1027));
  set("MnuHelp", L.GetLangText(1050));
  set("MnuHelpContent", L.GetLangText(1051));
  set("MnuHelpAbout", L.GetLangText(1052));
  set("MnuHelpAutoTest", L.GetLangText(1053));

  // Menu texts carry mnemonics ("&New", "新建(&N)", "Save &As..."); a tool tip shows them plain.
  auto plain = [](QString t) {
    static const QRegularExpression accel(QStringLiteral("\\(&[^)]\\)"));
    t.remove(accel);
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QLatin1Char('&'));
    t.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    if (t.endsWith(QStringLiteral("..."))) t.chop(3);
    return t.trimmed();
  };
  auto tip = [this, &plain](const char* name, const std::string& text) {
    for (QAction* a : tbToolBar_->actions())
      if (a->objectName() == name) {
        a->setToolTip(plain(Q(text)));
        a->setText(Q(text));
      }
  };
  tip("TNewFile", L.GetLangText(1001));
  tip("TOpenFile", L.GetLangText(1002));
  tip("TSaveFile", L.GetLangText(1003));
  tip("TCommRead", L.GetLangText(1041));
  tip("TCommPort", L.GetLangText(1031));
  tip("TCommWrite", L.GetLangText(1042));
  tip("TAbout", L.GetLangText(1052));
  tip("CHCut", L.GetLangText(1071));
  tip("CHCopy", L.GetLangText(1072));
  tip("CHPaste", L.GetLangText(1073));
  tip("CHDelete", L.GetLangText(1074));
  tip("TUndo", L.GetLangText(1080));
  tip("TRedo", L.GetLangText(1081));
  findBar_->Localize(L);
}

void frmMain::UpdateFeatureMenus() {
  const FeatureFlags& f = ws_.app.Features;
  auto show = [this](const char* name, bool on) {
    if (auto* a = findChild<QAction*>(name)) a->setVisible(on);
  };
  show("MnuHelpContent", false);
  show("mnuTestData", ws_.app.FactoryMode);
  show("MnuHelpAutoTest", ws_.app.FactoryMode);
  show("MnuView5Tone", f.FiveToneFeature != 0);
  show("MnuView2Tone", f.TwoToneFeature != 0);
  show("MnuViewDTMF", f.DtmfFeature != 0);
}

void frmMain::LoadShowTree() {
  const LanguageTable& L = ws_.lang;
  const FeatureFlags& f = ws_.app.Features;
  tvTreeView_->clear();
  root_ = new QTreeWidgetItem(tvTreeView_);
  root_->setText(0, Q(DisplayModelName(ws_.app.RadioType, ws_.app.BandCode)));
  root_->setData(0, Qt::UserRole, "N0");
  auto node = [this](const char* key, const QString& text) {
    auto* item = new QTreeWidgetItem(root_);
    item->setText(0, text);
    item->setData(0, Qt::UserRole, QString(key));
  };
  node("N1", "CH");
  node("N4", Q(L.GetLangText(5021)));
  if (f.DtmfFeature != 0) node("N5", Q(L.GetLangText(5023)));
  if (f.TwoToneFeature != 0) node("N6", Q(L.GetLangText(5024)));
  if (f.FiveToneFeature != 0) node("N7", Q(L.GetLangText(5025)));
  node("N10", Q(L.GetLangText(2400)));
  node("N11", Q(L.GetLangText(2600)));
  node("N8", Q(L.GetLangText(5804)));
  node("N9", Q(L.GetLangText(5028)));
  node("N15", Q(L.GetLangText(6000)));
  node("N16", Q(L.GetLangText(7000)));
  root_->setExpanded(true);
  fileFilter_ = std::string(L.BuiltIn().DataFileTitle) + " (*.dat)|*.dat";
}

void frmMain::tvTreeView_NodeClick(const QString& key) {
  if (key == "N1") {
    MSFlexGrid1_->setVisible(true);
    MSFlexGrid1_->setFocus();
  } else if (key == "N4") {
    MnuViewSetMode_Click();
  } else if (key == "N5") {
    MnuViewDTMF_Click();
  } else if (key == "N6") {
    MnuView2Tone_Click();
  } else if (key == "N7") {
    MnuView5Tone_Click();
  } else if (key == "N10") {
    MnuViewScan_Click();
  } else if (key == "N11") {
    MnuViewAlert_Click();
  } else if (key == "N8") {
    MnuCommBook_Click();
  } else if (key == "N9") {
    MnuEMg_Click();
  } else if (key == "N15") {
    OpenFmList();
  } else if (key == "N16") {
    OpenAmList();
  }
}

void frmMain::Form_ReLoad() {
  Localize();
  LoadShowTree();
  ShowListByData();
}

QString frmMain::Caption() const {
  return Q(kProductName) + "[" + Q(DisplayModelName(ws_.app.RadioType, ws_.app.BandCode)) + ":" +
         Q(ws_.app.BandText) + "][" + Q(ws_.lang.GetLangText(2012)) + ":" + Q(ws_.CurrentFileName) +
         "]";
}

void frmMain::UpdateCaption() {
  setWindowTitle(Caption());
}

void frmMain::ShowListByData() {
  if (root_) root_->setText(0, Q(DisplayModelName(ws_.app.RadioType, ws_.app.BandCode)));
  UpdateCaption();
  // The model announces only the cells that changed; the view repaints those when control
  // returns to the event loop, so nothing has to be held back here.
  model_->ShowListByData();
  // Only channel 200 is ever hidden (on the "KV-520").
  if (MSFlexGrid1_->isRowHidden(199) != model_->RowHidden(200))
    MSFlexGrid1_->setRowHidden(199, model_->RowHidden(200));
  if (!MSFlexGrid1_->isColumnHidden(5)) MSFlexGrid1_->setColumnHidden(5, true);  // list flag
  // Every change of the whole data ends in a full redraw.
  RecordUndoStep();
}

void frmMain::ReShowGrid(int gridIndex, int row, int) {
  if (gridIndex != 0) return;
  model_->ReShowGrid(row);
}

void frmMain::SetCurrentCell(int row, int column) {
  if (row < 1 || row > ChannelGridModel::kRows) return;
  const int col = std::clamp(column, 1, ChannelGridModel::kColumns) - 1;
  MSFlexGrid1_->setCurrentIndex(model_->index(row - 1, col));
}

void frmMain::SetCHEdit(std::string_view command, int gridIndex) {
  if (gridIndex != 0) return;
  const QModelIndex current = MSFlexGrid1_->currentIndex();
  if (!current.isValid()) return;
  RecordUndoStep();
  if (!MultiRowCommand(command)) {
    const int row = current.row() + 1;
    // A copy or cut of one row replaces the rows copied together.
    if (command == "C" || command == "X") rowsClipboard_.rows.clear();
    if (ChannelCommand(ws_.channels, clipboard_, command, row)) ReShowGrid(0, row);
  }
  RecordUndoStep();
}

bool frmMain::MultiRowCommand(std::string_view command) {
  const LanguageTable& L = ws_.lang;
  if (command == "V") {
    // Rows copied together are pasted from the current row on, onto the rows shown.
    if (rowsClipboard_.Empty()) return false;
    const int first = MSFlexGrid1_->currentIndex().row() + 1;
    std::vector<int> targets;
    for (int r = first; r <= ChannelGridModel::kRows && targets.size() < rowsClipboard_.rows.size();
         ++r)
      if (!model_->RowHidden(r)) targets.push_back(r);
    switch (PasteRows(ws_.channels, rowsClipboard_, targets)) {
      case PasteRowsResult::Pasted:
        RedrawRows(targets);
        SelectRows(targets.front(), targets.back());
        break;
      case PasteRowsResult::PastLastRow:
        prompts_.Message(U8(Q(L.GetLangText(1093)).arg(rowsClipboard_.rows.size())), Icon::Warning,
                         Buttons::Ok);
        break;
      case PasteRowsResult::EmptiesCallOrVfo:
        prompts_.Message(L.GetLangText(1094), Icon::Warning, Buttons::Ok);
        break;
      case PasteRowsResult::NothingToPaste:
        break;
    }
    return true;
  }
  const std::vector<int> rows = SelectedRows();
  if (rows.size() < 2) return false;
  if (command == "C") {
    CopyRows(ws_.channels, rows, rowsClipboard_);
  } else if (command == "X") {
    CutRows(ws_.channels, rows, rowsClipboard_);
    RedrawRows(rows);
  } else if (command == "D") {
    DeleteRows(ws_.channels, rows);
    RedrawRows(rows);
  }
  return true;
}

void frmMain::RedrawRows(const std::vector<int>& rows) {
  for (int r : rows) ReShowGrid(0, r);
}

std::vector<int> frmMain::SelectedRows() const {
  std::vector<int> rows;
  if (const QItemSelectionModel* sel = MSFlexGrid1_->selectionModel())
    for (const QItemSelectionRange& range : sel->selection())
      for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r + 1);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  std::erase_if(rows, [this](int r) { return model_->RowHidden(r); });
  const QModelIndex current = MSFlexGrid1_->currentIndex();
  if (rows.empty() && current.isValid()) rows.push_back(current.row() + 1);
  return rows;
}

void frmMain::SelectRows(int first, int last) {
  if (first < 1 || last < first || last > ChannelGridModel::kRows) return;
  const QModelIndex current = MSFlexGrid1_->currentIndex();
  const int column = current.isValid() ? current.column() : 0;
  QItemSelectionModel* sel = MSFlexGrid1_->selectionModel();
  sel->setCurrentIndex(model_->index(first - 1, column), QItemSelectionModel::NoUpdate);
  sel->select(QItemSelection(model_->index(first - 1, 0),
                             model_->index(last - 1, ChannelGridModel::kColumns - 1)),
              QItemSelectionModel::ClearAndSelect);
}

// --- Undo history.

void frmMain::RecordUndoStep() {
  if (undoPaused_ == 0) undo_.Record(ws_);
  UpdateUndoActions();
}

void frmMain::ClearUndoHistory() {
  undo_.Clear(ws_);
  UpdateUndoActions();
}

void frmMain::UpdateUndoActions() {
  const bool canUndo = undo_.CanUndo(), canRedo = undo_.CanRedo();
  for (QAction* a : findChildren<QAction*>()) {
    const QString name = a->objectName();
    if (name == "mnuEditUndo" || name == "TUndo") a->setEnabled(canUndo);
    if (name == "mnuEditRedo" || name == "TRedo") a->setEnabled(canRedo);
  }
}

void frmMain::mnuEditUndo_Click() {
  if (undoPaused_ == 0 && undo_.Undo(ws_)) RedrawKeepingPlace();
  UpdateUndoActions();
}

void frmMain::mnuEditRedo_Click() {
  if (undoPaused_ == 0 && undo_.Redo(ws_)) RedrawKeepingPlace();
  UpdateUndoActions();
}

void frmMain::RedrawKeepingPlace() {
  const QModelIndex current = MSFlexGrid1_->currentIndex();
  const int currentRow = current.row(), currentColumn = current.column();
  std::vector<QRect> ranges;
  for (const QItemSelectionRange& r : MSFlexGrid1_->selectionModel()->selection())
    ranges.emplace_back(QPoint(r.left(), r.top()), QPoint(r.right(), r.bottom()));
  ShowListByData();
  QItemSelectionModel* sel = MSFlexGrid1_->selectionModel();
  if (current.isValid())
    sel->setCurrentIndex(model_->index(currentRow, currentColumn), QItemSelectionModel::NoUpdate);
  QItemSelection again;
  for (const QRect& r : ranges)
    again.select(model_->index(r.top(), r.left()), model_->index(r.bottom(), r.right()));
  sel->select(again, QItemSelectionModel::ClearAndSelect);
}

// --- Bulk edit, go to, find.

void frmMain::MnuCHBulkEdit_Click() {
  const std::vector<int> rows = SelectedRows();
  int channels = 0;
  for (int r : rows) {
    const ChannelRecord* c = ws_.channels.Find(r);
    if (c && !c->RxFreq.Clean().empty() && c->RxFreq.Clean() != "FFFFFFFFF") ++channels;
  }
  if (channels == 0) return;
  DlgBulkEdit dialog(ws_, channels, this);
  if (RunDialog(dialog) != QDialog::Accepted) return;
  RedrawRows(ApplyBulkEdit(ws_.channels, rows, dialog.Edit(), ws_.app.Features));
  RecordUndoStep();
}

void frmMain::MnuCHGoTo_Click() {
  DlgGoTo dialog(ws_.lang, *model_, prompts_, this);
  if (RunDialog(dialog) != QDialog::Accepted || dialog.Row() == 0) return;
  const QModelIndex current = MSFlexGrid1_->currentIndex();
  SetCurrentCell(dialog.Row(), current.isValid() ? current.column() + 1 : 1);
  MSFlexGrid1_->scrollTo(MSFlexGrid1_->currentIndex());
  MSFlexGrid1_->setFocus();
}

void frmMain::MnuCHFind_Click() {
  if (tbToolBar_->isHidden()) findChild<QAction*>("MnuViewToolBar")->setChecked(true);
  findBar_->box()->setFocus();
  findBar_->box()->selectAll();
}

void frmMain::MnuCHFindNext_Click() {
  FindChannel(findBar_->text(), false);
}

bool frmMain::FindChannel(const QString& text, bool includeCurrent) {
  if (text.trimmed().isEmpty()) {
    findBar_->SetFound(true);
    return false;
  }
  const QModelIndex current = MSFlexGrid1_->currentIndex();
  const int from = current.isValid() ? current.row() + 1 : 1;
  const int row = model_->FindRow(text, from, includeCurrent || !current.isValid());
  findBar_->SetFound(row != 0);
  if (row == 0) {
    ShowStatus(Q(ws_.lang.GetLangText(1087)).arg(text.trimmed()));
    return false;
  }
  statusBar()->clearMessage();
  SetCurrentCell(row, current.isValid() ? current.column() + 1 : 1);
  MSFlexGrid1_->scrollTo(MSFlexGrid1_->currentIndex());
  return true;
}

void frmMain::ShowStatus(const QString& text) {
  statusBar()->showMessage(text, 8000);
}

void frmMain::MSFlexGrid1_DblClick(int gridIndex) {
  if (gridIndex != 0) return;
  const QModelIndex current = MSFlexGrid1_->currentIndex();
  if (!current.isValid()) return;
  const int row = current.row() + 1;
  const int column = current.column() + 1;
  ws_.app.CurrentGridRow = static_cast<int16_t>(row);
  ws_.app.CurrentGridCol = static_cast<int16_t>(column);
  ws_.app.CurrentEditChannel = static_cast<int16_t>(row);
  FrmCHEdit dialog(
      ws_, prompts_, [this](int n) { ReShowGrid(0, n); }, this);
  // Each channel stored (OK, Previous, Next) is an undo step.
  dialog.SetAfterStore([this](int) { RecordUndoStep(); });
  RunDialog(dialog);
}

void frmMain::SizeGridColumns() {
  const QFontMetrics fm(MSFlexGrid1_->font());
  const int pad = 16;
  const int freq = fm.horizontalAdvance("0000.00000") + pad;
  auto* h = MSFlexGrid1_->horizontalHeader();
  h->setMinimumSectionSize(8);
  h->setDefaultSectionSize(freq);
  MSFlexGrid1_->setColumnWidth(0, freq);
  MSFlexGrid1_->setColumnWidth(1, freq);
  MSFlexGrid1_->setColumnWidth(2, fm.horizontalAdvance("WWWWWWW") + pad);
  MSFlexGrid1_->setColumnWidth(3, fm.horizontalAdvance("12.5K") + 2 * pad);
  MSFlexGrid1_->setColumnWidth(4, fm.horizontalAdvance("12.5K") + 3 * pad);
  MSFlexGrid1_->setColumnWidth(6, fm.horizontalAdvance("Middle") + 2 * pad);
  MSFlexGrid1_->setColumnWidth(7, fm.horizontalAdvance("D023N0000") + pad);
  MSFlexGrid1_->setColumnWidth(8, fm.horizontalAdvance("D023N0000") + pad);
  MSFlexGrid1_->setColumnWidth(9, fm.horizontalAdvance("DTMF M16") + 2 * pad);
  h->setStretchLastSection(true);
  // The head row holds two lines (the tone heads).
  h->setMinimumHeight(2 * fm.height() + 10);
  auto* v = MSFlexGrid1_->verticalHeader();
  v->setDefaultSectionSize(fm.height() + 6);
  v->setFixedWidth(fm.horizontalAdvance("CALL") + 2 * pad);
}

void frmMain::LoadPosition() {
  auto store = PositionStore();
  const QRect screen = QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1024, 768);
  const int left = StoredInt(*store, "MainLeft").value_or(0);
  const int top = StoredInt(*store, "MainTop").value_or(0);
  int width = StoredInt(*store, "MainWidth").value_or(screen.width());
  int height = StoredInt(*store, "MainHeight").value_or(screen.height());
  // At least 3000 twips wide, and never larger than the screen.
  width = std::clamp(width, 200, std::max(200, screen.width()));
  height = std::clamp(height, 150, std::max(150, screen.height()));
  resize(width, height);
  move(left, top);
}

void frmMain::SavePosition() {
  if (isMinimized()) return;
  auto store = PositionStore();
  const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
  store->setValue("Settings/MainLeft", QString::number(g.x()));
  store->setValue("Settings/MainTop", QString::number(g.y()));
  store->setValue("Settings/MainWidth", QString::number(g.width()));
  store->setValue("Settings/MainHeight", QString::number(g.height()));
  store->sync();
}

void frmMain::AfterDataChanged() {
  LoadShowTree();
  ShowListByData();
}

// --- File menu.

// New, Open, a read and a band change start a new undo history once they have replaced the
// data; cancelled, they keep it.
template <class Command>
bool frmMain::Replacing(Command&& command) {
  RecordUndoStep();
  bool replaced = false;
  {
    UndoPause pause(undoPaused_);
    replaced = command();
  }
  if (replaced)
    ClearUndoHistory();
  else
    RecordUndoStep();
  return replaced;
}

void frmMain::mnuFileNew_Click() {
  Replacing([this] {
    const bool done = New(ws_, prompts_);
    if (done) AfterDataChanged();
    return done;
  });
  UpdateCaption();
}

void frmMain::mnuFileOpen_Click() {
  Replacing([this] {
    const bool done = Open(ws_, prompts_);
    if (done) AfterDataChanged();
    return done;
  });
  UpdateCaption();
}

void frmMain::OpenDataFile(const std::string& path) {
  Replacing([&] {
    const bool done = ReadDataFile(ws_, prompts_, path);
    if (done) AfterDataChanged();
    return done;
  });
  UpdateCaption();
}

void frmMain::mnuFileSave_Click() {
  Save(ws_, prompts_);
  UpdateCaption();
}

void frmMain::mnuFileSaveAs_Click() {
  SaveAs(ws_, prompts_);
  UpdateCaption();
}

void frmMain::mnuFilePrint_Click() {
  if (printCommand) printCommand();
}

void frmMain::mnuFileExit_Click() {
  close();
}

void frmMain::MnuModelInfo_Click() {
  Replacing([this] {
    FrmModel dialog(ws_, prompts_, this);
    RunDialog(dialog);
    if (dialog.BandChanged()) AfterDataChanged();
    return dialog.BandChanged();
  });
}

// --- Settings menu.

void frmMain::MnuSetCom_Click() {
  FrmComSet dialog(ws_, ports_, this);
  RunDialog(dialog);
}

void frmMain::MnuSetLanguage_Click() {
  FrmLanguage dialog(ws_, this);
  if (RunDialog(dialog) == QDialog::Accepted) Form_ReLoad();
}

void frmMain::MnuSetInit_Click() {
  Replacing([this] {
    ws_.app.InitInProgress = true;
    const bool done = New(ws_, prompts_);
    ws_.app.InitInProgress = false;
    if (done) AfterDataChanged();
    return done;
  });
  UpdateCaption();
}

// --- Programming menu.

void frmMain::MnuProPassWord_Click() {
  FrmPassWord dialog(ws_.lang, ws_.app.ProgramPassWord, this);
  if (RunDialog(dialog) != QDialog::Accepted) return;
  ws_.app.ProgramPassWord = dialog.Password();
  WriteSetupValue(ws_.app, "ProgramPassWord", ws_.app.ProgramPassWord);
}

void frmMain::mnuProRead_Click() {
  RunLink(static_cast<int>(CommMode::Read));
}

void frmMain::MnuProWrite_Click() {
  RunLink(static_cast<int>(CommMode::Write));
}

void frmMain::MnuEMg_Click() {
  RunLink(static_cast<int>(CommMode::InfoRead));
}

LinkSession& frmMain::Link() {
  if (!link_) {
    link_ = std::make_unique<LinkSession>(*this);
  }
  return *link_;
}

void frmMain::RunLink(int mode) {
  // A read replaces the data; a write or the radio information leaves them.
  Replacing([&] {
    const LinkResult result = Link().Run(static_cast<CommMode>(mode));
    return mode == static_cast<int>(CommMode::Read) && result == LinkResult::Succeeded;
  });
  emit linkFinished();
}

void frmMain::MnuHelpAbout_Click() {
  FrmAbout dialog(ws_.app, ws_.lang, this);
  RunDialog(dialog);
}

// --- Events.

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == MSFlexGrid1_ && event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      MSFlexGrid1_DblClick(0);
      return true;
    }
  }
  if (watched->objectName() == "MSFlexGrid1Corner" && event->type() == QEvent::Paint) {
    // The corner cell shows the head of the label column, as a head cell does.
    auto* corner = static_cast<QWidget*>(watched);
    QPainter p(corner);
    QStyleOptionHeader opt;
    opt.initFrom(corner);
    opt.rect = corner->rect();
    opt.text = model_->CellText(0, 0);
    opt.textAlignment = Qt::AlignCenter;
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.palette.setColor(QPalette::ButtonText, QColor(0, 0, 155));
    corner->style()->drawControl(QStyle::CE_Header, &opt, &p, corner);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (link_ && link_->Running()) {
    event->ignore();
    return;
  }
  // Closing with modified data asks first: Yes saves, Cancel keeps the window open.
  if (IsModified(ws_)) {
    const Answer a = prompts_.Message(ws_.lang.BuiltIn().SaveModifiedConfirm, Icon::Warning,
                                      Buttons::YesNoCancel);
    if (a == Answer::Cancel) {
      event->ignore();
      return;
    }
    if (a == Answer::Yes && !Save(ws_, prompts_)) {
      // The save did not happen (its dialog was cancelled or it failed): keep the data.
      UpdateCaption();
      event->ignore();
      return;
    }
  }
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible()) w->close();
  SavePosition();
  SaveFeatureFlags(ws_.app);
  RestoreDecimalSeparator(ws_.app);
  event->accept();
}

}  // namespace kvx
