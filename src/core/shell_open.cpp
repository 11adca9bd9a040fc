#include "core/shell_open.h"

#include "core/path_utils.h"

#include <QFileInfo>
#include <QProcess>

#include <atomic>

namespace {
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
} // namespace

bool XdgShellOpener::open(const QString &target)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target});
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
