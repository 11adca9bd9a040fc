// The batch and the per-file road of content registration.
#include "ops/content_registration.h"

#include "core/app_ini.h"
#include "core/clock.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/owner_thread.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/thumbnail_maker.h"
#include "ops/local_page_site.h"
#include "ops/save_number.h"
#include "ops/web_thumbnail.h"

#include <QFile>
#include <QStorageInfo>

namespace {

constexpr std::chrono::milliseconds kPauseAfterFile{100};
constexpr std::chrono::milliseconds kPauseBeforeEnd{500};

bool StorageFreeSpace(const QString &folder, quint64 &bytes)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid() || storage.bytesAvailable() < 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    bytes = quint64(storage.bytesAvailable());
    return true;
}

// Types whose file is copied into the content folder of the type.
bool IsCopiedType(int type)
{
    return type == CONTENT_MOVIE || type == CONTENT_IMAGE || type == CONTENT_FLASH || type == CONTENT_AUDIO;
}

} // namespace

CContentRegistration::CContentRegistration(RegistEnvironment environment)
    : m_env(std::move(environment))
{
    if (!m_env.store)
        m_env.store = &GetContentFolders();
    if (m_env.dataRoot.isEmpty())
        m_env.dataRoot = GetAppData().GetDataRoot();
    if (!m_env.freeSpace)
        m_env.freeSpace = StorageFreeSpace;
    if (!m_env.thumbnails)
        m_env.thumbnails = GetUrlThumbnailMaker();
}

CContentsStore &CContentRegistration::store() const
{
    return *m_env.store;
}

void CContentRegistration::post(int notice, qint32 wParam, qint32 lParam) const
{
    if (m_env.post)
        m_env.post(notice, wParam, lParam);
}

bool CContentRegistration::isCancelled() const
{
    return m_env.progress && m_env.progress->IsCancelled();
}

void CContentRegistration::setProgress(quint64 total, quint64 transferred) const
{
    if (m_env.progress)
        m_env.progress->SetProgress(total, transferred);
}

bool CContentRegistration::queryFreeSpace(const QString &folder, quint64 &bytes) const
{
    return m_env.freeSpace(folder, bytes);
}

void CContentRegistration::pause(std::chrono::milliseconds duration) const
{
    Clock().sleepFor(duration);
}

void CContentRegistration::postEnd(int notice, const RegistResult &result) const
{
    // The window's bar shows the last file full for a moment before it closes.
    pause(kPauseBeforeEnd);
    post(notice, result.kind, qint32(result.detail));
}

QString CContentRegistration::CategoryOfPath(const QString &path)
{
    QString folder;
    if (!SplitPath(path, nullptr, &folder, nullptr, nullptr))
        return {};
    folder = WithoutTrailingSeparator(folder);
    const qsizetype cut = qMax(folder.lastIndexOf(u'/'), folder.lastIndexOf(u'\\'));
    return folder.mid(cut + 1).left(CPropertyBase::kMaxInfo);
}

QString CContentRegistration::PackageFolder(qint32 number) const
{
    return WebContentOwnFolder(store(), number);
}

// ---- The batch ------------------------------------------------------------------

RegistResult CContentRegistration::AddContentsFilesWorker(const QStringList &files, int type)
{
    RegistResult result;
    m_failedFile.clear();
    bool stopped = false;
    int index = 0;
    for (; index < files.size(); ++index) {
        if (isCancelled()) {
            result.kind = REGIST_CANCELLED;
            stopped = true;
            break;
        }
        const int fileType = type != 0 ? type : GetContentTypeFromFileName(files[index]);
        setProgress(1, 0);
        if (!AddContents(index, fileType, files[index], result.kind, result.detail)) {
            stopped = true;
            break;
        }
        if (isCancelled()) {
            result.kind = REGIST_CANCELLED;
            stopped = true;
            break;
        }
        setProgress(1, 1);
        post(REGIST_NOTICE_STEP, index);
        pause(kPauseAfterFile);
    }
    if (stopped && result.kind != REGIST_OK)
        m_failedFile = files[index];
    postEnd(REGIST_NOTICE_END, result);
    return result;
}

bool CContentRegistration::AddContents(int index, int type, const QString &path, int &kind, quint32 &detail)
{
    kind = REGIST_OK;
    detail = 0;
    const int listType = type == CONTENT_TYPE_ANIMATION ? CONTENT_WEB : type;
    CContentsList *list = store().GetList(listType);
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "AddContents : Invalid content type : content type = %d", listType);
        kind = REGIST_INTERNAL;
        return false;
    }
    if (!RunOnOwnerThread([&] { return checkListRoom(*list, listType, kind, detail); }))
        return false;
    int counter = 0;
    const qint32 number = RunOnOwnerThread([&] { return store().GetNewCode(listType, counter); });
    if (number < 0) {
        WriteSyslog(LOG_ERR_APP, "AddContents : GetNewContentsIndex error : content type = %d", listType);
        kind = REGIST_INTERNAL;
        return false;
    }
    QString workPath = path;
    if (!copyOrUnpack(index, type, number, workPath, kind, detail))
        return false;
    m_category = CategoryOfPath(path);
    if (!registerByType(index, listType, *list, number, workPath, path, kind, detail)
        || !saveAfterRegistration(listType, number, counter, path, kind, detail)) {
        removeOwnFiles(type, number, workPath);
        return false;
    }
    if (listType == CONTENT_WEB && IsAbsolutePath(workPath)
        && IsLocalPageServedAlone(workPath, m_env.dataRoot, PackageFolder(number)))
        m_pagesShownAlone << workPath;
    return true;
}

