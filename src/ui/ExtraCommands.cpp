#include "ui/ExtraCommands.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QUrl>
#include <memory>

#include "core/files/Backups.h"
#include "core/files/ChannelCsv.h"
#include "core/files/DataDiff.h"
#include "core/files/DataFile.h"
#include "core/files/Workspace.h"
#include "platform/SerialLink.h"
#include "ui/DlgCompare.h"
#include "ui/DlgCsvImport.h"
#include "ui/ExtraTexts.h"
#include "ui/FrmProgress.h"
#include "ui/UiText.h"
#include "ui/frmMain.h"

namespace kvx {

namespace {

QString T(const char* text) {
  return QString::fromUtf8(text);
}

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DataFileFilter(const Workspace& ws) {
  return std::string(ws.lang.BuiltIn().DataFileTitle) + " (*.dat)|*.dat";
}

void ShowFileError(frmMain& main) {
  main.prompts().Message(main.ws().lang.BuiltIn().FileError, Icon::Critical, Buttons::Ok);
}

QAction* AddEntry(frmMain& main, QMenu* menu, const char* name, void (*command)(frmMain&)) {
  auto* a = new QAction(&main);
  a->setObjectName(name);
  QObject::connect(a, &QAction::triggered, &main, [&main, command] { command(main); });
  menu->addAction(a);
  return a;
}

// The entries take the current language's texts each time their menu opens.
void RetitleOnShow(frmMain& main, QMenu* menu,
                   std::vector<std::pair<QAction*, const char * ExtraTexts::*>> entries) {
  auto retitle = [&main, entries] {
    const ExtraTexts& t = ExtraTextsOf(main.ws().lang);
    for (const auto& [action, text] : entries) action->setText(T(t.*text));
  };
  retitle();
  QObject::connect(menu, &QMenu::aboutToShow, &main, retitle);
}

// The link's messages pass, except the completion of the read: the verification's own result
// follows at once.
class VerifyPrompts : public Prompts {
 public:
  VerifyPrompts(Prompts& inner, std::string readDone)
      : inner_(inner), readDone_(std::move(readDone)) {}
  Answer Message(std::string_view text, Icon icon, Buttons buttons,
                 std::string_view title = {}) override {
    if (icon == Icon::Information && buttons == Buttons::Ok && text == readDone_) return Answer::Ok;
    return inner_.Message(text, icon, buttons, title);
  }
  std::optional<std::string> OpenFileName(std::string_view a, std::string_view b,
                                          std::string_view c) override {
    return inner_.OpenFileName(a, b, c);
  }
  std::optional<std::string> SaveFileName(std::string_view a, std::string_view b,
                                          std::string_view c) override {
    return inner_.SaveFileName(a, b, c);
  }
  std::optional<std::string> FilePassword(std::string_view a, std::string_view b) override {
    return inner_.FilePassword(a, b);
  }
  std::optional<std::string> ProgramPassword(std::string_view current) override {
    return inner_.ProgramPassword(current);
  }

