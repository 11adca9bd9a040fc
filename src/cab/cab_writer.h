#pragma once
// Writes a single cabinet (no cabinet sets) with MSZIP folders. Files go into
// folders in list order; a new folder starts when the next file would take the
// current one past its byte limit. Data blocks are compressed on several
// threads; the cabinet is written to a temporary file beside the target and
// renamed over it only when complete.

#include "cab/cab_format.h"
#include "cab/cab_result.h"
#include "cab/cab_sources.h"

#include <QList>
#include <QString>

class CCabWriter {
public:
    // folderLimit: uncompressed bytes after which the next file opens a new
    // folder (a larger file gets a folder to itself); never above the format's
    // limit. threads: compression threads, 0 for one per processor (up to 8).
    explicit CCabWriter(qint64 folderLimit = cab::kMaxFolderBytes, int threads = 0);

    // The cabinet is made readable and writable by its owner only.
    void SetOwnerOnly(bool ownerOnly) { m_ownerOnly = ownerOnly; }

    CabResult Write(const QList<CabSourceFile> &files, const QString &cabinetPath);

private:
    qint64 m_folderLimit;
    int m_threads;
    bool m_ownerOnly = false;
};
