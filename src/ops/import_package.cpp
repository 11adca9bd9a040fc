// Import: a package's playlists and contents into the library.

#include "ops/export_import_set.h"

#include "cab/dlkx_cab.h"
#include "core/atomic_file.h"
#include "core/clock.h"
#include "core/content_id.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/owner_thread.h"
#include "core/path_utils.h"
#include "core/staged_files.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/contents_store.h"
#include "model/little_endian.h"
#include "model/media_property.h"
#include "model/path_safety.h"
#include "model/stored_list_files.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "ops/local_url_files.h"
#include "ops/playlist_storage.h"
#include "transfer/web_package_files.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// The package tree holds no link: extraction writes none, and one placed
// there by other means could lead the import to files outside the package.
bool TreeHasLinks(const QString &folder, QString &link)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isSymLink()) {
            link = it.filePath();
            return true;
        }
    }
    return false;
}

// The package does not keep a file's time to the millisecond; a media file
// takes the time its record names, so the next comparison finds them equal.
// The bytes are flushed first: a later write would set the time anew.
void keepRecordedFileTime(const CPropertyBase &record, QFileDevice &file)
{
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    if (!media || media->GetFileDate().month == 0)
        return;
    file.flush();
    file.setFileTime(FromSystemTime(media->GetFileDate()), QFileDevice::FileModificationTime);
}

void keepRecordedFileTime(const CPropertyBase &record, const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        keepRecordedFileTime(record, file);
}

// A video, still image or Flash content travels as one file of the size its
// record names; a file of another size (or none) is not the content the
// record describes. A web content's record names its page only, not the
// package's size: the page must be there.
bool FileMatchesRecord(int type, const CPropertyBase &record, const QString &path)
{
    const QFileInfo file(path);
    if (type == CONTENT_WEB)
        return file.isFile();
    return file.isFile() && quint64(file.size()) == record.GetSize();
}

// A telop travels with its bitmap, and a typed one with its text file too.
// The bitmap is as long as its record says (a bitmap telop's record holds
// its file's size) or, where the record names none, as its own header says.
bool TelopFilesWhole(const CTelopProperty &record, const QString &telopFolder)
{
    QString bitmap;
    if (!HasTelopFiles(telopFolder, record)
        || !MakeTelopFilePath(telopFolder, record.GetIndex(), TELOP_FILE_BITMAP, bitmap))
        return false;
    QFile file(bitmap);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (record.GetSize() != 0)
        return quint64(file.size()) == record.GetSize();
    const QByteArray header = file.read(6);
    if (header.size() < 6 || !header.startsWith("BM"))
        return false;
    const quint32 named = ReadLittle32(header, 2);
    return named == 0 || qint64(named) == file.size();
}

// ---- What an item is ---------------------------------------------------------
//
// An item's files are compared and replaced by what they are, not by their
// names: each file has a key that the library and the package share (a media
// content's one file, a web content's package files by their place in its
// folder, a telop's bitmap and text, a playlist's list file and layer files).

const QString kMediaFileKey = QStringLiteral("file");
const QString kTelopBitmapKey = QStringLiteral("bmp");
const QString kTelopTextKey = QStringLiteral("txt");
const QString kListFileKey = QStringLiteral("list");

bool IsMediaFileType(int type)
{
    return type == CONTENT_MOVIE || type == CONTENT_IMAGE || type == CONTENT_FLASH;
}

// Whether an item of the type has files of its own beside its record.
bool HasItemFiles(int type, const CPropertyBase &record)
{
    return CarriesFiles(type, record) || type == CONTENT_TELOP || type == CONTENT_PLAYLIST;
}

