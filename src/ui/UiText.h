#pragma once
// Conversions between the core's texts and Qt's. Language texts are UTF-8; record texts
// (channel names, radio information) are single bytes shown as Latin-1.
#include <QString>
#include <string>
#include <string_view>

namespace kvx {

// A UTF-8 text (language files, built-in texts, messages).
inline QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string U8(const QString& s) {
  return s.toUtf8().toStdString();
}

// A single-byte record text.
inline QString QL1(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string L1(const QString& s) {
  return s.toLatin1().toStdString();
}

// The product name: the main window's caption starts with it; message boxes without a title
// show it.
inline constexpr std::string_view kProductName = "KV_X50_WQN7";

}  // namespace kvx
