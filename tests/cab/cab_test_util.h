#pragma once
// Helpers of the cabinet tests: files in temporary folders, random content and
// the Debian cabinet tools the engine is checked against.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace cabtest {

void WriteFile(const QString &path, const QByteArray &data);
QByteArray ReadFile(const QString &path);
// Deterministic bytes that do not compress.
QByteArray RandomBytes(qsizetype size, quint32 seed);
// Text-like bytes that compress well.
QByteArray TextBytes(qsizetype size);

// Every file below folder, as relative path ("/" separators) -> content.
QMap<QString, QByteArray> FolderContents(const QString &folder);

// DLKxCompressCab of the entries (all of them; none: the whole folder).
int Compress(const QString &sourceFolder, const QStringList &entries, const QString &cabinetPath);

// True when the program is on PATH.
bool HasTool(const QString &program);
// Runs a program to its end (at most two minutes) in workingFolder; its exit
// code, or -1 when it could not run. Output is kept in output.
int RunTool(const QString &program, const QStringList &arguments, const QString &workingFolder,
            QString *output = nullptr);

} // namespace cabtest