// Where the file of a key lies for a record in a library's or a package's
// folders, there or not.
bool ItemFilePlace(const PackageFolders &folders, int type, const CPropertyBase &record, const QString &key,
                   QString &path)
{
    const qint32 number = record.GetIndex();
    switch (type) {
    case CONTENT_WEB: {
        QString folder;
        return MakeContentIdPath(folders.web, number, folder) && JoinInsideFolder(folder, key, path);
    }
    case CONTENT_TELOP:
        return MakeTelopFilePath(folders.text, number, key == kTelopTextKey ? TELOP_FILE_TEXT : TELOP_FILE_BITMAP,
                                 path);
    case CONTENT_PLAYLIST: {
        StoredListFiles files;
        if (!PlaylistFilesIn(folders, quint32(number), files))
            return false;
        const StoredListFiles::Layer *layer = files.LayerOfKind(key.toInt());
        path = key == kListFileKey ? files.listPath : layer ? layer->path : QString();
        return !path.isEmpty();
    }
    default:
        return IsMediaFileType(type) && JoinInsideFolder(folders.MediaFolder(type), LinkOf(record), path);
    }
}

// The keys of the files an item may have in the folders.
bool ItemFileKeys(const PackageFolders &folders, int type, const CPropertyBase &record, QStringList &keys)
{
    keys.clear();
    if (IsMediaFileType(type)) {
        keys << kMediaFileKey;
    } else if (type == CONTENT_TELOP) {
        keys << kTelopBitmapKey << kTelopTextKey;
    } else if (type == CONTENT_PLAYLIST) {
        StoredListFiles files;
        if (!PlaylistFilesIn(folders, quint32(record.GetIndex()), files))
            return false;
        keys << kListFileKey;
        for (const StoredListFiles::Layer &layer : files.layers)
            keys << QString::number(layer.kind);
    } else if (type == CONTENT_WEB && CarriesFiles(type, record)) {
        QString folder;
        QStringList files;
        if (!MakeContentIdPath(folders.web, record.GetIndex(), folder)
            || !ExpImpListLocalUrlFiles(folders.web, static_cast<const CWebProperty &>(record), true, files))
            return false;
        for (const QString &file : files)
            keys << WebPackageRelativePath(folder, file);
    }
    return true;
}

// The files an item has in the folders, by key.
using ItemFiles = std::map<QString, QString>;
bool ItemFilesIn(const PackageFolders &folders, int type, const CPropertyBase &record, ItemFiles &files)
{
    files.clear();
    QStringList keys;
    if (!ItemFileKeys(folders, type, record, keys))
        return false;
    for (const QString &key : keys) {
        QString path;
        if (!ItemFilePlace(folders, type, record, key, path))
            return false;
        if (QFileInfo(path).isFile())
            files[key] = path;
    }
    return true;
}

bool SameBytes(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kChunk = 1 << 20;
    while (!first.atEnd()) {
        if (first.read(kChunk) != second.read(kChunk))
            return false;
    }
    return true;
}

bool SameFiles(const ItemFiles &own, const ItemFiles &theirs)
{
    if (own.size() != theirs.size())
        return false;
    for (const auto &[key, path] : own) {
        const auto other = theirs.find(key);
        if (other == theirs.end() || !SameBytes(path, other->second))
            return false;
    }
    return true;
}

// The fields of a record that an operator sees or a player receives. The
// number, the registration, delivery and export times, the size and the
// file time describe a copy, not what it is; a media content's file name is
// compared apart (IsImportedName), for an import may have given it another.
class CVisibleFields : public CPropertyWriter {
public:
    CVisibleFields(const CPropertyBase &record, bool withoutLink) : m_withoutLink(withoutLink)
    {
        record.WriteFields(*this);
    }
    void WriteField(QStringView name, const QString &text) override
    {
        static const QStringList kCopyFields{QStringLiteral("index"), QStringLiteral("cdate"),
                                             QStringLiteral("ddate"), QStringLiteral("exportdate"),
                                             QStringLiteral("size"), QStringLiteral("filedate")};
        if (kCopyFields.contains(name) || (m_withoutLink && name == u"link"))
            return;
        fields.append({name.toString(), text});
    }
    QList<QPair<QString, QString>> fields;

private:
    bool m_withoutLink;
};

