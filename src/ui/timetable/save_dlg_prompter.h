#pragma once
// The dialogs of a playlist or schedule save: the schedule setting dialog and
// the property dialog. Installed for its lifetime.

#include "widgets/save_dialog_prompter.h"

class CSaveDlgPrompter final : public ISaveDialogPrompter {
public:
    CSaveDlgPrompter();
    ~CSaveDlgPrompter() override;
    bool AskScheduleSet(QWidget *owner, ScheduleSetBlock &block) override;
    bool AskProperty(QWidget *owner, QString &info, QString &title) override;
};
