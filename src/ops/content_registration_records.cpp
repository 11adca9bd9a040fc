// Registration steps that make the property record of a content and put it
// into its list: new numbers are added, a number the list holds already (a
// material replacement) is written over, keeping every field that does not
// come from the new material.
#include "ops/content_registration.h"

#include "core/atomic_file.h"
#include "core/clock.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/owner_thread.h"
#include "core/path_utils.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "core/time_utils.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/media_info.h"
#include "model/path_safety.h"
#include "model/telop_property.h"
#include "model/timetable_item.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "ops/content_info_ini.h"
#include "ops/frame_checks.h"
#include "ops/web_thumbnail.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

constexpr quint32 kTextLocalFileAccess = 6024;
constexpr quint32 kTextPackageVersion = 6025;

bool HasPlayTime(int type)
{
    return type == CONTENT_MOVIE || type == CONTENT_AUDIO || type == CONTENT_FLASH || type == CONTENT_WEB;
}

bool HasPictureSize(int type)
{
    return type == CONTENT_MOVIE || type == CONTENT_IMAGE || type == CONTENT_FLASH || type == CONTENT_TELOP
        || type == CONTENT_WEB;
}

QString FileNameOf(const QString &path)
{
    QString title;
    QString extension;
    SplitPath(path, nullptr, nullptr, &title, &extension);
    return title + extension;
}

QString TitleOf(const QString &path)
{
    QString title;
    SplitPath(path, nullptr, nullptr, &title, nullptr);
    return title;
}

// An empty record of the type, or a copy of the record the list holds for
// the number (existing says which), read on the list's owner.
std::unique_ptr<CPropertyBase> RecordFor(CContentsList &list, int type, qint32 number, bool *existing = nullptr)
{
    return RunOnOwnerThread([&] {
        std::unique_ptr<CPropertyBase> record = CreateProperty(type);
        const int position = list.FindCode(number);
        if (record && position >= 0)
            list.Get(position, record.get());
        if (existing)
            *existing = position >= 0;
        return record;
    });
}

// Copies from to staging, then renames staging over to; false with the
// error code.
bool CopyIntoPlace(const QString &from, const QString &staging, const QString &to, quint32 &error)
{
    if (CreateFolderPath(QFileInfo(to).path()) < 0) {
        error = GetLastError();
        return false;
    }
    if (!QFile::copy(from, staging)) {
        error = QFileInfo::exists(from) ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
        return false;
    }
    if (::rename(QFile::encodeName(staging).constData(), QFile::encodeName(to).constData()) != 0) {
        error = SetLastErrorFromErrno(errno);
        return false;
    }
    return true;
}

} // namespace

struct CContentRegistration::MediaSteps {
    int type;
    const char *operation;
};

// ---- Media copied into the library --------------------------------------------------

bool CContentRegistration::AddContentsVideo(CContentsList &list, qint32 number, const QString &path,
                                            const SystemTime &time, int &kind, quint32 &detail)
{
    return addMedia({CONTENT_MOVIE, "AddContentsVideo"}, list, number, path, time, kind, detail);
}

bool CContentRegistration::AddContentsStill(CContentsList &list, qint32 number, const QString &path,
                                            const SystemTime &time, int &kind, quint32 &detail)
{
    return addMedia({CONTENT_IMAGE, "AddContentsStill"}, list, number, path, time, kind, detail);
}

bool CContentRegistration::AddContentsAudio(CContentsList &list, qint32 number, const QString &path,
                                            const SystemTime &time, int &kind, quint32 &detail)
{
    return addMedia({CONTENT_AUDIO, "AddContentsAudio"}, list, number, path, time, kind, detail);
}

bool CContentRegistration::AddContentsFlash(CContentsList &list, qint32 number, const QString &path,
                                            const SystemTime &time, int &kind, quint32 &detail)
{
    return addMedia({CONTENT_FLASH, "AddContentsFlash"}, list, number, path, time, kind, detail);
}

bool CContentRegistration::addMedia(const MediaSteps &steps, CContentsList &list, qint32 number,
                                    const QString &path, const SystemTime &time, int &kind, quint32 &detail)
{
    MediaInfo info;
    quint32 messageId = 0;
    if (!GetMediaInfo(steps.type, number, path, m_env.dataRoot, info, messageId)) {
        kind = REGIST_MEDIA_REFUSED;
        detail = messageId;
        return false;
    }
    if (steps.type == CONTENT_FLASH)
        makeFlashThumbnails(number, path, info);
    std::unique_ptr<CPropertyBase> record = RecordFor(list, steps.type, number);
    auto &media = static_cast<CMediaProperty &>(*record);
    if (!fillMediaRecord(media, steps.type, number, info, FileNameOf(path), time)) {
        WriteSyslog(LOG_ERR_APP, "%s : SetProperty error : error = %u", steps.operation, media.GetLastError());
        kind = REGIST_INTERNAL;
        return false;
    }
    return storeRecord(list, media, steps.operation, kind);
}

