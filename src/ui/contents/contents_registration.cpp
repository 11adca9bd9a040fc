#include "ui/contents/contents_registration.h"

#include "widgets/file_dialog_prompter.h"
#include "core/app_ini.h"
#include "core/path_utils.h"
#include "core/printf_format.h"
#include "core/string_table.h"

#include <QRegularExpression>

namespace {

constexpr quint32 kTextAllAccepted = 5443;

struct FileKind {
    int type;
    quint32 filterId;
    const char *defaultExt;
    quint32 captionId;
};

// Telop bitmaps are ".bmp" files only: a JPEG is a still, not a telop.
constexpr FileKind kFileKinds[] = {
    {1, 5879, "mpg", 5681}, {2, 5880, "jpg", 5683}, {3, 5881, "bmp", 5949},
    {4, 6022, "dscc", 5948}, {5, 5882, "swf", 5685}, {6, 5883, "wav", 5687},
};

const FileKind *kindOf(int type)
{
    for (const FileKind &kind : kFileKinds) {
        if (kind.type == type)
            return &kind;
    }
    return nullptr;
}

// The file type (GetContentTypeFromFileName) the dialog of a type registers:
// the URL type's dialog takes animation files.
int fileTypeOf(int type)
{
    return type == 4 ? CONTENT_TYPE_ANIMATION : type;
}

// Every file the registration of a dialog's type takes, as patterns.
QStringList acceptedPatterns(int type)
{
    // A telop is a bitmap only (see isTakenBy).
    const QStringList extensions =
        type == 3 ? QStringList{QStringLiteral(".bmp")} : ExtensionsOfContentType(fileTypeOf(type));
    QStringList patterns;
    for (const QString &extension : extensions)
        patterns.append(QLatin1Char('*') + extension);
    return patterns;
}

// The type's filter of the string table as the dialog reads it
// ("Name (*.a *.b)"). When it leaves out some file the registration takes,
// a line of every such file comes first, so the dialog opens showing them
// all; the table's line stays as the second.
QString dialogFilter(const FileKind &kind)
{
    QString filter = LoadString(kind.filterId);
    QStringList listed;
    static const QRegularExpression patterns(QStringLiteral("\\(([^)]*)\\)"));
    const QRegularExpressionMatch match = patterns.match(filter);
    if (match.hasMatch()) {
        listed = match.captured(1).replace(QLatin1Char(';'), QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        filter.replace(match.capturedStart(1), match.capturedLength(1), listed.join(QLatin1Char(' ')));
    }
    const QStringList accepted = acceptedPatterns(kind.type);
    for (const QString &pattern : accepted) {
        if (!listed.contains(pattern, Qt::CaseInsensitive))
            return FormatString(kTextAllAccepted, accepted.join(QLatin1Char(' '))) + QStringLiteral(";;") + filter;
    }
    return filter;
}

FileDialogRequest requestOf(const FileKind &kind, quint32 titleFormatId)
{
    FileDialogRequest request;
    QString extension;
    GetAppIni().GetLastFolder(kind.type, request.folder, extension);
    request.title = FormatText(LoadString(titleFormatId), LoadString(kind.captionId).trimmed());
    request.filter = dialogFilter(kind);
    request.defaultExt = extension.isEmpty() ? QString::fromLatin1(kind.defaultExt) : extension;
    return request;
}

bool isTakenBy(int type, const QString &path)
{
    const int fileType = GetContentTypeFromFileName(path);
    if (type == 3)
        return fileType == 2 && path.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
    return fileType == fileTypeOf(type);
}

} // namespace

bool CanRegisterFiles(int type)
{
    return kindOf(type) != nullptr;
}

RegistrationChoice PromptRegistrationFiles(QWidget *owner, int type)
{
    RegistrationChoice choice;
    const FileKind *kind = kindOf(type);
    if (!kind)
        return choice;
    choice.code = fileTypeOf(type);
    for (const QString &path : PromptOpenFileNames(owner, requestOf(*kind, 5635))) {
        if (isTakenBy(type, path))
            choice.taken.append(path);
        else
            choice.refused.append(path);
    }
    return choice;
}

QString PromptReplacementFile(QWidget *owner, int type)
{
    const FileKind *kind = kindOf(type);
    return kind ? PromptOpenFileName(owner, requestOf(*kind, 5644)) : QString();
}
