#include "widgets/explorer.h"

#include "widgets/flash_runtime.h"
#include "widgets/local_page_scheme.h"
#include "core/syslog.h"

#include <QDir>
#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

// Sees the requests of the page it guards. While a local page is shown, it
// lets through only requests to the page's own site, the Flash runtime's
// scheme, and addresses the page makes itself; everything else (a
// navigation away, above all) is blocked and logged. The confinement does
// not rest on it: workers' requests pass it unseen, and the scheme's policy
// and the engine keep them in.
class CExplorer::CLocalPageGuard final : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    // The site of the local page shown, or empty while a web page is.
    QUrl site;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (site.isEmpty() || isAllowed(info.requestUrl()))
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
        return (scheme == QLatin1String(kLocalPageScheme) && url.host() == site.host())
            || scheme == QLatin1String(kFlashRuntimeScheme) || scheme == u"data" || scheme == u"blob"
            || scheme == u"about";
    }
};

CExplorer::CExplorer(QWidget *parent) : QWebEngineView(parent), m_guard(new CLocalPageGuard(this))
{
    // Pages with Flash movies play them when the runtime is there; without
    // it they show what the browser shows in place of a missing plug-in.
    InstallFlashRuntime(page()->profile());
}

CExplorer::~CExplorer()
{
    withdrawLocalPage();
    // The page does not own the guard, and may outlive it among the children.
    page()->setUrlRequestInterceptor(nullptr);
}

QUrl CExplorer::Navigate(const QString &address, const QString &readableRoot, const QString &ownPlace)
{
    withdrawLocalPage();
    // A bare path would otherwise be read as a relative web address.
    QUrl url = QUrl::fromUserInput(address, QDir::currentPath(), QUrl::AssumeLocalFile);
    if (url.isLocalFile()) {
        const QString file = url.toLocalFile();
        url = ServeLocalPage(page()->profile(), file,
                             readableRoot.isEmpty() ? QFileInfo(file).absolutePath() : readableRoot, ownPlace);
        m_guard->site = url;
    }
    // Set on the page shown now: a window may have put a page of its own in.
    page()->setUrlRequestInterceptor(m_guard);
    load(url);
    return url;
}

void CExplorer::withdrawLocalPage()
{
    if (!m_guard->site.isEmpty())
        WithdrawLocalPage(page()->profile(), m_guard->site);
    m_guard->site.clear();
}
