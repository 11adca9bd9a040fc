#include "widgets/telv_list_model.h"

TelvListModel::TelvListModel(QObject *parent, ItemTextFunc itemText)
    : QAbstractTableModel(parent), m_itemText(std::move(itemText))
{
}

int TelvListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_itemCount;
}

int TelvListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

Qt::Alignment TelvListModel::alignmentOf(int format)
{
    switch (format & 3) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QVariant TelvListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_itemCount || index.column() >= ColumnCount())
        return {};
    const Column &column = m_columns[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return m_itemText(index.row(), column.id);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(column.format));
    default:
        return {};
    }
}

Qt::ItemFlags TelvListModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QVariant TelvListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return {};
    const Column &column = m_columns[size_t(section)];
    switch (role) {
    case Qt::DisplayRole:
        return column.title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(column.format));
    default:
        return {};
    }
}

int TelvListModel::FindColumn(int id) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].id == id)
            return int(i);
    }
    return -1;
}

int TelvListModel::InsertColumn(int position, const Column &column)
{
    const int at = std::min(position, ColumnCount());
    beginInsertColumns(QModelIndex(), at, at);
    m_columns.insert(m_columns.begin() + at, column);
    endInsertColumns();
    return at;
}

void TelvListModel::RemoveColumn(int position)
{
    beginRemoveColumns(QModelIndex(), position, position);
    m_columns.erase(m_columns.begin() + position);
    endRemoveColumns();
}

void TelvListModel::RemoveAllColumns()
{
    if (m_columns.empty())
        return;
    beginRemoveColumns(QModelIndex(), 0, ColumnCount() - 1);
    m_columns.clear();
    endRemoveColumns();
}

void TelvListModel::SetMark(int position, int mark)
{
    if (position < 0 || position >= ColumnCount() || m_columns[size_t(position)].mark == mark)
        return;
    m_columns[size_t(position)].mark = mark;
    emit headerDataChanged(Qt::Horizontal, position, position);
}

void TelvListModel::SetItemCount(int count)
{
    count = std::max(0, count);
    if (count > m_itemCount) {
        beginInsertRows(QModelIndex(), m_itemCount, count - 1);
        m_itemCount = count;
        endInsertRows();
    } else if (count < m_itemCount) {
        beginRemoveRows(QModelIndex(), count, m_itemCount - 1);
        m_itemCount = count;
        endRemoveRows();
    }
}

void TelvListModel::RefreshItems()
{
    if (m_itemCount > 0 && ColumnCount() > 0)
        emit dataChanged(index(0, 0), index(m_itemCount - 1, ColumnCount() - 1));
}
