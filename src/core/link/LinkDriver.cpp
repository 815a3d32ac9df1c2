#include "core/link/LinkDriver.h"

namespace kvx {

void LinkDriver::Start(CommMode mode) {
  Run(machine_.Start(mode));
}

void LinkDriver::BufferReached(ConstBytes buffer) {
  Run(machine_.Received(buffer));
}

void LinkDriver::TimerExpired() {
  Run(machine_.ReplyTimeout());
}

void LinkDriver::CancelLink() {
  Run(machine_.Cancel());
}

void LinkDriver::Run(LinkActions actions) {
  for (auto& a : actions) queue_.push_back(std::move(a));
  if (busy_) return;
  busy_ = true;
  while (!queue_.empty()) {
    LinkAction action = std::move(queue_.front());
    queue_.pop_front();
    Perform(action);
  }
  busy_ = false;
  Idle();
}

void LinkDriver::Perform(LinkAction& a) {
  using K = LinkAction::Kind;
  switch (a.kind) {
    case K::OpenPort: {
      std::string reason;
      const bool ok = OpenPort(reason);
      Run(machine_.PortOpened(ok, reason));
      break;
    }
    case K::ClosePort:
      ClosePort();
      break;
    case K::Send:
      Send(a.bytes, a.threshold);
      break;
    case K::ArmTimer:
      ArmTimer(a.value);
      break;
    case K::StopTimer:
      StopTimer();
      break;
    case K::ShowProgress:
      ShowProgress(a.text);
      break;
    case K::Progress:
      Progress(a.value);
      break;
    case K::CloseProgress:
      CloseProgress();
      break;
    case K::Message:
      prompts_.Message(a.text, a.icon, a.buttons);
      break;
    case K::Ask:
      Run(machine_.Answered(prompts_.Message(a.text, a.icon, a.buttons)));
      break;
    case K::AskPassword:
      Run(machine_.PasswordEntered(prompts_.ProgramPassword(a.text)));
      break;
    case K::SavePassword:
      SavePassword(a.text);
      break;
    case K::FeaturesChanged:
      FeaturesChanged();
      break;
    case K::Finish:
      Finished(a.result);
      break;
  }
}

}  // namespace kvx
