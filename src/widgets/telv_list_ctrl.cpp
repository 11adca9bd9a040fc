#include "widgets/telv_list_ctrl.h"

#include "widgets/separator_cleanup.h"
#include "widgets/telv_list_header.h"
#include "widgets/telv_list_model.h"
#include "core/string_table.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

CTelvListCtrl::CTelvListCtrl(QWidget *parent)
    : QTreeView(parent),
      m_model(new TelvListModel(this, [this](int item, int columnId) { return GetItemText(item, columnId); })),
      m_header(new TelvListHeader(this))
{
    setHeader(m_header);
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    // A divider double-click is handled here, not by the view's own fitting.
    disconnect(m_header, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    connect(m_header, &QHeaderView::sectionHandleDoubleClicked, this, &CTelvListCtrl::onDividerDoubleClicked);
    connect(m_header, &TelvListHeader::sectionTrackEnded, this,
            [this](int position, int width) { OnColumnWidthChanged(position, width); });
}

CTelvListCtrl::~CTelvListCtrl() = default;

bool CTelvListCtrl::InsertColumnById(int position, quint32 textId, int width, int columnId, int format)
{
    if (position < 0)
        return false;
    const int existing = m_model->FindColumn(columnId);
    if (existing >= 0) {
        m_header->resizeSection(existing, width);
        return true;
    }
    TelvListModel::Column column;
    column.id = columnId;
    column.insertedWidth = width;
    column.title = LoadString(textId);
    column.format = format;
    const int at = m_model->InsertColumn(position, column);
    m_header->resizeSection(at, width);
    return true;
}

bool CTelvListCtrl::DeleteColumnById(int columnId)
{
    const int position = m_model->FindColumn(columnId);
    if (position < 0)
        return false;
    m_model->RemoveColumn(position);
    if (columnId == m_sortedColumnId)
        m_sortedColumnId = -1;
    return true;
}

void CTelvListCtrl::DeleteAllColumns()
{
    m_model->RemoveAllColumns();
    m_sortedColumnId = -1;
}

int CTelvListCtrl::FindColumn(int columnId) const
{
    return m_model->FindColumn(columnId);
}

int CTelvListCtrl::GetColumnId(int position) const
{
    return position >= 0 && position < m_model->ColumnCount() ? m_model->ColumnAt(position).id : -1;
}

int CTelvListCtrl::GetColumnCount() const
{
    return m_model->ColumnCount();
}

int CTelvListCtrl::GetColumnAlign(int columnId) const
{
    const int position = m_model->FindColumn(columnId);
    if (position < 0)
        return 0;
    switch (m_model->ColumnAt(position).format & 3) {
    case LVCFMT_CENTER:
        return 1;
    case LVCFMT_RIGHT:
        return 2;
    default:
        return 0;
    }
}

int CTelvListCtrl::GetColumnWidth(int position) const
{
    return m_header->sectionSize(position);
}

void CTelvListCtrl::SetColumnWidth(int position, int width)
{
    m_header->resizeSection(position, width);
}

bool CTelvListCtrl::SetSortMark(int position, bool explicitDirection, bool ascending)
{
    const int newId = GetColumnId(position);
    if (newId != m_sortedColumnId) {
        // The old column may have been deleted since; then there is nothing to clear.
        m_model->SetMark(m_model->FindColumn(m_sortedColumnId), TelvListModel::MARK_NONE);
        m_ascending = false;
    }
    if (newId < 0) {
        m_sortedColumnId = -1;
        return false;
    }
    m_ascending = explicitDirection ? ascending : !m_ascending;
    m_model->SetMark(position, m_ascending ? TelvListModel::MARK_ASCENDING : TelvListModel::MARK_DESCENDING);
    m_sortedColumnId = newId;
    return m_ascending;
}

void CTelvListCtrl::onDividerDoubleClicked(int position)
{
    if (position < 0 || position >= m_model->ColumnCount())
        return;
    if (m_fixedWidths)
        m_header->resizeSection(position, m_model->ColumnAt(position).insertedWidth);
    else
        resizeColumnToContents(position);
    OnColumnWidthChanged(position, m_header->sectionSize(position));
}

void CTelvListCtrl::SetItemCount(int count)
{
    m_model->SetItemCount(count);
}

int CTelvListCtrl::GetItemCount() const
{
    return m_model->ItemCount();
}

void CTelvListCtrl::RefreshItems()
{
    m_model->RefreshItems();
}

QString CTelvListCtrl::GetItemText(int, int) const
{
    return QString();
}

QList<int> CTelvListCtrl::GetSelectedItems() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CTelvListCtrl::GetSelectedCount() const
{
    return int(selectionModel()->selectedRows().size());
}

void CTelvListCtrl::SetItemSelected(int item, bool selected)
{
    if (item < 0 || item >= GetItemCount() || m_model->ColumnCount() == 0)
        return;
    const QModelIndex index = m_model->index(item, 0);
    selectionModel()->select(index, (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                        QItemSelectionModel::Rows);
}

void CTelvListCtrl::SetOwnerDraw(bool ownerDraw)
{
    m_ownerDraw = ownerDraw;
    viewport()->update();
}

void CTelvListCtrl::SetToolTipText(const QString &text)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_toolTip = normalised;
}

void CTelvListCtrl::ActivateToolTip(bool active)
{
    m_toolTipActive = active;
    if (!active)
        QToolTip::hideText();
}

void CTelvListCtrl::RemoveMenuSeparators(QMenu *menu)
{
    RemoveExtraSeparatorActions(menu);
}

void CTelvListCtrl::DrawSubItem(QPainter &, int, int, const QRect &) const {}

void CTelvListCtrl::DrawSubItems(QPainter &painter, int item, const ListItemColors &) const
{
    const int count = m_model->ColumnCount();
    for (int position = 0; position < count; ++position) {
        if (m_header->isSectionHidden(position))
            continue;
        const QPen pen = painter.pen();
        const QBrush background = painter.background();
        const QRect cell = visualRect(m_model->index(item, position));
        DrawSubItem(painter, item, m_model->ColumnAt(position).id, cell);
        painter.setPen(pen);
        painter.setBackground(background);
    }
}

ListItemColors CTelvListCtrl::GetItemColors(QPainter &painter, const QRect &itemRect, int itemState,
                                            bool listHasFocus) const
{
    const QPalette &pal = palette();
    ListItemColors colors;
    if (!(itemState & LVIS_SELECTED)) {
        colors = {pal.color(QPalette::Text), pal.color(QPalette::Base)};
    } else if (!listHasFocus) {
        colors = {pal.color(QPalette::Text), pal.color(QPalette::Midlight)};
    } else {
        colors = {pal.color(QPalette::HighlightedText), pal.color(QPalette::Highlight)};
    }
    painter.fillRect(itemRect, colors.background);
    painter.setPen(colors.text);
    painter.setBackground(colors.background);
    return colors;
}

void CTelvListCtrl::OnColumnWidthChanged(int, int) {}

void CTelvListCtrl::OnItemEnter(int) {}

void CTelvListCtrl::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_ownerDraw) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    drawItem(*painter, option, index.row());
}

void CTelvListCtrl::drawItem(QPainter &painter, const QStyleOptionViewItem &option, int item) const
{
    painter.save();
    painter.setFont(font());
    int state = 0;
    if (selectionModel()->isRowSelected(item, QModelIndex()))
        state |= LVIS_SELECTED;
    if (currentIndex().isValid() && currentIndex().row() == item)
        state |= LVIS_FOCUSED;
    const QRect itemRect(option.rect.left(), option.rect.top(), viewport()->width(), option.rect.height());
    const ListItemColors colors = GetItemColors(painter, itemRect, state, hasFocus());
    DrawSubItems(painter, item, colors);
    painter.restore();
}

void CTelvListCtrl::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const QList<int> selected = GetSelectedItems();
        if (!selected.isEmpty()) {
            OnItemEnter(selected.first());
            event->accept();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void CTelvListCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    const int item = indexAt(event->position().toPoint()).row();
    if (item >= 0 && GetSelectedCount() > 0)
        OnItemEnter(item);
}

bool CTelvListCtrl::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (m_toolTipActive && !m_toolTip.isEmpty())
            QToolTip::showText(help->globalPos(), m_toolTip, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QTreeView::viewportEvent(event);
}
