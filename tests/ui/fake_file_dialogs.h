#pragma once
// File dialogs for tests: installed for its lifetime, it records every request
// and answers with the queued paths (an empty path is a cancel). A dialog
// nobody scripted is cancelled. An answer to a dialog of several files holds
// them separated by line breaks.

#include "app/file_dialog_prompter.h"

#include <QList>
#include <QStringList>

class FakeFileDialogs final : public IFileDialogPrompter {
public:
    FakeFileDialogs() { SetFileDialogPrompter(this); }
    ~FakeFileDialogs() override { SetFileDialogPrompter(nullptr); }
    QString GetSaveFileName(QWidget *, const FileDialogRequest &request) override { return next(request); }
    QString GetOpenFileName(QWidget *, const FileDialogRequest &request) override { return next(request); }
    QString GetExistingFolder(QWidget *, const FileDialogRequest &request) override { return next(request); }
    QStringList GetOpenFileNames(QWidget *, const FileDialogRequest &request) override
    {
        const QString answer = next(request);
        return answer.isEmpty() ? QStringList() : answer.split(QLatin1Char('\n'));
    }

    QStringList answers;
    QList<FileDialogRequest> requests;

private:
    QString next(const FileDialogRequest &request)
    {
        requests.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};
