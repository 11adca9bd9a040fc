// The parts of export and import that both share: the package's lists, the
// sizes of entries, copies with progress, and the messages.

#include "ops/export_import_set.h"

#include "core/atomic_file.h"
#include "core/clock.h"
#include "core/content_id.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/owner_thread.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/media_property.h"
#include "model/path_safety.h"
#include "model/stored_list_files.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "ops/local_url_files.h"
#include "ops/playlist_storage.h"
#include "ops/save_number.h"
#include "transfer/web_package_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int kPackageTypes[] = {1, 8, 2, 4, 5, 3, 52};
constexpr qint64 kCopyChunk = 1 << 20;

quint32 LastFileError(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::OpenError:
        return QFileInfo::exists(file.fileName()) ? 5 : 2;
    case QFileDevice::ReadError:
    case QFileDevice::WriteError:
        return 29;
    default:
        return 1359;
    }
}

} // namespace

// ---- Free helpers --------------------------------------------------------------

bool IsPackageType(int type)
{
    return std::find(std::begin(kPackageTypes), std::end(kPackageTypes), type) != std::end(kPackageTypes);
}

bool CarriesFiles(int type, const CPropertyBase &record)
{
    switch (type) {
    case 1:
    case 2:
    case 5:
        return true;
    case 4: {
        const auto *media = dynamic_cast<const CMediaProperty *>(&record);
        const QString link = media ? media->GetLink() : QString();
        return !link.isEmpty() && !IsHttpUrl(link) && !IsAbsolutePath(link);
    }
    default:
        return false;
    }
}

bool PlaylistFilesIn(const PackageFolders &folders, quint32 playlist, StoredListFiles &files)
{
    return StoredListFilesOf(CONTENT_PLAYLIST, ContentIdPrefix(playlist), qint32(playlist), folders.playlist,
                             folders.sequence, files);
}

// ---- The package's lists ---------------------------------------------------------

CExImport::PackageSet::PackageSet(const QString &packageFolder)
    : folder(packageFolder), folders(PackageFolders::OfPackage(packageFolder))
{
    for (int type : kPackageTypes) {
        lists[type] = CreateContentsList(type);
        paths[type] = JoinPath(folders.contentData, PackageListFileName(type));
    }
}

CContentsList *CExImport::PackageSet::list(int type)
{
    const auto it = lists.find(type);
    return it == lists.end() ? nullptr : it->second.get();
}

bool CExImport::PackageSet::load()
{
    bool loaded = true;
    for (int type : kPackageTypes)
        loaded = lists[type]->Load(paths[type]) && loaded;
    this->loaded = loaded;
    return loaded;
}

bool CExImport::PackageSet::hasLists() const
{
    return std::any_of(paths.begin(), paths.end(), [](const auto &entry) { return QFileInfo::exists(entry.second); });
}

bool CExImport::PackageSet::save(int type)
{
    CContentsList *target = list(type);
    if (!target || CreateFolderPath(folders.contentData) < 0)
        return false;
    return target->Save(paths[type], 0);
}

const int *CExImport::PackageSet::typesBegin()
{
    return std::begin(kPackageTypes);
}

const int *CExImport::PackageSet::typesEnd()
{
    return std::end(kPackageTypes);
}

// ---- The run object ---------------------------------------------------------------

CExImport::CExImport(CContentsStore &store, QString dataRoot, ExImportPost post)
    : m_store(store), m_dataRoot(std::move(dataRoot)), m_post(std::move(post)),
      m_library(PackageFolders::OfLibrary(store, m_dataRoot))
{
}

CExImport::~CExImport() = default;

QString CExImport::ExportFolder() const
{
    return JoinPath(DataFolderOf(m_dataRoot), QStringLiteral("Export"));
}

QString CExImport::ImportFolder() const
{
    return ImportFolderOf(m_dataRoot);
}

