#pragma once
// The table behind a CTelvListCtrl: its columns (id, header text, alignment,
// inserted width, sort mark) and a number of rows whose texts the list gives
// on request, so a list of many thousand records holds no copy of them.

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <vector>

// Column formats: the alignment of a column's texts.
enum : int {
    LVCFMT_LEFT = 0,
    LVCFMT_RIGHT = 1,
    LVCFMT_CENTER = 2,
};

class TelvListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The sort mark of a column.
    enum Mark : int { MARK_NONE = -1, MARK_ASCENDING = 0, MARK_DESCENDING = 1 };

    struct Column {
        int id = 0;
        int insertedWidth = 0;
        QString title;
        int format = LVCFMT_LEFT;
        int mark = MARK_NONE;
    };

    // The texts come from itemText(item, columnId), asked as the views paint.
    using ItemTextFunc = std::function<QString(int item, int columnId)>;
    TelvListModel(QObject *parent, ItemTextFunc itemText);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    // Rows may be dragged; whether a drag starts is the view's choice.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int ColumnCount() const { return int(m_columns.size()); }
    const Column &ColumnAt(int position) const { return m_columns[size_t(position)]; }
    // The position of a column id, or -1.
    int FindColumn(int id) const;
    // Inserts at the position, or appends when the position is past the end;
    // returns the position used.
    int InsertColumn(int position, const Column &column);
    void RemoveColumn(int position);
    void RemoveAllColumns();
    void SetMark(int position, int mark);

    void SetItemCount(int count);
    int ItemCount() const { return m_itemCount; }
    // Tells the views that the texts of every row may have changed.
    void RefreshItems();

private:
    static Qt::Alignment alignmentOf(int format);

    ItemTextFunc m_itemText;
    std::vector<Column> m_columns;
    int m_itemCount = 0;
};
