#include "widgets/flash_runtime.h"

#include "widgets/local_page_scheme.h"
#include "core/path_utils.h"
#include "model/path_safety.h"
#include "ops/web_thumbnail.h"

#include <QFile>
#include <QFileInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace {

// The runtime's entry script, and our loader that brings it into a page;
// both lie in the runtime folder.
const QString kRuntimeEntry = QStringLiteral("ruffle.js");
const QString kLoaderFile = QStringLiteral("telv-loader.js");
const QString kLoaderScriptName = QStringLiteral("telv-flash-runtime");

QByteArray MimeTypeOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".wasm")))
        return "application/wasm";
    if (path.endsWith(QLatin1String(".js")))
        return "text/javascript";
    return "application/octet-stream";
}

// Answers "telv-res:/<name>" with the file of that name in the runtime
// folder, to local pages only; any name that would leave the folder, by ".."
// or by a symbolic link that leads out, or is not there, fails.
class CFlashRuntimeSchemeHandler final : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        QString path;
        if (job->requestMethod() != "GET" || job->initiator().scheme() != QLatin1String(kLocalPageScheme)
            || !JoinInsideFolder(FlashRuntimeFolder(), job->requestUrl().path().mid(1), path)) {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        auto *file = new QFile(path, job);
        if (!QFileInfo(path).isFile() || !ResolvesInsideFolder(FlashRuntimeFolder(), path)
            || !file->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        job->reply(MimeTypeOf(path), file);
    }
};

QByteArray ReadLoader()
{
    QFile file(JoinPath(FlashRuntimeFolder(), kLoaderFile));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void RegisterFlashRuntimeScheme()
{
    if (QWebEngineUrlScheme::schemeByName(kFlashRuntimeScheme).name() == kFlashRuntimeScheme)
        return;
    QWebEngineUrlScheme scheme(kFlashRuntimeScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Local pages, each a site of its own, read the runtime across sites; the
    // handler answers them only.
    scheme.setFlags(QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QString FlashRuntimeMissingReason()
{
    for (const QString &name : {kRuntimeEntry, kLoaderFile}) {
        const QString path = JoinPath(FlashRuntimeFolder(), name);
        if (!QFileInfo(path).isFile())
            return QStringLiteral("Flash runtime not installed : %1 is missing").arg(path);
    }
    return {};
}

bool InstallFlashRuntime(QWebEngineProfile *profile)
{
    if (!profile->scripts()->find(kLoaderScriptName).isEmpty())
        return true;
    const QByteArray loader = ReadLoader();
    if (!FlashRuntimeMissingReason().isEmpty() || loader.isEmpty())
        return false;
    if (!profile->urlSchemeHandler(kFlashRuntimeScheme))
        profile->installUrlSchemeHandler(kFlashRuntimeScheme, new CFlashRuntimeSchemeHandler(profile));
    QWebEngineScript script;
    script.setName(kLoaderScriptName);
    script.setSourceCode(QString::fromUtf8(loader));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    profile->scripts()->insert(script);
    return true;
}
