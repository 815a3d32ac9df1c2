#include "ui/LinkSession.h"

#include "core/files/Workspace.h"
#include "platform/SerialLink.h"
#include "ui/ExtraCommands.h"
#include "ui/FrmEMG.h"
#include "ui/FrmProgress.h"
#include "ui/frmMain.h"

namespace kvx {

LinkSession::LinkSession(frmMain& main) : main_(main) {}

LinkSession::~LinkSession() {
  CloseProgress();
}

FrmProgress* LinkSession::Progress() const {
  return progress_.data();
}

LinkResult LinkSession::Run(CommMode mode) {
  if (running_) return LinkResult::NotStarted;
  Workspace& ws = main_.ws();
  Prompts& prompts = main_.prompts();

  // Before a read, modified data are offered a save; No and Cancel both go on.
  if (mode == CommMode::Read && IsModified(ws)) {
    if (prompts.Message(ws.lang.GetLangKeyText("MSG", "9001"), Icon::Warning,
                        Buttons::YesNoCancel) == Answer::Yes)
      Save(ws, prompts);
  }

  LinkOptions options;
  options.progressShown = [this](const std::string& title) { ShowProgress(title); };
  options.progress = [this](int percent) { SetProgress(percent); };
  options.progressClosed = [this] { CloseProgress(); };
  options.featuresChanged = [this] {
    // A radio that reports a feature offers its window at once.
    main_.UpdateFeatureMenus();
    main_.LoadShowTree();
  };

  running_ = true;
  int radioBand = ws.app.BandCode;
  const LinkResult result = RunLink(ws, prompts, mode, std::move(options), [&](SerialLink& link) {
    link_ = &link;
    BackupAroundLink(ws, mode, link, &main_);
    if (progress_)
      QObject::connect(progress_, &FrmProgress::cancelRequested, &link, &SerialLink::cancel);
    QObject::connect(&link, &SerialLink::finished, &link, [&radioBand, &link] {
      if (link.machine().HaveIdentity()) radioBand = link.machine().Identity().bandCode;
    });
  });
  link_ = nullptr;
  running_ = false;
  CloseProgress();

  if (result == LinkResult::Succeeded) {
    if (mode == CommMode::Read) {
      main_.UpdateFeatureMenus();
      main_.LoadShowTree();
      main_.ShowListByData();
    } else if (mode == CommMode::InfoRead) {
      FrmEMG window(ws.lang, ws.radioInfo, radioBand, &main_);
      main_.RunDialog(window);
    }
  }
  return result;
}

void LinkSession::ShowProgress(const std::string& title) {
  CloseProgress();
  progress_ = new FrmProgress(main_.ws().lang, title, &main_);
  progress_->setAttribute(Qt::WA_DeleteOnClose, false);
  if (link_) QObject::connect(progress_, &FrmProgress::cancelRequested, link_, &SerialLink::cancel);
  progress_->show();
  if (onProgressShown) onProgressShown(*progress_);
}

void LinkSession::SetProgress(int percent) {
  if (!progress_) return;
  if (!progress_->SetProgressValue(percent))
    main_.prompts().Message("SetProgressValueError", Icon::Critical, Buttons::Ok);
}

void LinkSession::CloseProgress() {
  if (!progress_) return;
  FrmProgress* p = progress_;
  progress_ = nullptr;
  p->CloseByLink();
  p->deleteLater();
}

}  // namespace kvx
