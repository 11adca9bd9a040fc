#include "ui/timetable/timetable_editor.h"

#include "widgets/telv_edit_drop.h"
#include "widgets/time_edit_dlg.h"
#include "core/app_ini.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/time_utils.h"
#include "model/contents_store.h"
#include "model/timetable_model.h"
#include "ops/clipboard_formats.h"
#include "ops/frame_checks.h"
#include "ui/timetable/timetable_grid.h"

#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace {

// Pixels above and below an item's bottom edge that take its tracker.
constexpr int kEdgeGrip = 3;
const QString kRunsIntoNextEvent = QStringLiteral("次のイベントと時間が重なります。\n時間を確認してください。");

// How long a dropped content plays: its own play time or length, else the
// last play time chosen for its type; whole seconds, as events keep.
int PlayFramesOf(int type, qint32 number)
{
    int frames = EventFramesOfPlayTime(OwnPlayLength(GetContentFolders().FindRecord(type, number)));
    if (frames <= 0)
        frames = EventFramesOfPlayTime(GetAppIni().GetLastPlayTime(type));
    return frames > 0 ? frames : 10 * 30;
}

QString EventMime(int format)
{
    return ClipboardMimeType(ClipboardFormat(format));
}

} // namespace

CTimetableEditor::CTimetableEditor(CTimetableGrid *grid, Setup setup)
    : QObject(grid), m_grid(grid), m_viewport(grid->viewport()), m_setup(std::move(setup)),
      m_drop(new CTelvEditDrop(this))
{
    m_drop->Register(grid->viewport());
    m_drop->SetDragOverHandler(&CTimetableEditor::onDragOver, this);
    m_drop->SetDropHandler(&CTimetableEditor::onDrop, this);
    m_tracker.SetResizeHandler(&CTimetableEditor::onResize, this);
    grid->viewport()->installEventFilter(this);
    grid->installEventFilter(this);
}

// The grid and its viewport go with the pane; their event filters go with us.
CTimetableEditor::~CTimetableEditor() = default;

// ---- Drop target callbacks ----------------------------------------------------------

quint32 CTimetableEditor::onDragOver(void *context, QWidget *, const QMimeData *data, quint32 keyState,
                                     const QPoint &point)
{
    auto *editor = static_cast<CTimetableEditor *>(context);
    if (!editor->acceptsAt(data, point))
        return DROPEFFECT_NONE;
    return data->hasFormat(EventMime(editor->m_setup.eventFormat)) && !(keyState & MK_CONTROL) ? DROPEFFECT_MOVE
                                                                                               : DROPEFFECT_COPY;
}

quint32 CTimetableEditor::onDrop(void *context, QWidget *, const QMimeData *data, quint32, quint32,
                                 const QPoint &point)
{
    return static_cast<CTimetableEditor *>(context)->Drop(data, point);
}

void CTimetableEditor::onResize(void *context, int, const QRect &, QRect *after)
{
    // The bottom edge snaps to the nearest row edge at or below the item's top.
    auto *editor = static_cast<CTimetableEditor *>(context);
    const QTableView &grid = *editor->m_grid;
    int row = grid.rowAt(after->bottom());
    if (row < 0)
        row = grid.model()->rowCount() - 1;
    if (row >= 0)
        after->setBottom(grid.rowViewportPosition(row) + grid.rowHeight(row) - 1);
}

bool CTimetableEditor::acceptsAt(const QMimeData *data, const QPoint &point) const
{
    int row = -1;
    int track = -1;
    m_grid->CellAt(point, row, track);
    if (!data || track < 1 || !m_setup.model())
        return false;
    if (data->hasFormat(EventMime(m_setup.eventFormat)))
        return true;
    const QList<DraggedContent> contents = ReadContentsDataBlock(data->data(ClipboardMimeType(CLIPBOARD_CONTENTS)));
    return !contents.isEmpty() && m_setup.model()->TakesType(track, contents.first().type);
}

