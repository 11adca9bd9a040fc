#pragma once
// The dialogs a playlist or schedule save asks (the schedule setting dialog
// and the property dialog of a background-music list) behind one narrow
// interface: the timetable area installs its dialogs, tests a scripted fake.
// Without one every dialog is cancelled, so nothing is saved unasked.

#include "ops/playlist_storage.h"

#include <QString>

class QWidget;

class ISaveDialogPrompter {
public:
    virtual ~ISaveDialogPrompter() = default;
    // The schedule setting dialog over the block; false when cancelled.
    virtual bool AskScheduleSet(QWidget *owner, ScheduleSetBlock &block) = 0;
    // The property dialog: category and title; false when cancelled.
    virtual bool AskProperty(QWidget *owner, QString &info, QString &title) = 0;
};

// Installs the prompter; nullptr removes it. The caller keeps ownership.
void SetSaveDialogPrompter(ISaveDialogPrompter *prompter);
bool PromptScheduleSet(QWidget *owner, ScheduleSetBlock &block);
bool PromptProperty(QWidget *owner, QString &info, QString &title);
