#pragma once
// The about box: the program's name and version, the Qt it was built with and runs on, and
// the program folder in use; its System Info button shows what a support request needs (the
// system, Qt, and the serial devices with their permissions) in a text the user can copy.
#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "ui/FormHelpers.h"

namespace kvx {

struct AppState;
class LanguageTable;

// The program's version ("0.1.0"); empty when the build does not tell it.
QString ProgramVersion();

// One serial device node as the system information lists it.
struct SerialDeviceInfo {
  std::string path;   // "/dev/ttyUSB0"
  std::string mode;   // "crw-rw----"
  std::string owner;  // user name (or number)
  std::string group;  // group name (or number)
  bool userInGroup = false;
  bool readWrite = false;  // this process may open it for reading and writing
};

// The serial device nodes ttyUSB*, ttyACM* and ttyS* in `devDir`, sorted by name.
std::vector<SerialDeviceInfo> ListSerialDevices(const std::string& devDir = "/dev");

// The system information text: program, system, kernel, Qt, user and groups, the serial
// devices with their permissions and the serial ports Qt sees. English on purpose: it goes
// into support requests.
QString SystemInformationText(const AppState& app, const std::string& devDir = "/dev");

class FrmAbout : public QDialog {
  Q_OBJECT
 public:
  FrmAbout(const AppState& app, const LanguageTable& lang, QWidget* parent = nullptr);

  // Opens the system information window ("FrmSystemInfo") modally. `runner` lets a test drive
  // it (null: exec()).
  void ShowSystemInfo();
  DialogRunner runner;

 private:
  const AppState& app_;
  const LanguageTable& lang_;
};

}  // namespace kvx
