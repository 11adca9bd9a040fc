#include "ops/content_file_remover.h"

#include "core/content_id.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/owner_thread.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/media_property.h"
#include "model/path_safety.h"
#include "model/stored_list_files.h"
#include "model/property_base.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"
#include "ops/frame_checks.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <unistd.h>

namespace {

// Video, still image, Flash and audio contents keep their material file in
// their type's content folder.
bool keepsFileInContentFolder(int type)
{
    return type == CONTENT_MOVIE || type == CONTENT_IMAGE || type == CONTENT_FLASH || type == CONTENT_AUDIO;
}

bool fail(int &state, quint32 &error, quint32 code)
{
    state = CContentFileRemover::kRemoveFailed;
    error = code;
    SetLastError(code);
    return false;
}

} // namespace

CContentFileRemover::CContentFileRemover(ContentFileFolders folders) : m_folders(std::move(folders)) {}

ContentFileFolders CContentFileRemover::FoldersOfStore()
{
    ContentFileFolders folders;
    folders.dataRoot = GetAppData().GetDataRoot();
    CContentsStore &store = GetContentFolders();
    for (int type : {CONTENT_MOVIE, CONTENT_IMAGE, CONTENT_WEB, CONTENT_FLASH, CONTENT_AUDIO})
        folders.contentFolders.insert(type, store.GetContentFolder(type));
    folders.playlistFolder = store.m_playlistFolder;
    folders.sequenceFolder = store.m_sequenceFolder;
    if (!store.GetCurrentGroup().isEmpty())
        store.GetGroupScheduleFolders(store.GetCurrentGroup(), folders.scheduleFolder, folders.scheduleSequenceFolder);
    return folders;
}

QString CContentFileRemover::contentFolder(int type) const
{
    return m_folders.contentFolders.value(type);
}

QString CContentFileRemover::thumbFolder(int type) const
{
    return m_folders.dataRoot.isEmpty() ? QString() : ThumbnailFolder(m_folders.dataRoot, type);
}

QString CContentFileRemover::telopFolder() const
{
    return m_folders.dataRoot.isEmpty() ? QString() : TextFolderOf(m_folders.dataRoot);
}

QString CContentFileRemover::PathInsideFolder(const QString &folder, const QString &name)
{
    QString path;
    if (!JoinInsideFolder(folder, name, path))
        return QString();
    // Links on the way (a sub-folder that links elsewhere) must not lead out.
    const QString parent = QFileInfo(path).path();
    if (QFileInfo::exists(folder) && QFileInfo::exists(parent) && !ResolvesInsideFolder(folder, parent))
        return QString();
    return path;
}

bool CContentFileRemover::IsLocalPackageLink(const QString &link)
{
    return !link.isEmpty() && !IsHttpUrl(link) && !IsAbsolutePath(link);
}

bool CContentFileRemover::DeleteFileIfExists(const QString &path, int &state, quint32 &error) const
{
    if (::unlink(QFile::encodeName(path).constData()) == 0)
        return true;
    const quint32 code = ErrorFromErrno(errno);
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return true;
    WriteSyslog(LOG_ERR_WIN, "%s file remove failed. : error = %u", qUtf8Printable(path), code);
    return fail(state, error, code);
}

bool CContentFileRemover::deleteInFolder(const QString &folder, const QString &name, int &state,
                                         quint32 &error) const
{
    if (name.isEmpty()) // a record without a material file
        return true;
    const QString path = PathInsideFolder(folder, name);
    if (path.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "DeleteContentFile : %s : not inside %s", qUtf8Printable(name),
                    qUtf8Printable(folder));
        return fail(state, error, ERROR_ACCESS_DENIED);
    }
    return DeleteFileIfExists(path, state, error);
}

bool CContentFileRemover::deleteThumbnails(int type, qint32 number, int &state, quint32 &error) const
{
    const QString folder = thumbFolder(type);
    QString small;
    QString large;
    if (!MakeThumbnailPath(folder, number, true, small) || !MakeThumbnailPath(folder, number, false, large))
        return fail(state, error, ERROR_INVALID_PARAMETER);
    return DeleteFileIfExists(small, state, error) && DeleteFileIfExists(large, state, error);
}

bool CContentFileRemover::DelContRealFileMedia(int type, const CPropertyBase &record, int &state,
                                               quint32 &error) const
{
    if (!keepsFileInContentFolder(type))
        return fail(state, error, ERROR_INVALID_PARAMETER);
    if (type != CONTENT_AUDIO && !deleteThumbnails(type, record.GetIndex(), state, error))
        return false;
    return deleteInFolder(contentFolder(type), LinkOf(record), state, error);
}

