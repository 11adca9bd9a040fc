#include "ui/contents/contents_list_ctrl.h"

#include "widgets/calendar_colors.h"
#include "widgets/color_dialog.h"
#include "app/main_frame.h"
#include "core/app_ini.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "model/contents_store.h"
#include "model/schedule_property.h"
#include "model/telop_property.h"
#include "ui/contents/contents_columns.h"
#include "ui/contents/contents_thumb_view.h"
#include "ui/contents/contents_thumbnails.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kListRowHeight = 16;

// Gives every row the list's row height.
class RowHeightDelegate final : public QStyledItemDelegate {
public:
    explicit RowHeightDelegate(CContentsListCtrl *list) : QStyledItemDelegate(list), m_list(list) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_list->MeasureItem()};
    }

private:
    CContentsListCtrl *m_list;
};

Qt::Alignment alignmentOfColumn(int align)
{
    switch (align) {
    case 1:
        return Qt::AlignHCenter;
    case 2:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

bool hasThumbnailView(int type)
{
    return type >= 1 && type <= 5;
}

} // namespace

CContentsListCtrl::CContentsListCtrl(int contentType, QWidget *parent)
    : CTelvListCtrl(parent), m_type(contentType), m_record(CreateProperty(contentType))
{
    setObjectName(QString::number(kControlId));
    setItemDelegate(new RowHeightDelegate(this));
    SetOwnerDraw(true);
    SetFixedWidths(true);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, &CContentsListCtrl::onHeaderClicked);
    header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint &pos) { ShowHeaderMenu(header()->mapToGlobal(pos)); });
    if (hasThumbnailView(contentType) && contentType != 3) {
        m_thumbView = new CContentsThumbView(this, parent);
        m_thumbView->hide();
    }
}

CContentsListCtrl::~CContentsListCtrl() = default;

CContentsList *CContentsListCtrl::GetList() const
{
    CContentsStore &store = GetContentFolders();
    return IsRemote() ? store.GetRemoteList(m_type) : store.GetList(m_type);
}

CPropertyBase *CContentsListCtrl::GetRecordAt(int row) const
{
    CContentsList *list = GetList();
    return list && row >= 0 && row < list->GetDisplayCount() ? list->GetDisplayAt(row) : nullptr;
}

void CContentsListCtrl::SetMode(int mode)
{
    m_mode = mode;
    // Where no drag may start, pressing and moving selects rows instead.
    setDragEnabled(modeAllowsDrag());
    if (m_thumbView)
        m_thumbView->setDragEnabled(modeAllowsDrag());
}

QAbstractItemView *CContentsListCtrl::GetActiveView()
{
    if (m_thumbnails && m_thumbView)
        return m_thumbView;
    return this;
}

