#include "platform/SerialLink.h"

#include <grp.h>
#include <sys/stat.h>

#include <QEventLoop>
#include <cstdio>

#include "core/app/SetupFile.h"

namespace kvx {

class SerialLink::Driver : public LinkDriver {
 public:
  Driver(SerialLink& link, LinkMachine& machine, Prompts& prompts)
      : LinkDriver(machine, prompts), link_(link) {}

 private:
  bool OpenPort(std::string& reason) override { return link_.OpenPort(reason); }
  void ClosePort() override { link_.ClosePort(); }
  void Send(const Frame& bytes, size_t threshold) override { link_.Send(bytes, threshold); }
  void ArmTimer(int ms) override { link_.timer_.start(ms); }
  void StopTimer() override { link_.timer_.stop(); }
  void ShowProgress(const std::string& title) override {
    if (link_.options_.progressShown) link_.options_.progressShown(title);
    emit link_.progressShown(QString::fromStdString(title));
  }
  void Progress(int percent) override {
    if (link_.options_.progress) link_.options_.progress(percent);
    emit link_.progressChanged(percent);
  }
  void CloseProgress() override {
    if (link_.options_.progressClosed) link_.options_.progressClosed();
    emit link_.progressClosed();
  }
  void SavePassword(const std::string& password) override {
    if (link_.options_.persistPassword) WriteSetupValue(link_.ws_.app, "ProgramPassWord", password);
  }
  void FeaturesChanged() override {
    if (link_.options_.featuresChanged) link_.options_.featuresChanged();
    emit link_.featuresChanged();
  }
  void Finished(LinkResult result) override { emit link_.finished(result); }

  SerialLink& link_;
};

std::string PortDevicePath(const std::string& port) {
  if (port.empty() || port.front() == '/' || port.starts_with("./") || port.starts_with("../"))
    return port;
  return "/dev/" + port;
}

std::string PortOpenFailureText(const std::string& portPath, QSerialPort::SerialPortError error,
                                const QString& errorString) {
  std::string text = portPath + ": " + errorString.toStdString();
  if (error == QSerialPort::PermissionError) {
    std::string group = "dialout";
    struct stat st {};
    if (::stat(portPath.c_str(), &st) == 0) {
      if (const struct group* g = ::getgrgid(st.st_gid)) group = g->gr_name;
    }
    text += "\nYour user must be in the group \"" + group +
            "\" that owns the device (usually \"dialout\"): sudo usermod -aG " + group +
            " $USER, then log in again.";
  }
  return text;
}

SerialLink::SerialLink(Workspace& ws, Prompts& prompts, LinkOptions options, QObject* parent)
    : QObject(parent),
      ws_(ws),
      options_(std::move(options)),
      machine_(std::make_unique<LinkMachine>(ws)),
      driver_(std::make_unique<Driver>(*this, *machine_, prompts)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] { driver_->TimerExpired(); });
  connect(&port_, &QSerialPort::readyRead, this, &SerialLink::OnReadyRead);
  connect(&port_, &QSerialPort::errorOccurred, this, &SerialLink::OnPortError);
  clock_.start();
  if (!options_.serialLogPath.empty()) {
    log_.setFileName(QString::fromStdString(options_.serialLogPath));
    if (!log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
      std::fprintf(stderr, "cannot write the serial log %s\n", options_.serialLogPath.c_str());
  }
}

SerialLink::~SerialLink() {
  timer_.stop();
  if (port_.isOpen()) port_.close();
}

void SerialLink::start(CommMode mode) {
  driver_->Start(mode);
}

void SerialLink::cancel() {
  driver_->CancelLink();
}

bool SerialLink::OpenPort(std::string& reason) {
  if (port_.isOpen()) port_.close();
  rx_.clear();
  threshold_ = 0;
  const std::string name = ws_.app.ComPort;
  if (name.empty()) {
    reason = "No serial port is chosen.";
    return false;
  }
  const std::string path = PortDevicePath(name);
  port_.setPortName(QString::fromStdString(path));
  if (!port_.open(QIODevice::ReadWrite)) {
    reason = PortOpenFailureText(path, port_.error(), port_.errorString());
    return false;
  }
  const bool set = port_.setBaudRate(kLinkBaud) && port_.setDataBits(QSerialPort::Data8) &&
                   port_.setParity(QSerialPort::NoParity) &&
                   port_.setStopBits(QSerialPort::OneStop) &&
                   port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!set) {
    reason = path + ": " + port_.errorString().toStdString();
    port_.close();
    return false;
  }
  port_.clear(QSerialPort::AllDirections);
  if (log_.isOpen()) Log("OPEN", QByteArray::fromStdString(path));
  return true;
}

void SerialLink::ClosePort() {
  timer_.stop();
  if (port_.isOpen()) {
    port_.close();
    if (log_.isOpen()) Log("CLOSE", {});
  }
  rx_.clear();
  threshold_ = 0;
}

void SerialLink::Send(const Frame& bytes, size_t threshold) {
  if (!port_.isOpen()) return;  // lost (pulled adapter): the time-out takes it from here
  port_.clear(QSerialPort::AllDirections);
  rx_.clear();
  threshold_ = static_cast<qsizetype>(threshold);
  const QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<qsizetype>(bytes.size()));
  if (log_.isOpen()) Log("TX", data);
  port_.write(data);
}

void SerialLink::OnReadyRead() {
  const QByteArray chunk = port_.readAll();
  if (chunk.isEmpty()) return;
  if (log_.isOpen()) Log("RX", chunk);
  rx_.append(chunk);
  if (threshold_ <= 0 || rx_.size() < threshold_) return;
  // The whole buffer goes to the machine and the buffer is empty again, as a read of
  // everything buffered does.
  const QByteArray buffer = std::exchange(rx_, QByteArray());
  driver_->BufferReached(
      ConstBytes(reinterpret_cast<const uint8_t*>(buffer.constData()), buffer.size()));
}

void SerialLink::OnPortError(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError) return;
  if (log_.isOpen()) Log("ERROR", port_.errorString().toUtf8());
  // A vanished device (adapter pulled) would keep reporting: close it and let the reply
  // time-out lead to the recovery question.
  if (error == QSerialPort::ResourceError && port_.isOpen()) port_.close();
}

void SerialLink::Log(const char* direction, const QByteArray& bytes) {
  const qint64 us = clock_.nsecsElapsed() / 1000;
  QByteArray line = QByteArray::number(us / 1000000) + "." +
                    QByteArray::number(us % 1000000).rightJustified(6, '0') + " " + direction;
  if (direction[0] == 'T' || direction[0] == 'R') {
    line += " " + bytes.toHex(' ').toUpper();
  } else if (!bytes.isEmpty()) {
    line += " " + bytes;
  }
  line += "\n";
  log_.write(line);
  log_.flush();
}

LinkResult RunLink(Workspace& ws, Prompts& prompts, CommMode mode, LinkOptions options,
                   const std::function<void(SerialLink&)>& started) {
  SerialLink link(ws, prompts, std::move(options));
  QEventLoop loop;
  QObject::connect(&link, &SerialLink::finished, &loop, &QEventLoop::quit);
  link.start(mode);
  if (link.running()) {
    if (started) started(link);
    if (link.running()) loop.exec();
  }
  return link.result();
}

}  // namespace kvx
