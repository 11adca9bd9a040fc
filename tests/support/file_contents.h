#pragma once
// Reads a file whole for the tests that check what was written.

#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of the file at path; empty when it cannot be read.
inline QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
