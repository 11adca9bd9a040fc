#pragma once
// The short warning sound of a refused key. Tests replace it to count beeps.

#include <functional>

void MessageBeep();
// Installs a replacement; an empty function restores the platform's beep.
void SetBeepHook(std::function<void()> hook);
