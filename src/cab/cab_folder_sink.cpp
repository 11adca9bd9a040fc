#include "cab/cab_folder_sink.h"
#include "core/atomic_file.h"

#include "cab/cab_format.h"
#include "cab/cab_member_path.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

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

CCabFolderSink::~CCabFolderSink()
{
    discardPartial();
}

CabResult CCabFolderSink::BeginMember(const CabMember &member)
{
    discardPartial();
    QStringList parts;
    if (!SplitSafeRelativePath(member.name, parts))
        return CAB_ERR_UNSAFE_MEMBER;
    QString path;
    const CabResult result = makeFolders(parts, path);
    if (result != CAB_OK)
        return result;
    m_member = member;
    m_target = path;
    return openPartial() ? CAB_OK : CAB_ERR_DESTINATION_WRITE;
}

// The new file gets a name of its own beside the target. It is created
// exclusively, so an existing file or link of that name is never followed or
// reused; a taken name is tried again with other letters.
bool CCabFolderSink::openPartial()
{
    constexpr int kNameAttempts = 8;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        m_file.setFileName(TemporaryPathFor(m_target));
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
    }
    return false;
}

void CCabFolderSink::discardPartial()
{
    if (!m_file.isOpen())
        return;
    m_file.close();
    QFile::remove(m_file.fileName());
}

CabResult CCabFolderSink::WriteMember(QByteArrayView data)
{
    return m_file.write(data.data(), data.size()) == data.size() ? CAB_OK : CAB_ERR_DESTINATION_WRITE;
}

// The stamp is set on the finished file before the rename, which keeps it.
// The file is not flushed to the disk first: like the files copied into the
// library, an extracted file is only guaranteed never to be seen half-written,
// and waiting for the disk file by file made extraction several times slower.
CabResult CCabFolderSink::EndMember()
{
    if (m_member.modified.isValid())
        m_file.setFileTime(m_member.modified, QFileDevice::FileModificationTime);
    const QString partial = m_file.fileName();
    m_file.close();
    if (m_file.error() != QFileDevice::NoError
        || ::rename(QFile::encodeName(partial).constData(), QFile::encodeName(m_target).constData()) != 0) {
        QFile::remove(partial);
        return CAB_ERR_DESTINATION_WRITE;
    }
    applyReadOnly();
    return CAB_OK;
}

void CCabFolderSink::applyReadOnly() const
{
    if (!(m_member.attributes & cab::kAttribReadOnly))
        return;
    QFile::setPermissions(m_target,
                          QFile::permissions(m_target)
                              & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup
                                  | QFileDevice::WriteOther));
}
