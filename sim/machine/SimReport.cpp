#include "sim/machine/SimReport.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "sim/machine/SimMachine.h"

namespace hw {

namespace {

void Line(std::string& out, const char* format, ...) {
    char line[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
    out += "\r\n";
}

std::string Hours(std::uint32_t minutes) {
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u", minutes / 60, minutes % 60);
    return text;
}

void HexDump(std::string& out, const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (std::size_t at = 0; at < bytes.size(); at += 16) {
        char offset[24];
        std::snprintf(offset, sizeof offset, "%04zX:", at);
        out += offset;
        for (std::size_t i = at; i < at + 16 && i < bytes.size(); ++i) {
            out += ' ';
            out += kDigits[bytes[i] >> 4];
            out += kDigits[bytes[i] & 0x0F];
        }
        out += "\r\n";
    }
}

}  // namespace

std::string SimServiceReport(const SimMachine& machine) {
    std::string out;
    out.reserve(16 * 1024);  // about 9 KB, most of it the block's dump
    const SimParameters& p = machine.Parameters();
    const SimPosition& pos = machine.Position();
    Line(out, "QMV-240 SERVICE REPORT");
    Line(out, "======================");
    Line(out, "Firmware        : %s", machine.Version().c_str());
    Line(out, "Serial number   : %s", p.Serial().c_str());
    Line(out, "Firmware loads  : %d", machine.FirmwareUpdates());
    Line(out, "Up time         : %s (h:mm)",
         Hours(static_cast<std::uint32_t>(machine.Now() / 60000)).c_str());
    Line(out, "Spindle time    : %s (h:mm)", Hours(machine.SpindleMinutes()).c_str());
    Line(out, "Pump time       : %s (h:mm)", Hours(machine.PumpMinutes()).c_str());
    Line(out, "");
    Line(out, "[Corrections]");
    for (int axis = 0; axis < 3; ++axis) {
        Line(out, "Scale %c         : %d.%03d %%", "XYZ"[axis], p.Scale(axis) / 1000,
             p.Scale(axis) % 1000);
    }
    Line(out, "Laser offset X  : %d (1/100 mm)", p.LaserX());
    Line(out, "Laser offset Y  : %d (1/100 mm)", p.LaserY());
    Line(out, "Y0 offset       : %d (1/100 mm)", p.Y0());
    Line(out, "");
    Line(out, "[State]");
    Line(out, "Status word     : 0x%04X", machine.StatusWord());
    Line(out, "Position        : X %d  Y %d  Z %d  A %d", pos[0], pos[1], pos[2], pos[3]);
    Line(out, "Temperature     : %.1f C", machine.Temperature());
    Line(out, "Cover           : %s", machine.CoverOpen() ? "open" : "closed");
    Line(out, "Panel operation : %s", machine.PanelOperation() ? "on" : "off");
    Line(out, "");
    Line(out, "[Events]");
    for (const std::string& event : machine.Events()) Line(out, "%s", event.c_str());
    Line(out, "");
    Line(out, "[Parameter block, %u bytes]", static_cast<unsigned>(p.Block().size()));
    HexDump(out, p.Block());
    Line(out, "");
    Line(out, "END OF REPORT");
    return out;
}

}  // namespace hw
