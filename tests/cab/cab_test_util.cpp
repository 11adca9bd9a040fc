#include "cab_test_util.h"

#include "cab/dlkx_cab.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace cabtest {

void WriteFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(data), data.size());
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray RandomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray data(size, '\0');
    for (char &c : data)
        c = char(generator.bounded(256));
    return data;
}

QByteArray TextBytes(qsizetype size)
{
    static const QByteArray line = "2026/12/07 08:15:26 NTC CTransfer : send : player 12 : content 000000042\r\n";
    QByteArray data;
    data.reserve(size);
    for (int i = 0; data.size() < size; ++i)
        data += line + QByteArray::number(i) + ' ';
    data.truncate(size);
    return data;
}

QMap<QString, QByteArray> FolderContents(const QString &folder)
{
    QMap<QString, QByteArray> contents;
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        contents.insert(root.relativeFilePath(path), ReadFile(path));
    }
    return contents;
}

int Compress(const QString &sourceFolder, const QStringList &entries, const QString &cabinetPath)
{
    DlkxCompressCabParam param;
    param.sourceFolder = sourceFolder;
    param.files = entries;
    param.count = int(entries.size());
    param.cabinetPath = cabinetPath;
    return DLKxCompressCab(param);
}

bool HasTool(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

int RunTool(const QString &program, const QStringList &arguments, const QString &workingFolder, QString *output)
{
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace cabtest
