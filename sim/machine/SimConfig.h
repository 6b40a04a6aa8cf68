// How a simulated machine is built: firmware version, serial number, axis
// loads, the rotary axis's lost motion and the other values that differ from
// one machine to the next.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hw {

// Axis indices of the simulated machine, in the order positions travel.
inline constexpr int kSimAxisX = 0;
inline constexpr int kSimAxisY = 1;
inline constexpr int kSimAxisZ = 2;
inline constexpr int kSimAxisA = 3;
inline constexpr int kSimAxes = 4;

// Lost motion of the rotary axis over one turn: a smooth bump from baseDeg up
// to peakDeg, largest at peakAngleDeg.
struct LostMotionProfile {
    double baseDeg = 0.036;
    double peakDeg = 0.09;
    double peakAngleDeg = 207.0;

    // The lost motion, in degrees, at a table angle in degrees.
    double At(double angleDeg) const;
};

struct SimConfig {
    // Version text; the panel type follows "PNL".
    std::string version = "QMV-240 V1.52 PNL-J";
    std::string serial = "QMV0117";
    // The machine seeks its origin when it is switched on.
    bool homedAtPowerOn = true;
    // The encoder set is mounted on the rotary axis and feeds the dial counter.
    bool encoderMounted = true;
    LostMotionProfile lostMotion;
    // Power in percent that each axis (X, Y, Z, A) needs to pass its load check.
    std::array<std::uint16_t, kSimAxes> axisLoadPercent{45, 50, 55, 40};
    double temperatureC = 31.0;
    float spindleIdleAmps = 0.05f;
    float spindleRunningAmps = 1.35f;
    // The serial-port check passes when the loopback plug is fitted.
    bool serialLoopback = true;
    // Running-time counters at power-on, in minutes.
    std::uint32_t spindleMinutes = 74123;
    std::uint32_t pumpMinutes = 51207;
    // How long the timed procedures and checks take.
    std::uint32_t loadCheckMs = 3000;
    std::uint32_t serialCheckMs = 300;
    std::uint32_t agingFailAfterMs = 5000;
};

}  // namespace hw