bool CContentRegistration::checkListRoom(CContentsList &list, int listType, int &kind, quint32 &detail) const
{
    if (!IsListFull(list, listType))
        return true;
    kind = REGIST_LIST_FULL;
    detail = quint32(listType);
    return false;
}

bool CContentRegistration::copyOrUnpack(int index, int type, qint32 number, QString &workPath, int &kind,
                                        quint32 &detail)
{
    if (IsCopiedType(type)) {
        post(REGIST_NOTICE_COPY, index);
        return RegContCopyFile(type, number, workPath, kind, detail);
    }
    if (type == CONTENT_TYPE_ANIMATION)
        return RegCont(number, workPath, kind, detail);
    // A telop is copied by its own step; a web page is registered where it lies.
    return true;
}

bool CContentRegistration::registerByType(int index, int listType, CContentsList &list, qint32 number,
                                          const QString &workPath, const QString &sourcePath, int &kind,
                                          quint32 &detail)
{
    const SystemTime time = GetLocalTime();
    switch (listType) {
    case CONTENT_MOVIE:
        post(REGIST_NOTICE_THUMB, index);
        return AddContentsVideo(list, number, workPath, time, kind, detail);
    case CONTENT_IMAGE:
        post(REGIST_NOTICE_THUMB, index);
        return AddContentsStill(list, number, workPath, time, kind, detail);
    case CONTENT_TELOP:
        return AddContentsTelop(list, number, workPath, time, kind, detail);
    case CONTENT_WEB:
        return AddContentsUrl(list, number, workPath, sourcePath, time, kind, detail);
    case CONTENT_FLASH:
        return AddContentsFlash(list, number, workPath, time, kind, detail);
    case CONTENT_AUDIO:
        return AddContentsAudio(list, number, workPath, time, kind, detail);
    default:
        // No registration step for this type: the batch stops without a message.
        return false;
    }
}

void CContentRegistration::rememberFolder(int listType, const QString &sourcePath) const
{
    QString drive;
    QString folder;
    QString extension;
    if (SplitPath(sourcePath, &drive, &folder, nullptr, &extension))
        GetAppIni().SetLastFolder(listType, drive + folder, extension);
}

bool CContentRegistration::saveAfterRegistration(int listType, qint32 number, int counter, const QString &sourcePath,
                                                 int &kind, quint32 &detail)
{
    CContentsList *list = store().GetList(listType);
    return RunOnOwnerThread([&] {
        // The folder changes with the list it added to.
        rememberFolder(listType, sourcePath);
        if (!store().SaveLists(listType, 1)) {
            // A record whose list file was not written would vanish at the
            // next start while its files stayed: take it back out now.
            detail = GetLastError();
            WriteSyslog(LOG_ERR_APP, "AddContents : SaveLists error : content type = %d : error = %u", listType,
                        detail);
            list->Delete(list->FindCode(number));
            kind = REGIST_FILE_ERROR;
            return false;
        }
        CSystemIni &ini = GetSystemIni();
        ini.SetContentIndex(listType, counter);
        ini.AdvanceContentIndex(listType);
        ini.SaveContentIndex(listType);
        return true;
    });
}

void CContentRegistration::removeOwnFiles(int type, qint32 number, const QString &workPath) const
{
    if (IsCopiedType(type) && workPath.startsWith(store().GetContentFolder(type) + u'/'))
        QFile::remove(workPath);
    if (type == CONTENT_TYPE_ANIMATION && !workPath.isEmpty() && !IsAbsolutePath(workPath))
        DeleteFolderTree(PackageFolder(number), true);
    if (type == CONTENT_TELOP) {
        QString bitmap;
        if (MakeTelopFilePath(TextFolderOf(m_env.dataRoot), number, TELOP_FILE_BITMAP, bitmap))
            QFile::remove(bitmap);
    }
    const int thumbType = type == CONTENT_TYPE_ANIMATION ? CONTENT_WEB : type;
    const QString thumbs = ThumbnailFolder(m_env.dataRoot, thumbType);
    QString path;
    for (bool small : {false, true})
        if (!thumbs.isEmpty() && MakeThumbnailPath(thumbs, number, small, path))
            QFile::remove(path);
}