 private:
  Prompts& inner_;
  std::string readDone_;
};

}  // namespace

void AddExtraFileCommands(frmMain& main, QMenu* file) {
  QAction* exp = AddEntry(main, file, "mnuFileExportCsv", &ExportChannels);
  QAction* imp = AddEntry(main, file, "mnuFileImportCsv", &ImportChannels);
  QAction* cmp = AddEntry(main, file, "mnuFileCompare", &CompareWithFile);
  QAction* bak = AddEntry(main, file, "mnuFileBackups", &OpenBackupsFolder);
  RetitleOnShow(main, file,
                {{exp, &ExtraTexts::exportChannels},
                 {imp, &ExtraTexts::importChannels},
                 {cmp, &ExtraTexts::compareWithFile},
                 {bak, &ExtraTexts::openBackups}});
}

void AddVerifyCommand(frmMain& main, QMenu* pro) {
  QAction* verify = AddEntry(main, pro, "MnuProVerify", &VerifyRadioCommand);
  RetitleOnShow(main, pro, {{verify, &ExtraTexts::verifyRadio}});
}

void ExportChannels(frmMain& main) {
  Workspace& ws = main.ws();
  const ExtraTexts& t = ExtraTextsOf(ws.lang);
  std::string initial = ws.CurrentFileName;
  if (initial.size() > 4 && initial.ends_with(".dat"))
    initial.replace(initial.size() - 4, 4, ".csv");
  const auto path = main.prompts().SaveFileName(t.exportChannels, t.csvFilter, initial);
  if (!path) return;
  if (!WriteFileAtomically(*path, ExportChannelCsv(ws.channels, ws.app))) ShowFileError(main);
}

void ImportChannels(frmMain& main) {
  Workspace& ws = main.ws();
  const ExtraTexts& t = ExtraTextsOf(ws.lang);
  const auto path = main.prompts().OpenFileName(t.importChannels, t.csvFilter, {});
  if (!path) return;
  auto csv = ReadFileBytes(*path);
  if (!csv) return ShowFileError(main);
  DlgCsvImport dialog(ws.lang, ws.channels, ws.app, std::move(*csv), &main);
  if (!dialog.Result().ok) {
    main.prompts().Message(U8(T(t.importError).arg(Q(BaseName(*path)), Q(dialog.Result().error))),
                           Icon::Warning, Buttons::Ok);
    return;
  }
  if (main.RunDialog(dialog) == QDialog::Accepted) main.ShowListByData();
}

void CompareWithFile(frmMain& main) {
  Workspace& ws = main.ws();
  const ExtraTexts& t = ExtraTextsOf(ws.lang);
  const auto path = main.prompts().OpenFileName(t.compareWithFile, DataFileFilter(ws), {});
  if (!path) return;
  // The file is read into a copy: the working data and the file state stay as they are.
  auto other = std::make_unique<Workspace>(ws);
  if (!ReadDataFile(*other, main.prompts(), *path)) return;
  const auto differences = DiffData(WorkingDataOf(ws), WorkingDataOf(*other));
  if (differences.empty()) {
    main.prompts().Message(U8(T(t.sameAsFile).arg(Q(BaseName(*path)))), Icon::Information,
                           Buttons::Ok);
    return;
  }
  DlgCompare dialog(ws.lang, T(t.compareTitle), T(t.workingData), Q(BaseName(*path)), differences,
                    &main);
  main.RunDialog(dialog);
}

std::function<bool(const QString& folder)>& BackupsFolderOpener() {
  static std::function<bool(const QString&)> opener = [](const QString& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
  };
  return opener;
}

void OpenBackupsFolder(frmMain& main) {
  const QString folder = Q(BackupFolderPath(main.ws().app.ProgramFolder));
  QDir().mkpath(folder);
  if (!BackupsFolderOpener() || !BackupsFolderOpener()(folder))
    main.prompts().Message(U8(folder), Icon::Information, Buttons::Ok);
}

void VerifyRadioCommand(frmMain& main) {
  Workspace& ws = main.ws();
  const ExtraTexts& t = ExtraTextsOf(ws.lang);
  std::string readDone = ws.lang.GetLangText(2004);
  if (readDone.empty()) readDone = "Message 2004";
  VerifyPrompts prompts(main.prompts(), readDone);

  // The radio is read into a copy: the working data, the file state and the SavedCopy stay.
  auto radio = std::make_unique<Workspace>(ws);
  QPointer<FrmProgress> progress;
  auto closeProgress = [&progress] {
    if (!progress) return;
    FrmProgress* p = progress;
    progress = nullptr;
    p->CloseByLink();
    p->deleteLater();
  };
  SerialLink* running = nullptr;
  LinkOptions options;
  options.progressShown = [&](const std::string& title) {
    closeProgress();
    progress = new FrmProgress(ws.lang, title, &main);
    progress->setAttribute(Qt::WA_DeleteOnClose, false);
    if (running)
      QObject::connect(progress, &FrmProgress::cancelRequested, running, &SerialLink::cancel);
    progress->show();
  };
  options.progress = [&](int percent) {
    if (progress && !progress->SetProgressValue(percent))
      prompts.Message("SetProgressValueError", Icon::Critical, Buttons::Ok);
  };
  options.progressClosed = closeProgress;
  RadioImage raw;
  const LinkResult result =
      RunLink(*radio, prompts, CommMode::Read, std::move(options), [&](SerialLink& link) {
        running = &link;
        if (progress)
          QObject::connect(progress, &FrmProgress::cancelRequested, &link, &SerialLink::cancel);
        QObject::connect(&link, &SerialLink::finished, &link, [&raw, &link](LinkResult r) {
          if (r == LinkResult::Succeeded) raw = link.machine().ReadImage();
        });
        BackupAroundLink(*radio, CommMode::Read, link, &main);
      });
  closeProgress();

  // What the radio told about itself and the password entered belong to the program.
  ws.app.ProgramPassWord = radio->app.ProgramPassWord;
  if (!(ws.app.Features == radio->app.Features)) {
    ws.app.Features = radio->app.Features;
    main.UpdateFeatureMenus();
    main.LoadShowTree();
  }
  if (result != LinkResult::Succeeded) return;

  std::vector<FieldDifference> differences;
  if (!VerifyRadio(ws.settings, ws.channels, ws.app, raw, radio->app, differences, &main.prompts()))
    return;
  if (differences.empty()) {
    main.prompts().Message(t.sameAsRadio, Icon::Information, Buttons::Ok);
    return;
  }
  DlgCompare dialog(ws.lang, T(t.verifyTitle), T(t.workingData), T(t.radio), differences, &main);
  main.RunDialog(dialog);
}

void BackupAroundLink(Workspace& ws, CommMode mode, SerialLink& link, QMainWindow* window) {
  auto tell = [window, &ws](const BackupResult& r) {
    if (r.ok || !window || !window->statusBar()) return;
    window->statusBar()->showMessage(T(ExtraTextsOf(ws.lang).backupFailed).arg(Q(r.error)));
  };
  if (mode == CommMode::Write) {
    // The write has been confirmed and no data block has gone out yet.
    tell(BackupBeforeWrite(ws));
  } else if (mode == CommMode::Read) {
    QObject::connect(&link, &SerialLink::finished, &link, [&ws, &link, tell](LinkResult r) {
      if (r == LinkResult::Succeeded) tell(BackupAfterRead(ws, link.machine().ReadImage()));
    });
  }
}

}  // namespace kvx
