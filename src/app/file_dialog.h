#pragma once
// The system's file dialogs behind one narrow interface that tests replace.

#include <QString>
#include <QStringList>

class QWidget;

class IFileDialogPrompter {
public:
    virtual ~IFileDialogPrompter() = default;
    // Asks for one or more existing files in folder; filter in Qt's form
    // ("Name (*.a *.b);;Other (*)"). Empty when cancelled.
    virtual QStringList GetOpenFileNames(QWidget *owner, const QString &caption, const QString &folder,
                                         const QString &filter) = 0;
};

// Installs the prompter; nullptr restores the system dialog. The caller keeps
// ownership and uninstalls it before destroying it.
void SetFileDialogPrompter(IFileDialogPrompter *prompter);
QStringList PromptOpenFileNames(QWidget *owner, const QString &caption, const QString &folder,
                                const QString &filter);
