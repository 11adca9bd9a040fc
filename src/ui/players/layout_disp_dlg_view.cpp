#include "ui/players/layout_disp_dlg_view.h"

#include "app/main_frame.h"
#include "model/contents_store.h"
#include "ui/players/layout_drawing.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Small enough that the frame gives it its default size on a first start.
constexpr QSize kPreviewInitialSize(280, 250);
constexpr int kPreviewMargin = 4;
const QColor kScreenColor(Qt::black);
const QColor kMissingPicture(96, 96, 96);
const QColor kAreaFrame(255, 255, 255, 160);
const QColor kNoticeColor(Qt::white);

QSize ScreenOf(const LayoutPreview &preview)
{
    return QSize(preview.screenWidth, preview.screenHeight);
}

// A web page is drawn at its own size shifted by its display offset and cut
// to its area; every other picture fills its area.
void DrawEntry(QPainter &painter, const LayoutPreviewEntry &entry, const QImage &picture, const QSize &screen,
               const QRect &drawn)
{
    const QRect target = MapScreenRect(entry.rect, screen, drawn);
    if (picture.isNull()) {
        painter.fillRect(target, kMissingPicture);
    } else if (entry.offsetDrawn) {
        const WinRect placed{entry.rect.left - entry.xOffset, entry.rect.top - entry.yOffset,
                             entry.rect.left - entry.xOffset + entry.pictureWidth,
                             entry.rect.top - entry.yOffset + entry.pictureHeight};
        painter.save();
        painter.setClipRect(target);
        painter.drawImage(MapScreenRect(placed, screen, drawn), picture);
        painter.restore();
    } else {
        painter.drawImage(target, picture);
    }
    painter.setPen(kAreaFrame);
    painter.drawRect(target.adjusted(0, 0, -1, -1));
}

} // namespace

CLayoutPreviewCanvas::CLayoutPreviewCanvas(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("layoutPreview"));
}

QRect CLayoutPreviewCanvas::GetScreenRect() const
{
    return FitScreen(ScreenOf(GetContentFolders().GetLayoutPreview()),
                     rect().adjusted(kPreviewMargin, kPreviewMargin, -kPreviewMargin, -kPreviewMargin));
}

QString CLayoutPreviewCanvas::GetNotice() const
{
    return GetContentFolders().GetLayoutPreview().layoutMissing ? MissingLayoutText() : QString();
}

void CLayoutPreviewCanvas::ReloadPreview()
{
    m_picturesRead = false;
    update();
}

void CLayoutPreviewCanvas::readPictures()
{
    const LayoutPreview &preview = GetContentFolders().GetLayoutPreview();
    for (size_t i = 0; i < m_pictures.size(); ++i)
        m_pictures[i] = preview.entries[i].on ? QImage(preview.entries[i].picture) : QImage();
    m_picturesRead = true;
}

void CLayoutPreviewCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const LayoutPreview &preview = GetContentFolders().GetLayoutPreview();
    const QRect drawn = GetScreenRect();
    if (drawn.isEmpty())
        return;
    if (!m_picturesRead)
        readPictures();
    painter.fillRect(drawn, kScreenColor);
    for (size_t i = 0; i < preview.entries.size(); ++i) {
        if (preview.entries[i].on)
            DrawEntry(painter, preview.entries[i], m_pictures[i], ScreenOf(preview), drawn);
    }
    const QString notice = GetNotice();
    if (!notice.isEmpty()) {
        painter.setPen(kNoticeColor);
        painter.drawText(drawn, Qt::AlignCenter | Qt::TextWordWrap, notice);
    }
}

CLayoutDispDlgView::CLayoutDispDlgView() : CTelvPaneDlg(0) {}

bool CLayoutDispDlgView::OnInitDialog()
{
    resize(kPreviewInitialSize);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_canvas = new CLayoutPreviewCanvas(this);
    m_layoutButton = new QPushButton(QString::fromUtf8("レイアウト変更"), this);
    m_layoutButton->setObjectName(QStringLiteral("layoutChange"));
    m_layoutButton->setAutoDefault(false);
    connect(m_layoutButton, &QPushButton::clicked, this, [] {
        if (CMainFrame *frame = GetMainFrame())
            frame->ShowPlaylistLayoutDlgs();
    });
    layout->addWidget(m_canvas, 1);
    layout->addWidget(m_layoutButton, 0, Qt::AlignRight);
    return true;
}

void CLayoutDispDlgView::ReloadPreview()
{
    if (m_canvas)
        m_canvas->ReloadPreview();
}

void CLayoutDispDlgView::ShowLayoutButton(bool show)
{
    if (m_layoutButton)
        m_layoutButton->setVisible(show);
}
