#include "widgets/beep.h"

#include <QApplication>

namespace {

std::function<void()> &beepHook()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

void MessageBeep()
{
    if (beepHook())
        beepHook()();
    else
        QApplication::beep();
}

void SetBeepHook(std::function<void()> hook)
{
    beepHook() = std::move(hook);
}
