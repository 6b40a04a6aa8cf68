// The load checks of the four axes and the aging run: procedures the machine
// runs by itself once started, watched through its status word in the
// progress window until the machine reports the end, stops answering, or the
// technician presses Stop. A procedure found running when the console
// connected may be watched the same way.
#pragma once

#include <string_view>

#include "console/ProcedureContext.h"

namespace hw {

class ProgressDialog;
struct LoadCheckAxis;

class LoadChecks {
  public:
    explicit LoadChecks(const ProcedureContext& context) : context(context) {}

    void CheckLoadX();
    void CheckLoadY();
    void CheckLoadZ();
    void CheckLoadA();
    void StartAging();
    // A procedure found running in the machine when the console connected:
    // the technician may watch it, and stop it, from the console.
    void OfferWatchOfRunning();

  private:
    void RunLoadCheck(const LoadCheckAxis& axis);
    // Sensor polling paused and the owner window disabled under the
    // progress window while the started procedure is watched; endMessages:
    // the end is reported with "Completed" or "Failed". noAnswerText: the
    // warning when the machine stops answering.
    void WatchInProgressWindow(std::string_view caption, std::string_view statusText,
                               bool endMessages, std::string_view noAnswerText);
    void WatchProcedure(ProgressDialog& progress, bool endMessages, std::string_view noAnswerText);

    ProcedureContext context;
};

}  // namespace hw
