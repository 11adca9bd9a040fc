#pragma once
// A pane that shows its own title at the top of a column, at a given initial
// size. The panes of lists, schedules, calendars and player settings add their
// controls to the column below the title.

#include "app/telv_pane_dlg.h"

class QLabel;
class QVBoxLayout;

class CTitledPaneDlg : public CTelvPaneDlg {
    Q_OBJECT
public:
    // titleId 0 shows no title.
    CTitledPaneDlg(int templateId, const QSize &initialSize, quint32 titleId);

    QString GetTitleText() const;

protected:
    bool OnInitDialog() override;
    QLabel *GetTitleLabel() const { return m_title; }
    // The column that holds the title and, below it, the subclass's controls.
    QVBoxLayout *GetBodyLayout() const { return m_body; }

private:
    QSize m_initialSize;
    quint32 m_titleId;
    QLabel *m_title = nullptr;
    QVBoxLayout *m_body = nullptr;
};
