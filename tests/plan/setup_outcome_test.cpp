#include "plan/setup_outcome.h"

#include <gtest/gtest.h>

#include "prereq/exit_code_list.h"

TEST(SetupOutcome, ExitCodesAndTheSearchAfterwardsDecideWhatASetupDid) {
  // The defaults, and lists that replace them; 1641 and 1618 keep their meaning.
  EXPECT_EQ(ClassifyExitCode(0, "", ""), SetupOutcome::Success);
  EXPECT_EQ(ClassifyExitCode(1638, "", ""), SetupOutcome::Success);
  EXPECT_EQ(ClassifyExitCode(1707, "", ""), SetupOutcome::Success);
  EXPECT_EQ(ClassifyExitCode(3010, "", ""), SetupOutcome::Restart);
  EXPECT_EQ(ClassifyExitCode(1603, "", ""), SetupOutcome::Failed);
  EXPECT_EQ(ClassifyExitCode(1641, "1641", ""), SetupOutcome::RestartStarted);
  EXPECT_EQ(ClassifyExitCode(1618, "0,1618", ""), SetupOutcome::Busy);
  EXPECT_EQ(ClassifyExitCode(5, "0, 5", ""), SetupOutcome::Success);
  EXPECT_EQ(ClassifyExitCode(1638, "0, 5", ""), SetupOutcome::Failed);
  EXPECT_EQ(ClassifyExitCode(3010, "", "1"), SetupOutcome::Failed);
  EXPECT_EQ(ClassifyExitCode(1, "", "1"), SetupOutcome::Restart);
  // A malformed list counts as not given.
  EXPECT_EQ(ClassifyExitCode(1638, "0;5", ""), SetupOutcome::Success);

  EXPECT_EQ(ResultOf(SetupOutcome::Success, true), PrereqResult::Installed);
  EXPECT_EQ(ResultOf(SetupOutcome::Success, false), PrereqResult::Failed);
  EXPECT_EQ(ResultOf(SetupOutcome::Restart, true), PrereqResult::RestartPending);
  EXPECT_EQ(ResultOf(SetupOutcome::Restart, false), PrereqResult::RestartFirst);
  EXPECT_FALSE(StopsUnattendedRun(PrereqResult::RestartPending));
  EXPECT_TRUE(StopsUnattendedRun(PrereqResult::RestartFirst));
  EXPECT_TRUE(StopsUnattendedRun(PrereqResult::Busy));
}

TEST(ExitCodeList, AcceptsOnlyCommaSeparatedDecimalCodes) {
  EXPECT_EQ(ExitCodeListHas(" 0 , 3010\t", 3010), 1);
  EXPECT_EQ(ExitCodeListHas("4294967295", 4294967295u), 1);
  EXPECT_EQ(ExitCodeListHas("12", 1), 0);
  for (const char *bad : {"", " ", "1,", ",1", "1 2", "1;2", "-1", "0x10", "4294967296"}) {
    EXPECT_EQ(ExitCodeListHas(bad, 1), -1) << bad;
  }
}
