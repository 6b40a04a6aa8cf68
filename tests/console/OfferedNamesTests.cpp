// The names the file dialogs offer: the queue's name made fit for a file
// name, with the date, or the date and time.
#include <gtest/gtest.h>

#include "console/files/OfferedNames.h"

namespace hw {
namespace {

TEST(OfferedNames, QueueAndMomentWithUnfitCharactersReplaced) {
    const LocalTime when{2026, 3, 7, 9, 5, 42};
    EXPECT_EQ(DatedFileName("QMV-240", when, ".par"), "QMV-240 2026-03-07.par");
    EXPECT_EQ(StampedFileName("QMV-240", when, ".txt"), "QMV-240 2026-03-07 0905.txt");
    EXPECT_EQ(DatedFileName("\\\\pc\\Q:M/V*?\"<>|\t", when, ".par"),
              "__pc_Q_M_V_______ 2026-03-07.par");
}

}  // namespace
}  // namespace hw