// Whether two records of an item number show an operator and a player the
// same item (CVisibleFields).
bool SameSettings(int type, const CPropertyBase &own, const CPropertyBase &theirs)
{
    const bool media = IsMediaFileType(type);
    return CVisibleFields(own, media).fields == CVisibleFields(theirs, media).fields;
}

// Whether own is the name an import gives a package file of the name
// packaged under the number: the same name, or, where that name was taken,
// "<number>_<name>" or "<number>_<round>_<name>" (ImportResolveDuplicateName).
bool IsImportedName(const QString &own, const QString &packaged, qint32 number)
{
    if (own.compare(packaged, Qt::CaseInsensitive) == 0)
        return true;
    const QString prefix = FormatContentIdFixed(number) + QLatin1Char('_');
    if (own.size() < prefix.size() + packaged.size() || !own.startsWith(prefix, Qt::CaseInsensitive)
        || !own.endsWith(packaged, Qt::CaseInsensitive))
        return false;
    const QStringView round = QStringView(own).mid(prefix.size(), own.size() - prefix.size() - packaged.size());
    if (round.isEmpty())
        return true;
    bool numbered = false;
    return round.endsWith(u'_') && round.chopped(1).toUInt(&numbered) > 0 && numbered;
}

} // namespace

int CExImport::ImportMain(const QString &packagePath)
{
    m_stop.store(0);
    m_replacedCount.store(0);
    {
        std::lock_guard<std::mutex> lock(m_askMutex);
        m_imported.clear();
    }
    PackageSet set(ImportFolder());
    int result = IMPORT_FAILED;
    if (ImportInit(packagePath, set, result) && ImportCheckPackage(set) && ImportMakeList(set, result)) {
        if (!ImportAskReplace(set))
            result = IsStopped() ? IMPORT_FAILED : IMPORT_DECLINED;
        else if (!ImportCopyFile(set))
            result = IMPORT_FAILED;
    }
    return FinishImport(result);
}

bool CExImport::ImportInit(const QString &packagePath, PackageSet &set, int &result)
{
    // A folder left by an earlier run must not mix its files into this one.
    DeleteFolderTree(set.folder, true);
    if (CreateFolderPath(set.folder) < 0) {
        WriteSyslog(LOG_ERR_WIN, "Import : ImportInit : CreateDirectory Failed : %s : Error = %d",
                    qUtf8Printable(set.folder), int(GetLastError()));
        return false;
    }
    const int cab = DLKxDecompressCab({packagePath, set.folder});
    if (cab != 0) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportInit : CAB Decompress Error : CAB Result = %d", cab);
        if (cab == CAB_ERR_NOT_CABINET)
            result = IMPORT_NOT_PACKAGE;
        return false;
    }
    if (IsStopped())
        return false;
    if (!set.hasLists()) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportInit : Not A Package : %s", qUtf8Printable(packagePath));
        result = IMPORT_NOT_PACKAGE;
        return false;
    }
    if (!set.load()) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportInit : List Load Failed");
        return false;
    }
    return true;
}

