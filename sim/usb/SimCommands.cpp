#include "sim/usb/SimCommands.h"

#include <string>

namespace hw {

namespace {

using Request = const SimRequest&;

std::uint8_t Status(SimMachine& m, Request, SimReply& reply) {
    const std::uint16_t word = m.StatusWord();
    reply.Words(&word, 1);
    return kSimDone;
}

std::uint8_t Version(SimMachine& m, Request, SimReply& reply) {
    const std::string& text = m.Version();
    reply.Bytes(reinterpret_cast<const std::uint8_t*>(text.c_str()),
                static_cast<int>(text.size() + 1));
    return kSimDone;
}

std::uint8_t Position(SimMachine& m, Request r, SimReply& reply) {
    if (r.sub > 1) return kSimOutOfRange;
    const SimPosition p = r.sub == 1 ? m.Position() : m.TargetPosition();
    reply.Dwords(p.data(), kSimAxes);
    return kSimDone;
}

std::uint8_t Origin(SimMachine& m, Request r, SimReply&) {
    if (r.Byte(0) == 2) return m.CancelProcedure();
    if (r.Byte(0) > 2) return kSimOutOfRange;
    return m.ReturnToOrigin();
}

std::uint8_t Stop(SimMachine& m, Request, SimReply&) {
    return m.StopMotion();
}

std::uint8_t Keys(SimMachine& m, Request, SimReply& reply) {
    const std::uint16_t keys = m.PanelKeys();
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(keys >> 8),
                                   static_cast<std::uint8_t>(keys)};
    reply.Bytes(bytes, 2);
    return kSimDone;
}

std::uint8_t Sensors(SimMachine& m, Request, SimReply& reply) {
    const auto bytes = m.SensorBytes();
    reply.Bytes(bytes.data(), kSimSensorBytes);
    return kSimDone;
}

std::uint8_t Dial(SimMachine& m, Request r, SimReply& reply) {
    if (r.sub != 0) return kSimOutOfRange;
    const std::int32_t counter = m.DialCounter();
    reply.Dwords(&counter, 1);
    return kSimDone;
}

std::uint8_t PanelText(SimMachine& m, Request r, SimReply&) {
    m.ShowPanelText(r.Byte(0), std::string(reinterpret_cast<const char*>(r.items) + 1,
                                           static_cast<std::size_t>(r.count - 1)));
    return kSimDone;
}

std::uint8_t Meter(SimMachine& m, Request r, SimReply& reply) {
    float value = 0;
    const std::uint8_t status = m.ReadMeter(r.sub, value);
    if (status == kSimDone) reply.Floats(&value, 1);
    return status;
}

std::uint8_t Move(SimMachine& m, Request r, SimReply&) {
    std::int32_t values[kSimAxes] = {};
    for (int i = 0; i < r.count; ++i) values[i] = r.Dword(i);
    return m.MoveTo(values, r.count, r.sub);
}

std::uint8_t PanelMode(SimMachine& m, Request r, SimReply&) {
    m.SetPanelMode(r.Byte(0));
    return kSimDone;
}

std::uint8_t Serial(SimMachine& m, Request r, SimReply&) {
    const auto* text = reinterpret_cast<const char*>(r.items);
    if (text[r.count - 1] != '\0') return kSimMalformed;
    return m.WriteSerial(std::string(text));
}

std::uint8_t Scale(SimMachine& m, Request r, SimReply&) {
    return m.SetScale(r.sub, r.Dword(0), r.Dword(1));
}

std::uint8_t UpdateMode(SimMachine& m, Request r, SimReply&) {
    return m.SetUpdateMode(r.Byte(0));
}

std::uint8_t Report(SimMachine& m, Request, SimReply&) {
    m.AnnounceReport();
    return kSimDone;
}

std::uint8_t SelectMeter(SimMachine& m, Request r, SimReply&) {
    return m.SelectMeter(r.Byte(0));
}

std::uint8_t Block(SimMachine& m, Request r, SimReply& reply) {
    if (r.sub > 1) return kSimOutOfRange;
    const std::int32_t length = r.sub == 0 ? m.AnnounceBlock() : m.ExpectBlock();
    reply.Dwords(&length, 1);
    return kSimDone;
}

std::uint8_t PanelOperation(SimMachine& m, Request r, SimReply&) {
    if (r.sub > 1) return kSimOutOfRange;
    m.SetPanelOperation(r.sub == 1);
    return kSimDone;
}

std::uint8_t Analog(SimMachine& m, Request r, SimReply& reply) {
    if (r.sub != 1) return kSimOutOfRange;
    const auto values = m.AnalogValues();
    reply.Words(values.data(), kSimAnalogValues);
    return kSimDone;
}

std::uint8_t GetLaser(SimMachine& m, Request r, SimReply& reply) {
    if (r.sub != 0) return kSimOutOfRange;
    const std::int32_t xy[2] = {m.Parameters().LaserX(), m.Parameters().LaserY()};
    reply.Dwords(xy, 2);
    return kSimDone;
}

std::uint8_t GetY0(SimMachine& m, Request r, SimReply& reply) {
    if (r.sub != 0) return kSimOutOfRange;
    const std::int32_t y0 = m.Parameters().Y0();
    reply.Dwords(&y0, 1);
    return kSimDone;
}

std::uint8_t LoadCheck(SimMachine& m, Request r, SimReply&) {
    return m.StartLoadCheck(static_cast<std::uint8_t>(r.sub), r.Word(0));
}

std::uint8_t Aging(SimMachine& m, Request r, SimReply&) {
    return r.sub == 1 ? m.StartAging() : kSimOutOfRange;
}

std::uint8_t ClearSpindle(SimMachine& m, Request r, SimReply&) {
    if (r.sub != 0) return kSimOutOfRange;
    m.ClearSpindleTime();
    return kSimDone;
}

std::uint8_t SerialPort(SimMachine& m, Request r, SimReply&) {
    return r.sub == 0 ? m.CheckSerialPort() : kSimOutOfRange;
}

std::uint8_t SetY0(SimMachine& m, Request r, SimReply&) {
    if (r.sub != 0) return kSimOutOfRange;
    return m.Parameters().SetY0(r.Dword(0)) ? kSimDone : kSimOutOfRange;
}

std::uint8_t SetLaser(SimMachine& m, Request r, SimReply&) {
    if (r.sub != 0) return kSimOutOfRange;
    return m.Parameters().SetLaser(r.Dword(0), r.Dword(1)) ? kSimDone : kSimOutOfRange;
}

std::uint8_t ClearPump(SimMachine& m, Request r, SimReply&) {
    if (r.sub != 0) return kSimOutOfRange;
    m.ClearPumpTime();
    return kSimDone;
}

// Settings go to the machine's non-volatile memory and take a little longer.
constexpr std::uint32_t kStoreMs = 20;

constexpr SimCommand kCommands[] = {
    {false, 1, kSimWords, 0, 0, 1, true, Status},
    {false, 2, kSimBytes, 0, 0, 1, true, Version},
    {false, 3, kSimDwords, 0, 0, 1, true, Position},
    {false, 8, kSimBytes, 1, 1, 2, false, Origin},
    {false, 9, kSimBytes, 1, 1, 1, false, Stop},
    {false, 16, kSimBytes, 0, 0, 1, true, Keys},
    {false, 17, kSimBytes, 0, 0, 1, true, Sensors},
    {false, 18, kSimDwords, 0, 0, 1, true, Dial},
    {false, 20, kSimBytes, 1, 31, 2, true, PanelText},
    {false, 50, kSimFloats, 0, 0, 2, true, Meter},
    {false, 64, kSimDwords, 1, kSimAxes, 2, false, Move},
    {false, 96, kSimBytes, 1, 1, 1, true, PanelMode},
    {false, 98, kSimBytes, 1, 31, kStoreMs, false, Serial},
    {false, 99, kSimDwords, 2, 2, kStoreMs, false, Scale},
    {false, 100, kSimBytes, 1, 1, 5, false, UpdateMode},
    {false, 102, kSimBytes, 0, 1, 10, false, Report},
    {false, 103, kSimBytes, 1, 1, 1, true, SelectMeter},
    {false, 105, kSimDwords, 0, 0, 5, false, Block},
    {true, 50, kSimBytes, 0, 0, 1, true, PanelOperation},
    {true, 51, kSimWords, 0, 0, 1, true, Analog},
    {true, 59, kSimDwords, 0, 0, 1, true, GetLaser},
    {true, 61, kSimDwords, 0, 0, 1, true, GetY0},
    {true, 113, kSimWords, 1, 1, 2, false, LoadCheck},
    {true, 114, kSimBytes, 0, 0, 2, false, Aging},
    {true, 116, kSimBytes, 0, 0, kStoreMs, false, ClearSpindle},
    {true, 119, kSimBytes, 0, 0, 2, false, SerialPort},
    {true, 130, kSimDwords, 1, 1, kStoreMs, false, SetY0},
    {true, 131, kSimDwords, 2, 2, kStoreMs, false, SetLaser},
    {true, 135, kSimBytes, 0, 0, kStoreMs, false, ClearPump},
};

}  // namespace

const SimCommand* FindCommand(const SimRequest& request) {
    for (const SimCommand& command : kCommands) {
        if (command.extended == request.extended && command.number == request.command) {
            return &command;
        }
    }
    return nullptr;
}

std::uint8_t ExecuteCommand(SimMachine& machine, const SimRequest& request, SimReply& reply) {
    const SimCommand* command = FindCommand(request);
    if (command == nullptr) return kSimUnknownCommand;
    if (request.type != command->type || request.count < command->minCount ||
        request.count > command->maxCount) {
        return kSimMalformed;
    }
    machine.EndParameterPut(!command->query);
    return command->run(machine, request, reply);
}

}  // namespace hw
