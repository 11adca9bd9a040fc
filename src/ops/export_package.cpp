// Export: the chosen playlists and every content they use, into a package
// file or a drive's folder.

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
#include "model/media_property.h"
#include "model/path_safety.h"
#include "model/playlist_edit_model.h"
#include "model/web_property.h"
#include "ops/local_url_files.h"
#include "transfer/web_package_files.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

constexpr const char *kPackageFileName = "Q9Content.plst";

const SystemTime *FileDateOf(const CPropertyBase &record)
{
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    return media ? &media->GetFileDate() : nullptr;
}

// The drive's copy of a content differs in its file.
bool FileChanged(const CPropertyBase &library, const CPropertyBase &drive)
{
    const SystemTime *libraryTime = FileDateOf(library);
    const SystemTime *driveTime = FileDateOf(drive);
    return LinkOf(library).compare(LinkOf(drive), Qt::CaseInsensitive) != 0 || library.GetSize() != drive.GetSize()
           || (libraryTime && driveTime && CompareSystemTime(*libraryTime, *driveTime) != 0);
}

// The files of a web record's package that do not travel for their names,
// relative to the package folder.
QStringList LeftOutWebFiles(const QString &base, const CPropertyBase &record)
{
    const auto *web = dynamic_cast<const CWebProperty *>(&record);
    QString folder;
    QStringList taken;
    if (!web || !MakeContentIdPath(base, record.GetIndex(), folder) || !ExpImpListLocalUrlFiles(base, *web, true, taken))
        return {};
    QStringList leftOut;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (!taken.contains(file))
            leftOut.append(FormatContentIdFixed(record.GetIndex()) + QLatin1Char('/') + WebPackageRelativePath(folder, file));
    }
    leftOut.sort();
    return leftOut;
}

} // namespace

int CExImport::ExportMain(const ExportRequest &request)
{
    m_stop.store(0);
    m_leftOut.clear();
    m_missingNumber.store(0);
    const QString packageFolder = request.toFile ? ExportFolder() : request.targetPath;
    PackageSet set(packageFolder);
    int result = EXPORT_DONE;
    if (!ExportInit(request, set, result))
        return FinishExport(request, set, result);
    if (!set.reuse) {
        if (!ExportMakeList(request, set, result) || !ExportCopyFile(set, result))
            return FinishExport(request, set, result);
        if (!request.toFile)
            return FinishExport(request, set, EXPORT_DONE);
        if (!ExportCompressCab(set, result))
            return FinishExport(request, set, result);
    }
    ExportCabFileSave(request, set, result);
    return FinishExport(request, set, result);
}

bool CExImport::ExportInit(const ExportRequest &request, PackageSet &set, int &result)
{
    if (request.toFile) {
        set.packageFile = JoinPath(set.folder, QString::fromLatin1(kPackageFileName));
        set.reuse = request.keepPackage && QFileInfo(set.packageFile).isFile();
        // The export folder is the program's own scratch folder; a drive
        // target is never emptied.
        if (!set.reuse)
            DeleteFolderTree(set.folder, true);
    }
    if (CreateFolderPath(set.folder) < 0) {
        WriteSyslog(LOG_ERR_WIN, "Export : ExportInit : CreateDirectory Failed : %s : Error = %d",
                    qUtf8Printable(set.folder), int(GetLastError()));
        result = EXPORT_FAILED;
        return false;
    }
    if (!request.toFile && !set.load()) {
        WriteSyslog(LOG_ERR_APP, "Export : ExportInit : List Load Failed : %s", qUtf8Printable(set.folder));
        result = EXPORT_FAILED;
        return false;
    }
    clearLibraryMarks();
    return true;
}

bool CExImport::ExportMakeList(const ExportRequest &request, PackageSet &set, int &result)
{
    result = EXPORT_FAILED;
    if (!m_store.GetList(CONTENT_PLAYLIST)) {
        WriteSyslog(LOG_ERR_APP, "Export : ExportMakeList : Contents Type Invalid(Q9) : Contents Type = %d",
                    CONTENT_PLAYLIST);
        return false;
    }
    CContentsList *drivePlaylists = set.list(CONTENT_PLAYLIST);
    for (quint32 number : request.playlists) {
        if (IsStopped())
            return false;
        const std::unique_ptr<CPropertyBase> own = libraryRecord(CONTENT_PLAYLIST, number);
        if (!own) {
            WriteSyslog(LOG_ERR_APP, "Export : ExportMakeList : Contents Not Found(Q9) : Contents Index = %d",
                        int(number));
            return false;
        }
        const int drivePosition = request.toFile ? -1 : drivePlaylists->FindCode(qint32(number));
        const bool take = drivePosition < 0
                          || CompareSystemTime(own->GetExportDate(),
                                               drivePlaylists->GetAt(drivePosition)->GetExportDate())
                                 != 0;
        if (take) {
            ExImportEntry entry{number, CONTENT_PLAYLIST, false, 0};
            if (!playlistFilesSize(m_library, number, entry.size)) {
                WriteSyslog(LOG_ERR_APP, "Export : ExportMakeList : File Size Get Failed");
                return false;
            }
            set.entries.push_back(entry);
        }
        if (!ExportMakeListContents(number, request.toFile, set, result))
            return false;
    }
    storeTotals(set.entries);
    if (set.entries.empty()) {
        result = EXPORT_NOTHING;
        return false;
    }
    if (request.toFile && GetTotalBytes() >= kMaxPackageBytes) {
        WriteSyslog(LOG_ERR_APP, "Export : ExportMakeList : File Size Max Over");
        result = EXPORT_TOO_LARGE;
        return false;
    }
    post(EXPORT_MSG_BEGIN_COPY, 0, 0);
    result = EXPORT_DONE;
    return true;
}

