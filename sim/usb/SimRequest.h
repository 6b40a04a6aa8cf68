// The machine's view of one packet: a request parsed from the payload that the
// data phase stored and the trigger completed, and the reply it builds.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hw {

// Reply statuses. 0 is success; the pending marker is the request's command
// slot byte; every other value is a refusal.
inline constexpr std::uint8_t kSimDone = 0x00;
inline constexpr std::uint8_t kSimUnknownCommand = 0xE1;
inline constexpr std::uint8_t kSimMalformed = 0xE2;
inline constexpr std::uint8_t kSimNotReady = 0xE3;
inline constexpr std::uint8_t kSimOutOfRange = 0xE4;
inline constexpr std::uint8_t kSimNoRequest = 0xE5;
inline constexpr std::uint8_t kSimRefused = 0xE6;
inline constexpr std::uint8_t kSimFailed = 0xE7;

// The command slot value of an extended request.
inline constexpr std::uint8_t kSimExtendedSlot = 0x38;
// Largest payload of a vendor request.
inline constexpr std::uint32_t kSimMaxPayload = 4093;

// Item type bits of the count/type byte.
inline constexpr std::uint8_t kSimBytes = 0x00;
inline constexpr std::uint8_t kSimWords = 0x20;
inline constexpr std::uint8_t kSimDwords = 0x40;
inline constexpr std::uint8_t kSimFloats = 0x60;

struct SimRequest {
    bool extended = false;
    std::uint8_t command = 0;
    std::uint8_t type = 0;
    std::uint8_t count = 0;
    // The 16-bit sub-code of direct 32-bit requests, the 8-bit one of extended
    // requests; 0 otherwise.
    std::uint16_t sub = 0;
    const std::uint8_t* items = nullptr;

    std::uint8_t Byte(int i) const { return items[i]; }
    std::uint16_t Word(int i) const;
    std::int32_t Dword(int i) const;
};

// Parses payload (length bytes, command slot already holding the trigger
// byte). False when the count/type byte is invalid for the form or the items
// run past the payload.
bool ParseRequest(const std::uint8_t* payload, std::uint32_t length, SimRequest& request);

// Writes a reply into a payload-sized buffer: [status][count][items], the items
// at offset 2 for direct byte and word replies and at offset 4 otherwise.
class SimReply {
  public:
    SimReply(std::uint8_t* buffer, std::uint32_t capacity, bool extended)
        : buffer_(buffer), capacity_(capacity), extended_(extended) {}

    void Bytes(const std::uint8_t* data, int n);
    void Words(const std::uint16_t* data, int n);
    void Dwords(const std::int32_t* data, int n);
    void Floats(const float* data, int n);

  private:
    std::uint8_t* Start(int n, int width, bool wide);

    std::uint8_t* buffer_;
    std::uint32_t capacity_;
    bool extended_;
};

}  // namespace hw