QStringList CExImport::GetLeftOutFiles() const
{
    return m_leftOut;
}

void CExImport::StopExImport()
{
    std::lock_guard<std::mutex> lock(m_askMutex);
    m_stop.store(1);
    m_answered.notify_all();
}

QList<ImportReplacement> CExImport::GetReplacements() const
{
    std::lock_guard<std::mutex> lock(m_askMutex);
    return m_replacements;
}

QList<ImportedItem> CExImport::GetImportedItems() const
{
    std::lock_guard<std::mutex> lock(m_askMutex);
    return m_imported;
}

void CExImport::AnswerReplace(bool replace)
{
    std::lock_guard<std::mutex> lock(m_askMutex);
    m_answer = replace ? 1 : 2;
    m_answered.notify_all();
}

void CExImport::post(int number, quint32 wParam, quint32 lParam) const
{
    if (m_post)
        m_post(number, wParam, lParam);
}

void CExImport::postBytes(int number, quint64 bytes) const
{
    post(number, quint32(bytes >> 32), quint32(bytes & 0xFFFFFFFFu));
}

bool CExImport::storeTotals(const std::vector<ExImportEntry> &entries)
{
    quint64 total = 0;
    for (const ExImportEntry &entry : entries)
        total += entry.size;
    m_totalCount.store(quint32(entries.size()));
    m_totalBytes.store(total);
    return true;
}

// ---- Sizes ------------------------------------------------------------------------

bool CExImport::playlistFilesSize(const PackageFolders &folders, quint32 number, quint64 &size) const
{
    StoredListFiles files;
    if (!PlaylistFilesIn(folders, number, files))
        return false;
    QFileInfo info(files.listPath);
    if (!info.isFile()) {
        WriteSyslog(LOG_ERR_WIN, "ExpImpCalcPlaylistFileSize : File Open Failed : File Name = %s : Error = %d",
                    qUtf8Printable(files.listPath), 2);
        return false;
    }
    size = quint64(info.size());
    for (const StoredListFiles::Layer &layer : files.layers) {
        if (QFileInfo(layer.path).isFile())
            size += quint64(QFileInfo(layer.path).size());
    }
    return true;
}

bool CExImport::telopFilesSize(const PackageFolders &folders, quint32 number, quint64 &size) const
{
    QString bitmap;
    QString text;
    if (!MakeTelopFilePath(folders.text, number, TELOP_FILE_BITMAP, bitmap)
        || !MakeTelopFilePath(folders.text, number, TELOP_FILE_TEXT, text))
        return false;
    if (!QFileInfo(bitmap).isFile()) {
        WriteSyslog(LOG_ERR_WIN, "ExpImpCalcTelopFileSize : File Open Failed : File Name = %s : Error = %d",
                    qUtf8Printable(bitmap), 2);
        return false;
    }
    size = quint64(QFileInfo(bitmap).size());
    if (QFileInfo(text).isFile())
        size += quint64(QFileInfo(text).size());
    return true;
}

bool CExImport::contentSize(const ExImportEntry &entry, const PackageFolders &folders, const CPropertyBase &record,
                            quint64 &size)
{
    size = 0;
    if (entry.type == 3)
        return telopFilesSize(folders, entry.number, size);
    if (entry.copyFiles)
        size = record.GetSize();
    return true;
}

// ---- Copies -----------------------------------------------------------------------

