#include "widgets/local_page_scheme.h"

#include "core/syslog.h"
#include "model/app_data.h"
#include "model/path_safety.h"
#include "ops/local_page_site.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QStringDecoder>
#include <QUuid>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace {

// The policy of every document of the scheme: its own site and the runtime
// for every kind of request; scripts of the page's own (inline, eval,
// WebAssembly); workers from blob: addresses only, so that each inherits the
// policy; frames of the site only; no forms.
const char kLocalPagePolicy[] = "default-src 'self' telv-res: data: blob: 'unsafe-inline' 'unsafe-eval'; "
                                "worker-src blob:; frame-src 'self' blob:; form-action 'none'";

// The engine's switches: WebRTC uses UDP only through a proxy, and the
// engine is given none, so it sends no STUN, TURN or peer packet over UDP.
const char kEngineSwitches[] = "--force-webrtc-ip-handling-policy=disable_non_proxied_udp";

// Where the policy goes: after a byte order mark, HTML white space, and a
// document type or an XML declaration (each ends at its first ">", as the
// engine reads it), so a page keeps its standards mode. Nothing else is
// skipped: the policy must come before anything that could run.
qsizetype PolicyPosition(const QByteArray &html)
{
    qsizetype at = html.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (true) {
        while (at < html.size() && QByteArrayLiteral(" \t\n\f\r").contains(html[at]))
            ++at;
        const QByteArray rest = html.mid(at, 9).toLower();
        const qsizetype end = rest.startsWith("<!doctype") || rest.startsWith("<?") ? html.indexOf('>', at) : -1;
        if (end < 0)
            return at;
        at = end + 1;
    }
}

// The document with the policy as its first element. A page in UTF-16 is
// given in UTF-8 (with its mark, which settles the encoding).
QByteArray WithPolicy(QByteArray html)
{
    if (html.startsWith("\xFF\xFE") || html.startsWith("\xFE\xFF")) {
        QStringDecoder decode(html.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        html = "\xEF\xBB\xBF" + QString(decode(html.mid(2))).toUtf8();
    }
    return html.insert(PolicyPosition(html),
                       QByteArray("<meta http-equiv=\"Content-Security-Policy\" content=\"") + kLocalPagePolicy + "\">");
}

// One local page shown: its file, its address path, and the folder its
// other requests are answered from, or the one file it may read beside
// itself (none: the page alone).
struct LocalSite {
    QString page;
    QString pagePath;
    QString root;
};

// Answers the scheme's requests that the site itself or the engine's own
// top-level navigation makes: the page at its path, and any other path with
// the file of that name in the site's folder, when neither the name nor the
// file's real path (links followed) passes through a hidden file or folder
// and the real path lies in the folder; a site of one file answers that
// file at its name only. A document (a page or frame being loaded: the
// engine then asks for HTML first) is always given as HTML with the policy,
// so no document of the site runs without it, not even an SVG or XML file
// whose scripts a policy in a <meta> element would not reach.
class CLocalPageHandler final : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    QHash<QString, LocalSite> sites;

    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        const auto site = sites.constFind(job->requestUrl().host());
        QString path;
        if (job->requestMethod() != "GET" || site == sites.constEnd() || !isOwnRequest(*job)
            || !resolve(*site, job->requestUrl(), path)) {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        auto *file = new QFile(path, job);
        if (!file->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        if (!job->requestHeaders().value("Accept").startsWith("text/html")) {
            job->reply(QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toUtf8(), file);
            return;
        }
        auto *document = new QBuffer(job);
        document->setData(WithPolicy(file->readAll()));
        document->open(QIODevice::ReadOnly);
        job->reply("text/html", document);
    }

private:
    // The engine names no initiator for a navigation of its own (the window
    // loading the page); any other request is the site's own only when the
    // site makes it (its page, frames and workers), not another page that
    // learnt its name.
    static bool isOwnRequest(const QWebEngineUrlRequestJob &job)
    {
        const QUrl initiator = job.initiator();
        return initiator.isEmpty()
            || (initiator.scheme() == QLatin1String(kLocalPageScheme) && initiator.host() == job.requestUrl().host());
    }

    static bool resolve(const LocalSite &site, const QUrl &url, QString &path)
    {
        if (url.path() == site.pagePath) {
            path = site.page;
            return true;
        }
        const QString name = url.path().mid(1);
        if (QFileInfo(site.root).isFile()) {
            path = site.root;
            return name == QFileInfo(site.root).fileName();
        }
        if (site.root.isEmpty() || IsHiddenRelativePath(name) || !JoinInsideFolder(site.root, name, path)
            || !QFileInfo(path).isFile() || !ResolvesInsideFolder(site.root, path))
            return false;
        return !IsHiddenRelativePath(QDir(site.root).relativeFilePath(QFileInfo(path).canonicalFilePath()));
    }
};

CLocalPageHandler *HandlerOf(QWebEngineProfile *profile)
{
    auto *handler = static_cast<CLocalPageHandler *>(const_cast<QWebEngineUrlSchemeHandler *>(
        profile->urlSchemeHandler(kLocalPageScheme)));
    if (!handler) {
        handler = new CLocalPageHandler(profile);
        profile->installUrlSchemeHandler(kLocalPageScheme, handler);
    }
    return handler;
}

} // namespace

void PrepareLocalPageEngine()
{
    if (QWebEngineUrlScheme::schemeByName(kLocalPageScheme).name() == kLocalPageScheme)
        return;
    QWebEngineUrlScheme scheme(kLocalPageScheme);
    // A host per page makes each page a site of its own; no flags: not
    // secure, not local, no access to local files.
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    QWebEngineUrlScheme::registerScheme(scheme);
    QByteArray switches = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!switches.contains(kEngineSwitches))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (switches + ' ' + kEngineSwitches).trimmed());
}

QUrl ServeLocalPage(QWebEngineProfile *profile, const QString &page, const QString &root, const QString &ownPlace)
{
    const LocalPageSite allowed = LocalPageSiteOf(root, GetAppData().GetDataRoot(), ownPlace);
    if (!allowed.refusal.isEmpty())
        WriteSyslog(LOG_WARNING, "CExplorer : Local page served without its folder : %s : %s", qUtf8Printable(page),
                    qUtf8Printable(allowed.refusal));
    const QFileInfo facts(page);
    const QString realPage = facts.canonicalFilePath().isEmpty() ? facts.absoluteFilePath() : facts.canonicalFilePath();
    const QString inFolder = QDir(allowed.root).relativeFilePath(realPage);
    const bool inRootFolder = QFileInfo(allowed.root).isDir() && !inFolder.startsWith(QLatin1String(".."))
        && !QDir::isAbsolutePath(inFolder);
    LocalSite site{facts.absoluteFilePath(), QString(), allowed.root};
    site.pagePath = QLatin1Char('/') + (inRootFolder ? inFolder : facts.fileName());
    QUrl address;
    address.setScheme(QString::fromLatin1(kLocalPageScheme));
    address.setHost(QUuid::createUuid().toString(QUuid::Id128));
    address.setPath(site.pagePath);
    HandlerOf(profile)->sites.insert(address.host(), site);
    return address;
}

void WithdrawLocalPage(QWebEngineProfile *profile, const QUrl &address)
{
    HandlerOf(profile)->sites.remove(address.host());
}
