#include "core/image/FiveToneForms.h"

#include "core/util/Text.h"

namespace kvx {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}
bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

std::string EncodeRepeats(std::string_view text, std::optional<char> before) {
  if (text.empty()) return {};
  std::string s = CleanText(text);
  if (before) s.insert(s.begin(), *before);
  if (s.empty()) return {};
  // Positions 9 on of a message code carry the message and are never touched.
  const bool message = StartsWith(s, "E1");
  std::string out(1, s[0]);
  for (size_t i = 1; i < s.size(); ++i) {
    if (message && i >= 8)
      out += s[i];
    else if (s[i] == out[i - 1])
      out += 'E';  // compared with what was written, so a run alternates: 1111 -> 1E1E
    else
      out += s[i];
  }
  if (before) out.erase(0, 1);
  return out;
}

std::string EncodeAniRepeats(std::string_view text) {
  if (text.empty()) return {};
  std::string out(1, text[0]);
  const bool keepSeparator = text.size() == 11;
  for (size_t i = 1; i < text.size(); ++i) {
    if (keepSeparator && (i == 5 || i == 6))
      out += text[i];  // the separator letter and the first own-ID digit
    else if (text[i] == out[i - 1])
      out += 'E';
    else
      out += text[i];
  }
  return out;
}

bool IsAniCode(std::string_view code, std::string_view ownId) {
  if (code.size() <= 9) return false;
  bool checkSeparator = false;
  if (EndsWith(code, kSelfIdPlaceholder)) {
    if (code.size() == 11) return true;
    if (code.size() != 12) return false;
    checkSeparator = true;
  } else {
    if (ownId.size() != 5) return false;
    std::string_view last5 = code.substr(code.size() - 5);
    char c = code[code.size() - 6];
    if (last5 != ownId && last5 != EncodeRepeats(ownId) && last5 != EncodeRepeats(ownId, c))
      return false;
    if (code.size() == 10) return true;
    if (code.size() != 11) return false;
    checkSeparator = true;
  }
  return checkSeparator && HexValue(code[5]) >= 10;
}

std::string EncodeCodeDigits(std::string_view text, std::string_view ownId) {
  return IsAniCode(text, ownId) ? EncodeAniRepeats(text) : EncodeRepeats(text);
}

std::string Mid5ToneNoE(std::string_view text, int start, int count) {
  std::string out;
  for (int p = start; p < start + count; ++p) {
    if (p < 1 || p > static_cast<int>(text.size())) continue;
    char c = text[static_cast<size_t>(p - 1)];
    // An "E" in the first position has nothing before it and stays "E".
    if (c == 'E' && p > 1) c = text[static_cast<size_t>(p - 2)];
    out += c;
  }
  return out;
}

bool IsMessageCode(std::string_view digits) {
  std::string t = Trim(CleanText(digits));
  return StartsWith(t, "E1") && t.size() >= 8;
}

bool IsPttIdMarker(std::string_view digits) {
  std::string t = Trim(CleanText(digits));
  return StartsWith(t, "E6") && t.size() >= 6;
}

bool IsOwnIdCode(std::string_view digits) {
  return StartsWith(Trim(CleanText(digits)), "E2");
}

std::string ComposeMessageCode(std::string_view id, std::string_view message) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string m = "E1";
  m += id;
  m += 'E';
  for (char ch : message) {
    auto v = static_cast<uint8_t>(ch);
    m += kHex[v >> 4];
    m += kHex[v & 0x0F];
  }
  return m;
}

std::string MessageOfCode(std::string_view digits) {
  std::string t = Trim(CleanText(digits));
  std::string message;
  if (t.size() < 8) return message;
  for (size_t k = 1; k <= (t.size() - 8) / 2; ++k) {
    int hi = HexValue(t[2 * k + 6]);
    int lo = HexValue(t[2 * k + 7]);
    message += (hi < 0 || lo < 0) ? '?' : static_cast<char>(hi << 4 | lo);
  }
  return message;
}

std::string ComposeAniCode(std::string_view callerId, int separator, std::string_view tail) {
  std::string c(callerId);
  if (separator >= 10 && separator <= 15) c += static_cast<char>('A' + separator - 10);
  c += tail;
  return c;
}

std::string SaveDecodeDigits(std::string_view digits, std::string_view ownId,
                             std::string_view idBoxText) {
  std::string d = CleanText(digits);
  if (d.size() > 2) {
    if (StartsWith(d, "E2")) d = "E2" + std::string(ownId);
    if (StartsWith(d, "E6")) d = "E6" + std::string(ownId);
    if (IsAniCode(CleanText(d), idBoxText)) {
      size_t keep = d.size() - (EndsWith(d, kSelfIdPlaceholder) ? 6 : 5);
      d = d.substr(0, keep) + std::string(ownId);
    }
    d = EncodeCodeDigits(Trim(d), idBoxText);
  }
  return Trim(d);
}

std::string DigitsForNewOwnId(std::string_view digits, std::string_view previousId,
                              std::string_view newId) {
  std::string d = CleanText(digits);
  if (Trim(d).size() <= 1) return d;
  if (StartsWith(d, "E2")) d = "E2" + std::string(newId);
  if (StartsWith(d, "E6")) d = "E6" + std::string(newId);
  std::string clean = CleanText(d);
  if (IsAniCode(clean, previousId)) {
    if (clean.size() == 11 && !EndsWith(clean, kSelfIdPlaceholder))
      d = Mid5ToneNoE(clean, 1, 5) + clean[5] + std::string(newId);
    else
      d = Mid5ToneNoE(clean, 1, 5) + std::string(newId);
  }
  return d;
}

CodeView ViewOfDecodeCode(std::string_view digits, int length, std::string_view idBoxText,
                          std::string_view messageLabel) {
  CodeView v;
  std::string clean = CleanText(digits);
  std::string t = Trim(clean);
  bool claimed = false;
  if (t.size() > 1) {
    if (IsMessageCode(t)) {
      v.Kind = CodeKind::Message;
      v.Digits = Mid5ToneNoE(clean, 3, 5) + std::string(8, ' ') + std::string(messageLabel) +
                 MessageOfCode(t);
      claimed = true;
    } else if (IsPttIdMarker(t)) {
      v.Kind = CodeKind::PttIdMarker;
      v.Digits.clear();
      claimed = true;
    }
    if (IsAniCode(clean, idBoxText)) {
      v.Kind = CodeKind::Ani;
      v.Digits = Mid5ToneNoE(clean, 1, 5);
      if ((clean.size() == 11 || clean.size() == 12) && !EndsWith(clean, kSelfIdPlaceholder))
        v.Digits += clean[5];
      claimed = true;
    }
  }
  if (!claimed) {
    v.Kind = CodeKind::Ordinary;
    size_t n = length > 0 ? static_cast<size_t>(length) : 0;
    v.Digits = clean;
    if (v.Digits.size() > n)
      v.Digits.resize(n);
    else
      v.Digits.append(n - v.Digits.size(), 'E');
  }
  return v;
}

}  // namespace kvx
