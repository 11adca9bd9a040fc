#pragma once
// The thumbnail view of a video, still, URL or Flash list: one 96 x 96 cell
// and the title per row. A cell is made only when the view first paints its
// row after a refresh, so a large library opens without reading every
// thumbnail. Menus, keys, Enter and drags go to the owning list.

#include <QAbstractListModel>
#include <QPixmap>
#include <QListView>

#include <vector>

class CContentsListCtrl;

class ContentsThumbModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ContentsThumbModel(CContentsListCtrl *list);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Sets the row count and clears every loaded cell.
    void Reset(int rowCount);
    // Cells made since the last reset.
    int GetLoadedCount() const { return m_loadedCount; }

private:
    const QPixmap &cellOf(int row) const;

    CContentsListCtrl *m_list;
    int m_rows = 0;
    mutable std::vector<QPixmap> m_cells;
    mutable std::vector<bool> m_loaded;
    mutable int m_loadedCount = 0;
};

class CContentsThumbView : public QListView {
    Q_OBJECT
public:
    explicit CContentsThumbView(CContentsListCtrl *list, QWidget *parent);

    ContentsThumbModel *GetModel() const { return m_model; }
    QList<int> GetSelectedRows() const;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    bool viewportEvent(QEvent *event) override;

private:
    CContentsListCtrl *m_list;
    ContentsThumbModel *m_model;
};
