// Import: a package's playlists and contents into the library.

#include "ops/export_import_set.h"

#include "cab/dlkx_cab.h"
#include "core/clock.h"
#include "core/content_id.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/contents_store.h"
#include "model/little_endian.h"
#include "model/media_property.h"
#include "model/path_safety.h"
#include "model/telop_property.h"
#include "ops/content_file_remover.h"
#include "ops/save_number.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

namespace {

// Renames over an existing file in one step, so the old file stays whole
// until the new one is in its place.
bool ReplaceByRename(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    SetLastError(errno == ENOENT ? 2 : errno == EXDEV ? 17 : 5);
    return false;
}

// The package tree holds no link: extraction writes none, and one placed
// there by other means could lead a move out of the data folder.
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

// The package does not keep a file's time to the millisecond; the file takes
// the time its record names, so the next comparison finds them equal.
void keepRecordedFileTime(const CPropertyBase &record, const QString &path)
{
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    if (!media || media->GetFileDate().month == 0)
        return;
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(FromSystemTime(media->GetFileDate()), QFileDevice::FileModificationTime);
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

} // namespace

int CExImport::ImportMain(const QString &packagePath)
{
    m_stop.store(0);
    m_replacedCount.store(0);
    PackageSet set(ImportFolder());
    int result = IMPORT_FAILED;
    if (ImportInit(packagePath, set, result) && ImportCheckPackage(set) && ImportMakeList(set, result)) {
        if (!ImportAskReplace(set))
            result = IsStopped() ? IMPORT_FAILED : IMPORT_DECLINED;
        else if (!ImportCopyFile(set))
            result = IMPORT_FAILED;
        else
            m_replacedCount.store(quint32(GetReplacements().size()));
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
            const bool carries = CarriesFiles(*type, record);
            ExImportEntry entry{quint32(record.GetIndex()), *type, carries, 0};
            const std::unique_ptr<CPropertyBase> held = libraryRecord(*type, quint32(record.GetIndex()));
            if (held) {
                const CPropertyBase &own = *held;
                const bool recordChanged = CompareSystemTime(record.GetCreateDate(), own.GetCreateDate()) != 0;
                bool fileChanged = false;
                if (carries) {
                    bool refreshed = false;
                    const bool factsRead = checkFileFacts(*type, *held, refreshed);
                    // The library's record keeps the facts its file has now.
                    if (refreshed)
                        keepFileFacts(own, false);
                    fileChanged = !factsRead
                                  || LinkOf(record).compare(LinkOf(own), Qt::CaseInsensitive) != 0
                                  || record.GetSize() != own.GetSize()
                                  || (dynamic_cast<const CMediaProperty *>(&record)
                                      && CompareSystemTime(static_cast<const CMediaProperty &>(record).GetFileDate(),
                                                           static_cast<const CMediaProperty &>(own).GetFileDate())
                                             != 0);
                }
                if (!recordChanged && !fileChanged)
                    continue;
                entry.copyFiles = fileChanged;
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

// The library contents of the package's numbers whose file or title the
// package changes (a playlist has no file of its own here: its title) are
// the operator's own work: none is replaced unless the operator says so.
bool CExImport::ImportAskReplace(PackageSet &set)
{
    QList<ImportReplacement> replacements;
    for (const ExImportEntry &entry : set.entries) {
        CContentsList *package = set.list(entry.type);
        const std::unique_ptr<CPropertyBase> held = libraryRecord(entry.type, entry.number);
        const int position = package ? package->FindCode(qint32(entry.number)) : -1;
        if (!held || position < 0)
            continue;
        const CPropertyBase &own = *held;
        const CPropertyBase &theirs = *package->GetAt(position);
        if (!entry.copyFiles && own.GetTitle() == theirs.GetTitle()
            && LinkOf(own).compare(LinkOf(theirs), Qt::CaseInsensitive) == 0)
            continue;
        replacements.append({entry.number, entry.type, own.GetTitle(), LinkOf(own), theirs.GetTitle(), LinkOf(theirs)});
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
    // A new name is needed only when the file would land on another file: a
    // replaced content whose file keeps its name takes the old file's place.
    const bool sameName = old && LinkOf(*old).compare(LinkOf(*record), Qt::CaseInsensitive) == 0;
    if (entry.copyFiles && !sameName && !ImportResolveDuplicateName(set, *record))
        return false;
    // A telop's files are moved in by name and the package's telop may lack
    // a text file: the old telop's files go first, through the removal that
    // knows a content's files by type, or a typed telop's text would stay
    // under a bitmap telop.
    if (old && entry.type == CONTENT_TELOP)
        CContentFileRemover(ContentFileFolders{m_dataRoot, {}, {}, {}, {}, {}}).DelContRealFileByType(entry.type, *old);
    if (!importContentFiles(entry, *record, set))
        return false;
    if (!putLibraryRecord(*record, true)) {
        WriteSyslog(LOG_ERR_APP, "Import : ImportCopyFile : List Save Failed : Contents Type = %d", entry.type);
        return false;
    }
    // The old file goes last, once the record names the new one.
    if (old && entry.copyFiles && !sameName && entry.type != 4) {
        QString path;
        if (JoinInsideFolder(m_library.MediaFolder(entry.type), LinkOf(*old), path))
            QFile::remove(path);
    }
    return true;
}

bool CExImport::ImportResolveDuplicateName(const PackageSet &set, CPropertyBase &record)
{
    if (record.GetContentType() != 1 && record.GetContentType() != 2 && record.GetContentType() != 5)
        return true;
    auto *media = dynamic_cast<CMediaProperty *>(&record);
    const QString name = media->GetLink();
    const QString libraryFolder = m_library.MediaFolder(record.GetContentType());
    const QString packageFolder = set.folders.MediaFolder(record.GetContentType());
    QString path;
    if (!JoinInsideFolder(libraryFolder, name, path) || !QFileInfo::exists(path))
        return true;
    const QString number = FormatContentIdFixed(record.GetIndex());
    QString renamed = number + QLatin1Char('_') + name;
    // The new name is checked too: it never lands on another file.
    for (int round = 1; JoinInsideFolder(libraryFolder, renamed, path) && QFileInfo::exists(path); ++round)
        renamed = QStringLiteral("%1_%2_%3").arg(number).arg(round).arg(name);
    QString from;
    QString to;
    if (!JoinInsideFolder(packageFolder, name, from) || !JoinInsideFolder(packageFolder, renamed, to)
        || QFileInfo::exists(to) || !QFile::rename(from, to)) {
        WriteSyslog(LOG_ERR_WIN, "Import : ImportResolveDuplicateName : MoveFile Failed : %s -> %s",
                    qUtf8Printable(from), qUtf8Printable(to));
        return false;
    }
    WriteSyslog(LOG_DEBUG, "Duplication Name : %s -> %s", qUtf8Printable(name), qUtf8Printable(renamed));
    media->SetLink(renamed);
    return true;
}

bool CExImport::moveIntoPlace(const QString &from, const QString &to, int percentMessage)
{
    CreateFolderPath(QFileInfo(to).path());
    if (ReplaceByRename(from, to)) {
        post(percentMessage, 100, 0);
        postBytes(percentMessage + 1, quint64(QFileInfo(to).size()));
        return true;
    }
    // Another file system: a whole copy under a temporary name, renamed.
    if (GetLastError() == 17 && copyWithProgress(from, to, percentMessage)) {
        QFile::remove(from);
        return true;
    }
    WriteSyslog(LOG_ERR_WIN, "Import : ImportCopyFile : MoveFile Failed : %s -> %s : Error = %d", qUtf8Printable(from),
                qUtf8Printable(to), int(GetLastError()));
    return false;
}

bool CExImport::swapWebPackage(const QString &fromBase, const CPropertyBase &record, const QString &toFolder)
{
    // The new package is put together beside the old one and swapped in, so
    // the old one is whole until the new one is complete.
    const QString staged = toFolder + QStringLiteral(".import");
    const QString retired = toFolder + QStringLiteral(".old");
    DeleteFolderTree(staged, true);
    DeleteFolderTree(retired, true);
    if (!copyWebPackage(fromBase, record, staged, IMPORT_MSG_PERCENT)) {
        DeleteFolderTree(staged, true);
        return false;
    }
    const bool hadOld = QFileInfo(toFolder).isDir();
    if ((hadOld && !ReplaceByRename(toFolder, retired)) || !ReplaceByRename(staged, toFolder)) {
        WriteSyslog(LOG_ERR_WIN, "Import : ImportCopyFile : MoveFile Failed : %s -> %s : Error = %d",
                    qUtf8Printable(staged), qUtf8Printable(toFolder), int(GetLastError()));
        if (hadOld && !QFileInfo(toFolder).isDir())
            ReplaceByRename(retired, toFolder);
        DeleteFolderTree(staged, true);
        return false;
    }
    if (hadOld)
        DeleteFolderTree(retired, true);
    return true;
}

bool CExImport::importContentFiles(const ExImportEntry &entry, const CPropertyBase &record, PackageSet &set)
{
    const PackageFolders &from = set.folders;
    QString source;
    QString target;
    switch (entry.type) {
    case 52:
    case 3:
        return forListOrTelopFiles(entry, from, m_library, [this](const QString &source, const QString &place) {
            return moveIntoPlace(source, place, IMPORT_MSG_PERCENT);
        });
    case 4:
        if (entry.copyFiles
            && (!MakeContentIdPath(m_library.web, entry.number, target) || !swapWebPackage(from.web, record, target)))
            return false;
        copyThumbnails(4, entry.number, from, m_library, true);
        return true;
    case 1:
    case 2:
    case 5:
        if (entry.copyFiles) {
            if (!JoinInsideFolder(from.MediaFolder(entry.type), LinkOf(record), source)
                || !JoinInsideFolder(m_library.MediaFolder(entry.type), LinkOf(record), target)
                || !moveIntoPlace(source, target, IMPORT_MSG_PERCENT))
                return false;
            keepRecordedFileTime(record, target);
            copyThumbnails(entry.type, entry.number, from, m_library, true);
        }
        return true;
    default:
        return true;
    }
}

int CExImport::FinishImport(int result)
{
    DeleteFolderTree(ImportFolder(), true);
    if (IsStopped() && result == IMPORT_DONE)
        result = IMPORT_FAILED;
    post(IMPORT_MSG_END, quint32(result), 0);
    return result;
}
