// Feeds arbitrary bytes to the INI reader as a file, then writes and deletes
// keys and checks that what was written reads back, that other keys keep their
// values and that a fresh reader of the saved file agrees.
#include "core/profile_ini.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace {

QString fuzzFilePath()
{
    return QDir::tempPath() + QStringLiteral("/ini_fuzz_%1.ini").arg(::getpid());
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFilePath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }

    CProfileIni ini(path);
    const QString sections[] = {QStringLiteral("Content\\Index"), QStringLiteral("option"), QStringLiteral("A")};
    const QString keys[] = {QStringLiteral("User"), QStringLiteral("k"), QStringLiteral("Video")};
    for (const QString &section : sections) {
        for (const QString &key : keys) {
            ini.GetString(section, key);
            ini.GetInt(section, key, -1);
            ini.GetTime(section, key, TimeValue{});
        }
    }

    const QString otherBefore = ini.GetString(sections[1], keys[2], QStringLiteral("<none>"));
    const QString written = QStringLiteral("v%1").arg(size);
    check(ini.WriteString(sections[0], keys[0], written));
    check(ini.GetString(sections[0], keys[0]) == written);
    check(ini.GetString(sections[1], keys[2], QStringLiteral("<none>")) == otherBefore);
    {
        CProfileIni fresh(path);
        check(fresh.GetString(sections[0], keys[0]) == written);
        check(fresh.GetString(sections[1], keys[2], QStringLiteral("<none>")) == otherBefore);
    }

    check(ini.DeleteKey(sections[0], keys[0]));
    check(!ini.HasKey(sections[0], keys[0]));
    check(ini.DeleteSection(sections[2]));
    check(!ini.HasSection(sections[2]));
    {
        CProfileIni fresh(path);
        check(!fresh.HasKey(sections[0], keys[0]));
        check(!fresh.HasSection(sections[2]));
    }

    QFile::remove(path);
    return 0;
}
