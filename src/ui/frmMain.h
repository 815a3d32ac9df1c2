#pragma once
// The main window: the settings tree on the left, the channel list on the right with a
// splitter between them, the menus, the toolbar and the status bar. Closing it ends the
// program.
//
// Every menu entry, toolbar key and tree node runs one public handler. The handlers that open
// the settings windows of later steps are each defined in a file of their own,
// frmMain_<handler>.cpp, which the window's engineer fills in (see the comment there).
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "core/edit/ChannelRows.h"
#include "core/edit/UndoHistory.h"
#include "core/image/Channels.h"
#include "ui/FormHelpers.h"

class QAction;
class QMenu;
class QSplitter;
class QTableView;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace kvx {

struct Workspace;
class Prompts;
class PortEnumerator;
class ChannelGridModel;
class FindBar;
class LinkSession;

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  frmMain(Workspace& ws, Prompts& prompts, PortEnumerator& ports, QWidget* parent = nullptr);
  ~frmMain() override;

  Workspace& ws() { return ws_; }
  Prompts& prompts() { return prompts_; }
  PortEnumerator& ports() { return ports_; }

  // Every modal dialog the main window and its handlers open goes through RunDialog, so that
  // a test can drive it: set `dialogRunner` (null: QDialog::exec()). A change the dialog made
  // to the working data becomes one undo step.
  DialogRunner dialogRunner;
  int RunDialog(QDialog& dialog);

  // --- Window operations other windows call.
  // Rebuild the tree (feature flags) and the file-dialog filter.
  void LoadShowTree();
  // After a language change: localise again, rebuild the tree, redraw the list.
  void Form_ReLoad();
  // Full redraw of the channel list, with the caption and the tree's root text.
  void ShowListByData();
  // One-row redraw of channel `row` (grid index 0 only).
  void ReShowGrid(int gridIndex, int row, int column = 0);
  // Clipboard command "C", "X", "V" or "D" on the current row (grid index 0 only). With
  // several rows selected, copy, cut and delete take all of them; paste writes rows copied
  // together from the current row on.
  void SetCHEdit(std::string_view command, int gridIndex = 0);
  // Opens the channel edit dialog on the current cell (grid index 0 only).
  void MSFlexGrid1_DblClick(int gridIndex = 0);
  // The menus' visibility from the feature flags and factory mode.
  void UpdateFeatureMenus();
  // A tree node's click, by its key ("N1" ... "N16").
  void tvTreeView_NodeClick(const QString& key);
  // The caption as it is rebuilt with every full redraw.
  QString Caption() const;

  // --- Menu handlers (the toolbar and the tree run the same ones).
  void mnuFileNew_Click();
  void mnuFileOpen_Click();
  // Open without the file dialog (a file named on the command line).
  void OpenDataFile(const std::string& path);
  void mnuFileSave_Click();
  void mnuFileSaveAs_Click();
  void mnuFilePrint_Click();
  void mnuFileExit_Click();
  void MnuModelInfo_Click();
  void MnuCHCut_Click() { SetCHEdit("X"); }
  void MnuCHCopy_Click() { SetCHEdit("C"); }
  void MnuCHPaste_Click() { SetCHEdit("V"); }
  void MnuCHDelete_Click() { SetCHEdit("D"); }
  void mnuEditCH_Click() { MSFlexGrid1_DblClick(0); }
  void MnuViewRadio_Click() {}
  void MnuSetCom_Click();
  void MnuSetLanguage_Click();
  void MnuSetInit_Click();
  void mnuProRead_Click();
  void MnuProWrite_Click();
  void MnuProPassWord_Click();
  void MnuEMg_Click();
  void MnuHelpAbout_Click();
  // Edit menu: undo and redo of the working data.
  void mnuEditUndo_Click();
  void mnuEditRedo_Click();
  // Channel menu: bulk edit of the selected channels, go to a channel by its label, find.
  void MnuCHBulkEdit_Click();
  void MnuCHGoTo_Click();
  void MnuCHFind_Click();      // puts the focus into the find box
  void MnuCHFindNext_Click();  // the next channel matching the find box

