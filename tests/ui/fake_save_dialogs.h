#pragma once
// The dialogs of a playlist or schedule save, answered as the test sets:
// the schedule block given back, a category and an empty title.

#include "widgets/save_dialog_prompter.h"

class FakeSaveDialogs final : public ISaveDialogPrompter {
public:
    FakeSaveDialogs() { SetSaveDialogPrompter(this); }
    ~FakeSaveDialogs() override { SetSaveDialogPrompter(nullptr); }
    bool AskScheduleSet(QWidget *, ScheduleSetBlock &asked) override
    {
        ++scheduleAsks;
        asked = block;
        return accept;
    }
    bool AskProperty(QWidget *, QString &info, QString &title) override
    {
        info = QStringLiteral("music");
        title = QString();
        return accept;
    }
    ScheduleSetBlock block;
    bool accept = true;
    int scheduleAsks = 0;
};
