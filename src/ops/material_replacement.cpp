// Material replacement: an existing content takes a new material file under
// its number, so the playlists and schedules that use it stay valid. The old
// files are set aside, not deleted, until the new material is copied, probed
// and its record and list are saved; a failure puts them back.
#include "ops/content_registration.h"

#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/owner_thread.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "core/last_error.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/media_property.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace {

void RemovePath(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        DeleteFolderTree(path, true);
    else
        QFile::remove(path);
}

bool IsLocalPackage(const CPropertyBase &record)
{
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    return media && !media->GetLink().isEmpty() && !IsHttpUrl(media->GetLink()) && !IsAbsolutePath(media->GetLink());
}

} // namespace

// The files of a content's number that a replacement writes anew: moved
// aside at the start, deleted on Commit, put back otherwise.
class CContentRegistration::ReplacedFiles {
public:
    void SetAside(const QString &path)
    {
        if (path.isEmpty() || !QFileInfo(path).exists())
            return;
        const QString aside = path + QStringLiteral(".replacing");
        RemovePath(aside);
        if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0)
            m_moved.append({path, aside});
    }
    void Commit()
    {
        for (const auto &[path, aside] : m_moved)
            RemovePath(aside);
        m_moved.clear();
    }
    ~ReplacedFiles()
    {
        for (const auto &[path, aside] : m_moved) {
            RemovePath(path);
            ::rename(QFile::encodeName(aside).constData(), QFile::encodeName(path).constData());
        }
    }

private:
    QList<std::pair<QString, QString>> m_moved;
};

RegistResult CContentRegistration::ReplaceMaterialWorker(int type, qint32 number, const QString &path)
{
    RegistResult result;
    setProgress(1, 0);
    UpdateContents(type, number, path, result.kind, result.detail);
    setProgress(1, 1);
    post(REGIST_NOTICE_STEP, -1);
    postEnd(REGIST_NOTICE_REPLACE_END, result);
    return result;
}

bool CContentRegistration::UpdateContents(int type, qint32 number, const QString &path, int &kind, quint32 &detail)
{
    kind = REGIST_OK;
    detail = 0;
    m_change = {};
    CContentsList *list = store().GetList(type);
    std::unique_ptr<CPropertyBase> old = CreateProperty(type);
    const int position = RunOnOwnerThread([&] {
        const int found = list ? list->FindCode(number) : -1;
        return found >= 0 && old && list->Get(found, old.get()) ? found : -1;
    });
    if (position < 0) {
        WriteSyslog(LOG_ERR_APP, "UpdateContents : Invalid content type : content type = %d", type);
        kind = REGIST_INTERNAL;
        return false;
    }
    // A web content takes only a package; its files are unpacked like one.
    const int copyType = type == CONTENT_WEB ? CONTENT_TYPE_ANIMATION : type;
    if (type == CONTENT_WEB && GetContentTypeFromFileName(path) != CONTENT_TYPE_ANIMATION) {
        kind = REGIST_PACKAGE_BROKEN;
        return false;
    }
    ReplacedFiles replaced;
    const QString thumbs = ThumbnailFolder(m_env.dataRoot, type);
    QString file;
    for (bool small : {false, true})
        if (!thumbs.isEmpty() && MakeThumbnailPath(thumbs, number, small, file))
            replaced.SetAside(file);
    // A telop replaced by a bitmap is a bitmap telop: its text file goes with
    // the old bitmap, or the editor and a send would take the old text.
    if (type == CONTENT_TELOP)
        for (const QString &telopFile : TelopFolderFiles(TextFolderOf(m_env.dataRoot), number))
            replaced.SetAside(telopFile);
    if (type == CONTENT_WEB && IsLocalPackage(*old))
        replaced.SetAside(PackageFolder(number));

    QString workPath = path;
    if (!copyOrUnpack(-1, copyType, number, workPath, kind, detail))
        return false;
    m_category = CategoryOfPath(path);
    if (!registerByType(-1, type, *list, number, workPath, path, kind, detail)) {
        removeOwnFiles(copyType, number, workPath);
        m_change = {};
        return false;
    }
    const bool saved = RunOnOwnerThread([&] {
        rememberFolder(type, path);
        if (store().SaveLists(type, 1))
            return true;
        detail = GetLastError();
        WriteSyslog(LOG_ERR_APP, "UpdateContents : SaveLists error : content type = %d : error = %u", type, detail);
        list->Update(position, old.get());
        return false;
    });
    if (!saved) {
        removeOwnFiles(copyType, number, workPath);
        m_change = {};
        kind = REGIST_FILE_ERROR;
        return false;
    }
    replaced.Commit();
    deleteOldMaterial(type, *old, workPath);
    return true;
}

void CContentRegistration::deleteOldMaterial(int type, const CPropertyBase &old, const QString &newPath) const
{
    const auto *media = dynamic_cast<const CMediaProperty *>(&old);
    QString oldPath;
    const bool copied = type == CONTENT_MOVIE || type == CONTENT_IMAGE || type == CONTENT_FLASH || type == CONTENT_AUDIO;
    if (!copied || !media || !store().MakeContentFilePath(type, media->GetLink(), oldPath) || oldPath == newPath)
        return;
    QFile::remove(oldPath);
}
