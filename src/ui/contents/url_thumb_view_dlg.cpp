#include "ui/contents/url_thumb_view_dlg.h"

#include "widgets/explorer.h"
#include "app/window_placement.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "model/contents_store.h"
#include "model/path_safety.h"
#include "model/property_base.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "ops/local_page_site.h"
#include "ui/contents/content_dialog_messages.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariantList>
#include <QWebEnginePage>
#include <QWebEngineSettings>

#include <memory>

namespace {

// A resized page is drawn at its new size by its own process, as soon as the
// machine lets it: the capture waits for the page to say it has drawn a frame
// at that size, asking this often, and at most this long for a page that never
// says so.
constexpr int kRedrawPollMs = 20;
constexpr int kRedrawLimitMs = 10000;
constexpr int kRedrawSettleMs = 50;

// True once the page is laid out at the given size and has drawn two frames
// since the first time it was asked for this capture.
const char *const kDrawnAtSizeScript = R"(
(function(width, height, capture) {
  if (window.innerWidth !== width || window.innerHeight !== height)
    return false;
  if (window.telvCapture !== capture) {
    window.telvCapture = capture;
    window.telvDrawn = false;
    requestAnimationFrame(function() {
      requestAnimationFrame(function() { window.telvDrawn = window.telvCapture === capture; });
    });
  }
  return window.telvDrawn === true;
})(%1, %2, %3)
)";

// Cancels the page's own handling of input, so it cannot be clicked, typed
// into, dragged or selected.
const char *const kNeutraliseScript = R"(
(function() {
  var stop = function(e) { e.preventDefault(); e.stopPropagation(); return false; };
  ['click', 'dblclick', 'keydown', 'keypress', 'keyup', 'mousedown', 'mouseup', 'mouseover',
   'dragstart', 'selectstart', 'beforeeditfocus', 'submit'].forEach(function(name) {
    window.addEventListener(name, stop, true);
  });
})()
)";

// The page's size, never less than the part of it the window shows: a short
// page's body is only as high as its text, which would make a thin strip.
const char *const kPageSizeScript = R"(
(function() {
  var body = document.body;
  if (body) { body.style.margin = '0px'; body.style.overflow = 'hidden'; }
  return [window.frames.length, body ? Math.max(body.scrollWidth, window.innerWidth) : 0,
          body ? Math.max(body.scrollHeight, window.innerHeight) : 0];
})()
)";

QString PageAddress(const CWebProperty &record, const QString &address)
{
    if (IsHttpUrl(address) || IsAbsolutePath(address))
        return address;
    QString page;
    JoinInsideFolder(GetContentFolders().GetContentFolder(CONTENT_WEB), record.GetUrl(), page);
    return page;
}

} // namespace

// Once the page has loaded, only the page itself may be shown again.
class CUrlThumbViewDlg::LockedPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    bool locked = false;
    QUrl page;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool) override
    {
        WriteSyslog(LOG_DEBUG, "BeforeNavigate2Explorer = %s : %s", qUtf8Printable(url.toString()),
                    locked && url != page ? "cancel" : "go");
        return !locked || url == page;
    }
};

CUrlThumbViewDlg::CUrlThumbViewDlg(const CWebProperty &record, const QString &address, QImage *small, QImage *large,
                                   QWidget *parent)
    : QDialog(parent),
      m_page(PageAddress(record, address)),
      m_small(small),
      m_large(large),
      m_browser(new CExplorer(this)),
      m_lockedPage(new LockedPage(m_browser)),
      m_width(new QLineEdit(this)),
      m_height(new QLineEdit(this)),
      m_status(new QLabel(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("サムネイル設定"));
    setSizeGripEnabled(true);
    m_browser->setPage(m_lockedPage);
    m_browser->setObjectName(QString::number(IDC_BROWSER));
    m_browser->setContextMenuPolicy(Qt::NoContextMenu);
    m_browser->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    m_browser->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    m_width->setObjectName(QString::number(IDC_WIDTH));
    m_height->setObjectName(QString::number(IDC_HEIGHT));
    m_status->setObjectName(QString::number(IDC_STATUS));

    auto *setThumbnail = new QPushButton(QStringLiteral("サムネイルに指定して閉じる"), this);
    setThumbnail->setObjectName(QString::number(ID_SET_THUMBNAIL));
    auto *useWindow = new QPushButton(QStringLiteral("ウィンドウのサイズを反映"), this);
    useWindow->setObjectName(QString::number(IDC_USE_WINDOW_SIZE));
    connect(setThumbnail, &QPushButton::clicked, this, &CUrlThumbViewDlg::OnSetThumbnail);
    connect(useWindow, &QPushButton::clicked, this, &CUrlThumbViewDlg::OnUseWindowSize);
    connect(m_browser, &QWebEngineView::loadFinished, this, &CUrlThumbViewDlg::onLoadFinished);
    connect(m_lockedPage, &QWebEnginePage::linkHovered, m_status, &QLabel::setText);

    auto *range = new QHBoxLayout;
    range->addWidget(setThumbnail);
    range->addSpacing(16);
    range->addWidget(new QLabel(QStringLiteral("サムネイルの範囲："), this));
    range->addWidget(m_width);
    range->addWidget(new QLabel(QStringLiteral("(幅) x"), this));
    range->addWidget(m_height);
    range->addWidget(new QLabel(QStringLiteral("(高さ)"), this));
    range->addWidget(useWindow);
    range->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(m_browser, 1);
    layout->addWidget(m_status);

    resize(1024, 768);
    WinRect stored;
    if (GetAppIni().GetWindowRect(kWindowNumber, stored) && IsWindowRectVisible(stored))
        setGeometry(FitOnScreen(ToQRect(stored)));
    m_lockedPage->page = m_browser->Navigate(m_page, {}, WebContentOwnFolder(GetContentFolders(), record.GetIndex()));
}

