#include "widgets/password_prompter.h"

#include "core/message_box.h"

namespace {

IPasswordPrompter *g_passwordPrompter = nullptr;

} // namespace

void SetPasswordPrompter(IPasswordPrompter *prompter)
{
    g_passwordPrompter = prompter;
}

int PromptPassword(QWidget *owner, int mode)
{
    return g_passwordPrompter ? g_passwordPrompter->PromptPassword(owner, mode) : IDCANCEL;
}