quint32 CTimetableEditor::Drop(const QMimeData *data, const QPoint &point)
{
    if (!acceptsAt(data, point))
        return DROPEFFECT_NONE;
    int row = -1;
    int track = -1;
    m_grid->CellAt(point, row, track);
    const QString eventMime = EventMime(m_setup.eventFormat);
    if (data->hasFormat(eventMime))
        return dropEvent(data->data(eventMime), row, track) ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
    return dropContents(data->data(ClipboardMimeType(CLIPBOARD_CONTENTS)), row, track) ? DROPEFFECT_COPY
                                                                                      : DROPEFFECT_NONE;
}

bool CTimetableEditor::dropContents(const QByteArray &block, int row, int track)
{
    CTimetableModel &model = *m_setup.model();
    bool placed = false;
    // Several contents follow one another from the drop point on.
    TimeValue start = model.PlaceStart(track, row, m_setup.firstStart());
    for (const DraggedContent &content : ReadContentsDataBlock(block)) {
        if (!model.TakesType(track, content.type))
            continue;
        const int frames = PlayFramesOf(content.type, content.number);
        if (!model.PlaceItem(track, start, frames, content.number, content.type)) {
            showRefusal();
            break;
        }
        placed = true;
        FramesToTimeCode(TimeCodeToFrames(start) + frames, start);
    }
    if (placed)
        m_setup.changed();
    return placed;
}

bool CTimetableEditor::dropEvent(const QByteArray &block, int row, int track)
{
    int fromRow = -1;
    int fromTrack = -1;
    CTimetableModel &model = *m_setup.model();
    TimetableCell cell;
    if (!ReadGridEventBlock(block, fromRow, fromTrack) || !model.GetItem(fromRow, fromTrack, cell) || cell.kind == 0
        || !model.TakesType(track, cell.item.GetContentType()))
        return false;
    // Below the last row the item goes after the track's last item; a drop
    // on its own track there leaves it where it is.
    TimeValue start = model.PlaceStart(track, row, m_setup.firstStart());
    if (row < 0 && track == fromTrack)
        return false;
    if (!model.MoveItem(fromRow, fromTrack, track, start)) {
        showRefusal();
        return false;
    }
    m_setup.changed();
    return true;
}

void CTimetableEditor::showRefusal()
{
    switch (GetLastError()) {
    case ERROR_TOO_MANY_NAMES:
        m_setup.tooMany();
        break;
    case ERROR_ARITHMETIC_OVERFLOW:
        ShowMessage(m_grid, kMsgTooLong, kTitleCaption, MB_OK | MB_ICONWARNING);
        break;
    default:
        // An overlap: the cells show why.
        QApplication::beep();
        break;
    }
}

// ---- Cell commands -------------------------------------------------------------------

bool CTimetableEditor::currentItem(int &row, int &track) const
{
    const QModelIndex current = m_grid->currentIndex();
    const CTimetableModel *model = m_setup.model();
    TimetableCell cell;
    if (!model || !current.isValid() || !model->GetItem(current.row(), current.column(), cell) || cell.kind == 0)
        return false;
    row = cell.ownerRow;
    track = current.column();
    return true;
}

QMimeData *CTimetableEditor::CreateEventDragData() const
{
    int row = -1;
    int track = -1;
    if (!currentItem(row, track))
        return nullptr;
    auto *data = new QMimeData;
    data->setData(EventMime(m_setup.eventFormat), MakeGridEventBlock(row, track));
    return data;
}

bool CTimetableEditor::DeleteCurrent()
{
    CTimetableModel *model = m_setup.model();
    const QModelIndex current = m_grid->currentIndex();
    if (!model || !current.isValid())
        return false;
    const bool removed = current.column() == 0 ? model->RemoveRow(current.row())
                                               : model->RemoveItem(current.row(), current.column());
    if (removed)
        m_setup.changed();
    return removed;
}