  // Settings windows of later steps, one file each (frmMain_<handler>.cpp).
  void MnuViewSetMode_Click();   // optional features (tree N4)
  void MnuViewDTMF_Click();      // DTMF (N5)
  void MnuView2Tone_Click();     // two-tone (N6)
  void MnuView5Tone_Click();     // five-tone (N7)
  void MnuViewScan_Click();      // scan (N10)
  void MnuViewAlert_Click();     // alert (N11)
  void MnuCommBook_Click();      // communication book (N8)
  void OpenFmList();             // FM broadcast list (N15)
  void OpenAmList();             // AM broadcast list (N16)
  void mnuTestData_Click();      // test data (factory mode)
  void MnuHelpAutoTest_Click();  // automatic test (factory mode)

  // The print selection dialog lives in the print library, which builds on this one. When
  // src/print has sources, kvx50 is built with KVX50_HAVE_PRINT and main.cpp calls
  // `void kvx::InstallPrintCommand(frmMain&)`, which the print library defines to set this
  // (null: the entry does nothing).
  std::function<void()> printCommand;

  // --- For tests and the other windows.
  QTableView* grid() const { return MSFlexGrid1_; }
  ChannelGridModel* gridModel() const { return model_; }
  QTreeWidget* tree() const { return tvTreeView_; }
  ChannelClipboard& clipboard() { return clipboard_; }
  // Makes channel `row` (1-204) and grid column `column` (1-10) the current cell.
  void SetCurrentCell(int row, int column = 1);
  // The file-dialog filter LoadShowTree sets ("Data File (*.dat)|*.dat").
  const std::string& FileFilter() const { return fileFilter_; }
  // The link session of the read, write and radio-information commands (created on first use).
  LinkSession& Link();

  // --- Undo history and row selection.
  // Records the working data as an undo step when they changed since the last step. Every
  // command of the window does it; code that changes the data outside them calls it.
  void RecordUndoStep();
  // Starts a new history at the current data (New, Open, a read, a band change).
  void ClearUndoHistory();
  const UndoHistory& undoHistory() const { return undo_; }
  // The channel numbers of the selected rows in order (the current row when nothing is
  // selected); hidden rows are left out.
  std::vector<int> SelectedRows() const;
  // Selects the rows `first` to `last` (1-204), the current cell on `first`.
  void SelectRows(int first, int last);
  // The rows copied or cut together.
  const RowsClipboard& rowsClipboard() const { return rowsClipboard_; }
  FindBar* findBar() const { return findBar_; }
  // Moves to the next row (after the current one, or from it with `includeCurrent`) whose name
  // or frequency contains `text`, wrapping round. False, and a note in the status bar, when no
  // row matches.
  bool FindChannel(const QString& text, bool includeCurrent);

 signals:
  // A link ended (tests wait for it).
  void linkFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildCentre();
  void Localize();
  void LoadPosition();
  void SavePosition();
  void SizeGridColumns();
  void UpdateCaption();
  void AfterDataChanged();
  void RunLink(int mode);
  void UpdateUndoActions();
  // Full redraw keeping the current cell and the selection.
  void RedrawKeepingPlace();
  void RedrawRows(const std::vector<int>& rows);
  bool MultiRowCommand(std::string_view command);
  void ShowStatus(const QString& text);
  template <class Command>
  bool Replacing(Command&& command);
  QAction* Entry(QMenu* menu, const char* name, void (frmMain::*handler)(),
                 const QKeySequence& shortcut = {});

  Workspace& ws_;
  Prompts& prompts_;
  PortEnumerator& ports_;
  ChannelClipboard clipboard_;
  RowsClipboard rowsClipboard_;
  UndoHistory undo_;
  // While above 0 (New, Open, a read) no step is recorded: the command ends with a new history.
  int undoPaused_ = 0;
  std::string fileFilter_;
  std::unique_ptr<LinkSession> link_;

  QTreeWidget* tvTreeView_ = nullptr;
  QTableView* MSFlexGrid1_ = nullptr;
  ChannelGridModel* model_ = nullptr;
  QSplitter* imgSplitter_ = nullptr;
  QToolBar* tbToolBar_ = nullptr;
  FindBar* findBar_ = nullptr;
  QTreeWidgetItem* root_ = nullptr;
};

}  // namespace kvx
