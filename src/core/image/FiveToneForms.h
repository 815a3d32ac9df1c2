#pragma once
// The shapes five-tone codes take before they are stored: the repeat tone "E" (a digit equal
// to the one written just before it is sent as "E"), and the special codes whose content
// depends on the radio's own five-tone ID:
//   message code   "E1", 5 ID characters, "E", then two hexadecimal digits per message
//                  character (its single-byte code)
//   PTT ID marker  "E6" followed by the own ID ("E6SelfID" in a decode code until saved)
//   own-ID code    "E2" followed by the own ID
//   ANI code       5-character caller ID, optionally a separator "A" ... "F", then the own ID
//                  or the placeholder "SelfID"
// Everything here is a pure function of its texts. Positions are counted from 1, as the
// editor shows them.
#include <optional>
#include <string>
#include <string_view>

namespace kvx {

inline constexpr std::string_view kSelfIdPlaceholder = "SelfID";

// The text in repeat-tone form. `before` counts as written before the text but is not part of
// the result. In a message code (beginning "E1") positions 9 on are copied unchanged.
std::string EncodeRepeats(std::string_view text, std::optional<char> before = std::nullopt);
// Repeat-tone form of an ANI code: in a text of exactly 11 characters positions 6 and 7 (the
// separator and the first own-ID digit) are copied unchanged.
std::string EncodeAniRepeats(std::string_view text);
// Whether `code` is an ANI code for this own ID.
bool IsAniCode(std::string_view code, std::string_view ownId);
// EncodeAniRepeats for an ANI code, EncodeRepeats otherwise.
std::string EncodeCodeDigits(std::string_view text, std::string_view ownId);
// Characters start ... start + count - 1, each "E" replaced by the stored character before it
// (an "E" in the first position stays "E").
std::string Mid5ToneNoE(std::string_view text, int start, int count);

// Recognition of the special forms (on the stored digits).
bool IsMessageCode(std::string_view digits);  // "E1..." of at least 8 trimmed characters
bool IsPttIdMarker(std::string_view digits);  // "E6..." of at least 6 characters
bool IsOwnIdCode(std::string_view digits);    // "E2..."

// Composing, as the special-call dialog does (not yet repeat-encoded).
// "E1", the ID, "E", then each message character's code as two upper-case hexadecimal digits.
std::string ComposeMessageCode(std::string_view id, std::string_view message);
// The message of a message code: for k = 1 ... (length - 8) / 2 the character whose code is
// the hexadecimal value of the digits at positions 2k + 7 and 2k + 8.
std::string MessageOfCode(std::string_view digits);
// The caller ID, the separator letter (10 ... 15; 0 for none) and the tail (own ID or
// "SelfID").
std::string ComposeAniCode(std::string_view callerId, int separator, std::string_view tail);

// Editor rules as plain text functions.
// Saving a decode code: "E2"/"E6" codes completed with `ownId`, the own-ID part of an ANI code
// (recognised against `idBoxText`) replaced by `ownId`, then EncodeCodeDigits. Digits of two
// characters or fewer are only cleaned.
std::string SaveDecodeDigits(std::string_view digits, std::string_view ownId,
                             std::string_view idBoxText);
// After the own ID changed from `previousId` to `newId`: "E2"/"E6" codes and ANI codes for the
// previous ID now carry the new one (not repeat-encoded). Digits of one character or fewer
// come back unchanged.
std::string DigitsForNewOwnId(std::string_view digits, std::string_view previousId,
                              std::string_view newId);
// What the editor's grid shows for a decode code in use: the kind of code and its digits
// cell. A message code shows its ID, eight blanks, `messageLabel` and the message; a PTT ID
// marker shows nothing; an ANI code (against `idBoxText`) shows the caller ID and, for a code
// of 11 or 12 characters not ending in "SelfID", its separator; an ordinary code shows its
// digits cut to or extended with "E" to `length`.
enum class CodeKind { Ordinary, Message, PttIdMarker, Ani };
struct CodeView {
  CodeKind Kind = CodeKind::Ordinary;
  std::string Digits;
};
CodeView ViewOfDecodeCode(std::string_view digits, int length, std::string_view idBoxText,
                          std::string_view messageLabel);

}  // namespace kvx
