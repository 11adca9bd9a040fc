#include "ui/contents/contents_registration.h"

#include "widgets/file_dialog_prompter.h"
#include "core/app_ini.h"
#include "core/path_utils.h"
#include "core/printf_format.h"
#include "core/string_table.h"

#include <QRegularExpression>

namespace {

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

// "Name (*.a; *.b)" as the dialog reads it: "Name (*.a *.b)".
QString dialogFilter(quint32 filterId)
{
    QString filter = LoadString(filterId);
    static const QRegularExpression patterns(QStringLiteral("\\(([^)]*)\\)"));
    const QRegularExpressionMatch match = patterns.match(filter);
    if (match.hasMatch()) {
        const QString list = match.captured(1).replace(QLatin1Char(';'), QLatin1Char(' ')).simplified();
        filter.replace(match.capturedStart(1), match.capturedLength(1), list);
    }
    return filter;
}

FileDialogRequest requestOf(const FileKind &kind, quint32 titleFormatId)
{
    FileDialogRequest request;
    QString extension;
    GetAppIni().GetLastFolder(kind.type, request.folder, extension);
    request.title = FormatText(LoadString(titleFormatId), LoadString(kind.captionId).trimmed());
    request.filter = dialogFilter(kind.filterId);
    request.defaultExt = extension.isEmpty() ? QString::fromLatin1(kind.defaultExt) : extension;
    return request;
}

bool isTakenBy(int type, const QString &path)
{
    const int fileType = GetContentTypeFromFileName(path);
    if (type == 3)
        return fileType == 2 && path.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
    if (type == 4)
        return fileType == CONTENT_TYPE_ANIMATION;
    return fileType == type;
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
    choice.code = type == 4 ? CONTENT_TYPE_ANIMATION : type;
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
