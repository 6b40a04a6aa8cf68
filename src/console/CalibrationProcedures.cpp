// The correction calibration: the X and Y scale from a test cut, the test
// cut itself, and the laser-pointer and Y0 offsets, typed in or worked out
// from tool positions.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/CalibrationMath.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/Messages.h"

namespace hw {

namespace {

namespace id = console_id;

constexpr std::string_view kTestDataSection = "TestData";
constexpr std::string_view kPercentRange = "99.500% - 100.500%";
constexpr std::string_view kLaserRange = "-10.00mm - +10.00mm";
constexpr std::string_view kY0Range = "-10.00mm - +10.00%";
constexpr std::string_view kPressToolPos = "Press Tool Pos first";
constexpr int kPositionItems = 4;

// The scale an edit asks for, in thousandths of a percent, in the mode the
// radio buttons last stored.
double ScaleOf(const ui::EditControl& edit, bool measured, std::int32_t nominal) {
    const double number = ReadDecimal(edit.GetText());
    return measured ? ScaleFromMeasured(number, nominal) : ScaleFromPercent(number);
}

// The range warning of one axis: the percent range, or the measured lengths
// the range allows for that axis's nominal side.
std::string ScaleRangeText(bool measured, char axis, std::int32_t nominal) {
    if (!measured) return std::string(kPercentRange);
    return std::string(1, axis) + ":" +
           std::to_string(MulDivRounded(kScaleLowest, nominal, kScaleBase)) + " - " +
           std::to_string(MulDivRounded(kScaleHighest, nominal, kScaleBase));
}

}  // namespace

void ConsoleDialog::OnWriteXY() {
    if (!Online()) return;
    const bool measured = correctionMode == 1;
    const double x = ScaleOf(correctionX, measured, kNominalX);
    const double y = ScaleOf(correctionY, measured, kNominalY);
    if (!ScaleAccepted(x)) {
        ShowWarningBox(services.app, ScaleRangeText(measured, 'X', kNominalX));
        return;
    }
    if (!ScaleAccepted(y)) {
        ShowWarningBox(services.app, ScaleRangeText(measured, 'Y', kNominalY));
        return;
    }
    // Each axis is sent whatever became of the one before; Z always goes
    // back to the neutral scale.
    const auto write = [this](std::uint16_t axis, char name, std::int32_t scale) {
        if (link.SetScaleCorrection(axis, scale, kScaleBase)) {
            LogWritten(std::string(1, name) + " scale " + std::to_string(scale) + "/" +
                       std::to_string(kScaleBase));
            return true;
        }
        ShowErrorBox(services.app, std::string("error ") + name);
        return false;
    };
    const bool xWritten = write(kScaleAxisX, 'X', static_cast<std::int32_t>(x));
    const bool yWritten = write(kScaleAxisY, 'Y', static_cast<std::int32_t>(y));
    if (write(kScaleAxisZ, 'Z', kScaleBase) && xWritten && yWritten) ShowCompleted(*this);
}

void ConsoleDialog::OnCorrectionCut() {
    // The cut starts the spindle, so it goes only to a machine known ready.
    if (!Online() || !MachineReadyAtOrigin()) return;
    const std::string data = TestDataFromSection(services.settings.ReadSection(
        settingsPath, std::string(kTestDataSection), kTestDataCapacity));
    // Raw instruction text, one piece right after the other; empty data
    // still makes one write. The machine gives no answer to wait for.
    std::size_t sent = 0;
    do {
        const std::size_t piece = std::min(kCutPiece, data.size() - sent);
        link.WriteRaw(data.data() + sent, static_cast<int>(piece));
        sent += piece;
    } while (sent < data.size());
}

void ConsoleDialog::ApplyLaserOffset(std::int64_t x, std::int64_t y, bool add) {
    std::int32_t current[2] = {};
    if (!link.GetLaserOffset(current)) {
        ShowErrorBox(services.app, kTextError);
        return;
    }
    if (add) {
        x += current[0];
        y += current[1];
    }
    if (!OffsetAccepted(x) || !OffsetAccepted(y)) {
        ShowWarningBox(services.app, kLaserRange);
        return;
    }
    const std::int32_t offsets[2] = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    if (link.SetLaserOffset(offsets)) {
        LogWritten("laser offset X " + std::to_string(offsets[0]) + ", Y " +
                   std::to_string(offsets[1]) + " (1/100 mm)");
        ShowCompleted(*this);
    } else {
        ShowErrorBox(services.app, "error X");
    }
}

void ConsoleDialog::OnWriteLaser() {
    if (!Online()) return;
    ApplyLaserOffset(ReadInteger(laserX.GetText()), ReadInteger(laserY.GetText()), false);
}

bool ConsoleDialog::ReadToolPosition(std::int32_t (&position)[4]) {
    if (link.GetPosition(position, kPositionItems) == kPositionItems) return true;
    ShowErrorBox(services.app, kTextError);
    return false;
}

void ConsoleDialog::OnToolPosition() {
    if (!Online()) return;
    std::int32_t position[kPositionItems] = {};
    if (!ReadToolPosition(position)) return;
    SetItemText(id::kToolX, "X:" + std::to_string(position[0]));
    SetItemText(id::kToolY, "Y:" + std::to_string(position[1]));
    toolPositionX = position[0];
    toolPositionY = position[1];
    toolPositionTaken = true;
}

void ConsoleDialog::OnCalcWriteLaser() {
    if (!Online()) return;
    // Without a remembered tool position there is nothing to measure from.
    if (!toolPositionTaken) {
        ShowWarningBox(services.app, kPressToolPos);
        return;
    }
    std::int32_t position[kPositionItems] = {};
    if (!ReadToolPosition(position)) return;
    ApplyLaserOffset(std::int64_t{toolPositionX} - position[0],
                     std::int64_t{toolPositionY} - position[1], true);
    // The edits show the offsets the machine holds now, written or not.
    std::int32_t current[2] = {};
    if (!link.GetLaserOffset(current)) {
        ShowErrorBox(services.app, kTextError);
        return;
    }
    laserX.SetText(std::to_string(current[0]));
    laserY.SetText(std::to_string(current[1]));
    UpdateData(false);
}

void ConsoleDialog::ApplyY0Offset(std::int64_t value) {
    if (!OffsetAccepted(value)) {
        ShowWarningBox(services.app, kY0Range);
        return;
    }
    const std::int32_t offset = static_cast<std::int32_t>(value);
    if (link.SetY0Offset(&offset)) {
        LogWritten("Y0 offset " + std::to_string(offset) + " (1/100 mm)");
        ShowCompleted(*this);
    } else {
        ShowErrorBox(services.app, "error Y");
    }
}

void ConsoleDialog::OnWriteY0() {
    if (!Online()) return;
    ApplyY0Offset(ReadInteger(y0Offset.GetText()));
}

void ConsoleDialog::OnCalcWriteY0() {
    if (!Online()) return;
    std::int32_t position[kPositionItems] = {};
    if (!ReadToolPosition(position)) return;
    std::int32_t current = 0;
    if (!link.GetY0Offset(&current)) {
        ShowErrorBox(services.app, kTextError);
        return;
    }
    // Shown before the range test, so that a refused value is seen too.
    const std::int64_t value = std::int64_t{position[1]} - current;
    y0Offset.SetText(std::to_string(value));
    ApplyY0Offset(value);
    UpdateData(false);
}

}  // namespace hw
