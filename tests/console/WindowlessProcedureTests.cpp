// Procedures run as the command line runs them: against the simulated
// machine, with no window at all, telling their end to a reporter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimulatedConsoleParts.h"
#include "WindowlessProcedures.h"
#include "console/parameters/ReportProcedures.h"

namespace hw {
namespace {

constexpr const char* kSavedBlock = "C:\\Service\\qmv.par";

// Get Parameters saves the machine's block with no file dialog; offline it
// says so and writes nothing.
TEST(WindowlessProcedure, SaveParametersToAGivenPath) {
    struct Case {
        bool plugged;
        std::vector<std::string> told;
        bool saved;
    };
    const Case cases[] = {
        {true, {"completed: Completed"}, true},
        {false, {"error: OFFLINE"}, false},
    };
    for (const Case& c : cases) {
        test::SimulatedConsoleParts parts;
        if (!c.plugged) parts.env.Unplug();
        test::WindowlessProcedures windowless(parts);
        std::optional<ui::Rect> viewerPlace;
        ReportProcedures reports(windowless.context, viewerPlace);

        EXPECT_EQ(reports.SaveParameters(kSavedBlock), c.saved) << c.plugged;
        EXPECT_EQ(windowless.reporter.told, c.told) << c.plugged;
        const auto block = parts.env.Machine().Parameters().Block();
        EXPECT_EQ(parts.files.Text(kSavedBlock),
                  c.saved ? std::optional<std::string>(std::string(block.begin(), block.end()))
                          : std::nullopt);
        EXPECT_TRUE(parts.windows.Boxes().empty());
    }
}

}  // namespace
}  // namespace hw
