// A second copy of the program's clipboard side, run as its own process by the
// two-process clipboard test on a private X display.
//
//   clipboard_peer put playlist <type> <index>...
//   clipboard_peer put schedule <group number> <resolution> <orientation> <index>...
//   clipboard_peer put bytes playlist|schedule <hex>
//       Copies through the frame's copy operations (or puts raw bytes in a
//       copy format), prints "ready" once it owns the clipboard, and serves
//       it until its standard input closes.
//   clipboard_peer get playlist <type> <list count>
//   clipboard_peer get schedule <schedule count>
//       Reads the clipboard through the paste's readers and prints one line:
//       the fields read, "refused" or "empty".
#include "model/q9_group_xml.h"
#include "ops/clipboard_formats.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

namespace {

QList<quint32> numbersFrom(const QStringList &args, qsizetype first)
{
    QList<quint32> numbers;
    for (qsizetype i = first; i < args.size(); ++i)
        numbers.append(args[i].toUInt());
    return numbers;
}

QString joined(const QList<quint32> &numbers)
{
    QStringList texts;
    for (quint32 number : numbers)
        texts.append(QString::number(number));
    return texts.join(QLatin1Char(' '));
}

void printLine(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

bool copyScheduleOfGroup(const QStringList &args)
{
    if (args.size() < 6)
        return false;
    CQ9GroupXml groups;
    CGroupRecord group;
    group.Number = int(args[3].toUInt());
    group.Name = QStringLiteral("Lobby");
    group.ResolutionId = int(args[4].toUInt());
    group.Orientation = int(args[5].toUInt());
    groups.AddGroup(group);
    // The editor's group name differs in case: the look-up ignores it.
    return CopyScheduleSelection(groups, QStringLiteral("LOBBY"), numbersFrom(args, 6));
}

bool putOnClipboard(const QStringList &args)
{
    const QString what = args.value(2);
    if (what == QLatin1String("playlist"))
        return args.size() >= 4 && CopyPlaylistSelection(args[3].toInt(), numbersFrom(args, 4));
    if (what == QLatin1String("schedule"))
        return copyScheduleOfGroup(args);
    if (what == QLatin1String("bytes") && args.size() == 5) {
        const ClipboardFormat format =
            args[3] == QLatin1String("schedule") ? CLIPBOARD_SCHEDULE_COPY : PlaylistCopyFormat(52);
        return PutClipboardBlock(format, QByteArray::fromHex(args[4].toLatin1()));
    }
    return false;
}

// Serves the clipboard to other processes until the driver closes our input.
int serveClipboard(QGuiApplication &app)
{
    if (!QGuiApplication::clipboard()->ownsClipboard()) {
        printLine(QStringLiteral("not owner"));
        return 1;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&app, &input] {
        char buffer[64];
        if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            app.quit();
        }
    });
    printLine(QStringLiteral("ready"));
    return app.exec();
}

QString readPlaylist(const QStringList &args)
{
    const int type = args.value(3).toInt();
    const QByteArray block = GetClipboardBlock(PlaylistCopyFormat(type));
    QList<quint32> indexes;
    if (block.isEmpty())
        return QStringLiteral("empty");
    if (!ReadPlaylistCopyBlock(block, args.value(4).toLongLong(), indexes))
        return QStringLiteral("refused");
    return QStringLiteral("indexes %1").arg(joined(indexes));
}

QString readSchedule(const QStringList &args)
{
    const QByteArray block = GetClipboardBlock(CLIPBOARD_SCHEDULE_COPY);
    ScheduleCopyBlock copy;
    if (block.isEmpty())
        return QStringLiteral("empty");
    if (!ReadScheduleCopyBlock(block, copy) || !AreIndexesBelow(copy.indexes, args.value(3).toLongLong()))
        return QStringLiteral("refused");
    return QStringLiteral("group %1 resolution %2 orientation %3 indexes %4")
        .arg(copy.groupNumber)
        .arg(copy.resolutionId)
        .arg(copy.orientation)
        .arg(joined(copy.indexes));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("put")) {
        if (!putOnClipboard(args)) {
            printLine(QStringLiteral("bad put"));
            return 2;
        }
        return serveClipboard(app);
    }
    if (mode == QLatin1String("get")) {
        const QString what = args.value(2);
        printLine(what == QLatin1String("schedule") ? readSchedule(args) : readPlaylist(args));
        return 0;
    }
    printLine(QStringLiteral("usage: clipboard_peer put|get ..."));
    return 2;
}