void CContentsListCtrl::SetThumbnailMode(bool on)
{
    setUpdatesEnabled(false);
    SetItemCount(0);
    DeleteAllColumns();
    m_thumbnails = on && hasThumbnailView(m_type);
    if (m_thumbView) {
        m_thumbView->GetModel()->Reset(0);
        m_thumbView->setVisible(m_thumbnails);
        setVisible(!m_thumbnails);
    }
    header()->setVisible(!isTelopThumbnails());
    setHorizontalScrollBarPolicy(isTelopThumbnails() ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setMouseTracking(isTelopThumbnails());
    ActivateToolTip(isTelopThumbnails());
    setUpdatesEnabled(true);
}

bool CContentsListCtrl::isColumnShown(int kind, bool defaultShown) const
{
    return GetAppIni().GetColumnDisp(m_mode, m_type, kind, defaultShown);
}

void CContentsListCtrl::InsertColumns()
{
    // The thumbnail cells show no columns.
    if (m_thumbnails && m_thumbView)
        return;
    if (isTelopThumbnails()) {
        InsertColumnById(0, 4104, viewport()->width(), COL_TITLE, 0);
        return;
    }
    int position = 0;
    for (const ContentsColumn &column : ContentsColumns(m_type)) {
        if (!IsColumnAllowed(m_mode, m_type, column.kind))
            continue;
        if (column.hideable && !isColumnShown(column.kind, column.shownByDefault))
            continue;
        const int width = GetAppIni().GetListWidth(m_mode, m_type, column.kind, fittingWidth(column));
        InsertColumnById(position++, column.headerId, width, column.kind, column.format);
    }
    ApplySortMark();
}

int CContentsListCtrl::fittingWidth(const ContentsColumn &column) const
{
    // A column first shows its heading with the sort mark and, where its
    // texts have a fixed form, the widest of them; the operator's own width
    // is kept once stored.
    constexpr int kSortMarkRoom = 20;
    constexpr int kCellMargins = 12;
    const QFontMetrics metrics(font());
    const int heading = header()->fontMetrics().horizontalAdvance(LoadString(column.headerId)) + kSortMarkRoom;
    const int widest = metrics.horizontalAdvance(WidestColumnText(m_type, column.kind)) + kCellMargins;
    return std::max({column.width, heading, widest});
}

void CContentsListCtrl::ReinsertColumns()
{
    DeleteAllColumns();
    InsertColumns();
}

void CContentsListCtrl::Refresh()
{
    CContentsList *list = GetList();
    const int count = list ? list->GetDisplayCount() : 0;
    updateMarkedIndex();
    if (m_thumbnails && m_thumbView) {
        m_thumbView->GetModel()->Reset(count);
        return;
    }
    SetItemCount(count);
    RefreshItems();
    if (isTelopThumbnails())
        fitTelopColumn();
}

void CContentsListCtrl::fitTelopColumn()
{
    if (GetColumnCount() > 0)
        SetColumnWidth(0, viewport()->width());
}

void CContentsListCtrl::resizeEvent(QResizeEvent *event)
{
    CTelvListCtrl::resizeEvent(event);
    if (isTelopThumbnails())
        fitTelopColumn();
}

void CContentsListCtrl::mouseMoveEvent(QMouseEvent *event)
{
    // Telop rows tell their details in the list's tool tip.
    if (isTelopThumbnails())
        SetToolTipText(ThumbnailToolTip(indexAt(event->position().toPoint()).row()));
    CTelvListCtrl::mouseMoveEvent(event);
}

void CContentsListCtrl::updateMarkedIndex()
{
    m_markedIndex = -1;
    CMainFrame *frame = GetMainFrame();
    if (m_mode != 14 || !frame)
        return;
    const int group = frame->GetGroupNo(QString());
    if (m_type == 2)
        m_markedIndex = GetAppIni().GetRecoverContIndex(group);
    else if (m_type == CONTENT_PLAYLIST)
        m_markedIndex = GetAppIni().GetScSaverContIndex(group);
}

void CContentsListCtrl::GetCurrentSort(int &kind, bool &ascending) const
{
    ColumnOfSortKey(GetContentFolders().GetSortKey(m_type, IsRemote()), kind, ascending);
}

void CContentsListCtrl::ApplySortMark()
{
    int kind = COL_INDEX;
    bool ascending = true;
    GetCurrentSort(kind, ascending);
    SetSortMark(FindColumn(kind), true, ascending);
}

void CContentsListCtrl::onHeaderClicked(int position)
{
    SortByColumn(GetColumnId(position));
}

void CContentsListCtrl::SortByColumn(int kind)
{
    // The remembered key, not the header, knows the order: the thumbnails
    // have no header.
    int currentKind = COL_INDEX;
    bool currentAscending = true;
    GetCurrentSort(currentKind, currentAscending);
    const bool ascending = kind == currentKind ? !currentAscending : true;
    const int key = SortKeyOfColumn(kind, ascending, m_type, IsRemote());
    if (key < 0)
        return;
    const QList<qint32> selected = GetSelectedContentIndexes();
    CContentsStore &store = GetContentFolders();
    if (IsRemote())
        store.SortRemoteList(m_type, key);
    else
        store.SortList(m_type, key);
    Refresh();
    SetSortMark(FindColumn(kind), true, ascending);
    SelectContentIndexes(selected);
}

QList<int> CContentsListCtrl::GetSelectedRows() const
{
    if (m_thumbnails && m_thumbView)
        return m_thumbView->GetSelectedRows();
    return GetSelectedItems();
}

QList<qint32> CContentsListCtrl::GetSelectedContentIndexes() const
{
    QList<qint32> indexes;
    for (int row : GetSelectedRows()) {
        if (const CPropertyBase *record = GetRecordAt(row))
            indexes.append(record->GetIndex());
    }
    return indexes;
}

void CContentsListCtrl::SelectContentIndexes(const QList<qint32> &indexes)
{
    QAbstractItemView *view = GetActiveView();
    view->clearSelection();
    CContentsList *list = GetList();
    if (!list)
        return;
    QItemSelection selection;
    for (qint32 index : indexes) {
        const int row = list->FindDisplayCode(index);
        if (row < 0)
            continue;
        const QModelIndex first = view->model()->index(row, 0);
        const QModelIndex last = view->model()->index(row, qMax(0, view->model()->columnCount() - 1));
        selection.select(first, last);
    }
    view->selectionModel()->select(selection, QItemSelectionModel::Select);
}

int CContentsListCtrl::GetTopRow() const
{
    const QAbstractItemView *view = m_thumbnails && m_thumbView ? static_cast<const QAbstractItemView *>(m_thumbView)
                                                                : static_cast<const QAbstractItemView *>(this);
    return qMax(0, view->indexAt(QPoint(4, 4)).row());
}

void CContentsListCtrl::ScrollToTopRow(int row)
{
    QAbstractItemView *view = GetActiveView();
    if (view->model()->rowCount() == 0)
        return;
    view->scrollTo(view->model()->index(0, 0));
    const int last = qMin(row, view->model()->rowCount() - 1);
    view->scrollTo(view->model()->index(last, 0), QAbstractItemView::PositionAtTop);
}

int CContentsListCtrl::MeasureItem() const
{
    if (isTelopThumbnails())
        return GetSystemIni().Settings().TelopThumbHeight + 4;
    return kListRowHeight;
}

QString CContentsListCtrl::GetItemText(int item, int columnId) const
{
    const CPropertyBase *record = GetRecordAt(item);
    if (!record || isTelopThumbnails())
        return {};
    return FramedColumnText(*record, columnId, item);
}

QColor CContentsListCtrl::RowTextColor(int row) const
{
    const CPropertyBase *record = GetRecordAt(row);
    if (!record || IsRemote())
        return {};
    if (IsContentFileMissing(*record))
        return QColor(255, 0, 0);
    if (m_markedIndex >= 0 && record->GetIndex() == m_markedIndex)
        return QColor(0, 0, 255);
    return {};
}

void CContentsListCtrl::DrawSubItems(QPainter &painter, int item, const ListItemColors &colors) const
{
    if (!isTelopThumbnails()) {
        CTelvListCtrl::DrawSubItems(painter, item, colors);
        return;
    }
    const auto *telop = dynamic_cast<const CTelopProperty *>(GetRecordAt(item));
    if (!telop)
        return;
    QRect row = visualRect(model()->index(item, 0));
    row.setLeft(0);
    row.setWidth(viewport()->width());
    DrawTelopThumbnail(painter, row, *telop);
}

void CContentsListCtrl::DrawSubItem(QPainter &painter, int item, int columnId, const QRect &cell) const
{
    const CPropertyBase *record = GetRecordAt(item);
    if (!record)
        return;
    if (columnId == COL_BG_COLOR) {
        const auto *schedule = dynamic_cast<const CScheduleProperty *>(record);
        const TimeValue zero{};
        if (!schedule || (schedule->GetStartTime() == zero && schedule->GetEndTime() == zero))
            return;
        const int colorIndex = schedule->GetBgColor();
        const bool known = colorIndex >= 0 && colorIndex < CSystemIni::kCalendarColorCount;
        painter.fillRect(cell.adjusted(0, 1, 0, -1),
                         known ? ToQColor(GetCalendarColor(colorIndex)) : palette().color(QPalette::Base));
        return;
    }
    const QColor color = RowTextColor(item);
    if (color.isValid())
        painter.setPen(color);
    const QString text = painter.fontMetrics().elidedText(FramedColumnText(*record, columnId, item), Qt::ElideRight,
                                                          cell.width());
    painter.drawText(cell, int(alignmentOfColumn(GetColumnAlign(columnId)) | Qt::AlignVCenter | Qt::TextSingleLine),
                     text);
}

void CContentsListCtrl::OnColumnWidthChanged(int position, int width)
{
    if (isTelopThumbnails())
        return;
    const int kind = GetColumnId(position);
    if (kind >= 0)
        GetAppIni().SetListWidth(m_mode, m_type, kind, width);
}
