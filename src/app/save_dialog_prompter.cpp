#include "app/save_dialog_prompter.h"

namespace {

ISaveDialogPrompter *g_prompter = nullptr;

} // namespace

void SetSaveDialogPrompter(ISaveDialogPrompter *prompter)
{
    g_prompter = prompter;
}

bool PromptScheduleSet(QWidget *owner, ScheduleSetBlock &block)
{
    return g_prompter && g_prompter->AskScheduleSet(owner, block);
}

bool PromptProperty(QWidget *owner, QString &info, QString &title)
{
    return g_prompter && g_prompter->AskProperty(owner, info, title);
}
