#include "widgets/password_prompter.h"

#include "core/message_box.h"
#include "core/staged_files.h"

namespace {

IPasswordPrompter *g_passwordPrompter = nullptr;

} // namespace

void SetPasswordPrompter(IPasswordPrompter *prompter)
{
    g_passwordPrompter = prompter;
}

int PromptPassword(QWidget *owner, int mode)
{
    return g_passwordPrompter && PromptAllowedNow(QStringLiteral("password"))
        ? g_passwordPrompter->PromptPassword(owner, mode)
        : IDCANCEL;
}