bool CExImport::ImportCheckPackage(PackageSet &set)
{
    QString link;
    if (TreeHasLinks(set.folder, link)) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportCheckPackage : Link In Package : %s", qUtf8Printable(link));
        return false;
    }
    // Each file goes into the library as its record's: two records naming
    // one file would leave the second without it.
    QSet<QString> recordFiles;
    for (const int *type = PackageSet::typesBegin(); type != PackageSet::typesEnd(); ++type) {
        CContentsList &list = *set.list(*type);
        for (int position = 0; position < list.GetCount(); ++position) {
            const CPropertyBase &record = *list.GetAt(position);
            if (*type == CONTENT_TELOP
                && !TelopFilesWhole(static_cast<const CTelopProperty &>(record), set.folders.text)) {
                WriteSyslog(LOG_ERR_APP, "Import : ImportCheckPackage : Telop Files Unlike Its Record : Contents Index = %d",
                            record.GetIndex());
                return false;
            }
            if (!CarriesFiles(*type, record))
                continue;
            QString packagePath;
            QString libraryPath;
            const QString &name = LinkOf(record);
            if (!JoinInsideFolder(set.folders.MediaFolder(*type), name, packagePath)
                || !JoinInsideFolder(m_library.MediaFolder(*type), name, libraryPath)) {
                WriteSyslog(LOG_ERR_APP, "Import : ImportCheckPackage : Unsafe Link : Contents Index = %d : %s",
                            record.GetIndex(), qUtf8Printable(name));
                return false;
            }
            if (!FileMatchesRecord(*type, record, packagePath)) {
                WriteSyslog(LOG_ERR_APP, "Import : ImportCheckPackage : File Unlike Its Record : Contents Index = %d : %s",
                            record.GetIndex(), qUtf8Printable(name));
                return false;
            }
            if (recordFiles.contains(packagePath)) {
                WriteSyslog(LOG_ERR_APP, "Import : ImportCheckPackage : File Of Two Records : Contents Index = %d : %s",
                            record.GetIndex(), qUtf8Printable(name));
                return false;
            }
            recordFiles.insert(packagePath);
        }
    }
    return true;
}

bool CExImport::ImportMakeList(PackageSet &set, int &result)
{
    result = IMPORT_FAILED;
    for (const int *type = PackageSet::typesBegin(); type != PackageSet::typesEnd(); ++type) {
        CContentsList *package = set.list(*type);
        if (!m_store.GetList(*type)) {
            WriteSyslog(LOG_ERR_APP, "Import : ImportMakeList : Contents Type Invalid(Q9) : Contents Type = %d", *type);
            return false;
        }
        for (int position = 0; position < package->GetCount(); ++position) {
            if (IsStopped())
                return false;
            const CPropertyBase &record = *package->GetAt(position);
            ExImportEntry entry{quint32(record.GetIndex()), *type, HasItemFiles(*type, record), 0};
            const std::unique_ptr<CPropertyBase> held = libraryRecord(*type, quint32(record.GetIndex()));
            if (held) {
                bool recordSame = false;
                bool filesSame = false;
                if (!compareWithOwn(entry, record, *held, set, recordSame, filesSame))
                    return false;
                if (recordSame && filesSame)
                    continue;
                entry.copyFiles = !filesSame;
                entry.replacesOwn = true;
            }
            bool sized = true;
            if (*type == CONTENT_PLAYLIST)
                sized = playlistFilesSize(set.folders, entry.number, entry.size);
            else
                sized = contentSize(entry, set.folders, record, entry.size);
            if (!sized) {
                WriteSyslog(LOG_ERR_APP, "Import : ImportMakeList : File Size Get Failed");
                return false;
            }
            set.entries.push_back(entry);
        }
    }
    storeTotals(set.entries);
    if (set.entries.empty()) {
        result = IMPORT_NOTHING;
        return false;
    }
    result = IMPORT_DONE;
    return true;
}

// Whether the library's item of an entry's number is the package's: its
// files' bytes (a media file also under the name the import gave it) and
// the fields an operator sees or a player receives. False when the places of
// their files cannot be formed.
bool CExImport::compareWithOwn(const ExImportEntry &entry, const CPropertyBase &record, const CPropertyBase &own,
                               const PackageSet &set, bool &recordSame, bool &filesSame)
{
    ItemFiles theirs;
    ItemFiles ours;
    if (!ItemFilesIn(set.folders, entry.type, record, theirs) || !ItemFilesIn(m_library, entry.type, own, ours)) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportMakeList : File Places Not Formed : Contents Index = %d",
                    int(entry.number));
        return false;
    }
    const bool media = IsMediaFileType(entry.type);
    filesSame = SameFiles(ours, theirs) && (!media || IsImportedName(LinkOf(own), LinkOf(record), own.GetIndex()));
    recordSame = SameSettings(entry.type, own, record);
    return true;
}

