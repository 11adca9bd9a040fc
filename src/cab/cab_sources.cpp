#include "cab/cab_sources.h"

#include "cab/cab_format.h"
#include "cab/cab_member_path.h"

#include <QDir>
#include <QFileInfo>

namespace {

quint16 AttributesOf(const QFileInfo &info)
{
    quint16 attributes = cab::kAttribArchive;
    if (!(info.permissions() & QFileDevice::WriteOwner))
        attributes |= cab::kAttribReadOnly;
    return attributes;
}

CabSourceFile SourceOf(const QFileInfo &info, const QStringList &memberParts)
{
    CabSourceFile file;
    file.path = info.absoluteFilePath();
    file.memberName = JoinCabMemberName(memberParts);
    file.size = info.size();
    file.modified = info.lastModified();
    file.attributes = AttributesOf(info);
    return file;
}

// The files of a folder in name order, then its sub-folders the same way.
// Links to folders are not followed, so a link loop cannot recur forever.
void AddFolder(const QDir &folder, const QStringList &memberParts, QList<CabSourceFile> &files)
{
    const QFileInfoList entries
        = folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : entries)
        files.append(SourceOf(info, memberParts + QStringList {info.fileName()}));
    const QFileInfoList folders
        = folder.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &info : folders)
        AddFolder(QDir(info.absoluteFilePath()), memberParts + QStringList {info.fileName()}, files);
}

bool IsPattern(const QString &part)
{
    return part.contains(QLatin1Char('*')) || part.contains(QLatin1Char('?'));
}

void AddPattern(const QDir &root, const QStringList &parts, QList<CabSourceFile> &files)
{
    const QStringList folderParts = parts.mid(0, parts.size() - 1);
    QDir folder(root.filePath(folderParts.join(QLatin1Char('/'))));
    const QFileInfoList matches = folder.entryInfoList(QStringList {parts.last()},
                                                       QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                                                       QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : matches)
        files.append(SourceOf(info, folderParts + QStringList {info.fileName()}));
}

CabResult AddEntry(const QDir &root, const QString &entry, QList<CabSourceFile> &files)
{
    QStringList parts;
    if (!SplitSafeRelativePath(entry, parts))
        return CAB_ERR_UNSAFE_PATH;
    if (IsPattern(parts.last())) {
        AddPattern(root, parts, files);
        return CAB_OK;
    }
    const QFileInfo info(root.filePath(parts.join(QLatin1Char('/'))));
    if (info.isDir()) {
        AddFolder(QDir(info.absoluteFilePath()), parts, files);
        return CAB_OK;
    }
    if (!info.isFile())
        return CAB_ERR_SOURCE_MISSING;
    files.append(SourceOf(info, parts));
    return CAB_OK;
}

} // namespace

CabResult CollectCabSources(const QString &sourceFolder, const QStringList &entries, QList<CabSourceFile> &files)
{
    files.clear();
    const QDir root(sourceFolder);
    if (!root.exists())
        return CAB_ERR_SOURCE_MISSING;
    if (entries.isEmpty()) {
        AddFolder(root, {}, files);
        return CAB_OK;
    }
    for (const QString &entry : entries) {
        const CabResult result = AddEntry(root, entry, files);
        if (result != CAB_OK)
            return result;
    }
    return CAB_OK;
}