bool CExImport::forListOrTelopFiles(const ExImportEntry &entry, const PackageFolders &from, const PackageFolders &to,
                                    const std::function<bool(const QString &, const QString &)> &step)
{
    QString source;
    QString target;
    if (entry.type == 3) {
        if (!MakeTelopFilePath(from.text, entry.number, TELOP_FILE_BITMAP, source)
            || !MakeTelopFilePath(to.text, entry.number, TELOP_FILE_BITMAP, target) || !step(source, target))
            return false;
        return !MakeTelopFilePath(from.text, entry.number, TELOP_FILE_TEXT, source) || !QFileInfo(source).isFile()
               || (MakeTelopFilePath(to.text, entry.number, TELOP_FILE_TEXT, target) && step(source, target));
    }
    StoredListFiles sources;
    StoredListFiles targets;
    if (!PlaylistFilesIn(from, entry.number, sources) || !PlaylistFilesIn(to, entry.number, targets)
        || !step(sources.listPath, targets.listPath))
        return false;
    for (size_t layer = 0; layer < sources.layers.size(); ++layer) {
        if (IsStopped())
            return false;
        const QString &source = sources.layers[layer].path;
        if (QFileInfo(source).isFile() && !step(source, targets.layers[layer].path))
            return false;
    }
    return true;
}

bool CExImport::copyPlain(const QString &from, const QString &to, const char *prefix)
{
    CreateFolderPath(QFileInfo(to).path());
    QFile::remove(to);
    if (QFile::copy(from, to))
        return true;
    const quint32 error = QFileInfo::exists(from) ? 5 : 2;
    WriteSyslog(LOG_ERR_WIN, "%s : CopyFile Failed : %s -> %s : Error = %d", prefix, qUtf8Printable(from),
                qUtf8Printable(to), int(error));
    SetLastError(error);
    return false;
}

bool CExImport::copyChunks(QFile &source, QFileDevice &target, int percentMessage)
{
    const quint64 total = quint64(source.size());
    quint64 done = 0;
    QByteArray buffer;
    while (!source.atEnd()) {
        if (IsStopped()) {
            SetLastError(1235);
            return false;
        }
        buffer = source.read(kCopyChunk);
        if (buffer.isEmpty() || target.write(buffer) != buffer.size()) {
            SetLastError(LastFileError(buffer.isEmpty() ? static_cast<QFileDevice &>(source) : target));
            return false;
        }
        done += quint64(buffer.size());
        if (percentMessage != 0) {
            post(percentMessage, total == 0 ? 100 : quint32(done * 100 / total), 0);
            postBytes(percentMessage + 1, done);
        }
    }
    // A file without bytes is whole at once.
    if (total == 0 && percentMessage != 0)
        post(percentMessage, 100, 0);
    return true;
}

bool CExImport::copyWithProgress(const QString &from, const QString &to, int percentMessage)
{
    // The copy goes to a temporary name and is renamed when whole, so a stop
    // or a failure never leaves a cut file under the real name.
    QFile source(from);
    CreateFolderPath(QFileInfo(to).path());
    const QString partial = TemporaryPathFor(to);
    QFile target(partial);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        SetLastError(LastFileError(source.isOpen() ? target : source));
        return false;
    }
    if (!copyChunks(source, target, percentMessage)) {
        target.remove();
        return false;
    }
    target.close();
    QFile::remove(to);
    if (!target.rename(to)) {
        SetLastError(LastFileError(target));
        target.remove();
        return false;
    }
    return true;
}

bool CExImport::copyWebPackage(const QString &fromBase, const CPropertyBase &record, const QString &toFolder,
                               int percentMessage)
{
    const auto *web = dynamic_cast<const CWebProperty *>(&record);
    QString fromFolder;
    QStringList files;
    if (!web || !MakeContentIdPath(fromBase, record.GetIndex(), fromFolder)
        || !ExpImpListLocalUrlFiles(fromBase, *web, true, files)) {
        SetLastError(87);
        return false;
    }
    for (const QString &from : files) {
        if (IsStopped()) {
            SetLastError(1235);
            return false;
        }
        const QString to = JoinPath(toFolder, WebPackageRelativePath(fromFolder, from));
        if (!copyWithProgress(from, to, percentMessage)) {
            WriteSyslog(LOG_ERR_WIN, "ExpImpCopyLocalUrlFile : CopyFile Failed : %s -> %s : Error = %d",
                        qUtf8Printable(from), qUtf8Printable(to), int(GetLastError()));
            return false;
        }
    }
    return true;
}