bool CTimetableEditor::EditCurrentTime(bool end)
{
    int row = -1;
    int track = -1;
    if (!currentItem(row, track))
        return false;
    CTimetableModel &model = *m_setup.model();
    TimetableCell cell;
    model.GetItem(row, track, cell);
    const CTimetableItem item = cell.item;
    const TimeValue shown = end ? item.GetEndTime() : item.GetStartTime();
    CTimeEditDlg dialog(m_grid);
    dialog.SetTime(shown.hour, shown.minute, shown.second);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const TimeValue chosen{dialog.GetHours(), dialog.GetMinutes(), dialog.GetSeconds(), 0};
    TimeValue start = item.GetStartTime();
    TimeValue finish = item.GetEndTime();
    if (end) {
        finish = chosen;
    } else {
        // A new start keeps the item's length.
        start = chosen;
        FramesToTimeCode(TimeCodeToFrames(chosen) + item.GetEndFrames() - item.GetStartFrames(), finish);
    }
    return retime(row, track, start, finish);
}

bool CTimetableEditor::retime(int row, int track, const TimeValue &start, const TimeValue &end)
{
    if (m_setup.checkTimes && !m_setup.checkTimes(start, end))
        return false;
    if (TimeCodeToFrames(end) <= TimeCodeToFrames(start)) {
        ShowMessage(m_grid, kMsgEventTooShort, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!m_setup.model()->SetItemTimes(row, track, start, end)) {
        // The item is there, so a refused change of its times overlaps a neighbour.
        if (GetLastError() == ERROR_INVALID_PARAMETER)
            MessageBoxWithCaptionId(m_grid, kRunsIntoNextEvent, kTitleCaption, MB_OK | MB_ICONWARNING);
        else
            showRefusal();
        return false;
    }
    m_setup.changed();
    return true;
}

void CTimetableEditor::AddCommands(QMenu &menu)
{
    menu.addAction(QStringLiteral("開始時間の変更"), this, [this] { EditCurrentTime(false); })
        ->setObjectName(QStringLiteral("editStart"));
    menu.addAction(QStringLiteral("終了時間の変更"), this, [this] { EditCurrentTime(true); })
        ->setObjectName(QStringLiteral("editEnd"));
    menu.addAction(QStringLiteral("削除"), this, [this] { DeleteCurrent(); })->setObjectName(QStringLiteral("delete"));
}

// ---- Mouse and keys ----------------------------------------------------------------

bool CTimetableEditor::trackBottomEdge(const QPoint &point)
{
    int row = -1;
    int track = -1;
    if (!currentItem(row, track))
        return false;
    TimetableCell cell;
    m_setup.model()->GetItem(row, track, cell);
    int last = row;
    while (last + 1 < m_grid->model()->rowCount() && m_setup.model()->IsCellUsed(last + 1, track, true)
           && !m_setup.model()->IsCellUsed(last + 1, track, false))
        ++last;
    const QRect top = m_grid->visualRect(m_grid->model()->index(row, track));
    const QRect bottom = m_grid->visualRect(m_grid->model()->index(last, track));
    const QRect rect(top.topLeft(), bottom.bottomRight());
    if (std::abs(point.y() - rect.bottom()) > kEdgeGrip || point.x() < rect.left() || point.x() > rect.right())
        return false;
    m_tracker.SetRect(rect);
    if (!m_tracker.Track(m_grid->viewport(), QPoint(point.x(), rect.bottom())))
        return true;
    const int endRow = m_grid->rowAt(m_tracker.GetRect().bottom());
    TimeValue end;
    if (endRow < row || !m_setup.model()->GetEndTime(endRow, end))
        showRefusal();
    else
        retime(row, track, cell.item.GetStartTime(), end);
    return true;
}

bool CTimetableEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        DeleteCurrent();
        return true;
    }
    if (watched != m_viewport)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        m_pressPoint = mouse->position().toPoint();
        return mouse->button() == Qt::LeftButton && trackBottomEdge(m_pressPoint);
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton)
            || (mouse->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
            return false;
        QMimeData *data = CreateEventDragData();
        if (!data)
            return false;
        auto *drag = new QDrag(m_grid);
        drag->setMimeData(data);
        drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
        return true;
    }
    case QEvent::MouseButtonDblClick:
        EditCurrentTime(true);
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