bool CContentFileRemover::deleteTelopFiles(qint32 number, int &state, quint32 &error) const
{
    const QStringList files = TelopFolderFiles(telopFolder(), number);
    if (files.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "DelContRealFileTelop : DLKxMakePcTelopFileName Error : Error code = %u",
                    GetLastError());
        return fail(state, error, ERROR_INVALID_PARAMETER);
    }
    for (const QString &file : files) {
        if (!DeleteFileIfExists(file, state, error))
            return false;
    }
    return true;
}

bool CContentFileRemover::DelContRealFileTelop(const CPropertyBase &record, int &state, quint32 &error) const
{
    return deleteTelopFiles(record.GetIndex(), state, error);
}

bool CContentFileRemover::deletePackageFolder(qint32 number, int &state, quint32 &error) const
{
    const QString folder = contentFolder(CONTENT_WEB);
    if (folder.isEmpty() || !IsValidContentId(number))
        return fail(state, error, ERROR_INVALID_PARAMETER);
    // A package that is a link is unlinked, never followed.
    const QString package = JoinPath(folder, FormatContentId(number));
    if (QFileInfo(package).isSymLink())
        return DeleteFileIfExists(package, state, error);
    if (DeleteFolderTree(package, true))
        return true;
    const quint32 code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return true;
    WriteSyslog(LOG_ERR_WIN, "%s remove failed. : error = %u", qUtf8Printable(package), code);
    return fail(state, error, code);
}

bool CContentFileRemover::DelContRealFileUrl(const CPropertyBase &record, int &state, quint32 &error) const
{
    if (!deleteThumbnails(CONTENT_WEB, record.GetIndex(), state, error))
        return false;
    if (IsLocalPackageLink(LinkOf(record)))
        return deletePackageFolder(record.GetIndex(), state, error);
    return true;
}

void CContentFileRemover::DelContRealFileByType(int type, const CPropertyBase &record) const
{
    int state = 0;
    quint32 error = 0;
    switch (type) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_FLASH:
        DelContRealFileMedia(type, record, state, error);
        break;
    case CONTENT_TELOP:
        DelContRealFileTelop(record, state, error);
        break;
    case CONTENT_WEB:
        DelContRealFileUrl(record, state, error);
        break;
    default:
        break;
    }
}

bool CContentFileRemover::deleteTimetableFiles(int type, qint32 number, const QString &listFolder,
                                               const QString &sequenceFolder, int &state, quint32 &error) const
{
    StoredListFiles files;
    if (!StoredListFilesOf(type, ContentIdPrefix(number), number, listFolder, sequenceFolder, files))
        return fail(state, error, ERROR_INVALID_PARAMETER);
    for (const QString &path : files.Paths()) {
        if (!DeleteFileIfExists(path, state, error))
            return false;
    }
    return true;
}

bool CContentFileRemover::DelContRealFilePlaylist(int type, qint32 number, int &state, quint32 &error) const
{
    return deleteTimetableFiles(type, number, m_folders.playlistFolder, m_folders.sequenceFolder, state, error);
}

bool CContentFileRemover::DelContRealFileSchedule(qint32 number, int &state, quint32 &error) const
{
    return deleteTimetableFiles(CONTENT_SCHEDULE, number, m_folders.scheduleFolder, m_folders.scheduleSequenceFolder,
                                state, error);
}

bool CContentFileRemover::DelContRealFileCommon(CContentsList *list, int type, qint32 number, int &state,
                                                quint32 &error) const
{
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "DelContRealFileCommon : Invalid content type : type = %d", type);
        return true;
    }
    // The list is the window's (the deletion's worker reads it): the record
    // is copied out on its owner.
    int position = -1;
    const std::unique_ptr<CPropertyBase> record = RunOnOwnerThread([&] {
        position = list->FindCode(number);
        std::unique_ptr<CPropertyBase> copy = position >= 0 ? CreateProperty(list->GetContentType()) : nullptr;
        if (copy && !list->Get(position, copy.get()))
            copy.reset();
        return copy;
    });
    if (position < 0) {
        WriteSyslog(LOG_ERR_APP, "DelContRealFileCommon : Invalid content index : content index = %d", number);
        return true;
    }
    if (!record) {
        WriteSyslog(LOG_ERR_APP, "DelContRealFileCommon : Invalid content list : index = %d", position);
        return true;
    }
    switch (type) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_FLASH:
    case CONTENT_AUDIO:
        return DelContRealFileMedia(type, *record, state, error);
    case CONTENT_TELOP:
        return DelContRealFileTelop(*record, state, error);
    case CONTENT_WEB:
        return DelContRealFileUrl(*record, state, error);
    case CONTENT_SCHEDULE:
        return DelContRealFileSchedule(number, state, error);
    case CONTENT_PLAYLIST:
    case CONTENT_BGMLIST:
        return DelContRealFilePlaylist(type, number, state, error);
    default:
        return true;
    }
}