// Every library item that the package would change is the operator's own
// work: none is replaced unless the operator says so.
bool CExImport::ImportAskReplace(PackageSet &set)
{
    QList<ImportReplacement> replacements;
    for (const ExImportEntry &entry : set.entries) {
        if (!entry.replacesOwn)
            continue;
        const std::unique_ptr<CPropertyBase> own = libraryRecord(entry.type, entry.number);
        if (!own)
            continue;
        const CPropertyBase &theirs = *set.list(entry.type)->GetAt(set.list(entry.type)->FindCode(qint32(entry.number)));
        replacements.append({entry.number, entry.type, own->GetTitle(), LinkOf(*own), theirs.GetTitle(), LinkOf(theirs),
                             entry.copyFiles, !SameSettings(entry.type, *own, theirs)});
    }
    std::unique_lock<std::mutex> lock(m_askMutex);
    m_replacements = replacements;
    m_answer = 0;
    if (replacements.isEmpty())
        return true;
    // Without a window to ask, nothing of the operator's is replaced.
    if (!m_post)
        return false;
    lock.unlock();
    post(IMPORT_MSG_ASK, quint32(replacements.size()), 0);
    lock.lock();
    m_answered.wait(lock, [this] { return m_answer != 0 || IsStopped(); });
    if (m_answer == 1 && !IsStopped())
        return true;
    WriteSyslog(LOG_NOTICE, "Import : ImportAskReplace : Library Contents Kept : Count = %d", int(replacements.size()));
    return false;
}

bool CExImport::ImportCopyFile(PackageSet &set)
{
    post(IMPORT_MSG_BEGIN_COPY, 0, 0);
    for (const ExImportEntry &entry : set.entries) {
        if (IsStopped())
            return false;
        post(IMPORT_MSG_FILE, entry.number, quint32(entry.type));
        if (!importEntry(entry, set))
            return false;
        postBytes(IMPORT_MSG_FILE_END, entry.size);
    }
    return true;
}

// One item goes in whole or not at all: its files are moved beside their
// targets and its list file with the new record written, and then all are
// put in place together. A stop while the files are staged, or a failure,
// leaves the item as it was and the list in memory as its file.
bool CExImport::importEntry(const ExImportEntry &entry, PackageSet &set)
{
    CContentsList *package = set.list(entry.type);
    const int position = package ? package->FindCode(qint32(entry.number)) : -1;
    if (position < 0) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportCopyFile : Contents Not Found(Import) : Contents Index = %d",
                    int(entry.number));
        return false;
    }
    if (!m_store.GetList(entry.type)) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportCopyFile : Contents Type Invalid(Q9) : Contents Type = %d", entry.type);
        return false;
    }
    std::unique_ptr<CPropertyBase> record = CreateProperty(entry.type);
    package->Get(position, record.get());
    const std::unique_ptr<CPropertyBase> old = libraryRecord(entry.type, entry.number);
    if (!old && !libraryHasRoom(entry.type)) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportCopyFile : Contents Max Regist : Contents Type = %d", entry.type);
        return false;
    }
    if (IsMediaFileType(entry.type) && !ImportResolveDuplicateName(set, old.get(), entry.copyFiles, *record))
        return false;
    const std::unique_ptr<CRecordSnapshot> snapshot = RunOnOwnerThread(
        [&] { return std::make_unique<CRecordSnapshot>(*m_store.GetList(entry.type), qint32(entry.number)); });
    bool imported = false;
    {
        CStagedFiles staged;
        imported = (!entry.copyFiles || stageItemFiles(entry, *record, old.get(), set))
                   && stageThumbnails(entry, *record, old.get(), set) && !IsStopped()
                   && putLibraryRecord(*record, true) && staged.Commit();
    }
    if (!imported) {
        RunOnOwnerThread([&] { snapshot->Restore(); });
        WriteSyslog(LOG_ERR_APP, "Import : ImportCopyFile : Not Imported, Kept As It Was : Contents Index = %d",
                    int(entry.number));
        return false;
    }
    noteImported(entry, *record);
    return true;
}

