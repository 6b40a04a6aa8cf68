#include "console/calibration/CalibrationProcedures.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/ConsoleIds.h"
#include "console/Messages.h"
#include "console/calibration/CalibrationMath.h"
#include "console/checks/BitLabels.h"
#include "console/windows/ProgressDialog.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"

namespace hw {

namespace {

constexpr std::string_view kTestDataSection = "TestData";
constexpr std::string_view kPercentRange = "99.500% - 100.500%";
constexpr std::string_view kLaserRange = "-10.00mm - +10.00mm";
constexpr std::string_view kY0Range = "-10.00mm - +10.00%";
constexpr std::string_view kPressToolPos = "Press Tool Pos first";
constexpr std::string_view kCloseCover = "Close the cover first.";
constexpr std::string_view kConfirmCut =
    "The machine will cut the test figure. Is a test plate clamped and the cover closed?";
constexpr int kPositionItems = 4;
constexpr std::string_view kCutCaption = "Test cut";
constexpr std::string_view kCutting = "Cutting the test figure...";
constexpr std::string_view kCutNoAnswer =
    "The machine stopped answering. The test cut's end is unknown.";
constexpr std::string_view kCutNotStarted = "The machine did not start the test cut.";
// Between two status reads while the cut runs.
constexpr std::uint32_t kCutPollMs = 100;
// How long the machine may stand still at its origin after the data went
// before the cut counts as not started.
constexpr std::uint32_t kCutStartMs = 10000;

// Back at the origin with nothing moving: the state "ready" and not busy.
bool ReadyAtOriginAndIdle(std::uint16_t status) {
    return (status & kStatusStateMask) == kStatusReadyAtOrigin && (status & kStatusBusy) == 0;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n\v\f") - first + 1);
}

// The warning for a scale edit that holds more than its number; a decimal
// comma is shown as the point it should be.
std::string NotADecimalText(std::string_view text) {
    const std::string_view typed = Trimmed(text);
    std::string pointed(typed);
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    const std::string head = std::string(typed) + " is not a number here: ";
    if (pointed != typed && IsWholeDecimal(pointed)) {
        return head + "type decimals after a point (" + pointed + ").";
    }
    return head + "type digits, with decimals after a point.";
}

// The warning for an offset edit, which takes whole 1/100 mm only.
std::string NotAnIntegerText(std::string_view text) {
    return std::string(Trimmed(text)) + " is not a number here: type whole 1/100 mm.";
}

// The scale an edit asks for, in thousandths of a percent, in the mode the
// radio buttons last stored.
double ScaleOf(const std::string& text, bool measured, std::int32_t nominal) {
    const double number = ReadDecimal(text);
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

// The tool position labels before a position is taken.
constexpr std::string_view kNoToolX = "X:--";
constexpr std::string_view kNoToolY = "Y:--";

}  // namespace

void CalibrationProcedures::Exchange(ui::DataExchange& dx) {
    dx.Control(console_id::kCorrectionX, correctionX);
    dx.Control(console_id::kCorrectionY, correctionY);
    dx.Control(console_id::kCorrectionZ, correctionZ);
    dx.Control(console_id::kY0Offset, y0Offset);
    dx.Control(console_id::kLaserX, laserX);
    dx.Control(console_id::kLaserY, laserY);
    dx.Radio(console_id::kPercentMode, mode);
}

void CalibrationProcedures::Forget() {
    for (ui::EditControl* edit :
         {&correctionX, &correctionY, &correctionZ, &y0Offset, &laserX, &laserY}) {
        edit->SetText("");
    }
    tool.reset();
    if (context.window != nullptr) {
        context.window->SetItemText(console_id::kToolX, kNoToolX);
        context.window->SetItemText(console_id::kToolY, kNoToolY);
    }
    ShowEdits();
}

void CalibrationProcedures::ShowEdits() {
    if (context.window != nullptr) context.window->UpdateData(false);
}

// An edit's text, or nullopt after a warning when it holds more than its
// number: "100,5" would read as 100 and write a scale nobody typed.
std::optional<std::string> CalibrationProcedures::NumberText(const ui::EditControl& edit,
                                                             bool decimal) {
    std::string text = edit.GetText();
    if (decimal ? IsWholeDecimal(text) : IsWholeInteger(text)) return text;
    context.reporter.Warning(decimal ? NotADecimalText(text) : NotAnIntegerText(text));
    return std::nullopt;
}

void CalibrationProcedures::WriteScale() {
    if (!context.session.RequireOnline(context.reporter)) return;
    const std::optional<std::string> textX = NumberText(correctionX, true);
    if (!textX) return;
    const std::optional<std::string> textY = NumberText(correctionY, true);
    if (!textY) return;
    const bool measured = Mode() == CorrectionMode::Measured;
    const double x = ScaleOf(*textX, measured, kNominalX);
    const double y = ScaleOf(*textY, measured, kNominalY);
    if (!ScaleAccepted(x)) {
        context.reporter.Warning(ScaleRangeText(measured, 'X', kNominalX));
        return;
    }
    if (!ScaleAccepted(y)) {
        context.reporter.Warning(ScaleRangeText(measured, 'Y', kNominalY));
        return;
    }
    // Each axis is sent whatever became of the one before; Z always goes
    // back to the neutral scale.
    const auto write = [this](std::uint16_t axis, char name, std::int32_t scale) {
        if (context.link().SetScaleCorrection(axis, scale, kScaleBase)) {
            context.log.Written(std::string(1, name) + " scale " + std::to_string(scale) + "/" +
                                std::to_string(kScaleBase));
            return true;
        }
        context.reporter.Error(std::string("error ") + name);
        return false;
    };
    const bool xWritten = write(kScaleAxisX, 'X', static_cast<std::int32_t>(x));
    const bool yWritten = write(kScaleAxisY, 'Y', static_cast<std::int32_t>(y));
    if (write(kScaleAxisZ, 'Z', kScaleBase) && xWritten && yWritten)
        context.reporter.Completed(kTextCompleted);
}

void CalibrationProcedures::CorrectionCut() {
    // The cut starts the spindle, so it goes only to a machine known ready,
    // with its cover closed, once the technician has clamped a plate.
    if (!context.session.RequireOnline(context.reporter) ||
        !context.session.RequireReadyAtOrigin(context.reporter) || !CoverClosed())
        return;
    const int answer = context.reporter.Ask(kConfirmCut, ui::kMbOkCancel | ui::kMbDefButton2);
    if (answer != ui::kIdOk) return;
    if (!SendTestData()) return;
    PollingPause paused(context.polling);
    if (const auto progress = ShowProgress(context.window, kCutCaption)) {
        progress->SetStatusText(kCutting);
        WatchTestCut(*progress);
    } else {
        // Nothing could stop a cut left running unwatched.
        context.link().StopMotion();
        context.reporter.Error(kTextError);
    }
}

// Raw instruction text, one piece right after the other; empty data still
// makes one write. The machine gives no answer to wait for, but a piece it
// did not take wholly ends the sending: the rest would make a cut program
// with a hole in it.
bool CalibrationProcedures::SendTestData() {
    const std::string data = TestDataFromSection(context.services.settings.ReadSection(
        context.paths.settingsPath, std::string(kTestDataSection), kTestDataCapacity));
    std::size_t sent = 0;
    do {
        const std::size_t piece = std::min(kCutPiece, data.size() - sent);
        const int written = context.link().WriteRaw(data.data() + sent, static_cast<int>(piece));
        if (written != static_cast<int>(piece)) {
            context.reporter.Error(kTextError);
            return false;
        }
        sent += piece;
    } while (sent < data.size());
    return true;
}

// The machine first leaves its origin, then comes back to it when the
// figure is cut; a status read at once after the data went may still show
// it ready at the origin, which is no end of the cut.
void CalibrationProcedures::WatchTestCut(ProgressDialog& progress) {
    System& system = context.services.link.system;
    const std::uint32_t start = system.TickCount();
    bool started = false;
    for (;;) {
        const std::uint16_t status = context.link().GetStatusWord();
        if (status == kStatusNoAnswer) {
            context.reporter.Warning(kCutNoAnswer);
            return;
        }
        if ((status & kStatusStateMask) == kStateError) {
            context.reporter.Error(kTextFailed);
            return;
        }
        if (!ReadyAtOriginAndIdle(status)) {
            started = true;
        } else if (started) {
            if ((status & kStatusFailed) != 0) {
                context.reporter.Error(kTextFailed);
            } else {
                context.reporter.Completed(kTextCompleted);
            }
            return;
        } else if (system.TickCount() - start >= kCutStartMs) {
            context.reporter.Warning(kCutNotStarted);
            return;
        }
        if (progress.CheckCancel()) {
            context.link().StopMotion();
            context.log.SetOutcome("stopped by the technician");
            return;
        }
        system.Sleep(kCutPollMs);
    }
}

bool CalibrationProcedures::CoverClosed() {
    std::array<std::uint8_t, kSensorReplyBytes> sensors{};
    // Without the sensors the cover's state is unknown: nothing is cut.
    if (context.link().GetSensorBytes(sensors.data(), kSensorReplyBytes) != kSensorReplyBytes) {
        context.reporter.Error(kTextError);
        return false;
    }
    if ((sensors[kCoverByte] & kCoverOpenMask) == 0) return true;
    context.reporter.Warning(kCloseCover);
    return false;
}

void CalibrationProcedures::ApplyLaserOffset(std::int64_t x, std::int64_t y, bool add) {
    std::int32_t current[2] = {};
    if (!context.link().GetLaserOffset(current)) {
        context.reporter.Error(kTextError);
        return;
    }
    if (add) {
        x += current[0];
        y += current[1];
    }
    if (!OffsetAccepted(x) || !OffsetAccepted(y)) {
        context.reporter.Warning(kLaserRange);
        return;
    }
    const std::int32_t offsets[2] = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    if (context.link().SetLaserOffset(offsets)) {
        context.log.Written("laser offset X " + std::to_string(offsets[0]) + ", Y " +
                            std::to_string(offsets[1]) + " (1/100 mm)");
        context.reporter.Completed(kTextCompleted);
    } else {
        context.reporter.Error("error X");
    }
}

void CalibrationProcedures::WriteLaser() {
    if (!context.session.RequireOnline(context.reporter)) return;
    const std::optional<std::string> x = NumberText(laserX, false);
    if (!x) return;
    const std::optional<std::string> y = NumberText(laserY, false);
    if (!y) return;
    ApplyLaserOffset(ReadInteger(*x), ReadInteger(*y), false);
}

bool CalibrationProcedures::ReadToolPosition(std::int32_t (&position)[4]) {
    if (context.link().GetPosition(position, kPositionItems) == kPositionItems) return true;
    context.reporter.Error(kTextError);
    return false;
}

void CalibrationProcedures::TakeToolPosition() {
    if (!context.session.RequireOnline(context.reporter)) return;
    std::int32_t position[kPositionItems] = {};
    if (!ReadToolPosition(position)) return;
    if (context.window != nullptr) {
        context.window->SetItemText(console_id::kToolX, "X:" + std::to_string(position[0]));
        context.window->SetItemText(console_id::kToolY, "Y:" + std::to_string(position[1]));
    }
    tool = ToolPoint{position[0], position[1]};
}

void CalibrationProcedures::CalcWriteLaser() {
    if (!context.session.RequireOnline(context.reporter)) return;
    // Without a remembered tool position there is nothing to measure from.
    if (!tool) {
        context.reporter.Warning(kPressToolPos);
        return;
    }
    std::int32_t position[kPositionItems] = {};
    if (!ReadToolPosition(position)) return;
    ApplyLaserOffset(std::int64_t{tool->x} - position[0], std::int64_t{tool->y} - position[1],
                     true);
    // The edits show the offsets the machine holds now, written or not.
    std::int32_t current[2] = {};
    if (!context.link().GetLaserOffset(current)) {
        context.reporter.Error(kTextError);
        return;
    }
    laserX.SetText(std::to_string(current[0]));
    laserY.SetText(std::to_string(current[1]));
    ShowEdits();
}

void CalibrationProcedures::ApplyY0Offset(std::int64_t value) {
    if (!OffsetAccepted(value)) {
        context.reporter.Warning(kY0Range);
        return;
    }
    const std::int32_t offset = static_cast<std::int32_t>(value);
    if (context.link().SetY0Offset(&offset)) {
        context.log.Written("Y0 offset " + std::to_string(offset) + " (1/100 mm)");
        context.reporter.Completed(kTextCompleted);
    } else {
        context.reporter.Error("error Y");
    }
}

void CalibrationProcedures::WriteY0() {
    if (!context.session.RequireOnline(context.reporter)) return;
    const std::optional<std::string> text = NumberText(y0Offset, false);
    if (text) ApplyY0Offset(ReadInteger(*text));
}

void CalibrationProcedures::CalcWriteY0() {
    if (!context.session.RequireOnline(context.reporter)) return;
    std::int32_t position[kPositionItems] = {};
    if (!ReadToolPosition(position)) return;
    std::int32_t current = 0;
    if (!context.link().GetY0Offset(&current)) {
        context.reporter.Error(kTextError);
        return;
    }
    // Shown before the range test, so that a refused value is seen too.
    const std::int64_t value = std::int64_t{position[1]} - current;
    y0Offset.SetText(std::to_string(value));
    ApplyY0Offset(value);
    ShowEdits();
}

}  // namespace hw
