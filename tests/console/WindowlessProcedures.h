// What a procedure runs with on the command line, against the simulated
// machine: its own session connected to the first machine, an activity log,
// a reporter that records, sensor polling that is not there, and no window.
#pragma once

#include "SimulatedConsoleParts.h"
#include "console/MachineSession.h"
#include "console/ProcedureContext.h"
#include "console/bundle/ActivityLog.h"
#include "console/bundle/ProcedureLog.h"
#include "fakes/RecordingReporter.h"

namespace hw::test {

class NoPolling final : public SensorPolling {
  public:
    void Pause() override {}
    void Resume() override {}
};

struct WindowlessProcedures {
    explicit WindowlessProcedures(SimulatedConsoleParts& parts)
        : parts(parts), session(parts.link) {
        session.ConnectFirst();
    }

    SimulatedConsoleParts& parts;
    MachineSession session;
    ActivityLog activity{parts.link.system};
    ProcedureLog log{activity, session.Link()};
    RecordingReporter reporter;
    NoPolling polling;
    ProgramPaths paths;
    ProcedureContext context{session, reporter, parts.services.Procedures(), log, polling,
                             paths,   nullptr};
};

}  // namespace hw::test
