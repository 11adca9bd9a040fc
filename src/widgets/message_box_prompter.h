#pragma once
// The message prompter of the running program: every message by string id
// opens a modal message box with the style's buttons and icon, over the
// window that asked (or the active window). Installed by the application
// object for its lifetime.

#include "core/message_box.h"

class CMessageBoxPrompter final : public IMessagePrompter {
public:
    CMessageBoxPrompter();
    ~CMessageBoxPrompter() override;
    CMessageBoxPrompter(const CMessageBoxPrompter &) = delete;
    CMessageBoxPrompter &operator=(const CMessageBoxPrompter &) = delete;

    int prompt(const MessagePrompt &message) override;
};
