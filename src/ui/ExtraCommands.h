#pragma once
// The commands around the data that the main window offers beyond its own menus: channels
// exported to and imported from CSV, a comparison with a data file, the backups folder, and a
// verification of the radio against the working data. Also the backups a link keeps.
//
// The main window adds the entries with one call per menu; each command asks and tells
// through the window's Prompts and opens its dialogs through frmMain::RunDialog.
#include <QString>
#include <functional>

#include "core/link/LinkMachine.h"

class QMainWindow;
class QMenu;

namespace kvx {

class frmMain;
class SerialLink;
struct Workspace;

// "Export channels…", "Import channels…", "Compare with file…" and "Open backups folder"
// (objectNames mnuFileExportCsv, mnuFileImportCsv, mnuFileCompare, mnuFileBackups), appended
// to `file`. Their texts follow the language each time the menu opens.
void AddExtraFileCommands(frmMain& main, QMenu* file);
// "Verify radio…" (MnuProVerify), appended to the programming menu.
void AddVerifyCommand(frmMain& main, QMenu* pro);

void ExportChannels(frmMain& main);
// Cancel anywhere (file dialog, the import dialog) changes nothing.
void ImportChannels(frmMain& main);
void CompareWithFile(frmMain& main);
void OpenBackupsFolder(frmMain& main);
// Reads the radio into a scratch copy (the working data stay as they are) and lists where the
// radio differs from the working data, field by field.
void VerifyRadioCommand(frmMain& main);

// How the backups folder is shown; tests put their own in place (default: the desktop's file
// manager).
std::function<bool(const QString& folder)>& BackupsFolderOpener();

// Called by a link right after it started: before a write the data about to be written are
// kept, after a successful read what was read. A failure is told in `window`'s status bar.
void BackupAroundLink(Workspace& ws, CommMode mode, SerialLink& link,
                      QMainWindow* window = nullptr);

}  // namespace kvx
