// The machine's command catalogue: one operation per numbered command, each
// building one request with a DeviceLink builder and reading its reply, plus
// the bulk transfers (service report, parameter block) built on them.
#pragma once

#include <cstdint>

#include "link/DeviceLink.h"
#include "platform/files/File.h"

namespace hw {

// Status word bits.
inline constexpr std::uint16_t kStatusReadyAtOrigin = 0x0001;
inline constexpr std::uint16_t kStatusStateMask = 0x000F;
inline constexpr std::uint16_t kStateProcedureRunning = 1;
inline constexpr std::uint16_t kStateError = 3;
inline constexpr std::uint16_t kStatusFailed = 0x2000;
inline constexpr std::uint16_t kStatusBusy = 0x4000;
inline constexpr std::uint16_t kStatusUpdateMode = 0x8000;
inline constexpr std::uint16_t kStatusNoAnswer = 0xFFFF;

// Axis sub-codes of SetScaleCorrection.
inline constexpr std::uint16_t kScaleAxisX = 0;
inline constexpr std::uint16_t kScaleAxisY = 1;
inline constexpr std::uint16_t kScaleAxisZ = 2;

// Axis codes of StartLoadCheck.
inline constexpr std::uint8_t kLoadAxisX = 1;
inline constexpr std::uint8_t kLoadAxisY = 2;
inline constexpr std::uint8_t kLoadAxisA = 3;
inline constexpr std::uint8_t kLoadAxisZ = 4;

// Bulk transfer limits: a piece of the report stream, a piece of the
// parameter block, how long a stream may deliver nothing before the transfer
// gives up, and how long a report may grow without its final NUL.
inline constexpr int kReportPiece = 1023;
inline constexpr int kBlockPiece = 1024;
inline constexpr std::uint32_t kBulkStallMs = 10000;
inline constexpr std::uint64_t kReportMaxBytes = 16u * 1024 * 1024;

class MachineLink final : public DeviceLink {
  public:
    using DeviceLink::DeviceLink;
    ~MachineLink() = default;

    // Direct commands.
    std::uint16_t GetStatusWord();                                                        // 1
    bool GetVersionString(char* buffer, int capacity);                                    // 2
    int GetPosition(std::int32_t* values, int capacity);                                  // 3
    bool ReturnToOrigin(int flag);                                                        // 8
    bool CancelProcedure();                                                               // 8
    bool StopMotion();                                                                    // 9
    int GetPanelKeys(std::uint8_t* buffer, int capacity);                                 // 16
    int GetSensorBytes(std::uint8_t* buffer, int capacity);                               // 17
    int GetDialCounter(std::int32_t* values, int capacity);                               // 18
    bool ShowPanelText(const char* text, int length, int timeMs);                         // 20
    int ReadMeterChannel(float* values, int capacity);                                    // 50
    bool MoveToPosition(const std::int32_t* values, int count, std::uint16_t parameter);  // 64
    bool SetPanelMode(std::uint8_t mode);                                                 // 96
    bool WriteSerialNumber(const char* text);                                             // 98
    bool SetScaleCorrection(std::uint16_t axis, std::int32_t value, std::int32_t base);   // 99
    bool SelectMeterChannel(int channel, int enable);                                     // 103

    // Extended commands.
    bool SetPanelOperation(int flag);                                        // 50
    int GetAnalogValues(std::uint16_t* words, int k);                        // 51
    bool GetLaserOffset(std::int32_t* xy);                                   // 59
    bool GetY0Offset(std::int32_t* offset);                                  // 61
    bool StartLoadCheck(std::uint8_t axisCode, const std::uint16_t* power);  // 113
    bool StartAging();                                                       // 114
    bool ClearSpindleTime();                                                 // 116
    bool CheckSerialPort();                                                  // 119
    bool SetY0Offset(const std::int32_t* offset);                            // 130
    bool SetLaserOffset(const std::int32_t* xy);                             // 131
    bool ClearPumpTime();                                                    // 135

    // Bulk transfers.
    bool GetReport(File& sink);      // 102
    bool GetParameters(File& file);  // 105, 0
    bool PutParameters(File& file);  // 105, 1
    // The block read step of GetParameters: bytes passed to the sink, or −1.
    int ReadBlock(File& sink, std::int32_t length);

    // The time byte ShowPanelText sends for a display time in milliseconds.
    static std::uint8_t PanelTextTimeByte(int timeMs);
};

}  // namespace hw
