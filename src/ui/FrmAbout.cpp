#include "ui/FrmAbout.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <set>

#include "core/app/AppState.h"
#include "core/app/BandTable.h"
#include "core/lang/LanguageTable.h"
#include "platform/SystemPorts.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

std::string UserName(uid_t uid) {
  if (const passwd* pw = ::getpwuid(uid)) return pw->pw_name;
  return std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  if (const group* gr = ::getgrgid(gid)) return gr->gr_name;
  return std::to_string(gid);
}

// The groups this process runs with: the effective group and the supplementary ones.
std::set<gid_t> ProcessGroups() {
  std::set<gid_t> groups{::getegid()};
  const int n = ::getgroups(0, nullptr);
  if (n > 0) {
    std::vector<gid_t> list(static_cast<size_t>(n));
    const int got = ::getgroups(n, list.data());
    for (int i = 0; i < got; ++i) groups.insert(list[static_cast<size_t>(i)]);
  }
  return groups;
}

std::string ModeText(mode_t mode) {
  std::string s = S_ISCHR(mode) ? "c" : S_ISBLK(mode) ? "b" : S_ISLNK(mode) ? "l" : "-";
  const mode_t bits[9] = {S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP,
                          S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
  const char letters[] = "rwxrwxrwx";
  for (int i = 0; i < 9; ++i) s.push_back((mode & bits[i]) ? letters[i] : '-');
  return s;
}

// "ttyS10" after "ttyS9": the family, then the number.
bool DeviceOrder(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s) {
    size_t cut = s.size();
    while (cut > 0 && s[cut - 1] >= '0' && s[cut - 1] <= '9') --cut;
    const std::string digits = s.substr(cut);
    return std::make_pair(s.substr(0, cut), digits.empty() ? -1L : std::stol(digits));
  };
  return split(a) < split(b);
}

QString VersionText() {
  const QString v = ProgramVersion();
  return v.isEmpty() ? QStringLiteral("unknown") : v;
}

QString Row(const char* name, const QString& value) {
  return QStringLiteral("%1 %2\n").arg(QString::fromLatin1(name).leftJustified(18), value);
}

}  // namespace

QString ProgramVersion() {
#ifdef KVX50_VERSION
  return QStringLiteral(KVX50_VERSION);
#else
  // The window library is built without the version: take the one the program set, if any.
  const QString set = QCoreApplication::applicationVersion();
  return set;
#endif
}

std::vector<SerialDeviceInfo> ListSerialDevices(const std::string& devDir) {
  namespace fs = std::filesystem;
  std::vector<SerialDeviceInfo> found;
  const std::set<gid_t> groups = ProcessGroups();
  std::error_code ec;
  for (fs::directory_iterator it(devDir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with("ttyUSB") && !name.starts_with("ttyACM") && !name.starts_with("ttyS"))
      continue;
    struct stat st {};
    if (::stat(it->path().c_str(), &st) != 0) continue;
    SerialDeviceInfo d;
    d.path = it->path().string();
    d.mode = ModeText(st.st_mode);
    d.owner = UserName(st.st_uid);
    d.group = GroupName(st.st_gid);
    d.userInGroup = groups.count(st.st_gid) > 0;
    d.readWrite = ::access(d.path.c_str(), R_OK | W_OK) == 0;
    found.push_back(std::move(d));
  }
  std::sort(found.begin(), found.end(), [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) {
    return DeviceOrder(a.path, b.path);
  });
  return found;
}

QString SystemInformationText(const AppState& app, const std::string& devDir) {
  QString t;
  t += Row("Program:", QStringLiteral("kvx50 %1 (%2)").arg(VersionText(), Q(kProductName)));
  t += Row("Program folder:", QString::fromStdString(app.ProgramFolder));
  t += Row("Language:", app.LanguageIndex == kLanguageChinese ? QStringLiteral("2 (Chinese)")
                                                              : QStringLiteral("1 (English)"));
  t += Row("Factory mode:", app.FactoryMode ? QStringLiteral("on") : QStringLiteral("off"));
  t += Row("Radio:", QStringLiteral("%1, band %2")
                         .arg(Q(DisplayModelName(app.RadioType, app.BandCode)))
                         .arg(app.BandCode));
  t += Row("Port chosen:",
           app.ComPort.empty() ? QStringLiteral("(none)") : QString::fromStdString(app.ComPort));
  t += "\n";
  t += Row("System:", QSysInfo::prettyProductName());
  t += Row("Kernel:", QSysInfo::kernelType() + " " + QSysInfo::kernelVersion() + " (" +
                          QSysInfo::currentCpuArchitecture() + ")");
  t += Row("Qt:", QStringLiteral("built with %1, running %2, platform %3")
                      .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()),
                           QGuiApplication::platformName()));

  const uid_t uid = ::geteuid();
  QStringList groupNames;
  for (gid_t g : ProcessGroups()) groupNames << QString::fromStdString(GroupName(g));
  t += Row("User:", QString::fromStdString(UserName(uid)) + " (uid " + QString::number(uid) + ")");
  t += Row("Groups:", groupNames.join(", "));
  t += "\n";

  const std::vector<SerialDeviceInfo> devices = ListSerialDevices(devDir);
  t += QStringLiteral("Serial devices in %1 (ttyUSB*, ttyACM*, ttyS*):\n")
           .arg(QString::fromStdString(devDir));
  if (devices.empty()) t += "  (none)\n";
  std::set<std::string> missingGroups;
  for (const SerialDeviceInfo& d : devices) {
    t += QStringLiteral("  %1 %2 %3:%4  user in group %4: %5  read/write: %6\n")
             .arg(QString::fromStdString(d.path).leftJustified(14), QString::fromStdString(d.mode),
                  QString::fromStdString(d.owner), QString::fromStdString(d.group),
                  d.userInGroup ? "yes" : "no", d.readWrite ? "yes" : "no");
    if (!d.readWrite && !d.userInGroup) missingGroups.insert(d.group);
  }
  for (const std::string& g : missingGroups)
    t += QStringLiteral(
             "  Hint: to use the devices of group %1, add the user to it "
             "(sudo usermod -aG %1 %2) and log in again.\n")
             .arg(QString::fromStdString(g), QString::fromStdString(UserName(uid)));
  t += "\n";

  t += "Serial ports the program lists:\n";
  SystemPorts ports;
  const std::vector<PortInfo> listed = ports.List();
  if (listed.empty()) t += "  (none)\n";
  for (const PortInfo& p : listed)
    t += QStringLiteral("  %1  %2\n")
             .arg(QString::fromStdString(p.name).leftJustified(12),
                  QString::fromStdString(p.description));
  return t;
}

