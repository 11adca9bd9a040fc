#pragma once
// A set of files as they were, so that a change that writes several files
// and fails half-way can be taken back, and so that files written for one
// use only can be taken away again: Restore writes every file that existed
// back as it was and removes the ones that did not exist.

#include <QByteArray>
#include <QStringList>

#include <vector>

class CFileSnapshot {
public:
    // Reads the files at the paths; a file that exists but cannot be read is
    // logged and left alone by Restore.
    explicit CFileSnapshot(const QStringList &paths);

    // Puts every file back (an existing one atomically); false (logged) when
    // one could not be.
    bool Restore() const;

private:
    struct Entry {
        QString path;
        bool existed = false;
        QByteArray data;
    };
    std::vector<Entry> m_files;
};
