#include "widgets/explorer.h"

#include "widgets/flash_runtime.h"
#include "core/syslog.h"
#include "model/path_safety.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

// Sees every request of the page it guards. While a local page is shown,
// it lets through only reads of the page itself, of files inside the
// readable folders (links followed, so a link that leads out is refused)
// and of the Flash runtime's scheme; everything else, remote or local, is
// blocked and logged.
class CExplorer::CLocalPageGuard final : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void GuardLocalPage(const QString &page, const QStringList &folders)
    {
        m_page = QFileInfo(page).absoluteFilePath();
        m_folders = folders;
    }
    void AllowEverything()
    {
        m_page.clear();
        m_folders.clear();
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (m_page.isEmpty() || isAllowed(info.requestUrl()))
            return;
        WriteSyslog(LOG_WARNING, "CExplorer : Request of a local page blocked : %s",
                    qUtf8Printable(info.requestUrl().toDisplayString()));
        info.block(true);
    }

private:
    bool isAllowed(const QUrl &url) const
    {
        // Data, blob and about addresses are made by the page itself and reach nothing.
        const QString scheme = url.scheme();
        if (scheme == QLatin1String(kFlashRuntimeScheme) || scheme == u"data" || scheme == u"blob"
            || scheme == u"about")
            return true;
        if (!url.isLocalFile())
            return false;
        const QString path = QFileInfo(url.toLocalFile()).absoluteFilePath();
        if (path == m_page)
            return true;
        for (const QString &folder : m_folders) {
            if (ResolvesInsideFolder(folder, path))
                return true;
        }
        return false;
    }

    QString m_page;
    QStringList m_folders;
};

CExplorer::CExplorer(QWidget *parent) : QWebEngineView(parent), m_guard(new CLocalPageGuard(this))
{
    // Pages with Flash movies play them when the runtime is there; without
    // it they show what the browser shows in place of a missing plug-in.
    InstallFlashRuntime(page()->profile());
}

CExplorer::~CExplorer()
{
    // The page does not own the guard, and may outlive it among the children.
    page()->setUrlRequestInterceptor(nullptr);
}

void CExplorer::Navigate(const QString &address, const QStringList &readableFolders)
{
    // A bare path would otherwise be read as a relative web address.
    const QUrl url = QUrl::fromUserInput(address, QDir::currentPath(), QUrl::AssumeLocalFile);
    if (url.isLocalFile()) {
        const QString page = url.toLocalFile();
        m_guard->GuardLocalPage(page, readableFolders.isEmpty() ? QStringList{QFileInfo(page).absolutePath()}
                                                                 : readableFolders);
    } else {
        m_guard->AllowEverything();
    }
    // Set on the page shown now: a window may have put a page of its own in.
    page()->setUrlRequestInterceptor(m_guard);
    load(url);
}
