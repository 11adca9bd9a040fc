#include "ops/web_thumbnail.h"

#include "core/atomic_file.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "model/property_base.h"
#include "model/thumbnail_maker.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <atomic>

namespace {

std::atomic<IUrlThumbnailMaker *> g_maker{nullptr};
// Set only by tests, before any browser starts.
QString g_flashResourceFolder;

int CaptureSide(int pageSide, int requestSide)
{
    const int side = pageSide > 0 ? pageSide : requestSide;
    return qBound(1, side, kMaxCaptureSide);
}

// printf with one string argument, done literally so that a template can
// never make the formatter read arguments that are not there.
QString FillTemplate(const QString &text, const QString &argument)
{
    QString page;
    page.reserve(text.size() + argument.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && (text[i + 1] == u's' || text[i + 1] == u'%')) {
            page += text[i + 1] == u's' ? argument : QStringLiteral("%");
            ++i;
            continue;
        }
        page += text[i];
    }
    return page;
}

} // namespace

IUrlThumbnailMaker *GetUrlThumbnailMaker()
{
    return g_maker.load();
}

void SetUrlThumbnailMaker(IUrlThumbnailMaker *maker)
{
    g_maker.store(maker);
}

QSize UrlCaptureSize(const UrlThumbRequest &request, QSize pageSize)
{
    return {CaptureSide(pageSize.width(), request.width), CaptureSide(pageSize.height(), request.height)};
}

QString FlashResourceFolder()
{
    if (!g_flashResourceFolder.isEmpty())
        return g_flashResourceFolder;
    QString folder;
    GetModuleFolder(folder);
    return folder;
}

void SetFlashResourceFolder(const QString &folder)
{
    g_flashResourceFolder = folder;
}

QString FlashTemplatePath()
{
    return JoinPath(FlashResourceFolder(), QStringLiteral("BaseFlash.htm"));
}

QString FlashRuntimeFolder()
{
    return JoinPath(FlashResourceFolder(), QStringLiteral("flash-runtime"));
}

bool MakeFlashThumbPage(const QString &templatePath, const QString &flashPath, const QString &dataRoot,
                        QString &pagePath)
{
    QFile file(templatePath);
    if (!file.open(QIODevice::ReadOnly)) {
        WriteSyslog(LOG_ERR_APP, "Cannot find BaseFile = %s.", qUtf8Printable(QFileInfo(templatePath).fileName()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        WriteSyslog(LOG_ERR_APP, "Cannot read BaseFile = %s.", qUtf8Printable(QFileInfo(templatePath).fileName()));
        return false;
    }
    const QString page = JoinPath(DataFolderOf(dataRoot), QStringLiteral("ThumbFlash.htm"));
    WriteSyslog(LOG_DEBUG, "Write Web File = %s", qUtf8Printable(page));
    // The page is shown as a site of the movie's folder, so it names the
    // movie relatively; a "#", "?" or "%" in the name must not be taken as
    // part of an address.
    const QString movieUrl = QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(flashPath).fileName()));
    const QString text = FillTemplate(QString::fromUtf8(bytes), movieUrl.toHtmlEscaped());
    if (CreateFolderPath(DataFolderOf(dataRoot)) < 0
        || !WriteFileAtomically(page, text.toUtf8(), FileDurability::Unsynced)) {
        WriteSyslog(LOG_ERR_APP, "File(%s) cannot write open.", qUtf8Printable(page));
        return false;
    }
    pagePath = page;
    return true;
}

void StoreEditedUrlThumbnails(const QString &dataRoot, qint64 number, const QImage &large, const QImage &small,
                              qint64 copyFrom)
{
    const QString folder = ThumbnailFolder(dataRoot, CONTENT_WEB);
    WriteThumbnailPair(large, small, folder, number);
    if (copyFrom < 0)
        return;
    for (bool isSmall : {false, true}) {
        QString from;
        QString to;
        if ((isSmall ? small : large).isNull() && MakeThumbnailPath(folder, copyFrom, isSmall, from)
            && MakeThumbnailPath(folder, number, isSmall, to) && QFile::exists(from)) {
            QFile::remove(to);
            QFile::copy(from, to);
        }
    }
}