void CExImport::copyThumbnails(int type, quint32 number, const PackageFolders &from, const PackageFolders &to)
{
    for (bool small : {true, false}) {
        QString source;
        QString target;
        if (!MakeThumbnailPath(from.ThumbFolder(type), number, small, source)
            || !MakeThumbnailPath(to.ThumbFolder(type), number, small, target) || !QFileInfo(source).isFile())
            continue;
        CreateFolderPath(QFileInfo(target).path());
        // A thumbnail that does not travel is made again when needed.
        QFile::remove(target);
        QFile::copy(source, target);
    }
}

// ---- The library lists, on their owner -------------------------------------------

std::unique_ptr<CPropertyBase> CExImport::libraryRecord(int type, quint32 number) const
{
    return RunOnOwnerThread([&]() -> std::unique_ptr<CPropertyBase> {
        const CPropertyBase *held = m_store.FindRecord(type, qint32(number));
        std::unique_ptr<CPropertyBase> record = held ? CreateProperty(type) : nullptr;
        if (record && !record->Copy(held))
            record.reset();
        return record;
    });
}

bool CExImport::putLibraryRecord(const CPropertyBase &record, bool save)
{
    const int type = record.GetContentType();
    return RunOnOwnerThread([&] {
        CContentsList *library = m_store.GetList(type);
        if (!library)
            return false;
        return StoreRecord(*library, record) && (!save || m_store.SaveLists(type, 1));
    });
}

void CExImport::keepFileFacts(const CPropertyBase &refreshed, bool save)
{
    const auto *facts = dynamic_cast<const CMediaProperty *>(&refreshed);
    if (!facts)
        return;
    const int type = refreshed.GetContentType();
    RunOnOwnerThread([&] {
        auto *media = dynamic_cast<CMediaProperty *>(m_store.FindRecord(type, refreshed.GetIndex()));
        if (!media)
            return;
        media->SetSize(facts->GetSize());
        media->SetFileDate(facts->GetFileDate());
        if (save)
            m_store.SaveLists(type, 1);
    });
}

bool CExImport::libraryHasRoom(int type) const
{
    return RunOnOwnerThread([&] {
        const CContentsList *library = m_store.GetList(type);
        return library && !IsListFull(*library, type);
    });
}

void CExImport::clearLibraryMarks()
{
    RunOnOwnerThread([&] {
        for (const int *type = PackageSet::typesBegin(); type != PackageSet::typesEnd(); ++type) {
            if (CContentsList *library = m_store.GetList(*type))
                library->ClearMarks();
        }
    });
}

bool CExImport::markLibraryRecord(int type, quint32 number)
{
    return RunOnOwnerThread([&] {
        CContentsList *library = m_store.GetList(type);
        const int position = library ? library->FindCode(qint32(number)) : -1;
        if (position < 0 || library->GetAt(position)->GetMark())
            return false;
        return library->SetMark(position);
    });
}

// ---- File facts --------------------------------------------------------------------

bool CExImport::checkFileFacts(int type, CPropertyBase &record, bool &changed)
{
    changed = false;
    auto *media = dynamic_cast<CMediaProperty *>(&record);
    if (!media)
        return true;
    QString path;
    const QString folder = m_library.MediaFolder(type);
    if (folder.isEmpty() || !JoinInsideFolder(folder, media->GetLink(), path) || !QFileInfo(path).isFile()) {
        SetLastError(2);
        return false;
    }
    const QFileInfo info(path);
    const SystemTime time = ToSystemTime(info.lastModified());
    if (type != 4 && (quint64(info.size()) != record.GetSize() || CompareSystemTime(time, media->GetFileDate()) != 0)) {
        record.SetSize(quint64(info.size()));
        media->SetFileDate(time);
        changed = true;
    }
    return true;
}
