#include "ui/timetable/timetable_grid.h"

#include "core/content_id.h"
#include "core/format_utils.h"
#include "core/string_table.h"
#include "model/contents_store.h"
#include "model/property_base.h"
#include "model/timetable_model.h"
#include "ops/send_info.h"

#include <QHeaderView>
#include <QPushButton>

namespace {

constexpr quint32 kTextDeleted = 6743;

// The title of a cell's item when the library holds it, else its number; a
// content the library no longer holds says that it is gone, as such a list
// cannot be sent until the item is replaced (external input and empty cells
// name no content).
QString ItemText(const CTimetableItem &item)
{
    if (CPropertyBase *record = GetContentFolders().FindRecord(item.GetContentType(), item.GetIndex()))
        return record->GetTitle().isEmpty() ? FormatContentIdFixed(item.GetIndex()) : record->GetTitle();
    const QString number = FormatContentIdFixed(item.GetIndex());
    return NamesLibraryContent(item) ? number + LoadString(kTextDeleted) : number;
}

} // namespace

// ---- Table model ---------------------------------------------------------------------

void CTimetableTableModel::SetModel(const CTimetableModel *model, const QStringList &trackNames)
{
    beginResetModel();
    m_model = model;
    m_trackNames = trackNames;
    endResetModel();
}

void CTimetableTableModel::SetEmptyRow(bool shown)
{
    // A reset, so that the views showing the table see the row come or go.
    beginResetModel();
    m_emptyRow = shown;
    endResetModel();
}

int CTimetableTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_model)
        return 0;
    return m_model->GetRowCount() == 0 && m_emptyRow ? 1 : m_model->GetRowCount();
}

int CTimetableTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_model ? 0 : m_model->GetTrackCount();
}

QVariant CTimetableTableModel::data(const QModelIndex &index, int role) const
{
    if (!m_model || !index.isValid() || role != Qt::DisplayRole)
        return {};
    if (index.column() == 0) {
        TimeValue start;
        TimeValue end;
        if (!m_model->GetStartTime(index.row(), start) || !m_model->GetEndTime(index.row(), end))
            return {};
        return FormatTimeText(start, false) + QStringLiteral(" - ") + FormatTimeText(end, false);
    }
    TimetableCell cell;
    if (!m_model->GetItem(index.row(), index.column(), cell) || cell.kind == 0)
        return {};
    return cell.gap ? QStringLiteral("│") : ItemText(cell.item);
}

QVariant CTimetableTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return QStringLiteral("時間");
    return section - 1 < m_trackNames.size() ? m_trackNames.at(section - 1) : QString();
}

// ---- Grid --------------------------------------------------------------------------------

CTimetableGrid::CTimetableGrid(QWidget *parent) : QTableView(parent), m_table(new CTimetableTableModel(this))
{
    setModel(m_table);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->setVisible(false);
    // Every row has the same height, so the view need not measure them.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(140);
    // A column cut at the pane's edge still shows the start of its name.
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CTimetableGrid::ShowModel(const CTimetableModel &model, const QStringList &trackNames)
{
    const QModelIndex current = currentIndex();
    m_table->SetModel(&model, trackNames);
    if (current.isValid() && current.row() < m_table->rowCount())
        setCurrentIndex(m_table->index(current.row(), current.column()));
}

QString CTimetableGrid::ListCaption(const CTimetableModel &model)
{
    if (model.GetIndex() < 0)
        return QString();
    return FormatContentIdFixed(model.GetIndex()) + QLatin1Char(' ') + model.GetTitle();
}

void CTimetableGrid::CellAt(const QPoint &point, int &row, int &column) const
{
    row = rowAt(point.y());
    column = columnAt(point.x());
}

// ---- Shared by the panes -------------------------------------------------------------------

QPushButton *CreatePrintButton(QWidget *pane)
{
    auto *button = new QPushButton(QString::fromUtf8("印刷"), pane);
    button->setObjectName(QStringLiteral("print"));
    button->setAutoDefault(false);
    return button;
}
