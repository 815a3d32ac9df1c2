#pragma once
// The radio link on a real serial port: drives the pure LinkMachine with a QSerialPort (9600
// baud, 8N1, no flow control, raw), a receive threshold over readyRead that hands the whole
// buffer to the machine the moment enough bytes are there, and the 300 ms reply timer on a
// QTimer. Used by the GUI (progress dialog on the signals, cancel() from its button) and by
// the CLI (RunLink with callbacks).
//
// The port is ws.app.ComPort: a device name ("ttyUSB0") or a full path ("/dev/pts/3").
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "core/files/Workspace.h"
#include "core/link/LinkDriver.h"
#include "core/link/LinkMachine.h"

namespace kvx {

struct LinkOptions {
  // Store the password dialog's entry in the setup file (false: for this run only).
  bool persistPassword = true;
  // When not empty: every byte sent and received, with time stamps, for support.
  std::string serialLogPath;
  // Optional observers (the signals of SerialLink say the same).
  std::function<void(const std::string& title)> progressShown;
  std::function<void(int percent)> progress;
  std::function<void()> progressClosed;
  std::function<void()> featuresChanged;
};

class SerialLink : public QObject {
  Q_OBJECT
 public:
  SerialLink(Workspace& ws, Prompts& prompts, LinkOptions options = {}, QObject* parent = nullptr);
  ~SerialLink() override;

  // Starts a read, write or radio-information read and returns at once; finished() tells the
  // end. Nothing happens while a link runs.
  void start(CommMode mode);
  bool running() const { return machine_->Running(); }
  LinkResult result() const { return machine_->Result(); }
  const LinkMachine& machine() const { return *machine_; }

 public slots:
  // Gives up the link in progress: it ends as failed, with its message.
  void cancel();

 signals:
  void progressShown(const QString& title);
  void progressChanged(int percent);
  void progressClosed();
  void featuresChanged();
  void finished(kvx::LinkResult result);

 private:
  class Driver;
  friend class Driver;

  bool OpenPort(std::string& reason);
  void ClosePort();
  void Send(const Frame& bytes, size_t threshold);

  void OnReadyRead();
  void OnPortError(QSerialPort::SerialPortError error);
  void Log(const char* direction, const QByteArray& bytes);

  Workspace& ws_;
  LinkOptions options_;
  std::unique_ptr<LinkMachine> machine_;
  std::unique_ptr<Driver> driver_;
  QSerialPort port_;
  QTimer timer_;
  QByteArray rx_;
  qsizetype threshold_ = 0;
  QFile log_;
  QElapsedTimer clock_;
};

// Runs one whole link on a local event loop and returns when it has ended. `started` (may be
// empty) gets the link right after it started, e.g. to connect a cancel source.
LinkResult RunLink(Workspace& ws, Prompts& prompts, CommMode mode, LinkOptions options = {},
                   const std::function<void(SerialLink&)>& started = {});

// Why a port cannot be opened, for the line after message 2002; a permission error names the
// group that owns the device (usually "dialout").
std::string PortOpenFailureText(const std::string& portPath, QSerialPort::SerialPortError error,
                                const QString& errorString);

// The full device path of a port name ("ttyUSB0" -> "/dev/ttyUSB0"); a path stays as it is.
std::string PortDevicePath(const std::string& port);

}  // namespace kvx