FrmAbout::FrmAbout(const AppState& app, const LanguageTable& lang, QWidget* parent)
    : QDialog(parent), app_(app), lang_(lang) {
  setObjectName("FrmAbout");
  const LanguageTable& L = lang_;
  setWindowTitle(Q(L.GetLangText(1036)));

  auto* icon = new QLabel(this);
  icon->setObjectName("ImageIcon");
  icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);

  auto* title = new QLabel(Q(kProductName), this);
  title->setObjectName("LabelTitle");
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  title->setFont(big);
  auto* subtitle = new QLabel(Q(L.GetLangText(2101)), this);
  subtitle->setObjectName("LabelDescription");

  auto* facts = new QGridLayout;
  facts->setHorizontalSpacing(10);
  int row = 0;
  auto fact = [&](const char* name, const QString& caption, const QString& value) {
    auto* key = new QLabel(caption + ":", this);
    auto* text = new QLabel(value, this);
    text->setObjectName(name);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    facts->addWidget(key, row, 0, Qt::AlignLeft | Qt::AlignTop);
    facts->addWidget(text, row, 1);
    ++row;
  };
  fact("LabelProduct", Q(L.GetLangText(2200)), QStringLiteral("kvx50"));
  fact("LabelVersion", Q(L.GetLangText(1037)), VersionText());
  fact("LabelQtVersion", Q(L.GetLangText(2102)),
       QStringLiteral(QT_VERSION_STR) +
           (QString::fromLatin1(qVersion()) != QStringLiteral(QT_VERSION_STR)
                ? QStringLiteral(" (%1)").arg(QString::fromLatin1(qVersion()))
                : QString()));
  fact("LabelFolder", Q(L.GetLangText(2103)), QString::fromStdString(app_.ProgramFolder));
  facts->setColumnStretch(1, 1);

  auto* legal = new QLabel(Q(L.GetLangText(2100)) + " " + Q(L.GetLangText(1038)), this);
  legal->setObjectName("LabelCopyright");
  legal->setWordWrap(true);

  auto* sysInfo = new QPushButton(Q(L.GetLangText(1039)), this);
  sysInfo->setObjectName("CommandSysInfo");
  sysInfo->setAutoDefault(false);
  auto* ok = new QPushButton(Q(L.GetLangText(1900)), this);
  ok->setObjectName("CommandOK");
  ok->setDefault(true);
  connect(sysInfo, &QPushButton::clicked, this, &FrmAbout::ShowSystemInfo);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* text = new QVBoxLayout;
  text->addWidget(title);
  text->addWidget(subtitle);
  text->addSpacing(8);
  text->addLayout(facts);
  text->addSpacing(8);
  text->addWidget(legal);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(8);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(sysInfo);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addSpacing(10);
  outer->addLayout(buttons);
  ApplyLanguageToForm(this, L);
  // The title keeps its size whatever the language's font size is.
  big.setFamilies(font().families());
  title->setFont(big);
}

void FrmAbout::ShowSystemInfo() {
  QDialog box(this);
  box.setObjectName("FrmSystemInfo");
  box.setWindowTitle(Q(lang_.GetLangText(2104)));
  auto* text = new QPlainTextEdit(&box);
  text->setObjectName("TextSystemInfo");
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text->setPlainText(SystemInformationText(app_));
  const QFontMetrics fm(text->font());
  text->setMinimumSize(fm.horizontalAdvance(QLatin1Char('0')) * 96, fm.lineSpacing() * 24);

  auto* copy = new QPushButton(Q(lang_.GetLangText(2105)), &box);
  copy->setObjectName("CommandCopy");
  copy->setAutoDefault(false);
  auto* close = new QPushButton(&box);
  close->setObjectName("CommandClose");
  close->setDefault(true);
  connect(copy, &QPushButton::clicked, text, [text] {
    QGuiApplication::clipboard()->setText(text->toPlainText());
    text->selectAll();
  });
  connect(close, &QPushButton::clicked, &box, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copy);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* outer = new QVBoxLayout(&box);
  outer->addWidget(text, 1);
  outer->addLayout(buttons);
  LocalizeCloseHelp(&box, lang_);
  ApplyLanguageToForm(&box, lang_);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  RunModal(runner, box);
}

}  // namespace kvx