bool CContentRegistration::fillMediaRecord(CMediaProperty &record, int type, qint32 number, const MediaInfo &info,
                                           const QString &link, const SystemTime &time) const
{
    bool ok = record.SetIndex(number) && record.SetTitle(info.title.left(CPropertyBase::kMaxTitle))
        && record.SetInfo(m_category) && record.SetDataFormat(info.dataFormat) && record.SetCreateDate(time)
        && record.SetLink(link) && record.SetFileDate(info.fileDate);
    record.SetSize(quint64(info.size));
    if (ok && HasPictureSize(type))
        ok = record.SetWidth(info.width) && record.SetHeight(info.height);
    if (ok && HasPlayTime(type)) {
        record.SetDuration(quint64(info.duration));
        ok = record.SetPlayTime(info.playTime);
    }
    return ok;
}

// The list is the window's: the record goes in on its owner.
bool CContentRegistration::storeRecord(CContentsList &list, CPropertyBase &record, const char *operation, int &kind)
{
    return RunOnOwnerThread([&] {
        const int position = list.FindCode(record.GetIndex());
        if (position < 0) {
            if (list.Add(&record))
                return true;
            WriteSyslog(LOG_ERR_APP, "%s : Add error : error = %u", operation, list.GetLastError());
            kind = REGIST_INTERNAL;
            return false;
        }
        const CPropertyBase *old = list.GetAt(position);
        noteChange(*old, record);
        if (GetSystemIni().Settings().UpdateContNoChgInfo) {
            record.SetInfo(old->GetInfo());
            record.SetTitle(old->GetTitle());
        }
        if (list.Update(position, &record))
            return true;
        WriteSyslog(LOG_ERR_APP, "%s : Update error : error = %u", operation, list.GetLastError());
        kind = REGIST_INTERNAL;
        return false;
    });
}

void CContentRegistration::noteChange(const CPropertyBase &oldRecord, const CPropertyBase &newRecord)
{
    const auto *before = dynamic_cast<const CMediaProperty *>(&oldRecord);
    const auto *after = dynamic_cast<const CMediaProperty *>(&newRecord);
    if (!before || !after)
        return;
    const int type = newRecord.GetContentType();
    if (HasPlayTime(type)) {
        m_change.oldPlayTime = PlayedLength(before->GetPlayTime());
        m_change.newPlayTime = PlayedLength(after->GetPlayTime());
        m_change.playTimeChanged = ComparePlayLengths(m_change.oldPlayTime, m_change.newPlayTime) != 0;
    }
    if (HasPictureSize(type)) {
        m_change.oldWidth = before->GetWidth();
        m_change.oldHeight = before->GetHeight();
        m_change.newWidth = after->GetWidth();
        m_change.newHeight = after->GetHeight();
        m_change.sizeChanged = m_change.oldWidth != m_change.newWidth || m_change.oldHeight != m_change.newHeight;
    }
}

void CContentRegistration::makeFlashThumbnails(qint32 number, const QString &path, const MediaInfo &info) const
{
    // The page is muted by the capture window for as long as it is rendered,
    // so nothing is heard and the sound card's volume needs no change.
    if (!m_env.thumbnails)
        return;
    const UrlThumbRequest request{path, m_env.dataRoot, CONTENT_FLASH, number, info.width, info.height,
                                  GetSystemIni().Settings().FlashThumbDelay};
    m_env.thumbnails->MakeUrlThumbnails(request);
}

// ---- Telop bitmap --------------------------------------------------------------------

bool CContentRegistration::AddContentsTelop(CContentsList &list, qint32 number, const QString &path,
                                            const SystemTime &time, int &kind, quint32 &detail)
{
    MediaInfo info;
    quint32 messageId = 0;
    if (!GetMediaInfo(CONTENT_TELOP, number, path, m_env.dataRoot, info, messageId)) {
        kind = REGIST_MEDIA_REFUSED;
        detail = messageId;
        return false;
    }
    QString bitmap;
    const QString folder = TextFolderOf(m_env.dataRoot);
    if (!MakeTelopFilePath(folder, number, TELOP_FILE_BITMAP, bitmap)) {
        WriteSyslog(LOG_ERR_WIN, "AddContentsTelop : DLKxMakePcTelopFileName error : error = %u", GetLastError());
        kind = REGIST_INTERNAL;
        return false;
    }
    // Staged under another name and renamed into place, so a failed copy
    // never leaves a cut bitmap under the content's name.
    const QString staging = TemporaryPathFor(bitmap);
    if (!CopyIntoPlace(path, staging, bitmap, detail)) {
        QFile::remove(staging);
        kind = REGIST_FILE_ERROR;
        return false;
    }
    QFile::setPermissions(bitmap, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                      | QFileDevice::ReadOther);

    bool existing = false;
    std::unique_ptr<CPropertyBase> record = RecordFor(list, CONTENT_TELOP, number, &existing);
    auto &telop = static_cast<CTelopProperty &>(*record);
    info.playTime = {};
    bool ok = fillMediaRecord(telop, CONTENT_TELOP, number, info, FileNameOf(bitmap), time)
        && telop.SetFormat(CTelopProperty::FORMAT_BITMAP) && telop.SetLineHeight(info.height);
    // A replaced bitmap keeps how the telop is shown.
    if (ok && !existing)
        ok = telop.SetEffectType(CTelopProperty::EFFECT_SCROLL) && telop.SetSpeed(GetSystemIni().GetTextSpeed(1))
            && telop.SetColor(0, 0);
    if (!ok) {
        WriteSyslog(LOG_ERR_APP, "AddContentsTelop : SetProperty error : error = %u", telop.GetLastError());
        kind = REGIST_INTERNAL;
        return false;
    }
    return storeRecord(list, telop, "AddContentsTelop", kind);
}

