#include "core/util/Text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace kvx {

std::string CleanText(std::string_view s) {
  size_t end = s.size();
  while (end > 0 && s[end - 1] == ' ') --end;
  std::string_view t = s.substr(0, end);
  size_t nul = t.find('\0');
  if (nul != std::string_view::npos) t = t.substr(0, nul);
  return std::string(t);
}

std::string FormatFixed(double v, int decimals) {
  // std::to_chars never consults the C locale.
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

double LeadingNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  size_t start = i;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  bool point = false;
  while (i < s.size() && ((s[i] >= '0' && s[i] <= '9') || (s[i] == '.' && !point))) {
    if (s[i] == '.') point = true;
    ++i;
  }
  std::string_view num = s.substr(start, i - start);
  if (!num.empty() && num.front() == '+') num.remove_prefix(1);
  double v = 0;
  auto r = std::from_chars(num.data(), num.data() + num.size(), v);
  if (r.ec != std::errc()) return 0;
  return v;
}

std::optional<long> ParseInteger(std::string_view s) {
  std::string t = Trim(s);
  std::string_view v = t;
  if (!v.empty() && v.front() == '+') v.remove_prefix(1);
  if (v.empty()) return std::nullopt;
  long out = 0;
  auto r = std::from_chars(v.data(), v.data() + v.size(), out);
  if (r.ec != std::errc() || r.ptr != v.data() + v.size()) return std::nullopt;
  return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    uint32_t cp;
    size_t len;
    if (c < 0x80) {
      cp = c, len = 1;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F), len = 2;
    } else if ((c & 0xF0) == 0xE0) {
      cp = 0x100, len = 3;
    } else if ((c & 0xF8) == 0xF0) {
      cp = 0x100, len = 4;
    } else {
      cp = c, len = 1;  // a stray byte is taken as Latin-1 already
    }
    out.push_back(cp <= 0xFF ? static_cast<char>(cp) : '?');
    i += len;
  }
  return out;
}

std::string Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

std::string ToUpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

}  // namespace kvx
