#pragma once
// A change killed at each of its steps in turn: a child process runs it and
// is killed at its n-th step, n = 0, 1, ..., until a child runs it to its
// end. The steps are every disk step of a staged set (the sets' step hook)
// and every KillPoint the change itself passes.

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>

// A step at which the child of ExpectOldOrNewAfterEveryKill may be killed.
void KillPoint();

// How the kills of ExpectOldOrNewAfterEveryKill left the files.
struct KillOutcomes {
    int old = 0;
    int whole = 0; // as the whole change leaves them
};

// Kills change at each step in turn; after each kill recover runs (the
// start's repair), and every file under root must then be as it was or as
// the whole change leaves it: no more, no less, byte for byte (settings
// files and logs aside). The old files are written back after each kill;
// at the end the files are as the whole change left them.
KillOutcomes ExpectOldOrNewAfterEveryKill(const QString &root, const std::function<bool()> &change,
                                          const std::function<void()> &recover);