// ---- Web page ----------------------------------------------------------------------------

bool CContentRegistration::AddContentsUrl(CContentsList &list, qint32 number, const QString &path,
                                          const QString &sourcePath, const SystemTime &time, int &kind,
                                          quint32 &detail)
{
    QString page;
    QString title;
    QString dataFormat;
    CContentInfoIni description;
    if (IsAbsolutePath(path)) {
        page = path;
        title = TitleOf(path);
        dataFormat = LoadString(kTextLocalFileAccess);
        makePageThumbnails(number, page);
    } else {
        if (!JoinInsideFolder(store().GetContentFolder(CONTENT_WEB), path, page)) {
            WriteSyslog(LOG_ERR_APP, "AddContentsUrl : Invalid page path : %s", qUtf8Printable(path));
            kind = REGIST_INTERNAL;
            return false;
        }
        title = TitleOf(sourcePath);
        description.Load(PackageFolder(number));
        dataFormat = FormatString(kTextPackageVersion, description.GetVersion());
        if (description.GetWidth() > 0)
            takePackageThumbnails(number, description.GetWidth(), description.GetHeight());
    }
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly)) {
        detail = SetLastErrorFromErrno(errno ? errno : ENOENT);
        WriteSyslog(LOG_ERR_APP, "AddContentsUrl : Page file open error : %s : error = %u", qUtf8Printable(page),
                    detail);
        kind = REGIST_PAGE_UNREADABLE;
        return false;
    }
    const QFileInfo facts(page);
    bool existing = false;
    std::unique_ptr<CPropertyBase> record = RecordFor(list, CONTENT_WEB, number, &existing);
    auto &web = static_cast<CWebProperty &>(*record);
    bool ok = web.SetIndex(number) && web.SetTitle(title.left(CPropertyBase::kMaxTitle)) && web.SetInfo(m_category)
        && web.SetDataFormat(dataFormat.left(CPropertyBase::kMaxDataFormat)) && web.SetCreateDate(time)
        && web.SetUrl(path) && web.SetWidth(description.GetWidth()) && web.SetHeight(description.GetHeight())
        && web.SetPlayTime(description.GetDuration()) && web.SetFileDate(ToSystemTime(facts.lastModified()));
    web.SetSize(quint64(facts.size()));
    // A replaced page keeps the display options the operator set.
    if (ok && !existing)
        ok = web.SetOffset(0, 0) && web.SetUser(QString()) && web.SetPassword(QString())
            && web.SetAudioLevel(false, 0) && web.SetReload(0) && web.SetOption(CWebProperty::kOptionNoPreRead);
    if (!ok) {
        WriteSyslog(LOG_ERR_APP, "AddContentsUrl : SetProperty error : error = %u", web.GetLastError());
        kind = REGIST_INTERNAL;
        return false;
    }
    return storeRecord(list, web, "AddContentsUrl", kind);
}

void CContentRegistration::makePageThumbnails(qint32 number, const QString &page) const
{
    if (!m_env.thumbnails)
        return;
    const SystemSettings settings = GetSystemIni().Settings();
    const UrlThumbRequest request{page, m_env.dataRoot, CONTENT_WEB, number, settings.UrlThumbWidth,
                                  settings.UrlThumbHeight, settings.UrlThumbDelay};
    m_env.thumbnails->MakeUrlThumbnails(request);
}

void CContentRegistration::takePackageThumbnails(qint32 number, int width, int height) const
{
    // The package brings its picture; any failure here only leaves it out.
    const QString source = JoinPath(PackageFolder(number), QStringLiteral("thumbnail.jpg"));
    const QString folder = ThumbnailFolder(m_env.dataRoot, CONTENT_WEB);
    QString large;
    if (!QFileInfo(source).isFile() || QFileInfo(source).isSymLink() || !MakeThumbnailPath(folder, number, false, large)
        || CreateFolderPath(folder) < 0)
        return;
    QFile::remove(large);
    if (!QFile::copy(source, large))
        return;
    const QImage picture(large);
    const QSize size = FitSmallThumbnailSize(width, qMax(height, 1));
    if (!picture.isNull() && !size.isEmpty())
        WriteThumbnailPair(QImage(), picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), folder,
                           number);
}
