#include "ui/players/layout_dlg_view.h"

#include "app/main_frame.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/property_base.h"
#include "ui/players/layout_drawing.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr QSize kInitialSize(480, 300);
constexpr int kMargin = 6;

QSize ScreenOf(const CurrentLayout &layout)
{
    if (layout.number < 0)
        return QSize();
    qint32 width = 0;
    qint32 height = 0;
    CAppData::GetResolutionSize(layout.number, layout.displayMode, width, height);
    return QSize(width, height);
}

QColor AreaColor(int area)
{
    return QColor::fromHsv(area * 360 / LayoutTemplate::kAreaCount, 90, 230);
}

// The title of what the selected row of the edited playlist plays on a track.
QString PlayedTitle(const CPlaylistEditModel &model, int track)
{
    const CMainFrame *frame = GetMainFrame();
    TimetableCell cell;
    if (!frame || !model.GetItem(frame->GetEditPlaylistIndex(), track, cell) || cell.kind == 0)
        return QString();
    if (cell.gap && !model.GetItem(cell.ownerRow, track, cell))
        return QString();
    const CPropertyBase *record = GetContentFolders().FindRecord(cell.item.GetContentType(), cell.item.GetIndex());
    return record ? record->GetTitle() : QString();
}

} // namespace

CLayoutCanvas::CLayoutCanvas(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("layoutCanvas"));
}

void CLayoutCanvas::SetPlaylistMode(bool on)
{
    m_playlistMode = on;
    update();
}

QRect CLayoutCanvas::GetScreenRect() const
{
    return FitScreen(ScreenOf(GetAppData().GetCurrentLayout()), rect().adjusted(kMargin, kMargin, -kMargin, -kMargin));
}

QString CLayoutCanvas::AreaLabel(int area) const
{
    // An area is named as the grid heads the track that plays in it.
    const int flag = LayoutTemplate::kTrackFlags[size_t(area)];
    QString label = PlaylistTrackName(flag);
    if (!m_playlistMode)
        return label;
    const CPlaylistEditModel &model = *GetContentFolders().GetPlaylistModel(CONTENT_PLAYLIST);
    const QString title = PlayedTitle(model, model.FindTrack(flag));
    if (!title.isEmpty())
        label += QLatin1Char('\n') + title;
    return label;
}

void CLayoutCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const CurrentLayout &layout = GetAppData().GetCurrentLayout();
    const QRect drawn = GetScreenRect();
    if (drawn.isEmpty())
        return;
    painter.fillRect(drawn, Qt::black);
    for (int area = 0; area < LayoutTemplate::kAreaCount; ++area) {
        if (!layout.areas[size_t(area)].use)
            continue;
        const QRect target = MapScreenRect(layout.areas[size_t(area)].rect, ScreenOf(layout), drawn);
        painter.fillRect(target, AreaColor(area));
        painter.setPen(Qt::black);
        painter.drawRect(target.adjusted(0, 0, -1, -1));
        painter.drawText(target, Qt::AlignCenter | Qt::TextWordWrap, AreaLabel(area));
    }
}

CLayoutDlgView::CLayoutDlgView() : CTelvPaneDlg(kTemplateId) {}

bool CLayoutDlgView::OnInitDialog()
{
    resize(kInitialSize);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_canvas = new CLayoutCanvas(this);
    layout->addWidget(m_canvas);
    return true;
}

void CLayoutDlgView::SetPlaylistLayoutMode(bool on)
{
    if (m_canvas)
        m_canvas->SetPlaylistMode(on);
}

bool CLayoutDlgView::IsPlaylistLayoutMode() const
{
    return m_canvas && m_canvas->IsPlaylistMode();
}

void CLayoutDlgView::OnLayoutChanged(QWidget *, int)
{
    if (m_canvas)
        m_canvas->update();
}

void CLayoutDlgView::OnEditPlaylistSelected(int, int)
{
    if (m_canvas)
        m_canvas->update();
}

void CLayoutDlgView::OnEditListChanged(int, int)
{
    if (m_canvas)
        m_canvas->update();
}
