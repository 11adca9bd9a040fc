#include "app/play_position_prompter.h"

#include <atomic>

namespace {

std::atomic<IPlayPositionPrompter *> g_prompter{nullptr};

} // namespace

void SetPlayPositionPrompter(IPlayPositionPrompter *prompter)
{
    g_prompter = prompter;
}

bool PromptPlayPosition(QWidget *owner, InterruptPlayChoice &choice)
{
    IPlayPositionPrompter *prompter = g_prompter;
    return prompter && prompter->PromptPlayPosition(owner, choice);
}
