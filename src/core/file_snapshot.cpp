#include "core/file_snapshot.h"

#include "core/atomic_file.h"
#include "core/syslog.h"

#include <QFile>

CFileSnapshot::CFileSnapshot(const QStringList &paths)
{
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.exists()) {
            m_files.push_back({path, false, {}});
            continue;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            WriteSyslog(LOG_WARNING, "CFileSnapshot : not read, left as it will be : %s", qUtf8Printable(path));
            continue;
        }
        m_files.push_back({path, true, file.readAll()});
    }
}

bool CFileSnapshot::Restore() const
{
    bool restored = true;
    for (const Entry &entry : m_files) {
        const bool done = entry.existed ? WriteFileAtomically(entry.path, entry.data)
                                        : !QFile::exists(entry.path) || QFile::remove(entry.path);
        if (!done) {
            WriteSyslog(LOG_ERR_APP, "CFileSnapshot::Restore : not put back : %s", qUtf8Printable(entry.path));
            restored = false;
        }
    }
    return restored;
}
