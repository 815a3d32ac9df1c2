#pragma once
// Carries out a LinkMachine's actions in order. Questions go to `Prompts` and their answers
// straight back into the machine; the device actions (port, send, timer) and the progress
// window are left to a subclass: the QSerialPort/QTimer adapter in platform/, a scripted radio
// with a fake clock in the tests.
//
// Events may arrive while a question is open (a modal dialog runs a nested event loop). They go
// to the machine at once, which ignores what it does not wait for (so a reply arriving during a
// dialog cannot move the link on); any actions they give are queued behind the ones in
// progress, never run inside them.
#include <deque>
#include <string>

#include "core/link/LinkMachine.h"

namespace kvx {

class LinkDriver {
 public:
  LinkDriver(LinkMachine& machine, Prompts& prompts) : machine_(machine), prompts_(prompts) {}
  virtual ~LinkDriver() = default;
  LinkDriver(const LinkDriver&) = delete;
  LinkDriver& operator=(const LinkDriver&) = delete;

  // The events, forwarded to the machine and its actions run.
  void Start(CommMode mode);
  void BufferReached(ConstBytes buffer);
  void TimerExpired();
  void CancelLink();

  LinkMachine& Machine() { return machine_; }
  const LinkMachine& Machine() const { return machine_; }
  // True while actions run (a question may be open).
  bool Busy() const { return busy_; }

 protected:
  // Open app.ComPort with the link's serial settings; `reason` says why not.
  virtual bool OpenPort(std::string& reason) = 0;
  virtual void ClosePort() = 0;
  // Empty both buffers, set the receive threshold, write the frame in one write.
  virtual void Send(const Frame& bytes, size_t threshold) = 0;
  virtual void ArmTimer(int ms) = 0;
  virtual void StopTimer() = 0;
  virtual void ShowProgress(const std::string& /*title*/) {}
  virtual void Progress(int /*percent*/) {}
  virtual void CloseProgress() {}
  // The password dialog's OK: store the setup key (not for a password given for one run).
  virtual void SavePassword(const std::string& /*password*/) {}
  virtual void FeaturesChanged() {}
  virtual void Finished(LinkResult /*result*/) {}
  // Every queued action has run: the adapter may look at bytes that arrived meanwhile.
  virtual void Idle() {}

  Prompts& prompts() { return prompts_; }

 private:
  void Run(LinkActions actions);
  void Perform(LinkAction& action);

  LinkMachine& machine_;
  Prompts& prompts_;
  std::deque<LinkAction> queue_;
  bool busy_ = false;
};

}  // namespace kvx
