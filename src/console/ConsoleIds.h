// Resource and control identifiers of the main console (dialog template 102).
#pragma once

namespace hw::console_id {

inline constexpr int kDialog = 102;
inline constexpr int kAboutString = 101;
inline constexpr int kIcon = 128;
inline constexpr int kAboutCommand = 16;
// The system menu's Save Service Bundle entry, below About.
inline constexpr int kBundleString = 125;
inline constexpr int kBundleCommand = 32;
// The system menu's Choose Machine entry, below Save Service Bundle.
inline constexpr int kChooseString = 126;
inline constexpr int kChooseCommand = 48;
// Strings: the question before a backlash run, and Details before any run.
inline constexpr int kMountEncoderString = 116;
inline constexpr int kCheckBacklashFirstString = 122;

inline constexpr int kClose = 1;
inline constexpr int kGetReport = 1005;
inline constexpr int kPercentMode = 1006;
inline constexpr int kGetParameters = 1007;
inline constexpr int kClearSpindleTime = 1008;
inline constexpr int kPutParameters = 1009;
inline constexpr int kCheckSerialPort = 1010;
inline constexpr int kWriteSerial = 1011;
inline constexpr int kSerialNumber = 1012;
inline constexpr int kWriteXY = 1013;
inline constexpr int kCheckLoadX = 1014;
inline constexpr int kCorrectionCut = 1015;
inline constexpr int kCheckLoadY = 1016;
inline constexpr int kCheckLoadZ = 1017;
inline constexpr int kOutputFile = 1018;
inline constexpr int kStartAging = 1019;
inline constexpr int kReadSpindle = 1020;
inline constexpr int kCorrectionX = 1021;
inline constexpr int kCorrectionY = 1022;
inline constexpr int kCorrectionZ = 1023;
inline constexpr int kSpindleCurrent = 1027;
inline constexpr int kSpindleTemperature = 1028;
inline constexpr int kLimitX = 1029;
inline constexpr int kLimitY = 1030;
inline constexpr int kLimitZ = 1031;
inline constexpr int kCover = 1032;
inline constexpr int kZ0Nose = 1033;
inline constexpr int kPumpSwitch = 1034;
inline constexpr int kLimitA = 1035;
inline constexpr int kClearPumpTime = 1036;
inline constexpr int kWriteY0 = 1037;
inline constexpr int kY0Offset = 1038;
inline constexpr int kWriteLaser = 1040;
inline constexpr int kLaserX = 1041;
inline constexpr int kLaserY = 1042;
inline constexpr int kCheckLoadA = 1045;
inline constexpr int kToolPosition = 1046;
inline constexpr int kCalcWriteLaser = 1047;
inline constexpr int kCalcWriteY0 = 1048;
inline constexpr int kMeasuredMode = 1049;
inline constexpr int kBacklashCheck = 1051;
inline constexpr int kBacklashGroup = 1052;
inline constexpr int kBacklashAngle = 1053;
inline constexpr int kBacklashValue = 1054;
inline constexpr int kToolX = 1055;
inline constexpr int kToolY = 1056;
inline constexpr int kBacklashDetails = 1067;
inline constexpr int kCheckPanel = 1073;

}  // namespace hw::console_id
