#pragma once
// The file dialogs of the frame's operations (save and open a file, choose a
// folder) behind one narrow interface: the program installs the real dialogs,
// tests a scripted fake. Without one, every dialog is cancelled, so nothing
// is written where the operator did not choose.

#include <QIdentityProxyModel>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// What a file dialog is opened with.
struct FileDialogRequest {
    QString title;
    QString folder;      // the folder it starts in
    QString fileName;    // the name it offers
    QString filter;      // "TELV-Q9設定ファイル (*.cab)", from the string table
    QString defaultExt;  // without the point; added to a name typed without one
};

class IFileDialogPrompter {
public:
    virtual ~IFileDialogPrompter() = default;
    // The chosen path; empty when the operator cancelled.
    virtual QString GetSaveFileName(QWidget *owner, const FileDialogRequest &request) = 0;
    virtual QString GetOpenFileName(QWidget *owner, const FileDialogRequest &request) = 0;
    // Several existing files of one folder; empty when cancelled.
    virtual QStringList GetOpenFileNames(QWidget *owner, const FileDialogRequest &request) = 0;
    virtual QString GetExistingFolder(QWidget *owner, const FileDialogRequest &request) = 0;
};

// Installs the prompter; nullptr removes it. The caller keeps ownership.
void SetFileDialogPrompter(IFileDialogPrompter *prompter);
// The installed prompter's answer; empty when there is none.
QString PromptSaveFileName(QWidget *owner, const FileDialogRequest &request);
QString PromptOpenFileName(QWidget *owner, const FileDialogRequest &request);
QStringList PromptOpenFileNames(QWidget *owner, const FileDialogRequest &request);
QString PromptExistingFolder(QWidget *owner, const FileDialogRequest &request);

// The file dialogs' size, kind and date columns in Japanese, dates written
// as the program writes them, whatever the desktop's language: the toolkit
// names a folder's kind and a file's size in the desktop's language, which
// its Japanese translation does not cover.
class CFileDetailsProxy final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    static constexpr int kSizeColumn = 1;
    static constexpr int kKindColumn = 2;
    static constexpr int kDateColumn = 3;
};

// Makes a file dialog ready to show: the program's own dialog (the same on
// every desktop), sizes, kinds and dates in Japanese, and columns that fit
// what they hold.
void PrepareFileDialog(QFileDialog &dialog);

// Shows the prepared dialog; the chosen paths, empty when cancelled.
QStringList RunFileDialog(QFileDialog &dialog);

// The files an accepted several-files dialog chose, with every existing file
// whose name was typed in quotes but that the dialog's name filter left out.
QStringList WithTypedFiles(const QFileDialog &dialog, QStringList chosen);

// The platform's file dialogs; installs itself while it lives.
class CFileDialogPrompter final : public IFileDialogPrompter {
public:
    CFileDialogPrompter();
    ~CFileDialogPrompter() override;
    QString GetSaveFileName(QWidget *owner, const FileDialogRequest &request) override;
    QString GetOpenFileName(QWidget *owner, const FileDialogRequest &request) override;
    QStringList GetOpenFileNames(QWidget *owner, const FileDialogRequest &request) override;
    QString GetExistingFolder(QWidget *owner, const FileDialogRequest &request) override;
};
