#include "cab/dlkx_cab.h"

#include "cab/cab_folder_sink.h"
#include "cab/cab_format.h"
#include "cab/cab_member_path.h"
#include "cab/cab_reader.h"
#include "cab/cab_sources.h"
#include "cab/cab_writer.h"
#include "core/disk_space.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

bool AllMemberNamesSafe(const QList<CabMember> &members)
{
    QStringList parts;
    return std::all_of(members.begin(), members.end(),
                       [&parts](const CabMember &member) { return SplitSafeRelativePath(member.name, parts); });
}

// Two members of one name (either separator, any case, as the file systems
// of the cabinets' makers compare them) would leave only the last one, with
// nothing to tell which of them was meant. Names are safe when this runs.
bool AnyMemberNamedTwice(const QList<CabMember> &members)
{
    QSet<QString> seen;
    QStringList parts;
    for (const CabMember &member : members) {
        SplitSafeRelativePath(member.name, parts);
        const QString name = JoinCabMemberName(parts).toCaseFolded();
        if (seen.contains(name))
            return true;
        seen.insert(name);
    }
    return false;
}

// Whether the members' declared sizes fit in the destination's free space.
// A space that cannot be told does not stop the extraction.
bool FitsOnDisk(const QList<CabMember> &members, const QString &destination)
{
    const qint64 available = DiskSpace().availableBytes(destination);
    if (available < 0)
        return true;
    quint64 total = 0;
    for (const CabMember &member : members)
        total += member.size;
    return total <= quint64(available);
}

// A cabinet written into the folder it packs (the export package is) must not
// take in an earlier cabinet of the same path.
void LeaveOutCabinet(QList<CabSourceFile> &files, const QString &cabinetPath)
{
    const QString cabinet = QFileInfo(cabinetPath).canonicalFilePath();
    if (cabinet.isEmpty())
        return;
    files.removeIf([&cabinet](const CabSourceFile &file) { return QFileInfo(file.path).canonicalFilePath() == cabinet; });
}

} // namespace

int DLKxCompressCab(const DlkxCompressCabParam &param)
{
    if (param.sourceFolder.isEmpty() || param.cabinetPath.isEmpty() || param.count < 0
        || param.count > param.files.size() || param.option1 != 0 || param.option2 != 0) {
        return CAB_ERR_PARAMETER;
    }
    QList<CabSourceFile> files;
    const CabResult result = CollectCabSources(param.sourceFolder, param.files.mid(0, param.count), files);
    if (result != CAB_OK)
        return result;
    LeaveOutCabinet(files, param.cabinetPath);
    CCabWriter writer;
    writer.SetOwnerOnly(param.ownerOnly);
    return writer.Write(files, param.cabinetPath);
}

int DLKxDecompressCab(const DlkxDecompressCabParam &param)
{
    if (param.cabinetPath.isEmpty() || param.destinationFolder.isEmpty())
        return CAB_ERR_PARAMETER;
    QFile file(param.cabinetPath);
    // Unbuffered: the reader reads block headers and whole chunks of data by
    // position, and a read-ahead buffer would only copy them twice.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return CAB_ERR_CABINET_OPEN;
    CCabReader reader(file);
    const CabResult result = reader.Open();
    if (result != CAB_OK)
        return result;
    if (!AllMemberNamesSafe(reader.members()))
        return CAB_ERR_UNSAFE_MEMBER;
    if (AnyMemberNamedTwice(reader.members()))
        return CAB_ERR_CORRUPT;
    // A small cabinet can declare gigabytes of well-compressed members.
    if (!FitsOnDisk(reader.members(), param.destinationFolder))
        return CAB_ERR_DISK_FULL;
    if (!QDir().mkpath(param.destinationFolder))
        return CAB_ERR_DESTINATION_WRITE;
    CCabFolderSink sink(param.destinationFolder);
    return reader.Extract(sink);
}

bool IsCabinetFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(cab::kHeaderSize);
    return header.size() == cab::kHeaderSize
        && std::equal(std::begin(cab::kSignature), std::end(cab::kSignature), header.constData())
        && qint64(cab::ReadLe32(header.constData() + cab::kHeaderCabinetSize)) == file.size();
}
