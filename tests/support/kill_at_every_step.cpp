#include "support/kill_at_every_step.h"

#include "core/staged_files.h"
#include "support/file_contents.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringList>

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

namespace {

// Runs change in a child killed at each step in turn; after each killed
// child afterKill(step) runs here (the start's repair, the test's checks,
// the old state written back). The last child must run change to its end
// with true.
void KillAtEveryStep(const std::function<bool()> &change, const std::function<void(int step)> &afterKill)
{
    // Far more steps than any change here takes: a change that never ends
    // fails rather than runs on.
    constexpr int kMostSteps = 2000;
    const bool failedBefore = testing::Test::HasFailure();
    for (int step = 0; step < kMostSteps; ++step) {
        const pid_t child = fork();
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return;
        }
        if (child == 0) {
            g_stepsLeft = step;
            CStagedFiles::SetCommitStepHook(KillPoint);
            _exit(change() ? 0 : 1);
        }
        int status = 0;
        if (waitpid(child, &status, 0) != child) {
            ADD_FAILURE() << "the child was lost";
            return;
        }
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << "the change failed after " << step << " steps";
            return;
        }
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        SCOPED_TRACE(testing::Message() << "killed at step " << step);
        afterKill(step);
        // One kill that went wrong says it; the next would say it again.
        if (!failedBefore && testing::Test::HasFailure())
            return;
    }
    ADD_FAILURE() << "the change did not end within " << kMostSteps << " steps";
}

// The files a change is judged by: settings and logs are written beside it.
QMap<QString, QByteArray> judgedFiles(const QString &root)
{
    QMap<QString, QByteArray> files = FilesUnder(root);
    files.removeIf([](const auto &file) {
        return file.key().endsWith(QLatin1String(".ini")) || file.key().contains(QLatin1String("/Log/"));
    });
    return files;
}

// Every file under root as it was, and nothing else, folders included.
void writeBack(const QString &root, const QMap<QString, QByteArray> &files)
{
    QDir(root).removeRecursively();
    for (auto file = files.begin(); file != files.end(); ++file) {
        QDir().mkpath(QFileInfo(file.key()).path());
        QFile out(file.key());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(file.value()) == file.value().size()) << file.key().toStdString();
    }
}

} // namespace

KillOutcomes ExpectOldOrNewAfterEveryKill(const QString &root, const std::function<bool()> &change,
                                          const std::function<void()> &recover)
{
    const QMap<QString, QByteArray> everything = FilesUnder(root);
    const QMap<QString, QByteArray> before = judgedFiles(root);
    QList<QPair<int, QMap<QString, QByteArray>>> seen;
    KillAtEveryStep(change, [&](int step) {
        recover();
        seen.append({step, judgedFiles(root)});
        writeBack(root, everything);
    });
    const QMap<QString, QByteArray> after = judgedFiles(root);
    EXPECT_TRUE(after != before) << "the change changed nothing";
    KillOutcomes outcomes;
    for (const auto &[step, files] : seen) {
        if (files == before) {
            ++outcomes.old;
        } else if (files == after) {
            ++outcomes.whole;
        } else {
            QStringList differ;
            for (const QString &path : files.keys() + after.keys()) {
                if (!differ.contains(path) && files.value(path, "<none>") != after.value(path, "<none>"))
                    differ << path;
            }
            ADD_FAILURE() << "killed at step " << step << ", not old, and unlike new: "
                          << differ.join(QLatin1Char(' ')).toStdString();
        }
    }
    return outcomes;
}
