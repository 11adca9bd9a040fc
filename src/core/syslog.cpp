#include "core/syslog.h"

#include "core/clock.h"
#include "core/format_utils.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <cstdarg>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

struct SyslogState {
    std::mutex mutex; // orders the lines of this process's threads
    QString folder;
    QString prefix;
    std::atomic<int> level{kDefaultLogLevel};
    std::atomic<bool> open{false};
};

SyslogState &State()
{
    static SyslogState state;
    return state;
}

// Appends one line under an exclusive lock on the file, so that two processes
// writing the same day's log never interleave inside a line.
void AppendLocked(const QString &path, const QByteArray &line)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX) == 0) {
        const char *data = line.constData();
        qsizetype left = line.size();
        while (left > 0) {
            const ssize_t written = ::write(fd, data, size_t(left));
            if (written <= 0)
                break;
            data += written;
            left -= written;
        }
        ::flock(fd, LOCK_UN);
    }
    ::close(fd);
}

} // namespace

const char *SyslogLevelText(int level)
{
    static const char *const kTexts[] = {"ERR [WIN]", "ERR [APP]", "ERR [DLKX]", "ERR [HTTP]", "WNG", "NTC", "INF", "DBG"};
    if (level < 0 || level > LOG_DEBUG)
        return "";
    return kTexts[level];
}

QString SyslogFileName(const QString &folder, const QString &prefix, int year, int month, int day)
{
    return QString::asprintf("%s/%s%04d%02d%02d.log", qUtf8Printable(folder), qUtf8Printable(prefix), year, month, day);
}

bool OpenSyslog(const QString &folder, const QString &prefix, int level)
{
    SyslogState &state = State();
    std::lock_guard lock(state.mutex);
    if (!QDir().mkpath(folder))
        return false;
    state.folder = QDir::cleanPath(folder);
    state.prefix = prefix;
    state.level = level;
    state.open = true;
    return true;
}

void CloseSyslog()
{
    SyslogState &state = State();
    std::lock_guard lock(state.mutex);
    state.open = false;
}

bool IsSyslogOpen()
{
    return State().open;
}

int GetSyslogLevel()
{
    return State().level;
}

void WriteSyslogText(int level, const QString &text)
{
    SyslogState &state = State();
    if (!state.open || level < 0 || level > state.level)
        return;
    const SystemTime now = GetLocalTime();
    const QString prefix = FormatTimeMsText(now.hour, now.minute, now.second, now.milliseconds)
        + QLatin1String(" : ") + QLatin1String(SyslogLevelText(level)) + QLatin1String(" : ");
    const QByteArray line = (prefix + text).toUtf8() + '\n';
    std::lock_guard lock(state.mutex);
    if (!state.open)
        return;
    AppendLocked(SyslogFileName(state.folder, state.prefix, now.year, now.month, now.day), line);
}

void WriteSyslog(int level, const char *format, ...)
{
    if (!State().open || level < 0 || level > State().level)
        return;
    va_list args;
    va_start(args, format);
    const QString text = QString::vasprintf(format, args);
    va_end(args);
    WriteSyslogText(level, text);
}
