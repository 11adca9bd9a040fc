#pragma once
// The program's one view of free disk space, so tests can install a disk that
// is nearly full without filling one.

#include <QString>
#include <QtGlobal>

class IDiskSpace {
public:
    virtual ~IDiskSpace() = default;
    // Bytes this user may still write on the file system holding path (the
    // nearest existing folder above it when path does not exist yet); -1 when
    // it cannot be told.
    virtual qint64 availableBytes(const QString &path) const = 0;
};

class SystemDiskSpace final : public IDiskSpace {
public:
    qint64 availableBytes(const QString &path) const override;
};

// The installed view (the system's unless a test installed another).
IDiskSpace &DiskSpace();
// Installs a view; nullptr restores the system's. The caller keeps ownership.
void SetDiskSpace(IDiskSpace *diskSpace);