bool CExImport::ExportMakeListContents(quint32 playlist, bool toFile, PackageSet &set, int &result)
{
    result = EXPORT_FAILED;
    CPlaylistEditModel model(CONTENT_PLAYLIST);
    model.SetFolders(m_library.playlist, m_library.sequence);
    model.SetIdPrefix(ContentIdPrefix(playlist));
    if (!model.Load(qint32(playlist), CONTENT_PLAYLIST)) {
        WriteSyslog(LOG_ERR_APP, "Export : ExportMakeListContents : Playlist Load Failed : Contents Index = %d",
                    int(playlist));
        return false;
    }
    for (int row = 0; row < model.GetRowCount(); ++row) {
        for (int track = 1; track < model.GetTrackCount(); ++track) {
            if (IsStopped())
                return false;
            TimetableCell cell;
            if (!model.GetItem(row, track, cell) || cell.kind == 0 || cell.gap || cell.item.GetIndex() < 0)
                continue;
            const int type = cell.item.GetContentType();
            const quint32 number = quint32(cell.item.GetIndex());
            if (!IsPackageType(type) || type == CONTENT_PLAYLIST)
                continue;
            if (!m_store.GetList(type)) {
                WriteSyslog(LOG_ERR_APP,
                            "Export : ExportMakeListContents : Contents Type Invalid(Q9) : Contents Type = %d", type);
                return false;
            }
            const std::unique_ptr<CPropertyBase> record = libraryRecord(type, number);
            if (!record) {
                m_missingNumber.store(number);
                WriteSyslog(LOG_ERR_APP,
                            "Export : ExportMakeListContents : Contents Not Found(Q9) : Contents Index = %d",
                            int(number));
                result = EXPORT_MISSING;
                return false;
            }
            if (!markLibraryRecord(type, number))
                continue;
            const bool carries = CarriesFiles(type, *record);
            if (carries) {
                bool changed = false;
                if (!checkFileFacts(type, *record, changed)) {
                    WriteSyslog(LOG_ERR_APP,
                                "Export : ExportMakeListContents : CheckSendUpdate Failed : Contents Index = %d : "
                                "Error = %d",
                                int(number), int(GetLastError()));
                    return false;
                }
                if (changed)
                    keepFileFacts(*record, true);
            }
            ExImportEntry entry{number, type, carries, 0};
            CContentsList *drive = set.list(type);
            const int drivePosition = toFile ? -1 : drive->FindCode(qint32(number));
            if (drivePosition >= 0) {
                const CPropertyBase &copy = *drive->GetAt(drivePosition);
                const bool recordChanged = CompareSystemTime(record->GetExportDate(), copy.GetExportDate()) != 0;
                const bool fileChanged = carries && FileChanged(*record, copy);
                if (!recordChanged && !fileChanged)
                    continue;
                entry.copyFiles = fileChanged;
            }
            if (!contentSize(entry, m_library, *record, entry.size)) {
                WriteSyslog(LOG_ERR_APP, "Export : ExportMakeListContents : File Size Get Failed");
                return false;
            }
            if (type == 4 && entry.copyFiles)
                m_leftOut.append(LeftOutWebFiles(m_library.web, *record));
            set.entries.push_back(entry);
        }
    }
    result = EXPORT_DONE;
    return true;
}

bool CExImport::ExportCopyFile(PackageSet &set, int &result)
{
    result = EXPORT_FAILED;
    for (const ExImportEntry &entry : set.entries) {
        if (IsStopped())
            return false;
        if (!m_store.GetList(entry.type)) {
            WriteSyslog(LOG_ERR_APP, "Export : ExportCopyFile : Contents Type Invalid(Q9) : Contents Type = %d",
                        entry.type);
            return false;
        }
        if (!set.list(entry.type)) {
            WriteSyslog(LOG_ERR_APP, "Export : ExportCopyFile : Contents Type Invalid(Export) : Contents Type = %d",
                        entry.type);
            return false;
        }
        post(EXPORT_MSG_FILE, entry.number, quint32(entry.type));
        // The record goes into the package only after its files, so a drive
        // never lists a content whose files did not arrive.
        const std::unique_ptr<CPropertyBase> record = libraryRecord(entry.type, entry.number);
        if (!record || !exportContentFiles(entry, *record, set) || !exportEntryRecord(entry, *record, set))
            return false;
        postBytes(EXPORT_MSG_FILE_END, entry.size);
    }
    result = EXPORT_DONE;
    return true;
}

