#include "support/kill_at_every_step.h"

#include "core/staged_files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace {

int g_stepsLeft = -1;

} // namespace

void KillPoint()
{
    if (g_stepsLeft >= 0 && g_stepsLeft-- == 0)
        raise(SIGKILL);
}

int KillAtEveryStep(const std::function<bool()> &change, const std::function<void(int step)> &afterKill)
{
    // Far more steps than any change here takes: a change that never ends
    // fails rather than runs on.
    constexpr int kMostSteps = 2000;
    for (int step = 0; step < kMostSteps; ++step) {
        const pid_t child = fork();
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return step;
        }
        if (child == 0) {
            g_stepsLeft = step;
            CStagedFiles::SetCommitStepHook(KillPoint);
            _exit(change() ? 0 : 1);
        }
        int status = 0;
        if (waitpid(child, &status, 0) != child) {
            ADD_FAILURE() << "the child was lost";
            return step;
        }
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << "the change failed after " << step << " steps";
            return step;
        }
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        SCOPED_TRACE(testing::Message() << "killed at step " << step);
        afterKill(step);
        if (testing::Test::HasFatalFailure() || testing::Test::HasNonfatalFailure())
            return step;
    }
    ADD_FAILURE() << "the change did not end within " << kMostSteps << " steps";
    return kMostSteps;
}
