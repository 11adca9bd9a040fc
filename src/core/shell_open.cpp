#include "core/shell_open.h"

#include "core/path_utils.h"

#include <QFileInfo>
#include <QProcess>

#include <atomic>

namespace {
constexpr int kQueryTimeoutMs = 5000;
XdgShellOpener g_xdgOpener;
std::atomic<IShellOpener *> g_opener{&g_xdgOpener};

// A relative path is handed over as an absolute one, so a file name that
// begins with "-" can never be read as an option of the opener.
QString OpenerArgument(const QString &path)
{
    if (IsHttpUrl(path) || path.startsWith(QLatin1Char('/')))
        return path;
    return QFileInfo(path).absoluteFilePath();
}

// The answer of one xdg-mime query; empty when the tool is missing or says nothing.
QString XdgMimeQuery(const QStringList &arguments)
{
    QProcess query;
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start(QStringLiteral("xdg-mime"), arguments);
    if (!query.waitForFinished(kQueryTimeoutMs) || query.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

// Whether the desktop names a program for a local file. xdg-open, started on
// its own, fails only on its own error output, long after we returned; a
// file without a program is caught here instead.
bool HasDefaultProgram(const QString &path)
{
    if (IsHttpUrl(path) || QFileInfo(path).isDir())
        return true;
    const QString mimeType = XdgMimeQuery({QStringLiteral("query"), QStringLiteral("filetype"), path});
    return mimeType.isEmpty()
        || !XdgMimeQuery({QStringLiteral("query"), QStringLiteral("default"), mimeType}).isEmpty();
}

} // namespace

bool XdgShellOpener::open(const QString &target)
{
    return HasDefaultProgram(target) && QProcess::startDetached(QStringLiteral("xdg-open"), {target});
}

IShellOpener &ShellOpener()
{
    return *g_opener.load();
}

void SetShellOpener(IShellOpener *opener)
{
    g_opener.store(opener ? opener : &g_xdgOpener);
}

bool ShellOpenFile(const QString &path)
{
    // An empty path names no file (made absolute it would open the current folder).
    if (path.isEmpty())
        return true;
    const bool opened = ShellOpener().open(OpenerArgument(path));
    return opened || !QFileInfo::exists(path);
}
