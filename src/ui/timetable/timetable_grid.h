#pragma once
// The rows of a loaded playlist, background-music list or schedule, shown
// read-only: the start time of each row, then one column per track with the
// number and title of the content that starts in that row ("│" where an
// item started in an earlier row goes on). The grid is not edited here.

#include "app/titled_pane_dlg.h"

#include <QTableWidget>

class CTimetableModel;
class QLabel;
class QPushButton;

class CTimetableGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit CTimetableGrid(QWidget *parent = nullptr);

    // Fills the grid from the model; trackNames name the item tracks in order.
    void ShowModel(const CTimetableModel &model, const QStringList &trackNames);
    // "<9-digit number> <title>" of the model's list, or an empty text for
    // a model that holds no stored list.
    static QString ListCaption(const CTimetableModel &model);
};

// A pane that shows one model in a caption ("<number> <title>") and a grid
// under its title, with a print button for what it shows.
class CTimetablePaneDlg : public CTitledPaneDlg {
    Q_OBJECT
public:
    CTimetablePaneDlg(const QSize &initialSize, quint32 titleId);

    QString GetListCaption() const;
    CTimetableGrid *GetGrid() const { return m_grid; }
    QPushButton *GetPrintButton() const { return m_print; }
    // The print button: prints what the pane shows through the main frame.
    virtual void OnPrint() = 0;

protected:
    bool OnInitDialog() override;
    // Shows the pane's model again.
    virtual void refresh() = 0;
    void showModel(const CTimetableModel &model, const QStringList &trackNames);

private:
    QLabel *m_caption = nullptr;
    CTimetableGrid *m_grid = nullptr;
    QPushButton *m_print = nullptr;
};

// The print button of a pane ("印刷").
QPushButton *CreatePrintButton(QWidget *pane);
