#include "app/file_dialog_prompter.h"

#include <QDir>
#include <QFileDialog>

namespace {

IFileDialogPrompter *g_prompter = nullptr;

QString StartPath(const FileDialogRequest &request)
{
    return request.fileName.isEmpty() ? request.folder : QDir(request.folder).filePath(request.fileName);
}

// A name typed without an extension gets the dialog's default one.
QString WithDefaultExt(const QString &path, const QString &ext)
{
    if (path.isEmpty() || ext.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + ext;
}

} // namespace

void SetFileDialogPrompter(IFileDialogPrompter *prompter)
{
    g_prompter = prompter;
}

QString PromptSaveFileName(QWidget *owner, const FileDialogRequest &request)
{
    return g_prompter ? g_prompter->GetSaveFileName(owner, request) : QString();
}

QString PromptOpenFileName(QWidget *owner, const FileDialogRequest &request)
{
    return g_prompter ? g_prompter->GetOpenFileName(owner, request) : QString();
}

QStringList PromptOpenFileNames(QWidget *owner, const FileDialogRequest &request)
{
    return g_prompter ? g_prompter->GetOpenFileNames(owner, request) : QStringList();
}

QString PromptExistingFolder(QWidget *owner, const FileDialogRequest &request)
{
    return g_prompter ? g_prompter->GetExistingFolder(owner, request) : QString();
}

CFileDialogPrompter::CFileDialogPrompter()
{
    SetFileDialogPrompter(this);
}

CFileDialogPrompter::~CFileDialogPrompter()
{
    if (g_prompter == this)
        SetFileDialogPrompter(nullptr);
}

QString CFileDialogPrompter::GetSaveFileName(QWidget *owner, const FileDialogRequest &request)
{
    // The platform dialog asks before overwriting and hides read-only choices.
    const QString path = QFileDialog::getSaveFileName(owner, request.title, StartPath(request), request.filter);
    return WithDefaultExt(path, request.defaultExt);
}

QString CFileDialogPrompter::GetOpenFileName(QWidget *owner, const FileDialogRequest &request)
{
    return QFileDialog::getOpenFileName(owner, request.title, StartPath(request), request.filter);
}

QStringList CFileDialogPrompter::GetOpenFileNames(QWidget *owner, const FileDialogRequest &request)
{
    return QFileDialog::getOpenFileNames(owner, request.title, StartPath(request), request.filter);
}

QString CFileDialogPrompter::GetExistingFolder(QWidget *owner, const FileDialogRequest &request)
{
    return QFileDialog::getExistingDirectory(owner, request.title, request.folder);
}
