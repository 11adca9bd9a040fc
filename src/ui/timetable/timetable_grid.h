#pragma once
// The rows of a playlist, background-music list or schedule on a grid: the
// start and end time of each row, then one column per track, headed by the
// track's name, with the title of the content that starts in that row ("│"
// where an item started in an earlier row goes on). The table model reads the edit model on demand,
// so a list of thousands of rows opens as fast as its visible cells paint.

#include "core/win_types.h"

#include <QAbstractTableModel>
#include <QTableView>

class CTimetableModel;
class QPushButton;

class CTimetableTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows the model (null: nothing); trackNames name the item tracks.
    void SetModel(const CTimetableModel *model, const QStringList &trackNames);
    // An empty model shows one empty row to drop the first item on.
    void SetEmptyRow(bool shown);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const CTimetableModel *m_model = nullptr;
    QStringList m_trackNames;
    bool m_emptyRow = false;
};

class CTimetableGrid : public QTableView {
    Q_OBJECT
public:
    explicit CTimetableGrid(QWidget *parent = nullptr);

    // Shows the model again; trackNames name the item tracks in order. The
    // current cell stays where it was when the grid still has it.
    void ShowModel(const CTimetableModel &model, const QStringList &trackNames);
    CTimetableTableModel *GetTableModel() const { return m_table; }
    // "<9-digit number> <title>" of the model's list, or an empty text for
    // a model that holds no stored list.
    static QString ListCaption(const CTimetableModel &model);
    // The cell under a point of the viewport: row -1 below the last row.
    void CellAt(const QPoint &point, int &row, int &column) const;

private:
    CTimetableTableModel *m_table;
};

// The print button of a pane ("印刷").
QPushButton *CreatePrintButton(QWidget *pane);
