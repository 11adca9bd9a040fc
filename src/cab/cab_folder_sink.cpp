#include "cab/cab_folder_sink.h"

#include "cab/cab_format.h"
#include "cab/cab_member_path.h"

#include <QDir>
#include <QFileInfo>

CCabFolderSink::CCabFolderSink(const QString &destination) : m_destination(destination) {}

CabResult CCabFolderSink::makeFolders(const QStringList &parts, QString &path) const
{
    path = m_destination;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path += QLatin1Char('/') + parts.at(i);
        const QFileInfo info(path);
        if (info.isSymLink())
            return CAB_ERR_UNSAFE_MEMBER;
        if (info.isDir())
            continue;
        if (info.exists() || !QDir().mkdir(path))
            return CAB_ERR_DESTINATION_WRITE;
    }
    path += QLatin1Char('/') + parts.last();
    const QFileInfo target(path);
    if (target.isSymLink())
        return CAB_ERR_UNSAFE_MEMBER;
    return target.isDir() ? CAB_ERR_DESTINATION_WRITE : CAB_OK;
}

CabResult CCabFolderSink::BeginMember(const CabMember &member)
{
    m_file.reset();
    QStringList parts;
    if (!SplitSafeRelativePath(member.name, parts))
        return CAB_ERR_UNSAFE_MEMBER;
    QString path;
    const CabResult result = makeFolders(parts, path);
    if (result != CAB_OK)
        return result;
    m_member = member;
    m_file = std::make_unique<QSaveFile>(path);
    return m_file->open(QIODevice::WriteOnly) ? CAB_OK : CAB_ERR_DESTINATION_WRITE;
}

CabResult CCabFolderSink::WriteMember(QByteArrayView data)
{
    return m_file->write(data.data(), data.size()) == data.size() ? CAB_OK : CAB_ERR_DESTINATION_WRITE;
}

CabResult CCabFolderSink::EndMember()
{
    // The stamp is set on the finished temporary file; the rename keeps it.
    if (!m_file->flush())
        return CAB_ERR_DESTINATION_WRITE;
    if (m_member.modified.isValid())
        m_file->setFileTime(m_member.modified, QFileDevice::FileModificationTime);
    if (!m_file->commit())
        return CAB_ERR_DESTINATION_WRITE;
    applyReadOnly();
    m_file.reset();
    return CAB_OK;
}

void CCabFolderSink::applyReadOnly() const
{
    if (!(m_member.attributes & cab::kAttribReadOnly))
        return;
    const QString path = m_file->fileName();
    QFile::setPermissions(path,
                          QFile::permissions(path)
                              & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup
                                  | QFileDevice::WriteOther));
}
