// The console on the headless window system against a scripted machine, for
// the procedure tests: runs it, clicks its buttons with the machine's replies,
// and reads back the requests the machine received.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FakeVersionBlocks.h"
#include "fakes/FixedProgramFile.h"
#include "link/DeviceChannel.h"
#include "sim/pc/SimUserSettings.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw::test {

using Bytes = std::vector<std::uint8_t>;

// The machine's reply to a status request: the status word after the reply's
// header bytes.
inline Bytes StatusReply(std::uint16_t word) {
    return {0, 1, static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)};
}

// A reply that refuses the request.
inline const Bytes kRefused = {1};

// One request as the machine received it.
struct Sent {
    int command;    // the command number (extended ones too)
    Bytes payload;  // the request, command slot as sent in the data phase

    // The little-endian 32-bit item at offset of the payload.
    std::int32_t Dword(std::size_t offset) const {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = (value << 8) | payload.at(offset + i);
        return static_cast<std::int32_t>(value);
    }
};

class ScriptedConsole : public ::testing::Test {
  protected:
    void SetUp() override {
        devicePath = fake.InstallMachine("QMV-240", "USB001", "AAA111");
        windows.UseClock([this] { return std::uint64_t{fake.system.now.load()}; });
    }

    // Runs the console; body acts while it is up, with a fresh record.
    void Run(const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
            auto& console = static_cast<ConsoleDialog&>(dialog);
            ASSERT_TRUE(console.IsConnected());
            StartRecord();
            body(console);
        });
        ConsoleDialog console(services);
        console.DoModal();
    }

    // The machine unplugged, or plugged in again, and the console told.
    void Plug(ConsoleDialog& console, bool in) {
        fake.device.deviceIdFails = !in;
        if (in) {
            fake.device.openablePaths.insert(devicePath);
        } else {
            fake.device.openablePaths.erase(devicePath);
        }
        console.OnDeviceChange(ui::kDbtDevNodesChanged, 0);
    }

    // Forgets the boxes shown and the requests and writes sent so far.
    void StartRecord() {
        windows.ClearBoxes();
        firstControl = fake.device.controls.size();
        fake.device.writes.clear();
    }

    // Clicks a button of the console and answers its vendor polls with replies.
    void Press(ConsoleDialog& console, int button, std::vector<Bytes> replies = {}) {
        fake.device.replies.assign(replies.begin(), replies.end());
        ASSERT_TRUE(windows.Click(console.window(), button));
    }

    // The requests sent since the record began: a data phase followed by its trigger.
    std::vector<Sent> SentRequests() const {
        constexpr std::uint8_t kExtended = 0x38;
        std::vector<Sent> sent;
        const auto& controls = fake.device.controls;
        for (std::size_t i = firstControl; i + 1 < controls.size(); ++i) {
            const auto& data = controls[i].input;
            const auto& trigger = controls[i + 1].input;
            if (controls[i].code != kIoctlVendorSetCommand || data.size() <= 4) continue;
            if (controls[i + 1].code != kIoctlVendorSetCommand || trigger.size() != 4) continue;
            Bytes payload(data.begin() + 3, data.end());
            const int command = trigger[3] == kExtended ? payload[2] : trigger[3];
            sent.push_back({command, payload});
        }
        return sent;
    }

    FakePlatform fake;
    std::string devicePath;
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    FixedProgramFile program;
    FakeFileSystem files;
    FakeSettingsFile settings;
    FakeVersionBlocks versions;
    SimUserSettings userSettings;
    ConsoleServices services{app, fake.platform, program, files, settings, versions, userSettings};
    std::size_t firstControl = 0;
};

}  // namespace hw::test