void CExImport::noteImported(const ExImportEntry &entry, const CPropertyBase &record)
{
    if (entry.replacesOwn)
        ++m_replacedCount;
    std::lock_guard<std::mutex> lock(m_askMutex);
    m_imported.append({entry.number, entry.type, record.GetTitle()});
}

// Moves the package's files of an item beside their places in the library,
// the files at the item's places that the new one lacks to go with them (the
// old item's, or ones a new number's places hold); all wait in the set open
// on this thread.
bool CExImport::stageItemFiles(const ExImportEntry &entry, const CPropertyBase &record, const CPropertyBase *old,
                               const PackageSet &set)
{
    ItemFiles theirs;
    ItemFiles ours;
    if (!ItemFilesIn(set.folders, entry.type, record, theirs)
        || !ItemFilesIn(m_library, entry.type, old ? *old : record, ours))
        return false;
    QStringList targets;
    for (const auto &[key, from] : theirs) {
        QString to;
        if (!ItemFilePlace(m_library, entry.type, record, key, to)
            || !stageFile(from, to, IMPORT_MSG_PERCENT, key == kMediaFileKey ? &record : nullptr, old != nullptr))
            return false;
        targets << to;
    }
    QStringList going;
    for (const auto &[key, path] : ours) {
        if (!targets.contains(path))
            going << path;
    }
    return RemoveStoredFiles(going);
}

// A thumbnail shows the item's files or page: the package's goes in with
// new files, and a web item's always, since its address or range may show
// another picture. Where the package has none (a web item that never had
// one framed travels without), the library's stays while it shows the same
// page (the same link, and the same package files) and goes otherwise.
bool CExImport::stageThumbnails(const ExImportEntry &entry, const CPropertyBase &record, const CPropertyBase *old,
                                const PackageSet &set)
{
    if (!entry.copyFiles && entry.type != CONTENT_WEB)
        return true;
    const bool samePage = old && !entry.copyFiles && LinkOf(*old) == LinkOf(record);
    for (bool small : {true, false}) {
        QString from;
        QString to;
        if (!MakeThumbnailPath(set.folders.ThumbFolder(entry.type), entry.number, small, from)
            || !MakeThumbnailPath(m_library.ThumbFolder(entry.type), entry.number, small, to))
            continue;
        if (QFileInfo(from).isFile() ? !stageFile(from, to, 0, nullptr, old != nullptr)
                                     : !samePage && !RemoveStoredFiles({to}))
            return false;
    }
    return true;
}

// The unpacked file is moved into its place, not copied: the unpacked folder
// is thrown away after the run, and a run ends at the item that fails or is
// stopped (the next run unpacks the package again), so a dropped item's
// files need not go back. Where it cannot be moved (another file system) it
// is copied. A file that replaces the operator's own item is flushed to the
// disk before the commit lets the old one go; a new item's is left as the
// unpacking wrote it.
bool CExImport::stageFile(const QString &from, const QString &to, int percentMessage, const CPropertyBase *timeOf,
                          bool replacesOwn)
{
    CStagedFiles *staged = CStagedFiles::Open();
    if (!staged || CreateFolderPath(QFileInfo(to).path()) < 0)
        return stageCopy(from, to, percentMessage, timeOf);
    if (timeOf)
        keepRecordedFileTime(*timeOf, from);
    const qint64 size = QFileInfo(from).size();
    auto target = std::make_unique<CAtomicFile>(to);
    if (!target->Adopt(from, replacesOwn ? FileDurability::Synced : FileDurability::Unsynced)) {
        WriteSyslog(LOG_NOTICE, "Import : ImportCopyFile : Not Moved, Copied : %s -> %s : Error = %d",
                    qUtf8Printable(from), qUtf8Printable(to), int(GetLastError()));
        return stageCopy(from, to, percentMessage, timeOf);
    }
    if (percentMessage != 0) {
        post(percentMessage, 100, 0);
        postBytes(percentMessage + 1, quint64(size));
    }
    return staged->Hold(std::move(target));
}

