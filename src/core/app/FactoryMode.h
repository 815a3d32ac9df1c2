#pragma once
// Factory mode is on when TestData.ini in the program folder starts with the factory marker.
#include <string>
#include <string_view>

namespace kvx {

inline constexpr std::string_view kFactoryMarker = "PA-099_4668_Wjkzy_FiuslrdSxzqZin";

// The first 128 bytes of the file (fewer when it is shorter), CleanText applied, must equal
// the marker exactly. A missing or unreadable file means off.
bool DecideFactoryMode(std::string_view programFolder);

}  // namespace kvx