CUrlThumbViewDlg::~CUrlThumbViewDlg()
{
    GetAppIni().SetWindowRect(kWindowNumber, ToWinRect(normalGeometry()));
}

void CUrlThumbViewDlg::onLoadFinished(bool ok)
{
    if (!ok || m_lockedPage->locked)
        return;
    m_lockedPage->runJavaScript(QString::fromLatin1(kNeutraliseScript));
    m_lockedPage->locked = true;
    GetPageSize();
}

void CUrlThumbViewDlg::GetPageSize()
{
    m_lockedPage->runJavaScript(QString::fromLatin1(kPageSizeScript), [this](const QVariant &result) {
        const QVariantList values = result.toList();
        if (values.size() == 3 && values[0].toInt() < 2) {
            const int width = qMin(values[1].toInt(), kMaxSide);
            const int height = qMin(values[2].toInt(), kMaxSide);
            if (width >= 1 && height >= 1) {
                m_width->setText(QString::number(width));
                m_height->setText(QString::number(height));
            }
        }
        emit PageReady();
    });
}

void CUrlThumbViewDlg::OnUseWindowSize()
{
    m_width->setText(QString::number(m_browser->width()));
    m_height->setText(QString::number(m_browser->height()));
}

int CUrlThumbViewDlg::readSide(QLineEdit *edit) const
{
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    return ok ? value : -1;
}

void CUrlThumbViewDlg::waitForRedraw(QSize size)
{
    const QString script
        = QString::fromLatin1(kDrawnAtSizeScript).arg(size.width()).arg(size.height()).arg(++m_captures);
    // Shared with the answers, which may come after this wait has ended.
    const auto drawn = std::make_shared<bool>(false);
    QEventLoop redraw;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &redraw, [&] {
        if (*drawn) {
            // The drawn frame still travels from the page's process to the view.
            poll.stop();
            QTimer::singleShot(kRedrawSettleMs, &redraw, &QEventLoop::quit);
            return;
        }
        m_lockedPage->runJavaScript(script, [drawn](const QVariant &answer) { *drawn = *drawn || answer.toBool(); });
    });
    QTimer::singleShot(kRedrawLimitMs, &redraw, &QEventLoop::quit);
    poll.start(kRedrawPollMs);
    redraw.exec();
}

void CUrlThumbViewDlg::OnSetThumbnail()
{
    if (m_width->text().isEmpty() || m_height->text().isEmpty()) {
        ShowMessage(this, kMsgEmptyField, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        (m_width->text().isEmpty() ? m_width : m_height)->setFocus();
        return;
    }
    const int width = readSide(m_width);
    const int height = readSide(m_height);
    const bool widthOk = width >= kMinSide && width <= kMaxSide;
    if (!widthOk || height < kMinSide || height > kMaxSide) {
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgOutOfRange, kMinSide, kMaxSide);
        (widthOk ? m_height : m_width)->setFocus();
        return;
    }
    const QSize before = m_browser->size();
    m_browser->resize(width, height);
    waitForRedraw(QSize(width, height));
    const QImage capture = m_browser->grab(QRect(0, 0, width, height)).toImage();
    if (!capture.isNull()) {
        *m_large = capture.convertToFormat(QImage::Format_RGB888);
        *m_small = MakeSmallThumbnail(*m_large);
    }
    m_browser->resize(before);
    done(1);
}
