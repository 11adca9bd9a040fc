#include "widgets/save_dialog_prompter.h"

#include "core/staged_files.h"

namespace {

ISaveDialogPrompter *g_saveDialogPrompter = nullptr;

} // namespace

void SetSaveDialogPrompter(ISaveDialogPrompter *prompter)
{
    g_saveDialogPrompter = prompter;
}

bool PromptScheduleSet(QWidget *owner, ScheduleSetBlock &block)
{
    return g_saveDialogPrompter && PromptAllowedNow(QStringLiteral("schedule set"))
        && g_saveDialogPrompter->AskScheduleSet(owner, block);
}

bool PromptProperty(QWidget *owner, QString &info, QString &title)
{
    return g_saveDialogPrompter && PromptAllowedNow(QStringLiteral("property"))
        && g_saveDialogPrompter->AskProperty(owner, info, title);
}