bool CExImport::exportEntryRecord(const ExImportEntry &entry, CPropertyBase &record, PackageSet &set)
{
    record.SetExportDate(GetLocalTime());
    putLibraryRecord(record, true);
    CContentsList &target = *set.list(entry.type);
    const int targetPosition = target.FindCode(qint32(entry.number));
    const bool stored = targetPosition >= 0 ? target.Update(targetPosition, &record) : target.Add(&record);
    if (!stored || !set.save(entry.type)) {
        WriteSyslog(LOG_ERR_APP, "Export : ExportCopyFile : List Save Failed : Contents Type = %d", entry.type);
        return false;
    }
    return true;
}

bool CExImport::exportContentFiles(const ExImportEntry &entry, const CPropertyBase &record, PackageSet &set)
{
    const PackageFolders &to = set.folders;
    QString from;
    QString target;
    switch (entry.type) {
    case 52:
    case 3:
        return forListOrTelopFiles(entry, m_library, to, [this](const QString &source, const QString &copy) {
            return copyPlain(source, copy, "Export : ExportCopyFile");
        });
    case 4:
        if (entry.copyFiles) {
            QString toFolder;
            if (!MakeContentIdPath(to.web, entry.number, toFolder)
                || !copyWebPackage(m_library.web, record, toFolder, EXPORT_MSG_PERCENT))
                return false;
        }
        copyThumbnails(4, entry.number, m_library, to);
        return true;
    case 1:
    case 2:
    case 5:
        if (entry.copyFiles) {
            const QString &link = LinkOf(record);
            if (!JoinInsideFolder(m_library.MediaFolder(entry.type), link, from)
                || !JoinInsideFolder(to.MediaFolder(entry.type), link, target))
                return false;
            if (!copyWithProgress(from, target, EXPORT_MSG_PERCENT)) {
                WriteSyslog(LOG_ERR_WIN, "Export : ExportCopyFile : CopyFile Failed : %s -> %s : Error = %d",
                            qUtf8Printable(from), qUtf8Printable(target), int(GetLastError()));
                return false;
            }
            copyThumbnails(entry.type, entry.number, m_library, to);
        }
        return true;
    default:
        return true;
    }
}

bool CExImport::ExportCompressCab(PackageSet &set, int &result)
{
    result = EXPORT_FAILED;
    if (IsStopped())
        return false;
    post(EXPORT_MSG_COMPRESS, 0, 0);
    DlkxCompressCabParam param;
    param.sourceFolder = set.folder;
    param.files = {QStringLiteral("TelvData")};
    param.count = 1;
    param.cabinetPath = set.packageFile;
    const int cab = DLKxCompressCab(param);
    if (cab != 0) {
        WriteSyslog(LOG_ERR_APP, "Export : ExportCompressCab : CAB Compress Error : CAB Result = %d", cab);
        return false;
    }
    result = EXPORT_DONE;
    return true;
}

bool CExImport::ExportCabFileSave(const ExportRequest &request, PackageSet &set, int &result)
{
    result = EXPORT_SAVE_FAILED;
    if (IsStopped())
        return false;
    const QFileInfo package(set.packageFile);
    if (!package.isFile()) {
        WriteSyslog(LOG_ERR_WIN, "Export : ExportCabFileSave : File Size Get Failed : Error = %d", 2);
        return false;
    }
    const QString targetFolder = QFileInfo(request.targetPath).path();
    CreateFolderPath(targetFolder);
    const QStorageInfo storage(targetFolder);
    if (!storage.isValid()) {
        WriteSyslog(LOG_ERR_WIN, "Export : ExportCabFileSave : GetDiskFreeSpaceEx Failed : Error = %d", 3);
        result = EXPORT_FAILED;
        return false;
    }
    if (quint64(storage.bytesAvailable()) < quint64(package.size())) {
        WriteSyslog(LOG_ERR_APP, "Export : ExportCabFileSave : Disk Full : %s -> %s", qUtf8Printable(set.packageFile),
                    qUtf8Printable(request.targetPath));
        result = EXPORT_FAILED;
        return false;
    }
    if (!copyWithProgress(set.packageFile, request.targetPath, EXPORT_MSG_PERCENT)) {
        WriteSyslog(LOG_ERR_WIN, "Export : ExportCabFileSave : CopyFile Failed : %s -> %s : Error = %d",
                    qUtf8Printable(set.packageFile), qUtf8Printable(request.targetPath), int(GetLastError()));
        return false;
    }
    result = EXPORT_DONE;
    return true;
}

int CExImport::FinishExport(const ExportRequest &request, PackageSet &set, int result)
{
    if (IsStopped() && result == EXPORT_DONE)
        result = EXPORT_FAILED;
    if (!request.toFile && set.loaded) {
        for (const int *type = PackageSet::typesBegin(); type != PackageSet::typesEnd(); ++type) {
            if (set.list(*type)->GetCount() > 0 || QFileInfo::exists(set.paths[*type]))
                set.save(*type);
        }
    } else if (result != EXPORT_SAVE_FAILED) {
        DeleteFolderTree(set.folder, true);
    }
    post(EXPORT_MSG_END, quint32(result), 0);
    return result;
}