bool CExImport::stageCopy(const QString &from, const QString &to, int percentMessage, const CPropertyBase *timeOf)
{
    CStagedFiles *staged = CStagedFiles::Open();
    QFile source(from);
    auto target = std::make_unique<CAtomicFile>(to);
    if (!staged || CreateFolderPath(QFileInfo(to).path()) < 0 || !source.open(QIODevice::ReadOnly)
        || !target->open(QIODevice::WriteOnly) || !copyChunks(source, *target, percentMessage)) {
        WriteSyslog(LOG_ERR_WIN, "Import : ImportCopyFile : File Not Written : %s -> %s : Error = %d",
                    qUtf8Printable(from), qUtf8Printable(to), int(GetLastError()));
        return false;
    }
    if (timeOf)
        keepRecordedFileTime(*timeOf, *target);
    return staged->Hold(std::move(target));
}

// The name a media content's file takes in the library. A library item that
// the package replaces keeps its file's name where the import gave it that
// name before; another file never lands on a file of another content: a
// taken name gets the number in front ("<number>_<name>", then
// "<number>_<round>_<name>"), and the package's file is renamed so.
bool CExImport::ImportResolveDuplicateName(const PackageSet &set, const CPropertyBase *old, bool copyFiles,
                                           CPropertyBase &record)
{
    auto *media = dynamic_cast<CMediaProperty *>(&record);
    const QString name = media->GetLink();
    const QString libraryFolder = m_library.MediaFolder(record.GetContentType());
    const QString packageFolder = set.folders.MediaFolder(record.GetContentType());
    const QString number = FormatContentIdFixed(record.GetIndex());
    QString renamed = name;
    QString path;
    if (old && IsImportedName(LinkOf(*old), name, old->GetIndex())) {
        renamed = LinkOf(*old);
    } else if (copyFiles && JoinInsideFolder(libraryFolder, name, path) && QFileInfo::exists(path)) {
        renamed = number + QLatin1Char('_') + name;
        // The new name is checked too: it never lands on another file.
        for (int round = 1; JoinInsideFolder(libraryFolder, renamed, path) && QFileInfo::exists(path); ++round)
            renamed = QStringLiteral("%1_%2_%3").arg(number).arg(round).arg(name);
    }
    if (renamed == name)
        return true;
    QString from;
    QString to;
    if (copyFiles
        && (!JoinInsideFolder(packageFolder, name, from) || !JoinInsideFolder(packageFolder, renamed, to)
            || QFileInfo::exists(to) || !QFile::rename(from, to))) {
        WriteSyslog(LOG_ERR_WIN, "Import : ImportResolveDuplicateName : MoveFile Failed : %s -> %s",
                    qUtf8Printable(from), qUtf8Printable(to));
        return false;
    }
    WriteSyslog(LOG_DEBUG, "Duplication Name : %s -> %s", qUtf8Printable(name), qUtf8Printable(renamed));
    media->SetLink(renamed);
    return true;
}

int CExImport::FinishImport(int result)
{
    DeleteFolderTree(ImportFolder(), true);
    if (IsStopped() && result == IMPORT_DONE)
        result = IMPORT_FAILED;
    post(IMPORT_MSG_END, quint32(result), 0);
    return result;
}
