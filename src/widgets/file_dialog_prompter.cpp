#include "widgets/file_dialog_prompter.h"

#include "core/staged_files.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
#include <QTreeView>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

IFileDialogPrompter *g_fileDialogPrompter = nullptr;

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

// The names in the dialog's file name box as paths in its folder: each name
// in quotes ("a.mpg" "b.mp4"), or the whole text when it has none.
QStringList TypedPaths(const QFileDialog &dialog)
{
    const auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!edit || edit->text().isEmpty())
        return {};
    const QStringList parts = edit->text().split(QLatin1Char('"'));
    QStringList names;
    if (parts.size() == 1)
        names << parts.first();
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        if (!parts[i].isEmpty())
            names << parts[i];
    }
    QStringList paths;
    for (const QString &name : names)
        paths << QFileInfo(dialog.directory(), name).absoluteFilePath();
    return paths;
}

// The toolkit greys the open button for a typed name that its name filter
// hides, yet Enter opens that file: while names are typed, the button is
// enabled exactly when Enter opens them, that is when each of them exists.
void OpenWhatEnterOpens(QFileDialog &dialog)
{
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    if (!edit || !buttons)
        return;
    QObject::connect(edit, &QLineEdit::textChanged, buttons, [&dialog, buttons] {
        QPushButton *open = buttons->button(QDialogButtonBox::Open);
        const QStringList typed = TypedPaths(dialog);
        if (!open || typed.isEmpty()
            || (dialog.fileMode() != QFileDialog::ExistingFile && dialog.fileMode() != QFileDialog::ExistingFiles))
            return;
        open->setEnabled(std::all_of(typed.begin(), typed.end(), [](const QString &path) { return QFileInfo::exists(path); }));
    });
}

} // namespace

void PrepareFileDialog(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    OpenWhatEnterOpens(dialog);
    dialog.setProxyModel(new CFileDetailsProxy(&dialog));
    // Each column as wide as what it holds once the folder is read, so no
    // date or size is cut short.
    auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    auto *files = dialog.findChild<QFileSystemModel *>();
    if (details && files) {
        QObject::connect(files, &QFileSystemModel::directoryLoaded, details, [details] {
            for (int column = 0; column < details->model()->columnCount(details->rootIndex()); ++column)
                details->resizeColumnToContents(column);
        });
    }
}

QVariant CFileDetailsProxy::data(const QModelIndex &index, int role) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (role != Qt::DisplayRole || !files)
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    switch (index.column()) {
    case kSizeColumn:
        if (files->isDir(source))
            return QIdentityProxyModel::data(index, role);
        return QLocale().formattedDataSize(files->size(source), 1, QLocale::DataSizeTraditionalFormat);
    case kKindColumn:
        // A file's kind comes from the file-type database, in Japanese.
        return files->isDir(source) ? QStringLiteral("フォルダー") : QIdentityProxyModel::data(index, role);
    case kDateColumn:
        return QLocale().toString(files->lastModified(source), QStringLiteral("yyyy/MM/dd hh:mm"));
    default:
        return QIdentityProxyModel::data(index, role);
    }
}

QStringList RunFileDialog(QFileDialog &dialog)
{
    PrepareFileDialog(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QStringList WithTypedFiles(const QFileDialog &dialog, QStringList chosen)
{
    // Names typed as "a.mpg" "b.mp4" that the name filter hides are left out
    // of the dialog's choice without a word; they are handed on, so the
    // caller registers or names each of them.
    for (const QString &path : TypedPaths(dialog)) {
        if (QFileInfo(path).isFile() && !chosen.contains(path))
            chosen.append(path);
    }
    return chosen;
}

void SetFileDialogPrompter(IFileDialogPrompter *prompter)
{
    g_fileDialogPrompter = prompter;
}

namespace {

// The installed prompter, unless no prompt may be shown now.
IFileDialogPrompter *PrompterFor(const FileDialogRequest &request)
{
    return g_fileDialogPrompter && PromptAllowedNow(request.title) ? g_fileDialogPrompter : nullptr;
}

} // namespace

QString PromptSaveFileName(QWidget *owner, const FileDialogRequest &request)
{
    IFileDialogPrompter *prompter = PrompterFor(request);
    return prompter ? prompter->GetSaveFileName(owner, request) : QString();
}

QString PromptOpenFileName(QWidget *owner, const FileDialogRequest &request)
{
    IFileDialogPrompter *prompter = PrompterFor(request);
    return prompter ? prompter->GetOpenFileName(owner, request) : QString();
}

QStringList PromptOpenFileNames(QWidget *owner, const FileDialogRequest &request)
{
    IFileDialogPrompter *prompter = PrompterFor(request);
    return prompter ? prompter->GetOpenFileNames(owner, request) : QStringList();
}

QString PromptExistingFolder(QWidget *owner, const FileDialogRequest &request)
{
    IFileDialogPrompter *prompter = PrompterFor(request);
    return prompter ? prompter->GetExistingFolder(owner, request) : QString();
}

CFileDialogPrompter::CFileDialogPrompter()
{
    SetFileDialogPrompter(this);
}

CFileDialogPrompter::~CFileDialogPrompter()
{
    if (g_fileDialogPrompter == this)
        SetFileDialogPrompter(nullptr);
}

QString CFileDialogPrompter::GetSaveFileName(QWidget *owner, const FileDialogRequest &request)
{
    // The dialog asks before overwriting and hides read-only choices.
    QFileDialog dialog(owner, request.title, StartPath(request), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return WithDefaultExt(RunFileDialog(dialog).value(0), request.defaultExt);
}

QString CFileDialogPrompter::GetOpenFileName(QWidget *owner, const FileDialogRequest &request)
{
    QFileDialog dialog(owner, request.title, StartPath(request), request.filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog).value(0);
}

QStringList CFileDialogPrompter::GetOpenFileNames(QWidget *owner, const FileDialogRequest &request)
{
    QFileDialog dialog(owner, request.title, StartPath(request), request.filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    const QStringList chosen = RunFileDialog(dialog);
    return chosen.isEmpty() ? chosen : WithTypedFiles(dialog, chosen);
}

QString CFileDialogPrompter::GetExistingFolder(QWidget *owner, const FileDialogRequest &request)
{
    QFileDialog dialog(owner, request.title, request.folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return RunFileDialog(dialog).value(0);
}
