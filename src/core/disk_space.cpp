#include "core/disk_space.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <atomic>

namespace {
SystemDiskSpace g_systemDiskSpace;
std::atomic<IDiskSpace *> g_diskSpace{&g_systemDiskSpace};

// A folder about to be created is measured on the folder that will hold it.
QString ExistingFolderAtOrAbove(const QString &path)
{
    QFileInfo info(QDir::cleanPath(QDir(path).absolutePath()));
    while (!info.exists() && !info.isRoot() && info.absolutePath() != info.absoluteFilePath())
        info = QFileInfo(info.absolutePath());
    return info.absoluteFilePath();
}
} // namespace

qint64 SystemDiskSpace::availableBytes(const QString &path) const
{
    const QStorageInfo storage(ExistingFolderAtOrAbove(path));
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

IDiskSpace &DiskSpace()
{
    return *g_diskSpace.load();
}

void SetDiskSpace(IDiskSpace *diskSpace)
{
    g_diskSpace.store(diskSpace ? diskSpace : &g_systemDiskSpace);
}
