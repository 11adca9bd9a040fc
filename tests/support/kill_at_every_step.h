#pragma once
// A change killed at each of its steps in turn: a child process runs it and
// is killed at its n-th step, n = 0, 1, ..., until a child runs it to its
// end. The steps are every disk step of a staged set (the sets' step hook)
// and every KillPoint the change itself passes.

#include <functional>

// A step at which the child of KillAtEveryStep may be killed.
void KillPoint();

// Runs change in a child killed at each step in turn; after each killed
// child afterKill(step) runs here (the start's repair, the test's checks,
// the old state written back). The last child must run change to its end
// with true. Returns how many children were killed.
int KillAtEveryStep(const std::function<bool()> &change, const std::function<void(int step)> &afterKill);
