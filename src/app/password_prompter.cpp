#include "app/password_prompter.h"

#include "core/message_box.h"

namespace {

IPasswordPrompter *g_prompter = nullptr;

} // namespace

void SetPasswordPrompter(IPasswordPrompter *prompter)
{
    g_prompter = prompter;
}

int PromptPassword(QWidget *owner, int mode)
{
    return g_prompter ? g_prompter->PromptPassword(owner, mode) : IDCANCEL;
}
