// The wizard's exit code from the runs a person made before leaving.
#include <gtest/gtest.h>

#include <vector>

#include "setup/portable/WizardOutcome.h"

using pub::ExitCode;

namespace {

ExitCode After(const std::vector<ExitCode>& runs) {
  pub::WizardOutcome outcome;
  for (ExitCode run : runs) outcome.RunEnded(run);
  return outcome.Code();
}

}  // namespace

TEST(WizardOutcome, TheLastRunDecidesAndLeavingBeforeAnyRunIsACancel) {
  struct Case {
    std::vector<ExitCode> runs;
    ExitCode expected;
  };
  const Case cases[] = {
      {{}, ExitCode::UserCancelled},
      {{ExitCode::Done}, ExitCode::Done},
      {{ExitCode::Failed}, ExitCode::Failed},
      // A failure keeps its own code: the port, the disk, the package.
      {{ExitCode::PortTaken}, ExitCode::PortTaken},
      {{ExitCode::DiskFull}, ExitCode::DiskFull},
      // Tried again after a failure, and done.
      {{ExitCode::Failed, ExitCode::Done}, ExitCode::Done},
      // A fresh install: the removal went, the install that followed failed.
      {{ExitCode::Done, ExitCode::Failed}, ExitCode::Failed},
      // A removal that left files for the restart, then the fresh install: the files still wait.
      {{ExitCode::DoneRestartNeeded, ExitCode::Done}, ExitCode::DoneRestartNeeded},
      {{ExitCode::DoneRestartNeeded, ExitCode::PortTaken}, ExitCode::PortTaken},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.runs.size());
    EXPECT_EQ(static_cast<int>(After(c.runs)), static_cast<int>(c.expected));
  }
}

TEST(WizardOutcome, AWizardThatCouldNotStartEndsWithItsReason) {
  pub::WizardOutcome outcome;
  outcome.StoppedAtStart(ExitCode::PackageProblem);
  EXPECT_EQ(outcome.Code(), ExitCode::PackageProblem);
}

TEST(ExitCode, TheCodesDeploymentToolsKnowKeepTheirValues) {
  EXPECT_EQ(pub::ToInt(ExitCode::UserCancelled), 1602);
  EXPECT_EQ(pub::ToInt(ExitCode::DoneRestartNeeded), 3010);
  EXPECT_EQ(pub::ToInt(ExitCode::Downgrade), 7);
}
