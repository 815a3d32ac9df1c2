#pragma once
// The read, write and radio-information commands of the main window on the serial link: the
// question before a read when the data are modified, the modal progress window, the end of a
// link in the window (lists redrawn, menus and tree following the feature flags the radio
// reported, the radio information window).
#include <QPointer>
#include <functional>

#include "core/link/Identity.h"
#include "core/link/LinkMachine.h"

namespace kvx {

class frmMain;
class FrmProgress;
class SerialLink;

class LinkSession {
 public:
  explicit LinkSession(frmMain& main);
  ~LinkSession();

  // Runs one whole link and returns when it has ended.
  LinkResult Run(CommMode mode);
  bool Running() const { return running_; }

  // The progress window while it is shown (tests look at it).
  FrmProgress* Progress() const;
  // Called with the progress window as soon as it is shown (tests).
  std::function<void(FrmProgress&)> onProgressShown;

 private:
  void ShowProgress(const std::string& title);
  void SetProgress(int percent);
  void CloseProgress();

  frmMain& main_;
  QPointer<FrmProgress> progress_;
  SerialLink* link_ = nullptr;
  bool running_ = false;
};

}  // namespace kvx
