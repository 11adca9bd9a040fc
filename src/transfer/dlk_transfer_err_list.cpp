// The send error lists of a player: a content whose upload failed is kept
// with the write time of its local file, so that a later registration can
// resume the upload by appending when the file has not changed since.

#include "transfer/dlk_transfer.h"

#include "core/clock.h"
#include "core/file_utils.h"
#include "core/path_utils.h"
#include "core/syslog.h"

#include <new>

namespace {

// Ticks of a file time in one millisecond.
constexpr FileTime kFileTimeTicksPerMs = 10000;

// The list class named in the log line of a failed read, by content type.
const char *errListClassName(int type)
{
    switch (type) {
    case CONTENT_MOVIE: return "CMovieList";
    case CONTENT_IMAGE: return "CImgList";
    case CONTENT_TELOP: return "CTelopList";
    case CONTENT_FLASH: return "CFlashList";
    case CONTENT_AUDIO: return "CAudioList";
    default: return nullptr;
    }
}

// The fields of a local file time as they stand. Read as UTC so that a wall
// time inside a daylight-saving gap is not moved.
SystemTime wallClockFields(FileTime time)
{
    return ToSystemTime(FromFileTime(time, Qt::UTC));
}

} // namespace

bool CDlkTransfer::getErrListInfo(int type, CContentsList *&list, QString &path)
{
    const char *fileName = nullptr;
    switch (type) {
    case CONTENT_MOVIE:
        list = &m_errMovieList;
        fileName = "ErrVideoList.xml";
        break;
    case CONTENT_IMAGE:
        list = &m_errImgList;
        fileName = "ErrStillList.xml";
        break;
    case CONTENT_TELOP:
        list = &m_errTelopList;
        fileName = "ErrTextList.xml";
        break;
    case CONTENT_FLASH:
        list = &m_errFlashList;
        fileName = "ErrFlashList.xml";
        break;
    case CONTENT_AUDIO:
        list = &m_errAudioList;
        fileName = "ErrAudioList.xml";
        break;
    default:
        return false;
    }
    path = JoinPath(m_playerFolder, QString::fromLatin1(fileName));
    return true;
}

bool CDlkTransfer::loadErrList()
{
    try {
        for (int type : {CONTENT_MOVIE, CONTENT_IMAGE, CONTENT_TELOP, CONTENT_FLASH, CONTENT_AUDIO}) {
            CContentsList *list = nullptr;
            QString path;
            getErrListInfo(type, list, path);
            // A file that does not load must not leave entries of an earlier
            // job behind; the list then starts empty and the next change
            // writes a sound file over the broken one.
            list->RemoveAll();
            if (!list->Load(path))
                list->RemoveAll();
        }
    } catch (const std::bad_alloc &) {
        WriteSyslog(LOG_ERR_WIN, "CDlkTransfer::loadErrList : Out Of Memory");
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return true;
}

void CDlkTransfer::addErrList(const CPropertyBase &record, const QString &localFile)
{
    CContentsList *list = nullptr;
    QString path;
    if (!getErrListInfo(record.GetContentType(), list, path))
        return;
    FileTime writeTime = 0;
    if (!GetFileWriteTime(localFile, writeTime))
        return;

    std::unique_ptr<CPropertyBase> entry = CreateProperty(record.GetContentType());
    if (!entry || !entry->Copy(&record) || !entry->SetDDate(wallClockFields(writeTime)))
        return;
    const int position = list->FindCode(entry->GetIndex());
    const bool stored = position >= 0 ? list->Update(position, entry.get()) : list->Add(entry.get());
    if (stored)
        list->Save(path, 0);
}

void CDlkTransfer::removeErrList(const CPropertyBase &record)
{
    CContentsList *list = nullptr;
    QString path;
    if (!getErrListInfo(record.GetContentType(), list, path))
        return;
    const int position = list->FindCode(record.GetIndex());
    if (position >= 0 && list->Delete(position))
        list->Save(path, 0);
}

bool CDlkTransfer::getErrFileDateTime(int type, CContentsList *list, int position, FileTime &time)
{
    const char *className = errListClassName(type);
    if (!className) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::getErrFileDateTime : Invalid Contents Type : Type = %d",
                    qUtf8Printable(m_name), type);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    const CPropertyBase *entry = list ? list->GetAt(position) : nullptr;
    if (!entry || entry->GetContentType() != type) {
        WriteSyslog(LOG_ERR_APP, "[%s] : %s::Get Error : Index = %d", qUtf8Printable(m_name), className, position);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    // An entry without a time matches no file, so its file is sent whole.
    const SystemTime &stored = entry->GetDDate();
    time = stored.month == 0 ? 0 : ToFileTime(FromSystemTime(stored, Qt::UTC));
    return true;
}

FileTime CDlkTransfer::storedFileTime(FileTime time)
{
    return time - time % kFileTimeTicksPerMs;
}
