#include "ui/contents/url_thumb_dlg.h"

#include "widgets/explorer.h"
#include "widgets/flash_runtime.h"
#include "core/syslog.h"
#include "model/contents_store.h"
#include "model/property_base.h"
#include "model/thumbnail_maker.h"
#include "ops/local_page_site.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QVariantList>
#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace {

// The page is laid out in a tiny window first, so its scroll size is the
// size of its content rather than of the window.
constexpr QSize kInitialSize(8, 8);

// Takes the page's margins and scroll bars away and measures it: frame
// count, scroll width and scroll height.
const char *const kMeasureScript = R"(
(function() {
  var body = document.body;
  if (body) { body.style.margin = '0px'; body.style.overflow = 'hidden'; }
  document.documentElement.style.overflow = 'hidden';
  return [window.frames.length, body ? body.scrollWidth : 0, body ? body.scrollHeight : 0];
})()
)";

// Asks whether the page's Flash movies are loaded and playing (true on a
// page without the runtime's loader).
const char *const kFlashReadyScript =
    "typeof window.telvFlashReady === 'function' ? window.telvFlashReady() : true";
constexpr int kFlashPollMs = 100;

} // namespace

CUrlThumbDlg::CUrlThumbDlg(const UrlThumbRequest &request, QWidget *parent)
    : QDialog(parent), m_request(request), m_browser(new CExplorer(this))
{
    setObjectName(QString::number(kTemplateId));
    setAttribute(Qt::WA_DontShowOnScreen);
    m_browser->setObjectName(QString::number(IDC_BROWSER));
    m_browser->setContextMenuPolicy(Qt::NoContextMenu);
    m_browser->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    m_browser->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    // The page plays as it would on a player, sound included; the page is
    // muted for as long as it is captured, so nothing is heard.
    m_browser->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    m_browser->page()->setAudioMuted(true);
    m_browser->move(0, 0);
    m_browser->resize(kInitialSize);
    resize(kInitialSize);
    connect(m_browser, &QWebEngineView::loadFinished, this, &CUrlThumbDlg::onLoadFinished);
}

CUrlThumbDlg::~CUrlThumbDlg()
{
    if (!m_flashPage.isEmpty())
        QFile::remove(m_flashPage);
}

void CUrlThumbDlg::Start()
{
    QString page = m_request.source;
    QString readableRoot;
    QString ownPlace = WebContentOwnFolder(GetContentFolders(), m_request.number);
    if (m_request.type == CONTENT_FLASH) {
        if (!MakeFlashThumbPage(FlashTemplatePath(), m_request.source, m_request.dataRoot, m_flashPage)) {
            finish(false);
            return;
        }
        page = m_flashPage;
        // The page made for the movie lies in the data folder; it reads its
        // movie only, not the other movies beside it.
        readableRoot = m_request.source;
        ownPlace = m_request.source;
        const QString missing = FlashRuntimeMissingReason();
        if (!missing.isEmpty())
            WriteSyslog(LOG_WARNING, "CUrlThumbDlg : %s : the movie is shown without it", qUtf8Printable(missing));
    }
    m_thumbFolder = ThumbnailFolder(m_request.dataRoot, m_request.type);
    QTimer::singleShot(qMax(0, m_request.delayMs) + kCaptureBoundMs, this, [this] {
        WriteSyslog(LOG_WARNING, "CUrlThumbDlg : Capture time out : %s", qUtf8Printable(m_request.source));
        finish(false);
    });
    show();
    m_browser->Navigate(page, readableRoot, ownPlace);
}

void CUrlThumbDlg::onLoadFinished(bool ok)
{
    // A page with frames completes more than once; only the first counts.
    if (m_timerStarted || m_finished)
        return;
    if (!ok) {
        WriteSyslog(LOG_WARNING, "CUrlThumbDlg : Page load failed : %s", qUtf8Printable(m_request.source));
        finish(false);
        return;
    }
    m_timerStarted = true;
    m_browser->page()->runJavaScript(QString::fromLatin1(kMeasureScript), [this](const QVariant &result) {
        const QVariantList values = result.toList();
        QSize pageSize;
        // Only a web page without frames is captured at its own size.
        if (m_request.type == CONTENT_WEB && values.size() == 3 && values[0].toInt() == 0)
            pageSize = QSize(values[1].toInt(), values[2].toInt());
        startCapture(pageSize);
    });
}

void CUrlThumbDlg::startCapture(QSize pageSize)
{
    m_captureSize = UrlCaptureSize(m_request, pageSize);
    resize(m_captureSize);
    m_browser->resize(m_captureSize);
    waitForFlash(kFlashWaitMs / kFlashPollMs);
}

void CUrlThumbDlg::waitForFlash(int pollsLeft)
{
    if (m_finished)
        return;
    m_browser->page()->runJavaScript(QString::fromLatin1(kFlashReadyScript), [this, pollsLeft](const QVariant &ready) {
        if (ready.toBool() || pollsLeft <= 0) {
            if (!ready.toBool())
                WriteSyslog(LOG_WARNING, "CUrlThumbDlg : Flash movie not loaded : %s", qUtf8Printable(m_request.source));
            QTimer::singleShot(qMax(0, m_request.delayMs), this, &CUrlThumbDlg::capture);
            return;
        }
        QTimer::singleShot(kFlashPollMs, this, [this, pollsLeft] { waitForFlash(pollsLeft - 1); });
    });
}

void CUrlThumbDlg::capture()
{
    if (m_finished)
        return;
    const QImage image = m_browser->grab(QRect(QPoint(0, 0), m_captureSize)).toImage();
    const bool written = !image.isNull()
        && WriteThumbnailPair(image, MakeSmallThumbnail(image), m_thumbFolder, m_request.number);
    m_browser->stop();
    finish(written);
}

void CUrlThumbDlg::finish(bool written)
{
    if (m_finished)
        return;
    m_finished = true;
    m_browser->page()->setAudioMuted(false);
    emit Finished(written);
    done(written ? Accepted : Rejected);
}
