#include "widgets/play_position_prompter.h"

#include "core/staged_files.h"

#include <atomic>

namespace {

std::atomic<IPlayPositionPrompter *> g_playPositionPrompter{nullptr};

} // namespace

void SetPlayPositionPrompter(IPlayPositionPrompter *prompter)
{
    g_playPositionPrompter = prompter;
}

bool PromptPlayPosition(QWidget *owner, InterruptPlayChoice &choice)
{
    IPlayPositionPrompter *prompter = g_playPositionPrompter;
    return prompter && PromptAllowedNow(QStringLiteral("play position")) && prompter->PromptPlayPosition(owner, choice);
}
