#pragma once
// Text helpers shared by every layer. Numbers are always formatted and parsed with "." as the
// decimal separator, whatever the user's locale says.
#include <optional>
#include <string>
#include <string_view>

namespace kvx {

// Removes trailing spaces, then cuts at the first NUL.
std::string CleanText(std::string_view s);

// Fixed-point formatting with "." ("%.*f" without the locale).
std::string FormatFixed(double v, int decimals);
// Leading digits and point of a text, "." as separator ("174.00000 MHz" gives 174). Empty or
// non-numeric text gives 0.
double LeadingNumber(std::string_view s);
// A whole decimal integer with optional sign and surrounding blanks; nullopt otherwise.
std::optional<long> ParseInteger(std::string_view s);

// Record texts are single bytes shown as Latin-1.
std::string Latin1ToUtf8(std::string_view bytes);
// Characters above U+00FF become '?'.
std::string Utf8ToLatin1(std::string_view utf8);

std::string Trim(std::string_view s);
std::string ToUpperAscii(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace kvx
