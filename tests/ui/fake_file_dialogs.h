#pragma once
// File dialogs for tests: installed for its lifetime, it records every request
// (and the window it was opened over) and answers with the queued paths (an empty path is a cancel). A dialog
// nobody scripted is cancelled. An answer to a dialog of several files holds
// them separated by line breaks. Every filter line a dialog shows names its
// files in the window's Japanese.

#include "widgets/file_dialog_prompter.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

class FakeFileDialogs final : public IFileDialogPrompter {
public:
    FakeFileDialogs() { SetFileDialogPrompter(this); }
    ~FakeFileDialogs() override { SetFileDialogPrompter(nullptr); }
    QString GetSaveFileName(QWidget *owner, const FileDialogRequest &request) override { return next(owner, request); }
    QString GetOpenFileName(QWidget *owner, const FileDialogRequest &request) override { return next(owner, request); }
    QString GetExistingFolder(QWidget *owner, const FileDialogRequest &request) override { return next(owner, request); }
    QStringList GetOpenFileNames(QWidget *owner, const FileDialogRequest &request) override
    {
        const QString answer = next(owner, request);
        return answer.isEmpty() ? QStringList() : answer.split(QLatin1Char('\n'));
    }

    QStringList answers;
    QList<FileDialogRequest> requests;
    QList<QWidget *> owners;

private:
    static void expectJapaneseFilter(const QString &filter)
    {
        for (const QString &line : filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
            const QString words = line.section(QLatin1Char('('), 0, 0);
            EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](QChar c) { return c.unicode() > 0x7F; }))
                << line.toStdString();
        }
    }

    QString next(QWidget *owner, const FileDialogRequest &request)
    {
        expectJapaneseFilter(request.filter);
        requests.append(request);
        owners.append(owner);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};
