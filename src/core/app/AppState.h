#pragma once
// The program-wide state: language, factory mode, port, radio type and band with its limits,
// feature flags and the programming password.
#include <array>
#include <cstdint>
#include <string>

namespace kvx {

struct FeatureFlags {
  int16_t FiveToneFeature = 0;
  int16_t TwoToneFeature = 0;
  int16_t DtmfFeature = 0;
  int16_t FourthFeature = 0;
  bool operator==(const FeatureFlags&) const = default;
};

struct AppState {
  int16_t LanguageIndex = 1;  // 1 English, 2 Chinese
  bool FactoryMode = false;
  char SavedDecimalSeparator = '.';  // Linux never changes the user's locale: kept for form
  bool IsWindowsNt60 = false;        // always false here
  bool IsFirstRun = false;

  // Serial port: a device name ("ttyUSB0") or a full path ("/dev/pts/3"); empty means none.
  std::string ComPort;
  int16_t Handshaking = 0;
  int16_t StopBit = 0;
  int16_t FactoryFres = 0;
  std::string ProgramPassWord;

  std::string RadioType = "KP-510";
  std::string RadioVersion = "V100";
  std::string BandText = "Rx(136 - 174.00000 MHz) Tx(136 - 174.00000 MHz)";
  int16_t BandCode = 3;
  double RxLow = 136, RxHigh = 174, TxLow = 136, TxHigh = 174;

  FeatureFlags Features;

  int16_t CurrentEditChannel = 0;
  int16_t CurrentGridRow = 0;
  int16_t CurrentGridCol = 0;
  bool InitInProgress = false;

  // The program folder: language/, Setting.ini, Init/, TestData.ini. The system writes only
  // there.
  std::string ProgramFolder;
};

}  // namespace kvx
