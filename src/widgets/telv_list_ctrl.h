#pragma once
// The base of every report-style list: columns addressed by a stable column
// id instead of their position, owner drawing split into per-row colours and
// per-column drawing that derived lists override, a sort mark in the header,
// column-width change notifications (so lists can keep widths in the user's
// settings), Enter and double-click as one "item entered" operation, and one
// tool tip for the whole list.
//
// Rows are given by count (SetItemCount); their texts come from GetItemText,
// which derived lists override.

#include <QColor>
#include <QTreeView>

class QMenu;
class TelvListHeader;
class TelvListModel;

// Item state bits passed to GetItemColors.
enum : int {
    LVIS_FOCUSED = 0x1,
    LVIS_SELECTED = 0x2,
};

struct ListItemColors {
    QColor text;
    QColor background;
};

class CTelvListCtrl : public QTreeView {
    Q_OBJECT
public:
    explicit CTelvListCtrl(QWidget *parent = nullptr);
    ~CTelvListCtrl() override;

    // Inserts a column with the header text of a string id, a width, a column
    // id and a format (LVCFMT_*). A column whose id exists only gets the new
    // width. False for a negative position.
    bool InsertColumnById(int position, quint32 textId, int width, int columnId, int format);
    bool DeleteColumnById(int columnId);
    void DeleteAllColumns();
    // The position of a column id, or -1.
    int FindColumn(int columnId) const;
    // The column id at a position, or -1.
    int GetColumnId(int position) const;
    int GetColumnCount() const;
    // 0 left, 1 centre, 2 right; 0 for an id that no column has.
    int GetColumnAlign(int columnId) const;
    int GetColumnWidth(int position) const;
    void SetColumnWidth(int position, int width);

    // Marks the column at a position as sorted. Explicit: the mark shows the
    // given direction; otherwise the direction toggles, starting ascending on
    // a column that was not marked. A position outside the header removes the
    // mark. Returns the direction shown (true ascending).
    bool SetSortMark(int position, bool explicitDirection, bool ascending);
    int GetSortColumnId() const { return m_sortedColumnId; }
    bool IsSortAscending() const { return m_ascending; }

    // A double-click on a header divider restores the column's inserted width
    // when set, instead of fitting the column to its contents.
    void SetFixedWidths(bool fixed) { m_fixedWidths = fixed; }

    // Rows.
    void SetItemCount(int count);
    int GetItemCount() const;
    // Redraws every row with its current texts.
    void RefreshItems();
    // The text of a cell; empty by default.
    virtual QString GetItemText(int item, int columnId) const;
    // Selected rows, lowest first.
    QList<int> GetSelectedItems() const;
    int GetSelectedCount() const;
    void SetItemSelected(int item, bool selected);

    // Owner drawing: rows are drawn through GetItemColors and DrawSubItems.
    void SetOwnerDraw(bool ownerDraw);
    bool IsOwnerDraw() const { return m_ownerDraw; }

    // The one tool tip of the list, inactive until activated. Lines of the
    // text break only where the text has a line break.
    void SetToolTipText(const QString &text);
    QString GetToolTipText() const { return m_toolTip; }
    void ActivateToolTip(bool active);

    // Removes the separators at the start, at the end and after another one.
    static void RemoveMenuSeparators(QMenu *menu);

protected:
    // Draws one cell; nothing by default.
    virtual void DrawSubItem(QPainter &painter, int item, int columnId, const QRect &cell) const;
    // Draws every cell through DrawSubItem, keeping the painter's colours.
    virtual void DrawSubItems(QPainter &painter, int item, const ListItemColors &colors) const;
    // Fills the row and gives its text and background colours by its
    // selection and the list's focus.
    virtual ListItemColors GetItemColors(QPainter &painter, const QRect &itemRect, int itemState,
                                         bool listHasFocus) const;
    virtual void OnColumnWidthChanged(int position, int width);
    // Enter with a selection (the lowest selected row) or a double-click on a
    // row while one is selected (the clicked row). Never called with -1.
    virtual void OnItemEnter(int item);

    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void onDividerDoubleClicked(int position);
    void drawItem(QPainter &painter, const QStyleOptionViewItem &option, int item) const;

    TelvListModel *m_model;
    TelvListHeader *m_header;
    int m_sortedColumnId = -1;
    bool m_ascending = false;
    bool m_fixedWidths = false;
    bool m_ownerDraw = false;
    bool m_toolTipActive = false;
    QString m_toolTip;
};
