#include "ui/contents/contents_thumb_view.h"

#include "ui/contents/contents_list_ctrl.h"
#include "ui/contents/contents_thumbnails.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QToolTip>

ContentsThumbModel::ContentsThumbModel(CContentsListCtrl *list) : QAbstractListModel(list), m_list(list) {}

int ContentsThumbModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

Qt::ItemFlags ContentsThumbModel::flags(const QModelIndex &index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
}

QVariant ContentsThumbModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_list->ThumbnailTitle(index.row());
    case Qt::DecorationRole:
        return cellOf(index.row());
    case Qt::ForegroundRole: {
        const QColor color = m_list->RowTextColor(index.row());
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default:
        return {};
    }
}

const QPixmap &ContentsThumbModel::cellOf(int row) const
{
    if (!m_loaded[size_t(row)]) {
        if (const CPropertyBase *record = m_list->GetRecordAt(row))
            m_cells[size_t(row)] = QPixmap::fromImage(MakeThumbnailCell(*record));
        m_loaded[size_t(row)] = true;
        ++m_loadedCount;
    }
    return m_cells[size_t(row)];
}

void ContentsThumbModel::Reset(int rowCount)
{
    beginResetModel();
    m_rows = rowCount;
    // Pre-sized once, so a cell replaces its slot without reallocation.
    m_cells.assign(size_t(rowCount), QPixmap());
    m_loaded.assign(size_t(rowCount), false);
    m_loadedCount = 0;
    endResetModel();
}

CContentsThumbView::CContentsThumbView(CContentsListCtrl *list, QWidget *parent)
    : QListView(parent), m_list(list), m_model(new ContentsThumbModel(list))
{
    setViewMode(QListView::IconMode);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    // One size for every cell: the view never asks the rows it does not show.
    setUniformItemSizes(true);
    setIconSize(QSize(kThumbnailCellSize, kThumbnailCellSize));
    setGridSize(QSize(kThumbnailCellSize + 24, kThumbnailCellSize + 36));
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setObjectName(QStringLiteral("thumbnails"));
    setModel(m_model);
}

QList<int> CContentsThumbView::GetSelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CContentsThumbView::contextMenuEvent(QContextMenuEvent *event)
{
    m_list->ShowContextMenu(event->globalPos(), event->reason() == QContextMenuEvent::Keyboard);
}

void CContentsThumbView::keyPressEvent(QKeyEvent *event)
{
    if (m_list->HandleKey(event))
        return;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !GetSelectedRows().isEmpty()) {
        m_list->OnItemEnter(GetSelectedRows().first());
        return;
    }
    QListView::keyPressEvent(event);
}

void CContentsThumbView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    const int row = indexAt(event->position().toPoint()).row();
    if (row >= 0 && !GetSelectedRows().isEmpty())
        m_list->OnItemEnter(row);
}

void CContentsThumbView::startDrag(Qt::DropActions)
{
    QMimeData *data = m_list->CreateDragData();
    if (!data)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool CContentsThumbView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int row = indexAt(help->pos()).row();
        const QString tip = row >= 0 ? m_list->ThumbnailToolTip(row) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QListView::viewportEvent(event);
}
