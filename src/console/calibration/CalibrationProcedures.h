// The correction calibration: the X and Y scale from a test cut, the test
// cut itself, and the laser-pointer and Y0 offsets, typed in or worked out
// from tool positions. Owns the correction edits, the mode of the scale
// edits and the remembered tool position.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "console/ProcedureContext.h"
#include "ui/Controls.h"

namespace hw {

class ProgressDialog;

namespace ui {
class DataExchange;
}

// How the scale edits are read.
enum class CorrectionMode { Percent = 0, Measured = 1 };

class CalibrationProcedures {
  public:
    explicit CalibrationProcedures(const ProcedureContext& context) : context(context) {}

    // The correction, Y0 and laser edits and the mode radio pair.
    void Exchange(ui::DataExchange& dx);
    CorrectionMode Mode() const { return static_cast<CorrectionMode>(mode); }

    // Write X/Y: the two scales from the edits, in the mode last stored.
    void WriteScale();
    // Corr.Cut: the test figure from the settings file, watched until it ends.
    void CorrectionCut();
    void WriteLaser();
    // Tool Pos: the position shown and remembered for Calc & Write.
    void TakeToolPosition();
    void CalcWriteLaser();
    void WriteY0();
    void CalcWriteY0();
    // Another machine is connected: the values typed for the one before and
    // its remembered tool position are cleared; the correction mode stays.
    void Forget();

  private:
    // The offsets are worked out in 64 bits so that no sum or difference of
    // machine values wraps round into the accepted range.
    void ApplyLaserOffset(std::int64_t x, std::int64_t y, bool add);
    void ApplyY0Offset(std::int64_t value);
    // GetPosition for X, Y, Z and A; false, after the "error" box, unless
    // all four came back.
    bool ReadToolPosition(std::int32_t (&position)[4]);
    // The sensors read before a test cut: false, after a box, when the
    // cover is open ("Close the cover first.") or the read failed ("error").
    bool CoverClosed();
    // Sends the test figure; false, after "error", when a piece did not go.
    bool SendTestData();
    // The test cut watched in the progress window until the machine stands
    // ready at its origin again ("Completed"), fails, stops answering, or
    // the technician presses Stop, which stops the machine's motion.
    void WatchTestCut(ProgressDialog& progress);
    // An edit's text, or nullopt after a warning naming it when anything
    // but blanks follows its number (decimal: a scale edit).
    std::optional<std::string> NumberText(const ui::EditControl& edit, bool decimal);
    // The edits shown anew from their values.
    void ShowEdits();

    ProcedureContext context;
    ui::EditControl correctionX;
    ui::EditControl correctionY;
    ui::EditControl correctionZ;
    ui::EditControl y0Offset;
    ui::EditControl laserX;
    ui::EditControl laserY;
    int mode = 0;
    struct ToolPoint {
        std::int32_t x;
        std::int32_t y;
    };
    std::optional<ToolPoint> tool;
};

}  // namespace hw
